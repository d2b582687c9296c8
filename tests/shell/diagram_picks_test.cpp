// The results picked on the curve, on a tensile curve of known modulus and proof strength.
#include "shell/diagram_picks.h"

#include <gtest/gtest.h>

#include <memory>

#include "evaluation/curve_builder.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/tensile_evaluation.h"

namespace quorvex {
namespace {

using testing::BuildTensileCurve;
using testing::HardeningStress;
using testing::TensileModel;

class DiagramPicks : public ::testing::Test {
  protected:
    void Build(int testType = 0) {
        state->Parameters.TestType = testType;
        state->Parameters.StrainByTdm = 1;
        BuildTensileCurve(*state, model);
        EvaluateTest(*state, false);
    }
    ResultsRecord& R() { return state->Current(); }

    std::unique_ptr<TestState> state = std::make_unique<TestState>();
    TensileModel model;  // So 10 mm², Le 50 mm, E 210000, smooth yielding from 300 N/mm²
};

TEST_F(DiagramPicks, FieldsDecideWhatAClickMeans) {
    struct Case {
        int type;
        const char* field;
        PickKind kind;
    } cases[] = {
        {0, "E", PickKind::Modulus},
        {1, "ReH", PickKind::UpperYield},
        {2, "ReL", PickKind::LowerYield},
        {0, "Rp", PickKind::Proof},
        {0, "Ae", PickKind::Ae},
        {0, "Rm", PickKind::None},
        {9, "E", PickKind::Modulus},
        {9, "ReH", PickKind::None},
        {9, "Sig-B", PickKind::CompressionYield},
        {9, "Sig-X2", PickKind::CompressionStress},
        {9, "Eps-dB", PickKind::CompressionStrain},
        {9, "Phi-dB", PickKind::None},
        {3, "Tau", PickKind::ShearForce},
        {5, "Sx", PickKind::UniversalTravel},
        {5, "Fmax", PickKind::None},
        {6, "E", PickKind::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PickKindOfField(c.type, c.field), c.kind) << c.type << " " << c.field;
    }
}

TEST_F(DiagramPicks, ModulusIsShownFirstAndKeptWhenTaken) {
    for (int type : {0, 9}) {
        Build(type);
        const TestMarks before = state->Marks;
        // Samples 21 and 81 lie on the elastic line, at about 60 and 240 N/mm².
        const double shown = PickModulus(*state, 81, 21);
        EXPECT_NEAR(shown, model.E, model.E * 1e-3);
        EXPECT_EQ(state->Marks.ModulusRangeStart, before.ModulusRangeStart);

        AcceptModulus(*state, 21, 81);
        EXPECT_FLOAT_EQ(R().E, static_cast<float>(shown)) << type;
        EXPECT_EQ(state->Marks.ModulusRangeStart, 21);
        EXPECT_EQ(state->Marks.ModulusRangeEnd, 81);
        EXPECT_TRUE(state->Marks.EvaluationDone);
        if (type == 9) {
            EXPECT_FLOAT_EQ(R().Results[10], static_cast<float>(shown));
        }
    }
    EXPECT_DOUBLE_EQ(InStressUnit(1000, 2), 145037.7);
    EXPECT_DOUBLE_EQ(InStressUnit(1000, 1), 1000);
}

TEST_F(DiagramPicks, YieldPicksReplaceTheirValueAndTheStrengthRatio) {
    struct Case {
        bool upper;
        int ratioKind;
        bool ratioOn;
        double ratio;
    } cases[] = {
        {false, 4, true, 2.0},   // Rm/ReL
        {true, 7, true, 0.6},    // ReH/Rm
        {false, 4, false, 0.0},  // the ratio is not evaluated: it stays
        {true, 4, true, 0.0},    // Rm/ReL without ReL
    };
    for (const Case& c : cases) {
        *state = TestState{};
        state->Parameters.EffectiveSo = 10;
        state->Parameters.RatioKind = c.ratioKind;
        state->Parameters.Results[kSlotRatio - 1].Evaluate = c.ratioOn;
        R().Rm = 500;
        const double y = c.upper ? 300 : 250;
        EXPECT_DOUBLE_EQ(PickYield(*state, c.upper, y), y * 10);  // N
        EXPECT_FLOAT_EQ(c.upper ? R().ReH : R().ReL, static_cast<float>(y));
        EXPECT_NEAR(R().RatioR1R2, c.ratio, 1e-6) << c.ratioKind;
    }
}

TEST_F(DiagramPicks, ProofPickReplacesTheElasticLineAndSearchesTheCrossingAgain) {
    Build();
    const double rp = PickProof(*state, 21, 81).value_or(0);
    EXPECT_NEAR(rp, HardeningStress(model, 0.001), 3);
    EXPECT_NEAR(state->Marks.ModulusLineSlope * 100, model.E, model.E * 1e-3);
    EXPECT_NEAR(state->Marks.ModulusLineIntercept, 0, 0.5);
    EXPECT_NEAR(state->Current().Rp, rp, 3);  // the pick only offers its value

    EXPECT_GT(state->Marks.ProofIndex1, model.ElasticPoints);  // the new crossing, drawn

    EXPECT_FALSE(PickProof(*state, 30, 30));  // no line through one sample
    state->Parameters.ProofStrain = 0;
    EXPECT_FALSE(PickProof(*state, 21, 81));
    state->Parameters.ProofStrain = 0.1f;
    state->Parameters.GaugeLengthLe = 0;
    EXPECT_FALSE(PickProof(*state, 21, 81));
}

TEST_F(DiagramPicks, AeIsKeptWhenPositive) {
    EXPECT_TRUE(PickAe(*state, 0.5, 2.25));
    EXPECT_FLOAT_EQ(R().Ae, 1.75f);
    EXPECT_FALSE(PickAe(*state, 2.25, 2.0));
    EXPECT_FALSE(PickAe(*state, 1.0, 1.0));
    EXPECT_FLOAT_EQ(R().Ae, 1.75f);
}

TEST_F(DiagramPicks, OneClickPicksOfTheOtherTestTypes) {
    struct Case {
        int type;
        const char* field;
        int element;
        double expected;
        int secondElement = -1;
        double secondExpected = 0;
    } cases[] = {
        {3, "Fmax", 4, 3000, 5, 225},  // τ = 3 × 3000 N / 4 / 5 mm / 2 mm
        {5, "Fx", 4, 3000},           {5, "Sx", 5, 1.5},
        {5, "SigX", 16, 300},  // 3000 N over 10 mm²
        {9, "Sig-B", 3, 3, 8, 1.5},   {9, "Sig-F", 7, 3},
        {9, "Sig-X2", 5, 3},          {9, "Eps-dB", 8, 1.5},
    };
    for (const Case& c : cases) {
        *state = TestState{};
        state->Parameters.TestType = c.type;
        state->Parameters.EffectiveSo = 10;
        state->Parameters.Results[8].Evaluate = 1;  // Eps-dB of the compression test
        R().a = 2;
        R().b = 5;
        PickValue(*state, c.field, 1.5, 3);
        EXPECT_FLOAT_EQ(R().Results[c.element], static_cast<float>(c.expected)) << c.field;
        if (c.secondElement >= 0) {
            EXPECT_FLOAT_EQ(R().Results[c.secondElement], static_cast<float>(c.secondExpected))
                << c.field;
        }
    }
    // The compression test takes the strain of Sig-B only when it evaluates Eps-dB.
    *state = TestState{};
    state->Parameters.TestType = 9;
    state->Parameters.Results[8].Evaluate = 0;
    PickValue(*state, "Sig-B", 1.5, 3);
    EXPECT_FLOAT_EQ(R().Results[8], 0.0f);
    // The shear test shows its force and strength in the ReH and ReL fields as well.
    state->Parameters.TestType = 3;
    R().a = 2;
    R().b = 5;
    PickValue(*state, "Tau", 0, 3);
    EXPECT_FLOAT_EQ(R().ReH, 3000);
    EXPECT_FLOAT_EQ(R().ReL, 225);
}

}  // namespace
}  // namespace quorvex
