// The automatic start on the simulated machine: the preload approach until the force lies in
// its tolerance, the arm closing and the waits that end by their time-outs, and the abort.
#include "specimen/automatic_start.h"

#include <gtest/gtest.h>

#include "sim_bench.h"

namespace quorvex {
namespace {

using Step = AutomaticStart::Step;
using testing::SimBench;
using testing::SimConfig;

class ReadyCard : public SecondCardIo {
  public:
    bool ArmsAndMachineReady() override { return true; }
    bool ArmsClosed() override { return closingOutput; }
    void ArmsClosingOutput(bool on) override { closingOutput = on; }
    bool closingOutput = false;
};

AutomaticStartSettings Settings(SimBench& bench, double preloadKn, bool closeArms, int ampVersion) {
    AutomaticStartSettings s;
    s.PreloadKn = preloadKn;
    s.TolerancePercent = 5;
    s.TimeoutSec = 20;
    s.AmpVersion = ampVersion;
    s.CloseArms = closeArms;
    s.ApproachRate = bench.Link().ForceRate(bench.Config().NominalForce * 10.0);
    return s;
}

// Ticks the machine and the start every 50 ms until the start leaves step `from`.
Step RunWhile(SimBench& bench, AutomaticStart& start, Step from, int maxSeconds = 60) {
    for (int i = 0; i < maxSeconds * 20 && start.Current() == from; ++i) {
        bench.Tick();
        start.Tick(bench.clock.NowMs(), bench.Force());
    }
    return start.Current();
}

TEST(AutomaticStart, ApproachesThePreloadThenClosesTheArmsThroughTheLinkAndTimesOut) {
    SimBench bench(SimConfig(SpecimenPreset::Steel));
    AbsentSecondCard card;
    AutomaticStart start(&bench.Link(), card);
    start.Begin(Settings(bench, 2.0, true, 3), bench.clock.NowMs());
    EXPECT_EQ(AutomaticStart::TextNumber(start.Current()), 471);

    ASSERT_EQ(RunWhile(bench, start, Step::ApproachingPreload), Step::ArmsSettling);
    EXPECT_NEAR(bench.Force(), 2.0, 0.1);
    EXPECT_EQ(bench.sim->Controller().TdmArmsOpened(), 3);  // both arms commanded
    const std::int64_t armsCommanded = bench.clock.NowMs();

    ASSERT_EQ(RunWhile(bench, start, Step::ArmsSettling), Step::WaitingForArms);
    EXPECT_GE(bench.clock.NowMs() - armsCommanded, AutomaticStart::kArmsSettleMs);
    // The arms report through the second card, which is never opened: the time-out ends it.
    ASSERT_EQ(RunWhile(bench, start, Step::WaitingForArms), Step::ArmsNotClosed);
    EXPECT_GE(bench.clock.NowMs() - armsCommanded, AutomaticStart::kArmsSettleMs + 20000);
    EXPECT_EQ(AutomaticStart::TextNumber(start.Current()), 474);
}

TEST(AutomaticStart, EndsWhenTheArmsReportClosedOrWithoutArms) {
    for (const bool closeArms : {true, false}) {
        SCOPED_TRACE(closeArms);
        SimBench bench(SimConfig(SpecimenPreset::Steel));
        ReadyCard card;
        AutomaticStart start(&bench.Link(), card);
        start.Begin(Settings(bench, 1.5, closeArms, 2), bench.clock.NowMs());
        RunWhile(bench, start, Step::ApproachingPreload);
        RunWhile(bench, start, Step::ArmsSettling);
        RunWhile(bench, start, Step::WaitingForArms);
        EXPECT_EQ(start.Current(), Step::Done);
        EXPECT_EQ(card.closingOutput, closeArms);
    }
}

TEST(AutomaticStart, APreloadThatIsNotReachedTimesOutAndTheOperatorMayAbort) {
    SimBench bench(SimConfig(SpecimenPreset::Steel));
    bench.sim->Faults().LostLink = true;  // the controller never hears the approach
    AbsentSecondCard card;
    AutomaticStart start(&bench.Link(), card);
    start.Begin(Settings(bench, 2.0, true, 3), bench.clock.NowMs());
    EXPECT_EQ(RunWhile(bench, start, Step::ApproachingPreload), Step::PreloadNotReached);
    EXPECT_EQ(bench.clock.NowMs() / 1000, 20);
    EXPECT_EQ(AutomaticStart::TextNumber(start.Current()), 472);

    start.Begin(Settings(bench, 2.0, true, 3), bench.clock.NowMs());
    start.Abort();
    EXPECT_EQ(start.Current(), Step::Aborted);
    EXPECT_FALSE(start.Running());
}

TEST(AutomaticStart, ReadinessAndPreloadForce) {
    AbsentSecondCard absent;
    ReadyCard ready;
    EXPECT_TRUE(StartReadiness(3, absent));
    EXPECT_FALSE(StartReadiness(2, absent));
    EXPECT_TRUE(StartReadiness(2, ready));
    EXPECT_FALSE(StartReadiness(0, ready));

    EXPECT_DOUBLE_EQ(PreloadForceKn(0, 0.2, 78.54), 0.2);
    EXPECT_DOUBLE_EQ(PreloadForceKn(1, 200, 78.54), 0.2);
    EXPECT_DOUBLE_EQ(PreloadForceKn(2, 10, 78.54), 0.7854);
}

}  // namespace
}  // namespace quorvex
