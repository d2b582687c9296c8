// The rules of the statistics and ASCII options: when they are read-only, the decimal choice
// of a parameter set holding both or neither flag, and the database option without its table.
#include "results/project_options_form.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(ProjectOptionsForm, ReadOnlyOnlyInATakenOverProjectThatIsLocked) {
    struct Case {
        bool takenOver, unlocked, database;
        bool boxes, ok, alias;
    } cases[] = {
        {false, false, true, true, true, true},    // created in this run: editable when locked
        {false, false, false, true, true, false},  // no alias table: its box alone is disabled
        {true, false, true, false, false, false},  // taken over and locked: nothing to change
        {true, true, true, true, true, true},      // taken over, unlocked by the password
        {true, true, false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.takenOver << c.unlocked << c.database);
        const ProjectOptionsAccess access =
            OptionsAccess(ProjectOptionsReadOnly(c.takenOver, c.unlocked), c.database);
        EXPECT_EQ(access.BoxesEnabled, c.boxes);
        EXPECT_EQ(access.OkEnabled, c.ok);
        EXPECT_EQ(access.AliasTableEnabled, c.alias);
    }
}

TEST(ProjectOptionsForm, DecimalChoiceFollowsTheExportAndOkWritesExactlyOne) {
    struct Case {
        std::uint8_t point, comma;
        bool shownComma;
    } cases[] = {
        {0, 1, true},  {1, 0, false},
        {1, 1, true},   // both: the export writes a comma, so the dialog shows "Komma"
        {0, 0, false},  // neither: the export writes a point
        {0, 2, false},  // a garbled byte is no comma for the export either
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.point) << int(c.comma));
        ParameterSet p;
        p.DecimalPoint = c.point;
        p.DecimalComma = c.comma;
        const AsciiOptions shown = OpenAsciiOptions(p, true);
        EXPECT_EQ(shown.DecimalComma, c.shownComma);
        StoreAsciiOptions(shown, true, p);
        EXPECT_EQ(p.DecimalComma, c.shownComma ? 1 : 0);
        EXPECT_EQ(p.DecimalPoint, c.shownComma ? 0 : 1);
    }
}

TEST(ProjectOptionsForm, DatabaseOptionNeedsTheAliasTable) {
    struct Case {
        bool database;
        std::uint8_t stored;
        bool ticked;  // what the operator leaves in the box
        bool shown;
        std::uint8_t written;
    } cases[] = {
        {true, 1, true, true, 1},    {true, 0, true, false, 1}, {true, 1, false, true, 0},
        {false, 1, false, false, 0},  // shown unticked; OK clears the stored 1
        {false, 0, true, false, 0},   // a tick that got past the disabled box is not written
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.database << int(c.stored) << c.ticked);
        ParameterSet p;
        p.WriteAliasTable = c.stored;
        AsciiOptions o = OpenAsciiOptions(p, c.database);
        EXPECT_EQ(o.WriteAliasTable, c.shown);
        o.WriteAliasTable = c.ticked;
        StoreAsciiOptions(o, c.database, p);
        EXPECT_EQ(p.WriteAliasTable, c.written);
    }
}

TEST(ProjectOptionsForm, EachStatisticsRowEditsItsOwnSetting) {
    // The rows in the order the editor shows them.
    std::uint8_t ParameterSet::*const settings[] = {
        &ParameterSet::StatMean,  &ParameterSet::StatMinimum, &ParameterSet::StatMaximum,
        &ParameterSet::StatRange, &ParameterSet::StatStdDev,  &ParameterSet::StatConfidence,
        &ParameterSet::StatCp,    &ParameterSet::StatCpk,     &ParameterSet::StatCount,
        &ParameterSet::StatLimits};
    ASSERT_EQ(std::size(settings), kStatisticsChoices.size());
    for (std::size_t row = 0; row < kStatisticsChoices.size(); ++row) {
        SCOPED_TRACE(row);
        ParameterSet p;
        for (auto setting : settings) p.*setting = 1;
        StatisticsSelection only{};
        only[row] = true;
        StoreStatisticsSelection(only, p);
        for (std::size_t other = 0; other < std::size(settings); ++other) {
            EXPECT_EQ(p.*settings[other], other == row ? 1 : 0) << other;
        }
        EXPECT_EQ(OpenStatisticsSelection(p), only);
    }
}

}  // namespace
}  // namespace quorvex
