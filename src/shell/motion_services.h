// The machine motions the main window runs on the operator's request: the move to the start
// position with its supervision by the live travel, the reference run of an incremental
// travel encoder with the acceptance of its end position, and the automatic sequence after a
// test. All commands go to the controller; the program only watches the travel reading.
#pragma once

#include <functional>

#include "machine/acquisition.h"
#include "machine/clock.h"
#include "machine/controller_link.h"
#include "machine/relay_card.h"
#include "setup/machine_config.h"
#include "shell/auto_sequence.h"

namespace quorvex {

struct AppState;
struct ParameterSet;

class MotionServices {
  public:
    static constexpr double kPositionTolerance = 0.2;                  // mm
    static constexpr double kStandstillStep = kPositionTolerance / 4;  // mm
    static constexpr int kQuietTicksToEnd = 6;      // the supervision ends on the 7th
    static constexpr int kReferenceQuietTicks = 3;  // a reference run stands at its end
    static constexpr int kReferenceSpeed = 200;     // mm/min

    // All must outlive this object.
    MotionServices(ControllerLink& link, Acquisition& daq, RelayBank& relays,
                   const MachineConfig& machine, const ParameterSet& parameters, AppState& app,
                   Clock& clock, SequenceIo& sequenceIo);

    // Asks the operator to accept the present position as the start position (fixed English
    // text, Yes/No); true on Yes.
    std::function<bool(const char* question)> ConfirmAcceptance;

    // Start-up: a machine with an incremental travel encoder has no reference yet, so the
    // reference-run button shows and the test start waits for it.
    void Prepare();

    // The "Startpos." button and Ctrl+S: the acceptance of the present position while the
    // reference is missing, otherwise the move to the start position.
    void StartPositionCommand();
    // Steps of the move after the sequence is stopped; false when the 5 % interlock refuses.
    bool MoveToStartPosition();
    // One tick of the supervision timer (1000 ms).
    void SupervisionTick();
    // A jog button press ends a supervised move without stopping the machine.
    void EndSupervision() { supervising_ = false; }

    // The "Referenzfahrt" button.
    void ReferenceRun();
    // One tick of the reference-run timer: a travel that stands still ends the run with the
    // acceptance question.
    void ReferenceTick();

    // The test end starts the automatic sequence when it is switched on.
    void BeginAutoSequence();
    // One tick of the sequence timer; runs the final move when it comes to it.
    void SequenceTick();
    AutoSequence& Sequence() { return sequence_; }

    bool Interlocked() const;
    double TravelMm() const;

    bool Supervising() const { return supervising_; }
    bool ReferenceRunActive() const { return referenceRunActive_; }
    bool ReferenceTimerOn() const { return referenceTimerOn_; }
    bool ReferenceButtonVisible() const { return referenceButtonVisible_; }
    bool ReferenceButtonEnabled() const { return referenceButtonEnabled_; }
    // The F2 start and the "Startpos." button.
    bool StartEnabled() const { return startEnabled_; }
    bool StartPositionEnabled() const { return startPositionEnabled_; }
    int StandstillTicks() const { return standstillTicks_; }
    double LastTravel() const { return lastTravel_; }
    double CurrentTarget() const { return currentTarget_; }

  private:
    bool Incremental() const { return link_.Config().IncrementalTravel; }
    bool AcceptPosition();

    ControllerLink& link_;
    Acquisition& daq_;
    RelayBank& relays_;
    const MachineConfig& machine_;
    const ParameterSet& parameters_;
    AppState& app_;
    Clock& clock_;
    AutoSequence sequence_;
    bool supervising_ = false;
    int standstillTicks_ = 0;
    double lastTravel_ = 0;
    double currentTarget_ = 0;
    bool referenceRunActive_ = false;
    bool referenceTimerOn_ = false;
    int referenceQuietTicks_ = 0;
    bool referenceButtonVisible_ = false;
    bool referenceButtonEnabled_ = false;
    bool startEnabled_ = true;
    bool startPositionEnabled_ = true;
};

// The acceptance question, with the program's own spelling.
extern const char* const kAcceptPositionQuestion;

}  // namespace quorvex
