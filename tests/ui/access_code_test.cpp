// Access codes are compared exactly.
#include <gtest/gtest.h>

#include "ui/access_codes.h"

namespace quorvex {
namespace {

TEST(AccessCodes, OnlyTheExactCodeOfTheModeMatches) {
    struct Case {
        int mode;
        const char* entry;
        bool matches;
    };
    const Case cases[] = {
        {1, "2704", true},   {2, "qm418", true},   {3, "5391", true},
        {1, "2704 ", false}, {1, " 2704", false},  {1, "270", false},
        {2, "QM418", false}, {2, "qm4180", false}, {3, "2704", false},
        {1, "5391", false},  {1, "", false},       {4, "2704", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AccessCodeMatches(c.mode, QString::fromLatin1(c.entry)), c.matches)
            << c.mode << " '" << c.entry << "'";
    }
}

}  // namespace
}  // namespace quorvex
