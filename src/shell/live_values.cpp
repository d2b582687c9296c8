// The measuring tick.
#include "shell/live_values.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvex {

void ReadoutText::Format(double value, int width, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    width = std::clamp(width, 0, 20);
    // A value that rounds to zero is shown without its sign.
    if (std::isfinite(value) && std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;
    const int written = std::snprintf(text_.data(), text_.size(), "%*.*f ", width, decimals, value);
    length_ = written < 0 ? 0 : std::min(static_cast<std::size_t>(written), text_.size() - 1);
}

void LiveValues::Tick() {
    daq_.ReadAll();
    Show(daq_.RawValues(), false);
    // A lasting overload sends the stop pulse again at every tick.
    if (overloaded_) {
        daq_.StopPulse();
        ++overloadPulses_;
    }
}

void LiveValues::Show(const std::array<double, 3>& raw, bool overloaded) {
    forceKn_ = raw[kRawForce] * factors_.ForceFactor;
    travelMm_ = raw[kRawTravel] * factors_.TravelFactor;
    strainMm_ = raw[kRawStrain] * factors_.StrainFactor;
    force_.Format(forceKn_, 7, factors_.ForceDecimals);
    travel_.Format(travelMm_, 7, 1);
    strain_.Format(strainMm_, 8, factors_.StrainDecimals);
    fourth_.Format(FourthMm(), 8, factors_.StrainDecimals);

    overloaded_ = overloaded || forceKn_ > factors_.ForceLimit || travelMm_ > factors_.TravelLimit;
    if (overloaded) ++overloadPulses_;
    SampleReady = true;
}

double LiveTravelMm(const Acquisition& daq, const ConversionFactors& factors) {
    return daq.RawValues()[kRawTravel] * factors.TravelFactor;
}

}  // namespace quorvex
