// The results editor: the tests of the current series or the records of the open results
// project in a grid, their selection and statistics, storing the series into the project,
// deleting and re-opening stored records. One window serves every test type; the columns and
// the statistics rule follow the type.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "evaluation/project_store.h"
#include "evaluation/test_files.h"
#include "evaluation/test_state.h"
#include "report/overlay_diagram.h"
#include "report/overlay_painter.h"
#include "report/report_content.h"
#include "report/results_editor_columns.h"
#include "results/results_grid_model.h"
#include "ui/dialog_base.h"
#include "ui/operator_message.h"

class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class QAction;
class QButtonGroup;
class QGroupBox;
class QPagedPaintDevice;
class QPrinter;
class QToolButton;

namespace quorvex {

class TFilterdialog;
class OverlayWidget;

// What the editor needs from the main window.
struct EditorServices {
    std::filesystem::path WorkingDirectory;
    std::string ProjectName;
    std::string ShortDateFormat = "dd.MM.yyyy";
    // Stores series slots into the project with its files and rows; false when nothing was.
    std::function<bool(const std::vector<int>& seriesSlots)> StoreSlots;
    // Re-opens stored record n into the main window; the editor closes afterwards.
    std::function<void(int recordNumber)> ReopenRecord;
    // Shows header lines read-only.
    std::function<void(const HeaderLines& lines)> ShowHeaderData;
    // The filter dialog of the program's run (project mode); null: every record.
    TFilterdialog* Filter = nullptr;
    // The program's printer as "&Drucker-Setup" left it; null: the editor's own.
    QPrinter* Printer = nullptr;
};

class TDatabaseDialog : public QuorvexDialog {
    Q_OBJECT
  public:
    TDatabaseDialog(UiContext& ui, TestState& test, EditorServices services, bool seriesMode,
                    QWidget* parent = nullptr);
    ~TDatabaseDialog() override;

    // Lists the tests: the series slots 1-10 with Rm > 0, all selected; or the project's
    // records that the filter accepts.
    void FormShow();
    // The project's records again with the current filter; the selection is cleared.
    void Rescan();

    void ToggleRow(int row);
    void SelectAll();
    void ClearSelectionClick();
    void StoreClick();
    void FilterClick();
    void DeleteRecordClick();
    void EditRecordClick();
    // A left click on a cell: the record-number column shows the header data (project mode),
    // any other column toggles the selection.
    void CellClick(int row, int column);

    // The overlay diagram of the selected tests instead of the grid, and back ("&Formular").
    void DiagramClick();
    void FormClick();
    void SetDiagramView(OverlayView view);
    // Moves the x or y range one step; beeps at either end.
    void StepAxis(bool xAxis, int direction);
    // "&Drucken": the print preview of the results list, or of the diagram printout while
    // the diagram is shown; its print button opens the standard print dialog.
    void PrintClick();
    // Saves the same pages as a PDF file chosen in a save dialog.
    void SavePdfClick();
    // The printout of the selected tests on a device; false when nothing is selected or the
    // device cannot be painted on.
    bool PrintTo(QPagedPaintDevice& device);
    bool SavePdf(const QString& path);
    ResultsReport BuildReport() const;
    bool DiagramShown() const;
    const OverlayDiagram* Diagram() const { return diagram_.get(); }
    QPushButton* DiagramButton() const { return diagramButton_; }
    QPushButton* FormButton() const { return formButton_; }
    QPushButton* PrintButton() const { return printButton_; }
    OverlayWidget* DiagramWidget() const { return overlay_; }

    bool SeriesMode() const { return seriesMode_; }
    // The tests were stored into the project during this showing.
    bool Stored() const { return stored_; }
    // A stored record was re-opened into the main window.
    bool Reopened() const { return reopened_; }

    ResultsGridModel& Model() { return *model_; }
    const EditorColumns& Columns() const { return *columns_; }
    QTableView* Grid() const { return grid_; }
    QLabel* SelectedCount() const { return selectedCount_; }
    QPushButton* StoreButton() const { return storeButton_; }
    QPushButton* FilterButton() const { return filterButton_; }
    QPushButton* ClearSelectionButton() const { return clearButton_; }
    QPushButton* CloseButton() const { return closeButton_; }
    QAction* DeleteAction() const { return deleteAction_; }
    QAction* EditAction() const { return editAction_; }
    // The pop-up menu is offered (project mode, one test selected, tests listed).
    bool PopupMenuOffered() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Space, Ctrl+A and F9; true when the key was the editor's.
    bool EditorKey(QKeyEvent* event);
    void done(int result) override;

  private:
    void UpdateSelectionDisplay();
    void BuildDiagramControls();
    bool RequireSelection();
    OverlayLook DiagramLook() const;
    std::vector<ResultsRecord> SelectedTests() const;
    std::filesystem::path CurveFileOfRow(int row) const;
    void LoadHeaderOfRecord(int recordNumber);
    int RecordNumberOfRow(int row) const;
    void ShowPopupMenu(const QPoint& position);
    QMessageBox::StandardButton Ask(const QString& text, MessageKind kind, MessageButtons buttons);
    // A logo the report cannot draw is named before the report is printed without it.
    void WarnUndrawableLogo(const ResultsReport& report);

    TestState& test_;
    EditorServices services_;
    bool seriesMode_ = false;
    bool stored_ = false;
    bool reopened_ = false;
    bool selectAllDone_ = false;
    std::vector<int> listedSlots_;  // series mode: the slot of each row
    std::array<std::string, 10> headerAtOpening_;
    std::unique_ptr<EditorColumns> columns_;
    ResultsGridModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* selectedCount_ = nullptr;
    QPushButton* storeButton_ = nullptr;
    QPushButton* filterButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* editAction_ = nullptr;
    QPushButton* diagramButton_ = nullptr;
    QPushButton* formButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* pdfButton_ = nullptr;
    QGroupBox* viewGroup_ = nullptr;
    QButtonGroup* viewButtons_ = nullptr;
    QWidget* axisButtons_ = nullptr;
    OverlayWidget* overlay_ = nullptr;
    std::unique_ptr<OverlayDiagram> diagram_;
    std::unique_ptr<QPrinter> ownPrinter_;
};

}  // namespace quorvex
