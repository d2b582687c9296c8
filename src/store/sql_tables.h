// The rows of the database tables in SQL, the same for every engine Qt SQL drives here
// (SQLite and PostgreSQL): the column types of each field kind, quoted names (field names
// carry hyphens and their case matters) and rows inserted through bound values only.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <optional>
#include <string>

#include "evaluation/export_rows.h"

namespace quorvex {

// The table of the outbox ids that reached the alias database: a row whose id is there is
// not inserted again.
constexpr const char* kOutboxLedgerTable = "QuorvexOutboxSent";

// An identifier in double quotes, inner quotes doubled.
QString QuoteIdentifier(const std::string& name);

// The column type of a field kind in the engine of the connection.
QString ColumnType(const QSqlDatabase& db, ExportKind kind);

// The value a field binds to: text, a rounded number, an integer or the day (ISO text in
// SQLite, a date in PostgreSQL).
QVariant FieldValue(const QSqlDatabase& db, const ExportField& field);

// Days since 1899-12-30 and back.
QDate DateOfDays(double days);
double DaysOfDate(const QDate& date);

bool TableExists(const QSqlDatabase& db, const std::string& table);
// As TableExists, for a database that may not answer: a table that is missing is false with
// `error` empty; a database that cannot tell (locked by another program, gone) is false with
// its complaint in `error`, naming the table.
bool TableExists(QSqlDatabase& db, const std::string& table, std::string& error);

// CREATE TABLE IF NOT EXISTS with the layout's fields in order; a table already there stays
// as it is. An empty string on success, else the database's complaint naming the table.
// `constraints` follow the columns (a key).
std::string CreateTable(QSqlDatabase& db, const ExportRow& layout,
                        const QString& constraints = {});

// One INSERT of the row's fields in their order, with bound values. An empty string on
// success, else the database's complaint naming the table.
// With `ignoreDuplicate` a row whose key is there already is left out without an error
// (ON CONFLICT DO NOTHING, which SQLite and PostgreSQL both know and which needs no more than
// the right to insert); `inserted` then says whether it went in.
std::string InsertRow(QSqlDatabase& db, const ExportRow& row, bool ignoreDuplicate = false,
                      bool* inserted = nullptr);

}  // namespace quorvex
