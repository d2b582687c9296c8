// The files of the tests kept at a termination signal.
#include "shell/kept_tests.h"

#include <set>
#include <system_error>

#include "evaluation/parameter_file.h"

namespace quorvex {
namespace {

// A project name is a directory of the working directory: one line, no path.
constexpr std::size_t kLongestProjectName = 255;

std::filesystem::path InWork(const std::filesystem::path& work, const char* name) {
    return ResolveInDirectory(work, name);
}

LoadResult Refused(const std::filesystem::path& path, const std::string& why) {
    return {LoadStatus::Refused, "The kept tests in \"" + path.string() + "\" " + why +
                                     " and were not offered for storing."};
}

bool UsableProjectName(const std::string& name) {
    if (name.size() > kLongestProjectName || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\') return false;
    }
    return true;
}

LoadResult ReadProjectName(const std::filesystem::path& path, std::string& name) {
    const FileBytes read = ReadFileBytes(path, kLongestProjectName + 2, Beyond::Refused);
    if (read.Status.status == LoadStatus::Missing)
        return Refused(path, "are incomplete: the file is missing");
    if (!read.Status.Loaded()) return read.Status;
    std::string text(read.Bytes.begin(), read.Bytes.end());
    if (text.empty() || text.back() != '\n') return Refused(path, "end without their line break");
    text.pop_back();
    if (!UsableProjectName(text)) return Refused(path, "name no usable results project");
    name = text;
    return {LoadStatus::Loaded, {}};
}

LoadResult ReadRecords(const std::filesystem::path& path, std::vector<ResultsRecord>& records) {
    const std::size_t largest = ResultsRecord::kImageSize * Series::kSlots;
    const FileBytes read = ReadFileBytes(path, largest, Beyond::Refused);
    if (!read.Status.Loaded()) return read.Status;
    const std::vector<std::uint8_t>& bytes = read.Bytes;
    if (bytes.empty() || bytes.size() % ResultsRecord::kImageSize != 0) {
        return Refused(path, "hold " + std::to_string(bytes.size()) +
                                 " bytes, which is no whole number of " +
                                 std::to_string(ResultsRecord::kImageSize) + "-byte records");
    }
    std::set<int> slots;
    std::vector<ResultsRecord> parsed;
    for (std::size_t at = 0; at < bytes.size(); at += ResultsRecord::kImageSize) {
        const ResultsRecord record = ResultsRecordFromImage(
            std::span<const std::uint8_t>(bytes).subspan(at, ResultsRecord::kImageSize));
        const std::string which = "record " + std::to_string(at / ResultsRecord::kImageSize + 1);
        const int slot = record.RecordNumber;
        if (slot < 1 || slot > Series::kSlots || !slots.insert(slot).second) {
            return Refused(path, "name series slot " + std::to_string(slot) + " in " + which +
                                     ", which is no slot or named twice");
        }
        const std::vector<std::string> damaged = DamagedFields(record);
        if (!(record.Rm > 0) || !damaged.empty()) {
            return Refused(path, "hold no sound test in " + which +
                                     (damaged.empty() ? std::string(" (Rm is not above 0)")
                                                      : " (" + damaged.front() + ")"));
        }
        parsed.push_back(record);
    }
    records = std::move(parsed);
    return {LoadStatus::Loaded, {}};
}

}  // namespace

std::string WriteKeptTests(const std::filesystem::path& workingDirectory, const Series& series,
                           const ParameterSet& parameters, const std::string& projectName) {
    ByteImage records;
    for (int slot = 1; slot <= Series::kSlots; ++slot) {
        ResultsRecord record = series.Slots[static_cast<std::size_t>(slot)];
        if (!(record.Rm > 0)) continue;
        // The slot's own files carry its number; the record says which they are.
        record.RecordNumber = slot;
        const ByteImage image = ResultsRecordImage(record);
        records.insert(records.end(), image.begin(), image.end());
    }
    if (records.empty()) return {};
    std::string error;
    const std::filesystem::path projectFile = InWork(workingDirectory, kKeptProjectFile);
    const std::string line = projectName + "\n";
    if (!WriteFileAtomic(projectFile, ByteImage(line.begin(), line.end()), &error)) return error;
    const std::filesystem::path parameterFile = InWork(workingDirectory, kKeptParameterFile);
    if (!SaveParameterSet(parameters, parameterFile)) {
        return "The parameter set of the kept tests could not be written to \"" +
               parameterFile.string() + "\".";
    }
    if (!WriteFileAtomic(InWork(workingDirectory, kKeptSeriesFile), records, &error)) return error;
    return {};
}

KeptRead ReadKeptTests(const std::filesystem::path& workingDirectory) {
    KeptRead kept;
    const std::filesystem::path seriesFile = InWork(workingDirectory, kKeptSeriesFile);
    kept.Status = ReadRecords(seriesFile, kept.Tests.Records);
    if (!kept.Status.Loaded()) return kept;

    const std::filesystem::path parameterFile = InWork(workingDirectory, kKeptParameterFile);
    const LoadResult parameters = LoadParameterSet(kept.Tests.Parameters, parameterFile, true);
    if (!parameters.Loaded()) {
        kept.Status = parameters.status == LoadStatus::Missing
                          ? Refused(parameterFile, "are incomplete: the file is missing")
                          : parameters;
        return kept;
    }
    kept.Status =
        ReadProjectName(InWork(workingDirectory, kKeptProjectFile), kept.Tests.ProjectName);
    return kept;
}

void RemoveKeptTests(const std::filesystem::path& workingDirectory) {
    std::error_code error;
    for (const char* name : {kKeptSeriesFile, kKeptParameterFile, kKeptProjectFile}) {
        std::filesystem::remove(InWork(workingDirectory, name), error);
    }
}

}  // namespace quorvex
