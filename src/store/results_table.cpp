// quorvex_results, the test id of the export rows, and reading the stored tests back.
#include "store/results_table.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <cmath>

#include "evaluation/results_record.h"
#include "store/sql_tables.h"

namespace quorvex {
namespace {

ExportField Text(const char* name, std::string value) {
    return {name, ExportKind::Text, std::move(value), 0, 0};
}

ExportField Integer(const char* name, std::int64_t value) {
    ExportField field{name, ExportKind::Integer, {}, 0, value};
    return field;
}

std::string TestTimeText(double days) {
    if (!std::isfinite(days) || days < -657434 || days > 2958465) return "-";
    const double whole = std::floor(days);
    const qint64 seconds = std::llround((days - whole) * 86400.0);
    const QDateTime time(QDate(1899, 12, 30).addDays(static_cast<qint64>(whole)), QTime(0, 0));
    return time.addSecs(seconds).toString(Qt::ISODate).toStdString();
}

std::string HexOf(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()))
        .toHex()
        .toStdString();
}

std::string ResultsJsonOf(const std::optional<ExportRow>& row) {
    QJsonObject results;
    if (row) {
        for (const ExportField& field : row->Fields) {
            if (field.Kind == ExportKind::Number && std::isfinite(field.Number)) {
                results.insert(QString::fromStdString(field.Name), field.Number);
            }
        }
    }
    return QJsonDocument(results).toJson(QJsonDocument::Compact).toStdString();
}

std::string Exec(QSqlDatabase& db, const QString& sql, const std::string& table) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        return "table \"" + table + "\": " + query.lastError().text().toStdString();
    return {};
}

}  // namespace

ExportRow BuildResultsRow(const QueuedRows& rows, const std::string& testId,
                          const std::string& machine, double today) {
    const ResultsRecord& r = rows.Record;
    ExportRow row;
    row.Table = kResultsTable;
    row.Fields = {Text("test_id", testId),
                  Text("machine", machine),
                  Text("project", rows.ProjectName),
                  Integer("record_number", r.RecordNumber),
                  Integer("test_type", rows.TestType),
                  Text("test_time", TestTimeText(r.Date)),
                  {"stored_on", ExportKind::Date, {}, std::floor(today), 0},
                  Text("specimen_no", r.SpecimenNo),
                  Text("specimen_id", r.SpecimenId),
                  Text("remark", r.Remark),
                  Text("results", ResultsJsonOf(rows.Export)),
                  Text("record_image", HexOf(ResultsRecordImage(r)))};
    for (int i = 0; i < 10; ++i) {
        row.Fields.push_back(Text(("h" + std::to_string(i + 1)).c_str(),
                                  rows.HeaderLines[static_cast<std::size_t>(i)]));
    }
    return row;
}

ExportRow ResultsTableLayout() {
    QueuedRows empty;
    return BuildResultsRow(empty, {}, {}, 0);
}

ExportRow WithTestIdentity(ExportRow row, const std::string& testId, const std::string& machine) {
    row.Fields.push_back(Text(kTestIdColumn, testId));
    row.Fields.push_back(Text(kMachineColumn, machine));
    return row;
}

std::string CreateExportSchema(QSqlDatabase& db) {
    std::string problem =
        CreateTable(db, ResultsTableLayout(), QStringLiteral("PRIMARY KEY (\"test_id\")"));
    if (!problem.empty()) return problem;
    for (const ExportRow& layout : ExportTableLayouts()) {
        problem = CreateTable(db, WithTestIdentity(layout, {}, {}));
        if (!problem.empty()) return problem;
        // A table made before the test id: its rows get the two columns (empty in old rows).
        const QSqlRecord columns = db.record(QuoteIdentifier(layout.Table));
        for (const char* column : {kTestIdColumn, kMachineColumn}) {
            if (columns.contains(QString::fromLatin1(column))) continue;
            problem = Exec(db,
                           QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                               .arg(QuoteIdentifier(layout.Table), QuoteIdentifier(column),
                                    ColumnType(db, ExportKind::Text)),
                           layout.Table);
            if (!problem.empty()) return problem;
        }
        problem = Exec(db,
                       QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                           .arg(QuoteIdentifier(layout.Table + "_TestId"),
                                QuoteIdentifier(layout.Table), QuoteIdentifier(kTestIdColumn)),
                       layout.Table);
        if (!problem.empty()) return problem;
    }
    return {};
}

std::string InsertOnlyGrants(const std::string& role, const std::string& database) {
    QStringList tables;
    for (const ExportRow& layout : ExportTableLayouts()) tables << QuoteIdentifier(layout.Table);
    tables << QuoteIdentifier(kResultsTable);
    const QString quotedRole = QuoteIdentifier(role);
    QString text;
    text += QStringLiteral("-- a login that may only add rows (give it a password of its own):\n");
    text += QStringLiteral("CREATE ROLE %1 LOGIN;\n").arg(quotedRole);
    text += QStringLiteral("REVOKE ALL ON %1 FROM %2;\n")
                .arg(tables.join(QLatin1String(", ")), quotedRole);
    text += QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2;\n")
                .arg(QuoteIdentifier(database), quotedRole);
    text += QStringLiteral("GRANT USAGE ON SCHEMA public TO %1;\n").arg(quotedRole);
    text += QStringLiteral("GRANT INSERT ON %1 TO %2;\n")
                .arg(tables.join(QLatin1String(", ")), quotedRole);
    return text.toStdString();
}

std::vector<StoredTest> ListStoredTests(QSqlDatabase& db, const StoredTestFilter& filter,
                                        std::string& error) {
    std::vector<StoredTest> tests;
    QStringList conditions;
    QVariantList values;
    auto add = [&](const char* condition, const QVariant& value) {
        conditions << QString::fromLatin1(condition);
        values << value;
    };
    if (!filter.Machine.empty()) add("\"machine\" = ?", QString::fromStdString(filter.Machine));
    if (!filter.Project.empty()) add("\"project\" = ?", QString::fromStdString(filter.Project));
    if (filter.TestType) add("\"test_type\" = ?", *filter.TestType);
    // The test time is ISO text: a day compares as its prefix.
    if (!filter.FromDay.empty()) add("\"test_time\" >= ?", QString::fromStdString(filter.FromDay));
    if (!filter.ToDay.empty()) {
        add("\"test_time\" < ?", QString::fromStdString(filter.ToDay + "T99"));
    }
    QString sql = QStringLiteral(
        "SELECT \"test_id\", \"machine\", \"project\", \"record_number\", \"test_type\", "
        "\"test_time\", \"stored_on\", \"specimen_no\", \"specimen_id\", \"remark\", \"results\", "
        "\"record_image\", \"h1\", \"h2\", \"h3\", \"h4\", \"h5\", \"h6\", \"h7\", \"h8\", \"h9\", "
        "\"h10\" FROM \"quorvex_results\"");
    if (!conditions.isEmpty()) sql += QStringLiteral(" WHERE ") + conditions.join(" AND ");
    sql += QStringLiteral(" ORDER BY \"test_time\", \"machine\", \"project\", \"record_number\"");
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        error = "table \"quorvex_results\": " + query.lastError().text().toStdString();
        return tests;
    }
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec()) {
        error = "table \"quorvex_results\": " + query.lastError().text().toStdString();
        return tests;
    }
    while (query.next()) {
        StoredTest t;
        auto text = [&](int i) { return query.value(i).toString().toStdString(); };
        t.TestId = text(0);
        t.Machine = text(1);
        t.Project = text(2);
        t.RecordNumber = query.value(3).toInt();
        t.TestType = query.value(4).toInt();
        t.TestTime = text(5);
        t.StoredOn = query.value(6).toDate().isValid()
                         ? query.value(6).toDate().toString(Qt::ISODate).toStdString()
                         : text(6);
        t.SpecimenNo = text(7);
        t.SpecimenId = text(8);
        t.Remark = text(9);
        t.ResultsJson = text(10);
        const QByteArray image = QByteArray::fromHex(query.value(11).toString().toLatin1());
        t.RecordImage.assign(image.begin(), image.end());
        for (int i = 0; i < 10; ++i) t.Header[static_cast<std::size_t>(i)] = text(12 + i);
        tests.push_back(std::move(t));
    }
    return tests;
}

}  // namespace quorvex
