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
    io.BeginArray("RoundSpecimen");
    io.Float(511, "d", p.Round.d);
    io.Float(515, "Lo", p.Round.Lo);
    io.Float(519, "Lc", p.Round.Lc);
    io.Float(523, "So", p.Round.So);
    io.EndArray();
    io.BeginArray("FlatSpecimen");
    io.Float(527, "b", p.Flat.b);
    io.Float(531, "a", p.Flat.a);
    io.Float(535, "Lo", p.Flat.Lo);
    io.Float(539, "Lc", p.Flat.Lc);
    io.Float(543, "So", p.Flat.So);
    io.EndArray();
    io.BeginArray("TubeSpecimen");
    io.Float(547, "D", p.Tube.D);
    io.Float(551, "a", p.Tube.a);
    io.Float(555, "Lo", p.Tube.Lo);
    io.Float(559, "Lc", p.Tube.Lc);
    io.Float(563, "So", p.Tube.So);
    io.EndArray();
    io.BeginArray("MassSpecimen");
    io.Float(567, "rho", p.Mass.rho);
    io.Float(571, "m", p.Mass.m);
    io.Float(575, "Lt", p.Mass.Lt);
    io.Float(579, "Lo", p.Mass.Lo);
    io.Float(583, "Lv", p.Mass.Lv);
    io.Float(587, "So", p.Mass.So);
    io.Float(591, "Further1", p.Mass.Further1);
    io.Float(595, "Further2", p.Mass.Further2);
    io.EndArray();
    io.BeginArray("TubeSegmentSpecimen");
    io.Float(599, "a", p.TubeSegment.a);
    io.Float(603, "b", p.TubeSegment.b);
    io.Float(607, "D", p.TubeSegment.D);
    io.Float(611, "Lo", p.TubeSegment.Lo);
    io.Float(615, "Lv", p.TubeSegment.Lv);
    io.Float(619, "So", p.TubeSegment.So);
    io.EndArray();
    io.Byte(623, "GaugeKind", p.GaugeKind);
    io.Float(624, "EffectiveSo", p.EffectiveSo);
    io.Float(628, "EffectiveLo", p.EffectiveLo);
    io.Float(632, "EffectiveLc", p.EffectiveLc);
    io.Float(636, "GaugeLengthLe", p.GaugeLengthLe);
    io.String(640, "SpecimenNo", p.SpecimenNo, 30);
    io.String(671, "SpecimenId", p.SpecimenId, 30);
    // 702 ... 1229 reserved, written as zeros.
}

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
