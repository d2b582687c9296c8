// Which pair of a prepared limit set fills the further row, and which slots the ten rows reach.
#include "evaluation/imported_data.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(ImportedLimits, TheFurtherPairFollowsTheResultsDefinition) {
    struct Case {
        bool ratio, ae, ag;
        int ratioKind;
        FurtherLimit expected;
        int slot;
    };
    const Case cases[] = {
        {true, false, true, 1, FurtherLimit::RmRp, 12},
        {true, false, true, 2, FurtherLimit::RmRt, 12},
        {true, false, true, 5, FurtherLimit::RpRm, 12},
        {true, false, true, 6, FurtherLimit::RtRm, 12},
        {true, false, true, 3, FurtherLimit::Ag, 14},  // Rm/ReH has no column
        {false, true, false, 1, FurtherLimit::Ae, 13},
        {false, true, true, 1, FurtherLimit::Ag, 14},
        {false, false, false, 1, FurtherLimit::Ag, 14},
    };
    ImportedLimitSet set;
    set.Ag = {18, 30};
    set.RmRp = {1.1, 1.6};
    set.RmRt = {1.2, 1.7};
    set.RpRm = {0.5, 0.9};
    set.RtRm = {0.6, 0.95};
    set.Ae = {1, 3};
    for (const Case& c : cases) {
        ParameterSet p;
        p.Results[11].Evaluate = c.ratio;
        p.Results[12].Evaluate = c.ae;
        p.Results[13].Evaluate = c.ag;
        p.RatioKind = c.ratioKind;
        SCOPED_TRACE(c.ratioKind);
        const FurtherLimit further = FurtherLimitOf(p);
        EXPECT_EQ(further, c.expected);
        const auto rows = ChooseImportedLimits(set, false, further);
        ApplyImportedLimits(p, rows, further);
        const ResultDefinition& slot = p.Results[static_cast<std::size_t>(c.slot - 1)];
        EXPECT_DOUBLE_EQ(slot.LimitMin, static_cast<float>(rows[kFurtherLimitRow].Min));
        EXPECT_DOUBLE_EQ(slot.LimitMax, static_cast<float>(rows[kFurtherLimitRow].Max));
        EXPECT_EQ(CurrentLimits(p, further)[kFurtherLimitRow].Max, slot.LimitMax);
    }
    EXPECT_EQ(ImportedLimitSlots(FurtherLimit::Ag),
              (std::array<int, kImportedLimitRows>{5, 6, 7, 8, 9, 10, 14, 16, 18, 19}));
}

}  // namespace
}  // namespace quorvex
