// "quorvex-cli report ...": the printed results list of a results project as a PDF file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "evaluation/parameter_set.h"
#include "evaluation/results_record.h"

namespace quorvex::cli {

// args are the words after "report"; returns the process exit code.
int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintReportHelp(std::ostream& out);

// The printed results list of these records, painted as the editor prints it, into a PDF.
int WriteRecordsReport(const ParameterSet& p, const std::vector<ResultsRecord>& records,
                       const std::string& pdfFile, std::ostream& out, std::ostream& err);

// "1,3-5" as the sorted record numbers; false for anything else.
bool ParseRecordList(const std::string& text, std::vector<int>& numbers);

}  // namespace quorvex::cli
