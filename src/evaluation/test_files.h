// The small files beside a test: the header file (".Hea") with the ten header lines, the
// specimen file (".pro") with the specimen description, the counter of the automatic
// specimen numbers ("ProbenNr.txt") and the names of the series files.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "byte_image.h"
#include "files.h"
#include "parameter_set.h"

namespace quorvex {

using HeaderLines = std::array<std::string, 10>;

constexpr std::size_t kHeaderFileSize = 510;     // 10 × string(50)
constexpr std::size_t kSpecimenFileSize = 1230;
constexpr const char* kSpecimenNumberFile = "ProbenNr.txt";

// The file of series slot k in the working directory: "12.Dia", "3.Hea", ...
std::filesystem::path SeriesFilePath(const std::filesystem::path& workingDirectory, int slot,
                                     std::string_view extension);

// The ten header lines as the 510-byte record of a header file.
ByteImage HeaderFileImage(const HeaderLines& lines);
// Writes the ten header lines as one 510-byte record; false when it cannot be written.
bool WriteHeaderFile(const std::filesystem::path& path, const HeaderLines& lines);
// Reads the ten header lines; a missing file changes nothing, a short one is refused.
LoadResult ReadHeaderFile(const std::filesystem::path& path, HeaderLines& lines);

// Writes the specimen description of the parameter set (1230 bytes): header lines, shape,
// the dimensions of all five shapes, gauge kind, the effective values, number and id.
bool SaveSpecimenFile(const std::filesystem::path& path, const ParameterSet& p);
// Puts every field of a specimen file back into the parameter set; a missing file changes
// nothing, a short one is refused and nothing changes either.
LoadResult LoadSpecimenFile(const std::filesystem::path& path, ParameterSet& p);
// Erases the file when it is there; returns whether it was erased.
bool DeleteSpecimenFile(const std::filesystem::path& path);
// The name a save writes: the chosen name cut at its first "." with ".pro" appended.
std::filesystem::path SpecimenSaveName(const std::filesystem::path& chosen);

// The last automatic specimen number: the digits of the file's first line. A first line
// without digits (or too many) is refused with a message naming the file.
struct SpecimenNumberRead {
    LoadResult Status;
    long long Number = 0;
};
SpecimenNumberRead ReadSpecimenNumber(const std::filesystem::path& path);
// Writes n and a line break; false when the file cannot be written.
bool WriteSpecimenNumber(const std::filesystem::path& path, long long n);

}  // namespace quorvex
