// The stored tests whose rows wait for their databases: "Export.outbox" in the working
// directory, one stored test per line as a JSON object with its test id. A line is written
// before the test's record (pending) and marked committed right after it, so a store that is
// killed at any point leaves either a pending line (resolved by looking at the record) or a
// committed one (delivered); the file is only ever replaced whole.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "evaluation/export_rows.h"

namespace quorvex {

struct ExportOutboxEntry {
    std::string Id;  // the test id: unique per stored test, the key of every delivery
    bool Committed = false;
    std::string ResultsFile;  // the project's results file and the record the rows belong to
    int RecordNumber = 0;
    std::string Digest;  // of the record's bytes as appended, for a pending line
    // quorvex_results and the export table (when the lab uses export tables), WerteZug (when
    // it is asked for); a row leaves the line when it has been delivered.
    std::vector<ExportRow> Rows;
};

struct ExportOutboxLine {
    std::string Text;
    std::optional<ExportOutboxEntry> Entry;  // nothing: a line that is no stored test
};

struct ExportOutboxContent {
    bool Readable = true;  // false: the file is there but cannot be read; leave it alone
    std::vector<ExportOutboxLine> Lines;
    std::vector<std::string> Messages;  // naming the file and each line that is no entry
};

std::string FormatExportOutboxLine(const ExportOutboxEntry& entry);
std::optional<ExportOutboxEntry> ParseExportOutboxLine(std::string_view line);

ExportOutboxContent ReadExportOutbox(const std::filesystem::path& file);
// Replaces the file whole, or removes it when no line is left; false when that failed (the old
// file then stays). Refused when the lines would exceed the outbox's bound.
bool WriteExportOutbox(const std::filesystem::path& file,
                       const std::vector<ExportOutboxLine>& lines);

// A digest of the bytes of a record (FNV-1a, hex).
std::string RecordDigest(const std::vector<std::uint8_t>& bytes);

}  // namespace quorvex
