// Where the export tables are: the directory that "NET.CFG" names, else the program's own
// directory unless the program is installed in a system directory, and the working directory
// when the chosen one cannot be written.
#include <QDir>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <algorithm>
#include <vector>
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

NetConfig ReadNetConfig(const std::filesystem::path& workingDirectory) {
    NetConfig config;
    const std::filesystem::path file = ResolveInDirectory(workingDirectory, kNetConfigFile);
    const FileBytes read = ReadFileBytes(file, kNetConfigRecordSize * 4, Beyond::Ignored);
    if (read.Status.status == LoadStatus::Missing) return config;
    config.Present = true;
    if (!read.Status.Loaded()) {
        config.Problem = read.Status.message.empty()
                             ? "\"" + file.string() + "\" cannot be read"
                             : read.Status.message;
        return config;
    }
    const std::vector<std::uint8_t>& bytes = read.Bytes;
    if (bytes.empty()) {
        config.Present = false;  // an empty file names nothing: as if there were none
        return config;
    }
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    QString directory;
    if (bytes.size() >= kNetConfigRecordSize) {
        // The record of the network settings: its first field is a string with a length byte.
        const std::size_t length = bytes[0];
        if (length > 0 && length < kNetConfigRecordSize) {
            directory = QString::fromStdString(Win1252ToUtf8(all.substr(1, length)));
        }
    } else {
        directory = DecodeLine(all.substr(0, all.find_first_of("\r\n")));
    }
    directory = directory.trimmed();
    bool sound = !directory.isEmpty();
    for (const QChar c : directory) {
        sound =
            sound && c.unicode() >= 0x20 && c.unicode() != 0x7F && c != QChar::ReplacementCharacter;
    }
    if (!sound) {
        config.Problem = "\"" + file.string() +
                         "\" names no database directory (its first line or field is empty or "
                         "holds control characters): the export rows wait until it is mended";
        return config;
    }
    config.Directory = directory;
    return config;
}

QString DatabaseDirectoryFromNetConfig(const std::filesystem::path& workingDirectory,
                                       const QString& installedProgramDirectory) {
    const QString programDirectory =
        IsSystemDirectory(installedProgramDirectory)
            ? QString::fromStdU16String(workingDirectory.u16string())
            : installedProgramDirectory;
    const NetConfig config = ReadNetConfig(workingDirectory);
    if (!config.Present || !config.Problem.empty()) return programDirectory;
    return config.Directory;
}

DatabaseSetup DatabaseSetupOf(const std::filesystem::path& workingDirectory,
                              const QString& programDirectory) {
    DatabaseSetup setup;
    setup.WorkingDirectory = workingDirectory;
    ExportSettingsResult exportKeys = LoadExportSettings(workingDirectory);
    AliasSettingsResult aliasKeys = LoadAliasSettings(workingDirectory);
    setup.Export = exportKeys.Settings;
    setup.Alias = aliasKeys.Settings;
    setup.MachineName = exportKeys.MachineName;
    for (auto* list : {&exportKeys.Warnings, &aliasKeys.Warnings}) {
        for (const std::string& warning : *list) {
            if (std::find(setup.Warnings.begin(), setup.Warnings.end(), warning) ==
                setup.Warnings.end()) {
                setup.Warnings.push_back(warning);
            }
        }
    }
    const NetConfig net = ReadNetConfig(workingDirectory);
    if (net.Present && net.Problem.empty()) {
        const std::filesystem::path named(net.Directory.toStdU16String());
        setup.DatabaseDirectory = named.is_absolute() ? named : workingDirectory / named;
    } else if (net.Present) {
        setup.NetConfigProblem = net.Problem;
        setup.Warnings.push_back(net.Problem);
    } else {
        const QString program = IsSystemDirectory(programDirectory)
                                    ? QString::fromStdU16String(workingDirectory.u16string())
                                    : programDirectory;
        setup.DatabaseDirectory = UsableDatabaseDirectory(program, workingDirectory);
    }
    std::error_code error;
    setup.ExportInUse =
        setup.Export.Configured || net.Present ||
        (!setup.DatabaseDirectory.empty() &&
         std::filesystem::exists(setup.DatabaseDirectory / kExportDatabaseFile, error));
    return setup;
}

std::filesystem::path UsableDatabaseDirectory(const QString& databaseDirectory,
                                              const std::filesystem::path& workingDirectory) {
    const std::filesystem::path directory = PathOf(databaseDirectory);
    return DirectoryWritable(directory) ? directory : workingDirectory;
}

}  // namespace quorvex
