// The drive of a simulated hydraulic machine: the controller's travel loop is proportional
// (with the ramp's rate fed forward), its gain scaled by the P gain of the travel gain frame,
// and the servo valve follows the commanded speed with a lag. A bleed-off machine answers
// slower than an inflow machine and loses speed as the load's pressure bleeds oil off, so the
// gains shape the curve: a higher gain overshoots, a lower one lags behind its set value.
// The spindle machine needs none of this: its crosshead follows the set value exactly.
#pragma once

#include <array>
#include <cstdint>

namespace quorvex {

class HydraulicDrive {
  public:
    // machineType 1 bleed-off, 2 inflow control.
    explicit HydraulicDrive(int machineType);

    // The P gain at the first support point of a gain frame against the nominal 1000000
    // (none downloaded counts as nominal).
    static double GainFactor(const std::array<std::int32_t, 18>& gains);
    // 1/s: crosshead speed per millimetre of travel error, from the travel frame.
    static double TravelLoopGain(const std::array<std::int32_t, 18>& travelGains);

    // The speed the piston moves at for the next dt seconds when the controller asks for
    // `commanded` (mm/s) with the load cell at `forceFraction` of its nominal force.
    double Follow(double commanded, double dt, double forceFraction);
    double Speed() const { return speed_; }
    double ValveSeconds() const { return valveSeconds_; }

  private:
    double valveSeconds_;  // time constant of the servo valve and the oil column
    double bleedOff_;      // part of the flow lost at nominal force
    double speed_ = 0;     // mm/s
};

}  // namespace quorvex
