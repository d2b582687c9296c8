// The export rows in SQL for SQLite and PostgreSQL.
#include "store/sql_tables.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <cmath>

namespace quorvex {
namespace {

bool IsPostgres(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL");
}

std::string Complaint(const std::string& table, const QSqlError& error) {
    const std::string text = error.text().toStdString();
    return "table \"" + table + "\": " +
           (text.empty() ? "the connection to the database was lost" : text);
}

}  // namespace

QString QuoteIdentifier(const std::string& name) {
    QString quoted = QString::fromStdString(name);
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString ColumnType(const QSqlDatabase& db, ExportKind kind) {
    const bool postgres = IsPostgres(db);
    switch (kind) {
        case ExportKind::Number:
            return postgres ? QStringLiteral("double precision") : QStringLiteral("REAL");
        case ExportKind::Integer:
            return QStringLiteral("integer");
        case ExportKind::Date:
            // SQLite has no date type: the day is ISO text, which sorts and compares as a day.
            return postgres ? QStringLiteral("date") : QStringLiteral("TEXT");
        case ExportKind::Text:
            break;
    }
    return postgres ? QStringLiteral("varchar") : QStringLiteral("TEXT");
}

QDate DateOfDays(double days) {
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(days)));
}

double DaysOfDate(const QDate& date) {
    return static_cast<double>(QDate(1899, 12, 30).daysTo(date));
}

QVariant FieldValue(const QSqlDatabase& db, const ExportField& field) {
    switch (field.Kind) {
        case ExportKind::Number:
            return field.Number;
        case ExportKind::Integer:
            return static_cast<qlonglong>(field.Integer);
        case ExportKind::Date: {
            const QDate day = DateOfDays(field.Number);
            if (IsPostgres(db)) return day;
            return day.toString(Qt::ISODate);
        }
        case ExportKind::Text:
            break;
    }
    return QString::fromStdString(field.Text);
}

bool TableExists(const QSqlDatabase& db, const std::string& table) {
    return db.tables(QSql::Tables).contains(QString::fromStdString(table));
}

bool TableExists(QSqlDatabase& db, const std::string& table, std::string& error) {
    error.clear();
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT 1 FROM %1 WHERE 1 = 0").arg(QuoteIdentifier(table)))) {
        return true;
    }
    const QSqlError failure = query.lastError();
    // PostgreSQL's undefined_table, SQLite's "no such table": the table is not there. Any
    // other failure (a lock, a lost connection) says nothing about the table.
    const bool missing = failure.nativeErrorCode() == QLatin1String("42P01") ||
                         failure.text().contains(QLatin1String("no such table"));
    if (!missing) error = Complaint(table, failure);
    return false;
}

std::string CreateTable(QSqlDatabase& db, const ExportRow& layout, const QString& constraints) {
    QStringList columns;
    for (const ExportField& field : layout.Fields) {
        columns << QuoteIdentifier(field.Name) + QLatin1Char(' ') + ColumnType(db, field.Kind);
    }
    if (!constraints.isEmpty()) columns << constraints;
    QSqlQuery query(db);
    const QString sql = QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                            .arg(QuoteIdentifier(layout.Table), columns.join(QLatin1String(", ")));
    if (!query.exec(sql)) return Complaint(layout.Table, query.lastError());
    return {};
}

std::string InsertRow(QSqlDatabase& db, const ExportRow& row, bool ignoreDuplicate,
                      bool* inserted) {
    QStringList columns, marks;
    for (const ExportField& field : row.Fields) {
        columns << QuoteIdentifier(field.Name);
        marks << QStringLiteral("?");
    }
    QSqlQuery query(db);
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(QuoteIdentifier(row.Table), columns.join(QLatin1String(", ")),
                           marks.join(QLatin1String(", ")));
    if (ignoreDuplicate) sql += QLatin1String(" ON CONFLICT DO NOTHING");
    if (!query.prepare(sql)) return Complaint(row.Table, query.lastError());
    for (const ExportField& field : row.Fields) query.addBindValue(FieldValue(db, field));
    if (!query.exec()) return Complaint(row.Table, query.lastError());
    if (inserted) *inserted = query.numRowsAffected() > 0;
    return {};
}

}  // namespace quorvex
