// The main window: start-up in its fixed order, the deferred project question, the main menu
// and the orderly shutdown.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <QTimer>
#include <functional>
#include <memory>

#include "evaluation/imported_data.h"
#include "machine/clock.h"
#include "machine/machine.h"
#include "machine/sampling_thread.h"
#include "machine/sim/virtual_machine.h"
#include "run/acquisition_loop.h"
#include "run/live_diagram_model.h"
#include "shell/auto_sequence.h"
#include "shell/diagram_picks.h"
#include "run/jog_control.h"
#include "shell/live_values.h"
#include "shell/main_menu.h"
#include "shell/motion_services.h"
#include "shell/operator_keys.h"
#include "report/overlay_painter.h"
#include "report/report_content.h"
#include "ui/operator_message.h"
#include "ui/qt_translations.h"

class QBoxLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolBar;
class QAction;

namespace quorvex {

struct AppState;
struct MachineConfig;
struct TestState;
struct UiContext;
class FileDialogs;
class TAboutBox;
class TBtnRightDlg;
class TBtnRightDlg5;
class TVersuchsDlg;
class TVersuchsDlgBiegung;
class TBtnRightDlg3;
class TBtnRightDlg4;
class TAscii_Format;
class TMultPageDlg;
class TKopfdatenDlg;
class TVersuchsartDlg;
class ExportDatabases;
struct SpecimenDialogMachine;
struct StoredRecord;
class TNeue_Serie;
class TPasswordDlg;
class TSpracheDlg;
class TResultPanels;
class LiveReadout;
class JogButton;
class TDiagramArea;
class TBtnRightDlg2;
class TUeberNehmeE;
class MainWindowRunHost;
class RunRoutine;
class ThreadedRunHost;
class ThreadedRunDiagram;

// The system's short date format for result lines and date inputs ("dd.MM.yy", "M/d/yy", ...),
// in numbers only: month and day names become their numbers. Without regional settings (the C
// locale) the German form.
std::string SystemShortDateFormat();

class TSDIAppForm : public QMainWindow {
    Q_OBJECT
  public:
    TSDIAppForm(AppState& app, TestState& test, MachineConfig& machineConfig, UiContext& ui,
                FileDialogs& files, QWidget* parent = nullptr);
    ~TSDIAppForm() override;

    // The results editor over the current series (true) or the open project (false): the one
    // hook through which F9, "aktuelle Serie", F10 and the questions that lead to the series
    // reach it. Until it is installed, F9 and F10 say that it is not there, and a series that
    // must be cleared is offered for storing into the project instead.
    std::function<void(bool seriesMode)> ResultsEditor;
    // The test run and the commands of the keys that lead to it, built with the test run
    // and the series: F2 starts (or, during a test, stops) the run of the test type; without
    // the card F2 loads a demo test; F3 starts a test from a specimen-data file; F6 stores
    // the last test; F9 shows the current series; F10 opens the results-project editor.
    std::function<void()> StartTestRun;
    std::function<void()> StopTestRun;
    std::function<void()> LoadDemoTest;
    std::function<void()> StartTestFromSpecimenFile;
    std::function<void()> ShowCurrentSeries;
    std::function<void()> OpenProjectEditor;
    // Instead of the window's own specimen dialog of the test type at the start of a test:
    // true for OK.
    std::function<bool()> ShowSpecimenDialog;

    // Before the window is shown: the simulated machine that supplies the devices the
    // platform configuration marks "simulated", and the clock of the machine's waits.
    void UseMachine(SimulatedMachine* simulation, Clock& clock) {
        injectedSimulation_ = simulation;
        clock_ = &clock;
    }
    // Before the window is shown: the machine gets an acquisition thread of its own, which
    // samples on absolute 50 ms deadlines and runs the test whatever the window does. The
    // program always has it; a test without it ticks by hand through MessenTimerTimer.
    void UseAcquisitionThread(bool use) { useAcquisitionThread_ = use; }
    // Every sample the window takes from the acquisition ring, in order (a benchmark's
    // stopwatch).
    std::function<void(const LiveSample&)> SampleObserver;

    // The handlers, in the order the program runs them.
    void FormShow();
    void Timer1Timer();
    bool FormCloseQuery();
    void FormClose();
    // A termination signal: the open dialogs and boxes closed as with Escape, a test in
    // progress stopped and its machine switched off, then the window closed as "Beenden"
    // does, without questions; the unsaved tests are kept for the next start.
    void CloseOnSignal();
    // At the close on a signal: the last test that is not in the series goes into it, and the
    // series is kept in the working directory with its parameter set and project.
    void KeepUnsavedTests();
    // At the start after such a close: the kept tests are offered for storing in their
    // project (as F6 stores) or discarding; Cancel takes them into the current series.
    void OfferKeptTests();

    // Menu commands.
    void ChooseLanguageCommand();
    void ShowFittedCards();
    // On the simulated machine: the clamped specimen takes the dimensions just entered.
    void FitSimulatedSpecimenToEntries();
    void BackupSystemFilesCommand();
    void PasswordCommand();
    void OpenProjectCommand();
    void AboutCommand();
    void LoadParametersCommand();
    void SaveParametersCommand();
    void DeleteParametersCommand();
    void MachineSetupCommand();
    void TestParametersCommand();
    // The test-parameter dialog of the test type alone; true for OK.
    bool ExecTestParameters();
    void CalibrationCommand();
    void InterfacesCommand();
    // "&Probendaten": the specimen dialog in plain mode, then the last test evaluated again.
    void SpecimenDataCommand();
    // The specimen dialog of the current test type: the tensile dialog (types 0, 6, with the
    // start readiness for a start of type 0), the screw dialog (1, 2) or the small dialog of
    // the other types. True for OK; reevaluate: Ctrl+K (or the universal divisor) asks for a
    // new evaluation of the last test.
    bool ExecSpecimenDialogOfType(bool forStart, long long counter, bool& reevaluate);

    // Results project and series commands.
    void NewProjectCommand();
    // "Def. &Titel/Kopfdaten", "Def &Resultate" (then the last test evaluated again, the
    // panels, the diagram and the title) and "&Kopfdaten".
    void TitleHeaderDefinitionCommand();
    void ResultsDefinitionCommand();
    void HeaderDataCommand();
    void StatisticsOptionsCommand();
    void AsciiOptionsCommand();
    void DeleteTestCommand();
    void StoreInSeriesCommand();
    void CurrentSeriesCommand();
    void ProjectEditorCommand();
    void SaveSpecimenCommand();
    // The result panels, the diagram's axes and the start position of the parameter set's
    // test type (after a project was opened).
    void ShowTestTypeOfParameters();
    // F3 and "Probendaten laden": with a project, a prepared specimen file, the header data and
    // the start of the test with the file's specimen; without one text 167.
    void SpecimenFileTestKey();
    void SpecimenFileTestCommand();
    void DeleteSpecimenCommand();
    void DemoFileCommand();
    // "Rohdaten der Taster exportieren": the probes and their mean of the current test.
    void ProbeRawDataCommand();
    // F6: the last test through the series straight into the project.
    void StoreLastTestKey();
    // The last test into the next series slot with the remark of the result panel.
    void StoreLastTestInSeriesNow();
    // The imported specimen's row goes once its test (with this number) is in the series.
    void ConsumeImportedSpecimenRow(const std::string& specimenNo);
    // Stores series slots into the open project with its files, result lines and database
    // rows; the number of the last record written, 0 (and the operator told) when nothing
    // could be stored.
    int StoreSlotsInProject(const std::vector<int>& seriesSlots);
    // The same into the named project with the parameter set in force; the tests stored.
    std::vector<StoredRecord> StoreSlotsInNamedProject(const std::vector<int>& seriesSlots,
                                                       const QString& projectName);
    // Installs ResultsEditor; "Datensatz bearbeiten" there re-opens a stored record as the
    // last test, with its header data, curve and specimen.
    void InstallResultsEditor();
    // "&Drucker-Setup" and "Versuch protokollieren" on the program's one printer.
    void InstallReports();
    void PrinterSetupCommand();
    void PrintTestCommand();
    // The single-test report of the current test: its row and its curve.
    ResultsReport CurrentTestReport() const;
    std::unique_ptr<OverlayDiagram> CurrentTestDiagram() const;
    OverlayLook CurrentTestLook() const;
    // The program's one printer, made when a report or the printer setup first needs it
    // (asking the print system for its default printer has no place in the start-up).
    QPrinter* Printer();
    void ReopenStoredTest(int recordNumber);

    // One step of "Resultate-Projekt neu" before the project dialog; a step without a dialog
    // (not built yet) is skipped. Run returns false when the operator cancelled the creation.
    struct ProjectCreationStep {
        const char* Name;
        std::function<bool()> Run;
    };
    std::vector<ProjectCreationStep> ProjectCreationSteps();

    QToolBar* SeriesBar() const { return seriesBar_; }
    QLabel* AliasOutboxLabel() const { return aliasOutboxLabel_; }
    QLabel* ExportOutboxLabel() const { return exportOutboxLabel_; }
    ExportDatabases* Databases() const { return databases_.get(); }
    TVersuchsartDlg* TestTypeDlg() const { return testTypeDlg_; }
    TBtnRightDlg4* StatisticsDlg() const { return statisticsDlg_; }
    TAscii_Format* AsciiDlg() const { return asciiDlg_; }

    // The tensile specimen dialog and what it drives; the test start shows it in start mode.
    TBtnRightDlg3* SpecimenDialog() const { return specimenDlg_; }
    SpecimenDialogMachine SpecimenDialogServices();
    // Set when the current specimen was taken from the import: its row is consumed when the
    // test enters the series.
    ImportedSpecimenMark& ImportedSpecimen() { return importedSpecimen_; }

    // Applies the language of this index to every window and stores it in the parameter set.
    void ApplyLanguageIndex(int languageIndex);
    void UpdateWindowTitle();

    // The machine interface opened by the start-up; null before it and after the end.
    Machine* MachineInterface() const { return machine_.get(); }
    // The simulated machine of this run, when the platform configuration or --simulate asks
    // for it; the banner saying so is visible for as long as it runs.
    VirtualMachine* Simulation() const { return ownedSimulation_.get(); }
    QLabel* SimulationBanner() const { return simulationBanner_; }
    // Under the banner: the specimen the simulated machine has clamped.
    QLabel* SimulatedSpecimenLabel() const { return simulatedSpecimen_; }
    // The window's own simulated machine clamps the specimen of the test type (unless the
    // platform configuration names one) and the banner says which; never during a test.
    void FitSimulatedSpecimen();

    // The window borrows the machine from the acquisition thread (between tests: a jog, a
    // tare, a dialog that drives the machine); while it holds it, the measuring tick of the
    // window samples instead of the thread. A null-op without the thread.
    SamplingThread::WindowAccess MachineAccess() {
        return SamplingThread::WindowAccess(sampling_.get());
    }
    // A command to the machine's owner: queued for the acquisition thread, or done at once
    // when the window holds the machine or no thread runs.
    void SendMachineCommand(MachineCommand command);
    // The rings emptied at the window's pace: live values, then the run's events.
    void DrainAcquisition();
    SamplingThread* Sampling() const { return sampling_.get(); }
    AcquisitionLoop* MachineLoop() const { return loop_.get(); }
    // Deadlines the acquisition thread missed during the last test (the status line says so).
    std::int64_t MissedDeadlinesOfLastTest() const { return missedLastTest_; }
    QLabel* SamplingLabel() const { return samplingLabel_; }

    // Timers and keys. The measuring tick of the window shows the samples of the
    // acquisition thread; without the thread (or while the window holds the machine) it
    // takes the sample itself.
    void MessenTimerTimer();
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormKeyUp();
    void TimerStartPositionTimer();
    void TimerAutoAblaufTimer();
    void ReferenzfahrtTimerTimer();
    void Timer3Timer();

    // Result panels: the group of the test type (every field white), the results of the
    // current test, a click on a field, and Esc.
    void LayoutResultPanels();
    void FillResultPanels();
    void ResultFieldClick(const std::string& name);
    void LeavePickModes();
    // The automatic sequence after a test (the test end starts it).
    void StartAutoSequence();

    LiveValues* Live() const { return live_.get(); }
    JogControl* Jog() const { return jog_.get(); }
    MotionServices* Motion() const { return motion_.get(); }
    TResultPanels* ResultPanels() const { return resultPanels_; }
    LiveReadout* ForceReadout() const { return forceReadout_; }
    LiveReadout* TravelReadout() const { return travelReadout_; }
    LiveReadout* StrainReadout() const { return strainReadout_; }
    LiveReadout* FourthReadout() const { return fourthReadout_; }
    JogButton* JogUpButton() const { return jogUpButton_; }
    JogButton* JogDownButton() const { return jogDownButton_; }
    QPushButton* StartPositionButton() const { return startPositionButton_; }
    QPushButton* ReferenceButton() const { return referenceButton_; }
    QLineEdit* StartPositionField() const { return startPositionField_; }
    QTimer& TimerStartPosition() { return timerStartPosition_; }
    QTimer& TimerAutoAblauf() { return timerAutoAblauf_; }
    QTimer& ReferenzfahrtTimer() { return referenzfahrtTimer_; }
    QTimer& Timer3() { return timer3_; }
    const std::string& PickField() const { return pickField_; }

    // The live diagram: the test run draws into it; its drawing area and tool bar.
    LiveDiagramModel& Diagram() { return *diagram_; }
    TDiagramArea* DiagramArea() const { return diagramArea_; }
    QToolBar* DiagramBar() const { return diagramBar_; }
    TUeberNehmeE* UeberNehmeE() const { return ueberNehmeE_; }
    // The operator has taken a modulus picked on the curve (the next evaluations keep it).
    bool KeepModulus() const { return keepModulus_; }
    // "Diagramm-Darstellung" (tool bar and menu): the diagram settings dialog; the axes are
    // prepared and the curve redrawn after it.
    TBtnRightDlg2* DiagramSettingsDlg() const { return diagramSettingsDlg_; }
    void DiagramRangeCommand(RangeButton button);
    void MagnifierCommand();
    void DiagramSettingsCommand();
    // A press on the drawing area: the point picks of the result field in pick mode.
    void DiagramClick(int x, int y);
    // The test run of the tensile family over the machine; null before the machine is open.
    RunRoutine* TestRun() const { return testRun_.get(); }
    QPushButton* StartButton() const { return startButton_; }
    // Whether F2 (and the start button) would start a test now, and why not; the start
    // button is enabled exactly when it would. Refreshed when what it reads changes and at
    // each tick of Timer1.
    StartRefusal StartRefusalNow() const;
    void UpdateStartButton();
    QPushButton* StopButton() const { return stopButton_; }
    QLineEdit* SpeedField() const { return speedField_; }
    QLabel* SpeedUnitLabel() const { return speedUnitLabel_; }

    const MainMenu& Menu() const { return menu_; }
    QTimer& Timer1() { return timer1_; }
    QTimer& MessenTimer() { return messenTimer_; }
    QTabWidget* ResultTabs() const { return resultTabs_; }
    TPasswordDlg* PasswordDlg() const { return passwordDlg_; }
    TSpracheDlg* SpracheDlg() const { return spracheDlg_; }
    const QtTranslations& QtTexts() const { return qtTranslations_; }
    TNeue_Serie* NeueSerie() const { return neueSerie_; }
    TAboutBox* AboutBox() const { return aboutBox_; }
    TBtnRightDlg* SetupDlg() const { return setupDlg_; }
    TBtnRightDlg5* InterfacesDlg() const { return interfacesDlg_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    friend class MainWindowRunHost;
    void FormCreate();
    void CreateTestRun();
    void StartSampling();
    void StopSampling();
    void ApplyRunEvent(const RunEvent& event);
    void ShowSamplingStatus();
    // Before a start: a speed programme with which the test would stand still is named, and
    // the test-parameter dialog offered; false when the test does not start.
    bool OfferSpeedProgramme();
    void ConnectMenu();

    // Start-up steps.
    void ReadWorkingFiles();
    void ReadMachineConfiguration();
    void AskLanguageOnFirstRun();
    void ChooseSensors();
    void PlaceMainWindow();
    void PrepareMeasuringPorts();
    void ResetTestAndSeries();
    void OpenMeasuringHardware();
    void PrepareReferenceRun();

    void BuildLivePanel(QWidget* parent, QBoxLayout* layout);
    void CreateMachineServices();
    void SyncMotionWidgets();
    void JogPress(JogDirection direction, Qt::MouseButton button);
    void JogRelease(JogDirection direction);
    void StartPositionCommand();
    void SeriesFullCheck();
    void TaraCounterPopup(LiveReadout* readout, int counterKind);
    void AskMeasuredLength(const std::string& field);
    void AskFinalDimensions(bool compression);
    void EnterPickMode(const std::string& field);
    void BuildDiagram();
    void PickModeStarted();
    void PickModeEnded();
    void ShowPickedResults();
    void ConfirmModulus(int first, int second);
    void ConfirmProof(int first, int second);

    void ShowErrors(const std::vector<QString>& messages);
    void ShowMachineMessages(const std::vector<MachineMessage>& messages);

    // "Resultate-Projekt neu" after the questions about unsaved tests: the chain of dialogs,
    // then the name; a Cancel anywhere leaves everything as it was.
    void CreateNewProject();
    // Shared by the close request and the project commands: the last test (closing: into the
    // project, text 175, with Cancel; else into the series, text 168), then the series
    // (text 176). False when the operator cancelled: the window stays open.
    bool OfferUnsavedTests(bool closing);
    // Text 168 when the last test is new and not saved; Yes stores it in the series.
    void AskStoreLastTestInSeries(MessageKind kind = MessageKind::Warning);
    // Before the series is cleared: the series editor, or without it the question whether the
    // tests go into the project.
    void SaveSeriesBeforeClearing();
    void BuildSeriesBar();
    void OpenDatabases();
    void ShowAliasOutbox();
    void ConnectProjectCommands();
    bool OptionsReadOnly() const;
    void ClearCurrentTest();
    void SetResultTabCaptions();

    AppState& app_;
    TestState& test_;
    MachineConfig& machineConfig_;
    UiContext& ui_;
    FileDialogs& files_;
    MainMenu menu_;
    QTimer timer1_;
    QTimer messenTimer_;
    QGroupBox* testPanel_ = nullptr;
    QTabWidget* resultTabs_ = nullptr;
    TPasswordDlg* passwordDlg_ = nullptr;
    TSpracheDlg* spracheDlg_ = nullptr;
    QtTranslations qtTranslations_;  // Qt's own buttons and dialogs in the chosen language
    TNeue_Serie* neueSerie_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TBtnRightDlg* setupDlg_ = nullptr;
    TBtnRightDlg5* interfacesDlg_ = nullptr;
    TVersuchsDlg* versuchsDlg_ = nullptr;
    TVersuchsDlgBiegung* versuchsDlgBiegung_ = nullptr;
    TBtnRightDlg3* specimenDlg_ = nullptr;
    TVersuchsartDlg* testTypeDlg_ = nullptr;
    TBtnRightDlg4* statisticsDlg_ = nullptr;
    TAscii_Format* asciiDlg_ = nullptr;
    TMultPageDlg* titleDlg_ = nullptr;
    TKopfdatenDlg* headerDlg_ = nullptr;
    QToolBar* seriesBar_ = nullptr;
    QLabel* aliasOutboxLabel_ = nullptr;
    QLabel* exportOutboxLabel_ = nullptr;
    std::string networkWarning_;  // the SQLite export file lies on a network file system
    std::unique_ptr<ExportDatabases> databases_;
    std::unique_ptr<QPrinter> printer_;
    ImportedSpecimenMark importedSpecimen_;
    bool shown_ = false;
    SteadyClock steadyClock_;
    Clock* clock_ = &steadyClock_;
    SimulatedMachine* injectedSimulation_ = nullptr;  // a test's, instead of the platform's
    SimulatedMachine* activeSimulation_ = nullptr;    // the one the machine runs on, if any
    MachineFiles machineFiles_;
    QLabel* simulationBanner_ = nullptr;
    QLabel* simulatedSpecimen_ = nullptr;
    std::unique_ptr<VirtualMachine> ownedSimulation_;  // outlives the machine opened with it
    std::unique_ptr<Machine> machine_;
    AbsentSequenceIo sequenceIo_;
    std::unique_ptr<LiveValues> live_;
    std::unique_ptr<JogControl> jog_;
    std::unique_ptr<MotionServices> motion_;
    QTimer timerStartPosition_;
    QTimer timerAutoAblauf_;
    QTimer referenzfahrtTimer_;
    QTimer timer3_;
    TResultPanels* resultPanels_ = nullptr;
    LiveReadout* forceReadout_ = nullptr;
    LiveReadout* travelReadout_ = nullptr;
    LiveReadout* strainReadout_ = nullptr;
    LiveReadout* fourthReadout_ = nullptr;
    JogButton* jogUpButton_ = nullptr;
    JogButton* jogDownButton_ = nullptr;
    QPushButton* startPositionButton_ = nullptr;
    QPushButton* referenceButton_ = nullptr;
    QLineEdit* startPositionField_ = nullptr;
    QLineEdit* speedField_ = nullptr;
    QLabel* speedUnitLabel_ = nullptr;
    QPushButton* startButton_ = nullptr;  // "F2"
    QPushButton* stopButton_ = nullptr;   // shown while a test runs
    bool closingUnattended_ = false;      // ending on a signal: no questions
    bool startingTest_ = false;           // F2's start is under way
    std::unique_ptr<MainWindowRunHost> runHost_;
    bool useAcquisitionThread_ = false;
    std::unique_ptr<AcquisitionLoop> loop_;
    std::unique_ptr<ThreadedRunHost> threadedHost_;
    std::unique_ptr<ThreadedRunDiagram> threadedDiagram_;
    std::unique_ptr<RunRoutine> testRun_;
    // Last: stopped and gone before what it ticks.
    std::unique_ptr<SamplingThread> sampling_;
    bool applyingRunEvents_ = false;
    std::int64_t missedLastTest_ = 0;
    QLabel* samplingLabel_ = nullptr;
    std::string pickField_;  // the result field in pick mode; empty: none
    bool pickGreen_ = false;
    std::unique_ptr<LiveDiagramModel> diagram_;
    TDiagramArea* diagramArea_ = nullptr;
    QToolBar* diagramBar_ = nullptr;
    QAction* magnifierAction_ = nullptr;
    TUeberNehmeE* ueberNehmeE_ = nullptr;
    TBtnRightDlg2* diagramSettingsDlg_ = nullptr;
    PickClicks pickClicks_;
    bool keepModulus_ = false;
};

}  // namespace quorvex
