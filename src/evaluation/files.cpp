// Case-insensitive name resolution, whole-file reads and atomic writes.
#include "files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

namespace quorvex {
namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
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

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
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
    auto bytes = ReadWholeFile(path);
    if (!bytes) return {LoadStatus::Missing, {}};
    if (bytes->size() < size) {
        return {LoadStatus::Refused, "The file \"" + path.string() + "\" is too short (" +
                                         std::to_string(bytes->size()) + " of " +
                                         std::to_string(size) + " bytes) and was not loaded."};
    }
    bytes->resize(size);
    image = std::move(*bytes);
    return {LoadStatus::Loaded, {}};
}

}  // namespace quorvex
