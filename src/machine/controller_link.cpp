// Commands and sequences of the controller link.
#include "controller_link.h"

#include <cmath>
#include <limits>

namespace quorvex {
namespace {

// Rounds to the nearest integer (ties to even) inside the 32-bit range.
std::int32_t RoundToInt32(double value) {
    if (!std::isfinite(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (rounded <= std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace

ControllerLink::ControllerLink(PortTable& ports, RelayBank& relays, EncoderCard& encoder,
                               const Acquisition& acquisition, Clock& clock)
    : ports_(ports), relays_(relays), encoder_(encoder), acquisition_(acquisition), clock_(clock) {}

void ControllerLink::SetConfig(const ControllerConfig& config) {
    config_ = config;
}

bool ControllerLink::Hydraulic() const {
    return config_.MachineType == kHydraulicBleedOff || config_.MachineType == kHydraulicInflow;
}

void ControllerLink::Value(std::int32_t value) {
    for (std::uint8_t b : EncodeValue24(value)) Byte(b);
}

// --- single commands
// Each command holds the controller's line for its bytes: a command of the other thread
// comes before or after it, never in between.

void ControllerLink::Ramp(RampChannel channel, std::int32_t target, std::int32_t rate1,
                          std::int32_t rate2, std::int32_t switchPoint) {
    if (Blocked()) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(static_cast<std::uint8_t>(channel));
    Value(target);
    Value(rate1);
    Value(rate2);
    Value(switchPoint);
}

void ControllerLink::Gains(std::uint8_t code, const GainFrame& frame) {
    if (Blocked()) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(code);
    for (std::int32_t value : frame) Value(value);
}

void ControllerLink::DriveState(std::uint8_t state) {
    if (Blocked()) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kDriveState);
    Byte(state);
}

void ControllerLink::DriveState3Times(std::uint8_t state) {
    for (int i = 0; i < 3; ++i) DriveState(state);
}

void ControllerLink::RampStart(std::uint8_t value) {
    if (Blocked()) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kRampStart);
    Byte(value);
}

void ControllerLink::ControlMode(int mode) {
    if (Blocked()) return;
    if (mode == 1 && config_.IncrementalTravel) mode = 2;
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kControlMode);
    Byte(static_cast<std::uint8_t>(mode));
}

void ControllerLink::SetValue(std::int32_t value) {
    if (Blocked()) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kSetValue);
    Value(value);
}

void ControllerLink::SpindleSpeed(std::int32_t value) {
    if (Blocked()) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kSpindleSpeed);
    Value(value);
}

void ControllerLink::AuxiliaryOutputs(std::uint8_t value) {
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kAuxiliaryOutputs);
    Byte(value);
}

void ControllerLink::ForceLimit(std::uint8_t code, std::int32_t value) {
    if (Blocked() || !config_.FmaxMonitoring) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(code);
    Value(value);
}

void ControllerLink::PositionPreset(std::int32_t increments) {
    if (Blocked()) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kPositionPreset);
    Value(increments);
}

void ControllerLink::StopRequest() {
    Byte(command::kStopRequest);
}

void ControllerLink::Release() {
    Byte(command::kRelease);
}

void ControllerLink::TareCounter(int kind) {
    const PortTable::ControllerCommand whole(ports_);
    if (kind == 1) {
        Byte(command::kTareCounter);
        Byte(1);
        Byte(command::kTareCounter);
        Byte(2);
    } else if (kind == 2) {
        Byte(command::kTareCounterSecondKind);
        Byte(command::kTareCounterSecondKind);
    } else if (kind == 3) {
        encoder_.ResetCounterAxis(0);
        encoder_.ResetCounterAxis(1);
    }
}

void ControllerLink::TdmArms(int firstArmState, int secondArmState) {
    const std::uint8_t mask =
        static_cast<std::uint8_t>((firstArmState != 4 ? 1 : 0) | (secondArmState != 4 ? 2 : 0));
    if (mask == 0) return;
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kTdmArms);
    Byte(mask);
}

void ControllerLink::TdmStart() {
    Byte(command::kTdmStart);
}

void ControllerLink::TdmStop() {
    Byte(command::kTdmStop);
}

bool ControllerLink::TdmGaugeLength(double lengthMm) {
    constexpr double kTdmIncrementsPerSet = 100000;
    if (!(config_.TdmLeAt10V > 0)) return false;
    const double increments = kTdmIncrementsPerSet * lengthMm * 100 / config_.TdmLeAt10V;
    if (!std::isfinite(increments) || std::fabs(increments) > 2147483647.0) return false;
    const auto bits = static_cast<std::uint32_t>(RoundToInt32(increments));
    const PortTable::ControllerCommand whole(ports_);
    Byte(command::kTdmGaugeLength);
    for (int shift = 0; shift < 32; shift += 8) Byte(static_cast<std::uint8_t>(bits >> shift));
    return true;
}

// --- sequences

void ControllerLink::StopMachine() {
    if (Blocked()) {
        if (config_.MachineType >= kSpindleMachine && config_.MachineType <= kHydraulicInflow) {
            StopRequest();
            clock_.WaitMs(300);
            Release();
        }
        return;
    }
    if (!Hydraulic()) {
        DriveState(drive::kOff);
        DriveState(drive::kOff);
        AuxiliaryOutputs(auxiliary::kMoving);
        SpindleSpeed(0);
        clock_.WaitMs(400);
        AuxiliaryOutputs(auxiliary::kSpindleStopped);
        SetMoving(false, false);
        SpindleSpeed(0);
        ports_.PurgeReceive(ports_.ControllerPort());
        return;
    }
    ControlMode(1);
    SetValue(PresentTravelSetValue());
    HoldDrive(0);
    SetMoving(false, false);
    holdFlag_ = false;
    StopRequest();
    ports_.PurgeReceive(ports_.ControllerPort());
    relays_.Relay8On();
}

void ControllerLink::HoldDrive(int state) {
    if (Blocked()) return;
    DriveState3Times(static_cast<std::uint8_t>(state + drive::kHold));
    SendMotionOutput();
    if (Hydraulic()) relays_.Relay8Off();
}

void ControllerLink::SendMotionOutput() {
    const bool moving = !Hydraulic() || holdFlag_;
    AuxiliaryOutputs(moving ? auxiliary::kMoving : auxiliary::kHydraulicIdle);
}

void ControllerLink::DriveOff() {
    if (Blocked()) return;
    DriveState(drive::kOff);
    DriveState(drive::kOff);
    if (Hydraulic()) relays_.Relay8On();
}

std::int32_t ControllerLink::JogForceLimit() const {
    return config_.FiveLimitOff ? kNominalSetValue : 50000;
}

bool ControllerLink::JogRefused(bool alreadyMoving, int kind) const {
    if (Blocked() || alreadyMoving || kind < 1 || kind > 3) return true;
    return kind == 1 && !config_.FiveLimitOff &&
           std::fabs(acquisition_.RawValues()[kRawForce]) > kInterlockCounts;
}

bool ControllerLink::JogUp(int kind) {
    if (JogRefused(movingUp_, kind)) return false;
    movingUp_ = true;
    if (kind == 1) {
        ControlMode(1);
        ForceLimit3(JogForceLimit());
        ControlMode(1);
        SetValue(999000);
        HoldDrive(drive::kJogUp - drive::kHold);
    } else {
        const std::int32_t rate = kind == 2 ? kNominalSetValue : 8000000;
        Ramp(RampChannel::Travel, kNominalSetValue, rate, rate, kNominalSetValue);
        SendMotionOutput();
        ControlMode(1);
        ForceLimit3(kNominalSetValue);
        RampStart(0);
        RampStart(7);
        DriveState3Times(drive::kRampUp);
    }
    relays_.Relay8Off();
    return true;
}

bool ControllerLink::JogDown(int kind) {
    if (JogRefused(movingDown_, kind)) return false;
    movingDown_ = true;
    if (kind == 1) {
        ControlMode(1);
        ForceLimit3(JogForceLimit());
        ControlMode(1);
        SetValue(config_.IncrementalTravel ? lowerTravelTarget_ : 10);
        HoldDrive(drive::kJogDown - drive::kHold);
    } else {
        const std::int32_t rate = kind == 2 ? -kNominalSetValue : -800000;
        if (config_.IncrementalTravel) {
            Ramp(RampChannel::Travel, rate, rate, rate, lowerTravelTarget_);
        } else {
            Ramp(RampChannel::Travel, 1, rate, rate, 1);
        }
        SendMotionOutput();
        ForceLimit3(kind == 2 ? kNominalSetValue : JogForceLimit());
        RampStart(0);
        RampStart(7);
        DriveState3Times(drive::kRampDown);
    }
    relays_.Relay8Off();
    return true;
}

void ControllerLink::ApproachPreload(double preloadKn, std::int32_t approachRate) {
    if (Blocked()) return;
    const double forceCounts = acquisition_.RawValues()[kRawForce];
    const double zeroOffset = acquisition_.ZeroOffsets()[kRawForce];
    DriveState(drive::kHold);
    SetValue(PresentForceSetValue());
    ControlMode(0);
    // The controller sees the force before the zero correction: the offset is added back.
    const double preloadShare = config_.NominalForce > 0 ? preloadKn / config_.NominalForce : 0;
    const std::int32_t target =
        RoundToInt32((preloadShare + zeroOffset / kFullScaleCounts) * kNominalSetValue);
    const double presentKn = forceCounts * config_.NominalForce / kFullScaleCounts;
    const std::int32_t magnitude = approachRate < 0 ? -approachRate : approachRate;
    const std::int32_t rate = preloadKn > presentKn ? magnitude : -magnitude;
    Ramp(RampChannel::Force, target, rate, rate, target);
    ControlMode(0);
    RampStart(0);
    DriveState(config_.FreeRunInvert ? drive::kRampDown : drive::kRampUp);
    relays_.Relay8Off();
    if (!Hydraulic()) AuxiliaryOutputs(auxiliary::kMoving);
}

void ControllerLink::StartTestRamp(RampChannel channel, std::int32_t target, std::int32_t rate) {
    if (Blocked()) return;
    Ramp(channel, target, rate, rate, target);
    RampStart(drive::kTestRun);
    DriveState(drive::kTestRun);
}

void ControllerLink::ChangeStageRamp(RampChannel channel, std::int32_t target, std::int32_t rate) {
    if (Blocked()) return;
    Ramp(channel, target, rate, rate, target);
    RampStart(drive::kTestRun);
}

void ControllerLink::SendSetupForceLimits() {
    ForceLimit1(kLimit103Percent);
    ForceLimit3(kLimit103Percent);
    ForceLimit2(kLimit103Percent);
}

void ControllerLink::SendTestForceLimits(int fmaxLimitPercent) {
    if (fmaxLimitPercent < 6 || fmaxLimitPercent > 100) fmaxLimitPercent = 100;
    const std::int32_t value = fmaxLimitPercent * 10000;
    ForceLimit1(value);
    ForceLimit2(value);
    ForceLimit3(value);
}

void ControllerLink::AcceptStartPosition() {
    DriveState(drive::kOff);
    const std::int32_t position =
        RoundToInt32(static_cast<double>(config_.TravelIncrements) * config_.UserPosition);
    PositionPreset(position);
    PositionPreset(position);
    StopMachine();
    clock_.WaitMs(200);
    // Marked as moving down and not up: a jog down is refused until a jog release clears it.
    SetMoving(false, true);
    lowerTravelTarget_ = 0;
}

void ControllerLink::DownloadGains(const ControllerGains& gains) {
    if (Blocked()) return;
    ForceGains(ForceGainFrame(gains));
    clock_.WaitMs(200);
    TravelGains(TravelGainFrame(gains));
}

void ControllerLink::MachineOff() {
    StopRequest();
    clock_.WaitMs(300);
    Release();
    if (config_.MachineType == kHydraulicInflow) relays_.Relay8On();
}

// --- conversions

std::int32_t ControllerLink::TravelRate(double mmPerMin) const {
    if (config_.IncrementalTravel) {
        return RoundToInt32(mmPerMin * 100 * config_.TravelIncrements / 12);
    }
    if (!(config_.NominalTravel > 0)) return 0;
    return RoundToInt32(mmPerMin * 100000000.0 / config_.NominalTravel / 12);
}

std::int32_t ControllerLink::ForceRate(double rate) const {
    if (!(config_.NominalForce > 0)) return 0;
    return RoundToInt32(rate * 1000 / config_.NominalForce / 2);
}

std::int32_t ControllerLink::PresentTravelSetValue() const {
    const double counts =
        acquisition_.RawValues()[kRawTravel] + acquisition_.ZeroOffsets()[kRawTravel];
    if (config_.IncrementalTravel) return RoundToInt32(counts);
    return RoundToInt32(counts / kFullScaleCounts * kNominalSetValue);
}

std::int32_t ControllerLink::PresentForceSetValue() const {
    const double counts =
        acquisition_.RawValues()[kRawForce] + acquisition_.ZeroOffsets()[kRawForce];
    return RoundToInt32(counts / kFullScaleCounts * kNominalSetValue);
}

}  // namespace quorvex
