// Header, specimen and specimen-number files, and the series file names.
#include "test_files.h"

#include <limits>
#include <system_error>

#include "byte_image.h"
#include "text_functions.h"

namespace quorvex {
namespace {

// The header lines as a record of their own.
struct HeaderRecord {
    HeaderLines Lines;
};

template <class Io>
void MapFields(Io& io, HeaderRecord& h) {
    StringArray(io, 0, "HeaderValue", h.Lines, 50);
}


}  // namespace

std::filesystem::path SeriesFilePath(const std::filesystem::path& workingDirectory, int slot,
                                     std::string_view extension) {
    return ResolveInDirectory(workingDirectory,
                              RemoveBlanks(FormatFixed(slot, 3, 0)) + std::string(extension));
}

ByteImage HeaderFileImage(const HeaderLines& lines) {
    const HeaderRecord record{lines};
    return WriteRecord(record, ByteImage(kHeaderFileSize, 0));
}

bool WriteHeaderFile(const std::filesystem::path& path, const HeaderLines& lines) {
    return WriteFileAtomic(ResolvePath(path), HeaderFileImage(lines));
}

LoadResult ReadHeaderFile(const std::filesystem::path& path, HeaderLines& lines) {
    ByteImage image;
    const LoadResult result = ReadRecordFile(ResolvePath(path), kHeaderFileSize, image);
    if (!result.Loaded()) return result;
    HeaderRecord record;
    ReadRecord(image, record);
    lines = record.Lines;
    return result;
}

bool SaveSpecimenFile(const std::filesystem::path& path, const ParameterSet& p) {
    const SpecimenRecord record{const_cast<ParameterSet*>(&p)};
    return WriteFileAtomic(ResolvePath(path), WriteRecord(record, ByteImage(kSpecimenFileSize, 0)));
}

LoadResult LoadSpecimenFile(const std::filesystem::path& path, ParameterSet& p) {
    ByteImage image;
    const LoadResult result = ReadRecordFile(ResolvePath(path), kSpecimenFileSize, image);
    if (!result.Loaded()) return result;
    SpecimenRecord record{&p};
    ReadRecord(image, record);
    return result;
}

bool DeleteSpecimenFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::remove(ResolvePath(path), error) && !error;
}

std::filesystem::path SpecimenSaveName(const std::filesystem::path& chosen) {
    return chosen.parent_path() / (CutAtFirstPoint(chosen.filename().string()) + ".pro");
}

SpecimenNumberRead ReadSpecimenNumber(const std::filesystem::path& path) {
    SpecimenNumberRead read;
    // One number on one line: a larger file is none of ours.
    const FileBytes file = ReadFileBytes(ResolvePath(path), 64 * 1024, Beyond::Refused);
    if (!file.Status.Loaded()) {
        read.Status = file.Status;
        return read;
    }
    std::string line(file.Bytes.begin(), file.Bytes.end());
    line = line.substr(0, line.find('\n'));
    const std::string digits = KeepDigits(line);
    const ParsedInteger number =
        ParseIntegerInRange(digits, 0, std::numeric_limits<std::int32_t>::max());
    if (digits.empty() || !number.valid) {
        read.Status = {LoadStatus::Refused, "The specimen number file \"" + path.string() +
                                                "\" holds no specimen number."};
        return read;
    }
    read.Status = {LoadStatus::Loaded, {}};
    read.Number = number.value;
    return read;
}

bool WriteSpecimenNumber(const std::filesystem::path& path, long long n) {
    const std::string text = std::to_string(n) + "\r\n";
    return WriteFileAtomic(ResolvePath(path), ByteImage(text.begin(), text.end()));
}

}  // namespace quorvex
