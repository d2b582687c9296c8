// The grid of the results editor as a table model: one row per listed test, the selection in
// the order it was made, and the statistics block below the tests. Cells are formatted when
// the view asks for them, so that a project of 100 000 records opens and scrolls at once.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "evaluation/statistics.h"
#include "report/results_editor_columns.h"

namespace quorvex {

class ResultsGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // At most this many tests are selected at once.
    static constexpr int kMaxSelected = 10000;
    int LanguageBase = 0;  // of the column headings

    ResultsGridModel(const ParameterSet& parameters, const EditorColumns& columns, bool seriesMode,
                     QObject* parent = nullptr);

    // The listed tests; the selection and the statistics are cleared.
    void SetTests(std::vector<ResultsRecord> tests);
    int TestCount() const { return static_cast<int>(tests_.size()); }
    const ResultsRecord& Test(int row) const { return tests_.at(static_cast<std::size_t>(row)); }

    enum class Toggle { Selected, Deselected, NoTest, Full };
    // Selects the test of `row` or takes it out of the selection, then recomputes the block.
    Toggle ToggleSelection(int row);
    void SelectAll();
    void ClearSelection();
    // Rows of the selected tests, in selection order.
    const std::vector<int>& SelectedRows() const { return selected_; }
    bool IsSelected(int row) const;

    // The text of a cell as the grid shows it (column 0 with "*" while selected).
    QString CellText(int row, int column) const;
    // The statistics rows shown below the tests (none while fewer than three are selected).
    const std::vector<StatisticsRow>& StatisticsBlock() const { return statistics_; }
    // The first row of the statistics block (one empty row below the tests).
    int StatisticsFirstRow() const { return TestCount() + 1; }

    void SetStatisticsLabels(const StatisticsLabels& labels) { labels_ = labels; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    void RecomputeStatistics();
    void RowChanged(int row);

    const ParameterSet& parameters_;
    const EditorColumns& columns_;
    bool seriesMode_ = false;
    std::vector<ResultsRecord> tests_;
    std::vector<int> selected_;
    std::vector<bool> isSelected_;
    std::vector<StatisticsRow> statistics_;
    StatisticsLabels labels_;
};

}  // namespace quorvex
