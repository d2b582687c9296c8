// The command bytes of the Dravon controller link and the encoding of their values. The link
// is write-only: short binary commands, no answer, no checksum. A set value of 1000000 is the
// nominal value of its channel (1030000 is 103 %).
#pragma once

#include <array>
#include <cstdint>

namespace quorvex {

namespace command {
constexpr std::uint8_t kForceRamp = 'a';
constexpr std::uint8_t kTravelRamp = 'b';
constexpr std::uint8_t kThirdChannelRamp = 'c';
constexpr std::uint8_t kForceGains = '^';
constexpr std::uint8_t kTravelGains = '_';
constexpr std::uint8_t kStrainGains = '`';
constexpr std::uint8_t kDriveState = 'Z';
constexpr std::uint8_t kRampStart = '[';
constexpr std::uint8_t kControlMode = ']';
constexpr std::uint8_t kSetValue = 'd';
constexpr std::uint8_t kSpindleSpeed = 'A';
constexpr std::uint8_t kAuxiliaryOutputs = '<';
constexpr std::uint8_t kForceLimit1 = 'q';
constexpr std::uint8_t kForceLimit2 = 'r';
constexpr std::uint8_t kForceLimit3 = 's';
constexpr std::uint8_t kPositionPreset = '4';
constexpr std::uint8_t kStopRequest = 0x40;
constexpr std::uint8_t kRelease = '?';
constexpr std::uint8_t kTareCounter = 0x85;
constexpr std::uint8_t kTareCounterSecondKind = '2';
constexpr std::uint8_t kTdmArms = 0x96;
constexpr std::uint8_t kTdmStart = 0x97;
constexpr std::uint8_t kTdmStop = 0x98;
constexpr std::uint8_t kTdmGaugeLength = 0x99;
}  // namespace command

// Drive states of the "Z" command.
namespace drive {
constexpr std::uint8_t kOff = 0;
constexpr std::uint8_t kHold = 5;
constexpr std::uint8_t kTestRun = 7;
constexpr std::uint8_t kJogUp = 13;
constexpr std::uint8_t kRampUp = 15;
constexpr std::uint8_t kJogDown = 21;
constexpr std::uint8_t kRampDown = 23;
}  // namespace drive

// Values of the auxiliary outputs ("<").
namespace auxiliary {
constexpr std::uint8_t kBase = 32;
constexpr std::uint8_t kHydraulicIdle = 16;
constexpr std::uint8_t kMoving = kBase + 16;          // 48
constexpr std::uint8_t kSpecimenOutput = kBase + 80;  // 112
constexpr std::uint8_t kSpindleStopped = 144;
}  // namespace auxiliary

constexpr std::int32_t kNominalSetValue = 1000000;
constexpr std::int32_t kLimit103Percent = 1030000;
constexpr std::int32_t kValue24Max = 8388607;

// Three bytes, most significant first, sign and magnitude: bit 23 is the sign. A magnitude
// beyond 23 bits is sent as the largest one rather than wrapping into the sign bit.
std::array<std::uint8_t, 3> EncodeValue24(std::int32_t value);

// The controller gains of the machine setup, scheduled over four support points per channel
// (points in millionths of the nominal value).
struct ControllerGains {
    std::array<std::int32_t, 4> ForceGainP{};
    std::array<std::int32_t, 4> ForceGainI{};
    std::array<std::int32_t, 4> ForcePoint{};
    std::int32_t ForceGainD = 0;
    std::array<std::int32_t, 4> TravelGainP{};
    std::array<std::int32_t, 4> TravelPoint{};
    std::int32_t TravelGainI = 0;
    std::int32_t TravelGainD = 0;
};

using GainFrame = std::array<std::int32_t, 18>;

// P at the four points, the points, I at the four points, the points again, D, and the force
// limit of 103 %.
GainFrame ForceGainFrame(const ControllerGains& gains);
// The same for travel, whose single I gain stands at all four points.
GainFrame TravelGainFrame(const ControllerGains& gains);

}  // namespace quorvex
