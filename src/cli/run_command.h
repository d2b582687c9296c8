// "quorvex-cli run": a whole test on the simulated machine without the GUI, through the
// program's own test run; the series files of slot 1 in the working directory and the
// evaluated results as the JSON of "quorvex-cli evaluate".
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "run"; returns the process exit code.
int RunRunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
void PrintRunHelp(std::ostream& out);

}  // namespace quorvex::cli
