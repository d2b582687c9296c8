// Shear, chain and flexural-strength evaluations.
#include "fmax_evaluations.h"

#include <iterator>

#include "array_evaluation.h"

namespace quorvex {

void EvaluateShear(TestState& state) {
    ResultsRecord& r = state.Current();
    const CurveView c(state.Buffer, state.Parameters, state.Marks);
    const double fmax = FmaxNewtons(c);
    const double tau = DivideOrZero(3.0 * fmax, 4.0 * r.a * r.b);
    r.ReH = static_cast<float>(fmax);
    r.ReL = static_cast<float>(tau);
    r.Rm = static_cast<float>(fmax);
    Element(r, 4) = static_cast<float>(fmax);  // FMax
    Element(r, 5) = static_cast<float>(tau);   // Tau
    state.Marks.EvaluationDone = true;
}

void EvaluateChain(TestState& state) {
    ParameterSet& p = state.Parameters;
    ResultsRecord& r = state.Current();
    // The chain results are always shown with these decimals.
    constexpr std::int32_t kChainDecimals[] = {1, 1, 0, 1, 1, 0, 1, 1};
    for (std::size_t slot = 0; slot < std::size(kChainDecimals); ++slot) {
        p.Results[slot].Decimals = kChainDecimals[slot];
    }
    CopyResultDecimals(p, state.ResultDecimals, 8);

    const CurveView c(state.Buffer, p, state.Marks);
    auto on = [&](int slot) { return SlotEvaluated(p, slot); };
    const double fmax = FmaxNewtons(c);
    r.ReH = r.ReL = r.Rm = static_cast<float>(fmax);
    const double atMaximum = c.x(c.M) - c.x(1);
    const double atEnd = c.x(WithinCurve(c, c.N - 2)) - c.x(1);
    if (on(3)) Element(r, 2) = static_cast<float>(fmax);                                   // Fmax
    if (on(4)) Element(r, 3) = static_cast<float>(atMaximum);                              // Lmax
    if (on(5)) Element(r, 4) = static_cast<float>(DivideOrZero(atMaximum, c.Lo) * 100.0);  // Amax
    if (on(6)) Element(r, 5) = static_cast<float>(EndForceNewtons(c));                     // Fr
    if (on(7)) Element(r, 6) = static_cast<float>(atEnd);                                  // Lr
    if (on(8)) Element(r, 7) = static_cast<float>(DivideOrZero(atEnd, c.Lo) * 100.0);      // Ar
    state.Marks.EvaluationDone = true;
}

void EvaluateFlexuralStrength(TestState& state) {
    const ParameterSet& p = state.Parameters;
    ResultsRecord& r = state.Current();
    const CurveView c(state.Buffer, p, state.Marks);
    const double fmax = FmaxNewtons(c);
    const double span = p.EffectiveLo;
    const double b = p.Flat.b;
    const double h = p.Flat.a;
    const double rtf = p.FlexuralThreePoint != 0 ? DivideOrZero(3.0 * fmax * span, 2.0 * b * h * h)
                                                 : DivideOrZero(fmax * span, b * h * h);
    r.ReH = static_cast<float>(fmax);
    r.ReL = static_cast<float>(rtf);
    r.Rm = static_cast<float>(fmax);
    Element(r, 4) = static_cast<float>(fmax);  // FMax
    Element(r, 5) = static_cast<float>(rtf);   // Rtf
    CopyResultDecimals(p, state.ResultDecimals, 6);
    state.Marks.EvaluationDone = true;
}

}  // namespace quorvex
