// The completeness check of the text table: every row translated into every language, no text
// longer than its place, no accelerator letter twice in one menu, the same placeholders in
// every language. Run over the built-in table by the tests, so that a row added later without
// its translations fails with a message that names it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "ui/text_table.h"

namespace quorvex {

// The bases of the five languages the language dialog offers.
constexpr std::array<int, 5> kOfferedLanguageBases = {0, 1000, 2000, 3000, 10000};
// The set of texts no language reaches; it stays empty.
constexpr int kUnreachedBase = 4000;

// The accelerator letter of a caption (the character after a single "&"), lower case; a null
// character when the caption has none.
QChar AcceleratorOf(const QString& caption);

// The "%1"-style placeholders of a text, sorted, so that two texts can be compared.
QStringList PlaceholdersOf(const QString& text);

// One line per fault, each beginning with "text <number>" and naming the language. Each group
// of accelerators lists the text numbers that share one menu or dialog; a group may hold text
// numbers without an accelerator.
QStringList CheckTextTable(const TextTable& table, const QList<QList<int>>& acceleratorGroups);

}  // namespace quorvex
