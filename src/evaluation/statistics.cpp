// Count, mean, extremes, spread, confidence bounds and process capability of a result column.
#include "statistics.h"

#include <algorithm>
#include <cmath>

#include "text_functions.h"

namespace quorvex {
namespace {

constexpr double kMinimumStart = 8e8;
constexpr double kConfidenceFactor = 1.96;  // normal factor of the 95 % bounds
constexpr double kLeastSpread = 0.0001;     // below this cp and cpk say nothing

std::vector<double> AcceptedValues(const std::vector<std::string>& cells) {
    std::vector<double> values;
    values.reserve(cells.size());
    for (const std::string& cell : cells) {
        const ParsedNumber parsed = ParseNumberInRange(RemoveBlanks(cell), -1e300, 1e300);
        if (parsed.valid && parsed.value > 0.0) values.push_back(parsed.value);
    }
    return values;
}

}  // namespace

ColumnStatistics ComputeColumnStatistics(const std::vector<std::string>& cells, double usg,
                                         double osg, StatisticsEditor editor) {
    const std::vector<double> values = AcceptedValues(cells);
    ColumnStatistics s;
    s.Count = static_cast<int>(values.size());
    const double n = static_cast<double>(values.size());
    double sum = 0.0;
    s.Minimum = kMinimumStart;
    for (double v : values) {
        sum += v;
        s.Minimum = std::min(s.Minimum, v);
        s.Maximum = std::max(s.Maximum, v);
    }
    if (s.Minimum == kMinimumStart) s.Minimum = 0.0;
    s.Mean = s.Count >= 1 ? sum / n : 0.0;
    double squares = 0.0;
    for (double v : values) squares += (v - s.Mean) * (v - s.Mean);
    s.Range = s.Maximum - s.Minimum;
    s.StdDev = s.Count >= 2 ? std::sqrt(squares / (n - 1.0)) : 0.0;
    if (s.Count >= 1) {
        const double half = kConfidenceFactor * s.StdDev / std::sqrt(n);
        s.LowerConfidence = s.Mean - half;
        s.UpperConfidence = s.Mean + half;
    }
    const int leastCount = editor == StatisticsEditor::Tensile ? 1 : 2;
    if (s.StdDev > kLeastSpread && s.Count >= leastCount) {
        s.Cp = (osg - usg) / (6.0 * s.StdDev);
        s.Cpk = std::min((osg - s.Mean) / (3.0 * s.StdDev), (s.Mean - usg) / (3.0 * s.StdDev));
    }
    return s;
}

std::vector<StatisticsRow> BuildStatisticsBlock(const ParameterSet& p,
                                                const std::vector<StatisticsColumn>& columns,
                                                StatisticsEditor editor,
                                                const StatisticsLabels& labels) {
    std::vector<StatisticsRow> rows;
    const std::size_t selected = columns.empty() ? 0 : columns.front().Cells.size();
    if (selected < 3) return rows;

    std::vector<ColumnStatistics> stats;
    for (const StatisticsColumn& c : columns) {
        stats.push_back(
            ComputeColumnStatistics(c.Cells, c.Definition.LimitMin, c.Definition.LimitMax, editor));
    }
    auto shown = [&](std::size_t k) {
        return columns[k].Definition.Evaluate && columns[k].Definition.PrintInList;
    };
    // Rows of labels without a single value say nothing: with no result in the statistics
    // there is no block, on the screen or on paper.
    bool anyShown = false;
    for (std::size_t k = 0; k < columns.size(); ++k) anyShown = anyShown || shown(k);
    if (!anyShown) return rows;
    auto decimals = [&](std::size_t k) { return columns[k].Definition.Decimals; };
    auto positive = [&](double v, std::size_t k) {
        return v > 0.0 ? FormatFixed(v, 7, decimals(k)) : std::string(kNoStatisticValue);
    };
    // Range and deviation show 0 with decimals when the column has values at all.
    auto spread = [&](double v, std::size_t k) {
        return v > 0.0 || stats[k].Mean > 0.0 ? FormatFixed(v, 7, decimals(k))
                                              : std::string(kNoStatisticValue);
    };
    auto capability = [](double v) {
        return v > 0.0 ? FormatFixed(v, 7, 2) : std::string(kNoStatisticValue);
    };
    auto addRow =
        [&](const std::string& label, auto cellText,
            bool (*extra)(const ColumnStatistics&, const StatisticsColumn&, StatisticsEditor)) {
            StatisticsRow row{label, std::vector<std::string>(columns.size())};
            for (std::size_t k = 0; k < columns.size(); ++k) {
                if (shown(k) && extra(stats[k], columns[k], editor)) row.Cells[k] = cellText(k);
            }
            rows.push_back(std::move(row));
        };
    auto always = [](const ColumnStatistics&, const StatisticsColumn&, StatisticsEditor) {
        return true;
    };
    auto limited = [](const ColumnStatistics& s, const StatisticsColumn& c, StatisticsEditor e) {
        return c.Definition.LimitActive && (e == StatisticsEditor::Tensile || s.Count > 1);
    };

    if (p.StatMean)
        addRow(
            labels.Mean, [&](std::size_t k) { return positive(stats[k].Mean, k); }, always);
    if (p.StatMinimum)
        addRow(
            labels.Minimum, [&](std::size_t k) { return positive(stats[k].Minimum, k); }, always);
    if (p.StatMaximum)
        addRow(
            labels.Maximum, [&](std::size_t k) { return positive(stats[k].Maximum, k); }, always);
    if (p.StatRange)
        addRow(
            labels.Range, [&](std::size_t k) { return spread(stats[k].Range, k); }, always);
    if (p.StatStdDev)
        addRow(
            labels.StdDev, [&](std::size_t k) { return spread(stats[k].StdDev, k); }, always);
    if (p.StatConfidence) {
        addRow(
            labels.Confidence, [&](std::size_t k) { return positive(stats[k].LowerConfidence, k); },
            always);
        addRow(
            "", [&](std::size_t k) { return positive(stats[k].UpperConfidence, k); }, always);
    }
    if (p.StatCp)
        addRow(
            labels.Cp, [&](std::size_t k) { return capability(stats[k].Cp); }, always);
    if (p.StatCpk)
        addRow(
            labels.Cpk, [&](std::size_t k) { return capability(stats[k].Cpk); }, always);
    if (p.StatCount)
        addRow(
            labels.Count, [&](std::size_t k) { return std::to_string(stats[k].Count); }, always);
    if (p.StatLimits) {
        addRow(
            labels.Usg,
            [&](std::size_t k) {
                return FormatFixed(columns[k].Definition.LimitMin, 7, decimals(k));
            },
            limited);
        addRow(
            labels.Osg,
            [&](std::size_t k) {
                return FormatFixed(columns[k].Definition.LimitMax, 7, decimals(k));
            },
            limited);
    }
    return rows;
}

}  // namespace quorvex
