// The test types whose results come from the maximum force and the crosshead travel alone:
// shear strength (type 3), chain test (type 4) and flexural strength (type 8).
#pragma once

#include "test_state.h"

namespace quorvex {

// Shear strength: Fmax and tau = 3 Fmax / (4 a b) with the record's a and b; ReH and Rm
// carry Fmax, ReL tau, so that the panels show them.
void EvaluateShear(TestState& state);

// Chain test: fixed decimals, Fmax, the travel and elongation at Fmax and at the end.
void EvaluateChain(TestState& state);

// Flexural strength: Rtf in four-point (Fmax L / (b h²)) or three-point bending
// (3 Fmax L / (2 b h²)) with L = Lo and the flat specimen's b and a (h).
void EvaluateFlexuralStrength(TestState& state);

}  // namespace quorvex
