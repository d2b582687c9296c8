// The ASCII options dialog: a view over the export options of the parameter set.
#include "results/ascii_format_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

// The menu caption "&ASCII-Datei" is the title, without its "&".
constexpr int kTitleText = 17;
constexpr int kAsciiExportText = 55;      // "&Versuch in ASCII-Datei speichern"
constexpr int kUseSeparatorText = 56;     // "&Trennzeichen verwenden"
constexpr int kAliasTableText = 57;       // "Versuch in Access-Datenbank speichern"
constexpr int kDecimalGroupText = 58;     // "Dezimal-Darstellung"
constexpr int kPointText = 59;            // "&Punkt"
constexpr int kCommaText = 60;            // "&Komma"
constexpr int kAutoSpecimenNoText = 589;  // "automatische Generierung der Probennummer"
constexpr int kRawDataText = 662;         // "Rohdaten in ASCII-Datei speichern"
constexpr int kOkText = 34;
constexpr int kCancelText = 975;  // "&Abbruch"

template <class Button>
Button* Numbered(int number, int base, QWidget* parent) {
    auto* button = new Button(LoadText(number, base), parent);
    SetTextNumber(button, number);
    return button;
}

}  // namespace

TAscii_Format::TAscii_Format(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters) {
    setObjectName(QStringLiteral("Ascii_Format"));
    UseSettingsPlacement();
    const int base = ui_.Texts.Base();
    setWindowTitle(WithoutAccelerator(LoadText(kTitleText, base)));

    asciiExport_ = Numbered<QCheckBox>(kAsciiExportText, base, this);
    useSeparator_ = Numbered<QCheckBox>(kUseSeparatorText, base, this);
    decimalGroup_ = new QGroupBox(LoadText(kDecimalGroupText, base), this);
    SetTextNumber(decimalGroup_, kDecimalGroupText);
    decimalPoint_ = Numbered<QRadioButton>(kPointText, base, decimalGroup_);
    decimalComma_ = Numbered<QRadioButton>(kCommaText, base, decimalGroup_);
    decimalButtons_ = new QButtonGroup(this);
    decimalButtons_->addButton(decimalPoint_);
    decimalButtons_->addButton(decimalComma_);
    auto* decimalLayout = new QHBoxLayout(decimalGroup_);
    decimalLayout->addWidget(decimalPoint_);
    decimalLayout->addWidget(decimalComma_);
    writeAliasTable_ = Numbered<QCheckBox>(kAliasTableText, base, this);
    autoSpecimenNo_ = Numbered<QCheckBox>(kAutoSpecimenNoText, base, this);
    rawDataExport_ = Numbered<QCheckBox>(kRawDataText, base, this);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(LoadText(kOkText, base), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(LoadText(kCancelText, base), QDialogButtonBox::RejectRole);
    SetTextNumber(ok_, kOkText);
    SetTextNumber(cancel_, kCancelText);
    connect(buttons, &QDialogButtonBox::accepted, this, &TAscii_Format::OKBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(asciiExport_);
    layout->addWidget(useSeparator_);
    layout->addWidget(decimalGroup_);
    layout->addWidget(writeAliasTable_);
    layout->addWidget(autoSpecimenNo_);
    layout->addWidget(rawDataExport_);
    layout->addWidget(buttons);
}

void TAscii_Format::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
    if (ReadOnly) cancel_->setFocus();
}

void TAscii_Format::FormShow() {
    setWindowTitle(WithoutAccelerator(LoadText(kTitleText, ui_.Texts.Base())));
    const AsciiOptions o = OpenAsciiOptions(parameters_, DatabaseAvailable);
    asciiExport_->setChecked(o.AsciiExport);
    useSeparator_->setChecked(o.UseSeparator);
    (o.DecimalComma ? decimalComma_ : decimalPoint_)->setChecked(true);
    writeAliasTable_->setChecked(o.WriteAliasTable);
    autoSpecimenNo_->setChecked(o.AutoSpecimenNo);
    rawDataExport_->setChecked(o.RawDataExport);

    const ProjectOptionsAccess access = OptionsAccess(ReadOnly, DatabaseAvailable);
    const std::initializer_list<QWidget*> boxes = {asciiExport_, useSeparator_, decimalGroup_,
                                                   autoSpecimenNo_, rawDataExport_};
    for (QWidget* box : boxes) box->setEnabled(access.BoxesEnabled);
    writeAliasTable_->setEnabled(access.AliasTableEnabled);
    ok_->setEnabled(access.OkEnabled);
    ok_->setDefault(access.OkEnabled);
}

void TAscii_Format::OKBtnClick() {
    // A read-only dialog has no OK to press; nothing is written even if it were reached.
    if (ReadOnly) return;
    AsciiOptions o;
    o.AsciiExport = asciiExport_->isChecked();
    o.UseSeparator = useSeparator_->isChecked();
    o.DecimalComma = decimalComma_->isChecked();
    o.WriteAliasTable = writeAliasTable_->isChecked();
    o.AutoSpecimenNo = autoSpecimenNo_->isChecked();
    o.RawDataExport = rawDataExport_->isChecked();
    StoreAsciiOptions(o, DatabaseAvailable, parameters_);
    accept();
}

}  // namespace quorvex
