// The completeness check of the text table on small tables with one fault each.
#include "ui/text_table_check.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

const QByteArray kHeader = "number\t0\t1000\t2000\t3000\t10000\t4000\n";

TEST(TextTableCheck, AcceleratorsAndPlaceholdersAreFound) {
    EXPECT_EQ(AcceleratorOf(QStringLiteral("Pr&obe")), QChar(u'o'));
    EXPECT_EQ(AcceleratorOf(QStringLiteral("&Datei")), QChar(u'd'));
    EXPECT_EQ(AcceleratorOf(QStringLiteral("A && B")), QChar());
    EXPECT_EQ(AcceleratorOf(QStringLiteral("A && &B")), QChar(u'b'));
    EXPECT_EQ(AcceleratorOf(QStringLiteral("Ende&")), QChar());
    EXPECT_EQ(PlaceholdersOf(QStringLiteral("%2 von %1, 5 % mehr")),
              (QStringList{QStringLiteral("%1"), QStringLiteral("%2")}));
}

TEST(TextTableCheck, ACompleteTableHasNoFaults) {
    const TextTable table =
        TextTable::Parse(kHeader +
                         "1\t&Datei\t&File\t&Fichier\t&Bestand\t&File\t\n"
                         "2\t&Laden\t&Load\t&Charger\tL&aden\t&Carica\t\n"
                         "810\t%1 Zeilen\t%1 rows\t%1 lignes\t%1 rijen\t%1 righe\t\n");
    EXPECT_EQ(CheckTextTable(table, {{1, 2}}), QStringList());
}

TEST(TextTableCheck, EachFaultNamesItsRowAndLanguage) {
    const QByteArray longText(31, 'x');
    const TextTable table = TextTable::Parse(
        kHeader +
        // Dutch missing, Italian only blanks.
        "5\tProbe\tSpecimen\tÉprouvette\t\t  \t\n"
        // A message caption is kept in 30 characters.
        "345\tWarnung\tWarning\t" +
        longText +
        "\tWaarschuwing\tAvviso\t\n"
        // The placeholder lost in French.
        "810\t%1 Zeilen\t%1 rows\tlignes\t%1 rijen\t%1 righe\t\n"
        // Two items of one menu share "f" in English; the unreached set holds a text.
        "1\t&Datei\t&File\t&Fichier\t&Bestand\t&File\tx\n"
        "2\t&Laden\t&Fetch\t&Charger\tL&aden\t&Carica\t\n");
    const QStringList faults = CheckTextTable(table, {{1, 2}});
    const QStringList expected = {
        QStringLiteral("text 1 (base 4000): this set stays empty"),
        QStringLiteral("text 5 (Dutch): no text; translate the row"),
        QStringLiteral("text 5 (Italian): no text; translate the row"),
        QStringLiteral("text 345 (French): 31 characters, at most 30 are kept"),
        QStringLiteral("text 810 (French): placeholders  differ from German %1"),
        QStringLiteral("text 2 (English): accelerator \"f\" already belongs to text 1"),
    };
    EXPECT_EQ(faults, expected) << faults.join(u'\n').toStdString();
}

}  // namespace
}  // namespace quorvex
