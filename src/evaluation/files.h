// File access shared by every file of the program: the one place that opens a file (a regular
// file only, never blocking on a FIFO or a device), names matched without regard to case (the
// files come from a system that ignores case), bounded reads, and writes that replace a file
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

// An open descriptor of a regular file, closed when the handle goes.
class FileHandle {
  public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : fd_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    int Release();
    // The file's size now; 0 when it cannot be asked.
    std::uint64_t Size() const;

  private:
    int fd_ = -1;
};

enum class OpenFor {
    Reading,
    Changing,   // read and write, only when it is there
    Updating,   // read and write, created when missing
    Appending,  // written at its end, created when missing
};

struct OpenedFile {
    LoadResult Status;  // Loaded when Handle is open; Missing: no such file; Refused: why not
    FileHandle Handle;
};

// Every file of the program is opened here. Only a regular file is opened (a symbolic link to
// one included): a FIFO, a device, a socket or a directory, or a link to one of them, is
// refused with a message naming it, and neither opening nor refusing ever blocks.
OpenedFile OpenRegularFile(const std::filesystem::path& path, OpenFor purpose);

// Writes to a temporary file in the same directory and renames it over the target, so a
// crash never leaves half a file. A symbolic link in the target's place is replaced by the
// file, never followed. Returns false (and leaves the old file) on any failure, `error` then
// says why when it is given.
bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                     std::string* error = nullptr);

// Whether `name` is a temporary file of WriteFileAtomic that no running program writes any
// more (its writer was killed before the rename).
bool IsAbandonedTemporaryFile(const std::string& name);

// Removes the abandoned temporary files of `directory`; one message for each, naming it.
std::vector<std::string> RemoveAbandonedTemporaryFiles(const std::filesystem::path& directory);

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

// How much longer than its record a record file may be and still be read.
constexpr std::size_t kRecordFileSlack = 1u << 20;

// Reads a record file of at least `size` bytes; a shorter file is refused with a message
// naming it, and so is a directory. A longer file gives its first `size` bytes; no more is read,
// and a file more than kRecordFileSlack longer than its record is refused.
LoadResult ReadRecordFile(const std::filesystem::path& path, std::size_t size,
                          std::vector<std::uint8_t>& image);

}  // namespace quorvex
