// The machine's own start-up files of the working directory, read whole: the platform
// configuration, the encoder card's INI file and the channel map. Names are matched without
// regard to case, as the files come from a system that ignores it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quorvex {

// The content of `name` in `directory`, or nothing when there is no such readable file.
std::optional<std::string> ReadWorkingFile(const std::filesystem::path& directory,
                                           const std::string& name);

}  // namespace quorvex
