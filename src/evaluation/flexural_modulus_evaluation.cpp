// The flexural modulus evaluation.
#include "flexural_modulus_evaluation.h"

#include "array_evaluation.h"

namespace quorvex {

double DeflectionAtStrain(double strain, double span, double thickness) {
    return thickness > 0 ? strain * span * span / (6.0 * thickness) : 0.0;
}

double ForceAtDeflection(const CurveView& c, double s) {
    for (int i = 1; i <= c.N; ++i) {
        if (c.x(i) - c.x(1) < s) continue;
        if (i == 1 || c.x(i) == c.x(i - 1)) return 0.0;
        // Deflections count from the first sample, like the search.
        const double before = c.x(i - 1) - c.x(1);
        return c.F(i - 1) + (c.F(i) - c.F(i - 1)) * (s - before) / (c.x(i) - c.x(i - 1));
    }
    return 0.0;
}

void EvaluateFlexuralModulus(TestState& state) {
    ParameterSet& p = state.Parameters;
    ResultsRecord& r = state.Current();
    const double span = p.GaugeLengthLe;
    const double h = p.EffectiveLc;
    const double b = p.EffectiveLo;
    // The flat specimen keeps the geometry as the specimen dialog of this type stores it.
    p.Flat.Lo = p.Flat.Lc = p.GaugeLengthLe;
    p.Flat.a = p.EffectiveLc;
    p.Flat.b = p.EffectiveLo;

    const CurveView c(state.Buffer, p, state.Marks);
    auto set = [&](int element, double value) { Element(r, element) = static_cast<float>(value); };
    r.Rm = 1.0f;  // marks the series slot as occupied
    for (int element = 4; element <= 19; ++element) set(element, 0.0);

    const double s1 = DeflectionAtStrain(p.ProofStrain, span, h);
    const double s2 = DeflectionAtStrain(p.SecondProofStrain, span, h);
    const double f1 = ForceAtDeflection(c, s1);
    const double f2 = ForceAtDeflection(c, s2);
    const double modulus = s2 > s1 ? DivideOrZero(span * span * span * (f2 - f1) * 1000.0,
                                                  4.0 * b * h * h * h * (s2 - s1))
                                   : 0.0;
    const double fmax = FmaxNewtons(c);
    set(3, modulus);  // Ef
    set(4, fmax);     // Fmax
    set(5,
        h > 0 && b > 0 ? 3.0 * fmax * span / (2.0 * b * h * h) : 0.0);  // flexural stress at Fmax
    set(6, c.x(c.M));                                                   // deflection at Fmax
    state.Marks.EvaluationDone = true;
}

}  // namespace quorvex
