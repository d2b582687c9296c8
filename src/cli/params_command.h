// "quorvex-cli params ...": write, show and re-save parameter set files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "params"; returns the process exit code.
int RunParamsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintParamsHelp(std::ostream& out);

}  // namespace quorvex::cli
