#include "specimen/specimen_form.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorvex {
namespace {

SpecimenFormTexts ValidForm() {
    SpecimenFormTexts t;
    t.Round = {"10", "50", "60"};
    t.Flat = {"2", "20", "80", "120"};
    t.Tube = {"20", "2", "44", "52.8"};
    t.Mass = {"7.84", "70", "200", "38", "150"};
    t.Segment = {"3.5", "14", "33.7", "50", "60"};
    t.Le = "50";
    return t;
}

TEST(SpecimenForm, ChecksPerShape) {
    struct Case {
        const char* what;
        int shape;
        std::function<void(SpecimenFormTexts&)> change;
        SpecimenField field;
        const char* rangeText;  // nullptr: accepted
    } cases[] = {
        {"round valid", 0, [](auto&) {}, SpecimenField::Le, nullptr},
        {"round d", 0, [](auto& t) { t.Round.d = "0"; }, SpecimenField::RoundD,
         " 0.01 ... 200.0 !"},
        {"round Lc", 0, [](auto& t) { t.Round.Lc = "1000"; }, SpecimenField::RoundLc,
         "  1.0 ... 999.0 !"},
        {"other shapes not checked", 0, [](auto& t) { t.Flat.a = "x"; }, SpecimenField::Le,
         nullptr},
        {"flat a", 1, [](auto& t) { t.Flat.a = "0.4"; }, SpecimenField::FlatA, " 0.5 ... 200.0 !"},
        {"flat Lo", 1, [](auto& t) { t.Flat.Lo = ""; }, SpecimenField::FlatLo, " 1.0 ... 999.0!"},
        {"tube a = D/2", 2, [](auto& t) { t.Tube.a = "10"; }, SpecimenField::Le, nullptr},
        {"tube a > D/2", 2, [](auto& t) { t.Tube.a = "10.01"; }, SpecimenField::TubeA,
         " 0.01 ... D/2 !"},
        {"tube D first", 2,
         [](auto& t) {
             t.Tube.D = "0.5";
             t.Tube.a = "9";
         },
         SpecimenField::TubeD, " 1.0 ... 200.0 !"},
        {"mass density", 3, [](auto& t) { t.Mass.rho = "21"; }, SpecimenField::MassRho,
         " 1.0 ... 20.0 !"},
        {"mass m", 3, [](auto& t) { t.Mass.m = "80001"; }, SpecimenField::MassM,
         " 0.1 ... 80000 g !"},
        {"segment b", 4, [](auto& t) { t.Segment.b = "0.05"; }, SpecimenField::SegmentB,
         " 0.1 ... 200 mm !"},
        {"segment Lv", 4, [](auto& t) { t.Segment.Lv = "9"; }, SpecimenField::SegmentLv,
         " 10.0 ... 500.0 !"},
        {"Le", 1, [](auto& t) { t.Le = "4.9"; }, SpecimenField::Le, "  5.0 ... 500.0 !"},
    };
    for (const Case& c : cases) {
        SpecimenFormTexts t = ValidForm();
        t.Shape = c.shape;
        c.change(t);
        const CheckResult result = CheckSpecimenForm(t);
        if (!c.rangeText) {
            EXPECT_FALSE(result) << c.what;
            continue;
        }
        ASSERT_TRUE(result) << c.what;
        EXPECT_EQ(result->Field, static_cast<int>(c.field)) << c.what;
        EXPECT_EQ(result->RangeText, c.rangeText) << c.what;
        EXPECT_EQ(result->TextNumber, 181) << c.what;
    }
}

TEST(SpecimenForm, TakeKeepsOtherShapes) {
    ParameterSet p;
    SpecimenFormTexts t = ValidForm();
    t.Shape = 1;
    t.SpecimenNo = "Charge 7-#13";
    EXPECT_TRUE(TakeSpecimenForm(t, p));
    EXPECT_EQ(p.SpecimenShape, 1);
    EXPECT_FLOAT_EQ(p.Flat.So, 40.0f);
    EXPECT_FLOAT_EQ(p.EffectiveSo, 40.0f);
    EXPECT_FLOAT_EQ(p.EffectiveLc, 120.0f);
    EXPECT_FLOAT_EQ(p.Round.So, 78.54f);  // the round shape keeps its values
    EXPECT_EQ(p.SpecimenNo, "Charge 7-#13");

    t.Shape = 4;
    t.Segment.b = "27";  // wider than the bore
    EXPECT_FALSE(TakeSpecimenForm(t, p));
    EXPECT_FLOAT_EQ(p.EffectiveSo, 1.0f);
    EXPECT_FLOAT_EQ(p.EffectiveLc, 60.0f);  // Lv stands for Lc
}

TEST(SpecimenForm, ProportionalLengths) {
    auto round = ProportionalSpecimenLengths(78.54, 0, 0);
    ASSERT_TRUE(round);
    EXPECT_DOUBLE_EQ(round->Lo, 50);
    EXPECT_DOUBLE_EQ(round->TestLength, 60);
    auto flat = ProportionalSpecimenLengths(40, 1, 1);
    ASSERT_TRUE(flat);
    EXPECT_DOUBLE_EQ(flat->Lo, 71);
    EXPECT_DOUBLE_EQ(flat->TestLength, 80);
    EXPECT_DOUBLE_EQ(ProportionalSpecimenLengths(9, 1, 0)->Lo, 20);  // 16.95 raised to 20
    EXPECT_FALSE(ProportionalSpecimenLengths(40, 2, 1)->SetTestLength);
    EXPECT_FALSE(ProportionalSpecimenLengths(40, 1, 2));
    EXPECT_FALSE(ProportionalSpecimenLengths(0, 1, 1));
}

TEST(SpecimenForm, ReadingsAndPostTestInputs) {
    EXPECT_DOUBLE_EQ(MeanOfReadings({"10.01", "10.03", "", "", ""}), 10.02);
    EXPECT_DOUBLE_EQ(MeanOfReadings({"", "0", "x"}), 0.0);
    EXPECT_FALSE(CheckDimensionReading("0.001"));
    EXPECT_EQ(CheckDimensionReading("400.1")->RangeText, "  0.001 ... 400.0 !");
    EXPECT_FALSE(CheckPostTestInput(1, "55", 50, 100));
    EXPECT_EQ(CheckPostTestInput(1, "49", 50, 100)->RangeText, "  50.00...100.00  !");
}

}  // namespace
}  // namespace quorvex
