// Jogging the crosshead from the keys, the jog buttons and the service command: the jog
// commands, their stop on release (the machine holds where it stands), and the offset a
// hydraulic machine keeps after a downward jog. The active flags are the controller link's
// moving flags: a second command in a direction already moving is ignored until the jog is
// stopped.
#pragma once

#include "machine/acquisition.h"
#include "machine/controller_link.h"
#include "machine/relay_card.h"
#include "setup/calibration.h"

namespace quorvex {

enum class JogDirection { Up, Down };

// Kind 1 slow (travel control towards the end of the range), 2 fast (a travel ramp).
constexpr int kJogSlow = 1;
constexpr int kJogFast = 2;

class JogControl {
  public:
    // All must outlive this object.
    JogControl(ControllerLink& link, RelayBank& relays, const Acquisition& daq,
               const ConversionFactors& factors)
        : link_(link), relays_(relays), daq_(daq), factors_(factors) {}

    // The machine option "jog keys move the other way": every request is turned round.
    void SetInverted(bool inverted) { inverted_ = inverted; }

    bool JogUpActive() const { return link_.MovingUp(); }
    bool JogDownActive() const { return link_.MovingDown(); }
    // Whether the machine moves in the direction the operator asks for.
    bool Active(JogDirection requested) const;
    bool AnyActive() const { return JogUpActive() || JogDownActive(); }

    // Sends the jog unless a test runs, the direction already moves, the link is in
    // measurement-only mode or the slow jog meets the 5 % force interlock. True when sent.
    bool Jog(JogDirection requested, int kind, bool testRunning);

    // Stops the jog of one direction: the stop of a spindle machine, or the hold at the
    // present position of a hydraulic one. fromDownButton: released by the mouse or a key on
    // the down button, which keeps the offset of a hydraulic machine.
    void StopJog(JogDirection requested, bool fromDownButton);

    // The main window's key release: stops a jog started by a key (not the start-position
    // move of Ctrl+S) and clears both active flags.
    void KeyReleased(bool testRunning);

    // Set by the Ctrl+S start-position move so that the key release does not stop it.
    bool KeyMoveStarted = false;

  private:
    JogDirection Physical(JogDirection requested) const;
    void StopMotion(JogDirection physical, bool fromDownButton);
    bool Hydraulic() const;

    ControllerLink& link_;
    RelayBank& relays_;
    const Acquisition& daq_;
    const ConversionFactors& factors_;
    bool inverted_ = false;
};

}  // namespace quorvex
