// The numbered text table of the operator interface: every caption and message is looked up
// by the language's base number plus the text number.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <array>

namespace quorvex {

// Base numbers of the languages, by language index: German, English, French, Dutch, Italian,
// and index 5, which has no texts.
constexpr std::array<int, 6> kLanguageBases = {0, 1000, 2000, 3000, 10000, 5000};
// The entries the language dialog offers (index 5 is not offered).
constexpr std::array<const char*, 5> kLanguageNames = {"German", "English", "French", "Dutch",
                                                       "Italian"};
constexpr int kMaxTextLength = 255;

// Base of a language index; an index outside 0..5 gives German.
int LanguageBase(int languageIndex);

class TextTable {
  public:
    // Reads the table: comment lines start with "#", the first other line names the bases of
    // the columns after the text number, each further line is "number<TAB>text<TAB>text...".
    // In a text "\n" is a line feed, "\t" a tab and "\\" a backslash. Malformed lines are
    // skipped; an empty field means the language has no such text.
    static TextTable Parse(const QByteArray& data);

    // The text with id base + number, at most 255 characters. A language without this text
    // shows the German one, so that a missing translation never blanks a caption; empty only
    // when German has none either.
    QString Text(int number, int base) const;
    // The field exactly as the table holds it (uncut, no fall-back); empty when there is none.
    QString Cell(int number, int base) const { return texts_.value(base + number); }
    // Every text number that has a text in at least one column, ascending.
    QList<int> Numbers() const;
    int Size() const { return static_cast<int>(texts_.size()); }

  private:
    QHash<int, QString> texts_;  // by id = base + number, uncut
    QList<int> numbers_;
};

// The table compiled into the program.
const TextTable& BuiltInTextTable();

// The text with id base + number from the built-in table, German when the language has none.
QString LoadText(int number, int base);

}  // namespace quorvex
