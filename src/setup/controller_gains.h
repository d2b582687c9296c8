// The controller gains as the controller system receives them: a force frame "^" and a
// travel frame "_", each a command byte and 18 values.
#pragma once

#include <array>
#include <cstdint>

#include "machine/controller_protocol.h"
#include "machine_setup.h"

namespace quorvex {

constexpr char kForceGainCommand = '^';
constexpr char kTravelGainCommand = '_';
// The last value of each frame: the force limit of 103 % of the nominal value.
constexpr std::int32_t kGainFrameForceLimit = 1030000;

// P at the four points, the points, I at the four points, the points again, D, the limit.
// The travel loop has one I gain, sent four times.
std::array<std::int32_t, 18> ForceGainFrameValues(const MachineSetupRecord& m);
std::array<std::int32_t, 18> TravelGainFrameValues(const MachineSetupRecord& m);

// The gains of the machine setup as the controller link downloads them.
ControllerGains GainsOf(const MachineSetupRecord& m);

// A point entered in % is stored in millionths of the nominal value (10 % -> 100000).
std::int32_t PointFromPercent(double percent);
double PercentFromPoint(std::int32_t point);

}  // namespace quorvex
