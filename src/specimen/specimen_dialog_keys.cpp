// The specimen data dialog's keys, instrument readings and machine actions: the preload
// approach, the dimension measurement, the extensometer and start-position moves, the stop,
// and the start readiness with the automatic start.
#include <QApplication>
#include <QKeyEvent>
#include <cmath>

#include "evaluation/text_functions.h"
#include "specimen/dimension_dialog.h"
#include "specimen/specimen_dialog.h"
#include "specimen/specimen_dialog_parts.h"
#include "evaluation/specimen_number.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

using SF = SpecimenField;

// The inputs a caliper or micrometer reading goes into, and the dimension each one measures.
struct DimensionInput {
    SpecimenField field;
    int shape;
    const char* name;
};
constexpr DimensionInput kDimensionInputs[] = {
    {SF::RoundD, 0, "d"}, {SF::FlatB, 1, "b"},    {SF::FlatA, 1, "a"},    {SF::TubeD, 2, "D"},
    {SF::TubeA, 2, "a"},  {SF::SegmentA, 4, "a"}, {SF::SegmentB, 4, "b"}, {SF::SegmentD, 4, "D"},
};

constexpr int kPreloadNotReachedText = 472;
constexpr int kArmsNotClosedText = 474;

}  // namespace

std::int64_t TBtnRightDlg3::NowMs() const {
    Clock* clock = machine_.Time;
    return clock != nullptr ? clock->NowMs() : const_cast<SteadyClock&>(wallClock_).NowMs();
}

double TBtnRightDlg3::MeasuredForceKn() const {
    if (machine_.ForceKn) return machine_.ForceKn();
    if (machine_.Daq == nullptr || machine_.Link == nullptr) return 0.0;
    return machine_.Daq->RawValues()[kRawForce] * machine_.Link->Config().NominalForce /
           ControllerLink::kFullScaleCounts;
}

bool TBtnRightDlg3::IsDimension(const QWidget* widget) const {
    const int shape = shapes_->checkedId();
    for (const DimensionInput& d : kDimensionInputs) {
        if (d.shape == shape && Input(d.field) == widget) return true;
    }
    return false;
}

bool TBtnRightDlg3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (HandleKey(key->key(), key->modifiers())) return true;
    }
    return QuorvexDialog::eventFilter(watched, event);
}

bool TBtnRightDlg3::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    const ParameterSet& p = parameters_;
    if (modifiers & Qt::ControlModifier) {
        if (key == Qt::Key_K) {
            QApplication::beep();
            if (automaticStart_->Running() || !CheckAndTake()) return true;
            // Confirmed for a new evaluation of the last test; the caller does not start one.
            confirmedForReevaluation_ = true;
            closingForReevaluation_ = true;
            QuorvexDialog::reject();
            return true;
        }
        if (key == Qt::Key_S) {
            if (!ready_) MoveToStartPosition();
            return true;
        }
        return false;
    }
    switch (key) {
        case Qt::Key_Escape:
            reject();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (focusWidget() == specimenNo_ && p.AutoSpecimenNo != 0) {
                specimenNo_->setText(QString::fromStdString(
                    PreviewSpecimenNumber(specimenNo_->text().toStdString(), SpecimenCounter)));
            }
            if (qobject_cast<QLineEdit*>(focusWidget()) != nullptr) {
                // Leaving the input confirms it (So follows) before the focus moves on.
                focusNextChild();
                return true;
            }
            return false;
        case Qt::Key_F2:
            if (p.AutoPreload == 0) ApproachPreload();
            return true;
        case Qt::Key_F3:
            MeasureFocusedDimension();
            return true;
        case Qt::Key_F4:
            if (p.AutoMoveTdmLe != 0) MoveExtensometerToLe();
            return true;
        case Qt::Key_F5:
            if (machine_.Daq != nullptr) machine_.Daq->ZeroForce();
            return true;
        case Qt::Key_F6:
            ImportLimits();
            return true;
        case Qt::Key_F7:
            if (machine_.EditHeaderData) machine_.EditHeaderData();
            return true;
        case Qt::Key_F8:
            StopKey();
            return true;
        case Qt::Key_F9:
            if (p.WriteAliasTable != 0) ImportSpecimen();
            return true;
        case Qt::Key_F10:
            if (machine_.AmpVersion == 3 && machine_.Link != nullptr) machine_.Link->TdmStop();
            return true;
        default:
            return false;
    }
}

void TBtnRightDlg3::ApproachPreload() {
    if (ready_ || machine_.Link == nullptr) return;
    const ParameterSet& p = parameters_;
    const int unit = std::clamp(p.PreloadUnit, 0, 2);
    const double preloadKn =
        PreloadForceKn(unit, p.PreloadValue[static_cast<std::size_t>(unit)], CurrentSo());
    ControllerLink& link = *machine_.Link;
    // The approach runs at 1 % of the nominal force per second.
    link.ApproachPreload(preloadKn, link.ForceRate(link.Config().NominalForce * 10.0));
    approachStarted_ = true;
}

void TBtnRightDlg3::MeasureFocusedDimension() {
    QWidget* focused = focusWidget();
    const int shape = shapes_->checkedId();
    for (const DimensionInput& d : kDimensionInputs) {
        if (d.shape != shape || Input(d.field) != focused) continue;
        readingTimer_.stop();
        dimensionDlg_->Prepare(QString::fromLatin1(d.name), &readings_);
        const bool accepted = dimensionDlg_->exec() == QDialog::Accepted;
        if (accepted && dimensionDlg_->Mean() > 0) {
            Input(d.field)->setText(QString::fromStdString(
                FormatFixed(dimensionDlg_->Mean(), 0, dimensionDlg_->Decimals())));
            DimensionConfirmed();
        }
        Input(d.field)->setFocus();
        if (readings_.Connected()) readingTimer_.start();
        return;
    }
}

void TBtnRightDlg3::MoveExtensometerToLe() {
    const std::string le = Input(SF::Le)->text().toStdString();
    if (const CheckResult failure =
            CheckNumberField(static_cast<int>(SF::Le), le, 5, 500, "  5.0 ... 500.0 !")) {
        ShowFailure(*failure);
        return;
    }
    // Version 3 sets the gauge length through the controller link; the analogue drive of
    // version 2 sits on the second input/output card, which this program does not open.
    if (machine_.AmpVersion == 3 && machine_.Link != nullptr) {
        machine_.Link->TdmGaugeLength(ParseNumber(le));
    }
}

void TBtnRightDlg3::MoveToStartPosition() {
    MoveLinkToStartPosition(machine_.Link, parameters_.StartPosition, machine_.TravelOffset);
}

void TBtnRightDlg3::StopKey() {
    if (automaticStart_->Running()) {
        automaticStart_->Abort();
        startTimer_.stop();
        okButton_->setEnabled(true);
        statusLine_->setText(LoadText(text::kStartAborted, Base()));
    }
    if (ui_.StopMachine) {
        ui_.StopMachine();
    } else if (machine_.Link != nullptr) {
        machine_.Link->StopMachine();
    }
    if (machine_.Relays != nullptr) machine_.Relays->Relay8On();
    approachStarted_ = false;
    if (machine_.AmpVersion == 3 && machine_.Link != nullptr) machine_.Link->TdmStop();
}

void TBtnRightDlg3::FocusChanged(QWidget* old, QWidget* now) {
    if (!isVisible() || shapes_->checkedId() != static_cast<int>(SpecimenShape::Flat)) return;
    QWidget* width = Input(SF::FlatB);
    QWidget* thickness = Input(SF::FlatA);
    const bool wasFlat = old == width || old == thickness;
    const bool isFlat = now == width || now == thickness;
    // The readings of the flat specimen belong to its width (caliper) and thickness
    // (micrometer): what arrived in between is stale.
    if (wasFlat && !isFlat) readingTimer_.stop();
    if (isFlat && readings_.Connected()) {
        readings_.Purge(now == width ? Instrument::Caliper : Instrument::Micrometer);
        readingTimer_.start();
    }
}

void TBtnRightDlg3::PollInstruments() {
    readingTimer_.stop();
    const auto reading = readings_.Poll();
    if (reading) {
        QApplication::beep();
        QWidget* focused = focusWidget();
        // A reading while no dimension input has the focus belongs to no input: it is dropped.
        if (IsDimension(focused)) {
            static_cast<QLineEdit*>(focused)->setText(
                QString::fromStdString(FormatFixed(reading->Value, 0, 3)));
            DimensionConfirmed();
            focusNextChild();
        }
    }
    if (isVisible() && readings_.Connected()) readingTimer_.start();
}

void TBtnRightDlg3::RefreshReadiness() {
    if (Mode != kStartMode) {
        ready_ = false;
        return;
    }
    SecondCardIo& card = machine_.SecondCard ? *machine_.SecondCard : absentCard_;
    ready_ = StartReadiness(machine_.AmpVersion, card);
    const AutomaticStart::Step step = automaticStart_->Current();
    if (automaticStart_->Running() || step == AutomaticStart::Step::Aborted) return;
    statusLine_->setText(
        LoadText(ready_ ? text::kStartReadyTrue : text::kStartReadyFalse, Base()));
}

void TBtnRightDlg3::BeginAutomaticStart() {
    const ParameterSet& p = parameters_;
    AutomaticStartSettings settings;
    const int unit = std::clamp(p.PreloadUnit, 0, 2);
    settings.PreloadKn =
        PreloadForceKn(unit, p.PreloadValue[static_cast<std::size_t>(unit)], p.EffectiveSo);
    settings.TolerancePercent = p.PreloadTolerancePercent;
    settings.TimeoutSec = p.SequenceTimeoutSec;
    settings.AmpVersion = machine_.AmpVersion;
    settings.CloseArms = p.AutoCloseArms != 0;
    if (machine_.Link != nullptr) {
        settings.ApproachRate =
            machine_.Link->ForceRate(machine_.Link->Config().NominalForce * 10.0);
    }
    automaticStart_->Begin(settings, NowMs());
    approachStarted_ = true;
    okButton_->setEnabled(false);
    statusLine_->setText(LoadText(471, Base()));
    startTimer_.start();
}

void TBtnRightDlg3::AutomaticStartTick() {
    if (!automaticStart_->Running()) return;
    const AutomaticStart::Step step = automaticStart_->Tick(NowMs(), MeasuredForceKn());
    if (const int text = AutomaticStart::TextNumber(step))
        statusLine_->setText(LoadText(text, Base()));
    if (automaticStart_->Running()) return;
    startTimer_.stop();
    okButton_->setEnabled(true);
    switch (step) {
        case AutomaticStart::Step::Done:
            QuorvexDialog::accept();
            return;
        case AutomaticStart::Step::PreloadNotReached:
        case AutomaticStart::Step::ArmsNotClosed:
            ui_.Messages.ShowOperatorMessage(
                LoadText(step == AutomaticStart::Step::PreloadNotReached ? kPreloadNotReachedText
                                                                         : kArmsNotClosedText,
                         Base()),
                MessageKind::Error, MessageButtons::Ok);
            return;
        default:
            return;
    }
}

void TBtnRightDlg3::accept() {
    if (automaticStart_->Running()) return;
    if (!CheckAndTake()) return;
    RefreshReadiness();
    if (Mode == kStartMode && ready_ && parameters_.AutoPreload != 0) {
        BeginAutomaticStart();
        return;
    }
    QuorvexDialog::accept();
}

void TBtnRightDlg3::reject() {
    // Escape or Cancel during the automatic start is the operator's abort: the dialog stays.
    if (automaticStart_->Running()) {
        automaticStart_->Abort();
        startTimer_.stop();
        okButton_->setEnabled(true);
        statusLine_->setText(LoadText(text::kStartAborted, Base()));
        return;
    }
    QuorvexDialog::reject();
}

void TBtnRightDlg3::done(int result) {
    readingTimer_.stop();
    readinessTimer_.stop();
    startTimer_.stop();
    // A preload approach started here ends with the dialog unless the test starts from it.
    const bool testStarts = result == QDialog::Accepted && Mode == kStartMode;
    if (approachStarted_ && !testStarts && machine_.Link != nullptr) machine_.Link->StopMachine();
    approachStarted_ = false;
    ready_ = false;
    QuorvexDialog::done(result);
}

}  // namespace quorvex
