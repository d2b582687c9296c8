// The screw specimen dialog under the operator's hand: the lists recompose As and the
// designation at once, do shows So on Enter, OK names the first refused range after text 567.
#include "specimen/screw_specimen_dialog.h"

#include <gtest/gtest.h>

#include <QTest>

#include "gui_test_support.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

class ScrewDialog : public ::testing::Test {
  protected:
    void Open(int testType) {
        dialog = std::make_unique<TProbenDatenDlg>(ui, testType, parameters, table, current);
        dialog->open();
        QApplication::setActiveWindow(dialog.get());
    }
    static void Type(QLineEdit* input, const char* text) {
        input->setFocus();
        input->setText(QString::fromUtf8(text));
        QTest::keyClick(input, Qt::Key_Return);
    }

    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, [] {}, nullptr};
    ParameterSet parameters;
    UserScrewTable table;
    ResultsRecord current;
    std::unique_ptr<TProbenDatenDlg> dialog;
};

TEST_F(ScrewDialog, AWholeM10ScrewOfClass88TakesItsStressAreaAndDesignation) {
    parameters.StressAreaFlag = 1;
    parameters.ThreadSizeIndex = 7;  // M10
    parameters.StrengthClassIndex = 10;
    Open(1);
    EXPECT_EQ(dialog->Classes()->currentText(), QStringLiteral("12.9"));
    EXPECT_EQ(dialog->AsField()->text(), QStringLiteral("58.00 mm²"));
    EXPECT_EQ(dialog->Designation()->text(), QStringLiteral("M10x1.5/12.9"));
    dialog->Classes()->setCurrentIndex(7);
    EXPECT_EQ(dialog->Designation()->text(), QStringLiteral("M10x1.5/8.8"));
    dialog->ThreadForms()->button(1)->click();
    EXPECT_EQ(dialog->AsField()->text(), QStringLiteral("64.50 mm²"));
    dialog->ThreadForms()->button(0)->click();

    Type(dialog->Input(ScrewField::WholeLo), "40");
    EXPECT_EQ(dialog->Input(ScrewField::WholeLo)->text(), QStringLiteral("40.0"));
    EXPECT_EQ(dialog->focusWidget(), dialog->Input(ScrewField::WholeLc));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(parameters.EffectiveSo, 58);
    EXPECT_FLOAT_EQ(parameters.EffectiveLo, 40);
    EXPECT_EQ(current.Remark, "M10x1.5/8.8");
}

TEST_F(ScrewDialog, DoShowsSoAtOnceAndAWholeScrewWithoutDoIsRefused) {
    parameters.StressAreaFlag = 0;
    Open(1);
    Type(dialog->Input(ScrewField::TurnedDiameter), "10");
    EXPECT_EQ(dialog->Input(ScrewField::TurnedDiameter)->text(), QStringLiteral("10.000"));
    EXPECT_EQ(dialog->SoField()->text(), QStringLiteral("78.54 mm²"));
    EXPECT_EQ(dialog->focusWidget(), dialog->Input(ScrewField::TurnedLo));
    Type(dialog->Input(ScrewField::TurnedLo), "1000");
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Ungültige Eingabe! 1.0 ... 999.0 !"));
    dialog->reject();
    EXPECT_FLOAT_EQ(parameters.Round.d, 10);  // the default: nothing taken

    parameters.StressAreaFlag = 1;
    parameters.Round.d = 0;
    Open(2);
    EXPECT_EQ(dialog->Classes()->count(), 24);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Ungültige Eingabe! 1.0 ... 200.0 !"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), dialog->Input(ScrewField::TurnedDiameter));
}

}  // namespace
}  // namespace quorvex
