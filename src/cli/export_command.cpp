// The result line of a stored curve: evaluated as after the test, entered into the series as
// the first test (dated now), and written as the results project's store writes it.
#include "export_command.h"

#include <memory>

#include "evaluate_command.h"
#include "evaluation/ascii_export.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/result_elements.h"
#include "evaluation/series_store.h"
#include "evaluation/test_types.h"
#include "evaluation/win1252.h"

namespace quorvex::cli {
namespace {

int Usage(std::ostream& err) {
    err << "quorvex-cli: usage:\n";
    PrintExportHelp(err);
    return 2;
}

}  // namespace

void PrintExportHelp(std::ostream& out) {
    out << "  export line CURVE PARAMS [--date-format FMT]\n"
           "                           print the ASCII result line (Windows-1252, CR LF) that\n"
           "                           storing the test of the curve file CURVE, evaluated with\n"
           "                           the parameter set file PARAMS, appends to the result file\n"
           "                           of its test type; the date is today's, in FMT (d, dd, M,\n"
           "                           MM, yy, yyyy; default dd.MM.yyyy)\n";
}

int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] != "line") return Usage(err);
    std::vector<std::string> files;
    std::string dateFormat = kDefaultShortDateFormat;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--date-format") {
            if (i + 1 >= args.size()) return Usage(err);
            dateFormat = args[++i];
        } else if (word.rfind("--date-format=", 0) == 0) {
            dateFormat = word.substr(14);
        } else if (word.rfind("--", 0) == 0) {
            err << "quorvex-cli: unknown option \"" << word << "\" (--date-format)\n";
            return 2;
        } else {
            files.push_back(word);
        }
    }
    if (files.size() != 2 || dateFormat.empty()) return Usage(err);

    auto state = std::make_unique<TestState>();
    if (!LoadTestFiles(files[0], files[1], *state, err)) return 1;
    const std::int32_t type = state->Parameters.TestType;
    if (!IsValidTestType(type)) {
        err << "quorvex-cli: the parameter set \"" << files[1] << "\" names test type " << type
            << ", which is none of 0 ... 9\n";
        return 1;
    }
    EvaluateTest(*state, false);
    const ResultsRecord* stored = EnterRecordInSeries(*state, 1, DateTimeNow());
    const ParameterSet& p = state->Parameters;
    const std::string line =
        IsTensileFamily(type) ? TensileResultLine(*stored, p, dateFormat)
                              : ArrayResultLine(ExportedElementCount(type), *stored, p, dateFormat);
    out << Utf8ToWin1252(line) << "\r\n";
    return 0;
}

}  // namespace quorvex::cli
