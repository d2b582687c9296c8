// Specimens and limit sets a laboratory prepares in its own system: the values the import
// takes over, which limit pairs of a limit set apply to the current results definition, and
// how they enter it.
#pragma once

#include <array>
#include <string>

#include "parameter_set.h"

namespace quorvex {

// One prepared specimen, its strings already cut to what the program keeps.
struct ImportedSpecimen {
    long long Id = 0;        // the row, so that exactly this one is consumed
    std::string SpecimenNo;  // up to 14 characters
    std::string SpecimenId;  // up to 20
    int Shape = 0;           // SpecimenShape 0..4
    int Form = 0;            // GaugeKind 0..2
    double d = 0, b = 0, a = 0, TubeD = 0, TubeWall = 0, Density = 0, Mass = 0, TotalLength = 0;
    double SegmentThickness = 0, SegmentWidth = 0, SegmentOuterD = 0;
    double Lo = 0, TestLength = 0;
    std::array<std::string, 10> HeaderLines;  // up to 40 each
};

// Whether the current specimen came from the import, and which row it was: that row is
// consumed when its test enters the series.
struct ImportedSpecimenMark {
    bool FromImport = false;
    long long Id = 0;
    std::string SpecimenNo;
};

constexpr std::size_t kImportedSpecimenNoLength = 14;
constexpr std::size_t kImportedSpecimenIdLength = 20;
constexpr std::size_t kImportedHeaderLineLength = 40;

struct LimitPair {
    double Min = 0, Max = 0;
};

// Every pair of a prepared limit set.
struct ImportedLimitSet {
    LimitPair So, ReH, ReL, Rp1, Rp2, Rt, Rm, Ag, RmRp, RmRt, RpRm, RtRm, A, Z, E, Ae;
};

// The ten rows of the limit import: So, ReH, ReL, Rp, Rt, Rm, the further pair, A, Z, E.
constexpr int kImportedLimitRows = 10;
constexpr int kFurtherLimitRow = 6;

// Which pair fills the further row: Ag, one of the four strength ratios a limit set holds,
// or Ae.
enum class FurtherLimit { Ag = 1, RmRp = 2, RmRt = 3, RpRm = 4, RtRm = 5, Ae = 6 };

// The further pair follows the results definition: the strength ratio when R1/R2 is
// evaluated and its kind is one the limit set holds, else Ae when Ae is evaluated and Ag is
// not, else Ag.
FurtherLimit FurtherLimitOf(const ParameterSet& p);
// Its caption in the dialog ("Ag", "Rm/Rp", ..., "Ae").
const char* FurtherLimitName(FurtherLimit further);

// The ten pairs the dialog shows: Rt's row takes RtMin/RtMax when the second proof strength
// is Rt, else Rp2Min/Rp2Max.
std::array<LimitPair, kImportedLimitRows> ChooseImportedLimits(const ImportedLimitSet& set,
                                                               bool secondProofIsRt,
                                                               FurtherLimit further);

// The results-definition slot of each row (1-based): So 5, ReH 6, ReL 7, Rp 8, Rt 9, Rm 10,
// the further pair R1/R2 12, Ae 13 or Ag 14, A 16, Z 18, E 19.
std::array<int, kImportedLimitRows> ImportedLimitSlots(FurtherLimit further);

// The current limits of those slots, as the dialog shows them before a look-up.
std::array<LimitPair, kImportedLimitRows> CurrentLimits(const ParameterSet& p,
                                                        FurtherLimit further);

// Each slot named by a row takes its lower and upper limit; nothing else of it changes.
void ApplyImportedLimits(ParameterSet& p, const std::array<LimitPair, kImportedLimitRows>& rows,
                         FurtherLimit further);

}  // namespace quorvex
