// The curve file (".Dia") of a test: three 20-byte header records with the specimen values
// and marks, then one 20-byte record per sample (force kN, travel, extension and width change
// mm, 4 zero bytes). The series, the results project and the demonstration use it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "files.h"
#include "measurement_buffer.h"
#include "parameter_set.h"
#include "results_record.h"

namespace quorvex {

constexpr std::size_t kCurveRecordSize = 20;
constexpr std::size_t kCurveHeaderSize = 3 * kCurveRecordSize;
constexpr std::size_t kLargestCurveFile =
    kCurveHeaderSize + kCurveRecordSize * static_cast<std::size_t>(kBufferCapacity);

// The values of the three header records, as stored (indices as whole-number floats).
struct CurveFileHeader {
    float So = 0, FmaxIndex = 0, SampleCount = 0, Width = 0;  // record 1
    float Lo = 0, Lc = 0, Le = 0;                             // record 2
    float BreakIndex = 0, ExtensionEndIndex = 0;              // record 3
    float Hysteresis = 0;                                     // start + end / 10000
};

struct CurveFileSample {
    float Force = 0, Travel = 0, Extension = 0, WidthChange = 0;
};

// A parsed curve file: its header and the sample records it announces.
struct CurveFileContent {
    CurveFileHeader Header;
    int AnnouncedSamples = 0;
    std::vector<CurveFileSample> Samples;
};

// The file image of the current test: SampleCount sample records, or FmaxIndex records when
// the maximum lies beyond SampleCount.
ByteImage CurveFileImage(const ParameterSet& p, const MeasurementBuffer& buffer,
                         const TestMarks& marks);

// Writes the curve file (whole, or not at all); false when it cannot be written.
bool WriteCurveFile(const std::filesystem::path& path, const ParameterSet& p,
                    const MeasurementBuffer& buffer, const TestMarks& marks);

// Reads and checks a curve file: refused (with a message naming it) when it is a directory,
// shorter than its header records or than the samples it announces, when its count,
// indices or hysteresis loop are not sample numbers of the buffer, or when a specimen value
// or a sample is not a finite number. Records beyond the announced count are ignored. This
// is the one rule of every command and window that reads a curve.
LoadResult ParseCurveFile(const std::filesystem::path& path, CurveFileContent& content);

// Loads a curve for display and a new evaluation: the specimen values So, Lo, Lc, Le, the
// flat width b (10 when outside 1 ... 1000) and thickness a = So / b, FmaxIndex, the
// hysteresis loop and the samples; SampleCount becomes the stored count - 1. The probe
// channels take the extension. A refused or missing file changes nothing.
LoadResult ReadCurveFile(const std::filesystem::path& path, ParameterSet& p,
                         MeasurementBuffer& buffer, TestMarks& marks);

// What the results editor scales its comparison diagram by.
struct SlotCurveSummary {
    LoadResult Status;
    float LargestForce = 0;    // force at the curve's FmaxIndex, kN
    float TravelSpan = 0;      // the larger of the travel at the last but one sample and at Fmax
    float ExtensionAtEnd = 0;  // extension and force at ExtensionEndIndex (when it is 3 or more)
    float ForceAtEnd = 0;
};

// Loads a stored curve into comparison slot 1..10 with its marks and specimen values. With
// two samples or fewer the slot's FmaxIndex and SampleCount become 0.
SlotCurveSummary ReadCurveIntoSlot(SeriesCurves& curves, int slot,
                                   const std::filesystem::path& path);

// Copies a curve file record by record. An empty file or one that ends inside a record is
// refused and the target is not touched. When the source was fine but the target could not be
// written, `writeError` (when given) says why.
LoadResult CopyCurveFile(const std::filesystem::path& source, const std::filesystem::path& target,
                         std::string* writeError = nullptr);

}  // namespace quorvex
