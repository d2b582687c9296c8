// The outbox of the alias rows as JSON lines.
#include "store/alias_outbox.h"

#include <QByteArray>
#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <cmath>

#include "evaluation/files.h"
#include "store/sql_tables.h"

namespace quorvex {
namespace {

const char* KindName(ExportKind kind) {
    switch (kind) {
        case ExportKind::Number:
            return "number";
        case ExportKind::Integer:
            return "integer";
        case ExportKind::Date:
            return "date";
        case ExportKind::Text:
            break;
    }
    return "text";
}

std::optional<ExportField> ParseField(const QJsonValue& value) {
    if (!value.isObject()) return std::nullopt;
    const QJsonObject object = value.toObject();
    ExportField field;
    field.Name = object.value(QLatin1String("name")).toString().toStdString();
    if (field.Name.empty()) return std::nullopt;
    const QString kind = object.value(QLatin1String("kind")).toString();
    const QJsonValue v = object.value(QLatin1String("value"));
    if (kind == QLatin1String("text") && v.isString()) {
        field.Kind = ExportKind::Text;
        field.Text = v.toString().toStdString();
    } else if (kind == QLatin1String("number") && v.isDouble() && std::isfinite(v.toDouble())) {
        field.Kind = ExportKind::Number;
        field.Number = v.toDouble();
    } else if (kind == QLatin1String("integer") && v.isDouble()) {
        field.Kind = ExportKind::Integer;
        field.Integer = v.toInteger();
    } else if (kind == QLatin1String("date") && v.isString()) {
        const QDate day = QDate::fromString(v.toString(), Qt::ISODate);
        if (!day.isValid()) return std::nullopt;
        field.Kind = ExportKind::Date;
        field.Number = DaysOfDate(day);
    } else {
        return std::nullopt;
    }
    return field;
}

}  // namespace

std::string NewOutboxId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

std::string FormatOutboxLine(const OutboxEntry& entry) {
    QJsonArray fields;
    for (const ExportField& field : entry.Row.Fields) {
        QJsonObject object;
        object.insert(QLatin1String("name"), QString::fromStdString(field.Name));
        object.insert(QLatin1String("kind"), QLatin1String(KindName(field.Kind)));
        switch (field.Kind) {
            case ExportKind::Number:
                object.insert(QLatin1String("value"), field.Number);
                break;
            case ExportKind::Integer:
                object.insert(QLatin1String("value"), static_cast<qint64>(field.Integer));
                break;
            case ExportKind::Date:
                object.insert(QLatin1String("value"),
                              DateOfDays(field.Number).toString(Qt::ISODate));
                break;
            case ExportKind::Text:
                object.insert(QLatin1String("value"), QString::fromStdString(field.Text));
                break;
        }
        fields.append(object);
    }
    QJsonObject line;
    line.insert(QLatin1String("id"), QString::fromStdString(entry.Id));
    line.insert(QLatin1String("table"), QString::fromStdString(entry.Row.Table));
    line.insert(QLatin1String("fields"), fields);
    return QJsonDocument(line).toJson(QJsonDocument::Compact).toStdString();
}

std::optional<OutboxEntry> ParseOutboxLine(std::string_view line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(line.data(), static_cast<qsizetype>(line.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject object = document.object();
    OutboxEntry entry;
    entry.Id = object.value(QLatin1String("id")).toString().toStdString();
    entry.Row.Table = object.value(QLatin1String("table")).toString().toStdString();
    const QJsonValue fields = object.value(QLatin1String("fields"));
    if (entry.Id.empty() || entry.Row.Table != kAliasTable || !fields.isArray()) {
        return std::nullopt;
    }
    for (const QJsonValue& value : fields.toArray()) {
        std::optional<ExportField> field = ParseField(value);
        if (!field) return std::nullopt;
        entry.Row.Fields.push_back(std::move(*field));
    }
    if (entry.Row.Fields.empty()) return std::nullopt;
    return entry;
}

OutboxContent ReadOutbox(const std::filesystem::path& file) {
    OutboxContent content;
    const FileBytes read = ReadFileBytes(file, kLargestOutbox, Beyond::Refused);
    if (read.Status.status == LoadStatus::Missing) return content;
    if (!read.Status.Loaded()) {
        content.Readable = false;
        content.Messages.push_back(read.Status.message);
        return content;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(read.Bytes.data()),
                           static_cast<qsizetype>(read.Bytes.size()));
    int lineNumber = 0;
    for (QByteArray line : bytes.split('\n')) {
        ++lineNumber;
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        OutboxLine entry{line.toStdString(), ParseOutboxLine(line.toStdString())};
        if (!entry.Entry) {
            content.Messages.push_back("\"" + file.string() + "\", line " +
                                       std::to_string(lineNumber) +
                                       ": not a row of the alias table; the line stays in the "
                                       "file");
        }
        content.Lines.push_back(std::move(entry));
    }
    return content;
}

bool WriteOutbox(const std::filesystem::path& file, const std::vector<OutboxLine>& lines) {
    if (lines.empty()) {
        // The name goes, whatever it is (a link is removed, never what it points at).
        std::error_code error;
        std::filesystem::remove(file, error);
        return !error;
    }
    // Replaces the name: a link in its place is replaced, never followed to its target.
    std::vector<std::uint8_t> bytes;
    for (const OutboxLine& line : lines) {
        bytes.insert(bytes.end(), line.Text.begin(), line.Text.end());
        bytes.push_back('\n');
    }
    return WriteFileAtomic(file, bytes);
}

int CountOutboxLines(const std::filesystem::path& file) {
    const FileBytes read = ReadFileBytes(file, kLargestOutbox, Beyond::Refused);
    if (!read.Status.Loaded()) return 0;
    int count = 0;
    const QByteArray bytes(reinterpret_cast<const char*>(read.Bytes.data()),
                           static_cast<qsizetype>(read.Bytes.size()));
    for (const QByteArray& line : bytes.split('\n')) {
        if (!line.trimmed().isEmpty()) ++count;
    }
    return count;
}

}  // namespace quorvex
