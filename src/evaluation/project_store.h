// The results project on disk: a directory of the working directory whose "<name>.Res" holds
// one 544-byte results record per stored test, numbered by position, with the numbered header,
// curve and raw-data files beside it. Counting and scanning read the file in large blocks.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export_rows.h"
#include "results_record.h"
#include "test_state.h"

namespace quorvex {

// Element 49 of the results array marks a deleted record; it keeps its number and its files.
constexpr float kDeletionMark = 4711.0f;
constexpr std::size_t kProjectRecordSize = ResultsRecord::kImageSize;

bool IsDeletedRecord(const ResultsRecord& record);

// <work>/<name>/<name>.Res, the name matched without regard to case where the entries exist.
std::filesystem::path ProjectDirectory(const std::filesystem::path& workingDirectory,
                                       std::string_view projectName);
std::filesystem::path ProjectResultsFile(const std::filesystem::path& workingDirectory,
                                         std::string_view projectName);
// <project>/<n>.Hea, .Dia, .Txt of record n.
std::filesystem::path ProjectRecordFile(const std::filesystem::path& projectDirectory, int number,
                                        std::string_view extension);

// What counting found: the whole records, and the bytes of a torn last record that a crash in
// the middle of a write left behind (0 normally).
struct RecordCount {
    int Records = 0;
    std::size_t TornBytes = 0;
    // Set when TornBytes > 0: names the file and says that the whole records stay readable.
    std::string Message;
};

// The number of whole 544-byte records, deleted ones included; 0 when the file cannot be read.
RecordCount CountRecords(const std::filesystem::path& resultsFile);

struct AppendResult {
    bool Written = false;
    int RecordNumber = 0;  // the position the record was written at
    // The torn tail that this append replaced, naming the file (empty normally).
    std::string Message;
};

// Writes the record at the next whole record position with the curve number (offset 162) and
// the record number (offset 166) set; creates the file when it is missing. A torn tail is cut
// and reported; nothing already stored is overwritten. Nothing is written on other failures.
// The record number is always the position written at (another program may have appended
// since `recordNumber` was counted); a curve number equal to `recordNumber` follows it, 0 stays.
AppendResult AppendRecord(const std::filesystem::path& resultsFile, const ResultsRecord& record,
                          int curveNumber, int recordNumber);

// Record n (1-based), or nothing when the file holds no whole record n.
std::optional<ResultsRecord> ReadProjectRecord(const std::filesystem::path& resultsFile,
                                               int number);

// Every whole record in file order, deleted ones included, with its number; `visit` returns
// false to stop. Nothing when the file cannot be opened (a missing file, a directory).
std::optional<RecordCount> ReadProjectRecords(
    const std::filesystem::path& resultsFile,
    const std::function<bool(int number, const ResultsRecord&)>& visit);

// Sets the deletion mark of record n in place; false when there is no such record.
bool MarkRecordDeleted(const std::filesystem::path& resultsFile, int number);

// The project filter of the editor: off criteria accept everything; "show all" accepts every
// record. Dates are whole days since 1899-12-30.
struct RecordFilter {
    bool ShowAll = true;
    bool ByDate = false;
    int FromDay = 0, ToDay = 0;
    bool ByGaugeLength = false;
    double GaugeLength = 0;  // the whole-number part of Lo must equal it
    bool BySpecimenNo = false;
    std::string SpecimenNoPattern;  // "*" anywhere: contained (case-sensitive); else equal
    bool ById = false;              // ignoring ASCII case
    std::string IdPattern;
};

bool PatternMatches(std::string_view pattern, std::string_view field);
bool FilterAccepts(const RecordFilter& filter, const ResultsRecord& record);

// Reads every whole record in file order and hands each record that is not deleted and that the
// filter accepts to `accepted` with its record number. `accepted` returns false to stop early.
// Returns the count with a torn-tail message when there is one.
RecordCount ScanProject(const std::filesystem::path& resultsFile, const RecordFilter& filter,
                        const std::function<bool(int number, const ResultsRecord&)>& accepted);

// Where the rows of the databases go; the Qt SQL writers implement it. A row that cannot be
// written is the writer's business (the export row is skipped, the alias row kept for later).
class ExportRowSink {
  public:
    virtual ~ExportRowSink() = default;
    virtual void WriteExportRow(const ExportRow& row) = 0;
    virtual void WriteAliasRow(const ExportRow& row) = 0;
};

// One stored test: its series slot and the numbers it got in the project.
struct StoredRecord {
    int Slot = 0;
    int RecordNumber = 0;
    int CurveNumber = 0;
};

struct ProjectStoreResult {
    std::vector<StoredRecord> Stored;
    // A torn tail repaired, the files of an interrupted store removed, what is missing.
    std::vector<std::string> Messages;
    // False when something the store was asked to write is missing: a test not stored, a
    // file, a result line. The messages say what.
    bool Complete = true;
};

// The moments of a store at which a test may end it as a crash would: after the header, the
// curve and the raw-data file of a slot, after its record, after its result line and rows.
enum class StorePoint { Header, Curve, RawData, Record, ResultLine, Rows };

// What a store needs to know besides the test state.
struct ProjectStoreContext {
    std::filesystem::path WorkingDirectory;
    std::string ProjectName;
    std::string ShortDateFormat = "dd.MM.yyyy";
    double Today = 0;  // days since 1899-12-30: the date of the database rows
    // How long a store waits for another store of the same project to finish.
    std::chrono::milliseconds LockWait{5000};
    // The fault-injection seam: called at each point with the slot; a test throws or kills
    // the process there. Empty in the program.
    std::function<void(StorePoint, int slot)> AtPoint;
};

// Removes what an interrupted store left in the project directory: header, curve and raw-data
// files of the ten numbers after the last record (as many as one store writes), and abandoned
// temporary files. A results file that cannot be read keeps every file. One message for each
// file removed, naming it. The caller holds the project's store lock.
std::vector<std::string> RemoveInterruptedStoreFiles(const std::filesystem::path& projectDirectory,
                                                     const std::filesystem::path& resultsFile);

// Stores the series slots in selection order into the project, under the project's store lock
// (waiting up to LockWait for another store). Per slot the record is the commit point: its
// header file, curve copy (SaveCurves) and raw-data copy (SaveCurves and RawDataExport) are
// complete before the record is appended, so that a store that ends part-way leaves files
// without a record (removed by the next store) but never a record without its files. A slot
// whose file cannot be written stores no record. Then per stored test the ASCII result line
// (AsciiExport), the alias row (types 0-2 with WriteAliasTable) and the export row.
ProjectStoreResult StoreSeriesInProject(const TestState& state, const std::vector<int>& slots,
                                        const ProjectStoreContext& context, ExportRowSink& sink);

}  // namespace quorvex
