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
};

struct AliasSettingsResult {
    AliasSettings Settings;
    std::vector<std::string> Warnings;  // lines of the alias keys that were not understood
};

// Reads the alias keys from "Quorvex.platform" in the directory; other keys are left alone.
AliasSettingsResult LoadAliasSettings(const std::filesystem::path& directory);

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

class ExportDatabases : public ExportRowSink {
  public:
    ExportDatabases(std::filesystem::path databaseDirectory, std::filesystem::path workingDirectory,
                    AliasSettings alias);
    ~ExportDatabases() override;
    ExportDatabases(const ExportDatabases&) = delete;
    ExportDatabases& operator=(const ExportDatabases&) = delete;

    // Where the alias database is, for the look-ups in its import tables.
    const AliasSettings& Alias() const;

    // Opens and closes WerteZug: whether the alias database is available.
    bool ProbeAlias();

    // The export table of the row's test type; a missing file or table skips the row silently.
    void WriteExportRow(const ExportRow& row) override;
    // WerteZug: the row goes into the outbox first, then the outbox is sent in order, so an
    // absent database or a crash loses nothing. Without an alias database nothing happens.
    void WriteAliasRow(const ExportRow& row) override;

    // Sends the rows of the outbox (each exactly once; at start-up); returns how many wait.
    int SendPendingAliasRows();
    // The lines of the outbox, for the window's status line.
    int PendingAliasRows() const;

    // Problems the operator should hear of, each once: an alias database that cannot be
    // reached or lacks its tables, a missing password file, a row the database refused, a line
    // of the outbox that is no row (naming the file and the line).
    std::vector<std::string> TakeMessages();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Creates the export tables in the SQLite file of the directory (tables already there stay).
// Returns an empty string on success, else what went wrong.
std::string InitExportTables(const std::filesystem::path& databaseDirectory);
// Creates WerteZug, its outbox ledger and the import tables ImportProbendaten and
// ImportGrenzwerte in the alias database of the settings (tables already there stay).
std::string InitAliasTable(const AliasSettings& settings,
                           const std::filesystem::path& workingDirectory);

}  // namespace quorvex
