// Shear, chain and flexural-strength evaluations from hand-made force-travel curves.
#include "evaluation/fmax_evaluations.h"

#include <gtest/gtest.h>

#include <cmath>

#include "evaluation_fixture.h"

namespace quorvex {
namespace {

using testing::CurvePoint;
using testing::RecordCurve;

// A force maximum of `fmax` kN at sample 4, falling afterwards, and the two fracture samples.
void RecordPeak(TestState& state, float fmax) {
    RecordCurve(state, {{0, 0},
                        {fmax / 3, 0.1f},
                        {fmax * 2 / 3, 0.2f},
                        {fmax, 0.3f},
                        {fmax * 0.8f, 0.4f},
                        {fmax * 0.5f, 0.5f},
                        {0.2f, 0.6f},
                        {0, 0.7f}});
}

using ShearEvaluation = testing::EvaluationFixture;

TEST_F(ShearEvaluation, TauFromFmaxAndTheSpecimensThicknessAndWidth) {
    UseTestType(TestType::ShearEn2563);
    FlatSpecimen(2, 10, 12, 30);
    RecordPeak(*state, 3.0f);
    Evaluate();

    // 3 × 3000 N / (4 × 2 mm × 10 mm)
    EXPECT_FLOAT_EQ(Element(5), 112.5f);
    EXPECT_FLOAT_EQ(Element(4), 3000.0f);
    EXPECT_FLOAT_EQ(R().ReH, 3000.0f);
    EXPECT_FLOAT_EQ(R().ReL, 112.5f);
    EXPECT_FLOAT_EQ(R().Rm, 3000.0f);
    // L, T, B, Lv: the length, thickness, width and support distance.
    EXPECT_FLOAT_EQ(Element(0), 30.0f);
    EXPECT_FLOAT_EQ(Element(1), 2.0f);
    EXPECT_FLOAT_EQ(Element(2), 10.0f);
    EXPECT_FLOAT_EQ(Element(3), 12.0f);
    EXPECT_FLOAT_EQ(R().d, 30.0f);
    EXPECT_TRUE(Marks().EvaluationDone);
}

TEST_F(ShearEvaluation, AZeroDimensionGivesNoStress) {
    UseTestType(TestType::ShearEn2563);
    FlatSpecimen(0, 10, 12, 30);
    RecordPeak(*state, 3.0f);
    Evaluate();
    EXPECT_EQ(Element(5), 0.0f);
    EXPECT_EQ(R().ReL, 0.0f);
    EXPECT_FLOAT_EQ(Element(4), 3000.0f);
}

using ChainEvaluation = testing::EvaluationFixture;

TEST_F(ChainEvaluation, TravelsAndElongationsAtFmaxAndAtTheEnd) {
    UseTestType(TestType::Chain);
    FlatSpecimen(1, 20, 200, 1000);  // clamping length 200, chain length 1000
    SetSlots({1, 2, 3, 4, 5, 6, 7, 8}, true);
    P().Results[0].Decimals = 4;
    // Fmax 40 kN at sample 5; samples 9 and 10 are the fracture, N = 8, the end is sample 6.
    RecordCurve(*state, {{0, 1},
                         {10, 2},
                         {20, 5},
                         {30, 11},
                         {40, 21},
                         {35, 25},
                         {30, 31},
                         {20, 41},
                         {5, 45},
                         {0, 46}});
    Evaluate();

    EXPECT_FLOAT_EQ(Element(0), 200.0f);
    EXPECT_FLOAT_EQ(Element(1), 1000.0f);
    EXPECT_FLOAT_EQ(Element(2), 40000.0f);  // Fmax N
    EXPECT_FLOAT_EQ(Element(3), 20.0f);     // Lmax = x(M) - x(1)
    EXPECT_FLOAT_EQ(Element(4), 10.0f);     // Amax = 20 / 200 × 100
    EXPECT_FLOAT_EQ(Element(5), 35000.0f);  // Fr at N - 2
    EXPECT_FLOAT_EQ(Element(6), 24.0f);     // Lr
    EXPECT_FLOAT_EQ(Element(7), 12.0f);     // Ar
    EXPECT_FLOAT_EQ(R().ReH, 40000.0f);
    EXPECT_FLOAT_EQ(R().Rm, 40000.0f);
    // The chain results have fixed decimals, in the parameter set and in the panels.
    const std::int32_t fixed[] = {1, 1, 0, 1, 1, 0, 1, 1};
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(P().Results[static_cast<std::size_t>(j)].Decimals, fixed[j]) << j;
        EXPECT_EQ(state->ResultDecimals[static_cast<std::size_t>(j)], fixed[j]) << j;
    }
}

TEST_F(ChainEvaluation, SwitchedOffResultsAndAZeroClampingLengthGiveZero) {
    UseTestType(TestType::Chain);
    FlatSpecimen(1, 20, 0, 1000);
    SetSlots({1, 2, 3, 4, 5, 6, 7, 8}, true);
    SetSlots({6, 7}, false);
    RecordCurve(*state, {{0, 1}, {10, 2}, {40, 21}, {35, 25}, {30, 31}, {5, 45}, {0, 46}});
    Evaluate();
    EXPECT_FLOAT_EQ(Element(3), 20.0f);
    EXPECT_EQ(Element(4), 0.0f) << "no clamping length, no percentage";
    EXPECT_EQ(Element(7), 0.0f);
    EXPECT_EQ(Element(5), 0.0f);
    EXPECT_EQ(Element(6), 0.0f);
}

using FlexuralStrength = testing::EvaluationFixture;

TEST_F(FlexuralStrength, FourAndThreePointBending) {
    struct Case {
        std::uint8_t threePoint;
        float span, width, height, expected;
    };
    // L = 100, b = 50, h = 10, Fmax 5 kN: 5000 × 100 / (50 × 100) = 100, × 3/2 = 150.
    const Case cases[] = {{0, 100, 50, 10, 100.0f},
                          {1, 100, 50, 10, 150.0f},
                          {1, 100, 0, 10, 0.0f},
                          {0, 100, 50, 0, 0.0f}};
    for (const Case& c : cases) {
        SetUp();
        UseTestType(TestType::FlexuralStrength);
        FlatSpecimen(c.height, c.width, c.span, 120);
        P().FlexuralThreePoint = c.threePoint;
        P().Results[5].Decimals = 3;
        RecordPeak(*state, 5.0f);
        Evaluate();
        SCOPED_TRACE(::testing::Message() << "three-point " << int(c.threePoint) << " b " << c.width
                                          << " h " << c.height);
        EXPECT_FLOAT_EQ(Element(5), c.expected);
        EXPECT_FLOAT_EQ(R().ReL, c.expected);
        EXPECT_FLOAT_EQ(Element(4), 5000.0f);
        EXPECT_FLOAT_EQ(R().ReH, 5000.0f);
        EXPECT_FLOAT_EQ(R().Rm, 5000.0f);
        EXPECT_EQ(state->ResultDecimals[5], 3);
    }
}

// A specimen that breaks suddenly: the force rises to its maximum on the very last sample
// recorded, so that FmaxIndex lies behind SampleCount.
struct LastSampleCase {
    TestType type;
    int element;       // the strength in the results array
    int slot;          // its results-definition slot, switched on
    double expected;   // with Fmax 6 kN, So 20 mm², a 2, b 10, Lo 100, Lc 5, Le 80
};

class StrengthAtTheLastSample : public testing::EvaluationFixture,
                                public ::testing::WithParamInterface<LastSampleCase> {};

TEST_P(StrengthAtTheLastSample, ComesFromTheForceMaximum) {
    const LastSampleCase& c = GetParam();
    UseTestType(c.type);
    FlatSpecimen(2, 10, 100, 5);
    P().EffectiveSo = 20;
    P().GaugeLengthLe = 80;
    P().FlexuralThreePoint = 1;
    Slot(c.slot).Evaluate = 1;
    std::vector<CurvePoint> points;
    for (int i = 0; i <= 30; ++i) points.push_back({0.2f * static_cast<float>(i), 0.05f * i});
    RecordCurve(*state, points);
    ASSERT_GT(Marks().FmaxIndex, Marks().SampleCount);
    Evaluate();
    EXPECT_NEAR(Element(c.element), c.expected, std::fabs(c.expected) * 1e-5)
        << "test type " << static_cast<int>(c.type);
}

INSTANTIATE_TEST_SUITE_P(
    TypesThreeToNine, StrengthAtTheLastSample,
    ::testing::Values(LastSampleCase{TestType::ShearEn2563, 4, 5, 6000},
                      LastSampleCase{TestType::ShearEn2563, 5, 6, 3.0 * 6000 / (4 * 2 * 10)},
                      LastSampleCase{TestType::Chain, 2, 3, 6000},
                      LastSampleCase{TestType::Universal, 0, 1, 6000},
                      LastSampleCase{TestType::PlasticsIso527, 5, 6, 6000.0 / 20},
                      LastSampleCase{TestType::FlexuralModulus, 4, 5, 6000},
                      // 3 F L / (2 b h²) with the span Le 80, the width Lo 100, the height Lc 5
                      LastSampleCase{TestType::FlexuralModulus, 5, 6,
                                     3.0 * 6000 * 80 / (2 * 100 * 25)},
                      LastSampleCase{TestType::FlexuralStrength, 4, 5, 6000},
                      // three-point: 3 F L / (2 b h²) with the span Lo 100, b 10, h 2
                      LastSampleCase{TestType::FlexuralStrength, 5, 6,
                                     3.0 * 6000 * 100 / (2 * 10 * 4)},
                      LastSampleCase{TestType::Compression, 3, 4, 6000.0 / 20}));

}  // namespace
}  // namespace quorvex
