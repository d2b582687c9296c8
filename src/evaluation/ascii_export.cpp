// Result lines, raw-data files and their copies.
#include "ascii_export.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <sstream>

#include "files.h"
#include "text_functions.h"
#include "win1252.h"

namespace quorvex {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string Cut14(std::string text) {
    return text.size() > 14 ? text.substr(0, 14) : text;
}

std::string PaddedWithoutBlanks(const std::string& text, std::size_t width) {
    std::string out = RemoveBlanks(text);
    const std::size_t length = Utf8Length(out);
    if (length < width) out.append(width - length, ' ');
    return out;
}

// Civil date of a day number since 1970-01-01.
void CivilFromDays(long z, int& year, int& month, int& day) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::string TwoDigits(int v) {
    std::string digits = std::to_string(v);
    if (v < 10) digits.insert(digits.begin(), '0');
    return digits;
}

// The line start shared by both kinds: specimen number, identification, date.
std::string LineStart(const ResultsRecord& r, const std::string& separator,
                      std::string_view shortDateFormat) {
    return PaddedWithoutBlanks(TextField(r.SpecimenNo), 14) + separator +
           PaddedWithoutBlanks(TextField(r.SpecimenId), 20) + separator +
           FormatShortDate(r.Date, shortDateFormat) + separator;
}

std::string LineEnd(const ResultsRecord& r, const ParameterSet& p, const std::string& separator) {
    std::string out = TextField(r.Remark) + separator;
    for (const std::string& value : p.HeaderValue) out += TextField(value) + separator;
    return out;
}

std::string Headings(const ParameterSet& p) {
    std::string out = std::string("[Headings]") + kLineEnd;
    for (const std::string& value : p.HeaderValue) out += Utf8ToWin1252(value) + kLineEnd;
    return out + "[Values]" + kLineEnd;
}

bool WriteText(const std::filesystem::path& path, const std::string& bytes) {
    return WriteFileAtomic(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

}  // namespace

std::string TextField(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ';') {
            c = ',';
        } else if (byte < 0x20 || byte == 0x7F) {
            c = ' ';
        }
    }
    return out;
}

std::string NumberField(double value, int width, int decimals, bool decimalComma) {
    return Cut14(ApplyDecimalComma(Cut14(FormatFixed(value, width, decimals)), decimalComma));
}

std::string FieldSeparator(const ParameterSet& p) {
    return p.UseSeparator == 1 ? ";" : " ";
}

std::string FormatShortDate(double days, std::string_view format) {
    int year = 1899, month = 12, day = 30;
    if (std::isfinite(days) && std::fabs(days) < 1e7) {
        CivilFromDays(static_cast<long>(std::floor(days)) - 25569, year, month, day);
    }
    std::string out;
    for (std::size_t i = 0; i < format.size();) {
        const char c = format[i];
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        if (c == 'd') {
            out += run >= 2 ? TwoDigits(day) : std::to_string(day);
        } else if (c == 'M') {
            out += run >= 2 ? TwoDigits(month) : std::to_string(month);
        } else if (c == 'y') {
            out += run >= 3 ? std::to_string(year) : TwoDigits(year % 100);
        } else {
            out.append(run, c);
        }
        i += run;
    }
    return out;
}

std::string TensileResultLine(const ResultsRecord& r, const ParameterSet& p,
                              std::string_view shortDateFormat) {
    const std::string separator = FieldSeparator(p);
    const bool comma = p.DecimalComma == 1;
    auto field = [&](double value, int width, int slot) {
        return NumberField(value, width, p.Results[static_cast<std::size_t>(slot - 1)].Decimals,
                           comma) +
               separator;
    };
    std::string line = LineStart(r, separator, shortDateFormat);
    line += NumberField(r.Lo, 7, 1, comma) + separator;
    line += field(r.a, 7, 1) + field(r.b, 7, 2) + field(r.d, 7, 3) + field(r.D, 7, 4);
    line += field(r.So, 7, 5) + field(r.QAW, 7, 22);
    line += field(r.ReH, 7, 6) + field(r.ReL, 7, 7) + field(r.Rp, 7, 8) + field(r.Rp2, 7, 9);
    line += field(r.Rm, 7, 10) + field(r.Rr, 7, 11) + field(r.RatioR1R2, 7, 12);
    line += field(r.Ae, 7, 13) + field(r.Ag, 7, 14) + field(r.Agt, 7, 15) + field(r.Ac, 7, 16);
    line += field(r.At, 7, 17) + field(r.Z, 7, 18) + field(r.E, 8, 19);
    line += field(r.r, 7, 20) + field(r.n, 7, 21);
    return line + LineEnd(r, p, separator);
}

std::string ArrayResultLine(int count, const ResultsRecord& r, const ParameterSet& p,
                            std::string_view shortDateFormat) {
    const std::string separator = FieldSeparator(p);
    std::string line = LineStart(r, separator, shortDateFormat);
    const int elements =
        std::min(count, std::min(ResultsRecord::kResultCount, kResultDefinitionSlots));
    for (int element = 0; element < elements; ++element) {
        line += NumberField(r.Results[static_cast<std::size_t>(element)], 7,
                            p.Results[static_cast<std::size_t>(element)].Decimals,
                            p.DecimalComma == 1) +
                separator;
    }
    return line + LineEnd(r, p, separator);
}

bool AppendResultLine(const std::filesystem::path& path, const std::string& line) {
    const std::filesystem::path resolved = ResolvePath(path);
    OpenedFile file = OpenRegularFile(resolved, OpenFor::Appending);
    if (!file.Status.Loaded()) return false;
    const int fd = file.Handle.Fd();
    // Appends of two programs must not interleave, and a failed one is cut off again, so that
    // the next line never continues a torn one.
    ::flock(fd, LOCK_EX);
    const auto before = static_cast<off_t>(file.Handle.Size());
    const std::string bytes = Utf8ToWin1252(line) + kLineEnd;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    if (written == bytes.size() && ::fdatasync(fd) == 0) return true;
    if (::ftruncate(fd, before) == 0) ::fdatasync(fd);
    return false;
}

bool AppendTensileResultLine(const std::filesystem::path& path, const ResultsRecord& record,
                             const ParameterSet& p, std::string_view shortDateFormat) {
    return AppendResultLine(path, TensileResultLine(record, p, shortDateFormat));
}

bool AppendArrayResultLine(const std::filesystem::path& path, int count,
                           const ResultsRecord& record, const ParameterSet& p,
                           std::string_view shortDateFormat) {
    return AppendResultLine(path, ArrayResultLine(count, record, p, shortDateFormat));
}

bool WriteRawDataFile(const std::filesystem::path& path, const MeasurementBuffer& buffer,
                      int sampleCount, const ParameterSet& p) {
    const std::string separator = FieldSeparator(p);
    const bool comma = p.DecimalComma == 1;
    std::string text = Headings(p);
    const int last = std::min(sampleCount, kBufferCapacity);
    text.reserve(text.size() + static_cast<std::size_t>(std::max(last, 0)) * 40);
    for (int i = 1; i <= last; ++i) {
        text += NumberField(buffer.Force(i), 8, 3, comma) + separator;
        text += NumberField(buffer.Travel(i), 8, 2, comma) + separator;
        text += NumberField(buffer.Extension(i), 8, 3, comma) + separator;
        text += NumberField(buffer.WidthChange(i), 8, 4, comma) + separator + kLineEnd;
    }
    return WriteText(ResolvePath(path), text);
}

bool WriteProbeRawDataFile(const std::filesystem::path& path, const MeasurementBuffer& buffer,
                           int sampleCount, const ParameterSet& p) {
    const std::string separator = FieldSeparator(p);
    const bool comma = p.DecimalComma == 1;
    std::string text = Headings(p);
    const int last = std::min(sampleCount, kBufferCapacity);
    for (int i = 1; i <= last; ++i) {
        const double p1 = buffer.At(Channel::Probe1, i);
        const double p2 = buffer.At(Channel::Probe2, i);
        const double p3 = buffer.At(Channel::Probe3, i);
        for (double value : {(p1 + p2 + p3) / 3.0, p1, p2, p3}) {
            text += NumberField(value, 8, 5, comma) + separator;
        }
        text += kLineEnd;
    }
    return WriteText(ResolvePath(path), text);
}

bool CopyRawDataFile(const std::filesystem::path& source, const std::filesystem::path& target,
                     const ResultsRecord& slot, std::int32_t testType, std::string* writeError) {
    const auto bytes = ReadWholeFile(ResolvePath(source));
    if (!bytes) return false;
    std::string text;
    if (testType == 6) {
        text += "[Specimen data]" + std::string(kLineEnd);
        text += "Specimen No =" + Utf8ToWin1252(slot.SpecimenNo) + kLineEnd;
        text += "Internal ID =" + Utf8ToWin1252(slot.SpecimenId) + kLineEnd;
        text += "Remark =" + Utf8ToWin1252(slot.Remark) + kLineEnd;
        text += "b  =" + FormatFixed(slot.Results[0], 8, 2) + kLineEnd;
        text += "h  =" + FormatFixed(slot.Results[1], 8, 3) + kLineEnd;
        text += "lo =" + FormatFixed(slot.Results[3], 8, 2) + kLineEnd;
        text += "lc =" + FormatFixed(slot.Results[19], 8, 2) + kLineEnd;
    }
    // Line by line: every line of the source ends with CR LF in the copy, and an empty source
    // still gives one (empty) line.
    std::istringstream lines(std::string(bytes->begin(), bytes->end()));
    std::string line;
    bool any = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += line + kLineEnd;
        any = true;
    }
    if (!any) text += kLineEnd;
    return WriteFileAtomic(ResolvePath(target), std::vector<std::uint8_t>(text.begin(), text.end()),
                           writeError);
}

}  // namespace quorvex
