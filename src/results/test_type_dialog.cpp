// The test-type dialog: a list of the ten test types, preselected with the current one.
#include "results/test_type_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "evaluation/test_types.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTitleText = 87;  // "Versuchsart"
constexpr int kOkText = 34;
constexpr int kCancelText = 975;  // "&Abbruch"

}  // namespace

TVersuchsartDlg::TVersuchsartDlg(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters) {
    setObjectName(QStringLiteral("VersuchsartDlg"));
    UseSettingsPlacement();
    const int base = ui_.Texts.Base();
    SetTextNumber(this, kTitleText);
    setWindowTitle(LoadText(kTitleText, base));

    typeList_ = new QListWidget(this);
    for (int type = 0; type < kTestTypeCount; ++type) {
        typeList_->addItem(QString::fromStdString(TestTypeGermanName(type)));
    }
    typeList_->setSelectionMode(QAbstractItemView::SingleSelection);
    // All ten types in sight, without scrolling.
    typeList_->setMinimumHeight(typeList_->sizeHintForRow(0) * kTestTypeCount +
                                2 * typeList_->frameWidth());
    typeList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    typeList_->setMinimumWidth(typeList_->sizeHintForColumn(0) + 4 * typeList_->frameWidth() + 8);
    // A double click confirms the row it hits; Enter reaches OK as the default button.
    connect(typeList_, &QListWidget::itemDoubleClicked, this, [this] {
        if (ok_->isEnabled()) OKBtnClick();
    });

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(LoadText(kOkText, base), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(LoadText(kCancelText, base), QDialogButtonBox::RejectRole);
    SetTextNumber(ok_, kOkText);
    SetTextNumber(cancel_, kCancelText);
    connect(buttons, &QDialogButtonBox::accepted, this, &TVersuchsartDlg::OKBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(typeList_);
    layout->addWidget(buttons);
}

void TVersuchsartDlg::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
    (ReadOnly ? static_cast<QWidget*>(cancel_) : typeList_)->setFocus();
}

void TVersuchsartDlg::FormShow() {
    // The names follow the language of the moment; a language without a name shows the German.
    const int base = ui_.Texts.Base();
    for (int type = 0; type < kTestTypeCount; ++type) {
        QString name = LoadText(TestTypeTextNumber(type), base);
        if (name.isEmpty()) name = QString::fromStdString(TestTypeGermanName(type));
        typeList_->item(type)->setText(name);
    }
    // A type outside 0..9 (a garbled parameter file) offers the first one.
    typeList_->setCurrentRow(IsValidTestType(parameters_.TestType) ? parameters_.TestType : 0);
    typeList_->setEnabled(!ReadOnly);
    ok_->setEnabled(!ReadOnly);
    ok_->setDefault(!ReadOnly);
}

void TVersuchsartDlg::OKBtnClick() {
    if (ReadOnly) return;
    const int row = typeList_->currentRow();
    if (!IsValidTestType(row)) return;
    parameters_.TestType = row;
    accept();
}

}  // namespace quorvex
