// The programme tests: the universal test and the flexural-modulus test (routine A), the
// flexural-strength test (routine B) and the universal test with J-integral unloading cycles.
// Their speed programme switches between travel control, force control and holding at
// change points in force, travel or time; they record with the chosen sampling rate and end
// by the break criterion of the programme, or by the operator, always with the evaluation.
#pragma once

#include <cstdint>

#include "run/programme_stages.h"
#include "run/run_routine.h"

namespace quorvex {

enum class ProgrammeRoutine {
    A,          // universal test without J-integral, flexural modulus
    B,          // flexural strength: tension also in the upper test space
    JIntegral,  // universal test with unloading cycles
};

// Whether a programme test of this parameter set loads its specimen by pulling: the tension
// direction, or the flexural-strength test in the upper test space.
bool ProgrammeLoadsInTension(const ParameterSet& p);

struct ProgrammeRunState : RunState {
    double F0 = 0;                        // force at the preload, kN
    double PreviousF = 0;                 // force of the tick before, kN
    int Decimation = 1;                   // measuring ticks per recorded point
    int SinceRecorded = 0;                // ticks since the last recorded point
    std::int32_t TravelSpeedCommand = 0;  // the running travel ramp's rate as sent
    int ShownSeconds = -1;                // the time stage's seconds in the speed field
    // The J-integral's unloading cycles.
    int UnloadCycles = 0;
    double NextUnloadPoint = 0;  // mm of travel since the preload
    int Phase = 1;               // 1 loading, 0 unloading
    double ReloadLevel = 0;      // kN
};

class ProgrammeRun : public RunRoutine {
  public:
    // All must outlive the run.
    ProgrammeRun(TestState& test, const MachineConfig& machine, AppState& app, RunMachine devices,
                 Clock& clock, RunDiagram& diagram, RunHost& host, ProgrammeRoutine routine);

    // The preload phase until the preload is reached, then the main phase.
    void OnSample() override;
    const ProgrammeRunState& State() const override { return state_; }
    const ProgrammeStages& Stages() const { return stages_; }

  protected:
    RunState& Shared() override { return state_; }
    void ResetState() override;
    double MinimumForce() const override;
    void BeginMotion() override;
    // Every stop after the preload is evaluated.
    bool EvaluatesStoppedTest() const override;

  private:
    bool Tension() const;
    double TravelReading() const;
    void SendStage(const StageStart& start, bool atStart);
    void ShowStage(const StageStart& start);
    void MainPhase();
    void UnloadingCycles();
    void ShowRate();
    void Record();
    bool BreakCriterion() const;

    const ProgrammeRoutine routine_;
    ProgrammeStages stages_;
    ProgrammeRunState state_;
};

}  // namespace quorvex
