// "quorvex-cli project ...": the records of a results project file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "project"; returns the process exit code.
int RunProjectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintProjectHelp(std::ostream& out);

}  // namespace quorvex::cli
