// Where the database tables are: the alias keys of "Quorvex.platform", the database directory
// of "NET.CFG", and the working directory when that one cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include "store/alias_outbox.h"
#include "store/export_database.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

using AliasSettingsTest = testing_support::TempDirTest;

TEST_F(AliasSettingsTest, KeysOfThePlatformFile) {
    std::ofstream(dir / "quorvex.PLATFORM") << "daq = simulated\n"
                                               "# the lab's server\n"
                                               "ALIAS.Driver = PostgreSQL\r\n"
                                               "alias.database = Labor\n"
                                               "alias.host = db.labor.local\n"
                                               "alias.port = 5433\n"
                                               "alias.user = pruefmaschine2\n"
                                               "alias.password-file = /etc/quorvex/alias.pw\n"
                                               "alias.port = 70000\n"
                                               "alias.password = geheim\n";
    const AliasSettingsResult result = LoadAliasSettings(dir);
    const AliasSettings& s = result.Settings;
    EXPECT_TRUE(s.Configured);
    EXPECT_EQ(s.Driver, "postgresql");
    EXPECT_EQ(s.Database, "Labor");
    EXPECT_EQ(s.Host, "db.labor.local");
    EXPECT_EQ(s.Port, 5433);
    EXPECT_EQ(s.User, "pruefmaschine2");
    EXPECT_EQ(s.PasswordFile, "/etc/quorvex/alias.pw");
    ASSERT_EQ(result.Warnings.size(), 2u);
    EXPECT_EQ(result.Warnings[0], "Quorvex.platform, line 9: \"70000\" is no port (1 ... 65535)");
    EXPECT_EQ(result.Warnings[1], "Quorvex.platform, line 10: unknown key \"alias.password\"");
}

TEST_F(AliasSettingsTest, WithoutADriverOrADatabaseThereIsNoAliasDatabase) {
    struct Case {
        const char* text;
        std::size_t warnings;
    };
    const Case cases[] = {
        {"", 0},
        {"alias.database = Labor\n", 0},
        {"alias.driver = access\nalias.database = Labor\n", 1},
        {"alias.driver = sqlite\n", 1},
    };
    for (const Case& c : cases) {
        std::ofstream(dir / "Quorvex.platform") << c.text;
        const AliasSettingsResult result = LoadAliasSettings(dir);
        EXPECT_FALSE(result.Settings.Configured) << c.text;
        EXPECT_EQ(result.Warnings.size(), c.warnings) << c.text;

        ExportDatabases store(dir, dir, result.Settings);
        EXPECT_FALSE(store.ProbeAlias());
        store.WriteAliasRow(ExportRow{kAliasTable, {{"ProbenNr", ExportKind::Text, "1"}}});
        EXPECT_EQ(store.PendingAliasRows(), 0);
        EXPECT_TRUE(store.TakeMessages().empty()) << c.text;
    }
}

TEST_F(AliasSettingsTest, AMissingPasswordFileIsARefusalNamingIt) {
    AliasSettings alias;
    alias.Configured = true;
    alias.Driver = "postgresql";
    alias.Database = "Labor";
    alias.Host = "127.0.0.1";
    alias.Port = 1;
    alias.PasswordFile = "alias.pw";
    ExportDatabases store(dir, dir, alias);
    EXPECT_FALSE(store.ProbeAlias());
    const std::vector<std::string> messages = store.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "alias.password-file \"" + (dir / "alias.pw").string() + "\" cannot be read");
    EXPECT_NE(InitAliasTable(alias, dir).find("alias.pw"), std::string::npos);
}

TEST_F(AliasSettingsTest, APasswordFileOrOutboxThatIsNoFileIsRefusedAtOnce) {
    AliasSettings alias;
    alias.Configured = true;
    alias.Driver = "postgresql";
    alias.Database = "Labor";
    alias.Host = "127.0.0.1";
    alias.Port = 1;
    alias.PasswordFile = "alias.pw";
    const std::filesystem::path outbox = dir / kAliasOutboxFile;
    const std::filesystem::path password = dir / "alias.pw";
    const auto make = [](const std::filesystem::path& file, int kind) {
        std::filesystem::remove(file);
        if (kind == 0) {
            ASSERT_EQ(mkfifo(file.c_str(), 0644), 0);
        }
        if (kind == 1) std::filesystem::create_symlink("/dev/zero", file);
        if (kind == 2) {
            std::ofstream(file).close();
            std::filesystem::resize_file(file, 2ull << 30);
        }
    };
    for (int kind = 0; kind < 3; ++kind) {
        make(password, kind);
        make(outbox, kind);
        const auto start = std::chrono::steady_clock::now();
        ExportDatabases store(dir, dir, alias);
        EXPECT_FALSE(store.ProbeAlias());
        const OutboxContent content = ReadOutbox(outbox);
        EXPECT_EQ(store.PendingAliasRows(), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << kind;
        EXPECT_FALSE(content.Readable) << kind;
        ASSERT_EQ(content.Messages.size(), 1u) << kind;
        EXPECT_NE(content.Messages[0].find(outbox.string()), std::string::npos);
        const std::vector<std::string> messages = store.TakeMessages();
        ASSERT_FALSE(messages.empty()) << kind;
        EXPECT_NE(messages[0].find("alias.pw"), std::string::npos) << messages[0];
    }
    // Writing the outbox replaces a link in its place, never the device it points at.
    make(outbox, 1);
    ASSERT_TRUE(WriteOutbox(outbox, {OutboxLine{"{}", std::nullopt}}));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(outbox)));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/zero"));
}

TEST_F(AliasSettingsTest, DatabaseDirectoryOfNetCfg) {
    const QString program = QStringLiteral("/home/lab/quorvex");
    EXPECT_EQ(DatabaseDirectoryFromNetConfig(dir, program), program);
    // An installed program never writes beside itself: the working directory stands in.
    const QString here = QString::fromStdString(dir.string());
    for (const char* installed : {"/usr/bin", "/usr/local/bin", "/opt/quorvex/bin", "/bin"}) {
        EXPECT_EQ(DatabaseDirectoryFromNetConfig(dir, QString::fromLatin1(installed)), here)
            << installed;
    }
    EXPECT_FALSE(IsSystemDirectory(QStringLiteral("/usrlocal/quorvex")));
    std::ofstream(dir / "net.cfg") << "  /srv/pruefdaten \r\nsecond line\r\n";
    EXPECT_EQ(DatabaseDirectoryFromNetConfig(dir, program), "/srv/pruefdaten");
    std::ofstream(dir / "net.cfg") << "\n";
    EXPECT_EQ(DatabaseDirectoryFromNetConfig(dir, program), program);
    // The record of the network settings: a length byte, then the directory in Windows-1252.
    std::string record(2946, '\0');
    record.replace(0, 13,
                   "\x0c"
                   "D:\\Pr\xfc"
                   "fdaten");
    std::ofstream(dir / "net.cfg", std::ios::binary) << record;
    EXPECT_EQ(DatabaseDirectoryFromNetConfig(dir, program), QString::fromUtf8("D:\\Prüfdaten"));
}

TEST_F(AliasSettingsTest, TheWorkingDirectoryStandsInForADatabaseDirectoryThatCannotBeWritten) {
    const QString here = QString::fromStdString(dir.string());
    EXPECT_EQ(UsableDatabaseDirectory(here, "/work"), dir);
    EXPECT_EQ(UsableDatabaseDirectory(here + QStringLiteral("/missing"), "/work"), "/work");
    EXPECT_EQ(UsableDatabaseDirectory(QString(), "/work"), "/work");
    EXPECT_TRUE(std::filesystem::is_empty(dir));  // the probe leaves nothing behind
}

}  // namespace
}  // namespace quorvex
