// File access shared by every record file: names matched without regard to case (the
// files come from a system that ignores case), whole reads, and writes that replace a file
// only once the new content is complete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// The path of `name` in `directory`: an existing entry whose name matches without regard to
// case (the letters of Windows-1252, the files' own code page), else directory/name as given.
std::filesystem::path ResolveInDirectory(const std::filesystem::path& directory,
                                         const std::string& name);

// The same for a whole path: only its last component is matched.
std::filesystem::path ResolvePath(const std::filesystem::path& path);

// Writes to a temporary file in the same directory and renames it over the target, so a
// crash never leaves half a file. Returns false (and leaves the old file) on any failure.
bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// What a reader of a fixed-size record file found.
enum class LoadStatus {
    Loaded,   // the record was read
    Missing,  // the file could not be opened: defaults stay, no message
    Refused,  // the file is there but unusable: nothing changed, message names the file
};

struct LoadResult {
    LoadStatus status = LoadStatus::Missing;
    std::string message;  // for Refused: what went wrong, naming the file
    bool Loaded() const { return status == LoadStatus::Loaded; }
};

// The largest file a whole read takes: far more than any file of the program holds, far
// less than the memory of the machine.
constexpr std::size_t kLargestWholeFile = 64u << 20;

// What a bounded read does with a file longer than its limit.
enum class Beyond { Ignored, Refused };

struct FileBytes {
    LoadResult Status;  // Missing (no such file), Refused (a directory, unreadable, too long)
    std::vector<std::uint8_t> Bytes;
};

// Reads at most `limit` bytes, never more, whatever the path is (a device never ends). No
// exception leaves it; a refusal names the path.
FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit, Beyond beyond);

// The whole content of a file of at most `limit` bytes, or nothing when it cannot be opened,
// is a directory, cannot be read or is longer.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::size_t limit = kLargestWholeFile);

// Reads a record file of at least `size` bytes; a shorter file is refused with a message
// naming it, and so is a directory. A longer file gives its first `size` bytes; no more is read.
LoadResult ReadRecordFile(const std::filesystem::path& path, std::size_t size,
                          std::vector<std::uint8_t>& image);

}  // namespace quorvex
