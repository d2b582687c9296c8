// What every test run shares, whatever the test type: the start checks and the specimen
// dialog, the commands and the cleared buffer of a new test, the stop procedure and the end of
// the test with its evaluation. The routines of the test-type families build on it and add
// their own start of motion and their own sample.
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
struct ParameterSet;
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
constexpr int kValidRange = 181;  // "Gültigkeitsbereich"

constexpr int kStoppedWithF8 = 230;
constexpr int kNoBreak = 231;  // "ohne Bruch", the mark of a test that ended without a break
}  // namespace run_text

// The types whose curve is shown over the crosshead travel (or, for the universal test, over
// time) even after the evaluation: shear, chain, universal and the two bending tests.
bool ShowsForceOverTravel(int testType);

// After a test or a curve loaded from a file: the view by the test type and the
// extensometer's usability (fine strain when the results use it and it is usable, else
// strain; the force/travel or time view of the types that show no stress), the evaluation,
// and the evaluated curve with its marks in the diagram. Returns the view.
int EvaluateAndShowTest(TestState& test, RunDiagram& diagram);

// The preload force (kN) of the parameter set's preload unit: kN, N, or N/mm² on So.
double PreloadForceKn(const ParameterSet& p);

// What every routine keeps of its test.
struct RunState {
    bool SamplingActive = false;
    bool PreloadReached = false;
    bool Stopped = false;     // the stop procedure has run
    bool Evaluated = false;   // the test ended with its evaluation
    bool EndedByBreak = false;  // its break criterion ended it (not a stop, not a full memory)
    double PreloadForce = 0;  // kN
    double MinForce = 0;      // kN
    double F = 0, S = 0;      // the present sample: kN, mm
    double S0 = 0;            // the travel at the preload
    double Fmax = 0;          // kN
    int FmaxIndex = 0;
    double BreakThreshold = 0;  // kN
    int StageIndex = 2;         // the next stage to examine (1-based)
    std::int64_t TestClockStartMs = 0;
    std::int64_t RateTimeMs = 0;  // the reference of the rate display
    double RateForce = 0, RateTravel = 0;
};

class RunRoutine {
  public:
    virtual ~RunRoutine() = default;
    RunRoutine(const RunRoutine&) = delete;
    RunRoutine& operator=(const RunRoutine&) = delete;

    // The start of a test: the checks in their order, the specimen dialog, the commands to
    // the controller, the cleared buffer, then the routine's own start of motion. False when
    // the test does not start.
    bool Start();
    // Start in two halves for a machine owned by another thread: the checks and the specimen
    // dialog on the window's thread (false: no test), then BeginTest on the machine's thread.
    bool PrepareStart();
    void BeginTest();
    // One measuring tick. Allocates nothing and touches no file.
    virtual void OnSample() = 0;
    // The stop key or button during a test: the stop, then the evaluation where the routine
    // evaluates a stopped test.
    void Stop(bool byOperator);
    // F8 during a test: the test ends as by the stop button, and the operator is told why.
    void StopByMachineStop();
    bool Running() const { return State().SamplingActive; }

    // When the acquisition thread feeds the run, the stop happens there at once and the run
    // goes no further: what follows it (the window's running flag, the evaluation, the
    // result panels, the questions, the automatic sequence) waits for FinishEnd on the
    // window's thread. Without it the run ends in one go, as headless runs do.
    void DeferEndToWindow(bool defer) { deferEnd_ = defer; }
    bool EndPending() const { return pending_.Active; }
    void FinishEnd();
    virtual const RunState& State() const = 0;

  protected:
    // All must outlive the run. The clock gives the test clock.
    RunRoutine(TestState& test, const MachineConfig& machine, AppState& app, RunMachine devices,
               Clock& clock, RunDiagram& diagram, RunHost& host);

    virtual RunState& Shared() = 0;

    // A fresh state for a new test.
    virtual void ResetState() = 0;
    // The minimum force (kN) that a test must reach to be evaluated.
    virtual double MinimumForce() const = 0;
    // The routine's first commands once the buffer is cleared and the window shows the run.
    virtual void BeginMotion() = 0;
    // Whether a test stopped before its end is evaluated.
    virtual bool EvaluatesStoppedTest() const = 0;
    // After the evaluation of a broken or stopped test (the automatic sequence).
    virtual void AfterEvaluatedEnd() {}
    // The last check of the end-of-test processing (the compression test's probes).
    virtual void CheckAfterEvaluation() {}

    // Spindle machine: travel control and the present position before the first motion.
    void HoldPresentPosition();
    // The stop of the machine, the window back to idle, the machine off when asked.
    void StopProcedure(bool byOperator);
    // Stop, the last two points dropped, the evaluation; with a full memory text 169 first;
    // then, when afterEnd, the automatic sequence of the routine.
    void EndWithEvaluation(bool memoryFull, bool afterEnd = false);
    void EndOfTest();

    bool MeasureOnly() const;
    // The link to send to: null in measurement-only mode and without a machine.
    ControllerLink* Link() const;
    double ForceKn() const;  // the force reading, signed
    double CrossheadTravelMm() const;
    // The speed field: the value with its decimals, formatted without allocating.
    void ShowSpeedValue(double value, int decimals, SpeedUnit unit);

    TestState& test_;
    const MachineConfig& machine_;
    AppState& app_;
    RunMachine devices_;
    Clock& clock_;
    RunDiagram& diagram_;
    RunHost& host_;

  private:
    bool StartChecks();

    // What is left to do after a stop in the acquisition thread.
    struct PendingEnd {
        bool Active = false;
        bool Evaluate = false;
        bool MemoryFull = false;
        bool AfterEnd = false;
        bool ByOperator = false;
    };
    bool deferEnd_ = false;
    PendingEnd pending_;

    std::array<char, 32> speedText_{};
    long long specimenNumber_ = -1;  // the automatic number read at the start
};

}  // namespace quorvex
