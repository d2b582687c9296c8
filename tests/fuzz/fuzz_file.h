// What every reader's fuzz target shares: the fuzzer's bytes as a file in a directory of
// its own, since the readers take paths, as the program's files come from disk.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace quorvex::fuzz {

inline std::filesystem::path WriteInput(const char* name, const std::uint8_t* data,
                                        std::size_t size) {
    static const std::filesystem::path dir = [] {
        auto d =
            std::filesystem::temp_directory_path() / ("quorvex_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::filesystem::path path = dir / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace quorvex::fuzz
