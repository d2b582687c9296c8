// The throwaway PostgreSQL server of the database tests.
#include "postgres_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

extern char** environ;

namespace quorvex::testing_support {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSetupHint = "run scripts/setup, which installs it";

std::unique_ptr<PostgresServer>& SharedSlot() {
    static std::unique_ptr<PostgresServer> server;
    return server;
}

class SharedServerEnvironment : public ::testing::Environment {
  public:
    void TearDown() override { StopSharedPostgresServer(); }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SharedServerEnvironment);

// The newest of Debian's PostgreSQL versions that has a server installed.
fs::path FindBinDirectory() {
    std::error_code error;
    fs::path best;
    int bestVersion = -1;
    for (fs::directory_iterator it("/usr/lib/postgresql", error), end; !error && it != end;
         it.increment(error)) {
        const fs::path bin = it->path() / "bin";
        if (!fs::exists(bin / "initdb", error) || !fs::exists(bin / "pg_ctl", error)) continue;
        int version = -1;
        try {
            version = std::stoi(it->path().filename().string());
        } catch (const std::exception&) {
        }
        if (version > bestVersion) {
            bestVersion = version;
            best = bin;
        }
    }
    return best;
}

int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(s);
    return port;
}

// The user "postgres" may only enter the server's directory when every directory above it
// lets others pass.
bool OthersMayPass(const fs::path& directory) {
    for (fs::path p = directory; !p.empty(); p = p.parent_path()) {
        struct stat st {};
        if (stat(p.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) return false;
        if (p == p.parent_path()) break;
    }
    return true;
}

std::string Tail(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 1500 ? all.substr(all.size() - 1500) : all;
}

}  // namespace

void StopSharedPostgresServer() {
    SharedSlot().reset();
}

PostgresServer* PostgresServer::Shared(std::string& error) {
    std::unique_ptr<PostgresServer>& slot = SharedSlot();
    if (!slot) {
        std::unique_ptr<PostgresServer> server(new PostgresServer);
        if (!server->Setup(error)) return nullptr;
        slot = std::move(server);
    }
    return slot.get();
}

bool PostgresServer::RunTool(const std::string& tool, const std::vector<std::string>& args,
                             std::string& error) {
    std::vector<std::string> words;
    if (asPostgresUser_) {
        words = {"/usr/bin/setpriv", "--reuid=postgres", "--regid=postgres", "--clear-groups"};
    }
    words.push_back((bin_ / tool).string());
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    const fs::path log = dir_ / "tools.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    // The user postgres may not enter the caller's directory: the tools start in the server's.
    posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        error = "cannot start " + words[0];
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = tool + " failed:\n" + Tail(log) + "\n" + Tail(dir_ / "server.log");
        return false;
    }
    return true;
}

bool PostgresServer::Setup(std::string& error) {
    bin_ = FindBinDirectory();
    if (bin_.empty()) {
        error =
            std::string("the PostgreSQL server (initdb, pg_ctl) is not installed: ") + kSetupHint;
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        error = std::string("the Qt PostgreSQL driver (libqt6sql6-psql) is not installed: ") +
                kSetupHint;
        return false;
    }
    asPostgresUser_ = geteuid() == 0;
    const passwd* postgres = asPostgresUser_ ? getpwnam("postgres") : nullptr;
    if (asPostgresUser_ && !postgres) {
        error = std::string("there is no user \"postgres\" to run the server as: ") + kSetupHint;
        return false;
    }

    fs::path base = fs::temp_directory_path();
    if (asPostgresUser_ && !OthersMayPass(base)) base = "/tmp";
    std::string pattern = (base / "quorvex-pg-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        error = "cannot create a directory in " + base.string();
        return false;
    }
    dir_ = pattern;
    chmod(dir_.c_str(), 0755);

    login_.Port = FreePort();
    login_.Password = QUuid::createUuid().toString(QUuid::Id128).toStdString();
    login_.PasswordFile = dir_ / "password";
    std::ofstream(login_.PasswordFile) << login_.Password << "\n";
    chmod(login_.PasswordFile.c_str(), 0600);  // the program refuses one that others may read
    if (asPostgresUser_ &&
        (chown(dir_.c_str(), postgres->pw_uid, postgres->pw_gid) != 0 ||
         chown(login_.PasswordFile.c_str(), postgres->pw_uid, postgres->pw_gid) != 0)) {
        error = "cannot hand " + dir_.string() + " to the user postgres";
        return false;
    }
    if (!RunTool(
            "initdb",
            {"-D", (dir_ / "data").string(), "-U", login_.User, "--auth=scram-sha-256",
             "--pwfile=" + login_.PasswordFile.string(), "-E", "UTF8", "--no-locale", "--no-sync"},
            error)) {
        return false;
    }
    return Start(error);
}

bool PostgresServer::Start(std::string& error) {
    // fsync off: nothing here must survive a power cut. Commits still reach the log before
    // they return, so a server stopped at once and started again keeps them.
    const std::string options = "-p " + std::to_string(login_.Port) + " -k " + dir_.string() +
                                " -c listen_addresses=127.0.0.1 -c fsync=off" +
                                " -c full_page_writes=off";
    if (!RunTool("pg_ctl",
                 {"-D", (dir_ / "data").string(), "-l", (dir_ / "server.log").string(), "-w", "-t",
                  "60", "-o", options, "start"},
                 error)) {
        return false;
    }
    running_ = true;
    return true;
}

bool PostgresServer::Stop(std::string& error) {
    if (!running_) return true;
    if (!RunTool("pg_ctl", {"-D", (dir_ / "data").string(), "-m", "immediate", "-w", "stop"},
                 error)) {
        return false;
    }
    running_ = false;
    return true;
}

bool PostgresServer::CreateDatabase(const std::string& name, std::string& error) {
    error.clear();
    const QString connectionName = QStringLiteral("quorvex-test-admin");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        db.setHostName(QString::fromStdString(login_.Host));
        db.setPort(login_.Port);
        db.setDatabaseName(QStringLiteral("postgres"));
        db.setUserName(QString::fromStdString(login_.User));
        db.setPassword(QString::fromStdString(login_.Password));
        db.setConnectOptions(QStringLiteral("options=-cclient_min_messages=warning"));
        if (!db.open()) {
            error = "cannot log in to the test server: " + db.lastError().text().toStdString();
        } else {
            QSqlQuery query(db);
            const QString quoted = QStringLiteral("\"%1\"").arg(QString::fromStdString(name));
            if (!query.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quoted) ||
                !query.exec(QStringLiteral("CREATE DATABASE ") + quoted)) {
                error = "cannot create the database " + name + ": " +
                        query.lastError().text().toStdString();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return error.empty();
}

PostgresServer::~PostgresServer() {
    std::string ignored;
    Stop(ignored);
    std::error_code error;
    fs::remove_all(dir_, error);
}

}  // namespace quorvex::testing_support
