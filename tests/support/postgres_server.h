// A throwaway PostgreSQL server for the tests of the database tables: Debian's initdb and
// pg_ctl in a temporary directory, on a free port of 127.0.0.1 with password login, run as
// the user "postgres" when the tests run as root. One server per test binary, started by the
// first test that asks for it and removed when the binary ends.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvex::testing_support {

struct PostgresLogin {
    std::string Host = "127.0.0.1";
    int Port = 0;
    std::string User = "quorvex";
    std::string Password;
    std::filesystem::path PasswordFile;  // holds Password, readable by the tests
};

class PostgresServer {
  public:
    // The server of this binary, started at the first call. Nullptr with `error` saying why
    // (PostgreSQL or the Qt driver not installed: run scripts/setup).
    static PostgresServer* Shared(std::string& error);

    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    const PostgresLogin& Login() const { return login_; }

    // A new empty database of that name (an old one of the name is dropped first).
    bool CreateDatabase(const std::string& name, std::string& error);

    // The server goes away (its data stays) and comes back on the same port.
    bool Stop(std::string& error);
    bool Start(std::string& error);

  private:
    PostgresServer() = default;
    bool Setup(std::string& error);
    bool RunTool(const std::string& tool, const std::vector<std::string>& args, std::string& error);

    std::filesystem::path bin_;
    std::filesystem::path dir_;
    bool asPostgresUser_ = false;
    bool running_ = false;
    PostgresLogin login_;
};

// Deletes the shared server at the end of the binary; registered by postgres_server.cpp.
void StopSharedPostgresServer();

}  // namespace quorvex::testing_support
