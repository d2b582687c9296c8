// The test run's host and diagram as the acquisition thread sees them: a call made on the
// window's thread goes straight to the window, a call from the acquisition thread becomes an
// event in the ring that the window empties at its own pace. The diagram's decisions during a
// test (the view, the rescale, the extensometer's removal) come from a model of its own that
// computes without drawing, so the run never waits for the window's drawing.
#pragma once

#include <atomic>
#include <thread>

#include "run/live_diagram_model.h"
#include "run/run_events.h"

namespace quorvex {

class ThreadedRunHost : public RunHost {
  public:
    // Made on the window's thread; both must outlive it.
    ThreadedRunHost(RunHost& window, RunEventQueue& events)
        : window_(window), events_(events), windowThread_(std::this_thread::get_id()) {}

    void Message(RunMessageKind kind, int text, int secondText) override;
    void MessageText(RunMessageKind kind, std::string_view text) override;
    void RangeMessage(RunMessageKind kind, int field, int text, std::string_view range) override;
    bool Question(int text) override;
    bool SpecimenDialog(long long counter) override;
    void OpenSeriesEditor() override;
    void StoreLastTestInSeries() override;
    void ShowRunning(bool running) override;
    void ShowSpeed(std::string_view value, SpeedUnit unit) override;
    void ShowRemovalPrompt(int seconds) override;
    void LayoutResultPanels() override;
    void RedrawDiagram() override;
    void FillResultPanels() override;
    void AskFinalDimensions() override;
    void StartAutoSequence() override;

    bool OnWindowThread() const { return std::this_thread::get_id() == windowThread_; }
    // Events the full ring could not take.
    long Dropped() const { return dropped_.load(std::memory_order_relaxed); }
    void Post(const RunEvent& event);

  private:
    RunHost& window_;
    RunEventQueue& events_;
    std::thread::id windowThread_;
    std::atomic<long> dropped_{0};
};

class ThreadedRunDiagram : public RunDiagram {
  public:
    // window: the window's diagram, which follows the run while a test runs.
    ThreadedRunDiagram(LiveDiagramModel& window, ThreadedRunHost& host, TestState& test,
                       const CalibrationRecord& nominals, const MachineSetupRecord& setup);

    void PrepareForTest() override;
    bool AddLivePoint(const LivePoint& point, double removalDeformationMm) override;
    int View() const override { return lead_.View(); }
    void ShowEvaluatedCurve(int view) override;

  private:
    LiveDiagramModel& window_;
    ThreadedRunHost& host_;
    LiveDiagramModel lead_;
};

}  // namespace quorvex
