// The universal test (type 5): forces and travels at chosen points of the curve, the spring
// constant between two of them, the deformation work, and the specific values per
// cross-section. The points and force thresholds are kept in limit fields of results-definition
// slots that this type does not use otherwise.
#pragma once

#include <cstdint>

#include "tensile_evaluation.h"
#include "test_state.h"

namespace quorvex {

// Where the travel and force points of the universal results are looked up: the whole curve,
// or the samples of the spring stage (with one neighbour on each side) when the test reached
// that stage. Falling when the force at the start is not below the force at the end.
struct UniversalRange {
    int Start = 2;
    int End = 2;
    bool Rising = true;
};

// The range for `springStage` (0: the whole curve); the third channel holds the stage number
// of each sample in this test type.
UniversalRange UniversalEvaluationRange(const CurveView& c, std::int32_t springStage);

// The force in N at travel s (mm), interpolated between the two samples around it; 0 when the
// range never reaches s or reaches it at its first sample.
double ForceAtTravel(const CurveView& c, const UniversalRange& range, double s);

// The travel in mm at force f (N), the same way.
double TravelAtForce(const CurveView& c, const UniversalRange& range, double f);

// The area under the force-travel curve from sample 1 up to travel s, J (kN × mm); 0 when the
// travel never exceeds s before the last sample.
double WorkUpTo(const CurveView& c, double s);

// The area under the whole force-travel curve, J; 0 with fewer than two samples.
double TotalWork(const CurveView& c);

// Results-definition slots whose limit fields carry the universal test's points.
constexpr int kSlotUniversalPoint1 = 25;   // LimitMin: S1 travel, LimitMax: F1 force (N)
constexpr int kSlotUniversalPoint2 = 26;   // LimitMin: S2 travel, LimitMax: F2 force (N)
constexpr int kSlotUniversalWork = 27;     // LimitMin: the Wx travel
constexpr int kSlotRisingThreshold = 16;   // LimitMax: force (N) crossed before Fmax
constexpr int kSlotFallingThreshold = 17;  // LimitMax: force (N) crossed after Fmax

void EvaluateUniversal(TestState& state);

}  // namespace quorvex
