// The content of a printed report, ready to be laid out: the page head, the header lines,
// the printed columns of the results list, the rows of the selected tests and the statistics
// rows. Built from the parameter set and the editor's columns, so the editor, the main
// window's single-test report and quorvex-cli print the same list.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "evaluation/statistics.h"
#include "report/report_layout.h"
#include "report/results_editor_columns.h"

namespace quorvex {

// The language-dependent words of the report; the German texts unless the caller passes
// those of the current language.
struct ReportTexts {
    std::string Number = "Nr.";
    std::string SpecimenNo = "Probennummer";
    std::string Date = "Datum:";
    std::string Remark = "Bemerkung";
    std::string NoBreak = "ohne Bruch";  // the mark of a test stopped before its break
    // The numbered text of the language, for the names of the result columns; empty: the
    // German names.
    std::function<std::string(int)> Text;
};

// The words of the report in the language whose numbered texts `text` gives.
ReportTexts ReportTextsIn(const std::function<std::string(int)>& text);
// The labels of the statistics rows in that language.
StatisticsLabels StatisticsLabelsIn(const std::function<std::string(int)>& text);

struct ReportColumnTitle {
    std::string Name, Unit;
    int Left = 0, Right = 0;  // the value is right-aligned 10 left of Right
};

struct ReportRow {
    std::string Number, SpecimenNo;
    std::vector<std::string> Cells;  // one per printed column; "" stays empty
    std::string Remark;
    int Colour = 0;                  // curve colour k, 0 for black
};

struct ResultsReport {
    std::string LogoFile;
    std::array<std::string, 4> TitleLines;
    std::string Heading, DateLabel, Date, Footnote;
    bool PrintFootnote = false;
    std::vector<std::pair<std::string, std::string>> HeaderLines;  // title, value

    bool Tensile = true;
    ReportColumnLayout Layout;
    std::string NumberTitle, SpecimenTitle;
    std::vector<ReportColumnTitle> Columns;
    bool PrintRemark = false;
    std::string RemarkTitle;
    int RemarkX = 0;
    std::string NoBreakMark;  // in the remark, else after the specimen number
    std::vector<ReportRow> Rows;
    std::vector<StatisticsRow> Statistics;  // cells per printed column

    // The editor columns of the list in print order (the gauge lengths, then the printed
    // results), for rows made one at a time.
    std::vector<int> ListedColumns;
    // A list too long to hold: `StreamedRowCount` rows that the painter asks for one at a time,
    // in order, instead of `Rows`. False from the source stops the printout.
    std::size_t StreamedRowCount = 0;
    std::function<bool(std::size_t index, ReportRow& row)> StreamedRow;

    std::size_t RowCount() const { return StreamedRow ? StreamedRowCount : Rows.size(); }
};

// Row k (1-based position in the list) of the report for one test.
ReportRow ReportRowOf(const ResultsReport& report, const EditorColumns& columns,
                      const ResultsRecord& record, int k, bool seriesMode, bool coloured);

// The report of the selected tests (in selection order). `statistics` is the editor's block
// (cells per result column), empty when none is shown; `today` the date in short format.
ResultsReport BuildResultsReport(const ParameterSet& p, const EditorColumns& columns,
                                 const std::vector<ResultsRecord>& selected, bool seriesMode,
                                 const std::vector<StatisticsRow>& statistics,
                                 const ReportTexts& texts, const std::string& today);

// The statistics block of the selected tests as the editor computes it.
std::vector<StatisticsRow> StatisticsOfSelection(const ParameterSet& p,
                                                 const EditorColumns& columns,
                                                 const std::vector<ResultsRecord>& selected,
                                                 bool seriesMode,
                                                 const StatisticsLabels& labels = {});

// The text of a printed cell: the grid's text without blanks, or "" when it is no number
// other than 0.
std::string PrintedCell(const std::string& gridText);

ReportPlan PlanResultsReport(const ResultsReport& report, bool withDiagram);

}  // namespace quorvex
