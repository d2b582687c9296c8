// The tensile run: the start of motion, the preload phase, the main phase of every sample and
// the end checks; the shear/chain routine is the same on force and travel alone.
#include "run/tensile_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "evaluation/compression_evaluation.h"
#include "evaluation/test_state.h"
#include "machine/controller_link.h"
#include "setup/machine_config.h"
#include "run/app_state.h"
#include "run/live_diagram_model.h"

namespace quorvex {
namespace {

constexpr int kTypeCompression = 9;
constexpr int kRateDisplayMs = 300;

// Switching criteria and speed units of the speed programme.
constexpr int kCriterionStrain = 1;
constexpr int kCriterionStress = 2;
constexpr int kCriterionDeformation = 3;
constexpr int kSpeedPercentPerMin = 2;
constexpr int kSpeedStressRate = 3;

int RemovalPromptSeconds(int messageTimeSec) {
    return messageTimeSec >= 2 && messageTimeSec <= 10 ? messageTimeSec : 5;
}

}  // namespace

TensileRun::TensileRun(TestState& test, const MachineConfig& machine, AppState& app,
                       RunMachine devices, Clock& clock, RunDiagram& diagram, RunHost& host,
                       bool forceAndTravelOnly)
    : RunRoutine(test, machine, app, devices, clock, diagram, host),
      forceAndTravelOnly_(forceAndTravelOnly) {}

bool TensileRun::Compression() const {
    return test_.Parameters.TestType == kTypeCompression;
}

double TensileRun::MinimumForce() const {
    const ParameterSet& p = test_.Parameters;
    // The shear and chain tests give their minimum as a force in N, the others as a stress.
    return forceAndTravelOnly_ ? p.RminInTest / 1000.0 : p.RminInTest * p.EffectiveSo / 1000.0;
}

bool TensileRun::ReachedMinForce() const {
    return state_.Fmax >= state_.MinForce || (Compression() && !forceAndTravelOnly_);
}

bool TensileRun::EvaluatesStoppedTest() const {
    return ReachedMinForce();
}

void TensileRun::AfterEvaluatedEnd() {
    if (!forceAndTravelOnly_ && test_.Parameters.AutoSequence) host_.StartAutoSequence();
}

void TensileRun::CheckAfterEvaluation() {
    const ParameterSet& p = test_.Parameters;
    if (Compression() && p.ProbeMonitoring) {
        const ProbeCheck check = ProbeMonitoring(test_.Buffer, test_.Marks, p);
        if (!check.Passed) host_.MessageText(RunMessageKind::Error, check.Message);
    }
}

// --- start

void TensileRun::BeginMotion() {
    HoldPresentPosition();
    SendStageSpeed(1, true);
    ShowStageSpeed(1);
}

double TensileRun::StageSpeedMmPerMin(int stage) const {
    const SpeedStage& s = test_.Parameters.Stages[static_cast<std::size_t>(stage - 1)];
    if (s.StageSpeedUnit == kSpeedPercentPerMin)
        return s.StageSpeed * test_.Parameters.EffectiveLc / 100.0;
    if (s.StageSpeedUnit == kSpeedStressRate) return s.StageSpeed / 5.0;
    return s.StageSpeed;
}

void TensileRun::SendStageSpeed(int stage, bool atStart) {
    ControllerLink* link = Link();
    if (!link) return;
    const std::int32_t speed = link->TravelRate(StageSpeedMmPerMin(stage));
    state_.CurrentSpeedCommand = speed;
    // A standing stage holds where it is instead of running towards the end of the range.
    const std::int32_t target = speed >= 1 ? kNominalSetValue : (atStart ? 0 : 1);
    if (atStart) {
        link->StartTestRamp(RampChannel::Travel, target, speed);
    } else {
        link->ChangeStageRamp(RampChannel::Travel, target, speed);
    }
}

void TensileRun::ShowStageSpeed(int stage) {
    if (MeasureOnly()) {
        host_.ShowSpeed({}, SpeedUnit::StressRate);
        return;
    }
    const SpeedStage& s = test_.Parameters.Stages[static_cast<std::size_t>(stage - 1)];
    const SpeedUnit unit = s.StageSpeedUnit == kSpeedPercentPerMin ? SpeedUnit::PercentPerMin
                           : s.StageSpeedUnit == kSpeedStressRate  ? SpeedUnit::StressRate
                                                                   : SpeedUnit::MmPerMin;
    ShowSpeedValue(s.StageSpeed, s.StageSpeed >= 100 ? 0 : 1, unit);
}

// --- samples

void TensileRun::OnSample() {
    if (!state_.SamplingActive) return;
    ConvertSample();
    if (!state_.PreloadReached) {
        PreloadPhase();
        return;
    }
    MainPhase();
}

void TensileRun::ConvertSample() {
    state_.F = ForceKn();
    state_.S = CrossheadTravelMm();
    if (forceAndTravelOnly_) return;
    const auto& raw = devices_.Daq->RawValues();
    const CalibrationRecord& c = machine_.Calibration;
    state_.E = test_.Parameters.ExtensometerIncremental
                   ? raw[kRawStrain] * machine_.Factors.StrainFactor
                   : raw[kRawStrain] * c.NominalStrain / kFullScaleCounts;
    const ParameterSet& p = test_.Parameters;
    // The transverse gauge in its range; the probes in the range of the extensometer, whose
    // reading they give as their mean on machines that measure with them.
    const auto& extra = devices_.Daq->ExtraValues();
    state_.Extra[kExtraTransverse] = extra[kExtraTransverse] * machine_.Factors.TransverseFactor;
    for (std::size_t k = kExtraProbe1; k < extra.size(); ++k) {
        state_.Extra[k] = extra[k] * c.NominalStrain / kFullScaleCounts;
    }
    // The load frame's own deformation under the force is taken off the extensometer and
    // the probes.
    if (Compression() && p.StiffnessCorrection && p.StiffnessDeformation > 0 &&
        p.StiffnessForce > 0) {
        const double frame = p.StiffnessDeformation / p.StiffnessForce * state_.F;
        state_.E -= frame;
        for (std::size_t k = kExtraProbe1; k < state_.Extra.size(); ++k) state_.Extra[k] -= frame;
    }
}

void TensileRun::PreloadPhase() {
    if (state_.F < state_.PreloadForce) return;
    state_.PreloadReached = true;
    state_.S0 = state_.S;
    state_.E0 = state_.E;
    state_.Extra0 = state_.Extra;
    state_.TestClockStartMs = clock_.NowMs();
    state_.RateTimeMs = state_.TestClockStartMs;
    state_.RateForce = state_.F;
    state_.RateTravel = state_.S;
}

void TensileRun::MainPhase() {
    const int index = test_.Marks.StoredSamples + 1;  // the index this sample is stored at
    if (!forceAndTravelOnly_) HysteresisLoop(index);
    if (!state_.Unloading) SwitchStages();
    if (MeasureOnly()) ShowRate();
    Record();
    EndChecks();
}

void TensileRun::HysteresisLoop(int index) {
    const ParameterSet& p = test_.Parameters;
    const double F = state_.F;
    if (state_.Unloading && F >= state_.UnloadReturnForce) {
        state_.Unloading = false;
        test_.Marks.HysteresisEnd = index;
    }
    ControllerLink* link = Link();
    const std::int32_t speed = state_.CurrentSpeedCommand;
    if (p.HysteresisActive && !state_.UnloadDone && !state_.Unloading &&
        state_.E - state_.E0 > p.HysteresisPercent * p.GaugeLengthLe / 100.0) {
        if (link) {
            link->ChangeStageRamp(RampChannel::Travel, 0, -speed);
        }
        state_.Unloading = true;
        state_.UnloadLowForce = 0.1 * F;
        state_.UnloadReturnForce = 1.01 * F;
        test_.Marks.HysteresisStart = index;
        // The unloading must never look like the break.
        state_.BreakThreshold = 0;
    }
    if (state_.Unloading && !state_.UnloadDone && F <= state_.UnloadLowForce) {
        if (link) link->ChangeStageRamp(RampChannel::Travel, kNominalSetValue, speed);
        state_.UnloadDone = true;
    }
}

bool TensileRun::StageCriterionMet(int stage) const {
    const ParameterSet& p = test_.Parameters;
    const SpeedStage& s = p.Stages[static_cast<std::size_t>(stage - 1)];
    const bool byExtensometer = p.StrainByTdm != 0 && !forceAndTravelOnly_;
    const double extension = std::fabs(state_.E - state_.E0);
    const double travel = std::fabs(state_.S - state_.S0);
    switch (s.StageFromUnit) {
        case kCriterionStrain:
            return byExtensometer ? extension / p.GaugeLengthLe * 100.0 >= s.StageFrom
                                  : travel / p.EffectiveLc * 100.0 >= s.StageFrom;
        case kCriterionStress:
            return state_.F * 1000.0 / p.EffectiveSo >= s.StageFrom;
        case kCriterionDeformation:
            return (byExtensometer ? extension : travel) >= s.StageFrom;
        default:
            return false;
    }
}

void TensileRun::SwitchStages() {
    if (state_.StagesEnded || state_.StageIndex > kSpeedStages) return;
    const int stage = state_.StageIndex;
    if (!test_.Parameters.Stages[static_cast<std::size_t>(stage - 1)].StageActive) {
        state_.StagesEnded = true;
        return;
    }
    if (!StageCriterionMet(stage)) return;
    SendStageSpeed(stage, false);
    // In measurement-only mode the field shows the measured rate instead.
    if (!MeasureOnly()) ShowStageSpeed(stage);
    ++state_.StageIndex;
}

void TensileRun::ShowRate() {
    const std::int64_t now = clock_.NowMs();
    const std::int64_t dt = now - state_.RateTimeMs;
    if (dt < kRateDisplayMs) return;
    if (state_.ExtensometerRemoved) {
        ShowSpeedValue((state_.S - state_.RateTravel) * 60000.0 / static_cast<double>(dt), 1,
                       SpeedUnit::MmPerMin);
    } else {
        ShowSpeedValue((state_.F - state_.RateForce) * 1000000.0 / test_.Parameters.EffectiveSo /
                           static_cast<double>(dt),
                       0, SpeedUnit::StressRate);
    }
    state_.RateTimeMs = now;
    state_.RateForce = state_.F;
    state_.RateTravel = state_.S;
}

void TensileRun::Record() {
    const ParameterSet& p = test_.Parameters;
    const double F = state_.F;
    double travel = state_.S - state_.S0;
    double extension = state_.E - state_.E0;
    if (Compression()) {
        travel = std::fabs(travel);
        extension = std::fabs(extension);
    }
    if (state_.ExtensometerRemoved) extension = 0;
    Sample sample{};
    sample[0] = static_cast<float>(F);
    sample[1] = static_cast<float>(travel);
    sample[2] = static_cast<float>(extension);
    // The width change and the probes, where the machine has them wired; the probes of a
    // compression test count the shortening like the extensometer.
    const ExtraInputs& wired = devices_.Daq->Extra();
    if (!forceAndTravelOnly_ && wired.HasTransverse()) {
        sample[3] = static_cast<float>(state_.Extra[kExtraTransverse] - state_.Extra0[kExtraTransverse]);
    }
    if (!forceAndTravelOnly_ && wired.HasProbes()) {
        for (std::size_t k = 0; k < 3; ++k) {
            const double probe = state_.Extra[kExtraProbe1 + k] - state_.Extra0[kExtraProbe1 + k];
            sample[5 + k] = static_cast<float>(Compression() ? std::fabs(probe) : probe);
        }
    }
    if (!RecordSample(test_.Buffer, test_.Marks, sample)) return;
    const int index = test_.Marks.StoredSamples;
    if (F >= state_.Fmax) {
        state_.Fmax = F;
        state_.FmaxIndex = index;
        state_.BreakThreshold = state_.Unloading ? 0.0 : F * p.BreakDropPercent / 100.0;
    }

    LivePoint point;
    point.Index = index;
    point.ForceKn = F;
    point.TravelMm = travel;
    point.ExtensionMm = extension;
    point.FourthMm = sample[3];
    point.Plot = F > state_.BreakThreshold;
    point.ExtensometerDeformationMm = state_.E - state_.E0;
    point.ExtensometerOverRange =
        !forceAndTravelOnly_ && !p.ExtensometerIncremental &&
        std::fabs(devices_.Daq->RawValues()[kRawStrain]) > kFullScaleCounts;
    AnalogueOutputs(point);

    if (diagram_.AddLivePoint(point, p.ExtensometerLimitMm)) state_.RemovalPending = true;
    if (state_.RemovalPending && p.MessageTimeSec > 0) {
        state_.ExtensometerRemoved = true;
        host_.ShowRemovalPrompt(RemovalPromptSeconds(p.MessageTimeSec));
        state_.RemovalPending = false;
    }
}

void TensileRun::AnalogueOutputs(const LivePoint& point) {
    if (!machine_.Setup.AnalogOutActualValues) return;
    const CalibrationRecord& c = machine_.Calibration;
    auto volts = [](double value, double nominal) {
        return nominal > 0 ? value / nominal * 10.0 : 0.0;
    };
    Acquisition& daq = *devices_.Daq;
    daq.WriteAnalogOutput(0, volts(point.ForceKn, c.NominalForce));
    daq.WriteAnalogOutput(1, volts(point.TravelMm, c.NominalTravel));
    if (forceAndTravelOnly_) return;
    if (!state_.ExtensometerRemoved) {
        daq.WriteAnalogOutput(2, volts(point.ExtensionMm, c.NominalStrain));
    }
    daq.WriteAnalogOutput(3, volts(point.FourthMm, c.NominalTransverse));
}

// --- end

void TensileRun::EndChecks() {
    if (BufferFull(test_.Marks)) {
        EndWithEvaluation(true);
        return;
    }
    if (state_.F < state_.BreakThreshold && ReachedMinForce()) {
        EndWithEvaluation(false, true);
    }
}

}  // namespace quorvex
