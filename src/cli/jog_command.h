// "quorvex-cli jog": the jog keys on the simulated machine without the window, for
// commissioning and tests. The crosshead jogs as Page Up or Page Down moves it, the key is
// released, and the command watches where the machine holds, printing the crosshead's travel
// every half second of machine time as one JSON line: {"t": 2.5, "mm": 103.01}.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::cli {

// args are the words after "jog"; returns the process exit code.
int RunJogCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
void PrintJogHelp(std::ostream& out);

}  // namespace quorvex::cli
