// "quorvex-cli specimen ...": prepared specimen files (".pro") checked without the window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "specimen"; returns the process exit code.
int RunSpecimenCommand(const std::vector<std::string>& args, std::ostream& out,
                       std::ostream& err);

void PrintSpecimenHelp(std::ostream& out);

}  // namespace quorvex::cli
