// The export rows of stored tests through their outbox, against SQLite and a real PostgreSQL
// server: every stored test arrives exactly once, with its test id and machine, across a
// database that is away, a store that ends at any point, a locked, damaged or missing SQLite
// file and a garbled NET.CFG; texts come back as they were written; a role that may only
// insert suffices.
#include "store/export_outbox.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSqlError>
#include <QSqlQuery>
#include <cstdlib>
#include <fstream>

#include "alias_database_fixture.h"
#include "evaluation/project_store.h"
#include "store/network_file_system.h"
#include "store/results_table.h"
#include "store/sql_tables.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
constexpr double kToday = 45500;  // 2024-07-27

// The rows a store hands over for record `number` of the project P in `directory`.
QueuedRows RowsOf(const fs::path& directory, int number, const std::string& specimenId = "L-7",
                  const std::string& remark = "ok") {
    QueuedRows rows;
    rows.Slot = number;
    rows.ResultsFile = directory / "P" / "P.Res";
    rows.ProjectName = "P";
    ResultsRecord& r = rows.Record;
    r.SpecimenNo = "S-" + std::to_string(number);
    r.SpecimenId = specimenId;
    r.Remark = remark;
    r.Date = 45499.25;
    r.Rm = 400.0f + static_cast<float>(number);
    r.RecordNumber = number;
    ParameterSet p;
    p.HeaderValue[0] = "Auftrag 12";
    rows.HeaderLines = p.HeaderValue;
    rows.Export = BuildExportRow(r, p, kToday);
    return rows;
}

// A store of record `number`, as StoreSeriesInProject does it around the append.
void Store(ExportDatabases& sink, const QueuedRows& rows) {
    sink.Queue(rows);
    fs::create_directories(rows.ResultsFile.parent_path());
    ASSERT_TRUE(AppendRecord(rows.ResultsFile, rows.Record, 0, rows.Record.RecordNumber).Written);
    sink.Committed(rows.Slot, true, rows.Record.RecordNumber);
    sink.RowsDue(rows.Slot);
    sink.Deliver();
}

int Count(QSqlDatabase& db, const std::string& table) {
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + QuoteIdentifier(table)))
        << query.lastError().text().toStdString();
    return query.next() ? query.value(0).toInt() : -1;
}

class ExportOutboxTest : public DatabaseTest {
  protected:
    DatabaseSetup Setup(const std::string& machine = "M1") {
        DatabaseSetup setup;
        setup.WorkingDirectory = dir;
        setup.Export = alias;
        setup.ExportInUse = true;
        setup.MachineName = machine;
        return setup;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, ExportOutboxTest,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

TEST_P(ExportOutboxTest, RowsWaitForTheDatabaseAndArriveExactlyOnce) {
    ASSERT_EQ(InitExportDatabase(Setup()), "");
    {
        ExportDatabases sink(Setup());
        Store(sink, RowsOf(dir, 1));
        EXPECT_EQ(sink.PendingExportRows(), 0);
        for (const auto& m : sink.TakeMessages()) ADD_FAILURE() << m;
    }
    TakeAway();
    {
        ExportDatabases sink(Setup());
        Store(sink, RowsOf(dir, 2));
        Store(sink, RowsOf(dir, 3));
        EXPECT_EQ(sink.PendingExportRows(), 2);
        const std::vector<std::string> messages = sink.TakeMessages();
        ASSERT_EQ(messages.size(), 1u);  // told once, not at every row
        EXPECT_NE(messages[0].find("Export.outbox"), std::string::npos) << messages[0];
    }
    BringBack();
    // A crash between the commit and the rewrite of the outbox: the lines are sent again.
    fs::copy_file(dir / kExportOutboxFile, dir / "outbox.copy");
    for (int start = 0; start < 2; ++start) {
        ExportDatabases sink(Setup());
        EXPECT_EQ(sink.SendPendingRows(), 0);
        EXPECT_FALSE(fs::exists(dir / kExportOutboxFile));
        for (const auto& m : sink.TakeMessages()) ADD_FAILURE() << m;
        fs::copy_file(dir / "outbox.copy", dir / kExportOutboxFile);
    }
    QSqlDatabase db = Look();
    EXPECT_EQ(Count(db, kResultsTable), 3);
    EXPECT_EQ(Count(db, "Data_EN10002"), 3);
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral(
        "SELECT r.\"record_number\", d.\"SpecimenNo\", d.\"Machine\" FROM \"quorvex_results\" r "
        "JOIN \"Data_EN10002\" d ON d.\"TestId\" = r.\"test_id\" ORDER BY 1")));
    for (int number = 1; number <= 3; ++number) {
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toInt(), number);
        EXPECT_EQ(query.value(1).toString().toStdString(), "S-" + std::to_string(number));
        EXPECT_EQ(query.value(2).toString(), QStringLiteral("M1"));
    }
    query.finish();
    db.close();
}

TEST_P(ExportOutboxTest, TextsComeBackAsTheyWereWritten) {
    ASSERT_EQ(InitExportDatabase(Setup()), "");
    const std::string id = "O'B; \"x\" -- \\ äöü ß";  // the 20 characters of the record
    const std::string remark = "Bruch 'außen'; \"Mitte\" \\\\n 10 % µm";
    ExportDatabases sink(Setup("Prüfmaschine 'Süd'"));
    Store(sink, RowsOf(dir, 1, id, remark));
    for (const auto& m : sink.TakeMessages()) ADD_FAILURE() << m;
    DatabaseSetup setup = Setup();
    std::string error;
    StoredTestFilter filter;
    filter.Machine = "Prüfmaschine 'Süd'";
    const std::vector<StoredTest> tests = ListExportDatabase(setup, filter, error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(tests.size(), 1u);
    EXPECT_EQ(tests[0].SpecimenId, id);
    EXPECT_EQ(tests[0].Remark, remark);
    EXPECT_EQ(tests[0].Header[0], "Auftrag 12");
    EXPECT_EQ(tests[0].TestTime, "2024-07-26T06:00:00");
    const ResultsRecord back = ResultsRecordFromImage(tests[0].RecordImage);
    EXPECT_EQ(back.SpecimenId, id);
    EXPECT_EQ(back.Rm, 401.0f);
    QSqlDatabase db = Look();
    QSqlQuery query(db);
    ASSERT_TRUE(
        query.exec(QStringLiteral("SELECT \"InternalID\", \"Comment\" FROM \"Data_EN10002\"")));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString().toStdString(), id);
    EXPECT_EQ(query.value(1).toString().toStdString(), remark);
    query.finish();
    db.close();
}

TEST_P(ExportOutboxTest, AStoreThatEndsBeforeOrAfterItsRecordIsSettledAtTheNextStart) {
    ASSERT_EQ(InitExportDatabase(Setup()), "");
    fs::create_directories(dir / "P");
    {
        // Killed after the record of test 1 (before its line was marked) and before the
        // record of test 2: only test 1 was stored.
        ExportDatabases sink(Setup());
        const QueuedRows first = RowsOf(dir, 1);
        sink.Queue(first);
        ASSERT_TRUE(AppendRecord(first.ResultsFile, first.Record, 0, 1).Written);
        QueuedRows second = RowsOf(dir, 2);
        sink.Queue(second);
    }
    EXPECT_EQ(ReadExportOutbox(dir / kExportOutboxFile).Lines.size(), 2u);
    ExportDatabases sink(Setup());
    EXPECT_EQ(sink.SendPendingRows(), 0);
    const std::vector<std::string> messages = sink.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("record 2"), std::string::npos) << messages[0];
    QSqlDatabase db = Look();
    EXPECT_EQ(Count(db, kResultsTable), 1);
    EXPECT_EQ(Count(db, "Data_EN10002"), 1);
    db.close();
}

TEST_P(ExportOutboxTest, ARoleThatMayOnlyInsertSuffices) {
    if (GetParam() != Engine::Postgres) GTEST_SKIP() << "roles are the server's";
    ASSERT_EQ(InitExportDatabase(Setup()), "");
    QSqlDatabase admin = Look();
    QSqlQuery query(admin);
    query.exec(QStringLiteral("DROP ROLE IF EXISTS \"writer\""));
    for (const QString& statement :
         QString::fromStdString(InsertOnlyGrants("writer", alias.Database.toStdString()))
             .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (statement.startsWith(QLatin1String("--"))) continue;
        ASSERT_TRUE(query.exec(statement))
            << statement.toStdString() << ": " << query.lastError().text().toStdString();
    }
    ASSERT_TRUE(query.exec(QStringLiteral("ALTER ROLE \"writer\" PASSWORD 'w-pass'")));
    admin.close();
    std::ofstream(dir / "writer.pw") << "w-pass\n";
    chmod((dir / "writer.pw").c_str(), 0600);
    DatabaseSetup setup = Setup();
    setup.Export.User = "writer";
    setup.Export.PasswordFile = QString::fromStdString((dir / "writer.pw").string());
    {
        ExportDatabases sink(setup);
        const QueuedRows rows = RowsOf(dir, 1);
        sink.Queue(rows);
        fs::create_directories(dir / "P");
        ASSERT_TRUE(AppendRecord(rows.ResultsFile, rows.Record, 0, 1).Written);
        sink.Committed(rows.Slot, true, 1);
        fs::copy_file(dir / kExportOutboxFile, dir / "outbox.copy");
        sink.Deliver();
        // Sent again after a crash: the known test id adds nothing, and needs no right to read.
        fs::copy_file(dir / "outbox.copy", dir / kExportOutboxFile);
        EXPECT_EQ(sink.SendPendingRows(), 0);
        for (const auto& m : sink.TakeMessages()) ADD_FAILURE() << m;
    }
    {
        QSqlDatabase db = Look();
        EXPECT_EQ(Count(db, kResultsTable), 1);
        EXPECT_EQ(Count(db, "Data_EN10002"), 1);
        db.close();
    }
    std::string error;
    EXPECT_TRUE(ListExportDatabase(setup, {}, error).empty());
    EXPECT_NE(error.find("permission denied"), std::string::npos) << error;
    // A password file that others may read is not used.
    chmod((dir / "writer.pw").c_str(), 0644);
    ExportDatabases sink(setup);
    Store(sink, RowsOf(dir, 2));
    EXPECT_EQ(sink.PendingExportRows(), 1);
    const std::vector<std::string> messages = sink.TakeMessages();
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages[0].find("may be read by group or others"), std::string::npos) << messages[0];
}

// --- the SQLite file of the database directory

using ExportFileTest = testing_support::TempDirTest;

int Rows(const fs::path& file, const std::string& table) {
    SqlConnection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.Database();
    EXPECT_TRUE(OpenSqliteFile(db, file, false));
    const int count = Count(db, table);
    db.close();
    return count;
}

TEST_F(ExportFileTest, WithoutAnyExportDatabaseNothingWaits) {
    ExportDatabases sink(DatabaseSetupOf(dir, QString::fromStdString(dir.string())));
    Store(sink, RowsOf(dir, 1));
    EXPECT_EQ(sink.PendingExportRows(), 0);
    EXPECT_FALSE(fs::exists(dir / kExportOutboxFile));
    EXPECT_FALSE(fs::exists(dir / kExportDatabaseFile));
    EXPECT_TRUE(sink.TakeMessages().empty());
}

TEST_F(ExportFileTest, ALockedDamagedOrMissingFileKeepsTheRowsUntilItIsBack) {
    const fs::path share = dir / "share";
    const fs::path file = share / kExportDatabaseFile;
    std::ofstream(dir / "NET.CFG") << share.string() << "\r\n";
    const DatabaseSetup setup = DatabaseSetupOf(dir, QStringLiteral("/nowhere"));
    ASSERT_TRUE(setup.ExportInUse);
    int number = 0;
    struct Case {
        const char* what;
        std::function<void()> spoil, mend;
        const char* told;
    };
    std::unique_ptr<SqlConnection> holder;
    const std::vector<Case> cases = {
        {"an unmounted share", [] {},
         [&] {
             fs::create_directories(share);
             InitExportTables(share);
         },
         "is not there"},
        {"a file another machine holds locked",
         [&] {
             holder = std::make_unique<SqlConnection>(QStringLiteral("QSQLITE"));
             QSqlDatabase db = holder->Database();
             ASSERT_TRUE(OpenSqliteFile(db, file, false));
             ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
         },
         [&] { holder.reset(); }, "locked"},
        {"a damaged file",
         [&] {
             fs::rename(file, dir / "good.sqlite");
             std::ofstream(file) << std::string(8192, 'x');
         },
         [&] { fs::rename(dir / "good.sqlite", file); }, "export"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.spoil();
        {
            ExportDatabases sink(setup);
            Store(sink, RowsOf(dir, ++number));
            EXPECT_GE(sink.PendingExportRows(), 1);
            const std::vector<std::string> messages = sink.TakeMessages();
            ASSERT_FALSE(messages.empty());
            EXPECT_NE(messages[0].find(c.told), std::string::npos) << messages[0];
        }
        c.mend();
        ExportDatabases sink(setup);
        EXPECT_EQ(sink.SendPendingRows(), 0);
        for (const auto& m : sink.TakeMessages()) ADD_FAILURE() << m;
    }
    EXPECT_EQ(Rows(file, kResultsTable), number);
    EXPECT_EQ(Rows(file, "Data_EN10002"), number);
}

TEST_F(ExportFileTest, AGarbledNetCfgKeepsTheRowsAndIsNamed) {
    const fs::path program = dir / "program";
    fs::create_directories(program);
    InitExportTables(program);
    std::ofstream(dir / "NET.CFG", std::ios::binary) << std::string("\x01\x02\x7f\x00zz", 6);
    const DatabaseSetup setup = DatabaseSetupOf(dir, QString::fromStdString(program.string()));
    ASSERT_FALSE(setup.Warnings.empty());
    EXPECT_NE(setup.Warnings[0].find("NET.CFG"), std::string::npos) << setup.Warnings[0];
    ExportDatabases sink(setup);
    Store(sink, RowsOf(dir, 1));
    EXPECT_EQ(sink.PendingExportRows(), 1);
    EXPECT_EQ(Rows(program / kExportDatabaseFile, kResultsTable), 0);  // not the program's file
}

// What a kill does to a store: nothing after the point runs.
struct Killed {};

TEST_F(ExportFileTest, AStoreEndedAtAnyPointDeliversTheRowsOfExactlyItsRecords) {
    ASSERT_EQ(InitExportTables(dir), "");
    fs::create_directories(dir / "Proj");
    TestState state;
    state.Parameters.SaveCurves = 0;
    state.Parameters.WriteAliasTable = 0;
    for (int slot = 1; slot <= 2; ++slot) {
        state.TestSeries.Slots[static_cast<std::size_t>(slot)].Rm = 500.0f + slot;
    }
    ProjectStoreContext context;
    context.WorkingDirectory = dir;
    context.ProjectName = "Proj";
    context.Today = kToday;
    const DatabaseSetup setup = DatabaseSetupOf(dir, QString::fromStdString(dir.string()));
    for (const StorePoint point :
         {StorePoint::Header, StorePoint::Record, StorePoint::ResultLine, StorePoint::Rows}) {
        for (const int slot : {1, 2}) {
            SCOPED_TRACE("point " + std::to_string(static_cast<int>(point)) + ", slot " +
                         std::to_string(slot));
            context.AtPoint = [&](StorePoint at, int atSlot) {
                if (at == point && atSlot == slot) throw Killed{};
            };
            {
                ExportDatabases killed(setup);
                EXPECT_THROW(StoreSeriesInProject(state, {1, 2}, context, killed), Killed);
            }
            // The next start.
            ExportDatabases next(setup);
            EXPECT_EQ(next.SendPendingRows(), 0);
            const int records = CountRecords(dir / "Proj" / "Proj.Res").Records;
            EXPECT_EQ(Rows(dir / kExportDatabaseFile, kResultsTable), records);
            EXPECT_EQ(Rows(dir / kExportDatabaseFile, "Data_EN10002"), records);
        }
    }
}

TEST(NetworkFileSystem, TheTypesOfNfsAndSmbAreNamedAndOthersAreNot) {
    const std::vector<std::pair<long, std::string>> cases = {
        {0x6969, "NFS"},          {0x517B, "SMB"},       {0xFE534D42L, "SMB2"},
        {0xFF534D42L, "CIFS"},    {0xEF53, ""} /*ext4*/, {0x01021994, ""} /*tmpfs*/,
        {0x58465342, ""} /*xfs*/,
    };
    for (const auto& [type, name] : cases) EXPECT_EQ(NetworkFileSystemName(type), name) << type;
    // Both signs of the 32-bit types that statfs gives.
    EXPECT_EQ(NetworkFileSystemName(static_cast<long>(static_cast<int>(0xFF534D42u))), "CIFS");
}

TEST_F(ExportFileTest, ASqliteFileOnAShareIsWarnedOfAndALocalOneIsNot) {
    InitExportTables(dir);
    DatabaseSetup setup = DatabaseSetupOf(dir, QString::fromStdString(dir.string()));
    ExportDatabases local(setup);
    EXPECT_EQ(local.NetworkFileSystemWarning(), "");
    setenv("QUORVEX_FILE_SYSTEM_TYPE", "0x6969", 1);
    const std::string warning = ExportDatabases(setup).NetworkFileSystemWarning();
    unsetenv("QUORVEX_FILE_SYSTEM_TYPE");
    EXPECT_NE(warning.find((dir / kExportDatabaseFile).string()), std::string::npos) << warning;
    EXPECT_NE(warning.find("NFS"), std::string::npos);
    EXPECT_NE(warning.find("export.driver = postgresql"), std::string::npos);
}

}  // namespace
}  // namespace quorvex
