// The plastics tensile test's evaluation. Stresses N/mm², strains %.
#include "plastics_evaluation.h"

#include "array_evaluation.h"

namespace quorvex {
namespace {

// The first sample from 1 on whose value of `channel` reaches `target`; 0 when none does.
template <class Channel>
int FirstSampleReaching(const CurveView& c, double target, Channel channel) {
    for (int i = 1; i <= c.N; ++i) {
        if (channel(i) >= target) return i;
    }
    return 0;
}

}  // namespace

int PlasticsYieldIndex(const CurveView& c) {
    if (c.N < 10) return 0;
    const int s = c.N - 10;
    // Going back from the end: the lowest force so far and the highest force before it (in
    // time) since that low. A high that stands more than the least drop above the low is a
    // yield maximum; the earliest one is the yield point.
    double low = c.F(s), high = c.F(s);
    int highIndex = s;
    const double drop = c.Parameters.YieldDropMin;
    int yield = 0;
    for (int i = s; i >= 1; --i) {
        if (c.F(i) < low) {
            low = high = c.F(i);
            highIndex = i;
        }
        if (c.F(i) > high) {
            high = c.F(i);
            highIndex = i;
        }
        if (high - low > drop) yield = highIndex;
    }
    return yield;
}

double PlasticsSecantModulus(const CurveView& c, bool extensometerUsable) {
    const ParameterSet& p = c.Parameters;
    const double gauge = extensometerUsable ? c.Le : c.Lc;
    if (!(gauge > 0)) return 0.0;
    // Extensometer: absolute extension; crosshead: travel from the first sample.
    auto strainChannel = [&](int i) {
        return extensometerUsable ? static_cast<double>(c.e(i)) : c.x(i) - c.x(1);
    };
    auto strain = [&](int i) { return (extensometerUsable ? c.e(i) : c.x(i)) / gauge; };
    const int i = FirstSampleReaching(c, p.ProofStrain * gauge / 100.0, strainChannel);
    const int j = FirstSampleReaching(c, p.SecondProofStrain * gauge / 100.0, strainChannel);
    if (i < 1 || j < 1 || !(i < j) || !(strain(j) > strain(i))) return 0.0;
    return DivideOrZero(c.Sigma(j) - c.Sigma(i), strain(j) - strain(i));
}

void EvaluatePlastics(TestState& state) {
    const ParameterSet& p = state.Parameters;
    ResultsRecord& r = state.Current();
    TestMarks& marks = state.Marks;
    const CurveView c(state.Buffer, p, marks);
    auto set = [&](int element, double value) { Element(r, element) = static_cast<float>(value); };

    r.Rm = 1.0f;  // marks the series slot as occupied
    for (int element = 4; element <= 18; ++element) set(element, 0.0);
    const bool usable = ExtensionUsable(c);
    marks.ExtensionEndIndex = usable ? MaximumExtensionIndex(c) : 1;

    const int yield = PlasticsYieldIndex(c);
    // Strains from the extensometer over Le, or from the crosshead over Lo.
    const bool byExtensometer = p.StrainByTdm != 0;
    const double gauge = byExtensometer ? c.Le : c.Lo;
    auto y = [&](int i) { return static_cast<double>(byExtensometer ? c.e(i) : c.x(i)); };
    auto strainTo = [&](int i) { return DivideOrZero(y(i) - y(1), gauge) * 100.0; };
    const int last = WithinCurve(c, c.N - 1);

    if (yield >= 1) set(4, c.Sigma(yield));                      // Sig-Y
    set(5, c.Sigma(c.M));                                        // Sig-M
    set(6, c.Sigma(last));                                       // Sig-B
    for (std::size_t k = 0; k < p.SigStrainPoint.size(); ++k) {  // Sig-1 ... Sig-5
        const double target = p.SigStrainPoint[k] * gauge / 100.0;
        const int j =
            gauge > 0 ? FirstSampleReaching(c, target, [&](int i) { return y(i) - y(1); }) : 0;
        set(7 + static_cast<int>(k), j >= 1 ? c.Sigma(j) : 0.0);
    }
    if (yield >= 1) set(12, strainTo(yield));                             // Eps-Y
    set(13, strainTo(c.M));                                               // Eps-M
    set(14, strainTo(last));                                              // Eps-B
    set(15, DivideOrZero(c.x(c.M) - c.x(1), c.Lc) * 100.0);               // Eps-tM
    set(16, DivideOrZero(c.x(last) - c.x(1), c.Lc) * 100.0);              // Eps-tB
    set(17, 0.0);                                                         // Um
    if (SlotEvaluated(p, 19)) set(18, PlasticsSecantModulus(c, usable));  // E

    for (int element = 4; element <= 18; ++element) {
        if (!SlotEvaluated(p, element + 1)) set(element, 0.0);
    }
    set(19, p.Flat.Lc);
    marks.EvaluationDone = true;
}

}  // namespace quorvex
