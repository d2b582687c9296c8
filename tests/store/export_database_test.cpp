// The database tables of the stored tests, against SQLite and a real PostgreSQL server that
// the tests start themselves: every table takes its rows back as written, the export tables
// are never created by a store, and an alias row survives a database that is away and
// reaches WerteZug exactly once.
#include "store/export_database.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cctype>
#include <fstream>

#include "alias_database_fixture.h"
#include "store/sql_connection.h"
#include "store/results_table.h"
#include "store/sql_tables.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

constexpr double kToday = 45500;  // 2024-07-27

// A stored test of the type with values that need rounding and a blank specimen number.
ResultsRecord SampleRecord(int type, int number) {
    ResultsRecord r;
    r.SpecimenNo = number == 0 ? "" : "P-" + std::to_string(number);
    r.SpecimenId = "Charge 7/" + std::to_string(type);
    r.ScrewType = type == 1 ? "M12x1,5" : "";
    r.Date = 45000.5;
    r.So = 78.5398f, r.ReH = 312.46f, r.ReL = 298.51f, r.Rp = 301.5f, r.Rp2 = 305.5f;
    r.Rm = 452.555f, r.Rr = 410.4f, r.RatioR1R2 = 0.6667f, r.Ag = 18.26f, r.Agt = 18.49f;
    r.Ac = 31.35f, r.At = 31.52f, r.Ae = 1.254f, r.Z = 62.77f, r.E = 210456.7f;
    r.Lo = 50.004f, r.a = 3.0005f, r.b = 20.0049f, r.d = 10.0004f, r.D = 12.5556f;
    r.r = 0.9876f, r.n = 0.2345f, r.QAW = 1.2345f;
    r.Remark = number == 0 ? "  " : "Bruch 'außen'; \"Mitte\"";  // quotes stay text
    for (int i = 0; i < ResultsRecord::kResultCount; ++i) r.Results[i] = 1.23456f * (i + 1);
    return r;
}

ParameterSet SampleParameters(int type) {
    ParameterSet p;
    p.TestType = type;
    for (int i = 0; i < 10; ++i) p.HeaderValue[i] = i == 3 ? "" : "Kopf " + std::to_string(i + 1);
    for (int i = 0; i < kResultDefinitionSlots; ++i) p.Results[i].Decimals = i % 4;
    return p;
}

ExportRow SampleExportRow(int type, int number = 1) {
    return BuildExportRow(SampleRecord(type, number), SampleParameters(type), kToday);
}

ExportRow SampleAliasRow(int number) {
    return BuildAliasRow(SampleRecord(0, number), SampleParameters(0), kToday);
}

// Every row of the table, in storing order, with its fields in table order.
std::vector<QSqlRecord> RowsOf(QSqlDatabase& db, const std::string& table) {
    std::vector<QSqlRecord> rows;
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM ") + QuoteIdentifier(table))) << table;
    while (query.next()) rows.push_back(query.record());
    return rows;
}

// The stored row holds the fields of the written one, in their order, with the same values.
void ExpectRow(const QSqlRecord& stored, const ExportRow& row) {
    ASSERT_EQ(stored.count(), static_cast<int>(row.Fields.size())) << row.Table;
    for (int i = 0; i < stored.count(); ++i) {
        const ExportField& field = row.Fields[static_cast<std::size_t>(i)];
        SCOPED_TRACE(row.Table + "." + field.Name);
        EXPECT_EQ(stored.fieldName(i).toStdString(), field.Name);
        const QVariant value = stored.value(i);
        switch (field.Kind) {
            case ExportKind::Text:
                EXPECT_EQ(value.toString().toStdString(), field.Text);
                break;
            case ExportKind::Number:
                EXPECT_EQ(value.toDouble(), field.Number);
                break;
            case ExportKind::Integer:
                EXPECT_EQ(value.toLongLong(), field.Integer);
                break;
            case ExportKind::Date:
                EXPECT_EQ(value.toDate(), QDate(2024, 7, 27));
                break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseTest, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         EngineName);

TEST_P(DatabaseTest, EveryTableTakesItsRowsBackInFieldOrder) {
    QSqlDatabase db = Look(true);
    std::vector<ExportRow> layouts = ExportTableLayouts();
    layouts.push_back(AliasTableLayout());
    for (const ExportRow& layout : layouts) ASSERT_EQ(CreateTable(db, layout), "");

    std::vector<ExportRow> rows;
    for (int type = 0; type <= 9; ++type) {
        if (type != 1 && type != 2) rows.push_back(SampleExportRow(type, type % 2));
    }
    rows.push_back(SampleAliasRow(0));
    for (const ExportRow& row : rows) ASSERT_EQ(InsertRow(db, row), "") << row.Table;

    // Creating the tables again leaves them and their rows.
    for (const ExportRow& layout : layouts) ASSERT_EQ(CreateTable(db, layout), "");
    for (const ExportRow& row : rows) {
        const std::vector<QSqlRecord> stored = RowsOf(db, row.Table);
        ASSERT_EQ(stored.size(), 1u) << row.Table;
        ExpectRow(stored[0], row);
    }
    db.close();
}

TEST_P(DatabaseTest, AliasRowsWaitWhileTheDatabaseIsAwayAndArriveOnce) {
    ASSERT_EQ(InitAliasTable(alias, dir), "");
    const std::filesystem::path outbox = dir / kAliasOutboxFile;
    {
        ExportDatabases store(dir, dir, alias);
        EXPECT_TRUE(store.ProbeAlias());
        store.WriteAliasRow(SampleAliasRow(1));
        EXPECT_EQ(store.PendingAliasRows(), 0);
        EXPECT_EQ(store.TakeMessages(), std::vector<std::string>());
    }
    EXPECT_FALSE(std::filesystem::exists(outbox));

    TakeAway();
    {
        ExportDatabases store(dir, dir, alias);
        EXPECT_FALSE(store.ProbeAlias());
        store.WriteAliasRow(SampleAliasRow(2));
        store.WriteAliasRow(SampleAliasRow(0));
        EXPECT_EQ(store.PendingAliasRows(), 2);
        const std::vector<std::string> messages = store.TakeMessages();
        ASSERT_EQ(messages.size(), 1u);  // told once, not at every row
        EXPECT_NE(messages[0].find("alias database"), std::string::npos) << messages[0];
    }
    // A SQLite alias file that is away is not created in its place.
    if (GetParam() == Engine::Sqlite) {
        EXPECT_FALSE(std::filesystem::exists(dir / "alias.sqlite"));
    }
    BringBack();

    // The next start sends them.
    std::filesystem::copy_file(outbox, dir / "outbox.copy");
    {
        ExportDatabases store(dir, dir, alias);
        EXPECT_EQ(store.SendPendingAliasRows(), 0);
        EXPECT_FALSE(std::filesystem::exists(outbox));
        for (const auto& m : store.TakeMessages()) ADD_FAILURE() << m;
    }
    // A crash between the commit and the rewrite of the outbox leaves the rows in it: the
    // next store sends what waits first, and nothing arrives twice.
    std::filesystem::copy_file(dir / "outbox.copy", outbox);
    {
        ExportDatabases store(dir, dir, alias);
        store.WriteAliasRow(SampleAliasRow(3));
        EXPECT_EQ(store.PendingAliasRows(), 0);
        EXPECT_TRUE(store.TakeMessages().empty());
    }
    QSqlDatabase db = Look();
    const std::vector<QSqlRecord> stored = RowsOf(db, kAliasTable);
    ASSERT_EQ(stored.size(), 4u);
    ExpectRow(stored[0], SampleAliasRow(1));
    ExpectRow(stored[1], SampleAliasRow(2));
    ExpectRow(stored[2], SampleAliasRow(0));
    ExpectRow(stored[3], SampleAliasRow(3));
    db.close();
}

// Another program's lock on the SQLite file is reported as such, not as a missing table.
TEST_P(DatabaseTest, ALockedAliasDatabaseIsReportedAsLockedNotAsOneWithoutTables) {
    if (GetParam() != Engine::Sqlite) GTEST_SKIP() << "the lock of a SQLite file";
    ASSERT_EQ(InitAliasTable(alias, dir), "");
    QSqlDatabase db = Look();
    QSqlQuery exclusive(db);
    ASSERT_TRUE(exclusive.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    {
        ExportDatabases store(dir, dir, alias);
        EXPECT_FALSE(store.ProbeAlias());
        const std::vector<std::string> messages = store.TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("locked"), std::string::npos) << messages[0];
        EXPECT_EQ(messages[0].find("has no table"), std::string::npos) << messages[0];
    }
    ASSERT_TRUE(exclusive.exec(QStringLiteral("COMMIT")));
    ExportDatabases store(dir, dir, alias);
    EXPECT_TRUE(store.ProbeAlias());
    EXPECT_TRUE(store.TakeMessages().empty());
    db.close();
}

TEST_P(DatabaseTest, ALineOfTheOutboxThatIsNoRowStaysAndIsNamed) {
    ASSERT_EQ(InitAliasTable(alias, dir), "");
    std::ofstream(dir / kAliasOutboxFile) << "{\"id\": \"half a line\n";
    ExportDatabases store(dir, dir, alias);
    store.WriteAliasRow(SampleAliasRow(1));
    EXPECT_EQ(store.PendingAliasRows(), 1);
    const std::vector<std::string> messages = store.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("WerteZug.outbox\", line 1"), std::string::npos) << messages[0];
    QSqlDatabase db = Look();
    EXPECT_EQ(RowsOf(db, kAliasTable).size(), 1u);
    db.close();
}

// --- the export tables, which live in one SQLite file of the database directory

using ExportTablesTest = testing_support::TempDirTest;

TEST_F(ExportTablesTest, AStoreNeverCreatesTheTablesAndKeepsTheRowsOfAMissingOne) {
    const std::filesystem::path databases = dir / "db";
    std::filesystem::create_directories(databases);
    const std::filesystem::path file = databases / kExportDatabaseFile;
    {
        // A lab without the file uses no export tables: nothing is written and nothing waits.
        ExportDatabases store(databases, dir, {});
        store.WriteExportRow(SampleExportRow(0));
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(store.PendingExportRows(), 0);
        EXPECT_TRUE(store.TakeMessages().empty());
    }
    ASSERT_EQ(InitExportTables(databases), "");
    {
        SqlConnection connection(QStringLiteral("QSQLITE"));
        QSqlDatabase db = connection.Database();
        ASSERT_TRUE(OpenSqliteFile(db, file, false));
        QSqlQuery(db).exec(QStringLiteral("DROP TABLE \"Data_Chain\""));
        db.close();
    }
    {
        ExportDatabases store(databases, dir, {});
        store.WriteExportRow(SampleExportRow(0));
        store.WriteExportRow(SampleExportRow(4));  // its table is gone: the row waits
        store.WriteExportRow(SampleExportRow(6));
        EXPECT_EQ(store.PendingExportRows(), 1);
        const std::vector<std::string> messages = store.TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("Data_Chain"), std::string::npos) << messages[0];
    }
    ASSERT_EQ(InitExportTables(databases), "");  // brings the missing table, keeps the rows
    {
        ExportDatabases store(databases, dir, {});
        EXPECT_EQ(store.SendPendingRows(), 0);
    }
    SqlConnection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.Database();
    ASSERT_TRUE(OpenSqliteFile(db, file, false));
    const std::vector<QSqlRecord> tensile = RowsOf(db, "Data_EN10002");
    ASSERT_EQ(tensile.size(), 1u);
    ExpectRow(tensile[0], WithTestIdentity(SampleExportRow(0),
                                           tensile[0].value("TestId").toString().toStdString(),
                                           HostMachineName()));
    EXPECT_EQ(RowsOf(db, "Data_Plastics").size(), 1u);
    EXPECT_EQ(RowsOf(db, "Data_Chain").size(), 1u);
    EXPECT_EQ(RowsOf(db, kResultsTable).size(), 3u);
    for (const ExportRow& layout : ExportTableLayouts()) EXPECT_TRUE(TableExists(db, layout.Table));
    db.close();
}

}  // namespace
}  // namespace quorvex
