// The channel map record and the INI file of the encoder card and sample counts.
#include "channel_map.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <optional>

#include "working_file.h"

namespace quorvex {
namespace {

double LoadDouble(std::span<const std::uint8_t> image, std::size_t offset) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | image[offset + static_cast<std::size_t>(i)];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The rounded value when it is an integer in [low, high].
std::optional<int> RoundedInRange(double value, int low, int high) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);  // the default mode rounds ties to even
    if (rounded < low || rounded > high) return std::nullopt;
    return static_cast<int>(rounded);
}

// The leading integer of an INI value; text without one reads as 0.
int LeadingInteger(std::string_view text) {
    text = TrimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        value = value * 10 + (c - '0');
        if (value > 2147483647LL) value = 2147483647LL;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

ChannelMapResult ParseChannelMap(std::span<const std::uint8_t> image, ChannelMap& map,
                                 std::string_view fileName) {
    ChannelMapResult result;
    if (image.size() < ChannelMap::kImageSize) {
        result.message = std::string(fileName) + ": the file holds " +
                         std::to_string(image.size()) + " bytes instead of " +
                         std::to_string(ChannelMap::kImageSize) + "; the channel map is kept.";
        return result;
    }
    const auto force = RoundedInRange(LoadDouble(image, 8), 1, 8);
    const auto travel = RoundedInRange(LoadDouble(image, 16), 1, 8);
    const auto strainA = RoundedInRange(LoadDouble(image, 24), 1, 8);
    const auto strainB = RoundedInRange(LoadDouble(image, 32), 1, 8);
    const auto wiring = RoundedInRange(LoadDouble(image, 40), -1000000, 1000000);
    const double travelLimit = LoadDouble(image, 48);
    if (!force || !travel || !strainA || !strainB || !wiring || !std::isfinite(travelLimit)) {
        result.message = std::string(fileName) +
                         ": the file names an input that does not exist; the channel map is kept.";
        return result;
    }
    map.Reserved0 = LoadDouble(image, 0);
    map.ForceChannel = *force - 1;
    map.TravelChannel = *travel - 1;
    map.StrainChannelA = *strainA - 1;
    map.StrainChannelB = *strainB - 1;
    map.ShutdownWiring = *wiring;
    map.TravelLimitFactor = travelLimit / 100;
    for (std::size_t i = 0; i < 8; ++i) map.ChannelSign[i] = image[400 + i] == 1 ? -1 : 1;
    result.loaded = true;
    return result;
}

Ik220Settings ParseIk220Ini(std::string_view text) {
    // As the Windows profile functions do, the first entry of a key counts.
    std::optional<int> factorX1, factorX2, force, strain, travel;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = TrimSpaces(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = LowerAscii(TrimSpaces(
                line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string key = LowerAscii(TrimSpaces(line.substr(0, equals)));
        const int value = LeadingInteger(line.substr(equals + 1));
        auto take = [value](std::optional<int>& slot) {
            if (!slot) slot = value;
        };
        if (section == "kalix1x2") {
            if (key == "faktorx1") take(factorX1);
            if (key == "faktorx2") take(factorX2);
        } else if (section == "pci9111") {
            if (key == "anzahlmessungenkraft") take(force);
            if (key == "anzahlmessungendehnung") take(strain);
            if (key == "anzahlmessungenweg") take(travel);
        }
    }
    Ik220Settings settings;
    settings.FactorX1 = factorX1.value_or(settings.FactorX1);
    settings.FactorX2 = factorX2.value_or(settings.FactorX2);
    settings.ForceSamples = force.value_or(settings.ForceSamples);
    settings.StrainSamples = strain.value_or(settings.StrainSamples);
    settings.TravelSamples = travel.value_or(settings.TravelSamples);
    return settings;
}

std::string ParseExtraInput(std::string_view value, int& input) {
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    if (value == "none") {
        input = -1;
        return {};
    }
    if (value.size() == 1 && value[0] >= '0' && value[0] <= '7') {
        input = value[0] - '0';
        return {};
    }
    return "\"" + std::string(value) + "\" is no input: 0 ... 7 or none";
}

std::string ParseProbeInputs(std::string_view value, std::array<int, 3>& inputs) {
    if (value == "none") {
        inputs = {-1, -1, -1};
        return {};
    }
    std::array<int, 3> parsed{};
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t comma = value.find(',');
        if ((k < 2) == (comma == std::string_view::npos) ||
            !ParseExtraInput(value.substr(0, comma), parsed[k]).empty() || parsed[k] < 0) {
            return "\"" + std::string(value) +
                   "\" are no probe inputs: three inputs 0 ... 7 separated by commas, or none";
        }
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
    }
    inputs = parsed;
    return {};
}

}  // namespace quorvex
