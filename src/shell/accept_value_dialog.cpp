// The confirmation dialog of a picked modulus or proof strength.
#include "shell/accept_value_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "evaluation/text_functions.h"
#include "shell/live_diagram_widget.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {

TUeberNehmeE::TUeberNehmeE(UiContext& ui, QWidget* parent) : QuorvexDialog(ui, parent) {
    setObjectName(QStringLiteral("UeberNehmeE"));
    setWindowTitle(LoadText(text::kAcceptCaption, 0));
    SetTextNumber(this, text::kAcceptCaption);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    label_ = new QLabel(this);
    value_ = new QLineEdit(this);
    value_->setReadOnly(true);
    value_->setAlignment(Qt::AlignRight);
    unit_ = new QLabel(this);
    row->addWidget(label_);
    row->addWidget(value_, 1);
    row->addWidget(unit_);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TUeberNehmeE::Prepare(const QString& label, double value, int decimals, const QString& unit) {
    label_->setText(label);
    value_->setText(QString::fromStdString(RemoveBlanks(FormatFixed(value, 0, decimals))));
    unit_->setText(unit);
    ok_->setFocus();
}

}  // namespace quorvex
