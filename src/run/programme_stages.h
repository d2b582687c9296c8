// The stage logic of the programme tests (universal, flexural modulus, flexural strength,
// J-integral): which stage runs, when the next one is reached by force, travel or time, the
// approach of a held target within the control deviation, the direction, and whether the
// control changes between travel and force. Plain: it decides, the run sends.
#pragma once

#include <cstdint>

namespace quorvex {

struct ControllerConfig;
struct ParameterSet;

// The "Mit" unit of a stage is its control mode.
enum StageControlMode : int { kControlTravel = 1, kControlForce = 2, kControlHold = 3 };
// The "Ab" unit of a stage: its change point in kN, mm or seconds.
enum ChangePointUnit : int { kChangeAtForce = 1, kChangeAtTravel = 2, kChangeAtTime = 3 };

// Stage k (1-based) drives exactly to the change point of stage k + 1, which holds it: a
// travel-controlled stage before a travel change point of a holding stage, or a
// force-controlled one before a force change point of a holding stage.
bool HoldApproach(const ParameterSet& p, int stage);

// What the machine is asked to do when a stage begins.
struct StageStart {
    int Stage = 1;
    int Control = kControlTravel;  // travel or force: a holding stage keeps the running control
    bool ControlChanged = false;   // the drive goes off and the other channel is selected first
    bool Holding = false;          // a holding stage: no ramp, the machine stays at its target
    bool Hold = false;             // the ramp runs exactly to the next change point
    int Direction = 1;             // the sign of the stage speed
    double Speed = 0;              // the stage speed as entered: mm/min, N/s or seconds
    double TargetTravel = 0;       // mm: the start travel plus or minus the next change point
    double TargetForce = 0;        // kN: the next change point over the start force
};

class ProgrammeStages {
  public:
    // The programme begins with the travel and force of this moment; tension decides the
    // sign of every target. Returns the start of stage 1; the next stage examined is 2.
    StageStart Begin(const ParameterSet& p, bool tension, double travelMm, double forceKn,
                     std::int64_t nowMs);
    // The travel at the preload, from which the travel change points count.
    void SetZero(double travelMm) { s0_ = travelMm; }

    // One sample of the main phase (force magnitude in kN, travel in mm): true when the next
    // stage was reached, with its start in `start`.
    bool Check(const ParameterSet& p, double forceKn, double travelMm, std::int64_t nowMs,
               StageStart& start);
    // The whole seconds the last check showed for a time stage; -1 when it examined none.
    int ShownSeconds() const { return shownSeconds_; }

    int NextStage() const { return next_; }
    int RunningStage() const { return next_ - 1; }
    int Direction() const { return direction_; }
    int Control() const { return control_; }
    bool Tension() const { return tension_; }
    double StartTravel() const { return d_; }
    // The travel since the preload in the direction of loading (mm).
    double Progress(double travelMm) const { return tension_ ? travelMm - s0_ : s0_ - travelMm; }

  private:
    StageStart Enter(const ParameterSet& p, int stage);

    bool tension_ = true;
    double d_ = 0;           // travel when the programme began
    double startForce_ = 0;  // kN
    double s0_ = 0;          // travel at the preload
    int next_ = 2;           // the next stage to examine; 31 when none is left
    int direction_ = 1;
    int control_ = kControlTravel;
    bool hold_ = false;  // the running stage approaches the next change point exactly
    std::int64_t holdStartMs_ = 0;
    int shownSeconds_ = -1;
};

// The controller's set values of a target: travel in millionths of the nominal travel (or
// in encoder increments), force in millionths of the nominal force.
std::int32_t TravelSetValue(const ControllerConfig& config, double travelMm);
std::int32_t ForceSetValue(const ControllerConfig& config, double forceKn);

}  // namespace quorvex
