// Where the export tables are: the directory that "NET.CFG" names, else the program's own
// directory unless the program is installed in a system directory, and the working directory
// when the chosen one cannot be written.
#include <QDir>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <algorithm>
#include <string>
#include <string_view>

#include "evaluation/files.h"
#include "evaluation/win1252.h"
#include "store/export_database.h"

namespace quorvex {
namespace {

constexpr const char* kNetConfigFile = "NET.CFG";
constexpr std::size_t kNetConfigRecordSize = 2946;

// A line written on this system is UTF-8; one that comes from the old system is Windows-1252.
QString DecodeLine(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return QString::fromStdString(Win1252ToUtf8(bytes));
}

std::filesystem::path PathOf(const QString& directory) {
    return std::filesystem::path(directory.toStdU16String());
}

// A directory can be written when a file can be created in it: this holds for read-only
// mounts and access lists that the permission bits do not show.
bool DirectoryWritable(const std::filesystem::path& directory) {
    std::error_code error;
    if (directory.empty() || !std::filesystem::is_directory(directory, error)) return false;
    QTemporaryFile probe(QString::fromStdU16String((directory / ".quorvex-XXXXXX").u16string()));
    return probe.open();
}

}  // namespace

bool IsSystemDirectory(const QString& directory) {
    // An installed program lives under /usr or /opt (or in /bin, /sbin); its directory belongs
    // to the package manager, even where root could write into it.
    const QString path = QDir::cleanPath(directory);
    for (const char* root : {"/usr", "/opt", "/bin", "/sbin", "/lib", "/etc"}) {
        const QString system = QString::fromLatin1(root);
        if (path == system || path.startsWith(system + QLatin1Char('/'))) return true;
    }
    return false;
}

QString DatabaseDirectoryFromNetConfig(const std::filesystem::path& workingDirectory,
                                       const QString& installedProgramDirectory) {
    const QString programDirectory =
        IsSystemDirectory(installedProgramDirectory)
            ? QString::fromStdU16String(workingDirectory.u16string())
            : installedProgramDirectory;
    const auto bytes = ReadWholeFile(ResolveInDirectory(workingDirectory, kNetConfigFile));
    if (!bytes || bytes->empty()) return programDirectory;
    const std::string_view all(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    QString directory;
    if (bytes->size() >= kNetConfigRecordSize) {
        // The record of the network settings: its first field is a string with a length byte.
        const std::size_t length = std::min<std::size_t>((*bytes)[0], bytes->size() - 1);
        directory = QString::fromStdString(Win1252ToUtf8(all.substr(1, length)));
    } else {
        directory = DecodeLine(all.substr(0, all.find_first_of("\r\n")));
    }
    const QString trimmed = directory.trimmed();
    return trimmed.isEmpty() ? programDirectory : trimmed;
}

std::filesystem::path UsableDatabaseDirectory(const QString& databaseDirectory,
                                              const std::filesystem::path& workingDirectory) {
    const std::filesystem::path directory = PathOf(databaseDirectory);
    return DirectoryWritable(directory) ? directory : workingDirectory;
}

}  // namespace quorvex
