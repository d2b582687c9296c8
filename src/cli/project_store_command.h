// "quorvex-cli project store NAME": stores the test of series slot 1 in the working directory
// into the results project NAME, as F6 stores the last test.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "project store"; returns the process exit code.
int RunProjectStoreCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err);

void PrintProjectStoreHelp(std::ostream& out);

}  // namespace quorvex::cli
