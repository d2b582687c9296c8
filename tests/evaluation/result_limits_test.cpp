#include "evaluation/result_limits.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(ResultLimits, OutsideLimits) {
    ParameterSet p;  // slot 14 (Ag) monitors 1..100 by default
    struct Case {
        int slot;
        double value;
        bool outside;
    } cases[] = {
        {14, 0.5, true},    {14, 1.0, false},    {14, 100.0, false},
        {14, 100.01, true}, {14, 0.0, false},     // not shown, not tested
        {14, -5.0, false},  {10, 5000.0, false},  // Rm: monitoring off
        {0, 5.0, false},    {31, 5.0, false},
    };
    for (const Case& c : cases) EXPECT_EQ(OutsideLimits(p, c.slot, c.value), c.outside) << c.value;

    // With psi, stresses are tested in psi: 500 N/mm² is 72519 psi.
    p.Results[9].LimitActive = 1;
    p.Results[9].LimitMin = 70000;
    p.Results[9].LimitMax = 75000;
    EXPECT_TRUE(OutsideLimits(p, 10, 500.0));
    p.UnitSystem = 2;
    EXPECT_FALSE(OutsideLimits(p, 10, 500.0));
    EXPECT_TRUE(OutsideLimits(p, 10, 520.0));
    EXPECT_FALSE(OutsideLimits(p, 14, 50.0));  // elongations are not converted
    p.TestType = 5;                            // the other types keep their values
    EXPECT_TRUE(OutsideLimits(p, 10, 500.0));
}

TEST(ResultLimits, NormaliseTensileDecimals) {
    ParameterSet p;
    for (auto& slot : p.Results) slot.Decimals = 7;
    NormaliseTensileDecimals(p);
    EXPECT_EQ(p.Results[5].Decimals, 0);
    EXPECT_EQ(p.Results[10].Decimals, 0);
    EXPECT_EQ(p.Results[18].Decimals, 0);
    EXPECT_EQ(p.Results[4].Decimals, 2);
    EXPECT_EQ(p.Results[19].Decimals, 4);
    EXPECT_EQ(p.Results[20].Decimals, 4);
    EXPECT_EQ(p.Results[13].Decimals, 7);  // Ag keeps its choice

    p.UnitSystem = 2;
    p.Results[18].Decimals = 3;
    NormaliseTensileDecimals(p);
    EXPECT_EQ(p.Results[18].Decimals, 3);
    EXPECT_EQ(p.Results[4].Decimals, 4);

    p.TestType = 9;
    p.Results[5].Decimals = 5;
    NormaliseTensileDecimals(p);
    EXPECT_EQ(p.Results[5].Decimals, 5);
}

}  // namespace
}  // namespace quorvex
