// Writing, reading and copying curve files.
#include "curve_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>

namespace quorvex {
namespace {

float LoadFloat(const std::uint8_t* p) {
    return std::bit_cast<float>(LoadU32(p));
}
void StoreFloat(std::uint8_t* p, float v) {
    StoreU32(p, std::bit_cast<std::uint32_t>(v));
}

LoadResult Refused(const std::filesystem::path& path, const std::string& why) {
    return {LoadStatus::Refused,
            "The curve file \"" + path.string() + "\" " + why + " and was not loaded."};
}

// A stored index: a whole number (after rounding) of 0 ... the buffer capacity.
bool ToIndex(float stored, int& index) {
    if (!std::isfinite(stored)) return false;
    const double rounded = std::nearbyint(static_cast<double>(stored));
    if (rounded < 0 || rounded > kBufferCapacity) return false;
    index = static_cast<int>(rounded);
    return true;
}

// A specimen value that an evaluation may divide by: finite and not denormal (0 is "not
// given" and stays allowed).
bool UsableNumber(float value) {
    return std::isfinite(value) && (value == 0.0f || std::isnormal(value));
}

// The hysteresis loop kept as start + end / 10000.
bool SplitHysteresis(float stored, int& start, int& end) {
    if (!std::isfinite(stored) || stored < 0 || stored >= kBufferCapacity + 1.0f) return false;
    const double value = stored;
    const double whole = std::floor(value);
    start = static_cast<int>(whole);
    end = static_cast<int>(std::lround((value - whole) * 10000.0));
    return true;
}

}  // namespace

ByteImage CurveFileImage(const ParameterSet& p, const MeasurementBuffer& buffer,
                         const TestMarks& marks) {
    // A sudden break can put the force maximum among the last two samples, which the
    // evaluation never uses as the curve's end but whose force it takes as Fmax: the file
    // then holds the curve up to the maximum, so that the stored test keeps its Fmax.
    const int count = std::clamp(std::max(marks.SampleCount, marks.FmaxIndex), 0, kBufferCapacity);
    ByteImage image(kCurveHeaderSize + kCurveRecordSize * static_cast<std::size_t>(count), 0);
    std::uint8_t* r = image.data();
    StoreFloat(r + 0, p.EffectiveSo);
    StoreFloat(r + 4, static_cast<float>(marks.FmaxIndex));
    StoreFloat(r + 8, static_cast<float>(count));
    StoreFloat(r + 12, p.Flat.b);
    StoreFloat(r + 20, p.EffectiveLo);
    StoreFloat(r + 24, p.EffectiveLc);
    StoreFloat(r + 28, p.GaugeLengthLe);
    StoreFloat(r + 40, static_cast<float>(marks.BreakIndex));
    StoreFloat(r + 44, static_cast<float>(marks.ExtensionEndIndex));
    // Computed in extended precision, stored as a float: a large start index leaves the end
    // index only approximately.
    const long double loop = static_cast<long double>(marks.HysteresisStart) +
                             static_cast<long double>(marks.HysteresisEnd) / 10000.0L;
    StoreFloat(r + 48, static_cast<float>(loop));
    const float* force = buffer.Data(Channel::Force);
    const float* travel = buffer.Data(Channel::Travel);
    const float* extension = buffer.Data(Channel::Extension);
    const float* width = buffer.Data(Channel::WidthChange);
    for (int i = 0; i < count; ++i) {
        std::uint8_t* s = r + kCurveHeaderSize + kCurveRecordSize * static_cast<std::size_t>(i);
        StoreFloat(s + 0, force[i]);
        StoreFloat(s + 4, travel[i]);
        StoreFloat(s + 8, extension[i]);
        StoreFloat(s + 12, width[i]);
    }
    return image;
}

bool WriteCurveFile(const std::filesystem::path& path, const ParameterSet& p,
                    const MeasurementBuffer& buffer, const TestMarks& marks) {
    return WriteFileAtomic(ResolvePath(path), CurveFileImage(p, buffer, marks));
}

LoadResult ParseCurveFile(const std::filesystem::path& path, CurveFileContent& content) {
    // Nothing beyond the largest curve is read: a longer file's rest is never evaluated.
    const FileBytes read = ReadFileBytes(ResolvePath(path), kLargestCurveFile, Beyond::Ignored);
    if (!read.Status.Loaded()) return read.Status;
    const std::vector<std::uint8_t>* bytes = &read.Bytes;
    if (bytes->size() < kCurveHeaderSize) {
        return Refused(path, "is too short for its header (" + std::to_string(bytes->size()) +
                                 " of " + std::to_string(kCurveHeaderSize) + " bytes)");
    }
    const std::uint8_t* r = bytes->data();
    CurveFileContent parsed;
    CurveFileHeader& h = parsed.Header;
    h.So = LoadFloat(r + 0);
    h.FmaxIndex = LoadFloat(r + 4);
    h.SampleCount = LoadFloat(r + 8);
    h.Width = LoadFloat(r + 12);
    h.Lo = LoadFloat(r + 20);
    h.Lc = LoadFloat(r + 24);
    h.Le = LoadFloat(r + 28);
    h.BreakIndex = LoadFloat(r + 40);
    h.ExtensionEndIndex = LoadFloat(r + 44);
    h.Hysteresis = LoadFloat(r + 48);
    int index = 0, start = 0, end = 0;
    if (!ToIndex(h.SampleCount, parsed.AnnouncedSamples)) {
        return Refused(path, "announces no valid number of samples");
    }
    if (!ToIndex(h.FmaxIndex, index) || !ToIndex(h.BreakIndex, index) ||
        !ToIndex(h.ExtensionEndIndex, index) || !SplitHysteresis(h.Hysteresis, start, end)) {
        return Refused(path, "holds marks that are no sample numbers");
    }
    for (const float value : {h.So, h.Lo, h.Lc, h.Le}) {
        if (!UsableNumber(value)) return Refused(path, "holds a specimen value that is no number");
    }
    const std::size_t complete = (bytes->size() - kCurveHeaderSize) / kCurveRecordSize;
    const std::size_t count = static_cast<std::size_t>(parsed.AnnouncedSamples);
    if (complete < count) {
        return Refused(path, "is shorter than it announces (" + std::to_string(complete) + " of " +
                                 std::to_string(count) + " samples)");
    }
    parsed.Samples.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* s = r + kCurveHeaderSize + kCurveRecordSize * i;
        const CurveFileSample sample{LoadFloat(s), LoadFloat(s + 4), LoadFloat(s + 8),
                                     LoadFloat(s + 12)};
        if (!std::isfinite(sample.Force) || !std::isfinite(sample.Travel) ||
            !std::isfinite(sample.Extension) || !std::isfinite(sample.WidthChange)) {
            return Refused(path,
                           "holds a value that is no number at sample " + std::to_string(i + 1));
        }
        parsed.Samples[i] = sample;
    }
    content = std::move(parsed);
    return {LoadStatus::Loaded, {}};
}

LoadResult ReadCurveFile(const std::filesystem::path& path, ParameterSet& p,
                         MeasurementBuffer& buffer, TestMarks& marks) {
    CurveFileContent curve;
    const LoadResult parsed = ParseCurveFile(path, curve);
    if (!parsed.Loaded()) return parsed;
    // The last stored sample is not evaluated again.
    const int sampleCount = std::max(0, curve.AnnouncedSamples - 1);
    const CurveFileHeader& h = curve.Header;
    p.EffectiveSo = h.So;
    float width = h.Width;
    if (!(width >= 1.0f && width <= 1000.0f)) width = 10.0f;
    p.Flat.b = width;
    p.Flat.a = h.So / width;
    p.EffectiveLo = h.Lo;
    p.EffectiveLc = h.Lc;
    p.GaugeLengthLe = h.Le;
    ToIndex(h.FmaxIndex, marks.FmaxIndex);
    marks.SampleCount = sampleCount;
    SplitHysteresis(h.Hysteresis, marks.HysteresisStart, marks.HysteresisEnd);
    // Every sample the file holds is loaded, so that a maximum on the last one still has
    // its force behind SampleCount.
    buffer.Clear();
    for (std::size_t k = 0; k < curve.Samples.size(); ++k) {
        const int i = static_cast<int>(k) + 1;
        const CurveFileSample& s = curve.Samples[k];
        buffer.At(Channel::Force, i) = s.Force;
        buffer.At(Channel::Travel, i) = s.Travel;
        buffer.At(Channel::Extension, i) = s.Extension;
        buffer.At(Channel::WidthChange, i) = s.WidthChange;
        buffer.At(Channel::Probe1, i) = s.Extension;
        buffer.At(Channel::Probe2, i) = s.Extension;
        buffer.At(Channel::Probe3, i) = s.Extension;
    }
    return parsed;
}

SlotCurveSummary ReadCurveIntoSlot(SeriesCurves& curves, int slot,
                                   const std::filesystem::path& path) {
    SlotCurveSummary summary;
    if (slot < 1 || slot > SeriesCurves::kSlots) {
        summary.Status = {LoadStatus::Refused,
                          "There is no comparison slot " + std::to_string(slot) + "."};
        return summary;
    }
    CurveFileContent curve;
    summary.Status = ParseCurveFile(path, curve);
    if (!summary.Status.Loaded()) return summary;
    const int count = curve.AnnouncedSamples;
    const CurveFileHeader& h = curve.Header;
    SeriesCurves::CurveMarks& m = curves.Marks(slot);
    ToIndex(h.FmaxIndex, m.FmaxIndex);
    m.SampleCount = count;
    m.So = h.So;
    m.Lo = h.Lo;
    m.Lc = h.Lc;
    m.Le = h.Le;
    ToIndex(h.BreakIndex, m.BreakIndex);
    ToIndex(h.ExtensionEndIndex, m.ExtensionEndIndex);
    for (int i = 1; i <= kBufferCapacity; ++i) {
        const bool held = i <= count;
        const CurveFileSample s =
            held ? curve.Samples[static_cast<std::size_t>(i - 1)] : CurveFileSample{};
        curves.Force(slot, i) = s.Force;
        curves.Travel(slot, i) = s.Travel;
        curves.Extension(slot, i) = s.Extension;
    }
    if (count <= 2) {
        m.FmaxIndex = 0;
        m.SampleCount = 0;
        return summary;
    }
    if (m.FmaxIndex >= 1) {
        summary.LargestForce = curves.Force(slot, m.FmaxIndex);
        summary.TravelSpan =
            std::max(curves.Travel(slot, count - 1), curves.Travel(slot, m.FmaxIndex));
    } else {
        summary.TravelSpan = curves.Travel(slot, count - 1);
    }
    if (m.ExtensionEndIndex >= 3) {
        summary.ExtensionAtEnd = curves.Extension(slot, m.ExtensionEndIndex);
        summary.ForceAtEnd = curves.Force(slot, m.ExtensionEndIndex);
    }
    return summary;
}

LoadResult CopyCurveFile(const std::filesystem::path& source, const std::filesystem::path& target,
                         std::string* writeError) {
    const FileBytes read = ReadFileBytes(ResolvePath(source), kLargestCurveFile, Beyond::Refused);
    if (!read.Status.Loaded()) return read.Status;
    const std::vector<std::uint8_t>* bytes = &read.Bytes;
    if (bytes->empty() || bytes->size() % kCurveRecordSize != 0) {
        return {LoadStatus::Refused, "The curve file \"" + source.string() +
                                         "\" is empty or ends inside a record and was not copied."};
    }
    if (!WriteFileAtomic(ResolvePath(target), *bytes, writeError)) {
        return {LoadStatus::Refused,
                "The curve file \"" + target.string() + "\" could not be written."};
    }
    return {LoadStatus::Loaded, {}};
}

}  // namespace quorvex
