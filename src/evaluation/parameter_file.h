// Loading, saving and deleting parameter files, with the repairs a load applies and the
// machine fields a load may keep.
#pragma once

#include <filesystem>
#include <string>

#include "files.h"
#include "parameter_set.h"

namespace quorvex {

// The working parameter file in the working directory.
constexpr const char* kWorkingParameterFile = "Quorvex.Con";

// Writes the record (6451 bytes) atomically; false when the file cannot be written.
bool SaveParameterSet(const ParameterSet& p, const std::filesystem::path& path);

// Reads a parameter file into p and applies the load repairs. With keepMachineFields the
// serial ports and the language of the running program stay. A file that cannot be opened
// leaves p unchanged (Missing); a file shorter than the record is refused whole (Refused,
// with a message naming it) and p stays unchanged too. A longer file gives its first bytes.
// The caller switches the program's language to p.Language after a load.
LoadResult LoadParameterSet(ParameterSet& p, const std::filesystem::path& path,
                            bool keepMachineFields);

// While a results project is open: takes over only the specimen, preload, speeds, sequence
// and limit values of the file, so that the project's choice of results stays.
LoadResult LoadParameterSetIntoProject(ParameterSet& p, const std::filesystem::path& path);

// Erases the file when it can be opened for reading; returns whether it was erased.
bool DeleteParameterFile(const std::filesystem::path& path);

// The file a save from the main menu writes: the chosen name cut at the first "." of its
// last component, with the test type's extension in lower case ("steel.old" -> "steel.pa7").
std::filesystem::path ParameterSaveName(const std::filesystem::path& chosen,
                                        std::int32_t testType);

// The repairs of a load, applied to values just read (exposed for the project load).
void RepairWorkingLimits(ParameterSet& p);
void RepairWorkingValues(ParameterSet& p, std::int32_t maxControlDeviation);

// Every repair that a load at start-up applies to the values of a file (a test type outside
// 0 ... 9 is refused by a load, not repaired): a value that this changes is one a load does
// not accept.
void RepairAsLoaded(ParameterSet& p);

// A results project holds the tests of one test type, the one of its parameter file: the
// refusal naming both types when `testType` is another, empty when it is the same or when the
// project has no readable parameter file.
std::string ProjectTestTypeRefusal(const std::filesystem::path& projectParameterFile,
                                   const std::string& projectName, std::int32_t testType);

}  // namespace quorvex
