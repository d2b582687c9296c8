// The automatic sequence after a test: open the sensor arms and the grips, bring the
// sensor-arm extensometer to its gauge length, and hand over to the move to the start
// position. Every step waits for its confirmation input and gives up after the time-out.
#pragma once

namespace quorvex {

// The grip and sensor-arm outputs and their confirmation inputs. They sit on a second
// digital input/output card that this program does not open; without it the outputs go
// nowhere and no input confirms anything.
class SequenceIo {
  public:
    virtual ~SequenceIo() = default;
    virtual bool ArmsOpen() = 0;
    virtual bool GripClosed(int grip) = 0;  // grip 1 or 2
    virtual bool ArmsAtGaugeLength() = 0;
    virtual void ArmsClosingOutput(bool on) = 0;
    virtual void GripClosingOutput(int grip, bool on) = 0;
    virtual void ArmDriveOutput(bool on) = 0;
    virtual void ArmDriveSetValue(double volts) = 0;
};

class AbsentSequenceIo : public SequenceIo {
  public:
    bool ArmsOpen() override { return false; }
    bool GripClosed(int) override { return true; }
    bool ArmsAtGaugeLength() override { return false; }
    void ArmsClosingOutput(bool) override {}
    void GripClosingOutput(int, bool) override {}
    void ArmDriveOutput(bool) override {}
    void ArmDriveSetValue(double) override {}
};

struct AutoSequenceOptions {
    bool OpenArms = false;     // "Tastarme nach Versuchsende automatisch öffnen"
    bool OpenGrips = false;    // "Spannzeug nach Versuchsende automatisch öffnen"
    bool MoveTdmLe = false;    // "Le am TDM nach Versuchsende automatisch anfahren"
    bool ReturnStart = false;  // "Maschine nach Versuchsende automatisch auf Startposition fahren"
    int TimeoutSec = 20;       // per waiting step
    bool AnalogueArmDrive = false;  // the sensor arms take their gauge length as a voltage
    double GaugeLengthLe = 0;       // mm
    double LeAt10V = 0;             // mm of gauge length per 10 V
};

class AutoSequence {
  public:
    explicit AutoSequence(SequenceIo& io) : io_(io) {}

    // The test end starts it in state 1.
    void Begin(const AutoSequenceOptions& options);
    void Stop() { active_ = false; }
    bool Active() const { return active_; }

    // One tick of the sequence timer (1000 ms). True when the sequence has reached the move to
    // the start position, which the caller then runs if no test runs and the interlock allows.
    bool Tick();

    int SequenceState() const { return state_; }
    int SequenceTicks() const { return ticks_; }
    int StepBegin() const { return stepBegin_; }

  private:
    bool TimedOut() const { return ticks_ - stepBegin_ >= options_.TimeoutSec; }
    void WaitOrGiveUp();

    SequenceIo& io_;
    AutoSequenceOptions options_;
    bool active_ = false;
    int state_ = 0;
    int ticks_ = 0;
    int stepBegin_ = 0;
};

}  // namespace quorvex
