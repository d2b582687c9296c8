// quorvex-cli: the program's records and evaluations without the GUI, for people and scripts.
#include <iostream>
#include <string>
#include <vector>

#include "params_command.h"

namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: quorvex-cli COMMAND ...\n"
           "\n"
           "Commands:\n";
    quorvex::cli::PrintParamsHelp(out);
    out << "\n"
           "  --help                   show this text\n"
           "\n"
           "Errors go to standard error and end the program with a non-zero exit code.\n";
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return 0;
    }
    if (args[0] == "params") {
        return quorvex::cli::RunParamsCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    std::cerr << "quorvex-cli: unknown command \"" << args[0] << "\" (see quorvex-cli --help)\n";
    return 2;
}
