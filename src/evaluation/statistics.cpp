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

}  // namespace

void StatisticsAccumulator::Add(const std::string& cell) {
    const ParsedNumber parsed = ParseNumberInRange(RemoveBlanks(cell), -1e300, 1e300);
    if (!parsed.valid || !(parsed.value > 0.0)) return;
    const double v = parsed.value;
    ++count_;
    sum_ += v;
    minimum_ = count_ == 1 ? v : std::min(minimum_, v);
    maximum_ = std::max(maximum_, v);
    const double before = runningMean_;
    runningMean_ += (v - before) / count_;
    squares_ += (v - before) * (v - runningMean_);
}

ColumnStatistics StatisticsAccumulator::Result(double usg, double osg,
                                               StatisticsEditor editor) const {
    ColumnStatistics s;
    s.Count = count_;
    const double n = static_cast<double>(count_);
    s.Minimum = count_ >= 1 && minimum_ < kMinimumStart ? minimum_ : 0.0;
    s.Maximum = maximum_;
    s.Mean = count_ >= 1 ? sum_ / n : 0.0;
    s.Range = s.Maximum - s.Minimum;
    s.StdDev = count_ >= 2 ? std::sqrt(squares_ / (n - 1.0)) : 0.0;
    if (count_ >= 1) {
        const double half = kConfidenceFactor * s.StdDev / std::sqrt(n);
        s.LowerConfidence = s.Mean - half;
        s.UpperConfidence = s.Mean + half;
    }
    const int leastCount = editor == StatisticsEditor::Tensile ? 1 : 2;
    if (s.StdDev > kLeastSpread && count_ >= leastCount) {
        s.Cp = (osg - usg) / (6.0 * s.StdDev);
        s.Cpk = std::min((osg - s.Mean) / (3.0 * s.StdDev), (s.Mean - usg) / (3.0 * s.StdDev));
    }
    return s;
}

ColumnStatistics ComputeColumnStatistics(const std::vector<std::string>& cells, double usg,
                                         double osg, StatisticsEditor editor) {
    StatisticsAccumulator accumulator;
    for (const std::string& cell : cells) accumulator.Add(cell);
    return accumulator.Result(usg, osg, editor);
}

std::vector<StatisticsRow> BuildStatisticsBlock(const ParameterSet& p,
                                                const std::vector<StatisticsColumn>& columns,
                                                StatisticsEditor editor,
                                                const StatisticsLabels& labels) {
    const std::size_t selected = columns.empty() ? 0 : columns.front().Cells.size();
    if (selected < 3) return {};
    std::vector<ResultDefinition> definitions;
    std::vector<ColumnStatistics> stats;
    for (const StatisticsColumn& c : columns) {
        definitions.push_back(c.Definition);
        stats.push_back(
            ComputeColumnStatistics(c.Cells, c.Definition.LimitMin, c.Definition.LimitMax, editor));
    }
    return BuildStatisticsBlock(p, definitions, stats, selected, editor, labels);
}

std::vector<StatisticsRow> BuildStatisticsBlock(const ParameterSet& p,
                                                const std::vector<ResultDefinition>& definitions,
                                                const std::vector<ColumnStatistics>& stats,
                                                std::size_t selected, StatisticsEditor editor,
                                                const StatisticsLabels& labels) {
    std::vector<StatisticsRow> rows;
    if (selected < 3 || stats.size() != definitions.size()) return rows;
    auto shown = [&](std::size_t k) {
        return definitions[k].Evaluate && definitions[k].PrintInList;
    };
    // Rows of labels without a single value say nothing: with no result in the statistics
    // there is no block, on the screen or on paper.
    bool anyShown = false;
    for (std::size_t k = 0; k < definitions.size(); ++k) anyShown = anyShown || shown(k);
    if (!anyShown) return rows;
    auto decimals = [&](std::size_t k) { return definitions[k].Decimals; };
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
            bool (*extra)(const ColumnStatistics&, const ResultDefinition&, StatisticsEditor)) {
            StatisticsRow row{label, std::vector<std::string>(definitions.size())};
            for (std::size_t k = 0; k < definitions.size(); ++k) {
                if (shown(k) && extra(stats[k], definitions[k], editor)) row.Cells[k] = cellText(k);
            }
            rows.push_back(std::move(row));
        };
    auto always = [](const ColumnStatistics&, const ResultDefinition&, StatisticsEditor) {
        return true;
    };
    auto limited = [](const ColumnStatistics& s, const ResultDefinition& d, StatisticsEditor e) {
        return d.LimitActive && (e == StatisticsEditor::Tensile || s.Count > 1);
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
                return FormatFixed(definitions[k].LimitMin, 7, decimals(k));
            },
            limited);
        addRow(
            labels.Osg,
            [&](std::size_t k) {
                return FormatFixed(definitions[k].LimitMax, 7, decimals(k));
            },
            limited);
    }
    return rows;
}

}  // namespace quorvex
