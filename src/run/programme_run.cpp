// The programme routines: the start of the programme, the preload, the main phase with its
// stage changes, unloading cycles, recording and break criterion.
#include "run/programme_run.h"

#include <algorithm>
#include <cmath>

#include "evaluation/test_state.h"
#include "evaluation/test_types.h"
#include "machine/controller_link.h"
#include "run/app_state.h"
#include "setup/machine_config.h"

namespace quorvex {
namespace {

constexpr int kRateDisplayMs = 300;
constexpr int kPhaseLoading = 1;
constexpr int kPhaseUnloading = 0;

// The break criterion's channels.
constexpr int kBreakByDrop = 0;
constexpr int kBreakByForceChange = 1;
constexpr int kBreakByTravelChange = 2;

// The travel sensors of the programme.
constexpr int kSensorGauge = 1;
constexpr int kSensorIncremental = 2;

}  // namespace

ProgrammeRun::ProgrammeRun(TestState& test, const MachineConfig& machine, AppState& app,
                           RunMachine devices, Clock& clock, RunDiagram& diagram, RunHost& host,
                           ProgrammeRoutine routine)
    : RunRoutine(test, machine, app, devices, clock, diagram, host), routine_(routine) {}

bool ProgrammeLoadsInTension(const ParameterSet& p) {
    // The upper test space of the bending machine loads by pulling.
    return p.TensionDirection == 1 ||
           (p.TestType == static_cast<int>(TestType::FlexuralStrength) && p.TestSpace == 2);
}

bool ProgrammeRun::Tension() const {
    return ProgrammeLoadsInTension(test_.Parameters);
}

double ProgrammeRun::MinimumForce() const {
    return test_.Parameters.RminInTest / 1000.0;  // computed, but no end check uses it
}

bool ProgrammeRun::EvaluatesStoppedTest() const {
    // Before the preload nothing was recorded that could be evaluated.
    return state_.PreloadReached && test_.Marks.StoredSamples > 0;
}

void ProgrammeRun::ResetState() {
    state_ = ProgrammeRunState{};
    state_.Decimation = std::max(TicksPerStoredSample(test_.Parameters.SamplingIndex), 1);
    state_.NextUnloadPoint = test_.Parameters.JUnloadData[0];
}

double ProgrammeRun::TravelReading() const {
    const auto& raw = devices_.Daq->RawValues();
    switch (test_.Parameters.TravelSensorType) {
        case kSensorGauge:
            return raw[kRawStrain] * machine_.Calibration.NominalStrain / kFullScaleCounts;
        case kSensorIncremental:
            return raw[kRawStrain] * machine_.Factors.StrainFactor;
        default:
            return CrossheadTravelMm();
    }
}

// --- start

void ProgrammeRun::BeginMotion() {
    HoldPresentPosition();
    state_.S = TravelReading();
    state_.F = std::fabs(ForceKn());
    const std::int64_t now = clock_.NowMs();
    const StageStart start = stages_.Begin(test_.Parameters, Tension(), state_.S, state_.F, now);
    SendStage(start, true);
    ShowStage(start);
    state_.StageIndex = stages_.NextStage();
    state_.TestClockStartMs = now;
}

void ProgrammeRun::SendStage(const StageStart& start, bool atStart) {
    ControllerLink* link = Link();
    if (!link || start.Holding) return;
    const int sign = Tension() ? 1 : -1;
    if (!atStart && start.ControlChanged) {
        link->DriveOff();
        if (start.Control == kControlTravel) link->ControlMode(1);
    }
    if (start.Control == kControlTravel) {
        const std::int32_t rate = sign * link->TravelRate(start.Speed);
        // Without a held target the ramp runs towards the end of the range.
        const bool up = start.Direction * sign > 0;
        const std::int32_t target = start.Hold ? TravelSetValue(link->Config(), start.TargetTravel)
                                    : up       ? kNominalSetValue
                                               : 1;
        state_.TravelSpeedCommand = rate;
        link->StartTestRamp(RampChannel::Travel, target, rate);
        return;
    }
    // Force control starts from the force the machine carries now.
    link->ControlMode(0);
    link->SetValue(link->PresentForceSetValue());
    const std::int32_t rate = sign * link->ForceRate(start.Speed);
    const std::int32_t target =
        sign * (start.Hold ? ForceSetValue(link->Config(), start.TargetForce)
                           : start.Direction * kNominalSetValue);
    link->StartTestRamp(RampChannel::Force, target, rate);
}

void ProgrammeRun::ShowStage(const StageStart& start) {
    if (MeasureOnly()) {
        host_.ShowSpeed({}, SpeedUnit::MmPerMin);
        return;
    }
    const SpeedUnit unit = start.Holding                    ? SpeedUnit::Seconds
                           : start.Control == kControlForce ? SpeedUnit::NewtonPerSecond
                                                            : SpeedUnit::MmPerMin;
    ShowSpeedValue(start.Speed, std::fabs(start.Speed) >= 100 ? 0 : 1, unit);
}

// --- samples

void ProgrammeRun::OnSample() {
    if (!state_.SamplingActive) return;
    state_.F = std::fabs(ForceKn());
    state_.S = TravelReading();
    if (!state_.PreloadReached) {
        if (state_.F < state_.PreloadForce) return;
        state_.PreloadReached = true;
        state_.S0 = state_.S;
        state_.F0 = state_.PreviousF = state_.F;
        stages_.SetZero(state_.S0);
        state_.RateTimeMs = clock_.NowMs();
        state_.RateTravel = state_.S;
        state_.RateForce = state_.F;
        return;
    }
    MainPhase();
}

void ProgrammeRun::MainPhase() {
    const ParameterSet& p = test_.Parameters;
    if (!MeasureOnly()) {
        StageStart start;
        if (stages_.Check(p, state_.F, state_.S, clock_.NowMs(), start)) {
            SendStage(start, false);
            ShowStage(start);
            state_.StageIndex = stages_.NextStage();
            state_.ShownSeconds = -1;
        } else if (stages_.ShownSeconds() >= 0 && stages_.ShownSeconds() != state_.ShownSeconds) {
            state_.ShownSeconds = stages_.ShownSeconds();
            ShowSpeedValue(state_.ShownSeconds, 0, SpeedUnit::Seconds);
        }
    }
    if (routine_ == ProgrammeRoutine::JIntegral) UnloadingCycles();
    if (MeasureOnly()) ShowRate();

    if (state_.F >= state_.Fmax) {
        state_.Fmax = state_.F;
        state_.FmaxIndex = test_.Marks.StoredSamples;
        state_.BreakThreshold = state_.Fmax * p.BreakDropPercent / 100.0;
    }
    ++state_.SinceRecorded;
    if (test_.Marks.StoredSamples == 0 || state_.SinceRecorded >= state_.Decimation) Record();

    if (BufferFull(test_.Marks)) {
        EndWithEvaluation(true);
        return;
    }
    const bool broken = stages_.RunningStage() >= p.EndStage && BreakCriterion();
    state_.PreviousF = state_.F;
    if (broken) EndWithEvaluation(false);
}

void ProgrammeRun::UnloadingCycles() {
    const ParameterSet& p = test_.Parameters;
    ControllerLink* link = Link();
    // The cycles run on the travel ramp of a travel-controlled stage.
    if (stages_.Control() != kControlTravel) return;
    const bool tension = Tension();
    if (state_.UnloadCycles < p.JUnloadCycles &&
        stages_.Progress(state_.S) > state_.NextUnloadPoint) {
        ++state_.UnloadCycles;
        state_.NextUnloadPoint = p.JUnloadData[0] + state_.UnloadCycles * p.JUnloadData[1];
        // Back towards the start (in compression towards the other end of the range).
        if (link) {
            link->ChangeStageRamp(RampChannel::Travel, tension ? 0 : kNominalSetValue,
                                  -state_.TravelSpeedCommand);
        }
        state_.ReloadLevel = (100.0 - p.JUnloadData[2]) / 100.0 * state_.F;
        state_.Phase = kPhaseUnloading;
        return;
    }
    if (state_.Phase == kPhaseUnloading && state_.F <= state_.ReloadLevel) {
        if (link) {
            link->ChangeStageRamp(RampChannel::Travel, tension ? kNominalSetValue : 1,
                                  state_.TravelSpeedCommand);
        }
        state_.Phase = kPhaseLoading;
    }
}

void ProgrammeRun::ShowRate() {
    const std::int64_t now = clock_.NowMs();
    const std::int64_t dt = now - state_.RateTimeMs;
    if (dt < kRateDisplayMs) return;
    ShowSpeedValue((state_.S - state_.RateTravel) * 60000.0 / static_cast<double>(dt), 1,
                   SpeedUnit::MmPerMin);
    state_.RateTimeMs = now;
    state_.RateTravel = state_.S;
    state_.RateForce = state_.F;
}

void ProgrammeRun::Record() {
    const double travel = std::fabs(state_.S - state_.S0);
    Sample sample{};
    sample[0] = static_cast<float>(state_.F);
    sample[1] = static_cast<float>(travel);
    // The stage that was running, or the J-integral's loading phase, for the evaluation.
    sample[2] = static_cast<float>(
        routine_ == ProgrammeRoutine::JIntegral ? state_.Phase : stages_.RunningStage());
    if (!RecordSample(test_.Buffer, test_.Marks, sample)) return;
    state_.SinceRecorded = 0;

    LivePoint point;
    point.Index = test_.Marks.StoredSamples;
    point.ForceKn = state_.F;
    point.TravelMm = travel;
    if (machine_.Setup.AnalogOutActualValues) {
        const CalibrationRecord& c = machine_.Calibration;
        auto volts = [](double value, double nominal) {
            return nominal > 0 ? value / nominal * 10.0 : 0.0;
        };
        devices_.Daq->WriteAnalogOutput(0, volts(point.ForceKn, c.NominalForce));
        devices_.Daq->WriteAnalogOutput(1, volts(point.TravelMm, c.NominalTravel));
    }
    diagram_.AddLivePoint(point, 0);
}

bool ProgrammeRun::BreakCriterion() const {
    const ParameterSet& p = test_.Parameters;
    switch (p.BreakChannel) {
        case kBreakByForceChange:
            // "Delta-F": the sudden drop of a fracture, the force falling by at least the
            // value from one tick to the next. The value is entered in N, as its label says;
            // the force is in kN.
            return (state_.PreviousF - state_.F) * 1000.0 >= p.BreakDropPercent;
        case kBreakByTravelChange:
            return std::fabs(state_.S - state_.S0) >= p.BreakDropPercent;
        case kBreakByDrop:
        default:
            // No force yet is no drop.
            return state_.Fmax > 0 && state_.F <= state_.BreakThreshold;
    }
}

}  // namespace quorvex
