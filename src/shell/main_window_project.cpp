// The results project and series commands of the main window: opening projects,
// the series tool bar, keeping the last test in the series or the project, the export and
// statistics options, specimen files and the demonstration curve.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStringList>
#include <QStyle>
#include <QToolBar>

#include "definitions/results_definition_dialog.h"
#include "evaluation/ascii_export.h"
#include "evaluation/curve_file.h"
#include "evaluation/parameter_file.h"
#include "evaluation/project_store.h"
#include "evaluation/result_limits.h"
#include "evaluation/series_store.h"
#include "evaluation/store_lock.h"
#include "evaluation/test_files.h"
#include "evaluation/test_state.h"
#include "evaluation/text_functions.h"
#include "evaluation/win1252.h"
#include "results/ascii_format_dialog.h"
#include "store/export_database.h"
#include "results/header_data_dialog.h"
#include "results/project_options_form.h"
#include "specimen/specimen_dialog.h"
#include "results/statistics_options_dialog.h"
#include "results/test_type_dialog.h"
#include "results/title_definition_dialog.h"
#include "run/app_state.h"
#include "run/tensile_run.h"
#include "setup/machine_config.h"
#include "shell/main_window.h"
#include "shell/project_dialog.h"
#include "shell/result_panels.h"
#include "shell/results_project.h"
#include "shell/working_files.h"
#include "ui/captions.h"
#include "ui/dialog_base.h"
#include "ui/file_dialogs.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTextSpecimenSaveTitle = 49;  // "Probendaten speichern unter"
constexpr int kTextSpecimenLoadTitle = 171;  // "Probendaten laden"
constexpr int kTextSpecimenFileUnreadable = 172;
constexpr int kTextSaveTestsFirst = 166;
constexpr int kTextNoTest = 174;
constexpr int kTextReallyDeleteTest = 173;
constexpr int kTextSpecimenDeleteTitle = 177;  // "Probendaten löschen"
constexpr int kTextStoreTestsInProject = 210;
constexpr int kTextEditorMissing = 872;
constexpr int kTextStoredAsRecord = 827;  // "Versuch als Datensatz %1 in %2 gespeichert"
constexpr int kStoredMessageMs = 10000;
constexpr int kTextPrintTest = 806;
constexpr int kTextDeleteTest = 807;
constexpr int kTextCurrentSeries = 808;
constexpr int kTextStoreInSeries = 809;
constexpr int kTextAliasRowsWaiting = 810;
constexpr int kTextAliasUnavailable = 811;
constexpr int kTextExportRowsWaiting = 864;
constexpr int kTextExportOnNetwork = 865;

std::filesystem::path ToPath(const QString& path) {
    return path.toStdString();
}

}  // namespace

std::string SystemShortDateFormat() {
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C) return "dd.MM.yyyy";
    QString format = system.dateFormat(QLocale::ShortFormat);
    format.replace(QRegularExpression(QStringLiteral("M{3,}")), QStringLiteral("MM"));
    format.replace(QRegularExpression(QStringLiteral("d{3,}")), QStringLiteral("dd"));
    return format.toStdString();
}

void TSDIAppForm::ConnectProjectCommands() {
    testTypeDlg_ = new TVersuchsartDlg(ui_, test_.Parameters, this);
    statisticsDlg_ = new TBtnRightDlg4(ui_, test_.Parameters, this);
    asciiDlg_ = new TAscii_Format(ui_, test_.Parameters, this);
    titleDlg_ = new TMultPageDlg(ui_, test_.Parameters, this);
    titleDlg_->Files = &files_;
    headerDlg_ = new TKopfdatenDlg(ui_, test_.Parameters, this);

    const struct {
        QAction* action;
        void (TSDIAppForm::*command)();
    } commands[] = {
        {menu_.NewProject, &TSDIAppForm::NewProjectCommand},
        {menu_.TitleHeaderDefinition, &TSDIAppForm::TitleHeaderDefinitionCommand},
        {menu_.ResultsDefinition, &TSDIAppForm::ResultsDefinitionCommand},
        {menu_.HeaderData, &TSDIAppForm::HeaderDataCommand},
        {menu_.Statistics, &TSDIAppForm::StatisticsOptionsCommand},
        {menu_.AsciiFile, &TSDIAppForm::AsciiOptionsCommand},
        {menu_.CurrentSeries, &TSDIAppForm::CurrentSeriesCommand},
        {menu_.ResultsProjectEditor, &TSDIAppForm::ProjectEditorCommand},
        {menu_.SaveSpecimen, &TSDIAppForm::SaveSpecimenCommand},
        {menu_.LoadSpecimen, &TSDIAppForm::SpecimenFileTestKey},
        {menu_.DeleteSpecimen, &TSDIAppForm::DeleteSpecimenCommand},
        {menu_.DemoFile, &TSDIAppForm::DemoFileCommand},
    };
    for (const auto& c : commands) {
        connect(c.action, &QAction::triggered, this, c.command);
        c.action->setEnabled(true);
    }
    ShowCurrentSeries = [this] { CurrentSeriesCommand(); };
    OpenProjectEditor = [this] { ProjectEditorCommand(); };
    LoadDemoTest = [this] { DemoFileCommand(); };
    StartTestFromSpecimenFile = [this] { SpecimenFileTestCommand(); };
    BuildSeriesBar();
    InstallResultsEditor();
    InstallReports();
}

void TSDIAppForm::BuildSeriesBar() {
    seriesBar_ = addToolBar(LoadText(kTextCurrentSeries, 0));
    seriesBar_->setObjectName(QStringLiteral("SeriesBar"));
    auto add = [this](const char* name, int textNumber, QStyle::StandardPixmap icon,
                      void (TSDIAppForm::*command)()) {
        QAction* action = seriesBar_->addAction(style()->standardIcon(icon),
                                                textNumber ? LoadText(textNumber, 0) : QString());
        action->setObjectName(QString::fromLatin1(name));
        if (textNumber) SetTextNumber(action, textNumber);
        if (command) connect(action, &QAction::triggered, this, command);
        return action;
    };
    add("PrintTest", kTextPrintTest, QStyle::SP_FileDialogListView, &TSDIAppForm::PrintTestCommand);
    add("DeleteTest", kTextDeleteTest, QStyle::SP_TrashIcon, &TSDIAppForm::DeleteTestCommand);
    add("CurrentSeries", kTextCurrentSeries, QStyle::SP_FileDialogInfoView,
        &TSDIAppForm::CurrentSeriesCommand);
    add("StoreInSeries", kTextStoreInSeries, QStyle::SP_DialogSaveButton,
        &TSDIAppForm::StoreInSeriesCommand);
    QAction* f6 = add("StoreInProject", 0, QStyle::SP_DriveHDIcon, &TSDIAppForm::StoreLastTestKey);
    f6->setText(QStringLiteral("F6"));
}

// --- the databases

void TSDIAppForm::OpenDatabases() {
    DatabaseSetup setup = DatabaseSetupOf(app_.WorkingDirectory, app_.DatabaseDirectory);
    for (const std::string& warning : setup.Warnings) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(warning), MessageKind::Error,
                                         MessageButtons::Ok);
    }
    databases_ = std::make_unique<ExportDatabases>(std::move(setup));
    // A SQLite export file on a share is named once at start-up and stays in the status line.
    networkWarning_ = databases_->NetworkFileSystemWarning();
    if (!networkWarning_.empty()) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(networkWarning_),
                                         MessageKind::Warning, MessageButtons::Ok);
    }
    app_.DatabaseAvailable = databases_->ProbeAlias();
    // Rows that waited since the last run go now, once; a test whose store ended right after
    // its record gets its rows now.
    databases_->SendPendingRows();
    ShowAliasOutbox();
}

void TSDIAppForm::ShowAliasOutbox() {
    if (!aliasOutboxLabel_) {
        aliasOutboxLabel_ = new QLabel(this);
        aliasOutboxLabel_->setObjectName(QStringLiteral("AliasOutbox"));
        statusBar()->addPermanentWidget(aliasOutboxLabel_);
        exportOutboxLabel_ = new QLabel(this);
        exportOutboxLabel_->setObjectName(QStringLiteral("ExportOutbox"));
        statusBar()->addPermanentWidget(exportOutboxLabel_);
    }
    if (databases_) {
        for (const std::string& message : databases_->TakeMessages()) {
            ui_.Messages.ShowOperatorMessage(QString::fromStdString(message), MessageKind::Error,
                                             MessageButtons::Ok);
        }
    }
    app_.AliasRowsWaiting = databases_ ? databases_->PendingAliasRows() : 0;
    const int base = ui_.Texts.Base();
    const bool aliasAway = test_.Parameters.WriteAliasTable && !app_.DatabaseAvailable;
    aliasOutboxLabel_->setText(
        aliasAway ? LoadText(kTextAliasUnavailable, base)
                  : LoadText(kTextAliasRowsWaiting, base).arg(app_.AliasRowsWaiting));
    aliasOutboxLabel_->setVisible(aliasAway || app_.AliasRowsWaiting > 0);

    const int exportWaiting = databases_ ? databases_->PendingExportRows() : 0;
    QStringList parts;
    if (exportWaiting > 0) parts << LoadText(kTextExportRowsWaiting, base).arg(exportWaiting);
    if (!networkWarning_.empty()) {
        // The warning names the file system in brackets: "... network file system (NFS): ...".
        const std::size_t open = networkWarning_.find('(');
        const std::size_t close = networkWarning_.find(')', open);
        const std::string system = networkWarning_.substr(open + 1, close - open - 1);
        parts << LoadText(kTextExportOnNetwork, base).arg(QString::fromStdString(system));
        exportOutboxLabel_->setToolTip(QString::fromStdString(networkWarning_));
    }
    exportOutboxLabel_->setText(parts.join(QLatin1String(" · ")));
    exportOutboxLabel_->setVisible(!parts.isEmpty());
}

// --- storing

int TSDIAppForm::StoreSlotsInProject(const std::vector<int>& seriesSlots) {
    if (!app_.ProjectOpen) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kNoProjectOpen), MessageKind::Error,
                                         MessageButtons::Ok);
        return 0;
    }
    const std::vector<StoredRecord> stored =
        StoreSlotsInNamedProject(seriesSlots, app_.ProjectName);
    return stored.empty() ? 0 : stored.back().RecordNumber;
}

std::vector<StoredRecord> TSDIAppForm::StoreSlotsInNamedProject(
    const std::vector<int>& seriesSlots, const QString& projectName) {
    // A project holds the tests of its own test type only.
    const std::string refusal =
        ProjectTestTypeRefusal(ProjectParameterFile(app_.WorkingDirectory, projectName),
                               projectName.toStdString(), test_.Parameters.TestType);
    if (!refusal.empty()) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(refusal), MessageKind::Error,
                                         MessageButtons::Ok);
        return {};
    }
    if (!databases_) OpenDatabases();
    ProjectStoreContext context;
    context.WorkingDirectory = app_.WorkingDirectory;
    context.ProjectName = projectName.toStdString();
    context.ShortDateFormat = SystemShortDateFormat();
    context.Today = DateTimeNow();
    // An alias database that did not answer at start-up takes no rows (its option shows
    // unticked and disabled); the status line says so.
    // A script storing from the same working directory copies the same series files: one
    // store at a time.
    const StoreLock lock(app_.WorkingDirectory, kStoreLockWait);
    if (!lock.Held()) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(lock.Message()),
                                         MessageKind::Error, MessageButtons::Ok);
        return {};
    }
    ParameterSet& p = test_.Parameters;
    const std::uint8_t writeAlias = p.WriteAliasTable;
    if (!app_.DatabaseAvailable) p.WriteAliasTable = 0;
    const ProjectStoreResult result =
        StoreSeriesInProject(test_, seriesSlots, context, *databases_);
    p.WriteAliasTable = writeAlias;
    for (const std::string& message : result.Messages) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(message), MessageKind::Error,
                                         MessageButtons::Ok);
    }
    ShowAliasOutbox();
    return result.Stored;
}

void TSDIAppForm::StoreLastTestInSeriesNow() {
    ResultsRecord& current = test_.Current();
    current.Remark = Utf8Left(current.Remark, 40);
    const int slot = NextFreeSlot(test_.TestSeries);
    StoreTestInSeries(test_, slot, app_.WorkingDirectory, DateTimeNow());
    app_.LastTestSaved = true;
    app_.LastTestNew = false;
    if (slot >= 1 && slot <= Series::kSlots) {
        ConsumeImportedSpecimenRow(
            test_.TestSeries.Slots[static_cast<std::size_t>(slot)].SpecimenNo);
    }
}

void TSDIAppForm::ConsumeImportedSpecimenRow(const std::string& specimenNo) {
    if (!importedSpecimen_.FromImport) return;
    importedSpecimen_.FromImport = false;
    // Every prepared specimen is tested once: its row goes when its test is in the series.
    if (!app_.DatabaseAvailable || !databases_) return;
    const std::string problem = ConsumeImportedSpecimen(databases_->Alias(), app_.WorkingDirectory,
                                                        importedSpecimen_.Id, specimenNo);
    if (!problem.empty()) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(problem), MessageKind::Error,
                                         MessageButtons::Ok);
    }
}

void TSDIAppForm::AskStoreLastTestInSeries(MessageKind kind) {
    if (!app_.LastTestNew || app_.LastTestSaved) return;
    if (ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kSaveLastTestInSeries), kind,
                                         MessageButtons::YesNo) == QMessageBox::Yes) {
        StoreLastTestInSeriesNow();
    }
}

void TSDIAppForm::SaveSeriesBeforeClearing() {
    if (ResultsEditor) {
        ResultsEditor(true);
        return;
    }
    // Without the series editor the tests would be lost when the series is cleared: they are
    // offered for storing into the project at once.
    if (!app_.ProjectOpen) return;
    if (ui_.Messages.ShowOperatorMessage(LoadText(kTextStoreTestsInProject, ui_.Texts.Base()),
                                         MessageKind::Confirmation,
                                         MessageButtons::YesNo) != QMessageBox::Yes) {
        return;
    }
    std::vector<int> seriesSlots;
    for (int slot = 1; slot <= Series::kSlots; ++slot) {
        if (test_.TestSeries.Slots[static_cast<std::size_t>(slot)].Rm > 0)
            seriesSlots.push_back(slot);
    }
    StoreSlotsInProject(seriesSlots);
}

void TSDIAppForm::SeriesFullCheck() {
    if (CountOccupiedSlots(test_.TestSeries) < Series::kMaxTests) return;
    ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(run_text::kSeriesFull) +
                                         QStringLiteral("\n\n") +
                                         ui_.Texts.Text(run_text::kSaveTestsFirst),
                                     MessageKind::Warning, MessageButtons::Ok);
    SaveSeriesBeforeClearing();
    ClearSeries(test_.TestSeries, DateTimeNow());
}

void TSDIAppForm::StoreLastTestKey() {
    if (!app_.ProjectOpen) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kNoProjectOpen), MessageKind::Error,
                                         MessageButtons::Ok);
        return;
    }
    if (!app_.LastTestNew || app_.LastTestSaved) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(kTextNoTest), MessageKind::Information,
                                         MessageButtons::Ok);
        return;
    }
    if (CountOccupiedSlots(test_.TestSeries) > 0) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(kTextSaveTestsFirst), MessageKind::Warning,
                                         MessageButtons::Ok);
        SaveSeriesBeforeClearing();
        ClearSeries(test_.TestSeries, DateTimeNow());
    }
    StoreLastTestInSeriesNow();
    // A test that could not be stored stays in the series and counts as unsaved.
    const int record = StoreSlotsInProject({1});
    if (record == 0) {
        app_.LastTestSaved = false;
        return;
    }
    // The operator sees that F6 did its work, and under which number the test is found.
    statusBar()->showMessage(
        LoadText(kTextStoredAsRecord, ui_.Texts.Base()).arg(record).arg(app_.ProjectName),
        kStoredMessageMs);
    test_.Curves.Clear();
    ClearSeries(test_.TestSeries, DateTimeNow());
}

bool TSDIAppForm::OfferUnsavedTests(bool closing) {
    if (closing) {
        if (app_.LastTestNew && !app_.LastTestSaved) {
            // Cancel keeps the window open with the test as it is.
            const QMessageBox::StandardButton answer = ui_.Messages.ShowOperatorMessage(
                ui_.Texts.Text(text::kSaveLastTestInProject), MessageKind::Warning,
                MessageButtons::YesNoCancel);
            if (answer == QMessageBox::Cancel) return false;
            if (answer == QMessageBox::Yes) StoreLastTestKey();
        }
    } else {
        AskStoreLastTestInSeries();
    }
    if (CountOccupiedSlots(test_.TestSeries) > 0) {
        const QString question = ui_.Texts.Text(text::kSaveSeriesFirst) + QStringLiteral("\n\n");
        if (ui_.Messages.ShowOperatorMessage(question, MessageKind::Warning,
                                             MessageButtons::YesNo) == QMessageBox::Yes) {
            SaveSeriesBeforeClearing();
        }
        ClearSeries(test_.TestSeries, DateTimeNow());
    }
    return true;
}

// --- the series tool bar

void TSDIAppForm::StoreInSeriesCommand() {
    if (!app_.ProjectOpen) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kNoProjectOpen), MessageKind::Error,
                                         MessageButtons::Ok);
        return;
    }
    if (app_.LastTestNew && !app_.LastTestSaved) {
        AskStoreLastTestInSeries(MessageKind::Information);
        return;
    }
    ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(kTextNoTest), MessageKind::Information,
                                     MessageButtons::Ok);
}

void TSDIAppForm::DeleteTestCommand() {
    if (test_.Marks.SampleCount <= 0) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(kTextNoTest), MessageKind::Error,
                                         MessageButtons::Ok);
        return;
    }
    if (ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(kTextReallyDeleteTest),
                                         MessageKind::Warning,
                                         MessageButtons::YesNo) != QMessageBox::Yes) {
        return;
    }
    ClearCurrentTest();
    diagram_->PrepareAxes();
    LayoutResultPanels();
    app_.LastTestNew = false;
    if (!test_.Parameters.AutoSpecimenNo) return;
    // The number the deleted test took is given back.
    const std::filesystem::path numberFile = app_.WorkingDirectory / kSpecimenNumberFile;
    const SpecimenNumberRead read = ReadSpecimenNumber(ResolvePath(numberFile));
    if (read.Status.status == LoadStatus::Refused) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(read.Status.message),
                                         MessageKind::Error, MessageButtons::Ok);
        return;
    }
    if (!WriteSpecimenNumber(ResolvePath(numberFile), std::max(0LL, read.Number - 1))) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(numberFile.string()),
                                         MessageKind::Error, MessageButtons::Ok);
    }
}

void TSDIAppForm::CurrentSeriesCommand() {
    if (!app_.ProjectOpen) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kNoProjectOpen),
                                         MessageKind::Information, MessageButtons::Ok);
        return;
    }
    if (CountOccupiedSlots(test_.TestSeries) == 0) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kNoTests), MessageKind::Information,
                                         MessageButtons::Ok);
        return;
    }
    if (ResultsEditor) {
        ResultsEditor(true);
    } else {
        ui_.Messages.ShowOperatorMessage(LoadText(kTextEditorMissing, ui_.Texts.Base()),
                                         MessageKind::Information, MessageButtons::Ok);
    }
}

void TSDIAppForm::ProjectEditorCommand() {
    if (!app_.ProjectOpen || app_.TestRunning) return;
    if (ResultsEditor) {
        ResultsEditor(false);
    } else {
        ui_.Messages.ShowOperatorMessage(LoadText(kTextEditorMissing, ui_.Texts.Base()),
                                         MessageKind::Information, MessageButtons::Ok);
    }
}

// --- projects

void TSDIAppForm::OpenProjectCommand() {
    OfferUnsavedTests(false);
    if (app_.ProjectOpen) {
        WriteProjectParameterFiles(test_.Parameters, app_.WorkingDirectory, app_.ProjectName);
    }
    neueSerie_->Mode = TNeue_Serie::kOpenMode;
    if (neueSerie_->exec() == TNeue_Serie::kNewProjectRequested) {
        CreateNewProject();
        return;
    }
    UpdateWindowTitle();
    ClearCurrentTest();
    app_.LastTestNew = false;
    ShowTestTypeOfParameters();
}

void TSDIAppForm::ShowTestTypeOfParameters() {
    LayoutResultPanels();
    diagram_->PrepareAxes();
    startPositionField_->setText(
        QString::fromStdString(FormatFixed(test_.Parameters.StartPosition, 6, 1)));
}

bool TSDIAppForm::OptionsReadOnly() const {
    return ProjectOptionsReadOnly(app_.ProjectOpen && app_.ProjectSettingsFromFile,
                                  app_.OperatorUnlocked);
}

void TSDIAppForm::TitleHeaderDefinitionCommand() {
    titleDlg_->OperatorUnlocked = app_.OperatorUnlocked;
    titleDlg_->exec();
}

void TSDIAppForm::ResultsDefinitionCommand() {
    ParameterSet& p = test_.Parameters;
    if (ExecResultsDefinition(ui_, p, p.TestType, OptionsReadOnly(),
                              machineConfig_.Setup.HydraulicGrips != 0,
                              this) != QDialog::Accepted) {
        return;
    }
    if (p.TestType >= 0 && p.TestType <= 2) NormaliseTensileDecimals(p);
    // What the test shows, prints and checks against its limits follows the new definition.
    FillResultPanels();
    diagram_->Redraw();
    UpdateWindowTitle();
}

void TSDIAppForm::HeaderDataCommand() {
    headerDlg_->Editable = true;
    headerDlg_->exec();
}

void TSDIAppForm::StatisticsOptionsCommand() {
    statisticsDlg_->ReadOnly = OptionsReadOnly();
    statisticsDlg_->exec();
}

void TSDIAppForm::AsciiOptionsCommand() {
    asciiDlg_->ReadOnly = OptionsReadOnly();
    asciiDlg_->DatabaseAvailable = app_.DatabaseAvailable;
    asciiDlg_->exec();
}

// --- specimen files and the demonstration curve

void TSDIAppForm::SaveSpecimenCommand() {
    AskStoreLastTestInSeries();
    bool reevaluate = false;
    if (!ExecSpecimenDialogOfType(false, 0, reevaluate)) return;
    const QString chosen =
        files_.SaveFileName(LoadText(kTextSpecimenSaveTitle, ui_.Texts.Base()),
                            QString::fromStdString(app_.WorkingDirectory.string()), QString(),
                            QStringLiteral("*.pro"), QStringLiteral("*.pro"));
    if (chosen.isEmpty()) return;
    const std::filesystem::path target = SpecimenSaveName(ToPath(chosen));
    if (!SaveSpecimenFile(target, test_.Parameters)) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(target.string()),
                                         MessageKind::Error, MessageButtons::Ok);
    }
}

void TSDIAppForm::SpecimenFileTestKey() {
    if (app_.TestRunning) {
        QApplication::beep();
        return;
    }
    SeriesFullCheck();
    if (!app_.ProjectOpen) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kNoProjectOpen), MessageKind::Error,
                                         MessageButtons::Ok);
        return;
    }
    if (StartTestFromSpecimenFile) StartTestFromSpecimenFile();
}

void TSDIAppForm::SpecimenFileTestCommand() {
    AskStoreLastTestInSeries();
    const QString chosen =
        files_.OpenFileName(LoadText(kTextSpecimenLoadTitle, ui_.Texts.Base()),
                            QString::fromStdString(app_.WorkingDirectory.string()),
                            QStringLiteral("*.pro"), QStringLiteral("*.pro"));
    if (chosen.isEmpty()) return;
    // Read into a copy: a refused file leaves the parameter set as it was.
    ParameterSet loaded = test_.Parameters;
    const LoadResult load = LoadSpecimenFile(ToPath(chosen), loaded);
    if (!load.Loaded()) {
        const std::string why = load.message.empty() ? chosen.toStdString() : load.message;
        ui_.Messages.ShowOperatorMessage(LoadText(kTextSpecimenFileUnreadable, ui_.Texts.Base()) +
                                             QStringLiteral("\n\n") + QString::fromStdString(why),
                                         MessageKind::Error, MessageButtons::Ok);
        return;
    }
    test_.Parameters = loaded;
    headerDlg_->Editable = true;
    if (headerDlg_->exec() != QDialog::Accepted) return;
    // The question about the last test was asked above; the start does not ask it again.
    app_.LastTestNew = false;
    if (StartTestRun) StartTestRun();
}

void TSDIAppForm::DeleteSpecimenCommand() {
    const QString chosen =
        files_.OpenFileName(LoadText(kTextSpecimenDeleteTitle, ui_.Texts.Base()),
                            QString::fromStdString(app_.WorkingDirectory.string()),
                            QStringLiteral("*.pro"), QStringLiteral("*.pro"));
    if (!chosen.isEmpty()) DeleteSpecimenFile(ToPath(chosen));
}

void TSDIAppForm::ProbeRawDataCommand() {
    if (test_.Marks.SampleCount <= 0) return;
    const QString title = resultPanels_->ProbeExportButton()->text();
    const QString filter = QStringLiteral("*.txt");
    const QString chosen = files_.SaveFileName(
        title, QString::fromStdString(app_.WorkingDirectory.string()), QString(), filter, filter);
    if (chosen.isEmpty()) return;
    const std::filesystem::path picked = ToPath(chosen);
    const std::filesystem::path target =
        picked.parent_path() / (CutAtFirstPoint(picked.filename().string()) + ".txt");
    if (!WriteProbeRawDataFile(target, test_.Buffer, test_.Marks.SampleCount, test_.Parameters)) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(target.string()),
                                         MessageKind::Error, MessageButtons::Ok);
    }
}

void TSDIAppForm::DemoFileCommand() {
    const QString filter = QStringLiteral("*.WDZ *.DIA (*.WDZ *.DIA *.wdz *.dia *.Dia *.Wdz)");
    const QString chosen =
        files_.OpenFileName(WithoutAccelerator(menu_.DemoFile->text()),
                            QString::fromStdString(app_.WorkingDirectory.string()), filter, filter);
    if (chosen.isEmpty()) return;
    const bool timer1Active = timer1_.isActive();
    timer1_.stop();
    const LoadResult load =
        ReadCurveFile(ToPath(chosen), test_.Parameters, test_.Buffer, test_.Marks);
    if (load.Loaded()) {
        // A curve file does not say how its test ended.
        test_.Current().EndOfTest = 0;
        keepModulus_ = false;
        app_.LastTestNew = true;
        app_.LastTestSaved = false;
        LayoutResultPanels();
        EvaluateAndShowTest(test_, *diagram_);
        FillResultPanels();
    } else {
        // A missing file is named as well: the operator chose it.
        const QString message =
            load.message.empty() ? chosen : QString::fromStdString(load.message);
        ui_.Messages.ShowOperatorMessage(message, MessageKind::Error, MessageButtons::Ok);
    }
    if (timer1Active) timer1_.start();
}

}  // namespace quorvex
