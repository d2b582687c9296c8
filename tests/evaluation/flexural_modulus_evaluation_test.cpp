// The flexural modulus from a beam of known modulus in three-point bending.
#include "evaluation/flexural_modulus_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "evaluation_fixture.h"

namespace quorvex {
namespace {

using testing::CurvePoint;
using testing::RecordCurve;

class FlexuralModulus : public testing::EvaluationFixture {
  protected:
    void SetUp() override {
        EvaluationFixture::SetUp();
        UseTestType(TestType::FlexuralModulus);
        // Span 64, thickness 4, width 10 as the specimen dialog of this type stores them.
        P().GaugeLengthLe = 64;
        P().EffectiveLc = 4;
        P().EffectiveLo = 10;
        P().EffectiveSo = 1;
        P().ProofStrain = 0.0005f;
        P().SecondProofStrain = 0.0025f;
    }

    // A beam of 3000 N/mm²: F = 4 E b h³ s / L³, loaded in steps of 0.05 mm to 2 mm (sample
    // 41, the maximum), breaking afterwards. `zero` is the travel of the first sample.
    void RecordBeam(float zero) {
        const double newtonsPerMm = 4.0 * 3000 * 10 * 64 / (64.0 * 64 * 64);
        std::vector<CurvePoint> points;
        for (int i = 0; i <= 40; ++i) {
            const double s = 0.05 * i;
            points.push_back(
                {static_cast<float>(newtonsPerMm * s / 1000), zero + static_cast<float>(s)});
        }
        points.push_back({0.03f, zero + 2.05f});
        points.push_back({0.02f, zero + 2.1f});
        points.push_back({0.001f, zero + 2.15f});
        points.push_back({0.0f, zero + 2.2f});
        RecordCurve(*state, points);
    }
};

TEST_F(FlexuralModulus, ChordModulusBetweenTheTwoStrainsAndTheStressAtFmax) {
    for (float zero : {0.0f, 0.3f}) {
        SetUp();
        RecordBeam(zero);
        Evaluate();
        SCOPED_TRACE(::testing::Message() << "first travel " << zero);
        // Deflections 0.0853 and 0.4267 mm (strain × L² / 6h), counted from the first sample.
        EXPECT_NEAR(Element(3), 3000.0f, 0.5f);
        const float fmax = state->Buffer.Force(41) * 1000;
        EXPECT_FLOAT_EQ(Element(4), fmax);
        EXPECT_FLOAT_EQ(Element(5), 3 * fmax * 64 / (2 * 10 * 16.0f));
        EXPECT_FLOAT_EQ(Element(6), zero + 2.0f) << "deflection at Fmax";
        // L, h, b and the flat specimen take the bending geometry.
        EXPECT_FLOAT_EQ(Element(0), 64.0f);
        EXPECT_FLOAT_EQ(Element(1), 4.0f);
        EXPECT_FLOAT_EQ(Element(2), 10.0f);
        EXPECT_FLOAT_EQ(P().Flat.Lo, 64.0f);
        EXPECT_FLOAT_EQ(P().Flat.a, 4.0f);
        EXPECT_FLOAT_EQ(P().Flat.b, 10.0f);
        EXPECT_FLOAT_EQ(R().Rm, 1.0f);
        EXPECT_TRUE(Marks().EvaluationDone);
    }
}

TEST_F(FlexuralModulus, ForceAtDeflectionInterpolatesAndMissesGiveZero) {
    RecordBeam(0.0f);
    const CurveView c(state->Buffer, P(), Marks());
    const double newtonsPerMm = 4.0 * 3000 * 10 * 64 / (64.0 * 64 * 64);
    EXPECT_NEAR(ForceAtDeflection(c, 0.425), newtonsPerMm * 0.425 / 1000, 1e-7);
    EXPECT_EQ(ForceAtDeflection(c, 0.0), 0.0) << "reached at the first sample";
    EXPECT_EQ(ForceAtDeflection(c, 5.0), 0.0) << "never reached";
    EXPECT_DOUBLE_EQ(DeflectionAtStrain(0.0025, 64, 4), 0.0025 * 64 * 64 / 24);
    EXPECT_EQ(DeflectionAtStrain(0.0025, 64, 0), 0.0);
}

TEST_F(FlexuralModulus, ZeroThicknessOrWidthGivesZeroNotInfinity) {
    for (auto [h, b] : {std::pair{0.0f, 10.0f}, std::pair{4.0f, 0.0f}}) {
        SetUp();
        P().EffectiveLc = h;
        P().EffectiveLo = b;
        RecordBeam(0.0f);
        Evaluate();
        EXPECT_EQ(Element(3), 0.0f) << h << " " << b;
        EXPECT_EQ(Element(5), 0.0f) << h << " " << b;
        EXPECT_GT(Element(4), 0.0f);
    }
}

}  // namespace
}  // namespace quorvex
