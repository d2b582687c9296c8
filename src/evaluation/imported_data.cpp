// The limit pairs of a prepared limit set and the slots they go to.
#include "imported_data.h"

namespace quorvex {
namespace {

bool Evaluated(const ParameterSet& p, int slot) {
    return p.Results[static_cast<std::size_t>(slot - 1)].Evaluate != 0;
}

constexpr int kSlotRatio = 12, kSlotAe = 13, kSlotAg = 14;

}  // namespace

FurtherLimit FurtherLimitOf(const ParameterSet& p) {
    if (Evaluated(p, kSlotRatio)) {
        // Ratio kinds 1 Rm/Rp, 2 Rm/Rt, 5 Rp/Rm, 6 Rt/Rm have columns; the ReH/ReL ratios do not.
        switch (p.RatioKind) {
            case 1:
                return FurtherLimit::RmRp;
            case 2:
                return FurtherLimit::RmRt;
            case 5:
                return FurtherLimit::RpRm;
            case 6:
                return FurtherLimit::RtRm;
            default:
                break;
        }
    }
    if (Evaluated(p, kSlotAe) && !Evaluated(p, kSlotAg)) return FurtherLimit::Ae;
    return FurtherLimit::Ag;
}

const char* FurtherLimitName(FurtherLimit further) {
    switch (further) {
        case FurtherLimit::RmRp:
            return "Rm/Rp";
        case FurtherLimit::RmRt:
            return "Rm/Rt";
        case FurtherLimit::RpRm:
            return "Rp/Rm";
        case FurtherLimit::RtRm:
            return "Rt/Rm";
        case FurtherLimit::Ae:
            return "Ae";
        case FurtherLimit::Ag:
            break;
    }
    return "Ag";
}

std::array<LimitPair, kImportedLimitRows> ChooseImportedLimits(const ImportedLimitSet& set,
                                                               bool secondProofIsRt,
                                                               FurtherLimit further) {
    LimitPair furtherPair = set.Ag;
    switch (further) {
        case FurtherLimit::RmRp:
            furtherPair = set.RmRp;
            break;
        case FurtherLimit::RmRt:
            furtherPair = set.RmRt;
            break;
        case FurtherLimit::RpRm:
            furtherPair = set.RpRm;
            break;
        case FurtherLimit::RtRm:
            furtherPair = set.RtRm;
            break;
        case FurtherLimit::Ae:
            furtherPair = set.Ae;
            break;
        case FurtherLimit::Ag:
            break;
    }
    return {set.So, set.ReH,     set.ReL, set.Rp1, secondProofIsRt ? set.Rt : set.Rp2,
            set.Rm, furtherPair, set.A,   set.Z,   set.E};
}

std::array<int, kImportedLimitRows> ImportedLimitSlots(FurtherLimit further) {
    int furtherSlot = kSlotAg;
    if (further == FurtherLimit::Ae) furtherSlot = kSlotAe;
    if (further != FurtherLimit::Ag && further != FurtherLimit::Ae) furtherSlot = kSlotRatio;
    // A is the elongation after fracture, Ac.
    return {5, 6, 7, 8, 9, 10, furtherSlot, 16, 18, 19};
}

std::array<LimitPair, kImportedLimitRows> CurrentLimits(const ParameterSet& p,
                                                        FurtherLimit further) {
    std::array<LimitPair, kImportedLimitRows> rows{};
    const auto slots = ImportedLimitSlots(further);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ResultDefinition& slot = p.Results[static_cast<std::size_t>(slots[i] - 1)];
        rows[i] = {slot.LimitMin, slot.LimitMax};
    }
    return rows;
}

void ApplyImportedLimits(ParameterSet& p, const std::array<LimitPair, kImportedLimitRows>& rows,
                         FurtherLimit further) {
    const auto slots = ImportedLimitSlots(further);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ResultDefinition& slot = p.Results[static_cast<std::size_t>(slots[i] - 1)];
        slot.LimitMin = static_cast<float>(rows[i].Min);
        slot.LimitMax = static_cast<float>(rows[i].Max);
    }
}

}  // namespace quorvex
