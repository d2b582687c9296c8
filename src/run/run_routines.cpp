// The choice of the run routine by the test type.
#include "run/run_routines.h"

#include <algorithm>

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

SpecimenPreset DefaultPresetOfTestType(int testType) {
    switch (static_cast<TestType>(testType)) {
        case TestType::ShearEn2563:
            return SpecimenPreset::ShearSpecimen;
        case TestType::Chain:
            return SpecimenPreset::Chain;
        case TestType::Universal:
            return SpecimenPreset::Aluminium;
        case TestType::PlasticsIso527:
            return SpecimenPreset::Plastic;
        case TestType::FlexuralModulus:
            return SpecimenPreset::ThreePointBeam;
        case TestType::FlexuralStrength:
            return SpecimenPreset::FourPointBeam;
        case TestType::Compression:
            return SpecimenPreset::CompressionCylinder;
        default:
            return SpecimenPreset::Steel;
    }
}

bool SpeedProgrammeStandsStill(const ParameterSet& p, bool measureOnly) {
    if (measureOnly) return false;
    switch (RunFamilyOf(p)) {
        case RunFamily::Tensile:
        case RunFamily::ShearChain:
            return p.Stages[0].StageActive == 0;
        case RunFamily::JIntegral:
            return false;  // its unloading cycles are a programme of their own
        default:
            return std::none_of(p.Stages.begin(), p.Stages.end(),
                                [](const SpeedStage& s) { return s.StageActive != 0; });
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
