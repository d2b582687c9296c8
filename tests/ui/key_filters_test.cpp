// Number fields take only the keys of their rule; the rule is the core's.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "evaluation/text_functions.h"
#include "ui/key_filters.h"

namespace quorvex {
namespace {

TEST(KeyFilters, RulesAgreeWithTheCoreForEveryAsciiKey) {
    for (int c = 1; c < 128; ++c) {
        const char key = static_cast<char>(c);
        EXPECT_EQ(DecimalKeyRule(QChar(c)).unicode(), static_cast<unsigned char>(DecimalKeyFilter(key))) << c;
        EXPECT_EQ(IntegerKeyRule(QChar(c)).unicode(), static_cast<unsigned char>(IntegerKeyFilter(key))) << c;
    }
    EXPECT_TRUE(DecimalKeyRule(QChar(u'ä')).isNull());
}

TEST(KeyFilters, TypedTextPassesThroughTheFilter) {
    QLineEdit decimal;
    AttachDecimalKeyFilter(&decimal);
    QTest::keyClicks(&decimal, QStringLiteral("1,5a -2e"));
    EXPECT_EQ(decimal.text(), QStringLiteral("1.5-2"));
    QTest::keyClick(&decimal, Qt::Key_Backspace);
    QTest::keyClick(&decimal, Qt::Key_Left);
    QTest::keyClick(&decimal, Qt::Key_Delete);
    EXPECT_EQ(decimal.text(), QStringLiteral("1.5"));

    QLineEdit integer;
    AttachIntegerKeyFilter(&integer);
    QTest::keyClicks(&integer, QStringLiteral("+12.3x,-"));
    EXPECT_EQ(integer.text(), QStringLiteral("+123-"));
}

// Tab leaves a number field, Shift+Tab goes back with the text selected for overtyping, and
// Escape closes the dialog while a number field has the focus.
TEST(KeyFilters, TabAndEscapeReachTheDialog) {
    QDialog dialog;
    auto* first = new QLineEdit(QStringLiteral("12.5"), &dialog);
    auto* second = new QLineEdit(QStringLiteral("100.0"), &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(first);
    layout->addWidget(second);
    AttachDecimalKeyFilter(first);
    AttachIntegerKeyFilter(second);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(dialog.focusWidget(), second);
    EXPECT_EQ(second->selectedText(), QStringLiteral("100.0"));
    QTest::keyClick(second, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(dialog.focusWidget(), first);
    EXPECT_EQ(first->text(), QStringLiteral("12.5"));
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace quorvex
