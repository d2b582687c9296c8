// The results picked on the curve: what a field's pick means and how each result follows.
#include "shell/diagram_picks.h"

#include <cmath>

#include "evaluation/array_evaluation.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/tensile_evaluation.h"
#include "evaluation/test_types.h"

namespace quorvex {
namespace {

constexpr double kPsiPerNmm2 = 145.0377;

// Elements of the results array the picks write.
constexpr int kShearFmax = 4, kShearTau = 5;
constexpr int kCompressionSigB = 3, kCompressionEpsB = 8, kCompressionE = 10;
constexpr int kUniversalFx = 4, kUniversalSx = 5, kUniversalSigX = 16;

// Slot of the compression strain at the yield point (Eps-dB).
constexpr int kSlotCompressionEpsB = kCompressionEpsB + 1;

int CompressionElement(const std::string& field) {
    if (field == "Sig-B") return kCompressionSigB;
    if (field == "Sig-X1") return 4;
    if (field == "Sig-X2") return 5;
    if (field == "Sig-X3") return 6;
    if (field == "Sig-F") return 7;
    return -1;
}

}  // namespace

PickKind PickKindOfField(int testType, const std::string& field) {
    switch (static_cast<TestType>(testType)) {
        case TestType::TensileEn10002:
        case TestType::ScrewIso898:
        case TestType::ScrewIso3506:
            if (field == "E") return PickKind::Modulus;
            if (field == "ReH") return PickKind::UpperYield;
            if (field == "ReL") return PickKind::LowerYield;
            if (field == "Rp") return PickKind::Proof;
            if (field == "Ae") return PickKind::Ae;
            return PickKind::None;
        case TestType::Compression:
            if (field == "E") return PickKind::Modulus;
            if (field == "Sig-B") return PickKind::CompressionYield;
            if (field == "Eps-dB") return PickKind::CompressionStrain;
            if (CompressionElement(field) >= 0) return PickKind::CompressionStress;
            return PickKind::None;
        case TestType::ShearEn2563:
            return field == "Fmax" || field == "Tau" ? PickKind::ShearForce : PickKind::None;
        case TestType::Universal:
            if (field == "Fx") return PickKind::UniversalForce;
            if (field == "Sx") return PickKind::UniversalTravel;
            if (field == "SigX") return PickKind::UniversalStress;
            return PickKind::None;
        default:
            return PickKind::None;
    }
}

double PickModulus(const TestState& state, int sampleA, int sampleB) {
    TestMarks marks = state.Marks;
    const CurveView c(state.Buffer, state.Parameters, marks);
    return RegressionModulus(c, marks, sampleA, sampleB);
}

void AcceptModulus(TestState& state, int sampleA, int sampleB) {
    const CurveView c(state.Buffer, state.Parameters, state.Marks);
    const double modulus = RegressionModulus(c, state.Marks, sampleA, sampleB);
    ResultsRecord& r = state.Current();
    r.E = static_cast<float>(modulus);
    if (state.Parameters.TestType == static_cast<int>(TestType::Compression)) {
        Element(r, kCompressionE) = static_cast<float>(modulus);
    }
    EvaluateTest(state, true);
}

double InStressUnit(double stress, int unitSystem) {
    return unitSystem == 2 ? stress * kPsiPerNmm2 : stress;
}

double PickYield(TestState& state, bool upper, double y) {
    ResultsRecord& r = state.Current();
    (upper ? r.ReH : r.ReL) = static_cast<float>(y);
    if (SlotEvaluated(state.Parameters, kSlotRatio)) {
        if (const auto ratio = StrengthRatio(state.Parameters.RatioKind, r)) {
            r.RatioR1R2 = static_cast<float>(*ratio);
        }
    }
    return y * state.Parameters.EffectiveSo;
}

std::optional<double> PickProof(TestState& state, int sampleA, int sampleB) {
    const ParameterSet& p = state.Parameters;
    TestMarks& marks = state.Marks;
    const CurveView c(state.Buffer, p, marks);
    if (!(c.Le > 0) || !(c.So > 0)) return std::nullopt;
    const double ea = c.e(sampleA) * 100.0 / c.Le, eb = c.e(sampleB) * 100.0 / c.Le;
    if (ea == eb) return std::nullopt;
    const double slope = (c.Sigma(sampleB) - c.Sigma(sampleA)) / (eb - ea);
    const double intercept = c.Sigma(sampleA) - slope * ea;
    marks.ModulusLineSlope = slope;
    marks.ModulusLineIntercept = intercept;
    marks.DrawnLineIntercept = intercept;
    if (!(p.ProofStrain > 0) || !(slope > 0)) return std::nullopt;
    const Crossing crossing =
        ProofSearch(c, slope * 100.0, intercept, p.ProofStrain, marks.ExtensionEndIndex);
    if (!crossing.found()) return std::nullopt;
    marks.ProofIndex1 = crossing.index;
    return c.F(crossing.index) * 1000.0 / c.So;
}

bool PickAe(TestState& state, double firstX, double secondX) {
    const double ae = secondX - firstX;
    if (!(ae > 0)) return false;
    state.Current().Ae = static_cast<float>(ae);
    return true;
}

void PickValue(TestState& state, const std::string& field, double x, double y) {
    ResultsRecord& r = state.Current();
    const ParameterSet& p = state.Parameters;
    auto set = [&](int element, double value) { Element(r, element) = static_cast<float>(value); };
    switch (PickKindOfField(p.TestType, field)) {
        case PickKind::CompressionStress:
            set(CompressionElement(field), y);
            break;
        case PickKind::CompressionYield:
            set(kCompressionSigB, y);
            if (SlotEvaluated(p, kSlotCompressionEpsB)) set(kCompressionEpsB, x);
            break;
        case PickKind::CompressionStrain:
            set(kCompressionEpsB, x);
            break;
        case PickKind::ShearForce: {
            // The panels show the force and the strength also in the ReH and ReL fields.
            const double force = y * 1000.0;
            const double tau = DivideOrZero(3.0 * force, 4.0 * r.b * r.a);
            set(kShearFmax, force);
            set(kShearTau, tau);
            r.ReH = r.Rm = static_cast<float>(force);
            r.ReL = static_cast<float>(tau);
            break;
        }
        case PickKind::UniversalForce:
            set(kUniversalFx, y * 1000.0);
            break;
        case PickKind::UniversalTravel:
            set(kUniversalSx, x);
            break;
        case PickKind::UniversalStress:
            if (p.EffectiveSo > 0) set(kUniversalSigX, y * 1000.0 / p.EffectiveSo);
            break;
        default:
            break;
    }
}

}  // namespace quorvex
