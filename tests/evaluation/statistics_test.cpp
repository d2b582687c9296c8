#include "evaluation/statistics.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(Statistics, WorkedExample) {
    const ColumnStatistics s =
        ComputeColumnStatistics({"  9.0", " 10.0", " 11.0"}, 8, 14, StatisticsEditor::Tensile);
    EXPECT_EQ(s.Count, 3);
    EXPECT_DOUBLE_EQ(s.Mean, 10);
    EXPECT_DOUBLE_EQ(s.StdDev, 1);
    EXPECT_DOUBLE_EQ(s.Range, 2);
    EXPECT_DOUBLE_EQ(s.Cp, 1.0);
    EXPECT_NEAR(s.Cpk, 0.6667, 1e-4);
    EXPECT_NEAR(s.LowerConfidence, 8.8684, 1e-4);
    EXPECT_NEAR(s.UpperConfidence, 11.1316, 1e-4);
}

TEST(Statistics, CellsThatDoNotCountAndEmptyColumns) {
    const ColumnStatistics s = ComputeColumnStatistics({"12.5", "     -", "0.0", "-3", "1 3.5"}, 0,
                                                       0, StatisticsEditor::Tensile);
    EXPECT_EQ(s.Count, 2);  // "1 3.5" reads as 13.5 once the blanks are gone
    EXPECT_DOUBLE_EQ(s.Mean, 13.0);
    EXPECT_DOUBLE_EQ(s.Minimum, 12.5);

    const ColumnStatistics none =
        ComputeColumnStatistics({"     -", "x"}, 1, 2, StatisticsEditor::Tensile);
    EXPECT_EQ(none.Count, 0);
    EXPECT_DOUBLE_EQ(none.Minimum, 0.0);
    EXPECT_DOUBLE_EQ(none.Mean + none.StdDev + none.LowerConfidence + none.Cp, 0.0);

    // One value: the tensile editor would take cp from it, but s is 0 there anyway; two equal
    // values: s 0 gives no capability in either editor.
    const ColumnStatistics same =
        ComputeColumnStatistics({"10", "10", "10"}, 8, 14, StatisticsEditor::OtherTypes);
    EXPECT_DOUBLE_EQ(same.StdDev, 0.0);
    EXPECT_DOUBLE_EQ(same.Cp, 0.0);
}

ParameterSet OnlyStatistics() {
    ParameterSet p;
    p.StatMean = p.StatMinimum = p.StatMaximum = p.StatRange = p.StatStdDev = 0;
    return p;
}

StatisticsColumn Column(std::vector<std::string> cells, int decimals, bool limitActive = false) {
    ResultDefinition d;
    d.Evaluate = 1;
    d.PrintInList = 1;
    d.LimitActive = limitActive ? 1 : 0;
    d.LimitMin = 8;
    d.LimitMax = 14;
    d.Decimals = decimals;
    return {d, std::move(cells)};
}

TEST(Statistics, BlockRowsAndFormats) {
    ParameterSet p;  // mean, minimum, maximum, range, deviation by default
    p.StatConfidence = p.StatCp = p.StatCpk = p.StatCount = p.StatLimits = 1;
    StatisticsColumn hidden = Column({"1", "2", "3"}, 0);
    hidden.Definition.PrintInList = 0;
    const std::vector<StatisticsColumn> columns = {
        Column({"9", "10", "11"}, 2, true),
        Column({"10", "10", "10"}, 1),
        Column({"     -", "     -", "     -"}, 1, true),
        hidden,
    };
    const auto rows = BuildStatisticsBlock(p, columns, StatisticsEditor::Tensile);
    ASSERT_EQ(rows.size(), 12u);
    const char* labels[] = {"Mittelwert",
                            "Minimum",
                            "Maximum",
                            "Spanne Max-Min",
                            "Standardabweichung",
                            "Vertrauensber. 95%",
                            "",
                            "cp",
                            "cpk",
                            "Anzahl der Werte",
                            "USG",
                            "OSG"};
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].Label, labels[i]);
    EXPECT_EQ(rows[0].Cells[0], "  10.00");
    EXPECT_EQ(rows[3].Cells[1], "    0.0");  // a range of 0 shows for identical values
    EXPECT_EQ(rows[4].Cells[1], "    0.0");
    EXPECT_EQ(rows[5].Cells[0], "   8.87");
    EXPECT_EQ(rows[6].Cells[0], "  11.13");
    EXPECT_EQ(rows[7].Cells[0], "   1.00");
    EXPECT_EQ(rows[8].Cells[0], "   0.67");
    EXPECT_EQ(rows[7].Cells[1], "     -");
    EXPECT_EQ(rows[0].Cells[2], "     -");
    EXPECT_EQ(rows[3].Cells[2], "     -");
    EXPECT_EQ(rows[9].Cells[2], "0");
    EXPECT_EQ(rows[10].Cells[0], "   8.00");
    EXPECT_EQ(rows[11].Cells[0], "  14.00");
    EXPECT_EQ(rows[10].Cells[1], "");         // no limit monitoring
    EXPECT_EQ(rows[10].Cells[2], "    8.0");  // with limits on, even without values (tensile)
    for (const auto& row : rows) EXPECT_EQ(row.Cells[3], "");  // not in the statistics

    // The other types' editor writes the limits only where more than one value counts.
    const auto other = BuildStatisticsBlock(p, columns, StatisticsEditor::OtherTypes);
    EXPECT_EQ(other[10].Cells[2], "");
    EXPECT_EQ(other[10].Cells[0], "   8.00");
}

TEST(Statistics, NoBlockBelowThreeTestsAndOnlyLimits) {
    ParameterSet p;
    EXPECT_TRUE(
        BuildStatisticsBlock(p, {Column({"9", "10"}, 0)}, StatisticsEditor::Tensile).empty());
    ParameterSet limits = OnlyStatistics();
    limits.StatLimits = 1;
    const auto rows = BuildStatisticsBlock(limits, {Column({"9", "10", "11"}, 0, true)},
                                           StatisticsEditor::Tensile);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Label, "USG");
    EXPECT_EQ(rows[0].Cells[0], "      8");
    EXPECT_EQ(rows[1].Cells[0], "     14");
}

}  // namespace
}  // namespace quorvex
