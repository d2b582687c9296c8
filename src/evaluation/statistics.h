// Statistics over the selected tests of the results editor: computed from the values as the
// grid shows them (rounded to the result's decimals), never stored.
#pragma once

#include <string>
#include <vector>

#include "parameter_set.h"

namespace quorvex {

struct ColumnStatistics {
    int Count = 0;
    double Mean = 0, Minimum = 0, Maximum = 0, Range = 0, StdDev = 0;
    double LowerConfidence = 0, UpperConfidence = 0, Cp = 0, Cpk = 0;
};

// The editor of the tensile types computes cp and cpk from one value on, the editor of the
// other types from two.
enum class StatisticsEditor { Tensile, OtherTypes };

// Statistics of one result column. Cells are the texts the grid shows for the selected tests;
// a cell that does not convert after removing its blanks, or a value of 0 or less, is left out.
ColumnStatistics ComputeColumnStatistics(const std::vector<std::string>& cells, double usg,
                                         double osg, StatisticsEditor editor);

// The same statistics taken one cell at a time, so that a column of a million tests needs no
// list of its cells: count, sum, extremes and the running sum of squared deviations.
class StatisticsAccumulator {
  public:
    void Add(const std::string& cell);
    ColumnStatistics Result(double usg, double osg, StatisticsEditor editor) const;

  private:
    int count_ = 0;
    double sum_ = 0, minimum_ = 0, maximum_ = 0;
    double runningMean_ = 0, squares_ = 0;  // Welford's running mean and squared deviations
};

// The placeholder of an empty statistics cell.
inline constexpr const char* kNoStatisticValue = "     -";

// Row labels; the German texts unless the caller passes the current language's.
struct StatisticsLabels {
    std::string Mean = "Mittelwert", Minimum = "Minimum", Maximum = "Maximum";
    std::string Range = "Spanne Max-Min", StdDev = "Standardabweichung";
    std::string Confidence = "Vertrauensber. 95%", Count = "Anzahl der Werte";
    std::string Cp = "cp", Cpk = "cpk", Usg = "USG", Osg = "OSG";
};

struct StatisticsRow {
    std::string Label;
    std::vector<std::string> Cells;  // one per result column; "" where nothing is written
};

// One result column of the editor: its definition slot and the selected tests' cell texts.
struct StatisticsColumn {
    ResultDefinition Definition;
    std::vector<std::string> Cells;
};

// The rows of the statistics block in their order, for the statistics chosen in the parameter
// set. Empty when fewer than three tests are selected (the length of the cell lists), and when
// no result column takes part in the statistics.
std::vector<StatisticsRow> BuildStatisticsBlock(const ParameterSet& p,
                                                const std::vector<StatisticsColumn>& columns,
                                                StatisticsEditor editor,
                                                const StatisticsLabels& labels = {});

// The block from statistics already taken (one per column, with its definition) over
// `selected` tests.
std::vector<StatisticsRow> BuildStatisticsBlock(const ParameterSet& p,
                                                const std::vector<ResultDefinition>& definitions,
                                                const std::vector<ColumnStatistics>& stats,
                                                std::size_t selected, StatisticsEditor editor,
                                                const StatisticsLabels& labels = {});

}  // namespace quorvex
