// The tabs of the setup dialog and the fields on them, each bound to its member of the form.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "setup/setup_dialog.h"
#include "setup/setup_texts.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace ff = form_field;

namespace {

int F(SetupField field) {
    return static_cast<int>(field);
}

QGroupBox* Group(QWidget* parent, int caption, const UiContext& ui) {
    auto* group = new QGroupBox(LoadText(caption, ui.Texts.Base()), parent);
    SetTextNumber(group, caption);
    return group;
}

}  // namespace

void TBtnRightDlg::Bind(QWidget* widget, Right right) {
    (right == Right::Machine ? machineWidgets_ : basicWidgets_).push_back(widget);
}

QLineEdit* TBtnRightDlg::TextCell(int field, bool decimal, Right right,
                                  std::function<std::string&(SetupForm&)> member) {
    auto* edit = new QLineEdit;
    if (decimal) {
        AttachDecimalKeyFilter(edit);
    } else {
        AttachIntegerKeyFilter(edit);
        edit->setMaxLength(7);
    }
    fields_[field] = edit;
    writers_.push_back([edit, member](const SetupForm& form) {
        edit->setText(QString::fromStdString(member(const_cast<SetupForm&>(form))));
    });
    readers_.push_back(
        [edit, member](SetupForm& form) { member(form) = edit->text().toStdString(); });
    Bind(edit, right);
    return edit;
}

QLineEdit* TBtnRightDlg::Text(QFormLayout* layout, int caption, int field, bool decimal,
                              Right right, std::function<std::string&(SetupForm&)> member) {
    QLineEdit* edit = TextCell(field, decimal, right, std::move(member));
    auto* label = Captioned(new QLabel, caption);
    label->setBuddy(edit);
    layout->addRow(label, edit);
    return edit;
}

QCheckBox* TBtnRightDlg::Check(int caption, Right right, std::function<bool&(SetupForm&)> member) {
    auto* box = Captioned(new QCheckBox, caption);
    writers_.push_back([box, member](const SetupForm& form) {
        box->setChecked(member(const_cast<SetupForm&>(form)));
    });
    readers_.push_back([box, member](SetupForm& form) { member(form) = box->isChecked(); });
    Bind(box, right);
    return box;
}

QSpinBox* TBtnRightDlg::Spin(int low, int high, Right right,
                             std::function<int&(SetupForm&)> member) {
    auto* spin = new QSpinBox;
    spin->setRange(low, high);
    writers_.push_back([spin, member](const SetupForm& form) {
        spin->setValue(member(const_cast<SetupForm&>(form)));
    });
    readers_.push_back([spin, member](SetupForm& form) { member(form) = spin->value(); });
    Bind(spin, right);
    return spin;
}

QWidget* TBtnRightDlg::Radios(int caption, std::initializer_list<Item> items, Right right,
                              std::function<int&(SetupForm&)> member) {
    auto* group = Group(nullptr, caption, ui_);
    auto* layout = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(group);
    int id = 0;
    for (const Item& item : items) {
        auto* radio = item.number != 0 ? Captioned(new QRadioButton, item.number)
                                       : new QRadioButton(QString::fromUtf8(item.fixed));
        buttons->addButton(radio, id++);
        layout->addWidget(radio);
    }
    writers_.push_back([buttons, member](const SetupForm& form) {
        if (QAbstractButton* b = buttons->button(member(const_cast<SetupForm&>(form))))
            b->setChecked(true);
    });
    readers_.push_back([buttons, member](SetupForm& form) {
        if (buttons->checkedId() >= 0) member(form) = buttons->checkedId();
    });
    Bind(group, right);
    return group;
}

QComboBox* TBtnRightDlg::Combo(const QStringList& items, Right right,
                               std::function<int&(SetupForm&)> member) {
    auto* combo = new QComboBox;
    combo->addItems(items);
    writers_.push_back([combo, member](const SetupForm& form) {
        combo->setCurrentIndex(member(const_cast<SetupForm&>(form)));
    });
    readers_.push_back([combo, member](SetupForm& form) { member(form) = combo->currentIndex(); });
    Bind(combo, right);
    return combo;
}

QWidget* TBtnRightDlg::BuildRangesTab() {
    auto* tab = new QWidget;
    auto* force = Group(tab, setup_text::kForce, ui_);
    auto* forceForm = new QFormLayout(force);
    Text(forceForm, setup_text::kForce1, F(SetupField::NominalForce), true, Right::Machine,
         [](SetupForm& f) -> std::string& { return f.NominalForce; });

    auto* travel = Group(tab, setup_text::kCrossheadTravel, ui_);
    auto* travelForm = new QFormLayout(travel);
    Text(travelForm, setup_text::kNominalRange, F(SetupField::NominalTravel), true, Right::Machine,
         [](SetupForm& f) -> std::string& { return f.NominalTravel; });
    travelForm->addRow(Check(setup_text::kIncremental, Right::Machine,
                             [](SetupForm& f) -> bool& { return f.IncrementalTravel; }));
    Text(travelForm, setup_text::kIncrementsPerMm, ff::kTravelIncrements, false, Right::Machine,
         [](SetupForm& f) -> std::string& { return f.TravelIncrements; });

    auto* strain = Group(tab, setup_text::kExtensometer, ui_);
    auto* strainForm = new QFormLayout(strain);
    Text(strainForm, setup_text::kMeasuringRange, F(SetupField::ExtensometerRange), true,
         Right::Machine, [](SetupForm& f) -> std::string& { return f.ExtensometerRange; });
    Text(strainForm, setup_text::kLimitOfUse, F(SetupField::ExtensometerLimit), true, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.ExtensometerLimit; });
    Text(strainForm, setup_text::kGaugeLengthLe, F(SetupField::GaugeLengthLe), true, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.GaugeLengthLe; });
    Text(strainForm, setup_text::kMessageTime, F(SetupField::MessageTime), false, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.MessageTime; });
    Text(strainForm, setup_text::kIncrementsPerMm, ff::kExtensometerIncrements, false,
         Right::Machine, [](SetupForm& f) -> std::string& { return f.ExtensometerIncrements; });
    auto* strainRow = new QHBoxLayout;
    strainRow->addWidget(Radios(setup_text::kType,
                                {{setup_text::kMfa2}, {setup_text::kIncremental}}, Right::Basic,
                                [](SetupForm& f) -> int& { return f.ExtensometerType; }));
    strainRow->addWidget(Radios(
        setup_text::kChannel, {{0, "5"}, {0, "6"}, {0, "7"}, {0, "(6+7)/2"}, {0, "(5+6+7)/3"}},
        Right::Machine, [](SetupForm& f) -> int& { return f.ExtensometerChannelIndex; }));
    strainForm->addRow(strainRow);

    auto* transverse = Group(tab, setup_text::kTransverse, ui_);
    auto* transverseForm = new QFormLayout(transverse);
    Text(transverseForm, setup_text::kMeasuringRange, F(SetupField::TransverseRange), true,
         Right::Machine, [](SetupForm& f) -> std::string& { return f.TransverseRange; });
    Text(transverseForm, setup_text::kLimitOfUse, F(SetupField::TransverseLimit), true,
         Right::Basic, [](SetupForm& f) -> std::string& { return f.TransverseLimit; });
    QStringList channels;
    for (int c = 3; c <= 10; ++c) channels << QString::number(c);
    auto* channelLabel = Captioned(new QLabel, setup_text::kChannel);
    transverseForm->addRow(channelLabel, Combo(channels, Right::Machine, [](SetupForm& f) -> int& {
                               return f.TransverseChannelIndex;
                           }));
    Text(transverseForm, setup_text::kIncrementsPerMm, ff::kTransverseIncrements, false,
         Right::Machine, [](SetupForm& f) -> std::string& { return f.TransverseIncrements; });

    auto* layout = new QGridLayout(tab);
    layout->addWidget(force, 0, 0);
    layout->addWidget(travel, 1, 0);
    layout->addWidget(transverse, 2, 0);
    layout->addWidget(strain, 0, 1, 3, 1);
    return tab;
}

QWidget* TBtnRightDlg::BuildGainsTab() {
    auto* tab = new QWidget;
    auto header = [this](QGridLayout* grid, int column, int caption) {
        grid->addWidget(Captioned(new QLabel, caption), 0, column);
    };
    auto fixedZero = [] { return new QLabel(QStringLiteral("   0")); };

    auto* force = Group(tab, setup_text::kForce, ui_);
    auto* forceGrid = new QGridLayout(force);
    header(forceGrid, 1, setup_text::kGainP);
    header(forceGrid, 2, setup_text::kGainI);
    header(forceGrid, 3, setup_text::kPointPercent);
    auto* travel = Group(tab, setup_text::kTravel, ui_);
    auto* travelGrid = new QGridLayout(travel);
    header(travelGrid, 1, setup_text::kGainP);
    header(travelGrid, 2, setup_text::kPointPercent);
    for (int k = 0; k < 4; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const QString suffix = QString::number(k + 1);
        forceGrid->addWidget(new QLabel(QStringLiteral("F") + suffix), k + 1, 0);
        forceGrid->addWidget(
            TextCell(ff::kForceGainP + k, false, Right::Basic,
                     [i](SetupForm& f) -> std::string& { return f.ForceGainP[i]; }),
            k + 1, 1);
        forceGrid->addWidget(
            TextCell(ff::kForceGainI + k, false, Right::Basic,
                     [i](SetupForm& f) -> std::string& { return f.ForceGainI[i]; }),
            k + 1, 2);
        travelGrid->addWidget(new QLabel(QStringLiteral("S") + suffix), k + 1, 0);
        travelGrid->addWidget(
            TextCell(ff::kTravelGainP + k, false, Right::Basic,
                     [i](SetupForm& f) -> std::string& { return f.TravelGainP[i]; }),
            k + 1, 1);
        if (k == 0) {
            forceGrid->addWidget(fixedZero(), 1, 3);
            travelGrid->addWidget(fixedZero(), 1, 2);
            continue;
        }
        QLineEdit* forcePoint =
            TextCell(ff::kForcePoint + k, false, Right::Basic,
                     [i](SetupForm& f) -> std::string& { return f.ForcePoint[i]; });
        QLineEdit* travelPoint =
            TextCell(ff::kTravelPoint + k, false, Right::Basic,
                     [i](SetupForm& f) -> std::string& { return f.TravelPoint[i]; });
        forcePoint->setMaxLength(3);
        travelPoint->setMaxLength(3);
        forceGrid->addWidget(forcePoint, k + 1, 3);
        travelGrid->addWidget(travelPoint, k + 1, 2);
    }
    auto* forceD = new QFormLayout;
    Text(forceD, setup_text::kGainD, ff::kForceGainD, false, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.ForceGainD; });
    forceGrid->addLayout(forceD, 5, 1);
    auto* travelID = new QFormLayout;
    Text(travelID, setup_text::kGainI, ff::kTravelGainI, false, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.TravelGainI; });
    Text(travelID, setup_text::kGainD, ff::kTravelGainD, false, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.TravelGainD; });
    travelGrid->addLayout(travelID, 5, 1);

    auto* strain = Group(tab, setup_text::kStrain, ui_);
    auto* strainForm = new QFormLayout(strain);
    Text(strainForm, setup_text::kGainP, ff::kStrainGainP, false, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.StrainGainP; });
    Text(strainForm, setup_text::kGainI, ff::kStrainGainI, false, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.StrainGainI; });
    Text(strainForm, setup_text::kGainD, ff::kStrainGainD, false, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.StrainGainD; });

    auto* layout = new QHBoxLayout(tab);
    layout->addWidget(force);
    layout->addWidget(travel);
    layout->addWidget(strain);
    return tab;
}

QWidget* TBtnRightDlg::BuildMachineTab() {
    auto* tab = new QWidget;
    auto* left = new QVBoxLayout;
    left->addWidget(Radios(
        setup_text::kMachineType,
        {{setup_text::kSpindle}, {setup_text::kHydraulicBleedOff}, {setup_text::kHydraulicInflow}},
        Right::Machine, [](SetupForm& f) -> int& { return f.MachineType; }));
    left->addWidget(Radios(setup_text::kProgramControl,
                           {{setup_text::kControlAndMeasure}, {setup_text::kMeasureOnly}},
                           Right::Basic, [](SetupForm& f) -> int& { return f.ProgramControl; }));
    left->addWidget(Radios(setup_text::kEndSwitches,
                           {{setup_text::kNormallyClosed}, {setup_text::kNormallyOpen}},
                           Right::Basic, [](SetupForm& f) -> int& { return f.EndSwitchType; }));

    auto* keys = Group(tab, setup_text::kJogKeys, ui_);
    auto* keysLayout = new QVBoxLayout(keys);
    keysLayout->addWidget(Check(setup_text::kInvertDirection, Right::Basic,
                                [](SetupForm& f) -> bool& { return f.JogInvert; }));
    keysLayout->addWidget(Check(setup_text::kInvertFreeRun, Right::Basic,
                                [](SetupForm& f) -> bool& { return f.FreeRunInvert; }));
    left->addWidget(keys);
    auto* setValue = Group(tab, setup_text::kSetValue, ui_);
    (new QVBoxLayout(setValue))
        ->addWidget(Check(setup_text::kInvert, Right::Basic,
                          [](SetupForm& f) -> bool& { return f.InvertSetValue; }));
    left->addWidget(setValue);

    auto* values = new QFormLayout;
    Text(values, setup_text::kTravelOffset, ff::kTravelOffset, true, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.TravelOffset; });
    Text(values, setup_text::kValveOffset, ff::kValveOffset, true, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.ValveOffset; });
    Text(values, setup_text::kUserPosition, ff::kUserPosition, true, Right::Machine,
         [](SetupForm& f) -> std::string& { return f.UserPosition; });
    values->addRow(
        Captioned(new QLabel, setup_text::kQuickReleaseSwitchPoint),
        Spin(1, 10, Right::Basic, [](SetupForm& f) -> int& { return f.QuickReleasePoint; }));
    values->addRow(Captioned(new QLabel, setup_text::kAmpVersion),
                   Spin(1, 80, Right::Basic, [](SetupForm& f) -> int& { return f.AmpVersion; }));
    values->addRow(
        Captioned(new QLabel, setup_text::kFmaxInTest),
        Spin(5, 100, Right::Basic, [](SetupForm& f) -> int& { return f.FmaxLimitPercent; }));
    values->addRow(Check(setup_text::kFmaxMonitoring, Right::Basic,
                         [](SetupForm& f) -> bool& { return f.FmaxMonitoring; }));
    values->addRow(Check(setup_text::kFiveLimitOff, Right::Basic,
                         [](SetupForm& f) -> bool& { return f.FiveLimitOff; }));
    values->addRow(Check(setup_text::kUseSupportValues, Right::Basic,
                         [](SetupForm& f) -> bool& { return f.UseSupportValues; }));
    values->addRow(Check(setup_text::kAnalogOutActualValues, Right::Basic,
                         [](SetupForm& f) -> bool& { return f.AnalogOutActualValues; }));
    machineCodeButton_ = Captioned(new QPushButton, setup_text::kMasterCode);
    machineCodeButton_->setAutoDefault(false);
    values->addRow(machineCodeButton_);

    auto* layout = new QHBoxLayout(tab);
    layout->addLayout(left);
    layout->addLayout(values);
    return tab;
}

QWidget* TBtnRightDlg::BuildAccessoriesTab() {
    auto* tab = new QWidget;
    auto* tdm = Group(tab, setup_text::kTdm, ui_);
    auto* tdmForm = new QFormLayout(tdm);
    QCheckBox* tdmActive =
        Check(setup_text::kActive, Right::Basic, [](SetupForm& f) -> bool& { return f.TdmActive; });
    tdmForm->addRow(tdmActive);
    Text(tdmForm, setup_text::kLeAt10V, ff::kTdmLeAt10V, true, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.TdmLeAt10V; });
    Text(tdmForm, setup_text::kIncrementsPerMm, ff::kTdmIncrements, false, Right::Machine,
         [](SetupForm& f) -> std::string& { return f.TdmIncrements; });
    Text(tdmForm, setup_text::kGainP, ff::kTdmGainP, false, Right::Machine,
         [](SetupForm& f) -> std::string& { return f.TdmGainP; });
    Text(tdmForm, setup_text::kGainI, ff::kTdmGainI, false, Right::Machine,
         [](SetupForm& f) -> std::string& { return f.TdmGainI; });
    Text(tdmForm, setup_text::kGainD, ff::kTdmGainD, false, Right::Machine,
         [](SetupForm& f) -> std::string& { return f.TdmGainD; });
    Text(tdmForm, setup_text::kBaseDistance, ff::kTdmBaseDistance, true, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.TdmBaseDistance; });
    tdmForm->addRow(Captioned(new QLabel, setup_text::kCard),
                    Spin(0, 5, Right::Basic, [](SetupForm& f) -> int& { return f.TdmCardId; }));

    auto* options = Group(tab, setup_text::kOptions, ui_);
    auto* optionsForm = new QFormLayout(options);
    QCheckBox* grips = Check(setup_text::kHydraulicGrips, Right::Basic,
                             [](SetupForm& f) -> bool& { return f.HydraulicGrips; });
    optionsForm->addRow(grips);
    // The sequence options that need the TDM or the grips follow them at once.
    for (QCheckBox* box : {tdmActive, grips}) {
        connect(box, &QCheckBox::toggled, this, [this] { EnableSequenceOptions(); });
    }
    optionsForm->addRow(
        Captioned(new QLabel, setup_text::kCard),
        Spin(0, 5, Right::Basic, [](SetupForm& f) -> int& { return f.GripCardId; }));
    optionsForm->addRow(Check(setup_text::kRemoteControl, Right::Basic,
                              [](SetupForm& f) -> bool& { return f.RemoteControl; }));
    optionsForm->addRow(Check(setup_text::kProtectiveDoor, Right::Basic,
                              [](SetupForm& f) -> bool& { return f.ProtectiveDoor; }));

    // The sensor tables: nominal value, calibration factor and channel per entry.
    auto sensorGroup = [this, tab](int caption, int entries, bool loadCell) {
        auto* group = Group(tab, caption, ui_);
        auto* grid = new QGridLayout(group);
        grid->addWidget(Captioned(new QLabel, setup_text::kNominalValue), 0, 1);
        grid->addWidget(Captioned(new QLabel, setup_text::kCalFactor), 0, 2);
        grid->addWidget(Captioned(new QLabel, setup_text::kChannel), 0, 3);
        for (int k = 0; k < entries; ++k) {
            const auto i = static_cast<std::size_t>(k);
            grid->addWidget(new QLabel(QString::number(k + 1)), k + 1, 0);
            grid->addWidget(
                TextCell((loadCell ? ff::kLoadCellNominal : ff::kExtensometerNominal) + k, true,
                         Right::Basic,
                         [i, loadCell](SetupForm& f) -> std::string& {
                             return loadCell ? f.LoadCellNominal[i] : f.ExtensometerNominal[i];
                         }),
                k + 1, 1);
            grid->addWidget(TextCell((loadCell ? ff::kLoadCellFactor : ff::kExtensometerFactor) + k,
                                     true, Right::Basic,
                                     [i, loadCell](SetupForm& f) -> std::string& {
                                         return loadCell ? f.LoadCellFactor[i]
                                                         : f.ExtensometerFactor[i];
                                     }),
                            k + 1, 2);
            if (loadCell && k == 0) {
                grid->addWidget(new QLabel(QStringLiteral("1")), 1, 3);
                continue;
            }
            grid->addWidget(Spin(0, 4, Right::Basic,
                                 [i, loadCell](SetupForm& f) -> int& {
                                     return loadCell ? f.LoadCellChannel[i]
                                                     : f.ExtensometerTableChannel[i];
                                 }),
                            k + 1, 3);
        }
        auto* save = Captioned(new QPushButton, setup_text::kSaveSensorValues);
        save->setAutoDefault(false);
        grid->addWidget(save, entries + 1, 1, 1, 3);
        basicWidgets_.push_back(save);
        return std::make_pair(group, save);
    };
    auto [loadCells, saveLoadCells] = sensorGroup(setup_text::kLoadCells, 3, true);
    auto [extensometers, saveExtensometers] = sensorGroup(setup_text::kExtensometer, 2, false);
    saveLoadCellsButton_ = saveLoadCells;
    saveExtensometersButton_ = saveExtensometers;

    auto* layout = new QGridLayout(tab);
    layout->addWidget(tdm, 0, 0, 2, 1);
    layout->addWidget(options, 0, 1);
    layout->addWidget(loadCells, 1, 1);
    layout->addWidget(extensometers, 2, 1);
    return tab;
}

QWidget* TBtnRightDlg::BuildSequenceTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    const std::pair<SequenceOption, int> options[] = {
        {SequenceOption::AutoSequence, setup_text::kAutoSequence},
        {SequenceOption::AutoPreload, setup_text::kAutoPreload},
        {SequenceOption::AutoCloseArms, setup_text::kAutoCloseArms},
        {SequenceOption::AutoOpenArms, setup_text::kAutoOpenArms},
        {SequenceOption::AutoOpenGrips, setup_text::kAutoOpenGrips},
        {SequenceOption::AutoMoveTdmLe, setup_text::kAutoMoveTdmLe},
        {SequenceOption::AutoReturnStart, setup_text::kAutoReturnStart},
        {SequenceOption::AutoZeroForce, setup_text::kAutoZeroForce},
    };
    for (const auto& [option, caption] : options) {
        auto* box = Captioned(new QCheckBox, caption);
        const SequenceOption o = option;
        writers_.push_back(
            [box, o](const SetupForm& form) { box->setChecked(OptionOf(form.Sequence, o)); });
        readers_.push_back(
            [box, o](SetupForm& form) { OptionOf(form.Sequence, o) = box->isChecked(); });
        connect(box, &QCheckBox::clicked, this,
                [this, o](bool checked) { SequenceOptionClicked(o, checked); });
        sequenceBoxes_[option] = box;
        layout->addWidget(box);
    }
    auto* values = new QFormLayout;
    values->addRow(
        Captioned(new QLabel, setup_text::kPreloadTolerance),
        Spin(2, 50, Right::Basic, [](SetupForm& f) -> int& { return f.PreloadTolerancePercent; }));
    values->addRow(
        Captioned(new QLabel, setup_text::kTimeoutAfter),
        Spin(10, 50, Right::Basic, [](SetupForm& f) -> int& { return f.SequenceTimeoutSec; }));
    layout->addLayout(values);
    sequenceCodeButton_ = Captioned(new QPushButton, setup_text::kMasterCode);
    sequenceCodeButton_->setAutoDefault(false);
    layout->addWidget(sequenceCodeButton_);
    layout->addStretch();
    return tab;
}

void TBtnRightDlg::BuildTabs() {
    tabs_ = new QTabWidget(this);
    testTab_ = BuildTestTab();
    rangesTab_ = BuildRangesTab();
    gainsTab_ = BuildGainsTab();
    machineTab_ = BuildMachineTab();
    accessoriesTab_ = BuildAccessoriesTab();
    sequenceTab_ = BuildSequenceTab();
    // Pages outside the mode's tabs stay owned by the dialog.
    for (QWidget* page :
         {testTab_, rangesTab_, gainsTab_, machineTab_, accessoriesTab_, sequenceTab_}) {
        page->setParent(this);
        page->hide();
    }
}

}  // namespace quorvex
