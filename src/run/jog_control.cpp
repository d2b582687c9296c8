// Jog commands and their stop.
#include "run/jog_control.h"

#include "machine/controller_protocol.h"

namespace quorvex {

JogDirection JogControl::Physical(JogDirection requested) const {
    if (!inverted_) return requested;
    return requested == JogDirection::Up ? JogDirection::Down : JogDirection::Up;
}

bool JogControl::Hydraulic() const {
    const int type = link_.Config().MachineType;
    return type == kHydraulicBleedOff || type == kHydraulicInflow;
}

bool JogControl::Active(JogDirection requested) const {
    return Physical(requested) == JogDirection::Up ? JogUpActive() : JogDownActive();
}

bool JogControl::Jog(JogDirection requested, int kind, bool testRunning) {
    if (testRunning) return false;
    KeyMoveStarted = false;  // a jog is stopped by its release again
    return Physical(requested) == JogDirection::Up ? link_.JogUp(kind) : link_.JogDown(kind);
}

void JogControl::StopJog(JogDirection requested, bool fromDownButton) {
    StopMotion(Physical(requested), fromDownButton);
}

void JogControl::StopMotion(JogDirection direction, bool fromDownButton) {
    if (!Hydraulic()) {
        link_.StopMachine();
    } else {
        link_.DriveState(drive::kHold);
        link_.SetValue(link_.PresentTravelSetValue());
        if (direction == JogDirection::Down && fromDownButton) {
            link_.SetJogOffset(daq_.RawValues()[kRawTravel] * factors_.TravelFactor);
        }
        if (link_.Config().MachineType == kHydraulicInflow) relays_.Relay8On();
    }
    if (direction == JogDirection::Up) {
        link_.SetMoving(false, link_.MovingDown());
    } else {
        link_.SetMoving(link_.MovingUp(), false);
    }
}

void JogControl::KeyReleased(bool testRunning) {
    if (KeyMoveStarted || testRunning || !AnyActive()) return;
    StopMotion(JogUpActive() ? JogDirection::Up : JogDirection::Down, false);
    link_.SetMoving(false, false);
}

}  // namespace quorvex
