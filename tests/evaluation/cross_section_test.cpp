#include "evaluation/cross_section.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(Specimen, CrossSections) {
    EXPECT_NEAR(RoundSo(10), 78.54, 0.001);
    EXPECT_DOUBLE_EQ(FlatSo(2, 20), 40);
    EXPECT_NEAR(TubeSo(20, 2), 113.097, 0.001);
    const CrossSection mass = MassSo(7.84, 70, 200);
    EXPECT_TRUE(mass.valid);
    EXPECT_NEAR(mass.So, 44.64, 0.005);
    const CrossSection segment = TubeSegmentSo(3.5, 14, 33.7);
    EXPECT_TRUE(segment.valid);
    EXPECT_NEAR(segment.So, 50.98, 0.01);
}

TEST(Specimen, ImpossibleDimensionsGiveTheInvalidSo) {
    struct Case {
        double a, b, D;
    } segments[] = {
        {3.5, 27.0, 33.7},  // b wider than the bore d' = 26.7
        {3.5, 40.0, 33.7},  // b wider than the tube
        {20.0, 1.0, 33.7},  // wall thicker than half the tube
    };
    for (const Case& c : segments) {
        const CrossSection so = TubeSegmentSo(c.a, c.b, c.D);
        EXPECT_FALSE(so.valid) << c.b;
        EXPECT_DOUBLE_EQ(so.So, 1.0);
    }
    EXPECT_FALSE(MassSo(0, 70, 200).valid);
    EXPECT_DOUBLE_EQ(MassSo(7.84, 70, 0).So, 1.0);
}

TEST(Specimen, DefaultsAreStoredNotRecomputed) {
    EXPECT_FLOAT_EQ(TubeSpecimen{}.So, 59.66f);  // does not follow from D 20, a 2
    EXPECT_FLOAT_EQ(RoundSpecimen{}.So, 78.54f);
}

}  // namespace
}  // namespace quorvex
