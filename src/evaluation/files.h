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
// ASCII case, else directory/name as given.
std::filesystem::path ResolveInDirectory(const std::filesystem::path& directory,
                                         const std::string& name);

// The same for a whole path: only its last component is matched.
std::filesystem::path ResolvePath(const std::filesystem::path& path);

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// Writes to a temporary file in the same directory and renames it over the target, so a
// crash never leaves half a file. Returns false (and leaves the old file) on any failure.
bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// What a reader of a fixed-size record file found.
enum class LoadStatus {
    Loaded,    // the record was read
    Missing,   // the file could not be opened: defaults stay, no message
    Refused,   // the file is there but unusable: nothing changed, message names the file
};

struct LoadResult {
    LoadStatus status = LoadStatus::Missing;
    std::string message;  // for Refused: what went wrong, naming the file
    bool Loaded() const { return status == LoadStatus::Loaded; }
};

// Reads a record file of at least `size` bytes; a shorter file is refused with a message
// naming it. A longer file gives its first `size` bytes.
LoadResult ReadRecordFile(const std::filesystem::path& path, std::size_t size,
                          std::vector<std::uint8_t>& image);

}  // namespace quorvex
