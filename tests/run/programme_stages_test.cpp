// The stage decisions of the programme tests without a machine: the hold approach, the change
// points in force, travel and time with their direction, the switch of the control mode.
#include "run/programme_stages.h"

#include <gtest/gtest.h>

#include "evaluation/parameter_set.h"

namespace quorvex {
namespace {

SpeedStage Stage(double from, int fromUnit, double speed, int control) {
    return {1, from, fromUnit, speed, control};
}

TEST(ProgrammeStages, HoldApproachNeedsTheMatchingChangePointOfAHoldingStage) {
    struct Case {
        int control, nextUnit, nextControl;
        bool active, approach;
    };
    const Case cases[] = {
        {kControlTravel, kChangeAtTravel, kControlHold, true, true},
        {kControlForce, kChangeAtForce, kControlHold, true, true},
        {kControlTravel, kChangeAtForce, kControlHold, true, false},
        {kControlForce, kChangeAtTravel, kControlHold, true, false},
        {kControlTravel, kChangeAtTravel, kControlTravel, true, false},
        {kControlTravel, kChangeAtTravel, kControlHold, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.control << " " << c.nextUnit << " " << c.nextControl << " " << c.active);
        ParameterSet p;
        p.Stages[0] = Stage(0, 1, 5, c.control);
        p.Stages[0].StageActive = c.active ? 1 : 0;
        p.Stages[1] = Stage(2, c.nextUnit, 0, c.nextControl);
        EXPECT_EQ(HoldApproach(p, 1), c.approach);
    }
    ParameterSet p;
    p.Stages[29] = Stage(0, 1, 5, kControlTravel);
    EXPECT_FALSE(HoldApproach(p, 30));  // no stage behind the last
}

// A travel stage runs to exactly 2 mm beyond its start, the holding stage begins within the
// control deviation of 1 %, and the time stage of 10 s counts from that moment.
TEST(ProgrammeStages, HoldApproachReachesTheTargetThenTheTimeStageCountsFromTheHold) {
    ParameterSet p;
    p.ControlDeviation = 1;
    p.Stages[0] = Stage(0, kChangeAtTravel, 6, kControlTravel);
    p.Stages[1] = Stage(2, kChangeAtTravel, 0, kControlHold);
    p.Stages[2] = Stage(10, kChangeAtTime, 100, kControlForce);
    ProgrammeStages stages;
    const StageStart first = stages.Begin(p, true, 100, 0, 0);
    EXPECT_TRUE(first.Hold);
    EXPECT_DOUBLE_EQ(first.TargetTravel, 102);
    EXPECT_EQ(first.Control, kControlTravel);
    stages.SetZero(100.5);  // the preload point does not move the held target

    StageStart start;
    EXPECT_FALSE(stages.Check(p, 5, 101.97, 4000, start));  // 0.03 mm off: not yet
    ASSERT_TRUE(stages.Check(p, 5, 101.985, 5000, start));
    EXPECT_EQ(start.Stage, 2);
    EXPECT_TRUE(start.Holding);
    EXPECT_FALSE(start.ControlChanged);
    EXPECT_EQ(stages.RunningStage(), 2);

    EXPECT_FALSE(stages.Check(p, 5, 102, 14999, start));
    EXPECT_EQ(stages.ShownSeconds(), 9);
    ASSERT_TRUE(stages.Check(p, 5, 102, 15000, start));
    EXPECT_EQ(start.Stage, 3);
    EXPECT_EQ(start.Control, kControlForce);
    EXPECT_TRUE(start.ControlChanged);
    EXPECT_EQ(stages.NextStage(), 4);
}

TEST(ProgrammeStages, ChangePointsByForceTravelAndTimeInTheirDirection) {
    struct Case {
        const char* name;
        bool tension;
        SpeedStage running, next;
        double force, travel;  // the sample; the preload was at 10 mm
        std::int64_t nowMs;
        bool reached;
    };
    const Case cases[] = {
        {"force rising", true, Stage(0, 1, 5, 1), Stage(8, kChangeAtForce, 5, 1), 8, 10, 0, true},
        {"force not yet", true, Stage(0, 1, 5, 1), Stage(8, kChangeAtForce, 5, 1), 7.9, 10, 0,
         false},
        {"force falling", true, Stage(0, 1, -5, 1), Stage(2, kChangeAtForce, 5, 1), 2, 10, 0, true},
        {"force falling, above", true, Stage(0, 1, -5, 1), Stage(2, kChangeAtForce, 5, 1), 2.1, 10,
         0, false},
        {"travel in tension", true, Stage(0, 1, 5, 1), Stage(1.5, kChangeAtTravel, 5, 1), 1, 11.5,
         0, true},
        {"travel in tension, short", true, Stage(0, 1, 5, 1), Stage(1.5, kChangeAtTravel, 5, 1), 1,
         11.4, 0, false},
        {"travel in compression", false, Stage(0, 1, 5, 1), Stage(1.5, kChangeAtTravel, 5, 1), 1,
         8.5, 0, true},
        {"compression moving up", false, Stage(0, 1, 5, 1), Stage(1.5, kChangeAtTravel, 5, 1), 1,
         11.5, 0, false},
        {"time without hold", true, Stage(0, 1, 5, 1), Stage(10, kChangeAtTime, 5, 1), 1, 10, 10000,
         true},
        {"time short", true, Stage(0, 1, 5, 1), Stage(10, kChangeAtTime, 5, 1), 1, 10, 9950, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterSet p;
        p.Stages[0] = c.running;
        p.Stages[1] = c.next;
        ProgrammeStages stages;
        stages.Begin(p, c.tension, 10, 0, 0);
        stages.SetZero(10);
        StageStart start;
        EXPECT_EQ(stages.Check(p, c.force, c.travel, c.nowMs, start), c.reached);
    }
}

TEST(ProgrammeStages, AnInactiveStageIsNeverReachedAndTheProgrammeEndsAfterStage30) {
    ParameterSet p;
    for (auto& s : p.Stages) s = Stage(0, kChangeAtForce, 5, kControlTravel);
    p.Stages[1].StageActive = 0;
    ProgrammeStages stages;
    stages.Begin(p, true, 0, 0, 0);
    StageStart start;
    EXPECT_FALSE(stages.Check(p, 50, 0, 0, start));
    EXPECT_EQ(stages.NextStage(), 2);

    p.Stages[1].StageActive = 1;
    for (int stage = 2; stage <= 30; ++stage) {
        ASSERT_TRUE(stages.Check(p, 50, 0, 0, start));
        EXPECT_EQ(start.Stage, stage);
    }
    EXPECT_FALSE(stages.Check(p, 50, 0, 0, start));
    EXPECT_EQ(stages.RunningStage(), 30);
}

}  // namespace
}  // namespace quorvex
