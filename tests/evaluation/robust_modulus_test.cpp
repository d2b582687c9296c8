// The robust modulus (ModulusMethod 2) against the automatic search on curves whose elastic
// part is noisy or sparsely sampled: the automatic window then stops early or reaches into
// the plastic part, the robust one follows the straight stretch as far as the noise allows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "curve_builder.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/tensile_evaluation.h"

namespace quorvex {
namespace {

using testing::BuildTensileCurve;
using testing::TensileModel;

// Deterministic normal numbers (xorshift and Box-Muller), so that every run sees one curve.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double Next() {
        const double u1 = std::max(Uniform(), 1e-12), u2 = Uniform();
        return std::sqrt(-2 * std::log(u1)) * std::cos(2 * 3.141592653589793 * u2);
    }

  private:
    double Uniform() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ >> 8) * (1.0 / 16777216.0);
    }
    std::uint32_t state_;
};

struct NoisyCase {
    const char* what;
    int elasticPoints;
    double stressNoise;  // N/mm² rms added to every sample
};

class RobustModulus : public ::testing::TestWithParam<NoisyCase> {
  protected:
    // The largest error of the modulus by one method over curves with five noise seeds.
    struct Found {
        double worstError = 0;
    };
    Found Evaluate(std::int32_t method, const NoisyCase& c) {
        Found found;
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            auto state = std::make_unique<TestState>();
            TensileModel m;
            m.ElasticPoints = c.elasticPoints;
            state->Parameters.StrainByTdm = 1;
            state->Parameters.ModulusMethod = method;
            BuildTensileCurve(*state, m);
            Noise noise(seed * 7919);
            for (int i = 1; i <= state->Marks.StoredSamples; ++i) {
                float& force = state->Buffer.At(Channel::Force, i);
                force += static_cast<float>(c.stressNoise * noise.Next() * m.So / 1000.0);
            }
            EvaluateTest(*state, false);
            found.worstError =
                std::max(found.worstError, std::fabs(state->Current().E - m.E) / m.E);
        }
        return found;
    }
};

TEST_P(RobustModulus, RecoversEWhereTheAutomaticSearchDoesNot) {
    const NoisyCase& c = GetParam();
    const Found automatic = Evaluate(0, c);
    const Found robust = Evaluate(kRobustModulusMethod, c);
    EXPECT_LT(robust.worstError, 0.03) << c.what;
    EXPECT_GT(automatic.worstError, 0.03) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Curves, RobustModulus,
                         ::testing::Values(NoisyCase{"noisy", 200, 8.0},
                                           NoisyCase{"noisy, densely sampled", 500, 8.0},
                                           NoisyCase{"sparse", 12, 1.0},
                                           NoisyCase{"sparse and noisy", 20, 3.0}));

TEST(RobustModulusClean, AgreesWithTheModelOnACleanCurveAndMarksItsWindow) {
    auto state = std::make_unique<TestState>();
    TensileModel m;
    state->Parameters.StrainByTdm = 1;
    state->Parameters.ModulusMethod = kRobustModulusMethod;
    BuildTensileCurve(*state, m);
    EvaluateTest(*state, false);
    EXPECT_NEAR(state->Current().E, m.E, m.E * 1e-3);
    // The window lies within the elastic samples 1..101 and covers most of them.
    EXPECT_LE(state->Marks.ModulusRangeEnd, 101);
    EXPECT_GT(state->Marks.ModulusRangeEnd - state->Marks.ModulusRangeStart, 60);
    EXPECT_GT(state->Current().Rp, 0.0f) << "the proof search follows the robust line";
}

}  // namespace
}  // namespace quorvex
