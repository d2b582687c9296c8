// The tab "Versuch" of the setup dialog: break drop and minimum, the five programme stages,
// preload, setup position and hysteresis, with the wording of the stress unit and the
// adjustments each test type needs.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "evaluation/test_types.h"
#include "ui/password_dialog.h"
#include "evaluation/text_functions.h"
#include "setup/setup_dialog.h"
#include "setup/setup_texts.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace ff = form_field;

namespace {

int F(SetupField field) {
    return static_cast<int>(field);
}

// Test types whose minimum is a force and whose programme has a single stage.
bool ForceMinimumType(int testType) {
    return testType == 3 || testType == 4 || testType == 8;
}

}  // namespace

QComboBox* TBtnRightDlg::UnitCombo(int field, std::function<int&(SetupForm&)> member) {
    auto* combo = new QComboBox;
    // The unit texts arrive when the dialog is shown: the box is made wide enough for the
    // longest ("N/mm²/s") from the start.
    combo->setMinimumContentsLength(8);
    combo->addItems({QString(), QString(), QString()});
    fields_[field] = combo;
    // The records count the units from 1.
    writers_.push_back([combo, member](const SetupForm& form) {
        combo->setCurrentIndex(member(const_cast<SetupForm&>(form)) - 1);
    });
    readers_.push_back(
        [combo, member](SetupForm& form) { member(form) = combo->currentIndex() + 1; });
    Bind(combo, Right::Basic);
    return combo;
}

QWidget* TBtnRightDlg::BuildTestTab() {
    auto* tab = new QWidget;
    const int base = ui_.Texts.Base();
    auto group = [tab, base](int caption) {
        auto* g = new QGroupBox(LoadText(caption, base), tab);
        SetTextNumber(g, caption);
        return g;
    };

    auto* limits = new QGridLayout;
    auto* dropLabel = Captioned(new QLabel, setup_text::kDropTo);
    QLineEdit* drop = TextCell(F(SetupField::BreakDrop), true, Right::Basic,
                               [](SetupForm& f) -> std::string& { return f.BreakDrop; });
    dropLabel->setBuddy(drop);
    limits->addWidget(dropLabel, 0, 0);
    limits->addWidget(drop, 0, 1);
    limits->addWidget(Captioned(new QLabel, setup_text::kPercentOfFmax), 0, 2);
    minimumLabel_ = Captioned(new QLabel, setup_text::kRminInTest);
    QLineEdit* minimum = TextCell(F(SetupField::Rmin), true, Right::Basic,
                                  [](SetupForm& f) -> std::string& { return f.Rmin; });
    minimumLabel_->setBuddy(minimum);
    minimumUnit_ = new QLabel;
    limits->addWidget(minimumLabel_, 1, 0);
    limits->addWidget(minimum, 1, 1);
    limits->addWidget(minimumUnit_, 1, 2);

    auto* stages = new QGridLayout;
    stages->addWidget(Captioned(new QLabel, setup_text::kStage), 0, 0);
    stages->addWidget(Captioned(new QLabel, setup_text::kFrom), 0, 1);
    stages->addWidget(Captioned(new QLabel, setup_text::kWith), 0, 3);
    for (int k = 0; k < 5; ++k) {
        const auto i = static_cast<std::size_t>(k);
        auto* active = new QCheckBox(QString::number(k + 1));
        fields_[ff::kStageActive + k] = active;
        writers_.push_back(
            [active, i](const SetupForm& form) { active->setChecked(form.Stages[i].Active); });
        readers_.push_back(
            [active, i](SetupForm& form) { form.Stages[i].Active = active->isChecked(); });
        Bind(active, Right::Basic);
        stages->addWidget(active, k + 1, 0);
        stages->addWidget(TextCell(ff::kStageFrom + k, true, Right::Basic,
                                   [i](SetupForm& f) -> std::string& { return f.Stages[i].From; }),
                          k + 1, 1);
        stages->addWidget(UnitCombo(ff::kStageFromUnit + k,
                                    [i](SetupForm& f) -> int& { return f.StageFromUnit[i]; }),
                          k + 1, 2);
        stages->addWidget(TextCell(ff::kStageSpeed + k, true, Right::Basic,
                                   [i](SetupForm& f) -> std::string& { return f.Stages[i].Speed; }),
                          k + 1, 3);
        stages->addWidget(UnitCombo(ff::kStageSpeedUnit + k,
                                    [i](SetupForm& f) -> int& { return f.StageSpeedUnit[i]; }),
                          k + 1, 4);
    }

    auto* preload = new QHBoxLayout;
    auto* preloadLabel = Captioned(new QLabel, setup_text::kPreload);
    auto* preloadUnit = new QComboBox;
    preloadUnit->addItems({QStringLiteral("kN"), QStringLiteral("N"), QString()});
    fields_[ff::kPreloadUnit] = preloadUnit;
    writers_.push_back([this, preloadUnit](const SetupForm& form) {
        const QSignalBlocker quiet(preloadUnit);
        preloadUnit->setCurrentIndex(form.PreloadUnit);
    });
    readers_.push_back(
        [preloadUnit](SetupForm& form) { form.PreloadUnit = preloadUnit->currentIndex(); });
    Bind(preloadUnit, Right::Basic);
    connect(preloadUnit, &QComboBox::currentIndexChanged, this, &TBtnRightDlg::PreloadUnitChanged);
    QLineEdit* preloadValue = TextCell(F(SetupField::Preload), true, Right::Basic,
                                       [](SetupForm& f) -> std::string& { return f.Preload; });
    preloadLabel->setBuddy(preloadUnit);
    preload->addWidget(preloadLabel);
    preload->addWidget(preloadUnit);
    preload->addWidget(preloadValue);

    auto* setup = group(setup_text::kSetup);
    auto* setupForm = new QFormLayout(setup);
    Text(setupForm, setup_text::kPosition, F(SetupField::SetupPosition), true, Right::Basic,
         [](SetupForm& f) -> std::string& { return f.SetupPosition; });

    auto* hysteresis = group(setup_text::kHysteresis);
    hysteresisGroup_ = hysteresis;
    auto* hysteresisRow = new QHBoxLayout(hysteresis);
    QCheckBox* runAt = Check(setup_text::kRunAt, Right::Basic,
                             [](SetupForm& f) -> bool& { return f.HysteresisActive; });
    fields_[ff::kHysteresisActive] = runAt;
    hysteresisRow->addWidget(runAt);
    hysteresisRow->addWidget(TextCell(F(SetupField::Hysteresis), true, Right::Basic,
                                      [](SetupForm& f) -> std::string& { return f.Hysteresis; }));
    hysteresisRow->addWidget(new QLabel(QStringLiteral("%")));

    machineOffAtEnd_ = Check(setup_text::kMachineOffAtEnd, Right::Basic,
                             [](SetupForm& f) -> bool& { return f.MachineOffAtEnd; });

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(limits);
    layout->addLayout(stages);
    layout->addLayout(preload);
    layout->addWidget(setup);
    layout->addWidget(hysteresis);
    layout->addWidget(machineOffAtEnd_);
    layout->addStretch();
    return tab;
}

void TBtnRightDlg::PreloadUnitChanged(int unit) {
    if (unit < 0 || unit > 2) return;
    // Each unit keeps its own preload; the field shows the one of the chosen unit.
    if (auto* value = qobject_cast<QLineEdit*>(Field(F(SetupField::Preload)))) {
        value->setText(QString::fromStdString(
            FormatFixed(parameters_.PreloadValue[static_cast<std::size_t>(unit)], 0, 3)));
    }
}

bool TBtnRightDlg::PreloadEntryAccepted() {
    const SetupForm form = ReadForm();
    const CheckResult failure =
        CheckSetupPreload(form.PreloadUnit, form.Preload, ParseNumber(form.NominalForce));
    if (failure) ShowFailure(*failure);
    return !failure;
}

void TBtnRightDlg::AdjustTestTab() {
    const bool mpa = parameters_.UnitSystem == static_cast<std::int32_t>(UnitSystem::MPa);
    const QString stress = mpa ? QStringLiteral("MPa") : QStringLiteral("N/mm²");
    for (int k = 0; k < 5; ++k) {
        auto* from = qobject_cast<QComboBox*>(Field(ff::kStageFromUnit + k));
        auto* speed = qobject_cast<QComboBox*>(Field(ff::kStageSpeedUnit + k));
        from->setItemText(0, QStringLiteral("%"));
        from->setItemText(1, stress);
        from->setItemText(2, QStringLiteral("Sx"));
        speed->setItemText(0, QStringLiteral("mm/min"));
        speed->setItemText(1, QStringLiteral("%/min"));
        speed->setItemText(2, stress + QStringLiteral("/s"));
    }
    qobject_cast<QComboBox*>(Field(ff::kPreloadUnit))->setItemText(2, stress);

    // The end-of-test option opens with the access code just given, whatever its mode.
    machineOffAtEnd_->setEnabled(password_.Granted);

    const int type = parameters_.TestType;
    const bool forceMinimum = ForceMinimumType(type);
    const int minimumCaption = forceMinimum ? setup_text::kFminInTest : setup_text::kRminInTest;
    SetTextNumber(minimumLabel_, minimumCaption);
    minimumLabel_->setText(LoadText(minimumCaption, ui_.Texts.Base()));
    minimumUnit_->setText(forceMinimum ? QStringLiteral("N") : stress);
    hysteresisGroup_->setVisible(!forceMinimum && type != 9);
    if (type == 9) {
        qobject_cast<QCheckBox*>(Field(ff::kHysteresisActive))->setChecked(false);
    }
    if (!forceMinimum) return;
    // A single stage at a crosshead speed: the other rows are cleared and closed.
    auto* speedUnit = qobject_cast<QComboBox*>(Field(ff::kStageSpeedUnit));
    speedUnit->setCurrentIndex(0);
    speedUnit->setEnabled(false);
    for (int k = 1; k < 5; ++k) {
        auto* active = qobject_cast<QCheckBox*>(Field(ff::kStageActive + k));
        active->setChecked(false);
        active->setEnabled(false);
        for (int field : {ff::kStageFrom + k, ff::kStageSpeed + k}) {
            auto* edit = qobject_cast<QLineEdit*>(Field(field));
            edit->setText(QStringLiteral("0"));
            edit->setEnabled(false);
        }
        Field(ff::kStageFromUnit + k)->setEnabled(false);
        Field(ff::kStageSpeedUnit + k)->setEnabled(false);
    }
}

}  // namespace quorvex
