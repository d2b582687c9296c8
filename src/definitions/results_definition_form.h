// The results definition of a test type as a plain form: which slots the dialog shows, what
// opening it changes at once, the checks of OK in their order and what OK stores. One engine
// serves every test type; each type is a table (results_definition_layouts.cpp).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "evaluation/field_checks.h"
#include "evaluation/parameter_set.h"

namespace quorvex {

enum class DefinitionKind {
    Tensile,           // types 0-2, TBtnRightDlg1
    Shear,             // type 3, TDefResult2Dlg in mode 0
    FlexuralStrength,  // type 8, TDefResult2Dlg in mode 1
    Chain,             // type 4, TDefResult3Dlg
    Universal,         // type 5, TDefResult4Dlg
    Plastics,          // type 6, TDefResult5Dlg
    FlexuralModulus,   // type 7, TDefResult6Dlg
    Compression,       // type 9, TResult_DruckDlg
};

DefinitionKind DefinitionKindOfTestType(int testType);

// One result row: the slot it edits, its name and the unit of its limits.
struct DefinitionRow {
    int Slot = 0;
    std::string Name;
    std::string Unit;
    int TextNumber = 0;  // a name that is a word, not a symbol, comes from the text table
};

enum class OptionKind { Number, Box, Spin, Choice };

// When an option input is checked on OK, relative to the limit inputs of the rows.
enum CheckPhase : unsigned {
    kNotChecked = 0,
    kBeforeLimits = 1,  // a range with text 181
    kAfterMins = 2,     // greater than 0, text 567
    kAfterMaxes = 4,    // greater than 0, text 567
};

constexpr int kPageEvaluation = 0;  // "Auswertung"
constexpr int kPageOptions = 1;     // "Optionen"

// One option control. Its value lives in the form as text: a number as shown, 0/1 for a box,
// the integer of a spin field, the item index of a choice.
struct OptionSpec {
    std::string Key;  // stable name by which the dialog and its tests find the control
    OptionKind Kind = OptionKind::Number;
    int GroupText = 0;         // the group box; 0 with GroupCaption, or no group
    std::string GroupCaption;  // when GroupText is 0
    int TextNumber = 0;        // label or box caption; 0: Caption
    std::string Caption;
    int CaptionText = 0;  // a word of the table that the fixed Caption holds at its "%1"
    std::string Unit;
    int Width = 6, Decimals = 0;  // a number is shown as FormatFixed(value, Width, Decimals)
    int DecimalsSlot = 0;         // when set: shown with width 10 and this slot's decimals
    int Low = 0, High = 0;        // spin range
    std::vector<int> ItemTexts;   // choice items by text number, or 0 with ItemCaptions
    std::vector<std::string> ItemCaptions;
    unsigned Check = kNotChecked;
    double CheckLow = 0, CheckHigh = 0;  // kBeforeLimits only
    std::string RangeText;               // kBeforeLimits only
    bool NeedsHydraulicGrips = false;    // enabled only on machines with automatic grips
    bool Stored = true;                  // false: a choice that only changes labels
    double (*Get)(const ParameterSet&) = nullptr;
    void (*Set)(ParameterSet&, double) = nullptr;
};

enum class DecimalsEdit { None, Spin };

struct DefinitionLayout {
    DefinitionKind Kind = DefinitionKind::Tensile;
    std::string ObjectName;  // the dialog's name: "BtnRightDlg1", "DefResult2Dlg", ...
    int CaptionText = 65;    // "Definition Resultate"
    bool Pages = true;       // two pages; false: everything on one page
    std::vector<DefinitionRow> Rows;
    DecimalsEdit Decimals = DecimalsEdit::Spin;
    std::vector<std::pair<int, int>> DecimalsOnOpening;  // (slot, decimals) written on opening
    bool MpaOnOpening = true;                            // UnitSystem := 1 on opening
    std::vector<int> EvaluatedOnOpening;                 // Evaluate := 1 on opening
    std::vector<int> LockedTicked;        // box ticked and disabled; Evaluate := 1 on OK
    std::vector<int> TickedOnOpening;     // box ticked on opening, still switchable
    std::vector<int> EvaluatedOnOk;       // Evaluate := 1 on OK whatever the box shows
    int ClearedFrom = 0, ClearedTo = -1;  // flags of these slots cleared on opening
    int DisabledRow = 0;                  // a slot that cannot be switched on; limits give 0
    std::vector<int> UncheckedSlots;      // limit inputs taken without a check
    int RemarkSlot = 22;                  // the print byte that "Bemerkung" edits
    bool FootnoteInSlot30 = true;         // "Fußnote" also edits slot 30's print byte
    bool RestoreOnCancel = false;         // Cancel undoes the opening changes too
    bool AlwaysEditable = false;          // ignores the project's read-only rule
    std::vector<OptionSpec> Options;
    // Alt+letter moves the focus: to a row's evaluate box (Slot) or to an option (Key).
    struct AltKey {
        char Letter;
        int Slot;
        const char* Key;
    };
    std::vector<AltKey> AltKeys;
};

const DefinitionLayout& LayoutOf(DefinitionKind kind);

struct RowForm {
    int Slot = 0;
    bool Evaluate = false, LimitActive = false, Print = false, Statistics = false;
    std::string Min, Max;
    int Decimals = 0;
};

struct DefinitionForm {
    std::vector<RowForm> Rows;  // in the order of the layout's rows
    std::map<std::string, std::string> Options;
    bool Remark = false;
    bool Footnote = false;
    bool AcAsAl = false;  // tensile: "ISO 3506" chosen, Ac shown as "Al" in mm
};

// What opening the dialog changes in the parameter set at once (it stays on Cancel, except
// where the layout restores the set).
// With restorePoint: the set as Cancel puts it back, where the layout restores on Cancel.
void ApplyOpeningChanges(const DefinitionLayout& layout, ParameterSet& p,
                         ParameterSet* restorePoint = nullptr);
// The controls' contents from the parameter set (after the opening changes).
DefinitionForm OpenDefinitionForm(const DefinitionLayout& layout, const ParameterSet& p);

bool IsLockedTicked(const DefinitionLayout& layout, int slot);

// Switching evaluate off clears the row's other boxes; a box set while evaluate is off is
// cleared again.
void ApplyBoxDependency(RowForm& row);

// Fields named by CheckFailure::Field: the limit inputs of a row, or an option.
int MinField(int row);
int MaxField(int row);
int OptionField(int option);
struct FieldRef {
    enum Kind { Min, Max, Option } What = Min;
    int Index = 0;  // row or option index
};
FieldRef DecodeField(int field);
// The page that shows a field.
int PageOfField(const DefinitionLayout& layout, int field);

// OK's checks in their order; the first failure.
CheckResult CheckDefinitionForm(const DefinitionLayout& layout, const DefinitionForm& form);
// OK after the checks passed.
void StoreDefinitionForm(const DefinitionLayout& layout, const DefinitionForm& form,
                         ParameterSet& p);

// Labels that follow the current choices of the tensile options.
std::string RowName(const DefinitionLayout& layout, const DefinitionRow& row,
                    const DefinitionForm& form);
std::string RowUnit(const DefinitionLayout& layout, const DefinitionRow& row,
                    const DefinitionForm& form);
// Captions of options that follow the choices ("Rp1 :" or "Rp :"); otherwise the option's own
// caption.
std::string OptionCaption(const OptionSpec& option, const DefinitionForm& form);

int OptionIndex(const DefinitionLayout& layout, const std::string& key);

}  // namespace quorvex
