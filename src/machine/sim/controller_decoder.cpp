// Framing and value decoding of the controller's byte stream.
#include "machine/sim/controller_decoder.h"

#include "machine/controller_protocol.h"

namespace quorvex {
namespace {

// Payload bytes that follow a command byte; -1: no such command.
int PayloadSize(std::uint8_t code) {
    switch (code) {
        case command::kForceRamp:
        case command::kTravelRamp:
        case command::kThirdChannelRamp:
            return 12;
        case command::kForceGains:
        case command::kTravelGains:
        case command::kStrainGains:
            return 54;
        case command::kDriveState:
        case command::kRampStart:
        case command::kControlMode:
        case command::kAuxiliaryOutputs:
        case command::kTareCounter:
        case command::kTdmArms:
            return 1;
        case command::kSetValue:
        case command::kSpindleSpeed:
        case command::kForceLimit1:
        case command::kForceLimit2:
        case command::kForceLimit3:
        case command::kPositionPreset:
            return 3;
        case command::kTdmGaugeLength:
            return 4;
        case command::kStopRequest:
        case command::kRelease:
        case command::kTareCounterSecondKind:
        case command::kTdmStart:
        case command::kTdmStop:
            return 0;
        default:
            return -1;
    }
}

}  // namespace

std::int32_t DecodeValue24(std::uint8_t high, std::uint8_t middle, std::uint8_t low) {
    const std::int32_t magnitude = ((high & 0x7F) << 16) | (middle << 8) | low;
    return (high & 0x80) ? -magnitude : magnitude;
}

bool ControllerDecoder::Feed(std::uint8_t byte, std::int64_t timeMs, ControllerCommand& command) {
    if (expected_ > 0 && timeMs - lastByteMs_ > kInterByteTimeoutMs) {
        ++truncatedCommands_;
        expected_ = 0;
    }
    lastByteMs_ = timeMs;
    if (expected_ == 0) {
        const int size = PayloadSize(byte);
        if (size < 0) {
            ++unknownBytes_;
            return false;
        }
        partial_ = ControllerCommand{};
        partial_.Code = byte;
        received_ = 0;
        if (size == 0) {
            command = partial_;
            return true;
        }
        expected_ = size;
        return false;
    }
    payload_[static_cast<std::size_t>(received_++)] = byte;
    if (received_ < expected_) return false;

    if (expected_ == 1) {
        partial_.Byte = payload_[0];
    } else if (expected_ == 4) {
        partial_.Int32 = static_cast<std::int32_t>(static_cast<std::uint32_t>(payload_[0]) |
                                                   static_cast<std::uint32_t>(payload_[1]) << 8 |
                                                   static_cast<std::uint32_t>(payload_[2]) << 16 |
                                                   static_cast<std::uint32_t>(payload_[3]) << 24);
    } else {
        partial_.ValueCount = expected_ / 3;
        for (int i = 0; i < partial_.ValueCount; ++i) {
            const auto at = static_cast<std::size_t>(3 * i);
            partial_.Values[static_cast<std::size_t>(i)] =
                DecodeValue24(payload_[at], payload_[at + 1], payload_[at + 2]);
        }
    }
    expected_ = 0;
    command = partial_;
    return true;
}

}  // namespace quorvex
