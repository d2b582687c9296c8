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

// The part of the parameter set that a specimen file holds, at the file's offsets; the shape
// blocks are the byte images of the parameter set's.
struct SpecimenRecord {
    ParameterSet* p;
};

template <class Io>
void MapFields(Io& io, SpecimenRecord& s) {
    ParameterSet& p = *s.p;
    StringArray(io, 0, "HeaderValue", p.HeaderValue, 50);
    io.Byte(510, "SpecimenShape", p.SpecimenShape);
    io.Float(511, "d", p.Round.d);
    io.Float(515, "Lo", p.Round.Lo);
    io.Float(519, "Lc", p.Round.Lc);
    io.Float(523, "So", p.Round.So);
    io.Float(527, "b", p.Flat.b);
    io.Float(531, "a", p.Flat.a);
    io.Float(535, "Lo", p.Flat.Lo);
    io.Float(539, "Lc", p.Flat.Lc);
    io.Float(543, "So", p.Flat.So);
    io.Float(547, "D", p.Tube.D);
    io.Float(551, "a", p.Tube.a);
    io.Float(555, "Lo", p.Tube.Lo);
    io.Float(559, "Lc", p.Tube.Lc);
    io.Float(563, "So", p.Tube.So);
    io.Float(567, "rho", p.Mass.rho);
    io.Float(571, "m", p.Mass.m);
    io.Float(575, "Lt", p.Mass.Lt);
    io.Float(579, "Lo", p.Mass.Lo);
    io.Float(583, "Lv", p.Mass.Lv);
    io.Float(587, "So", p.Mass.So);
    io.Float(591, "Further1", p.Mass.Further1);
    io.Float(595, "Further2", p.Mass.Further2);
    io.Float(599, "a", p.TubeSegment.a);
    io.Float(603, "b", p.TubeSegment.b);
    io.Float(607, "D", p.TubeSegment.D);
    io.Float(611, "Lo", p.TubeSegment.Lo);
    io.Float(615, "Lv", p.TubeSegment.Lv);
    io.Float(619, "So", p.TubeSegment.So);
    io.Byte(623, "GaugeKind", p.GaugeKind);
    io.Float(624, "EffectiveSo", p.EffectiveSo);
    io.Float(628, "EffectiveLo", p.EffectiveLo);
    io.Float(632, "EffectiveLc", p.EffectiveLc);
    io.Float(636, "GaugeLengthLe", p.GaugeLengthLe);
    io.String(640, "SpecimenNo", p.SpecimenNo, 30);
    io.String(671, "SpecimenId", p.SpecimenId, 30);
    // 702 ... 1229 reserved, written as zeros.
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
