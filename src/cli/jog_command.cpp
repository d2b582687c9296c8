// The jog of the simulated machine from the command line.
#include "jog_command.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "headless_run.h"
#include "machine/sim/sim_config.h"
#include "run/jog_control.h"

namespace quorvex::cli {
namespace {

constexpr int kTickMs = 50;
constexpr int kReportEveryMs = 500;
constexpr double kLongestSeconds = 3600;

int Usage(std::ostream& err, const std::string& problem) {
    err << "quorvex-cli: " << problem << "\nusage:\n";
    PrintJogHelp(err);
    return 2;
}

// Seconds of machine time, 0 < s <= one hour; false when the text is not such a number.
bool ParseSeconds(const std::string& text, double& seconds) {
    try {
        std::size_t used = 0;
        seconds = std::stod(text, &used);
        return used == text.size() && std::isfinite(seconds) && seconds > 0 &&
               seconds <= kLongestSeconds;
    } catch (const std::exception&) {
        return false;
    }
}

void PrintPosition(std::ostream& out, std::int64_t elapsedMs, double travelMm) {
    char line[64];
    std::snprintf(line, sizeof line, "{\"t\": %.1f, \"mm\": %.2f}\n", elapsedMs / 1000.0,
                  travelMm);
    out << line;
}

}  // namespace

void PrintJogHelp(std::ostream& out) {
    out << "  jog [--machine KIND] --up SECONDS | --down SECONDS [--watch SECONDS]\n"
           "                           jog the simulated machine's crosshead as Page Up or\n"
           "                           Page Down does (nothing clamped), release the key and\n"
           "                           watch where the machine holds (default 10 s); prints\n"
           "                           {\"t\": 2.5, \"mm\": 103.01} every 0.5 s of machine time\n"
           "                           from the jog's start (t in s, the crosshead's travel in\n"
           "                           mm); KIND: spindle (default), hydraulic-bleed-off,\n"
           "                           hydraulic-inflow\n";
}

int RunJogCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SimulationConfig sim;
    sim.Preset = SpecimenPreset::None;
    double jogSeconds = 0, watchSeconds = 10;
    bool up = false, directionGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option != "--machine" && option != "--up" && option != "--down" &&
            option != "--watch") {
            return Usage(err, option.rfind('-', 0) == 0
                                  ? "unknown option \"" + option + "\""
                                  : "unexpected argument \"" + option + "\"");
        }
        if (i + 1 >= args.size()) return Usage(err, "\"" + option + "\" needs a value");
        const std::string& value = args[++i];
        if (option == "--machine") {
            const std::string problem = ParseSimulationKey("sim.machine", value, sim);
            if (!problem.empty()) return Usage(err, problem);
            continue;
        }
        double seconds = 0;
        if (!ParseSeconds(value, seconds)) {
            return Usage(err, "\"" + value + "\" for " + option + ": seconds, 0 ... 3600");
        }
        if (option == "--watch") {
            watchSeconds = seconds;
            continue;
        }
        if (directionGiven) return Usage(err, "give one of --up and --down, once");
        directionGiven = true;
        up = option == "--up";
        jogSeconds = seconds;
    }
    if (!directionGiven) return Usage(err, "--up SECONDS or --down SECONDS is needed");

    ManualClock clock;
    const MachineConfig config = SimulatedMachineConfig(sim, false);
    VirtualMachine simulation(sim, clock);
    std::string error;
    const std::unique_ptr<Machine> machine = OpenSimulatedMachine(config, simulation, clock, 4,
                                                                  error);
    if (!machine) {
        err << "quorvex-cli: " << error << "\n";
        return 1;
    }
    Acquisition& daq = machine->Daq();
    JogControl jog(machine->Link(), machine->Relays(), daq, config.Factors);
    const auto travelMm = [&] { return daq.RawValues()[kRawTravel] * config.Factors.TravelFactor; };

    daq.ReadAll();
    if (!jog.Jog(up ? JogDirection::Up : JogDirection::Down, kJogSlow, false)) {
        err << "quorvex-cli: the machine refused the jog\n";
        return 1;
    }
    const auto releaseMs = static_cast<std::int64_t>(std::llround(jogSeconds * 1000));
    const auto endMs = releaseMs + static_cast<std::int64_t>(std::llround(watchSeconds * 1000));
    bool released = false;
    PrintPosition(out, 0, travelMm());
    for (std::int64_t elapsed = kTickMs; elapsed <= endMs; elapsed += kTickMs) {
        clock.Advance(kTickMs);
        daq.ReadAll();
        if (!released && elapsed >= releaseMs) {
            jog.KeyReleased(false);
            released = true;
        }
        if (elapsed % kReportEveryMs == 0) PrintPosition(out, elapsed, travelMm());
    }
    return 0;
}

}  // namespace quorvex::cli
