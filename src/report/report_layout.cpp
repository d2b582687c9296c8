// The column arithmetic and the page breaks of the printed report.
#include "report/report_layout.h"

#include <cmath>

namespace quorvex {

ReportColumnLayout ResultsListColumns(int a) {
    ReportColumnLayout layout;
    if (a > 11) {
        layout.FontHeight = 35 - static_cast<int>(std::lround(a * 10.0 / 22.0));
        layout.Pitch = 120 - static_cast<int>(std::lround(a * 30.0 / 22.0));
    }
    layout.P[0] = 100;
    layout.P[1] = 160;
    layout.P[2] = 440;
    for (int k = 1; k <= 25; ++k) layout.P[static_cast<std::size_t>(2 + k)] = 440 + k * layout.Pitch;
    return layout;
}

ReportPlan PlanReport(const ReportPlanInput& in) {
    using namespace report_page;
    ReportPlan plan;
    const int h = in.FontHeight;
    const int rowStep = h + 20;
    const int titlesToRows = 2 * h + 40;

    int y = kHeadBottom;
    if (in.HeaderLines > 0) {
        plan.HeaderRuleY = kHeadBottom - 40 * in.HeaderLines - 60;
        y = plan.HeaderRuleY - 80;
    }
    int page = 0;
    int titles = y - (in.Tensile ? 60 : 30);
    plan.Titles.push_back({page, titles});
    int rowY = titles - titlesToRows;
    auto newPage = [&] {
        ++page;
        plan.Titles.push_back({page, kTitlesOnFollowingPages});
        rowY = kTitlesOnFollowingPages - titlesToRows;
    };
    for (int r = 0; r < in.Rows; ++r) {
        if (rowY < kLastRowStart) newPage();
        plan.Rows.push_back({page, rowY});
        rowY -= rowStep;
    }
    plan.RuleAfterRows = {page, rowY + 10};
    if (in.StatisticsRows > 0) {
        if (rowY - 30 - in.StatisticsRows * rowStep < kStatisticsEnd) newPage();
        plan.Statistics = {page, rowY - 30};
    }
    if (in.Diagram) {
        int top = rowY - (in.Tensile ? 25 : 50);
        if (top - kDiagramHeight < kFootnoteLine) {
            // The diagram does not fit below the rows: it goes on a page of its own.
            ++page;
            top = kTitlesOnFollowingPages - 70;
        }
        plan.Diagram = {page, top};
    }
    plan.Pages = page + 1;
    return plan;
}

}  // namespace quorvex
