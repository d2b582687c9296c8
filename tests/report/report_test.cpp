// The printed report without a printer: the column arithmetic, the page breaks of a long
// list, the printed cells and colours, and the scaling of the overlaid curves.
#include <gtest/gtest.h>

#include "report/overlay_diagram.h"
#include "report/report_content.h"

namespace quorvex {
namespace {

TEST(ReportColumns, ShrinkFromTwelvePrintedResultsOn) {
    const struct {
        int a, h, w;
    } cases[] = {{1, 35, 120}, {11, 35, 120}, {12, 30, 104}, {13, 29, 102}, {23, 25, 89}};
    for (const auto& c : cases) {
        const ReportColumnLayout layout = ResultsListColumns(c.a);
        EXPECT_EQ(layout.FontHeight, c.h) << "a = " << c.a;
        EXPECT_EQ(layout.Pitch, c.w) << "a = " << c.a;
        EXPECT_EQ(layout.P[0], 100);
        EXPECT_EQ(layout.P[1], 160);
        EXPECT_EQ(layout.P[2], 440);
        EXPECT_EQ(layout.P[3], 440 + c.w);
        EXPECT_EQ(layout.P[27], 440 + 25 * c.w);
    }
}

TEST(ReportPlan, ALongListRepeatsTheTitlesOnEveryPageAndKeepsRowsAboveTheBottom) {
    ReportPlanInput in;
    in.HeaderLines = 2;
    in.Rows = 100;
    in.StatisticsRows = 5;
    const ReportPlan plan = PlanReport(in);
    // Header block: two lines, its rule 60 below them, the titles 80 + 60 lower.
    EXPECT_EQ(plan.HeaderRuleY, -300 - 80 - 60);
    ASSERT_EQ(plan.Rows.size(), 100u);
    EXPECT_EQ(plan.Titles.front().Y, plan.HeaderRuleY - 80 - 60);
    EXPECT_EQ(plan.Rows.front().Y, plan.Titles.front().Y - (2 * 35 + 40));
    EXPECT_GE(plan.Pages, 3);
    ASSERT_EQ(static_cast<int>(plan.Titles.size()), plan.Pages);
    for (std::size_t i = 1; i < plan.Titles.size(); ++i) {
        EXPECT_EQ(plan.Titles[i].Page, static_cast<int>(i));
        EXPECT_EQ(plan.Titles[i].Y, -330);
    }
    for (std::size_t i = 0; i < plan.Rows.size(); ++i) {
        EXPECT_GE(plan.Rows[i].Y, -2660) << "row " << i;
        if (i > 0 && plan.Rows[i].Page == plan.Rows[i - 1].Page) {
            EXPECT_EQ(plan.Rows[i].Y, plan.Rows[i - 1].Y - 55);
        } else if (i > 0) {
            EXPECT_EQ(plan.Rows[i].Y, -330 - 110);
            // The row would have started below the last row line.
            EXPECT_LT(plan.Rows[i - 1].Y - 55, -2660);
        }
    }
    EXPECT_GE(plan.Statistics.Y - 5 * 55, -2760);
}

TEST(ReportPlan, StatisticsThatWouldEndBelowThePageGoToTheNextPage) {
    ReportPlanInput in;
    in.Rows = 39;  // the last row ends near the bottom of the first page
    in.StatisticsRows = 8;
    const ReportPlan plan = PlanReport(in);
    EXPECT_EQ(plan.Rows.back().Page, 0);
    EXPECT_EQ(plan.Statistics.Page, 1);
    EXPECT_EQ(plan.Statistics.Y, -330 - 110 - 30);
    EXPECT_EQ(plan.Pages, 2);
}

ParameterSet PrintedResults(int printedResults, bool remark) {
    ParameterSet p;
    p.TestType = 0;
    for (auto& d : p.Results) d = ResultDefinition{};
    for (int slot = 1; slot <= printedResults; ++slot) {
        p.Results[static_cast<std::size_t>(slot - 1)].PrintInReport = 1;
        p.Results[static_cast<std::size_t>(slot - 1)].Decimals = 1;
    }
    p.Results[21].PrintInReport = remark ? 1 : 0;
    return p;
}

TEST(ResultsReport, TwelvePrintedResultsShrinkTheListAndZeroCellsStayEmpty) {
    ParameterSet p = PrintedResults(12, false);  // a = 13
    p.Results[9].PrintInReport = 1;              // Rm among them (slot 10)
    const EditorColumns columns(p);
    ResultsRecord r;
    r.SpecimenNo = "S1";
    r.Lo = 50;
    r.a = 2;
    r.b = 20;
    r.Rm = 512.25f;
    const ResultsReport report = BuildResultsReport(p, columns, {r}, false, {}, {}, "01.02.2026");
    EXPECT_EQ(report.Layout.FontHeight, 29);
    EXPECT_EQ(report.Layout.Pitch, 102);
    // lo first, then the twelve results.
    ASSERT_EQ(report.Columns.size(), 13u);
    EXPECT_EQ(report.Columns[0].Name, "lo");
    EXPECT_EQ(report.Columns[0].Left, 440);
    EXPECT_EQ(report.Columns[0].Right, 542);
    EXPECT_EQ(report.Columns[10].Name, "Rm");
    ASSERT_EQ(report.Rows.size(), 1u);
    const auto& cells = report.Rows[0].Cells;
    EXPECT_EQ(cells[0], "50.0");
    EXPECT_EQ(cells[1], "2.0");
    EXPECT_EQ(cells[10], "512.3");
    EXPECT_EQ(cells[3], "");  // d is 0: empty, not "-"
    EXPECT_EQ(report.Rows[0].Number, "1");
}

TEST(ResultsReport, RowsTakeTheCurveColoursOnlyUpToTenSelectedTests) {
    ParameterSet p = PrintedResults(3, true);
    p.PrintCurveColoured = 1;
    const EditorColumns columns(p);
    std::vector<ResultsRecord> tests(10);
    tests[1].Remark = "Bruch außerhalb";
    ResultsReport report = BuildResultsReport(p, columns, tests, false, {}, {}, "");
    EXPECT_EQ(report.Rows[0].Colour, 1);
    EXPECT_EQ(report.Rows[9].Colour, 10);
    EXPECT_EQ(report.Rows[1].Remark, "Bruch außerhalb");
    EXPECT_EQ(report.RemarkX, report.Columns.back().Right + 10);
    tests.resize(11);
    report = BuildResultsReport(p, columns, tests, false, {}, {}, "");
    for (const ReportRow& row : report.Rows) EXPECT_EQ(row.Colour, 0);
    p.PrintCurveColoured = 0;
    tests.resize(3);
    report = BuildResultsReport(p, columns, tests, false, {}, {}, "");
    EXPECT_EQ(report.Rows[0].Colour, 0);
}

TEST(ResultsReport, PlasticsHeadTheStrainsAtFmaxAndAtBreakByTheirOwnNames) {
    ParameterSet p = PrintedResults(0, false);
    p.TestType = 6;
    for (std::size_t i : {15u, 16u}) {  // slots 16 and 17
        p.Results[i].PrintInReport = 1;
        p.Results[i].Decimals = 1;
    }
    const EditorColumns columns(p);
    ResultsRecord r;
    r.Results[15] = 12.5f;  // the crosshead strain at Fmax
    r.Results[16] = 30.0f;  // at break
    const ResultsReport report = BuildResultsReport(p, columns, {r}, false, {}, {}, "");
    ASSERT_EQ(report.Columns.size(), 2u);
    EXPECT_EQ(report.Columns[0].Name, "Eps-tM");
    EXPECT_EQ(report.Rows[0].Cells[0], "12.5");
    EXPECT_EQ(report.Columns[1].Name, "Eps-tB");
    EXPECT_EQ(report.Rows[0].Cells[1], "30.0");
}

TEST(ResultsReport, TheFlexuralModulusPrintsItsRemarkByTheChoiceOfItsDefinition) {
    // Its results definition keeps "Bemerkung" in slot 30; slot 22 is none of its choices.
    for (const bool chosen : {false, true}) {
        ParameterSet p = PrintedResults(0, !chosen);
        p.TestType = 7;
        p.Results[29].PrintInReport = chosen ? 1 : 0;
        const ResultsReport report = BuildResultsReport(p, EditorColumns(p), {ResultsRecord{}},
                                                        false, {}, {}, "");
        EXPECT_EQ(report.PrintRemark, chosen);
    }
    ParameterSet tensile = PrintedResults(0, true);
    tensile.Results[29].PrintInReport = 0;
    EXPECT_TRUE(BuildResultsReport(tensile, EditorColumns(tensile), {}, false, {}, {}, "")
                    .PrintRemark);
}

TEST(ResultsReport, ATestThatDidNotBreakSaysSoInItsRow) {
    ResultsRecord broken, stopped;
    broken.SpecimenNo = stopped.SpecimenNo = "A1";
    stopped.Remark = "Backe rutscht";
    stopped.EndOfTest = kEndedWithoutBreak;
    for (const bool remark : {true, false}) {
        const ParameterSet p = PrintedResults(2, remark);
        const ResultsReport report =
            BuildResultsReport(p, EditorColumns(p), {broken, stopped}, false, {}, {}, "");
        ASSERT_EQ(report.Rows.size(), 2u);
        EXPECT_EQ(report.Rows[0].SpecimenNo, "A1");
        if (remark) {
            EXPECT_EQ(report.Rows[0].Remark, "");
            EXPECT_EQ(report.Rows[1].Remark, "ohne Bruch, Backe rutscht");
            EXPECT_EQ(report.Rows[1].SpecimenNo, "A1");
        } else {
            EXPECT_EQ(report.Rows[1].SpecimenNo, "A1 (ohne Bruch)");
        }
    }
}

TEST(ResultsReport, StatisticsRowsCarryTheBlockOfThePrintedColumns) {
    ParameterSet p = PrintedResults(0, false);
    ResultDefinition& rm = p.Results[9];
    rm.Evaluate = rm.PrintInReport = rm.PrintInList = 1;
    rm.Decimals = 1;
    p.StatMean = 1;
    p.StatMinimum = p.StatMaximum = p.StatRange = p.StatStdDev = 0;
    p.StatCount = 1;
    const EditorColumns columns(p);
    std::vector<ResultsRecord> tests(3);
    tests[0].Rm = 9;
    tests[1].Rm = 10;
    tests[2].Rm = 11;
    const auto block = StatisticsOfSelection(p, columns, tests, false);
    const ResultsReport report = BuildResultsReport(p, columns, tests, false, block, {}, "");
    ASSERT_EQ(report.Statistics.size(), 2u);
    EXPECT_EQ(report.Statistics[0].Label, "Mittelwert");
    // lo has no statistics; Rm the mean 10.0 and the count 3.
    ASSERT_EQ(report.Statistics[0].Cells.size(), 2u);
    EXPECT_EQ(report.Statistics[0].Cells[0], "");
    EXPECT_EQ(report.Statistics[0].Cells[1], "10.0");
    EXPECT_EQ(report.Statistics[1].Cells[1], "3");
}

// A curve of n samples: force rises 0.1 kN per sample, travel 0.2 mm, the extensometer
// 0.05 mm for its first m samples and 0 afterwards.
CurveFileContent Curve(int n, int m, float so = 10, float lc = 60, float le = 50) {
    CurveFileContent c;
    c.Header.So = so;
    c.Header.Lo = 50;
    c.Header.Lc = lc;
    c.Header.Le = le;
    c.Header.ExtensionEndIndex = static_cast<float>(m);
    for (int i = 1; i <= n; ++i) {
        c.Samples.push_back({0.1f * i, 0.2f * i, i <= m ? 0.05f * i : 0.0f, 0});
    }
    c.AnnouncedSamples = n;
    c.Header.SampleCount = static_cast<float>(n);
    return c;
}

TEST(OverlayDiagram, StrainGoesOnFromTheCrossheadOnceTheExtensometerIsOff) {
    OverlayDiagram d(OverlaySettings{});
    d.AddCurve(Curve(100, 40));
    ASSERT_EQ(d.View(), OverlayView::Strain);
    const auto points = d.Points(1);
    ASSERT_EQ(points.size(), 100u);
    // Stress = F * 1000 / So; strain of the extensometer part over Le.
    EXPECT_NEAR(points[9].Y, 1.0 * 1000 / 10, 1e-3);
    EXPECT_NEAR(points[39].X, 40 * 0.05 * 100 / 50, 1e-4);
    // Beyond it: the travel since sample 40 over Lc, added to the strain reached.
    EXPECT_NEAR(points[99].X, 4.0 + (20.0 - 8.0) * 100 / 60, 1e-3);
    // Largest strain 24 %: range 30; largest stress 1000: the first step above is 1200.
    EXPECT_DOUBLE_EQ(d.XRange(), 30);
    EXPECT_DOUBLE_EQ(d.YRange(), 1200);

    d.SetView(OverlayView::FineStrain);
    EXPECT_EQ(d.Points(1).size(), 40u);
    EXPECT_DOUBLE_EQ(d.XRange(), 8);  // largest fine strain 4 %
    // A curve with fewer than three extensometer points has no fine-strain line.
    d.AddCurve(Curve(50, 2));
    EXPECT_TRUE(d.Points(2).empty());
}

TEST(OverlayDiagram, RangesStepWithinTheirListsAndKeepTheirViewsSettings) {
    OverlayDiagram d(OverlaySettings{});
    d.AddCurve(Curve(100, 40, 0.1f));  // stresses far beyond the last step
    EXPECT_DOUBLE_EQ(d.YRange(), 1800);
    EXPECT_FALSE(d.StepY(+1));
    EXPECT_TRUE(d.StepY(-1));
    EXPECT_DOUBLE_EQ(d.YRange(), 1600);
    d.SetView(OverlayView::FineStrain);
    EXPECT_DOUBLE_EQ(d.YRange(), 1800);
    d.SetView(OverlayView::Strain);
    EXPECT_DOUBLE_EQ(d.YRange(), 1600);
    while (d.StepX(-1)) {
    }
    EXPECT_DOUBLE_EQ(d.XRange(), 5);
    // Views the type does not offer are not taken.
    d.SetView(OverlayView::ForceTime);
    EXPECT_EQ(d.View(), OverlayView::Strain);
}

TEST(OverlayDiagram, ForceEnergyAndTimeViewsOfTheOtherTypes) {
    OverlaySettings s;
    s.TestType = 5;
    s.NominalForceKn = 100;
    s.NominalTravelMm = 300;
    s.SampleIntervalSec = 0.5;
    s.EnergyAxisEnd = 2.0;
    OverlayDiagram d(s);
    d.AddCurve(Curve(100, 0));  // 10 kN over 20 mm
    ASSERT_EQ(d.View(), OverlayView::ForceTravel);
    // Travel 300/10 = 30 is the first that exceeds 20; force 100/5 = 20 exceeds 10.
    EXPECT_DOUBLE_EQ(d.XRange(), 30);
    EXPECT_DOUBLE_EQ(d.YRange(), 20);
    d.SetView(OverlayView::EnergyTravel);
    const auto energy = d.Points(1);
    // Trapezoids of 0.2 mm under a force rising linearly to 10 kN: 10 * 20 / 2 J roughly.
    EXPECT_NEAR(energy.back().Y, (0.1 + 10.0) / 2 * 19.8 + 0.0, 0.5);
    EXPECT_DOUBLE_EQ(d.YRange(), 2.0 / 5);  // the force axis's divisor
    d.SetView(OverlayView::ForceTime);
    EXPECT_NEAR(d.Points(1).back().X, 50.0, 1e-9);
    EXPECT_DOUBLE_EQ(d.XRange(), 100);
}

TEST(OverlayDiagram, AnEleventhCurveIsIgnoredAndMissingCurvesKeepTheirPlace) {
    OverlayDiagram d(OverlaySettings{});
    d.AddMissingCurve();
    d.AddCurve(Curve(10, 5));
    EXPECT_FALSE(d.HasCurve(1));
    EXPECT_TRUE(d.HasCurve(2));
    for (int i = 0; i < 12; ++i) d.AddCurve(Curve(10, 5));
    EXPECT_EQ(d.CurveCount(), 10);
}

}  // namespace
}  // namespace quorvex
