// A whole tensile test run by the acquisition thread on the simulated machine while the
// window's side takes nothing until the test is over, as a window blocked by a long drawing
// or a dialog would: afterwards every sample and every point is there, and the break was
// stopped by the thread within the tick that saw it. The machine's clock advances 50 ms per
// tick, so the checks count ticks, not milliseconds. The ticks allocate nothing: this
// program counts every operator new made inside a tick of the acquisition thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include "headless_run.h"
#include "machine/sampling_thread.h"
#include "run/acquisition_loop.h"
#include "run/window_relay.h"

namespace {
thread_local bool countAllocations = false;
std::atomic<long> tickAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (countAllocations) tickAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace quorvex {
namespace {

constexpr std::int64_t kRealPeriodNs = 2'000'000;
constexpr int kMachineTickMs = 50;

// The acquisition loop with the machine's clock one tick further at every tick; it notes the
// ticks that fed the run and when the run stopped.
class MachineTimeTick : public SamplingTick {
  public:
    MachineTimeTick(ManualClock& clock, AcquisitionLoop& loop, RunRoutine& run)
        : clock_(clock), loop_(loop), run_(run) {}
    void OnTick(std::int64_t nowNs, std::int64_t deadlineNs) override {
        clock_.Advance(kMachineTickMs);
        countAllocations = true;
        loop_.OnTick(nowNs, deadlineNs);
        countAllocations = false;
        const bool running = run_.Running();
        if (running) runningTicks.fetch_add(1);
        if (wasRunning_ && !running) ended.store(true);
        wasRunning_ = running;
    }
    std::atomic<int> runningTicks{0};
    std::atomic<bool> ended{false};

  private:
    ManualClock& clock_;
    AcquisitionLoop& loop_;
    RunRoutine& run_;
    bool wasRunning_ = false;
};

TEST(AcquisitionThread, AWindowThatTakesNothingLosesNoSampleAndTheBreakIsStoppedInItsTick) {
    tickAllocations = 0;
    cli::HeadlessTest headless;
    cli::HeadlessOptions options;
    options.Simulation.Preset = SpecimenPreset::Steel;
    options.Simulation.NominalForce = 100;
    std::string error;
    ASSERT_TRUE(headless.Prepare(options, ".", error)) << error;
    ParameterSet& p = headless.Test().Parameters;
    p.Stages = {};
    p.Stages[0] = {1, 0, 1, 100, 1};  // the steel breaks after a few hundred ticks

    Machine& machine = headless.MachineInterface();
    AcquisitionLoop loop(machine.Daq(), machine.Link(), headless.Config().Factors);
    cli::HeadlessHost windowHost(headless.Test());
    LiveDiagramModel windowDiagram(headless.Test(), headless.Config().Calibration,
                                   headless.Config().Setup);
    ThreadedRunHost host(windowHost, loop.Events());
    ThreadedRunDiagram diagram(windowDiagram, host, headless.Test(),
                               headless.Config().Calibration, headless.Config().Setup);
    AppState app;
    app.ProjectOpen = true;
    app.WorkingDirectory = ".";
    std::unique_ptr<RunRoutine> run =
        CreateRunRoutine(headless.Test(), headless.Config(), app,
                         {&machine.Link(), &machine.Relays(), &machine.Daq()},
                         headless.TestClock(), diagram, host);
    run->DeferEndToWindow(true);
    loop.SetRun(run.get());

    MachineTimeTick tick(headless.TestClock(), loop, *run);
    SamplingThread thread(tick, kRealPeriodNs);
    loop.SetSamplingThread(&thread);
    thread.Start();
    {
        SamplingThread::WindowAccess access(&thread);
        ASSERT_TRUE(run->PrepareStart());
    }
    app.TestRunning = true;
    ASSERT_TRUE(loop.Post({MachineCommandKind::BeginTest, false}));

    // The window is blocked: it takes nothing until the thread has stopped the test.
    for (int i = 0; i < 60000 && !tick.ended.load(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(tick.ended.load());
    std::int64_t broke = -1, stopped = -1;
    {
        SamplingThread::WindowAccess access(&thread);
        broke = headless.Simulation().BrokeAtMs();
        stopped = headless.Simulation().DriveStoppedAtMs();
    }
    ASSERT_GE(broke, 0) << "the specimen did not break";
    EXPECT_GE(stopped, broke);
    EXPECT_LE(stopped - broke, kMachineTickMs) << "the stop waited beyond the tick of the break";

    // Now the window catches up.
    LiveSample sample;
    int recordingSamples = 0;
    std::int64_t lastStamp = 0;
    while (loop.PopSample(sample)) {
        EXPECT_GT(sample.TimeNs, lastStamp);
        lastStamp = sample.TimeNs;
        if (sample.Recording) ++recordingSamples;
    }
    RunEvent event;
    int points = 0;
    bool runningShown = false, idleShown = false, ended = false;
    while (loop.PopEvent(event)) {
        if (event.Kind == RunEventKind::LivePoint) {
            ++points;
            windowDiagram.AddLivePoint(event.Point, event.RemovalMm);
        }
        if (event.Kind == RunEventKind::PrepareDiagram) windowDiagram.PrepareForTest();
        if (event.Kind == RunEventKind::ShowRunning) (event.Flag ? runningShown : idleShown) = true;
        if (event.Kind == RunEventKind::TestEnded) ended = true;
    }
    thread.Stop();

    EXPECT_EQ(loop.DroppedSamples(), 0);
    EXPECT_EQ(tickAllocations.load(), 0) << "the measuring ticks allocated";
    EXPECT_EQ(host.Dropped(), 0);
    // The tick that stopped the test took its sample too.
    EXPECT_EQ(recordingSamples, tick.runningTicks.load() + 1);
    const TestMarks& marks = headless.Test().Marks;
    EXPECT_EQ(points, marks.StoredSamples);
    EXPECT_EQ(windowDiagram.CurveLength(), marks.StoredSamples);
    EXPECT_TRUE(runningShown);
    EXPECT_TRUE(idleShown);
    ASSERT_TRUE(ended);
    EXPECT_TRUE(app.TestRunning);  // the window's flag is the window's to clear

    // The end of the test on the window's thread: the evaluation of the broken specimen.
    run->FinishEnd();
    EXPECT_FALSE(app.TestRunning);
    EXPECT_TRUE(marks.EvaluationDone);
    EXPECT_EQ(marks.SampleCount, marks.StoredSamples - 2);
    EXPECT_GT(headless.Test().Current().Rm, 0.0);
}

}  // namespace
}  // namespace quorvex
