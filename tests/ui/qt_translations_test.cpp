// Qt's own buttons in the operator's language, from Qt's real translation files: the Yes/No
// of an operator question, and Cancel, in each of the five languages of the text table.
#include "ui/qt_translations.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>

#include "ui/operator_message.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

QString ButtonText(QMessageBox& box, QMessageBox::StandardButton which) {
    QAbstractButton* button = box.button(which);
    return button ? button->text() : QString();
}

TEST(QtTranslations, QuestionsAnswerInEveryLanguage) {
    struct Case {
        int Language;
        const char* Yes;
        const char* No;
        const char* Cancel;
    };
    const Case cases[] = {
        {0, "&Ja", "&Nein", "Abbrechen"},      {1, "&Yes", "&No", "Cancel"},
        {2, "&Oui", "&Non", "Annuler"},        {3, "&Ja", "&Nee", "Annuleren"},
        {4, "&Sì", "&No", "Annulla"},
    };
    StoredTexts texts;
    QtTranslations translations;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Language);
        ASSERT_TRUE(translations.Apply(c.Language)) << "qtbase_" << QtLanguageCode(c.Language).toStdString()
                                                    << ".qm in "
                                                    << QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                                                           .toStdString();
        if (c.Language != 1) {
            EXPECT_TRUE(translations.LoadedFile().endsWith(QStringLiteral("qtbase_") +
                                                           QtLanguageCode(c.Language) +
                                                           QStringLiteral(".qm")));
        }
        auto box = BuildOperatorMessageBox(QStringLiteral("?"), MessageKind::Confirmation,
                                           MessageButtons::YesNo, texts, nullptr);
        EXPECT_EQ(ButtonText(*box, QMessageBox::Yes), QString::fromUtf8(c.Yes));
        EXPECT_EQ(ButtonText(*box, QMessageBox::No), QString::fromUtf8(c.No));
        box->setStandardButtons(QMessageBox::Cancel);
        EXPECT_EQ(ButtonText(*box, QMessageBox::Cancel), QString::fromUtf8(c.Cancel));
    }
    // Without the file Qt's texts are English again, and the previous language is gone.
    EXPECT_FALSE(translations.Apply(2, QDir::tempPath() + QStringLiteral("/no-such-directory")));
    EXPECT_TRUE(translations.LoadedFile().isEmpty());
    auto box = BuildOperatorMessageBox(QStringLiteral("?"), MessageKind::Confirmation,
                                       MessageButtons::YesNo, texts, nullptr);
    EXPECT_EQ(ButtonText(*box, QMessageBox::Yes), QStringLiteral("&Yes"));
    EXPECT_EQ(QtLanguageCode(5), QStringLiteral("de"));
    EXPECT_EQ(QtLanguageCode(-1), QStringLiteral("de"));
}

}  // namespace
}  // namespace quorvex
