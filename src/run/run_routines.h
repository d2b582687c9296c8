// Which run routine a test type runs: the tensile family, the shear/chain routine, or one of
// the programme routines. The window, quorvex-cli and the tests choose the run here.
#pragma once

#include <memory>

#include "machine/sim/material_model.h"
#include "run/run_routine.h"

namespace quorvex {

enum class RunFamily {
    Tensile,     // 0, 1, 2, 6, 9
    ShearChain,  // 3, 4
    ProgrammeA,  // 5 without the J-integral option, 7
    ProgrammeB,  // 8
    JIntegral,   // 5 with the J-integral option
};

// The family of the parameter set's test type; a type outside 0..9 runs as a tensile test.
RunFamily RunFamilyOf(const ParameterSet& p);

// The test would stand still after its start: the tensile and shear/chain routines end their
// speed programme at the first stage that is not active, the programme routines (but the
// J-integral, which runs its own cycles) have none active at all. A machine that only
// measures is driven by its own means and needs none.
bool SpeedProgrammeStandsStill(const ParameterSet& p, bool measureOnly);

// The simulated specimen that fits a test type: steel for the tensile and screw tests,
// shear, chain, aluminium for the universal test, plastic, the two beams and compression.
// The window and quorvex-cli clamp the same.
SpecimenPreset DefaultPresetOfTestType(int testType);

// The run routine of the parameter set's test type as it is now. All must outlive the run.
std::unique_ptr<RunRoutine> CreateRunRoutine(TestState& test, const MachineConfig& machine,
                                             AppState& app, RunMachine devices, Clock& clock,
                                             RunDiagram& diagram, RunHost& host);

}  // namespace quorvex
