// The dimension measurement dialog: each reading checked when Enter or OK confirms it, the
// mean shown as the readings come in, instrument readings written into the focused reading.
#include "specimen/dimension_dialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "evaluation/text_functions.h"
#include "specimen/specimen_form.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kMeanText = 212;     // "Mittelwert"
constexpr int kMeasureText = 237;  // "Messen"

}  // namespace

TAbmessungenDlg::TAbmessungenDlg(UiContext& ui, QWidget* parent) : QuorvexDialog(ui, parent) {
    setObjectName(QStringLiteral("AbmessungenDlg"));
    SetTextNumber(this, kMeasureText);
    setWindowTitle(LoadText(kMeasureText, ui_.Texts.Base()));
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        inputs_[i] = new QLineEdit;
        AttachDecimalKeyFilter(inputs_[i]);
        labels_[i] = new QLabel;
        form->addRow(labels_[i], inputs_[i]);
        connect(inputs_[i], &QLineEdit::textEdited, this, &TAbmessungenDlg::ShowMean);
    }
    meanField_ = new QLabel;
    auto* meanLabel = new QLabel(LoadText(kMeanText, ui_.Texts.Base()));
    SetTextNumber(meanLabel, kMeanText);
    form->addRow(meanLabel, meanField_);
    okButton_ = new QPushButton(LoadText(text::kDimensionOk, ui_.Texts.Base()));
    SetTextNumber(okButton_, text::kDimensionOk);
    cancelButton_ = new QPushButton(LoadText(35, ui_.Texts.Base()));
    SetTextNumber(cancelButton_, 35);
    for (QPushButton* button : {okButton_, cancelButton_}) button->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &TAbmessungenDlg::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &TAbmessungenDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    readingTimer_.setInterval(50);
    connect(&readingTimer_, &QTimer::timeout, this, &TAbmessungenDlg::PollInstruments);
}

void TAbmessungenDlg::Prepare(const QString& dimension, InstrumentReadings* readings) {
    readings_ = readings;
    decimals_ = dimension == QLatin1String("b") || dimension == QLatin1String("D") ? 2 : 3;
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        labels_[i]->setText(QStringLiteral("%1 %1.%2").arg(dimension).arg(i + 1));
        inputs_[i]->clear();
    }
    mean_ = 0;
    ShowMean();
    if (readings_ != nullptr) {
        const bool caliper = decimals_ == 2;
        readings_->Purge(caliper ? Instrument::Caliper : Instrument::Micrometer);
    }
}

void TAbmessungenDlg::showEvent(QShowEvent* event) {
    QuorvexDialog::showEvent(event);
    inputs_[0]->setFocus();
    if (readings_ != nullptr && readings_->Connected()) readingTimer_.start();
}

void TAbmessungenDlg::done(int result) {
    readingTimer_.stop();
    QuorvexDialog::done(result);
}

int TAbmessungenDlg::InputIndex(const QWidget* widget) const {
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        if (inputs_[i] == widget) return static_cast<int>(i);
    }
    return -1;
}

bool TAbmessungenDlg::CheckReading(int index) {
    const std::string text = inputs_[static_cast<std::size_t>(index)]->text().toStdString();
    // An empty reading is no reading: it does not count towards the mean.
    if (text.empty()) return true;
    if (const CheckResult failure = CheckDimensionReading(text)) {
        const int base = ui_.Texts.Base();
        const std::string message = ComposeMessage(
            *failure, [base](int number) { return LoadText(number, base).toStdString(); });
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(message), MessageKind::Error,
                                         MessageButtons::Ok);
        inputs_[static_cast<std::size_t>(index)]->setFocus();
        return false;
    }
    return true;
}

void TAbmessungenDlg::ShowMean() {
    std::vector<std::string> readings;
    for (const QLineEdit* input : inputs_) readings.push_back(input->text().toStdString());
    mean_ = MeanOfReadings(readings);
    meanField_->setText(QString::fromStdString(FormatFixed(mean_, 0, decimals_)));
}

void TAbmessungenDlg::PollInstruments() {
    if (readings_ == nullptr) return;
    readingTimer_.stop();
    if (const auto reading = readings_->Poll()) {
        QApplication::beep();
        const int index = InputIndex(focusWidget());
        if (index >= 0) {
            inputs_[static_cast<std::size_t>(index)]->setText(
                QString::fromStdString(FormatFixed(reading->Value, 0, decimals_)));
            ShowMean();
            if (CheckReading(index)) focusNextChild();
        }
    }
    if (isVisible()) readingTimer_.start();
}

void TAbmessungenDlg::accept() {
    for (int i = 0; i < static_cast<int>(inputs_.size()); ++i) {
        if (!CheckReading(i)) return;
    }
    ShowMean();
    QuorvexDialog::accept();
}

void TAbmessungenDlg::keyPressEvent(QKeyEvent* event) {
    const int index = InputIndex(focusWidget());
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && index >= 0) {
        if (CheckReading(index)) {
            ShowMean();
            focusNextChild();
        }
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F3) {
        accept();
        event->accept();
        return;
    }
    QuorvexDialog::keyPressEvent(event);
}

}  // namespace quorvex
