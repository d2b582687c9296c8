// A results definition confirmed in its form changes what the program shows of a test: the
// result panel (decimals, red outside the limits), the ASCII result line and the statistics.
#include <gtest/gtest.h>

#include <memory>

#include "definitions/results_definition_form.h"
#include "evaluation/ascii_export.h"
#include "evaluation/result_elements.h"
#include "evaluation/statistics.h"
#include "shell/result_panel_model.h"

namespace quorvex {
namespace {

TEST(DefinitionEffects, PlasticsDecimalsLimitsAndStatisticsReachEveryDisplay) {
    auto state = std::make_unique<TestState>();
    ParameterSet& p = state->Parameters;
    p.TestType = 6;
    p.StatMean = 1;
    for (int slot = 1; slot <= 21; ++slot) {
        p.Results[static_cast<std::size_t>(slot - 1)] = {1, 0, 1, 1, 1000, 1, 1};
    }
    state->Current().Results[5] = 123.4567f;  // Sig-M
    const std::vector<std::string> cells = {"100.0", "110.0", "120.0"};

    auto panel = [&] {
        CopyResultDecimals(p, state->ResultDecimals, 19);  // what the evaluation does again
        const PanelLayout layout = BuildPanelLayout(p);
        return FillPanel(layout, *state, 2)[static_cast<std::size_t>(FieldIndex(layout, "Sig-M"))];
    };
    auto meanCell = [&] {
        const auto rows =
            BuildStatisticsBlock(p, {{p.Results[5], cells}}, StatisticsEditor::OtherTypes);
        return rows.empty() ? std::string("no rows") : rows[0].Cells[0];
    };
    EXPECT_EQ(panel().Text, "   123.5");
    EXPECT_FALSE(panel().Red);
    EXPECT_NE(ArrayResultLine(19, state->Current(), p, "dd.MM.yyyy").find("123,5"),
              std::string::npos);
    EXPECT_EQ(meanCell(), "  110.0");

    const DefinitionLayout& layout = LayoutOf(DefinitionKind::Plastics);
    ApplyOpeningChanges(layout, p);
    DefinitionForm form = OpenDefinitionForm(layout, p);
    RowForm& sigM = form.Rows[5];
    sigM.Decimals = 3;
    sigM.LimitActive = true;
    sigM.Max = "100";
    sigM.Statistics = false;
    ASSERT_FALSE(CheckDefinitionForm(layout, form));
    StoreDefinitionForm(layout, form, p);

    EXPECT_EQ(panel().Text, " 123.457");
    EXPECT_TRUE(panel().Red);
    EXPECT_NE(ArrayResultLine(19, state->Current(), p, "dd.MM.yyyy").find("123,457"),
              std::string::npos);
    EXPECT_EQ(meanCell(), "no rows");  // no column left in the statistics: no block at all
}

}  // namespace
}  // namespace quorvex
