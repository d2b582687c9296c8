// Number fields take only the keys of their rule; the rule is the core's.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

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

}  // namespace
}  // namespace quorvex
