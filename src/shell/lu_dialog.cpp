// The entry dialog of the values measured after the test.
#include "shell/lu_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "evaluation/text_functions.h"
#include "specimen/specimen_form.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kPromptTexts[] = {184, 185, 186, 187};  // lg, lu, du, width

QString Fixed2(double value) {
    return QString::fromStdString(RemoveBlanks(FormatFixed(value, 0, 2)));
}

}  // namespace

TLuDialog::TLuDialog(UiContext& ui, QWidget* parent) : QuorvexDialog(ui, parent) {
    setObjectName(QStringLiteral("LuDialog"));
    SetTextNumber(this, text::kInputDialog);
    setWindowTitle(LoadText(text::kInputDialog, ui_.Texts.Base()));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    prompt_ = new QLabel(this);
    secondPrompt_ = new QLabel(QStringLiteral("a:"), this);
    for (auto& input : inputs_) {
        input = new QLineEdit(this);
        AttachDecimalKeyFilter(input);
    }
    form->addRow(prompt_, inputs_[0]);
    form->addRow(secondPrompt_, inputs_[1]);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TLuDialog::OKBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter in the first input of mode 4 moves on to the second.
    connect(inputs_[0], &QLineEdit::returnPressed, this, [this] {
        if (mode_ == kWidthThickness) {
            inputs_[1]->setFocus();
        } else {
            OKBtnClick();
        }
    });
    connect(inputs_[1], &QLineEdit::returnPressed, this, &TLuDialog::OKBtnClick);
    readingTimer_.setInterval(50);
    connect(&readingTimer_, &QTimer::timeout, this, &TLuDialog::PollInstruments);
}

void TLuDialog::showEvent(QShowEvent* event) {
    QuorvexDialog::showEvent(event);
    if (readings_ != nullptr && readings_->Connected()) readingTimer_.start();
}

void TLuDialog::done(int result) {
    readingTimer_.stop();
    QuorvexDialog::done(result);
}

void TLuDialog::PollInstruments() {
    if (readings_ == nullptr) return;
    readingTimer_.stop();
    if (const auto reading = readings_->Poll()) {
        QApplication::beep();
        const bool two = mode_ == kWidthThickness;
        QWidget* focused = focusWidget();
        if (focused == inputs_[0]) {
            inputs_[0]->setText(Fixed2(reading->Value));
            if (two) {
                inputs_[1]->setFocus();
            } else {
                ok_->setFocus();
            }
        } else if (two && focused == inputs_[1]) {
            inputs_[1]->setText(Fixed2(reading->Value));
            OKBtnClick();
        } else if (focused == ok_) {
            OKBtnClick();
        }
    }
    if (isVisible() && readings_->Connected()) readingTimer_.start();
}

void TLuDialog::Prepare(int mode, double value, double min, double max, double secondValue,
                        double secondMin, double secondMax) {
    mode_ = mode >= kLg && mode <= kWidthThickness ? mode : kLg;
    // The prompts are not stored texts: they come from the table in the current language.
    prompt_->setText(LoadText(kPromptTexts[mode_ - 1], ui_.Texts.Base()));
    values_ = {value, secondValue};
    // The limits are checked as they are shown, with two decimals: the offered value on its
    // limit (d0 of a So kept in single precision) is taken.
    const auto shown = [](double v) { return std::round(v * 100) / 100; };
    min_ = {shown(min), shown(secondMin)};
    max_ = {shown(max), shown(secondMax)};
    const bool two = mode_ == kWidthThickness;
    secondPrompt_->setVisible(two);
    inputs_[1]->setVisible(two);
    for (std::size_t i = 0; i < inputs_.size(); ++i) inputs_[i]->setText(Fixed2(values_[i]));
    inputs_[0]->setFocus();
    inputs_[0]->selectAll();
}

void TLuDialog::OKBtnClick() {
    const int count = mode_ == kWidthThickness ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const CheckResult failure =
            CheckPostTestInput(i, inputs_[index]->text().toStdString(), min_[index], max_[index]);
        if (failure) {
            const std::string message = ComposeMessage(
                *failure, [this](int number) { return ui_.Texts.Text(number).toStdString(); });
            ui_.Messages.ShowOperatorMessage(QString::fromStdString(message), MessageKind::Error,
                                             MessageButtons::Ok);
            inputs_[index]->setFocus();
            return;
        }
    }
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        values_[index] = ParseNumber(inputs_[index]->text().toStdString());
    }
    accept();
}

}  // namespace quorvex
