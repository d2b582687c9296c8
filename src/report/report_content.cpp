// Builds the content of the printed results list from the editor's columns.
#include "report/report_content.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "evaluation/result_elements.h"

namespace quorvex {
namespace {

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

bool Blank(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

}  // namespace

std::string PrintedCell(const std::string& gridText) {
    std::string text;
    for (char c : gridText) {
        if (c != ' ') text += c;
    }
    if (text.empty()) return {};
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value) || value == 0.0) return {};
    return text;
}

std::vector<StatisticsRow> StatisticsOfSelection(const ParameterSet& p,
                                                 const EditorColumns& columns,
                                                 const std::vector<ResultsRecord>& selected,
                                                 bool seriesMode, const StatisticsLabels& labels) {
    std::vector<StatisticsColumn> block;
    for (int column : columns.ResultColumns()) {
        StatisticsColumn c;
        c.Definition = columns.Definition(column);
        for (std::size_t i = 0; i < selected.size(); ++i) {
            c.Cells.push_back(
                columns.Cell(selected[i], column, static_cast<int>(i) + 1, seriesMode));
        }
        block.push_back(std::move(c));
    }
    return BuildStatisticsBlock(
        p, block, columns.Tensile() ? StatisticsEditor::Tensile : StatisticsEditor::OtherTypes,
        labels);
}

ReportTexts ReportTextsIn(const std::function<std::string(int)>& text) {
    constexpr int kNumber = 223, kSpecimenNo = 104, kDate = 178, kRemark = 450, kNoBreak = 231;
    ReportTexts texts;
    auto word = [&text](int number, std::string& target) {
        const std::string t = text(number);
        if (!t.empty()) target = t;
    };
    word(kNumber, texts.Number);
    word(kSpecimenNo, texts.SpecimenNo);
    word(kDate, texts.Date);
    word(kRemark, texts.Remark);
    word(kNoBreak, texts.NoBreak);
    texts.Text = text;
    return texts;
}

StatisticsLabels StatisticsLabelsIn(const std::function<std::string(int)>& text) {
    StatisticsLabels labels;
    auto label = [&text](int number, std::string& target) {
        const std::string t = text(number);
        if (!t.empty()) target = t;
    };
    label(212, labels.Mean);
    label(213, labels.Minimum);
    label(214, labels.Maximum);
    label(215, labels.Range);
    label(216, labels.StdDev);
    label(218, labels.Confidence);
    label(220, labels.Count);
    return labels;
}

ResultsReport BuildResultsReport(const ParameterSet& p, const EditorColumns& columns,
                                 const std::vector<ResultsRecord>& selected, bool seriesMode,
                                 const std::vector<StatisticsRow>& statistics,
                                 const ReportTexts& texts, const std::string& today) {
    ResultsReport r;
    r.LogoFile = p.LogoFile;
    r.TitleLines = p.TitleLine;
    r.Heading = p.ReportHeading;
    r.DateLabel = texts.Date;
    r.Date = today;
    r.Footnote = p.Footnote;
    r.PrintFootnote = p.PrintFootnote != 0;
    for (std::size_t i = 0; i < p.HeaderLabel.size(); ++i) {
        if (Blank(p.HeaderLabel[i])) continue;
        r.HeaderLines.emplace_back(p.HeaderLabel[i], p.HeaderValue[i]);
    }

    // The printed result columns and the place of each in the editor's result columns.
    r.Tensile = columns.Tensile();
    std::vector<int> printed;
    std::vector<int> printedResultIndex;
    const auto& results = columns.ResultColumns();
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (columns.Definition(results[i]).PrintInReport) {
            printed.push_back(results[i]);
            printedResultIndex.push_back(static_cast<int>(i));
        }
    }
    r.PrintRemark = p.Results[static_cast<std::size_t>(RemarkSlot(p.TestType) - 1)].PrintInReport != 0;
    const int a = 1 + static_cast<int>(printed.size()) + (r.PrintRemark ? 1 : 0);
    r.Layout = ResultsListColumns(a);
    const auto& P = r.Layout.P;
    r.NumberTitle = texts.Number;
    r.SpecimenTitle = texts.SpecimenNo;
    r.RemarkTitle = texts.Remark;
    r.NoBreakMark = texts.NoBreak;

    // Column k of the list spans P[first + k - 1] ... P[first + k].
    std::vector<int> listed;        // editor columns in print order
    std::vector<int> statisticsOf;  // index into the statistics cells, -1 for none
    if (r.Tensile) {
        for (int c = 0; c < columns.Count(); ++c) {
            if (columns.Columns()[static_cast<std::size_t>(c)].Kind ==
                EditorColumnKind::GaugeLength) {
                listed.push_back(c);
                statisticsOf.push_back(-1);
            }
        }
    }
    for (std::size_t i = 0; i < printed.size(); ++i) {
        listed.push_back(printed[i]);
        statisticsOf.push_back(printedResultIndex[i]);
    }
    // The list ends at the last column position there is.
    const std::size_t fits = P.size() - 3;
    if (listed.size() > fits) {
        listed.resize(fits);
        statisticsOf.resize(fits);
    }
    for (std::size_t k = 0; k < listed.size(); ++k) {
        const EditorColumn& c = columns.Columns()[static_cast<std::size_t>(listed[k])];
        std::string name = Trimmed(c.Name);
        if (texts.Text && c.NameText != 0) {
            const std::string translated = Trimmed(texts.Text(c.NameText));
            if (!translated.empty()) name = translated;
        }
        r.Columns.push_back({name, Trimmed(c.Unit), P[2 + k], P[3 + k]});
    }
    r.RemarkX = (r.Columns.empty() ? P[2] : r.Columns.back().Right) + 10;

    r.ListedColumns = listed;
    const bool coloured = selected.size() <= 10 && p.PrintCurveColoured != 0;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        r.Rows.push_back(
            ReportRowOf(r, columns, selected[i], static_cast<int>(i) + 1, seriesMode, coloured));
    }

    for (const StatisticsRow& s : statistics) {
        StatisticsRow printedRow;
        printedRow.Label = s.Label;
        for (int index : statisticsOf) {
            const bool has = index >= 0 && static_cast<std::size_t>(index) < s.Cells.size();
            printedRow.Cells.push_back(has ? Trimmed(s.Cells[static_cast<std::size_t>(index)])
                                           : std::string());
        }
        r.Statistics.push_back(std::move(printedRow));
    }
    return r;
}

ReportRow ReportRowOf(const ResultsReport& report, const EditorColumns& columns,
                      const ResultsRecord& record, int k, bool seriesMode, bool coloured) {
    ReportRow row;
    row.Number = std::to_string(k);
    row.SpecimenNo = record.SpecimenNo;
    for (int column : report.ListedColumns) {
        row.Cells.push_back(PrintedCell(columns.Cell(record, column, k, seriesMode)));
    }
    if (report.PrintRemark) row.Remark = record.Remark;
    // A test that did not break says so in its row: in the remark, else beside its number.
    if (EndedWithoutBreak(record)) {
        if (report.PrintRemark) {
            row.Remark = report.NoBreakMark + (row.Remark.empty() ? "" : ", " + row.Remark);
        } else {
            row.SpecimenNo += " (" + report.NoBreakMark + ")";
        }
    }
    row.Colour = coloured ? k : 0;
    return row;
}

ReportPlan PlanResultsReport(const ResultsReport& report, bool withDiagram) {
    ReportPlanInput in;
    in.HeaderLines = static_cast<int>(report.HeaderLines.size());
    in.Tensile = report.Tensile;
    in.FontHeight = report.Layout.FontHeight;
    in.Rows = static_cast<int>(report.RowCount());
    in.StatisticsRows = withDiagram ? 0 : static_cast<int>(report.Statistics.size());
    in.Diagram = withDiagram;
    return PlanReport(in);
}

}  // namespace quorvex
