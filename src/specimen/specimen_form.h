// The tensile specimen as the operator enters it: the checks of each shape's inputs, the
// cross-section and the proportional gauge and test lengths that follow from it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "evaluation/field_checks.h"
#include "evaluation/parameter_set.h"

namespace quorvex {

enum class SpecimenField {
    RoundD,
    RoundLo,
    RoundLc,
    FlatA,
    FlatB,
    FlatLo,
    FlatLc,
    TubeD,
    TubeA,
    TubeLo,
    TubeLc,
    MassRho,
    MassM,
    MassLt,
    MassLo,
    MassLv,
    SegmentA,
    SegmentB,
    SegmentD,
    SegmentLo,
    SegmentLv,
    Le,
};

// The texts of the specimen dialog's inputs, per shape.
struct SpecimenFormTexts {
    int Shape = 0;  // SpecimenShape
    int Gauge = 1;  // GaugeKind
    std::string SpecimenNo, SpecimenId;
    struct {
        std::string d, Lo, Lc;
    } Round;
    struct {
        std::string a, b, Lo, Lc;
    } Flat;
    struct {
        std::string D, a, Lo, Lc;
    } Tube;
    struct {
        std::string rho, m, Lt, Lo, Lv;
    } Mass;
    struct {
        std::string a, b, D, Lo, Lv;
    } Segment;
    std::string Le;
};

// The inputs of the chosen shape (in the order the dialog shows them), then Le. The first one
// that is not a number or out of range fails with text 181 and its range text.
CheckResult CheckSpecimenForm(const SpecimenFormTexts& texts);

// Takes checked inputs into the parameter set: the shape's dimensions and So, the gauge kind,
// the effective So, Lo and Lc (Lv for the mass and tube-segment shapes), Le and the
// identification (specimen number cut to 30 characters). Returns false, taking the values all
// the same, when the tube segment's So could not be computed (So 1.0: show text 567).
bool TakeSpecimenForm(const SpecimenFormTexts& texts, ParameterSet& p);

struct ProportionalLengths {
    double Lo = 0;
    double TestLength = 0;
    bool SetTestLength = true;  // tubes get Lo only
};

// Lo = [5.65 √So] (short) or [11.3 √So] (long), at least 20 mm; the test length [Lo + d] for
// round specimens, [Lo + 1.5 √So] for flat, mass and tube-segment specimens. Nothing for a
// user-defined specimen or So of 0 or below.
std::optional<ProportionalLengths> ProportionalSpecimenLengths(double so, int shape, int gaugeKind);

// The mean of the readings greater than 0 (empty or invalid readings do not count); 0 without.
double MeanOfReadings(const std::vector<std::string>& readings);

// A dimension reading must be 0.001 ... 400 mm.
CheckResult CheckDimensionReading(const std::string& reading);

// The post-test inputs (final gauge lengths, diameters, width and thickness): value in
// [min, max], else text 181, a blank, the bounds right-aligned in 6 with 2 decimals, "...",
// and "  !".
CheckResult CheckPostTestInput(int field, const std::string& text, double min, double max);

}  // namespace quorvex
