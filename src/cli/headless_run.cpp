// The headless test on the simulated machine.
#include "headless_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "evaluation/break_value.h"
#include "evaluation/parameter_file.h"
#include "evaluation/tensile_evaluation.h"
#include "evaluation/test_types.h"
#include "parameter_assignment.h"
#include "run/programme_run.h"
#include "run/simulated_specimen.h"

namespace quorvex::cli {
namespace {

constexpr int kTickMs = 50;

const char* UnitLabel(SpeedUnit unit) {
    switch (unit) {
        case SpeedUnit::MmPerMin:
            return "mm/min";
        case SpeedUnit::PercentPerMin:
            return "%/min";
        case SpeedUnit::NewtonPerSecond:
            return "N/sec";
        case SpeedUnit::Seconds:
            return "sec";
        case SpeedUnit::StressRate:
            break;
    }
    return "N/mm²/s";
}

// Without a parameter file, the tensile family: 2 mm/min through the elastic range, 10 mm/min
// from 1 % strain on, and the yield points evaluated, whose drop in the simulated steels is
// small. The other types run what their standards ask for.
void DemonstrationProgramme(ParameterSet& p, int testType) {
    p.Stages = {};
    switch (static_cast<TestType>(testType)) {
        case TestType::ShearEn2563:
            p.Stages[0] = {1, 0, 1, 1, 1};  // 1 mm/min
            return;
        case TestType::Chain:
            p.Stages[0] = {1, 0, 1, 50, 1};
            return;
        case TestType::Universal:
            // Pulled at 2 mm/min to 0.2 mm, held there for 2 s, then 5 mm/min to the break.
            p.TensionDirection = 1;
            p.Stages[0] = {1, 0, kChangeAtTravel, 2, kControlTravel};
            p.Stages[1] = {1, 0.2, kChangeAtTravel, 0, kControlHold};
            p.Stages[2] = {1, 2, kChangeAtTime, 5, kControlTravel};
            p.EndStage = 1;
            return;
        case TestType::FlexuralModulus:
            // Pushed at 0.5 mm/min; the deflection measured under the beam by the travel
            // sensor on the third channel. The stone bar breaks at 0.03 % strain: the modulus
            // is taken between 0.005 % and 0.02 %.
            p.TensionDirection = 0;
            p.TravelSensorType = 1;
            p.Stages[0] = {1, 0, kChangeAtTravel, 0.5, kControlTravel};
            p.ProofStrain = 0.00005f;
            p.SecondProofStrain = 0.0002f;
            p.EndStage = 1;
            return;
        case TestType::FlexuralStrength:
            p.TensionDirection = 0;
            p.TestSpace = 1;
            p.Stages[0] = {1, 0, kChangeAtTravel, 1, kControlTravel};
            p.EndStage = 1;
            return;
        default:
            break;
    }
    p.Stages[0] = {1, 0, 1, 2, 1};
    p.Stages[1] = {1, 1, 1, 10, 1};
    p.Results[5].Evaluate = p.Results[6].Evaluate = 1;  // ReH, ReL
    p.YieldDropMin = 10;
}

// The demonstration programme's minimum stress: the default 80 N/mm² unless the specimen
// cannot reach it (plastics, the beams), then a fifth of its largest force on its So, so
// that the test ends at its break instead of running until the memory is full.
float MinimumStressFor(const SpecimenParameters& specimenParameters, float So, float standard) {
    const Specimen specimen(specimenParameters);
    const double end = specimen.SeparationElongation();
    double largest = 0;
    for (int k = 0; k <= 400; ++k) largest = std::max(largest, specimen.FlowForce(end * k / 400));
    if (!(largest > 0) || !(So > 0)) return standard;
    return std::min(standard, static_cast<float>(0.2 * largest * 1000 / So));
}

}  // namespace

// --- the machine

MachineConfig SimulatedMachineConfig(const SimulationConfig& sim, bool extensometerIncremental) {
    MachineConfig config;
    config.Setup.MachineType = static_cast<std::uint8_t>(sim.MachineType);
    config.Setup.IncrementalTravel = sim.TravelIncrements > 0 ? 1 : 0;
    config.Setup.TravelIncrements = sim.TravelIncrements;
    config.Calibration.NominalForce = sim.NominalForce;
    config.Calibration.NominalTravel = sim.NominalTravel;
    config.Calibration.NominalStrain = sim.NominalStrain;
    config.Calibration.NominalTransverse = sim.NominalTransverse;
    config.Factors = ComputeConversionFactors(config.Calibration, config.Setup,
                                              extensometerIncremental, 1.0);
    return config;
}

std::unique_ptr<Machine> OpenSimulatedMachine(const MachineConfig& config,
                                              VirtualMachine& simulation, Clock& clock,
                                              int samples, std::string& error) {
    MachineStartup startup = SimulatedMachineStartup(samples);
    startup.Controller = MakeControllerConfig(config);
    MachineOpening opening = OpenMachine(startup, clock, &simulation);
    if (!opening.machine->Daq().DaqPresent()) {
        error = "the simulated data-acquisition card did not register";
        return nullptr;
    }
    return std::move(opening.machine);
}

// --- host

void HeadlessHost::Note(std::string what) {
    Events.push_back({std::move(what), test_.Marks.StoredSamples});
}

void HeadlessHost::Message(RunMessageKind, int text, int secondText) {
    Note("message " + std::to_string(text) +
         (secondText ? " " + std::to_string(secondText) : std::string()));
}

void HeadlessHost::MessageText(RunMessageKind, std::string_view text) {
    Note("message " + std::string(text));
}

void HeadlessHost::RangeMessage(RunMessageKind, int field, int text, std::string_view range) {
    Note("message " + std::to_string(field) + ": " + std::to_string(text) + std::string(range));
}

bool HeadlessHost::Question(int text) {
    Note("question " + std::to_string(text));
    return false;
}

void HeadlessHost::ShowSpeed(std::string_view value, SpeedUnit unit) {
    Note("speed " + std::string(value) + UnitLabel(unit));
}

// --- the test

bool HeadlessTest::Prepare(const HeadlessOptions& options,
                           const std::filesystem::path& workingDirectory, std::string& error) {
    options_ = options;
    ParameterSet& p = test_->Parameters;
    if (!options.ParamsFile.empty()) {
        const LoadResult loaded = LoadParameterSet(p, options.ParamsFile, false);
        if (loaded.status == LoadStatus::Missing) {
            error = "cannot open \"" + options.ParamsFile + "\"";
            return false;
        }
        if (loaded.status == LoadStatus::Refused) {
            error = loaded.message;
            return false;
        }
    } else {
        DemonstrationProgramme(p, options.TestType);
    }
    p.TestType = options.TestType;
    SimulationConfig sim = options.Simulation;
    PutSpecimen(sim.Specimen(), p);
    if (options.ParamsFile.empty() && RunFamilyOf(p) == RunFamily::Tensile) {
        p.RminInTest = MinimumStressFor(sim.Specimen(), p.EffectiveSo, p.RminInTest);
    }
    if (options.ParamsFile.empty()) {
        // What the simulated machine measures on this specimen is evaluated: the r value
        // with the transverse gauge, the probes of the platen (which agree within 0.5 mm).
        if (sim.HasTransverseGauge()) {
            // A sheet extensometer of 5 mm (10 % of Le) and r at 5 %, within the uniform
            // elongation of the sheet.
            sim.NominalStrain = std::max(sim.NominalStrain, 5.0);
            p.ExtensometerRangeMm = static_cast<float>(sim.NominalStrain);
            p.ExtensometerLimitMm = static_cast<float>(0.9 * sim.NominalStrain);
            p.RValuePointPercent = 5;
            p.Results[kSlotRValue - 1].Evaluate = 1;
        }
        if (sim.HasProbes()) {
            p.ProbeMonitoring = 1;
            p.ProbeTolerance = 0.5;
        }
    }
    p.SpecimenNo = "SIM-" + PresetName(sim.Preset);
    error = AssignParameterFields(p, nullptr, options.Assignments);
    assignmentRefused_ = !error.empty();
    if (assignmentRefused_) return false;
    // A set from an older program or another machine may hold a break value that no break
    // reaches or every sample does: the test does not start on it.
    if (const std::string refusal = BreakValueRefusal(p); !refusal.empty()) {
        error = (options.ParamsFile.empty() ? std::string("the parameter set")
                                            : "\"" + options.ParamsFile + "\"") +
                ": " + refusal + "; the test was not started";
        return false;
    }
    if (p.TestType < 0 || p.TestType >= kTestTypeCount) {
        error = "test type " + std::to_string(p.TestType) + ": the test type is 0 ... 9";
        return false;
    }
    // The specimen sits in the machine's tension or compression space as the programme
    // loads it.
    const RunFamily family = RunFamilyOf(p);
    const bool programme = family == RunFamily::ProgrammeA || family == RunFamily::ProgrammeB ||
                           family == RunFamily::JIntegral;
    if (programme) sim.LoadingSign = ProgrammeLoadsInTension(p) ? 1 : -1;

    config_ = SimulatedMachineConfig(sim, p.ExtensometerIncremental != 0);
    simulation_ = std::make_unique<VirtualMachine>(sim, clock_);
    machine_ = OpenSimulatedMachine(config_, *simulation_, clock_, options.Samples, error);
    if (!machine_) return false;

    app_.WorkingDirectory = workingDirectory;
    app_.ProjectOpen = true;  // the series of a headless test has no project behind it
    host_ = std::make_unique<HeadlessHost>(*test_);
    diagram_ = std::make_unique<LiveDiagramModel>(*test_, config_.Calibration, config_.Setup);
    RunMachine devices{&machine_->Link(), &machine_->Relays(), &machine_->Daq()};
    run_ = CreateRunRoutine(*test_, config_, app_, devices, clock_, *diagram_, *host_);
    machine_->Daq().ReadAll();
    return true;
}

bool HeadlessTest::Start() {
    return run_->Start();
}

void HeadlessTest::Tick() {
    clock_.Advance(kTickMs);
    machine_->Daq().ReadAll();
    run_->OnSample();
    const double travel = run_->State().S;
    travelLow_ = ticks_ == 0 ? travel : std::min(travelLow_, travel);
    travelHigh_ = ticks_ == 0 ? travel : std::max(travelHigh_, travel);
    ++ticks_;
}

void HeadlessTest::RunToEnd() {
    while (run_->Running() && ticks_ < options_.MaxTicks) Tick();
    if (run_->Running()) run_->Stop(true);
}

}  // namespace quorvex::cli
