// "quorvex-cli db init": sets up the database tables that stored tests are written to (the
// export tables, or WerteZug in the alias database), and how the commands that store tests
// find those databases from a working directory.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "store/export_database.h"

namespace quorvex::cli {

// The directory of quorvex-cli itself: the program directory of the database directory.
std::filesystem::path ProgramDirectory();
QString ProgramDirectoryText();

// The databases of a working directory as the program reaches them: the export tables in the
// directory of "NET.CFG" (else the program's directory; the working directory when that one
// cannot be written), the alias database of "Quorvex.platform".
struct WorkingDatabases {
    std::filesystem::path DatabaseDirectory;
    AliasSettings Alias;
    std::vector<std::string> Warnings;  // alias keys that were not understood
};
WorkingDatabases DatabasesOf(const std::filesystem::path& workingDirectory);

// args are the words after "db"; returns the process exit code.
int RunDbCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintDbHelp(std::ostream& out);

}  // namespace quorvex::cli
