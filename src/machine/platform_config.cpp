// The platform configuration text and its defaults.
#include "platform_config.h"

#include <cctype>

#include "working_file.h"

namespace quorvex {
namespace {

bool ParseDriver(const std::string& value, Driver& driver) {
    if (value == "vendor" || value == "serial") {
        driver = Driver::Vendor;
    } else if (value == "absent" || value == "none") {
        driver = Driver::Absent;
    } else if (value == "simulated") {
        driver = Driver::Simulated;
    } else {
        return false;
    }
    return true;
}

// "com1" .. "com16": the number, else 0.
int ComKey(const std::string& key) {
    if (key.size() < 4 || key.size() > 5 || key.compare(0, 3, "com") != 0) return 0;
    int number = 0;
    for (std::size_t i = 3; i < key.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(key[i]))) return 0;
        number = number * 10 + (key[i] - '0');
    }
    return number >= 1 && number <= 16 && key[3] != '0' ? number : 0;
}

}  // namespace

std::string DefaultDaskLibrary() {
#ifdef _WIN32
    return "Pci-Dask.dll";
#else
    return "libpci_dask.so";
#endif
}

std::string DefaultIk220Library() {
#ifdef _WIN32
    return "IK220DLL.dll";
#else
    return "libik220.so";
#endif
}

std::string DefaultComDevice(int com) {
#ifdef _WIN32
    return "COM" + std::to_string(com);
#else
    return "/dev/ttyS" + std::to_string(com - 1);
#endif
}

PlatformConfig::PlatformConfig()
    : DaskLibrary(DefaultDaskLibrary()), Ik220Library(DefaultIk220Library()) {
    for (int com = 1; com <= 16; ++com)
        ComDevice[static_cast<std::size_t>(com)] = DefaultComDevice(com);
}

std::string DriverName(Driver driver) {
    switch (driver) {
        case Driver::Vendor:
            return "vendor";
        case Driver::Simulated:
            return "simulated";
        case Driver::Absent:
            break;
    }
    return "absent";
}

PlatformConfigResult ParsePlatformConfig(std::string_view text) {
    PlatformConfigResult result;
    PlatformConfig& config = result.config;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        const std::string_view line = TrimSpaces(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        auto warn = [&](const std::string& what) {
            result.warnings.push_back(std::string(PlatformConfig::kFileName) + ", line " +
                                      std::to_string(lineNumber) + ": " + what);
        };
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            std::string quoted = "\"";
            quoted.append(line).append("\" is not of the form key = value");
            warn(quoted);
            continue;
        }
        const std::string key = LowerAscii(TrimSpaces(line.substr(0, equals)));
        const std::string value(TrimSpaces(line.substr(equals + 1)));
        const std::string lowerValue = LowerAscii(value);
        Driver* driver = key == "daq"          ? &config.Daq
                         : key == "relay"      ? &config.Relay
                         : key == "encoder"    ? &config.Encoder
                         : key == "controller" ? &config.Controller
                                               : nullptr;
        if (driver) {
            Driver parsed;
            if (!ParseDriver(lowerValue, parsed) ||
                (key == "controller" && parsed == Driver::Absent)) {
                warn("\"" + value + "\" is no driver for " + key);
            } else {
                *driver = parsed;
            }
        } else if (key == "dask.library") {
            if (value.empty())
                warn("dask.library names no file");
            else
                config.DaskLibrary = value;
        } else if (key == "ik220.library") {
            if (value.empty())
                warn("ik220.library names no file");
            else
                config.Ik220Library = value;
        } else if (key == "daq.transverse-input") {
            const std::string error = ParseExtraInput(lowerValue, config.Extra.Transverse);
            if (!error.empty()) warn(error);
        } else if (key == "daq.probe-inputs") {
            const std::string error = ParseProbeInputs(lowerValue, config.Extra.Probes);
            if (!error.empty()) warn(error);
        } else if (key.rfind("sim.", 0) == 0) {
            const std::string error = ParseSimulationKey(key, lowerValue, config.Simulation);
            if (!error.empty()) warn(error);
        } else if (key.rfind("alias.", 0) == 0) {
            // The alias database of the results store: read by the results library itself.
        } else if (const int com = ComKey(key)) {
            config.ComDevice[static_cast<std::size_t>(com)] = lowerValue == "none" ? "" : value;
        } else {
            warn("unknown key \"" + key + "\"");
        }
    }
    return result;
}

PlatformConfigResult LoadPlatformConfig(const std::filesystem::path& directory) {
    std::string refusal;
    const auto text = ReadWorkingFile(directory, PlatformConfig::kFileName, &refusal);
    PlatformConfigResult result = ParsePlatformConfig(text ? *text : std::string_view());
    if (!refusal.empty()) result.warnings.insert(result.warnings.begin(), refusal);
    return result;
}

}  // namespace quorvex
