// The test run of the tensile family (metal tensile tests, screws, plastics, compression):
// the preload, the speed programme, the hysteresis loop, the extensometer removal, the break
// and the stop, fed one measuring tick at a time. It has no loop of its own: the window (or a
// headless driver) hands it every sample and the stop key. The shear and chain tests run the
// same routine on force and travel alone.
#pragma once

#include <array>
#include <cstdint>

#include "run/run_routine.h"

namespace quorvex {

// The run's own state besides what every routine keeps: the extensometer, the stage
// programme and the hysteresis loop.
struct TensileRunState : RunState {
    double E = 0, E0 = 0;      // the extensometer now and at the preload, mm
    // The wired extra channels now and at the preload, mm: the transverse gauge (width
    // change) and the three displacement probes.
    std::array<double, 4> Extra{}, Extra0{};
    bool StagesEnded = false;  // an inactive stage ended the switching
    std::int32_t CurrentSpeedCommand = 0;
    bool Unloading = false;
    bool UnloadDone = false;
    double UnloadLowForce = 0;
    double UnloadReturnForce = 0;
    bool RemovalPending = false;
    bool ExtensometerRemoved = false;
};

class TensileRun : public RunRoutine {
  public:
    // All must outlive the run. The clock gives the test clock of the rate display.
    TensileRun(TestState& test, const MachineConfig& machine, AppState& app, RunMachine devices,
               Clock& clock, RunDiagram& diagram, RunHost& host)
        : TensileRun(test, machine, app, devices, clock, diagram, host, false) {}

    // The preload phase until the preload is reached, then the main phase.
    void OnSample() override;
    const TensileRunState& State() const override { return state_; }

  protected:
    // forceAndTravelOnly: the shear/chain routine, without extensometer, hysteresis loop and
    // automatic sequence, its minimum force in N.
    TensileRun(TestState& test, const MachineConfig& machine, AppState& app, RunMachine devices,
               Clock& clock, RunDiagram& diagram, RunHost& host, bool forceAndTravelOnly);

    RunState& Shared() override { return state_; }
    void ResetState() override { state_ = TensileRunState{}; }
    double MinimumForce() const override;
    void BeginMotion() override;
    bool EvaluatesStoppedTest() const override;
    void AfterEvaluatedEnd() override;
    void CheckAfterEvaluation() override;

  private:
    void ConvertSample();
    void PreloadPhase();
    void MainPhase();
    void HysteresisLoop(int index);
    void SwitchStages();
    void ShowRate();
    void Record();
    void AnalogueOutputs(const LivePoint& point);
    void EndChecks();

    void SendStageSpeed(int stage, bool atStart);
    void ShowStageSpeed(int stage);
    bool StageCriterionMet(int stage) const;
    double StageSpeedMmPerMin(int stage) const;
    bool Compression() const;
    bool ReachedMinForce() const;

    const bool forceAndTravelOnly_;
    TensileRunState state_;
};

// The shear and chain tests (types 3 and 4): the tensile routine on force and travel alone,
// in the force/travel view; it ends by its minimum force in N and starts no automatic
// sequence.
class ShearChainRun : public TensileRun {
  public:
    ShearChainRun(TestState& test, const MachineConfig& machine, AppState& app, RunMachine devices,
                  Clock& clock, RunDiagram& diagram, RunHost& host)
        : TensileRun(test, machine, app, devices, clock, diagram, host, true) {}
};

}  // namespace quorvex
