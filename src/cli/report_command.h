// "quorvex-cli report ...": the printed results list of a results project as a PDF file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "report"; returns the process exit code.
int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintReportHelp(std::ostream& out);

// "1,3-5" as the sorted record numbers; false for anything else.
bool ParseRecordList(const std::string& text, std::vector<int>& numbers);

}  // namespace quorvex::cli
