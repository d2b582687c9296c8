// The flexural-strength variant of the test-programme dialog: its own groups and unit lists,
// a refusal that names the range, and the test space stored on OK.
#include "setup/programme_bending_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "gui_test_support.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

class BendingProgrammeDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog.open();
        ASSERT_TRUE(dialog.isVisible());
    }
    void Ok() { QTest::mouseClick(dialog.OkButton(), Qt::LeftButton); }

    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    static ParameterSet Machine100kN() {
        ParameterSet p;
        p.NominalForceKn = 100;
        p.NominalTravelMm = 300;
        p.TestType = 8;
        return p;
    }
    ParameterSet parameters = Machine100kN();
    TVersuchsDlgBiegung dialog{ui, parameters};
};

TEST_F(BendingProgrammeDialog, ShowsItsOwnGroupsRefusesWithTheRangeAndStoresTheTestSpace) {
    EXPECT_FALSE(dialog.SamplingRate()->isVisible());
    EXPECT_EQ(dialog.StageFromUnit(1)->count(), 2);
    EXPECT_EQ(dialog.StageSpeedUnit(30)->itemText(1), QStringLiteral("N/sec"));
    EXPECT_EQ(dialog.StageSpeedUnit(30)->count(), 2);
    ASSERT_NE(dialog.TestSpace(), nullptr);
    EXPECT_EQ(dialog.TestSpace()->button(2)->text(), QStringLiteral("2 oben"));
    EXPECT_TRUE(dialog.TestSpace()->button(1)->isChecked());

    dialog.SetupPosition()->setText(QStringLiteral("0.4"));
    Ok();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Gültigkeitsbereich :  0.5 ...300.00 !"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.SetupPosition());
    EXPECT_DOUBLE_EQ(parameters.StartPosition, 100.0);

    dialog.SetupPosition()->setText(QStringLiteral("250"));
    dialog.TestSpace()->button(2)->click();
    Ok();
    ASSERT_FALSE(dialog.isVisible());
    EXPECT_EQ(parameters.TestSpace, 2);
    EXPECT_DOUBLE_EQ(parameters.StartPosition, 250.0);
}

}  // namespace
}  // namespace quorvex
