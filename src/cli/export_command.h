// "quorvex-cli export line CURVE PARAMS": the ASCII result line that storing the evaluated
// test in a results project appends to the result file of its test type.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// The short date format of the result line when none is given.
constexpr const char* kDefaultShortDateFormat = "dd.MM.yyyy";

// args are the words after "export"; returns the process exit code.
int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintExportHelp(std::ostream& out);

}  // namespace quorvex::cli
