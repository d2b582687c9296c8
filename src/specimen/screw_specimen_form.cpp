#include "specimen/screw_specimen_form.h"

#include <numbers>

#include "evaluation/cross_section.h"
#include "evaluation/text_functions.h"
#include "evaluation/win1252.h"

namespace quorvex {
namespace {

struct InputRange {
    double low, high;
    const char* text;
};

InputRange TypingRange(ScrewField field) {
    switch (field) {
        case ScrewField::TurnedDiameter: return {0.1, 200, " 0.1 ... 200.0 !"};
        case ScrewField::Le: return {4, 500, " 4.0 ... 500.0 !"};
        default: return {1, 999, " 1.0 ... 999.0 !"};
    }
}

const std::string& TextOf(const ScrewFormTexts& t, ScrewField field) {
    switch (field) {
        case ScrewField::TurnedDiameter: return t.TurnedDiameter;
        case ScrewField::TurnedLo: return t.TurnedLo;
        case ScrewField::TurnedLc: return t.TurnedLc;
        case ScrewField::WholeLo: return t.WholeLo;
        case ScrewField::WholeLc: return t.WholeLc;
        case ScrewField::Le: break;
    }
    return t.Le;
}

CheckResult Check(ScrewField field, const std::string& text, double low, double high,
                  const char* range) {
    // The screw dialog names its ranges after text 567 "Ungültige Eingabe!".
    CheckResult failure = CheckNumberField(static_cast<int>(field), text, low, high, range);
    if (failure) failure->TextNumber = kInvalidTextNumber;
    return failure;
}

}  // namespace

std::string ThreadSizeListItem(int index) {
    std::string name = SizeName(index + 1);
    for (char& c : name) {
        if (c == '.') c = ',';
    }
    return name;
}

ScrewFormTexts LoadScrewForm(int testType, const ParameterSet& p, const UserScrewTable& table) {
    ScrewFormTexts t;
    ScrewSelection& s = t.Selection;
    s.TestType = testType;
    s.WholeScrew = p.StressAreaFlag != 0;
    s.Kind = p.ThreadKind >= 0 && p.ThreadKind <= 2 ? p.ThreadKind : 0;
    s.ThreadSizeIndex =
        p.ThreadSizeIndex >= 0 && p.ThreadSizeIndex < kThreadSizeCount ? p.ThreadSizeIndex : 1;
    s.StrengthClassIndex = p.StrengthClassIndex >= 0 && p.StrengthClassIndex < kIso898ClassCount
                               ? p.StrengthClassIndex
                               : 0;
    const double stainless = p.StainlessClassIndex;
    s.StainlessClassIndex = stainless >= 0 && stainless < kIso3506ClassCount
                                ? static_cast<int>(stainless)
                                : 0;
    s.UserTableRow = p.UserTableRow >= 1 && p.UserTableRow <= table.Count ? p.UserTableRow : 1;
    s.TurnedDiameter = p.Round.d;
    t.SpecimenNo = p.SpecimenNo;
    t.SpecimenId = p.SpecimenId;
    t.TurnedDiameter = FormatFixed(p.Round.d, 0, 3);
    t.TurnedLo = t.WholeLo = FormatFixed(p.Round.Lo, 0, 2);
    t.TurnedLc = t.WholeLc = FormatFixed(p.Round.Lc, 0, 2);
    t.Le = FormatFixed(p.GaugeLengthLe, 0, 1);
    t.Designation = ScrewDesignation(s, table);
    return t;
}

double ScrewCrossSection(const ScrewFormTexts& texts, const UserScrewTable& table) {
    ScrewSelection s = texts.Selection;
    s.TurnedDiameter = ParseNumber(texts.TurnedDiameter);
    return StressArea(s, table);
}

CheckResult CheckScrewInput(ScrewField field, const std::string& text) {
    const InputRange r = TypingRange(field);
    return Check(field, text, r.low, r.high, r.text);
}

int ScrewInputDecimals(ScrewField field) {
    switch (field) {
        case ScrewField::TurnedDiameter: return 3;
        case ScrewField::TurnedLo:
        case ScrewField::TurnedLc: return 2;
        default: return 1;
    }
}

CheckResult CheckScrewForm(const ScrewFormTexts& t) {
    if (auto f = Check(ScrewField::Le, t.Le, 4, 500, " 4.0 ... 500.0 !")) return f;
    // do is checked for the whole screw too: its stored diameter must be a real one.
    if (auto f = Check(ScrewField::TurnedDiameter, t.TurnedDiameter, 1, 200, " 1.0 ... 200.0 !"))
        return f;
    const bool whole = t.Selection.WholeScrew;
    for (const ScrewField field : {whole ? ScrewField::WholeLo : ScrewField::TurnedLo,
                                   whole ? ScrewField::WholeLc : ScrewField::TurnedLc}) {
        if (auto f = Check(field, TextOf(t, field), 1, 999, " 1.0 ... 999.0 !")) return f;
    }
    return std::nullopt;
}

void TakeScrewForm(const ScrewFormTexts& t, const UserScrewTable& table, ParameterSet& p,
                   ResultsRecord& current) {
    const ScrewSelection& s = t.Selection;
    const bool whole = s.WholeScrew;
    const float d = static_cast<float>(ParseNumber(t.TurnedDiameter));
    const float lo = static_cast<float>(ParseNumber(whole ? t.WholeLo : t.TurnedLo));
    const float lc = static_cast<float>(ParseNumber(whole ? t.WholeLc : t.TurnedLc));
    p.EffectiveSo = static_cast<float>(ScrewCrossSection(t, table));
    p.EffectiveLo = lo;
    p.EffectiveLc = lc;
    p.GaugeLengthLe = static_cast<float>(ParseNumber(t.Le));
    p.Round.d = d;
    p.Round.Lo = lo;
    p.Round.Lc = lc;
    p.Round.So = p.EffectiveSo;
    p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Round);
    p.SpecimenNo = Utf8Left(t.SpecimenNo, 30);
    p.SpecimenId = Utf8Left(t.SpecimenId, 30);
    p.ThreadKind = s.Kind;
    p.UserTableRow = s.UserTableRow;
    p.ThreadSizeIndex = s.ThreadSizeIndex;
    p.StrengthClassIndex = s.StrengthClassIndex;
    p.StainlessClassIndex = s.StainlessClassIndex;
    p.StressAreaFlag = whole ? 1 : 0;
    current.Remark = Utf8Left(t.Designation, 40);
}

}  // namespace quorvex
