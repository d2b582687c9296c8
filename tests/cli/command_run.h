// Runs a command of quorvex-cli in-process and keeps what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace quorvex::cli {

struct CommandRun {
    int code;
    std::string out, err;
};

template <class Cmd>
CommandRun Command(Cmd command, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace quorvex::cli
