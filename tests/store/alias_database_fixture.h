// An alias database of either engine for the tests of the database tables: a SQLite file in
// the test's directory, or a fresh database on the tests' own PostgreSQL server.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <ostream>
#include <string>

#include "postgres_server.h"
#include "store/export_database.h"
#include "store/sql_connection.h"
#include "temp_dir.h"

namespace quorvex {

using testing_support::PostgresServer;

enum class Engine { Sqlite, Postgres };

inline std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
}

inline void PrintTo(Engine engine, std::ostream* out) {
    *out << (engine == Engine::Sqlite ? "SQLite" : "PostgreSQL");
}

// An alias database of the engine, empty, with a way to take it away and bring it back, and
// a connection of the test's own to look into it.
class DatabaseTest : public testing_support::TempDirTest,
                     public ::testing::WithParamInterface<Engine> {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        alias.Configured = true;
        if (GetParam() == Engine::Sqlite) {
            alias.Driver = "sqlite";
            alias.Database = "alias.sqlite";
            return;
        }
        std::string error;
        server = PostgresServer::Shared(error);
        ASSERT_NE(server, nullptr) << error;
        std::string name = "t_";
        for (const char c :
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c))
                                                                : '_';
        }
        ASSERT_TRUE(server->CreateDatabase(name, error)) << error;
        const auto& login = server->Login();
        alias.Driver = "postgresql";
        alias.Database = QString::fromStdString(name);
        alias.Host = QString::fromStdString(login.Host);
        alias.Port = login.Port;
        alias.User = QString::fromStdString(login.User);
        alias.PasswordFile = QString::fromStdString(login.PasswordFile.string());
    }

    void TearDown() override {
        if (away) BringBack();
        look.reset();
        TempDirTest::TearDown();
    }

    void TakeAway() {
        away = true;
        if (server) {
            std::string error;
            ASSERT_TRUE(server->Stop(error)) << error;
        } else {
            std::filesystem::rename(dir / "alias.sqlite", dir / "alias.away");
        }
    }

    void BringBack() {
        away = false;
        if (server) {
            std::string error;
            ASSERT_TRUE(server->Start(error)) << error;
        } else {
            std::filesystem::rename(dir / "alias.away", dir / "alias.sqlite");
        }
    }

    QSqlDatabase Look(bool createFile = false) {
        if (!look) look = std::make_unique<SqlConnection>(AliasQtDriver(alias));
        QSqlDatabase db = look->Database();
        const AliasOpenResult opened = OpenAliasDatabase(db, alias, dir, createFile);
        EXPECT_TRUE(opened.Open) << opened.Problem;
        return db;
    }

    AliasSettings alias;
    PostgresServer* server = nullptr;
    std::unique_ptr<SqlConnection> look;
    bool away = false;
};

}  // namespace quorvex
