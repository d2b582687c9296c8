// Whole tensile tests through the program's test run on the simulated machine, headless:
// the speed programme, the hysteresis loop, the extensometer removal, the break, the full
// memory, and results that give back the specimen's own values.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "headless_run.h"

namespace quorvex {
namespace {

using cli::HeadlessEvent;
using cli::HeadlessOptions;
using cli::HeadlessTest;

HeadlessOptions Options(SpecimenPreset preset) {
    HeadlessOptions options;
    options.Simulation.Preset = preset;
    options.Simulation.NominalForce = 100;
    return options;
}

// The first event that starts with `what`; null when there was none.
const HeadlessEvent* Find(const HeadlessTest& test, const std::string& what) {
    const auto& events = const_cast<HeadlessTest&>(test).Host().Events;
    const auto it = std::find_if(events.begin(), events.end(), [&](const HeadlessEvent& e) {
        return e.What.rfind(what, 0) == 0;
    });
    return it == events.end() ? nullptr : &*it;
}

TEST(SimulatedTestRun, YieldPointSteelSwitchesStagesTakesTheExtensometerOffAndBreaks) {
    HeadlessTest test;
    std::string error;
    ASSERT_TRUE(test.Prepare(Options(SpecimenPreset::YieldPointSteel), ".", error)) << error;
    const SpecimenParameters specimen = test.Simulation().Config().Specimen();
    ASSERT_TRUE(test.Start());
    test.RunToEnd();
    const TestState& s = test.Test();
    const MeasurementBuffer& b = s.Buffer;

    // Stage 2 (10 mm/min) from 1 % strain on the crosshead over Lc = 60 mm: 0.6 mm.
    const HeadlessEvent* stage = Find(test, "speed 10.0 mm/min");
    ASSERT_NE(stage, nullptr);
    const int switched = stage->Sample + 1;  // noted before the sample was stored
    EXPECT_GE(b.Travel(switched), 0.6f);
    EXPECT_LT(b.Travel(switched - 1), 0.6f);

    // The extensometer comes off beyond 1.9 mm; from then on it records 0.
    const HeadlessEvent* removal = Find(test, "removal 3");
    ASSERT_NE(removal, nullptr);
    const int removed = removal->Sample;
    EXPECT_GT(b.Extension(removed - 1), 1.8f);
    EXPECT_EQ(b.Extension(removed + 1), 0.0f);
    EXPECT_EQ(b.Extension(s.Marks.StoredSamples), 0.0f);
    EXPECT_EQ(test.Diagram().View(), kViewStressFineStrain);

    // The break: the last point below 60 % of Fmax, the two last points not evaluated.
    const int last = s.Marks.StoredSamples;
    const float fmax = *std::max_element(b.Data(Channel::Force), b.Data(Channel::Force) + last);
    EXPECT_LT(b.Force(last), 0.6f * fmax);
    EXPECT_GE(b.Force(last - 1), 0.6f * fmax);
    EXPECT_EQ(s.Marks.SampleCount, last - 2);
    EXPECT_FALSE(test.Run().Running());
    EXPECT_EQ(Find(test, "message"), nullptr);

    const ResultsRecord& r = const_cast<TestState&>(s).Current();
    ASSERT_TRUE(s.Marks.EvaluationDone);
    EXPECT_NEAR(r.E, specimen.E, 0.05 * specimen.E);
    EXPECT_NEAR(r.ReH, specimen.ReH, 0.03 * specimen.ReH);
    EXPECT_NEAR(r.ReL, specimen.ReL, 0.03 * specimen.ReL);
    EXPECT_NEAR(r.Rm, specimen.Rm, 0.02 * specimen.Rm);
    EXPECT_NEAR(r.Ag, specimen.Ag, 0.25 * specimen.Ag);
}

TEST(SimulatedTestRun, HysteresisLoopUnloadsReloadsAndTheTestGoesOn) {
    HeadlessTest test;
    std::string error;
    ASSERT_TRUE(test.Prepare(Options(SpecimenPreset::Steel), ".", error)) << error;
    ParameterSet& p = test.Test().Parameters;
    p.HysteresisActive = 1;
    p.HysteresisPercent = 0.2;  // 0.1 mm on Le = 50 mm, inside the elastic range
    const SpecimenParameters specimen = test.Simulation().Config().Specimen();
    ASSERT_TRUE(test.Start());
    test.RunToEnd();
    const TestState& s = test.Test();
    const TestMarks& m = s.Marks;
    ASSERT_GT(m.HysteresisStart, 0);
    ASSERT_GT(m.HysteresisEnd, m.HysteresisStart);
    const float reversal = s.Buffer.Force(m.HysteresisStart);
    float lowest = reversal;
    for (int i = m.HysteresisStart; i <= m.HysteresisEnd; ++i) {
        lowest = std::min(lowest, s.Buffer.Force(i));
    }
    // Unloaded to a tenth of the force, far below the break threshold, without ending.
    EXPECT_LE(lowest, 0.1f * reversal);
    EXPECT_GE(s.Buffer.Force(m.HysteresisEnd), 1.01f * reversal);
    EXPECT_GT(m.StoredSamples, m.HysteresisEnd + 200);
    ASSERT_TRUE(m.EvaluationDone);
    EXPECT_NEAR(s.TestSeries.Current().E, specimen.E, 0.05 * specimen.E);
    EXPECT_NEAR(s.TestSeries.Current().Rm, specimen.Rm, 0.02 * specimen.Rm);
}

TEST(SimulatedTestRun, TheFullMemoryEndsTheTestWithText169And24998Points) {
    HeadlessOptions options = Options(SpecimenPreset::Steel);
    options.Samples = 1;
    HeadlessTest test;
    std::string error;
    ASSERT_TRUE(test.Prepare(options, ".", error)) << error;
    ParameterSet& p = test.Test().Parameters;
    p.Stages = {};
    p.Stages[0] = {1, 0, 1, 0.02, 1};  // 0.4 mm in 25000 ticks: the specimen never breaks
    ASSERT_TRUE(test.Start());
    test.RunToEnd();
    const HeadlessEvent* full = Find(test, "message 169");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->Sample, 25000);
    EXPECT_EQ(test.Test().Marks.SampleCount, 24998);
    EXPECT_TRUE(test.Test().Marks.EvaluationDone);
    EXPECT_TRUE(EndedWithoutBreak(test.Test().Current()));
    EXPECT_FALSE(test.Run().Running());
}

}  // namespace
}  // namespace quorvex
