// The test run in the main window: the run object over the window's machine, the hooks of
// F2, the stop button and the series, and the window's side of the run.
#include "shell/main_window_run.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QtGlobal>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QToolBar>

#include "evaluation/results_record.h"
#include "evaluation/series_store.h"
#include "evaluation/test_state.h"
#include "machine/sim/virtual_machine.h"
#include "specimen/specimen_dialog.h"
#include "run/app_state.h"
#include "run/simulated_specimen.h"
#include "run/live_diagram_model.h"
#include "run/run_routines.h"
#include "run/window_relay.h"
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
    loop_ = std::make_unique<AcquisitionLoop>(machine_->Daq(), machine_->Link(),
                                              machineConfig_.Factors);
    // The run talks to the window through the relay: straight on the window's thread, by
    // events from the acquisition thread. The window's diagram draws what it is handed.
    threadedHost_ = std::make_unique<ThreadedRunHost>(*runHost_, loop_->Events());
    threadedDiagram_ = std::make_unique<ThreadedRunDiagram>(
        *diagram_, *threadedHost_, test_, machineConfig_.Calibration, machineConfig_.Setup);
    // The routine follows the test type chosen at each start; it is exchanged only while the
    // window holds the machine.
    auto createRun = [this] {
        auto access = MachineAccess();
        RunMachine devices{&machine_->Link(), &machine_->Relays(), &machine_->Daq()};
        loop_->SetRun(nullptr);
        testRun_ = CreateRunRoutine(test_, machineConfig_, app_, devices, *clock_,
                                    *threadedDiagram_, *threadedHost_);
        testRun_->DeferEndToWindow(true);
        loop_->SetRun(testRun_.get());
        // On the simulated machine the next specimen is clamped when the last one broke.
        if (activeSimulation_) activeSimulation_->ClampNextSpecimen();
    };
    createRun();
    StartTestRun = [this, createRun] {
        if (app_.TestRunning || startingTest_) return;
        startingTest_ = true;
        UpdateStartButton();
        const auto started = qScopeGuard([this] {
            startingTest_ = false;
            UpdateStartButton();
        });
        if (!OfferSpeedProgramme()) return;
        keepModulus_ = false;
        FitSimulatedSpecimen();
        createRun();
        {
            // The specimen dialog may drive the machine (preload, sensor arms).
            auto access = MachineAccess();
            if (!testRun_->PrepareStart()) return;
            FitSimulatedSpecimenToEntries();
        }
        app_.TestRunning = true;
        SendMachineCommand({MachineCommandKind::BeginTest, false});
    };
    StopTestRun = [this] { SendMachineCommand({MachineCommandKind::StopTest, false}); };
    connect(startButton_, &QPushButton::clicked, this, [this] {
        // The button is refused exactly when the key F2 is, and disabled then.
        if (StartRefusalNow() == StartRefusal::None) StartTestRun();
    });
    connect(stopButton_, &QPushButton::clicked, this, [this] {
        if (app_.TestRunning) SendMachineCommand({MachineCommandKind::StopTest, true});
    });
}

void TSDIAppForm::StartSampling() {
    if (!loop_ || sampling_) return;
    sampling_ = std::make_unique<SamplingThread>(*loop_);
    loop_->SetSamplingThread(sampling_.get());
    sampling_->Start();
    qInfo("%s", sampling_->PriorityDescription().c_str());
}

void TSDIAppForm::StopSampling() {
    if (sampling_) sampling_->Stop();
}

void TSDIAppForm::SendMachineCommand(MachineCommand command) {
    if (!loop_) return;
    if (sampling_ && sampling_->Running() && !sampling_->WindowHolds()) {
        // The ring holds 64 commands; a full one means the thread has stopped ticking.
        if (loop_->Post(command)) return;
    }
    auto access = MachineAccess();
    loop_->Execute(command, MonotonicNowNs(), true);
    DrainAcquisition();
}

void TSDIAppForm::DrainAcquisition() {
    if (!loop_) return;
    LiveSample sample;
    bool any = false;
    LiveSample last;
    while (loop_->PopSample(sample)) {
        any = true;
        last = sample;
        if (SampleObserver) SampleObserver(sample);
    }
    if (any && live_) {
        live_->Show(last.Raw, last.Overloaded);
        forceReadout_->SetText(live_->ForceText().View());
        travelReadout_->SetText(live_->TravelText().View());
        strainReadout_->SetText(live_->StrainText().View());
        fourthReadout_->SetText(live_->FourthText().View());
    }
    // A message box or dialog of an event runs its own event loop; the events behind it wait
    // for it, the live values go on.
    if (applyingRunEvents_) return;
    applyingRunEvents_ = true;
    RunEvent event;
    while (loop_->PopEvent(event)) ApplyRunEvent(event);
    applyingRunEvents_ = false;
}

void TSDIAppForm::ApplyRunEvent(const RunEvent& e) {
    switch (e.Kind) {
        case RunEventKind::ShowRunning:
            runHost_->ShowRunning(e.Flag);
            break;
        case RunEventKind::ShowSpeed:
            runHost_->ShowSpeed(e.TextView(), e.Unit);
            break;
        case RunEventKind::RemovalPrompt:
            runHost_->ShowRemovalPrompt(e.Number);
            break;
        case RunEventKind::LayoutPanels:
            runHost_->LayoutResultPanels();
            break;
        case RunEventKind::Message:
            runHost_->Message(e.MessageKind, e.Number, e.Second);
            break;
        case RunEventKind::MessageText:
            runHost_->MessageText(e.MessageKind, e.TextView());
            break;
        case RunEventKind::PrepareDiagram:
            diagram_->PrepareForTest();
            break;
        case RunEventKind::LivePoint:
            diagram_->AddLivePoint(e.Point, e.RemovalMm);
            break;
        case RunEventKind::TestEnded:
            missedLastTest_ = e.Number;
            ShowSamplingStatus();
            if (testRun_) testRun_->FinishEnd();
            break;
    }
}

void TSDIAppForm::ShowSamplingStatus() {
    if (!samplingLabel_) {
        samplingLabel_ = new QLabel(this);
        samplingLabel_->setObjectName(QStringLiteral("SamplingStatus"));
        statusBar()->addWidget(samplingLabel_);
    }
    samplingLabel_->setText(
        LoadText(text::kMissedDeadlines, ui_.Texts.Base()).arg(missedLastTest_));
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
            // The acquisition thread reads the simulated machine between tests: it leaves its
            // ticks out while the window changes the specimen.
            auto access = MachineAccess();
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

void TSDIAppForm::FitSimulatedSpecimenToEntries() {
    // Only the window's own simulated machine; a specimen named in the platform file, or
    // handed in from outside, stays as it is.
    VirtualMachine* own = ownedSimulation_.get();
    if (own == nullptr || activeSimulation_ != own ||
        machineFiles_.Platform.Simulation.PresetNamed) {
        return;
    }
    own->FitClampedSpecimen(SpecimenAsEntered(own->Config().Specimen(), test_.Parameters));
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

void MainWindowRunHost::RangeMessage(RunMessageKind kind, int field, int text,
                                     std::string_view range) {
    const StoredTexts& texts = window_.ui_.Texts;
    window_.ui_.Messages.ShowOperatorMessage(
        texts.Text(field) + QStringLiteral(": ") + texts.Text(text) +
            QString::fromUtf8(range.data(), static_cast<qsizetype>(range.size())),
        Kind(kind), MessageButtons::Ok);
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
    w.UpdateStartButton();
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
    // Built where every box is, so that F8 in it stops the machine.
    QMessageBox* box =
        BuildOperatorMessageBox(LoadText(text::kRemoveExtensometer, base),
                                MessageKind::Information, MessageButtons::Ok, window_.ui_.Texts,
                                &window_, window_.ui_.StopMachine)
            .release();
    box->setWindowTitle(LoadText(text::kMessageWindow, base));
    box->setStandardButtons(QMessageBox::NoButton);
    box->setObjectName(QStringLiteral("RemovalPrompt"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    // A message box without buttons ignores close(): it is taken away instead.
    QTimer::singleShot(seconds * 1000, box, [box] {
        box->hide();
        box->deleteLater();
    });
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
