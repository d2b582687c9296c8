// Storing tests of the series in the results project, all or nothing per test: its header,
// curve and raw-data files first, its record last as the commit point, then the result line
// and the database rows. Every file that cannot be written is reported: a laboratory must know
// what its project lacks.
#include <cctype>
#include <string>
#include <system_error>

#include "ascii_export.h"
#include "curve_file.h"
#include "files.h"
#include "project_store.h"
#include "store_lock.h"
#include "test_files.h"
#include "test_types.h"

namespace quorvex {
namespace {

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

std::string SlotName(int slot) {
    return "series slot " + std::to_string(slot);
}

// The record as the results file holds it, with its numbers in the project.
ResultsRecord StoredCopy(const TestState& state, const StoredRecord& stored) {
    ResultsRecord record = state.TestSeries.Slots[static_cast<std::size_t>(stored.Slot)];
    record.RecordNumber = stored.RecordNumber;
    record.CurveNumber = stored.CurveNumber;
    return record;
}

// The record number of a record's own file ("12.Dia", "3.hea"), 0 for any other name.
int RecordFileNumber(const std::string& name) {
    const std::size_t dot = name.find('.');
    if (dot == 0 || dot == std::string::npos || dot > 9) return 0;
    std::string extension = name.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".hea" && extension != ".dia" && extension != ".txt") return 0;
    int number = 0;
    for (std::size_t i = 0; i < dot; ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

void WriteResultLine(const ResultsRecord& record, const ParameterSet& p,
                     const ProjectStoreContext& context, ProjectStoreResult& result) {
    const std::string name = AsciiResultFileName(p.TestType);
    if (name.empty()) return;
    const std::filesystem::path file = ResolveInDirectory(context.WorkingDirectory, name);
    const bool written = IsTensileFamily(p.TestType)
                             ? AppendTensileResultLine(file, record, p, context.ShortDateFormat)
                             : AppendArrayResultLine(file, ExportedResultCount(p.TestType), record,
                                                     p, context.ShortDateFormat);
    if (!written) {
        result.Complete = false;
        result.Messages.push_back("Record " + std::to_string(record.RecordNumber) +
                                  " is stored, but its result line could not be written to " +
                                  Quoted(file) + ": the line is missing there.");
    }
}

// The files of one slot under its record number, written before the record. False when a file
// could not be written: the slot's record must not be stored then. A source that is missing
// or unusable leaves its copy out, and the record says so with curve number 0.
bool WriteRecordFiles(const TestState& state, StoredRecord& stored,
                      const ProjectStoreContext& context,
                      const std::filesystem::path& projectDirectory,
                      std::vector<std::filesystem::path>& written, ProjectStoreResult& result) {
    const ParameterSet& p = state.Parameters;
    const std::string number = std::to_string(stored.RecordNumber);
    const bool keepCurves = stored.CurveNumber != 0;
    auto at = [&](StorePoint point) {
        if (context.AtPoint) context.AtPoint(point, stored.Slot);
    };
    auto writeFailed = [&](const std::string& what, const std::string& why) {
        result.Complete = false;
        result.Messages.push_back("The " + what + " of " + SlotName(stored.Slot) + " " + why +
                                  ": the test was not stored.");
        return false;
    };

    const std::filesystem::path header =
        ProjectRecordFile(projectDirectory, stored.RecordNumber, ".Hea");
    std::string error;
    if (!WriteFileAtomic(ResolvePath(header), HeaderFileImage(p.HeaderValue), &error)) {
        return writeFailed("header file", error);
    }
    written.push_back(header);
    at(StorePoint::Header);
    if (!keepCurves) return true;

    const std::filesystem::path curve =
        SeriesFilePath(context.WorkingDirectory, stored.Slot, ".Dia");
    const std::filesystem::path curveCopy =
        ProjectRecordFile(projectDirectory, stored.RecordNumber, ".Dia");
    const LoadResult copied = CopyCurveFile(curve, curveCopy, &error);
    if (!error.empty()) return writeFailed("curve", error);
    if (!copied.Loaded()) {
        result.Complete = false;
        result.Messages.push_back(
            (copied.status == LoadStatus::Missing
                 ? "The curve file " + Quoted(curve) + " of " + SlotName(stored.Slot) +
                       " is missing:"
                 : copied.message) +
            " record " + number + " is stored without its curve.");
        stored.CurveNumber = 0;
    } else {
        written.push_back(curveCopy);
        at(StorePoint::Curve);
    }
    if (p.RawDataExport == 0) return true;

    const std::filesystem::path rawData =
        SeriesFilePath(context.WorkingDirectory, stored.Slot, ".Txt");
    const std::filesystem::path rawCopy =
        ProjectRecordFile(projectDirectory, stored.RecordNumber, ".Txt");
    if (!CopyRawDataFile(rawData, rawCopy, StoredCopy(state, stored), p.TestType, &error)) {
        if (!error.empty()) return writeFailed("raw-data file", error);
        result.Complete = false;
        result.Messages.push_back("The raw-data file " + Quoted(rawData) + " of " +
                                  SlotName(stored.Slot) + " could not be read: record " + number +
                                  " is stored without its raw data.");
        return true;
    }
    written.push_back(rawCopy);
    at(StorePoint::RawData);
    return true;
}

}  // namespace

std::vector<std::string> RemoveInterruptedStoreFiles(const std::filesystem::path& projectDirectory,
                                                     const std::filesystem::path& resultsFile) {
    std::vector<std::string> messages = RemoveAbandonedTemporaryFiles(projectDirectory);
    // Only what one store can have written goes: the files of the next ten numbers, and only
    // when the results file says how many records there are (it is regular or not there yet).
    if (OpenRegularFile(ResolvePath(resultsFile), OpenFor::Reading).Status.status ==
        LoadStatus::Refused) {
        return messages;
    }
    const int records = CountRecords(resultsFile).Records;
    std::error_code error;
    for (std::filesystem::directory_iterator it(projectDirectory, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        const int number = RecordFileNumber(name);
        if (number <= records || number > records + Series::kSlots) continue;
        std::error_code removal;
        if (std::filesystem::remove(it->path(), removal)) {
            messages.push_back("Removed " + Quoted(projectDirectory / name) + ": record " +
                               std::to_string(number) +
                               " was never stored (an interrupted store wrote it).");
        }
    }
    return messages;
}

ProjectStoreResult StoreSeriesInProject(const TestState& state, const std::vector<int>& slots,
                                        const ProjectStoreContext& context, ExportRowSink& sink) {
    ProjectStoreResult result;
    std::vector<std::string>& messages = result.Messages;
    if (context.ProjectName.empty()) {
        messages.push_back("No results project is open: nothing was stored.");
        result.Complete = false;
        return result;
    }
    const ParameterSet& p = state.Parameters;
    const bool keepCurves = p.SaveCurves != 0;
    const std::filesystem::path projectDirectory =
        ProjectDirectory(context.WorkingDirectory, context.ProjectName);
    const std::filesystem::path resultsFile =
        ProjectResultsFile(context.WorkingDirectory, context.ProjectName);

    // Stores into one project from several working directories take their numbers one after
    // the other; an interrupted one left files that are removed first.
    std::error_code error;
    if (!std::filesystem::is_directory(projectDirectory, error)) {
        messages.push_back("The project directory " + Quoted(projectDirectory) +
                           " is missing: nothing was stored into the results file " +
                           Quoted(resultsFile) + ".");
        result.Complete = false;
        return result;
    }
    const StoreLock lock(projectDirectory, context.LockWait);
    if (!lock.Held()) {
        messages.push_back(lock.Message());
        result.Complete = false;
        return result;
    }
    // A results file that cannot be read says nothing of the numbers taken: nothing is
    // written, lest the files of stored records be overwritten.
    const LoadResult usable = OpenRegularFile(ResolvePath(resultsFile), OpenFor::Reading).Status;
    if (usable.status == LoadStatus::Refused) {
        messages.push_back(usable.message + " Nothing was stored into the project.");
        result.Complete = false;
        return result;
    }
    for (std::string& removed : RemoveInterruptedStoreFiles(projectDirectory, resultsFile)) {
        messages.push_back(std::move(removed));
    }

    int lastNumber = CountRecords(resultsFile).Records;
    for (int slot : slots) {
        if (slot < 1 || slot > Series::kSlots) {
            messages.push_back("There is no " + SlotName(slot) + ": nothing of it was stored.");
            result.Complete = false;
            continue;
        }
        StoredRecord stored{slot, lastNumber + 1, keepCurves ? lastNumber + 1 : 0};
        std::vector<std::filesystem::path> written;
        bool filesComplete =
            WriteRecordFiles(state, stored, context, projectDirectory, written, result);
        AppendResult appended;
        if (filesComplete) {
            appended = AppendRecord(resultsFile,
                                    state.TestSeries.Slots[static_cast<std::size_t>(slot)],
                                    stored.CurveNumber, stored.RecordNumber);
            if (!appended.Message.empty()) messages.push_back(appended.Message);
        }
        if (!appended.Written) {
            // Without its record the files are orphans: they go now, not at the next store.
            for (const std::filesystem::path& file : written) std::filesystem::remove(file, error);
            if (filesComplete) {
                messages.push_back("The test of " + SlotName(slot) +
                                   " could not be written into the results file " +
                                   Quoted(resultsFile) + " and was not stored.");
                result.Complete = false;
            }
            continue;
        }
        if (appended.RecordNumber != stored.RecordNumber) {
            // A program that takes no store lock appended meanwhile: the files follow the
            // number the record got.
            for (const std::filesystem::path& file : written) {
                std::filesystem::rename(file,
                                        ProjectRecordFile(projectDirectory, appended.RecordNumber,
                                                          file.extension().string()),
                                        error);
            }
            if (stored.CurveNumber != 0) stored.CurveNumber = appended.RecordNumber;
            stored.RecordNumber = appended.RecordNumber;
        }
        if (context.AtPoint) context.AtPoint(StorePoint::Record, slot);
        lastNumber = appended.RecordNumber;
        result.Stored.push_back(stored);
    }

    // Per test: the result line, the alias row of the tensile types, the export row.
    const bool knownType = !ExportTableName(p.TestType).empty();
    if (!knownType && !result.Stored.empty()) {
        messages.push_back("Test type " + std::to_string(p.TestType) +
                           " has no result file and no export table: only the project files "
                           "were written.");
    }
    for (const StoredRecord& stored : result.Stored) {
        if (!knownType) break;
        const ResultsRecord record = StoredCopy(state, stored);
        if (p.AsciiExport != 0) WriteResultLine(record, p, context, result);
        if (context.AtPoint) context.AtPoint(StorePoint::ResultLine, stored.Slot);
        if (IsTensileFamily(p.TestType) && p.WriteAliasTable != 0) {
            sink.WriteAliasRow(BuildAliasRow(record, p, context.Today));
        }
        sink.WriteExportRow(BuildExportRow(record, p, context.Today));
        if (context.AtPoint) context.AtPoint(StorePoint::Rows, stored.Slot);
    }
    return result;
}

}  // namespace quorvex
