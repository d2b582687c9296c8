// The main window's live side: the measuring tick and its read-outs, the key table, the jog
// panel, the start position and reference run, the automatic sequence, and the result panels
// with their clicks.
#include <QApplication>
#include <QBoxLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <cmath>
#include <numbers>

#include "evaluation/evaluate_test.h"
#include "evaluation/operator_results.h"
#include "evaluation/result_limits.h"
#include "evaluation/test_state.h"
#include "evaluation/text_functions.h"
#include "specimen/specimen_dialog.h"
#include "setup/machine_config.h"
#include "run/app_state.h"
#include "shell/live_widgets.h"
#include "shell/lu_dialog.h"
#include "shell/main_window.h"
#include "shell/operator_keys.h"
#include "shell/result_panels.h"
#include "ui/dialog_base.h"
#include "ui/operator_message.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

void SetActive(QTimer& timer, bool active) {
    if (active && !timer.isActive()) timer.start();
    if (!active && timer.isActive()) timer.stop();
}

void PaintBase(QLineEdit* field, const QColor& colour) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    field->setPalette(palette);
}

}  // namespace

// --- building

void TSDIAppForm::BuildLivePanel(QWidget* parent, QBoxLayout* layout) {
    const int base = ui_.Texts.Base();
    auto* readouts = new QHBoxLayout;
    forceReadout_ = new LiveReadout(LoadText(text::kForceReadout, base), QStringLiteral("kN"), parent);
    travelReadout_ =
        new LiveReadout(LoadText(text::kTravelReadout, base), QStringLiteral("mm"), parent);
    strainReadout_ =
        new LiveReadout(LoadText(text::kStrainReadout, base), QStringLiteral("mm"), parent);
    fourthReadout_ =
        new LiveReadout(LoadText(text::kFourthReadout, base), QStringLiteral("mm"), parent);
    for (LiveReadout* readout : {forceReadout_, travelReadout_, strainReadout_, fourthReadout_}) {
        readouts->addWidget(readout);
    }
    // The extensometer's counter is the sensor arms' (controller) or the encoder card's; an
    // extensometer without a counter has nothing to zero.
    strainReadout_->Clicked = [this] {
        const int kind = ExtensometerCounterKind(machineConfig_.Setup.AmpVersion,
                                                 machineConfig_.Setup.ExtensometerChannel);
        if (kind != 0) TaraCounterPopup(strainReadout_, kind);
    };
    fourthReadout_->Clicked = [this] { TaraCounterPopup(fourthReadout_, 2); };
    layout->addLayout(readouts);

    auto* middle = new QHBoxLayout;
    middle->addWidget(testPanel_, 1);
    auto* jogPanel = new QVBoxLayout;
    jogUpButton_ = new JogButton(Qt::UpArrow, parent);
    jogUpButton_->setObjectName(QStringLiteral("JogUp"));
    jogDownButton_ = new JogButton(Qt::DownArrow, parent);
    jogDownButton_->setObjectName(QStringLiteral("JogDown"));
    jogUpButton_->Pressed = [this](Qt::MouseButton b) { JogPress(JogDirection::Up, b); };
    jogUpButton_->Released = [this] { JogRelease(JogDirection::Up); };
    jogDownButton_->Pressed = [this](Qt::MouseButton b) { JogPress(JogDirection::Down, b); };
    jogDownButton_->Released = [this] { JogRelease(JogDirection::Down); };
    speedField_ = new QLineEdit(QStringLiteral("0 "), parent);
    speedField_->setReadOnly(true);
    speedField_->setAlignment(Qt::AlignRight);
    auto* speedRow = new QHBoxLayout;
    speedRow->addWidget(speedField_);
    speedUnitLabel_ = new QLabel(QStringLiteral("mm/min"), parent);
    speedRow->addWidget(speedUnitLabel_);
    startButton_ = new QPushButton(QStringLiteral("F2"), parent);
    startButton_->setObjectName(QStringLiteral("StartButton"));
    stopButton_ = new QPushButton(LoadText(text::kStopButton, base), parent);
    SetTextNumber(stopButton_, text::kStopButton);
    stopButton_->setObjectName(QStringLiteral("StopButton"));
    stopButton_->hide();
    startPositionField_ = new QLineEdit(parent);
    startPositionField_->setObjectName(QStringLiteral("StartPositionField"));
    startPositionField_->setReadOnly(true);
    startPositionField_->setAlignment(Qt::AlignRight);
    startPositionField_->setAutoFillBackground(true);
    startPositionButton_ = new QPushButton(LoadText(text::kStartPositionButton, base), parent);
    SetTextNumber(startPositionButton_, text::kStartPositionButton);
    referenceButton_ = new QPushButton(LoadText(text::kReferenceRunButton, base), parent);
    SetTextNumber(referenceButton_, text::kReferenceRunButton);
    referenceButton_->hide();
    // Both act on the press of the mouse button, as the jog buttons do.
    connect(startPositionButton_, &QPushButton::pressed, this, [this] {
        if (jog_) jog_->KeyMoveStarted = false;
        StartPositionCommand();
    });
    connect(referenceButton_, &QPushButton::pressed, this, [this] {
        if (!motion_ || app_.TestRunning) return;
        auto access = MachineAccess();
        motion_->ReferenceRun();
        SyncMotionWidgets();
    });
    jogPanel->addWidget(startButton_);
    jogPanel->addWidget(stopButton_);
    jogPanel->addWidget(jogUpButton_);
    jogPanel->addWidget(jogDownButton_);
    jogPanel->addLayout(speedRow);
    jogPanel->addWidget(startPositionField_);
    jogPanel->addWidget(startPositionButton_);
    jogPanel->addWidget(referenceButton_);
    jogPanel->addStretch(1);
    middle->addLayout(jogPanel);
    layout->addLayout(middle, 1);
}

void TSDIAppForm::CreateMachineServices() {
    live_ = std::make_unique<LiveValues>(machine_->Daq(), machineConfig_.Factors);
    jog_ = std::make_unique<JogControl>(machine_->Link(), machine_->Relays(), machine_->Daq(),
                                        machineConfig_.Factors);
    jog_->SetInverted(machineConfig_.Setup.JogInvert != 0);
    motion_ = std::make_unique<MotionServices>(machine_->Link(), machine_->Daq(),
                                               machine_->Relays(), machineConfig_, test_.Parameters,
                                               app_, *clock_, sequenceIo_);
    motion_->ConfirmAcceptance = [this](const char* question) {
        return ui_.Messages.ShowOperatorMessage(QString::fromUtf8(question), MessageKind::Warning,
                                                MessageButtons::YesNo) == QMessageBox::Yes;
    };
}

void TSDIAppForm::SyncMotionWidgets() {
    if (!motion_) return;
    SetActive(timerStartPosition_, motion_->Supervising());
    SetActive(referenzfahrtTimer_, motion_->ReferenceTimerOn());
    SetActive(timerAutoAblauf_, motion_->Sequence().Active());
    startPositionField_->setText(Qs(FormatFixed(test_.Parameters.StartPosition, 6, 1)));
    PaintBase(startPositionField_,
              motion_->Supervising() ? QColor(Qt::red) : palette().color(QPalette::Window));
    referenceButton_->setVisible(motion_->ReferenceButtonVisible());
    referenceButton_->setEnabled(motion_->ReferenceButtonEnabled());
    startPositionButton_->setEnabled(motion_->StartPositionEnabled());
    UpdateStartButton();
}

StartRefusal TSDIAppForm::StartRefusalNow() const {
    StartConditions c;
    c.TestRunning = app_.TestRunning;
    c.Starting = startingTest_;
    c.LiveTimerOn = messenTimer_.isActive();
    c.TestRunReady = static_cast<bool>(StartTestRun);
    c.ReferenceDone = !motion_ || motion_->StartEnabled();
    c.ProjectOpen = app_.ProjectOpen;
    return DecideStartRefusal(c);
}

void TSDIAppForm::UpdateStartButton() {
    if (!startButton_) return;
    const bool enabled = StartRefusalNow() == StartRefusal::None;
    if (startButton_->isEnabled() != enabled) startButton_->setEnabled(enabled);
}

// --- the measuring tick

void TSDIAppForm::MessenTimerTimer() {
    if (!live_ || !loop_) return;
    if (!sampling_ || !sampling_->Running() || sampling_->WindowHolds()) {
        loop_->OnTick(MonotonicNowNs(), 0);
    }
    DrainAcquisition();
}

// --- keys

bool TSDIAppForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // F8 in any other window of the program (the standard file, print and input dialogs
    // too, not only the program's own) stops the machine as it does in every dialog.
    if (type == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() != this &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F8 && ui_.StopMachine) {
        ui_.StopMachine();
        return true;
    }
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyPress) return FormKeyDown(key->key(), key->modifiers());
        if (!key->isAutoRepeat()) FormKeyUp();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TSDIAppForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    // Between tests the keys drive the machine from this thread; during a test everything
    // that reaches the machine goes to the acquisition thread as a command.
    SamplingThread::WindowAccess access(app_.TestRunning ? nullptr : sampling_.get());
    KeyConditions conditions;
    conditions.TestRunning = app_.TestRunning;
    conditions.LiveTimerOn = messenTimer_.isActive();
    conditions.JogUpActive = jog_ && jog_->Active(JogDirection::Up);
    conditions.JogDownActive = jog_ && jog_->Active(JogDirection::Down);
    const KeyAction action =
        DecideKeyAction(key, modifiers.testFlag(Qt::ControlModifier), conditions);
    auto call = [](const std::function<void()>& hook) {
        if (hook) hook();
    };
    auto jog = [this](JogDirection direction, int kind) {
        if (!jog_) return;
        motion_->EndSupervision();
        jog_->Jog(direction, kind, app_.TestRunning);
        SyncMotionWidgets();
    };
    switch (action) {
        case KeyAction::None:
            return false;
        case KeyAction::Ignore:
            break;
        case KeyAction::Beep:
            QApplication::beep();
            break;
        case KeyAction::LeavePickModes:
            LeavePickModes();
            break;
        case KeyAction::JogUpSlow:
            jog(JogDirection::Up, kJogSlow);
            break;
        case KeyAction::JogDownSlow:
            jog(JogDirection::Down, kJogSlow);
            break;
        case KeyAction::JogUpFast:
            jog(JogDirection::Up, kJogFast);
            break;
        case KeyAction::JogDownFast:
            jog(JogDirection::Down, kJogFast);
            break;
        case KeyAction::StartOrStopTest:
            if (app_.TestRunning) {
                call(StopTestRun);
                break;
            }
            // The start button is disabled by the same answer.
            switch (StartRefusalNow()) {
                case StartRefusal::None:
                    call(StartTestRun);
                    break;
                case StartRefusal::NoProject:
                    ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kNoProjectOpen),
                                                     MessageKind::Error, MessageButtons::Ok);
                    break;
                default:
                    break;
            }
            break;
        case KeyAction::DemoTest:
            SeriesFullCheck();
            if (app_.ProjectOpen) {
                call(LoadDemoTest);
            } else {
                ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kNoProjectOpen),
                                                 MessageKind::Error, MessageButtons::Ok);
            }
            break;
        case KeyAction::SpecimenFileTest:
            SpecimenFileTestKey();
            break;
        case KeyAction::ZeroForce:
            if (machine_) machine_->Daq().ZeroForce();
            break;
        case KeyAction::StoreLastTest:
            StoreLastTestKey();
            break;
        case KeyAction::ZeroAnalogOutputs:
            SendMachineCommand({MachineCommandKind::ZeroAnalogOutputs, false});
            break;
        case KeyAction::StopPulse:
            SendMachineCommand({MachineCommandKind::StopPulse, false});
            break;
        case KeyAction::CurrentSeries:
            call(ShowCurrentSeries);
            break;
        case KeyAction::ProjectEditor:
            call(OpenProjectEditor);
            break;
        case KeyAction::StartPosition:
            if (jog_) jog_->KeyMoveStarted = true;
            StartPositionCommand();
            break;
    }
    return true;
}

void TSDIAppForm::FormKeyUp() {
    if (!jog_) return;
    SamplingThread::WindowAccess access(app_.TestRunning ? nullptr : sampling_.get());
    jog_->KeyReleased(app_.TestRunning);
}

// --- jog panel and motions

void TSDIAppForm::JogPress(JogDirection direction, Qt::MouseButton button) {
    if (!jog_ || app_.TestRunning) return;
    auto access = MachineAccess();
    motion_->EndSupervision();
    SyncMotionWidgets();
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    jog_->KeyMoveStarted = false;
    jog_->Jog(direction, button == Qt::LeftButton ? kJogSlow : kJogFast, app_.TestRunning);
}

void TSDIAppForm::JogRelease(JogDirection direction) {
    if (!jog_ || app_.TestRunning) return;
    auto access = MachineAccess();
    jog_->StopJog(direction, direction == JogDirection::Down);
}

void TSDIAppForm::StartPositionCommand() {
    if (!motion_ || app_.TestRunning) return;
    auto access = MachineAccess();
    motion_->StartPositionCommand();
    SyncMotionWidgets();
}

void TSDIAppForm::TimerStartPositionTimer() {
    if (!motion_) return;
    auto access = MachineAccess();
    motion_->SupervisionTick();
    SyncMotionWidgets();
}

void TSDIAppForm::ReferenzfahrtTimerTimer() {
    if (!motion_) return;
    auto access = MachineAccess();
    motion_->ReferenceTick();
    SyncMotionWidgets();
}

void TSDIAppForm::StartAutoSequence() {
    if (!motion_) return;
    auto access = MachineAccess();
    motion_->BeginAutoSequence();
    SyncMotionWidgets();
}

void TSDIAppForm::TimerAutoAblaufTimer() {
    if (!motion_) return;
    auto access = MachineAccess();
    motion_->SequenceTick();
    SyncMotionWidgets();
}

void TSDIAppForm::TaraCounterPopup(LiveReadout* readout, int counterKind) {
    if (app_.TestRunning || !machine_) return;
    auto access = MachineAccess();
    QMenu popup(this);
    QAction* tare = popup.addAction(LoadText(text::kTareCounter, ui_.Texts.Base()));
    popup.addAction(LoadText(text::kTareCounterExit, ui_.Texts.Base()));
    if (popup.exec(readout->mapToGlobal(readout->rect().bottomLeft())) != tare) return;
    // The encoder card is reset only where one is fitted.
    if (counterKind == 3 && !machine_->Encoder().Present()) return;
    machine_->Link().TareCounter(counterKind);
}

// --- result panels

void TSDIAppForm::LayoutResultPanels() {
    NormaliseTensileDecimals(test_.Parameters);
    timer3_.stop();
    pickField_.clear();
    PickModeEnded();
    resultPanels_->Layout(test_.Parameters);
}

void TSDIAppForm::FillResultPanels() {
    LayoutResultPanels();
    // A modulus the operator picked on the diagram stays until another curve is loaded or run.
    if (HasEvaluableCurve(test_.Marks)) EvaluateTest(test_, keepModulus_);
    resultPanels_->Fill(test_, machineConfig_.Factors.ForceDecimals);
}

void TSDIAppForm::ResultFieldClick(const std::string& clicked) {
    static const std::pair<const char*, const char*> kShared[] = {
        {"FeL", "ReL"}, {"FeH", "ReH"}, {"lg", "Ae"}, {"lgt", "Ae"},
        {"lu", "Ag"},   {"lut", "Ag"},  {"r", "Z"},   {"n", "Z"}};
    std::string name = clicked;
    const bool tensile = resultPanels_->CurrentLayout().Group == ResultGroup::Tensile;
    if (tensile) {
        for (const auto& [from, to] : kShared) {
            if (name == from) name = to;
        }
    }
    if (tensile && (name == "Ag" || name == "Agt" || name == "Ac" || name == "At")) {
        AskMeasuredLength(name);
    } else if (tensile && name == "Z") {
        AskFinalDimensions(false);
    } else if (resultPanels_->CurrentLayout().Group == ResultGroup::Compression &&
               name == "Phi-dB") {
        AskFinalDimensions(true);
    } else {
        EnterPickMode(name);
    }
}

void TSDIAppForm::AskMeasuredLength(const std::string& name) {
    struct Entry {
        const char* field;
        MeasuredLength which;
        int slot;
        const char* lengthField;
        int mode;
    };
    static const Entry kEntries[] = {
        {"Ag", MeasuredLength::Ag, 14, "lg", TLuDialog::kLg},
        {"Agt", MeasuredLength::Agt, 15, "lgt", TLuDialog::kLg},
        {"Ac", MeasuredLength::Ac, 16, "lu", TLuDialog::kLu},
        {"At", MeasuredLength::At, 17, "lut", TLuDialog::kLu},
    };
    const Entry* entry = nullptr;
    for (const Entry& e : kEntries) {
        if (name == e.field) entry = &e;
    }
    ParameterSet& p = test_.Parameters;
    if (!entry || !p.Results[static_cast<std::size_t>(entry->slot - 1)].Evaluate ||
        !test_.Marks.EvaluationDone) {
        QApplication::beep();
        return;
    }
    ResultsRecord& r = test_.Current();
    // The record gets Lo when the test enters the series; before that the specimen's.
    const double Lo = r.Lo > 0 ? r.Lo : p.EffectiveLo;
    const EntryRequest request = MeasuredLengthRequest(r, entry->which, Lo, p.TestType);
    TLuDialog dialog(ui_, this);
    const SpecimenDialogMachine instruments = SpecimenDialogServices();
    InstrumentReadings readings(instruments.Ports, instruments.CaliperPort,
                                instruments.MicrometerPort);
    dialog.SetReadings(&readings);
    dialog.Prepare(entry->mode, request.proposed, request.low, request.high);
    if (dialog.exec() != QDialog::Accepted) return;
    ApplyMeasuredLength(r, entry->which, dialog.Value(), Lo, p.TestType);
    const ResultsRecord& done = r;
    const double elongation = entry->which == MeasuredLength::Ag    ? done.Ag
                              : entry->which == MeasuredLength::Agt ? done.Agt
                              : entry->which == MeasuredLength::Ac  ? done.Ac
                                                                    : done.At;
    resultPanels_->Show(entry->field, FormatFixed(elongation, 4, 1),
                        OutsideLimits(p, entry->slot, elongation));
    resultPanels_->Show(entry->lengthField, FormatFixed(dialog.Value(), 5, 1), false);
}

void TSDIAppForm::AskFinalDimensions(bool compression) {
    ParameterSet& p = test_.Parameters;
    const int slot = compression ? 10 : 18;
    if (p.TestType >= 6 && p.TestType <= 8) return;
    if (!p.Results[static_cast<std::size_t>(slot - 1)].Evaluate || !test_.Marks.EvaluationDone) {
        return;
    }
    ResultsRecord& r = test_.Current();
    // The record gets So when the test enters the series; before that the specimen's.
    const double So = r.So > 0 ? r.So : p.EffectiveSo;
    TLuDialog dialog(ui_, this);
    const SpecimenDialogMachine instruments = SpecimenDialogServices();
    InstrumentReadings readings(instruments.Ports, instruments.CaliperPort,
                                instruments.MicrometerPort);
    dialog.SetReadings(&readings);
    if (compression) {
        const double d0 = So > 0 ? std::sqrt(4 * So / std::numbers::pi) : 0;
        const double offered =
            test_.EnteredFinalDimensions.du >= 0.1 ? test_.EnteredFinalDimensions.du : d0;
        dialog.Prepare(TLuDialog::kDu, offered, d0, 5 * d0);
        if (dialog.exec() != QDialog::Accepted || !(So > 0)) return;
        const double du = dialog.Value();
        test_.EnteredFinalDimensions.du = static_cast<float>(du);
        const double phi = (du * du * std::numbers::pi / 4 - So) * 100 / So;
        r.Results[9] = static_cast<float>(phi);
        resultPanels_->Show("Phi-dB", FormatFixed(phi, 6, test_.ResultDecimals[9]),
                            OutsideLimits(p, slot, phi));
        return;
    }
    double z = 0;
    if (p.SpecimenShape == static_cast<std::uint8_t>(SpecimenShape::Round)) {
        const EntryRequest request = FinalDiameterRequest(So, test_.EnteredFinalDimensions);
        dialog.Prepare(TLuDialog::kDu, request.proposed, request.low, request.high);
        if (dialog.exec() != QDialog::Accepted) return;
        z = ApplyFinalDiameter(r, test_.EnteredFinalDimensions, So, dialog.Value());
    } else if (p.SpecimenShape == static_cast<std::uint8_t>(SpecimenShape::Flat)) {
        const EntryRequest width = FinalWidthRequest(p, test_.EnteredFinalDimensions);
        const EntryRequest thickness = FinalThicknessRequest(p, test_.EnteredFinalDimensions);
        dialog.Prepare(TLuDialog::kWidthThickness, width.proposed, width.low, width.high,
                       thickness.proposed, thickness.low, thickness.high);
        if (dialog.exec() != QDialog::Accepted) return;
        z = ApplyFinalWidthAndThickness(r, test_.EnteredFinalDimensions, So, dialog.Value(0),
                                        dialog.Value(1));
    } else {
        return;
    }
    resultPanels_->Show("Z", FormatFixed(z, 4, 1), OutsideLimits(p, slot, z));
}

void TSDIAppForm::EnterPickMode(const std::string& name) {
    const ResultGroup group = resultPanels_->CurrentLayout().Group;
    const int index = FieldIndex(resultPanels_->CurrentLayout(), name);
    if (index < 0) return;
    const PanelField& field =
        resultPanels_->CurrentLayout().Fields[static_cast<std::size_t>(index)];
    bool pickable = false;
    bool forceTravelView = false;
    switch (group) {
        case ResultGroup::Tensile:
            pickable =
                name == "E" || name == "ReH" || name == "ReL" || name == "Rp" || name == "Ae";
            break;
        case ResultGroup::Shear:
            pickable = forceTravelView = !field.Remark;
            break;
        case ResultGroup::Universal:
            pickable = forceTravelView = name == "Fx" || name == "Sx" || name == "SigX";
            break;
        case ResultGroup::Compression:
            pickable = !field.Remark && name != "Phi-dB";
            break;
        default:
            break;
    }
    if (!pickable) return;
    const ParameterSet& p = test_.Parameters;
    const int view = p.DiagramType;
    const bool viewFits = forceTravelView ? view == 0 : view == 2 || view == 3;
    const bool switchedOn =
        field.Slot > 0 && p.Results[static_cast<std::size_t>(field.Slot - 1)].Evaluate;
    const bool exclusive =
        (name == "ReH" && pickField_ == "ReL") || (name == "ReL" && pickField_ == "ReH");
    if (test_.Marks.SampleCount <= 0 || !viewFits || !switchedOn || exclusive) {
        QApplication::beep();
        return;
    }
    if (!pickField_.empty() && pickField_ != name) resultPanels_->SetColour(pickField_, Qt::white);
    pickField_ = name;
    pickGreen_ = true;
    resultPanels_->SetColour(name, TResultPanels::kPickGreen);
    timer3_.start();
    PickModeStarted();
}

void TSDIAppForm::Timer3Timer() {
    if (pickField_.empty()) {
        timer3_.stop();
        return;
    }
    pickGreen_ = !pickGreen_;
    resultPanels_->SetColour(pickField_,
                             pickGreen_ ? TResultPanels::kPickGreen : QColor(Qt::white));
}

void TSDIAppForm::LeavePickModes() {
    timer3_.stop();
    if (!pickField_.empty()) resultPanels_->SetColour(pickField_, Qt::white);
    pickField_.clear();
    PickModeEnded();
}

}  // namespace quorvex
