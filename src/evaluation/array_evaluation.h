// What the evaluations of the test types 3-9 share: they read the curve through the tensile
// evaluation's CurveView and put their results into the record's results array.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "results_record.h"
#include "tensile_evaluation.h"

namespace quorvex {

// A sample number held within 1..N, so that "the last but two" of a very short curve is
// still a recorded sample.
inline int WithinCurve(const CurveView& c, int i) {
    return std::clamp(i, 1, std::max(c.N, 1));
}

// The maximum force in newtons.
inline double FmaxNewtons(const CurveView& c) {
    return c.F(c.M) * 1000.0;
}

// The force at the end of the test, N - 2 (the last two samples belong to the fracture), in N.
inline double EndForceNewtons(const CurveView& c) {
    return c.F(WithinCurve(c, c.N - 2)) * 1000.0;
}

// A quotient of a result formula: a zero divisor (a dimension not entered) gives 0, never an
// infinite or undefined result in the record.
inline double DivideOrZero(double numerator, double denominator) {
    if (denominator == 0.0) return 0.0;
    const double q = numerator / denominator;
    return std::isfinite(q) ? q : 0.0;
}

inline float& Element(ResultsRecord& r, int element) {
    return r.Results[static_cast<std::size_t>(element)];
}

}  // namespace quorvex
