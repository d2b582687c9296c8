#include "specimen/type_specimen_dialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

#include "evaluation/specimen_number.h"
#include "evaluation/text_functions.h"
#include "specimen/specimen_dialog_parts.h"
#include "machine/controller_link.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTitleText = 89;        // "Probendaten"
constexpr int kSpecimenNoText = 104;  // "Probennummer"
constexpr int kSpecimenIdText = 194;  // "&Kennung"
constexpr int kCrossSectionText = 99;  // "Querschnitt"
constexpr int kCancelText = 35;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

TTypeSpecimenDlg::TTypeSpecimenDlg(UiContext& ui, int testType, ParameterSet& parameters,
                                   ResultsRecord& current, QWidget* parent)
    : QuorvexDialog(ui, parent),
      testType_(testType),
      kind_(TypeSpecimenKindOf(testType)),
      inputs_(TypeSpecimenInputs(testType)),
      parameters_(parameters),
      current_(current) {
    setObjectName(QStringLiteral("TypeSpecimenDlg"));
    const int base = Base();
    SetTextNumber(this, kTitleText);
    setWindowTitle(LoadText(kTitleText, base));

    auto* form = new QFormLayout;
    auto addDimension = [&](const QString& label, const QString& unit, int maxLength) {
        auto* edit = new QLineEdit;
        edit->setMaxLength(maxLength);
        AttachDecimalKeyFilter(edit);
        edit->installEventFilter(this);
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        row->addWidget(new QLabel(unit));
        form->addRow(label, row);
        dimensions_.push_back(edit);
    };
    specimenNo_ = new QLineEdit;
    specimenNo_->setMaxLength(14);
    specimenId_ = new QLineEdit;
    specimenId_->setMaxLength(30);
    for (QLineEdit* edit : {specimenNo_, specimenId_}) edit->installEventFilter(this);
    QLabel* noLabel = Captioned(new QLabel, kSpecimenNoText, base);
    QLabel* idLabel = Captioned(new QLabel, kSpecimenIdText, base);
    noLabel->setBuddy(specimenNo_);
    idLabel->setBuddy(specimenId_);
    form->addRow(noLabel, specimenNo_);
    form->addRow(idLabel, specimenId_);
    if (kind_ == TypeSpecimenKind::Universal) {
        addDimension(LoadText(kCrossSectionText, base), QStringLiteral("mm²"), 14);
    }
    for (const TypeSpecimenInput& input : inputs_) {
        addDimension(LoadText(input.TextNumber, base) + QStringLiteral("  ") +
                         QString::fromUtf8(input.Symbol),
                     QStringLiteral("mm"), 8);
    }

    const SpecimenButtonRow buttons = MakeSpecimenButtonRow(kCancelText, base);
    okButton_ = buttons.Ok;
    connect(okButton_, &QPushButton::clicked, this, &TTypeSpecimenDlg::accept);
    connect(buttons.Cancel, &QPushButton::clicked, this, &TTypeSpecimenDlg::reject);
    connect(buttons.HeaderData, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F7, {}); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.Layout);
    setMinimumWidth(420);
}

int TTypeSpecimenDlg::Base() const {
    return ui_.Texts.Base();
}

void TTypeSpecimenDlg::showEvent(QShowEvent* event) {
    confirmedForReevaluation_ = false;
    const TypeSpecimenTexts texts = LoadTypeSpecimenForm(testType_, parameters_);
    specimenNo_->setText(Text(NumberingCounter >= 0
                                  ? PreviewSpecimenNumber(texts.SpecimenNo, NumberingCounter)
                                  : texts.SpecimenNo));
    specimenId_->setText(Text(texts.SpecimenId));
    for (std::size_t i = 0; i < dimensions_.size() && i < texts.Dimensions.size(); ++i) {
        dimensions_[i]->setText(Text(texts.Dimensions[i]));
    }
    QuorvexDialog::showEvent(event);
    QLineEdit* first = kind_ == TypeSpecimenKind::Universal ? specimenNo_ : dimensions_.front();
    first->setFocus();
    first->selectAll();
}

TypeSpecimenTexts TTypeSpecimenDlg::ReadForm() const {
    TypeSpecimenTexts texts;
    texts.SpecimenNo = specimenNo_->text().toStdString();
    texts.SpecimenId = specimenId_->text().toStdString();
    for (const QLineEdit* edit : dimensions_) texts.Dimensions.push_back(edit->text().toStdString());
    return texts;
}

void TTypeSpecimenDlg::ShowFailure(const CheckFailure& failure) {
    ShowRefusedValue(ui_, failure,
                     dimensions_.at(static_cast<std::size_t>(std::clamp(
                         failure.Field, 0, static_cast<int>(dimensions_.size()) - 1))));
}

bool TTypeSpecimenDlg::CheckAndTake() {
    const TypeSpecimenTexts texts = ReadForm();
    if (const CheckResult failure = CheckTypeSpecimenForm(testType_, texts)) {
        ShowFailure(*failure);
        return false;
    }
    TakeTypeSpecimenForm(testType_, texts, parameters_, current_);
    return true;
}

void TTypeSpecimenDlg::accept() {
    if (!CheckAndTake()) return;
    // A new divisor changes every result of the last universal test: it is evaluated again.
    if (kind_ == TypeSpecimenKind::Universal) confirmedForReevaluation_ = true;
    QuorvexDialog::accept();
}

void TTypeSpecimenDlg::done(int result) {
    if (kind_ != TypeSpecimenKind::Compression) TdmStop();
    QuorvexDialog::done(result);
}

void TTypeSpecimenDlg::TdmStop() {
    if (machine_.AmpVersion == 3 && machine_.Link != nullptr) machine_.Link->TdmStop();
}

void TTypeSpecimenDlg::StopKey() {
    if (ui_.StopMachine) {
        ui_.StopMachine();
    } else if (machine_.Link != nullptr) {
        machine_.Link->StopMachine();
    }
    TdmStop();
}

void TTypeSpecimenDlg::EnterInDimension(std::size_t i) {
    const std::size_t input = kind_ == TypeSpecimenKind::Universal ? inputs_.size() : i;
    if (input < inputs_.size()) {
        const std::string text = dimensions_[i]->text().toStdString();
        if (const CheckResult failure = CheckTypedDimension(testType_, input, text)) {
            ShowFailure(*failure);
            return;
        }
        dimensions_[i]->setText(Text(FormatFixed(
            ParseNumber(text), 0, TypeSpecimenDecimals(inputs_[input], parameters_))));
    }
    QWidget* next = kind_ == TypeSpecimenKind::Universal ? static_cast<QWidget*>(okButton_)
                    : i + 1 < dimensions_.size()        ? dimensions_[i + 1]
                                                        : specimenNo_;
    next->setFocus();
}

bool TTypeSpecimenDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            for (std::size_t i = 0; i < dimensions_.size(); ++i) {
                if (watched == dimensions_[i]) {
                    EnterInDimension(i);
                    return true;
                }
            }
            if (watched == specimenNo_) {
                specimenId_->setFocus();
                return true;
            }
            if (watched == specimenId_) {
                if (kind_ == TypeSpecimenKind::Universal) {
                    dimensions_.front()->setFocus();
                } else {
                    okButton_->setFocus();
                }
                return true;
            }
        }
        if (HandleKey(key->key(), key->modifiers())) return true;
    }
    return QuorvexDialog::eventFilter(watched, event);
}

bool TTypeSpecimenDlg::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) {
        if (key == Qt::Key_K) {
            // Confirmed for a new evaluation of the last test; the caller starts no test.
            QApplication::beep();
            if (!CheckAndTake()) return true;
            confirmedForReevaluation_ = true;
            done(QDialog::Rejected);
            return true;
        }
        if (key == Qt::Key_S) {
            MoveLinkToStartPosition(machine_.Link, parameters_.StartPosition,
                                    machine_.TravelOffset);
            return true;
        }
        return false;
    }
    switch (key) {
        case Qt::Key_F7:
            if (machine_.EditHeaderData) machine_.EditHeaderData();
            return true;
        case Qt::Key_F8:
            StopKey();
            return true;
        default:
            return false;
    }
}

}  // namespace quorvex
