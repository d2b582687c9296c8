// The simulated specimen and the parameter set's specimen data, both ways.
#include "run/simulated_specimen.h"

#include <cmath>
#include <numbers>

#include "evaluation/cross_section.h"
#include "evaluation/test_types.h"

namespace quorvex {

void PutSpecimen(const SpecimenParameters& s, ParameterSet& p) {
    const float So = static_cast<float>(s.So());
    float Lo = static_cast<float>(s.Lo);
    float Lc = static_cast<float>(s.Lc);
    float Le = static_cast<float>(s.Le);
    const bool beam = s.Kind == SpecimenKind::Bending3 || s.Kind == SpecimenKind::Bending4;
    if (beam && p.TestType == static_cast<int>(TestType::FlexuralModulus)) {
        // The flexural modulus reads the span as Le, the thickness as Lc, the width as Lo.
        Le = static_cast<float>(s.Span);
        Lc = static_cast<float>(s.a);
        Lo = static_cast<float>(s.b);
    } else if (beam) {
        Lo = static_cast<float>(s.Span);  // the flexural strength's span
    }
    if (s.d > 0) {
        p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Round);
        p.Round = {static_cast<float>(s.d), Lo, Lc, So};
    } else {
        p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Flat);
        p.Flat = {static_cast<float>(s.b), static_cast<float>(s.a), Lo, Lc, So};
    }
    p.EffectiveSo = So;
    p.EffectiveLo = Lo;
    p.EffectiveLc = Lc;
    p.GaugeLengthLe = Le;
}

SpecimenParameters SpecimenAsEntered(SpecimenParameters s, const ParameterSet& p) {
    const bool bar = s.Kind == SpecimenKind::Metal || s.Kind == SpecimenKind::Plastic ||
                     s.Kind == SpecimenKind::Compression;
    if (!bar || !(p.EffectiveSo > 0)) return s;
    const auto shape = static_cast<SpecimenShape>(p.SpecimenShape);
    const bool compression = p.TestType == static_cast<int>(TestType::Compression);
    if ((compression || shape == SpecimenShape::Round) && p.Round.d > 0) {
        s.d = p.Round.d;
        s.b = s.a = 0;
    } else if (shape == SpecimenShape::Flat && p.Flat.b > 0 && p.Flat.a > 0) {
        s.d = 0;
        s.b = p.Flat.b;
        s.a = p.Flat.a;
    } else {
        // Tubes, masses and tube segments: a round bar that carries the same force.
        s.d = std::sqrt(4 * p.EffectiveSo / std::numbers::pi);
        s.b = s.a = 0;
    }
    if (p.EffectiveLo > 0) s.Lo = p.EffectiveLo;
    if (p.EffectiveLc > 0) s.Lc = p.EffectiveLc;
    if (p.GaugeLengthLe > 0) s.Le = p.GaugeLengthLe;
    return s;
}

}  // namespace quorvex
