// The results editor's table model: cells on demand, the selection and the statistics block.
#include "results/results_grid_model.h"

#include <QGuiApplication>
#include <QPalette>

#include "ui/text_table.h"

namespace quorvex {

ResultsGridModel::ResultsGridModel(const ParameterSet& parameters, const EditorColumns& columns,
                                   bool seriesMode, QObject* parent)
    : QAbstractTableModel(parent),
      parameters_(parameters),
      columns_(columns),
      seriesMode_(seriesMode) {}

void ResultsGridModel::SetTests(std::vector<ResultsRecord> tests) {
    beginResetModel();
    tests_ = std::move(tests);
    selected_.clear();
    isSelected_.assign(tests_.size(), false);
    statistics_.clear();
    endResetModel();
}

bool ResultsGridModel::IsSelected(int row) const {
    return row >= 0 && row < TestCount() && isSelected_[static_cast<std::size_t>(row)];
}

ResultsGridModel::Toggle ResultsGridModel::ToggleSelection(int row) {
    if (row < 0 || row >= TestCount()) return Toggle::NoTest;
    const auto at = static_cast<std::size_t>(row);
    if (isSelected_[at]) {
        isSelected_[at] = false;
        selected_.erase(std::find(selected_.begin(), selected_.end(), row));
        RowChanged(row);
        RecomputeStatistics();
        return Toggle::Deselected;
    }
    if (static_cast<int>(selected_.size()) >= kMaxSelected) return Toggle::Full;
    isSelected_[at] = true;
    selected_.push_back(row);
    RowChanged(row);
    RecomputeStatistics();
    return Toggle::Selected;
}

void ResultsGridModel::SelectAll() {
    beginResetModel();
    const int count = std::min(TestCount(), kMaxSelected);
    selected_.clear();
    isSelected_.assign(tests_.size(), false);
    for (int row = 0; row < count; ++row) {
        selected_.push_back(row);
        isSelected_[static_cast<std::size_t>(row)] = true;
    }
    endResetModel();
    RecomputeStatistics();
}

void ResultsGridModel::ClearSelection() {
    beginResetModel();
    selected_.clear();
    isSelected_.assign(tests_.size(), false);
    statistics_.clear();
    endResetModel();
}

void ResultsGridModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, 0));
}

void ResultsGridModel::RecomputeStatistics() {
    std::vector<StatisticsColumn> block;
    for (int column : columns_.ResultColumns()) {
        StatisticsColumn c;
        c.Definition = columns_.Definition(column);
        for (int row : selected_) {
            c.Cells.push_back(columns_.Cell(Test(row), column, row + 1, seriesMode_));
        }
        block.push_back(std::move(c));
    }
    const StatisticsEditor editor =
        columns_.Tensile() ? StatisticsEditor::Tensile : StatisticsEditor::OtherTypes;
    const int before = rowCount();
    std::vector<StatisticsRow> rows = BuildStatisticsBlock(parameters_, block, editor, labels_);
    const int after = TestCount() + (rows.empty() ? 0 : 1 + static_cast<int>(rows.size()));
    if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        statistics_ = std::move(rows);
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        statistics_ = std::move(rows);
        endRemoveRows();
    } else {
        statistics_ = std::move(rows);
    }
    if (!statistics_.empty()) {
        emit dataChanged(index(TestCount(), 0), index(rowCount() - 1, columnCount() - 1));
    }
}

QString ResultsGridModel::CellText(int row, int column) const {
    if (row < 0 || column < 0 || column >= columns_.Count()) return {};
    if (row < TestCount()) {
        // "Nr." is the record's number in the project (what delete, edit and the header data
        // address), the place in the list in the series.
        const int number = seriesMode_ ? row + 1 : Test(row).RecordNumber;
        QString text =
            QString::fromStdString(columns_.Cell(Test(row), column, number, seriesMode_));
        if (column == 0 && IsSelected(row)) text += QLatin1Char('*');
        return text;
    }
    const int statisticsRow = row - StatisticsFirstRow();
    if (statisticsRow < 0 || statisticsRow >= static_cast<int>(statistics_.size())) return {};
    const StatisticsRow& s = statistics_[static_cast<std::size_t>(statisticsRow)];
    if (column == 0) return QString::fromStdString(s.Label);
    const auto& results = columns_.ResultColumns();
    const auto found = std::find(results.begin(), results.end(), column);
    if (found == results.end()) return {};
    const auto cell = static_cast<std::size_t>(found - results.begin());
    return cell < s.Cells.size() ? QString::fromStdString(s.Cells[cell]) : QString();
}

int ResultsGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return TestCount() + (statistics_.empty() ? 0 : 1 + static_cast<int>(statistics_.size()));
}

int ResultsGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_.Count();
}

QVariant ResultsGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return CellText(index.row(), index.column());
    // A selected test shows as a selected row, not only by its "*".
    if ((role == Qt::BackgroundRole || role == Qt::ForegroundRole) &&
        index.row() < TestCount() && IsSelected(index.row())) {
        const QPalette palette = QGuiApplication::palette();
        return role == Qt::BackgroundRole ? palette.brush(QPalette::Highlight)
                                          : palette.brush(QPalette::HighlightedText);
    }
    if (role == Qt::TextAlignmentRole) {
        const EditorColumnKind kind =
            columns_.Columns()[static_cast<std::size_t>(index.column())].Kind;
        const bool text = kind == EditorColumnKind::SpecimenNo ||
                          kind == EditorColumnKind::SpecimenId ||
                          kind == EditorColumnKind::Remark ||
                          (kind == EditorColumnKind::RowNumber && index.row() >= TestCount());
        return QVariant::fromValue(Qt::AlignVCenter | (text ? Qt::AlignLeft : Qt::AlignRight));
    }
    return {};
}

QVariant ResultsGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columns_.Count()) return {};
    const EditorColumn& c = columns_.Columns()[static_cast<std::size_t>(section)];
    // A numbered name or unit in the operator's language, after the blanks that align it.
    auto shown = [this](const std::string& german, int number) {
        if (number == 0) return QString::fromStdString(german);
        const std::size_t blanks = german.find_first_not_of(' ');
        return QString(static_cast<qsizetype>(blanks == std::string::npos ? 0 : blanks),
                       QLatin1Char(' ')) +
               LoadText(number, LanguageBase);
    };
    return shown(c.Name, c.NameText) + QLatin1Char('\n') + shown(c.Unit, c.UnitText);
}

}  // namespace quorvex
