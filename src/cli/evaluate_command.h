// "quorvex-cli evaluate CURVE PARAMS": evaluates a curve file with a parameter set file and
// prints the results and marks as one JSON object.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "evaluate"; returns the process exit code.
int RunEvaluateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintEvaluateHelp(std::ostream& out);

}  // namespace quorvex::cli
