// Command execution and set-value generation of the virtual controller.
#include "machine/sim/virtual_controller.h"

#include <algorithm>
#include <cmath>

#include "machine/controller_protocol.h"
#include "machine/sim/hydraulic_drive.h"

namespace quorvex {

VirtualController::VirtualController(const SimulationConfig& config) : config_(config) {
    setPoint_ = holdTarget_ = config.StartPosition;
    encoderZero_ = 0;
}

// --- units

double VirtualController::TravelValue(std::int32_t value) const {
    if (incremental_ && config_.TravelIncrements > 0) {
        return encoderZero_ + static_cast<double>(value) / config_.TravelIncrements;
    }
    return value / 1e6 * config_.NominalTravel;
}

// The inverse of the program's rate conversions: mm/min x is sent as x * 1e8 / nominal / 12,
// or x * 100 * increments / 12.
double VirtualController::TravelRate(std::int32_t rate) const {
    double mmPerMin;
    if (incremental_ && config_.TravelIncrements > 0) {
        mmPerMin = rate * 12.0 / (100.0 * config_.TravelIncrements);
    } else {
        mmPerMin = rate * 12.0 * config_.NominalTravel / 1e8;
    }
    return std::fabs(mmPerMin) / 60;
}

double VirtualController::ForceValue(std::int32_t value) const {
    return value / 1e6 * config_.NominalForce;
}

// N/s x is sent as x * 1000 / nominal kN / 2.
double VirtualController::ForceRate(std::int32_t rate) const {
    return std::fabs(rate * 2.0 * config_.NominalForce / 1e6);
}

std::int64_t VirtualController::EncoderCounts(double positionMm) const {
    return std::llround((positionMm - encoderZero_) * config_.TravelIncrements);
}

double VirtualController::ForceLimitKn() const {
    const std::int32_t lowest = *std::min_element(forceLimits_.begin(), forceLimits_.end());
    return ForceValue(lowest);
}

double VirtualController::Actual(const ControllerActuals& actual) const {
    return mode_ == ControlMode::Force ? actual.Force : actual.Position;
}

// --- state changes

// A change of the control channel is bumpless: the new loop starts at its actual value.
void VirtualController::SelectMode(ControlMode mode, const ControllerActuals& actual) {
    mode_ = mode;
    rampRunning_ = false;
    setPoint_ = holdTarget_ = Actual(actual);
}

void VirtualController::HoldHere(const ControllerActuals& actual) {
    rampRunning_ = false;
    rampPending_ = false;
    spindleSpeed_ = 0;
    setPoint_ = holdTarget_ = Actual(actual);
}

void VirtualController::StartRamp(const ControllerActuals& actual) {
    if (!rampLoaded_) return;
    if (mode_ != ramp_.Channel) mode_ = ramp_.Channel;
    setPoint_ = Actual(actual);  // from where the machine stands, not from an old set value
    rampRunning_ = true;
    rampPending_ = false;
    pastSwitchPoint_ = false;
}

void VirtualController::SetDrive(std::uint8_t state, const ControllerActuals& actual) {
    switch (state) {
        case drive::kOff:
            drive_ = DriveMode::Off;
            rampRunning_ = false;
            spindleSpeed_ = 0;
            setPoint_ = holdTarget_ = Actual(actual);
            return;
        case drive::kHold:
        case drive::kJogUp:
        case drive::kJogDown:
            rampRunning_ = false;
            setPoint_ = Actual(actual);
            drive_ = state == drive::kHold    ? DriveMode::Hold
                     : state == drive::kJogUp ? DriveMode::JogUp
                                              : DriveMode::JogDown;
            return;
        case drive::kTestRun:
        case drive::kRampUp:
        case drive::kRampDown:
            if (drive_ != DriveMode::Run) setPoint_ = Actual(actual);
            drive_ = DriveMode::Run;
            if (rampPending_) StartRamp(actual);
            return;
        default:
            ++invalidCommands_;
            return;
    }
}

void VirtualController::Execute(const ControllerCommand& c, const ControllerActuals& actual) {
    ++executed_;
    const auto& v = c.Values;
    switch (c.Code) {
        case command::kForceRamp:
        case command::kTravelRamp: {
            const bool force = c.Code == command::kForceRamp;
            ramp_.Channel = force ? ControlMode::Force : ControlMode::Travel;
            ramp_.Target = force ? ForceValue(v[0]) : TravelValue(v[0]);
            ramp_.Rate1 = force ? ForceRate(v[1]) : TravelRate(v[1]);
            ramp_.Rate2 = force ? ForceRate(v[2]) : TravelRate(v[2]);
            ramp_.SwitchPoint = force ? ForceValue(v[3]) : TravelValue(v[3]);
            rampLoaded_ = rampPending_ = true;
            return;
        }
        case command::kThirdChannelRamp:
            return;  // this machine has no third control channel
        case command::kForceGains:
        case command::kTravelGains:
        case command::kStrainGains:
            gains_[c.Code == command::kForceGains    ? 0u
                   : c.Code == command::kTravelGains ? 1u
                                                     : 2u] = v;
            return;
        case command::kDriveState:
            SetDrive(c.Byte, actual);
            return;
        case command::kRampStart:
            if (c.Byte == 7) {
                StartRamp(actual);
            } else if (c.Byte == 0) {
                if (rampRunning_) rampPending_ = true;
                rampRunning_ = false;
                setPoint_ = holdTarget_ = Actual(actual);
            } else {
                ++invalidCommands_;
            }
            return;
        case command::kControlMode:
            if (c.Byte == 0) {
                SelectMode(ControlMode::Force, actual);
            } else if (c.Byte == 1 || (c.Byte == 2 && config_.TravelIncrements > 0)) {
                incremental_ = c.Byte == 2;
                SelectMode(ControlMode::Travel, actual);
            } else {
                ++invalidCommands_;
            }
            return;
        case command::kSetValue:
            holdTarget_ = mode_ == ControlMode::Force ? ForceValue(v[0]) : TravelValue(v[0]);
            return;
        case command::kSpindleSpeed:
            if (config_.MachineType != 0) return;  // no spindle on a hydraulic machine
            if (v[0] == 0) {
                HoldHere(actual);
            } else {
                rampRunning_ = false;
                spindleSpeed_ = TravelRate(v[0]) * (v[0] < 0 ? -1 : 1);
            }
            return;
        case command::kAuxiliaryOutputs:
            auxiliary_ = c.Byte;
            return;
        case command::kForceLimit1:
        case command::kForceLimit2:
        case command::kForceLimit3:
            forceLimits_[static_cast<std::size_t>(c.Code - command::kForceLimit1)] = std::abs(v[0]);
            return;
        case command::kPositionPreset:
            if (config_.TravelIncrements > 0) {
                encoderZero_ =
                    actual.Position - static_cast<double>(v[0]) / config_.TravelIncrements;
            }
            return;
        case command::kStopRequest:
            // Everything stops where it stands and holds there.
            HoldHere(actual);
            if (drive_ != DriveMode::Off) drive_ = DriveMode::Hold;
            return;
        case command::kRelease:
            HoldHere(actual);
            drive_ = DriveMode::Off;
            return;
        case command::kTareCounter:
            if (c.Byte == 1 || c.Byte == 2) {
                ++counterTares_;
            } else {
                ++invalidCommands_;
            }
            return;
        case command::kTareCounterSecondKind:
            encoderZero_ = actual.Position;
            ++counterTares_;
            return;
        case command::kTdmArms:
            tdmArms_ = c.Byte & 3;
            return;
        case command::kTdmStart:
            tdmRunning_ = true;
            return;
        case command::kTdmStop:
            tdmRunning_ = false;
            return;
        case command::kTdmGaugeLength:
            tdmGauge_ = c.Int32;
            return;
        default:
            ++invalidCommands_;
            return;
    }
}

void VirtualController::SetShutdownLine(bool high, const ControllerActuals& actual) {
    if (!high && !inhibited_) {
        HoldHere(actual);
        drive_ = DriveMode::Off;
    }
    inhibited_ = !high;
}

void VirtualController::LimitSwitch(const ControllerActuals& actual) {
    HoldHere(actual);
    if (drive_ != DriveMode::Off) drive_ = DriveMode::Hold;
    if (mode_ == ControlMode::Force) SelectMode(ControlMode::Travel, actual);
}

// --- the loop

void VirtualController::AdvanceSetPoint(double dt) {
    if (!rampRunning_) {
        // Hold and jog go to their target at positioning or jog speed (force: at the nominal
        // force per second).
        double rate = mode_ == ControlMode::Force ? config_.NominalForce : config_.MaxSpeed / 60;
        if (drive_ == DriveMode::JogUp || drive_ == DriveMode::JogDown) {
            rate = mode_ == ControlMode::Force ? config_.NominalForce / 20 : config_.JogSpeed / 60;
        }
        if (drive_ == DriveMode::Run) return;  // a finished ramp holds its target
        const double step = rate * dt;
        const double gap = holdTarget_ - setPoint_;
        setPoint_ += std::clamp(gap, -step, step);
        return;
    }
    double remaining = dt;
    while (remaining > 0 && rampRunning_) {
        const double goal = pastSwitchPoint_ ? ramp_.Target : ramp_.SwitchPoint;
        const double rate = pastSwitchPoint_ ? ramp_.Rate2 : ramp_.Rate1;
        if (rate <= 0) return;
        const double gap = goal - setPoint_;
        const double step = rate * remaining;
        if (std::fabs(gap) > step) {
            setPoint_ += gap > 0 ? step : -step;
            return;
        }
        setPoint_ = goal;
        remaining -= std::fabs(gap) / rate;
        if (pastSwitchPoint_) {
            rampRunning_ = false;
            holdTarget_ = goal;
        }
        pastSwitchPoint_ = true;
    }
}

double VirtualController::Velocity(double dt, const ControllerActuals& actual, double forceGain) {
    if (inhibited_ || drive_ == DriveMode::Off || dt <= 0) return 0;
    const double maxSpeed = config_.MaxSpeed / 60;
    double velocity;
    if (spindleSpeed_ != 0) {
        velocity = spindleSpeed_;
    } else {
        const double before = setPoint_;
        AdvanceSetPoint(dt);
        if (mode_ == ControlMode::Force) {
            velocity = forceGain * (setPoint_ - actual.Force);
        } else if (config_.MachineType == 0) {
            velocity = (setPoint_ - actual.Position) / dt;
        } else {
            // The hydraulic travel loop: the set value's own rate plus the P gain's pull.
            velocity = (setPoint_ - before) / dt +
                       HydraulicDrive::TravelLoopGain(gains_[1]) * (setPoint_ - actual.Position);
        }
    }
    velocity = std::clamp(velocity, -maxSpeed, maxSpeed);

    // The force limit stops any motion that would load the machine further.
    const double limit = ForceLimitKn();
    if (std::fabs(actual.Force) > limit && velocity * actual.Force > 0) {
        ++limitTrips_;
        HoldHere(actual);
        if (mode_ == ControlMode::Force) SelectMode(ControlMode::Travel, actual);
        drive_ = DriveMode::Hold;
        return 0;
    }
    return velocity;
}

}  // namespace quorvex
