// The programme routines over recording devices: the exact controller bytes at the start and
// at stage changes between travel control, holding and force control; the break criterion
// from its stage on; the stop by the operator; the sampling rate; the J-integral's unloading
// cycles. And the shear/chain routine, which ends by its minimum force.
#include "run/programme_run.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "run/tensile_run.h"
#include "run_rig.h"

namespace quorvex {
namespace {

constexpr const char* kStartCommands =
    "71 07 A1 20 72 07 A1 20 73 07 A1 20 "  // force limits at 50 %
    "3C 30 "                                // output byte
    "5D 01 64 00 82 35 ";                   // travel control at the present 10 mm of 300

class ProgrammeRunTest : public testing::RunRig {
  protected:
    ProgrammeRunTest() {
        ParameterSet& p = test->Parameters;
        p.TestType = 5;
        p.TensionDirection = 1;
        p.ControlDeviation = 1;
        p.EndStage = 1;
    }
    const ProgrammeRunState& State() const {
        return static_cast<const ProgrammeRunState&>(run->State());
    }
};

TEST_F(ProgrammeRunTest, TheFirstStageRampsByItsControlModeAndDirection) {
    struct Case {
        const char* name;
        int type, tensionDirection, testSpace;
        SpeedStage first, second;
        const char* ramp;
    };
    const Case cases[] = {
        // 6 mm/min to exactly 2 mm beyond 10 mm, where stage 2 holds: 12 mm is 40000.
        {"travel to a held target",
         5,
         1,
         1,
         {1, 0, 2, 6, 1},
         {1, 2, 2, 0, 3},
         "62 00 9C 40 02 8B 0B 02 8B 0B 00 9C 40 5B 07 5A 07"},
        // Compression: the speed negated, towards the lower end of the range.
        {"travel in compression",
         7,
         0,
         1,
         {1, 0, 2, 6, 1},
         {1, 5, 1, 6, 1},
         "62 00 00 01 82 8B 0B 82 8B 0B 00 00 01 5B 07 5A 07"},
        // The upper test space of the flexural-strength test pulls.
        {"upper test space",
         8,
         0,
         2,
         {1, 0, 2, 6, 1},
         {1, 5, 1, 6, 1},
         "62 0F 42 40 02 8B 0B 02 8B 0B 0F 42 40 5B 07 5A 07"},
        // Force control from the present force, 100 N/s towards the nominal force, pushing.
        {"force control",
         5,
         0,
         1,
         {1, 0, 1, 100, 2},
         {1, 5, 1, 6, 1},
         "5D 00 64 00 00 00 61 8F 42 40 80 01 F4 80 01 F4 8F 42 40 5B 07 5A 07"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterSet& p = test->Parameters;
        p.TestType = c.type;
        p.TensionDirection = static_cast<std::uint8_t>(c.tensionDirection);
        p.TestSpace = c.testSpace;
        p.Stages[0] = c.first;
        p.Stages[1] = c.second;
        ASSERT_TRUE(Start());
        EXPECT_EQ(Sent(), std::string(kStartCommands) + c.ramp);
        EXPECT_EQ(host.Take(), "specimen layout running");
        run->Stop(false);
        host.Take();
    }
}

// Travel control to a held travel, 10 s holding, force control, back to travel control.
TEST_F(ProgrammeRunTest, StageChangesHoldSwitchOffTheDriveAndChangeTheControl) {
    ParameterSet& p = test->Parameters;
    p.Stages[0] = {1, 0, 2, 6, 1};
    p.Stages[1] = {1, 2, 2, 0, 3};     // hold at 2 mm
    p.Stages[2] = {1, 10, 3, 100, 2};  // after 10 s: 100 N/s
    p.Stages[3] = {1, 8, 1, -3, 1};    // from 8 kN: back at 3 mm/min
    StartAndPreload();
    Feed(3, 11.5);
    Feed(3, 11.99);  // within 1 % of the 2 mm: the hold begins, nothing is sent
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(host.speed, "0.0 ");
    EXPECT_EQ(host.speedUnit, SpeedUnit::Seconds);
    for (int tick = 1; tick < 200; ++tick) Feed(3, 12);
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(host.speed, "9 ");  // the whole seconds of the hold
    Feed(3, 12);                  // 10 s after the hold began
    EXPECT_EQ(Sent(),
              "5A 00 5A 00 "                                          // drive off
              "5D 00 64 00 75 30 "                                    // force control at 3 kN
              "61 0F 42 40 00 01 F4 00 01 F4 0F 42 40 5B 07 5A 07");  // 100 N/s
    EXPECT_EQ(host.speed, "100 ");
    EXPECT_EQ(host.speedUnit, SpeedUnit::NewtonPerSecond);
    Feed(8, 12.3);
    EXPECT_EQ(Sent(),
              "5A 00 5A 00 5D 01 "                                    // travel control
              "62 00 00 01 81 45 85 81 45 85 00 00 01 5B 07 5A 07");  // down at 3 mm/min
    EXPECT_EQ(host.speed, "-3.0 ");
    EXPECT_EQ(State().StageIndex, 5);
    EXPECT_FLOAT_EQ(test->Buffer.Extension(1), 1.0f);  // recorded while stage 1 ran
    EXPECT_FLOAT_EQ(test->Buffer.Extension(2), 2.0f);
    EXPECT_FLOAT_EQ(test->Buffer.Extension(test->Marks.StoredSamples), 4.0f);
}

TEST_F(ProgrammeRunTest, TheBreakCriterionCountsOnlyFromItsStageOn) {
    ParameterSet& p = test->Parameters;
    p.EndStage = 2;
    p.Stages[0] = {1, 0, 2, 6, 1};
    p.Stages[1] = {1, 5, 1, 6, 1};  // from 5 kN on
    StartAndPreload();
    for (double f : {2.0, 4.0, 1.0, 0.5}) Feed(f, 10.5);  // far below 40 % of 4 kN
    EXPECT_TRUE(run->Running());
    Feed(5, 10.6);  // stage 2
    Feed(2.1, 10.7);
    EXPECT_TRUE(run->Running());
    Feed(2.0, 10.8);  // 40 % of 5 kN
    EXPECT_FALSE(run->Running());
    EXPECT_TRUE(test->Marks.EvaluationDone);
    EXPECT_EQ(test->Marks.SampleCount, 7 - 2);
    EXPECT_EQ(host.Take(), "idle fill final");
}

TEST_F(ProgrammeRunTest, BreakByASuddenForceDropOrATravelChangeSincePreload) {
    struct Case {
        int channel;
        float value;
        // Force and travel of the samples after the preload (0.3 kN, 10 mm); the last one
        // ends the test.
        std::vector<std::pair<double, double>> samples;
    };
    const Case cases[] = {
        // Delta-F in N: a fall of 2000 N from one tick to the next, however high the force
        // has risen since the preload (2100 N); a fall of 1900 N goes on.
        {1, 2000.0f, {{4.0, 10.1}, {5.0, 10.2}, {3.1, 10.2}, {5.2, 10.3}, {3.1, 10.3}}},
        // Delta-S in mm since the preload.
        {2, 1.5f, {{1.0, 10.05}, {1.0, 11.4}, {1.0, 11.6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channel);
        ParameterSet& p = test->Parameters;
        p.BreakChannel = c.channel;
        p.BreakDropPercent = c.value;
        p.Stages[0] = {1, 0, 2, 6, 1};
        StartAndPreload();
        for (std::size_t i = 0; i < c.samples.size(); ++i) {
            EXPECT_TRUE(run->Running()) << i;
            Feed(c.samples[i].first, c.samples[i].second);
        }
        EXPECT_FALSE(run->Running());
        EXPECT_TRUE(test->Marks.EvaluationDone);
    }
}

TEST_F(ProgrammeRunTest, AStopByTheOperatorIsEvaluatedOnceThePreloadWasReached) {
    test->Parameters.Stages[0] = {1, 0, 2, 6, 1};
    ASSERT_TRUE(Start());
    Feed(0.1, 10);
    run->Stop(true);  // before the preload: nothing to evaluate
    EXPECT_FALSE(test->Marks.EvaluationDone);
    EXPECT_EQ(host.Take(), "specimen layout running idle layout redraw");

    StartAndPreload();
    for (double f : {1.0, 2.0, 3.0, 4.0}) Feed(f, 10.5);
    run->Stop(true);
    EXPECT_TRUE(test->Marks.EvaluationDone);
    EXPECT_EQ(test->Marks.SampleCount, 2);
    EXPECT_EQ(Sent(),
              "5A 00 5A 00 3C 30 41 00 00 00 wait400 3C 90 41 00 00 00 purge-rx "  // stop
              "40 wait300 3F");                                                    // machine off
    EXPECT_EQ(host.Take(), "idle fill final");
}

TEST_F(ProgrammeRunTest, TheSamplingRateRecordsEveryNthTickAndFollowsFmaxOnEveryTick) {
    test->Parameters.SamplingIndex = 2;  // 200 ms: every fifth tick
    test->Parameters.BreakDropPercent = 5;
    test->Parameters.Stages[0] = {1, 0, 2, 6, 1};
    StartAndPreload();
    for (int tick = 1; tick <= 11; ++tick)
        Feed(tick == 4 ? 9.0 : 1.0 + 0.1 * tick, 10 + tick * 0.01);
    EXPECT_EQ(test->Marks.StoredSamples, 3);  // ticks 1, 6 and 11
    EXPECT_FLOAT_EQ(test->Buffer.Travel(2), 0.06f);
    EXPECT_DOUBLE_EQ(State().Fmax, 9.0);  // though tick 4 was not recorded
    EXPECT_EQ(diagram.points, 3);
}

TEST_F(ProgrammeRunTest, JIntegralUnloadsAtItsPointsAndReloadsBelowTheLevel) {
    ParameterSet& p = test->Parameters;
    p.JIntegralActive = 1;
    p.JUnloadData = {0.5, 0.2, 30};
    p.JUnloadCycles = 2;
    p.Stages[0] = {1, 0, 2, 6, 1};
    StartAndPreload();
    Feed(2, 10.4);
    Feed(5, 10.6);  // beyond 0.5 mm: back at 6 mm/min
    EXPECT_EQ(Sent(), "62 00 00 00 82 8B 0B 82 8B 0B 00 00 00 5B 07");
    Feed(4, 10.55);
    Feed(3.4, 10.5);  // below 70 % of 5 kN: forward again
    EXPECT_EQ(Sent(), "62 0F 42 40 02 8B 0B 02 8B 0B 0F 42 40 5B 07");
    Feed(6, 10.71);  // beyond 0.7 mm: the second cycle
    Feed(4.1, 10.69);
    Feed(7, 10.95);  // no third cycle
    EXPECT_EQ(Sent(),
              "62 00 00 00 82 8B 0B 82 8B 0B 00 00 00 5B 07 "
              "62 0F 42 40 02 8B 0B 02 8B 0B 0F 42 40 5B 07");
    const float phases[] = {1, 0, 0, 1, 0, 1, 1};
    for (int i = 1; i <= 7; ++i) EXPECT_FLOAT_EQ(test->Buffer.Extension(i), phases[i - 1]) << i;
    EXPECT_TRUE(run->Running());
}

// --- the shear/chain routine

class ShearChainRunTest : public testing::RunRig {};

TEST_F(ShearChainRunTest, AChainWithMinForce500NEndsOnlyOnceFmaxReachedIt) {
    ParameterSet& p = test->Parameters;
    p.TestType = 4;
    p.RminInTest = 500;  // N
    p.Stages[0] = {1, 0, 1, 50, 1};
    StartAndPreload();
    EXPECT_DOUBLE_EQ(run->State().MinForce, 0.5);
    Feed(0.45, 10.5, 0.3);
    Feed(0.1, 10.6, 0.3);  // below 40 % of Fmax, but Fmax stayed below 0.5 kN
    EXPECT_TRUE(run->Running());
    Feed(0.6, 10.7, 0.3);
    Feed(0.23, 10.8, 0.3);
    EXPECT_FALSE(run->Running());
    EXPECT_TRUE(test->Marks.EvaluationDone);
    EXPECT_EQ(host.Take(), "idle fill final");         // no automatic sequence
    EXPECT_FLOAT_EQ(test->Buffer.Extension(1), 0.0f);  // force and travel only
    EXPECT_FLOAT_EQ(test->Buffer.Travel(3), 0.7f);
}

TEST_F(ShearChainRunTest, AStopBeforeMinForceEndsWithoutEvaluation) {
    ParameterSet& p = test->Parameters;
    p.TestType = 3;
    p.RminInTest = 500;
    p.AutoSequence = 1;
    p.Stages[0] = {1, 0, 1, 1, 1};
    StartAndPreload();
    Feed(0.4, 10.1);
    run->Stop(true);
    EXPECT_FALSE(test->Marks.EvaluationDone);
    EXPECT_EQ(host.Take(), "idle layout redraw");

    StartAndPreload();
    for (double f : {0.8, 1.5, 1.6, 1.2}) Feed(f, 10.1);
    run->Stop(true);
    EXPECT_TRUE(test->Marks.EvaluationDone);
    EXPECT_EQ(host.Take(), "idle fill final");
}

}  // namespace
}  // namespace quorvex
