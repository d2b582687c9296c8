// The access-code dialog, the language dialog, the information box and the dialog base.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "gui_test_support.h"
#include "ui/about_box.h"
#include "ui/language_dialog.h"
#include "ui/password_dialog.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

class DialogTest : public testing::Test {
protected:
    RecordedMessages messages;
    StoredTexts texts;
    int stops = 0;
    UiContext ui{messages, texts, [this] { ++stops; }, nullptr};
};

// Opens the dialog without blocking, types the entry and presses Enter (OK).
void TypeCode(TPasswordDlg& dialog, const QString& entry) {
    dialog.open();
    QTest::keyClicks(dialog.Entry(), entry);
    QTest::keyClick(dialog.Entry(), Qt::Key_Return);
}

TEST_F(DialogTest, PasswordGrantsOnlyTheExactCode) {
    TPasswordDlg dialog(ui, nullptr);
    dialog.Mode = 1;
    TypeCode(dialog, QStringLiteral("2704 "));
    EXPECT_FALSE(dialog.Granted);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Ungültiges Passwort!"));
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(dialog.Entry()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);  // the dialog closes either way

    TypeCode(dialog, QStringLiteral("2704"));
    EXPECT_TRUE(dialog.Granted);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Passwort"));
    EXPECT_EQ(messages.shown.size(), 1u);

    // The next use starts empty and not granted; Cancel leaves it so.
    dialog.open();
    EXPECT_FALSE(dialog.Granted);
    EXPECT_TRUE(dialog.Entry()->text().isEmpty());
    QTest::keyClicks(dialog.Entry(), QStringLiteral("2704"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.Granted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogTest, MasterCodeModeHasItsOwnCaptionAndMessage) {
    TPasswordDlg dialog(ui, nullptr);
    dialog.Mode = 2;
    TypeCode(dialog, QStringLiteral("2704"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Master-Code"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Ungültiger Master-Code!"));
    TypeCode(dialog, QStringLiteral("qm418"));
    EXPECT_TRUE(dialog.Granted);
    dialog.Mode = 3;
    TypeCode(dialog, QStringLiteral("5391"));
    EXPECT_TRUE(dialog.Granted);
}

TEST_F(DialogTest, F8StopsTheMachineFromADialog) {
    TPasswordDlg dialog(ui, nullptr);
    dialog.open();
    QTest::keyClick(dialog.Entry(), Qt::Key_F8);
    EXPECT_EQ(stops, 1);
    TAboutBox about(ui, nullptr);
    about.open();
    QTest::keyClick(&about, Qt::Key_F8);
    EXPECT_EQ(stops, 2);
    EXPECT_FALSE(about.UserLine()->isVisible());
    about.close();
    dialog.close();
}

// Clicks on the radio's mark, where a click selects it.
void ClickRadio(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

TEST_F(DialogTest, LanguageDialogPreselectsAndReturnsTheChoice) {
    TSpracheDlg dialog(ui, nullptr);
    dialog.ItemIndex = 3;
    dialog.open();
    const auto radios = dialog.findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 5);
    EXPECT_TRUE(radios[3]->isChecked());
    EXPECT_EQ(radios[1]->text(), QStringLiteral("English"));
    EXPECT_EQ(dialog.y(), 10);
    ClickRadio(radios[1]);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ItemIndex, 1);

    dialog.open();
    ClickRadio(radios[4]);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.ItemIndex, 1);
}

}  // namespace
}  // namespace quorvex
