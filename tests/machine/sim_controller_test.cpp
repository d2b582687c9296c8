// The virtual controller reads the controller link's bytes as the real one does and acts on
// the program's sequences: jog, stop, hold, start position, force limits, the presets of the
// incremental travel, the gains, the auxiliary outputs. Garbage on the line is counted and
// never crashes it.
#include <gtest/gtest.h>

#include "machine/sim/controller_decoder.h"
#include "sim_bench.h"

namespace quorvex {
namespace {

using testing::SimBench;
using testing::SimConfig;

TEST(SimDecoder, Value24IsTheInverseOfTheEncoding) {
    for (std::int32_t value : {0, 1, -1, 1000000, -1000000, 8388607, -8388607, 123456}) {
        const auto bytes = EncodeValue24(value);
        EXPECT_EQ(DecodeValue24(bytes[0], bytes[1], bytes[2]), value);
    }
    EXPECT_EQ(DecodeValue24(0x80, 0x00, 0x00), 0);  // a negative zero is zero
}

TEST(SimDecoder, FramesCommandsAndCountsWhatItCannotUse) {
    ControllerDecoder decoder;
    ControllerCommand command;
    auto feed = [&](std::initializer_list<int> bytes, std::int64_t ms = 0) {
        int completed = 0;
        for (int b : bytes) completed += decoder.Feed(static_cast<std::uint8_t>(b), ms, command);
        return completed;
    };
    EXPECT_EQ(feed({'b', 0x0F, 0x42, 0x40, 0x00, 0x10, 0x00, 0x80, 0x10, 0x00, 0x00, 0, 1}), 1);
    EXPECT_EQ(command.Code, 'b');
    EXPECT_EQ(command.ValueCount, 4);
    EXPECT_EQ(command.Values[0], 1000000);
    EXPECT_EQ(command.Values[2], -4096);
    EXPECT_EQ(command.Values[3], 1);
    EXPECT_EQ(feed({0x99, 0x10, 0x27, 0, 0}), 1);
    EXPECT_EQ(command.Int32, 10000);
    EXPECT_EQ(feed({0xFF, 0x00, 'Z', 5}), 1);  // two bytes that start nothing
    EXPECT_EQ(decoder.UnknownBytes(), 2);
    EXPECT_EQ(command.Byte, 5);
    // A command cut short: its rest never comes, the next command arrives later.
    EXPECT_EQ(feed({'d', 0x01}, 1000), 0);
    EXPECT_EQ(feed({0x40}, 1500), 1);
    EXPECT_EQ(command.Code, 0x40);
    EXPECT_EQ(decoder.TruncatedCommands(), 1);
}

TEST(SimController, RandomBytesOnTheLineNeverCrashIt) {
    SimBench bench(SimConfig(SpecimenPreset::Steel));
    std::uint32_t x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245u + 12345u;
        bench.sim->ReceiveControllerByte(static_cast<std::uint8_t>(x >> 16));
        if (i % 500 == 0) bench.Tick(7);
    }
    EXPECT_GT(bench.sim->Decoder().UnknownBytes(), 0);
    EXPECT_GT(bench.sim->Controller().InvalidCommands(), 0);
    // Whatever it did, it stayed within its travel and its readings are numbers.
    const double position = bench.sim->Frame().Position();
    EXPECT_GE(position, 0);
    EXPECT_LE(position, 300);
    EXPECT_TRUE(std::isfinite(bench.Force()));
}

TEST(SimController, JogsMoveAtTheirSpeedsAndTheStopEndsThem) {
    SimulationConfig config = SimConfig(SpecimenPreset::None);
    config.LowerLimit = 20;
    SimBench bench(config, 50);
    ControllerLink& link = bench.Link();
    ASSERT_TRUE(link.JogUp(1));  // the slow jog: 20 mm/min towards the top
    bench.RunFor(3);
    EXPECT_NEAR(bench.Travel() - bench.startTravel, 1.0, 0.02);
    EXPECT_EQ(bench.sim->Controller().Drive(), DriveMode::JogUp);
    link.StopMachine();
    const double stopped = bench.Travel();
    bench.RunFor(2);
    EXPECT_NEAR(bench.Travel(), stopped, 0.011);
    EXPECT_EQ(bench.sim->Controller().AuxiliaryOutputs(), 144);  // the spindle's stop output

    ASSERT_TRUE(link.JogUp(2));  // fast: a ramp at 1000000, 12 % of the nominal travel per min
    bench.RunFor(5);
    EXPECT_NEAR(bench.Travel() - stopped, 0.12 * 300 / 12, 0.02);
    link.StopMachine();

    ASSERT_TRUE(link.JogDown(3));  // 80 % of that, down to the lower limit switch
    bench.RunFor(200);
    EXPECT_NEAR(bench.Travel(), 20, 0.011);
    EXPECT_EQ(bench.sim->Controller().Drive(), DriveMode::Hold);
}

TEST(SimController, AHoldGoesToItsSetValueLikeTheStartPosition) {
    SimBench bench(SimConfig(SpecimenPreset::None), 50);
    ControllerLink& link = bench.Link();
    link.ControlMode(1);
    link.ForceLimit3(50000);
    link.SetValue(150000);  // 15 % of 300 mm
    link.SetValue(150000);
    link.HoldDrive(0);
    bench.RunFor(3);  // 55 mm at 500 mm/min
    EXPECT_GT(bench.Travel(), 60);
    bench.RunFor(5);
    EXPECT_NEAR(bench.Travel(), 45, 0.011);
}

TEST(SimController, TheControllerStopsAtItsForceLimit) {
    SimulationConfig config = SimConfig(SpecimenPreset::Steel);
    config.NominalForce = 100;
    SimBench bench(config);
    bench.Link().SendTestForceLimits(50);  // 50 kN: below the specimen's 75 kN
    bench.RunTest(5, 60);
    EXPECT_GE(bench.sim->Controller().ForceLimitTrips(), 1);
    EXPECT_NEAR(bench.sim->Frame().LoadCellForce(), 50, 0.2);
    EXPECT_FALSE(bench.sim->Frame().Broken());
    // Unloading is allowed: a ramp downwards moves away from the limit.
    bench.Link().StartTestRamp(RampChannel::Travel, 0, -bench.Link().TravelRate(5));
    bench.RunFor(2);
    EXPECT_LT(bench.Force(), 40);
}

TEST(SimController, HydraulicStopHoldsWhereTheMachineStands) {
    SimulationConfig config = SimConfig(SpecimenPreset::None);
    config.MachineType = kHydraulicBleedOff;
    SimBench bench(config, 50);
    bench.Link().StartTestRamp(RampChannel::Travel, kNominalSetValue, bench.Link().TravelRate(100));
    bench.RunFor(6);
    bench.Link().StopMachine();
    const double stopped = bench.Travel();
    EXPECT_NEAR(stopped - bench.startTravel, 10, 0.2);
    bench.RunFor(5);
    EXPECT_NEAR(bench.Travel(), stopped, 0.011);
    EXPECT_EQ(bench.sim->Controller().Drive(), DriveMode::Hold);
    bench.Link().MachineOff();
    EXPECT_EQ(bench.sim->Controller().Drive(), DriveMode::Off);
}

TEST(SimController, IncrementalTravelCountsFromThePositionPreset) {
    SimulationConfig config = SimConfig(SpecimenPreset::None);
    config.TravelIncrements = 100;
    SimBench bench(config, 50, true);
    ControllerConfig link = bench.Link().Config();
    link.UserPosition = 12.5;
    bench.Link().SetConfig(link);
    bench.Link().AcceptStartPosition();
    bench.Tick();
    EXPECT_NEAR(bench.Daq().RawValues()[kRawTravel], 1250, 2);
    // A ramp in increments: 100 mm/min for 3 s is 5 mm, 500 increments.
    bench.Link().ControlMode(1);
    bench.Link().StartTestRamp(RampChannel::Travel, 3000, bench.Link().TravelRate(100));
    bench.RunFor(3);
    EXPECT_NEAR(bench.Daq().RawValues()[kRawTravel], 1750, 2);
    bench.RunFor(10);
    EXPECT_NEAR(bench.Daq().RawValues()[kRawTravel], 3000, 2);  // at the ramp's target
}

TEST(SimController, KeepsGainsOutputsTdmAndCountersAsSent) {
    SimBench bench(SimConfig(SpecimenPreset::None));
    ControllerLink& link = bench.Link();
    ControllerGains gains;
    gains.ForceGainP = {1, 2, 3, 4};
    gains.TravelGainD = 77;
    link.DownloadGains(gains);
    EXPECT_EQ(bench.sim->Controller().Gains(0), ForceGainFrame(gains));
    EXPECT_EQ(bench.sim->Controller().Gains(1), TravelGainFrame(gains));
    link.AuxiliaryOutputs(112);
    EXPECT_EQ(bench.sim->Controller().AuxiliaryOutputs(), 112);
    link.TdmArms(1, 4);
    link.TdmStart();
    EXPECT_EQ(bench.sim->Controller().TdmArmsOpened(), 1);
    EXPECT_TRUE(bench.sim->Controller().TdmRunning());
    link.TareCounter(1);
    link.TareCounter(3);
    EXPECT_EQ(bench.sim->Controller().CounterTares(), 2);
    EXPECT_EQ(bench.sim->CounterResets(), 4);  // two axes at start-up, two now
    EXPECT_EQ(bench.sim->Decoder().UnknownBytes(), 0);
    EXPECT_EQ(bench.sim->Controller().InvalidCommands(), 0);
}

}  // namespace
}  // namespace quorvex
