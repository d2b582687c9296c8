// The results record of one test (544 bytes on disk), the series of stored tests that
// follows the current record, and the curves of the series kept for comparison.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "byte_image.h"
#include "measurement_buffer.h"

namespace quorvex {

struct ResultsRecord {
    static constexpr std::size_t kImageSize = 544;
    static constexpr int kResultCount = 50;

    std::string SpecimenNo;  // max. 14
    std::string SpecimenId;  // max. 20
    std::string ScrewType;   // max. 25; emptied at each evaluation
    double Date = 0.0;       // days since 1899-12-30, when the test entered the series
    float So = 0, ReH = 0, ReL = 0;
    float Rp = 0;  // at the first proof strain
    float Rp2 = 0;  // at the second proof strain: Rp2, or Rt when SecondProofIsRt
    float Rm = 0;  // > 0 marks an occupied series slot (1.0 for types 5-7, 10.0 for type 9)
    float Rr = 0, RatioR1R2 = 0, Ag = 0, Agt = 0;
    float Ac = 0;  // % (test type 2: elongation in mm)
    float At = 0, Ae = 0, Z = 0, E = 0;
    float Le = 0, Lo = 0;
    float GaugeAtAg = 0, GaugeAtAgt = 0;
    float GaugeAtAc = 0;  // Lc in a series slot and in stored records
    float GaugeAtAt = 0;
    std::int32_t FmaxIndex = 0, SampleCount = 0;
    std::int32_t CurveNumber = 0;   // series slot number when curves are saved, else 0
    std::int32_t RecordNumber = 0;  // series slot number (the project store renumbers)
    std::int32_t GaugeKind = 0, SpecimenShape = 0;
    std::string Remark;  // max. 40
    float a = 0;  // thickness; mass shape: density
    float b = 0;  // width; mass shape: total length
    float d = 0, D = 0;
    float Mass = 0;
    float r = 0, n = 0;
    float QAW = 0;
    std::array<float, kResultCount> Results{};  // element i: results-definition slot i + 1
    std::array<std::uint8_t, 92> Reserved{};    // carried as read
    // How the run ended: kEndedWithoutBreak when it was stopped (the stop button, F2, F8, a
    // full memory) before its break criterion ended it; any other value (older records hold
    // 0) counts as ended by the break criterion.
    std::uint8_t EndOfTest = 0;
};

constexpr std::uint8_t kEndedWithoutBreak = 'N';

inline bool EndedWithoutBreak(const ResultsRecord& record) {
    return record.EndOfTest == kEndedWithoutBreak;
}

template <class Io>
void MapFields(Io& io, ResultsRecord& r) {
    io.String(0, "SpecimenNo", r.SpecimenNo, 14);
    io.String(15, "SpecimenId", r.SpecimenId, 20);
    io.String(36, "ScrewType", r.ScrewType, 25);
    io.Double(62, "Date", r.Date);
    io.Float(70, "So", r.So);
    io.Float(74, "ReH", r.ReH);
    io.Float(78, "ReL", r.ReL);
    io.Float(82, "Rp", r.Rp);
    io.Float(86, "Rp2", r.Rp2);
    io.Float(90, "Rm", r.Rm);
    io.Float(94, "Rr", r.Rr);
    io.Float(98, "RatioR1R2", r.RatioR1R2);
    io.Float(102, "Ag", r.Ag);
    io.Float(106, "Agt", r.Agt);
    io.Float(110, "Ac", r.Ac);
    io.Float(114, "At", r.At);
    io.Float(118, "Ae", r.Ae);
    io.Float(122, "Z", r.Z);
    io.Float(126, "E", r.E);
    io.Float(130, "Le", r.Le);
    io.Float(134, "Lo", r.Lo);
    io.Float(138, "GaugeAtAg", r.GaugeAtAg);
    io.Float(142, "GaugeAtAgt", r.GaugeAtAgt);
    io.Float(146, "GaugeAtAc", r.GaugeAtAc);
    io.Float(150, "GaugeAtAt", r.GaugeAtAt);
    io.Int32(154, "FmaxIndex", r.FmaxIndex);
    io.Int32(158, "SampleCount", r.SampleCount);
    io.Int32(162, "CurveNumber", r.CurveNumber);
    io.Int32(166, "RecordNumber", r.RecordNumber);
    io.Int32(170, "GaugeKind", r.GaugeKind);
    io.Int32(174, "SpecimenShape", r.SpecimenShape);
    io.String(178, "Remark", r.Remark, 40);
    io.Float(219, "a", r.a);
    io.Float(223, "b", r.b);
    io.Float(227, "d", r.d);
    io.Float(231, "D", r.D);
    io.Float(235, "Mass", r.Mass);
    io.Float(239, "r", r.r);
    io.Float(243, "n", r.n);
    io.Float(247, "QAW", r.QAW);
    FloatArray(io, 251, "Results", r.Results);
    io.BeginArray("Reserved");
    for (std::size_t i = 0; i < r.Reserved.size(); ++i) io.Byte(451 + i, "Reserved", r.Reserved[i]);
    io.EndArray();
    io.Byte(543, "EndOfTest", r.EndOfTest);
}

ByteImage ResultsRecordImage(const ResultsRecord& record);
ResultsRecord ResultsRecordFromImage(std::span<const std::uint8_t> image);

// No measured or derived value of a test comes near it; a stored number beyond it is damage.
constexpr double kLargestStoredValue = 1e12;

// The number fields of a stored record that hold no number (NaN, infinity) or an absurd one
// (beyond ±kLargestStoredValue), by name ("Rm", "Results[3]"); empty for a sound record.
std::vector<std::string> DamagedFields(const ResultsRecord& record);

// The current record (slot 0) followed by the series slots 1..50.
struct Series {
    static constexpr int kSlots = 50;
    // A series holds ten tests before they must be stored.
    static constexpr int kMaxTests = 10;

    std::array<ResultsRecord, kSlots + 1> Slots{};

    ResultsRecord& Current() { return Slots[0]; }
    const ResultsRecord& Current() const { return Slots[0]; }
};

// A slot is occupied when its Rm is greater than 0; counted over all 50 slots.
int CountOccupiedSlots(const Series& series);

// The slot a new test goes into: occupied count + 1.
inline int NextFreeSlot(const Series& series) { return CountOccupiedSlots(series) + 1; }

// Empties slots 1..50 and dates them `now` (days since 1899-12-30). Ae, the gauge kind, the
// shape, the mass, QAW and the screw type are left as they were.
void ClearSeries(Series& series, double now);

// The present local date and time in days since 1899-12-30.
double DateTimeNow();

// Up to ten stored tests kept for comparison: force, travel and extension of each, a fourth
// array allocated and never filled, and the marks of each curve.
class SeriesCurves {
public:
    static constexpr int kSlots = 10;

    struct CurveMarks {
        std::int32_t FmaxIndex = 0, SampleCount = 0, ExtensionEndIndex = 0, BreakIndex = 0;
        float So = 0, Le = 0, Lo = 0, Lc = 0;
    };

    SeriesCurves();

    // slot 1..10, i 1..25000
    float& Force(int slot, int i) { return At(slot, 0, i); }
    float& Travel(int slot, int i) { return At(slot, 1, i); }
    float& Extension(int slot, int i) { return At(slot, 2, i); }
    CurveMarks& Marks(int slot) { return marks_[static_cast<std::size_t>(slot - 1)]; }

    void Clear();

private:
    float& At(int slot, int array, int i);
    std::vector<float> values_;  // kSlots × 4 arrays × kBufferCapacity
    std::array<CurveMarks, kSlots> marks_{};
};

}  // namespace quorvex
