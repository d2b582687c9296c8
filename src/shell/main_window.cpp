// The main window's life cycle and the commands it carries out itself.
#include "shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "evaluation/test_state.h"
#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"
#include "store/export_database.h"
#include "specimen/specimen_dialog.h"
#include "run/app_state.h"
#include "run/run_diagram.h"
#include "run/tensile_run.h"
#include "setup/calibration_dialog.h"
#include "setup/machine_config.h"
#include "setup/machine_setup_command.h"
#include "setup/programme_bending_dialog.h"
#include "setup/programme_dialog.h"
#include "setup/sensor_choice_dialog.h"
#include "setup/serial_ports_dialog.h"
#include "setup/setup_dialog.h"
#include "shell/live_diagram_widget.h"
#include "shell/live_widgets.h"
#include "shell/machine_startup.h"
#include "run/window_relay.h"
#include "shell/main_window_run.h"
#include "shell/project_dialog.h"
#include "shell/result_panels.h"
#include "shell/results_project.h"
#include "shell/system_files.h"
#include "shell/window_title.h"
#include "shell/working_files.h"
#include "ui/about_box.h"
#include "ui/captions.h"
#include "ui/dialog_base.h"
#include "ui/file_dialogs.h"
#include "ui/language_dialog.h"
#include "ui/operator_message.h"
#include "ui/password_dialog.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kSeriesBarText = 808;  // "aktuelle Serie"

}  // namespace

TSDIAppForm::TSDIAppForm(AppState& app, TestState& test, MachineConfig& machineConfig,
                         UiContext& ui, FileDialogs& files, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      test_(test),
      machineConfig_(machineConfig),
      ui_(ui),
      files_(files) {
    setObjectName(QStringLiteral("SDIAppForm"));
    setWindowTitle(kTitlePrefix);
    menu_ = BuildMainMenu(menuBar());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    testPanel_ = new QGroupBox(central);
    testPanel_->setObjectName(QStringLiteral("TestPanel"));
    testPanel_->setTitle(LoadText(text::kTestPanel, 0));
    SetTextNumber(testPanel_, text::kTestPanel);
    // An operator must never mistake the simulated machine for the real one, in any language.
    simulationBanner_ = new QLabel(LoadText(text::kSimulatedMachine, 0), central);
    SetTextNumber(simulationBanner_, text::kSimulatedMachine);
    simulationBanner_->setObjectName(QStringLiteral("SimulationBanner"));
    simulationBanner_->setAlignment(Qt::AlignCenter);
    simulationBanner_->setStyleSheet(QStringLiteral(
        "QLabel { background: #c00000; color: white; font-weight: bold; padding: 4px; }"));
    simulationBanner_->hide();
    layout->addWidget(simulationBanner_);
    simulatedSpecimen_ = new QLabel(central);
    simulatedSpecimen_->setObjectName(QStringLiteral("SimulatedSpecimen"));
    simulatedSpecimen_->setAlignment(Qt::AlignCenter);
    simulatedSpecimen_->setStyleSheet(
        QStringLiteral("QLabel { background: #c00000; color: white; padding: 0 4px 4px 4px; }"));
    simulatedSpecimen_->hide();
    layout->addWidget(simulatedSpecimen_);
    BuildLivePanel(central, layout);
    BuildDiagram();
    resultPanels_ = new TResultPanels(central);
    resultTabs_ = resultPanels_->Tabs();
    resultTabs_->setTabText(0, LoadText(text::kResultTab1, 0));
    resultTabs_->setTabText(1, LoadText(text::kResultTab2, 0));
    resultPanels_->FieldClicked = [this](const std::string& name) { ResultFieldClick(name); };
    resultPanels_->ProbeExportClicked = [this] { ProbeRawDataCommand(); };
    resultPanels_->RemarkEdited = [this](const QString& remark) {
        test_.Current().Remark = remark.toStdString();
    };
    layout->addWidget(resultPanels_);
    setCentralWidget(central);

    // Every dialog exists for the whole life of the window.
    passwordDlg_ = new TPasswordDlg(ui_, this);
    spracheDlg_ = new TSpracheDlg(ui_, this);
    neueSerie_ = new TNeue_Serie(ui_, app_, test_.Parameters, this);
    aboutBox_ = new TAboutBox(ui_, this);
    setupDlg_ = new TBtnRightDlg(ui_, test_.Parameters, machineConfig_, *passwordDlg_, this);
    interfacesDlg_ = new TBtnRightDlg5(ui_, test_.Parameters, this);
    versuchsDlg_ = new TVersuchsDlg(ui_, test_.Parameters, this);
    versuchsDlgBiegung_ = new TVersuchsDlgBiegung(ui_, test_.Parameters, this);
    specimenDlg_ = new TBtnRightDlg3(ui_, test_.Parameters, this);

    timer1_.setInterval(200);
    // The measuring tick keeps its 50 ms even while the window repaints.
    messenTimer_.setInterval(50);
    messenTimer_.setTimerType(Qt::PreciseTimer);
    timerStartPosition_.setInterval(1000);
    timerAutoAblauf_.setInterval(1000);
    referenzfahrtTimer_.setInterval(1000);
    timer3_.setInterval(300);
    connect(&timer1_, &QTimer::timeout, this, &TSDIAppForm::Timer1Timer);
    connect(&messenTimer_, &QTimer::timeout, this, &TSDIAppForm::MessenTimerTimer);
    connect(&timerStartPosition_, &QTimer::timeout, this, &TSDIAppForm::TimerStartPositionTimer);
    connect(&timerAutoAblauf_, &QTimer::timeout, this, &TSDIAppForm::TimerAutoAblaufTimer);
    connect(&referenzfahrtTimer_, &QTimer::timeout, this, &TSDIAppForm::ReferenzfahrtTimerTimer);
    connect(&timer3_, &QTimer::timeout, this, &TSDIAppForm::Timer3Timer);
    // Key preview: the window sees every key of its own controls first.
    qApp->installEventFilter(this);
    ConnectMenu();
    ConnectProjectCommands();
    FormCreate();
}

TSDIAppForm::~TSDIAppForm() {
    StopSampling();
}

void TSDIAppForm::FormCreate() {
    app_.TestRunning = false;
    test_.Marks = TestMarks{};
    resize(640, 480);
    // Timer1 is started once the window has been shown (end of FormShow), so it never ticks
    // before.
}

void TSDIAppForm::ConnectMenu() {
    connect(menu_.OpenProject, &QAction::triggered, this, &TSDIAppForm::OpenProjectCommand);
    connect(menu_.ChooseLanguage, &QAction::triggered, this, &TSDIAppForm::ChooseLanguageCommand);
    connect(menu_.BackupSystemFiles, &QAction::triggered, this,
            &TSDIAppForm::BackupSystemFilesCommand);
    connect(menu_.Password, &QAction::triggered, this, &TSDIAppForm::PasswordCommand);
    connect(menu_.Exit, &QAction::triggered, this, &QWidget::close);
    connect(menu_.About, &QAction::triggered, this, &TSDIAppForm::AboutCommand);
    connect(menu_.LoadParameters, &QAction::triggered, this, &TSDIAppForm::LoadParametersCommand);
    connect(menu_.SaveParametersAs, &QAction::triggered, this, &TSDIAppForm::SaveParametersCommand);
    connect(menu_.DeleteParameters, &QAction::triggered, this,
            &TSDIAppForm::DeleteParametersCommand);
    connect(menu_.Machine, &QAction::triggered, this, &TSDIAppForm::MachineSetupCommand);
    connect(menu_.TestParameters, &QAction::triggered, this, &TSDIAppForm::TestParametersCommand);
    connect(menu_.Calibration, &QAction::triggered, this, &TSDIAppForm::CalibrationCommand);
    connect(menu_.Interfaces, &QAction::triggered, this, &TSDIAppForm::InterfacesCommand);
    connect(menu_.SpecimenData, &QAction::triggered, this, &TSDIAppForm::SpecimenDataCommand);
    menu_.SpecimenData->setEnabled(true);
    for (QAction* action :
         {menu_.OpenProject, menu_.ChooseLanguage, menu_.Password, menu_.Exit, menu_.About,
          menu_.LoadParameters, menu_.SaveParametersAs, menu_.DeleteParameters, menu_.Machine,
          menu_.TestParameters, menu_.Calibration, menu_.Interfaces}) {
        action->setEnabled(true);
    }
    // The backup is enabled by the password only.
    menu_.BackupSystemFiles->setEnabled(false);
}

void TSDIAppForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TSDIAppForm::FormShow() {
    app_.OperatorUnlocked = true;
    // The encoder card and the relay card register here when their drivers are present;
    // without them the program runs with both absent.
    app_.RelayCardPresent = false;
    testPanel_->setTitle(LoadText(text::kTestPanel, ui_.Texts.Base()));
    timer1_.stop();

    ReadWorkingFiles();
    ReadMachineConfiguration();
    AskLanguageOnFirstRun();
    const LoadResult screws = LoadScrewTable(app_.ScrewTable, app_.WorkingDirectory);
    if (screws.status == LoadStatus::Refused) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(screws.message), MessageKind::Error,
                                         MessageButtons::Ok);
    }
    ApplyLanguageIndex(test_.Parameters.Language);
    SetResultTabCaptions();
    LayoutResultPanels();
    UpdateWindowTitle();
    ChooseSensors();
    PlaceMainWindow();
    PrepareMeasuringPorts();
    ResetTestAndSeries();
    diagram_->PrepareAxes();

    timer1_.start();
    UpdateWindowTitle();
    app_.ControllerPort = test_.Parameters.ControllerPort + 1;
    OpenMeasuringHardware();
    PrepareReferenceRun();
}

void TSDIAppForm::ReadWorkingFiles() {
    app_.WorkingDirectory = QDir::currentPath().toStdString();
    app_.DatabaseDirectory =
        ReadDatabaseDirectory(app_.WorkingDirectory, QCoreApplication::applicationDirPath());
    // The working parameter set brings the language and the port numbers with it.
    const LoadResult load = LoadParameterSet(
        test_.Parameters, ResolveInDirectory(app_.WorkingDirectory, kWorkingParameterFile), false);
    if (load.status == LoadStatus::Refused) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(load.message), MessageKind::Error,
                                         MessageButtons::Ok);
    }
    // What a write that was interrupted by a crash left behind (the project's own files go
    // with its next store).
    std::string removed;
    for (const std::string& message : RemoveAbandonedTemporaryFiles(app_.WorkingDirectory)) {
        removed += (removed.empty() ? "" : "\n") + message;
    }
    if (!removed.empty()) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(removed), MessageKind::Information,
                                         MessageButtons::Ok);
    }
    // Whether the alias database can be reached decides whether its option can be ticked.
    OpenDatabases();
}

void TSDIAppForm::ShowErrors(const std::vector<QString>& messages) {
    for (const QString& message : messages) {
        ui_.Messages.ShowOperatorMessage(message, MessageKind::Error, MessageButtons::Ok);
    }
}

void TSDIAppForm::ShowMachineMessages(const std::vector<MachineMessage>& messages) {
    for (const MachineMessage& message : messages) {
        const QString text = message.TextNumber != 0 ? ui_.Texts.Text(message.TextNumber)
                                                     : QString::fromStdString(message.Text);
        ui_.Messages.ShowOperatorMessage(
            text.isEmpty() ? QString::fromStdString(message.Text) : text, MessageKind::Error,
            MessageButtons::Ok);
    }
}

void TSDIAppForm::ReadMachineConfiguration() {
    // Nominal ranges, the platform configuration with the channel map and the sample counts,
    // the support values and the extensometer-arm parameters.
    machineFiles_ = ReadMachineFiles(app_.WorkingDirectory);
    if (app_.SimulateRequested) ChooseSimulatedMachine(machineFiles_.Platform);
    ShowMachineMessages(machineFiles_.messages);
    ShowErrors(ReadCalibrationFiles(machineConfig_, app_.WorkingDirectory));
}

void TSDIAppForm::ChooseSensors() {
    auto chooser = [this](SensorKind kind) -> SensorChooser {
        return [this, kind](const std::vector<SensorEntry>& usable, int preselected) {
            if (kind == SensorKind::LoadCell)
                return TMessdosenDlg(ui_, this).Choose(usable, preselected);
            return TDehnungsaufnehmerDlg(ui_, this).Choose(usable, preselected);
        };
    };
    ShowErrors(ChooseSensorsAndSetup(
        machineConfig_, test_.Parameters, app_.WorkingDirectory, chooser(SensorKind::LoadCell),
        chooser(SensorKind::Extensometer), machineFiles_.Channels.TravelLimitFactor));
}

void TSDIAppForm::AskLanguageOnFirstRun() {
    if (LanguageMarkerExists(app_.WorkingDirectory)) return;
    spracheDlg_->ItemIndex = test_.Parameters.Language;
    // Cancel keeps the language of the parameter set; the question comes again next time.
    if (spracheDlg_->exec() != QDialog::Accepted) return;
    WriteLanguageMarker(app_.WorkingDirectory);
    test_.Parameters.Language = spracheDlg_->ItemIndex;
}

void TSDIAppForm::ApplyLanguageIndex(int languageIndex) {
    const bool known =
        languageIndex >= 0 && languageIndex < static_cast<int>(kLanguageBases.size());
    const int index = known ? languageIndex : 0;
    qtTranslations_.Apply(index);
    ApplyLanguage(LanguageBase(index), ui_.Texts);
    const int base = LanguageBase(index);
    forceReadout_->SetCaption(LoadText(text::kForceReadout, base));
    travelReadout_->SetCaption(LoadText(text::kTravelReadout, base));
    strainReadout_->SetCaption(LoadText(text::kStrainReadout, base));
    fourthReadout_->SetCaption(LoadText(text::kFourthReadout, base));
    SetResultTabCaptions();
    // The tool bars' names (their entries in the tool-bar menu).
    diagramBar_->setWindowTitle(LoadText(text::kDiagramDisplay, base));
    seriesBar_->setWindowTitle(LoadText(kSeriesBarText, base));
    test_.Parameters.Language = index;
    diagram_->Redraw();  // the axis captions
}

void TSDIAppForm::SetResultTabCaptions() {
    resultTabs_->setTabText(0, ui_.Texts.Text(text::kResultTab1));
    resultTabs_->setTabText(1, ui_.Texts.Text(text::kResultTab2));
}

void TSDIAppForm::UpdateWindowTitle() {
    setWindowTitle(
        MainWindowTitle(ui_.Texts, test_.Parameters.TestType, app_.ProjectOpen, app_.ProjectName));
    FitSimulatedSpecimen();
}

void TSDIAppForm::PlaceMainWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    move(area.topLeft());
    // The window manager adds a title bar and a border around the window: on a screen of
    // 768 pixels the status line at the bottom must stay visible.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
    const int border = 4;
    resize(std::min(area.width() - 2 * border, 1024),
           std::min(area.height() - titleBar - border, 830));
}

void TSDIAppForm::PrepareMeasuringPorts() {
    // Caliper and micrometer ports are opened here by the serial port layer; until then both
    // are known by number and closed.
    AssignMeasuringPorts(test_.Parameters, app_);
}

void TSDIAppForm::ResetTestAndSeries() {
    app_.LastTestNew = false;
    app_.LastTestSaved = false;
    ClearSeries(test_.TestSeries, DateTimeNow());
    test_.Curves.Clear();
}

void TSDIAppForm::OpenMeasuringHardware() {
    // The cards, the caliper, micrometer and controller ports and the acquisition card, in the
    // machine's start-up order; the last step sets the force range 1 again, which releases the
    // shutdown line. Without the card the live-value timer stays off and the program works on
    // stored data only.
    MachineStartup startup{machineFiles_.Platform,  machineFiles_.Ik220,
                           machineFiles_.Channels,  MakeControllerConfig(machineConfig_),
                           app_.CaliperPort.Number, app_.MicrometerPort.Number,
                           app_.ControllerPort};
    SimulatedMachine* simulation = injectedSimulation_;
    if (simulation == nullptr) {
        ownedSimulation_ = BuildSimulatedMachine(machineFiles_.Platform, *clock_);
        simulation = ownedSimulation_.get();
    }
    MachineOpening opening = OpenMachine(startup, *clock_, simulation);
    machine_ = std::move(opening.machine);
    activeSimulation_ = machine_->Simulated() ? simulation : nullptr;
    ShowMachineMessages(opening.messages);
    app_.CaliperPort.Open = machine_->CaliperPortOpen();
    app_.MicrometerPort.Open = machine_->MicrometerPortOpen();
    app_.RelayCardPresent = machine_->Drivers().Relay != Driver::Absent;
    app_.DaqPresent = machine_->Daq().DaqPresent();
    simulationBanner_->setVisible(machine_->Simulated());
    ShowFittedCards();
    app_.ForceRange = 1;
    // F8 in every dialog and message box.
    ui_.StopMachine = [this] { SendMachineCommand({MachineCommandKind::StopMachine, false}); };
    FitSimulatedSpecimen();
    CreateMachineServices();
    CreateTestRun();
    // The compression panel offers the probes' raw data where the machine measures with them.
    resultPanels_->SetProbeExportAvailable(machine_->Daq().Extra().HasProbes() ||
                                           machineConfig_.Setup.ExtensometerChannel == 5);
    if (app_.DaqPresent) {
        messenTimer_.start();
        if (useAcquisitionThread_) StartSampling();
    }
}

void TSDIAppForm::PrepareReferenceRun() {
    // With an incremental travel encoder the travel has no zero until the reference run;
    // otherwise it has its zero from the start.
    motion_->Prepare();
    SyncMotionWidgets();
}

void TSDIAppForm::Timer1Timer() {
    UpdateStartButton();
    if (app_.StartupShown) return;
    // The program is closing on a signal: no project question.
    if (closingUnattended_) return;
    timer1_.stop();
    // Before a new test can take their slots: the tests a signal kept at the last close.
    OfferKeptTests();
    if (closingUnattended_) return;
    neueSerie_->Mode = TNeue_Serie::kOpenMode;
    const int answer = neueSerie_->exec();
    app_.StartupShown = true;
    if (answer == TNeue_Serie::kNewProjectRequested) CreateNewProject();
    UpdateWindowTitle();
    // The project opened may be of another test type than the parameter set the program
    // started with: panels, axes and start position follow it now, not at the next test.
    ShowTestTypeOfParameters();
    UpdateStartButton();
    timer1_.start();
}

bool TSDIAppForm::FormCloseQuery() {
    if (app_.TestRunning) return false;
    if (closingUnattended_) {
        KeepUnsavedTests();
    } else if (!OfferUnsavedTests(true)) {
        return false;
    }
    if (app_.ProjectOpen) {
        WriteProjectParameterFiles(test_.Parameters, app_.WorkingDirectory, app_.ProjectName);
    }
    return true;
}

void TSDIAppForm::FormClose() {
    timer1_.stop();
    // The caliper and micrometer ports purged and closed, the shutdown line low (the machine
    // stops), the encoder library unloaded and the relay card released.
    StopSampling();
    messenTimer_.stop();
    timerStartPosition_.stop();
    timerAutoAblauf_.stop();
    referenzfahrtTimer_.stop();
    timer3_.stop();
    motion_.reset();
    jog_.reset();
    live_.reset();
    if (machine_) {
        ui_.StopMachine = nullptr;
        ShowMachineMessages(machine_->Close());
        machine_.reset();
        activeSimulation_ = nullptr;
        ownedSimulation_.reset();
    }
    app_.CaliperPort.Open = false;
    app_.MicrometerPort.Open = false;
}

void TSDIAppForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TSDIAppForm::CloseOnSignal() {
    closingUnattended_ = true;
    ui_.Messages.SetUnattended(true);
    // A dialog's own event loop has to unwind before the window can close: each round
    // closes what is open, stops a test in progress, and tries again until the window is gone.
    auto* rounds = new QTimer(this);
    connect(rounds, &QTimer::timeout, this, [this, stopSent = false]() mutable {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(widget);
            if (dialog && dialog->isVisible()) dialog->reject();
        }
        // The test stops as by the stop button, on the thread that owns the machine; the
        // window finishes it when the measuring tick brings the news of the stop, then it may
        // close. The stop is sent from outside this round: the end of the test may open a
        // dialog, and a timer does not fire again while its own handler waits in that
        // dialog's event loop.
        if (app_.TestRunning) {
            if (!stopSent) {
                stopSent = true;
                QTimer::singleShot(0, this, [this] {
                    SendMachineCommand({MachineCommandKind::StopTest, true});
                });
            }
            return;
        }
        // A signal during the start-up (the language question inside the first show) may find
        // the window already closed while the program's event loop has not begun: the rounds
        // go on until the loop runs and can end.
        if (isVisible()) {
            close();
        } else {
            QCoreApplication::quit();
        }
    });
    rounds->start(20);
}

void TSDIAppForm::ClearCurrentTest() {
    test_.Buffer.Clear();
    test_.Marks = TestMarks{};
    test_.Current().Remark.clear();
}

void TSDIAppForm::ChooseLanguageCommand() {
    spracheDlg_->ItemIndex = test_.Parameters.Language;
    if (spracheDlg_->exec() == QDialog::Accepted) {
        ApplyLanguageIndex(spracheDlg_->ItemIndex);
    }
    SetResultTabCaptions();
    UpdateWindowTitle();
    // The status line's own notes speak the new language too.
    if (aliasOutboxLabel_) ShowAliasOutbox();
    if (samplingLabel_) ShowSamplingStatus();
    ShowFittedCards();
}

void TSDIAppForm::BackupSystemFilesCommand() {
    const QString title = WithoutAccelerator(menu_.BackupSystemFiles->text());
    const QString workingDirectory = QString::fromStdString(app_.WorkingDirectory.string());
    const QString chosen =
        files_.SaveFileName(title, workingDirectory, QStringLiteral("Quorvex.con"), QString());
    if (chosen.isEmpty()) return;
    const QString target = QFileInfo(chosen).absolutePath();
    BackupSystemFiles(app_.WorkingDirectory, target.toStdString());
}

void TSDIAppForm::PasswordCommand() {
    passwordDlg_->Mode = 1;
    passwordDlg_->exec();
    app_.OperatorUnlocked = passwordDlg_->Granted;
    menu_.BackupSystemFiles->setEnabled(passwordDlg_->Granted);
}

void TSDIAppForm::AboutCommand() {
    aboutBox_->exec();
}

void TSDIAppForm::ShowFittedCards() {
    if (!machine_) return;
    aboutBox_->SetHardware(FittedCards(machine_->Drivers(), app_.DaqPresent,
                                       machine_->Relays().RelayCardPresent(),
                                       LoadText(text::kSimulatedCard, ui_.Texts.Base())));
}

namespace {

// "*.Par;;*.Pa1;;..." for the file dialogs, and the filter of the current test type.
QString ParameterFilters() {
    QStringList filters;
    for (const char* filter : ParameterFileFilters()) filters << QString::fromLatin1(filter);
    return filters.join(QStringLiteral(";;"));
}

QString TypeFilter(int testType) {
    return QStringLiteral("*") + QString::fromStdString(ParameterFileExtension(testType));
}

std::filesystem::path ToPath(const QString& path) {
    return path.toStdString();
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

void TSDIAppForm::LoadParametersCommand() {
    AskStoreLastTestInSeries();
    const QString chosen =
        files_.OpenFileName(WithoutAccelerator(menu_.LoadParameters->text()),
                            QString::fromStdString(app_.WorkingDirectory.string()),
                            ParameterFilters(), TypeFilter(test_.Parameters.TestType));
    if (chosen.isEmpty()) return;
    // With a project open only the values of the test itself are taken over, so that the
    // project's choice of results stays; the machine fields of the running program stay always.
    // The project's own parameter file is taken whole: it is how its settings come back.
    const bool ownProjectFile =
        app_.ProjectOpen && SameFile(ToPath(chosen), ProjectParameterFile(app_.WorkingDirectory,
                                                                          app_.ProjectName));
    const LoadResult load = app_.ProjectOpen && !ownProjectFile
                                ? LoadParameterSetIntoProject(test_.Parameters, ToPath(chosen))
                                : LoadParameterSet(test_.Parameters, ToPath(chosen), true);
    if (load.status == LoadStatus::Refused) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(load.message), MessageKind::Error,
                                         MessageButtons::Ok);
        return;
    }
    if (ownProjectFile && load.Loaded()) {
        app_.ProjectSettingsFromFile = true;
        FillResultPanels();
        diagram_->PrepareAxes();
    }
    startPositionField_->setText(
        QString::fromStdString(FormatFixed(test_.Parameters.StartPosition, 6, 1)));
    UpdateWindowTitle();
    if (load.Loaded()) {
        setWindowTitle(windowTitle() + QStringLiteral("/") + QFileInfo(chosen).completeBaseName());
    }
}

void TSDIAppForm::SaveParametersCommand() {
    const QString chosen =
        files_.SaveFileName(WithoutAccelerator(menu_.SaveParametersAs->text()),
                            QString::fromStdString(app_.WorkingDirectory.string()), QString(),
                            ParameterFilters(), TypeFilter(test_.Parameters.TestType));
    if (chosen.isEmpty()) return;
    const std::filesystem::path target =
        ParameterSaveName(ToPath(chosen), test_.Parameters.TestType);
    if (!SaveParameterSet(test_.Parameters, target)) {
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(target.string()),
                                         MessageKind::Error, MessageButtons::Ok);
    }
}

void TSDIAppForm::DeleteParametersCommand() {
    const QString chosen =
        files_.OpenFileName(WithoutAccelerator(menu_.DeleteParameters->text()),
                            QString::fromStdString(app_.WorkingDirectory.string()),
                            ParameterFilters(), TypeFilter(test_.Parameters.TestType));
    if (!chosen.isEmpty()) DeleteParameterFile(ToPath(chosen));
}

void TSDIAppForm::MachineSetupCommand() {
    if (!machine_) return;
    // The dialog edits the nominal values of the calibration; the controller limits the force
    // to 103 % while it is open.
    // The dialog changes what the acquisition thread reads: the window holds the machine.
    auto access = MachineAccess();
    CopyNominalsIntoParameters(machineConfig_.Calibration, test_.Parameters);
    machine_->Link().SendSetupForceLimits();
    setupDlg_->Mode = TBtnRightDlg::kMachineSetupMode;
    setupDlg_->OperatorUnlocked = app_.OperatorUnlocked;
    setupDlg_->WorkingDirectory = app_.WorkingDirectory;
    if (setupDlg_->exec() != QDialog::Accepted) return;
    ApplyConfirmedMachineSetup(machineConfig_, test_.Parameters,
                               machineFiles_.Channels.TravelLimitFactor, machine_->Link());
}

bool TSDIAppForm::ExecTestParameters() {
    // The universal and flexural tests have programme dialogs of their own.
    const int type = test_.Parameters.TestType;
    versuchsDlg_->EndOptionsGranted = passwordDlg_->Granted;
    versuchsDlgBiegung_->EndOptionsGranted = passwordDlg_->Granted;
    if (type == 5 || type == 7) return versuchsDlg_->exec() == QDialog::Accepted;
    if (type == 8) return versuchsDlgBiegung_->exec() == QDialog::Accepted;
    setupDlg_->Mode = TBtnRightDlg::kTestParameterMode;
    setupDlg_->OperatorUnlocked = app_.OperatorUnlocked;
    setupDlg_->WorkingDirectory = app_.WorkingDirectory;
    return setupDlg_->exec() == QDialog::Accepted;
}

void TSDIAppForm::TestParametersCommand() {
    if (!ExecTestParameters()) return;
    startPositionField_->setText(
        QString::fromStdString(FormatFixed(test_.Parameters.StartPosition, 6, 1)));
}

void TSDIAppForm::CalibrationCommand() {
    if (!machine_) return;
    // Calibrating counts as the second password: the test dialogs open their end-of-test
    // options afterwards.
    passwordDlg_->Mode = 3;
    passwordDlg_->Granted = true;
    auto access = MachineAccess();
    messenTimer_.stop();
    timer1_.stop();
    TKalibrieren dialog(ui_, machine_->Daq(), machineConfig_.Calibration,
                        machineFiles_.Channels.TravelLimitFactor, this);
    dialog.exec();
    if (app_.DaqPresent) messenTimer_.start();
    timer1_.start();
}

void TSDIAppForm::InterfacesCommand() {
    auto access = MachineAccess();
    interfacesDlg_->OperatorUnlocked = app_.OperatorUnlocked;
    interfacesDlg_->exec();
}

SpecimenDialogMachine TSDIAppForm::SpecimenDialogServices() {
    SpecimenDialogMachine m;
    if (machine_) {
        m.Link = &machine_->Link();
        m.Relays = &machine_->Relays();
        m.Daq = &machine_->Daq();
        m.Ports = &machine_->Ports();
    }
    m.CaliperPort = app_.CaliperPort.Open ? app_.CaliperPort.Number : 0;
    m.MicrometerPort = app_.MicrometerPort.Open ? app_.MicrometerPort.Number : 0;
    m.AmpVersion = machineConfig_.Setup.AmpVersion;
    m.TravelOffset = machineConfig_.Setup.TravelOffset;
    m.Time = clock_;
    m.EditHeaderData = [this] { HeaderDataCommand(); };
    // The look-ups connect for their own duration; without an alias database they say so.
    m.FindSpecimen = [this](const std::string& number) {
        if (!databases_) OpenDatabases();
        return FindImportedSpecimen(databases_->Alias(), app_.WorkingDirectory, number);
    };
    m.FindLimits = [this](const std::string& identifier) {
        if (!databases_) OpenDatabases();
        return FindImportedLimits(databases_->Alias(), app_.WorkingDirectory, identifier);
    };
    m.Imported = &importedSpecimen_;
    return m;
}


}  // namespace quorvex
