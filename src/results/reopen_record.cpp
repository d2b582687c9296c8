// The specimen of a re-opened stored test.
#include "results/reopen_record.h"

#include <algorithm>
#include <cmath>

#include "evaluation/cross_section.h"
#include "evaluation/test_types.h"
#include "evaluation/win1252.h"

namespace quorvex {
namespace {

void RestoreTensileShape(ParameterSet& p, const ResultsRecord& r) {
    p.GaugeKind = static_cast<std::uint8_t>(r.GaugeKind);
    if (r.SpecimenShape < 0 || r.SpecimenShape > 4) return;
    p.SpecimenShape = static_cast<std::uint8_t>(r.SpecimenShape);
    const float lo = p.EffectiveLo, lc = p.EffectiveLc, so = p.EffectiveSo;
    switch (static_cast<SpecimenShape>(p.SpecimenShape)) {
        case SpecimenShape::Round:
            p.Round = {r.d, lo, lc, so};
            break;
        case SpecimenShape::Flat:
            p.Flat = {r.b, r.a, lo, lc, so};
            break;
        case SpecimenShape::Tube:
            p.Tube = {r.D, r.a, lo, lc, so};
            break;
        case SpecimenShape::Mass:
            p.Mass = {r.a, r.Mass, r.b, lo, lc, so, r.d, r.D};
            break;
        case SpecimenShape::TubeSegment:
            p.TubeSegment = {r.a, r.b, r.D, lo, lc, so};
            break;
    }
}

// An index stored as a float in the record; a value that is no whole number within
// 0 ... last leaves the current one.
void RestoreIndex(float stored, int last, std::int32_t& index) {
    if (!std::isfinite(stored) || stored < 0 || stored > static_cast<float>(last) ||
        stored != std::floor(stored)) {
        return;
    }
    index = static_cast<std::int32_t>(stored);
}

// The screw tests keep the round specimen and the screw selection in elements 0-9.
void RestoreScrew(ParameterSet& p, const ResultsRecord& r) {
    const auto& e = r.Results;
    if (std::all_of(e.begin(), e.begin() + 4, [](float v) { return std::isfinite(v); })) {
        p.Round = {e[0], e[1], e[2], e[3]};
    }
    RestoreIndex(e[4], 100000, p.UserTableRow);
    RestoreIndex(e[5], 2, p.ThreadKind);
    RestoreIndex(e[6], 19, p.ThreadSizeIndex);
    RestoreIndex(e[7], 1000, p.StrengthClassIndex);
    std::int32_t stainless = static_cast<std::int32_t>(p.StainlessClassIndex);
    RestoreIndex(e[8], 1000, stainless);
    p.StainlessClassIndex = stainless;
    p.StressAreaFlag = e[9] == 1.0f ? 1 : 0;
}

}  // namespace

void RestoreSpecimenFromRecord(ParameterSet& p, ResultsRecord& current,
                               const ResultsRecord& stored) {
    p.SpecimenNo = Utf8Left(stored.SpecimenNo, 30);
    p.SpecimenId = Utf8Left(stored.SpecimenId, 30);
    current.Remark = Utf8Left(stored.Remark, 40);
    current.EndOfTest = stored.EndOfTest;
    const auto& e = stored.Results;
    switch (p.TestType) {
        case 0:
        case 1:
        case 2:
            RestoreTensileShape(p, stored);
            if (p.TestType != 0) RestoreScrew(p, stored);
            break;
        case 3:
        case 8:
            p.Flat.Lc = e[0];
            p.Flat.a = e[1];
            p.Flat.b = e[2];
            p.Flat.Lo = e[3];
            break;
        case 4:
            p.Flat.Lo = e[0];
            p.Flat.Lc = e[1];
            break;
        case 5:
            p.UniversalDivisor = e[15];
            break;
        case 6:
            p.Flat.b = e[0];
            p.Flat.a = e[1];
            p.Flat.Lo = e[3];
            p.Flat.Lc = p.EffectiveLc;
            break;
        case 7:
            p.Flat.Lo = p.GaugeLengthLe = e[0];
            p.Flat.a = p.EffectiveLc = e[1];
            p.Flat.b = p.EffectiveLo = e[2];
            break;
        case 9:
            p.Round.d = e[0];
            p.EffectiveLo = p.EffectiveLc = p.GaugeLengthLe = e[1];
            p.EffectiveSo = e[2];
            break;
        default:
            break;
    }
}

}  // namespace quorvex
