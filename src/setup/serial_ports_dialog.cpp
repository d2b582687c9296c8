// The serial port dialog.
#include "setup/serial_ports_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "setup/setup_texts.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

int Entry(int index) {
    return index >= 0 && index < kNoPortEntry ? index : kNoPortEntry;
}

}  // namespace

SerialPortChoice SerialPortChoiceOf(const ParameterSet& p) {
    return {Entry(p.ControllerPort), Entry(p.CaliperPort), Entry(p.MicrometerPort - 1)};
}

void StoreSerialPortChoice(const SerialPortChoice& choice, ParameterSet& p) {
    p.ControllerPort = static_cast<std::uint8_t>(Entry(choice.Controller));
    p.CaliperPort = static_cast<std::uint8_t>(Entry(choice.Caliper));
    p.MicrometerPort = Entry(choice.Micrometer) + 1;
}

TBtnRightDlg5::TBtnRightDlg5(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters) {
    setObjectName(QStringLiteral("BtnRightDlg5"));
    SetTextNumber(this, setup_text::kInterfacesTitle);
    QStringList ports;
    for (int com = 1; com <= 16; ++com) ports << QStringLiteral("Com %1").arg(com);
    ports << LoadText(text::kNoPort, ui.Texts.Base());
    auto* form = new QFormLayout;
    const int captions[3] = {setup_text::kControllerPort, setup_text::kCaliperPort,
                             setup_text::kMicrometerPort};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(LoadText(captions[i], ui.Texts.Base()));
        SetTextNumber(label, captions[i]);
        lists_[i] = new QComboBox;
        lists_[i]->addItems(ports);
        form->addRow(label, lists_[i]);
    }
    okButton_ = new QPushButton(LoadText(setup_text::kOk, ui.Texts.Base()));
    cancelButton_ = new QPushButton(LoadText(setup_text::kCancel, ui.Texts.Base()));
    SetTextNumber(okButton_, setup_text::kOk);
    SetTextNumber(cancelButton_, setup_text::kCancel);
    connect(okButton_, &QPushButton::clicked, this, &TBtnRightDlg5::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &TBtnRightDlg5::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void TBtnRightDlg5::showEvent(QShowEvent* event) {
    setWindowTitle(LoadText(setup_text::kInterfacesTitle, ui_.Texts.Base()));
    for (QComboBox* list : lists_) {
        list->setItemText(list->count() - 1, LoadText(text::kNoPort, ui_.Texts.Base()));
    }
    const SerialPortChoice choice = SerialPortChoiceOf(parameters_);
    lists_[0]->setCurrentIndex(choice.Controller);
    lists_[1]->setCurrentIndex(choice.Caliper);
    lists_[2]->setCurrentIndex(choice.Micrometer);
    for (QComboBox* list : lists_) list->setEnabled(OperatorUnlocked);
    okButton_->setEnabled(OperatorUnlocked);
    QuorvexDialog::showEvent(event);
    if (!OperatorUnlocked) cancelButton_->setFocus();
}

void TBtnRightDlg5::accept() {
    // Without the access flag the OK button is locked, and so is its key.
    if (!OperatorUnlocked) return;
    StoreSerialPortChoice(
        {lists_[0]->currentIndex(), lists_[1]->currentIndex(), lists_[2]->currentIndex()},
        parameters_);
    QuorvexDialog::accept();
}

}  // namespace quorvex
