// The main window: start-up in its fixed order, the deferred project question, the main menu
// and the orderly shutdown.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

#include "machine/clock.h"
#include "machine/machine.h"
#include "shell/main_menu.h"

class QGroupBox;
class QTabWidget;

namespace quorvex {

struct AppState;
struct MachineConfig;
struct TestState;
struct UiContext;
class FileDialogs;
class TAboutBox;
class TBtnRightDlg;
class TBtnRightDlg5;
class TNeue_Serie;
class TPasswordDlg;
class TSpracheDlg;

class TSDIAppForm : public QMainWindow {
    Q_OBJECT
  public:
    TSDIAppForm(AppState& app, TestState& test, MachineConfig& machineConfig, UiContext& ui,
                FileDialogs& files, QWidget* parent = nullptr);
    ~TSDIAppForm() override;

    // Operations of parts that are built later; while one is not installed, the question that
    // leads to it is not asked (the state that calls for it cannot arise without that part).
    std::function<void()> StoreLastTestInProject;
    std::function<void()> OpenSeriesEditor;

    // The handlers, in the order the program runs them.
    void FormShow();
    void Timer1Timer();
    bool FormCloseQuery();
    void FormClose();

    // Menu commands.
    void ChooseLanguageCommand();
    void BackupSystemFilesCommand();
    void PasswordCommand();
    void OpenProjectCommand();
    void AboutCommand();
    void LoadParametersCommand();
    void SaveParametersCommand();
    void DeleteParametersCommand();
    void MachineSetupCommand();
    void CalibrationCommand();
    void InterfacesCommand();

    // Applies the language of this index to every window and stores it in the parameter set.
    void ApplyLanguageIndex(int languageIndex);
    void UpdateWindowTitle();

    // The machine interface opened by the start-up; null before it and after the end.
    Machine* MachineInterface() const { return machine_.get(); }

    const MainMenu& Menu() const { return menu_; }
    QTimer& Timer1() { return timer1_; }
    QTimer& MessenTimer() { return messenTimer_; }
    QTabWidget* ResultTabs() const { return resultTabs_; }
    TPasswordDlg* PasswordDlg() const { return passwordDlg_; }
    TSpracheDlg* SpracheDlg() const { return spracheDlg_; }
    TNeue_Serie* NeueSerie() const { return neueSerie_; }
    TAboutBox* AboutBox() const { return aboutBox_; }
    TBtnRightDlg* SetupDlg() const { return setupDlg_; }
    TBtnRightDlg5* InterfacesDlg() const { return interfacesDlg_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
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

    void ShowErrors(const std::vector<QString>& messages);
    void ShowMachineMessages(const std::vector<MachineMessage>& messages);

    // Shared by the close request and the project commands.
    bool OfferUnsavedTests();
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
    TNeue_Serie* neueSerie_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TBtnRightDlg* setupDlg_ = nullptr;
    TBtnRightDlg5* interfacesDlg_ = nullptr;
    bool shown_ = false;
    SteadyClock clock_;
    MachineFiles machineFiles_;
    std::unique_ptr<Machine> machine_;
};

}  // namespace quorvex
