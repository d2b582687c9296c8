// Operator message boxes: caption and icon by kind, buttons, line breaks, language.
#include <gtest/gtest.h>

#include <QAbstractButton>

#include "ui/operator_message.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

struct KindCase {
    MessageKind kind;
    const char* caption;
    QMessageBox::Icon icon;
};

TEST(OperatorMessage, CaptionAndIconFollowTheKind) {
    const KindCase cases[] = {
        {MessageKind::Warning, "Warnung", QMessageBox::Warning},
        {MessageKind::Error, "Fehler", QMessageBox::Warning},  // exclamation, not the stop sign
        {MessageKind::Information, "Information", QMessageBox::Information},
        {MessageKind::Confirmation, "Bestätigung", QMessageBox::Question},
        {MessageKind::Plain, "Information", QMessageBox::NoIcon},
    };
    StoredTexts texts;
    for (const KindCase& c : cases) {
        auto box = BuildOperatorMessageBox(QStringLiteral("x"), c.kind, MessageButtons::Ok, texts);
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(box->icon(), c.icon);
    }
}

TEST(OperatorMessage, ButtonsTextAndLanguage) {
    StoredTexts texts;
    auto ok = BuildOperatorMessageBox(QStringLiteral("eins\n\nzwei"), MessageKind::Error,
                                      MessageButtons::Ok, texts);
    EXPECT_EQ(ok->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(ok->text(), QStringLiteral("eins\n\nzwei"));
    EXPECT_EQ(ok->textFormat(), Qt::PlainText);

    texts.Apply(1000);
    auto yesNo = BuildOperatorMessageBox(QStringLiteral("?"), MessageKind::Warning,
                                         MessageButtons::YesNo, texts);
    EXPECT_EQ(yesNo->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yesNo->windowTitle(), QStringLiteral("Warning"));
}

}  // namespace
}  // namespace quorvex
