// The machine's own start-up files of the working directory, read whole: the platform
// configuration, the encoder card's INI file and the channel map. Names are matched without
// regard to case, as the files come from a system that ignores it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

// The largest start-up file that is read: far more than any of them holds.
constexpr std::size_t kLargestWorkingFile = 1u << 20;

// The content of `name` in `directory`, or nothing when there is no such file. A file that is
// not a regular one (a FIFO, a device, a directory, a link to one), cannot be read or is larger
// than kLargestWorkingFile gives nothing too, and `refusal` (when given) names it and says why.
std::optional<std::string> ReadWorkingFile(const std::filesystem::path& directory,
                                           const std::string& name,
                                           std::string* refusal = nullptr);

// ASCII lower case, for keys and names that ignore case.
std::string LowerAscii(std::string_view text);

// The text without white space at either end.
std::string_view TrimSpaces(std::string_view text);

}  // namespace quorvex
