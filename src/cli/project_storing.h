// Storing series slot 1 in a results project from the command line, as the window's F6
// does: the record, its header, curve and raw-data copies, the ASCII result line, the export
// row and the alias row, with the databases of the working directory.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "evaluation/test_state.h"

namespace quorvex::cli {

// The typed project name without blanks and carriage returns; empty when what is left is no
// name of a directory inside the working directory (empty, ".", "..", a path separator).
std::string CleanedProjectName(const std::string& typed);

// The project directory, made when missing, and its parameter file "<name>.Par" written
// with `p` when there is none yet. False with `error` saying why.
bool PrepareProject(const std::filesystem::path& workingDirectory, const std::string& name,
                    const ParameterSet& p, std::string& error);

// Stores slot 1 of the series into the project; what the operator would be told goes to
// `err`. Returns the record number it got, 0 when it could not be stored.
int StoreSlot1InProject(TestState& state, const std::filesystem::path& workingDirectory,
                        const std::string& name, std::ostream& err);

}  // namespace quorvex::cli
