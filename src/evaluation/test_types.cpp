// Names and file extensions of the test types.
#include "test_types.h"

#include <algorithm>
#include <cctype>

namespace quorvex {
namespace {

struct TestTypeInfo {
    int textNumber;
    const char* germanName;
    const char* extension;
};

constexpr std::array<TestTypeInfo, kTestTypeCount> kTestTypes = {{
    {641, "Zugversuch nach DIN EN 10002", ".Par"},
    {642, "Zugversuch nach ISO 898", ".Par"},
    {643, "Zugversuch nach ISO 3506", ".Par"},
    {644, "Scherfestigkeit nach DIN EN 2563", ".Pa1"},
    {648, "Kettenprüfung", ".Pa2"},
    {649, "Universalversuch", ".Pa3"},
    {650, "Kunststoffversuch EN ISO 527", ".Pa4"},
    {651, "Biegemodul nach EN ISO 14125", ".Pa5"},
    {652, "Biegefestigkeit nach EN 12372 / EN 12390", ".Pa7"},
    {653, "Druckversuch nach DIN 50106", ".Pa8"},
}};

const TestTypeInfo& Info(std::int32_t testType) {
    return kTestTypes[IsValidTestType(testType) ? static_cast<std::size_t>(testType) : 0];
}

}  // namespace

bool IsValidTestType(std::int32_t value) {
    return value >= 0 && value < kTestTypeCount;
}

int TestTypeTextNumber(std::int32_t testType) {
    return Info(testType).textNumber;
}

std::string TestTypeGermanName(std::int32_t testType) {
    return Info(testType).germanName;
}

std::string ParameterFileExtension(std::int32_t testType) {
    return Info(testType).extension;
}

std::string ParameterFileExtensionLower(std::int32_t testType) {
    std::string extension = Info(testType).extension;
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

const std::array<const char*, 9>& ParameterFileFilters() {
    static constexpr std::array<const char*, 9> kFilters = {
        "*.Par", "*.Pa1", "*.Pa2", "*.Pa3", "*.Pa4", "*.Pa5", "*.Pa6", "*.Pa7", "*.Pa8"};
    return kFilters;
}

std::string StressUnit(int unitSystem) {
    switch (unitSystem) {
        case 1:
            return "MPa";
        case 2:
            return "Psi";
        default:
            return "N/mm²";
    }
}

}  // namespace quorvex
