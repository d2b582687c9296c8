// Storing series slot 1 in a results project from the command line, as the window's F6
// does: the record, its header, curve and raw-data copies, the ASCII result line, the export
// row and the alias row, with the databases of the working directory.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "evaluation/store_lock.h"
#include "evaluation/test_state.h"

namespace quorvex::cli {

// The typed project name without blanks and carriage returns; empty when what is left is no
// name of a directory inside the working directory (empty, ".", "..", a path separator).
std::string CleanedProjectName(const std::string& typed);

// The project directory, made when missing, and its parameter file "<name>.Par" written
// with `p` when there is none yet. False with `error` saying why.
bool PrepareProject(const std::filesystem::path& workingDirectory, const std::string& name,
                    const ParameterSet& p, std::string& error);

// The store lock of the working directory, held from writing the series files to the end of
// the store, so that two commands in one directory never take each other's series files. The
// abandoned temporary files of the directory are removed once it is held (each named on `err`).
// Nothing when another store holds it for longer than the wait; `err` then says so.
std::unique_ptr<StoreLock> LockWorkingDirectory(const std::filesystem::path& workingDirectory,
                                                std::ostream& err);

struct SlotStored {
    int Record = 0;         // the record number it got, 0 when it could not be stored
    bool Complete = false;  // everything asked for was written
};

// Stores slot 1 of the series into the project; what the operator would be told goes to
// `err`, with what is missing when the store is not complete.
SlotStored StoreSlot1InProject(TestState& state, const std::filesystem::path& workingDirectory,
                               const std::string& name, std::ostream& err);

}  // namespace quorvex::cli
