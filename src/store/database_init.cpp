// Setting up the tables: the export tables in the SQLite file of the database directory and
// WerteZug with the outbox ledger and the two import tables in the alias database. The store never
// does this itself; quorvex-cli db init does, once per lab.
#include <QSqlError>
#include <QSqlQuery>

#include "store/alias_import.h"
#include "store/export_database.h"
#include "store/results_table.h"
#include "store/sql_connection.h"
#include "store/sql_tables.h"

namespace quorvex {
namespace {

std::string CreateLedger(QSqlDatabase& db) {
    // The id is the key, so the same row can never be recorded as sent twice.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Id\" varchar(64) PRIMARY KEY)")
                        .arg(QuoteIdentifier(kOutboxLedgerTable)))) {
        return "table \"" + std::string(kOutboxLedgerTable) +
               "\": " + query.lastError().text().toStdString();
    }
    return {};
}

}  // namespace

std::string InitExportTables(const std::filesystem::path& databaseDirectory) {
    const std::filesystem::path file = databaseDirectory / kExportDatabaseFile;
    SqlConnection connection(QStringLiteral("QSQLITE"));
    if (!connection.DriverLoaded()) return "the Qt SQL driver QSQLITE is not installed";
    QSqlDatabase db = connection.Database();
    if (!OpenSqliteFile(db, file, true)) {
        return "\"" + file.string() + "\" cannot be opened: " + db.lastError().text().toStdString();
    }
    const std::string problem = CreateExportSchema(db);
    db.close();
    return problem.empty() ? problem : "\"" + file.string() + "\", " + problem;
}

std::string InitExportDatabase(const DatabaseSetup& setup) {
    if (!setup.Export.Configured) {
        if (!setup.NetConfigProblem.empty()) return setup.NetConfigProblem;
        std::error_code error;
        if (!std::filesystem::is_directory(setup.DatabaseDirectory, error)) {
            return "the database directory \"" + setup.DatabaseDirectory.string() +
                   "\" is not there";
        }
        return InitExportTables(setup.DatabaseDirectory);
    }
    SqlConnection connection(AliasQtDriver(setup.Export));
    QSqlDatabase db = connection.Database();
    const AliasOpenResult opened =
        OpenAliasDatabase(db, setup.Export, setup.WorkingDirectory, true, "export");
    if (!opened.Open) return opened.Problem;
    const std::string problem = CreateExportSchema(db);
    db.close();
    return problem;
}

std::string InitAliasTable(const AliasSettings& settings,
                           const std::filesystem::path& workingDirectory) {
    if (!settings.Configured) return "no alias database is configured (alias.driver)";
    SqlConnection connection(AliasQtDriver(settings));
    QSqlDatabase db = connection.Database();
    const AliasOpenResult opened = OpenAliasDatabase(db, settings, workingDirectory, true);
    if (!opened.Open) return opened.Problem;
    std::string problem = CreateTable(db, AliasTableLayout());
    if (problem.empty()) problem = CreateLedger(db);
    if (problem.empty()) problem = CreateImportTables(db);
    db.close();
    return problem;
}

}  // namespace quorvex

namespace quorvex {

std::vector<StoredTest> ListExportDatabase(const DatabaseSetup& setup,
                                           const StoredTestFilter& filter, std::string& error) {
    SqlConnection connection(setup.Export.Configured ? AliasQtDriver(setup.Export)
                                                     : QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.Database();
    if (setup.Export.Configured) {
        const AliasOpenResult opened =
            OpenAliasDatabase(db, setup.Export, setup.WorkingDirectory, false, "export");
        if (!opened.Open) {
            error = opened.Problem;
            return {};
        }
    } else {
        if (!setup.NetConfigProblem.empty()) {
            error = setup.NetConfigProblem;
            return {};
        }
        const std::filesystem::path file = setup.DatabaseDirectory / kExportDatabaseFile;
        if (!OpenSqliteFile(db, file, false)) {
            error = "the export database \"" + file.string() + "\" cannot be opened" +
                    (db.lastError().text().isEmpty()
                         ? std::string(": there is no such file")
                         : ": " + db.lastError().text().toStdString());
            return {};
        }
    }
    std::vector<StoredTest> tests = ListStoredTests(db, filter, error);
    db.close();
    return tests;
}

}  // namespace quorvex
