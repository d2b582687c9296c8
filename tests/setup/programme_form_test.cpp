// The test-programme form without widgets: what it shows of the parameter set and what a
// confirmed form stores back.
#include "setup/programme_form.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(ProgrammeForm, ShowsAllThirtyStagesAndStoresThemWithTheOtherChoices) {
    ParameterSet p;
    p.NominalForceKn = 100;
    p.NominalTravelMm = 300;
    p.Stages[0] = {1, 0.0, 1, 10.0, 1};
    p.Stages[27] = {1, 4.5, 2, -20000.0, 3};
    p.BreakChannel = 1;
    p.BreakDropPercent = 10.5f;  // N
    p.JUnloadData = {0.5, 0.2, 30.0};
    ProgrammeForm f = FillProgrammeForm(p);
    EXPECT_EQ(f.Texts.Stages[27].Speed, "-20000.000");
    EXPECT_EQ(f.StageFromUnit[27], 2);
    EXPECT_EQ(f.Texts.BreakValue, "10.5000");
    EXPECT_EQ(f.UnloadPercent, 30);
    EXPECT_FALSE(CheckProgrammeForm(f, p));

    // Checked against the machine: a stage beyond 20000 on the last page is named.
    f.Texts.Stages[29] = {true, "1", "-20001"};
    const CheckResult failure = CheckProgrammeForm(f, p);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Stage, 30);

    f.Texts.Stages[29] = {false, "x", "-"};  // inactive: any text, the values stay
    f.Texts.SetupPosition = "300";
    f.Texts.PreloadUnit = 1;
    f.Texts.Preload = "10000";
    f.StageSpeedUnit[27] = 2;
    f.TensionDirection = 0;
    f.EndStage = 28;
    f.SamplingIndex = 4;
    f.JIntegralActive = true;
    f.UnloadPercent = 12;
    ASSERT_FALSE(CheckProgrammeForm(f, p));
    ParameterSet stored = p;
    stored.Stages[29].StageSpeed = 7.0;
    StoreProgrammeForm(f, stored);
    EXPECT_EQ(stored.Stages[27].StageSpeedUnit, 2);
    EXPECT_DOUBLE_EQ(stored.Stages[27].StageSpeed, -20000.0);
    EXPECT_EQ(stored.Stages[29].StageActive, 0);
    EXPECT_DOUBLE_EQ(stored.Stages[29].StageSpeed, 7.0);
    EXPECT_DOUBLE_EQ(stored.StartPosition, 300.0);
    EXPECT_EQ(stored.PreloadUnit, 1);
    EXPECT_FLOAT_EQ(stored.PreloadValue[1], 10000);
    EXPECT_FLOAT_EQ(stored.PreloadValue[0], p.PreloadValue[0]);
    EXPECT_FLOAT_EQ(stored.BreakDropPercent, 10.5f);
    EXPECT_EQ(stored.BreakChannel, 1);
    EXPECT_EQ(stored.TensionDirection, 0);
    EXPECT_EQ(stored.EndStage, 28);
    EXPECT_EQ(stored.SamplingIndex, 4);
    EXPECT_EQ(stored.JIntegralActive, 1);
    EXPECT_DOUBLE_EQ(stored.JUnloadData[2], 12.0);
}

}  // namespace
}  // namespace quorvex
