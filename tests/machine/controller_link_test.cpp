#include "machine/controller_link.h"

#include <gtest/gtest.h>

#include <functional>

#include "test_doubles.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::FakeCounterCard;
using testing::FakeDaqCard;
using testing::FakeRelayCard;
using testing::LoggingClock;
using testing::RecordingPort;

TEST(Value24, SignAndMagnitudeMostSignificantFirst) {
    const struct {
        std::int32_t value;
        std::array<std::uint8_t, 3> bytes;
    } cases[] = {
        {1000000, {0x0F, 0x42, 0x40}},
        {-1000000, {0x8F, 0x42, 0x40}},
        {0, {0x00, 0x00, 0x00}},
        {-1, {0x80, 0x00, 0x01}},
        {8388607, {0x7F, 0xFF, 0xFF}},
        {-8388607, {0xFF, 0xFF, 0xFF}},
        {1030000, {0x0F, 0xB7, 0x70}},
        {999000, {0x0F, 0x3E, 0x58}},
        // Beyond 23 bits the largest magnitude goes out instead of a flipped sign.
        {8388608, {0x7F, 0xFF, 0xFF}},
        {-2147483647 - 1, {0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) EXPECT_EQ(EncodeValue24(c.value), c.bytes) << c.value;
}

TEST(GainFrames, PointsTwiceTravelIGainFourTimesAndTheLimitLast) {
    ControllerGains g;
    g.ForceGainP = {11, 12, 13, 14};
    g.ForcePoint = {0, 100000, 300000, 500000};
    g.ForceGainI = {21, 22, 23, 24};
    g.ForceGainD = 31;
    g.TravelGainP = {41, 42, 43, 44};
    g.TravelPoint = {0, 1, 2, 3};
    g.TravelGainI = 55;
    g.TravelGainD = 66;
    EXPECT_EQ(ForceGainFrame(g), (GainFrame{11, 12, 13, 14, 0, 100000, 300000, 500000, 21, 22, 23,
                                            24, 0, 100000, 300000, 500000, 31, 1030000}));
    EXPECT_EQ(TravelGainFrame(g),
              (GainFrame{41, 42, 43, 44, 0, 1, 2, 3, 55, 55, 55, 55, 0, 1, 2, 3, 66, 1030000}));
}

class LinkTest : public ::testing::Test, public testing::RecordingRig {
protected:
    static constexpr int kCom = 3;

    void SetUp() override {
        acquisition.SetSampleCounts(1, 1, 2);
        acquisition.InitDaq();
        relays.InitRelayCard();
        ports.OpenPort(kCom, 9600, 'N', 1, 8);
        ports.SetControllerPort(kCom);
        config.FmaxMonitoring = true;
        config.NominalForce = 100;
        config.NominalTravel = 1000;
        link.SetConfig(config);
        Sent();
    }

    void Configure(const std::function<void(ControllerConfig&)>& change) {
        change(config);
        link.SetConfig(config);
    }
    // Raw force and travel as the last measuring tick read them.
    void Readings(int force, std::deque<std::uint16_t> travel) {
        daq.samples[0] = force;
        daq.sequences[2] = std::move(travel);
        acquisition.ReadAll();
        Sent();
    }
    ControllerConfig config;
};

TEST_F(LinkTest, EveryCommandItsBytes) {
    std::string emptyStrainFrame = "60";
    for (int i = 0; i < 18 * 3; ++i) emptyStrainFrame += " 00";
    const struct {
        const char* name;
        std::function<void(ControllerLink&)> send;
        std::string bytes;
    } cases[] = {
        {"force ramp", [](auto& l) { l.Ramp(RampChannel::Force, 1000000, 2, -3, 4); },
         "61 0F 42 40 00 00 02 80 00 03 00 00 04"},
        {"travel ramp", [](auto& l) { l.Ramp(RampChannel::Travel, -1, 1, 1, 0); },
         "62 80 00 01 00 00 01 00 00 01 00 00 00"},
        {"third ramp", [](auto& l) { l.Ramp(RampChannel::Third, 0, 0, 0, 0); },
         "63 00 00 00 00 00 00 00 00 00 00 00 00"},
        {"drive state", [](auto& l) { l.DriveState(13); }, "5A 0D"},
        {"ramp start", [](auto& l) { l.RampStart(7); }, "5B 07"},
        {"force control", [](auto& l) { l.ControlMode(0); }, "5D 00"},
        {"travel control", [](auto& l) { l.ControlMode(1); }, "5D 01"},
        {"set value", [](auto& l) { l.SetValue(999000); }, "64 0F 3E 58"},
        {"spindle speed", [](auto& l) { l.SpindleSpeed(0); }, "41 00 00 00"},
        {"auxiliary outputs", [](auto& l) { l.AuxiliaryOutputs(112); }, "3C 70"},
        {"force limit 1", [](auto& l) { l.ForceLimit1(1030000); }, "71 0F B7 70"},
        {"force limit 2", [](auto& l) { l.ForceLimit2(50000); }, "72 00 C3 50"},
        {"force limit 3", [](auto& l) { l.ForceLimit3(1); }, "73 00 00 01"},
        {"position preset", [](auto& l) { l.PositionPreset(-12500); }, "34 80 30 D4"},
        {"stop request", [](auto& l) { l.StopRequest(); }, "40"},
        {"release", [](auto& l) { l.Release(); }, "3F"},
        {"strain gains", [](auto& l) { l.StrainGains(GainFrame{}); }, emptyStrainFrame},
        {"tare counter", [](auto& l) { l.TareCounter(1); }, "85 01 85 02"},
        {"tare counter second kind", [](auto& l) { l.TareCounter(2); }, "32 32"},
        {"tare encoder axes", [](auto& l) { l.TareCounter(3); }, "ik-reset0 ik-reset1"},
        {"TDM first arm", [](auto& l) { l.TdmArms(0, 4); }, "96 01"},
        {"TDM second arm", [](auto& l) { l.TdmArms(4, 1); }, "96 02"},
        {"TDM both arms", [](auto& l) { l.TdmArms(0, 0); }, "96 03"},
        {"TDM no arm", [](auto& l) { l.TdmArms(4, 4); }, ""},
        {"TDM start", [](auto& l) { l.TdmStart(); }, "97"},
        {"TDM stop", [](auto& l) { l.TdmStop(); }, "98"},
    };
    for (const auto& c : cases) {
        c.send(link);
        EXPECT_EQ(Sent(), c.bytes) << c.name;
    }
}

TEST_F(LinkTest, TdmGaugeLengthIsLittleEndianIncrements) {
    Configure([](auto& c) { c.TdmLeAt10V = 50; });
    // 100000 x 25 mm x 100 / 50 = 5000000 = 0x004C4B40
    EXPECT_TRUE(link.TdmGaugeLength(25));
    EXPECT_EQ(Sent(), "99 40 4B 4C 00");
    EXPECT_TRUE(link.TdmGaugeLength(-0.5));  // -100000 = 0xFFFE7960
    EXPECT_EQ(Sent(), "99 60 79 FE FF");
    Configure([](auto& c) { c.TdmLeAt10V = 0; });
    EXPECT_FALSE(link.TdmGaugeLength(25));
    EXPECT_EQ(Sent(), "");
}

TEST_F(LinkTest, TravelControlIsSentAsTwoWithAnIncrementalEncoder) {
    Configure([](auto& c) { c.IncrementalTravel = true; });
    link.ControlMode(1);
    link.ControlMode(0);
    EXPECT_EQ(Sent(), "5D 02 5D 00");
}

TEST_F(LinkTest, SpindleStop) {
    link.SetMoving(true, true);
    link.StopMachine();
    EXPECT_EQ(Sent(), "5A 00 5A 00 3C 30 41 00 00 00 wait400 3C 90 41 00 00 00 purge-rx");
    EXPECT_FALSE(link.MovingUp());
    EXPECT_FALSE(link.MovingDown());
}

TEST_F(LinkTest, HydraulicStopHoldsThePresentTravel) {
    Configure([](auto& c) { c.MachineType = kHydraulicBleedOff; });
    // Travel 1234 counts of 30000 is 41133 millionths of the nominal travel (0x00A0AD), the
    // scale of every set value: the machine holds where it stands.
    Readings(0, {1234, 1234});
    link.SetMoving(false, true);
    link.SetHoldFlag(true);
    link.StopMachine();
    EXPECT_EQ(Sent(), "5D 01 64 00 A0 AD 5A 05 5A 05 5A 05 3C 30 relay00 40 purge-rx relay80");
    EXPECT_FALSE(link.MovingDown());
    EXPECT_FALSE(link.HoldFlag());
    EXPECT_TRUE(relays.RelayState(8));

    // The controller measures before the program's travel zero: 1000 counts zeroed away are
    // added back (1234 counts again).
    Readings(0, {1000, 1000});
    acquisition.ZeroTravel();
    Readings(0, {1234, 1234});
    Sent();
    EXPECT_EQ(link.PresentTravelSetValue(), 41133);

    // Incremental travel: the encoder counts themselves, rounded half to even.
    Configure([](auto& c) {
        c.MachineType = kHydraulicInflow;
        c.IncrementalTravel = true;
    });
    acquisition.ZeroAll();
    Readings(0, {1234, 1235});
    link.StopMachine();
    EXPECT_EQ(Sent(), "5D 02 64 00 04 D2 5A 05 5A 05 5A 05 3C 10 relay00 40 purge-rx relay80");
}

TEST_F(LinkTest, MeasureOnlyStopSendsOnlyStopRequestAndRelease) {
    for (int type : {kSpindleMachine, kHydraulicBleedOff, kHydraulicInflow}) {
        Configure([type](auto& c) {
            c.MachineType = type;
            c.MeasureOnly = true;
        });
        link.StopMachine();
        EXPECT_EQ(Sent(), "40 wait300 3F") << type;
    }
}

TEST_F(LinkTest, HoldAndDriveOffByMachineType) {
    const struct {
        int type;
        bool hold;
        const char* holdBytes;
        const char* driveOffBytes;
    } cases[] = {
        {kSpindleMachine, false, "5A 05 5A 05 5A 05 3C 30", "5A 00 5A 00"},
        {kHydraulicBleedOff, false, "5A 05 5A 05 5A 05 3C 10 relay00", "5A 00 5A 00 relay80"},
        {kHydraulicInflow, true, "5A 05 5A 05 5A 05 3C 30 relay00", "5A 00 5A 00 relay80"},
    };
    for (const auto& c : cases) {
        Configure([&c](auto& cfg) { cfg.MachineType = c.type; });
        link.SetHoldFlag(c.hold);
        link.HoldDrive(0);
        EXPECT_EQ(Sent(), c.holdBytes) << c.type;
        link.DriveOff();
        EXPECT_EQ(Sent(), c.driveOffBytes) << c.type;
    }
}

TEST_F(LinkTest, JogSequences) {
    const struct {
        const char* name;
        bool incremental;
        bool up;
        int kind;
        const char* bytes;
    } cases[] = {
        {"up slow", false, true, 1,
         "5D 01 73 00 C3 50 5D 01 64 0F 3E 58 5A 0D 5A 0D 5A 0D 3C 30 relay00"},
        {"up fast", false, true, 2,
         "62 0F 42 40 0F 42 40 0F 42 40 0F 42 40 3C 30 5D 01 73 0F 42 40 5B 00 5B 07 "
         "5A 0F 5A 0F 5A 0F relay00"},
        {"up fastest", false, true, 3,
         "62 0F 42 40 7A 12 00 7A 12 00 0F 42 40 3C 30 5D 01 73 0F 42 40 5B 00 5B 07 "
         "5A 0F 5A 0F 5A 0F relay00"},
        {"down slow", false, false, 1,
         "5D 01 73 00 C3 50 5D 01 64 00 00 0A 5A 15 5A 15 5A 15 3C 30 relay00"},
        {"down fast", false, false, 2,
         "62 00 00 01 8F 42 40 8F 42 40 00 00 01 3C 30 73 0F 42 40 5B 00 5B 07 "
         "5A 17 5A 17 5A 17 relay00"},
        {"down fastest", false, false, 3,
         "62 00 00 01 8C 35 00 8C 35 00 00 00 01 3C 30 73 00 C3 50 5B 00 5B 07 "
         "5A 17 5A 17 5A 17 relay00"},
        // Incremental travel: down to the lower travel target of -1000000 counts.
        {"incremental down slow", true, false, 1,
         "5D 02 73 00 C3 50 5D 02 64 8F 42 40 5A 15 5A 15 5A 15 3C 30 relay00"},
        {"incremental down fast", true, false, 2,
         "62 8F 42 40 8F 42 40 8F 42 40 8F 42 40 3C 30 73 0F 42 40 5B 00 5B 07 "
         "5A 17 5A 17 5A 17 relay00"},
        {"incremental up fast", true, true, 2,
         "62 0F 42 40 0F 42 40 0F 42 40 0F 42 40 3C 30 5D 02 73 0F 42 40 5B 00 5B 07 "
         "5A 0F 5A 0F 5A 0F relay00"},
    };
    for (const auto& c : cases) {
        Configure([&c](auto& cfg) { cfg.IncrementalTravel = c.incremental; });
        link.SetLowerTravelTarget(c.incremental ? -1000000 : 0);
        link.SetMoving(false, false);
        EXPECT_TRUE(c.up ? link.JogUp(c.kind) : link.JogDown(c.kind)) << c.name;
        EXPECT_EQ(Sent(), c.bytes) << c.name;
        EXPECT_EQ(c.up ? link.MovingUp() : link.MovingDown(), true) << c.name;
    }
}

TEST_F(LinkTest, JogOnAHydraulicMachineHoldsWithTheIdleOutput) {
    Configure([](auto& c) { c.MachineType = kHydraulicBleedOff; });
    link.JogUp(1);
    EXPECT_EQ(Sent(),
              "5D 01 73 00 C3 50 5D 01 64 0F 3E 58 5A 0D 5A 0D 5A 0D 3C 10 relay00 relay00");
}

TEST_F(LinkTest, JogInterlocks) {
    Readings(6000, {0, 0});
    EXPECT_FALSE(link.JogUp(1));  // a slow jog under load beyond 5000 counts
    Readings(-6000, {0, 0});
    EXPECT_FALSE(link.JogDown(1));
    EXPECT_EQ(Sent(), "");
    EXPECT_FALSE(link.MovingUp());

    EXPECT_TRUE(link.JogUp(2));  // the fast jog is not interlocked
    Sent();
    EXPECT_FALSE(link.JogUp(2));  // a second jog in the moving direction is ignored
    EXPECT_FALSE(link.JogUp(0));
    EXPECT_FALSE(link.JogDown(4));
    EXPECT_EQ(Sent(), "");

    Configure([](auto& c) { c.FiveLimitOff = true; });
    EXPECT_TRUE(link.JogDown(1));
    EXPECT_EQ(Sent(), "5D 01 73 0F 42 40 5D 01 64 00 00 0A 5A 15 5A 15 5A 15 3C 30 relay00");

    Configure([](auto& c) { c.MeasureOnly = true; });
    link.SetMoving(false, false);
    EXPECT_FALSE(link.JogUp(2));
    EXPECT_FALSE(link.JogDown(1));
    EXPECT_EQ(Sent(), "");
    EXPECT_FALSE(link.MovingUp());
}

TEST_F(LinkTest, PreloadApproach) {
    // 1 kN of a 100 kN machine, held as 10000 millionths until the ramp runs.
    Readings(300, {0, 0});
    link.ApproachPreload(2.0, 5000);  // 2 kN = 20000 millionths, above the present force
    EXPECT_EQ(Sent(),
              "5A 05 64 00 27 10 5D 00 61 00 4E 20 00 13 88 00 13 88 00 4E 20 5D 00 5B 00 "
              "5A 0F relay00 3C 30");

    // Below the present force the rates run negative; a force zero offset of 150 counts
    // (5000 millionths) is added back: 0.5 kN is 10000 to the target the controller sees.
    daq.samples[0] = 150;
    acquisition.ZeroForce();
    daq.samples[0] = 450;
    acquisition.ReadAll();
    Sent();
    Configure([](auto& c) {
        c.FreeRunInvert = true;
        c.MachineType = kHydraulicInflow;
    });
    link.ApproachPreload(0.5, -5000);
    EXPECT_EQ(Sent(),
              "5A 05 64 00 3A 98 5D 00 61 00 27 10 80 13 88 80 13 88 00 27 10 5D 00 5B 00 "
              "5A 17 relay00");
}

TEST_F(LinkTest, TestRampsAreSingleRate) {
    link.StartTestRamp(RampChannel::Travel, 1000000, 4167);
    EXPECT_EQ(Sent(), "62 0F 42 40 00 10 47 00 10 47 0F 42 40 5B 07 5A 07");
    link.ChangeStageRamp(RampChannel::Force, 0, -2500);
    EXPECT_EQ(Sent(), "61 00 00 00 80 09 C4 80 09 C4 00 00 00 5B 07");
}

TEST_F(LinkTest, RateConversions) {
    EXPECT_EQ(link.TravelRate(5), 41667);  // 5 x 1e8 / 1000 mm / 12
    EXPECT_EQ(link.ForceRate(500), 2500);  // 500 x 1000 / 100 kN / 2
    Configure([](auto& c) {
        c.IncrementalTravel = true;
        c.TravelIncrements = 200;
    });
    EXPECT_EQ(link.TravelRate(5), 8333);  // 5 x 100 x 200 / 12
    Configure([](auto& c) {
        c.IncrementalTravel = false;
        c.NominalTravel = 0;
        c.NominalForce = 0;
    });
    EXPECT_EQ(link.TravelRate(5), 0);  // no nominal range: no speed rather than a division by 0
    EXPECT_EQ(link.ForceRate(500), 0);
}

TEST_F(LinkTest, ForceLimits) {
    link.SendSetupForceLimits();
    EXPECT_EQ(Sent(), "71 0F B7 70 73 0F B7 70 72 0F B7 70");
    link.SendTestForceLimits(80);
    EXPECT_EQ(Sent(), "71 0C 35 00 72 0C 35 00 73 0C 35 00");
    link.SendTestForceLimits(5);  // outside 6..100: 100 %
    EXPECT_EQ(Sent(), "71 0F 42 40 72 0F 42 40 73 0F 42 40");
}

TEST_F(LinkTest, WithoutFmaxMonitoringNoForceLimitIsEverSent) {
    Configure([](auto& c) { c.FmaxMonitoring = false; });
    link.SendSetupForceLimits();
    link.SendTestForceLimits(80);
    link.ForceLimit3(5);
    EXPECT_EQ(Sent(), "");
    link.JogUp(1);
    EXPECT_EQ(Sent(), "5D 01 5D 01 64 0F 3E 58 5A 0D 5A 0D 5A 0D 3C 30 relay00");
    link.JogDown(3);
    EXPECT_EQ(Sent(),
              "62 00 00 01 8C 35 00 8C 35 00 00 00 01 3C 30 5B 00 5B 07 5A 17 5A 17 5A 17 relay00");
}

TEST_F(LinkTest, StartPositionAcceptance) {
    Configure([](auto& c) {
        c.TravelIncrements = 1000;
        c.UserPosition = 12.5;
    });
    link.SetLowerTravelTarget(-1000000);
    link.AcceptStartPosition();
    EXPECT_EQ(Sent(),
              "5A 00 34 00 30 D4 34 00 30 D4 "
              "5A 00 5A 00 3C 30 41 00 00 00 wait400 3C 90 41 00 00 00 purge-rx wait200");
    EXPECT_EQ(link.LowerTravelTarget(), 0);
    EXPECT_TRUE(link.MovingDown());
    EXPECT_FALSE(link.MovingUp());
}

TEST_F(LinkTest, GainsDownloadForceThenTravel) {
    ControllerGains gains;
    gains.ForceGainP = {1000000, 1, 1, 1};
    gains.ForcePoint = {0, 100000, 300000, 500000};
    gains.TravelGainI = 7;
    link.DownloadGains(gains);
    const std::string points = "00 00 00 01 86 A0 04 93 E0 07 A1 20 ";
    EXPECT_EQ(Sent(), "5E 0F 42 40 00 00 01 00 00 01 00 00 01 " + points +
                          "00 00 00 00 00 00 00 00 00 00 00 00 " + points +
                          "00 00 00 0F B7 70 wait200 "
                          "5F 00 00 00 00 00 00 00 00 00 00 00 00 "
                          "00 00 00 00 00 00 00 00 00 00 00 00 "
                          "00 00 07 00 00 07 00 00 07 00 00 07 "
                          "00 00 00 00 00 00 00 00 00 00 00 00 "
                          "00 00 00 0F B7 70");
}

TEST_F(LinkTest, MachineOffAndMotionOutput) {
    link.MachineOff();
    EXPECT_EQ(Sent(), "40 wait300 3F");
    Configure([](auto& c) { c.MachineType = kHydraulicInflow; });
    link.MachineOff();
    EXPECT_EQ(Sent(), "40 wait300 3F relay80");
    link.SendMotionOutput();
    link.SetHoldFlag(true);
    link.SendMotionOutput();
    EXPECT_EQ(Sent(), "3C 10 3C 30");
}

TEST_F(LinkTest, MeasureOnlySendsNoControlCommand) {
    Configure([](auto& c) {
        c.MeasureOnly = true;
        c.TdmLeAt10V = 50;
        c.TravelIncrements = 1000;
        c.UserPosition = 1;
    });
    const std::function<void(ControllerLink&)> silent[] = {
        [](auto& l) { l.Ramp(RampChannel::Travel, 1, 1, 1, 1); },
        [](auto& l) { l.ForceGains(GainFrame{}); },
        [](auto& l) { l.TravelGains(GainFrame{}); },
        [](auto& l) { l.DriveState(0); },
        [](auto& l) { l.RampStart(7); },
        [](auto& l) { l.ControlMode(1); },
        [](auto& l) { l.SetValue(1); },
        [](auto& l) { l.SpindleSpeed(0); },
        [](auto& l) { l.ForceLimit1(1); },
        [](auto& l) { l.PositionPreset(1); },
        [](auto& l) { l.HoldDrive(0); },
        [](auto& l) { l.DriveOff(); },
        [](auto& l) { l.ApproachPreload(1, 1); },
        [](auto& l) { l.StartTestRamp(RampChannel::Force, 1, 1); },
        [](auto& l) { l.ChangeStageRamp(RampChannel::Force, 1, 1); },
        [](auto& l) { l.SendSetupForceLimits(); },
        [](auto& l) { l.SendTestForceLimits(50); },
        [](auto& l) { l.DownloadGains(ControllerGains{}); },
    };
    for (std::size_t i = 0; i < std::size(silent); ++i) {
        silent[i](link);
        EXPECT_EQ(Sent(), "") << "case " << i;
    }
    // The commands that are always sent, and the measure-only stop inside the acceptance.
    link.AuxiliaryOutputs(48);
    link.TareCounter(1);
    link.TareCounter(2);
    link.TdmArms(0, 4);
    link.TdmStart();
    link.TdmStop();
    link.TdmGaugeLength(25);
    EXPECT_EQ(Sent(), "3C 30 85 01 85 02 32 32 96 01 97 98 99 40 4B 4C 00");
    link.AcceptStartPosition();
    EXPECT_EQ(Sent(), "40 wait300 3F wait200");
}

TEST_F(LinkTest, CommandsToAControllerPortThatIsNotOpenAreLost) {
    ports.SetControllerPort(5);
    link.StopMachine();
    EXPECT_EQ(Sent(), "wait400");
}

TEST_F(LinkTest, AHydraulicStopWithoutTheRelayCardStillSendsItsCommands) {
    RelayBank noCard(nullptr);
    noCard.InitRelayCard();
    ControllerLink bare(ports, noCard, encoder, acquisition, clock);
    ControllerConfig hydraulic = config;
    hydraulic.MachineType = kHydraulicBleedOff;
    bare.SetConfig(hydraulic);
    bare.StopMachine();
    EXPECT_EQ(Sent(), "5D 01 64 00 00 00 5A 05 5A 05 5A 05 3C 10 40 purge-rx");
}

}  // namespace
}  // namespace quorvex
