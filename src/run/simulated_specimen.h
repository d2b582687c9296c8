// The simulated specimen and the parameter set's specimen data, both ways: the CLI's run
// enters the dimensions of the specimen it clamps; the window clamps a specimen of the
// dimensions the operator entered, so that what the simulated machine measures fits them.
#pragma once

#include "evaluation/parameter_set.h"
#include "machine/sim/material_model.h"

namespace quorvex {

// The parameter set's specimen from the simulated specimen: shape, dimensions, So, Lo, Lc, Le
// as the test type reads them (a bending test's span, thickness and width).
void PutSpecimen(const SpecimenParameters& specimen, ParameterSet& p);

// The specimen of the preset with the entered cross-section and lengths: a round bar of d, a
// flat bar of b and a, any other shape as a round bar of the same So; Lo, Lc and Le (the
// height of a compression cylinder) as entered. Beams, shear specimens and chains keep the
// preset's geometry, as does every specimen whose entries give no cross-section.
SpecimenParameters SpecimenAsEntered(SpecimenParameters preset, const ParameterSet& p);

}  // namespace quorvex
