// Where the printed report puts things: the column arithmetic of the results list and the
// placement of titles, rows, statistics and diagram on the pages. Page units are 0.1 mm with
// the origin at the top-left corner and y growing upwards, so every y on a page is negative.
#pragma once

#include <array>
#include <vector>

namespace quorvex {

namespace report_page {
inline constexpr int kLeft = 100, kRight = 1950;
inline constexpr int kHeadTop = -100, kHeadBottom = -300;
inline constexpr int kTitlesOnFollowingPages = -330;
inline constexpr int kLastRowStart = -2660;   // a row starting below this goes to a new page
inline constexpr int kStatisticsEnd = -2760;  // statistics ending below this go to a new page
inline constexpr int kFootnoteLine = -2700;
inline constexpr int kDiagramLeft = 340, kDiagramWidth = 1550, kDiagramHeight = 1100;
}  // namespace report_page

struct ReportColumnLayout {
    int FontHeight = 35;
    int Pitch = 120;
    // x positions p0 ... p27: row number, specimen number, then the column edges.
    std::array<int, 28> P{};
};

// The columns for `a` = 1 + the number of printed results (the remark counts as one):
// font height 35 and pitch 120 up to a = 11, smaller beyond.
ReportColumnLayout ResultsListColumns(int a);

struct ReportPlacement {
    int Page = 0;
    int Y = 0;
};

struct ReportPlanInput {
    int HeaderLines = 0;  // header lines with a title
    bool Tensile = true;  // the tensile list sits a little lower below the header block
    int FontHeight = 35;
    int Rows = 0;
    int StatisticsRows = 0;
    bool Diagram = false;
};

struct ReportPlan {
    int HeaderRuleY = 0;                  // the line under the header block (page 0), 0: none
    std::vector<ReportPlacement> Titles;  // the column titles, one per page
    std::vector<ReportPlacement> Rows;
    ReportPlacement RuleAfterRows;        // the line under the last row
    ReportPlacement Statistics;           // the first statistics row
    ReportPlacement Diagram;              // the top of the diagram frame
    int Pages = 1;
};

ReportPlan PlanReport(const ReportPlanInput& input);

}  // namespace quorvex
