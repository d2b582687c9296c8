// A test that ends before its break: F8 in the main window during a test ends it as the stop
// button does and tells the operator why, the machine stays where it stopped, and the
// evaluated test carries its mark "ohne Bruch" into the series record and the run's JSON. A
// test that broke carries none.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "evaluate_command.h"
#include "headless_run.h"
#include "run/acquisition_loop.h"

namespace quorvex {
namespace {

using cli::HeadlessOptions;
using cli::HeadlessTest;

constexpr int kTickMs = 50;

HeadlessOptions SteelOn100kN() {
    HeadlessOptions options;
    options.Simulation.Preset = SpecimenPreset::Steel;
    options.Simulation.NominalForce = 100;
    return options;
}

bool Noted(HeadlessTest& test, const std::string& what) {
    const auto& events = test.Host().Events;
    return std::any_of(events.begin(), events.end(),
                       [&](const cli::HeadlessEvent& e) { return e.What == what; });
}

TEST(StopWithoutBreak, F8DuringATestEndsItAsTheStopButtonAndMarksItUnbroken) {
    HeadlessTest test;
    std::string error;
    ASSERT_TRUE(test.Prepare(SteelOn100kN(), ".", error)) << error;
    Machine& machine = test.MachineInterface();
    // The acquisition loop of the window's machine, ticked here instead of by its thread.
    AcquisitionLoop loop(machine.Daq(), machine.Link(), test.Config().Factors);
    test.Run().DeferEndToWindow(true);
    loop.SetRun(&test.Run());
    ASSERT_TRUE(test.Start());
    std::int64_t nowNs = 0;
    auto tick = [&] {
        test.TestClock().Advance(kTickMs);
        nowNs += kTickMs * 1'000'000LL;
        loop.OnTick(nowNs, nowNs);
    };
    // Well into the plastic range, far from the break.
    while (test.Run().Running() && test.Run().State().Fmax < 1.2 * test.Run().State().MinForce) {
        tick();
    }
    for (int i = 0; i < 200; ++i) tick();
    ASSERT_TRUE(test.Run().Running());
    ASSERT_FALSE(test.Simulation().Frame().Broken());

    ASSERT_TRUE(loop.Post({MachineCommandKind::StopPulse, false}));
    tick();
    EXPECT_FALSE(test.Run().Running());
    EXPECT_TRUE(Noted(test, "message 230"));  // "Versuch mit F8 (Maschine Halt) beendet..."
    EXPECT_TRUE(Noted(test, "idle"));
    RunEvent event;
    bool ended = false;
    while (loop.PopEvent(event)) ended = ended || event.Kind == RunEventKind::TestEnded;
    EXPECT_TRUE(ended);

    // The crosshead stays where the stop found it.
    const double stoppedAt = test.Simulation().Frame().Position();
    for (int i = 0; i < 40; ++i) tick();
    EXPECT_NEAR(test.Simulation().Frame().Position(), stoppedAt, 0.01);

    // The window finishes the test: evaluated, and marked as not broken.
    test.Run().FinishEnd();
    TestState& state = test.Test();
    ASSERT_TRUE(state.Marks.EvaluationDone);
    EXPECT_TRUE(EndedWithoutBreak(state.Current()));
    EXPECT_NE(cli::ResultsJson(state, true).find("\"Broken\": false"), std::string::npos);
    const ResultsRecord stored = ResultsRecordFromImage(ResultsRecordImage(state.Current()));
    EXPECT_TRUE(EndedWithoutBreak(stored));
}

TEST(StopWithoutBreak, ATestThatBrokeIsNotMarked) {
    HeadlessTest test;
    std::string error;
    ASSERT_TRUE(test.Prepare(SteelOn100kN(), ".", error)) << error;
    // A test stopped without a break before marks the next one no more.
    test.Test().Current().EndOfTest = kEndedWithoutBreak;
    ASSERT_TRUE(test.Start());
    test.RunToEnd();
    ASSERT_TRUE(test.Test().Marks.EvaluationDone);
    EXPECT_TRUE(test.Simulation().Frame().Broken());
    EXPECT_FALSE(EndedWithoutBreak(test.Test().Current()));
    EXPECT_NE(cli::ResultsJson(test.Test(), true).find("\"Broken\": true"), std::string::npos);
}

}  // namespace
}  // namespace quorvex
