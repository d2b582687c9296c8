// A whole test on the simulated machine without a window: the machine opened on a manual
// clock, the specimen of a preset in the parameter set, and the program's own test run fed
// one 50 ms tick at a time. quorvex-cli run and the end-to-end tests use it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "evaluation/test_state.h"
#include "machine/clock.h"
#include "machine/machine.h"
#include "machine/sim/virtual_machine.h"
#include "setup/machine_config.h"
#include "run/app_state.h"
#include "run/live_diagram_model.h"
#include "run/run_diagram.h"
#include "run/run_host.h"
#include "run/run_routines.h"

namespace quorvex::cli {

// The machine setup and calibration of a simulated machine: its type, travel encoder and
// nominal ranges, with the conversion factors.
MachineConfig SimulatedMachineConfig(const SimulationConfig& sim, bool extensometerIncremental);
// The program's machine interface opened on the simulated machine; null with a message in
// `error` when its card did not register.
std::unique_ptr<Machine> OpenSimulatedMachine(const MachineConfig& config,
                                              VirtualMachine& simulation, Clock& clock,
                                              int samples, std::string& error);

// What the operator would have seen, in order, with the number of stored samples at the
// moment: "message 169", "removal 5", "speed 20.0 mm/min", "running", "idle", ...
struct HeadlessEvent {
    std::string What;
    int Sample = 0;
};

// The operator of a headless test: confirms the specimen dialog, answers No, and notes the
// rest.
class HeadlessHost : public RunHost {
  public:
    explicit HeadlessHost(const TestState& test) : test_(test) {}
    void Message(RunMessageKind kind, int text, int secondText) override;
    void MessageText(RunMessageKind kind, std::string_view text) override;
    void RangeMessage(RunMessageKind kind, int field, int text, std::string_view range) override;
    bool Question(int text) override;
    bool SpecimenDialog(long long) override { return true; }
    void OpenSeriesEditor() override { Note("series editor"); }
    void StoreLastTestInSeries() override { Note("store"); }
    void ShowRunning(bool running) override { Note(running ? "running" : "idle"); }
    void ShowSpeed(std::string_view value, SpeedUnit unit) override;
    void ShowRemovalPrompt(int seconds) override { Note("removal " + std::to_string(seconds)); }
    void LayoutResultPanels() override {}
    void RedrawDiagram() override {}
    void FillResultPanels() override { Note("results"); }
    void AskFinalDimensions() override {}
    void StartAutoSequence() override { Note("sequence"); }

    std::vector<HeadlessEvent> Events;

  private:
    void Note(std::string what);
    const TestState& test_;
};

struct HeadlessOptions {
    SimulationConfig Simulation;
    int TestType = 0;
    // The parameter set file; empty: the defaults with a demonstration programme of the
    // test type.
    std::string ParamsFile;
    // "Field=Value" changes of the parameter set, applied last (after the specimen preset).
    std::vector<std::string> Assignments;
    int Samples = 4;       // conversions averaged per reading
    int MaxTicks = 40000;  // the operator's patience: a test that never ends is stopped
};

class HeadlessTest {
  public:
    // Opens the simulated machine and prepares the parameter set; false with a message in
    // `error` when an option or the parameter file is refused.
    bool Prepare(const HeadlessOptions& options, const std::filesystem::path& workingDirectory,
                 std::string& error);
    // Whether Prepare refused one of the options' assignments (a usage error).
    bool AssignmentRefused() const { return assignmentRefused_; }
    // The start of the run (F2). False when it refused to start.
    bool Start();
    // One measuring tick: the card is read, the run gets the sample.
    void Tick();
    // Ticks until the run has ended (or the operator's patience is gone: then the stop key).
    void RunToEnd();

    TestState& Test() { return *test_; }
    RunRoutine& Run() { return *run_; }
    HeadlessHost& Host() { return *host_; }
    LiveDiagramModel& Diagram() { return *diagram_; }
    VirtualMachine& Simulation() { return *simulation_; }
    Machine& MachineInterface() { return *machine_; }
    MachineConfig& Config() { return config_; }
    ManualClock& TestClock() { return clock_; }
    int Ticks() const { return ticks_; }
    // How far the crosshead travelled during the test (mm, largest minus smallest reading).
    double TravelSpan() const { return ticks_ > 0 ? travelHigh_ - travelLow_ : 0.0; }

  private:
    HeadlessOptions options_;
    ManualClock clock_;
    std::unique_ptr<TestState> test_ = std::make_unique<TestState>();
    MachineConfig config_;
    AppState app_;
    std::unique_ptr<VirtualMachine> simulation_;
    std::unique_ptr<Machine> machine_;
    std::unique_ptr<HeadlessHost> host_;
    std::unique_ptr<LiveDiagramModel> diagram_;
    std::unique_ptr<RunRoutine> run_;
    int ticks_ = 0;
    bool assignmentRefused_ = false;
    double travelLow_ = 0, travelHigh_ = 0;
};

// The simulated specimen that fits a test type, the one the window clamps as well.
using quorvex::DefaultPresetOfTestType;

}  // namespace quorvex::cli
