// Named Qt SQL connections and the opening of the SQLite files and of the alias database.
#include "store/sql_connection.h"

#include <QFile>
#include <QSqlError>
#include <QUrl>
#include <QUuid>

#include "evaluation/files.h"

namespace quorvex {

SqlConnection::SqlConnection(const QString& driver)
    : driver_(driver),
      name_(QStringLiteral("quorvex-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    QSqlDatabase::addDatabase(driver_, name_);
}

SqlConnection::~SqlConnection() {
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase SqlConnection::Database() const {
    return QSqlDatabase::database(name_, false);
}

bool SqlConnection::DriverLoaded() const {
    return Database().isValid();
}

bool OpenSqliteFile(QSqlDatabase& db, const std::filesystem::path& file, bool create) {
    const QString path = QString::fromStdU16String(file.u16string());
    if (create) {
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        db.setDatabaseName(path);
        return db.open();
    }
    if (!QFile::exists(path)) return false;
    // mode=rw: SQLite opens the file for writing but never creates it, even when it vanishes
    // between the check above and this open.
    QUrl uri = QUrl::fromLocalFile(path);
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    return db.open();
}

QString AliasQtDriver(const AliasSettings& settings) {
    return settings.Driver == QLatin1String("postgresql") ? QStringLiteral("QPSQL")
                                                          : QStringLiteral("QSQLITE");
}

std::filesystem::path SettingsPath(const QString& path,
                                   const std::filesystem::path& workingDirectory) {
    const std::filesystem::path given(path.toStdU16String());
    return given.is_absolute() ? given : workingDirectory / given;
}

std::string DescribeAliasDatabase(const AliasSettings& settings,
                                  const std::filesystem::path& workingDirectory) {
    if (AliasQtDriver(settings) == QLatin1String("QSQLITE")) {
        return "\"" + SettingsPath(settings.Database, workingDirectory).string() + "\"";
    }
    const QString host = settings.Host.isEmpty() ? QStringLiteral("localhost") : settings.Host;
    return "\"" + host.toStdString() + ":" + std::to_string(settings.Port) + "/" +
           settings.Database.toStdString() + "\"";
}

AliasOpenResult OpenAliasDatabase(QSqlDatabase& db, const AliasSettings& settings,
                                  const std::filesystem::path& workingDirectory, bool createFile) {
    AliasOpenResult result;
    const std::string where = DescribeAliasDatabase(settings, workingDirectory);
    if (!db.isValid()) {
        result.Problem = "the Qt SQL driver " + AliasQtDriver(settings).toStdString() +
                         " of the alias database is not installed";
        return result;
    }
    if (AliasQtDriver(settings) == QLatin1String("QSQLITE")) {
        const std::filesystem::path file = SettingsPath(settings.Database, workingDirectory);
        result.Open = OpenSqliteFile(db, file, createFile);
        if (!result.Open) {
            result.Problem = "the alias database " + where + " cannot be opened" +
                             (QFile::exists(QString::fromStdU16String(file.u16string()))
                                  ? ": " + db.lastError().text().toStdString()
                                  : std::string(": there is no such file"));
        }
        return result;
    }
    QString password;
    if (!settings.PasswordFile.isEmpty()) {
        const std::filesystem::path file = SettingsPath(settings.PasswordFile, workingDirectory);
        // A password is a line: a larger file is no password file.
        const FileBytes read = ReadFileBytes(file, 64 * 1024, Beyond::Refused);
        if (!read.Status.Loaded()) {
            result.Problem = "alias.password-file \"" + file.string() + "\" cannot be read" +
                             (read.Status.message.empty() ? "" : ": " + read.Status.message);
            return result;
        }
        // The first line is the password; the line end is not part of it.
        const QByteArray bytes(reinterpret_cast<const char*>(read.Bytes.data()),
                               static_cast<qsizetype>(read.Bytes.size()));
        QByteArray line = bytes.left(bytes.indexOf('\n') < 0 ? bytes.size() : bytes.indexOf('\n'));
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        password = QString::fromUtf8(line);
    }
    db.setHostName(settings.Host);
    db.setPort(settings.Port);
    db.setDatabaseName(settings.Database);
    db.setUserName(settings.User);
    db.setPassword(password);
    // A server that is away must not hold the store up for long; its notices ("table exists,
    // skipping") are no news for the operator.
    db.setConnectOptions(QStringLiteral("connect_timeout=3;options=-cclient_min_messages=warning"));
    result.Open = db.open();
    if (!result.Open) {
        result.Problem = "the alias database " + where +
                         " cannot be reached: " + db.lastError().text().toStdString();
    }
    return result;
}

}  // namespace quorvex
