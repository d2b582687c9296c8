// The database tables a stored test is written to, through Qt SQL: the export tables of every
// test type in one SQLite file of the database directory, and the alias table WerteZug in the
// database that "Quorvex.platform" names (SQLite or a shared PostgreSQL server). An alias row
// that cannot be written waits in an outbox file and is sent later, once.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "evaluation/project_store.h"

namespace quorvex {

// The SQLite file of the export tables in the database directory.
constexpr const char* kExportDatabaseFile = "Quorvex-Export.sqlite";
// The alias rows that wait for the alias database, in the working directory.
constexpr const char* kAliasOutboxFile = "WerteZug.outbox";

// The "alias.*" keys of "Quorvex.platform".
struct AliasSettings {
    bool Configured = false;  // alias.driver and alias.database were given
    QString Driver;           // "sqlite" or "postgresql"
    QString Database;         // file (sqlite, relative to the working directory) or name
    QString Host;
    int Port = 5432;
    QString User;
    QString PasswordFile;  // a file holding the password, never the password itself
    QString SslMode;       // PostgreSQL: disable, allow, prefer, require, verify-ca, verify-full
};

struct AliasSettingsResult {
    AliasSettings Settings;
    std::vector<std::string> Warnings;  // lines of the alias keys that were not understood
};

// Reads the alias keys from "Quorvex.platform" in the directory; other keys are left alone.
AliasSettingsResult LoadAliasSettings(const std::filesystem::path& directory);

// The "export.*" keys (the same as the alias ones: driver, database, host, port, user,
// password-file, sslmode) and "machine.name", the name every row of this machine carries.
struct ExportSettingsResult {
    AliasSettings Settings;  // Configured: export.driver and export.database were given
    std::string MachineName;
    std::vector<std::string> Warnings;
};
ExportSettingsResult LoadExportSettings(const std::filesystem::path& directory);

// The host name, for a machine without machine.name.
std::string HostMachineName();

// What "NET.CFG" in the working directory says: nothing (no file), a directory, or a refusal
// (a file that names no usable directory: garbage, control characters, a relative path).
struct NetConfig {
    bool Present = false;
    QString Directory;
    std::string Problem;
};
NetConfig ReadNetConfig(const std::filesystem::path& workingDirectory);

// The database directory: the one "NET.CFG" in the working directory names (the record of
// the network settings, whose first field is the directory, or a text whose first line is
// it), else the program's directory, or the working directory when the program lives in a
// system directory (an installed program never writes beside itself).
bool IsSystemDirectory(const QString& directory);
QString DatabaseDirectoryFromNetConfig(const std::filesystem::path& workingDirectory,
                                       const QString& programDirectory);

// The directory of the export tables: the database directory when it can be written, else the
// working directory (a system install leaves the program's directory read-only).
std::filesystem::path UsableDatabaseDirectory(const QString& databaseDirectory,
                                              const std::filesystem::path& workingDirectory);

// Everything a store needs to know of its databases.
struct DatabaseSetup {
    std::filesystem::path WorkingDirectory;
    // The directory of the SQLite export file when no export server is named.
    std::filesystem::path DatabaseDirectory;
    // Whether the lab uses export tables at all: a server named, "NET.CFG" present or the file
    // there. Without them nothing is queued.
    bool ExportInUse = false;
    std::string NetConfigProblem;  // "NET.CFG" names no usable directory: rows wait
    AliasSettings Alias;
    AliasSettings Export;  // Configured: a server or file named by export.*
    std::string MachineName;
    std::vector<std::string> Warnings;  // of the platform file and "NET.CFG"
};

// The databases of a working directory as "Quorvex.platform" and "NET.CFG" name them;
// `programDirectory` is the default database directory.
DatabaseSetup DatabaseSetupOf(const std::filesystem::path& workingDirectory,
                              const QString& programDirectory);

// The SQLite export file of the setup (or the server's description), for messages.
std::string DescribeExportDatabase(const DatabaseSetup& setup);

// The export rows that wait for the export database, in the working directory.
constexpr const char* kExportOutboxFile = "Export.outbox";

class ExportDatabases : public ExportRowSink {
  public:
    explicit ExportDatabases(DatabaseSetup setup);
    // A SQLite export file in databaseDirectory (used when it is there) and the alias database.
    ExportDatabases(std::filesystem::path databaseDirectory, std::filesystem::path workingDirectory,
                    AliasSettings alias);
    ~ExportDatabases() override;
    ExportDatabases(const ExportDatabases&) = delete;
    ExportDatabases& operator=(const ExportDatabases&) = delete;

    // Where the alias database is, for the look-ups in its import tables.
    const AliasSettings& Alias() const;

    // Opens and closes WerteZug: whether the alias database is available.
    bool ProbeAlias();

    // The rows of a stored test wait in "Export.outbox" from before its record on; they are
    // delivered once the record is written, in one transaction with their test id, so a row
    // reaches the database exactly once whatever happens meanwhile.
    void Queue(const QueuedRows& rows) override;
    void Committed(int slot, bool stored, int recordNumber) override;
    void RowsDue(int slot) override;
    void Deliver() override;

    // One export row outside a store: queued as a stored test and sent.
    void WriteExportRow(const ExportRow& row) override;
    // WerteZug: the row goes into the outbox first, then the outbox is sent in order, so an
    // absent database or a crash loses nothing. Without an alias database nothing happens.
    void WriteAliasRow(const ExportRow& row) override;

    // Sends the rows of the outbox (each exactly once; at start-up); returns how many wait.
    int SendPendingAliasRows();
    // The lines of the outbox, for the window's status line.
    int PendingAliasRows() const;

    // Sends the stored tests of "Export.outbox" and then the alias rows; returns how many
    // rows wait in both.
    int SendPendingRows();
    // The stored tests that wait in "Export.outbox".
    int PendingExportRows() const;
    // A SQLite export file on a network file system: the warning, else empty.
    std::string NetworkFileSystemWarning() const;

    // Problems the operator should hear of, each once: an alias database that cannot be
    // reached or lacks its tables, a missing password file, a row the database refused, a line
    // of the outbox that is no row (naming the file and the line).
    std::vector<std::string> TakeMessages();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Creates the export tables and quorvex_results in the SQLite file of the directory (tables
// already there stay; their rows get the columns TestId and Machine when they lack them).
// Returns an empty string on success, else what went wrong.
std::string InitExportTables(const std::filesystem::path& databaseDirectory);
// The same in the export database of the setup (a server, or the SQLite file).
std::string InitExportDatabase(const DatabaseSetup& setup);
// Creates WerteZug, its outbox ledger and the import tables ImportProbendaten and
// ImportGrenzwerte in the alias database of the settings (tables already there stay).
std::string InitAliasTable(const AliasSettings& settings,
                           const std::filesystem::path& workingDirectory);

}  // namespace quorvex
