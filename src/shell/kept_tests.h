// The tests a termination signal (a shutdown, a logout) finds unsaved are kept in the working
// directory, so that the next start can store them in their project or discard them: the
// series records, the parameter set they were taken with and the name of their project. The
// slots' curve, header and raw-data files are already beside them ("<k>.Dia" ...).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "evaluation/files.h"
#include "evaluation/parameter_set.h"
#include "evaluation/results_record.h"

namespace quorvex {

// The occupied series slots as 544-byte records (each carries its slot as its record number),
// written last: it is what makes the kept tests exist.
constexpr const char* kKeptSeriesFile = "Quorvex-Serie.Res";
// The parameter set of the kept tests (the 6451-byte record of every parameter file).
constexpr const char* kKeptParameterFile = "Quorvex-Serie.Con";
// One line: the name of the results project that was open, empty when none was.
constexpr const char* kKeptProjectFile = "Quorvex-Serie.Prj";

struct KeptTests {
    std::string ProjectName;
    ParameterSet Parameters;
    std::vector<ResultsRecord> Records;  // in slot order; RecordNumber is the slot
};

// Writes the occupied slots (Rm > 0) of the series with the parameter set and the project name,
// each file through a temporary file and a rename; the records file comes last. Nothing is
// written when no slot is occupied. Empty on success, else what could not be written.
std::string WriteKeptTests(const std::filesystem::path& workingDirectory, const Series& series,
                           const ParameterSet& parameters, const std::string& projectName);

struct KeptRead {
    LoadResult Status;  // Missing: nothing kept; Refused: the message names the file
    KeptTests Tests;
};

// Reads what a signal kept. A records file that is not a whole number of records, holds none
// or more than the series has slots, a record that names no slot, names one twice, is no
// occupied slot or holds damaged numbers, a parameter file or project file that is missing,
// short or garbled: all refused, naming the file.
KeptRead ReadKeptTests(const std::filesystem::path& workingDirectory);

// Removes the kept files, the records file first, so that they are not offered again.
void RemoveKeptTests(const std::filesystem::path& workingDirectory);

}  // namespace quorvex
