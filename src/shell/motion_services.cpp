// Start position, reference run and automatic sequence.
#include "shell/motion_services.h"

#include <cmath>

#include "evaluation/parameter_set.h"
#include "machine/controller_protocol.h"
#include "run/app_state.h"

namespace quorvex {

const char* const kAcceptPositionQuestion =
    "Actual position will be acepted as start postion\n\n"
    "It is the responsibility of the user:\n\n"
    " 1.) the limit switches are set properly\n\n"
    " 2.) to avoid a collision drive\n";

MotionServices::MotionServices(ControllerLink& link, Acquisition& daq, RelayBank& relays,
                               const MachineConfig& machine, const ParameterSet& parameters,
                               AppState& app, Clock& clock, SequenceIo& sequenceIo)
    : link_(link),
      daq_(daq),
      relays_(relays),
      machine_(machine),
      parameters_(parameters),
      app_(app),
      clock_(clock),
      sequence_(sequenceIo) {}

double MotionServices::TravelMm() const {
    return daq_.RawValues()[kRawTravel] * machine_.Factors.TravelFactor;
}

bool MotionServices::Interlocked() const {
    return !link_.Config().FiveLimitOff &&
           std::fabs(daq_.RawValues()[kRawForce]) > ControllerLink::kInterlockCounts;
}

void MotionServices::Prepare() {
    app_.ReferenceDone = !Incremental();
    referenceButtonVisible_ = referenceButtonEnabled_ = Incremental();
    startEnabled_ = !Incremental();
    startPositionEnabled_ = true;
}

void MotionServices::StartPositionCommand() {
    if (Incremental() && !app_.ReferenceDone && referenceButtonVisible_) {
        AcceptPosition();
        return;
    }
    sequence_.Stop();
    MoveToStartPosition();
}

bool MotionServices::AcceptPosition() {
    if (!ConfirmAcceptance || !ConfirmAcceptance(kAcceptPositionQuestion)) return false;
    referenceTimerOn_ = false;
    referenceRunActive_ = false;
    referenceButtonVisible_ = false;
    app_.ReferenceDone = true;
    // "Z" 0, the reference position preset twice, the stop, 200 ms; the link then marks a
    // downward move (so the next jog down waits for a release) and the lower target 0.
    link_.AcceptStartPosition();
    lastTravel_ = TravelMm();
    startEnabled_ = true;
    startPositionEnabled_ = true;
    return true;
}

bool MotionServices::MoveToStartPosition() {
    if (Interlocked()) return false;
    const ControllerConfig& config = link_.Config();
    const double start = parameters_.StartPosition;
    const double travel = TravelMm();
    link_.SetMoving(travel < start, travel >= start);

    const double target = Incremental() ? start * config.TravelIncrements
                          : config.NominalTravel > 0
                              ? start / config.NominalTravel * kNominalSetValue
                              : 0.0;
    const auto targetValue = static_cast<std::int32_t>(std::lround(target));
    link_.ControlMode(1);
    link_.ForceLimit3(config.FiveLimitOff ? kNominalSetValue : 50000);
    link_.SetValue(targetValue);
    link_.SetValue(targetValue);
    currentTarget_ = start;
    link_.HoldDrive(0);
    relays_.Relay8Off();

    if (config.MachineType == kSpindleMachine) {
        standstillTicks_ = 0;
        lastTravel_ = travel;
        supervising_ = true;
    } else if (travel - link_.JogOffset() > machine_.Setup.QuickReleasePoint) {
        link_.SetMoving(link_.MovingUp(), true);
    }
    return true;
}

void MotionServices::SupervisionTick() {
    if (!supervising_) return;
    const double t = TravelMm();
    if (std::fabs(t - parameters_.StartPosition) < kPositionTolerance ||
        std::fabs(t - lastTravel_) < kStandstillStep) {
        ++standstillTicks_;
    }
    const int type = link_.Config().MachineType;
    if (standstillTicks_ > kQuietTicksToEnd &&
        (type == kSpindleMachine || type == kHydraulicInflow)) {
        supervising_ = false;
        link_.StopMachine();
        clock_.WaitMs(2000);
        if (parameters_.AutoZeroForce) daq_.ZeroForce();
        if (type == kHydraulicInflow) relays_.Relay8On();
    }
    lastTravel_ = t;
}

void MotionServices::ReferenceRun() {
    referenceRunActive_ = true;
    link_.SetMoving(true, false);
    link_.ControlMode(1);
    link_.AuxiliaryOutputs(auxiliary::kBase + 16);
    const std::int32_t v = link_.TravelRate(kReferenceSpeed);
    link_.Ramp(RampChannel::Travel, kNominalSetValue, v, v, kNominalSetValue);
    link_.RampStart(0);
    link_.DriveState(drive::kTestRun);
    referenceButtonEnabled_ = false;
    startPositionEnabled_ = false;
    clock_.WaitMs(200);
    link_.SetLowerTravelTarget(0);
    referenceQuietTicks_ = 0;
    lastTravel_ = TravelMm();
    referenceTimerOn_ = true;
}

void MotionServices::ReferenceTick() {
    if (!referenceTimerOn_) return;
    const double t = TravelMm();
    referenceQuietTicks_ =
        std::fabs(t - lastTravel_) < kStandstillStep ? referenceQuietTicks_ + 1 : 0;
    lastTravel_ = t;
    if (referenceQuietTicks_ < kReferenceQuietTicks) return;
    // The crosshead stands at its end position: the run is over. The operator accepts the
    // position now or later with "Startpos.".
    referenceTimerOn_ = false;
    startPositionEnabled_ = true;
    if (!AcceptPosition()) referenceButtonEnabled_ = true;
}

void MotionServices::BeginAutoSequence() {
    if (!parameters_.AutoSequence) return;
    AutoSequenceOptions options;
    options.OpenArms = parameters_.AutoOpenArms != 0;
    options.OpenGrips = parameters_.AutoOpenGrips != 0;
    options.MoveTdmLe = parameters_.AutoMoveTdmLe != 0;
    options.ReturnStart = parameters_.AutoReturnStart != 0;
    options.TimeoutSec = parameters_.SequenceTimeoutSec;
    options.AnalogueArmDrive = machine_.Setup.AmpVersion == 2;
    options.GaugeLengthLe = parameters_.GaugeLengthLe;
    options.LeAt10V = machine_.Setup.TdmLeAt10V;
    sequence_.Begin(options);
}

void MotionServices::SequenceTick() {
    if (sequence_.Tick() && !app_.TestRunning) MoveToStartPosition();
}

}  // namespace quorvex
