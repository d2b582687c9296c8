// Storing tests of the series in the results project: the records and header files first,
// then the result lines and database rows, then the curve and raw-data copies. Every file
// that cannot be written is reported: a laboratory must know what its project lacks.
#include <string>

#include "ascii_export.h"
#include "curve_file.h"
#include "files.h"
#include "project_store.h"
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

void WriteResultLine(const ResultsRecord& record, const ParameterSet& p,
                     const ProjectStoreContext& context, std::vector<std::string>& messages) {
    const std::string name = AsciiResultFileName(p.TestType);
    if (name.empty()) return;
    const std::filesystem::path file = ResolveInDirectory(context.WorkingDirectory, name);
    const bool written = IsTensileFamily(p.TestType)
                             ? AppendTensileResultLine(file, record, p, context.ShortDateFormat)
                             : AppendArrayResultLine(file, ExportedResultCount(p.TestType), record,
                                                     p, context.ShortDateFormat);
    if (!written) {
        messages.push_back("The result line of record " + std::to_string(record.RecordNumber) +
                           " could not be written to " + Quoted(file) + ".");
    }
}

void CopySeriesFiles(const TestState& state, const StoredRecord& stored,
                     const ProjectStoreContext& context,
                     const std::filesystem::path& projectDirectory,
                     std::vector<std::string>& messages) {
    const ParameterSet& p = state.Parameters;
    const std::string number = std::to_string(stored.RecordNumber);
    const std::filesystem::path curve =
        SeriesFilePath(context.WorkingDirectory, stored.Slot, ".Dia");
    const std::filesystem::path curveCopy =
        ProjectRecordFile(projectDirectory, stored.RecordNumber, ".Dia");
    const LoadResult copied = CopyCurveFile(curve, curveCopy);
    if (copied.status == LoadStatus::Missing) {
        messages.push_back("The curve file " + Quoted(curve) + " of " + SlotName(stored.Slot) +
                           " is missing: record " + number + " has no curve.");
    } else if (copied.status == LoadStatus::Refused) {
        messages.push_back(copied.message + " Record " + number + " has no curve.");
    }
    if (p.RawDataExport == 0) return;
    const std::filesystem::path rawData =
        SeriesFilePath(context.WorkingDirectory, stored.Slot, ".Txt");
    const std::filesystem::path rawCopy =
        ProjectRecordFile(projectDirectory, stored.RecordNumber, ".Txt");
    if (!CopyRawDataFile(rawData, rawCopy, StoredCopy(state, stored), p.TestType)) {
        messages.push_back("The raw-data file " + Quoted(rawData) + " of " + SlotName(stored.Slot) +
                           " could not be copied to " + Quoted(rawCopy) + ".");
    }
}

}  // namespace

ProjectStoreResult StoreSeriesInProject(const TestState& state, const std::vector<int>& slots,
                                        const ProjectStoreContext& context, ExportRowSink& sink) {
    ProjectStoreResult result;
    std::vector<std::string>& messages = result.Messages;
    if (context.ProjectName.empty()) {
        messages.push_back("No results project is open: nothing was stored.");
        return result;
    }
    const ParameterSet& p = state.Parameters;
    const bool keepCurves = p.SaveCurves != 0;
    const std::filesystem::path projectDirectory =
        ProjectDirectory(context.WorkingDirectory, context.ProjectName);
    const std::filesystem::path resultsFile =
        ProjectResultsFile(context.WorkingDirectory, context.ProjectName);

    // The records and their header files, numbered after those already stored (deleted ones
    // keep their numbers and count).
    int lastNumber = CountRecords(resultsFile).Records;
    for (int slot : slots) {
        if (slot < 1 || slot > Series::kSlots) {
            messages.push_back("There is no " + SlotName(slot) + ": nothing of it was stored.");
            continue;
        }
        const int expected = lastNumber + 1;
        const AppendResult appended =
            AppendRecord(resultsFile, state.TestSeries.Slots[static_cast<std::size_t>(slot)],
                         keepCurves ? expected : 0, expected);
        if (!appended.Message.empty()) messages.push_back(appended.Message);
        if (!appended.Written) {
            messages.push_back("The test of " + SlotName(slot) +
                               " could not be written into the results file " +
                               Quoted(resultsFile) + " and was not stored.");
            continue;
        }
        lastNumber = appended.RecordNumber;
        const StoredRecord stored{slot, appended.RecordNumber,
                                  keepCurves ? appended.RecordNumber : 0};
        result.Stored.push_back(stored);
        const std::filesystem::path header =
            ProjectRecordFile(projectDirectory, stored.RecordNumber, ".Hea");
        if (!WriteHeaderFile(header, p.HeaderValue)) {
            messages.push_back("The header file " + Quoted(header) + " of record " +
                               std::to_string(stored.RecordNumber) + " could not be written.");
        }
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
        if (p.AsciiExport != 0) WriteResultLine(record, p, context, messages);
        if (IsTensileFamily(p.TestType) && p.WriteAliasTable != 0) {
            sink.WriteAliasRow(BuildAliasRow(record, p, context.Today));
        }
        sink.WriteExportRow(BuildExportRow(record, p, context.Today));
    }

    if (keepCurves) {
        for (const StoredRecord& stored : result.Stored) {
            CopySeriesFiles(state, stored, context, projectDirectory, messages);
        }
    }
    return result;
}

}  // namespace quorvex
