// The test run of the tensile family (metal tensile tests, screws, plastics, compression):
// the start checks and commands, the preload, the speed programme, the hysteresis loop, the
// extensometer removal, the break and the stop, fed one measuring tick at a time. It has no
// loop of its own: the window (or a headless driver) hands it every sample and the stop key.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "run/run_diagram.h"
#include "run/run_host.h"

namespace quorvex {

class Acquisition;
class Clock;
class ControllerLink;
class RelayBank;
struct AppState;
struct MachineConfig;
struct TestState;

// The machine as the run drives it; all null without a machine.
struct RunMachine {
    ControllerLink* Link = nullptr;
    RelayBank* Relays = nullptr;
    Acquisition* Daq = nullptr;
};

// Text numbers of the run's messages.
namespace run_text {
constexpr int kSeriesFull = 165;
constexpr int kSaveTestsFirst = 166;
constexpr int kNoProject = 167;
constexpr int kStoreLastTest = 168;
constexpr int kMemoryFull = 169;
}  // namespace run_text

// The test types this run serves: the metal tensile test, the screws, plastics and compression.
inline bool RunsAsTensileTest(int testType) {
    return testType == 0 || testType == 1 || testType == 2 || testType == 6 || testType == 9;
}

// After a test or a curve loaded from a file: the view by the extensometer's usability (fine
// strain when the results use it and it is usable, else strain), the evaluation, and the
// evaluated curve with its marks in the diagram. Returns the view.
int EvaluateAndShowTest(TestState& test, RunDiagram& diagram);

// The run's own state: what the preload found, the force maximum, the stage programme, the
// hysteresis loop and the extensometer.
struct TensileRunState {
    bool SamplingActive = false;
    bool PreloadReached = false;
    bool Stopped = false;        // the stop procedure has run
    bool Evaluated = false;      // the test ended with its evaluation
    double PreloadForce = 0;     // kN
    double MinForce = 0;         // kN
    double F = 0, S = 0, E = 0;  // the present sample: kN, mm, mm
    double S0 = 0, E0 = 0;       // the zero point at the preload
    double Fmax = 0;             // kN
    int FmaxIndex = 0;
    double BreakThreshold = 0;  // kN
    int StageIndex = 2;         // the next stage to examine (1-based)
    bool StagesEnded = false;   // an inactive stage ended the switching
    std::int32_t CurrentSpeedCommand = 0;
    bool Unloading = false;
    bool UnloadDone = false;
    double UnloadLowForce = 0;
    double UnloadReturnForce = 0;
    bool RemovalPending = false;
    bool ExtensometerRemoved = false;
    std::int64_t TestClockStartMs = 0;
    std::int64_t RateTimeMs = 0;  // the reference of the rate display
    double RateForce = 0, RateTravel = 0;
};

class TensileRun {
  public:
    // All must outlive the run. The clock gives the test clock of the rate display.
    TensileRun(TestState& test, const MachineConfig& machine, AppState& app, RunMachine devices,
               Clock& clock, RunDiagram& diagram, RunHost& host);

    // The start of a test: the checks in their order, the specimen dialog, the commands to
    // the controller, the cleared buffer. False when the test does not start.
    bool Start();
    // One measuring tick: the preload phase until the preload is reached, then the main
    // phase. Allocates nothing and touches no file.
    void OnSample();
    // The stop key or button during a test: the stop, then the end checks (evaluation when
    // the force maximum reached the minimum force, or always for compression).
    void Stop(bool byOperator);
    bool Running() const { return state_.SamplingActive; }

    const TensileRunState& State() const { return state_; }

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
    void StopProcedure(bool byOperator);
    void EndOfTest();

    void SendStageSpeed(int stage, bool atStart);
    void ShowStageSpeed(int stage);
    bool StageCriterionMet(int stage) const;
    double StageSpeedMmPerMin(int stage) const;
    bool MeasureOnly() const;
    bool Compression() const;

    TestState& test_;
    const MachineConfig& machine_;
    AppState& app_;
    RunMachine devices_;
    Clock& clock_;
    RunDiagram& diagram_;
    RunHost& host_;
    TensileRunState state_;
    void ShowSpeedValue(double value, int decimals, SpeedUnit unit);
    std::array<char, 32> speedText_{};  // the speed read-out, formatted without allocating
    long long specimenNumber_ = -1;     // the automatic number read at the start
};

}  // namespace quorvex
