// The alias rows that wait for the alias database: "WerteZug.outbox" in the working
// directory, one row per line as a JSON object with an id of its own. A row is written here
// before it is sent, so that neither an absent server nor a crash loses it; the id makes the
// sending exact: a row whose id the database already holds is not inserted again.
#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "evaluation/export_rows.h"
#include "store/outbox_file.h"

namespace quorvex {

struct OutboxEntry {
    std::string Id;
    ExportRow Row;
};

// One line of the file; a line that is no row of WerteZug is carried unchanged (it is
// nobody's to drop).
struct OutboxLine {
    std::string Text;
    std::optional<OutboxEntry> Entry;
};

struct OutboxContent {
    bool Readable = true;  // false: the file is there but cannot be read; leave it alone
    std::vector<OutboxLine> Lines;
    // Lines that are no row and a file that cannot be read, naming the file and the line.
    std::vector<std::string> Messages;
};

// A new id, unique across the machines that share one alias database.
std::string NewOutboxId();

std::string FormatOutboxLine(const OutboxEntry& entry);
// The fields of a row as JSON and back (nothing for anything that is no list of fields).
QJsonArray FieldsToJson(const std::vector<ExportField>& fields);
std::optional<std::vector<ExportField>> FieldsFromJson(const QJsonValue& fields);
std::optional<OutboxEntry> ParseOutboxLine(std::string_view line);

// The lines of the file; a missing file is an empty outbox.
OutboxContent ReadOutbox(const std::filesystem::path& file);

// Replaces the file whole (a temporary file renamed over it) or removes it when no line is
// left. False when that failed: the old file then stays as it was.
bool WriteOutbox(const std::filesystem::path& file, const std::vector<OutboxLine>& lines);

// The number of lines (rows) in the file.
int CountOutboxLines(const std::filesystem::path& file);

}  // namespace quorvex
