// The statistics options dialog: a view over the statistics selection of the parameter set.
#include "results/statistics_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTitleText = 77;    // "Statistik"
constexpr int kGroupText = 78;    // "Gewünschte Werte"
constexpr int kOkText = 34;       // "OK"
constexpr int kCancelText = 975;  // "&Abbruch"

}  // namespace

TBtnRightDlg4::TBtnRightDlg4(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters) {
    setObjectName(QStringLiteral("BtnRightDlg4"));
    const int base = ui_.Texts.Base();
    SetTextNumber(this, kTitleText);
    setWindowTitle(LoadText(kTitleText, base));

    group_ = new QGroupBox(LoadText(kGroupText, base), this);
    SetTextNumber(group_, kGroupText);
    auto* groupLayout = new QVBoxLayout(group_);
    for (std::size_t row = 0; row < choices_.size(); ++row) {
        const StatisticsChoice& choice = kStatisticsChoices[row];
        auto* box = new QCheckBox(group_);
        if (choice.TextNumber != 0) {
            SetTextNumber(box, choice.TextNumber);
            box->setText(LoadText(choice.TextNumber, base));
        } else {
            box->setText(QString::fromLatin1(choice.Caption));
        }
        choices_[row] = box;
        groupLayout->addWidget(box);
    }

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(LoadText(kOkText, base), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(LoadText(kCancelText, base), QDialogButtonBox::RejectRole);
    SetTextNumber(ok_, kOkText);
    SetTextNumber(cancel_, kCancelText);
    connect(buttons, &QDialogButtonBox::accepted, this, &TBtnRightDlg4::OKBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addWidget(buttons);
}

void TBtnRightDlg4::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
    if (ReadOnly) cancel_->setFocus();
}

void TBtnRightDlg4::FormShow() {
    const StatisticsSelection selection = OpenStatisticsSelection(parameters_);
    const ProjectOptionsAccess access = OptionsAccess(ReadOnly, /*databaseAvailable=*/false);
    for (std::size_t row = 0; row < choices_.size(); ++row) {
        choices_[row]->setChecked(selection[row]);
        choices_[row]->setEnabled(access.BoxesEnabled);
    }
    ok_->setEnabled(access.OkEnabled);
    ok_->setDefault(access.OkEnabled);
}

void TBtnRightDlg4::OKBtnClick() {
    // A read-only dialog has no OK to press; nothing is written even if it were reached.
    if (ReadOnly) return;
    StatisticsSelection selection{};
    for (std::size_t row = 0; row < choices_.size(); ++row) {
        selection[row] = choices_[row]->isChecked();
    }
    StoreStatisticsSelection(selection, parameters_);
    accept();
}

}  // namespace quorvex
