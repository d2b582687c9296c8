// What the evaluations of the test types 3-9 share: the dispatch, the names and counts of
// the exported elements, the panel decimals, and no infinite or undefined result from a
// specimen without dimensions.
#include "evaluation/array_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "evaluation/result_elements.h"
#include "evaluation_fixture.h"

namespace quorvex {
namespace {

using testing::CurvePoint;
using testing::RecordCurve;

TEST(ResultElements, NamesAndCountsPerTestType) {
    const int counts[] = {0, 0, 0, 6, 8, 14, 19, 4, 6, 11};
    for (std::int32_t type = 0; type < 10; ++type) {
        EXPECT_EQ(ExportedElementCount(type), counts[type]) << type;
        EXPECT_EQ(static_cast<int>(ResultElementNames(type).size()), counts[type]) << type;
    }
    EXPECT_EQ(ExportedElementCount(10), 0);
    auto joined = [](std::int32_t type) {
        std::string all;
        for (const char* name : ResultElementNames(type)) all += std::string(name) + " ";
        return all;
    };
    EXPECT_EQ(joined(3), "L T B Lv FMax Tau ");
    EXPECT_EQ(joined(4), "Lc Lt Fmax Lmax Amax Fr Lr Ar ");
    EXPECT_EQ(joined(5), "Fmax Smax Fr Sr Fx Sx F1 S1 F2 S2 C W Wx Swx ");
    EXPECT_EQ(joined(6),
              "B H A LO Sig-Y Sig-M Sig-B Sig-1 Sig-2 Sig-3 Sig-4 Sig-5 Eps-Y Eps-M Eps-B Eps-tM "
              "Eps-tB Um E ");
    EXPECT_EQ(joined(7), "L H B Ef ");
    EXPECT_EQ(joined(8), "LL H B L FMax Rtf ");
    EXPECT_EQ(joined(9), "D H S0 Sig-dB Sig-dX1 Sig-dX2 Sig-dX3 Sig-dF Eps-dB Phi-dB E ");
}

TEST(ResultElements, PanelDecimals) {
    const ResultDecimalsTable initial = InitialResultDecimals();
    const std::int32_t expected[] = {2, 3, 2, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (std::size_t j = 0; j < initial.size(); ++j) EXPECT_EQ(initial[j], expected[j]) << j;

    ParameterSet p;
    for (int slot = 0; slot < kResultDefinitionSlots; ++slot)
        p.Results[static_cast<std::size_t>(slot)].Decimals = 5;
    ResultDecimalsTable decimals = initial;
    CopyResultDecimals(p, decimals, 7);
    EXPECT_EQ(decimals[6], 5);
    EXPECT_EQ(decimals[7], 0) << "only slots 1..7";
    CopyResultDecimals(p, decimals, 40);  // held within the table
    EXPECT_EQ(decimals[18], 5);

    const int editor[] = {0, 0, 0, 6, 8, 19, 19, 7, 6, 11};
    for (std::int32_t type = 0; type < 10; ++type)
        EXPECT_EQ(EditorDecimalsCount(type), editor[type]);
}

using ArrayEvaluation = testing::EvaluationFixture;

// Every test type 3-9 evaluated with every result on and every specimen dimension 0 gives
// finite results (0 where a dimension divides) and finishes the evaluation.
TEST_F(ArrayEvaluation, ZeroDimensionsNeverGiveInfiniteOrUndefinedResults) {
    for (std::int32_t type = 3; type <= 9; ++type) {
        SetUp();
        P().TestType = type;
        P().SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Flat);
        P().Flat = {0, 0, 0, 0, 0};
        P().EffectiveSo = P().EffectiveLo = P().EffectiveLc = P().GaugeLengthLe = 0;
        for (ResultDefinition& slot : P().Results) slot.Evaluate = 1;
        P().UniversalDivisor = 0;
        std::vector<CurvePoint> points;
        for (int i = 0; i < 40; ++i) {
            const float force = i < 30 ? 0.1f * i : 3.0f - 0.2f * (i - 30);
            points.push_back({force, 0.1f * i, 0.01f * i, 0.001f * i});
        }
        RecordCurve(*state, points);
        Evaluate();
        SCOPED_TRACE(::testing::Message() << "test type " << type);
        EXPECT_TRUE(Marks().EvaluationDone);
        for (std::size_t i = 0; i < R().Results.size(); ++i) {
            EXPECT_TRUE(std::isfinite(R().Results[i])) << "element " << i;
        }
        for (float value : {R().ReH, R().ReL, R().Rm, R().E}) EXPECT_TRUE(std::isfinite(value));
    }
    // The divisions that have a dimension below them report 0.
    P().TestType = 3;
    Evaluate();
    EXPECT_EQ(Element(5), 0.0f);
}

TEST(DivideOrZero, ZeroAndNonFiniteQuotientsGiveZero) {
    EXPECT_EQ(DivideOrZero(3, 0), 0.0);
    EXPECT_EQ(DivideOrZero(1e308, 1e-308), 0.0);
    EXPECT_DOUBLE_EQ(DivideOrZero(9000, 80), 112.5);
}

}  // namespace
}  // namespace quorvex
