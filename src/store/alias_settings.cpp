// The "alias.*" keys of "Quorvex.platform": which database holds WerteZug. Several testing
// machines of a lab name the same PostgreSQL server here; a single machine may use a SQLite
// file. The password stays in a file of its own so that the platform file can be shown.
#include <unistd.h>

#include <string>
#include <string_view>

#include "machine/platform_config.h"
#include "machine/working_file.h"
#include "store/export_database.h"

namespace quorvex {
namespace {

bool ParsePort(const std::string& value, int& port) {
    if (value.empty() || value.size() > 5) return false;
    int number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    if (number < 1 || number > 65535) return false;
    port = number;
    return true;
}

bool KnownSslMode(const std::string& mode) {
    for (const char* known :
         {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"}) {
        if (mode == known) return true;
    }
    return false;
}

// The keys of one prefix ("alias." or "export."); "machine.name" comes along.
AliasSettingsResult LoadDatabaseKeys(const std::filesystem::path& directory,
                                     const std::string& prefix, std::string* machineName) {
    AliasSettingsResult result;
    AliasSettings& s = result.Settings;
    std::string refusal;
    const auto file = ReadWorkingFile(directory, PlatformConfig::kFileName, &refusal);
    if (!refusal.empty()) result.Warnings.push_back(refusal);
    std::string_view text = file ? std::string_view(*file) : std::string_view();
    bool driverSeen = false;
    int driverLine = 0;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = TrimSpaces(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;  // the platform reader reports it
        const std::string key = LowerAscii(TrimSpaces(line.substr(0, equals)));
        const std::string value(TrimSpaces(line.substr(equals + 1)));
        auto warn = [&](const std::string& what) {
            result.Warnings.push_back(std::string(PlatformConfig::kFileName) + ", line " +
                                      std::to_string(lineNumber) + ": " + what);
        };
        if (key == "machine.name" && machineName) {
            // A name is one line of printable text; it goes into every row of this machine.
            bool printable = !value.empty() && value.size() <= 64;
            for (const char c : value) {
                printable = printable && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
            }
            if (printable) {
                *machineName = value;
            } else {
                warn("\"" + value + "\" is no machine name (1 ... 64 printable characters)");
            }
            continue;
        }
        if (key.rfind(prefix, 0) != 0) continue;
        const std::string name = key.substr(prefix.size());
        if (name == "driver") {
            driverSeen = true;
            driverLine = lineNumber;
            const std::string driver = LowerAscii(value);
            if (driver == "sqlite" || driver == "postgresql") {
                s.Driver = QString::fromStdString(driver);
            } else {
                s.Driver.clear();
                warn("\"" + value + "\" is no " + prefix.substr(0, prefix.size() - 1) +
                     " driver (sqlite or postgresql)");
            }
        } else if (name == "database") {
            s.Database = QString::fromStdString(value);
        } else if (name == "host") {
            s.Host = QString::fromStdString(value);
        } else if (name == "port") {
            if (!ParsePort(value, s.Port)) warn("\"" + value + "\" is no port (1 ... 65535)");
        } else if (name == "user") {
            s.User = QString::fromStdString(value);
        } else if (name == "password-file") {
            s.PasswordFile = QString::fromStdString(value);
        } else if (name == "sslmode") {
            const std::string mode = LowerAscii(value);
            if (KnownSslMode(mode)) {
                s.SslMode = QString::fromStdString(mode);
            } else {
                warn("\"" + value +
                     "\" is no sslmode (disable, allow, prefer, require, verify-ca, verify-full)");
            }
        } else {
            warn("unknown key \"" + key + "\"");
        }
    }
    if (driverSeen && !s.Driver.isEmpty()) {
        if (s.Database.isEmpty()) {
            result.Warnings.push_back(std::string(PlatformConfig::kFileName) + ", line " +
                                      std::to_string(driverLine) + ": " + prefix +
                                      "driver without " + prefix + "database: no " +
                                      prefix.substr(0, prefix.size() - 1) + " database");
        } else {
            s.Configured = true;
        }
    }
    return result;
}

}  // namespace

std::string HostMachineName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
    return name;
}

AliasSettingsResult LoadAliasSettings(const std::filesystem::path& directory) {
    return LoadDatabaseKeys(directory, "alias.", nullptr);
}

ExportSettingsResult LoadExportSettings(const std::filesystem::path& directory) {
    ExportSettingsResult result;
    std::string machine;
    AliasSettingsResult keys = LoadDatabaseKeys(directory, "export.", &machine);
    result.Settings = std::move(keys.Settings);
    result.Warnings = std::move(keys.Warnings);
    result.MachineName = machine.empty() ? HostMachineName() : machine;
    return result;
}

}  // namespace quorvex
