// Limit monitoring of results, and the display decimals the tensile panels always use.
#pragma once

#include "parameter_set.h"

namespace quorvex {

// Whether a result slot (1..30) of the tensile types holds a stress or the modulus, which
// psi shows converted.
bool IsTensileStressSlot(int slot);

// A value is outside when the slot's monitoring is on and it lies below LimitMin or above
// LimitMax (a value on a limit is inside). Values of 0 or less are not shown and not tested.
// The value is tested in the unit it is shown in: with psi, stresses and the modulus are
// converted first, so limits are entered in the display unit.
bool OutsideLimits(const ResultDefinition& slot, double value, bool isStress,
                   std::int32_t unitSystem);

// The same for a slot of the parameter set's current test type.
bool OutsideLimits(const ParameterSet& p, int slot, double value);

// Tensile types only: no decimals for the stresses (and E unless psi), So with 2 (4 with psi),
// r and n with 4.
void NormaliseTensileDecimals(ParameterSet& p);

}  // namespace quorvex
