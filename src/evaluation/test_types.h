// The ten test types, their names and the unit systems in which results are kept.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quorvex {

enum class TestType : std::int32_t {
    TensileEn10002 = 0,
    ScrewIso898 = 1,
    ScrewIso3506 = 2,
    ShearEn2563 = 3,
    Chain = 4,
    Universal = 5,
    PlasticsIso527 = 6,
    FlexuralModulus = 7,
    FlexuralStrength = 8,
    Compression = 9,
};

constexpr int kTestTypeCount = 10;

bool IsValidTestType(std::int32_t value);

// Number of the name in the text table, and the German name of the built-in table.
int TestTypeTextNumber(std::int32_t testType);
std::string TestTypeGermanName(std::int32_t testType);

// Test types 0-2 are evaluated as metal tensile tests.
inline bool IsTensileFamily(std::int32_t testType) {
    return testType >= 0 && testType <= 2;
}

// Parameter file extension of a test type (".Par", ".Pa1" ... ".Pa8"); the interactive save
// writes it in lower case.
std::string ParameterFileExtension(std::int32_t testType);
std::string ParameterFileExtensionLower(std::int32_t testType);

// The filters the open, save and delete dialogs list, ".Pa6" included.
const std::array<const char*, 9>& ParameterFileFilters();

enum class UnitSystem : std::int32_t { NPerMm2 = 0, MPa = 1, Psi = 2 };

// The stress unit of a unit system as panels, grids and reports show it: "N/mm²", "MPa" or
// "Psi".
std::string StressUnit(int unitSystem);

// Only psi converts: stresses and the modulus from N/mm² to psi, areas from mm² to in².
constexpr double kPsiPerNPerMm2 = 145.0377;
constexpr double kSquareInchPerMm2 = 0.0015500031;

}  // namespace quorvex
