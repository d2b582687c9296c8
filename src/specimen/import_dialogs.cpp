// The specimen and limit import dialogs.
#include "specimen/import_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"
#include "results/header_data_form.h"
#include "ui/captions.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kSpecimenCaptionText = 547;  // "Daten importieren F9"
constexpr int kLimitCaptionText = 580;     // "Grenzwerte importieren"
constexpr int kSpecimenNoText = 104;       // "Probennummer"
constexpr int kImportText = 548;           // "&Importieren"
constexpr int kHeaderGroupText = 50;       // "Kopfdaten"
constexpr int kLimitGroupText = 546;       // "Überwachung Grenzwerte"
constexpr int kNotFoundText = 582;         // "keinen Datensatz gefunden"
constexpr int kIdentifierText = text::kIdentifier;
constexpr int kMinText = text::kLimitMin;
constexpr int kMaxText = text::kLimitMax;
constexpr int kOkText = 34;
constexpr int kCancelText = 35;
constexpr int kUndefinedText = 52;  // "nicht definiert"

QLabel* NumberedLabel(int number, int base, QWidget* parent) {
    auto* label = new QLabel(LoadText(number, base), parent);
    SetTextNumber(label, number);
    return label;
}

QPushButton* NumberedButton(int number, int base, QDialogButtonBox* box,
                            QDialogButtonBox::ButtonRole role) {
    QPushButton* button = box->addButton(LoadText(number, base), role);
    SetTextNumber(button, number);
    button->setAutoDefault(false);
    return button;
}

bool IsEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

// --- TImportDlg

TImportDlg::TImportDlg(UiContext& ui, const ParameterSet& parameters, SpecimenFinder find,
                       QWidget* parent)
    : QuorvexDialog(ui, parent), find_(std::move(find)) {
    setObjectName(QStringLiteral("ImportDlg"));
    const int base = ui_.Texts.Base();
    SetTextNumber(this, kSpecimenCaptionText);
    setWindowTitle(LoadText(kSpecimenCaptionText, base));

    specimenNo_ = new QLineEdit(this);
    specimenNo_->setMaxLength(static_cast<int>(kImportedSpecimenNoLength));
    specimenNo_->installEventFilter(this);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(NumberedLabel(kSpecimenNoText, base, this));
    searchRow->addWidget(specimenNo_);
    import_ = new QPushButton(LoadText(kImportText, base), this);
    SetTextNumber(import_, kImportText);
    import_->setAutoDefault(false);
    searchRow->addWidget(import_);
    connect(import_, &QPushButton::clicked, this, &TImportDlg::Search);

    auto* header = new QGroupBox(LoadText(kHeaderGroupText, base), this);
    SetTextNumber(header, kHeaderGroupText);
    auto* grid = new QGridLayout(header);
    for (int i = 0; i < 10; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const HeaderTitle title = HeaderTitleOf(parameters.HeaderLabel[index]);
        auto* label = title.Defined ? new QLabel(QString::fromStdString(title.Text), header)
                                    : NumberedLabel(kUndefinedText, base, header);
        lines_[index] = new QLineEdit(header);
        lines_[index]->setMaxLength(static_cast<int>(kImportedHeaderLineLength));
        grid->addWidget(label, i, 0);
        grid->addWidget(lines_[index], i, 1);
    }

    auto* buttons = new QDialogButtonBox(this);
    ok_ = NumberedButton(kOkText, base, buttons, QDialogButtonBox::AcceptRole);
    QPushButton* cancel = NumberedButton(kCancelText, base, buttons, QDialogButtonBox::RejectRole);
    ok_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(header);
    layout->addWidget(buttons);
    specimenNo_->setFocus();
}

void TImportDlg::Search() {
    const ImportLookup<ImportedSpecimen> lookup =
        find_ ? find_(specimenNo_->text().toStdString()) : ImportLookup<ImportedSpecimen>{};
    if (!lookup.Found) {
        ok_->setEnabled(false);
        const QString message = lookup.Problem.empty() ? LoadText(kNotFoundText, ui_.Texts.Base())
                                                       : QString::fromStdString(lookup.Problem);
        ui_.Messages.ShowOperatorMessage(message, MessageKind::Error, MessageButtons::Ok);
        specimenNo_->setFocus();
        return;
    }
    found_ = lookup.Value;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        lines_[i]->setText(QString::fromStdString(found_.HeaderLines[i]));
    }
    ok_->setEnabled(true);
    ok_->setFocus();
}

ImportedSpecimen TImportDlg::Imported() const {
    ImportedSpecimen imported = found_;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        imported.HeaderLines[i] = lines_[i]->text().toStdString();
    }
    return imported;
}

bool TImportDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == specimenNo_ && IsEnter(event)) {
        Search();
        return true;
    }
    return QuorvexDialog::eventFilter(watched, event);
}

// --- TGImportDlg

TGImportDlg::TGImportDlg(UiContext& ui, ParameterSet& parameters, LimitFinder find, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters), find_(std::move(find)) {
    setObjectName(QStringLiteral("GImportDlg"));
    const int base = ui_.Texts.Base();
    SetTextNumber(this, kLimitCaptionText);
    setWindowTitle(LoadText(kLimitCaptionText, base));

    identifier_ = new QLineEdit(this);
    identifier_->setMaxLength(30);
    identifier_->installEventFilter(this);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(NumberedLabel(kIdentifierText, base, this));
    searchRow->addWidget(identifier_);
    import_ = new QPushButton(LoadText(kImportText, base), this);
    SetTextNumber(import_, kImportText);
    import_->setAutoDefault(false);
    searchRow->addWidget(import_);
    connect(import_, &QPushButton::clicked, this, &TGImportDlg::Search);

    further_ = FurtherLimitOf(parameters_);
    const QString stress = QString::fromStdString(StressUnit(parameters_.UnitSystem));
    const QString names[kImportedLimitRows] = {QStringLiteral("So"),
                                               QStringLiteral("ReH"),
                                               QStringLiteral("ReL"),
                                               QStringLiteral("Rp"),
                                               QStringLiteral("Rt"),
                                               QStringLiteral("Rm"),
                                               QString::fromLatin1(FurtherLimitName(further_)),
                                               QStringLiteral("A"),
                                               QStringLiteral("Z"),
                                               QStringLiteral("E")};
    const bool ratio = further_ != FurtherLimit::Ag && further_ != FurtherLimit::Ae;
    const QString units[kImportedLimitRows] = {QStringLiteral("mm²"),
                                               stress,
                                               stress,
                                               stress,
                                               stress,
                                               stress,
                                               ratio ? QString() : QStringLiteral("%"),
                                               QStringLiteral("%"),
                                               QStringLiteral("%"),
                                               stress};

    auto* group = new QGroupBox(LoadText(kLimitGroupText, base), this);
    SetTextNumber(group, kLimitGroupText);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < kImportedLimitRows; ++i) {
        const auto index = static_cast<std::size_t>(i);
        names_[index] = new QLabel(names[index], group);
        minimum_[index] = new QLineEdit(group);
        maximum_[index] = new QLineEdit(group);
        for (QLineEdit* field : {minimum_[index], maximum_[index]}) {
            field->setReadOnly(true);
            field->setFocusPolicy(Qt::NoFocus);
        }
        grid->addWidget(names_[index], i, 0);
        grid->addWidget(NumberedLabel(kMinText, base, group), i, 1);
        grid->addWidget(minimum_[index], i, 2);
        grid->addWidget(NumberedLabel(kMaxText, base, group), i, 3);
        grid->addWidget(maximum_[index], i, 4);
        grid->addWidget(new QLabel(units[index], group), i, 5);
    }

    auto* buttons = new QDialogButtonBox(this);
    ok_ = NumberedButton(kOkText, base, buttons, QDialogButtonBox::AcceptRole);
    QPushButton* cancel = NumberedButton(kCancelText, base, buttons, QDialogButtonBox::RejectRole);
    connect(ok_, &QPushButton::clicked, this, &TGImportDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(group);
    layout->addWidget(buttons);

    rows_ = CurrentLimits(parameters_, further_);
    ShowRows();
    ok_->setEnabled(false);
    identifier_->setFocus();
}

void TGImportDlg::ShowRows() {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        // So with one decimal, the strengths without; ratios and elongations keep two.
        int decimals = 2;
        if (i == 0) decimals = 1;
        if ((i >= 1 && i <= 5) || i == 9) decimals = 0;
        minimum_[i]->setText(QString::fromStdString(FormatFixed(rows_[i].Min, 0, decimals)));
        maximum_[i]->setText(QString::fromStdString(FormatFixed(rows_[i].Max, 0, decimals)));
    }
}

void TGImportDlg::Search() {
    const ImportLookup<ImportedLimitSet> lookup =
        find_ ? find_(identifier_->text().toStdString()) : ImportLookup<ImportedLimitSet>{};
    if (!lookup.Found) {
        const QString message = lookup.Problem.empty() ? LoadText(kNotFoundText, ui_.Texts.Base())
                                                       : QString::fromStdString(lookup.Problem);
        ui_.Messages.ShowOperatorMessage(message, MessageKind::Error, MessageButtons::Ok);
        identifier_->setFocus();
        return;
    }
    rows_ = ChooseImportedLimits(lookup.Value, parameters_.SecondProofIsRt != 0, further_);
    ShowRows();
    ok_->setEnabled(true);
    ok_->setFocus();
}

void TGImportDlg::accept() {
    if (!ok_->isEnabled()) return;
    ApplyImportedLimits(parameters_, rows_, further_);
    QuorvexDialog::accept();
}

bool TGImportDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == identifier_ && IsEnter(event)) {
        Search();
        return true;
    }
    return QuorvexDialog::eventFilter(watched, event);
}

}  // namespace quorvex
