// The outbox files: one waiting entry per line of text, the file replaced whole on every
// change. A line that is no entry is carried unchanged and named, never dropped.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex {

// The largest outbox that is read: some hundred thousand waiting rows.
constexpr std::size_t kLargestOutbox = 64u << 20;

struct OutboxFileText {
    bool Readable = true;  // false: the file is there but cannot be read; leave it alone
    std::string Refusal;   // why, naming the file
    std::vector<std::pair<int, std::string>> Lines;  // the lines that are not blank, numbered
};

// A missing file reads as readable and empty.
OutboxFileText ReadOutboxFileText(const std::filesystem::path& file);

// Replaces the file whole with these bytes (a temporary file renamed over it: a link in its
// place is replaced, never followed) or removes the name when there are none. False when that
// failed, or when the bytes would make a file the reader refuses: the old file then stays.
bool ReplaceOutboxFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);

// The lines of the file, each with what `parse` makes of it; a line it makes nothing of is
// named in the messages as "<notAnEntry>; the line stays in the file".
template <class Content, class Parse>
Content ParseOutboxFile(const std::filesystem::path& file, Parse parse,
                        std::string_view notAnEntry) {
    Content content;
    OutboxFileText text = ReadOutboxFileText(file);
    if (!text.Readable) {
        content.Readable = false;
        content.Messages.push_back(std::move(text.Refusal));
        return content;
    }
    for (auto& [number, line] : text.Lines) {
        auto entry = parse(line);
        if (!entry) {
            content.Messages.push_back("\"" + file.string() + "\", line " +
                                       std::to_string(number) + ": " + std::string(notAnEntry) +
                                       "; the line stays in the file");
        }
        content.Lines.push_back({std::move(line), std::move(entry)});
    }
    return content;
}

// The lines' texts, one per line, replace the file (ReplaceOutboxFile).
template <class Line>
bool WriteOutboxFile(const std::filesystem::path& file, const std::vector<Line>& lines) {
    std::vector<std::uint8_t> bytes;
    for (const Line& line : lines) {
        bytes.insert(bytes.end(), line.Text.begin(), line.Text.end());
        bytes.push_back('\n');
    }
    return ReplaceOutboxFile(file, bytes);
}

}  // namespace quorvex
