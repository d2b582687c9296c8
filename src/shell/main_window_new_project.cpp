// "Resultate-Projekt neu": the chain of dialogs that sets a new project up and the name dialog
// that creates it. Until the name is confirmed the chain works on the program's own records, so
// a Cancel anywhere puts back what it had changed and no file is written.
#include <QDialog>
#include <QLineEdit>

#include "definitions/results_definition_dialog.h"
#include "evaluation/result_limits.h"
#include "evaluation/test_state.h"
#include "evaluation/text_functions.h"
#include "results/ascii_format_dialog.h"
#include "results/statistics_options_dialog.h"
#include "results/test_type_dialog.h"
#include "results/title_definition_dialog.h"
#include "run/app_state.h"
#include "setup/machine_config.h"
#include "shell/diagram_settings_dialog.h"
#include "shell/main_window.h"
#include "shell/project_dialog.h"
#include "shell/results_project.h"
#include "shell/working_files.h"
#include "ui/dialog_base.h"

namespace quorvex {
namespace {

// What the chain may change before the project exists: the parameter set, the project that
// is open, and the machine and TDM values the test page of the setup dialog shares.
struct OpenProjectRecords {
    ParameterSet Parameters;
    bool ProjectOpen = false;
    QString ProjectName;
    bool ProjectSettingsFromFile = false;
    MachineSetupRecord Setup;
    TdmParameterRecord Tdm;

    OpenProjectRecords(const ParameterSet& p, const AppState& app, const MachineConfig& machine)
        : Parameters(p),
          ProjectOpen(app.ProjectOpen),
          ProjectName(app.ProjectName),
          ProjectSettingsFromFile(app.ProjectSettingsFromFile),
          Setup(machine.Setup),
          Tdm(machine.Tdm) {}

    void PutBack(ParameterSet& p, AppState& app, MachineConfig& machine) const {
        p = Parameters;
        app.ProjectOpen = ProjectOpen;
        app.ProjectName = ProjectName;
        app.ProjectSettingsFromFile = ProjectSettingsFromFile;
        machine.Setup = Setup;
        machine.Tdm = Tdm;
    }
};

bool Accepted(int result) {
    return result == QDialog::Accepted;
}

}  // namespace

std::vector<TSDIAppForm::ProjectCreationStep> TSDIAppForm::ProjectCreationSteps() {
    // The dialogs alone, without what their menu commands do afterwards (evaluating the last
    // test again, redrawing): the project they set up does not exist yet.
    return {
        // A locked operator sees the method read-only: the project takes the current one,
        // and leaving the dialog either way goes on with the chain.
        {"TVersuchsartDlg",
         [this] {
             testTypeDlg_->ReadOnly = !app_.OperatorUnlocked;
             return Accepted(testTypeDlg_->exec()) || testTypeDlg_->ReadOnly;
         }},
        {"TMultPageDlg",
         [this] {
             titleDlg_->OperatorUnlocked = app_.OperatorUnlocked;
             return Accepted(titleDlg_->exec());
         }},
        {"TBtnRightDlg1",
         [this] {
             ParameterSet& p = test_.Parameters;
             if (!Accepted(ExecResultsDefinition(ui_, p, p.TestType, OptionsReadOnly(),
                                                 machineConfig_.Setup.HydraulicGrips != 0,
                                                 this))) {
                 return false;
             }
             if (p.TestType >= 0 && p.TestType <= 2) NormaliseTensileDecimals(p);
             return true;
         }},
        {"TestParameters", [this] { return ExecTestParameters(); }},
        {"TBtnRightDlg2", [this] { return Accepted(diagramSettingsDlg_->exec()); }},
        {"TBtnRightDlg4",
         [this] {
             statisticsDlg_->ReadOnly = OptionsReadOnly();
             return Accepted(statisticsDlg_->exec());
         }},
        {"TAscii_Format",
         [this] {
             asciiDlg_->ReadOnly = OptionsReadOnly();
             asciiDlg_->DatabaseAvailable = app_.DatabaseAvailable;
             return Accepted(asciiDlg_->exec());
         }},
    };
}

void TSDIAppForm::NewProjectCommand() {
    OfferUnsavedTests(false);
    CreateNewProject();
}

void TSDIAppForm::CreateNewProject() {
    const OpenProjectRecords before(test_.Parameters, app_, machineConfig_);
    // The options of the new project are set before it exists and are never read-only.
    app_.ProjectSettingsFromFile = false;
    bool confirmed = true;
    for (const ProjectCreationStep& step : ProjectCreationSteps()) {
        if (step.Run && !step.Run()) {
            confirmed = false;
            break;
        }
    }
    if (confirmed) {
        neueSerie_->Mode = TNeue_Serie::kCreateMode;
        confirmed = neueSerie_->exec() == QDialog::Accepted && app_.ProjectOpen;
    }
    if (!confirmed) {
        // The project that was open stays open as it was, its test and its files untouched.
        before.PutBack(test_.Parameters, app_, machineConfig_);
        UpdateWindowTitle();
        return;
    }
    // The project that was open keeps its own settings, written as at closing.
    if (before.ProjectOpen && before.ProjectName != app_.ProjectName) {
        WriteProjectParameterFiles(before.Parameters, app_.WorkingDirectory, before.ProjectName);
    }
    if (!WriteProjectParameterFiles(test_.Parameters, app_.WorkingDirectory, app_.ProjectName)) {
        ui_.Messages.ShowOperatorMessage(
            QString::fromStdString(
                ProjectParameterFile(app_.WorkingDirectory, app_.ProjectName).string()),
            MessageKind::Error, MessageButtons::Ok);
    }
    UpdateWindowTitle();
    ClearCurrentTest();
    app_.LastTestNew = false;
    LayoutResultPanels();
    diagram_->PrepareAxes();
    startPositionField_->setText(
        QString::fromStdString(FormatFixed(test_.Parameters.StartPosition, 6, 1)));
}

}  // namespace quorvex
