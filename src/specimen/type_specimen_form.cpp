#include "specimen/type_specimen_form.h"

#include <numbers>

#include "evaluation/cross_section.h"
#include "evaluation/text_functions.h"
#include "evaluation/win1252.h"

namespace quorvex {
namespace {

constexpr int kSupportDistance = 480;  // "Auflagerabstand"
constexpr int kHeight = 703;           // "Probenhöhe"
constexpr int kWidth = 107;            // "Probenbreite"
constexpr int kLength = 97;            // "Probenlänge"
constexpr int kClampingLength = 701;   // "Einspannlänge"
constexpr int kChainLength = 702;      // "Kettenlänge"
constexpr int kThickness = 108;        // "Probendicke"
constexpr int kDiameter = 704;         // "Durchmesser"
constexpr int kCompressionHeight = 705;  // "Höhe"

float Number(const std::string& text) {
    return static_cast<float>(ParseNumber(text));
}

float& Element(ResultsRecord& r, std::size_t i) {
    return r.Results[i];
}

}  // namespace

bool HasTypeSpecimenDialog(int testType) {
    return testType == 3 || testType == 4 || testType == 5 || testType == 7 || testType == 8 ||
           testType == 9;
}

TypeSpecimenKind TypeSpecimenKindOf(int testType) {
    switch (testType) {
    case 4: return TypeSpecimenKind::Chain;
    case 5: return TypeSpecimenKind::Universal;
    case 7: return TypeSpecimenKind::FlexuralModulus;
    case 9: return TypeSpecimenKind::Compression;
    default: return TypeSpecimenKind::ShearOrFlexuralStrength;
    }
}

std::vector<TypeSpecimenInput> TypeSpecimenInputs(int testType) {
    const bool shear = testType == 3;
    switch (TypeSpecimenKindOf(testType)) {
    case TypeSpecimenKind::ShearOrFlexuralStrength:
        // Results-definition slots: shear L, b, h / t, lv; flexural strength l, b, h, L.
        return {
            {kSupportDistance, shear ? "lv" : "l", 0.01, 800, " 0.01 ... 800.0 !", 1, 999,
             " 1.0 ... 999.0 !", 4, -1, shear ? 4 : 1},
            {kHeight, shear ? "h / t" : "h", 0.01, 800, " 0.01 ... 800.0 !", 0.01, 200,
             " 0.01 ... 200.0 !", 2, -1, 3},
            {kWidth, "b", 0.01, 800, "  0.01 ... 800.0 !", 0.5, 200, " 0.5 ... 200.0 !", 1, -1, 2},
            {kLength, "L", 0.01, 800, "  0.01 ... 800.0 !", 1, 999, " 1.0 ... 999.0!", 3, -1,
             shear ? 1 : 4},
        };
    case TypeSpecimenKind::Chain:
        return {
            {kClampingLength, "Lc", 1, 8000, " 1.0 ... 8000.0 !", 1, 8000, " 1.0 ... 8000.0 !", 2,
             -1, 1},
            {kChainLength, "Lt", 1, 8000, " 1.0 ... 8000.0 !", 1, 8000, " 1.0 ... 8000.0 !", 1,
             -1, 2},
        };
    case TypeSpecimenKind::FlexuralModulus:
        return {
            {kSupportDistance, "L", 0.01, 400, " 0.01 ... 400.0 !", 1, 1000, " 1.0 ... 1000.0 !",
             3, 2, 0},
            {kThickness, "h", 0.01, 800, " 0.01 ... 800.0 !", 0.01, 1000, " 0.01 ... 1000.0 !", 2,
             3, 0},
            {kWidth, "b", 0.1, 800, "  0.1 ... 800.0 !", 0.5, 1000, " 0.5 ... 1000.0 !", 1, 2, 0},
        };
    case TypeSpecimenKind::Compression:
        return {
            {kDiameter, "d", 0.01, 400, " 0.01 ... 400.0 !", 1, 1000, " 1.0 ... 1000.0 !", 1, 2, 0},
            {kCompressionHeight, "h", 0.01, 400, " 0.01 ... 400.0 !", 0.01, 1000,
             " 0.01 ... 1000.0 !", 2, 2, 0},
        };
    case TypeSpecimenKind::Universal: break;
    }
    return {};
}

int TypeSpecimenDecimals(const TypeSpecimenInput& input, const ParameterSet& p) {
    if (input.Decimals >= 0) return input.Decimals;
    const std::size_t slot = static_cast<std::size_t>(input.DecimalsSlot - 1);
    const int decimals = slot < p.Results.size() ? p.Results[slot].Decimals : 2;
    return decimals >= 0 && decimals <= 6 ? decimals : 2;
}

TypeSpecimenTexts LoadTypeSpecimenForm(int testType, const ParameterSet& p) {
    TypeSpecimenTexts t;
    t.SpecimenNo = p.SpecimenNo;
    t.SpecimenId = p.SpecimenId;
    const auto inputs = TypeSpecimenInputs(testType);
    auto shown = [&](std::size_t i, double value) {
        return FormatFixed(value, 0, TypeSpecimenDecimals(inputs[i], p));
    };
    switch (TypeSpecimenKindOf(testType)) {
    case TypeSpecimenKind::ShearOrFlexuralStrength:
        t.Dimensions = {shown(0, p.Flat.Lo), shown(1, p.Flat.a), shown(2, p.Flat.b),
                        shown(3, p.Flat.Lc)};
        break;
    case TypeSpecimenKind::Chain: t.Dimensions = {shown(0, p.Flat.Lo), shown(1, p.Flat.Lc)}; break;
    case TypeSpecimenKind::FlexuralModulus:
        t.Dimensions = {shown(0, p.Flat.Lo), shown(1, p.Flat.a), shown(2, p.Flat.b)};
        break;
    case TypeSpecimenKind::Compression:
        t.Dimensions = {shown(0, p.Round.d), shown(1, p.EffectiveLo)};
        break;
    case TypeSpecimenKind::Universal:
        // A divisor that is not above 0 would divide by nothing: it shows as 1.0.
        t.Dimensions = {FormatFixed(p.UniversalDivisor > 0 ? p.UniversalDivisor : 1.0, 0, 2)};
        break;
    }
    return t;
}

CheckResult CheckTypedDimension(int testType, std::size_t i, const std::string& text) {
    const auto inputs = TypeSpecimenInputs(testType);
    if (i >= inputs.size()) return std::nullopt;
    const TypeSpecimenInput& in = inputs[i];
    return CheckNumberField(static_cast<int>(i), text, in.TypingLow, in.TypingHigh,
                            in.TypingRange);
}

CheckResult CheckTypeSpecimenForm(int testType, const TypeSpecimenTexts& texts) {
    const auto inputs = TypeSpecimenInputs(testType);
    for (int order = 1; order <= static_cast<int>(inputs.size()); ++order) {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (inputs[i].AcceptOrder != order) continue;
            const std::string text = i < texts.Dimensions.size() ? texts.Dimensions[i] : "";
            if (auto failure = CheckNumberField(static_cast<int>(i), text, inputs[i].AcceptLow,
                                                inputs[i].AcceptHigh, inputs[i].AcceptRange)) {
                return failure;
            }
        }
    }
    return std::nullopt;
}

void TakeTypeSpecimenForm(int testType, const TypeSpecimenTexts& texts, ParameterSet& p,
                          ResultsRecord& current) {
    std::vector<float> v;
    for (const std::string& text : texts.Dimensions) v.push_back(Number(text));
    v.resize(4, 0.0f);
    p.SpecimenNo = Utf8Left(texts.SpecimenNo, 30);
    p.SpecimenId = Utf8Left(texts.SpecimenId, 30);
    p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Flat);
    p.EffectiveSo = 1.0f;
    switch (TypeSpecimenKindOf(testType)) {
    case TypeSpecimenKind::ShearOrFlexuralStrength:
        p.Flat.Lo = p.EffectiveLo = v[0];
        p.Flat.a = v[1];
        p.Flat.b = v[2];
        p.Flat.Lc = p.EffectiveLc = v[3];
        break;
    case TypeSpecimenKind::Chain:
        p.Flat.Lo = p.EffectiveLo = v[0];
        p.Flat.Lc = p.EffectiveLc = v[1];
        break;
    case TypeSpecimenKind::Universal:
        // Taken unchecked; a text that is no number gives 0, which the next opening shows as 1.
        p.UniversalDivisor = ParseNumber(texts.Dimensions.empty() ? "" : texts.Dimensions[0]);
        break;
    case TypeSpecimenKind::FlexuralModulus:
        p.Flat.Lo = p.Flat.Lc = p.GaugeLengthLe = Element(current, 0) = v[0];
        p.Flat.a = p.EffectiveLc = Element(current, 1) = v[1];
        p.Flat.b = p.EffectiveLo = Element(current, 2) = v[2];
        break;
    case TypeSpecimenKind::Compression: {
        const double d = v[0];
        p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Round);
        p.Round.d = Element(current, 0) = v[0];
        p.EffectiveSo = static_cast<float>(std::numbers::pi * d * d / 4.0);
        p.EffectiveLo = p.EffectiveLc = p.GaugeLengthLe = Element(current, 1) = v[1];
        break;
    }
    }
}

}  // namespace quorvex
