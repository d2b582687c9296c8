// EvaluateTest: the common preparation and the dispatch by test type, and the branch of
// the metal tensile test.
#include "evaluate_test.h"

#include "compression_evaluation.h"
#include "flexural_modulus_evaluation.h"
#include "fmax_evaluations.h"
#include "plastics_evaluation.h"
#include "cross_section.h"
#include "tensile_evaluation.h"
#include "test_types.h"
#include "universal_evaluation.h"

namespace quorvex {
namespace {

// a, b, d, D and the mass of the record from the shape that is valid.
void CopyDimensions(const ParameterSet& p, ResultsRecord& r) {
    r.a = r.b = r.d = r.D = r.Mass = 0;
    switch (static_cast<SpecimenShape>(p.SpecimenShape)) {
        case SpecimenShape::Round: r.d = p.Round.d; break;
        case SpecimenShape::Flat:
            r.a = p.Flat.a;
            r.b = p.Flat.b;
            break;
        case SpecimenShape::Tube:
            r.a = p.Tube.a;
            r.D = p.Tube.D;
            break;
        case SpecimenShape::Mass:
            r.a = p.Mass.rho;
            r.b = p.Mass.Lt;
            r.Mass = p.Mass.m;
            r.d = p.Mass.Further1;
            r.D = p.Mass.Further2;
            break;
        case SpecimenShape::TubeSegment:
            r.a = p.TubeSegment.a;
            r.b = p.TubeSegment.b;
            r.D = p.TubeSegment.D;
            break;
    }
}

// The first elements of the results array that each test type takes from the specimen.
void FillSpecimenResults(const ParameterSet& p, ResultsRecord& r) {
    auto& v = r.Results;
    const bool flat = p.SpecimenShape == static_cast<std::uint8_t>(SpecimenShape::Flat);
    switch (static_cast<TestType>(p.TestType)) {
        case TestType::ScrewIso898:
        case TestType::ScrewIso3506:
            // The screw's round specimen and its choice in the screw tables.
            v[0] = p.Round.d;
            v[1] = p.Round.Lo;
            v[2] = p.Round.Lc;
            v[3] = p.Round.So;
            v[4] = static_cast<float>(p.UserTableRow);
            v[5] = static_cast<float>(p.ThreadKind);
            v[6] = static_cast<float>(p.ThreadSizeIndex);
            v[7] = static_cast<float>(p.StrengthClassIndex);
            v[8] = static_cast<float>(p.StainlessClassIndex);
            v[9] = p.StressAreaFlag != 0 ? 1.0f : 0.0f;
            break;
        case TestType::ShearEn2563:
        case TestType::FlexuralStrength:
            if (flat) v = {p.EffectiveLc, p.Flat.a, p.Flat.b, p.EffectiveLo};
            r.d = p.EffectiveLc;
            break;
        case TestType::Chain:
            if (flat) v = {p.EffectiveLo, p.EffectiveLc};
            break;
        case TestType::PlasticsIso527:
            if (flat) v = {p.Flat.b, p.Flat.a, p.EffectiveSo, p.EffectiveLo};
            r.So = p.EffectiveSo;
            break;
        case TestType::FlexuralModulus:
        case TestType::Compression:
            // Span (or height), thickness (or parallel length) and width, for every shape.
            v = {p.GaugeLengthLe, p.EffectiveLc, p.EffectiveLo, 0.0f};
            r.d = p.EffectiveLc;
            break;
        case TestType::TensileEn10002:
        case TestType::Universal: break;
    }
}

}  // namespace

bool HasEvaluableCurve(const TestMarks& marks) {
    return marks.FmaxIndex >= 1 && marks.FmaxIndex <= kBufferCapacity &&
           marks.SampleCount >= 1 && marks.SampleCount <= kBufferCapacity;
}

void InitialiseResults(TestState& state) {
    const ParameterSet& p = state.Parameters;
    ResultsRecord& r = state.Current();
    r.ReH = r.ReL = r.Rp = r.Rp2 = r.Rm = r.Rr = r.RatioR1R2 = 0;
    r.Ag = r.Agt = r.Ac = r.At = r.Ae = r.Z = 0;
    r.GaugeAtAg = r.GaugeAtAgt = r.GaugeAtAc = r.GaugeAtAt = 0;
    r.E = r.r = r.n = r.QAW = 0;
    r.Results.fill(0.0f);
    r.ScrewType.clear();
    // The two reserved strings at 451 and 482: their length bytes.
    r.Reserved[0] = 0;
    r.Reserved[482 - 451] = 0;
    r.GaugeKind = p.GaugeKind;
    r.SpecimenShape = p.SpecimenShape;
    CopyDimensions(p, r);
    FillSpecimenResults(p, r);
    state.Marks.ProofIndex1 = 1;
    state.Marks.ModulusLineIntercept = 0.0;
    state.Marks.EvaluationDone = false;
    state.EnteredFinalDimensions = {};
}

void EvaluateTest(TestState& state, bool keepModulus) {
    ResultsRecord& r = state.Current();
    r.ReH = r.ReL = 0;
    const std::int32_t type = state.Parameters.TestType;
    // Shear, chain, universal, plastics and flexural modulus always start from a clean record.
    const bool alwaysInitialise = type >= 3 && type <= 7;
    if (!keepModulus || alwaysInitialise) InitialiseResults(state);
    if (!HasEvaluableCurve(state.Marks)) return;

    switch (static_cast<TestType>(type)) {
        case TestType::TensileEn10002:
        case TestType::ScrewIso898:
        case TestType::ScrewIso3506: EvaluateTensile(state, keepModulus); return;
        case TestType::ShearEn2563: EvaluateShear(state); return;
        case TestType::Chain: EvaluateChain(state); return;
        case TestType::Universal: EvaluateUniversal(state); return;
        case TestType::PlasticsIso527: EvaluatePlastics(state); return;
        case TestType::FlexuralModulus: EvaluateFlexuralModulus(state); return;
        case TestType::FlexuralStrength: EvaluateFlexuralStrength(state); return;
        case TestType::Compression: EvaluateCompression(state, keepModulus); return;
    }
}

void EvaluateTensile(TestState& state, bool keepModulus) {
    const ParameterSet& p = state.Parameters;
    TestMarks& marks = state.Marks;
    ResultsRecord& r = state.Current();
    const CurveView c(state.Buffer, p, marks);
    auto on = [&](int slot) { return SlotEvaluated(p, slot); };

    marks.BreakIndex = FindBreakIndex(c);
    const bool usable = ExtensionUsable(c);
    marks.ExtensionEndIndex = usable ? MaximumExtensionIndex(c) : 1;

    if (p.UseFixedModulus != 0) {
        r.E = p.FixedModulus;
    } else if (!keepModulus) {
        r.E = usable ? static_cast<float>(DetermineModulus(c, marks)) : p.FixedModulus;
    }
    const double E = r.E;

    if (usable) {
        if (on(kSlotRp)) {
            const Crossing proof =
                ProofSearch(c, E, marks.ModulusLineIntercept, p.ProofStrain, marks.ExtensionEndIndex);
            r.Rp = static_cast<float>(proof.stress);
            if (proof.found()) marks.ProofIndex1 = proof.index;
        }
        if (on(kSlotRt)) {
            const Crossing second =
                p.SecondProofIsRt != 0
                    ? TotalStrainSearch(c, E, p.SecondProofStrain, marks.ExtensionEndIndex)
                    : ProofSearch(c, E, marks.ModulusLineIntercept, p.SecondProofStrain,
                                  marks.ExtensionEndIndex);
            r.Rp2 = static_cast<float>(second.stress);
            if (second.found()) marks.ProofIndex2 = second.index;
        }
    }

    if (on(kSlotReH) || on(kSlotReL)) {
        const YieldPoints yield = usable ? YieldWithExtensometer(c, marks.ProofIndex1) : YieldFromForce(c);
        r.ReH = on(kSlotReH) ? static_cast<float>(yield.ReH) : 0.0f;
        r.ReL = on(kSlotReL) ? static_cast<float>(yield.ReL) : 0.0f;
        // A material with a yield point reports ReH and ReL instead of proof strengths.
        if (r.ReH != 0 || r.ReL != 0) r.Rp = r.Rp2 = 0;
    }

    r.Rm = static_cast<float>(c.Sigma(c.M));

    const GaugeLengths g = ComputeGaugeLengths(c, r.Rm, E);
    r.GaugeAtAg = static_cast<float>(g.AtAg);
    r.GaugeAtAgt = static_cast<float>(g.AtAgt);
    r.GaugeAtAc = static_cast<float>(g.AtAc);
    r.GaugeAtAt = static_cast<float>(g.AtAt);

    if (on(kSlotRatio)) {
        if (const auto ratio = StrengthRatio(p.RatioKind, r)) r.RatioR1R2 = static_cast<float>(*ratio);
    }

    // Without a modulus there is no elastic part to take off: no elongations.
    const double Lo = c.Lo;
    // A gauge length of 0 was not determined (no modulus, an extensometer taken off).
    auto percent = [&](float gauge) {
        return E > 0 && Lo > 0 && gauge > 0 ? static_cast<float>((gauge - Lo) / Lo * 100.0)
                                            : 0.0f;
    };
    if (on(kSlotAg)) r.Ag = percent(r.GaugeAtAg);
    if (on(kSlotAgt)) r.Agt = percent(r.GaugeAtAgt);
    if (on(kSlotAt)) r.At = percent(r.GaugeAtAt);
    if (on(kSlotAc)) {
        if (p.TestType == static_cast<std::int32_t>(TestType::ScrewIso3506)) {
            r.Ac = E > 0 && r.GaugeAtAc > 0 ? static_cast<float>(r.GaugeAtAc - Lo) : 0.0f;  // mm
        } else {
            r.Ac = percent(r.GaugeAtAc);
        }
    }

    if (usable) {
        if (on(kSlotRValue)) r.r = static_cast<float>(RValue(c));
        if (on(kSlotNValue)) r.n = static_cast<float>(NValue(c));
    }
    marks.EvaluationDone = true;
}

}  // namespace quorvex
