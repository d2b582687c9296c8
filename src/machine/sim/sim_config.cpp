// The "sim.*" keys of the platform configuration.
#include "machine/sim/sim_config.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace quorvex {
namespace {

std::optional<double> Number(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string Range(double low, double high) {
    auto text = [](double v) {
        std::string s = std::to_string(v);
        s.erase(s.find_last_not_of('0') + 1);
        if (!s.empty() && s.back() == '.') s.pop_back();
        return s;
    };
    return " (" + text(low) + " ... " + text(high) + ")";
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A comma-separated list, each item handled by `take`; the first item it refuses is named.
template <class Take>
std::string EachItem(const std::string& value, Take take) {
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = value.find(',', start);
        const std::string item = Trimmed(
            value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!item.empty() && !take(item)) return "\"" + item + "\" is not understood";
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return "";
}

}  // namespace

SpecimenParameters SimulationConfig::Specimen() const {
    SpecimenParameters p = PresetParameters(Preset);
    for (const auto& [key, value] : SpecimenOverrides) SetSpecimenParameter(p, key, value);
    return p;
}

std::string ParseSimulationKey(const std::string& key, const std::string& value,
                               SimulationConfig& c) {
    const std::string name = key.substr(4);  // after "sim."
    if (name == "machine") {
        if (value == "spindle" || value == "0") {
            c.MachineType = 0;
        } else if (value == "hydraulic-bleed-off" || value == "1") {
            c.MachineType = 1;
        } else if (value == "hydraulic-inflow" || value == "2") {
            c.MachineType = 2;
        } else {
            return "\"" + value +
                   "\" is no machine type (spindle, hydraulic-bleed-off, hydraulic-inflow)";
        }
        return "";
    }
    if (name == "specimen") {
        const auto preset = PresetByName(value);
        if (!preset) return "\"" + value + "\" is no specimen preset (" + PresetNameList() + ")";
        c.Preset = *preset;
        c.PresetNamed = true;
        return "";
    }
    if (name == "loading") {
        if (value != "up" && value != "down") return "loading is \"up\" or \"down\"";
        c.LoadingSign = value == "up" ? 1 : -1;
        return "";
    }
    if (name == "faults") {
        SimulationFaults faults;
        const std::string error = EachItem(value, [&](const std::string& item) {
            bool* flag = item == "noisy-force"             ? &faults.NoisyForce
                         : item == "dead-extensometer"     ? &faults.DeadExtensometer
                         : item == "slipping-extensometer" ? &faults.SlippingExtensometer
                         : item == "stuck-crosshead"       ? &faults.StuckCrosshead
                         : item == "lost-link"             ? &faults.LostLink
                         : item == "missing-card"          ? &faults.MissingCard
                         : item == "stuck-probe"           ? &faults.StuckProbe
                                                           : nullptr;
            if (item == "none") return true;
            if (!flag) return false;
            *flag = true;
            return true;
        });
        if (!error.empty()) {
            return error +
                   " (faults: noisy-force, dead-extensometer, slipping-extensometer, "
                   "stuck-crosshead, lost-link, missing-card, none)";
        }
        c.Faults = faults;
        return "";
    }
    if (name == "inverted") {
        std::array<bool, 8> inverted{};
        const std::string error = EachItem(value, [&](const std::string& item) {
            const auto input = Number(item);
            if (!input || *input < 0 || *input > 7 || *input != std::floor(*input)) return false;
            inverted[static_cast<std::size_t>(*input)] = true;
            return true;
        });
        if (!error.empty()) return error + ": inputs are 0 ... 7";
        c.InvertedInput = inverted;
        return "";
    }

    const auto number = Number(value);
    if (name.rfind("specimen.", 0) == 0) {
        const std::string parameter = name.substr(9);
        SpecimenParameters scratch = PresetParameters(c.Preset);
        if (!number || !SetSpecimenParameter(scratch, parameter, *number)) {
            return "\"" + value + "\" is not valid for specimen parameter " + parameter;
        }
        c.SpecimenOverrides.emplace_back(parameter, *number);
        return "";
    }

    struct NumberKey {
        const char* name;
        double low, high;
        double* real;
        int* whole;
    };
    double seed = c.Seed;
    double resolution = c.Resolution;
    const NumberKey keys[] = {
        {"nominal.force", 0.001, 100000, &c.NominalForce, nullptr},
        {"nominal.travel", 1, 10000, &c.NominalTravel, nullptr},
        {"nominal.strain", 0.01, 1000, &c.NominalStrain, nullptr},
        {"nominal.transverse", 0.01, 1000, &c.NominalTransverse, nullptr},
        {"travel.increments", 0, 1000000, nullptr, &c.TravelIncrements},
        {"extensometer.increments", 0, 1000000, nullptr, &c.ExtensometerIncrements},
        {"frame.stiffness", 0.01, 1e6, &c.FrameStiffness, nullptr},
        {"speed.max", 0.01, 10000, &c.MaxSpeed, nullptr},
        {"speed.jog", 0.01, 10000, &c.JogSpeed, nullptr},
        {"start.position", -10000, 10000, &c.StartPosition, nullptr},
        {"limit.lower", -10000, 10000, &c.LowerLimit, nullptr},
        {"limit.upper", 0, 10000, &c.UpperLimit, nullptr},
        {"input.force", 0, 7, nullptr, &c.ForceInput},
        {"input.travel", 0, 7, nullptr, &c.TravelInput},
        {"input.strain-a", 0, 7, nullptr, &c.StrainInputA},
        {"input.strain-b", 0, 7, nullptr, &c.StrainInputB},
        {"input.transverse", 0, 7, nullptr, &c.TransverseInput},
        {"noise.force", 0, 30000, &c.ForceNoise, nullptr},
        {"noise.travel", 0, 30000, &c.TravelNoise, nullptr},
        {"noise.strain", 0, 30000, &c.StrainNoise, nullptr},
        {"resolution", 1, 4096, &resolution, nullptr},
        {"seed", 0, 4294967295.0, &seed, nullptr},
    };
    for (const auto& k : keys) {
        if (name != k.name) continue;
        const bool whole = k.whole || k.real == &resolution || k.real == &seed;
        if (!number || *number < k.low || *number > k.high ||
            (whole && *number != std::floor(*number))) {
            return "\"" + value + "\" is not valid for " + key + Range(k.low, k.high);
        }
        if (k.real) *k.real = *number;
        if (k.whole) *k.whole = static_cast<int>(*number);
        c.Seed = static_cast<std::uint32_t>(seed);
        c.Resolution = static_cast<int>(resolution);
        return "";
    }
    return "unknown key \"" + key + "\"";
}

}  // namespace quorvex
