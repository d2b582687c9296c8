// Several testing machines store into one PostgreSQL server while it goes away and comes back:
// four quorvex-cli processes, each with its own working directory and machine name, store
// 50 tests each; the server is stopped and started twice meanwhile. Afterwards every test is
// in the export database exactly once, every outbox is empty, db list shows them and db
// report prints them.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QSqlQuery>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "postgres_server.h"
#include "store/export_database.h"
#include "store/results_table.h"
#include "store/sql_connection.h"
#include "temp_dir.h"

extern char** environ;

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing_support::PostgresServer;

constexpr int kMachines = 4;
constexpr int kTestsEach = 50;

std::string Cli() {
    return QUORVEX_CLI_PATH;
}

pid_t Spawn(const std::string& script) {
    std::vector<std::string> words = {"/bin/sh", "-c", script};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

std::string Text(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int Stored(const fs::path& machine) {
    std::error_code error;
    const auto size = fs::file_size(machine / "P" / "P.Res", error);
    return error ? 0 : static_cast<int>(size / 544);
}

using MachinesTest = testing_support::TempDirTest;

TEST_F(MachinesTest, FourMachinesStoreIntoOneServerThatRestartsTwiceAndEveryTestArrivesOnce) {
    std::string error;
    PostgresServer* server = PostgresServer::Shared(error);
    ASSERT_NE(server, nullptr) << error;
    ASSERT_TRUE(server->CreateDatabase("lab", error)) << error;
    const auto& login = server->Login();
    std::vector<fs::path> machines;
    for (int m = 1; m <= kMachines; ++m) {
        const fs::path work = dir / ("machine" + std::to_string(m));
        fs::create_directories(work);
        std::ofstream platform(work / "Quorvex.platform");
        for (const char* prefix : {"export", "alias"}) {
            platform << prefix << ".driver = postgresql\n"
                     << prefix << ".host = " << login.Host << "\n"
                     << prefix << ".port = " << login.Port << "\n"
                     << prefix << ".database = lab\n"
                     << prefix << ".user = " << login.User << "\n"
                     << prefix << ".password-file = " << login.PasswordFile.string() << "\n";
        }
        platform << "machine.name = Maschine " << m << "\n";
        machines.push_back(work);
    }
    const std::string init = "\"" + Cli() + "\" db init --export --dir \"" + machines[0].string() +
                             "\" > \"" + (dir / "grants.sql").string() + "\" && \"" + Cli() +
                             "\" db init --alias --dir \"" + machines[0].string() +
                             "\" > /dev/null";
    ASSERT_EQ(std::system(init.c_str()), 0);
    EXPECT_NE(Text(dir / "grants.sql").find("GRANT INSERT ON \"Data_EN10002\""), std::string::npos);

    std::vector<pid_t> children;
    for (const fs::path& work : machines) {
        const std::string store = "\"" + Cli() + "\" run --dir \"" + work.string() +
                                  "\" --project P --set WriteAliasTable=1 >/dev/null 2>>\"" +
                                  (work / "log").string() + "\"";
        children.push_back(Spawn("i=0; while [ $i -lt " + std::to_string(kTestsEach) + " ]; do " +
                                 store + " || echo $i >> \"" + (work / "failed").string() +
                                 "\"; i=$((i+1)); done"));
        ASSERT_GT(children.back(), 0);
    }
    // The server goes away twice while the machines store, each time for a few of their tests.
    const auto least = [&] {
        int fewest = kTestsEach;
        for (const fs::path& work : machines) fewest = std::min(fewest, Stored(work));
        return fewest;
    };
    const auto waitFor = [&](int tests) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(90);
        while (least() < tests && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    };
    for (const int stopAt : {5, 25}) {
        waitFor(stopAt);
        ASSERT_TRUE(server->Stop(error)) << error;
        waitFor(stopAt + 8);
        ASSERT_TRUE(server->Start(error)) << error;
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
    }
    for (const fs::path& work : machines) {
        SCOPED_TRACE(work.string() + ": " + Text(work / "log"));
        EXPECT_FALSE(fs::exists(work / "failed")) << Text(work / "failed");
        EXPECT_EQ(Stored(work), kTestsEach);
        EXPECT_FALSE(fs::exists(work / kExportOutboxFile)) << Text(work / kExportOutboxFile);
        EXPECT_FALSE(fs::exists(work / kAliasOutboxFile));
    }
    // The machines did store while the server was away.
    EXPECT_NE(Text(machines[0] / "log").find("wait in"), std::string::npos);

    const fs::path list = dir / "list.jsonl";
    ASSERT_EQ(std::system(("\"" + Cli() + "\" db list --dir \"" + machines[1].string() + "\" > \"" +
                           list.string() + "\"")
                              .c_str()),
              0);
    std::map<std::string, std::set<int>> records;
    std::set<std::string> ids;
    int lines = 0;
    std::istringstream in(Text(list));
    for (std::string line; std::getline(in, line);) {
        ++lines;
        const auto field = [&](const std::string& name) {
            const std::size_t at = line.find("\"" + name + "\":");
            return at == std::string::npos ? std::string() : line.substr(at + name.size() + 3, 40);
        };
        const std::string machine = field("Machine").substr(1, 10);
        records[machine].insert(std::stoi(field("Record")));
        ids.insert(field("TestId").substr(0, 38));
    }
    EXPECT_EQ(lines, kMachines * kTestsEach);
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kMachines * kTestsEach));
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kMachines));
    for (const auto& [machine, numbers] : records) {
        EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kTestsEach)) << machine;
        EXPECT_EQ(*numbers.begin(), 1);
        EXPECT_EQ(*numbers.rbegin(), kTestsEach);
    }
    {
        SqlConnection connection(QStringLiteral("QPSQL"));
        QSqlDatabase db = connection.Database();
        AliasSettings settings;
        settings.Configured = true;
        settings.Driver = "postgresql";
        settings.Database = "lab";
        settings.Host = QString::fromStdString(login.Host);
        settings.Port = login.Port;
        settings.User = QString::fromStdString(login.User);
        settings.PasswordFile = QString::fromStdString(login.PasswordFile.string());
        ASSERT_TRUE(OpenAliasDatabase(db, settings, dir, false).Open);
        for (const char* table : {"Data_EN10002", "WerteZug", "quorvex_results"}) {
            QSqlQuery query(db);
            ASSERT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)));
            ASSERT_TRUE(query.next());
            EXPECT_EQ(query.value(0).toInt(), kMachines * kTestsEach) << table;
        }
        db.close();
    }
    const fs::path pdf = dir / "lab.pdf";
    const std::string report = "\"" + Cli() + "\" db report --dir \"" + machines[2].string() +
                               "\" --machine \"Maschine 3\" --pdf \"" + pdf.string() + "\" > \"" +
                               (dir / "report.txt").string() + "\"";
    ASSERT_EQ(std::system(report.c_str()), 0);
    EXPECT_NE(Text(dir / "report.txt").find("wrote 50 record(s)"), std::string::npos);
    EXPECT_GT(fs::file_size(pdf), 1000u);
}

TEST_F(MachinesTest, ASqliteExportFileOnANetworkShareDrawsTheWarning) {
    std::ofstream(dir / "NET.CFG") << dir.string() << "\n";
    const std::string command = "QUORVEX_FILE_SYSTEM_TYPE=0xFF534D42 \"" + Cli() +
                                "\" db init --export --dir \"" + dir.string() + "\" 2> \"" +
                                (dir / "err.txt").string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string err = Text(dir / "err.txt");
    EXPECT_NE(err.find("is on a network file system (CIFS)"), std::string::npos) << err;
    EXPECT_NE(err.find("export.driver = postgresql"), std::string::npos) << err;
    // A store there says it too; without the fake type the local file draws nothing.
    const std::string run = "QUORVEX_FILE_SYSTEM_TYPE=0x6969 \"" + Cli() + "\" run --dir \"" +
                            dir.string() + "\" --project P > /dev/null 2> \"" +
                            (dir / "run.txt").string() + "\"";
    ASSERT_EQ(std::system(run.c_str()), 0);
    EXPECT_NE(Text(dir / "run.txt").find("(NFS)"), std::string::npos) << Text(dir / "run.txt");
    ASSERT_EQ(std::system(("\"" + Cli() + "\" run --dir \"" + dir.string() +
                           "\" --project P > /dev/null 2> \"" + (dir / "run.txt").string() + "\"")
                              .c_str()),
              0);
    EXPECT_EQ(Text(dir / "run.txt").find("network file system"), std::string::npos);
}

}  // namespace
}  // namespace quorvex
