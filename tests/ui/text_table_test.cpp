// The text table: parsing, language bases, missing texts and the stored-text lengths.
#include "ui/text_table.h"

#include <gtest/gtest.h>

#include "ui/stored_texts.h"

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
    EXPECT_EQ(table.Text(7, 2000), QStringLiteral("Sept"));
    // A language that lacks a text shows the German one instead of a blank caption; the cell
    // itself stays empty, so the table check still sees the gap.
    EXPECT_EQ(table.Text(7, 1000), QStringLiteral("\tTab \\ Strich"));
    EXPECT_EQ(table.Text(5, 2000), QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(table.Cell(5, 2000), QString());
    EXPECT_EQ(table.Text(6, 1000), QString());
    EXPECT_EQ(table.Size(), 4);
    EXPECT_EQ(table.Numbers(), (QList<int>{5, 7}));
}

TEST(TextTable, CutsTextsAt255Characters) {
    const QByteArray longText(300, 'x');
    const TextTable table = TextTable::Parse("number\t0\n1\t" + longText + "\n");
    EXPECT_EQ(table.Text(1, 0).size(), 255);
    EXPECT_EQ(table.Text(1, 2000).size(), 255);
    EXPECT_EQ(table.Cell(1, 0).size(), 300);
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
    // Index 5 has no texts of its own; it shows German rather than blanks.
    EXPECT_EQ(BuiltInTextTable().Cell(345, 5000), QString());
    EXPECT_EQ(LoadText(345, 5000), QStringLiteral("Warnung"));
    // Every German text has its English counterpart.
    for (int number = 1; number <= 999; ++number) {
        if (!LoadText(number, 0).isEmpty()) {
            EXPECT_FALSE(BuiltInTextTable().Cell(number, 1000).isEmpty()) << number;
        }
    }
}

TEST(StoredTexts, TranslationsAreCutToTheirPlaces) {
    const QByteArray longText(100, 'm');
    const TextTable table = TextTable::Parse(
        "number\t0\t1000\n"
        "165\tkurz\t" +
        longText +
        "\n"
        "345\tWarnung\t" +
        longText +
        "\n"
        "999\tnicht gespeichert\tnot stored\n");
    StoredTexts stored(table);
    EXPECT_EQ(stored.Text(165), QStringLiteral("kurz"));
    stored.Apply(1000);
    EXPECT_EQ(stored.Text(165).size(), 80);
    EXPECT_EQ(stored.Text(345).size(), 30);
    // A number without a place of its own is read from the table as it stands.
    EXPECT_EQ(stored.Text(999), QStringLiteral("not stored"));
    EXPECT_EQ(stored.TitlePrefix(), QStringLiteral("QuorveX"));
    EXPECT_EQ(stored.Base(), 1000);
    // A language without the texts keeps the German ones, cut the same way.
    stored.Apply(2000);
    EXPECT_EQ(stored.Text(165), QStringLiteral("kurz"));
    EXPECT_EQ(stored.Text(345), QStringLiteral("Warnung"));
}

}  // namespace
}  // namespace quorvex
