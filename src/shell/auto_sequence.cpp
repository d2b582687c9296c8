// The states of the automatic sequence.
#include "shell/auto_sequence.h"

namespace quorvex {

void AutoSequence::Begin(const AutoSequenceOptions& options) {
    options_ = options;
    active_ = true;
    state_ = 1;
    ticks_ = 0;
    stepBegin_ = 0;
}

void AutoSequence::WaitOrGiveUp() {
    if (TimedOut()) active_ = false;
}

bool AutoSequence::Tick() {
    if (!active_) return false;
    ++ticks_;
    switch (state_) {
        case 1: {
            // Without the grip option the sequence ends after this tick.
            const bool lastTick = !options_.OpenGrips || ticks_ == options_.TimeoutSec;
            if (options_.OpenArms && !io_.ArmsOpen()) {
                WaitOrGiveUp();
            } else {
                if (options_.OpenArms) io_.ArmsClosingOutput(false);
                stepBegin_ = ticks_;
                io_.GripClosingOutput(2, false);
                state_ = 2;
            }
            if (lastTick) active_ = false;
            return false;
        }
        case 2:
            if (io_.GripClosed(2)) {
                WaitOrGiveUp();
                return false;
            }
            io_.GripClosingOutput(1, false);
            state_ = 3;
            return false;
        case 3:
            if (io_.GripClosed(1)) {
                WaitOrGiveUp();
                return false;
            }
            state_ = 4;
            if (options_.MoveTdmLe && options_.AnalogueArmDrive && options_.LeAt10V > 0) {
                io_.ArmDriveSetValue(options_.GaugeLengthLe * 10 / options_.LeAt10V);
                io_.ArmDriveOutput(true);
            }
            return false;
        case 4:
            if (options_.MoveTdmLe && !io_.ArmsAtGaugeLength()) {
                WaitOrGiveUp();
                return false;
            }
            io_.ArmDriveOutput(false);
            active_ = false;
            if (!options_.ReturnStart) return false;
            state_ = 5;
            return true;
        default:
            active_ = false;
            return false;
    }
}

}  // namespace quorvex
