// The two tables of the alias database in which a laboratory prepares specimens
// (ImportProbendaten) and limit sets (ImportGrenzwerte): creating them, finding a row by its
// exact key, and consuming a specimen row once its test is in the series. Each call connects
// for its own duration only.
#pragma once

#include <QSqlDatabase>
#include <filesystem>
#include <string>

#include "evaluation/imported_data.h"
#include "store/export_database.h"

namespace quorvex {

constexpr const char* kImportSpecimenTable = "ImportProbendaten";
constexpr const char* kImportLimitTable = "ImportGrenzwerte";

template <class T>
struct ImportLookup {
    bool Found = false;
    // What went wrong with the database or the row (a table missing, a server away, a field
    // that holds no number); empty when the search ran. Not found is no problem.
    std::string Problem;
    T Value{};
};

// Creates both tables with their key and search index in an open database; tables already
// there stay. An empty string on success, else the database's complaint naming the table.
std::string CreateImportTables(QSqlDatabase& db);

// The first row (in the order of its key) whose ProbenNr is exactly the text.
ImportLookup<ImportedSpecimen> FindImportedSpecimen(const AliasSettings& settings,
                                                    const std::filesystem::path& workingDirectory,
                                                    const std::string& specimenNo);

// The first row whose Identfeld is exactly the text.
ImportLookup<ImportedLimitSet> FindImportedLimits(const AliasSettings& settings,
                                                  const std::filesystem::path& workingDirectory,
                                                  const std::string& identifier);

// Deletes the imported row (by its key) when its ProbenNr is the test's specimen number; a row
// that is gone already, or a number changed since the import, deletes nothing. An empty
// string on success, else what went wrong.
std::string ConsumeImportedSpecimen(const AliasSettings& settings,
                                    const std::filesystem::path& workingDirectory, long long id,
                                    const std::string& specimenNo);

}  // namespace quorvex
