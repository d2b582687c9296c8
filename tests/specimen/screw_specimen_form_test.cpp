// The screw specimen: As and the designation of the selection, the ranges after text 567 in
// the order OK checks them, and what a confirmed screw leaves in the parameter set.
#include "specimen/screw_specimen_form.h"

#include <gtest/gtest.h>

#include "evaluation/cross_section.h"

namespace quorvex {
namespace {

constexpr int kM10 = 7, kM3_5 = 1;

UserScrewTable TableWithOneRow() {
    UserScrewTable table;
    table.Entries[0] = {"Sonderschraube SK 12", 84.3};
    table.Count = 1;
    return table;
}

TEST(ScrewSpecimenForm, TheSelectionGivesAsAndTheDesignation) {
    const UserScrewTable table = TableWithOneRow();
    ParameterSet p;
    p.StressAreaFlag = 1;
    p.ThreadKind = 0;
    p.ThreadSizeIndex = kM10;
    p.StrengthClassIndex = 7;  // 8.8
    ScrewFormTexts t = LoadScrewForm(1, p, table);
    EXPECT_EQ(t.Designation, "M10x1.5/8.8");
    EXPECT_DOUBLE_EQ(ScrewCrossSection(t, table), CoarseStressArea(kM10 + 1));

    p.ThreadKind = 1;
    p.ThreadSizeIndex = kM3_5;
    p.StainlessClassIndex = 12;  // A4-80
    t = LoadScrewForm(2, p, table);
    EXPECT_EQ(t.Designation.rfind("A4-80 M3.5x", 0), 0u) << t.Designation;
    EXPECT_EQ(ThreadSizeListItem(kM3_5), "M3,5");

    p.ThreadKind = 2;
    p.UserTableRow = 1;
    t = LoadScrewForm(1, p, table);
    EXPECT_EQ(t.Designation, "Sonderschraube SK 12");  // whatever class is chosen
    EXPECT_DOUBLE_EQ(ScrewCrossSection(t, table), 84.3);

    // Stored choices outside their lists open as the regular thread, M3,5 and no class.
    p.ThreadKind = 7;
    p.ThreadSizeIndex = 40;
    p.StrengthClassIndex = 10;  // 12.9 is in the list
    t = LoadScrewForm(1, p, table);
    EXPECT_EQ(t.Selection.Kind, 0);
    EXPECT_EQ(t.Selection.ThreadSizeIndex, kM3_5);
    EXPECT_EQ(t.Selection.StrengthClassIndex, 10);
    p.StrengthClassIndex = 11;
    EXPECT_EQ(LoadScrewForm(1, p, table).Selection.StrengthClassIndex, 0);
}

TEST(ScrewSpecimenForm, OkChecksLeThenDoThenTheLengthsOfTheShownKind) {
    ParameterSet p;
    ScrewFormTexts t = LoadScrewForm(1, p, {});
    t.Selection.WholeScrew = true;
    t.TurnedDiameter = "0";
    t.WholeLo = "0";
    t.Le = "3";
    struct Step {
        ScrewField field;
        const char* range;
        std::string ScrewFormTexts::*text;
        const char* fix;
    } steps[] = {
        {ScrewField::Le, " 4.0 ... 500.0 !", &ScrewFormTexts::Le, "50"},
        {ScrewField::TurnedDiameter, " 1.0 ... 200.0 !", &ScrewFormTexts::TurnedDiameter, "10"},
        {ScrewField::WholeLo, " 1.0 ... 999.0 !", &ScrewFormTexts::WholeLo, "60"},
    };
    for (const Step& step : steps) {
        const CheckResult failure = CheckScrewForm(t);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Field, static_cast<int>(step.field));
        EXPECT_EQ(failure->TextNumber, 567);
        EXPECT_EQ(failure->RangeText, step.range);
        t.*step.text = step.fix;
    }
    EXPECT_FALSE(CheckScrewForm(t));
    t.TurnedLo = "0";  // the turned screw's lengths do not count for a whole screw
    EXPECT_FALSE(CheckScrewForm(t));

    // Enter: do 0.1 ... 200, Le 4 ... 500.
    EXPECT_FALSE(CheckScrewInput(ScrewField::TurnedDiameter, "0.5"));
    EXPECT_EQ(CheckScrewInput(ScrewField::TurnedDiameter, "0.05")->RangeText, " 0.1 ... 200.0 !");
    EXPECT_TRUE(CheckScrewInput(ScrewField::Le, "501"));
}

TEST(ScrewSpecimenForm, AConfirmedScrewIsARoundSpecimenWithItsDesignationAsRemark) {
    ParameterSet p;
    p.StressAreaFlag = 0;
    ScrewFormTexts t = LoadScrewForm(1, p, {});
    t.TurnedDiameter = "10";
    t.TurnedLo = "50";
    t.TurnedLc = "60";
    t.Le = "50";
    t.SpecimenNo = "7";
    t.Designation = "M10x1.5/8.8";
    t.Selection.ThreadSizeIndex = kM10;
    t.Selection.StrengthClassIndex = 7;
    ResultsRecord current;
    TakeScrewForm(t, {}, p, current);
    EXPECT_NEAR(p.EffectiveSo, 78.54, 0.005);
    EXPECT_FLOAT_EQ(p.Round.So, p.EffectiveSo);
    EXPECT_FLOAT_EQ(p.Round.d, 10);
    EXPECT_FLOAT_EQ(p.EffectiveLo, 50);
    EXPECT_FLOAT_EQ(p.EffectiveLc, 60);
    EXPECT_FLOAT_EQ(p.GaugeLengthLe, 50);
    EXPECT_EQ(p.SpecimenShape, static_cast<std::uint8_t>(SpecimenShape::Round));
    EXPECT_EQ(p.ThreadSizeIndex, kM10);
    EXPECT_EQ(p.StrengthClassIndex, 7);
    EXPECT_EQ(p.StressAreaFlag, 0);
    EXPECT_EQ(current.Remark, "M10x1.5/8.8");
    EXPECT_EQ(p.SpecimenNo, "7");

    // The whole screw takes As, and its own lengths.
    t.Selection.WholeScrew = true;
    t.WholeLo = "40";
    t.WholeLc = "45";
    TakeScrewForm(t, {}, p, current);
    EXPECT_DOUBLE_EQ(p.EffectiveSo, static_cast<float>(CoarseStressArea(kM10 + 1)));
    EXPECT_FLOAT_EQ(p.EffectiveLo, 40);
    EXPECT_EQ(p.StressAreaFlag, 1);
}

}  // namespace
}  // namespace quorvex
