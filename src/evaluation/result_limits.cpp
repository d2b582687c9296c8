// Limit test and tensile display decimals.
#include "result_limits.h"

#include "test_types.h"

namespace quorvex {

bool IsTensileStressSlot(int slot) {
    return (slot >= 6 && slot <= 11) || slot == 19;
}

bool OutsideLimits(const ResultDefinition& slot, double value, bool isStress,
                   std::int32_t unitSystem) {
    if (slot.LimitActive != 1 || !(value > 0.0)) return false;
    if (isStress && unitSystem == static_cast<std::int32_t>(UnitSystem::Psi)) {
        value *= kPsiPerNPerMm2;
    }
    return value < slot.LimitMin || value > slot.LimitMax;
}

bool OutsideLimits(const ParameterSet& p, int slot, double value) {
    if (slot < 1 || slot > kResultDefinitionSlots) return false;
    const bool isStress = IsTensileFamily(p.TestType) && IsTensileStressSlot(slot);
    return OutsideLimits(p.Results[static_cast<std::size_t>(slot - 1)], value, isStress,
                         p.UnitSystem);
}

void NormaliseTensileDecimals(ParameterSet& p) {
    if (!IsTensileFamily(p.TestType)) return;
    const bool psi = p.UnitSystem == static_cast<std::int32_t>(UnitSystem::Psi);
    auto decimals = [&](int slot) -> std::int32_t& {
        return p.Results[static_cast<std::size_t>(slot - 1)].Decimals;
    };
    for (int slot = 6; slot <= 11; ++slot) decimals(slot) = 0;
    if (!psi) decimals(19) = 0;
    decimals(5) = psi ? 4 : 2;
    decimals(20) = 4;
    decimals(21) = 4;
}

}  // namespace quorvex
