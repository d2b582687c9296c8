// "Export.outbox" as JSON lines.
#include "store/export_outbox.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "evaluation/files.h"
#include "store/alias_outbox.h"
#include "store/outbox_file.h"

namespace quorvex {

std::string FormatExportOutboxLine(const ExportOutboxEntry& entry) {
    QJsonArray rows;
    for (const ExportRow& row : entry.Rows) {
        QJsonObject object;
        object.insert(QLatin1String("table"), QString::fromStdString(row.Table));
        object.insert(QLatin1String("fields"), FieldsToJson(row.Fields));
        rows.append(object);
    }
    QJsonObject line;
    line.insert(QLatin1String("test"), QString::fromStdString(entry.Id));
    line.insert(QLatin1String("state"),
                entry.Committed ? QLatin1String("committed") : QLatin1String("pending"));
    line.insert(QLatin1String("results-file"), QString::fromStdString(entry.ResultsFile));
    line.insert(QLatin1String("record"), entry.RecordNumber);
    line.insert(QLatin1String("digest"), QString::fromStdString(entry.Digest));
    line.insert(QLatin1String("rows"), rows);
    return QJsonDocument(line).toJson(QJsonDocument::Compact).toStdString();
}

std::optional<ExportOutboxEntry> ParseExportOutboxLine(std::string_view line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(line.data(), static_cast<qsizetype>(line.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject object = document.object();
    ExportOutboxEntry entry;
    entry.Id = object.value(QLatin1String("test")).toString().toStdString();
    const QString state = object.value(QLatin1String("state")).toString();
    entry.ResultsFile = object.value(QLatin1String("results-file")).toString().toStdString();
    const QJsonValue record = object.value(QLatin1String("record"));
    entry.Digest = object.value(QLatin1String("digest")).toString().toStdString();
    const QJsonValue rows = object.value(QLatin1String("rows"));
    if (entry.Id.empty() ||
        (state != QLatin1String("committed") && state != QLatin1String("pending")) ||
        !record.isDouble() || record.toDouble() < 0 || record.toDouble() > 2e9 || !rows.isArray() ||
        rows.toArray().isEmpty()) {
        return std::nullopt;
    }
    entry.Committed = state == QLatin1String("committed");
    entry.RecordNumber = record.toInt();
    for (const QJsonValue& value : rows.toArray()) {
        if (!value.isObject()) return std::nullopt;
        ExportRow row;
        row.Table = value.toObject().value(QLatin1String("table")).toString().toStdString();
        std::optional<std::vector<ExportField>> fields =
            FieldsFromJson(value.toObject().value(QLatin1String("fields")));
        if (row.Table.empty() || !fields) return std::nullopt;
        row.Fields = std::move(*fields);
        entry.Rows.push_back(std::move(row));
    }
    return entry;
}

ExportOutboxContent ReadExportOutbox(const std::filesystem::path& file) {
    return ParseOutboxFile<ExportOutboxContent>(file, ParseExportOutboxLine,
                                                "not a stored test's rows");
}

bool WriteExportOutbox(const std::filesystem::path& file,
                       const std::vector<ExportOutboxLine>& lines) {
    return WriteOutboxFile(file, lines);
}

std::string RecordDigest(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace quorvex
