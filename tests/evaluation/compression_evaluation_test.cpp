// The compression test: specimen values, modulus, the three proof strengths, the kept
// modulus, the column headings and the probe monitoring.
#include "evaluation/compression_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "evaluation/result_elements.h"
#include "evaluation_fixture.h"

namespace quorvex {
namespace {

using testing::BuildTensileCurve;
using testing::HardeningStress;
using testing::RecordCurve;
using testing::TensileModel;

class CompressionEvaluation : public testing::EvaluationFixture {
  protected:
    void SetUp() override {
        EvaluationFixture::SetUp();
        UseTestType(TestType::Compression);
        SetSlots({5, 6, 7}, true);
        P().ProofStrain = 0.2f;
        P().SecondProofStrain = 0.5f;
        P().ThirdProofStrain = 1.0;
        for (int slot = 1; slot <= 12; ++slot) Slot(slot).Decimals = slot % 4;
    }
};

TEST_F(CompressionEvaluation, WithoutExtensometerTheModulusIsFixedAndNoProofValues) {
    P().EffectiveSo = 78.54f;
    P().GaugeLengthLe = 20;
    RecordCurve(*state, {{0, 0}, {50, 0.5f}, {100, 1}, {120, 2}, {60, 3}, {10, 4}, {0, 5}});
    Evaluate();

    EXPECT_NEAR(Element(0), 10.0f, 1e-4f) << "D from So";
    EXPECT_FLOAT_EQ(Element(1), 20.0f) << "H is the height Le";
    EXPECT_FLOAT_EQ(Element(2), 78.54f);
    EXPECT_FLOAT_EQ(Element(10), 2000000.0f);
    EXPECT_FLOAT_EQ(R().E, 2000000.0f);
    EXPECT_NEAR(Element(3), 120000.0 / 78.54, 0.01) << "Sig-dB at the force maximum";
    for (int element : {4, 5, 6, 7, 8, 9}) EXPECT_EQ(Element(element), 0.0f) << element;
    EXPECT_EQ(Marks().ProofIndex1, 3);
    EXPECT_EQ(Marks().ProofIndex2, 3);
    EXPECT_EQ(Marks().ProofIndex3, 3);
    EXPECT_EQ(Marks().ExtensionEndIndex, 1);
    EXPECT_EQ(Marks().BreakIndex, 5);
    for (int j = 0; j < 12; ++j)
        EXPECT_EQ(state->ResultDecimals[static_cast<std::size_t>(j)], (j + 1) % 4);
    EXPECT_TRUE(Marks().EvaluationDone);
}

TEST_F(CompressionEvaluation, ProofStrengthsAtThreeStrains) {
    TensileModel m;  // elastic to 300 N/mm², hardening to 500 N/mm²
    BuildTensileCurve(*state, m);
    Evaluate();

    EXPECT_NEAR(Element(10), m.E, m.E * 1e-4);
    EXPECT_NEAR(Element(4), HardeningStress(m, 0.002), 0.5);
    EXPECT_NEAR(Element(5), HardeningStress(m, 0.005), 0.5);
    EXPECT_NEAR(Element(6), HardeningStress(m, 0.010), 0.5);
    EXPECT_LT(Marks().ProofIndex1, Marks().ProofIndex2);
    EXPECT_LT(Marks().ProofIndex2, Marks().ProofIndex3);

    // A switched-off column stays 0.
    SetUp();
    Slot(6).Evaluate = 0;
    BuildTensileCurve(*state, m);
    Evaluate();
    EXPECT_EQ(Element(5), 0.0f);
    EXPECT_GT(Element(6), 0.0f);
}

TEST_F(CompressionEvaluation, AModulusChosenOnTheDiagramIsKeptWithTheEnteredValues) {
    TensileModel m;
    BuildTensileCurve(*state, m);
    Evaluate();
    const float automatic = Element(4);

    // The operator's modulus and an entered final diameter survive the re-evaluation.
    R().E = 150000;
    R().Results[10] = 150000;
    R().Results[9] = 12.5f;
    Evaluate(true);
    EXPECT_FLOAT_EQ(Element(10), 150000.0f);
    EXPECT_FLOAT_EQ(Element(9), 12.5f);
    EXPECT_NE(Element(4), automatic) << "the proof line follows the chosen modulus";
    EXPECT_GT(Element(4), 0.0f);

    Evaluate(false);
    EXPECT_EQ(Element(9), 0.0f);
    EXPECT_NEAR(Element(10), m.E, m.E * 1e-4);
}

TEST(CompressionColumnHeading, StrainWithoutTrailingZeros) {
    const std::pair<double, const char*> cases[] = {
        {0.2, "Sig-d0.2"},   {1.0, "Sig-d1"}, {10.0, "Sig-d10"}, {2.5, "Sig-d2.5"},
        {0.25, "Sig-d0.25"}, {0.0, "Sig-d"},  {0.001, "Sig-d"}};
    for (const auto& [strain, heading] : cases)
        EXPECT_EQ(CompressionColumnHeading(strain), heading) << strain;
}

struct ProbeCase {
    const char* what;
    float p1, p2, p3;
    bool passed;
    int probe;
};

class ProbeMonitoringTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeMonitoringTest, DeviationFromTheMeanBeyondBothTolerances) {
    const ProbeCase& c = GetParam();
    auto state = std::make_unique<TestState>();
    state->Parameters.ProbeTolerance = 1.5;
    state->Marks.SampleCount = 8;
    for (int i = 1; i <= 8; ++i) {
        // Samples 5 and 6 carry the case; the rest agree.
        const bool hit = i == 5 || i == 6;
        state->Buffer.At(Channel::Probe1, i) = hit ? c.p1 : 10;
        state->Buffer.At(Channel::Probe2, i) = hit ? c.p2 : 10;
        state->Buffer.At(Channel::Probe3, i) = hit ? c.p3 : 10;
    }
    const ProbeCheck check = ProbeMonitoring(state->Buffer, state->Marks, state->Parameters);
    EXPECT_EQ(check.Passed, c.passed);
    EXPECT_EQ(check.Probe, c.probe);
    if (c.passed) {
        EXPECT_TRUE(check.Message.empty());
    } else {
        EXPECT_EQ(check.Sample, 5);
        const double mean = (c.p1 + c.p2 + c.p3) / 3.0;
        EXPECT_NEAR(check.Mean, mean, 1e-5);
        char expected[120];
        std::snprintf(expected, sizeof expected,
                      "Fehler bei Messwertgeber-Überwachung / Taster = %d / %.3f mm", c.probe,
                      mean);
        EXPECT_EQ(check.Message, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProbeMonitoringTest,
    ::testing::Values(ProbeCase{"all equal", 10, 10, 10, true, 0},
                      // 2 mm from the mean of 10: beyond 1.5 % (0.15 mm) and beyond 1.5 mm.
                      ProbeCase{"one probe 2 mm off", 9, 12, 9, false, 2},
                      ProbeCase{"1 mm off stays within 1.5 mm", 9.5f, 11, 9.5f, true, 0},
                      // Mean 200: 2.5 mm off is more than 1.5 mm but within 1.5 % (3 mm).
                      ProbeCase{"within the percentage", 198.75f, 202.5f, 198.75f, true, 0},
                      ProbeCase{"several: the highest number", 6, 12, 12, false, 3}));

TEST(ProbeMonitoring, OnlySamplesThreeToTheLastButOneCount) {
    auto state = std::make_unique<TestState>();
    state->Parameters.ProbeTolerance = 1.5;
    state->Marks.SampleCount = 6;
    for (int i = 1; i <= 6; ++i) {
        for (Channel probe : {Channel::Probe1, Channel::Probe2, Channel::Probe3}) {
            state->Buffer.At(probe, i) = 10;
        }
    }
    // 3 mm off: 2 mm from the mean, the other two 1 mm.
    state->Buffer.At(Channel::Probe1, 2) = 13;  // before the check
    state->Buffer.At(Channel::Probe1, 6) = 13;  // the last sample
    EXPECT_TRUE(ProbeMonitoring(state->Buffer, state->Marks, state->Parameters).Passed);
    state->Buffer.At(Channel::Probe1, 5) = 13;
    const ProbeCheck check = ProbeMonitoring(state->Buffer, state->Marks, state->Parameters);
    EXPECT_FALSE(check.Passed);
    EXPECT_EQ(check.Sample, 5);
    EXPECT_EQ(check.Probe, 1);
}

}  // namespace
}  // namespace quorvex
