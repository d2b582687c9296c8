// Whether a file lies on a network file system (NFS, SMB/CIFS), where SQLite's file locking
// cannot be trusted: two machines writing one SQLite file on a share can corrupt it.
#pragma once

#include <filesystem>
#include <string>

namespace quorvex {

// The name of a network file system type of statfs ("NFS", "SMB", "SMB2", "CIFS"), else empty.
std::string NetworkFileSystemName(long fileSystemType);

// The network file system that holds the path (or its nearest existing directory), else
// empty. The environment variable QUORVEX_FILE_SYSTEM_TYPE (a statfs type, e.g. 0x6969) stands
// in for the real type, so that the warning can be tried without a share.
std::string NetworkFileSystemOf(const std::filesystem::path& path);

// The warning for a SQLite export file on such a file system.
std::string NetworkSqliteWarning(const std::filesystem::path& file, const std::string& system);

}  // namespace quorvex
