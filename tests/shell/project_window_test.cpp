// A lab's day in the main window: a results project created from the menu through its chain of
// dialogs, tests run on the simulated machine and kept with F6, the series offered for storing
// when it must be cleared, a test deleted, and the last test offered at closing.
#include <gtest/gtest.h>

#include <QStatusBar>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "definitions/results_definition_dialog.h"
#include "evaluation/curve_builder.h"
#include "evaluation/curve_file.h"
#include "evaluation/parameter_file.h"
#include "evaluation/project_store.h"
#include "evaluation/test_files.h"
#include "machine/sim/virtual_machine.h"
#include "store/alias_import.h"
#include "results/ascii_format_dialog.h"
#include "store/export_database.h"
#include "results/header_data_dialog.h"
#include "specimen/specimen_dialog.h"
#include "results/statistics_options_dialog.h"
#include "results/test_type_dialog.h"
#include "results/title_definition_dialog.h"
#include "run/tensile_run.h"
#include "setup/setup_dialog.h"
#include "shell/diagram_settings_dialog.h"
#include "shell/lu_dialog.h"
#include "shell/result_panels.h"
#include "shell/results_project.h"
#include "ui/text_table.h"
#include "chosen_files.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing::ChosenFiles;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// "NET.CFG": one record whose first field, a length-prefixed string, names the directory.
void WriteNetConfig(const fs::path& work, const std::string& directory) {
    std::string record(2946, '\0');
    record[0] = static_cast<char>(directory.size());
    record.replace(1, directory.size(), directory);
    std::ofstream(work / "NET.CFG", std::ios::binary) << record;
}

QAction* SeriesButton(TSDIAppForm& window, const char* name) {
    return window.SeriesBar()->findChild<QAction*>(QString::fromLatin1(name));
}

class ProjectWindowTest : public testing::WindowFixture {
  protected:
    void StartOnSimulatedMachine() {
        PrepareWorkingDirectory(testing::kSimulatedDevices);
        WriteNetConfig(work, work.string());
        ASSERT_EQ(InitExportTables(work), "");
        std::ofstream(work / "Quorvex.platform", std::ios::app)
            << "alias.driver = sqlite\nalias.database = alias.sqlite\n";
        ASSERT_EQ(InitAliasTable(LoadAliasSettings(work).Settings, work), "");
        ShowWindow(&machine, &clock);
        ASSERT_TRUE(app.DaqPresent);
        ParameterSet& p = test->Parameters;
        p.TestType = 0;
        p.Stages = {};
        p.Stages[0] = {1, 0, 1, 2, 1};
        p.Stages[1] = {1, 1, 1, 20, 1};
        p.MessageTimeSec = 2;
    }

    void OpenProject(const char* name) {
        ASSERT_TRUE(CreateResultsProject(work, QString::fromLatin1(name)).Opened);
        app.ProjectOpen = true;
        app.ProjectName = QString::fromLatin1(name);
    }

    // F2, the specimen dialog confirmed, ticks until the break, Z's final diameter skipped
    // (asked only while Z is evaluated).
    void RunTensileTest(bool asksFinalDiameter = true) {
        WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->OkButton()->click(); });
        ASSERT_TRUE(window->FormKeyDown(Qt::Key_F2, Qt::NoModifier));
        ASSERT_TRUE(app.TestRunning);
        if (asksFinalDiameter) WhenModal<TLuDialog>([](TLuDialog* d) { d->reject(); });
        for (int i = 0; i < 20000 && app.TestRunning; ++i) {
            clock.Advance(50);
            window->MessenTimerTimer();
        }
        ASSERT_FALSE(app.TestRunning);
        ASSERT_TRUE(test->Marks.EvaluationDone);
    }

    int Rows(const char* file, const char* table) {
        int rows = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                        QStringLiteral("project_window_test"));
            db.setDatabaseName(QString::fromStdString((work / file).string()));
            if (db.open()) {
                QSqlQuery query(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table), db);
                if (query.next()) rows = query.value(0).toInt();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("project_window_test"));
        return rows;
    }
    int ExportRows() { return Rows(kExportDatabaseFile, "Data_EN10002"); }
    int AliasRows() { return Rows("alias.sqlite", kAliasTable); }

    ManualClock clock;
    VirtualMachine machine{SimulationConfig{}, clock};
};

TEST_F(ProjectWindowTest, NewProjectRunsItsDialogsInOrderAndWritesItsParameterFiles) {
    PrepareWorkingDirectory(testing::kAbsentDevices);
    ShowWindow();
    std::vector<std::string> shown;
    // Each dialog confirmed: a Cancel in the chain cancels the creation.
    auto record = [&shown](const char* name) {
        return [&shown, name](QDialog* d) {
            shown.push_back(name);
            d->accept();
        };
    };
    WhenModal<TVersuchsartDlg>([&shown](TVersuchsartDlg* d) {
        shown.push_back("TVersuchsartDlg");
        d->accept();
    });
    WhenModal<TMultPageDlg>(record("TMultPageDlg"));
    WhenModal<ResultsDefinitionDialog>(record("TBtnRightDlg1"));
    WhenModal<TBtnRightDlg>(record("TBtnRightDlg"));
    WhenModal<TBtnRightDlg2>(record("TBtnRightDlg2"));
    WhenModal<TBtnRightDlg4>(record("TBtnRightDlg4"));
    WhenModal<TAscii_Format>(record("TAscii_Format"));
    WhenModal<TNeue_Serie>([&shown](TNeue_Serie* d) {
        shown.push_back("TNeue_Serie");
        EXPECT_EQ(d->Mode, TNeue_Serie::kCreateMode);
        d->NameBox()->setEditText(QStringLiteral("Lot 42"));
        d->OkButton()->click();
    });
    ASSERT_TRUE(window->Menu().NewProject->isEnabled());
    window->Menu().NewProject->trigger();

    EXPECT_EQ(shown, (std::vector<std::string>{"TVersuchsartDlg", "TMultPageDlg", "TBtnRightDlg1",
                                               "TBtnRightDlg", "TBtnRightDlg2", "TBtnRightDlg4",
                                               "TAscii_Format", "TNeue_Serie"}));
    EXPECT_TRUE(app.ProjectOpen);
    EXPECT_EQ(app.ProjectName, QStringLiteral("Lot42"));
    EXPECT_TRUE(fs::exists(work / "Lot42" / "Lot42.Par"));
    EXPECT_TRUE(fs::exists(work / "Lot42.Par"));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("[Lot42]")));
}

TEST_F(ProjectWindowTest, CancellingTheTestMethodCancelsTheCreation) {
    PrepareWorkingDirectory(testing::kAbsentDevices);
    ShowWindow();
    WhenModal<TVersuchsartDlg>([](TVersuchsartDlg* d) { d->reject(); });
    window->Menu().NewProject->trigger();
    EXPECT_FALSE(app.ProjectOpen);
    EXPECT_TRUE(ListProjectDirectories(work).isEmpty());
}

TEST_F(ProjectWindowTest, ALockedOperatorSeesTheTestMethodReadOnlyAndTheProjectKeepsIt) {
    PrepareWorkingDirectory(testing::kAbsentDevices);
    ShowWindow();
    app.OperatorUnlocked = false;
    test->Parameters.TestType = 6;
    bool readOnly = false;
    WhenModal<TVersuchsartDlg>([&readOnly](TVersuchsartDlg* d) {
        readOnly = d->ReadOnly && !d->TypeList()->isEnabled() && !d->OkButton()->isEnabled();
        d->TypeList()->setCurrentRow(2);  // no way to take another method
        d->reject();
    });
    // The later dialogs are left with OK; only the read-only method may be left either way.
    auto accept = [](QDialog* d) { d->accept(); };
    WhenModal<TMultPageDlg>(accept);
    WhenModal<ResultsDefinitionDialog>(accept);
    WhenModal<TBtnRightDlg>(accept);
    WhenModal<TBtnRightDlg2>(accept);
    WhenModal<TBtnRightDlg4>(accept);
    WhenModal<TAscii_Format>(accept);
    WhenModal<TNeue_Serie>([](TNeue_Serie* d) {
        d->NameBox()->setEditText(QStringLiteral("Locked"));
        d->OkButton()->click();
    });
    window->Menu().NewProject->trigger();
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(app.ProjectOpen);
    EXPECT_EQ(app.ProjectName, QStringLiteral("Locked"));
    EXPECT_EQ(test->Parameters.TestType, 6);
}

TEST_F(ProjectWindowTest, F6KeepsEachTestWithItsFilesLinesAndRowsAndClosingOffersTheLast) {
    StartOnSimulatedMachine();
    OpenProject("P");
    test->Parameters.AsciiExport = 1;
    test->Parameters.SaveCurves = 1;
    test->Parameters.HeaderValue[0] = "Order 4711";
    test->Parameters.WriteAliasTable = 1;
    ASSERT_TRUE(app.DatabaseAvailable);

    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        RunTensileTest();
        messages.shown.clear();
        ASSERT_TRUE(window->FormKeyDown(Qt::Key_F6, Qt::NoModifier));
        EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
        EXPECT_TRUE(app.LastTestSaved);
        // The status line says that F6 stored the test, and as which record.
        EXPECT_EQ(window->statusBar()->currentMessage(),
                  LoadText(827, 0).arg(n).arg(QStringLiteral("P")));
        EXPECT_EQ(CountOccupiedSlots(test->TestSeries), 0);
        const fs::path project = work / "P";
        EXPECT_EQ(CountRecords(project / "P.Res").Records, n);
        EXPECT_TRUE(fs::exists(project / (std::to_string(n) + ".Hea")));
        EXPECT_TRUE(fs::exists(project / (std::to_string(n) + ".Dia")));
        const auto stored = ReadProjectRecord(project / "P.Res", n);
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->RecordNumber, n);
        EXPECT_EQ(stored->CurveNumber, n);
        EXPECT_GT(stored->Rm, 900.0f);
        HeaderLines header;
        ASSERT_TRUE(ReadHeaderFile(project / (std::to_string(n) + ".Hea"), header).Loaded());
        EXPECT_EQ(header[0], "Order 4711");
    }
    const std::string lines = ReadText(work / "EN10002.Asc");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);
    EXPECT_EQ(ExportRows(), 2);
    EXPECT_EQ(AliasRows(), 2);
    EXPECT_FALSE(window->AliasOutboxLabel()->isVisibleTo(window.get()));

    // A third test, not stored: closing asks text 175 with Cancel, which keeps the window
    // open and the test unstored; Yes stores it as F6 does.
    RunTensileTest();
    messages.shown.clear();
    messages.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(window->FormCloseQuery());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(CountRecords(work / "P" / "P.Res").Records, 2);
    EXPECT_FALSE(app.LastTestSaved);
    messages.shown.clear();
    messages.answers = {QMessageBox::Yes};
    EXPECT_TRUE(window->FormCloseQuery());
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown[0].text, texts.Text(text::kSaveLastTestInProject));
    EXPECT_EQ(CountRecords(work / "P" / "P.Res").Records, 3);
    EXPECT_EQ(ExportRows(), 3);
    EXPECT_EQ(AliasRows(), 3);
}

TEST_F(ProjectWindowTest, F6RefusesATestOfAnotherTypeThanTheProjects) {
    StartOnSimulatedMachine();
    OpenProject("Shear");
    ParameterSet shear = test->Parameters;
    shear.TestType = 3;
    ASSERT_TRUE(SaveParameterSet(shear, ProjectParameterFile(work, QStringLiteral("Shear"))));
    RunTensileTest();
    messages.shown.clear();
    ASSERT_TRUE(window->FormKeyDown(Qt::Key_F6, Qt::NoModifier));
    ASSERT_EQ(messages.shown.size(), 1u);
    const std::string said = messages.shown[0].text.toStdString();
    EXPECT_NE(said.find("\"Shear\" holds tests of type 3"), std::string::npos) << said;
    EXPECT_NE(said.find("type 0"), std::string::npos) << said;
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_FALSE(app.LastTestSaved) << "the test stays in the series, unsaved";
    EXPECT_EQ(CountRecords(work / "Shear" / "Shear.Res").Records, 0);
}

TEST_F(ProjectWindowTest, AnImportedSpecimenIsTestedOnceAndItsRowGoesWithIt) {
    StartOnSimulatedMachine();
    OpenProject("P");
    test->Parameters.WriteAliasTable = 1;
    ASSERT_TRUE(app.DatabaseAvailable);
    // Prepared by the laboratory: the round bar R-17 twice (a second delivery), and R-18.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                    QStringLiteral("project_window_lims"));
        db.setDatabaseName(QString::fromStdString((work / "alias.sqlite").string()));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        for (const char* number : {"R-17", "R-17", "R-18"}) {
            ASSERT_TRUE(query.exec(
                QStringLiteral("INSERT INTO \"ImportProbendaten\" (\"ProbenNr\", \"Kennung\", "
                               "\"Probentyp\", \"Probenform\", \"Durchmesser\", \"K1\") "
                               "VALUES ('%1', 'Stab', 0, 0, 10, 'Auftrag 4711')")
                    .arg(QString::fromLatin1(number))));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("project_window_lims"));
    auto importRows = [this] { return Rows("alias.sqlite", kImportSpecimenTable); };

    // F2, F9 in the specimen dialog, the specimen found by its number, then the test.
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) {
        WhenModal<TImportDlg>([](TImportDlg* import) {
            import->SpecimenNo()->setText(QStringLiteral("R-17"));
            import->Search();
            import->OkButton()->click();
        });
        QTest::keyClick(d->SpecimenNo(), Qt::Key_F9);
        d->OkButton()->click();
    });
    ASSERT_TRUE(window->FormKeyDown(Qt::Key_F2, Qt::NoModifier));
    WhenModal<TLuDialog>([](TLuDialog* d) { d->reject(); });
    for (int i = 0; i < 20000 && app.TestRunning; ++i) {
        clock.Advance(50);
        window->MessenTimerTimer();
    }
    ASSERT_FALSE(app.TestRunning);
    EXPECT_EQ(test->Parameters.SpecimenNo, "R-17");
    EXPECT_EQ(test->Parameters.HeaderValue[0], "Auftrag 4711");
    EXPECT_TRUE(window->ImportedSpecimen().FromImport);
    EXPECT_EQ(importRows(), 3);

    messages.shown.clear();
    ASSERT_TRUE(window->FormKeyDown(Qt::Key_F6, Qt::NoModifier));
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
    // The row of this test is gone, the second wait for their tests.
    EXPECT_EQ(importRows(), 2);
    EXPECT_FALSE(window->ImportedSpecimen().FromImport);
    EXPECT_TRUE(FindImportedSpecimen(LoadAliasSettings(work).Settings, work, "R-17").Found);

    // The next test with the same specimen data, not imported again, consumes nothing.
    RunTensileTest();
    ASSERT_TRUE(window->FormKeyDown(Qt::Key_F6, Qt::NoModifier));
    EXPECT_EQ(importRows(), 2);
}

TEST_F(ProjectWindowTest, HeaderDataAndTheResultsDefinitionReachTheNextStoredTest) {
    StartOnSimulatedMachine();
    OpenProject("P");
    WhenModal<TKopfdatenDlg>([](TKopfdatenDlg* d) {
        d->Input(0)->setText(QStringLiteral("Customer A"));
        d->OkButton()->click();
    });
    window->Menu().HeaderData->trigger();
    // Z no longer evaluated, Rm monitored between 400 and 500 N/mm².
    constexpr int kSlotRm = 10, kSlotZ = 18;
    WhenModal<ResultsDefinitionDialog>([](ResultsDefinitionDialog* d) {
        d->EvaluateBox(kSlotZ)->setChecked(false);
        d->LimitBox(kSlotRm)->setChecked(true);
        d->MinInput(kSlotRm)->setText(QStringLiteral("400"));
        d->MaxInput(kSlotRm)->setText(QStringLiteral("500"));
        d->OkButton()->click();
    });
    window->Menu().ResultsDefinition->trigger();
    EXPECT_EQ(test->Parameters.Results[kSlotZ - 1].Evaluate, 0);

    RunTensileTest(false);
    QLineEdit* rm = window->ResultPanels()->Field("Rm");
    ASSERT_NE(rm, nullptr);
    EXPECT_GT(rm->text().trimmed().toDouble(), 900.0);
    EXPECT_EQ(rm->palette().color(QPalette::Base), QColor(Qt::red));
    QLineEdit* z = window->ResultPanels()->Field("Z");
    EXPECT_TRUE(z == nullptr || !z->isVisibleTo(window.get()) || z->text().trimmed().isEmpty());

    ASSERT_TRUE(window->FormKeyDown(Qt::Key_F6, Qt::NoModifier));
    HeaderLines header;
    ASSERT_TRUE(ReadHeaderFile(work / "P" / "1.Hea", header).Loaded());
    EXPECT_EQ(header[0], "Customer A");
}

TEST_F(ProjectWindowTest, AnAliasDatabaseAwayAtStartTakesNoRowsAndTheStatusLineSaysSo) {
    PrepareWorkingDirectory(testing::kAbsentDevices);
    WriteNetConfig(work, work.string());
    ASSERT_EQ(InitExportTables(work), "");
    std::ofstream(work / "Quorvex.platform", std::ios::app)
        << "alias.driver = sqlite\nalias.database = alias.sqlite\n";
    test->Parameters.WriteAliasTable = 1;
    ShowWindow();
    EXPECT_FALSE(app.DatabaseAvailable);
    OpenProject("P");
    test->Parameters.WriteAliasTable = 1;
    test->Parameters.SaveCurves = 0;
    test->TestSeries.Slots[1].Rm = 420;
    ASSERT_TRUE(window->StoreSlotsInProject({1}));
    EXPECT_EQ(ExportRows(), 1);
    EXPECT_FALSE(fs::exists(work / "alias.sqlite"));
    EXPECT_FALSE(fs::exists(work / kAliasOutboxFile));
    EXPECT_EQ(test->Parameters.WriteAliasTable, 1);
    EXPECT_TRUE(window->AliasOutboxLabel()->isVisibleTo(window.get()));
    EXPECT_EQ(window->AliasOutboxLabel()->text(), LoadText(811, 0));
}

TEST_F(ProjectWindowTest, AnExportFileOnAShareIsWarnedOfAndWaitingTestsAreCounted) {
    PrepareWorkingDirectory(testing::kAbsentDevices);
    WriteNetConfig(work, work.string());
    ASSERT_EQ(InitExportTables(work), "");
    setenv("QUORVEX_FILE_SYSTEM_TYPE", "0x6969", 1);
    ShowWindow();
    unsetenv("QUORVEX_FILE_SYSTEM_TYPE");
    const auto warned = std::count_if(messages.shown.begin(), messages.shown.end(), [](auto& m) {
        return m.kind == MessageKind::Warning && m.text.contains(QStringLiteral("(NFS)"));
    });
    EXPECT_EQ(warned, 1);
    QLabel* label = window->ExportOutboxLabel();
    EXPECT_TRUE(label->isVisibleTo(window.get()));
    EXPECT_EQ(label->text(), LoadText(865, 0).arg(QStringLiteral("NFS")));

    OpenProject("P");
    test->Parameters.SaveCurves = 0;
    test->TestSeries.Slots[1].Rm = 420;
    // The share's file is away (another machine holds it, the share hangs): the test waits.
    fs::rename(work / kExportDatabaseFile, work / "away.sqlite");
    messages.shown.clear();
    ASSERT_TRUE(window->StoreSlotsInProject({1}));
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_TRUE(messages.shown.back().text.contains(QLatin1String(kExportOutboxFile)))
        << messages.shown.back().text.toStdString();
    EXPECT_TRUE(label->text().startsWith(LoadText(864, 0).arg(1)));
    fs::rename(work / "away.sqlite", work / kExportDatabaseFile);
    ASSERT_TRUE(window->StoreSlotsInProject({1}));
    EXPECT_EQ(ExportRows(), 2);
    EXPECT_EQ(label->text(), LoadText(865, 0).arg(QStringLiteral("NFS")));
}

TEST_F(ProjectWindowTest, AFullSeriesIsStoredInsteadOfLostWithoutTheSeriesEditor) {
    StartOnSimulatedMachine();
    window->ResultsEditor = nullptr;
    OpenProject("P");
    test->Parameters.SaveCurves = 0;
    test->Parameters.AsciiExport = 0;
    for (int slot = 1; slot <= Series::kMaxTests; ++slot) {
        ResultsRecord& r = test->TestSeries.Slots[static_cast<std::size_t>(slot)];
        r.Rm = static_cast<float>(400 + slot);
        r.SpecimenNo = "S" + std::to_string(slot);
    }
    messages.answers = {QMessageBox::Ok, QMessageBox::Yes};  // 165/166, then 210
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->reject(); });
    window->FormKeyDown(Qt::Key_F2, Qt::NoModifier);

    ASSERT_GE(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(texts.Text(run_text::kSeriesFull)));
    EXPECT_EQ(messages.shown[1].text, LoadText(210, 0));
    EXPECT_EQ(CountOccupiedSlots(test->TestSeries), 0);
    ASSERT_EQ(CountRecords(work / "P" / "P.Res").Records, Series::kMaxTests);
    EXPECT_EQ(ReadProjectRecord(work / "P" / "P.Res", 10)->SpecimenNo, "S10");
    EXPECT_EQ(ReadProjectRecord(work / "P" / "P.Res", 10)->CurveNumber, 0);
    EXPECT_EQ(ExportRows(), Series::kMaxTests);
}

TEST_F(ProjectWindowTest, SeriesBarDeletesTheTestAndGivesItsNumberBack) {
    PrepareWorkingDirectory(testing::kAbsentDevices);
    ShowWindow();
    ASSERT_NE(window->SeriesBar(), nullptr);
    EXPECT_EQ(window->SeriesBar()->actions().size(), 5);
    QAction* deleteTest = SeriesButton(*window, "DeleteTest");
    ASSERT_NE(deleteTest, nullptr);

    messages.shown.clear();
    deleteTest->trigger();  // nothing recorded
    ASSERT_EQ(messages.shown.size(), 1u) << messages.shown[0].text.toStdString();
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);

    test->Parameters.AutoSpecimenNo = 1;
    ASSERT_TRUE(WriteSpecimenNumber(work / "ProbenNr.txt", 7));
    test->Marks.SampleCount = 5;
    app.LastTestNew = true;
    messages.shown.clear();
    messages.answers = {QMessageBox::No};
    deleteTest->trigger();
    EXPECT_EQ(test->Marks.SampleCount, 5);

    messages.answers = {QMessageBox::Yes};
    deleteTest->trigger();
    EXPECT_EQ(test->Marks.SampleCount, 0);
    EXPECT_FALSE(app.LastTestNew);
    EXPECT_EQ(ReadSpecimenNumber(work / "ProbenNr.txt").Number, 6);

    // F6 and "aktuelle Serie" without a project say so.
    messages.shown.clear();
    SeriesButton(*window, "StoreInProject")->trigger();
    SeriesButton(*window, "CurrentSeries")->trigger();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, texts.Text(text::kNoProjectOpen));
    EXPECT_EQ(messages.shown[1].text, texts.Text(text::kNoProjectOpen));
}

// File dialogs that answer with the names a test gives, and remember what they were asked.
// On a machine with the three probes the compression panel offers their raw data.
TEST_F(ProjectWindowTest, TheCompressionPanelExportsTheRawDataOfTheProbes) {
    ChosenFiles chosen;
    fileDialogs = &chosen;
    PrepareWorkingDirectory(testing::kSimulatedDevices);
    std::ofstream(work / "Quorvex.platform", std::ios::app) << "sim.specimen = compression\n";
    ShowWindow();
    QPushButton* button = window->ResultPanels()->ProbeExportButton();
    test->Parameters.TestType = 0;
    window->FillResultPanels();
    EXPECT_FALSE(button->isVisibleTo(window.get())) << "only under the compression results";
    test->Parameters.TestType = 9;
    window->FillResultPanels();
    ASSERT_TRUE(button->isVisibleTo(window.get()));
    EXPECT_EQ(button->text(), QStringLiteral("Rohdaten der Taster exportieren"));

    // No test yet: nothing is asked.
    button->click();
    EXPECT_TRUE(chosen.titles.isEmpty());

    const float probes[][3] = {{0, 0, 0}, {1, 1.5f, 2}, {2, 2.5f, 3}, {3, 3, 3}};
    for (const auto& sample : probes) {
        Sample values{};
        values[5] = sample[0];
        values[6] = sample[1];
        values[7] = sample[2];
        RecordSample(test->Buffer, test->Marks, values);
    }
    test->Marks.SampleCount = 3;
    test->Parameters.UseSeparator = 1;
    test->Parameters.DecimalComma = 0;
    chosen.save = QString::fromStdString((work / "platen.dat").string());
    button->click();
    ASSERT_EQ(chosen.filters.size(), 1);
    EXPECT_EQ(chosen.filters[0], QStringLiteral("*.txt"));
    const std::string written = ReadText(work / "platen.txt");
    // The mean, then the three probes, per sample.
    EXPECT_NE(written.find(" 1.50000; 1.00000; 1.50000; 2.00000;"), std::string::npos) << written;
    EXPECT_NE(written.find(" 2.50000; 2.00000; 2.50000; 3.00000;"), std::string::npos) << written;
    EXPECT_EQ(written.find(" 3.00000; 3.00000;"), std::string::npos) << "only SampleCount samples";
}

TEST_F(ProjectWindowTest, DemoFileLoadsAStoredCurveAsANewTestAndSpecimenFilesComeAndGo) {
    ChosenFiles chosen;
    fileDialogs = &chosen;
    PrepareWorkingDirectory(testing::kAbsentDevices);
    ShowWindow();
    {
        TestState recorded;
        testing::TensileModel model;
        model.Rm = 480;
        testing::BuildTensileCurve(recorded, model);
        ASSERT_TRUE(
            WriteCurveFile(work / "7.DIA", recorded.Parameters, recorded.Buffer, recorded.Marks));
    }
    chosen.open = QString::fromStdString((work / "7.DIA").string());
    window->Menu().DemoFile->trigger();
    EXPECT_TRUE(chosen.filters.back().contains(QStringLiteral("*.WDZ *.DIA")));
    EXPECT_TRUE(test->Marks.EvaluationDone);
    EXPECT_NEAR(test->Current().Rm, 480.0, 5.0);
    EXPECT_TRUE(app.LastTestNew);
    EXPECT_FALSE(app.LastTestSaved);

    // A file that is not a curve is named and changes nothing.
    std::ofstream(work / "short.Dia") << "abc";
    chosen.open = QString::fromStdString((work / "short.Dia").string());
    messages.shown.clear();
    window->Menu().DemoFile->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("short.Dia")));
    EXPECT_NEAR(test->Current().Rm, 480.0, 5.0);

    // "Probe anlegen": the question 168 for the new test, the specimen dialog, the file.
    test->Parameters.SpecimenId = "Heat 12";
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->OkButton()->click(); });
    chosen.save = QString::fromStdString((work / "bar.x.y").string());
    messages.shown.clear();
    window->Menu().SaveSpecimen->trigger();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown[0].text, texts.Text(text::kSaveLastTestInSeries));
    EXPECT_EQ(chosen.titles.back(), LoadText(49, 0));
    ASSERT_TRUE(fs::exists(work / "bar.pro"));
    ParameterSet loaded;
    ASSERT_TRUE(LoadSpecimenFile(work / "bar.pro", loaded).Loaded());
    EXPECT_EQ(loaded.SpecimenId, "Heat 12");

    chosen.open = QString::fromStdString((work / "bar.pro").string());
    window->Menu().DeleteSpecimen->trigger();
    EXPECT_EQ(chosen.titles.back(), LoadText(177, 0));
    EXPECT_FALSE(fs::exists(work / "bar.pro"));
}

}  // namespace
}  // namespace quorvex
