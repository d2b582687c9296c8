// The flexural modulus (type 7): the chord modulus between the deflections of two flexural
// strains, the maximum force, the flexural stress and the deflection at the maximum force.
// The specimen's effective values carry the bending geometry: Le the span L, Lc the
// thickness h and Lo the width b.
#pragma once

#include "tensile_evaluation.h"
#include "test_state.h"

namespace quorvex {

// The deflection at which the outer fibre reaches `strain`: strain × L² / (6 h); 0 when h is
// not positive.
double DeflectionAtStrain(double strain, double span, double thickness);

// The force (kN) at crosshead deflection s, measured from the first sample and interpolated
// between the two samples around it; 0 when the curve never reaches s or reaches it at once.
double ForceAtDeflection(const CurveView& c, double s);

void EvaluateFlexuralModulus(TestState& state);

}  // namespace quorvex
