// Value encoding and gain frames of the controller link.
#include "controller_protocol.h"

#include <cstdlib>

namespace quorvex {

std::array<std::uint8_t, 3> EncodeValue24(std::int32_t value) {
    const bool negative = value < 0;
    // In 64 bits, so that the most negative int32 has a magnitude too.
    std::int64_t magnitude = std::llabs(static_cast<long long>(value));
    if (magnitude > kValue24Max) magnitude = kValue24Max;
    const auto bits = static_cast<std::uint32_t>(magnitude) | (negative ? 0x800000u : 0u);
    return {static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits)};
}

GainFrame ForceGainFrame(const ControllerGains& g) {
    GainFrame frame{};
    for (std::size_t i = 0; i < 4; ++i) {
        frame[i] = g.ForceGainP[i];
        frame[4 + i] = g.ForcePoint[i];
        frame[8 + i] = g.ForceGainI[i];
        frame[12 + i] = g.ForcePoint[i];
    }
    frame[16] = g.ForceGainD;
    frame[17] = kLimit103Percent;
    return frame;
}

GainFrame TravelGainFrame(const ControllerGains& g) {
    GainFrame frame{};
    for (std::size_t i = 0; i < 4; ++i) {
        frame[i] = g.TravelGainP[i];
        frame[4 + i] = g.TravelPoint[i];
        frame[8 + i] = g.TravelGainI;
        frame[12 + i] = g.TravelPoint[i];
    }
    frame[16] = g.TravelGainD;
    frame[17] = kLimit103Percent;
    return frame;
}

}  // namespace quorvex
