// Which driver each device of the machine PC gets, the file names of the vendors' libraries
// and the device behind every COM number: the platform configuration "Quorvex.platform", a
// key = value text in the working directory. Without the file the defaults hold: the vendor
// libraries are tried (a PC without them runs without the cards), no encoder card, the
// controller on its serial port.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "channel_map.h"
#include "sim/sim_config.h"

namespace quorvex {

enum class Driver { Vendor, Absent, Simulated };

struct PlatformConfig {
    static constexpr const char* kFileName = "Quorvex.platform";

    Driver Daq = Driver::Vendor;
    Driver Relay = Driver::Vendor;
    Driver Encoder = Driver::Absent;     // the encoder card is fitted only when configured
    Driver Controller = Driver::Vendor;  // Vendor: the serial port; Simulated: the virtual one
    std::string DaskLibrary;
    std::string Ik220Library;
    std::array<std::string, 17> ComDevice;  // entries 1..16; empty: no such port
    // "daq.transverse-input" and "daq.probe-inputs": the card's inputs (0-based) that carry a
    // transverse gauge and the three probes of the compression test; none by default.
    ExtraInputs Extra;
    SimulationConfig Simulation;            // the "sim.*" keys: what the simulated machine is

    PlatformConfig();
};

// The vendors' library names and the serial devices of this operating system.
std::string DefaultDaskLibrary();
std::string DefaultIk220Library();
std::string DefaultComDevice(int com);

struct PlatformConfigResult {
    PlatformConfig config;
    std::vector<std::string> warnings;  // lines that were not understood, naming the file
};

// Reads the text over the defaults; a line that is not understood is skipped with a warning.
PlatformConfigResult ParsePlatformConfig(std::string_view text);

// Reads "Quorvex.platform" (name matched without regard to case) from the directory; a
// missing file gives the defaults without a warning.
PlatformConfigResult LoadPlatformConfig(const std::filesystem::path& directory);

std::string DriverName(Driver driver);

}  // namespace quorvex
