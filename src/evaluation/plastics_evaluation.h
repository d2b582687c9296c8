// The plastics tensile test (type 6): yield, maximum and break stresses and strains, stresses
// at five chosen strains, nominal strains from the crosshead and the secant modulus.
#pragma once

#include "tensile_evaluation.h"
#include "test_state.h"

namespace quorvex {

// The yield point: the force maximum of the earliest drop of more than YieldDropMin (compared
// with the forces in kN as they are), searched back from ten samples before the end; 0 when
// there is none or the curve has fewer than ten samples.
int PlasticsYieldIndex(const CurveView& c);

// Secant modulus (N/mm²) between the strains ProofStrain and SecondProofStrain (%), from the
// extensometer when it is usable, else from the crosshead over Lc; 0 when the two points are
// not found in this order.
double PlasticsSecantModulus(const CurveView& c, bool extensometerUsable);

void EvaluatePlastics(TestState& state);

}  // namespace quorvex
