// A tensile test recorded on the simulated machine, sample by sample into the measurement
// buffer as the test run records it, then evaluated: the results must give back the
// specimen's own values.
#include <gtest/gtest.h>

#include <memory>

#include "evaluation/evaluate_test.h"
#include "evaluation/test_state.h"
#include "sim_bench.h"

namespace quorvex {
namespace {

struct Recorded {
    std::unique_ptr<TestState> state = std::make_unique<TestState>();
    SpecimenParameters specimen;
};

Recorded RecordAndEvaluate(SpecimenPreset preset, double nominalStrain, double mmPerMin) {
    SimulationConfig config = testing::SimConfig(preset);
    config.NominalForce = 100;
    config.NominalStrain = nominalStrain;
    testing::SimBench bench(config, 4);
    Recorded r;
    r.specimen = config.Specimen();
    TestState& s = *r.state;
    StartRecording(s.Buffer, s.Marks);
    for (const testing::CurvePoint& p : bench.RunTest(mmPerMin, 600)) {
        Sample sample{};
        sample[0] = static_cast<float>(p.force);
        sample[1] = static_cast<float>(p.travel);
        sample[2] = static_cast<float>(p.extension);
        if (!RecordSample(s.Buffer, s.Marks, sample)) break;
    }
    FinishRecording(s.Marks);

    ParameterSet& p = s.Parameters;
    p.TestType = 0;
    p.EffectiveSo = static_cast<float>(r.specimen.So());
    p.EffectiveLo = static_cast<float>(r.specimen.Lo);
    p.EffectiveLc = static_cast<float>(r.specimen.Lc);
    p.GaugeLengthLe = static_cast<float>(r.specimen.Le);
    p.StrainByTdm = 1;  // elongations from the extensometer, which stays on to the fracture
    p.Results[5].Evaluate = p.Results[6].Evaluate = 1;  // ReH, ReL
    p.YieldDropMin = 10;  // the presets' yield drop is 20 N/mm², below the default 50
    EvaluateTest(s, false);
    return r;
}

TEST(SimulatedTensileTest, YieldPointSteelGivesBackReHReLAndRm) {
    const Recorded r = RecordAndEvaluate(SpecimenPreset::YieldPointSteel, 25, 10);
    const ResultsRecord& res = r.state->Current();
    ASSERT_TRUE(r.state->Marks.EvaluationDone);
    EXPECT_GT(r.state->Marks.SampleCount, 200);
    EXPECT_NEAR(res.E, r.specimen.E, 0.05 * r.specimen.E);
    EXPECT_NEAR(res.ReH, r.specimen.ReH, 0.03 * r.specimen.ReH);
    EXPECT_NEAR(res.ReL, r.specimen.ReL, 0.03 * r.specimen.ReL);
    EXPECT_EQ(res.Rp, 0.0f);  // a material with a yield point reports ReH/ReL instead
    EXPECT_NEAR(res.Rm, r.specimen.Rm, 0.02 * r.specimen.Rm);
    EXPECT_NEAR(res.Ag, r.specimen.Ag, 0.25 * r.specimen.Ag);
}

TEST(SimulatedTensileTest, ContinuousSteelGivesBackRpAndRm) {
    const Recorded r = RecordAndEvaluate(SpecimenPreset::Steel, 10, 5);
    const ResultsRecord& res = r.state->Current();
    ASSERT_TRUE(r.state->Marks.EvaluationDone);
    EXPECT_NEAR(res.E, r.specimen.E, 0.05 * r.specimen.E);
    EXPECT_EQ(res.ReH, 0.0f);
    EXPECT_GT(res.Rp, 0.0f);
    EXPECT_LT(res.Rp, r.specimen.Rp);  // Rp0.1 lies below the specimen's Rp0.2
    EXPECT_GT(res.Rp, 0.85 * r.specimen.Rp);
    EXPECT_NEAR(res.Rm, r.specimen.Rm, 0.02 * r.specimen.Rm);
}

}  // namespace
}  // namespace quorvex
