// The live values, the jog, the start position with its supervision, the reference run and
// the automatic sequence, against recording devices: every test states the exact bytes sent
// to the controller and the card actions in their order.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "evaluation/parameter_set.h"
#include "machine/test_doubles.h"
#include "setup/machine_config.h"
#include "run/app_state.h"
#include "shell/auto_sequence.h"
#include "run/jog_control.h"
#include "shell/live_values.h"
#include "shell/motion_services.h"
#include "shell/operator_keys.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::FakeCounterCard;
using testing::FakeDaqCard;
using testing::FakeRelayCard;
using testing::LoggingClock;
using testing::RecordingPort;

constexpr int kForceChannel = 0, kTravelChannel = 2, kStrainChannel = 4;

class MachineRig : public ::testing::Test, public testing::RecordingRig {
  protected:
    void SetUp() override {
        acquisition.SetSampleCounts(1, 1, 1);
        acquisition.InitDaq();
        relays.InitRelayCard();
        ports.OpenPort(1, 9600, 'N', 1, 8);
        ports.SetControllerPort(1);
        config.NominalForce = 100;
        config.NominalTravel = 1000;
        link.SetConfig(config);
        machine.Factors.ForceFactor = 100.0 / 30000;
        machine.Factors.TravelFactor = 0.01;  // 100 counts per mm
        machine.Factors.StrainFactor = 0.0001;
        machine.Factors.ForceLimit = 102;
        machine.Factors.TravelLimit = 285;
        machine.Factors.ForceDecimals = 3;
        machine.Factors.StrainDecimals = 4;
        Sent();
    }
    void Configure(const std::function<void(ControllerConfig&)>& change) {
        change(config);
        link.SetConfig(config);
    }
    // The readings of the next measuring tick (raw counts).
    void Reading(int force, int travel, int strain = 0) {
        daq.samples[kForceChannel] = force;
        daq.samples[kTravelChannel] = travel;
        daq.samples[kStrainChannel] = strain;
        acquisition.ReadAll();
        Sent();
    }
    ControllerConfig config;
    MachineConfig machine;
    ParameterSet parameters;
    AppState app;
    AbsentSequenceIo sequenceIo;
};

// --- live values

TEST(ReadoutText, FixedWidthFollowedByABlank) {
    const struct {
        double value;
        int width, decimals;
        const char* text;
    } cases[] = {
        {12.3456, 7, 3, " 12.346 "},
        {-0.0004, 7, 3, "  0.000 "},  // rounds to zero: no sign
        {-1.25, 7, 1, "   -1.2 "},
        {123456.789, 7, 3, "123456.789 "},  // longer than the width: not cut
        {0.5, 8, 4, "  0.5000 "},
    };
    for (const auto& c : cases) {
        ReadoutText text;
        text.Format(c.value, c.width, c.decimals);
        EXPECT_EQ(text.View(), c.text) << c.value;
    }
}

TEST_F(MachineRig, TickConvertsFormatsAndRaisesSampleReady) {
    LiveValues live(acquisition, machine.Factors);
    daq.samples[kForceChannel] = 3704;  // 12.3466 kN
    daq.samples[kTravelChannel] = 1234;
    daq.samples[kStrainChannel] = 5000;
    live.Tick();
    EXPECT_EQ(Sent(), "ai0x1 ai4x1 ai2x1");
    EXPECT_EQ(live.ForceText().View(), " 12.347 ");
    EXPECT_EQ(live.TravelText().View(), "   12.3 ");
    EXPECT_EQ(live.StrainText().View(), "  0.5000 ");
    EXPECT_EQ(live.FourthText().View(), "  0.0000 ");
    EXPECT_TRUE(live.SampleReady);
    EXPECT_FALSE(live.Overloaded());
}

TEST_F(MachineRig, LastingOverloadPulsesEveryTick) {
    LiveValues live(acquisition, machine.Factors);
    daq.samples[kForceChannel] = 30600;  // exactly 1.02 x nominal: not above
    live.Tick();
    EXPECT_EQ(Sent(), "ai0x1 ai4x1 ai2x1");
    daq.samples[kForceChannel] = 30700;
    live.Tick();
    live.Tick();
    EXPECT_EQ(Sent(), "ai0x1 ai4x1 ai2x1 do00 wait300 do02 ai0x1 ai4x1 ai2x1 do00 wait300 do02");
    EXPECT_EQ(live.OverloadPulses(), 2);
    daq.samples[kForceChannel] = 0;
    daq.samples[kTravelChannel] = 28501;  // beyond the travel limit of 285 mm
    live.Tick();
    EXPECT_EQ(Sent(), "ai0x1 ai4x1 ai2x1 do00 wait300 do02");
}

// --- keys

TEST(KeyTable, ConditionsOfTheKeys) {
    const KeyConditions idle{false, true, false, false};
    const KeyConditions running{true, true, false, false};
    const KeyConditions noCard{false, false, false, false};
    const KeyConditions jogUp{false, true, true, false};
    const struct {
        int key;
        bool ctrl;
        KeyConditions conditions;
        KeyAction action;
    } cases[] = {
        {Qt::Key_PageUp, false, idle, KeyAction::JogUpSlow},
        {Qt::Key_PageUp, false, jogUp, KeyAction::Ignore},
        {Qt::Key_PageUp, false, running, KeyAction::Ignore},
        {Qt::Key_PageDown, false, jogUp, KeyAction::JogDownSlow},
        {Qt::Key_Insert, false, idle, KeyAction::JogUpFast},
        {Qt::Key_Delete, false, idle, KeyAction::JogDownFast},
        {Qt::Key_F2, false, running, KeyAction::StartOrStopTest},
        {Qt::Key_F2, false, noCard, KeyAction::DemoTest},
        {Qt::Key_F3, false, running, KeyAction::Beep},
        {Qt::Key_F5, false, running, KeyAction::Ignore},
        {Qt::Key_F10, false, running, KeyAction::Ignore},
        {Qt::Key_F10, false, idle, KeyAction::ProjectEditor},
        {Qt::Key_F7, false, running, KeyAction::ZeroAnalogOutputs},
        {Qt::Key_F8, false, running, KeyAction::StopPulse},
        {Qt::Key_S, true, idle, KeyAction::StartPosition},
        {Qt::Key_S, true, running, KeyAction::Ignore},
        {Qt::Key_S, false, idle, KeyAction::None},
        {Qt::Key_A, false, idle, KeyAction::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideKeyAction(c.key, c.ctrl, c.conditions), c.action) << c.key;
    }
}

// The one answer behind F2 and the start button's enabled state: the first reason that holds.
TEST(KeyTable, F2StartsATestOnlyWhenNothingRefusesIt) {
    const StartConditions ready{false, false, true, true, true, true};
    auto with = [&ready](bool StartConditions::*field, bool value) {
        StartConditions c = ready;
        c.*field = value;
        return c;
    };
    const struct {
        StartConditions conditions;
        StartRefusal refusal;
    } cases[] = {
        {ready, StartRefusal::None},
        {with(&StartConditions::TestRunning, true), StartRefusal::TestRunning},
        {with(&StartConditions::Starting, true), StartRefusal::Starting},
        {with(&StartConditions::LiveTimerOn, false), StartRefusal::NoLiveValues},
        {with(&StartConditions::TestRunReady, false), StartRefusal::NoTestRun},
        {with(&StartConditions::ReferenceDone, false), StartRefusal::ReferenceMissing},
        {with(&StartConditions::ProjectOpen, false), StartRefusal::NoProject},
        {StartConditions{}, StartRefusal::NoLiveValues},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideStartRefusal(c.conditions), c.refusal) << static_cast<int>(c.refusal);
    }
}

// --- jog

constexpr const char* kSlowJogUp = "5D 01 5D 01 64 0F 3E 58 5A 0D 5A 0D 5A 0D 3C 30 relay00";
constexpr const char* kSpindleStop =
    "5A 00 5A 00 3C 30 41 00 00 00 wait400 3C 90 41 00 00 00 purge-rx";

TEST(KeyTable, TheExtensometerCounterFollowsTheAmplifierAndTheSensorArmType) {
    struct Case {
        int amp, arm, kind;
    } cases[] = {{3, 0, 1}, {3, 5, 1}, {2, 4, 3}, {2, 5, 3}, {2, 6, 3},
                 {2, 3, 0}, {2, 7, 0}, {2, 1, 0}, {1, 5, 0}, {0, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ExtensometerCounterKind(c.amp, c.arm), c.kind) << c.amp << " " << c.arm;
    }
}

TEST_F(MachineRig, SlowJogUpOnceUntilItsStop) {
    JogControl jog(link, relays, acquisition, machine.Factors);
    EXPECT_TRUE(jog.Jog(JogDirection::Up, kJogSlow, false));
    EXPECT_EQ(Sent(), kSlowJogUp);
    EXPECT_FALSE(jog.Jog(JogDirection::Up, kJogSlow, false));  // the key repeats
    EXPECT_EQ(Sent(), "");
    jog.KeyReleased(false);
    EXPECT_EQ(Sent(), kSpindleStop);
    EXPECT_FALSE(jog.AnyActive());
    jog.KeyReleased(false);  // nothing moves: nothing sent
    EXPECT_EQ(Sent(), "");
}

TEST_F(MachineRig, JogRefusedDuringATestAndByTheInterlock) {
    JogControl jog(link, relays, acquisition, machine.Factors);
    EXPECT_FALSE(jog.Jog(JogDirection::Up, kJogSlow, true));
    Reading(6000, 0);
    EXPECT_FALSE(jog.Jog(JogDirection::Up, kJogSlow, false));
    EXPECT_EQ(Sent(), "");
    // The fast jog knows no interlock.
    EXPECT_TRUE(jog.Jog(JogDirection::Up, kJogFast, false));
    EXPECT_FALSE(Sent().empty());
}

TEST_F(MachineRig, InvertedJogKeysMoveTheOtherWay) {
    JogControl jog(link, relays, acquisition, machine.Factors);
    jog.SetInverted(true);
    jog.Jog(JogDirection::Up, kJogSlow, false);
    EXPECT_TRUE(link.MovingDown());
    EXPECT_TRUE(jog.Active(JogDirection::Up));
    EXPECT_EQ(Sent(), "5D 01 5D 01 64 00 00 0A 5A 15 5A 15 5A 15 3C 30 relay00");
}

TEST_F(MachineRig, HydraulicJogDownStoppedByTheMouseKeepsItsOffset) {
    Configure([](ControllerConfig& c) { c.MachineType = kHydraulicInflow; });
    JogControl jog(link, relays, acquisition, machine.Factors);
    ASSERT_TRUE(jog.Jog(JogDirection::Down, kJogSlow, false));
    Reading(0, 4200);  // 42 mm
    jog.StopJog(JogDirection::Down, true);
    // Hold at the present position (4200 counts: 140000 millionths of the nominal travel),
    // relay 8 on for inflow control.
    EXPECT_EQ(Sent(), "5A 05 64 02 22 E0 relay80");
    EXPECT_DOUBLE_EQ(link.JogOffset(), 42.0);
    EXPECT_FALSE(jog.JogDownActive());
}

// --- start position

class MotionTest : public MachineRig {
  protected:
    MotionServices motion{link, acquisition, relays, machine, parameters, app, clock, sequenceIo};
    std::vector<std::string> asked;
    bool answer = true;

    void SetUp() override {
        MachineRig::SetUp();
        parameters.StartPosition = 100;
        motion.ConfirmAcceptance = [this](const char* question) {
            asked.emplace_back(question);
            return answer;
        };
    }
};

TEST_F(MotionTest, SupervisedMoveEndsOnTheSeventhQuietTick) {
    parameters.AutoZeroForce = 1;
    Reading(0, 2000);  // 20 mm: below the start position, so upwards
    motion.Prepare();
    motion.StartPositionCommand();
    // Travel control, 'd' twice with 100 / 1000 x 1000000, hold three times, output, relay 8 off.
    EXPECT_EQ(Sent(), "5D 01 64 01 86 A0 64 01 86 A0 5A 05 5A 05 5A 05 3C 30 relay00");
    EXPECT_TRUE(link.MovingUp());
    EXPECT_TRUE(motion.Supervising());
    EXPECT_DOUBLE_EQ(motion.CurrentTarget(), 100.0);

    // Moving: 20 -> 60 -> 99.9 mm; then within 0.2 mm of the target.
    const int travels[] = {6000, 9990, 9995, 9999, 10000, 10001, 10002, 10003, 10004};
    int tick = 0;
    for (int travel : travels) {
        Reading(0, travel);
        motion.SupervisionTick();
        ++tick;
        if (!motion.Supervising()) break;
        EXPECT_EQ(Sent(), "") << tick;
    }
    EXPECT_FALSE(motion.Supervising());
    EXPECT_EQ(tick, 8);  // the first tick moved; ticks 2..8 were quiet
    EXPECT_EQ(motion.StandstillTicks(), 7);
    EXPECT_EQ(Sent(), std::string(kSpindleStop) + " wait2000 ai0x1 ai4x1 ai2x1");
    EXPECT_NEAR(acquisition.ZeroOffsets()[kRawForce], 0, 1e-9);
}

TEST_F(MotionTest, StandingStillCountsAsQuietToo) {
    Reading(0, 5000);
    motion.StartPositionCommand();
    Sent();
    for (int i = 0; i < 7; ++i) motion.SupervisionTick();  // the crosshead does not move
    EXPECT_FALSE(motion.Supervising());
    EXPECT_EQ(Sent(), std::string(kSpindleStop) + " wait2000");
}

TEST_F(MotionTest, InterlockKeepsTheMachineStill) {
    Reading(6000, 0);
    motion.StartPositionCommand();
    EXPECT_EQ(Sent(), "");
    EXPECT_FALSE(motion.Supervising());
    Configure([](ControllerConfig& c) {
        c.FiveLimitOff = true;
        c.FmaxMonitoring = true;
    });
    motion.StartPositionCommand();
    // With "5 % Limit Off" the limit 's' carries 1000000.
    EXPECT_EQ(Sent(), "5D 01 73 0F 42 40 64 01 86 A0 64 01 86 A0 5A 05 5A 05 5A 05 3C 30 relay00");
}

TEST_F(MotionTest, IncrementalEncoderAcceptsThePositionFirst) {
    Configure([](ControllerConfig& c) {
        c.IncrementalTravel = true;
        c.TravelIncrements = 1000;
        c.UserPosition = 5;
    });
    link.SetLowerTravelTarget(-1000000);
    motion.Prepare();
    EXPECT_FALSE(app.ReferenceDone);
    EXPECT_FALSE(motion.StartEnabled());
    EXPECT_TRUE(motion.ReferenceButtonVisible());

    answer = false;
    motion.StartPositionCommand();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], kAcceptPositionQuestion);
    EXPECT_EQ(Sent(), "");
    EXPECT_FALSE(app.ReferenceDone);

    answer = true;
    motion.StartPositionCommand();
    // "Z" 0, '4' twice with 5 mm x 1000, the stop, 200 ms.
    EXPECT_EQ(Sent(), "5A 00 34 00 13 88 34 00 13 88 " + std::string(kSpindleStop) + " wait200");
    EXPECT_TRUE(app.ReferenceDone);
    EXPECT_TRUE(motion.StartEnabled());
    EXPECT_FALSE(motion.ReferenceButtonVisible());
    EXPECT_EQ(link.LowerTravelTarget(), 0);
    EXPECT_TRUE(link.MovingDown());

    // Now "Startpos." moves: 'd' in encoder increments, control mode 2.
    link.SetMoving(false, false);
    Reading(0, 0);
    motion.StartPositionCommand();
    EXPECT_EQ(Sent(), "5D 02 64 01 86 A0 64 01 86 A0 5A 05 5A 05 5A 05 3C 30 relay00");
}

TEST_F(MotionTest, ReferenceRunEndsWhenTheTravelStandsStill) {
    Configure([](ControllerConfig& c) {
        c.IncrementalTravel = true;
        c.TravelIncrements = 1000;
    });
    motion.Prepare();
    motion.ReferenceRun();
    // 200 mm/min = 200 x 100 x 1000 / 12 = 1666667 increments.
    EXPECT_EQ(Sent(), "5D 02 3C 30 62 0F 42 40 19 6E 6B 19 6E 6B 0F 42 40 5B 00 5A 07 wait200");
    EXPECT_FALSE(motion.ReferenceButtonEnabled());
    EXPECT_FALSE(motion.StartPositionEnabled());
    EXPECT_TRUE(motion.ReferenceTimerOn());
    answer = false;
    const int travels[] = {1000, 2000, 2000, 2001, 2002};
    for (int travel : travels) {
        Reading(0, travel);
        motion.ReferenceTick();
    }
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(motion.ReferenceTimerOn());
    EXPECT_TRUE(motion.StartPositionEnabled());
    EXPECT_TRUE(motion.ReferenceButtonEnabled());  // not accepted: may run again
    EXPECT_FALSE(app.ReferenceDone);
}

TEST_F(MotionTest, HydraulicMoveIsNotSupervised) {
    Configure([](ControllerConfig& c) { c.MachineType = kHydraulicBleedOff; });
    machine.Setup.QuickReleasePoint = 5;
    Reading(0, 2000);  // 20 mm, below the start position
    motion.StartPositionCommand();
    EXPECT_FALSE(motion.Supervising());
    // Above the switching point a downward move is marked as well.
    EXPECT_TRUE(link.MovingUp());
    EXPECT_TRUE(link.MovingDown());
}

// --- automatic sequence

class ScriptedIo : public SequenceIo {
  public:
    bool armsOpen = false, armsAtLe = false;
    bool gripClosed[3] = {false, true, true};
    std::vector<std::string> outputs;
    bool ArmsOpen() override { return armsOpen; }
    bool GripClosed(int grip) override { return gripClosed[grip]; }
    bool ArmsAtGaugeLength() override { return armsAtLe; }
    void ArmsClosingOutput(bool on) override { outputs.push_back(on ? "arms on" : "arms off"); }
    void GripClosingOutput(int grip, bool on) override {
        outputs.push_back("grip" + std::to_string(grip) + (on ? " on" : " off"));
    }
    void ArmDriveOutput(bool on) override { outputs.push_back(on ? "drive on" : "drive off"); }
    void ArmDriveSetValue(double volts) override {
        outputs.push_back("drive " + std::to_string(volts));
    }
};

TEST(AutoSequence, WithoutTheCardItEndsByItsTimeOut) {
    AbsentSequenceIo io;
    AutoSequence sequence(io);
    AutoSequenceOptions options;
    options.OpenGrips = true;
    options.OpenArms = true;
    options.TimeoutSec = 10;
    sequence.Begin(options);
    int ticks = 0;
    while (sequence.Active() && ticks < 100) {
        EXPECT_FALSE(sequence.Tick());
        ++ticks;
    }
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(sequence.SequenceState(), 1);

    options.OpenArms = false;  // state 1 passes; grip 2 never reports open
    sequence.Begin(options);
    ticks = 0;
    while (sequence.Active() && ticks < 100) {
        sequence.Tick();
        ++ticks;
    }
    EXPECT_EQ(sequence.SequenceState(), 2);
    EXPECT_EQ(ticks, 11);  // state 2 began at tick 1
}

TEST(AutoSequence, ConfirmedStepsEndInTheMoveToTheStartPosition) {
    ScriptedIo io;
    AutoSequence sequence(io);
    AutoSequenceOptions options;
    options.OpenGrips = true;
    options.OpenArms = true;
    options.MoveTdmLe = true;
    options.ReturnStart = true;
    options.AnalogueArmDrive = true;
    options.GaugeLengthLe = 50;
    options.LeAt10V = 100;
    sequence.Begin(options);
    EXPECT_FALSE(sequence.Tick());  // the arms are still closed
    io.armsOpen = true;
    EXPECT_FALSE(sequence.Tick());
    EXPECT_EQ(sequence.SequenceState(), 2);
    io.gripClosed[2] = false;
    EXPECT_FALSE(sequence.Tick());
    io.gripClosed[1] = false;
    EXPECT_FALSE(sequence.Tick());
    EXPECT_EQ(sequence.SequenceState(), 4);
    EXPECT_FALSE(sequence.Tick());  // the arms travel to Le
    io.armsAtLe = true;
    EXPECT_TRUE(sequence.Tick());
    EXPECT_EQ(sequence.SequenceState(), 5);
    EXPECT_FALSE(sequence.Active());
    EXPECT_EQ(io.outputs, (std::vector<std::string>{"arms off", "grip2 off", "grip1 off",
                                                    "drive 5.000000", "drive on", "drive off"}));
}

}  // namespace
}  // namespace quorvex
