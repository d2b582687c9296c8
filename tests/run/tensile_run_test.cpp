// The tensile run over recording devices: the exact controller bytes of the start, a stage
// change, the hysteresis loop and the stop; the start checks; the break criterion; the
// extensometer removal; measurement-only mode.
#include "run/tensile_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include "evaluation/test_state.h"
#include "machine/test_doubles.h"
#include "run_fakes.h"
#include "setup/machine_config.h"
#include "run/app_state.h"

namespace quorvex {
namespace {

using testing::FakeDiagram;
using testing::FakeHost;

// A spindle machine of 100 kN, 300 mm travel and a 2 mm extensometer; a specimen of 100 mm²
// (Rmin 80 N/mm²: MinForce 8 kN), Le 50 mm, a break at 40 % of Fmax, preload 0.2 kN, stage 1
// at 10 mm/min and stage 2 at 20 mm/min from 0.5 % strain on the extensometer.
class TensileRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.Calibration.NominalForce = 100;
        machine.Calibration.NominalTravel = 300;
        machine.Calibration.NominalStrain = 2;
        machine.Setup.FmaxMonitoring = 1;
        machine.Factors.TravelFactor = 300.0 / 30000;
        machine.Factors.StrainFactor = 2.0 / 30000;
        rig.ports.OpenPort(2, 9600, 'N', 1, 8);
        rig.ports.SetControllerPort(2);
        rig.acquisition.SetSampleCounts(1, 1, 1);
        rig.acquisition.InitDaq();
        app.ProjectOpen = true;
        ParameterSet& p = test->Parameters;
        p.TestType = 0;
        p.EffectiveSo = 100;
        p.EffectiveLo = 50;
        p.EffectiveLc = 60;
        p.GaugeLengthLe = 50;
        p.RminInTest = 80;
        p.BreakDropPercent = 40;
        p.PreloadUnit = 0;
        p.PreloadValue[0] = 0.2f;
        p.FmaxLimitPercent = 50;
        p.StrainByTdm = 1;
        p.MessageTimeSec = 3;
        p.ExtensometerLimitMm = 1.9f;
        p.Stages = {};
        p.Stages[0] = {1, 0, 1, 10, 1};
        p.Stages[1] = {1, 0.5, 1, 20, 1};
        Configure();
    }
    void Configure() { rig.link.SetConfig(MakeControllerConfig(machine)); }

    bool Start() {
        rig.daq.samples[0] = 0;
        rig.daq.samples[2] = 1000;  // 10 mm
        rig.daq.samples[4] = 0;
        rig.acquisition.ReadAll();
        rig.Sent();
        return run.Start();
    }
    // One measuring tick with force (kN), travel and extension (mm).
    void Feed(double kN, double travelMm, double extensionMm) {
        rig.daq.samples[0] = static_cast<int>(std::lround(kN * 300));
        rig.daq.samples[2] = static_cast<int>(std::lround(travelMm * 100));
        rig.daq.samples[4] = static_cast<int>(std::lround(extensionMm * 15000));
        rig.clock.Advance(50);
        rig.acquisition.ReadAll();
        run.OnSample();
    }
    // Controller bytes, waits and relay actions since the last call (the card's reads left out).
    std::string Sent() {
        std::string out;
        std::string all = rig.Sent();
        std::size_t i = 0;
        while (i < all.size()) {
            std::size_t end = all.find(' ', i);
            if (end == std::string::npos) end = all.size();
            const std::string token = all.substr(i, end - i);
            if (token.rfind("ai", 0) != 0) out += (out.empty() ? "" : " ") + token;
            i = end + 1;
        }
        return out;
    }
    // Started, preloaded at 10 mm travel, nothing logged.
    void StartAndPreload() {
        ASSERT_TRUE(Start());
        Feed(0.3, 10, 0);
        Sent();
        host.Take();
    }

    testing::RecordingRig rig;
    std::unique_ptr<TestState> test = std::make_unique<TestState>();
    MachineConfig machine;
    AppState app;
    FakeDiagram diagram;
    FakeHost host;
    TensileRun run{*test,     machine, app, {&rig.link, &rig.relays, &rig.acquisition},
                   rig.clock, diagram, host};
};

TEST_F(TensileRunTest, StartSendsForceLimitsOutputPositionAndFirstStage) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Sent(),
              "71 07 A1 20 72 07 A1 20 73 07 A1 20 "  // force limits at 50 %
              "3C 30 "                                // output byte: base + 16
              "5D 01 64 00 82 35 "  // travel control, position 10 mm: 33333 millionths of 300
              "62 0F 42 40 04 3D 12 04 3D 12 0F 42 40 5B 07 5A 07");  // 10 mm/min, start
    EXPECT_EQ(host.Take(), "specimen layout running");
    EXPECT_EQ(host.speed, "10.0 ");
    EXPECT_TRUE(app.TestRunning);
    EXPECT_EQ(diagram.prepared, 1);
    EXPECT_DOUBLE_EQ(run.State().MinForce, 8.0);
}

TEST_F(TensileRunTest, StartChecksInTheirOrder) {
    struct Case {
        bool seriesFull, projectOpen, lastTestNew, answerYes, dialogOk;
        bool starts;
        const char* log;
        float breakDrop = 60;
    };
    const Case cases[] = {
        {false, true, false, true, true, true, "specimen layout running"},
        {true, true, false, true, true, true, "message165+166 editor specimen layout running"},
        {false, false, true, true, true, false, "message167"},
        {false, true, true, true, true, true, "question168 store specimen layout running"},
        {false, true, true, false, false, false, "question168 specimen"},
        // A stored break drop that describes no break: "Abfall auf: Gültigkeitsbereich ...".
        {false, true, true, true, true, false, "question168 store range983:181 10.0 ... 90.0 !", 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        auto state = std::make_unique<TestState>();
        state->Parameters = test->Parameters;
        state->Parameters.BreakDropPercent = c.breakDrop;
        for (int slot = 1; slot <= (c.seriesFull ? 10 : 0); ++slot) {
            state->TestSeries.Slots[static_cast<std::size_t>(slot)].Rm = 500;
        }
        AppState a;
        a.ProjectOpen = c.projectOpen;
        a.LastTestNew = c.lastTestNew;
        FakeHost h;
        h.answerYes = c.answerYes;
        h.dialogOk = c.dialogOk;
        FakeDiagram d;
        TensileRun r{*state,    machine, a, {&rig.link, &rig.relays, &rig.acquisition},
                     rig.clock, d,       h};
        Sent();
        EXPECT_EQ(r.Start(), c.starts);
        EXPECT_EQ(h.Take(), c.log);
        EXPECT_EQ(CountOccupiedSlots(state->TestSeries), 0);
        EXPECT_FALSE(c.projectOpen && a.LastTestNew);  // a new last test counts as handled
        if (!c.starts) {
            EXPECT_EQ(Sent(), "");  // no command before the checks pass
        }
    }
}

TEST_F(TensileRunTest, AutomaticNumberingNumbersAfterTheDialogAndRefusesAGarbledCounter) {
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / "quorvex_run_numbering";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    app.WorkingDirectory = dir;
    test->Parameters.AutoSpecimenNo = 1;
    test->Parameters.SpecimenNo = "Charge 7-#";
    auto counterFile = [&] {
        std::ifstream in(dir / "ProbenNr.txt");
        std::string line;
        std::getline(in, line);
        return line;
    };

    std::ofstream(dir / "ProbenNr.txt") << " 12 \r\n";
    ASSERT_TRUE(Start());
    EXPECT_EQ(host.dialogCounter, 12);  // the dialog shows the number the test will receive
    EXPECT_EQ(test->Parameters.SpecimenNo, "Charge 7-#13");
    EXPECT_EQ(counterFile(), "13\r");
    run.Stop(false);

    std::ofstream(dir / "ProbenNr.txt") << "Charge";
    host.Take();
    ASSERT_TRUE(Start());
    EXPECT_EQ(host.Take().rfind("text:", 0), 0u);  // the refusal names the file first
    EXPECT_EQ(test->Parameters.SpecimenNo, "Charge 7-#13");
    EXPECT_EQ(counterFile(), "Charge");
    std::filesystem::remove_all(dir);
}

TEST_F(TensileRunTest, StagesSwitchAtTheirStrainAndAnInactiveStageEndsTheProgramme) {
    test->Parameters.Stages[2] = {0, 1.0, 1, 30, 1};  // inactive
    test->Parameters.Stages[3] = {1, 1.0, 1, 40, 1};  // never reached
    StartAndPreload();
    Feed(5, 10.1, 0.24);  // 0.48 % of Le
    EXPECT_EQ(Sent(), "");
    Feed(6, 10.2, 0.25);  // 0.5 %
    EXPECT_EQ(Sent(), "62 0F 42 40 08 7A 24 08 7A 24 0F 42 40 5B 07");
    EXPECT_EQ(host.speed, "20.0 ");
    Feed(7, 10.3, 0.6);  // 1.2 %: stage 3 is inactive, stage 4 is never examined
    Feed(8, 10.4, 0.7);
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(run.State().StageIndex, 3);
}

TEST_F(TensileRunTest, HysteresisLoopReversesHoldsNoBreakThresholdAndReturns) {
    test->Parameters.HysteresisActive = 1;
    test->Parameters.HysteresisPercent = 0.2;  // 0.1 mm on Le 50
    test->Parameters.Stages[1].StageActive = 0;
    StartAndPreload();
    Feed(10, 10.1, 0.05);
    Feed(20, 10.2, 0.11);  // beyond 0.1 mm: the machine reverses
    EXPECT_EQ(Sent(), "62 00 00 00 84 3D 12 84 3D 12 00 00 00 5B 07");
    EXPECT_EQ(test->Marks.HysteresisStart, 2);
    EXPECT_EQ(run.State().BreakThreshold, 0.0);
    Feed(8, 10.15, 0.08);  // far below 40 % of Fmax: no break while unloading
    EXPECT_EQ(Sent(), "");
    Feed(1.9, 10.1, 0.06);  // below 10 % of the reversal force: forward again, once
    Feed(1.5, 10.1, 0.06);
    EXPECT_EQ(Sent(), "62 0F 42 40 04 3D 12 04 3D 12 0F 42 40 5B 07");
    Feed(15, 10.15, 0.09);
    Feed(20.5, 10.2, 0.12);  // beyond 1.01 x the reversal force: the loop ends
    EXPECT_EQ(test->Marks.HysteresisEnd, 7);
    Feed(25, 10.3, 0.2);
    Feed(30, 10.4, 0.3);  // no second loop
    EXPECT_EQ(Sent(), "");
    EXPECT_TRUE(run.Running());
    EXPECT_NEAR(run.State().BreakThreshold, 30 * 0.4, 1e-9);
}

TEST_F(TensileRunTest, BreakEndsAtTheFirstPointBelowTheDropUnlessFmaxStayedBelowMinForce) {
    struct Case {
        int testType;
        double peak;  // kN; MinForce is 8 kN
        bool ends;
    };
    const Case cases[] = {{0, 10, true}, {0, 6, false}, {9, 6, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.testType << " peak " << c.peak);
        SetUp();
        test->Parameters.TestType = c.testType;
        StartAndPreload();
        for (double f : {0.25 * c.peak, 0.5 * c.peak, c.peak, 0.9 * c.peak, 0.41 * c.peak}) {
            Feed(f, 10.5, 0.1);
        }
        EXPECT_TRUE(run.Running());
        Feed(0.39 * c.peak, 10.6, 0.1);
        EXPECT_EQ(run.Running(), !c.ends);
        EXPECT_EQ(test->Marks.EvaluationDone, c.ends);
        if (c.ends) {
            EXPECT_EQ(test->Marks.SampleCount, 6 - 2);
            EXPECT_EQ(test->Marks.FmaxIndex, 3);
            EXPECT_TRUE(app.LastTestNew);
            EXPECT_EQ(host.Take(), "idle fill final");
        }
        if (run.Running()) run.Stop(true);
        app = AppState{};
        app.ProjectOpen = true;
    }
}

TEST_F(TensileRunTest, OperatorStopBeforeMinForceStopsAndSwitchesOffWithoutEvaluation) {
    StartAndPreload();
    Feed(5, 10.5, 0.1);
    run.Stop(true);
    EXPECT_EQ(Sent(),
              "5A 00 5A 00 3C 30 41 00 00 00 wait400 3C 90 41 00 00 00 purge-rx "  // stop
              "40 wait300 3F");                                                    // machine off
    EXPECT_FALSE(run.Running());
    EXPECT_FALSE(app.TestRunning);
    EXPECT_FALSE(test->Marks.EvaluationDone);
    EXPECT_FALSE(app.LastTestNew);
    EXPECT_EQ(host.Take(), "idle layout redraw");
}

TEST_F(TensileRunTest, HydraulicStopHoldsThePresentPositionThenRequestsTheStop) {
    machine.Setup.MachineType = 1;
    Configure();
    ASSERT_TRUE(Start());
    Feed(0.3, 10, 0);
    for (int i = 1; i <= 12; ++i) Feed(i, 10 + i * 0.1, i * 0.01);
    Sent();
    Feed(4, 12.5, 0.1);  // below 40 % of 12 kN
    // Travel control, the present 12.5 mm of 300 (41667 millionths), hold, the stop request.
    EXPECT_EQ(Sent(), "5D 01 64 00 A2 C3 5A 05 5A 05 5A 05 3C 10 40 purge-rx");
    EXPECT_TRUE(test->Marks.EvaluationDone);
}

TEST_F(TensileRunTest, ExtensometerRemovalPromptsOnceAndRecordsZeroFromThenOn) {
    struct Case {
        int messageTime;
        const char* prompt;
        bool removed;
    };
    const Case cases[] = {{3, "removal3", true}, {20, "removal5", true}, {0, "", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messageTime);
        SetUp();
        test->Parameters.MessageTimeSec = c.messageTime;
        test->Parameters.ExtensometerLimitMm = 0.5f;
        test->Parameters.Stages[1].StageActive = 0;
        StartAndPreload();
        Feed(10, 10.5, 0.4);
        Feed(11, 10.6, 0.51);  // beyond the removal deformation
        EXPECT_EQ(host.Take(), c.prompt);
        EXPECT_EQ(diagram.View(), kViewForceTravel);
        Feed(12, 10.7, 0.6);
        EXPECT_EQ(host.Take(), "");
        EXPECT_EQ(run.State().ExtensometerRemoved, c.removed);
        EXPECT_FLOAT_EQ(test->Buffer.Extension(1), 0.4f);
        EXPECT_FLOAT_EQ(test->Buffer.Extension(3), c.removed ? 0.0f : 0.6f);
        run.Stop(true);
    }
}

TEST_F(TensileRunTest, MeasurementOnlySendsNothingAndShowsTheRateEvery300Ms) {
    machine.Setup.MeasureOnly = 1;
    machine.Setup.AnalogOutActualValues = 0;
    test->Parameters.MachineOffAtEnd = 1;
    Configure();
    ASSERT_TRUE(Start());
    EXPECT_EQ(host.speed, "");
    EXPECT_EQ(host.speedUnit, SpeedUnit::StressRate);
    Feed(0.3, 10, 0);
    const int shown = host.speedShown;
    for (int i = 1; i <= 6; ++i) Feed(0.3 + i * 0.5, 10 + i * 0.01, 0.3 * i);  // stage 2 passed
    EXPECT_EQ(host.speedShown, shown + 1);                                     // once in 300 ms
    // 3 kN more in 300 ms on 100 mm²: 100 N/mm²/s.
    EXPECT_EQ(host.speed, "100 ");
    Feed(20, 11, 1);
    Feed(2, 11.1, 1);  // the break
    run.Stop(true);
    EXPECT_FALSE(run.Running());
    EXPECT_TRUE(test->Marks.EvaluationDone);
    EXPECT_EQ(Sent(), "");
}

// A transverse gauge on input 5 and three probes on inputs 1, 3 and 6: each is recorded from
// its reading at the preload, the width change in the gauge's range, the probes in the
// extensometer's (and as the shortening in a compression test).
TEST_F(TensileRunTest, TheTransverseGaugeAndTheProbesAreRecordedFromThePreload) {
    ExtraInputs wired;
    wired.Transverse = 5;
    wired.Probes = {1, 3, 6};
    rig.acquisition.SetExtraInputs(wired);
    machine.Factors.TransverseFactor = 3.0 / 30000;
    test->Parameters.TestType = 9;
    auto set = [&](int width, int p1, int p2, int p3) {
        rig.daq.samples[5] = width;
        rig.daq.samples[1] = p1;
        rig.daq.samples[3] = p2;
        rig.daq.samples[6] = p3;
    };
    set(1000, 300, 600, 900);  // the zero at the preload
    StartAndPreload();
    set(4000, -1200, -900, -600);  // 0.3 mm wider; the probes 0.1 mm down each
    Feed(1, 10.1, 0.01);
    const int i = test->Marks.StoredSamples;
    ASSERT_GE(i, 1);
    EXPECT_NEAR(test->Buffer.WidthChange(i), 0.3, 1e-5);
    for (Channel probe : {Channel::Probe1, Channel::Probe2, Channel::Probe3}) {
        EXPECT_NEAR(test->Buffer.At(probe, i), 0.1, 1e-5);
    }

    // Without them wired the channels stay 0.
    rig.acquisition.SetExtraInputs({});
    Feed(1.1, 10.2, 0.02);
    EXPECT_EQ(test->Buffer.WidthChange(test->Marks.StoredSamples), 0.0f);
    EXPECT_EQ(test->Buffer.At(Channel::Probe1, test->Marks.StoredSamples), 0.0f);
}

}  // namespace
}  // namespace quorvex
