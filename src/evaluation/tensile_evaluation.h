// The steps of the metal tensile evaluation (test types 0-2): break point, modulus of
// elasticity, proof strengths, yield points, gauge lengths, strength ratio, r and n.
// Every step is one pass over the samples; nothing here allocates.
#pragma once

#include <cstdint>
#include <optional>

#include "measurement_buffer.h"
#include "parameter_set.h"
#include "results_record.h"

namespace quorvex {

// Results-definition slots that the tensile evaluation reads (1-based).
enum TensileSlot : int {
    kSlotReH = 6,
    kSlotReL = 7,
    kSlotRp = 8,
    kSlotRt = 9,
    kSlotRatio = 12,
    kSlotAe = 13,
    kSlotAg = 14,
    kSlotAgt = 15,
    kSlotAc = 16,
    kSlotAt = 17,
    kSlotZ = 18,
    kSlotRValue = 20,
    kSlotNValue = 21,
};

inline bool SlotEvaluated(const ParameterSet& p, int slot) {
    return slot >= 1 && slot <= kResultDefinitionSlots &&
           p.Results[static_cast<std::size_t>(slot - 1)].Evaluate != 0;
}

// What the steps read: the channels of samples 1..N, the force maximum M and the specimen
// values. F, x, e and w are force (kN), crosshead travel, extension and width change (mm).
class CurveView {
public:
    CurveView(const MeasurementBuffer& buffer, const ParameterSet& p, const TestMarks& marks);

    float F(int i) const { return force_[i - 1]; }
    float x(int i) const { return travel_[i - 1]; }
    float e(int i) const { return extension_[i - 1]; }
    float w(int i) const { return width_[i - 1]; }
    // Stress in N/mm²; 0 when there is no cross-section.
    double Sigma(int i) const { return So > 0 ? F(i) * 1000.0 / So : 0.0; }

    const ParameterSet& Parameters;
    int N;  // SampleCount, at most the buffer capacity
    int M;  // FmaxIndex, at most the buffer capacity
    double So, Lo, Lc, Le;

private:
    const float* force_;
    const float* travel_;
    const float* extension_;
    const float* width_;
};

// The first sample after the force maximum below 0.995 × Fmax; N when the force stays up.
int FindBreakIndex(const CurveView& c);

// The first sample at which the extension reaches its largest value over 1..N.
int MaximumExtensionIndex(const CurveView& c);

// The extensometer moved more than 0.2 mm (never for the plastics test with strain from
// the crosshead).
bool ExtensionUsable(const CurveView& c);

// Least-squares line through samples a..b (either order) in strain % and stress; sets the
// modulus range and the elastic line. A degenerate range gives 200000 and intercept 0.
double RegressionModulus(const CurveView& c, TestMarks& marks, int a, int b);

// The window from 15 % of Fmax upward, grown sample by sample, whose regression fits best;
// 0 when fewer than 20 points were available.
double AutomaticModulus(const CurveView& c, TestMarks& marks);

// ModulusMethod 2: the longest straight stretch of the curve, found without the fixed window
// rules of the automatic search. Older programs load a stored 2 as 0 (the automatic search).
constexpr std::int32_t kRobustModulusMethod = 2;

// The longest stretch from one of a few starts between 5 % and 50 % of the maximum stress up
// to where the points leave their regression line by more than the noise of the signal
// (estimated from the curve itself); its slope is E. 0 without a stretch of 5 points.
double RobustModulus(const CurveView& c, TestMarks& marks);

// Hysteresis loop, automatic window, the robust window or the range between F1 and F2.
double DetermineModulus(const CurveView& c, TestMarks& marks);

struct Crossing {
    double stress = 0.0;  // N/mm², 0 without a crossing
    int index = 0;        // the sample just before the crossing; 0 without one
    bool found() const { return index > 0; }
};

// The stress at which the plastic strain (extension beyond the elastic line of the given
// modulus and intercept) reaches `limit` %, searched up to endIndex.
Crossing ProofSearch(const CurveView& c, double modulus, double intercept, double limit,
                     int endIndex);

// The same for the total strain (Rt); the modulus only guards the search.
Crossing TotalStrainSearch(const CurveView& c, double modulus, double limit, int endIndex);

struct YieldPoints {
    double ReH = 0.0, ReL = 0.0;
};

// Upper and lower yield strength before the proof point, with a usable extensometer.
YieldPoints YieldWithExtensometer(const CurveView& c, int proofIndex);

// Upper and lower yield strength from a drop of the force alone.
YieldPoints YieldFromForce(const CurveView& c);

struct GaugeLengths {
    double AtAg = 0, AtAgt = 0, AtAc = 0, AtAt = 0;
};

// The extension of the strain channel (extensometer with StrainByTdm, else crosshead) at the
// force maximum, counted from sample 1: at FmaxIndex, or in the middle of a plateau of equal
// forces around it.
double ExtensionAtForceMaximum(const CurveView& c, bool extensometer);

// The gauge lengths at Ag, Agt, Ac and At, each the original gauge length Lo grown by the
// relative extension measured on the strain's own gauge (Le for the extensometer, Lc for the
// crosshead): Agt at the force maximum, Ag the same less the elastic part Rm / E, At at the
// fracture point (N - 2) and Ac the same less sigma / E there. All 0 when the modulus or a
// gauge length is not positive; those of a point behind the removal of the extensometer 0.
GaugeLengths ComputeGaugeLengths(const CurveView& c, double Rm, double modulus);

// R1/R2 of the chosen kind (1..8) from the record's strengths; nothing for other kinds.
std::optional<double> StrengthRatio(std::int32_t kind, const ResultsRecord& r);

// Vertical anisotropy of a flat specimen from the width change.
double RValue(const CurveView& c);

// Strain-hardening exponent between 10 % and NValueUpperPercent.
double NValue(const CurveView& c);

}  // namespace quorvex
