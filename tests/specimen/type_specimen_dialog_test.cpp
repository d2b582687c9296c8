// The small specimen dialogs of the other test types under the operator's hand: Enter walks
// the inputs and names a typing range, OK names the first refused acceptance range and keeps
// the dialog, Ctrl+K confirms for a new evaluation, F8 stops the machine.
#include "specimen/type_specimen_dialog.h"

#include <gtest/gtest.h>

#include <QTest>

#include "gui_test_support.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

class TypeSpecimenDialog : public ::testing::Test {
  protected:
    std::unique_ptr<TTypeSpecimenDlg> Open(int testType) {
        auto dialog = std::make_unique<TTypeSpecimenDlg>(ui, testType, parameters, current);
        dialog->open();
        QApplication::setActiveWindow(dialog.get());
        return dialog;
    }
    static void Type(QLineEdit* input, const char* text) {
        input->setFocus();
        input->setText(QString::fromUtf8(text));
        QTest::keyClick(input, Qt::Key_Return);
    }

    RecordedMessages messages;
    StoredTexts texts;
    int stops = 0;
    UiContext ui{messages, texts, [this] { ++stops; }, nullptr};
    ParameterSet parameters;
    ResultsRecord current;
};

TEST_F(TypeSpecimenDialog, ShearWidthPassesEnterButNotOkAndNothingIsTakenUntilAllPass) {
    parameters.Flat = {20, 1, 80, 120, 20};
    auto dialog = Open(3);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Probendaten"));
    ASSERT_EQ(dialog->DimensionCount(), 4u);
    EXPECT_EQ(dialog->focusWidget(), dialog->Dimension(0));  // the support distance first

    Type(dialog->Dimension(0), "30");
    EXPECT_EQ(dialog->focusWidget(), dialog->Dimension(1));
    Type(dialog->Dimension(1), "5");
    Type(dialog->Dimension(2), "0.3");  // inside the typing range 0.01 ... 800
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(dialog->focusWidget(), dialog->Dimension(3));
    Type(dialog->Dimension(3), "900.5");  // over 800: named, the focus stays
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Gültigkeitsbereich  0.01 ... 800.0 !"));
    EXPECT_EQ(dialog->focusWidget(), dialog->Dimension(3));
    Type(dialog->Dimension(3), "80");
    EXPECT_EQ(dialog->focusWidget(), dialog->SpecimenNo());

    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Gültigkeitsbereich 0.5 ... 200.0 !"));
    EXPECT_EQ(messages.shown.back().kind, MessageKind::Error);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), dialog->Dimension(2));
    EXPECT_FLOAT_EQ(parameters.Flat.b, 20);  // nothing taken

    Type(dialog->Dimension(2), "12");
    dialog->SpecimenNo()->setText(QStringLiteral("S-4"));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(parameters.Flat.b, 12);
    EXPECT_FLOAT_EQ(parameters.EffectiveLo, 30);
    EXPECT_FLOAT_EQ(parameters.EffectiveLc, 80);
    EXPECT_EQ(parameters.SpecimenNo, "S-4");
    EXPECT_FALSE(dialog->ConfirmedForReevaluation());
}

TEST_F(TypeSpecimenDialog, AStartWithAutomaticNumbersShowsTheNumberTheTestWillReceive) {
    parameters.SpecimenNo = "D-#12";  // the last test's number
    {
        auto plain = Open(9);  // the menu, or numbering off: the number as it stands
        EXPECT_EQ(plain->SpecimenNo()->text(), QStringLiteral("D-#12"));
    }
    auto dialog = std::make_unique<TTypeSpecimenDlg>(ui, 9, parameters, current);
    dialog->NumberingCounter = 12;
    dialog->open();
    EXPECT_EQ(dialog->SpecimenNo()->text(), QStringLiteral("D-#13"));
    dialog->reject();
    EXPECT_EQ(parameters.SpecimenNo, "D-#12");  // cancelled: nothing taken
}

TEST_F(TypeSpecimenDialog, CancelTakesNothingCtrlKAndTheUniversalOkAskForANewEvaluation) {
    auto compression = Open(9);
    Type(compression->Dimension(0), "10");
    Type(compression->Dimension(1), "20");
    QTest::keyClick(compression->Dimension(1), Qt::Key_F8);
    EXPECT_EQ(stops, 1);
    compression->reject();
    EXPECT_FLOAT_EQ(parameters.Round.d, 10);  // the default: nothing was taken
    EXPECT_NE(parameters.EffectiveLo, 20);

    compression = Open(9);
    Type(compression->Dimension(0), "12");
    QTest::keyClick(compression->Dimension(1), Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(compression->isVisible());
    EXPECT_TRUE(compression->ConfirmedForReevaluation());
    EXPECT_FLOAT_EQ(parameters.Round.d, 12);
    EXPECT_FLOAT_EQ(current.Results[0], 12);

    auto universal = Open(5);
    EXPECT_EQ(universal->focusWidget(), universal->SpecimenNo());
    EXPECT_EQ(universal->Dimension(0)->text(), QStringLiteral("1.00"));
    universal->Dimension(0)->setText(QStringLiteral("40"));
    QTest::mouseClick(universal->OkButton(), Qt::LeftButton);
    EXPECT_EQ(universal->result(), QDialog::Accepted);
    EXPECT_TRUE(universal->ConfirmedForReevaluation());
    EXPECT_DOUBLE_EQ(parameters.UniversalDivisor, 40);
}

}  // namespace
}  // namespace quorvex

namespace quorvex {
namespace {

// Compression and flexural specimens under the keyboard: Enter moves on with the next value
// selected, so that typing replaces it; Tab leaves a number field; Escape closes the dialog
// while a number field has the focus, taking nothing.
TEST_F(TypeSpecimenDialog, EnterSelectsTheNextValueTabLeavesAndEscapeCloses) {
    for (const int type : {9, 7}) {
        SCOPED_TRACE(type);
        parameters = ParameterSet{};
        auto dialog = Open(type);
        ASSERT_GE(dialog->DimensionCount(), 2u);
        QLineEdit* first = dialog->Dimension(0);
        QLineEdit* second = dialog->Dimension(1);
        second->setText(QStringLiteral("100.00"));
        first->setFocus();
        first->setText(QStringLiteral("12"));
        QTest::keyClick(first, Qt::Key_Return);
        ASSERT_EQ(dialog->focusWidget(), second);
        EXPECT_EQ(second->selectedText(), second->text());
        QTest::keyClicks(second, QStringLiteral("15"));
        EXPECT_EQ(second->text(), QStringLiteral("15"));  // not "100.0015"

        QTest::keyClick(second, Qt::Key_Tab);
        EXPECT_NE(dialog->focusWidget(), second);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(dialog->focusWidget(), second);

        const ParameterSet before = parameters;
        QTest::keyClick(second, Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(ParameterSetImage(parameters), ParameterSetImage(before));
    }
}

}  // namespace
}  // namespace quorvex
