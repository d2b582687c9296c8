// Whole-file reads of the working directory with names matched without regard to case.
#include "working_file.h"

#include <cctype>
#include <fstream>
#include <sstream>

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
                                           const std::string& name) {
    std::error_code error;
    std::filesystem::path path = directory / name;
    if (!std::filesystem::is_regular_file(path, error)) {
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
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

}  // namespace quorvex
