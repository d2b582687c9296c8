// Gain frame contents.
#include "controller_gains.h"

#include <cmath>

namespace quorvex {
namespace {

std::array<std::int32_t, 18> Frame(const std::array<std::int32_t, 4>& p,
                                   const std::array<std::int32_t, 4>& points,
                                   const std::array<std::int32_t, 4>& i, std::int32_t d) {
    std::array<std::int32_t, 18> values{};
    for (std::size_t k = 0; k < 4; ++k) {
        values[k] = p[k];
        values[4 + k] = points[k];
        values[8 + k] = i[k];
        values[12 + k] = points[k];
    }
    values[16] = d;
    values[17] = kGainFrameForceLimit;
    return values;
}

}  // namespace

std::array<std::int32_t, 18> ForceGainFrameValues(const MachineSetupRecord& m) {
    return Frame(m.ForceGainP, m.ForcePoint, m.ForceGainI, m.ForceGainD);
}

std::array<std::int32_t, 18> TravelGainFrameValues(const MachineSetupRecord& m) {
    const std::int32_t i = m.TravelGainI;
    return Frame(m.TravelGainP, m.TravelPoint, {i, i, i, i}, m.TravelGainD);
}

ControllerGains GainsOf(const MachineSetupRecord& m) {
    ControllerGains g;
    g.ForceGainP = m.ForceGainP;
    g.ForceGainI = m.ForceGainI;
    g.ForcePoint = m.ForcePoint;
    g.ForceGainD = m.ForceGainD;
    g.TravelGainP = m.TravelGainP;
    g.TravelPoint = m.TravelPoint;
    g.TravelGainI = m.TravelGainI;
    g.TravelGainD = m.TravelGainD;
    return g;
}

std::int32_t PointFromPercent(double percent) {
    return static_cast<std::int32_t>(std::lround(percent * 10000.0));
}

double PercentFromPoint(std::int32_t point) {
    return point / 10000.0;
}

}  // namespace quorvex
