// The import tables of the alias database in SQL, the same for SQLite and PostgreSQL.
#include "store/alias_import.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <cmath>
#include <optional>

#include "evaluation/win1252.h"
#include "store/sql_connection.h"
#include "store/sql_tables.h"

namespace quorvex {
namespace {

enum class Column { Text, SmallInt, Integer, Float };

struct ColumnSpec {
    const char* Name;
    Column Kind;
    int Length;  // characters of a text column
};

constexpr ColumnSpec kSpecimenColumns[] = {
    {"ProbenNr", Column::Text, 28},
    {"Kennung", Column::Text, 40},
    {"Probentyp", Column::SmallInt, 0},
    {"Probenform", Column::SmallInt, 0},
    {"Durchmesser", Column::Float, 0},
    {"Probenbreite", Column::Float, 0},
    {"Probendicke", Column::Float, 0},
    {"Aussendurchmesser", Column::Float, 0},
    {"Wanddicke", Column::Float, 0},
    {"Dichte", Column::Float, 0},
    {"Masse", Column::Float, 0},
    {"Gesamtlaenge", Column::Float, 0},
    {"Seg_Dicke", Column::Float, 0},
    {"Seg_Breite", Column::Float, 0},
    {"Seg_Aussendurchmesser", Column::Float, 0},
    {"Probenlaenge", Column::Float, 0},
    {"Versuchslaenge", Column::Float, 0},
    {"K1", Column::Text, 80},
    {"K2", Column::Text, 80},
    {"K3", Column::Text, 80},
    {"K4", Column::Text, 80},
    {"K5", Column::Text, 80},
    {"K6", Column::Text, 80},
    {"K7", Column::Text, 80},
    {"K8", Column::Text, 80},
    {"K9", Column::Text, 80},
    {"K10", Column::Text, 80},
};

// The limit pairs in table order, each with the member of the set it fills.
struct LimitColumns {
    const char* Min;
    const char* Max;
    Column Kind;
    LimitPair ImportedLimitSet::*Pair;
};

constexpr LimitColumns kLimitColumns[] = {
    {"SoMin", "SoMax", Column::Float, &ImportedLimitSet::So},
    {"ReHMin", "ReHMax", Column::Float, &ImportedLimitSet::ReH},
    {"ReLMin", "ReLMax", Column::Float, &ImportedLimitSet::ReL},
    {"Rp1Min", "Rp1Max", Column::Float, &ImportedLimitSet::Rp1},
    {"Rp2Min", "Rp2Max", Column::Integer, &ImportedLimitSet::Rp2},
    {"RtMin", "RtMax", Column::Float, &ImportedLimitSet::Rt},
    {"RmMin", "RmMax", Column::Float, &ImportedLimitSet::Rm},
    {"AgMin", "AgMax", Column::Float, &ImportedLimitSet::Ag},
    {"Rm/RpMin", "Rm/RpMax", Column::Float, &ImportedLimitSet::RmRp},
    {"Rm/RtMin", "Rm/RtMax", Column::Float, &ImportedLimitSet::RmRt},
    {"Rp/RmMin", "Rp/RmMax", Column::Float, &ImportedLimitSet::RpRm},
    {"Rt/RmMin", "Rt/RmMax", Column::Float, &ImportedLimitSet::RtRm},
    {"AMin", "AMax", Column::Float, &ImportedLimitSet::A},
    {"ZMin", "ZMax", Column::Float, &ImportedLimitSet::Z},
    {"E-ModulMin", "E-ModulMax", Column::Float, &ImportedLimitSet::E},
    {"AeMin", "AeMax", Column::Integer, &ImportedLimitSet::Ae},
};

bool IsPostgres(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL");
}

QString TypeOf(const QSqlDatabase& db, Column kind, int length) {
    switch (kind) {
        case Column::Text:
            return QStringLiteral("varchar(%1)").arg(length);
        case Column::SmallInt:
            return QStringLiteral("smallint");
        case Column::Integer:
            return QStringLiteral("integer");
        case Column::Float:
            break;
    }
    return IsPostgres(db) ? QStringLiteral("double precision") : QStringLiteral("REAL");
}

QString KeyColumn(const QSqlDatabase& db) {
    return QStringLiteral("\"ID\" ") + (IsPostgres(db)
                                            ? QStringLiteral("serial PRIMARY KEY")
                                            : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
}

std::string Complaint(const char* table, const QSqlError& error) {
    return "table \"" + std::string(table) + "\": " + error.text().toStdString();
}

std::string CreateWithIndex(QSqlDatabase& db, const char* table, const QStringList& columns,
                            const char* index, const char* indexColumn) {
    QSqlQuery query(db);
    if (!query.exec(
            QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2, %3)")
                .arg(QuoteIdentifier(table), KeyColumn(db), columns.join(QLatin1String(", "))))) {
        return Complaint(table, query.lastError());
    }
    if (!query.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                        .arg(QuoteIdentifier(index), QuoteIdentifier(table),
                             QuoteIdentifier(indexColumn)))) {
        return Complaint(table, query.lastError());
    }
    return {};
}

// One look-up: connect, run, disconnect.
template <class Work>
auto WithAliasDatabase(const AliasSettings& settings, const std::filesystem::path& workingDirectory,
                       std::string& problem, Work work)
    -> decltype(work(std::declval<QSqlDatabase&>())) {
    if (!settings.Configured) {
        problem = "no alias database is configured (alias.driver)";
        return {};
    }
    SqlConnection connection(AliasQtDriver(settings));
    QSqlDatabase db = connection.Database();
    const AliasOpenResult opened = OpenAliasDatabase(db, settings, workingDirectory, false);
    if (!opened.Open) {
        problem = opened.Problem;
        return {};
    }
    auto result = work(db);
    db.close();
    return result;
}

// A number field: empty is 0; text that is no finite number refuses the row.
bool NumberOf(const QSqlRecord& row, const char* name, double& value, std::string& problem) {
    const QVariant field = row.value(QString::fromLatin1(name));
    value = 0;
    if (field.isNull()) return true;
    bool ok = false;
    value = field.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        problem = "field \"" + std::string(name) + "\" holds no number: \"" +
                  field.toString().toStdString() + "\"";
        value = 0;
        return false;
    }
    return true;
}

std::string TextOf(const QSqlRecord& row, const char* name, std::size_t length) {
    return Utf8Left(row.value(QString::fromLatin1(name)).toString().toStdString(), length);
}

// The first row of the table whose key column equals the text, or none.
std::optional<QSqlRecord> FirstRow(QSqlDatabase& db, const char* table, const char* column,
                                   const std::string& key, std::string& problem) {
    QSqlQuery query(db);
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2 = ? ORDER BY \"ID\"")
                            .arg(QuoteIdentifier(table), QuoteIdentifier(column));
    if (!query.prepare(sql)) {
        problem = Complaint(table, query.lastError());
        return std::nullopt;
    }
    query.addBindValue(QString::fromStdString(key));
    if (!query.exec()) {
        problem = Complaint(table, query.lastError());
        return std::nullopt;
    }
    if (!query.next()) return std::nullopt;
    return query.record();
}

bool ReadSpecimen(const QSqlRecord& row, ImportedSpecimen& s, std::string& problem) {
    s.Id = row.value(QStringLiteral("ID")).toLongLong();
    s.SpecimenNo = TextOf(row, "ProbenNr", kImportedSpecimenNoLength);
    s.SpecimenId = TextOf(row, "Kennung", kImportedSpecimenIdLength);
    double shape = 0, form = 0;
    const std::pair<const char*, double*> numbers[] = {
        {"Probentyp", &shape},
        {"Probenform", &form},
        {"Durchmesser", &s.d},
        {"Probenbreite", &s.b},
        {"Probendicke", &s.a},
        {"Aussendurchmesser", &s.TubeD},
        {"Wanddicke", &s.TubeWall},
        {"Dichte", &s.Density},
        {"Masse", &s.Mass},
        {"Gesamtlaenge", &s.TotalLength},
        {"Seg_Dicke", &s.SegmentThickness},
        {"Seg_Breite", &s.SegmentWidth},
        {"Seg_Aussendurchmesser", &s.SegmentOuterD},
        {"Probenlaenge", &s.Lo},
        {"Versuchslaenge", &s.TestLength},
    };
    for (const auto& [name, value] : numbers) {
        if (!NumberOf(row, name, *value, problem)) return false;
    }
    if (shape < 0 || shape > 4 || shape != std::floor(shape)) {
        problem = "field \"Probentyp\" holds " + std::to_string(shape) +
                  ", no specimen shape (0 round, 1 flat, 2 tube, 3 mass, 4 tube segment)";
        return false;
    }
    if (form < 0 || form > 2 || form != std::floor(form)) {
        problem = "field \"Probenform\" holds " + std::to_string(form) +
                  ", no specimen form (0 short, 1 long proportional, 2 user defined)";
        return false;
    }
    s.Shape = static_cast<int>(shape);
    s.Form = static_cast<int>(form);
    for (std::size_t i = 0; i < s.HeaderLines.size(); ++i) {
        const std::string name = "K" + std::to_string(i + 1);
        s.HeaderLines[i] = TextOf(row, name.c_str(), kImportedHeaderLineLength);
    }
    return true;
}

}  // namespace

std::string CreateImportTables(QSqlDatabase& db) {
    QStringList specimen;
    for (const ColumnSpec& c : kSpecimenColumns) {
        specimen << QuoteIdentifier(c.Name) + QLatin1Char(' ') + TypeOf(db, c.Kind, c.Length);
    }
    std::string problem =
        CreateWithIndex(db, kImportSpecimenTable, specimen, "Probennummer", "ProbenNr");
    if (!problem.empty()) return problem;

    QStringList limits;
    limits << QStringLiteral("\"Identfeld\" varchar(60)");
    for (const LimitColumns& c : kLimitColumns) {
        for (const char* name : {c.Min, c.Max}) {
            limits << QuoteIdentifier(name) + QLatin1Char(' ') + TypeOf(db, c.Kind, 0);
        }
    }
    return CreateWithIndex(db, kImportLimitTable, limits, "ID", "Identfeld");
}

ImportLookup<ImportedSpecimen> FindImportedSpecimen(const AliasSettings& settings,
                                                    const std::filesystem::path& workingDirectory,
                                                    const std::string& specimenNo) {
    std::string problem;
    ImportLookup<ImportedSpecimen> result =
        WithAliasDatabase(settings, workingDirectory, problem, [&](QSqlDatabase& db) {
            ImportLookup<ImportedSpecimen> found;
            const auto row =
                FirstRow(db, kImportSpecimenTable, "ProbenNr", specimenNo, found.Problem);
            if (row && ReadSpecimen(*row, found.Value, found.Problem)) found.Found = true;
            if (!found.Problem.empty() && row) {
                found.Problem = "table \"" + std::string(kImportSpecimenTable) + "\", ProbenNr \"" +
                                specimenNo + "\": " + found.Problem;
            }
            return found;
        });
    if (!problem.empty()) result.Problem = problem;
    return result;
}

ImportLookup<ImportedLimitSet> FindImportedLimits(const AliasSettings& settings,
                                                  const std::filesystem::path& workingDirectory,
                                                  const std::string& identifier) {
    std::string problem;
    ImportLookup<ImportedLimitSet> result =
        WithAliasDatabase(settings, workingDirectory, problem, [&](QSqlDatabase& db) {
            ImportLookup<ImportedLimitSet> found;
            const auto row =
                FirstRow(db, kImportLimitTable, "Identfeld", identifier, found.Problem);
            if (!row) return found;
            std::string problem;
            for (const LimitColumns& c : kLimitColumns) {
                LimitPair& pair = found.Value.*(c.Pair);
                if (!NumberOf(*row, c.Min, pair.Min, problem) ||
                    !NumberOf(*row, c.Max, pair.Max, problem)) {
                    found.Problem = "table \"" + std::string(kImportLimitTable) +
                                    "\", Identfeld \"" + identifier + "\": " + problem;
                    return found;
                }
            }
            found.Found = true;
            return found;
        });
    if (!problem.empty()) result.Problem = problem;
    return result;
}

std::string ConsumeImportedSpecimen(const AliasSettings& settings,
                                    const std::filesystem::path& workingDirectory, long long id,
                                    const std::string& specimenNo) {
    std::string problem;
    const std::string complaint =
        WithAliasDatabase(settings, workingDirectory, problem, [&](QSqlDatabase& db) {
            QSqlQuery query(db);
            const QString sql =
                QStringLiteral("DELETE FROM %1 WHERE \"ID\" = ? AND \"ProbenNr\" = ?")
                    .arg(QuoteIdentifier(kImportSpecimenTable));
            if (!query.prepare(sql)) return Complaint(kImportSpecimenTable, query.lastError());
            query.addBindValue(id);
            query.addBindValue(QString::fromStdString(specimenNo));
            if (!query.exec()) return Complaint(kImportSpecimenTable, query.lastError());
            return std::string();
        });
    return problem.empty() ? complaint : problem;
}

}  // namespace quorvex
