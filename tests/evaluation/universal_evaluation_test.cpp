// The universal test: points by travel and by force, spring constant, work, the travel
// between two force thresholds, the specific values and the spring-stage range.
#include "evaluation/universal_evaluation.h"

#include <gtest/gtest.h>

#include "evaluation_fixture.h"

namespace quorvex {
namespace {

using testing::CurvePoint;
using testing::RecordCurve;

class UniversalEvaluation : public testing::EvaluationFixture {
  protected:
    void SetUp() override {
        EvaluationFixture::SetUp();
        UseTestType(TestType::Universal);
        for (ResultDefinition& slot : P().Results) slot.Evaluate = 0;
        Slot(kSlotUniversalPoint1).LimitMin = 3.25f;  // S1 travel
        Slot(kSlotUniversalPoint1).LimitMax = 9000;   // F1 force
        Slot(kSlotUniversalPoint2).LimitMin = 6.0f;   // S2 travel
        Slot(kSlotUniversalPoint2).LimitMax = 15000;  // F2 force
        Slot(kSlotUniversalWork).LimitMin = 3.25f;    // Wx travel
    }

    // A spring of 2 kN/mm loaded to 20 kN at 10 mm in steps of 0.5 mm (samples 1-21), then
    // falling by 4 kN per 0.5 mm to sample 25 (N); samples 26 and 27 are the fracture.
    void RecordSpring() {
        std::vector<CurvePoint> points;
        for (int i = 0; i <= 20; ++i) points.push_back({i * 1.0f, i * 0.5f});
        for (float f : {16.0f, 12.0f, 8.0f, 4.0f, 1.0f, 0.0f}) {
            points.push_back({f, points.back().Travel + 0.5f});
        }
        RecordCurve(*state, points);
    }
};

TEST_F(UniversalEvaluation, MaximumEndWorkAndSpringConstant) {
    SetSlots({1, 2, 3, 4, 7, 8, 9, 11, 12, 13, 14}, true);
    RecordSpring();
    ASSERT_EQ(Marks().SampleCount, 25);
    Evaluate();

    EXPECT_FLOAT_EQ(R().Rm, 1.0f) << "marks the slot occupied";
    EXPECT_FLOAT_EQ(Element(0), 20000.0f);  // Fmax
    EXPECT_FLOAT_EQ(Element(1), 10.0f);     // Smax
    EXPECT_FLOAT_EQ(Element(2), 12000.0f);  // Fr at sample N - 2 = 23
    EXPECT_FLOAT_EQ(Element(3), 11.0f);     // Sr
    // Slot 8 wins over slot 7: S1 is the travel at 9000 N.
    EXPECT_FLOAT_EQ(Element(6), 9000.0f);
    EXPECT_FLOAT_EQ(Element(7), 4.5f);
    EXPECT_FLOAT_EQ(Element(8), 12000.0f);  // F2 at 6 mm
    EXPECT_FLOAT_EQ(Element(9), 6.0f);
    EXPECT_FLOAT_EQ(Element(10), 2000.0f);  // C = (12000 - 9000) / (6 - 4.5) N/mm
    // 100 J under the rise, then 9 + 7 + 5 + 3 J up to sample N.
    EXPECT_FLOAT_EQ(Element(11), 124.0f);
    // Up to 3.25 mm: 9 J to 3 mm, then 0.25 mm at the mean force of the samples around it.
    EXPECT_FLOAT_EQ(Element(12), 9.0f + 0.25f * (6.0f + 7.0f) / 2.0f);
    EXPECT_FLOAT_EQ(Element(13), 3.25f);
    EXPECT_TRUE(Marks().EvaluationDone);
}

TEST_F(UniversalEvaluation, SlotEightReplacesSlotSevenWhenBothAreOn) {
    struct Case {
        bool seven, eight;
        float F1, S1;
    };
    const Case cases[] = {
        {true, false, 6500, 3.25f}, {false, true, 9000, 4.5f}, {true, true, 9000, 4.5f}};
    for (const Case& c : cases) {
        SetUp();
        Slot(7).Evaluate = c.seven;
        Slot(8).Evaluate = c.eight;
        RecordSpring();
        Evaluate();
        SCOPED_TRACE(::testing::Message() << "slot 7 " << c.seven << ", slot 8 " << c.eight);
        EXPECT_FLOAT_EQ(Element(6), c.F1);
        EXPECT_FLOAT_EQ(Element(7), c.S1);
    }
}

TEST_F(UniversalEvaluation, ForceThresholdsAndSpecificValues) {
    SetSlots({7, 9, 15, 18, 19}, true);
    Slot(kSlotRisingThreshold).LimitMax = 5500;    // crossed between 2.5 and 3 mm
    Slot(kSlotFallingThreshold).LimitMax = 14000;  // crossed between 10.5 and 11 mm
    P().UniversalDivisor = 4;
    RecordSpring();
    Evaluate();
    EXPECT_FLOAT_EQ(Element(7), 2.75f) << "tb replaces S1";
    EXPECT_FLOAT_EQ(Element(9), 10.75f) << "ta replaces S2";
    EXPECT_FLOAT_EQ(Element(14), 8.0f);
    EXPECT_FLOAT_EQ(Element(15), 4.0f);
    EXPECT_FLOAT_EQ(Element(17), 6500.0f / 4);
    EXPECT_FLOAT_EQ(Element(18), 12000.0f / 4);

    // A threshold that the falling side never crosses gives no difference.
    SetUp();
    SetSlots({15}, true);
    Slot(kSlotRisingThreshold).LimitMax = 5500;
    Slot(kSlotFallingThreshold).LimitMax = 30000;
    RecordSpring();
    Evaluate();
    EXPECT_EQ(Element(14), 0.0f);
    EXPECT_EQ(Element(15), 0.0f) << "no divisor";
    EXPECT_EQ(Element(17), 0.0f);
}

TEST_F(UniversalEvaluation, PointsOutsideTheCurveGiveZero) {
    SetSlots({7, 9, 11, 13}, true);
    Slot(kSlotUniversalPoint1).LimitMin = 0.5f;  // met by the first examined sample
    Slot(kSlotUniversalPoint2).LimitMin = 50;    // never reached
    Slot(kSlotUniversalWork).LimitMin = 50;
    RecordSpring();
    Evaluate();
    EXPECT_EQ(Element(6), 0.0f);
    EXPECT_EQ(Element(8), 0.0f);
    EXPECT_EQ(Element(10), 0.0f) << "F2 - F1 over S2 - S1 of points not found";
    EXPECT_EQ(Element(12), 0.0f);
}

TEST_F(UniversalEvaluation, SpringStageRangeAndFallingLookup) {
    // Stage 1 loads, stage 2 unloads, stage 3 reloads (channel 3 holds the stage).
    RecordCurve(*state, {{0, 0, 1},
                         {2, 1, 1},
                         {4, 2, 1},
                         {8, 4, 1},
                         {6, 3.5f, 2},
                         {4, 3, 2},
                         {2, 2.5f, 2},
                         {1, 2, 2},
                         {3, 3, 3},
                         {5, 4, 3},
                         {1, 4.5f, 3},
                         {0, 5, 3}});
    ASSERT_EQ(Marks().SampleCount, 10);
    const CurveView c(state->Buffer, P(), Marks());

    const UniversalRange whole = UniversalEvaluationRange(c, 0);
    EXPECT_EQ(whole.Start, 2);
    EXPECT_EQ(whole.End, 10);
    EXPECT_TRUE(whole.Rising);
    const UniversalRange notReached = UniversalEvaluationRange(c, 5);
    EXPECT_EQ(notReached.Start, 2);
    EXPECT_EQ(notReached.End, 9);
    EXPECT_TRUE(notReached.Rising);

    // Stage 2 is samples 5-8; the range takes one neighbour on each side.
    const UniversalRange unloading = UniversalEvaluationRange(c, 2);
    EXPECT_EQ(unloading.Start, 4);
    EXPECT_EQ(unloading.End, 9);
    EXPECT_FALSE(unloading.Rising);
    EXPECT_DOUBLE_EQ(ForceAtTravel(c, unloading, 2.75), 3000.0);
    EXPECT_DOUBLE_EQ(TravelAtForce(c, unloading, 3000), 2.75);
    EXPECT_DOUBLE_EQ(ForceAtTravel(c, unloading, 2.0), 0.0) << "within the last two samples";
    // The whole curve, rising: the first travel of 3 mm or more is sample 4.
    EXPECT_DOUBLE_EQ(ForceAtTravel(c, whole, 3.0), 6000.0);
    EXPECT_DOUBLE_EQ(ForceAtTravel(c, whole, 1.5), 0.0) << "met at the first examined sample";
}

}  // namespace
}  // namespace quorvex
