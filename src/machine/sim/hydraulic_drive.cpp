// Servo valve, oil column and bleed-off of the simulated hydraulic machines.
#include "machine/sim/hydraulic_drive.h"

#include <algorithm>
#include <cmath>

namespace quorvex {
namespace {

constexpr double kNominalLoopGain = 6.0;   // 1/s at the nominal P gain
constexpr double kNominalPGain = 1000000;  // the gain dialog's default

}  // namespace

HydraulicDrive::HydraulicDrive(int machineType)
    : valveSeconds_(machineType == 1 ? 0.12 : 0.05), bleedOff_(machineType == 1 ? 0.15 : 0.0) {}

double HydraulicDrive::GainFactor(const std::array<std::int32_t, 18>& gains) {
    const double p = gains[0] > 0 ? gains[0] : kNominalPGain;
    return std::clamp(p / kNominalPGain, 0.02, 20.0);
}

double HydraulicDrive::TravelLoopGain(const std::array<std::int32_t, 18>& travelGains) {
    return kNominalLoopGain * GainFactor(travelGains);
}

double HydraulicDrive::Follow(double commanded, double dt, double forceFraction) {
    if (dt <= 0) return speed_;
    speed_ += (commanded - speed_) * (1 - std::exp(-dt / valveSeconds_));
    const double lost = bleedOff_ * std::clamp(std::fabs(forceFraction), 0.0, 1.0);
    return speed_ * (1 - lost);
}

}  // namespace quorvex
