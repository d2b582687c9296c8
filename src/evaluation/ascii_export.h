// Plain text files for spreadsheets and laboratory systems: the result line of each stored
// test, the raw-data file of a test and the probe raw-data file. Windows-1252, CR LF.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "measurement_buffer.h"
#include "parameter_set.h"
#include "results_record.h"

namespace quorvex {

// The ASCII result file of the tensile types in the working directory.
constexpr const char* kTensileResultFile = "EN10002.Asc";

// A text field of a result line: a ";" becomes "," and a line break or other control character
// a blank, so that no text can shift the columns or split the line.
std::string TextField(std::string_view text);

// A number as every export file writes it: FormatFixed, cut to 14 characters, decimal comma
// when chosen, cut to 14 again.
std::string NumberField(double value, int width, int decimals, bool decimalComma);

// ";" or one blank, by UseSeparator.
std::string FieldSeparator(const ParameterSet& p);

// The date part of days since 1899-12-30 in a short date format ("dd.MM.yyyy", "M/d/yyyy",
// "yyyy-MM-dd": d, dd, M, MM, yy, yyyy and literal separators).
std::string FormatShortDate(double days, std::string_view shortDateFormat);

// The result line of a tensile test (types 0-2) in UTF-8, without line end; every field
// followed by the separator.
std::string TensileResultLine(const ResultsRecord& record, const ParameterSet& p,
                              std::string_view shortDateFormat);

// The result line of the types 3-9 with the first `count` elements of the results array.
std::string ArrayResultLine(int count, const ResultsRecord& record, const ParameterSet& p,
                            std::string_view shortDateFormat);

// Appends a line and CR LF in Windows-1252, creating the file when it does not exist. A file
// that cannot be opened (locked by another program) misses the line; returns whether it was
// written.
bool AppendResultLine(const std::filesystem::path& path, const std::string& line);

bool AppendTensileResultLine(const std::filesystem::path& path, const ResultsRecord& record,
                             const ParameterSet& p, std::string_view shortDateFormat);
bool AppendArrayResultLine(const std::filesystem::path& path, int count,
                           const ResultsRecord& record, const ParameterSet& p,
                           std::string_view shortDateFormat);

// "[Headings]", the ten header values, "[Values]", then force, travel, extension and width
// change of samples 1..sampleCount. Returns whether the file was written.
bool WriteRawDataFile(const std::filesystem::path& path, const MeasurementBuffer& buffer,
                      int sampleCount, const ParameterSet& p);

// The same headings, then the mean of the three probes and each probe, per sample.
bool WriteProbeRawDataFile(const std::filesystem::path& path, const MeasurementBuffer& buffer,
                           int sampleCount, const ParameterSet& p);

// Copies a raw-data file line by line; for the plastics test (type 6) the specimen data of
// the series slot's record come first. False when the source cannot be read or the target
// cannot be written; in the second case `writeError` (when given) says why.
bool CopyRawDataFile(const std::filesystem::path& source, const std::filesystem::path& target,
                     const ResultsRecord& slotRecord, std::int32_t testType,
                     std::string* writeError = nullptr);

}  // namespace quorvex
