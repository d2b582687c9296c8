// quorvex-cli jog: on every machine kind the crosshead jogs while the key is held and stands
// where it was released; wrong options name what is wrong.
#include "jog_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "command_run.h"

namespace quorvex::cli {
namespace {

struct Position {
    double t = 0, mm = 0;
};

std::vector<Position> Positions(const std::string& out) {
    std::vector<Position> positions;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        Position p;
        EXPECT_EQ(std::sscanf(line.c_str(), "{\"t\": %lf, \"mm\": %lf}", &p.t, &p.mm), 2) << line;
        positions.push_back(p);
    }
    return positions;
}

TEST(JogCommand, EveryMachineHoldsWhereTheJogWasReleased) {
    for (const char* machine : {"spindle", "hydraulic-bleed-off", "hydraulic-inflow"}) {
        for (const char* direction : {"--up", "--down"}) {
            const CommandRun run = Command(
                RunJogCommand, {"--machine", machine, direction, "5", "--watch", "10"});
            ASSERT_EQ(run.code, 0) << machine << run.err;
            const std::vector<Position> positions = Positions(run.out);
            // Every half second from 0 to 15 s of machine time.
            ASSERT_EQ(positions.size(), 31u) << machine;
            EXPECT_DOUBLE_EQ(positions.front().t, 0.0);
            EXPECT_DOUBLE_EQ(positions.back().t, 15.0);
            const double start = positions.front().mm;
            const double released = positions[10].mm;  // t = 5 s
            const double moved = released - start;
            // The slow jog moves the crosshead about 20 mm/min.
            EXPECT_GT(direction[2] == 'u' ? moved : -moved, 1.0) << machine << direction;
            for (std::size_t i = 11; i < positions.size(); ++i) {
                EXPECT_NEAR(positions[i].mm, released, 0.1)
                    << machine << direction << " at " << positions[i].t << " s";
            }
        }
    }
}

TEST(JogCommand, RefusesWrongOptionsNamingThem) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{}, "--up SECONDS or --down SECONDS is needed"},
        {{"--up", "5", "--down", "5"}, "give one of --up and --down"},
        {{"--up", "-1"}, "\"-1\" for --up: seconds, 0 ... 3600"},
        {{"--up", "five"}, "\"five\" for --up"},
        {{"--up", "5", "--watch", "nan"}, "\"nan\" for --watch"},
        {{"--machine", "press", "--up", "5"}, "\"press\" is no machine type"},
        {{"--up"}, "\"--up\" needs a value"},
        {{"--speed", "3"}, "unknown option \"--speed\""},
    };
    for (const Case& c : cases) {
        const CommandRun run = Command(RunJogCommand, c.args);
        EXPECT_EQ(run.code, 2) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace quorvex::cli
