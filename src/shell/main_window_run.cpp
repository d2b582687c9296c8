// The test run in the main window: the run object over the window's machine, the hooks of
// F2, the stop button and the series, and the window's side of the run.
#include "shell/main_window_run.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "evaluation/results_record.h"
#include "evaluation/series_store.h"
#include "evaluation/test_state.h"
#include "machine/sim/virtual_machine.h"
#include "specimen/specimen_dialog.h"
#include "run/app_state.h"
#include "run/live_diagram_model.h"
#include "run/run_routines.h"
#include "setup/machine_config.h"
#include "shell/live_widgets.h"
#include "shell/main_window.h"
#include "shell/result_panel_model.h"
#include "shell/result_panels.h"
#include "ui/dialog_base.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTextNoActiveSpeedStage = 792;
constexpr int kTextSpecimen = 791;  // "Probe"

// "ohne Probe", "Baustahl mit ausgeprägter Streckgrenze", ... in the order of the presets.
int PresetTextNumber(SpecimenPreset preset) {
    static_assert(static_cast<int>(SpecimenPreset::Chain) == 10);
    return 780 + static_cast<int>(preset);
}

MessageKind Kind(RunMessageKind kind) {
    switch (kind) {
        case RunMessageKind::Warning:
            return MessageKind::Warning;
        case RunMessageKind::Error:
            return MessageKind::Error;
        case RunMessageKind::Information:
            break;
    }
    return MessageKind::Information;
}

}  // namespace

// --- the window's part

void TSDIAppForm::CreateTestRun() {
    if (!machine_) return;
    runHost_ = std::make_unique<MainWindowRunHost>(*this);
    // The window's diagram computes the views, ranges and the extensometer removal and draws
    // them into its drawing area. The routine follows the test type chosen at each start.
    auto createRun = [this] {
        RunMachine devices{&machine_->Link(), &machine_->Relays(), &machine_->Daq()};
        testRun_ =
            CreateRunRoutine(test_, machineConfig_, app_, devices, *clock_, *diagram_, *runHost_);
    };
    createRun();
    StartTestRun = [this, createRun] {
        if (testRun_ && testRun_->Running()) return;
        if (!OfferSpeedProgramme()) return;
        keepModulus_ = false;
        FitSimulatedSpecimen();
        createRun();
        // On the simulated machine the next specimen is clamped when the last one broke.
        if (activeSimulation_) activeSimulation_->ClampNextSpecimen();
        testRun_->Start();
    };
    StopTestRun = [this] { testRun_->Stop(false); };
    connect(startButton_, &QPushButton::clicked, this, [this] {
        if (!app_.TestRunning && StartTestRun) StartTestRun();
    });
    connect(stopButton_, &QPushButton::clicked, this, [this] {
        if (testRun_) testRun_->Stop(true);
    });
}

void TSDIAppForm::FitSimulatedSpecimen() {
    const auto* simulation = dynamic_cast<const VirtualMachine*>(activeSimulation_);
    simulatedSpecimen_->setVisible(simulation != nullptr);
    if (simulation == nullptr) return;
    // A machine handed in from outside keeps the specimen it was given.
    VirtualMachine* own = ownedSimulation_.get();
    if (simulation == own && !machineFiles_.Platform.Simulation.PresetNamed &&
        !app_.TestRunning) {
        const SpecimenPreset preset = DefaultPresetOfTestType(test_.Parameters.TestType);
        if (own->Config().Preset != preset) {
            own->UsePreset(preset);
            machine_->Daq().SetExtraInputs(own->ExtraInputWiring());
            resultPanels_->SetProbeExportAvailable(machine_->Daq().Extra().HasProbes() ||
                                                   machineConfig_.Setup.ExtensometerChannel == 5);
        }
    }
    const int base = ui_.Texts.Base();
    simulatedSpecimen_->setText(LoadText(kTextSpecimen, base) + QStringLiteral(": ") +
                                LoadText(PresetTextNumber(simulation->Config().Preset), base));
}

bool TSDIAppForm::OfferSpeedProgramme() {
    // Without a project the run itself says so first.
    if (!app_.ProjectOpen ||
        !SpeedProgrammeStandsStill(test_.Parameters, machineConfig_.Setup.MeasureOnly != 0)) {
        return true;
    }
    if (ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(kTextNoActiveSpeedStage),
                                         MessageKind::Warning,
                                         MessageButtons::YesNo) == QMessageBox::Yes) {
        TestParametersCommand();
    }
    return false;
}

void TSDIAppForm::FeedTestRun() {
    if (!testRun_ || !testRun_->Running() || !live_->SampleReady) return;
    live_->SampleReady = false;
    testRun_->OnSample();
}

// --- the run's host

void MainWindowRunHost::Message(RunMessageKind kind, int text, int secondText) {
    const StoredTexts& texts = window_.ui_.Texts;
    QString message = texts.Text(text);
    if (secondText) message += QStringLiteral("\n\n") + texts.Text(secondText);
    window_.ui_.Messages.ShowOperatorMessage(message, Kind(kind), MessageButtons::Ok);
}

void MainWindowRunHost::MessageText(RunMessageKind kind, std::string_view text) {
    window_.ui_.Messages.ShowOperatorMessage(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), Kind(kind),
        MessageButtons::Ok);
}

bool MainWindowRunHost::Question(int text) {
    return window_.ui_.Messages.ShowOperatorMessage(window_.ui_.Texts.Text(text),
                                                    MessageKind::Warning,
                                                    MessageButtons::YesNo) == QMessageBox::Yes;
}

// The one place where the start picks the specimen dialog of the test type.
bool MainWindowRunHost::SpecimenDialog(long long counter) {
    if (window_.ShowSpecimenDialog) return window_.ShowSpecimenDialog();
    bool reevaluate = false;
    return window_.ExecSpecimenDialogOfType(true, counter, reevaluate);
}

void MainWindowRunHost::OpenSeriesEditor() {
    window_.SaveSeriesBeforeClearing();
}

void MainWindowRunHost::StoreLastTestInSeries() {
    window_.StoreLastTestInSeriesNow();
}

void MainWindowRunHost::ShowRunning(bool running) {
    TSDIAppForm& w = window_;
    w.startButton_->setVisible(!running);
    w.stopButton_->setVisible(running);
    const MainMenu& m = w.menu_;
    for (QMenu* menu : {m.File, m.Parameters, m.Inputs, m.Edit, m.Setup, m.Info}) {
        if (menu) menu->menuAction()->setEnabled(!running);
    }
    if (w.diagramBar_) w.diagramBar_->setEnabled(!running);
    if (w.seriesBar_) w.seriesBar_->setEnabled(!running);
    w.jogUpButton_->setEnabled(!running);
    w.jogDownButton_->setEnabled(!running);
    w.startPositionField_->setEnabled(false);
    if (running) {
        timer1WasActive_ = w.timer1_.isActive();
        w.timer1_.stop();
        if (w.motion_) w.motion_->EndSupervision();
        w.SyncMotionWidgets();
        return;
    }
    if (timer1WasActive_) w.timer1_.start();
    w.speedField_->setText(QStringLiteral("0 "));
}

void MainWindowRunHost::ShowSpeed(std::string_view value, SpeedUnit unit) {
    TSDIAppForm& w = window_;
    w.speedField_->setText(QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size())));
    switch (unit) {
        case SpeedUnit::MmPerMin:
            w.speedUnitLabel_->setText(QStringLiteral("mm/min"));
            break;
        case SpeedUnit::PercentPerMin:
            w.speedUnitLabel_->setText(QStringLiteral("%/min"));
            break;
        case SpeedUnit::StressRate:
            w.speedUnitLabel_->setText(
                QString::fromStdString(StressRateUnit(w.test_.Parameters.UnitSystem)));
            break;
        case SpeedUnit::NewtonPerSecond:
            w.speedUnitLabel_->setText(QStringLiteral("N/sec"));
            break;
        case SpeedUnit::Seconds:
            w.speedUnitLabel_->setText(QStringLiteral("sec"));
            break;
    }
}

void MainWindowRunHost::ShowRemovalPrompt(int seconds) {
    // Not modal: the test goes on while the operator takes the extensometer off.
    const int base = window_.ui_.Texts.Base();
    auto* box = new QMessageBox(QMessageBox::Information, LoadText(text::kMessageWindow, base),
                                LoadText(text::kRemoveExtensometer, base), QMessageBox::NoButton,
                                &window_);
    box->setObjectName(QStringLiteral("RemovalPrompt"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    QTimer::singleShot(seconds * 1000, box, &QWidget::close);
}

void MainWindowRunHost::RedrawDiagram() {
    window_.diagram_->Redraw();
}

void MainWindowRunHost::LayoutResultPanels() {
    window_.LayoutResultPanels();
}

void MainWindowRunHost::FillResultPanels() {
    window_.FillResultPanels();
}

void MainWindowRunHost::AskFinalDimensions() {
    const int type = window_.test_.Parameters.TestType;
    // The result sets of the shear, chain, universal and bending tests hold no Z or Phi-dB.
    if (ShowsForceOverTravel(type)) return;
    window_.AskFinalDimensions(type == 9);
}

void MainWindowRunHost::StartAutoSequence() {
    window_.StartAutoSequence();
}

}  // namespace quorvex
