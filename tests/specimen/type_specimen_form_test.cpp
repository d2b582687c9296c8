// The specimens of the shear, chain, universal, flexural and compression tests: where each
// dimension goes, the two ranges of every input and the order OK checks them in.
#include "specimen/type_specimen_form.h"

#include <gtest/gtest.h>

#include "evaluation/cross_section.h"

namespace quorvex {
namespace {

TypeSpecimenTexts Form(std::vector<std::string> dimensions) {
    TypeSpecimenTexts t;
    t.SpecimenNo = "A-1";
    t.SpecimenId = "Charge 7";
    t.Dimensions = std::move(dimensions);
    return t;
}

TEST(TypeSpecimenForm, EachDialogStoresItsDimensionsWhereItsEvaluationReadsThem) {
    {  // compression d 10, h 20
        ParameterSet p;
        ResultsRecord r;
        TakeTypeSpecimenForm(9, Form({"10", "20"}), p, r);
        EXPECT_NEAR(p.EffectiveSo, 78.54, 0.005);
        EXPECT_FLOAT_EQ(p.EffectiveLo, 20);
        EXPECT_FLOAT_EQ(p.EffectiveLc, 20);
        EXPECT_FLOAT_EQ(p.GaugeLengthLe, 20);
        EXPECT_FLOAT_EQ(p.Round.d, 10);
        EXPECT_EQ(p.SpecimenShape, static_cast<std::uint8_t>(SpecimenShape::Round));
        EXPECT_FLOAT_EQ(r.Results[0], 10);
        EXPECT_FLOAT_EQ(r.Results[1], 20);
        EXPECT_EQ(p.SpecimenNo, "A-1");
        EXPECT_EQ(p.SpecimenId, "Charge 7");
    }
    {  // flexural modulus L 64, h 4, b 10
        ParameterSet p;
        ResultsRecord r;
        TakeTypeSpecimenForm(7, Form({"64", "4", "10"}), p, r);
        EXPECT_FLOAT_EQ(p.GaugeLengthLe, 64);
        EXPECT_FLOAT_EQ(p.Flat.Lo, 64);
        EXPECT_FLOAT_EQ(p.Flat.Lc, 64);
        EXPECT_FLOAT_EQ(p.EffectiveLc, 4);
        EXPECT_FLOAT_EQ(p.Flat.a, 4);
        EXPECT_FLOAT_EQ(p.EffectiveLo, 10);
        EXPECT_FLOAT_EQ(p.Flat.b, 10);
        EXPECT_FLOAT_EQ(p.EffectiveSo, 1.0f);
        EXPECT_EQ(p.SpecimenShape, static_cast<std::uint8_t>(SpecimenShape::Flat));
        EXPECT_EQ((std::vector<float>{r.Results[0], r.Results[1], r.Results[2]}),
                  (std::vector<float>{64, 4, 10}));
    }
    {  // shear: support distance, height, width, length
        ParameterSet p;
        ResultsRecord r;
        TakeTypeSpecimenForm(3, Form({"30", "5", "12", "80"}), p, r);
        EXPECT_FLOAT_EQ(p.Flat.Lo, 30);
        EXPECT_FLOAT_EQ(p.EffectiveLo, 30);
        EXPECT_FLOAT_EQ(p.Flat.a, 5);
        EXPECT_FLOAT_EQ(p.Flat.b, 12);
        EXPECT_FLOAT_EQ(p.Flat.Lc, 80);
        EXPECT_FLOAT_EQ(p.EffectiveLc, 80);
        EXPECT_FLOAT_EQ(p.EffectiveSo, 1.0f);
    }
    {  // chain: clamping length, chain length
        ParameterSet p;
        ResultsRecord r;
        TakeTypeSpecimenForm(4, Form({"500", "1200"}), p, r);
        EXPECT_FLOAT_EQ(p.EffectiveLo, 500);
        EXPECT_FLOAT_EQ(p.EffectiveLc, 1200);
    }
    {  // universal: the divisor unchecked; a stored divisor of 0 opens as 1.00
        ParameterSet p;
        ResultsRecord r;
        EXPECT_EQ(LoadTypeSpecimenForm(5, p).Dimensions, std::vector<std::string>{"1.00"});
        TakeTypeSpecimenForm(5, Form({"12.5"}), p, r);
        EXPECT_DOUBLE_EQ(p.UniversalDivisor, 12.5);
        EXPECT_EQ(LoadTypeSpecimenForm(5, p).Dimensions, std::vector<std::string>{"12.50"});
    }
}

TEST(TypeSpecimenForm, EnterChecksTheTypingRangeAndOkTheAcceptanceRangeInItsOrder) {
    // Shear width 0.3: Enter accepts it, OK refuses it first (the width is checked first).
    EXPECT_FALSE(CheckTypedDimension(3, 2, "0.3"));
    const CheckResult shear = CheckTypeSpecimenForm(3, Form({"0.5", "500", "0.3", "0"}));
    ASSERT_TRUE(shear);
    EXPECT_EQ(shear->Field, 2);
    EXPECT_EQ(shear->TextNumber, 181);
    EXPECT_EQ(shear->RangeText, " 0.5 ... 200.0 !");
    // Then the height, the length and the support distance.
    EXPECT_EQ(CheckTypeSpecimenForm(3, Form({"0.5", "500", "10", "0"}))->Field, 1);
    EXPECT_EQ(CheckTypeSpecimenForm(3, Form({"0.5", "5", "10", "0"}))->RangeText,
              " 1.0 ... 999.0!");
    EXPECT_EQ(CheckTypeSpecimenForm(3, Form({"0.5", "5", "10", "50"}))->Field, 0);
    EXPECT_FALSE(CheckTypeSpecimenForm(3, Form({"20", "5", "10", "50"})));

    // A chain length over 8000 is refused on Enter and on OK.
    const CheckResult typed = CheckTypedDimension(4, 1, "8001");
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->RangeText, " 1.0 ... 8000.0 !");
    EXPECT_EQ(CheckTypeSpecimenForm(4, Form({"500", "8001"}))->Field, 1);
    EXPECT_TRUE(CheckTypedDimension(4, 0, "abc"));

    // Flexural modulus: typing range of the support distance ends at 400, acceptance at 1000.
    EXPECT_TRUE(CheckTypedDimension(7, 0, "500"));
    EXPECT_FALSE(CheckTypeSpecimenForm(7, Form({"500", "4", "10"})));
    EXPECT_EQ(CheckTypeSpecimenForm(9, Form({"0.5", "0"}))->RangeText, " 1.0 ... 1000.0 !");
}

TEST(TypeSpecimenForm, OpensWithTheStoredValuesInTheirDecimals) {
    ParameterSet p;
    p.Results[3].Decimals = 1;  // shear lv
    p.Results[0].Decimals = 3;  // shear L
    p.Results[1].Decimals = 2;
    p.Results[2].Decimals = 2;
    p.Flat = {12, 5, 30, 80, 60};
    EXPECT_EQ(LoadTypeSpecimenForm(3, p).Dimensions,
              (std::vector<std::string>{"30.0", "5.00", "12.00", "80.000"}));
    ParameterSet q;
    ResultsRecord r;
    TakeTypeSpecimenForm(7, Form({"64", "4", "10"}), q, r);
    EXPECT_EQ(LoadTypeSpecimenForm(7, q).Dimensions,
              (std::vector<std::string>{"64.00", "4.000", "10.00"}));
    EXPECT_FALSE(HasTypeSpecimenDialog(0));
    EXPECT_FALSE(HasTypeSpecimenDialog(6));
    EXPECT_TRUE(HasTypeSpecimenDialog(8));
}

}  // namespace
}  // namespace quorvex
