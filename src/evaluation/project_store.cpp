// The results file of a project: whole 544-byte records appended under a lock, read in large
// blocks, and a torn last record (a crash during a write) reported and replaced, never
// mistaken for a stored test.
#include "project_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>

#include "files.h"
#include "win1252.h"

namespace quorvex {
namespace {

constexpr std::size_t kMarkOffset = 447;
constexpr std::size_t kSpecimenNoOffset = 0, kSpecimenNoLength = 14;
constexpr std::size_t kSpecimenIdOffset = 15, kSpecimenIdLength = 20;
constexpr std::size_t kDateOffset = 62;
constexpr std::size_t kLoOffset = 134;
// Records per read: 139264 bytes, so that no record straddles two reads.
constexpr std::size_t kBlockRecords = 256;

// A results file opened through the one opening place; its size only when it is regular.
class OpenFile {
  public:
    OpenFile(const std::filesystem::path& path, OpenFor purpose)
        : opened_(OpenRegularFile(path, purpose)) {}

    bool IsOpen() const { return opened_.Handle.IsOpen(); }
    int Fd() const { return opened_.Handle.Fd(); }
    std::optional<std::uint64_t> RegularSize() const {
        if (!IsOpen()) return std::nullopt;
        return opened_.Handle.Size();
    }
    const LoadResult& Status() const { return opened_.Status; }

  private:
    OpenedFile opened_;
};

std::string TornMessage(const std::filesystem::path& path, std::uint64_t whole,
                        std::size_t tornBytes) {
    return "The results file \"" + path.string() + "\" ends inside a record (" +
           std::to_string(tornBytes) + " bytes of an interrupted write); its " +
           std::to_string(whole) + " whole records stay readable.";
}

RecordCount CountOf(const std::filesystem::path& path, std::uint64_t bytes) {
    RecordCount count;
    const std::uint64_t whole = bytes / kProjectRecordSize;
    count.Records = whole > INT_MAX ? INT_MAX : static_cast<int>(whole);
    count.TornBytes = static_cast<std::size_t>(bytes % kProjectRecordSize);
    if (count.TornBytes > 0) count.Message = TornMessage(path, whole, count.TornBytes);
    return count;
}

float MarkOf(const std::uint8_t* image) {
    return std::bit_cast<float>(LoadU32(image + kMarkOffset));
}

// The text of a string field as stored, its length byte clamped as the record reader does.
std::string_view StoredText(const std::uint8_t* image, std::size_t offset, std::size_t maxLength) {
    const std::size_t length = std::min<std::size_t>(image[offset], maxLength);
    return {reinterpret_cast<const char*>(image + offset + 1), length};
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A pattern ready for matching, in the encoding of the fields it is matched against. A
// character that Windows-1252 cannot hold is in no stored field, so such a pattern matches
// nothing there. Containment and equality ignoring ASCII case give the same answer on
// Windows-1252 bytes as on the UTF-8 of the same texts, so the scan matches the stored bytes.
struct PreparedPattern {
    std::string Text;
    bool Contains = false;
    bool MatchesNothing = false;
};

PreparedPattern PreparePattern(std::string_view pattern, bool asStored) {
    PreparedPattern prepared;
    prepared.Contains = pattern.find('*') != std::string_view::npos;
    for (char c : pattern) {
        if (!prepared.Contains || c != '*') prepared.Text += c;
    }
    if (asStored) {
        std::string stored = Utf8ToWin1252(prepared.Text);
        prepared.MatchesNothing = Win1252ToUtf8(stored) != prepared.Text;
        prepared.Text = std::move(stored);
    }
    return prepared;
}

bool Matches(const PreparedPattern& pattern, std::string_view field) {
    if (pattern.MatchesNothing) return false;
    if (pattern.Contains) return field.find(pattern.Text) != std::string_view::npos;
    return EqualIgnoringAsciiCase(pattern.Text, field);
}

// The fields a filter looks at, either from a parsed record or straight from its image.
struct FilterFields {
    double Date = 0;
    float Lo = 0;
    std::string_view SpecimenNo, SpecimenId;
};

struct PreparedFilter {
    PreparedFilter(const RecordFilter& filter, bool asStored)
        : Filter(filter),
          SpecimenNo(PreparePattern(filter.SpecimenNoPattern, asStored)),
          SpecimenId(PreparePattern(filter.IdPattern, asStored)) {}

    bool Accepts(const FilterFields& fields) const {
        if (Filter.ShowAll) return true;
        if (Filter.ByDate) {
            // A date that is no number lies in no range.
            if (!std::isfinite(fields.Date)) return false;
            const double day = std::floor(fields.Date);
            if (day < Filter.FromDay || day > Filter.ToDay) return false;
        }
        if (Filter.ByGaugeLength) {
            const double whole = std::trunc(static_cast<double>(fields.Lo));
            if (!(whole == Filter.GaugeLength)) return false;
        }
        if (Filter.BySpecimenNo && !Matches(SpecimenNo, fields.SpecimenNo)) return false;
        if (Filter.ById && !Matches(SpecimenId, fields.SpecimenId)) return false;
        return true;
    }

    const RecordFilter& Filter;
    PreparedPattern SpecimenNo, SpecimenId;
};

FilterFields StoredFilterFields(const std::uint8_t* image) {
    FilterFields fields;
    std::memcpy(&fields.Date, image + kDateOffset, sizeof fields.Date);
    fields.Lo = std::bit_cast<float>(LoadU32(image + kLoOffset));
    fields.SpecimenNo = StoredText(image, kSpecimenNoOffset, kSpecimenNoLength);
    fields.SpecimenId = StoredText(image, kSpecimenIdOffset, kSpecimenIdLength);
    return fields;
}

static_assert(std::endian::native == std::endian::little,
              "the date is read straight from the little-endian image");

// Hands every whole record to visit(image, number) in file order, many records per read;
// visit returns false to stop. Nothing when the file cannot be opened.
template <class Visit>
std::optional<RecordCount> ReadRecordBlocks(const std::filesystem::path& path, Visit visit) {
    const std::filesystem::path resolved = ResolvePath(path);
    OpenFile file(resolved, OpenFor::Reading);
    const auto size = file.IsOpen() ? file.RegularSize() : std::nullopt;
    if (!size) return std::nullopt;
    ::posix_fadvise(file.Fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    std::vector<std::uint8_t> block(kBlockRecords * kProjectRecordSize);
    std::uint64_t total = 0;
    int number = 0;
    bool reading = true;
    while (reading) {
        std::size_t filled = 0;
        while (filled < block.size()) {
            const ssize_t n = ::read(file.Fd(), block.data() + filled, block.size() - filled);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                reading = false;
                break;
            }
            filled += static_cast<std::size_t>(n);
        }
        total += filled;
        const std::size_t records = filled / kProjectRecordSize;
        for (std::size_t i = 0; i < records && number < INT_MAX; ++i) {
            if (!visit(block.data() + i * kProjectRecordSize, ++number)) {
                return CountOf(resolved, *size);
            }
        }
    }
    return CountOf(resolved, total);
}

}  // namespace

bool IsDeletedRecord(const ResultsRecord& record) {
    return record.Results[49] == kDeletionMark;
}

std::filesystem::path ProjectDirectory(const std::filesystem::path& workingDirectory,
                                       std::string_view projectName) {
    return ResolveInDirectory(workingDirectory, std::string(projectName));
}

std::filesystem::path ProjectResultsFile(const std::filesystem::path& workingDirectory,
                                         std::string_view projectName) {
    return ResolveInDirectory(ProjectDirectory(workingDirectory, projectName),
                              std::string(projectName) + ".Res");
}

std::filesystem::path ProjectRecordFile(const std::filesystem::path& projectDirectory, int number,
                                        std::string_view extension) {
    return ResolveInDirectory(projectDirectory, std::to_string(number) + std::string(extension));
}

RecordCount CountRecords(const std::filesystem::path& resultsFile) {
    const std::filesystem::path resolved = ResolvePath(resultsFile);
    OpenFile file(resolved, OpenFor::Reading);
    if (!file.IsOpen()) return {};
    const auto size = file.RegularSize();
    return size ? CountOf(resolved, *size) : RecordCount{};
}

AppendResult AppendRecord(const std::filesystem::path& resultsFile, const ResultsRecord& record,
                          int curveNumber, int recordNumber) {
    AppendResult result;
    const std::filesystem::path resolved = ResolvePath(resultsFile);
    OpenFile file(resolved, OpenFor::Updating);
    if (!file.IsOpen()) {
        result.Message = file.Status().message;
        return result;
    }
    // Appends of two programs (the window and quorvex-cli) must not take the same position.
    ::flock(file.Fd(), LOCK_EX);
    const auto size = file.RegularSize();
    if (!size) return result;
    const std::uint64_t whole = *size / kProjectRecordSize;
    if (whole >= static_cast<std::uint64_t>(INT_MAX)) return result;
    const std::size_t torn = static_cast<std::size_t>(*size % kProjectRecordSize);
    if (torn > 0) result.Message = TornMessage(resolved, whole, torn);

    // The record takes the number of the position it is written at, even when another
    // program appended since the caller counted; a kept curve follows it.
    const int number = static_cast<int>(whole) + 1;
    ResultsRecord stored = record;
    stored.RecordNumber = number;
    stored.CurveNumber = curveNumber != 0 && curveNumber == recordNumber ? number : curveNumber;
    const ByteImage image = ResultsRecordImage(stored);

    // One write over the torn bytes (fewer than a record), so the file ends on a whole record.
    const auto position = static_cast<off_t>(whole * kProjectRecordSize);
    ssize_t written = -1;
    do {
        written = ::pwrite(file.Fd(), image.data(), image.size(), position);
    } while (written < 0 && errno == EINTR);
    if (written != static_cast<ssize_t>(image.size()) || ::fdatasync(file.Fd()) != 0) {
        // Whatever part of the record reached the file goes again; the stored records stay.
        if (::ftruncate(file.Fd(), position) == 0) ::fdatasync(file.Fd());
        return result;
    }
    result.Written = true;
    result.RecordNumber = number;
    return result;
}

std::optional<ResultsRecord> ReadProjectRecord(const std::filesystem::path& resultsFile,
                                               int number) {
    if (number < 1) return std::nullopt;
    OpenFile file(ResolvePath(resultsFile), OpenFor::Reading);
    if (!file.IsOpen()) return std::nullopt;
    ByteImage image(kProjectRecordSize);
    const auto position =
        static_cast<off_t>(static_cast<std::uint64_t>(number - 1) * kProjectRecordSize);
    std::size_t filled = 0;
    while (filled < image.size()) {
        const ssize_t n = ::pread(file.Fd(), image.data() + filled, image.size() - filled,
                                  position + static_cast<off_t>(filled));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        filled += static_cast<std::size_t>(n);
    }
    return ResultsRecordFromImage(image);
}

bool MarkRecordDeleted(const std::filesystem::path& resultsFile, int number) {
    if (number < 1) return false;
    OpenFile file(ResolvePath(resultsFile), OpenFor::Changing);
    if (!file.IsOpen()) return false;
    ::flock(file.Fd(), LOCK_EX);
    const auto size = file.RegularSize();
    const std::uint64_t start = static_cast<std::uint64_t>(number - 1) * kProjectRecordSize;
    if (!size || start + kProjectRecordSize > *size) return false;
    // Only the four bytes of the mark change; the rest of the record is left as it is.
    std::uint8_t mark[4];
    StoreU32(mark, std::bit_cast<std::uint32_t>(kDeletionMark));
    const ssize_t written =
        ::pwrite(file.Fd(), mark, sizeof mark, static_cast<off_t>(start + kMarkOffset));
    return written == static_cast<ssize_t>(sizeof mark) && ::fdatasync(file.Fd()) == 0;
}

std::optional<RecordCount> ReadProjectRecords(
    const std::filesystem::path& resultsFile,
    const std::function<bool(int number, const ResultsRecord&)>& visit) {
    return ReadRecordBlocks(resultsFile, [&](const std::uint8_t* image, int number) {
        return visit(number, ResultsRecordFromImage({image, kProjectRecordSize}));
    });
}

bool PatternMatches(std::string_view pattern, std::string_view field) {
    return Matches(PreparePattern(pattern, false), field);
}

bool FilterAccepts(const RecordFilter& filter, const ResultsRecord& record) {
    const PreparedFilter prepared(filter, false);
    return prepared.Accepts({record.Date, record.Lo, record.SpecimenNo, record.SpecimenId});
}

RecordCount ScanProject(const std::filesystem::path& resultsFile, const RecordFilter& filter,
                        const std::function<bool(int number, const ResultsRecord&)>& accepted) {
    // The filter looks at the stored bytes; only the records it keeps are read whole.
    const PreparedFilter prepared(filter, true);
    const auto count = ReadRecordBlocks(resultsFile, [&](const std::uint8_t* image, int number) {
        if (MarkOf(image) == kDeletionMark) return true;
        if (!prepared.Accepts(StoredFilterFields(image))) return true;
        return accepted(number, ResultsRecordFromImage({image, kProjectRecordSize}));
    });
    return count.value_or(RecordCount{});
}

}  // namespace quorvex
