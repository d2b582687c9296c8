// Copying the system files.
#include "shell/system_files.h"

#include <system_error>

#include "evaluation/files.h"

namespace quorvex {

int BackupSystemFiles(const std::filesystem::path& workingDirectory,
                      const std::filesystem::path& targetDirectory) {
    std::error_code error;
    if (std::filesystem::equivalent(workingDirectory, targetDirectory, error)) return 0;
    int copied = 0;
    for (const char* name : kSystemFiles) {
        const std::filesystem::path source = ResolveInDirectory(workingDirectory, name);
        if (!std::filesystem::is_regular_file(source, error)) continue;
        const auto content = ReadWholeFile(source);
        if (!content) continue;
        const std::string ownName = source.filename().string();
        if (WriteFileAtomic(ResolveInDirectory(targetDirectory, ownName), *content)) ++copied;
    }
    return copied;
}

}  // namespace quorvex
