// The one place that opens files, case-insensitive name resolution, bounded reads and atomic
// writes.
#include "files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
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

// What a file that is not a regular one is, for the message that refuses it.
std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "is a directory";
    if (S_ISFIFO(mode)) return "is a FIFO, not a regular file,";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file,";
    if (S_ISSOCK(mode)) return "is a socket, not a regular file,";
    return "is not a regular file";
}

// The marker between a temporary file's target name and its writer's process id.
constexpr std::string_view kTemporaryMark = ".tmp";

std::string OsError(int error) {
    return std::error_code(error, std::generic_category()).message();
}

}  // namespace

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

int FileHandle::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::uint64_t FileHandle::Size() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

OpenedFile OpenRegularFile(const std::filesystem::path& path, OpenFor purpose) {
    OpenedFile opened;
    // Looked at before opening: opening a device may already do something (a tape rewinds, a
    // serial line drops its modem lines), and opening a FIFO for writing waits for a reader.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        opened.Status = RefusedRead(path, KindOf(info.st_mode));
        return opened;
    }
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    switch (purpose) {
        case OpenFor::Reading:
            flags |= O_RDONLY;
            break;
        case OpenFor::Changing:
            flags |= O_RDWR;
            break;
        case OpenFor::Updating:
            flags |= O_RDWR | O_CREAT;
            break;
        case OpenFor::Appending:
            flags |= O_WRONLY | O_APPEND | O_CREAT;
            break;
    }
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return opened;  // Missing
        opened.Status = RefusedRead(path, "cannot be opened (" + OsError(errno) + ")");
        return opened;
    }
    FileHandle handle(fd);
    // Again on the open file: the name may have been swapped between the look and the open.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        opened.Status = RefusedRead(path, KindOf(info.st_mode));
        return opened;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    opened.Status = {LoadStatus::Loaded, {}};
    opened.Handle = std::move(handle);
    return opened;
}

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
    OpenedFile opened = OpenRegularFile(path, OpenFor::Reading);
    if (!opened.Status.Loaded()) {
        read.Status = opened.Status;
        return read;
    }
    const int fd = opened.Handle.Fd();
    const std::uint64_t size = opened.Handle.Size();
    if (beyond == Beyond::Refused && size > limit) {
        read.Status = RefusedRead(path, "is larger than " + std::to_string(limit) + " bytes");
        return read;
    }
    // One byte more than the limit tells a longer file from one that just fills it.
    const std::size_t wanted = limit + 1;
    read.Bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(wanted, size)));
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

bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                     std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = "\"" + path.string() + "\" could not be written: " + why;
        return false;
    };
    // The target itself may be a link, a FIFO or a device: the rename below replaces the name,
    // never what it points at, but a directory or a device in its place is not taken over.
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        return fail(KindOf(info.st_mode));
    }
    // The writer's process id in the name tells an abandoned temporary file from one that a
    // running program is still writing.
    static std::atomic<unsigned> counter{0};
    std::random_device seed;
    const std::filesystem::path temporary =
        path.parent_path() / ("." + path.filename().string() + std::string(kTemporaryMark) +
                              std::to_string(::getpid()) + "-" +
                              std::to_string((seed() % 1000000) * 100 + counter++ % 100));
    const int fd = ::open(temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) return fail(OsError(errno));
    std::size_t written = 0;
    int writeError = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            writeError = n < 0 ? errno : ENOSPC;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (writeError == 0 && ::fsync(fd) != 0) writeError = errno;
    if (::close(fd) != 0 && writeError == 0) writeError = errno;
    std::error_code removal;
    if (writeError != 0) {
        std::filesystem::remove(temporary, removal);
        return fail(OsError(writeError));
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        std::filesystem::remove(temporary, removal);
        return fail(OsError(renameError));
    }
    return true;
}

bool IsAbandonedTemporaryFile(const std::string& name) {
    if (name.size() < 2 || name.front() != '.') return false;
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string::npos || mark < 2) return false;
    const std::string_view rest = std::string_view(name).substr(mark + kTemporaryMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size()) return false;
    if (rest.find_first_not_of("0123456789-") != std::string_view::npos) return false;
    long pid = 0;
    const auto parsed = std::from_chars(rest.data(), rest.data() + dash, pid);
    if (parsed.ec != std::errc() || parsed.ptr != rest.data() + dash || pid <= 0) return false;
    // A process of that number that still runs may be the writer: its file stays.
    if (pid == ::getpid()) return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::vector<std::string> RemoveAbandonedTemporaryFiles(const std::filesystem::path& directory) {
    std::vector<std::string> messages;
    std::error_code error;
    const std::filesystem::path searched = directory.empty() ? "." : directory;
    for (std::filesystem::directory_iterator it(searched, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!IsAbandonedTemporaryFile(name)) continue;
        std::error_code removal;
        if (std::filesystem::remove(it->path(), removal)) {
            messages.push_back("Removed \"" + (directory / name).string() +
                               "\", the temporary file of an interrupted write.");
        }
    }
    return messages;
}

LoadResult ReadRecordFile(const std::filesystem::path& path, std::size_t size,
                          std::vector<std::uint8_t>& image) {
    FileBytes read = ReadFileBytes(path, size, Beyond::Ignored);
    if (!read.Status.Loaded()) return read.Status;
    // A little more than the record is an older program's padding; far more is no record.
    std::error_code error;
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    if (!error && length > size + kRecordFileSlack) {
        return RefusedRead(path, "is " + std::to_string(length) + " bytes long, far more than its " +
                                     std::to_string(size) + "-byte record,");
    }
    if (read.Bytes.size() < size) {
        return {LoadStatus::Refused, "The file \"" + path.string() + "\" is too short (" +
                                         std::to_string(read.Bytes.size()) + " of " +
                                         std::to_string(size) + " bytes) and was not loaded."};
    }
    image = std::move(read.Bytes);
    return {LoadStatus::Loaded, {}};
}

}  // namespace quorvex
