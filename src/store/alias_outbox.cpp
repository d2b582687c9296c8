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

QJsonArray FieldsToJson(const std::vector<ExportField>& row) {
    QJsonArray fields;
    for (const ExportField& field : row) {
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
    return fields;
}

std::optional<std::vector<ExportField>> FieldsFromJson(const QJsonValue& fields) {
    if (!fields.isArray()) return std::nullopt;
    std::vector<ExportField> result;
    for (const QJsonValue& value : fields.toArray()) {
        std::optional<ExportField> field = ParseField(value);
        if (!field) return std::nullopt;
        result.push_back(std::move(*field));
    }
    if (result.empty()) return std::nullopt;
    return result;
}

std::string FormatOutboxLine(const OutboxEntry& entry) {
    QJsonObject line;
    line.insert(QLatin1String("id"), QString::fromStdString(entry.Id));
    line.insert(QLatin1String("table"), QString::fromStdString(entry.Row.Table));
    line.insert(QLatin1String("fields"), FieldsToJson(entry.Row.Fields));
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
    if (entry.Id.empty() || entry.Row.Table != kAliasTable) return std::nullopt;
    std::optional<std::vector<ExportField>> fields =
        FieldsFromJson(object.value(QLatin1String("fields")));
    if (!fields) return std::nullopt;
    entry.Row.Fields = std::move(*fields);
    return entry;
}

OutboxContent ReadOutbox(const std::filesystem::path& file) {
    return ParseOutboxFile<OutboxContent>(file, ParseOutboxLine, "not a row of the alias table");
}

bool WriteOutbox(const std::filesystem::path& file, const std::vector<OutboxLine>& lines) {
    return WriteOutboxFile(file, lines);
}

int CountOutboxLines(const std::filesystem::path& file) {
    return static_cast<int>(ReadOutboxFileText(file).Lines.size());
}

}  // namespace quorvex
