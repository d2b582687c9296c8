// The results definition of every test type as a table: its rows, what opening changes, and
// its option controls with the parameter-set fields they edit.
#include <cmath>

#include "definitions/results_definition_form.h"
#include "evaluation/result_elements.h"
#include "evaluation/test_types.h"

namespace quorvex {
namespace {

constexpr const char* kStress = "@stress";  // the unit that the "Dimension" choice names

std::vector<DefinitionRow> Rows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    std::vector<DefinitionRow> out;
    int slot = 1;
    for (const auto& [name, unit] : rows) out.push_back({slot++, name, unit});
    return out;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> out;
    for (int slot = first; slot <= last; ++slot) out.push_back(slot);
    return out;
}

OptionSpec Number(std::string key, int groupText, int textNumber, std::string caption,
                  std::string unit, int width, int decimals, double (*get)(const ParameterSet&),
                  void (*set)(ParameterSet&, double)) {
    OptionSpec o;
    o.Key = std::move(key);
    o.Kind = OptionKind::Number;
    o.GroupText = groupText;
    o.TextNumber = textNumber;
    o.Caption = std::move(caption);
    o.Unit = std::move(unit);
    o.Width = width;
    o.Decimals = decimals;
    o.Get = get;
    o.Set = set;
    return o;
}

OptionSpec Box(std::string key, int groupText, int textNumber, std::string caption,
               double (*get)(const ParameterSet&), void (*set)(ParameterSet&, double)) {
    OptionSpec o =
        Number(std::move(key), groupText, textNumber, std::move(caption), {}, 0, 0, get, set);
    o.Kind = OptionKind::Box;
    return o;
}

OptionSpec Spin(std::string key, int groupText, int textNumber, std::string caption,
                std::string unit, int low, int high, double (*get)(const ParameterSet&),
                void (*set)(ParameterSet&, double)) {
    OptionSpec o = Number(std::move(key), groupText, textNumber, std::move(caption),
                          std::move(unit), 0, 0, get, set);
    o.Kind = OptionKind::Spin;
    o.Low = low;
    o.High = high;
    return o;
}

OptionSpec Choice(std::string key, int groupText, std::vector<int> itemTexts,
                  std::vector<std::string> itemCaptions, double (*get)(const ParameterSet&),
                  void (*set)(ParameterSet&, double)) {
    OptionSpec o = Number(std::move(key), groupText, 0, {}, {}, 0, 0, get, set);
    o.Kind = OptionKind::Choice;
    o.ItemTexts = std::move(itemTexts);
    o.ItemCaptions = std::move(itemCaptions);
    return o;
}

OptionSpec Ranged(OptionSpec o, double low, double high, std::string rangeText) {
    o.Check = kBeforeLimits;
    o.CheckLow = low;
    o.CheckHigh = high;
    o.RangeText = std::move(rangeText);
    return o;
}

OptionSpec Positive(OptionSpec o, unsigned phases) {
    o.Check = phases;
    return o;
}

std::int32_t Int(double v) {
    return static_cast<std::int32_t>(std::lround(v));
}
std::uint8_t Flag(double v) {
    return v != 0 ? 1 : 0;
}

#define FIELD_GET(field) [](const ParameterSet& p) { return static_cast<double>(p.field); }

OptionSpec GripPressure() {
    OptionSpec o = Spin("GripPressure", 456, 457, {}, "%", 10, 100, FIELD_GET(GripPressurePercent),
                        [](ParameterSet& p, double v) { p.GripPressurePercent = Int(v); });
    o.NeedsHydraulicGrips = true;
    return o;
}

OptionSpec StrainByTdm(int groupText) {
    return Box("StrainByTdm", groupText, 501, {}, FIELD_GET(StrainByTdm),
               [](ParameterSet& p, double v) { p.StrainByTdm = Flag(v); });
}

std::vector<OptionSpec> ModulusMethodOptions() {
    // The third choice, the robust window, is beyond the two of the older programs, which
    // load it as "automatisch".
    return {Choice("ModulusMethod", 686, {687, 688, 999}, {}, FIELD_GET(ModulusMethod),
                   [](ParameterSet& p, double v) {
                       const int method = Int(v);
                       p.ModulusMethod = method == 1 || method == 2 ? method : 0;
                   }),
            Spin("ModulusF1", 686, 0, "F1 ", "%  Fmax", 1, 99, FIELD_GET(ModulusF1Percent),
                 [](ParameterSet& p, double v) { p.ModulusF1Percent = Int(v); }),
            Spin("ModulusF2", 686, 0, "F2 ", "%  Fmax", 2, 99, FIELD_GET(ModulusF2Percent),
                 [](ParameterSet& p, double v) { p.ModulusF2Percent = Int(v); })};
}

std::vector<OptionSpec> ProofStrainOptions(int groupText, const char* first, const char* second) {
    return {Number("ProofStrain1", groupText, 0, first, "%", 6, 4, FIELD_GET(ProofStrain),
                   [](ParameterSet& p, double v) { p.ProofStrain = static_cast<float>(v); }),
            Number("ProofStrain2", groupText, 0, second, "%", 6, 4, FIELD_GET(SecondProofStrain),
                   [](ParameterSet& p, double v) { p.SecondProofStrain = static_cast<float>(v); })};
}

DefinitionLayout TensileLayout() {
    DefinitionLayout l;
    l.ObjectName = "BtnRightDlg1";
    l.Kind = DefinitionKind::Tensile;
    l.Rows =
        Rows({{"a", "mm"},      {"b", "mm"},      {"d", "mm"},     {"D", "mm"},     {"So", "mm²"},
              {"ReH", kStress}, {"ReL", kStress}, {"Rp", kStress}, {"Rt", kStress}, {"Rm", kStress},
              {"Rr", kStress},  {"R1/R2", ""},    {"Ae", "%"},     {"Ag", "%"},     {"Agt", "%"},
              {"Ac", "%"},      {"At", "%"},      {"Z", "%"},      {"E", kStress},  {"r", ""},
              {"n", ""}});
    l.Decimals = DecimalsEdit::None;
    l.DecimalsOnOpening = {{6, 0}, {7, 0}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {19, 0}};
    l.MpaOnOpening = false;
    l.LockedTicked = Range(1, 4);
    l.EvaluatedOnOk = Range(1, 5);
    l.DisabledRow = 11;
    l.UncheckedSlots = {11, 20, 21};
    l.Options = {
        Ranged(Number("Rp", 72, 0, "Rp :", "%", 5, 2, FIELD_GET(ProofStrain),
                      [](ParameterSet& p, double v) { p.ProofStrain = static_cast<float>(v); }),
               0.0099, 5, " 0.01 ... 5.0 !"),
        Ranged(
            Number("Rt", 72, 0, "Rt :", "%", 5, 2, FIELD_GET(SecondProofStrain),
                   [](ParameterSet& p, double v) { p.SecondProofStrain = static_cast<float>(v); }),
            0.0099, 5, " 0.01 ... 5.0 !"),
        Ranged(Number("DeltaR", 76, 0, "Delta-R :", {}, 5, 0, FIELD_GET(YieldDropMin),
                      [](ParameterSet& p, double v) { p.YieldDropMin = static_cast<float>(v); }),
               2, 50000, " 2.0 ... 50000.0 !"),
        Ranged(Number("FixedModulus", 74, 0, "E:", {}, 8, 0, FIELD_GET(FixedModulus),
                      [](ParameterSet& p, double v) { p.FixedModulus = static_cast<float>(v); }),
               5000, 80000000, " 5000.0 ... 80000000.0 !"),
        Box("UseFixedModulus", 74, 0, {}, FIELD_GET(UseFixedModulus),
            [](ParameterSet& p, double v) { p.UseFixedModulus = Flag(v); }),
        Choice("Dimension", 73, {}, {"N/mm²", "MPa", "Psi"}, FIELD_GET(UnitSystem),
               [](ParameterSet& p, double v) { p.UnitSystem = Int(v); }),
        Choice("SecondProof", 75, {}, {"Rp2", "Rt"}, FIELD_GET(SecondProofIsRt),
               [](ParameterSet& p, double v) { p.SecondProofIsRt = Flag(v); }),
        Choice(
            "Ratio", 287, {},
            {"Rm/Rp", "Rm/Rt", "Rm/ReH", "Rm/ReL", "Rp/Rm", "Rt/Rm", "ReH/Rm", "ReL/Rm"},
            [](const ParameterSet& p) { return static_cast<double>(p.RatioKind - 1); },
            [](ParameterSet& p, double v) { p.RatioKind = Int(v) + 1; }),
        StrainByTdm(500),
        Spin("RPoint", 453, 332, {}, "%", 5, 20, FIELD_GET(RValuePointPercent),
             [](ParameterSet& p, double v) { p.RValuePointPercent = Int(v); }),
        Spin("NUpper", 454, 863, {}, "%", 11, 20, FIELD_GET(NValueUpperPercent),
             [](ParameterSet& p, double v) { p.NValueUpperPercent = Int(v); }),
    };
    for (OptionSpec& o : ModulusMethodOptions()) l.Options.push_back(std::move(o));
    l.Options.push_back(GripPressure());
    OptionSpec standard = Choice(
        "Standard", 0, {}, {"EN 10002", "ISO 898", "ISO 3506", "EN 2563"},
        [](const ParameterSet&) { return -1.0; }, nullptr);
    standard.GroupText = 828;  // "Zugversuch nach"
    standard.Stored = false;
    l.Options.push_back(std::move(standard));
    l.AltKeys = {{'F', 0, "FixedModulus"},
                 {'G', 19, nullptr},
                 {'K', 0, "UseFixedModulus"},
                 {'R', 5, nullptr},
                 {'V', 0, "DeltaR"}};
    return l;
}

DefinitionLayout ShearLayout(bool flexuralStrength) {
    DefinitionLayout l;
    l.ObjectName = "DefResult2Dlg";
    l.Kind = flexuralStrength ? DefinitionKind::FlexuralStrength : DefinitionKind::Shear;
    l.Rows = flexuralStrength ? Rows({{"l", "mm"},
                                      {"b", "mm"},
                                      {"h", "mm"},
                                      {"L", "mm"},
                                      {"Fmax", "N"},
                                      {"Rtf (fct)", "MPa"}})
                              : Rows({{"L", "mm"},
                                      {"b", "mm"},
                                      {"h / t", "mm"},
                                      {"lv", "mm"},
                                      {"Fmax", "N"},
                                      {"Tau", "MPa"}});
    l.DecimalsOnOpening = {{7, 0}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {19, 0}};
    l.EvaluatedOnOpening = {1};
    l.TickedOnOpening = {4};
    l.ClearedFrom = 7;
    l.ClearedTo = 21;
    l.RestoreOnCancel = true;
    if (flexuralStrength) {
        l.Options.push_back(Choice(
            "Bending", 654, {655, 656}, {},
            [](const ParameterSet& p) { return p.FlexuralThreePoint ? 0.0 : 1.0; },
            [](ParameterSet& p, double v) { p.FlexuralThreePoint = Int(v) == 0; }));
    }
    l.Options.push_back(GripPressure());
    return l;
}

DefinitionLayout ChainLayout() {
    DefinitionLayout l;
    l.ObjectName = "DefResult3Dlg";
    l.Kind = DefinitionKind::Chain;
    l.Rows = Rows({{"Lc", "mm"},
                   {"Lt", "mm"},
                   {"Fmax", "N"},
                   {"Lmax", "mm"},
                   {"Amax", "%"},
                   {"Fr", "N"},
                   {"Lr", "mm"},
                   {"Ar", "%"}});
    l.Decimals = DecimalsEdit::None;
    l.DecimalsOnOpening = {{1, 1}, {2, 1}, {3, 0}, {4, 1}, {5, 1}, {6, 0}, {7, 1}, {8, 1}};
    l.EvaluatedOnOpening = Range(1, 3);
    l.LockedTicked = Range(1, 3);
    l.ClearedFrom = 9;
    l.ClearedTo = 21;
    l.AlwaysEditable = true;
    l.Options = {GripPressure()};
    return l;
}

// The limits of slots 25-27 hold where the universal test takes F1, S1, F2, S2 and Wx.
template <int Slot, bool Max>
double SlotLimit(const ParameterSet& p) {
    const ResultDefinition& r = p.Results[Slot - 1];
    return Max ? r.LimitMax : r.LimitMin;
}
template <int Slot, bool Max>
void SetSlotLimit(ParameterSet& p, double v) {
    ResultDefinition& r = p.Results[Slot - 1];
    (Max ? r.LimitMax : r.LimitMin) = static_cast<float>(v);
}

constexpr int kAtText = 695;    // "bei"
constexpr int kUpToText = 696;  // "bis"

OptionSpec PointInput(std::string key, std::string caption, int captionText, std::string unit,
                      int decimalsSlot,
                      unsigned phases, double (*get)(const ParameterSet&),
                      void (*set)(ParameterSet&, double)) {
    OptionSpec o = Positive(
        Number(std::move(key), 333, 0, std::move(caption), std::move(unit), 10, 0, get, set),
        phases);
    o.DecimalsSlot = decimalsSlot;
    o.CaptionText = captionText;
    return o;
}

DefinitionLayout UniversalLayout() {
    DefinitionLayout l;
    l.ObjectName = "DefResult4Dlg";
    l.Kind = DefinitionKind::Universal;
    l.Rows = Rows({{"Fmax", "N"},
                   {"Smax", "mm"},
                   {"Fr", "N"},
                   {"Sr", "mm"},
                   {"Fx", "N"},
                   {"Sx", "mm"},
                   {"F1", "N"},
                   {"S1", "mm"},
                   {"F2", "N"},
                   {"S2", "mm"},
                   {"C", "N/mm"},
                   {"W", "J"},
                   {"Wx", "J"},
                   {"Swx", "mm"},
                   {"Delta-S", "mm"},
                   {"So", "mm²"},
                   {"Sig-X", "MPa"},
                   {"Sig-1", "MPa"},
                   {"Sig-2", "MPa"}});
    l.LockedTicked = {14, 16};
    l.ClearedFrom = 20;
    l.ClearedTo = 21;
    l.Options = {
        GripPressure(),
        PointInput("F1Travel", "F1 (Sig-1)  %1", kAtText, "mm", 8, kAfterMins, SlotLimit<25, false>,
                   SetSlotLimit<25, false>),
        PointInput("S1Force", "S1  %1", kAtText, "N", 7, kAfterMaxes, SlotLimit<25, true>,
                   SetSlotLimit<25, true>),
        PointInput("F2Travel", "F2 (Sig-2)  %1", kAtText, "mm", 10, kAfterMins, SlotLimit<26, false>,
                   SetSlotLimit<26, false>),
        PointInput("S2Force", "S2  %1", kAtText, "N", 9, kAfterMaxes, SlotLimit<26, true>,
                   SetSlotLimit<26, true>),
        // One input fills both limits of slot 27: the travel up to which Wx is taken.
        PointInput("Swx", "Wx  %1  Swx", kUpToText, "mm", 2, kAfterMins | kAfterMaxes, SlotLimit<27, false>,
                   [](ParameterSet& p, double v) {
                       SetSlotLimit<27, false>(p, v);
                       SetSlotLimit<27, true>(p, v);
                   }),
    };
    return l;
}

template <int I>
OptionSpec SigStrainPoint() {
    OptionSpec o =
        Positive(Number(
                     "SigPoint" + std::to_string(I + 1), 700, 0, "Sig-" + std::to_string(I + 1),
                     "%", 6, 0, [](const ParameterSet& p) { return p.SigStrainPoint[I]; },
                     // The evaluation takes whole percent: 2.6 is stored as 3.
                     [](ParameterSet& p, double v) { p.SigStrainPoint[I] = std::round(v); }),
                 kAfterMaxes);
    return o;
}

DefinitionLayout PlasticsLayout() {
    DefinitionLayout l;
    l.ObjectName = "DefResult5Dlg";
    l.Kind = DefinitionKind::Plastics;
    l.Rows = Rows({{"b", "mm"},
                   {"h", "mm"},
                   {"A", "mm²"},
                   {"Lo", "mm"},
                   {"Sig-Y", "MPa"},
                   {"Sig-M", "MPa"},
                   {"Sig-B", "MPa"},
                   {"Sig-1", "MPa"},
                   {"Sig-2", "MPa"},
                   {"Sig-3", "MPa"},
                   {"Sig-4", "MPa"},
                   {"Sig-5", "MPa"},
                   {"Eps-Y", "%"},
                   {"Eps-M", "%"},
                   {"Eps-B", "%"},
                   {"Eps-tM", "%"},
                   {"Eps-tB", "%"},
                   {"µ", ""},
                   {"E", "MPa"}});
    l.EvaluatedOnOpening = Range(1, 4);
    l.LockedTicked = Range(1, 4);
    l.ClearedFrom = 20;
    l.ClearedTo = 21;
    l.Options = {GripPressure(),
                 SigStrainPoint<0>(),
                 SigStrainPoint<1>(),
                 SigStrainPoint<2>(),
                 SigStrainPoint<3>(),
                 SigStrainPoint<4>(),
                 Number("DeltaSigY", 697, 0, "Delta-Sig-Y :", {}, 6, 1, FIELD_GET(YieldDropMin),
                        [](ParameterSet& p, double v) { p.YieldDropMin = static_cast<float>(v); })};
    for (OptionSpec& o : ProofStrainOptions(686, "Eps-X1 :", "Eps-X2 :")) {
        l.Options.push_back(std::move(o));
    }
    l.Options.push_back(StrainByTdm(500));
    l.Options.push_back(Box("StrainFromTravel", 698, 699, {}, FIELD_GET(StrainFromTravel),
                            [](ParameterSet& p, double v) { p.StrainFromTravel = Flag(v); }));
    return l;
}

DefinitionLayout FlexuralModulusLayout() {
    DefinitionLayout l;
    l.ObjectName = "DefResult6Dlg";
    l.Kind = DefinitionKind::FlexuralModulus;
    l.Rows = Rows({{"L", "mm"},
                   {"h", "mm"},
                   {"b", "mm"},
                   {"Ef", "MPa"},
                   {"Fmax", "N"},
                   {"Sig.-Fm", "MPa"},
                   {"Sm", "mm"}});
    l.EvaluatedOnOpening = Range(1, 4);
    l.LockedTicked = Range(1, 4);
    l.ClearedFrom = 8;
    l.ClearedTo = 21;
    // This type keeps its remark choice in slot 30, where its printed report reads it.
    l.RemarkSlot = RemarkSlot(static_cast<std::int32_t>(TestType::FlexuralModulus));
    l.FootnoteInSlot30 = false;
    l.Options = ProofStrainOptions(686, "Eps-X1 :", "Eps-X2 :");
    return l;
}

DefinitionLayout CompressionLayout() {
    DefinitionLayout l;
    l.ObjectName = "Result_DruckDlg";
    l.Kind = DefinitionKind::Compression;
    l.Pages = false;
    l.Rows = Rows({{"d", "mm"},
                   {"h", "mm"},
                   {"So", "mm²"},
                   {"Sig-dB", "MPa"},
                   {"Sig-dX1", "MPa"},
                   {"Sig-dX2", "MPa"},
                   {"Sig-dX3", "MPa"},
                   {"Sig-dF", "MPa"},
                   {"Eps-dB", "%"},
                   {"Phi-dB", "%"},
                   {"E-Modul", "MPa"}});
    l.Rows.back().TextNumber = 698;  // "E-Modul"
    l.EvaluatedOnOpening = Range(1, 3);
    l.LockedTicked = Range(1, 3);
    l.ClearedFrom = 12;
    l.ClearedTo = 21;
    l.FootnoteInSlot30 = false;
    l.Options = {
        GripPressure(),
        Number("dX1", 685, 0, "dX1 :", "%", 6, 4, FIELD_GET(ProofStrain),
               [](ParameterSet& p, double v) { p.ProofStrain = static_cast<float>(v); }),
        Number("dX2", 685, 0, "dX2 :", "%", 6, 4, FIELD_GET(SecondProofStrain),
               [](ParameterSet& p, double v) { p.SecondProofStrain = static_cast<float>(v); }),
        Number("dX3", 685, 0, "dX3 :", "%", 6, 4, FIELD_GET(ThirdProofStrain),
               [](ParameterSet& p, double v) { p.ThirdProofStrain = v; }),
        StrainByTdm(685),
    };
    for (OptionSpec& o : ModulusMethodOptions()) l.Options.push_back(std::move(o));
    l.Options.push_back(Box("ProbeMonitoring", 691, 0, "Aktiv", FIELD_GET(ProbeMonitoring),
                            [](ParameterSet& p, double v) { p.ProbeMonitoring = Flag(v); }));
    l.Options.push_back(Number("ProbeTolerance", 691, 692, {}, {}, 6, 1, FIELD_GET(ProbeTolerance),
                               [](ParameterSet& p, double v) { p.ProbeTolerance = v; }));
    l.Options.push_back(Number("CompressionLimit2", 691, 692, {}, {}, 6, 3,
                               FIELD_GET(CompressionLimit2),
                               [](ParameterSet& p, double v) { p.CompressionLimit2 = v; }));
    OptionSpec offset = Number("ForceOffset", 0, 135, {}, {}, 6, 1, FIELD_GET(ForceOffset),
                               [](ParameterSet& p, double v) { p.ForceOffset = v; });
    offset.GroupCaption = "Offset";
    l.Options.push_back(std::move(offset));
    l.Options.push_back(Box("StiffnessCorrection", 689, 71, {}, FIELD_GET(StiffnessCorrection),
                            [](ParameterSet& p, double v) { p.StiffnessCorrection = Flag(v); }));
    l.Options.push_back(Number("StiffnessDeformation", 689, 690, {}, "mm ", 6, 3,
                               FIELD_GET(StiffnessDeformation),
                               [](ParameterSet& p, double v) { p.StiffnessDeformation = v; }));
    l.Options.push_back(Number("StiffnessForce", 689, 332, {}, "kN", 6, 2,
                               FIELD_GET(StiffnessForce),
                               [](ParameterSet& p, double v) { p.StiffnessForce = v; }));
    return l;
}

#undef FIELD_GET

}  // namespace

DefinitionKind DefinitionKindOfTestType(int testType) {
    switch (testType) {
        case 3:
            return DefinitionKind::Shear;
        case 4:
            return DefinitionKind::Chain;
        case 5:
            return DefinitionKind::Universal;
        case 6:
            return DefinitionKind::Plastics;
        case 7:
            return DefinitionKind::FlexuralModulus;
        case 8:
            return DefinitionKind::FlexuralStrength;
        case 9:
            return DefinitionKind::Compression;
        default:
            return DefinitionKind::Tensile;
    }
}

const DefinitionLayout& LayoutOf(DefinitionKind kind) {
    static const DefinitionLayout layouts[] = {
        TensileLayout(),   ShearLayout(false), ShearLayout(true),       ChainLayout(),
        UniversalLayout(), PlasticsLayout(),   FlexuralModulusLayout(), CompressionLayout(),
    };
    return layouts[static_cast<int>(kind)];
}

}  // namespace quorvex
