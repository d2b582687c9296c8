// The text table: parsing, language bases, missing texts and the stored-text lengths.
#include <gtest/gtest.h>

#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

TEST(TextTable, ParsesColumnsByBaseWithEscapes) {
    const TextTable table = TextTable::Parse(
        "# comment\n"
        "number\t0\t1000\t2000\r\n"
        "5\tZeile 1\\nZeile 2\tLine\t\n"
        "7\t\\tTab \\\\ Strich\t\tSept\n"
        "garbage line\n"
        "1000\ttoo big\n");
    EXPECT_EQ(table.Text(5, 0), QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(table.Text(5, 1000), QStringLiteral("Line"));
    EXPECT_EQ(table.Text(7, 0), QStringLiteral("\tTab \\ Strich"));
    // No fall-back to German when a language lacks a text.
    EXPECT_EQ(table.Text(7, 1000), QString());
    EXPECT_EQ(table.Text(7, 2000), QStringLiteral("Sept"));
    EXPECT_EQ(table.Text(5, 2000), QString());
    EXPECT_EQ(table.Size(), 4);
}

TEST(TextTable, CutsTextsAt255Characters) {
    const QByteArray longText(300, 'x');
    const TextTable table = TextTable::Parse("number\t0\n1\t" + longText + "\n");
    EXPECT_EQ(table.Text(1, 0).size(), 255);
}

TEST(TextTable, LanguageIndexGivesItsBase) {
    const int expected[] = {0, 1000, 2000, 3000, 10000, 5000};
    for (int index = 0; index < 6; ++index) EXPECT_EQ(LanguageBase(index), expected[index]);
    EXPECT_EQ(LanguageBase(-1), 0);
    EXPECT_EQ(LanguageBase(6), 0);
}

TEST(TextTable, BuiltInTableHoldsGermanAndEnglish) {
    EXPECT_EQ(LoadText(53, 0), QStringLiteral("Programm EN10002 wird bereits ausgeführt."));
    EXPECT_EQ(LoadText(345, 0), QStringLiteral("Warnung"));
    EXPECT_EQ(LoadText(345, 1000), QStringLiteral("Warning"));
    EXPECT_EQ(LoadText(481, 0), QStringLiteral("&Resultate-Projekt öffnen"));
    EXPECT_EQ(LoadText(652, 0), QStringLiteral("Biegefestigkeit nach EN 12372 / EN 12390"));
    // Index 5 has no texts at all.
    EXPECT_EQ(LoadText(345, 5000), QString());
    // Every German text has its English counterpart.
    for (int number = 1; number <= 999; ++number) {
        if (!LoadText(number, 0).isEmpty()) {
            EXPECT_FALSE(LoadText(number, 1000).isEmpty()) << number;
        }
    }
}

TEST(StoredTexts, TranslationsAreCutToTheirPlaces) {
    const QByteArray longText(100, 'm');
    const TextTable table = TextTable::Parse("number\t0\t1000\n"
                                             "165\tkurz\t" + longText + "\n"
                                             "345\tWarnung\t" + longText + "\n"
                                             "999\tnicht gespeichert\tnot stored\n");
    StoredTexts stored(table);
    EXPECT_EQ(stored.Text(165), QStringLiteral("kurz"));
    stored.Apply(1000);
    EXPECT_EQ(stored.Text(165).size(), 80);
    EXPECT_EQ(stored.Text(345).size(), 30);
    EXPECT_EQ(stored.Text(999), QString());
    EXPECT_EQ(stored.TitlePrefix(), QStringLiteral("QuorveX"));
    EXPECT_EQ(stored.Base(), 1000);
}

}  // namespace
}  // namespace quorvex
