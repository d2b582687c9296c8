// Parsing and look-up of the numbered text table.
#include "ui/text_table.h"

#include <QFile>
#include <QList>
#include <algorithm>

namespace quorvex {
namespace {

QString Unescape(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c == u'\\' && i + 1 < field.size()) {
            const QChar next = field[++i];
            if (next == u'n') {
                out += u'\n';
            } else if (next == u't') {
                out += u'\t';
            } else {
                out += next;
            }
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

int LanguageBase(int languageIndex) {
    if (languageIndex < 0 || languageIndex >= static_cast<int>(kLanguageBases.size())) return 0;
    return kLanguageBases[static_cast<std::size_t>(languageIndex)];
}

TextTable TextTable::Parse(const QByteArray& data) {
    TextTable table;
    QList<int> columnBases;
    bool headerSeen = false;
    for (const QByteArray& rawLine : data.split('\n')) {
        QString line = QString::fromUtf8(rawLine);
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QStringList fields = line.split(u'\t');
        if (!headerSeen) {
            headerSeen = true;
            for (qsizetype i = 1; i < fields.size(); ++i) {
                bool ok = false;
                const int base = fields[i].trimmed().toInt(&ok);
                columnBases.append(ok ? base : -1);
            }
            continue;
        }
        bool ok = false;
        const int number = fields[0].trimmed().toInt(&ok);
        if (!ok || number < 1 || number > 999) continue;
        bool anyText = false;
        for (qsizetype i = 1; i < fields.size() && i - 1 < columnBases.size(); ++i) {
            const int base = columnBases[i - 1];
            if (base < 0 || fields[i].isEmpty()) continue;
            table.texts_.insert(base + number, Unescape(fields[i]));
            anyText = true;
        }
        if (anyText && !table.numbers_.contains(number)) table.numbers_.append(number);
    }
    std::sort(table.numbers_.begin(), table.numbers_.end());
    return table;
}

QString TextTable::Text(int number, int base) const {
    const auto own = texts_.constFind(base + number);
    const QString text = own != texts_.constEnd() ? *own : texts_.value(number);
    return text.left(kMaxTextLength);
}

QList<int> TextTable::Numbers() const {
    return numbers_;
}

const TextTable& BuiltInTextTable() {
    // Parsed once from the program's own resources; never changed afterwards.
    static const TextTable table = [] {
        QFile file(QStringLiteral(":/texts/texts.tsv"));
        if (!file.open(QIODevice::ReadOnly)) return TextTable{};
        return TextTable::Parse(file.readAll());
    }();
    return table;
}

QString LoadText(int number, int base) {
    return BuiltInTextTable().Text(number, base);
}

}  // namespace quorvex
