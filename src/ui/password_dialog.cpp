// The access-code dialog of the three modes.
#include "ui/password_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/access_codes.h"
#include "ui/captions.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {

TPasswordDlg::TPasswordDlg(UiContext& ui, QWidget* parent) : QuorvexDialog(ui, parent) {
    setObjectName(QStringLiteral("PasswordDlg"));
    prompt_ = new QLabel(this);
    entry_ = new QLineEdit(this);
    entry_->setEchoMode(QLineEdit::Password);
    entry_->setObjectName(QStringLiteral("CodeEntry"));
    okButton_ = new QPushButton(LoadText(34, 0), this);
    cancelButton_ = new QPushButton(LoadText(35, 0), this);
    SetTextNumber(okButton_, 34);
    SetTextNumber(cancelButton_, 35);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &TPasswordDlg::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &TPasswordDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(entry_);
    layout->addLayout(buttons);
}

void TPasswordDlg::showEvent(QShowEvent* event) {
    const bool master = Mode == kMasterCodeMode;
    setWindowTitle(ui_.Texts.Text(master ? text::kMasterCodeCaption : text::kPasswordCaption));
    prompt_->setText(ui_.Texts.Text(master ? text::kMasterCodePrompt : text::kPasswordPrompt));
    Granted = false;
    entry_->clear();
    PlaceBesideMainWindow(150);
    QuorvexDialog::showEvent(event);
    entry_->setFocus();
}

void TPasswordDlg::accept() {
    Granted = AccessCodeMatches(Mode, entry_->text());
    if (!Granted) {
        const int wrong = Mode == kMasterCodeMode ? text::kWrongMasterCode : text::kWrongPassword;
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(wrong), MessageKind::Error,
                                         MessageButtons::Ok);
    }
    QuorvexDialog::accept();
}

}  // namespace quorvex
