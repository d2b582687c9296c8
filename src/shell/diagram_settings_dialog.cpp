// The diagram settings dialog: a view over the diagram settings of the parameter set.
#include "shell/diagram_settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "evaluation/test_types.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

// Text numbers of the items of "Diagrammtyp" and "Startdiagramm".
constexpr std::array<int, 7> kTypeItemTexts = {875, 876, 877, 878, 879, 657, 659};
constexpr std::array<int, 4> kStartItemTexts = {880, 881, 882, 659};
constexpr int kCompressionItemText = 883;  // "Spannung/Stauchung"
constexpr int kOkText = 34;
constexpr int kCancelText = 975;  // "&Abbruch"

QCheckBox* NumberedCheckBox(int number, QWidget* parent) {
    auto* box = new QCheckBox(LoadText(number, 0), parent);
    SetTextNumber(box, number);
    return box;
}

}  // namespace

TBtnRightDlg2::TBtnRightDlg2(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters) {
    setObjectName(QStringLiteral("BtnRightDlg2"));
    SetTextNumber(this, 130);
    setWindowTitle(LoadText(130, 0));
    UseSettingsPlacement();

    typeGroupBox_ = new QGroupBox(LoadText(120, 0), this);
    SetTextNumber(typeGroupBox_, 120);
    typeGroup_ = new QButtonGroup(this);
    auto* typeLayout = new QVBoxLayout(typeGroupBox_);
    for (std::size_t i = 0; i < typeItems_.size(); ++i) {
        typeItems_[i] = new QRadioButton(typeGroupBox_);
        typeGroup_->addButton(typeItems_[i], static_cast<int>(i));
        typeLayout->addWidget(typeItems_[i]);
    }
    startGroup_ = new QGroupBox(LoadText(121, 0), this);
    SetTextNumber(startGroup_, 121);
    startGroupButtons_ = new QButtonGroup(this);
    auto* startLayout = new QVBoxLayout(startGroup_);
    for (std::size_t i = 0; i < startItems_.size(); ++i) {
        startItems_[i] = new QRadioButton(startGroup_);
        startGroupButtons_->addButton(startItems_[i], static_cast<int>(i));
        startLayout->addWidget(startItems_[i]);
    }

    auto* automatic = new QGroupBox(LoadText(125, 0), this);
    SetTextNumber(automatic, 125);
    auto* automaticLayout = new QVBoxLayout(automatic);
    autoScale_ = NumberedCheckBox(126, automatic);
    automaticLayout->addWidget(autoScale_);
    saveCurves_ = NumberedCheckBox(127, this);
    curveOffset_ = NumberedCheckBox(128, this);
    printColoured_ = NumberedCheckBox(129, this);
    hideGrid_ = NumberedCheckBox(661, this);

    auto* energy = new QGroupBox(LoadText(658, 0), this);
    SetTextNumber(energy, 658);
    auto* energyLayout = new QHBoxLayout(energy);
    auto* endLabel = new QLabel(LoadText(368, 0), energy);
    SetTextNumber(endLabel, 368);
    energyEnd_ = new QLineEdit(energy);
    energyEnd_->setAlignment(Qt::AlignRight);
    AttachDecimalKeyFilter(energyEnd_);
    energyLayout->addWidget(endLabel);
    energyLayout->addWidget(energyEnd_);
    energyLayout->addWidget(new QLabel(QStringLiteral("J"), energy));

    auto* options = new QVBoxLayout;
    options->addWidget(automatic);
    for (QCheckBox* box : {saveCurves_, curveOffset_, printColoured_, hideGrid_}) {
        options->addWidget(box);
    }
    options->addWidget(energy);
    options->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(typeGroupBox_);
    auto* middle = new QVBoxLayout;
    middle->addWidget(startGroup_);
    middle->addStretch(1);
    columns->addLayout(middle);
    columns->addLayout(options);

    auto* buttons = new QDialogButtonBox(this);
    const int base = ui_.Texts.Base();
    ok_ = buttons->addButton(LoadText(kOkText, base), QDialogButtonBox::AcceptRole);
    SetTextNumber(ok_, kOkText);
    QPushButton* cancel = buttons->addButton(LoadText(kCancelText, base), QDialogButtonBox::RejectRole);
    SetTextNumber(cancel, kCancelText);
    connect(buttons, &QDialogButtonBox::accepted, this, &TBtnRightDlg2::OKBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(typeGroup_, &QButtonGroup::idClicked, this, &TBtnRightDlg2::TypeChosen);
    connect(startGroupButtons_, &QButtonGroup::idClicked, this, &TBtnRightDlg2::StartChosen);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

void TBtnRightDlg2::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
}

void TBtnRightDlg2::FormShow() {
    const int base = ui_.Texts.Base();
    auto text = [base](int number) {
        const QString t = LoadText(number, base);
        return t.isEmpty() ? LoadText(number, 0) : t;
    };
    for (std::size_t i = 0; i < typeItems_.size(); ++i) {
        typeItems_[i]->setText(text(kTypeItemTexts[i]));
    }
    if (parameters_.TestType == static_cast<int>(TestType::Compression)) {
        typeItems_[3]->setText(text(kCompressionItemText));
        typeItems_[4]->setText(text(kCompressionItemText) + QStringLiteral("-II"));
    }
    for (std::size_t i = 0; i < startItems_.size(); ++i) {
        startItems_[i]->setText(text(kStartItemTexts[i]));
    }

    const DiagramSettings s = OpenDiagramSettings(parameters_);
    typeItems_[static_cast<std::size_t>(s.TypeItem)]->setChecked(true);
    startItems_[static_cast<std::size_t>(s.StartItem)]->setChecked(true);
    startGroup_->setEnabled(StartDiagramChoosable(parameters_.TestType));
    typeGroupBox_->setEnabled(true);
    autoScale_->setChecked(s.AutoScale);
    saveCurves_->setChecked(true);
    saveCurves_->setEnabled(false);
    curveOffset_->setChecked(s.CurveOffset);
    printColoured_->setChecked(s.PrintColoured);
    hideGrid_->setChecked(s.HideGrid);
    energyEnd_->setText(QString::fromStdString(s.EnergyAxisEnd));
}

void TBtnRightDlg2::Refuse(QButtonGroup* group) {
    group->button(0)->setChecked(true);
    ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(text::kInvalidInput), MessageKind::Error,
                                     MessageButtons::Ok);
}

void TBtnRightDlg2::TypeChosen(int item) {
    if (!DiagramTypeItemAllowed(item, parameters_.TestType)) Refuse(typeGroup_);
}

void TBtnRightDlg2::StartChosen(int item) {
    if (!StartDiagramItemAllowed(item, parameters_.TestType)) Refuse(startGroupButtons_);
}

void TBtnRightDlg2::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        QWidget* focus = nullptr;
        int item = -1;
        switch (event->key()) {
            case Qt::Key_A:
                focus = curveOffset_;
                break;
            case Qt::Key_D:
                focus = autoScale_;
                break;
            case Qt::Key_R:
                focus = printColoured_;
                break;
            case Qt::Key_V:
                focus = saveCurves_;
                break;
            case Qt::Key_E:
                item = 0;
                break;
            case Qt::Key_K:
                item = 1;
                break;
            case Qt::Key_S:
                item = 3;
                break;
            case Qt::Key_F:
                item = 4;
                break;
            default:
                break;
        }
        if (focus) {
            focus->setFocus();
            return;
        }
        if (item >= 0) {
            typeItems_[static_cast<std::size_t>(item)]->setChecked(true);
            return;
        }
    }
    QuorvexDialog::keyPressEvent(event);
}

void TBtnRightDlg2::OKBtnClick() {
    DiagramSettings s;
    s.TypeItem = typeGroup_->checkedId() >= 0 ? typeGroup_->checkedId() : 0;
    s.StartItem = startGroupButtons_->checkedId() >= 0 ? startGroupButtons_->checkedId() : 0;
    s.AutoScale = autoScale_->isChecked();
    s.CurveOffset = curveOffset_->isChecked();
    s.PrintColoured = printColoured_->isChecked();
    s.HideGrid = hideGrid_->isChecked();
    s.EnergyAxisEnd = energyEnd_->text().toStdString();
    StoreDiagramSettings(s, parameters_);
    accept();
}

}  // namespace quorvex
