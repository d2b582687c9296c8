// Byte image of the results record, the series rules and the series curves.
#include "results_record.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cmath>
#include <ctime>

namespace quorvex {

ByteImage ResultsRecordImage(const ResultsRecord& record) {
    return WriteRecord(record, ByteImage(ResultsRecord::kImageSize, 0));
}

ResultsRecord ResultsRecordFromImage(std::span<const std::uint8_t> image) {
    ResultsRecord record;
    ReadRecord(image, record);
    return record;
}

namespace {

// Visits every number field of a record and notes those that are no sound number.
class DamageFinder {
  public:
    void BeginArray(const char* /*name*/) { index_ = 0; }
    void EndArray() { index_ = -1; }
    void BeginObject() {}
    void EndObject() {}
    void Byte(std::size_t, const char*, std::uint8_t&) { Next(); }
    void Int32(std::size_t, const char*, std::int32_t&) { Next(); }
    void String(std::size_t, const char*, std::string&, std::size_t) { Next(); }
    void Float(std::size_t, const char* name, float& value) { Check(name, value); }
    void Double(std::size_t, const char* name, double& value) { Check(name, value); }

    std::vector<std::string> Damaged;

  private:
    void Check(const char* name, double value) {
        if (!std::isfinite(value) || std::fabs(value) > kLargestStoredValue) {
            Damaged.push_back(index_ < 0 ? std::string(name)
                                         : std::string(name) + "[" + std::to_string(index_) + "]");
        }
        Next();
    }
    void Next() {
        if (index_ >= 0) ++index_;
    }
    int index_ = -1;
};

}  // namespace

std::vector<std::string> DamagedFields(const ResultsRecord& record) {
    DamageFinder finder;
    MapFields(finder, const_cast<ResultsRecord&>(record));
    return std::move(finder.Damaged);
}

int CountOccupiedSlots(const Series& series) {
    return static_cast<int>(std::count_if(series.Slots.begin() + 1, series.Slots.end(),
                                          [](const ResultsRecord& r) { return r.Rm > 0.0f; }));
}

void ClearSeries(Series& series, double now) {
    for (int slot = 1; slot <= Series::kSlots; ++slot) {
        ResultsRecord& r = series.Slots[static_cast<std::size_t>(slot)];
        r.SpecimenNo.clear();
        r.SpecimenId.clear();
        r.Date = now;
        r.So = r.ReH = r.ReL = r.Rp = r.Rp2 = r.Rm = r.Rr = r.RatioR1R2 = 0;  // offsets 70..101
        r.Ag = r.Agt = r.Ac = r.At = 0;                                 // 102..117
        r.Z = r.E = r.Le = r.Lo = 0;                                    // 122..137
        r.GaugeAtAg = r.GaugeAtAgt = r.GaugeAtAc = r.GaugeAtAt = 0;     // 138..153
        r.FmaxIndex = r.SampleCount = r.CurveNumber = r.RecordNumber = 0;  // 154..169
        r.a = r.b = r.d = r.D = 0;                                      // 219..234
        r.Remark.clear();
        r.r = r.n = 0;
        r.Results.fill(0.0f);
    }
}

double DateTimeNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    // Days from 1899-12-30 to the civil date (proleptic Gregorian).
    const int y = local.tm_year + 1900 - (local.tm_mon < 2 ? 1 : 0);
    const int m = local.tm_mon + 1;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + local.tm_mday - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long daysSince1970 = static_cast<long>(era) * 146097 + doe - 719468;
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    return static_cast<double>(daysSince1970 + 25569) + seconds / 86400.0;
}

SeriesCurves::SeriesCurves()
    : values_(static_cast<std::size_t>(kSlots) * 4 * kBufferCapacity, 0.0f) {}

float& SeriesCurves::At(int slot, int array, int i) {
    assert(slot >= 1 && slot <= kSlots && i >= 1 && i <= kBufferCapacity);
    return values_[(static_cast<std::size_t>(slot - 1) * 4 + static_cast<std::size_t>(array)) *
                       kBufferCapacity +
                   static_cast<std::size_t>(i - 1)];
}

void SeriesCurves::Clear() {
    std::fill(values_.begin(), values_.end(), 0.0f);
    marks_.fill(CurveMarks{});
}

}  // namespace quorvex
