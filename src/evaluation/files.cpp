// Case-insensitive name resolution, whole-file reads and atomic writes.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "win1252.h"

namespace quorvex {
namespace {

// The lower-case letter of a Windows-1252 byte: ASCII, the accented letters, Š, Œ, Ž and Ÿ.
unsigned char FoldWin1252(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:
            return 0x9A;
        case 0x8C:
            return 0x9C;
        case 0x8E:
            return 0x9E;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

// A name in the code page of the files' own system; names with characters outside it are
// compared byte for byte (folding them would make different names equal).
std::optional<std::string> InCodePage(const std::string& utf8) {
    std::string bytes = Utf8ToWin1252(utf8);
    if (Win1252ToUtf8(bytes) != utf8) return std::nullopt;
    return bytes;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a == b) return true;
    const std::optional<std::string> x = InCodePage(a), y = InCodePage(b);
    if (!x || !y) return false;
    return x->size() == y->size() &&
           std::equal(x->begin(), x->end(), y->begin(), [](char l, char r) {
               return FoldWin1252(static_cast<unsigned char>(l)) ==
                      FoldWin1252(static_cast<unsigned char>(r));
           });
}

LoadResult RefusedRead(const std::filesystem::path& path, const std::string& why) {
    return {LoadStatus::Refused,
            "The file \"" + path.string() + "\" " + why + " and was not loaded."};
}

}  // namespace

std::filesystem::path ResolveInDirectory(const std::filesystem::path& directory,
                                         const std::string& name) {
    const std::filesystem::path exact = directory / name;
    std::error_code error;
    if (std::filesystem::exists(exact, error)) return exact;
    const std::filesystem::path searched = directory.empty() ? "." : directory;
    for (std::filesystem::directory_iterator it(searched, error), end; !error && it != end;
         it.increment(error)) {
        if (EqualsIgnoringCase(it->path().filename().string(), name)) {
            return directory / it->path().filename();
        }
    }
    return exact;
}

std::filesystem::path ResolvePath(const std::filesystem::path& path) {
    if (!path.has_filename()) return path;
    return ResolveInDirectory(path.parent_path(), path.filename().string());
}

FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit, Beyond beyond) {
    FileBytes read;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return read;  // Missing
        read.Status = RefusedRead(path, "cannot be opened");
        return read;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        read.Status = RefusedRead(path, "is a directory");
        return read;
    }
    // One byte more than the limit tells a longer file from one that just fills it.
    const std::size_t wanted = limit + 1;
    if (S_ISREG(info.st_mode)) {
        read.Bytes.reserve(std::min(wanted, static_cast<std::size_t>(info.st_size)));
    }
    std::uint8_t chunk[65536];
    bool failed = false;
    while (read.Bytes.size() < wanted) {
        const std::size_t want = std::min(sizeof chunk, wanted - read.Bytes.size());
        const ssize_t n = ::read(fd, chunk, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failed = true;
        if (n <= 0) break;
        read.Bytes.insert(read.Bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    if (failed) {
        read.Bytes.clear();
        read.Status = RefusedRead(path, "cannot be read");
        return read;
    }
    if (read.Bytes.size() > limit) {
        if (beyond == Beyond::Refused) {
            read.Bytes.clear();
            read.Status = RefusedRead(path, "is larger than " + std::to_string(limit) + " bytes");
            return read;
        }
        read.Bytes.resize(limit);
    }
    read.Status = {LoadStatus::Loaded, {}};
    return read;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::size_t limit) {
    FileBytes read = ReadFileBytes(path, limit, Beyond::Refused);
    if (!read.Status.Loaded()) return std::nullopt;
    return std::move(read.Bytes);
}

bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::random_device seed;
    const std::filesystem::path temporary =
        path.parent_path() /
        ("." + path.filename().string() + ".tmp" + std::to_string(seed() % 1000000));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    const bool complete = written == bytes.size() && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    std::error_code error;
    if (!complete || !closed) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

LoadResult ReadRecordFile(const std::filesystem::path& path, std::size_t size,
                          std::vector<std::uint8_t>& image) {
    FileBytes read = ReadFileBytes(path, size, Beyond::Ignored);
    if (!read.Status.Loaded()) return read.Status;
    if (read.Bytes.size() < size) {
        return {LoadStatus::Refused, "The file \"" + path.string() + "\" is too short (" +
                                         std::to_string(read.Bytes.size()) + " of " +
                                         std::to_string(size) + " bytes) and was not loaded."};
    }
    image = std::move(read.Bytes);
    return {LoadStatus::Loaded, {}};
}

}  // namespace quorvex
