// "quorvex-cli curve export|import": curve files as CSV, so that curves recorded elsewhere
// can be evaluated and compared.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "curve"; returns the process exit code.
int RunCurveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintCurveHelp(std::ostream& out);

}  // namespace quorvex::cli
