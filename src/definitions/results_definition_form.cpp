// The engine of the results-definition form: opening, checks and storing over a type's table.
#include "definitions/results_definition_form.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "evaluation/text_functions.h"

namespace quorvex {
namespace {

constexpr int kOptionFieldBase = 1000;

bool Contains(const std::vector<int>& list, int slot) {
    return std::find(list.begin(), list.end(), slot) != list.end();
}

ResultDefinition& Slot(ParameterSet& p, int slot) {
    return p.Results[static_cast<std::size_t>(slot - 1)];
}
const ResultDefinition& Slot(const ParameterSet& p, int slot) {
    return p.Results[static_cast<std::size_t>(slot - 1)];
}

std::string LimitText(float limit, int decimals) {
    return RemoveBlanks(FormatFixed(limit, 10, std::clamp(decimals, 0, 9)));
}

// A number a float field can hold; anything else is no number.
ParsedNumber ParseFloat(const std::string& text) {
    return ParseNumberInRange(text, -FLT_MAX, FLT_MAX);
}

// A lower limit of 0 sets no lower bound, and the limits of a result that is switched off are
// not used at all: there 0 passes. Only the upper limit of a result in use must be greater
// than 0. A dialog must accept what it shows on opening: a new project of another test type
// inherits the slots of the previous type (the tensile Rr row leaves 0 ... 0 behind), and a
// type's fixed decimals show a lower limit of 0.05 as "0".
constexpr const char* kPositiveRange = " > 0 !";
constexpr const char* kNotNegativeRange = " >= 0 !";

CheckResult CheckPositive(int field, const std::string& text) {
    return CheckNumberField(field, text, FLT_MIN, FLT_MAX, kPositiveRange);
}

CheckResult CheckNotNegative(int field, const std::string& text) {
    return CheckNumberField(field, text, 0, FLT_MAX, kNotNegativeRange);
}

bool Checked(const DefinitionLayout& layout, const DefinitionRow& row) {
    return row.Slot != layout.DisabledRow && !Contains(layout.UncheckedSlots, row.Slot);
}

std::string OptionText(const OptionSpec& o, const ParameterSet& p) {
    const double value = o.Get ? o.Get(p) : 0.0;
    switch (o.Kind) {
        case OptionKind::Number:
            if (o.DecimalsSlot > 0)
                return LimitText(static_cast<float>(value), Slot(p, o.DecimalsSlot).Decimals);
            return RemoveBlanks(FormatFixed(value, o.Width, o.Decimals));
        case OptionKind::Box:
            return value != 0 ? "1" : "0";
        case OptionKind::Spin:
        case OptionKind::Choice:
            return std::to_string(std::lround(value));
    }
    return {};
}

void StoreOption(const OptionSpec& o, const std::string& text, ParameterSet& p) {
    if (!o.Stored || !o.Set) return;
    switch (o.Kind) {
        case OptionKind::Number: {
            // An input taken without a check keeps the stored value when it holds no number.
            const ParsedNumber number = ParseFloat(text);
            if (number.valid) o.Set(p, number.value);
            return;
        }
        case OptionKind::Box:
            o.Set(p, text == "1" ? 1 : 0);
            return;
        case OptionKind::Spin: {
            const ParsedInteger number = ParseIntegerInRange(text, o.Low, o.High);
            if (number.valid) o.Set(p, static_cast<double>(number.value));
            return;
        }
        case OptionKind::Choice: {
            const long long items =
                static_cast<long long>(std::max(o.ItemTexts.size(), o.ItemCaptions.size()));
            const ParsedInteger item = ParseIntegerInRange(text, 0, items - 1);
            if (item.valid) o.Set(p, static_cast<double>(item.value));
            return;
        }
    }
}

std::string OptionValue(const DefinitionForm& form, const std::string& key) {
    const auto it = form.Options.find(key);
    return it == form.Options.end() ? std::string{} : it->second;
}

}  // namespace

bool IsLockedTicked(const DefinitionLayout& layout, int slot) {
    return Contains(layout.LockedTicked, slot);
}

void ApplyOpeningChanges(const DefinitionLayout& layout, ParameterSet& p,
                         ParameterSet* restorePoint) {
    if (layout.MpaOnOpening) p.UnitSystem = 1;
    for (const auto& [slot, decimals] : layout.DecimalsOnOpening) Slot(p, slot).Decimals = decimals;
    if (restorePoint && layout.RestoreOnCancel) *restorePoint = p;
    for (int slot : layout.EvaluatedOnOpening) Slot(p, slot).Evaluate = 1;
    for (int slot = layout.ClearedFrom; slot <= layout.ClearedTo; ++slot) {
        ResultDefinition& r = Slot(p, slot);
        r.Evaluate = r.LimitActive = r.PrintInReport = r.PrintInList = 0;
    }
}

DefinitionForm OpenDefinitionForm(const DefinitionLayout& layout, const ParameterSet& p) {
    DefinitionForm form;
    for (const DefinitionRow& row : layout.Rows) {
        const ResultDefinition& r = Slot(p, row.Slot);
        RowForm f;
        f.Slot = row.Slot;
        f.Decimals = r.Decimals;
        if (row.Slot == layout.DisabledRow) {
            f.Min = f.Max = "  -";
        } else {
            f.Evaluate = r.Evaluate != 0 || IsLockedTicked(layout, row.Slot) ||
                         Contains(layout.TickedOnOpening, row.Slot);
            f.LimitActive = r.LimitActive != 0;
            f.Print = r.PrintInReport != 0;
            f.Statistics = r.PrintInList != 0;
            f.Min = LimitText(r.LimitMin, r.Decimals);
            f.Max = LimitText(r.LimitMax, r.Decimals);
        }
        form.Rows.push_back(f);
    }
    for (const OptionSpec& o : layout.Options) form.Options[o.Key] = OptionText(o, p);
    form.Remark = Slot(p, layout.RemarkSlot).PrintInReport != 0;
    form.Footnote = p.PrintFootnote != 0;
    return form;
}

void ApplyBoxDependency(RowForm& row) {
    if (row.Evaluate) return;
    row.LimitActive = row.Print = row.Statistics = false;
}

int MinField(int row) {
    return 2 * row;
}
int MaxField(int row) {
    return 2 * row + 1;
}
int OptionField(int option) {
    return kOptionFieldBase + option;
}

FieldRef DecodeField(int field) {
    if (field >= kOptionFieldBase) return {FieldRef::Option, field - kOptionFieldBase};
    return {field % 2 == 0 ? FieldRef::Min : FieldRef::Max, field / 2};
}

int PageOfField(const DefinitionLayout& layout, int field) {
    if (!layout.Pages) return kPageEvaluation;
    return DecodeField(field).What == FieldRef::Option ? kPageOptions : kPageEvaluation;
}

CheckResult CheckDefinitionForm(const DefinitionLayout& layout, const DefinitionForm& form) {
    auto checkOptions = [&](unsigned phase) -> CheckResult {
        for (std::size_t i = 0; i < layout.Options.size(); ++i) {
            const OptionSpec& o = layout.Options[i];
            if ((o.Check & phase) == 0) continue;
            const int field = OptionField(static_cast<int>(i));
            const std::string text = OptionValue(form, o.Key);
            CheckResult failure =
                phase == kBeforeLimits
                    ? CheckNumberField(field, text, o.CheckLow, o.CheckHigh, o.RangeText)
                    : CheckNotNegative(field, text);  // 0: the point is not determined
            if (failure) return failure;
        }
        return std::nullopt;
    };
    auto checkLimits = [&](bool max) -> CheckResult {
        for (std::size_t i = 0; i < layout.Rows.size() && i < form.Rows.size(); ++i) {
            if (!Checked(layout, layout.Rows[i])) continue;
            const int row = static_cast<int>(i);
            const RowForm& f = form.Rows[i];
            const bool used = f.Evaluate || IsLockedTicked(layout, f.Slot) ||
                              Contains(layout.EvaluatedOnOk, f.Slot);
            const int field = max ? MaxField(row) : MinField(row);
            const std::string& text = max ? f.Max : f.Min;
            if (CheckResult failure = used && max ? CheckPositive(field, text)
                                                  : CheckNotNegative(field, text)) {
                return failure;
            }
        }
        return std::nullopt;
    };
    if (CheckResult f = checkOptions(kBeforeLimits)) return f;
    if (CheckResult f = checkLimits(false)) return f;
    if (CheckResult f = checkOptions(kAfterMins)) return f;
    if (CheckResult f = checkLimits(true)) return f;
    return checkOptions(kAfterMaxes);
}

void StoreDefinitionForm(const DefinitionLayout& layout, const DefinitionForm& form,
                         ParameterSet& p) {
    for (std::size_t i = 0; i < layout.Rows.size() && i < form.Rows.size(); ++i) {
        const DefinitionRow& row = layout.Rows[i];
        const RowForm& f = form.Rows[i];
        ResultDefinition& r = Slot(p, row.Slot);
        if (row.Slot == layout.DisabledRow) {
            r.LimitMin = r.LimitMax = 0;
            r.Evaluate = r.LimitActive = r.PrintInReport = r.PrintInList = 0;
            continue;
        }
        if (const ParsedNumber min = ParseFloat(f.Min); min.valid) {
            r.LimitMin = static_cast<float>(min.value);
        }
        if (const ParsedNumber max = ParseFloat(f.Max); max.valid) {
            r.LimitMax = static_cast<float>(max.value);
        }
        const bool forced =
            IsLockedTicked(layout, row.Slot) || Contains(layout.EvaluatedOnOk, row.Slot);
        r.Evaluate = f.Evaluate || forced ? 1 : 0;
        r.LimitActive = f.LimitActive ? 1 : 0;
        r.PrintInReport = f.Print ? 1 : 0;
        r.PrintInList = f.Statistics ? 1 : 0;
        if (layout.Decimals == DecimalsEdit::Spin) r.Decimals = std::clamp(f.Decimals, 0, 5);
    }
    Slot(p, layout.RemarkSlot).PrintInReport = form.Remark ? 1 : 0;
    p.PrintFootnote = form.Footnote ? 1 : 0;
    if (layout.FootnoteInSlot30) Slot(p, 30).PrintInReport = p.PrintFootnote;
    for (const OptionSpec& o : layout.Options) StoreOption(o, OptionValue(form, o.Key), p);
}

std::string RowName(const DefinitionLayout& layout, const DefinitionRow& row,
                    const DefinitionForm& form) {
    if (layout.Kind != DefinitionKind::Tensile) return row.Name;
    const bool rt = OptionValue(form, "SecondProof") == "1";
    switch (row.Slot) {
        case 8:
            return rt ? "Rp" : "Rp1";
        case 9:
            return rt ? "Rt" : "Rp2";
        case 12: {
            const OptionSpec& ratio =
                layout.Options[static_cast<std::size_t>(OptionIndex(layout, "Ratio"))];
            const ParsedInteger item =
                ParseIntegerInRange(OptionValue(form, "Ratio"), 0,
                                    static_cast<long long>(ratio.ItemCaptions.size()) - 1);
            return ratio.ItemCaptions[item.valid ? static_cast<std::size_t>(item.value) : 0];
        }
        case 16:
            return form.AcAsAl ? "Al" : "Ac";
        default:
            return row.Name;
    }
}

std::string RowUnit(const DefinitionLayout& layout, const DefinitionRow& row,
                    const DefinitionForm& form) {
    if (row.Unit == "@stress") {
        const std::string item = OptionValue(form, "Dimension");
        return item == "1" ? "MPa" : item == "2" ? "Psi" : "N/mm²";
    }
    if (layout.Kind == DefinitionKind::Tensile && row.Slot == 16 && form.AcAsAl) return "mm";
    return row.Unit;
}

std::string OptionCaption(const OptionSpec& option, const DefinitionForm& form) {
    const bool rt = OptionValue(form, "SecondProof") == "1";
    if (option.Key == "Rp") return rt ? "Rp :" : "Rp1 :";
    if (option.Key == "Rt") return rt ? "Rt :" : "Rp2 :";
    return option.Caption;
}

int OptionIndex(const DefinitionLayout& layout, const std::string& key) {
    for (std::size_t i = 0; i < layout.Options.size(); ++i) {
        if (layout.Options[i].Key == key) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace quorvex
