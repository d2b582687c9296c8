// quorvex-cli run --project and project store: tests on the simulated machine end stored in a
// results project with their export and alias rows, numbered one after the other.
#include <gtest/gtest.h>

#include <QSqlQuery>
#include <filesystem>
#include <fstream>
#include <string>

#include "command_run.h"
#include "evaluation/project_store.h"
#include "evaluation/store_lock.h"
#include "db_command.h"
#include "project_command.h"
#include "store/sql_connection.h"
#include "store/sql_tables.h"
#include "run_command.h"
#include "temp_dir.h"

namespace quorvex::cli {
namespace {

using ProjectRunTest = testing_support::TempDirTest;

// The values of one column of a table in a SQLite file, in storing order.
std::vector<QString> Column(const std::filesystem::path& file, const std::string& table,
                            const std::string& column) {
    SqlConnection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.Database();
    EXPECT_TRUE(OpenSqliteFile(db, file, false)) << file;
    std::vector<QString> values;
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(
        QStringLiteral("SELECT %1 FROM %2").arg(QuoteIdentifier(column), QuoteIdentifier(table))));
    while (query.next()) values.push_back(query.value(0).toString());
    query.finish();
    db.close();
    return values;
}

double JsonNumber(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\": ");
    if (at == std::string::npos) return -1;
    return std::stod(json.substr(at + name.size() + 4));
}

TEST_F(ProjectRunTest, TwoRunsAndAStoreAreRecords1To3WithTheirRows) {
    // The lab's databases: the export tables in db/ (NET.CFG), WerteZug in a SQLite file.
    std::filesystem::create_directories(dir / "db");
    std::ofstream(dir / "NET.CFG") << (dir / "db").string() << "\r\n";
    std::ofstream(dir / "Quorvex.platform") << "alias.driver = sqlite\n"
                                               "alias.database = alias.sqlite\n";
    ASSERT_EQ(Command(RunDbCommand, {"init", (dir / "db").string()}).code, 0);
    const CommandRun alias = Command(RunDbCommand, {"init", "--alias", "--dir", dir.string()});
    ASSERT_EQ(alias.code, 0) << alias.err;

    const std::vector<std::string> run = {"--preset",  "aluminium", "--dir", dir.string(),
                                          "--project", "P",         "--set", "WriteAliasTable=1"};
    std::string firstResults;
    for (int record = 1; record <= 2; ++record) {
        const CommandRun result = Command(RunRunCommand, run);
        ASSERT_EQ(result.code, 0) << result.err;
        EXPECT_NE(result.err.find("stored as record " + std::to_string(record)), std::string::npos)
            << result.err;
        if (record == 1) firstResults = result.out;
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "P" / "P.Par"));
    for (const char* name : {"1.Hea", "1.Dia", "2.Hea", "2.Dia"}) {
        EXPECT_TRUE(std::filesystem::exists(dir / "P" / name)) << name;
    }

    // The series slot of the last run once more, its record rebuilt from 1.Dia.
    const CommandRun stored = Command(RunProjectCommand, {"store", "P", "--dir", dir.string()});
    ASSERT_EQ(stored.code, 0) << stored.err;
    EXPECT_EQ(stored.out, "{\"Record\": 3}\n");

    const CommandRun list = Command(RunProjectCommand, {"list", (dir / "P" / "P.Res").string()});
    ASSERT_EQ(list.code, 0) << list.err;
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = list.out.find('\n', at)) != std::string::npos;
         at = end + 1) {
        lines.push_back(list.out.substr(at, end - at));
    }
    ASSERT_EQ(lines.size(), 3u) << list.out;
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(lines[i].find("\"Number\": " + std::to_string(i + 1)), std::string::npos);
        EXPECT_NE(lines[i].find("\"Remark\": \"\""), std::string::npos) << lines[i];
        EXPECT_NEAR(JsonNumber(lines[i], "Rm"), JsonNumber(firstResults, "Rm"),
                    0.005 * JsonNumber(firstResults, "Rm"));
    }

    // The blank remark is "-" in the tables, and empty in the record above.
    const auto exported = Column(dir / "db" / kExportDatabaseFile, "Data_EN10002", "Comment");
    EXPECT_EQ(exported, std::vector<QString>(3, QStringLiteral("-")));
    const auto specimens = Column(dir / "alias.sqlite", kAliasTable, "ProbenNr");
    EXPECT_EQ(specimens, std::vector<QString>(3, QStringLiteral("SIM-aluminium")));
    EXPECT_FALSE(std::filesystem::exists(dir / kAliasOutboxFile));
}

TEST_F(ProjectRunTest, RefusesWhatCannotBeStored) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"store", "P"}, "no results project \"P\""},
        {{"store", ".."}, "is no project name"},
        {{"store"}, "is no project name"},
        {{"store", "P", "Q"}, "\"Q\" is not understood"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--dir", dir.string()});
        const CommandRun run = Command(RunProjectCommand, args);
        EXPECT_NE(run.code, 0) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    // A project without the series files of slot 1: the curve file is named.
    std::filesystem::create_directories(dir / "P");
    ASSERT_EQ(Command(RunRunCommand, {"--dir", dir.string(), "--project", "P"}).code, 0);
    std::filesystem::remove(dir / "1.Dia");
    const CommandRun run = Command(RunProjectCommand, {"store", "P", "--dir", dir.string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("1.Dia"), std::string::npos) << run.err;
    EXPECT_EQ(Command(RunRunCommand, {"--dir", dir.string(), "--project", " "}).code, 2);

    // P holds tensile tests: a shear test is not stored in it, and nothing is added.
    const auto before = std::filesystem::file_size(dir / "P" / "P.Res");
    const CommandRun shear =
        Command(RunRunCommand, {"--type", "3", "--dir", dir.string(), "--project", "P"});
    EXPECT_EQ(shear.code, 1);
    EXPECT_NE(shear.err.find("\"P\" holds tests of type 0"), std::string::npos) << shear.err;
    EXPECT_NE(shear.err.find("type 3"), std::string::npos) << shear.err;
    EXPECT_EQ(std::filesystem::file_size(dir / "P" / "P.Res"), before);

    // While another store holds the working directory, a run writes no series file and
    // stores nothing, and says so.
    const StoreLock other(dir, std::chrono::milliseconds(0));
    ASSERT_TRUE(other.Held());
    const CommandRun waited = Command(RunRunCommand, {"--dir", dir.string(), "--project", "P"});
    EXPECT_EQ(waited.code, 1);
    EXPECT_NE(waited.err.find("Another store is writing into"), std::string::npos) << waited.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "1.Dia"));
    EXPECT_EQ(CountRecords(dir / "P" / "P.Res").Records, 1);
}

}  // namespace
}  // namespace quorvex::cli
