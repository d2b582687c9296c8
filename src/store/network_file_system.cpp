// The file system type of the SQLite export file.
#include "store/network_file_system.h"

#include <sys/vfs.h>

#include <cstdlib>

namespace quorvex {

std::string NetworkFileSystemName(long fileSystemType) {
    switch (static_cast<unsigned long>(fileSystemType) & 0xFFFFFFFFul) {
        case 0x6969ul:
            return "NFS";
        case 0x517Bul:
            return "SMB";
        case 0xFE534D42ul:
            return "SMB2";
        case 0xFF534D42ul:
            return "CIFS";
        default:
            return {};
    }
}

std::string NetworkFileSystemOf(const std::filesystem::path& path) {
    if (const char* fake = std::getenv("QUORVEX_FILE_SYSTEM_TYPE"); fake && *fake) {
        char* end = nullptr;
        const unsigned long type = std::strtoul(fake, &end, 0);
        if (end && *end == '\0') return NetworkFileSystemName(static_cast<long>(type));
    }
    std::filesystem::path probe = path;
    std::error_code error;
    while (!probe.empty() && !std::filesystem::exists(probe, error)) {
        if (probe == probe.parent_path()) break;
        probe = probe.parent_path();
    }
    struct statfs info {};
    if (probe.empty() || ::statfs(probe.c_str(), &info) != 0) return {};
    return NetworkFileSystemName(static_cast<long>(info.f_type));
}

std::string NetworkSqliteWarning(const std::filesystem::path& file, const std::string& system) {
    return "the export database \"" + file.string() + "\" is on a network file system (" + system +
           "): SQLite's locking is not reliable there and two machines writing it can corrupt "
           "it; one machine alone may keep writing there, several should share a PostgreSQL "
           "server (export.driver = postgresql, export.host, export.database, export.user, "
           "export.password-file in Quorvex.platform)";
}

}  // namespace quorvex
