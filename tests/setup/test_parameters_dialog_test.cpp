// The setup dialog in its test-parameter mode and the test-programme dialog: the fields as
// each test type shows them, their checks on OK and on Enter, and what OK stores.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "gui_test_support.h"
#include "setup/programme_dialog.h"
#include "setup/setup_dialog.h"
#include "test_doubles.h"
#include "ui/password_dialog.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

namespace ff = form_field;

int F(SetupField field) {
    return static_cast<int>(field);
}

class TestParametersDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        parameters.TransverseLimitMm = 0.5;
        parameters.NominalForceKn = 100;
        parameters.NominalTravelMm = 300;
        dialog.Mode = TBtnRightDlg::kTestParameterMode;
    }
    void Open(int testType) {
        parameters.TestType = testType;
        dialog.OperatorUnlocked = true;
        dialog.open();
        ASSERT_TRUE(dialog.isVisible());
    }
    QLineEdit* Edit(int field) { return qobject_cast<QLineEdit*>(dialog.Field(field)); }
    QComboBox* Combo(int field) { return qobject_cast<QComboBox*>(dialog.Field(field)); }
    QCheckBox* Box(int field) { return qobject_cast<QCheckBox*>(dialog.Field(field)); }
    void Ok() { QTest::mouseClick(dialog.OkButton(), Qt::LeftButton); }

    RecordedMessages messages;
    StoredTexts texts;
    int stops = 0;
    UiContext ui{messages, texts, [this] { ++stops; }, nullptr};
    ParameterSet parameters;
    MachineConfig machine;
    TPasswordDlg password{ui, nullptr};
    TBtnRightDlg dialog{ui, parameters, machine, password};
};

TEST_F(TestParametersDialog, EachTestTypeLabelsTheMinimumAndShapesTheProgramme) {
    struct Case {
        int type;
        std::int32_t unitSystem;
        const char* minimum;
        const char* unit;
        bool hysteresisShown;
        bool allStages;
    };
    const Case cases[] = {
        {0, 0, "Rmin im Versuch", "N/mm²", true, true},
        {1, 1, "Rmin im Versuch", "MPa", true, true},
        {3, 0, "Fmin im Versuch", "N", false, false},
        {4, 1, "Fmin im Versuch", "N", false, false},
        {9, 0, "Rmin im Versuch", "N/mm²", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        parameters.UnitSystem = c.unitSystem;
        parameters.HysteresisActive = 1;
        for (SpeedStage& stage : parameters.Stages) {
            stage = {1, 5.0, 2, 10.0, 3};
        }
        Open(c.type);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Versuch"));
        EXPECT_EQ(dialog.Tabs()->tabText(0), QStringLiteral("Parameter"));
        EXPECT_EQ(dialog.MinimumLabel()->text(), QString::fromUtf8(c.minimum));
        EXPECT_EQ(dialog.MinimumUnitLabel()->text(), QString::fromUtf8(c.unit));
        EXPECT_EQ(dialog.HysteresisGroup()->isVisibleTo(&dialog), c.hysteresisShown);

        // The stress items follow the parameter set's unit.
        const QString stress = c.unitSystem == 1 ? "MPa" : "N/mm²";
        EXPECT_EQ(Combo(ff::kStageFromUnit + 1)->itemText(1), stress);
        EXPECT_EQ(Combo(ff::kStageSpeedUnit + 1)->itemText(2), stress + "/s");
        EXPECT_EQ(Combo(ff::kPreloadUnit)->itemText(2), stress);

        // Even the master key leaves the closed rows closed.
        QTest::keyClick(&dialog, Qt::Key_F12, Qt::AltModifier);
        EXPECT_EQ(Combo(ff::kStageSpeedUnit)->isEnabled(), c.allStages);
        EXPECT_EQ(Combo(ff::kStageSpeedUnit)->currentText(),
                  c.allStages ? stress + "/s" : QStringLiteral("mm/min"));
        for (int k = 1; k < 5; ++k) {
            EXPECT_EQ(Box(ff::kStageActive + k)->isChecked(), c.allStages) << k;
            EXPECT_EQ(Box(ff::kStageActive + k)->isEnabled(), c.allStages) << k;
            EXPECT_EQ(Edit(ff::kStageSpeed + k)->text(),
                      c.allStages ? QStringLiteral("10.000") : QStringLiteral("0"));
        }
        Ok();
        ASSERT_FALSE(dialog.isVisible())
            << (messages.shown.empty() ? "" : messages.shown.back().text.toStdString());
        EXPECT_EQ(parameters.Stages[1].StageActive, c.allStages ? 1 : 0);
        EXPECT_EQ(parameters.Stages[0].StageSpeedUnit, c.allStages ? 3 : 1);
        EXPECT_EQ(parameters.HysteresisActive, c.type == 9 ? 0 : 1);
    }
}

TEST_F(TestParametersDialog, ARefusedStageNamesItsRangeAndOkStoresTheProgramme) {
    Open(6);
    Box(ff::kStageActive + 1)->setChecked(true);
    Edit(ff::kStageFrom + 1)->setText(QStringLiteral("12.5"));
    Combo(ff::kStageFromUnit + 1)->setCurrentIndex(1);
    Edit(ff::kStageSpeed + 1)->setText(QStringLiteral("-1001"));
    Combo(ff::kStageSpeedUnit + 1)->setCurrentIndex(2);
    Ok();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Gültigkeitsbereich  -1000 ... 1000.0 !"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.Field(ff::kStageSpeed + 1));
    EXPECT_EQ(parameters.Stages[1].StageActive, 0);  // nothing stored

    // The setup position must lie within 1 % .. 95 % of the nominal travel.
    Edit(ff::kStageSpeed + 1)->setText(QStringLiteral("-1000"));
    Edit(F(SetupField::SetupPosition))->setText(QStringLiteral("2.9"));
    Ok();
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Gültigkeitsbereich 3.00 ... 285.00 !"));
    EXPECT_EQ(dialog.focusWidget(), dialog.Field(F(SetupField::SetupPosition)));

    Edit(F(SetupField::SetupPosition))->setText(QStringLiteral("42.25"));
    Combo(ff::kPreloadUnit)->setCurrentIndex(1);
    EXPECT_EQ(Edit(F(SetupField::Preload))->text(), QStringLiteral("20.000"));  // its own value
    Edit(F(SetupField::Preload))->setText(QStringLiteral("150"));
    Box(ff::kHysteresisActive)->setChecked(true);
    Edit(F(SetupField::Hysteresis))->setText(QStringLiteral("1.5"));
    Ok();
    ASSERT_FALSE(dialog.isVisible());
    const SpeedStage& stage = parameters.Stages[1];
    EXPECT_EQ(stage.StageActive, 1);
    EXPECT_DOUBLE_EQ(stage.StageFrom, 12.5);
    EXPECT_EQ(stage.StageFromUnit, 2);
    EXPECT_DOUBLE_EQ(stage.StageSpeed, -1000);
    EXPECT_EQ(stage.StageSpeedUnit, 3);
    EXPECT_DOUBLE_EQ(parameters.StartPosition, 42.25);
    EXPECT_EQ(parameters.PreloadUnit, 1);
    EXPECT_FLOAT_EQ(parameters.PreloadValue[1], 150);
    EXPECT_FLOAT_EQ(parameters.PreloadValue[0], 0.2f);  // the other units keep theirs
    EXPECT_EQ(parameters.HysteresisActive, 1);
    EXPECT_DOUBLE_EQ(parameters.HysteresisPercent, 1.5);
}

TEST_F(TestParametersDialog, MachineOffAtTheEndIsOnTheTestTabOfEveryTypeAndNeedsACode) {
    for (int type : {0, 2, 3, 4, 6, 9}) {
        for (bool granted : {false, true}) {
            SCOPED_TRACE(::testing::Message() << type << (granted ? " granted" : " locked"));
            password.Granted = granted;
            parameters.MachineOffAtEnd = 1;
            Open(type);
            QCheckBox* off = dialog.MachineOffAtEnd();
            ASSERT_NE(off, nullptr);
            EXPECT_TRUE(off->isChecked());
            EXPECT_EQ(off->isEnabled(), granted);
            off->setChecked(false);
            ParameterSet stored = parameters;
            StoreTestFields(dialog.ReadForm(), stored);
            EXPECT_EQ(stored.MachineOffAtEnd, 0);
            dialog.reject();
        }
    }
}

TEST_F(TestParametersDialog, EnterInThePreloadChecksItsBoundBeforeMovingOn) {
    Open(0);
    QLineEdit* preload = Edit(F(SetupField::Preload));
    preload->setFocus();
    preload->setText(QStringLiteral("10.5"));  // kN on a 100 kN machine
    QTest::keyClick(preload, Qt::Key_Return);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Gültigkeitsbereich  0.0 ... 10% * Nennkraft !"));
    EXPECT_EQ(dialog.focusWidget(), preload);
    preload->setText(QStringLiteral("10"));
    QTest::keyClick(preload, Qt::Key_Return);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(dialog.focusWidget(), preload);
    dialog.reject();
    EXPECT_FLOAT_EQ(parameters.PreloadValue[0], 0.2f);  // Cancel changes nothing
}

}  // namespace
}  // namespace quorvex

namespace quorvex {
namespace {

class ProgrammeDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        parameters.NominalForceKn = 100;
        parameters.NominalTravelMm = 300;
        parameters.TestType = 5;
        dialog.open();
        ASSERT_TRUE(dialog.isVisible());
    }
    void Ok() { QTest::mouseClick(dialog.OkButton(), Qt::LeftButton); }
    QString LastMessage() const {
        return messages.shown.empty() ? QString() : messages.shown.back().text;
    }

    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    ParameterSet parameters;
    TVersuchsDlg dialog{ui, parameters};
};

TEST_F(ProgrammeDialog, MachineOffAtTheEndFollowsTheAccessCode) {
    for (bool granted : {false, true}) {
        dialog.EndOptionsGranted = granted;
        dialog.FormShow();
        EXPECT_EQ(dialog.MachineOffAtEnd()->isEnabled(), granted);
    }
}

TEST_F(ProgrammeDialog, RefusalsNameTheRangeShowTheFieldAndOkStoresTheProgramme) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Versuch"));
    EXPECT_EQ(dialog.StagePages()->count(), 6);

    dialog.SetupPosition()->setText(QStringLiteral("0.4"));
    Ok();
    EXPECT_EQ(LastMessage(), QStringLiteral("Gültigkeitsbereich :  0.5 ...300.00 !"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.SetupPosition());

    // A stage on a later page: its page is shown and its speed focused.
    dialog.SetupPosition()->setText(QStringLiteral("300"));
    dialog.StageActive(12)->setChecked(true);
    dialog.StageFrom(12)->setText(QStringLiteral("4.5"));
    dialog.StageSpeed(12)->setText(QStringLiteral("-20001"));
    dialog.StageSpeedUnit(12)->setCurrentIndex(2);
    Ok();
    EXPECT_EQ(LastMessage(), QStringLiteral("Gültigkeitsbereich :  -20000 ... 20000.0 !"));
    EXPECT_EQ(dialog.StagePages()->currentIndex(), 2);
    EXPECT_EQ(dialog.focusWidget(), dialog.StageSpeed(12));

    // Break channel 1 relabels the value and takes it in N as the label says: at least 10 N
    // (a ten-thousandth of 100 kN), and the refusal names the range in N.
    dialog.StageSpeed(12)->setText(QStringLiteral("-20000"));
    QTest::mouseClick(dialog.BreakChannels()->button(1), Qt::LeftButton, {},
                      QPoint(6, dialog.BreakChannels()->button(1)->height() / 2));
    EXPECT_EQ(dialog.BreakLabel()->text(), QStringLiteral("Delta-F"));
    EXPECT_EQ(dialog.BreakUnitLabel()->text(), QStringLiteral("N"));
    dialog.BreakValue()->setText(QStringLiteral("9"));
    Ok();
    EXPECT_EQ(LastMessage(), QStringLiteral("Gültigkeitsbereich : 10.0 ... 100000.0 N !"));
    EXPECT_EQ(dialog.focusWidget(), dialog.BreakValue());

    dialog.BreakValue()->setText(QStringLiteral("10"));
    dialog.Preload()->setText(QStringLiteral("10.5"));  // kN
    Ok();
    EXPECT_EQ(LastMessage(), QStringLiteral("Gültigkeitsbereich :  0.0 ... 10%  !"));
    EXPECT_EQ(dialog.focusWidget(), dialog.Preload());
    EXPECT_EQ(parameters.Stages[11].StageActive, 0);  // nothing stored yet

    dialog.Preload()->setText(QStringLiteral("10"));
    dialog.EndStage()->setValue(12);
    dialog.SamplingRate()->setCurrentIndex(3);
    Ok();
    ASSERT_FALSE(dialog.isVisible()) << LastMessage().toStdString();
    const SpeedStage& stage = parameters.Stages[11];
    EXPECT_EQ(stage.StageActive, 1);
    EXPECT_DOUBLE_EQ(stage.StageFrom, 4.5);
    EXPECT_DOUBLE_EQ(stage.StageSpeed, -20000);
    EXPECT_EQ(stage.StageSpeedUnit, 3);
    EXPECT_DOUBLE_EQ(parameters.StartPosition, 300);
    EXPECT_EQ(parameters.BreakChannel, 1);
    EXPECT_FLOAT_EQ(parameters.BreakDropPercent, 10.0f);
    EXPECT_FLOAT_EQ(parameters.PreloadValue[0], 10);
    EXPECT_EQ(parameters.EndStage, 12);
    EXPECT_EQ(parameters.SamplingIndex, 3);

    // Cancel leaves everything as it was; the dialog shows the stored programme again.
    dialog.open();
    EXPECT_EQ(dialog.BreakLabel()->text(), QStringLiteral("Delta-F"));
    dialog.StageActive(12)->setChecked(false);
    dialog.reject();
    EXPECT_EQ(parameters.Stages[11].StageActive, 1);
}

}  // namespace
}  // namespace quorvex
