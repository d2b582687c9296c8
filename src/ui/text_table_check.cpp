// Finds untranslated, over-long and inconsistent rows of the text table.
#include "ui/text_table_check.h"

#include <QHash>
#include <QRegularExpression>

#include "ui/stored_texts.h"

namespace quorvex {
namespace {

QString LanguageName(int base) {
    for (std::size_t i = 0; i < kOfferedLanguageBases.size(); ++i) {
        if (kOfferedLanguageBases[i] == base) return QString::fromLatin1(kLanguageNames[i]);
    }
    return QString::number(base);
}

QString Row(int number, int base) {
    return QStringLiteral("text %1 (%2)").arg(number).arg(LanguageName(base));
}

// The longest text a number may hold: its stored length, or the table's limit.
int AllowedLength(int number) {
    const int stored = StoredTexts::MaxLength(number);
    return stored > 0 ? stored : kMaxTextLength;
}

void CheckRow(const TextTable& table, int number, QStringList& faults) {
    const QStringList germanPlaceholders = PlaceholdersOf(table.Cell(number, 0));
    for (const int base : kOfferedLanguageBases) {
        const QString text = table.Cell(number, base);
        if (text.trimmed().isEmpty()) {
            faults << Row(number, base) + QStringLiteral(": no text; translate the row");
            continue;
        }
        if (text.size() > AllowedLength(number)) {
            faults << Row(number, base) + QStringLiteral(": %1 characters, at most %2 are kept")
                                              .arg(text.size())
                                              .arg(AllowedLength(number));
        }
        if (PlaceholdersOf(text) != germanPlaceholders) {
            faults << Row(number, base) +
                          QStringLiteral(": placeholders %1 differ from German %2")
                              .arg(PlaceholdersOf(text).join(u' '), germanPlaceholders.join(u' '));
        }
    }
    if (!table.Cell(number, kUnreachedBase).isEmpty()) {
        faults << QStringLiteral("text %1 (base %2): this set stays empty")
                      .arg(number)
                      .arg(kUnreachedBase);
    }
}

void CheckGroup(const TextTable& table, const QList<int>& group, QStringList& faults) {
    for (const int base : kOfferedLanguageBases) {
        QHash<QChar, int> owner;  // accelerator letter -> text number that has it first
        for (const int number : group) {
            const QChar letter = AcceleratorOf(table.Cell(number, base));
            if (letter.isNull()) continue;
            if (owner.contains(letter)) {
                faults << Row(number, base) +
                              QStringLiteral(": accelerator \"%1\" already belongs to text %2")
                                  .arg(letter)
                                  .arg(owner.value(letter));
            } else {
                owner.insert(letter, number);
            }
        }
    }
}

}  // namespace

QChar AcceleratorOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] == u'&') {
            ++i;  // "&&" is a plain "&"
            continue;
        }
        return caption[i + 1].toLower();
    }
    return QChar();
}

QStringList PlaceholdersOf(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text)) {
        found << match.captured();
    }
    found.sort();
    return found;
}

QStringList CheckTextTable(const TextTable& table, const QList<QList<int>>& acceleratorGroups) {
    QStringList faults;
    for (const int number : table.Numbers()) CheckRow(table, number, faults);
    for (const QList<int>& group : acceleratorGroups) CheckGroup(table, group, faults);
    return faults;
}

}  // namespace quorvex
