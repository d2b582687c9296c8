// The plastics tensile test: yield point, stresses and strains at the marks and at chosen
// strains, nominal strains, the secant modulus and the results that are switched off.
#include "evaluation/plastics_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "evaluation_fixture.h"

namespace quorvex {
namespace {

using testing::CurvePoint;
using testing::RecordCurve;

class PlasticsEvaluation : public testing::EvaluationFixture {
  protected:
    void SetUp() override {
        EvaluationFixture::SetUp();
        UseTestType(TestType::PlasticsIso527);
        P().SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Flat);
        P().Flat = {10, 1, 50, 60, 10};  // b, a, Lo, Lc, So
        P().EffectiveSo = 10;
        P().EffectiveLo = 50;
        P().EffectiveLc = 60;
        P().GaugeLengthLe = 25;
        P().YieldDropMin = 0.5f;  // kN
        P().SigStrainPoint = {2, 10, 15, 30, 100};
        P().ProofStrain = 1;
        P().SecondProofStrain = 4;
        for (int slot = 1; slot <= 19; ++slot) Slot(slot).Evaluate = 1;
    }

    // Travel 0.5 mm per sample; a yield maximum of 3 kN at sample 7, a drop to 2.3 kN, Fmax
    // 3.5 kN at sample 14, N = 22, then the two fracture samples. The extension is half the
    // travel.
    void RecordYieldingPlastic() {
        const float forces[] = {0,    0.5f, 1,    1.5f, 2,    2.5f, 3, 2.4f, 2.3f, 2.4f, 2.6f, 2.9f,
                                3.2f, 3.5f, 3.4f, 3.3f, 3.2f, 3.1f, 3, 2.9f, 2.8f, 2.7f, 1,    0};
        std::vector<CurvePoint> points;
        for (std::size_t i = 0; i < std::size(forces); ++i) {
            const float travel = 0.5f * static_cast<float>(i);
            points.push_back({forces[i], travel, travel / 2});
        }
        RecordCurve(*state, points);
    }
};

TEST_F(PlasticsEvaluation, StressesAndStrainsFromTheCrosshead) {
    RecordYieldingPlastic();
    ASSERT_EQ(Marks().SampleCount, 22);
    Evaluate();

    EXPECT_FLOAT_EQ(R().Rm, 1.0f);
    EXPECT_FLOAT_EQ(R().So, 10.0f);
    // b, h, A, Lo of the specimen; Lc behind the exported elements.
    EXPECT_FLOAT_EQ(Element(0), 10.0f);
    EXPECT_FLOAT_EQ(Element(1), 1.0f);
    EXPECT_FLOAT_EQ(Element(2), 10.0f);
    EXPECT_FLOAT_EQ(Element(3), 50.0f);
    EXPECT_FLOAT_EQ(Element(19), 60.0f);

    EXPECT_FLOAT_EQ(Element(4), 300.0f) << "Sig-Y at the yield maximum";
    EXPECT_FLOAT_EQ(Element(5), 350.0f) << "Sig-M";
    EXPECT_FLOAT_EQ(Element(6), 280.0f) << "Sig-B at N - 1";
    // 2 % and 10 % of Lo 50 are 1 and 5 mm of travel: samples 3 and 11; 15 % at sample 16;
    // 30 % and 100 % are never reached.
    EXPECT_FLOAT_EQ(Element(7), 100.0f);
    EXPECT_FLOAT_EQ(Element(8), 260.0f);
    EXPECT_FLOAT_EQ(Element(9), 330.0f);
    EXPECT_EQ(Element(10), 0.0f);
    EXPECT_EQ(Element(11), 0.0f);
    EXPECT_FLOAT_EQ(Element(12), 6.0f) << "Eps-Y: 3 mm over Lo 50";
    EXPECT_FLOAT_EQ(Element(13), 13.0f);
    EXPECT_FLOAT_EQ(Element(14), 20.0f);
    EXPECT_FLOAT_EQ(Element(15), 6.5f / 60 * 100) << "Eps-tM over Lc";
    EXPECT_FLOAT_EQ(Element(16), 10.0f / 60 * 100);
    EXPECT_EQ(Element(17), 0.0f);
    // The extensometer is usable: 1 % and 4 % of Le 25 are 0.25 and 1 mm of extension,
    // samples 2 and 5; (200 - 50) N/mm² over (0.04 - 0.01).
    EXPECT_NEAR(Element(18), 5000.0f, 0.01f);
    EXPECT_EQ(Marks().ExtensionEndIndex, 22);
    EXPECT_TRUE(Marks().EvaluationDone);
}

TEST_F(PlasticsEvaluation, ExtensometerStrainsAndModulusFromTheCrosshead) {
    P().StrainByTdm = 1;       // strains from the extensometer over Le
    P().StrainFromTravel = 1;  // the modulus from the crosshead over Lc
    RecordYieldingPlastic();
    Evaluate();
    // Extension / Le equals travel / Lo here, so the strains stay as from the crosshead.
    EXPECT_FLOAT_EQ(Element(12), 6.0f);
    EXPECT_FLOAT_EQ(Element(8), 260.0f);
    // 1 % and 4 % of Lc 60 are 0.6 and 2.4 mm: samples 3 and 6; 150 N/mm² over 1.5 / 60.
    EXPECT_NEAR(Element(18), 6000.0f, 0.01f);
    EXPECT_EQ(Marks().ExtensionEndIndex, 1) << "not usable when the modulus uses the crosshead";
}

TEST_F(PlasticsEvaluation, SwitchedOffResultsShortCurvesAndZeroLengthsGiveZero) {
    Slot(6).Evaluate = 0;   // Sig-M
    Slot(19).Evaluate = 0;  // E
    RecordYieldingPlastic();
    Evaluate();
    EXPECT_EQ(Element(5), 0.0f);
    EXPECT_EQ(Element(18), 0.0f);
    EXPECT_FLOAT_EQ(Element(6), 280.0f);

    // Fewer than ten samples: no yield point.
    SetUp();
    RecordCurve(*state, {{0, 0}, {3, 1}, {2, 2}, {2.5f, 3}, {2.4f, 4}, {1, 5}, {0, 6}});
    Evaluate();
    EXPECT_EQ(Element(4), 0.0f);
    EXPECT_EQ(Element(12), 0.0f);
    EXPECT_FLOAT_EQ(Element(5), 300.0f);

    // Without gauge lengths the strains are 0, not infinite.
    SetUp();
    P().EffectiveLo = 0;
    P().EffectiveLc = 0;
    RecordYieldingPlastic();
    Evaluate();
    for (int element : {7, 8, 9, 12, 13, 14, 15, 16}) {
        EXPECT_EQ(Element(element), 0.0f) << element;
    }
    EXPECT_FLOAT_EQ(Element(4), 300.0f);
}

TEST_F(PlasticsEvaluation, YieldIndexIsTheMaximumOfTheEarliestDrop) {
    // Two drops of more than 0.5 kN: the earlier one, at its maximum, is the yield point.
    std::vector<CurvePoint> points;
    const float forces[] = {0,    1,    2,    2.9f, 3,    2.9f, 2.2f, 2.5f, 3.5f, 4,
                            3,    3.2f, 3.4f, 3.6f, 3.8f, 4,    4.1f, 4.2f, 4.3f, 4.4f,
                            4.5f, 4.6f, 4.7f, 4.8f, 4.9f, 5,    1,    0};
    for (std::size_t i = 0; i < std::size(forces); ++i) points.push_back({forces[i], 0.1f * i});
    RecordCurve(*state, points);
    const CurveView c(state->Buffer, P(), Marks());
    EXPECT_EQ(PlasticsYieldIndex(c), 5);
    P().YieldDropMin = 0.85f;  // only the second drop (4 to 3) is large enough
    EXPECT_EQ(PlasticsYieldIndex(c), 10);
    P().YieldDropMin = 2;
    EXPECT_EQ(PlasticsYieldIndex(c), 0);
}

}  // namespace
}  // namespace quorvex
