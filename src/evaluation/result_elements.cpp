// Names, counts and display decimals of the results array.
#include "result_elements.h"

#include <algorithm>

#include "text_functions.h"

namespace quorvex {
namespace {

constexpr const char* kShear[] = {"L", "T", "B", "Lv", "FMax", "Tau"};
constexpr const char* kChain[] = {"Lc", "Lt", "Fmax", "Lmax", "Amax", "Fr", "Lr", "Ar"};
constexpr const char* kUniversal[] = {"Fmax", "Smax", "Fr", "Sr", "Fx", "Sx", "F1",
                                      "S1",   "F2",   "S2", "C",  "W",  "Wx", "Swx"};
constexpr const char* kPlastics[] = {
    "B",     "H",     "A",     "LO",    "Sig-Y", "Sig-M",  "Sig-B",  "Sig-1", "Sig-2", "Sig-3",
    "Sig-4", "Sig-5", "Eps-Y", "Eps-M", "Eps-B", "Eps-tM", "Eps-tB", "Um",    "E"};
constexpr const char* kFlexuralModulus[] = {"L", "H", "B", "Ef"};
constexpr const char* kFlexuralStrength[] = {"LL", "H", "B", "L", "FMax", "Rtf"};
constexpr const char* kCompression[] = {
    "D", "H", "S0", "Sig-dB", "Sig-dX1", "Sig-dX2", "Sig-dX3", "Sig-dF", "Eps-dB", "Phi-dB", "E"};

}  // namespace

std::span<const char* const> ResultElementNames(std::int32_t testType) {
    switch (testType) {
        case 3:
            return kShear;
        case 4:
            return kChain;
        case 5:
            return kUniversal;
        case 6:
            return kPlastics;
        case 7:
            return kFlexuralModulus;
        case 8:
            return kFlexuralStrength;
        case 9:
            return kCompression;
        default:
            return {};
    }
}

int ExportedElementCount(std::int32_t testType) {
    return static_cast<int>(ResultElementNames(testType).size());
}

ResultDecimalsTable InitialResultDecimals() {
    return {2, 3, 2, 2, 0, 1};
}

void CopyResultDecimals(const ParameterSet& p, ResultDecimalsTable& decimals, int count) {
    const int last = std::clamp(count, 0, static_cast<int>(decimals.size()));
    for (int j = 0; j < last; ++j) {
        decimals[static_cast<std::size_t>(j)] = p.Results[static_cast<std::size_t>(j)].Decimals;
    }
}

int EditorDecimalsCount(std::int32_t testType) {
    constexpr int kCounts[] = {6, 8, 19, 19, 7, 6, 11};
    return testType >= 3 && testType <= 9 ? kCounts[testType - 3] : 0;
}

std::string CompressionColumnHeading(double proofStrain) {
    std::string value = RemoveBlanks(FormatFixed(proofStrain, 0, 2));
    // Trailing zeros of the fraction and then the point go; the whole part keeps its digits.
    if (value.find('.') != std::string::npos) {
        while (!value.empty() && value.back() == '0') value.pop_back();
        if (!value.empty() && value.back() == '.') value.pop_back();
    }
    if (value == "0" || value == "-0" || value.empty()) return "Sig-d";
    return "Sig-d" + value;
}

int RemarkSlot(std::int32_t testType) { return testType == 7 ? 30 : 22; }

}  // namespace quorvex
