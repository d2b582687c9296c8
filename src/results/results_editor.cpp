// The results editor window: listing, selection, statistics, storing, deleting, re-opening.
#include "results/results_editor.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "evaluation/test_types.h"
#include "results/filter_dialog.h"
#include "results/overlay_widget.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTextOk = 34;
constexpr int kTextFilter = 196;
constexpr int kTextPrint = 199;
constexpr int kTextStore = 200;
constexpr int kTextSelected = 202;
constexpr int kTextProjectCaption = 203;
constexpr int kTextSeriesCaption = 204;
constexpr int kTextTenSelected = 206;
constexpr int kTextNoneSelected = 207;
constexpr int kTextClearSelection = 208;
constexpr int kTextAlreadyStored = 209;
constexpr int kTextStoreQuestion = 210;
constexpr int kTextDeleteRecord = 812;
constexpr int kTextEditRecord = 813;
constexpr int kTextClearButton = 814;
constexpr int kTextDeleteQuestion = 818;
constexpr int kTextDiagram = 820;
constexpr int kTextSavePdf = 821;
constexpr int kTextForm = 201;
constexpr int kTextEditQuestion = 819;

}  // namespace

TDatabaseDialog::TDatabaseDialog(UiContext& ui, TestState& test, EditorServices services,
                                 bool seriesMode, QWidget* parent)
    : QuorvexDialog(ui, parent),
      test_(test),
      services_(std::move(services)),
      seriesMode_(seriesMode),
      headerAtOpening_(test.Parameters.HeaderValue) {
    setObjectName(QStringLiteral("DatabaseDialog"));
    const int base = ui_.Texts.Base();
    auto text = [base](int number) { return LoadText(number, base); };
    auto button = [&](int number, QWidget* parentWidget) {
        auto* b = new QPushButton(text(number), parentWidget);
        SetTextNumber(b, number);
        b->setAutoDefault(false);
        return b;
    };
    const int caption = seriesMode_ ? kTextSeriesCaption : kTextProjectCaption;
    SetTextNumber(this, caption);
    setWindowTitle(text(caption));

    columns_ = std::make_unique<EditorColumns>(test_.Parameters, services_.ShortDateFormat);
    model_ = new ResultsGridModel(test_.Parameters, *columns_, seriesMode_, this);
    model_->LanguageBase = ui_.Texts.Base();
    const StatisticsLabels labels =
        StatisticsLabelsIn([&text](int number) { return text(number).toStdString(); });
    model_->SetStatisticsLabels(labels);

    grid_ = new QTableView(this);
    grid_->setModel(model_);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    // Fixed row heights keep a grid of 100 000 rows from measuring every row.
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->setColumnWidth(0, 150);
    grid_->setWordWrap(false);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->installEventFilter(this);
    connect(grid_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { CellClick(index.row(), index.column()); });
    connect(grid_, &QTableView::customContextMenuRequested, this, &TDatabaseDialog::ShowPopupMenu);

    popup_ = new QMenu(this);
    deleteAction_ = popup_->addAction(text(kTextDeleteRecord));
    editAction_ = popup_->addAction(text(kTextEditRecord));
    SetTextNumber(deleteAction_, kTextDeleteRecord);
    SetTextNumber(editAction_, kTextEditRecord);
    connect(deleteAction_, &QAction::triggered, this, &TDatabaseDialog::DeleteRecordClick);
    connect(editAction_, &QAction::triggered, this, &TDatabaseDialog::EditRecordClick);

    auto* selectedGroup = new QGroupBox(text(kTextSelected), this);
    SetTextNumber(selectedGroup, kTextSelected);
    auto* selectedLayout = new QHBoxLayout(selectedGroup);
    selectedCount_ = new QLabel(QStringLiteral("0"), selectedGroup);
    selectedCount_->setMinimumWidth(60);
    clearButton_ = button(kTextClearButton, selectedGroup);
    selectedLayout->addWidget(selectedCount_);
    selectedLayout->addWidget(clearButton_);
    connect(clearButton_, &QPushButton::clicked, this, &TDatabaseDialog::ClearSelectionClick);

    filterButton_ = button(kTextFilter, this);
    filterButton_->setVisible(!seriesMode_);
    connect(filterButton_, &QPushButton::clicked, this, &TDatabaseDialog::FilterClick);
    printButton_ = button(kTextPrint, this);
    connect(printButton_, &QPushButton::clicked, this, &TDatabaseDialog::PrintClick);
    pdfButton_ = button(kTextSavePdf, this);
    connect(pdfButton_, &QPushButton::clicked, this, &TDatabaseDialog::SavePdfClick);
    diagramButton_ = button(kTextDiagram, this);
    connect(diagramButton_, &QPushButton::clicked, this, &TDatabaseDialog::DiagramClick);
    formButton_ = button(kTextForm, this);
    formButton_->setEnabled(false);
    connect(formButton_, &QPushButton::clicked, this, &TDatabaseDialog::FormClick);
    storeButton_ = button(kTextStore, this);
    storeButton_->setVisible(seriesMode_);
    connect(storeButton_, &QPushButton::clicked, this, &TDatabaseDialog::StoreClick);
    closeButton_ = button(kTextOk, this);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);

    // The diagram's view choice and axis buttons have a line of their own above the buttons,
    // so that the window stays within 1024 pixels in the diagram mode too.
    auto* diagramBand = new QHBoxLayout;
    diagramBand->addWidget(viewGroup_ = new QGroupBox(this));
    diagramBand->addWidget(axisButtons_ = new QWidget(this));
    diagramBand->addStretch();
    auto* band = new QHBoxLayout;
    band->addWidget(selectedGroup);
    band->addStretch();
    band->addWidget(diagramButton_);
    band->addWidget(formButton_);
    band->addWidget(filterButton_);
    band->addWidget(printButton_);
    band->addWidget(pdfButton_);
    band->addWidget(storeButton_);
    band->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    overlay_ = new OverlayWidget(this);
    overlay_->hide();
    layout->addWidget(overlay_, 1);
    layout->addLayout(diagramBand);
    layout->addLayout(band);
    BuildDiagramControls();
    // The editor fills the screen; the window of the other types is at most 1600 wide.
    QRect available(0, 0, 1200, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        available = screen->availableGeometry();
    }
    const int width = columns_->Tensile() ? available.width() : std::min(available.width(), 1600);
    resize(std::max(width, 640), std::max(available.height(), 480));

    FormShow();
}

TDatabaseDialog::~TDatabaseDialog() {
    // The widget keeps a pointer to the diagram, which goes first.
    overlay_->ShowDiagram(nullptr, {});
}

QMessageBox::StandardButton TDatabaseDialog::Ask(const QString& text, MessageKind kind,
                                                 MessageButtons buttons) {
    return ui_.Messages.ShowOperatorMessage(text, kind, buttons);
}

void TDatabaseDialog::FormShow() {
    if (seriesMode_) {
        std::vector<ResultsRecord> tests;
        listedSlots_.clear();
        for (int slot = 1; slot <= Series::kMaxTests; ++slot) {
            const ResultsRecord& r = test_.TestSeries.Slots[static_cast<std::size_t>(slot)];
            if (r.Rm > 0) {
                tests.push_back(r);
                listedSlots_.push_back(slot);
            }
        }
        model_->SetTests(std::move(tests));
        model_->SelectAll();
        UpdateSelectionDisplay();
        return;
    }
    Rescan();
}

void TDatabaseDialog::Rescan() {
    const RecordFilter filter = services_.Filter ? services_.Filter->Filter() : RecordFilter{};
    const std::filesystem::path file =
        ProjectResultsFile(services_.WorkingDirectory, services_.ProjectName);
    std::vector<ResultsRecord> tests;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const RecordCount count =
        ScanProject(file, filter, [&tests](int number, const ResultsRecord& record) {
            tests.push_back(record);
            // Delete and edit address the record by this column: it is the record's place.
            tests.back().RecordNumber = number;
            return true;
        });
    QApplication::restoreOverrideCursor();
    selectAllDone_ = false;
    // The curves of the previous selection go with it.
    if (DiagramShown()) FormClick();
    model_->SetTests(std::move(tests));
    grid_->scrollToTop();
    UpdateSelectionDisplay();
    if (!count.Message.empty()) {
        Ask(QString::fromStdString(count.Message), MessageKind::Warning, MessageButtons::Ok);
    }
}

void TDatabaseDialog::UpdateSelectionDisplay() {
    const std::size_t selected = model_->SelectedRows().size();
    selectedCount_->setText(QString::number(selected));
    diagramButton_->setEnabled(selected >= 1 && selected <= 10);
}

int TDatabaseDialog::RecordNumberOfRow(int row) const {
    if (row < 0 || row >= model_->TestCount()) return 0;
    return model_->Test(row).RecordNumber;
}

void TDatabaseDialog::LoadHeaderOfRecord(int recordNumber) {
    HeaderLines lines;
    const std::filesystem::path file = ProjectRecordFile(
        ProjectDirectory(services_.WorkingDirectory, services_.ProjectName), recordNumber, ".Hea");
    // A missing header file leaves the current header data as it is.
    if (ReadHeaderFile(file, lines).Loaded()) test_.Parameters.HeaderValue = lines;
}

void TDatabaseDialog::ToggleRow(int row) {
    const ResultsGridModel::Toggle toggle = model_->ToggleSelection(row);
    if (toggle == ResultsGridModel::Toggle::Full) {
        Ask(LoadText(kTextTenSelected, ui_.Texts.Base()), MessageKind::Error, MessageButtons::Ok);
    }
    if (toggle == ResultsGridModel::Toggle::Full || toggle == ResultsGridModel::Toggle::NoTest) {
        QApplication::beep();
        return;
    }
    // The printout carries the header of the last selected test.
    if (toggle == ResultsGridModel::Toggle::Selected && !seriesMode_ &&
        model_->SelectedRows().size() <= 10) {
        LoadHeaderOfRecord(RecordNumberOfRow(row));
    }
    UpdateSelectionDisplay();
}

void TDatabaseDialog::SelectAll() {
    if (selectAllDone_) return;
    selectAllDone_ = true;
    model_->SelectAll();
    // As with single selections, the printout carries the header of the last selected test.
    const std::vector<int>& selected = model_->SelectedRows();
    if (!seriesMode_ && !selected.empty() && selected.size() <= 10) {
        LoadHeaderOfRecord(RecordNumberOfRow(selected.back()));
    }
    UpdateSelectionDisplay();
}

void TDatabaseDialog::ClearSelectionClick() {
    const int base = ui_.Texts.Base();
    if (model_->SelectedRows().empty()) {
        Ask(LoadText(kTextNoneSelected, base), MessageKind::Error, MessageButtons::Ok);
        return;
    }
    if (seriesMode_ && Ask(LoadText(kTextClearSelection, base), MessageKind::Warning,
                           MessageButtons::YesNo) != QMessageBox::Yes) {
        return;
    }
    model_->ClearSelection();
    selectAllDone_ = false;
    UpdateSelectionDisplay();
}

void TDatabaseDialog::StoreClick() {
    if (!seriesMode_) return;
    const int base = ui_.Texts.Base();
    if (model_->SelectedRows().empty()) {
        Ask(LoadText(kTextNoneSelected, base), MessageKind::Error, MessageButtons::Ok);
        return;
    }
    if (stored_) {
        Ask(LoadText(kTextAlreadyStored, base), MessageKind::Warning, MessageButtons::Ok);
        return;
    }
    if (Ask(LoadText(kTextStoreQuestion, base), MessageKind::Confirmation, MessageButtons::YesNo) !=
        QMessageBox::Yes) {
        return;
    }
    std::vector<int> seriesSlots;
    for (int row : model_->SelectedRows())
        seriesSlots.push_back(listedSlots_.at(static_cast<std::size_t>(row)));
    if (services_.StoreSlots && services_.StoreSlots(seriesSlots)) stored_ = true;
}

void TDatabaseDialog::FilterClick() {
    if (seriesMode_ || !services_.Filter) return;
    if (services_.Filter->exec() == QDialog::Accepted) Rescan();
}

bool TDatabaseDialog::PopupMenuOffered() const {
    return !seriesMode_ && model_->TestCount() > 0;
}

void TDatabaseDialog::ShowPopupMenu(const QPoint& position) {
    if (!PopupMenuOffered()) return;
    // The menu acts on the row under the pointer, whatever else is selected; below the tests
    // (the statistics rows) there is nothing to act on.
    const QModelIndex clicked = grid_->indexAt(position);
    if (!clicked.isValid() || clicked.row() >= model_->TestCount()) return;
    grid_->setCurrentIndex(clicked);
    popup_->popup(grid_->viewport()->mapToGlobal(position));
}

void TDatabaseDialog::DeleteRecordClick() {
    const int number = RecordNumberOfRow(grid_->currentIndex().row());
    if (number < 1) return;
    if (Ask(LoadText(kTextDeleteQuestion, ui_.Texts.Base()), MessageKind::Confirmation,
            MessageButtons::YesNo) != QMessageBox::Yes) {
        return;
    }
    MarkRecordDeleted(ProjectResultsFile(services_.WorkingDirectory, services_.ProjectName),
                      number);
    Rescan();
}

void TDatabaseDialog::EditRecordClick() {
    const int number = RecordNumberOfRow(grid_->currentIndex().row());
    if (number < 1) return;
    if (Ask(LoadText(kTextEditQuestion, ui_.Texts.Base()), MessageKind::Confirmation,
            MessageButtons::YesNo) != QMessageBox::Yes) {
        return;
    }
    if (!services_.ReopenRecord) return;
    services_.ReopenRecord(number);
    reopened_ = true;
    accept();
}

void TDatabaseDialog::CellClick(int row, int column) {
    if (!seriesMode_ && column == columns_->RecordNumberColumn()) {
        if (row < 0 || row >= model_->TestCount()) {
            QApplication::beep();
            return;
        }
        HeaderLines lines;
        const std::filesystem::path file =
            ProjectRecordFile(ProjectDirectory(services_.WorkingDirectory, services_.ProjectName),
                              RecordNumberOfRow(row), ".Hea");
        if (ReadHeaderFile(file, lines).Loaded() && services_.ShowHeaderData) {
            services_.ShowHeaderData(lines);
        }
        return;
    }
    ToggleRow(row);
}

bool TDatabaseDialog::EditorKey(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        ToggleRow(grid_->currentIndex().row());
        return true;
    }
    if (event->key() == Qt::Key_A && event->modifiers() == Qt::ControlModifier) {
        SelectAll();
        return true;
    }
    if (event->key() == Qt::Key_F9 && seriesMode_) {
        accept();
        return true;
    }
    return false;
}

bool TDatabaseDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress &&
        EditorKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QuorvexDialog::eventFilter(watched, event);
}

void TDatabaseDialog::keyPressEvent(QKeyEvent* event) {
    if (EditorKey(event)) return;
    QuorvexDialog::keyPressEvent(event);
}

void TDatabaseDialog::done(int result) {
    // The header data of the selected records was only borrowed; a re-opened test keeps its own.
    if (!reopened_) test_.Parameters.HeaderValue = headerAtOpening_;
    QuorvexDialog::done(result);
}

}  // namespace quorvex
