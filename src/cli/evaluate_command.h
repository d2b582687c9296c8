// "quorvex-cli evaluate CURVE PARAMS": evaluates a curve file with a parameter set file and
// prints the results and marks as one JSON object.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "evaluation/test_state.h"

namespace quorvex::cli {

// Loads the parameter set file and then the curve file into `state`, as the program does
// before it evaluates a stored curve; a failure is reported on `err` naming the file.
bool LoadTestFiles(const std::string& curvePath, const std::string& paramsPath, TestState& state,
                   std::ostream& err);

// The results and the marks of the evaluated current test as one JSON object; after a run
// (withEnd) also "Broken": whether its break criterion ended it (false: it was stopped, by
// the operator or a full memory, before a break).
std::string ResultsJson(TestState& state, bool withEnd = false);

// args are the words after "evaluate"; returns the process exit code.
int RunEvaluateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintEvaluateHelp(std::ostream& out);

}  // namespace quorvex::cli
