// The choice of the run routine by the test type.
#include "run/run_routines.h"

#include "evaluation/test_state.h"
#include "evaluation/test_types.h"
#include "run/programme_run.h"
#include "run/tensile_run.h"

namespace quorvex {

RunFamily RunFamilyOf(const ParameterSet& p) {
    switch (static_cast<TestType>(p.TestType)) {
        case TestType::ShearEn2563:
        case TestType::Chain:
            return RunFamily::ShearChain;
        case TestType::Universal:
            return p.JIntegralActive ? RunFamily::JIntegral : RunFamily::ProgrammeA;
        case TestType::FlexuralModulus:
            return RunFamily::ProgrammeA;
        case TestType::FlexuralStrength:
            return RunFamily::ProgrammeB;
        default:
            return RunFamily::Tensile;
    }
}

std::unique_ptr<RunRoutine> CreateRunRoutine(TestState& test, const MachineConfig& machine,
                                             AppState& app, RunMachine devices, Clock& clock,
                                             RunDiagram& diagram, RunHost& host) {
    switch (RunFamilyOf(test.Parameters)) {
        case RunFamily::ShearChain:
            return std::make_unique<ShearChainRun>(test, machine, app, devices, clock, diagram,
                                                   host);
        case RunFamily::ProgrammeA:
            return std::make_unique<ProgrammeRun>(test, machine, app, devices, clock, diagram, host,
                                                  ProgrammeRoutine::A);
        case RunFamily::ProgrammeB:
            return std::make_unique<ProgrammeRun>(test, machine, app, devices, clock, diagram, host,
                                                  ProgrammeRoutine::B);
        case RunFamily::JIntegral:
            return std::make_unique<ProgrammeRun>(test, machine, app, devices, clock, diagram, host,
                                                  ProgrammeRoutine::JIntegral);
        case RunFamily::Tensile:
            break;
    }
    return std::make_unique<TensileRun>(test, machine, app, devices, clock, diagram, host);
}

}  // namespace quorvex
