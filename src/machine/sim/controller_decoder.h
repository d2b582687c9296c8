// The receiving end of the controller link: the byte stream, one byte at a time as the
// serial line delivers it, cut into commands with their decoded values. A byte that starts
// no known command is counted and dropped; a command whose payload stops arriving is
// dropped after the inter-byte time-out and counted, and the next byte starts afresh.
#pragma once

#include <array>
#include <cstdint>

namespace quorvex {

// The value of three bytes in sign and magnitude, most significant first.
std::int32_t DecodeValue24(std::uint8_t high, std::uint8_t middle, std::uint8_t low);

struct ControllerCommand {
    std::uint8_t Code = 0;
    std::uint8_t Byte = 0;                  // the one-byte payload
    std::array<std::int32_t, 18> Values{};  // the Value24 payloads, in order
    int ValueCount = 0;
    std::int32_t Int32 = 0;  // the little-endian payload of the gauge length
};

class ControllerDecoder {
  public:
    // A partial command older than this is dropped when the next byte arrives.
    static constexpr std::int64_t kInterByteTimeoutMs = 100;

    // Takes one byte received at timeMs; true when it completes a command, which is then in
    // `command`.
    bool Feed(std::uint8_t byte, std::int64_t timeMs, ControllerCommand& command);

    int UnknownBytes() const { return unknownBytes_; }
    int TruncatedCommands() const { return truncatedCommands_; }
    bool InsideCommand() const { return expected_ > 0; }

  private:
    ControllerCommand partial_;
    std::array<std::uint8_t, 54> payload_{};
    int expected_ = 0;  // payload bytes of the command under way; 0: between commands
    int received_ = 0;
    std::int64_t lastByteMs_ = 0;
    int unknownBytes_ = 0;
    int truncatedCommands_ = 0;
};

}  // namespace quorvex
