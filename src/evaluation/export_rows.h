// The rows a stored test writes into the database tables: the export table of its test type
// and, for the tensile types, the alias table WerteZug. Field names, their order, the rounding
// and "-" for blank text are fixed here, so that any database engine writes the same row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "parameter_set.h"
#include "results_record.h"

namespace quorvex {

enum class ExportKind { Text, Number, Integer, Date };

struct ExportField {
    std::string Name;
    ExportKind Kind = ExportKind::Text;
    std::string Text;   // Text: UTF-8, "-" when blank
    double Number = 0;  // Number: already rounded; Date: days since 1899-12-30 (whole day)
    std::int64_t Integer = 0;
};

struct ExportRow {
    std::string Table;  // "Data_EN10002", ..., "WerteZug"
    std::vector<ExportField> Fields;
};

constexpr const char* kAliasTable = "WerteZug";

// "Data_EN10002" (types 0-2), "Data_EN2563" (3), "Data_Chain" (4), "Data_Universal" (5),
// "Data_Plastics" (6), "Data_ENISO14125" (7), "Data_EN12372" (8), "Data_DIN50106" (9);
// empty for an unknown type.
std::string ExportTableName(int testType);

// The ASCII result file of the test type in the working directory: "EN10002.Asc",
// "Data_ENEN2563.Asc", ...; empty for an unknown type.
std::string AsciiResultFileName(int testType);

// How many results-array elements the types 3-9 export (6, 8, 14, 19, 4, 6, 11); 0 otherwise.
int ExportedResultCount(int testType);

// value × 10^d rounded to an integer, divided by 10^d.
double RoundToDecimals(double value, int decimals);

// The export row of a stored record, `today` the day of storing (days since 1899-12-30).
ExportRow BuildExportRow(const ResultsRecord& record, const ParameterSet& p, double today);

// The WerteZug row of a stored tensile record.
ExportRow BuildAliasRow(const ResultsRecord& record, const ParameterSet& p, double today);

// Every table with its fields in order (values of an empty record), for creating them.
std::vector<ExportRow> ExportTableLayouts();
ExportRow AliasTableLayout();

}  // namespace quorvex
