// Choosing and describing the simulated machine in the platform configuration, its faults,
// its measuring instruments, and how the machine interface shows that it is simulated.
#include <gtest/gtest.h>

#include "sim_bench.h"

namespace quorvex {
namespace {

using testing::SimBench;
using testing::SimConfig;

TEST(SimConfig, KeysOfThePlatformConfiguration) {
    const PlatformConfigResult result = ParsePlatformConfig(
        "daq = simulated\n"
        "sim.machine = hydraulic-inflow\n"
        "sim.nominal.force = 100\n"
        "sim.travel.increments = 1000\n"
        "sim.specimen = plastic\n"
        "sim.specimen.Rm = 40\n"
        "sim.inverted = 0, 2\n"
        "sim.faults = noisy-force, lost-link\n"
        "sim.loading = down\n"
        "sim.nominal.force = -3\n"
        "sim.specimen = rubber\n"
        "sim.specimen.colour = 3\n"
        "sim.faults = gremlins\n"
        "sim.resolution = 2.5\n"
        "sim.warp = 9\n");
    const SimulationConfig& c = result.config.Simulation;
    EXPECT_EQ(c.MachineType, 2);
    EXPECT_EQ(c.NominalForce, 100);
    EXPECT_EQ(c.TravelIncrements, 1000);
    EXPECT_EQ(c.Preset, SpecimenPreset::Plastic);
    EXPECT_EQ(c.Specimen().Rm, 40);
    EXPECT_TRUE(c.InvertedInput[0] && c.InvertedInput[2] && !c.InvertedInput[1]);
    EXPECT_TRUE(c.Faults.NoisyForce && c.Faults.LostLink && !c.Faults.StuckCrosshead);
    EXPECT_EQ(c.LoadingSign, -1);
    EXPECT_EQ(c.Resolution, 1);
    ASSERT_EQ(result.warnings.size(), 6u);
    EXPECT_EQ(
        result.warnings[0],
        "Quorvex.platform, line 10: \"-3\" is not valid for sim.nominal.force (0.001 ... 100000)");
    EXPECT_NE(result.warnings[5].find("unknown key \"sim.warp\""), std::string::npos);
}

TEST(SimConfig, BuiltOnlyWhenSomethingIsSimulatedAndThenShownAsSuch) {
    ManualClock clock;
    PlatformConfig platform;
    EXPECT_EQ(BuildSimulatedMachine(platform, clock), nullptr);
    ChooseSimulatedMachine(platform);  // quorvex --simulate
    EXPECT_EQ(platform.Controller, Driver::Simulated);
    EXPECT_EQ(platform.Encoder, Driver::Absent);  // no encoder card fitted: none simulated
    auto sim = BuildSimulatedMachine(platform, clock);
    ASSERT_NE(sim, nullptr);
    MachineStartup startup;
    startup.Platform = platform;
    startup.Platform.DaskLibrary = "/nonexistent/libpci_dask.so";
    startup.ControllerPort = 1;
    MachineOpening opening = OpenMachine(startup, clock, sim.get());
    EXPECT_TRUE(opening.messages.empty());
    EXPECT_TRUE(opening.machine->Simulated());
    EXPECT_EQ(opening.machine->DriverSummary("SIMULIERTE MASCHINE").front(), "SIMULIERTE MASCHINE");

    MachineStartup real;
    real.Platform.DaskLibrary = "/nonexistent/libpci_dask.so";
    EXPECT_FALSE(OpenMachine(real, clock).machine->Simulated());
}

TEST(SimConfig, CaliperAndMicrometerDeliverReadingsOnDemand) {
    ManualClock clock;
    SimulationConfig config = SimConfig(SpecimenPreset::Aluminium);
    VirtualMachine sim(config, clock);
    MachineStartup startup;
    startup.Platform.DaskLibrary = "/nonexistent/libpci_dask.so";
    startup.Platform.ComDevice[3] = "simulated-caliper";
    startup.Platform.ComDevice[4] = "simulated-micrometer";
    startup.CaliperPort = 3;
    startup.MicrometerPort = 4;
    MachineOpening opening = OpenMachine(startup, clock, &sim);
    Machine& machine = *opening.machine;
    ASSERT_TRUE(machine.CaliperPortOpen() && machine.MicrometerPortOpen());
    EXPECT_TRUE(machine.Simulated());
    auto read = [&](int com) {
        std::string text;
        std::uint8_t buffer[32];
        const int n = machine.Ports().ReadBytes(com, buffer, sizeof buffer);
        text.assign(buffer, buffer + n);
        return text;
    };
    EXPECT_EQ(read(3), "");
    sim.PressCaliperButton();
    sim.PressMicrometerButton();
    const std::string width = read(3), thickness = read(4);
    ASSERT_EQ(width.size(), 8u) << width;  // "A 20,01\r"
    EXPECT_EQ(width.substr(0, 2), "A ");
    EXPECT_EQ(width.back(), '\r');
    EXPECT_NEAR(std::stod(width.substr(2, 2)) + std::stod(width.substr(5, 2)) / 100, 20, 0.1);
    EXPECT_EQ(thickness.substr(0, 4), "A 3,");
    EXPECT_EQ(thickness.size(), 8u);
}

TEST(SimFaults, EachFaultShowsAsItWouldOnTheMachine) {
    auto steel = [] {
        SimulationConfig config = SimConfig(SpecimenPreset::YieldPointSteel);
        config.NominalForce = 100;
        return config;
    };
    {  // a noisy force: the reading scatters where it was steady
        SimulationConfig config = steel();
        config.Faults.NoisyForce = true;
        SimBench bench(config);
        double low = 1e9, high = -1e9;
        for (int i = 0; i < 100; ++i) {
            bench.Tick();
            low = std::min(low, bench.Daq().RawValues()[kRawForce]);
            high = std::max(high, bench.Daq().RawValues()[kRawForce]);
        }
        EXPECT_GT(high - low, 200);
    }
    {  // a dead extensometer reads nothing while the specimen stretches
        SimulationConfig config = steel();
        config.Faults.DeadExtensometer = true;
        SimBench bench(config);
        bench.RunTest(10, 5);
        EXPECT_GT(bench.sim->Frame().GaugeElongation(), 0.1);
        EXPECT_EQ(bench.Extension(), 0);
    }
    {  // a slipping extensometer loses part of the elongation in steps
        SimulationConfig config = steel();
        config.Faults.SlippingExtensometer = true;
        SimBench bench(config);
        bench.RunTest(10, 5);
        EXPECT_LT(bench.Extension(), 0.7 * bench.sim->Frame().GaugeElongation());
    }
    {  // a stuck crosshead: the drive is commanded, nothing moves, nothing loads
        SimulationConfig config = steel();
        config.Faults.StuckCrosshead = true;
        SimBench bench(config);
        bench.Link().StartTestRamp(RampChannel::Travel, kNominalSetValue,
                                   bench.Link().TravelRate(10));
        bench.RunFor(5);
        EXPECT_NEAR(bench.Travel(), bench.startTravel, 0.05);  // noise of single conversions
        EXPECT_NEAR(bench.Force(), 0, 0.01);
        EXPECT_EQ(bench.sim->Controller().Drive(), DriveMode::Run);
    }
    {  // a lost link: the commands never arrive; switched on while the machine runs
        SimBench bench(steel());
        bench.Link().StartTestRamp(RampChannel::Travel, kNominalSetValue,
                                   bench.Link().TravelRate(10));
        bench.sim->Faults().LostLink = true;
        bench.Link().StopMachine();
        bench.RunFor(3);
        EXPECT_GT(bench.sim->LostBytes(), 0);
        EXPECT_EQ(bench.sim->Controller().Drive(), DriveMode::Run);  // it never heard the stop
        EXPECT_GT(bench.Travel() - bench.startTravel, 0.4);
    }
    {  // a missing card: the program reads its substitute and cannot release the drive
        SimulationConfig config = steel();
        config.Faults.MissingCard = true;
        SimBench bench(config);
        EXPECT_FALSE(bench.Daq().DaqPresent());
        EXPECT_EQ(bench.Daq().RawValues()[kRawForce], 3000);
        EXPECT_TRUE(bench.sim->Controller().DriveInhibited());
    }
}

TEST(SimMeasurement, ForceRangeAndPolarityAsTheCardSeesThem) {
    SimulationConfig config = SimConfig(SpecimenPreset::Steel);
    config.InvertedInput[0] = true;  // the load cell wired the other way round
    config.ForceNoise = 0;
    SimBench bench(config);
    bench.Link().ApproachPreload(3.0, bench.Link().ForceRate(2000));
    bench.RunFor(5);
    // The controller has its own force signal; the card, without the polarity table, reads
    // the load negative.
    EXPECT_NEAR(bench.sim->Frame().LoadCellForce(), 3.0, 0.05);
    EXPECT_NEAR(bench.Force(), -3.0, 0.05);
    const auto full = static_cast<std::int16_t>(bench.sim->ReadInput(0));  // range 1
    bench.Daq().SetForceRange(10);
    EXPECT_NEAR(static_cast<std::int16_t>(bench.sim->ReadInput(0)), 10 * full, 20);
    bench.Tick();
    EXPECT_NEAR(bench.Force(), -3.0, 0.05);  // the program divides by the range
}

}  // namespace
}  // namespace quorvex
