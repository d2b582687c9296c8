// The Qt SQL connections of the results store: each owner gets connections under names of
// its own (so two stores never share one) and removes them when it goes; SQLite files are
// opened for writing without ever being created by accident, and the alias database is
// opened as "Quorvex.platform" describes it.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <filesystem>
#include <string>

#include "store/export_database.h"

namespace quorvex {

class SqlConnection {
  public:
    // driver: "QSQLITE" or "QPSQL".
    explicit SqlConnection(const QString& driver);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    // A handle to the connection; keep it no longer than a function call.
    QSqlDatabase Database() const;
    // False when Qt has no such driver (its plugin package is not installed).
    bool DriverLoaded() const;
    QString DriverName() const { return driver_; }

  private:
    QString driver_;
    QString name_;
};

// Opens the SQLite file for reading and writing. Without `create` a missing file stays
// missing and the open fails.
bool OpenSqliteFile(QSqlDatabase& db, const std::filesystem::path& file, bool create);

// The Qt driver of the alias settings ("QSQLITE", "QPSQL").
QString AliasQtDriver(const AliasSettings& settings);

// A path of the settings, relative ones taken in the working directory.
std::filesystem::path SettingsPath(const QString& path,
                                   const std::filesystem::path& workingDirectory);

struct AliasOpenResult {
    bool Open = false;
    // Why it is not open: a refusal of the settings (a missing password file) or the
    // database's own words (a server away); empty when open.
    std::string Problem;
};

// Opens the alias database. A SQLite file is created only with `createFile` (db init); the
// password file is read now, so a changed password needs no restart.
// `role` ("alias" or "export") names the keys and the database in messages. A password file
// that group or others may read is refused: the password is the lab's, not every user's.
AliasOpenResult OpenAliasDatabase(QSqlDatabase& db, const AliasSettings& settings,
                                  const std::filesystem::path& workingDirectory, bool createFile,
                                  const std::string& role = "alias");

// Where the alias settings point, for messages: the file or host:port/database.
std::string DescribeAliasDatabase(const AliasSettings& settings,
                                  const std::filesystem::path& workingDirectory);

}  // namespace quorvex
