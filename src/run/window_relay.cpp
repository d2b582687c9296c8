// The run's calls on their way to the window: straight through on the window's thread, as
// events from the acquisition thread.
#include "run/window_relay.h"

#include <algorithm>
#include <cstring>

namespace quorvex {

void RunEvent::SetText(std::string_view text) {
    TextLength = static_cast<std::uint16_t>(std::min(text.size(), kTextCapacity));
    std::memcpy(Text.data(), text.data(), TextLength);
}

void ThreadedRunHost::Post(const RunEvent& event) {
    if (!events_.Push(event)) dropped_.fetch_add(1, std::memory_order_relaxed);
}

void ThreadedRunHost::Message(RunMessageKind kind, int text, int secondText) {
    if (OnWindowThread()) return window_.Message(kind, text, secondText);
    RunEvent e;
    e.Kind = RunEventKind::Message;
    e.MessageKind = kind;
    e.Number = text;
    e.Second = secondText;
    Post(e);
}

void ThreadedRunHost::MessageText(RunMessageKind kind, std::string_view text) {
    if (OnWindowThread()) return window_.MessageText(kind, text);
    RunEvent e;
    e.Kind = RunEventKind::MessageText;
    e.MessageKind = kind;
    e.SetText(text);
    Post(e);
}

// The checks, questions and dialogs belong to the start, which runs on the window's thread.
void ThreadedRunHost::RangeMessage(RunMessageKind kind, int field, int text,
                                   std::string_view range) {
    if (OnWindowThread()) window_.RangeMessage(kind, field, text, range);
}

bool ThreadedRunHost::Question(int text) {
    return OnWindowThread() && window_.Question(text);
}

bool ThreadedRunHost::SpecimenDialog(long long counter) {
    return OnWindowThread() && window_.SpecimenDialog(counter);
}

void ThreadedRunHost::OpenSeriesEditor() {
    if (OnWindowThread()) window_.OpenSeriesEditor();
}

void ThreadedRunHost::StoreLastTestInSeries() {
    if (OnWindowThread()) window_.StoreLastTestInSeries();
}

void ThreadedRunHost::ShowRunning(bool running) {
    if (OnWindowThread()) return window_.ShowRunning(running);
    RunEvent e;
    e.Kind = RunEventKind::ShowRunning;
    e.Flag = running;
    Post(e);
}

void ThreadedRunHost::ShowSpeed(std::string_view value, SpeedUnit unit) {
    if (OnWindowThread()) return window_.ShowSpeed(value, unit);
    RunEvent e;
    e.Kind = RunEventKind::ShowSpeed;
    e.Unit = unit;
    e.SetText(value);
    Post(e);
}

void ThreadedRunHost::ShowRemovalPrompt(int seconds) {
    if (OnWindowThread()) return window_.ShowRemovalPrompt(seconds);
    RunEvent e;
    e.Kind = RunEventKind::RemovalPrompt;
    e.Number = seconds;
    Post(e);
}

void ThreadedRunHost::LayoutResultPanels() {
    if (OnWindowThread()) return window_.LayoutResultPanels();
    RunEvent e;
    e.Kind = RunEventKind::LayoutPanels;
    Post(e);
}

// The end of the test runs on the window's thread (FinishEnd).
void ThreadedRunHost::RedrawDiagram() {
    if (OnWindowThread()) window_.RedrawDiagram();
}

void ThreadedRunHost::FillResultPanels() {
    if (OnWindowThread()) window_.FillResultPanels();
}

void ThreadedRunHost::AskFinalDimensions() {
    if (OnWindowThread()) window_.AskFinalDimensions();
}

void ThreadedRunHost::StartAutoSequence() {
    if (OnWindowThread()) window_.StartAutoSequence();
}

ThreadedRunDiagram::ThreadedRunDiagram(LiveDiagramModel& window, ThreadedRunHost& host,
                                       TestState& test, const CalibrationRecord& nominals,
                                       const MachineSetupRecord& setup)
    : window_(window), host_(host), lead_(test, nominals, setup) {
    window_.SetFollowsRun(true);
}

void ThreadedRunDiagram::PrepareForTest() {
    lead_.PrepareForTest();
    if (host_.OnWindowThread()) return window_.PrepareForTest();
    RunEvent e;
    e.Kind = RunEventKind::PrepareDiagram;
    host_.Post(e);
}

bool ThreadedRunDiagram::AddLivePoint(const LivePoint& point, double removalDeformationMm) {
    const bool removal = lead_.AddLivePoint(point, removalDeformationMm);
    if (host_.OnWindowThread()) {
        window_.AddLivePoint(point, removalDeformationMm);
    } else {
        RunEvent e;
        e.Kind = RunEventKind::LivePoint;
        e.Point = point;
        e.RemovalMm = removalDeformationMm;
        host_.Post(e);
    }
    return removal;
}

void ThreadedRunDiagram::ShowEvaluatedCurve(int view) {
    lead_.ShowEvaluatedCurve(view);
    window_.ShowEvaluatedCurve(view);
}

}  // namespace quorvex
