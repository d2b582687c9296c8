// Whole-file reads of the working directory with names matched without regard to case.
#include "working_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

namespace quorvex {
std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::optional<std::string> ReadWorkingFile(const std::filesystem::path& directory,
                                           const std::string& name, std::string* refusal) {
    std::error_code error;
    std::filesystem::path path = directory / name;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        const std::filesystem::path searched =
            directory.empty() ? std::filesystem::path(".") : directory;
        const std::string wanted = LowerAscii(name);
        for (std::filesystem::directory_iterator it(searched, error), end; !error && it != end;
             it.increment(error)) {
            if (LowerAscii(it->path().filename().string()) == wanted) {
                path = directory / it->path().filename();
                break;
            }
        }
    }
    auto refuse = [&](const std::string& why) -> std::optional<std::string> {
        if (refusal) *refusal = "The file \"" + path.string() + "\" " + why + " and was not read.";
        return std::nullopt;
    };
    // As every file of the program: a regular file only, looked at before it is opened and
    // opened without waiting, so that a FIFO or a device in its place cannot hold the start.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;  // missing: the defaults stay
    if (!S_ISREG(info.st_mode)) return refuse("is not a regular file");
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return refuse("cannot be opened");
    std::string content;
    bool failed = ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode);
    char chunk[65536];
    while (!failed && content.size() <= kLargestWorkingFile) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failed = true;
        if (n <= 0) break;
        content.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (failed) return refuse("cannot be read");
    if (content.size() > kLargestWorkingFile) {
        return refuse("is larger than " + std::to_string(kLargestWorkingFile) + " bytes");
    }
    return content;
}

}  // namespace quorvex
