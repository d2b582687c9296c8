// The break value's range by test type and break channel: what the dialogs, the command line
// and a stored parameter set are held to.
#include "evaluation/break_value.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(BreakValue, AcceptedAndRefusedPerChannel) {
    struct Case {
        int testType, channel;
        const char* value;
        const char* refusedWith;  // nullptr: accepted
    } cases[] = {
        // The drop of the tensile family (and of every type without channels), any channel.
        {0, 0, "10", nullptr},
        {0, 0, "90", nullptr},
        {0, 0, "60.0", nullptr},
        {0, 0, "9.99", " 10.0 ... 90.0 !"},
        {0, 0, "90.01", " 10.0 ... 90.0 !"},
        {0, 0, "1", " 10.0 ... 90.0 !"},
        {0, 0, "150", " 10.0 ... 90.0 !"},
        {0, 0, "x", " 10.0 ... 90.0 !"},
        {3, 1, "500", " 10.0 ... 90.0 !"},
        {9, 2, "50", nullptr},
        // Channel 0 of the programme tests: a drop to 0.05 ... 99 % of Fmax.
        {5, 0, "0.05", nullptr},
        {5, 0, "99", nullptr},
        {5, 0, "0.04", " : 0.05 ... 99.0 !"},
        {7, 0, "150", " : 0.05 ... 99.0 !"},
        {5, 7, "99.5", " : 0.05 ... 99.0 !"},  // an unknown channel is the drop, as the run reads it
        // Channel 1: Delta-F in N, 10 N ... 100 kN on a 100 kN machine.
        {5, 1, "10", nullptr},
        {5, 1, "200", nullptr},
        {8, 1, "100000", nullptr},
        {5, 1, "9", " : 10.0 ... 100000.0 N !"},
        {5, 1, "0.2", " : 10.0 ... 100000.0 N !"},  // 200 N given in kN
        {7, 1, "100001", " : 10.0 ... 100000.0 N !"},
        // Channel 2: Delta-S in mm, 0.03 ... 300 mm on 300 mm of travel.
        {5, 2, "0.03", nullptr},
        {8, 2, "300", nullptr},
        {5, 2, "0.029", " : 0.03 ... 300.0 mm !"},
        {7, 2, "-5", " : 0.03 ... 300.0 mm !"},
    };
    for (const Case& c : cases) {
        const BreakValueRange range = BreakValueRangeOf(c.testType, c.channel, 100.0, 300.0);
        const CheckResult result = CheckBreakValueText(3, c.value, range);
        const std::string what = std::to_string(c.testType) + "/" + std::to_string(c.channel) +
                                 " " + c.value;
        if (c.refusedWith == nullptr) {
            EXPECT_FALSE(result) << what;
            continue;
        }
        ASSERT_TRUE(result) << what;
        EXPECT_EQ(result->Field, 3) << what;
        EXPECT_EQ(result->TextNumber, kRangeTextNumber) << what;
        EXPECT_EQ(result->RangeText, c.refusedWith) << what;
    }
}

TEST(BreakValue, RangesFollowTheNominalValuesAndNeverAdmitZero) {
    EXPECT_EQ(BreakValueRangeOf(5, 1, 2.5, 300).RangeText, " : 0.25 ... 2500.0 N !");
    EXPECT_EQ(BreakValueRangeOf(5, 2, 100, 123.4).RangeText, " : 0.01234 ... 123.4 mm !");
    // A machine without nominal travel has no Delta-S that could end a test.
    EXPECT_FALSE(InBreakRange(BreakValueRangeOf(5, 2, 100, 0), 0.0));
}

TEST(BreakValue, StoredSetIsHeldToItsRangeAsTheFloatFieldKeepsIt) {
    ParameterSet p;  // tensile, 100 kN, 300 mm
    EXPECT_EQ(BreakValueRefusal(p), "");
    p.BreakDropPercent = 150;
    EXPECT_EQ(BreakValueRefusal(p),
              "the break value BreakDropPercent 150 lies outside 10.0 ... 90.0 % (the drop to a "
              "percentage of Fmax that ends the test)");
    p.TestType = 5;
    p.BreakChannel = 2;
    p.BreakDropPercent = 0.03f;  // the lower bound, a little below it as a float
    EXPECT_EQ(BreakValueRefusal(p), "");
    p.BreakChannel = 1;
    p.BreakDropPercent = 0.2f;
    EXPECT_NE(BreakValueRefusal(p).find("outside 10.0 ... 100000.0 N (the force drop"),
              std::string::npos);
}

}  // namespace
}  // namespace quorvex
