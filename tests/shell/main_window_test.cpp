// The main window driven as the operator drives it: start-up in a working directory, the
// language question, the project dialog, the password, the backup and the close request.
#include "shell/main_window.h"
#include "shell/result_panels.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "evaluation/test_state.h"
#include "gui_test_support.h"
#include "specimen/screw_specimen_dialog.h"
#include "specimen/specimen_dialog.h"
#include "specimen/type_specimen_dialog.h"
#include "setup/calibration_dialog.h"
#include "setup/machine_config.h"
#include "setup/programme_bending_dialog.h"
#include "setup/programme_dialog.h"
#include "setup/sensor_choice_dialog.h"
#include "setup/serial_ports_dialog.h"
#include "setup/setup_dialog.h"
#include "run/app_state.h"
#include "shell/project_dialog.h"
#include "shell/working_files.h"
#include "ui/captions.h"
#include "ui/dialog_base.h"
#include "ui/file_dialogs.h"
#include "ui/language_dialog.h"
#include "ui/password_dialog.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class ChosenFile : public FileDialogs {
  public:
    QString chosen;
    QString lastTitle;
    QString lastProposal;
    QString lastFilters;
    QString lastSelectedFilter;
    QString SaveFileName(const QString& title, const QString&, const QString& proposedName,
                         const QString& filter, const QString& selectedFilter) override {
        lastTitle = title;
        lastProposal = proposedName;
        lastFilters = filter;
        lastSelectedFilter = selectedFilter;
        return chosen;
    }
    QString OpenFileName(const QString& title, const QString&, const QString& filter,
                         const QString& selectedFilter) override {
        lastTitle = title;
        lastFilters = filter;
        lastSelectedFilter = selectedFilter;
        return chosen;
    }
};

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(directory.path()));
        work = fs::path(directory.path().toStdString());
        // No card and no serial device of this computer takes part in the tests.
        std::ofstream platform(work / "Quorvex.platform");
        platform << "daq = absent\nrelay = absent\nencoder = none\n";
        for (int com = 1; com <= 16; ++com) platform << "com" << com << " = none\n";
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(previous);
        ApplyLanguage(0, texts);
    }

    void WriteWorkingFile(int testType, int language) {
        ParameterSet p;
        p.TestType = testType;
        p.Language = language;
        ASSERT_TRUE(SaveParameterSet(p, work / "Quorvex.Con"));
    }
    void MarkLanguageChosen() { ASSERT_TRUE(WriteLanguageMarker(work)); }

    // Shows the window; the deferred start-up's project dialog gets `project`.
    void Start(std::function<void(TNeue_Serie*)> project) {
        WhenModal<TNeue_Serie>(project);
        window = std::make_unique<TSDIAppForm>(app, *test, *machineConfig, ui, files);
        ui.MainWindow = window.get();
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return app.StartupShown; }, 5000));
        // The controller's COM1 has no device here, which the start-up reports once; the
        // tests look at what follows.
        const auto portMessage =
            std::find_if(messages.shown.begin(), messages.shown.end(), [](const auto& shown) {
                return shown.text ==
                       QStringLiteral("Konnte Schnittstelle zur Quorvex nicht öffnen!");
            });
        controllerPortReported = portMessage != messages.shown.end();
        if (controllerPortReported) messages.shown.erase(portMessage);
    }
    static void Cancel(QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }

    // Runs a menu command whose dialog is handled by `act`.
    template <class Dialog>
    void Run(QAction* command, std::function<void(Dialog*)> act) {
        ASSERT_TRUE(command->isEnabled());
        WhenModal<Dialog>(act);
        command->trigger();
    }

    QString previous;
    QTemporaryDir directory;
    fs::path work;
    AppState app;
    std::unique_ptr<TestState> test = std::make_unique<TestState>();
    std::unique_ptr<MachineConfig> machineConfig = std::make_unique<MachineConfig>();
    StoredTexts texts;
    RecordedMessages messages;
    ChosenFile files;
    UiContext ui{messages, texts, {}, nullptr};
    std::unique_ptr<TSDIAppForm> window;
    bool controllerPortReported = false;
};

void ChooseLanguage(TSpracheDlg* dialog, int index) {
    QRadioButton* radio = dialog->findChildren<QRadioButton*>().at(index);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    QTest::keyClick(dialog, Qt::Key_Return);
}

TEST_F(MainWindowTest, FirstStartAsksTheLanguageAndSwitchesEverything) {
    WhenModal<TSpracheDlg>([](TSpracheDlg* d) { ChooseLanguage(d, 1); });
    Start(Cancel);

    EXPECT_TRUE(fs::exists(work / "Sprache.con"));
    EXPECT_EQ(test->Parameters.Language, 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("QuorveX / Tensile test to DIN EN 10002 [ ]"));
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 6);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(menus[5]->text(), QStringLiteral("Info"));
    EXPECT_EQ(window->Menu().OpenProject->text(), QStringLiteral("&Open results project"));
    EXPECT_EQ(texts.Text(text::kCaptionWarning), QStringLiteral("Warning"));
    EXPECT_EQ(window->ResultTabs()->tabText(1), QStringLiteral("Results 2"));
    EXPECT_FALSE(app.ProjectOpen);
    EXPECT_TRUE(app.OperatorUnlocked);

    // The language index goes into the working parameter set written at the end.
    ASSERT_TRUE(WriteWorkingParameterSet(test->Parameters, work));
    ParameterSet reread;
    ASSERT_TRUE(LoadParameterSet(reread, work / "Quorvex.Con", false).Loaded());
    EXPECT_EQ(reread.Language, 1);
}

TEST_F(MainWindowTest, CancelledLanguageQuestionComesAgainAndKeepsTheFileLanguage) {
    WriteWorkingFile(0, 1);
    WhenModal<TSpracheDlg>(Cancel);
    Start(Cancel);
    EXPECT_FALSE(fs::exists(work / "Sprache.con"));
    EXPECT_EQ(test->Parameters.Language, 1);
    EXPECT_EQ(window->Menu().Exit->text(), QStringLiteral("E&xit"));
}

TEST_F(MainWindowTest, UniversalTestWithoutProjectAndTheStateOfTheMenu) {
    MarkLanguageChosen();
    WriteWorkingFile(5, 0);
    Start(Cancel);
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("Universalversuch [ ]")));
    const MainMenu& m = window->Menu();
    for (QAction* built :
         {m.OpenProject, m.ChooseLanguage, m.Password, m.Exit, m.About, m.LoadParameters,
          m.SaveParametersAs, m.DeleteParameters, m.Machine, m.Calibration, m.Interfaces,
          m.SaveSpecimen, m.DeleteSpecimen, m.NewProject, m.DemoFile, m.CurrentSeries,
          m.ResultsProjectEditor, m.Statistics, m.AsciiFile, m.TitleHeaderDefinition,
          m.ResultsDefinition, m.HeaderData, m.PrinterSetup}) {
        EXPECT_TRUE(built->isEnabled()) << built->text().toStdString();
    }
    for (QAction* later : {m.BackupSystemFiles}) {
        EXPECT_FALSE(later->isEnabled()) << later->text().toStdString();
    }
    EXPECT_EQ(m.OpenProject->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_TRUE(controllerPortReported);
    EXPECT_FALSE(window->SimulationBanner()->isVisible());
    EXPECT_EQ(app.ScrewTable.Count, 10);  // no "Schraubentabelle.Txt": the placeholders
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_NE(window->MachineInterface(), nullptr);
    EXPECT_FALSE(app.DaqPresent);  // no card: stored data only
    EXPECT_TRUE(app.ReferenceDone);
    EXPECT_LE(window->width(), 1024);
    EXPECT_LE(window->height(), 830);

    // Switching to English from the menu re-captions menus, message captions and the title.
    Run<TSpracheDlg>(m.ChooseLanguage, [](TSpracheDlg* d) { ChooseLanguage(d, 1); });
    EXPECT_EQ(window->windowTitle(), QStringLiteral("QuorveX / Universal test [ ]"));
    EXPECT_EQ(m.File->title(), QStringLiteral("&File"));
    EXPECT_EQ(texts.Text(text::kCaptionError), QStringLiteral("Error"));
    EXPECT_EQ(test->Parameters.Language, 1);
}

TEST_F(MainWindowTest, StartUpAsksForTheLoadCellAndTakesItsMachineSetup) {
    MarkLanguageChosen();
    SensorTable cells;
    ASSERT_TRUE(SaveSensors(SensorKind::LoadCell, cells, {100, 10, 0}, {1, 1, 0}, {1, 2, 0}, work));
    MachineSetupRecord second;
    second.MachineType = 1;
    second.IncrementalTravel = 1;
    second.TravelIncrements = 1000;
    ASSERT_TRUE(SaveMachineSetup(second, work, 2));
    QStringList offered;
    WhenModal<TMessdosenDlg>([&offered](TMessdosenDlg* d) {
        for (QRadioButton* choice : d->Choices()) offered << choice->text();
        QTest::mouseClick(d->Choices().at(1), Qt::LeftButton, {}, QPoint(6, 6));
        QTest::keyClick(d, Qt::Key_Return);
    });
    Start(Cancel);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("100.00 kN"), QStringLiteral("10.00 kN")}));
    EXPECT_DOUBLE_EQ(machineConfig->Calibration.NominalForce, 10.0);
    EXPECT_EQ(machineConfig->LoadCells.SensorSelected, 2);
    EXPECT_EQ(machineConfig->Setup.MachineType, 1);
    EXPECT_DOUBLE_EQ(machineConfig->Factors.ForceFactor, 10.0 / 30000);
    EXPECT_EQ(machineConfig->Factors.ForceDecimals, 4);
    EXPECT_DOUBLE_EQ(machineConfig->Factors.TravelFactor, 0.001);
    EXPECT_FALSE(app.ReferenceDone);  // incremental travel waits for the reference run
    EXPECT_TRUE(static_cast<bool>(ui.StopMachine));
    window->close();
    EXPECT_EQ(window->MachineInterface(), nullptr);
}

TEST_F(MainWindowTest, TheSimulatedMachineIsAlwaysShownAsSuch) {
    MarkLanguageChosen();
    app.SimulateRequested = true;  // quorvex --simulate
    Start(Cancel);
    ASSERT_NE(window->Simulation(), nullptr);
    ASSERT_NE(window->MachineInterface(), nullptr);
    EXPECT_TRUE(window->MachineInterface()->Simulated());
    EXPECT_TRUE(app.DaqPresent);
    EXPECT_TRUE(window->SimulationBanner()->isVisible());
    EXPECT_EQ(window->SimulationBanner()->text(), QStringLiteral("SIMULIERTE MASCHINE"));
    EXPECT_FALSE(controllerPortReported);  // the simulated controller answers on its port
    window->close();
    EXPECT_EQ(window->Simulation(), nullptr);
}

TEST_F(MainWindowTest, PasswordUnlocksAndCancelLocks) {
    MarkLanguageChosen();
    Start(Cancel);
    const MainMenu& m = window->Menu();
    auto type = [](const char* code) {
        return [code](TPasswordDlg* d) {
            QTest::keyClicks(d->Entry(), QString::fromLatin1(code));
            QTest::keyClick(d->Entry(), Qt::Key_Return);
        };
    };
    Run<TPasswordDlg>(m.Password, type("2704 "));
    EXPECT_FALSE(app.OperatorUnlocked);
    EXPECT_FALSE(m.BackupSystemFiles->isEnabled());
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Ungültiges Passwort!"));

    Run<TPasswordDlg>(m.Password, type("2704"));
    EXPECT_TRUE(app.OperatorUnlocked);
    EXPECT_TRUE(m.BackupSystemFiles->isEnabled());

    Run<TPasswordDlg>(m.Password, Cancel);
    EXPECT_FALSE(app.OperatorUnlocked);
    EXPECT_FALSE(m.BackupSystemFiles->isEnabled());
}

TEST_F(MainWindowTest, BackupCommandCopiesIntoTheChosenDirectory) {
    MarkLanguageChosen();
    WriteWorkingFile(0, 0);
    fs::create_directories(work / "Sicherung");
    Start(Cancel);
    Run<TPasswordDlg>(window->Menu().Password, [](TPasswordDlg* d) {
        QTest::keyClicks(d->Entry(), QStringLiteral("2704"));
        QTest::keyClick(d->Entry(), Qt::Key_Return);
    });
    files.chosen = QString::fromStdString((work / "Sicherung" / "Quorvex.con").string());
    window->Menu().BackupSystemFiles->trigger();
    EXPECT_EQ(files.lastTitle, QStringLiteral("System-Dateien sichern"));
    EXPECT_EQ(files.lastProposal, QStringLiteral("Quorvex.con"));
    EXPECT_TRUE(fs::exists(work / "Sicherung" / "Quorvex.Con"));
    EXPECT_TRUE(fs::exists(work / "Sicherung" / "Sprache.con"));
}

TEST_F(MainWindowTest, ParameterSetsAreSavedLoadedAndDeletedFromTheMenu) {
    MarkLanguageChosen();
    WriteWorkingFile(3, 0);
    Start(Cancel);
    const QString path = QString::fromStdString((work / "scher.old").string());

    // Saving gives the chosen name the test type's extension in lower case.
    test->Parameters.HeaderValue[0] = "gespeichert";
    files.chosen = path;
    window->Menu().SaveParametersAs->trigger();
    EXPECT_EQ(files.lastSelectedFilter, QStringLiteral("*.Pa1"));
    EXPECT_TRUE(files.lastFilters.startsWith(QStringLiteral("*.Par;;*.Pa1;;")));
    ASSERT_TRUE(fs::exists(work / "scher.pa1"));

    test->Parameters.HeaderValue[0].clear();
    files.chosen = QString::fromStdString((work / "scher.pa1").string());
    window->Menu().LoadParameters->trigger();
    EXPECT_EQ(test->Parameters.HeaderValue[0], "gespeichert");
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("QuorveX / Scherfestigkeit nach DIN EN 2563 [ ]/scher"));

    // A short file is refused with a message naming it; nothing changes.
    std::ofstream(work / "kurz.pa1") << "zu kurz";
    files.chosen = QString::fromStdString((work / "kurz.pa1").string());
    window->Menu().LoadParameters->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("kurz.pa1")));
    EXPECT_EQ(test->Parameters.HeaderValue[0], "gespeichert");

    files.chosen = QString::fromStdString((work / "scher.pa1").string());
    window->Menu().DeleteParameters->trigger();
    EXPECT_FALSE(fs::exists(work / "scher.pa1"));
}

TEST_F(MainWindowTest, ProjectsOpenedAtStartAndFromTheMenu) {
    MarkLanguageChosen();
    fs::create_directories(work / "Alpha");
    fs::create_directories(work / "Beta");
    {
        ParameterSet beta;
        beta.TestType = 5;
        beta.StartPosition = 123.4;
        ASSERT_TRUE(SaveParameterSet(beta, work / "Beta" / "Beta.Par"));
    }
    Start([](TNeue_Serie* d) {
        ASSERT_EQ(d->ProjectList()->count(), 2);
        d->ProjectList()->setCurrentRow(1);
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(app.ProjectOpen);
    EXPECT_EQ(app.ProjectName, QStringLiteral("Beta"));

    EXPECT_EQ(window->windowTitle(), QStringLiteral("QuorveX / Universalversuch [Beta]"));
    // Not only the title: the panels and the start position follow the project's type at once.
    EXPECT_EQ(window->ResultPanels()->CurrentLayout().Group, ResultGroup::Universal);
    EXPECT_EQ(window->StartPositionField()->text().trimmed(), QStringLiteral("123.4"));

    // Opening another project writes the parameter files of the one being left.
    Run<TNeue_Serie>(window->Menu().OpenProject, [](TNeue_Serie* d) {
        QListWidgetItem* alpha = d->ProjectList()->item(0);
        d->ProjectList()->setCurrentItem(alpha);
        // A double click: press and release, then the second press.
        const QPoint at = d->ProjectList()->visualItemRect(alpha).center();
        QTest::mouseClick(d->ProjectList()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(d->ProjectList()->viewport(), Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(app.ProjectName, QStringLiteral("Alpha"));
    EXPECT_TRUE(fs::exists(work / "Beta.Pa3"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("QuorveX / Universalversuch [Alpha]"));
}

TEST_F(MainWindowTest, CreateModeRefusesAnExistingProjectAndStays) {
    fs::create_directories(work / "Old");
    ParameterSet old;
    ASSERT_TRUE(SaveParameterSet(old, work / "Old" / "Old.Par"));
    app.WorkingDirectory = work;
    ParameterSet parameters;
    TNeue_Serie dialog(ui, app, parameters, nullptr);
    dialog.Mode = TNeue_Serie::kCreateMode;
    dialog.open();
    QLineEdit* name = dialog.NameBox()->lineEdit();
    QTest::keyClicks(name, QStringLiteral("Old"));
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Resultate-Projekt kann nicht erzeugt werden!"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(app.ProjectOpen);

    name->clear();
    QTest::keyClicks(name, QStringLiteral(" Ne u"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(app.ProjectOpen);
    EXPECT_EQ(app.ProjectName, QStringLiteral("Neu"));
    EXPECT_TRUE(fs::is_directory(work / "Neu"));
}

TEST_F(MainWindowTest, CloseIsRefusedDuringATestAndSavesTheProjectAfterwards) {
    MarkLanguageChosen();
    fs::create_directories(work / "P");
    WriteWorkingFile(8, 0);
    Start([](TNeue_Serie* d) { QTest::mouseClick(d->OkButton(), Qt::LeftButton); });
    ASSERT_EQ(app.ProjectName, QStringLiteral("P"));

    app.TestRunning = true;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(messages.shown.empty());

    app.TestRunning = false;
    test->TestSeries.Slots[1].Rm = 420.0f;
    EXPECT_TRUE(window->close());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Sichern Sie zuvor die Versuche aus der aktuellen Serie!\n\n"));
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(test->TestSeries.Slots[1].Rm, 0.0f);
    EXPECT_TRUE(fs::exists(work / "P" / "P.Par"));
    EXPECT_TRUE(fs::exists(work / "P.Pa7"));
    EXPECT_FALSE(window->Timer1().isActive());
}

TEST_F(MainWindowTest, SetupMenuMachineCalibrationAndInterfaces) {
    MarkLanguageChosen();
    Start(Cancel);
    const MainMenu& m = window->Menu();
    test->Parameters.TransverseLimitMm = 0.5;

    // The dialog edits the nominal values of the calibration; confirmed, they come back and
    // the conversion follows.
    double shownForce = 0;
    Run<TBtnRightDlg>(m.Machine, [&shownForce](TBtnRightDlg* d) {
        auto* force =
            qobject_cast<QLineEdit*>(d->Field(static_cast<int>(SetupField::NominalForce)));
        shownForce = force->text().toDouble();
        QTest::keyClick(d, Qt::Key_F12, Qt::AltModifier);
        force->setText(QStringLiteral("100"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(shownForce, 300.0);
    EXPECT_DOUBLE_EQ(machineConfig->Calibration.NominalForce, 100);
    EXPECT_DOUBLE_EQ(machineConfig->Factors.ForceFactor, 100.0 / 30000);
    EXPECT_EQ(machineConfig->Factors.ForceDecimals, 3);

    // Without a card every reading is 3000 counts: 10 kN of 100 kN, live every tick.
    QString force;
    bool timerStopped = false;
    Run<TKalibrieren>(m.Calibration, [&](TKalibrieren* d) {
        timerStopped = !window->Timer1().isActive() && !window->MessenTimer().isActive();
        EXPECT_TRUE(QTest::qWaitFor([d] { return !d->ForceValue()->text().isEmpty(); }, 2000));
        force = d->ForceValue()->text();
        QTest::mouseClick(d->AbortButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(timerStopped);
    EXPECT_EQ(force, QStringLiteral("10.00 "));
    EXPECT_TRUE(window->PasswordDlg()->Granted);
    EXPECT_EQ(window->PasswordDlg()->Mode, 3);
    EXPECT_TRUE(window->Timer1().isActive());

    Run<TBtnRightDlg5>(m.Interfaces, [](TBtnRightDlg5* d) {
        d->CaliperList()->setCurrentIndex(4);
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(test->Parameters.CaliperPort, 4);
}

TEST_F(MainWindowTest, TestMenuOpensTheTestParametersAndRefreshesTheSetupPosition) {
    MarkLanguageChosen();
    Start(Cancel);
    test->Parameters.TestType = 0;
    test->Parameters.TransverseLimitMm = 0.5;
    QString title;
    Run<TBtnRightDlg>(window->Menu().TestParameters, [&title](TBtnRightDlg* d) {
        title = d->windowTitle();
        auto* position =
            qobject_cast<QLineEdit*>(d->Field(static_cast<int>(SetupField::SetupPosition)));
        position->setText(QStringLiteral("42.26"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(title, QStringLiteral("Versuch"));
    EXPECT_DOUBLE_EQ(test->Parameters.StartPosition, 42.26);
    EXPECT_EQ(window->StartPositionField()->text().trimmed(), QStringLiteral("42.3"));

    // The universal test has its programme dialog.
    test->Parameters.TestType = 5;
    Run<TVersuchsDlg>(window->Menu().TestParameters, [](TVersuchsDlg* d) {
        d->SetupPosition()->setText(QStringLiteral("120.04"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(window->StartPositionField()->text().trimmed(), QStringLiteral("120.0"));

    // The flexural-strength test has the bending variant, with its test space.
    test->Parameters.TestType = 8;
    bool bending = false;
    Run<TVersuchsDlg>(window->Menu().TestParameters, [&bending](TVersuchsDlg* d) {
        bending = qobject_cast<TVersuchsDlgBiegung*>(d) != nullptr;
        d->SetupPosition()->setText(QStringLiteral("80.0"));
        d->TestSpace()->button(2)->click();
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(bending);
    EXPECT_EQ(test->Parameters.TestSpace, 2);
    EXPECT_EQ(window->StartPositionField()->text().trimmed(), QStringLiteral("80.0"));
}

TEST_F(MainWindowTest, SpecimenDataMenuOpensTheSpecimenDialogInPlainMode) {
    MarkLanguageChosen();
    Start(Cancel);
    test->Parameters.TestType = 0;
    test->Parameters.SpecimenShape = 0;
    QString okText;
    bool statusShown = true;
    Run<TBtnRightDlg3>(window->Menu().SpecimenData, [&](TBtnRightDlg3* d) {
        okText = d->OkButton()->text();
        statusShown = d->StatusLine()->isVisible();
        d->Input(SpecimenField::RoundD)->setText(QStringLiteral("12"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(okText, QStringLiteral("Ok"));
    EXPECT_FALSE(statusShown);
    EXPECT_FLOAT_EQ(test->Parameters.Round.d, 12.0f);
    EXPECT_NEAR(test->Parameters.EffectiveSo, 113.1, 0.01);
}

// The screw and the other test types open their own specimen dialogs from the menu.
TEST_F(MainWindowTest, SpecimenDataMenuOpensTheDialogOfTheTestType) {
    MarkLanguageChosen();
    Start(Cancel);
    test->Parameters.TestType = 9;
    Run<TTypeSpecimenDlg>(window->Menu().SpecimenData, [&](TTypeSpecimenDlg* d) {
        d->Dimension(0)->setText(QStringLiteral("10"));
        d->Dimension(1)->setText(QStringLiteral("20"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_NEAR(test->Parameters.EffectiveSo, 78.54, 0.005);
    EXPECT_FLOAT_EQ(test->Parameters.GaugeLengthLe, 20.0f);

    test->Parameters.TestType = 1;
    test->Parameters.StressAreaFlag = 1;
    test->Parameters.ThreadSizeIndex = 7;
    test->Parameters.StrengthClassIndex = 7;
    Run<TProbenDatenDlg>(window->Menu().SpecimenData, [&](TProbenDatenDlg* d) {
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_FLOAT_EQ(test->Parameters.EffectiveSo, 58.0f);
    EXPECT_EQ(test->Current().Remark, "M10x1.5/8.8");
    EXPECT_EQ(window->findChildren<TProbenDatenDlg*>().size(), 0);  // gone with its OK
}

}  // namespace
}  // namespace quorvex
