// Rows per second through the export outbox: stored tests queued before their record,
// committed and delivered one by one as the store does it, into a SQLite file and into the
// tests' own PostgreSQL server; then a backlog of waiting tests sent at once. Prints the
// figures; not a timed test.
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "evaluation/project_store.h"
#include "postgres_server.h"
#include "store/export_database.h"

namespace fs = std::filesystem;
using namespace quorvex;

namespace {

QueuedRows RowsOf(const fs::path& directory, int number) {
    QueuedRows rows;
    rows.Slot = 1;
    rows.ResultsFile = directory / "P" / "P.Res";
    rows.ProjectName = "P";
    rows.Record.SpecimenNo = "S-" + std::to_string(number);
    rows.Record.Rm = 400.0f;
    rows.Record.RecordNumber = number;
    ParameterSet p;
    rows.Export = BuildExportRow(rows.Record, p, 45500);
    return rows;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Measure(const char* name, DatabaseSetup setup, int tests) {
    const fs::path work = setup.WorkingDirectory;
    fs::create_directories(work / "P");
    if (const std::string problem = InitExportDatabase(setup); !problem.empty()) {
        std::printf("%s: %s\n", name, problem.c_str());
        return;
    }
    ExportDatabases sink(setup);
    auto start = std::chrono::steady_clock::now();
    for (int n = 1; n <= tests; ++n) {
        const QueuedRows rows = RowsOf(work, n);
        sink.Queue(rows);
        AppendRecord(rows.ResultsFile, rows.Record, 0, n);
        sink.Committed(1, true, n);
        sink.Deliver();
    }
    const double oneByOne = Seconds(start);
    // A backlog: the tests waited while the database was away, then go at the next start.
    for (int n = tests + 1; n <= 2 * tests; ++n) {
        const QueuedRows rows = RowsOf(work, n);
        sink.Queue(rows);
        AppendRecord(rows.ResultsFile, rows.Record, 0, n);
        sink.Committed(1, true, n);
    }
    start = std::chrono::steady_clock::now();
    const int left = sink.SendPendingRows();
    const double backlog = Seconds(start);
    std::printf("%-10s %5d tests stored one by one: %7.0f tests/s (%.2f ms each, 2 rows each)\n",
                name, tests, tests / oneByOne, 1000 * oneByOne / tests);
    std::printf("%-10s %5d waiting tests sent at once: %7.0f tests/s%s\n", name, tests,
                tests / backlog, left ? " (some left!)" : "");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int tests = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const fs::path base = fs::temp_directory_path() / "quorvex-outbox-benchmark";
    fs::remove_all(base);

    DatabaseSetup sqlite;
    sqlite.WorkingDirectory = base / "sqlite";
    sqlite.DatabaseDirectory = base / "sqlite";
    sqlite.ExportInUse = true;
    sqlite.MachineName = "bench";
    fs::create_directories(sqlite.WorkingDirectory);
    Measure("SQLite", sqlite, tests);

    std::string error;
    testing_support::PostgresServer* server = testing_support::PostgresServer::Shared(error);
    if (server && server->CreateDatabase("bench", error)) {
        DatabaseSetup pg;
        pg.WorkingDirectory = base / "postgres";
        pg.ExportInUse = true;
        pg.MachineName = "bench";
        pg.Export.Configured = true;
        pg.Export.Driver = "postgresql";
        pg.Export.Database = "bench";
        pg.Export.Host = QString::fromStdString(server->Login().Host);
        pg.Export.Port = server->Login().Port;
        pg.Export.User = QString::fromStdString(server->Login().User);
        pg.Export.PasswordFile = QString::fromStdString(server->Login().PasswordFile.string());
        fs::create_directories(pg.WorkingDirectory);
        Measure("PostgreSQL", pg, tests);
    } else {
        std::printf("PostgreSQL: %s\n", error.c_str());
    }
    testing_support::StopSharedPostgresServer();
    fs::remove_all(base);
    return 0;
}
