// The "alias.*" keys of "Quorvex.platform": which database holds WerteZug. Several testing
// machines of a lab name the same PostgreSQL server here; a single machine may use a SQLite
// file. The password stays in a file of its own so that the platform file can be shown.
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

}  // namespace

AliasSettingsResult LoadAliasSettings(const std::filesystem::path& directory) {
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
        if (key.rfind("alias.", 0) != 0) continue;
        const std::string value(TrimSpaces(line.substr(equals + 1)));
        auto warn = [&](const std::string& what) {
            result.Warnings.push_back(std::string(PlatformConfig::kFileName) + ", line " +
                                      std::to_string(lineNumber) + ": " + what);
        };
        if (key == "alias.driver") {
            driverSeen = true;
            driverLine = lineNumber;
            const std::string driver = LowerAscii(value);
            if (driver == "sqlite" || driver == "postgresql") {
                s.Driver = QString::fromStdString(driver);
            } else {
                s.Driver.clear();
                warn("\"" + value + "\" is no alias driver (sqlite or postgresql)");
            }
        } else if (key == "alias.database") {
            s.Database = QString::fromStdString(value);
        } else if (key == "alias.host") {
            s.Host = QString::fromStdString(value);
        } else if (key == "alias.port") {
            if (!ParsePort(value, s.Port)) warn("\"" + value + "\" is no port (1 ... 65535)");
        } else if (key == "alias.user") {
            s.User = QString::fromStdString(value);
        } else if (key == "alias.password-file") {
            s.PasswordFile = QString::fromStdString(value);
        } else {
            warn("unknown key \"" + key + "\"");
        }
    }
    if (driverSeen && !s.Driver.isEmpty()) {
        if (s.Database.isEmpty()) {
            result.Warnings.push_back(std::string(PlatformConfig::kFileName) + ", line " +
                                      std::to_string(driverLine) +
                                      ": alias.driver without alias.database: no alias database");
        } else {
            s.Configured = true;
        }
    }
    return result;
}

}  // namespace quorvex
