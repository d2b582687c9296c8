// quorvex-cli: the program's records and evaluations without the GUI, for people and scripts.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "curve_command.h"
#ifdef QUORVEX_CLI_DB
#include "db_command.h"
#endif
#include "evaluate_command.h"
#include "export_command.h"
#include "params_command.h"
#include "project_command.h"
#include "specimen_command.h"
#ifdef QUORVEX_CLI_REPORT
#include "report_command.h"
#endif
#ifdef QUORVEX_CLI_RUN
#include "jog_command.h"
#include "run_command.h"
#endif

namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: quorvex-cli COMMAND ...\n"
           "\n"
           "Commands:\n";
    quorvex::cli::PrintParamsHelp(out);
    quorvex::cli::PrintEvaluateHelp(out);
    quorvex::cli::PrintCurveHelp(out);
    quorvex::cli::PrintExportHelp(out);
    quorvex::cli::PrintProjectHelp(out);
    quorvex::cli::PrintSpecimenHelp(out);
#ifdef QUORVEX_CLI_REPORT
    quorvex::cli::PrintReportHelp(out);
#endif
#ifdef QUORVEX_CLI_RUN
    quorvex::cli::PrintRunHelp(out);
    quorvex::cli::PrintJogHelp(out);
#endif
#ifdef QUORVEX_CLI_DB
    quorvex::cli::PrintDbHelp(out);
#endif
    out << "\n"
           "  --help                   show this text\n"
           "  --version                show the version\n"
           "\n"
           "Errors go to standard error and end the program with a non-zero exit code.\n";
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The result line carries its own CR LF: standard output must not add a CR.
    _setmode(_fileno(stdout), _O_BINARY);
#else
    // A file-size limit makes a write fail, which is reported, instead of ending the program
    // half-way through a store.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << "quorvex-cli " << QUORVEX_VERSION << "\n";
        return 0;
    }
    if (args[0] == "params") {
        return quorvex::cli::RunParamsCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    if (args[0] == "evaluate") {
        return quorvex::cli::RunEvaluateCommand({args.begin() + 1, args.end()}, std::cout,
                                                std::cerr);
    }
    if (args[0] == "export") {
        return quorvex::cli::RunExportCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    if (args[0] == "project") {
        return quorvex::cli::RunProjectCommand({args.begin() + 1, args.end()}, std::cout,
                                               std::cerr);
    }
    if (args[0] == "specimen") {
        return quorvex::cli::RunSpecimenCommand({args.begin() + 1, args.end()}, std::cout,
                                                std::cerr);
    }
    if (args[0] == "curve") {
        return quorvex::cli::RunCurveCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
#ifdef QUORVEX_CLI_DB
    if (args[0] == "db") {
        return quorvex::cli::RunDbCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
#endif
#ifdef QUORVEX_CLI_REPORT
    if (args[0] == "report") {
        return quorvex::cli::RunReportCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
#endif
#ifdef QUORVEX_CLI_RUN
    if (args[0] == "run") {
        return quorvex::cli::RunRunCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    if (args[0] == "jog") {
        return quorvex::cli::RunJogCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
#endif
    std::cerr << "quorvex-cli: unknown command \"" << args[0] << "\" (see quorvex-cli --help)\n";
    return 2;
}
