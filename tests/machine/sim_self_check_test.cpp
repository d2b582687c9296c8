// The self-check of the simulated machine: travel at a known speed, the preload approach,
// the overload pulse and the removal of the extensometer, all through the program's own
// acquisition and controller link with the program's default sample counts.
#include <gtest/gtest.h>

#include "sim_bench.h"

namespace quorvex {
namespace {

using testing::SimBench;
using testing::SimConfig;

TEST(SimSelfCheck, TenMillimetresPerMinuteForSixtySecondsIsTenMillimetres) {
    SimBench bench(SimConfig(SpecimenPreset::None), 100);
    bench.Link().StartTestRamp(RampChannel::Travel, kNominalSetValue, bench.Link().TravelRate(10));
    bench.RunFor(60);
    // 1 count is 0.01 mm on a 300 mm transducer; the noise averages out over 200 conversions.
    EXPECT_NEAR(bench.Travel() - bench.startTravel, 10.0, 0.015);
    EXPECT_NEAR(bench.sim->Frame().Position() - bench.Config().StartPosition, 10.0, 1e-5);
}

TEST(SimSelfCheck, ThePreloadApproachReachesItsForceAndHoldsIt) {
    SimBench bench(SimConfig(SpecimenPreset::Steel), 100);
    bench.Link().ApproachPreload(2.0, bench.Link().ForceRate(500));  // 500 N/s
    bench.RunFor(3);
    EXPECT_GT(bench.Force(), 1.0);  // still on its way at 0.5 kN/s
    EXPECT_LT(bench.Force(), 1.8);
    bench.RunFor(7);
    EXPECT_NEAR(bench.Force(), 2.0, 0.03);
    const double travel = bench.Travel();
    bench.RunFor(5);
    EXPECT_NEAR(bench.Force(), 2.0, 0.03);
    EXPECT_NEAR(bench.Travel(), travel, 0.011);  // it holds
}

TEST(SimSelfCheck, TheOverloadPulseReallyStopsTheDrive) {
    SimulationConfig config = SimConfig(SpecimenPreset::Steel);
    config.NominalForce = 50;  // the specimen holds 75 kN: more than this machine may carry
    SimBench bench(config, 100);
    bench.Link().StartTestRamp(RampChannel::Travel, kNominalSetValue, bench.Link().TravelRate(5));
    double travelAtFirstPulse = -1;
    for (int tick = 0; tick < 20 * 120; ++tick) {
        bench.Tick();
        // The measuring tick's overload check, with this machine's factors; a lasting
        // overload pulses every tick.
        if (OverloadExceeded(bench.Daq().RawValues(), 50.0 / 30000, 50, 300.0 / 30000, 300, 0.95)) {
            bench.Daq().StopPulse();
            if (travelAtFirstPulse < 0) travelAtFirstPulse = bench.sim->Frame().Position();
        }
    }
    ASSERT_GT(travelAtFirstPulse, 0);
    EXPECT_EQ(bench.sim->Controller().Drive(), DriveMode::Off);
    EXPECT_DOUBLE_EQ(bench.sim->Frame().Position(), travelAtFirstPulse);
    EXPECT_GT(bench.Force(), 1.02 * 50);
    EXPECT_LT(bench.Force(), 1.02 * 50 + 0.5);  // the tick that saw it was the last to load it
    EXPECT_FALSE(bench.sim->Frame().Broken());
}

TEST(SimSelfCheck, TheExtensometerReadsZeroAfterItsRemoval) {
    SimBench bench(SimConfig(SpecimenPreset::YieldPointSteel), 100);
    bench.RunTest(10, 4);
    EXPECT_GT(bench.Extension(), 0.05);
    bench.sim->RemoveExtensometer();
    bench.Tick();
    // 2 counts rms per conversion, averaged over 100: well below one count.
    EXPECT_NEAR(bench.Daq().RawValues()[kRawStrain], 0, 1);
    EXPECT_NEAR(bench.Extension(), 0, 1e-4);
}

}  // namespace
}  // namespace quorvex
