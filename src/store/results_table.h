// The lab's own view of every stored test of every machine: the table quorvex_results beside
// the export tables, one row per stored test with its machine, project, record number, date,
// specimen, every result and the header lines, keyed by the test id that makes each delivery
// exact. The export tables' rows carry the same id and the machine's name.
#pragma once

#include <QSqlDatabase>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "evaluation/project_store.h"

namespace quorvex {

constexpr const char* kResultsTable = "quorvex_results";
// The columns every export-table row carries besides its own.
constexpr const char* kTestIdColumn = "TestId";
constexpr const char* kMachineColumn = "Machine";

// The row of quorvex_results of a stored test.
ExportRow BuildResultsRow(const QueuedRows& rows, const std::string& testId,
                          const std::string& machine, double today);
ExportRow ResultsTableLayout();

// The export row with the test id and the machine appended.
ExportRow WithTestIdentity(ExportRow row, const std::string& testId, const std::string& machine);

// Creates quorvex_results (keyed by test_id) and the export tables, and gives export tables
// made before without the test id its two columns and their unique index.
std::string CreateExportSchema(QSqlDatabase& db);

// The statements that make a role which may only insert into these tables (PostgreSQL).
std::string InsertOnlyGrants(const std::string& role, const std::string& database);

// One stored test as quorvex_results holds it.
struct StoredTest {
    std::string TestId, Machine, Project, TestTime, StoredOn, SpecimenNo, SpecimenId, Remark;
    int RecordNumber = 0;
    int TestType = 0;
    std::string ResultsJson;  // {"Rm": 452, ...}: the results of the export row
    std::vector<std::uint8_t> RecordImage;
    std::array<std::string, 10> Header;
};

struct StoredTestFilter {
    std::string Machine, Project;
    std::optional<int> TestType;
    std::string FromDay, ToDay;  // YYYY-MM-DD, on the test's date; empty: open
};

// The tests of the filter in the order of their date; an empty string in `error` on success.
std::vector<StoredTest> ListStoredTests(QSqlDatabase& db, const StoredTestFilter& filter,
                                        std::string& error);

struct DatabaseSetup;
// The same in the export database of the setup, opened for the listing and closed again.
std::vector<StoredTest> ListExportDatabase(const DatabaseSetup& setup,
                                           const StoredTestFilter& filter, std::string& error);

}  // namespace quorvex
