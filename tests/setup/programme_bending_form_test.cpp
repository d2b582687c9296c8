// The flexural-strength variant of the test-programme form: the same checks as the universal
// programme, no holding stages, the test space stored and the hidden choices kept.
#include <gtest/gtest.h>

#include "setup/programme_form.h"

namespace quorvex {
namespace {

ParameterSet Machine100kN() {
    ParameterSet p;
    p.NominalForceKn = 100;
    p.NominalTravelMm = 300;
    p.TestType = 8;
    p.Stages[0] = {1, 0.0, 1, 10.0, 1};
    return p;
}

TEST(BendingProgrammeForm, RefusesWhatTheUniversalProgrammeRefuses) {
    const ParameterSet p = Machine100kN();
    struct Case {
        const char* name;
        void (*edit)(ProgrammeForm&);
        bool refused;
        SetupField field;
        const char* rangeText;
    };
    const Case cases[] = {
        {"setup position 0.4 mm", [](ProgrammeForm& f) { f.Texts.SetupPosition = "0.4"; }, true,
         SetupField::SetupPosition, " :  0.5 ...300.00 !"},
        {"setup position at the nominal travel",
         [](ProgrammeForm& f) { f.Texts.SetupPosition = "300"; },
         false,
         {},
         ""},
        {"stage speed -20000 in N/sec",
         [](ProgrammeForm& f) {
             f.Texts.Stages[1] = {true, "5", "-20000"};
             f.StageSpeedUnit[1] = 2;
         },
         false,
         {},
         ""},
        {"stage speed -20001",
         [](ProgrammeForm& f) {
             f.Texts.Stages[1] = {true, "5", "-20001"};
         },
         true, SetupField::StageSpeed, " :  -20000 ... 20000.0 !"},
        {"preload 10 kN", [](ProgrammeForm& f) { f.Texts.Preload = "10"; }, false, {}, ""},
        {"preload 10.5 kN", [](ProgrammeForm& f) { f.Texts.Preload = "10.5"; }, true,
         SetupField::Preload, " :  0.0 ... 10%  !"},
        {"preload 10001 N",
         [](ProgrammeForm& f) {
             f.Texts.PreloadUnit = 1;
             f.Texts.Preload = "10001";
         },
         true, SetupField::Preload, " :  0.0 ... 10%  !"},
        {"Fmin 2001", [](ProgrammeForm& f) { f.Texts.Fmin = "2001"; }, true, SetupField::Fmin,
         " :  0 ... 2000 !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgrammeForm form = FillProgrammeForm(p, true);
        c.edit(form);
        const CheckResult failure = CheckProgrammeForm(form, p);
        ASSERT_EQ(failure.has_value(), c.refused);
        if (!c.refused) continue;
        EXPECT_EQ(failure->Field, static_cast<int>(c.field));
        EXPECT_EQ(failure->RangeText, c.rangeText);
    }
}

TEST(BendingProgrammeForm, HasNoHoldingStagesStoresTheTestSpaceAndKeepsWhatItDoesNotShow) {
    ParameterSet p = Machine100kN();
    p.Stages[3] = {1, 2.0, 3, 30.0, 3};  // a holding stage from another test type
    p.TestSpace = 7;                     // out of range in a damaged file
    p.SamplingIndex = 3;
    p.SpringStage = 4;
    p.ControlDeviation = 9;
    p.JIntegralActive = 1;
    ProgrammeForm f = FillProgrammeForm(p, true);
    EXPECT_TRUE(f.Bending);
    EXPECT_EQ(f.StageFromUnit[3], 2);
    EXPECT_EQ(f.StageSpeedUnit[3], 2);
    EXPECT_EQ(f.TestSpace, 1);

    f.TestSpace = 2;
    f.SamplingIndex = 0;  // not shown: must not reach the parameter set
    f.JIntegralActive = false;
    ASSERT_FALSE(CheckProgrammeForm(f, p));
    StoreProgrammeForm(f, p);
    EXPECT_EQ(p.TestSpace, 2);
    EXPECT_EQ(p.Stages[3].StageSpeedUnit, 2);
    EXPECT_EQ(p.SamplingIndex, 3);
    EXPECT_EQ(p.SpringStage, 4);
    EXPECT_EQ(p.ControlDeviation, 9);
    EXPECT_EQ(p.JIntegralActive, 1);
}

}  // namespace
}  // namespace quorvex
