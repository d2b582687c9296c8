// The working files that start-up reads and shutdown writes, apart from the records whose
// own parts read them.
#pragma once

#include <QString>
#include <filesystem>

#include "run/app_state.h"

namespace quorvex {

struct ParameterSet;

constexpr const char* kNetConfigFile = "NET.CFG";
constexpr const char* kLanguageMarkerFile = "Sprache.con";
constexpr const char* kNominalRangesFile = "Quorvex.Kal";
constexpr std::size_t kNominalRangesSize = 41;

// The database directory: the first line of "NET.CFG", else the program's own directory.
QString ReadDatabaseDirectory(const std::filesystem::path& workingDirectory,
                              const QString& programDirectory);

bool LanguageMarkerExists(const std::filesystem::path& workingDirectory);
// Marks that the language question has been answered. The marker holds a copy of the
// nominal-range record (never read back); without that file, an empty record of its size.
bool WriteLanguageMarker(const std::filesystem::path& workingDirectory);

// The measuring-instrument ports from the parameter set: the caliper's number is the stored
// byte + 1, the micrometer's the stored value; a number above 15 means no port.
void AssignMeasuringPorts(const ParameterSet& p, AppState& state);

// The results project's parameter files, written when a project is left or the program ends:
// <project>/<project>.Par always, and <project><type extension> in the working directory
// when it does not exist yet. Returns false when a file could not be written.
bool WriteProjectParameterFiles(const ParameterSet& p,
                                const std::filesystem::path& workingDirectory,
                                const QString& projectName);

// "Quorvex.Con" in the working directory, written at the end of the process.
bool WriteWorkingParameterSet(const ParameterSet& p,
                              const std::filesystem::path& workingDirectory);

}  // namespace quorvex
