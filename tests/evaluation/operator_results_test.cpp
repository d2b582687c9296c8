#include "evaluation/operator_results.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace quorvex {
namespace {

TEST(OperatorResults, MeasuredLengths) {
    ResultsRecord r;
    r.GaugeAtAg = 57.3f;
    r.Ac = 4.2f;
    const EntryRequest ag = MeasuredLengthRequest(r, MeasuredLength::Ag, 50, 0);
    EXPECT_FLOAT_EQ(ag.proposed, 57.3f);
    EXPECT_EQ(ag.low, 50);
    EXPECT_EQ(ag.high, 100);
    ApplyMeasuredLength(r, MeasuredLength::Ag, 60, 50, 0);
    EXPECT_EQ(r.GaugeAtAg, 60.0f);
    EXPECT_FLOAT_EQ(r.Ag, 20.0f);

    // Test type 2 reports Ac in millimetres.
    const EntryRequest ac = MeasuredLengthRequest(r, MeasuredLength::Ac, 50, 2);
    EXPECT_FLOAT_EQ(ac.proposed, 54.2f);
    EXPECT_EQ(ac.low, 0);
    ApplyMeasuredLength(r, MeasuredLength::Ac, 53, 50, 2);
    EXPECT_FLOAT_EQ(r.Ac, 3.0f);
    ApplyMeasuredLength(r, MeasuredLength::At, 53, 0, 0);
    EXPECT_EQ(r.At, 0.0f) << "no gauge length, no percentage";
}

TEST(OperatorResults, ReductionOfArea) {
    ParameterSet p;
    ResultsRecord r;
    FinalDimensions entered;
    const double So = 78.54;
    const EntryRequest du = FinalDiameterRequest(So, entered);
    EXPECT_NEAR(du.proposed, 10.0, 1e-3);
    EXPECT_EQ(du.low, 0.5);
    EXPECT_NEAR(du.high, 10.0, 1e-3);
    ApplyFinalDiameter(r, entered, So, 6);
    EXPECT_NEAR(r.Z, (So - std::numbers::pi * 9) / So * 100, 1e-4);
    EXPECT_FLOAT_EQ(FinalDiameterRequest(So, entered).proposed, 6.0f) << "offered again";

    EXPECT_EQ(FinalWidthRequest(p, entered).proposed, 20.0f);
    EXPECT_EQ(FinalThicknessRequest(p, entered).high, 1.0f);
    ApplyFinalWidthAndThickness(r, entered, 20, 15, 0.8);
    EXPECT_NEAR(r.Z, 40.0, 1e-4);
    EXPECT_EQ(FinalWidthRequest(p, entered).proposed, 15.0f);
    EXPECT_EQ(ApplyFinalDiameter(r, entered, 0, 6), 0.0);
    EXPECT_TRUE(ShapeHasReductionOfArea(1));
    EXPECT_FALSE(ShapeHasReductionOfArea(2));
}

TEST(OperatorResults, AeOnlyWhenThePositionsAscend) {
    ResultsRecord r;
    EXPECT_TRUE(ApplyAe(r, 0.4, 2.1));
    EXPECT_FLOAT_EQ(r.Ae, 1.7f);
    EXPECT_FALSE(ApplyAe(r, 2.1, 0.4));
    EXPECT_FLOAT_EQ(r.Ae, 1.7f);
}

}  // namespace
}  // namespace quorvex
