// Which analogue input carries force, travel and strain, with which polarity: the channel
// map of "Dravon.Set" (a 3000-byte record the program only reads), and the sample counts
// of "Kali_IK220.ini" that say how many conversions each reading averages.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorvex {

struct ChannelMap {
    static constexpr std::size_t kImageSize = 3000;

    double Reserved0 = 832;  // read and kept, not used
    int ForceChannel = 0;    // 0-based analogue inputs
    int TravelChannel = 2;
    int StrainChannelA = 4;
    int StrainChannelB = 7;
    std::array<int, 8> ChannelSign{1, 1, 1, 1, 1, 1, 1, 1};  // +1 or -1 per input
    int ShutdownWiring = 0;                                  // 0 "PIN 1 und 2", 1 "Pin 2 und 3"
    double TravelLimitFactor = 0.95;  // fraction of the nominal travel that trips the shutdown
};

// Inputs that only some machines have wired: the transverse gauge (width change) and the
// three displacement probes of the compression test; -1 where nothing is wired.
struct ExtraInputs {
    int Transverse = -1;
    std::array<int, 3> Probes{-1, -1, -1};

    bool HasTransverse() const { return Transverse >= 0; }
    bool HasProbes() const { return Probes[0] >= 0 && Probes[1] >= 0 && Probes[2] >= 0; }
};

// "none" or a 0-based input 0..7, and for the probes three of them separated by commas.
std::string ParseExtraInput(std::string_view value, int& input);
std::string ParseProbeInputs(std::string_view value, std::array<int, 3>& inputs);

struct ChannelMapResult {
    bool loaded = false;
    std::string message;  // why the image was refused, naming the file
};

// Reads the channel map from the image of its file over `map`. The 1-based input numbers
// are rounded to the nearest integer, ties to even. An image shorter than 3000 bytes, or one
// whose inputs do not name one of the eight inputs, is refused whole and `map` is unchanged.
ChannelMapResult ParseChannelMap(std::span<const std::uint8_t> image, ChannelMap& map,
                                 std::string_view fileName = "Dravon.Set");

// Section [PCI9111] and [KaliX1X2] of "Kali_IK220.ini".
struct Ik220Settings {
    int FactorX1 = 1;
    int FactorX2 = 1;
    int ForceSamples = 100;
    int StrainSamples = 100;
    int TravelSamples = 200;
};

// Reads the INI text as the program always has: names of sections and keys without regard
// to case, a value's leading integer, a missing key (or a missing file: empty text) giving
// its default.
Ik220Settings ParseIk220Ini(std::string_view text);

}  // namespace quorvex
