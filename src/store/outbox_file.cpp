// The outbox files: read line by line, replaced whole.
#include "store/outbox_file.h"

#include <QByteArray>
#include <QList>

#include "evaluation/files.h"

namespace quorvex {

OutboxFileText ReadOutboxFileText(const std::filesystem::path& file) {
    OutboxFileText text;
    const FileBytes read = ReadFileBytes(file, kLargestOutbox, Beyond::Refused);
    if (read.Status.status == LoadStatus::Missing) return text;
    if (!read.Status.Loaded()) {
        text.Readable = false;
        text.Refusal = read.Status.message;
        return text;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(read.Bytes.data()),
                           static_cast<qsizetype>(read.Bytes.size()));
    int lineNumber = 0;
    for (QByteArray line : bytes.split('\n')) {
        ++lineNumber;
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        text.Lines.emplace_back(lineNumber, line.toStdString());
    }
    return text;
}

bool ReplaceOutboxFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        std::error_code error;
        std::filesystem::remove(file, error);
        return !error;
    }
    if (bytes.size() > kLargestOutbox) return false;
    return WriteFileAtomic(file, bytes);
}

}  // namespace quorvex
