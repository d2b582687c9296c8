#include "evaluation/tensile_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "curve_builder.h"
#include "evaluation/evaluate_test.h"

namespace quorvex {
namespace {

using testing::BuildTensileCurve;
using testing::BuiltCurve;
using testing::HardeningStress;
using testing::Record;
using testing::TensileModel;

class TensileEvaluation : public ::testing::Test {
protected:
    void SetUp() override { state = std::make_unique<TestState>(); }

    ParameterSet& P() { return state->Parameters; }
    ResultsRecord& R() { return state->Current(); }
    TestMarks& Marks() { return state->Marks; }
    void Evaluate(bool keepModulus = false) { EvaluateTest(*state, keepModulus); }
    void SetSlot(int slot, bool on) { P().Results[static_cast<std::size_t>(slot - 1)].Evaluate = on; }
    float Extension(int i) { return state->Buffer.Extension(i); }
    float Travel(int i) { return state->Buffer.Travel(i); }

    // A low-carbon steel with a yield point, measured with the extensometer.
    TensileModel YieldPointSteel() {
        TensileModel m;
        m.ReH = 420;
        m.ReL = 350;
        P().StrainByTdm = 1;
        SetSlot(kSlotReH, true);
        SetSlot(kSlotReL, true);
        return m;
    }

    std::unique_ptr<TestState> state;
};

TEST_F(TensileEvaluation, YieldPointSteelGivesItsModelValues) {
    const TensileModel m = YieldPointSteel();
    SetSlot(kSlotAgt, true);
    const BuiltCurve built = BuildTensileCurve(*state, m);
    Evaluate();

    EXPECT_TRUE(Marks().EvaluationDone);
    EXPECT_NEAR(R().E, m.E, m.E * 1e-4);
    EXPECT_NEAR(R().ReH, 420.0, 1e-3);
    EXPECT_NEAR(R().ReL, 350.0, 1e-3);
    EXPECT_EQ(R().Rp, 0.0f) << "a yield point replaces the proof strength";
    EXPECT_NEAR(R().Rm, 500.0, 1e-3);
    EXPECT_EQ(Marks().FmaxIndex, built.FmaxSample);
    // Necking loses 0.2 % of Rm per sample: the third sample after Fmax is below 99.5 %.
    EXPECT_EQ(Marks().BreakIndex, built.FmaxSample + 3);
    EXPECT_EQ(Marks().ExtensionEndIndex, Marks().SampleCount) << "extension grows to the end";
    // The proof search stops just before 0.1 % plastic strain, on the Lüders plateau.
    const int P1 = Marks().ProofIndex1;
    EXPECT_LT(built.PlasticStrain[static_cast<std::size_t>(P1)], 0.001);
    EXPECT_GE(built.PlasticStrain[static_cast<std::size_t>(P1 + 1)], 0.001 - 1e-6);

    // Ag is the plastic extension at the force maximum: the model's uniform elongation.
    // The flat top of the model holds its largest force (as a float) over a few samples: their
    // middle lies a little before the model's point of Ag.
    EXPECT_NEAR(R().Ag, m.Ag * 100.0, 0.05);
    int first = Marks().FmaxIndex;
    while (state->Buffer.Force(first - 1) == state->Buffer.Force(Marks().FmaxIndex)) --first;
    ASSERT_LT(first, Marks().FmaxIndex);
    const double middle = (Extension(first) + Extension(Marks().FmaxIndex)) / 2;
    EXPECT_NEAR(R().Agt, (middle - Extension(1)) / m.Le * 100.0, 1e-3);
    EXPECT_NEAR(R().Agt - R().Ag, 500.0 / R().E * 100.0, 1e-3) << "the elastic part Rm / E";
    const int N = Marks().SampleCount - 2;
    const double sigmaN = state->Buffer.Force(N) * 1000.0 / m.So;
    EXPECT_NEAR(R().GaugeAtAt, m.Lo + Extension(N) - Extension(1), 1e-3);
    EXPECT_NEAR(R().GaugeAtAc, R().GaugeAtAt - sigmaN * m.Lo / R().E, 1e-3);
    EXPECT_NEAR(R().At, (R().GaugeAtAt - m.Lo) / m.Lo * 100.0, 1e-3);
}

TEST_F(TensileEvaluation, SmoothYieldingGivesProofStrengths) {
    TensileModel m;
    P().StrainByTdm = 1;
    SetSlot(kSlotRt, true);
    SetSlot(kSlotReH, true);  // no drop: no yield point, the proof strengths stay
    BuildTensileCurve(*state, m);
    Evaluate();
    EXPECT_NEAR(R().E, m.E, m.E * 1e-4);
    EXPECT_NEAR(R().Rp, HardeningStress(m, 0.001), 0.5);
    EXPECT_NEAR(R().Rp2, HardeningStress(m, 0.002), 0.5);
    EXPECT_EQ(R().ReH, 0.0f);
    EXPECT_GT(Marks().ProofIndex2, Marks().ProofIndex1);

    // Rt0.5: the stress at 0.5 % total strain, found by bisection on the model.
    P().SecondProofIsRt = 1;
    P().SecondProofStrain = 0.5f;
    Evaluate();
    double lo = 0, hi = m.Ag;
    for (int k = 0; k < 100; ++k) {
        const double mid = (lo + hi) / 2;
        (HardeningStress(m, mid) / m.E + mid < 0.005 ? lo : hi) = mid;
    }
    EXPECT_NEAR(R().Rp2, HardeningStress(m, lo), 0.5);
}

// Synthetic curves with exact answers: strain (fraction) of the measuring gauge per sample,
// stress over it, and the strain at which the force maximum (or the middle of its plateau)
// lies. So is 10 mm², E fixed at 200000 N/mm²; Rm is 500 N/mm² in every curve.
struct ElongationCase {
    const char* what;
    double (*stress)(double strain);
    double strainAtMaximum;
    double Lo, Le, Lc;
    bool extensometer;
};

double SharpPeak(double e) { return e <= 0.1 ? 5000 * e : 500 - 5000 * (e - 0.1); }
double RoundedTop(double e) { return 500 - 50000 * (e - 0.1) * (e - 0.1); }
double Plateau(double e) {
    if (e < 0.08) return 500 - 50000 * (e - 0.08) * (e - 0.08);
    if (e > 0.14) return 500 - 50000 * (e - 0.14) * (e - 0.14);
    return 500;
}

class Elongations : public TensileEvaluation,
                    public ::testing::WithParamInterface<ElongationCase> {};

TEST_P(Elongations, AtTheForceMaximumOnTheMeasuringGauge) {
    const ElongationCase& c = GetParam();
    P().EffectiveSo = 10;
    P().EffectiveLo = static_cast<float>(c.Lo);
    P().EffectiveLc = static_cast<float>(c.Lc);
    P().GaugeLengthLe = static_cast<float>(c.Le);
    P().StrainByTdm = c.extensometer ? 1 : 0;
    P().UseFixedModulus = 1;
    P().FixedModulus = 200000;
    for (int slot : {kSlotAg, kSlotAgt, kSlotAc, kSlotAt}) SetSlot(slot, true);
    // 0.1 % strain per sample up to 17 %, then the two samples of the fracture.
    for (int i = 0; i <= 170; ++i) {
        const double e = 0.001 * i;
        const float force = static_cast<float>(c.stress(e) * 10 / 1000);
        Record(*state, force, static_cast<float>(e * c.Lc),
               c.extensometer ? static_cast<float>(e * c.Le) : 0.0f);
    }
    Record(*state, 0.1f, static_cast<float>(0.171 * c.Lc), 0);
    Record(*state, 0.0f, static_cast<float>(0.172 * c.Lc), 0);
    FinishRecording(Marks());
    Evaluate();

    const double elastic = 500.0 / 200000;
    EXPECT_NEAR(R().Rm, 500.0, 1e-3) << c.what;
    EXPECT_NEAR(R().Agt, c.strainAtMaximum * 100, 1e-3) << c.what;
    EXPECT_NEAR(R().Ag, (c.strainAtMaximum - elastic) * 100, 1e-3) << c.what;
    EXPECT_NEAR(R().GaugeAtAg, c.Lo * (1 + c.strainAtMaximum - elastic), 1e-3) << c.what;
    // The fracture point is sample N - 2: strain 0.168 of the last recorded curve sample 169.
    const double fracture = 0.001 * (Marks().SampleCount - 3);
    EXPECT_NEAR(R().At, fracture * 100, 1e-3) << c.what;
    EXPECT_NEAR(R().Ac, (fracture - c.stress(fracture) / 200000) * 100, 1e-3) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Curves, Elongations,
    ::testing::Values(ElongationCase{"sharp peak", SharpPeak, 0.1, 50, 50, 60, true},
                      ElongationCase{"rounded top", RoundedTop, 0.1, 50, 50, 60, true},
                      ElongationCase{"plateau", Plateau, 0.11, 50, 50, 60, true},
                      ElongationCase{"Lo 80, Le 50", RoundedTop, 0.1, 80, 50, 100, true},
                      ElongationCase{"crosshead over Lc", RoundedTop, 0.1, 50, 50, 60, false},
                      ElongationCase{"crosshead, plateau", Plateau, 0.11, 50, 50, 75, false}));

// An extensometer taken off before the force maximum reads 0 from there on: it gives no Ag,
// Agt, At or Ac (not negative ones); the crosshead still gives them.
TEST_F(TensileEvaluation, AnExtensometerTakenOffBeforeTheMaximumGivesNoElongations) {
    P().EffectiveSo = 10;
    P().UseFixedModulus = 1;
    P().FixedModulus = 200000;
    for (int slot : {kSlotAg, kSlotAgt, kSlotAc, kSlotAt}) SetSlot(slot, true);
    for (int i = 0; i <= 170; ++i) {
        const double e = 0.001 * i;
        Record(*state, static_cast<float>(RoundedTop(e) / 100), static_cast<float>(e * 60),
               i < 50 ? static_cast<float>(e * 50) : 0.0f);
    }
    Record(*state, 0.1f, 10.3f, 0);
    Record(*state, 0.0f, 10.4f, 0);
    FinishRecording(Marks());
    P().StrainByTdm = 1;
    Evaluate();
    EXPECT_EQ(R().Ag, 0.0f);
    EXPECT_EQ(R().Agt, 0.0f);
    EXPECT_EQ(R().At, 0.0f);
    EXPECT_EQ(R().Ac, 0.0f);
    P().StrainByTdm = 0;
    Evaluate();
    EXPECT_NEAR(R().Agt, 10.0, 1e-3);
}

TEST_F(TensileEvaluation, ExtensometerThatHardlyMovedIsNotUsed) {
    TensileModel m = YieldPointSteel();
    BuildTensileCurve(*state, m);
    for (int i = 1; i <= Marks().StoredSamples; ++i) {
        float& e = state->Buffer.At(Channel::Extension, i);
        e = std::min(e, 0.2f);
    }
    Evaluate();
    EXPECT_EQ(R().E, 210000.0f) << "the fixed modulus";
    EXPECT_EQ(R().Rp, 0.0f);
    EXPECT_EQ(Marks().ExtensionEndIndex, 1);
    // The force alone shows the drop.
    EXPECT_NEAR(R().ReH, 420.0, 1e-3);
    EXPECT_NEAR(R().ReL, 350.0, 1e-3);
}

struct YieldDropCase {
    double ReH;
    bool extensometer;
    bool yieldPoint;
};

class YieldDrop : public TensileEvaluation, public ::testing::WithParamInterface<YieldDropCase> {};

TEST_P(YieldDrop, NeedsTheLeastDrop) {
    const YieldDropCase c = GetParam();
    TensileModel m = YieldPointSteel();
    m.ReH = c.ReH;
    SetSlot(kSlotRt, true);
    BuildTensileCurve(*state, m);
    if (!c.extensometer) {
        for (int i = 1; i <= Marks().StoredSamples; ++i) state->Buffer.At(Channel::Extension, i) = 0;
    }
    Evaluate();
    if (c.yieldPoint) {
        EXPECT_NEAR(R().ReH, c.ReH, 1e-3);
        EXPECT_NEAR(R().ReL, 350.0, 1e-3);
        EXPECT_EQ(R().Rp, 0.0f);
        EXPECT_EQ(R().Rp2, 0.0f);
    } else {
        EXPECT_EQ(R().ReH, 0.0f);
        EXPECT_EQ(R().ReL, 0.0f);
        if (c.extensometer) {
            EXPECT_GT(R().Rp, 300.0f) << "the proof strength stays";
        }
    }
}

// YieldDropMin is 50 N/mm².
INSTANTIATE_TEST_SUITE_P(Cases, YieldDrop,
                         ::testing::Values(YieldDropCase{399, true, false},
                                           YieldDropCase{400, true, true},
                                           YieldDropCase{399, false, false},
                                           YieldDropCase{400, false, true}));

TEST_F(TensileEvaluation, ProofPointWithinSevenSamplesGivesNoYieldPoint) {
    TensileModel m = YieldPointSteel();
    m.ElasticPoints = 3;
    m.LuedersPoints = 5;
    P().UseFixedModulus = 1;
    BuildTensileCurve(*state, m);
    Evaluate();
    EXPECT_LE(Marks().ProofIndex1, 7);
    EXPECT_EQ(R().ReH, 0.0f);
    EXPECT_EQ(R().ReL, 0.0f);
    EXPECT_GT(R().Rp, 0.0f);
}

TEST_F(TensileEvaluation, FixedModulusUsesTheLineThroughZero) {
    TensileModel m;
    P().StrainByTdm = 1;
    P().UseFixedModulus = 1;
    P().FixedModulus = 200000;
    BuildTensileCurve(*state, m);
    Evaluate();
    EXPECT_EQ(R().E, 200000.0f);
    EXPECT_EQ(Marks().ModulusLineIntercept, 0.0);
    // A softer line moves the 0.1 % crossing: the proof search uses the given modulus.
    EXPECT_GT(R().Rp, 0.0f);
    EXPECT_NE(R().Rp, static_cast<float>(HardeningStress(m, 0.001)));
}

TEST_F(TensileEvaluation, TooFewPointsForTheAutomaticModulus) {
    // 15 samples up to Fmax: no window of 20 points, so no modulus and no elongations.
    P().StrainByTdm = 1;
    for (int i = 0; i <= 15; ++i) Record(*state, 0.3f * i, 0.04f * i, 0.02f * i);
    for (int i = 0; i < 5; ++i) Record(*state, 4.5f - i, 0.7f + 0.1f * i, 0.35f + 0.05f * i);
    FinishRecording(Marks());
    Evaluate();
    EXPECT_EQ(R().E, 0.0f);
    EXPECT_EQ(R().Ag, 0.0f);
    EXPECT_EQ(R().At, 0.0f);
    EXPECT_EQ(R().GaugeAtAg, 0.0f);
    EXPECT_EQ(R().Rp, 0.0f);
    EXPECT_NEAR(R().Rm, 4.5 * 1000 / 78.54, 1e-3);
    EXPECT_TRUE(Marks().EvaluationDone);
}

TEST_F(TensileEvaluation, ForceStayingAtTheMaximumBreaksAtTheLastSample) {
    TensileModel m;
    m.NeckingDrop = 0.004;
    BuildTensileCurve(*state, m);
    Evaluate();
    EXPECT_EQ(Marks().BreakIndex, Marks().SampleCount);
}

TEST_F(TensileEvaluation, ElongationAfterFractureOfScrewsIso3506IsInMillimetres) {
    TensileModel m;
    BuildTensileCurve(*state, m);
    float ac[3] = {};
    for (int type = 0; type <= 2; ++type) {
        P().TestType = type;
        Evaluate();
        ac[type] = R().Ac;
        if (type == 0) {
            EXPECT_NEAR(ac[0], (R().GaugeAtAc - m.Lo) / m.Lo * 100.0, 1e-3);
        }
    }
    EXPECT_EQ(ac[1], ac[0]);
    EXPECT_NEAR(ac[2], ac[0] * m.Lo / 100.0, 1e-3);
    // The screw types carry the round specimen and the screw choice in the results array.
    EXPECT_EQ(R().Results[0], P().Round.d);
    EXPECT_EQ(R().Results[3], P().Round.So);
}

TEST_F(TensileEvaluation, StrengthRatios) {
    ResultsRecord r;
    r.Rm = 500;
    r.ReH = 380;
    r.Rp = 250;
    EXPECT_NEAR(*StrengthRatio(7, r), 0.76, 1e-9);
    EXPECT_NEAR(*StrengthRatio(1, r), 2.0, 1e-9);
    EXPECT_NEAR(*StrengthRatio(5, r), 0.5, 1e-9);
    EXPECT_EQ(*StrengthRatio(2, r), 0.0) << "no Rt: no ratio";
    EXPECT_FALSE(StrengthRatio(9, r).has_value());
    r.ReH = 0;
    EXPECT_EQ(*StrengthRatio(7, r), 0.0);

    const TensileModel m = YieldPointSteel();
    BuildTensileCurve(*state, m);
    SetSlot(kSlotRatio, true);
    P().RatioKind = 7;
    Evaluate();
    EXPECT_NEAR(R().RatioR1R2, 420.0 / 500.0, 1e-5);
}

TEST_F(TensileEvaluation, ModulusBetweenTwoForcesAndItsDegenerateRange) {
    TensileModel m;
    P().StrainByTdm = 1;
    P().ModulusMethod = 1;
    BuildTensileCurve(*state, m);
    Evaluate();
    EXPECT_NEAR(R().E, m.E, m.E * 1e-4);
    // Elastic samples are 3 N/mm² apart: 10 % and 30 % of Fmax (50 and 150 N/mm²).
    EXPECT_EQ(Marks().ModulusRangeStart, 18);
    EXPECT_EQ(Marks().ModulusRangeEnd, 52);

    const CurveView c(state->Buffer, P(), Marks());
    EXPECT_EQ(RegressionModulus(c, Marks(), 30, 30), 200000.0);
    EXPECT_EQ(Marks().ModulusLineIntercept, 0.0);
}

TEST_F(TensileEvaluation, HysteresisLoopGivesTheModulus) {
    // Elastic to 300 N/mm² at 210000, an unload-reload loop at 180000, then hardening.
    P().StrainByTdm = 1;
    P().HysteresisActive = 1;
    const double So = 10, Le = 50;
    P().EffectiveSo = So;
    P().GaugeLengthLe = Le;
    auto add = [&](double stress, double strain) {
        Record(*state, static_cast<float>(stress * So / 1000), static_cast<float>(strain * 50),
               static_cast<float>(strain * Le));
    };
    for (int i = 0; i <= 60; ++i) add(5.0 * i, 5.0 * i / 210000);
    const double top = 300.0 / 210000;
    Marks().HysteresisStart = Marks().StoredSamples + 1;
    for (int i = 1; i <= 20; ++i) add(300 - 10.0 * i, top - 10.0 * i / 180000);
    for (int i = 1; i <= 20; ++i) add(100 + 10.0 * i, top - (200 - 10.0 * i) / 180000);
    Marks().HysteresisEnd = Marks().StoredSamples;
    for (int i = 1; i <= 200; ++i) add(300 + i, top + 0.0005 * i);
    for (int i = 1; i <= 10; ++i) add(500 - 20.0 * i, top + 0.1 + 0.001 * i);
    FinishRecording(Marks());
    Evaluate();
    EXPECT_NEAR(R().E, 180000, 20);
    // The line of the proof search comes from the automatic window on the first loading.
    EXPECT_LT(Marks().ModulusRangeStart, Marks().HysteresisStart);
    EXPECT_NEAR(Marks().ModulusLineSlope * 100, 210000, 50);
}

TEST_F(TensileEvaluation, KeptModulusSurvivesTheNextEvaluation) {
    TensileModel m;
    P().StrainByTdm = 1;
    BuildTensileCurve(*state, m);
    Evaluate();
    const float automaticRp = R().Rp;
    // The operator marks two samples on the diagram.
    const CurveView c(state->Buffer, P(), Marks());
    R().E = static_cast<float>(RegressionModulus(c, Marks(), 40, 100) * 0.9);
    const float picked = R().E;
    Evaluate(true);
    EXPECT_EQ(R().E, picked);
    EXPECT_NE(R().Rp, automaticRp);
    Evaluate(false);
    EXPECT_NEAR(R().E, m.E, m.E * 1e-4);
}

TEST_F(TensileEvaluation, AnisotropyAndHardeningExponent) {
    TensileModel m;
    m.RValue = 1.8;
    P().StrainByTdm = 1;
    SetSlot(kSlotRValue, true);
    BuildTensileCurve(*state, m);
    Evaluate();
    EXPECT_NEAR(R().r, 1.8, 2e-3);

    // A power law: true stress = K × true strain ^ 0.22.
    state = std::make_unique<TestState>();
    SetSlot(kSlotNValue, true);
    P().EffectiveSo = 10;
    P().EffectiveLo = P().GaugeLengthLe = 50;
    for (int i = 0; i <= 400; ++i) {
        const double strain = 0.3 * i / 400;
        const double trueStress = i == 0 ? 0 : 800 * std::pow(std::log1p(strain), 0.22);
        Record(*state, static_cast<float>(trueStress / (1 + strain) * 10 / 1000), 0,
               static_cast<float>(strain * 50));
    }
    FinishRecording(Marks());
    Evaluate();
    EXPECT_NEAR(R().n, 0.22, 1e-3);
}

TEST_F(TensileEvaluation, NoCurveComputesNothing) {
    R().Rm = 123;
    R().Ae = 5;
    Marks().EvaluationDone = true;
    Evaluate();
    EXPECT_EQ(R().Rm, 0.0f);
    EXPECT_EQ(R().Ae, 0.0f);
    EXPECT_FALSE(Marks().EvaluationDone);
    EXPECT_EQ(R().d, P().Round.d) << "the record is still prepared";
}

TEST_F(TensileEvaluation, MaximumWithinFiveSamplesHasNoForceYieldPoint) {
    for (float f : {1.0f, 3.0f, 5.0f, 2.0f, 1.5f, 1.0f, 0.5f, 0.2f}) Record(*state, f, 0, 0);
    FinishRecording(Marks());
    const CurveView c(state->Buffer, P(), Marks());
    const YieldPoints yield = YieldFromForce(c);
    EXPECT_EQ(yield.ReH, 0.0);
    EXPECT_EQ(yield.ReL, 0.0);
}

TEST_F(TensileEvaluation, OtherTestTypesArePreparedFromTheSpecimen) {
    TensileModel m;
    BuildTensileCurve(*state, m);
    // The flexural modulus keeps the span, thickness and width that the preparation put
    // into its first elements; the compression test puts its own D, H and S0 there.
    P().TestType = 7;
    Evaluate();
    EXPECT_TRUE(Marks().EvaluationDone);
    EXPECT_EQ(R().Rm, 1.0f);
    EXPECT_EQ(R().Results[0], P().GaugeLengthLe);
    EXPECT_EQ(R().Results[1], P().EffectiveLc);
    EXPECT_EQ(R().Results[2], P().EffectiveLo);
    EXPECT_EQ(R().d, P().EffectiveLc);
    P().TestType = 9;
    Evaluate();
    EXPECT_EQ(R().Results[1], P().GaugeLengthLe);
    EXPECT_EQ(R().Results[2], P().EffectiveSo);
    EXPECT_EQ(R().d, P().EffectiveLc);
}

}  // namespace
}  // namespace quorvex
