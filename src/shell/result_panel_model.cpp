// Fields, labels and fill of the result panels.
#include "shell/result_panel_model.h"

#include <cmath>

#include "evaluation/result_elements.h"
#include "evaluation/result_limits.h"
#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"

namespace quorvex {
namespace {

PanelField Tensile(const char* name, std::string caption, std::string unit, int tab, int slot,
                   TensileValue value) {
    PanelField f;
    f.Name = name;
    f.Caption = std::move(caption);
    f.Unit = std::move(unit);
    f.Tab = tab;
    f.Slot = slot;
    f.Value = value;
    return f;
}

PanelField Element(std::string caption, int element, std::string unit = {}) {
    PanelField f;
    f.Name = caption;
    f.Caption = std::move(caption);
    f.Unit = std::move(unit);
    f.Element = element;
    f.Slot = element + 1;
    return f;
}

PanelField RemarkField() {
    PanelField f;
    f.Name = "Remark";
    f.Remark = true;
    return f;
}

void AddTensile(PanelLayout& layout, const ParameterSet& p) {
    using V = TensileValue;
    const std::string stress = StressUnit(p.UnitSystem);
    const std::string first = FormatFixed(p.ProofStrain, 4, 2);
    const std::string second = FormatFixed(p.SecondProofStrain, 4, 2);
    const bool rt = p.SecondProofIsRt != 0;
    const bool al = p.TestType == static_cast<int>(TestType::ScrewIso3506);
    auto& f = layout.Fields;
    f.push_back(Tensile("E", "E", stress, 0, 19, V::E));
    f.push_back(Tensile("Rm", "Rm", stress, 0, 10, V::Rm));
    f.push_back(Tensile("ReL", "ReL", stress, 0, 7, V::ReL));
    f.push_back(Tensile("ReH", "ReH", stress, 0, 6, V::ReH));
    f.push_back(Tensile("Rp", "Rp " + first, stress, 0, 8, V::Rp));
    f.push_back(Tensile("Rt", (rt ? "Rt " : "Rp ") + second, stress, 0, 9, V::Rt));
    f.push_back(Tensile("Ae", "Ae", "%", 0, 13, V::Ae));
    f.push_back(Tensile("Ag", "Ag", "%", 0, 14, V::Ag));
    f.push_back(Tensile("Z", "Z", "%", 0, 18, V::Z));
    f.push_back(Tensile("Rr", "Rr", stress, 0, 11, V::Rr));
    f.push_back(Tensile("Ratio", RatioCaption(p.RatioKind), "", 0, 12, V::Ratio));
    f.push_back(Tensile("Ac", al ? "Al" : "Ac", al ? "mm" : "%", 0, 16, V::Ac));
    f.push_back(Tensile("At", "At", "%", 0, 17, V::At));
    f.push_back(Tensile("Agt", "Agt", "%", 0, 15, V::Agt));
    f.push_back(Tensile("r", "r", "", 0, 20, V::r));
    f.push_back(Tensile("n", "n", "", 0, 21, V::n));
    f.push_back(RemarkField());
    f.push_back(Tensile("Fm", "Fm", "kN", 1, 0, V::Fm));
    f.push_back(Tensile("FeL", "FeL", "kN", 1, 0, V::FeL));
    f.push_back(Tensile("FeH", "FeH", "kN", 1, 0, V::FeH));
    f.push_back(Tensile("Fp", "Fp " + first, "kN", 1, 0, V::Fp));
    f.push_back(Tensile("Ft", (rt ? "Ft " : "Fp ") + second, "kN", 1, 0, V::Ft));
    f.push_back(Tensile("lg", "lg", "mm", 1, 0, V::lg));
    f.push_back(Tensile("lu", "lu", "mm", 1, 0, V::lu));
    f.push_back(Tensile("lgt", "lgt", "mm", 1, 0, V::lgt));
    f.push_back(Tensile("lut", "lut", "mm", 1, 0, V::lut));
}

// So is the cross-section the forces are taken on (mm², or in² in psi mode).
double TensileRaw(TensileValue value, const ResultsRecord& r, double So) {
    using V = TensileValue;
    switch (value) {
        case V::E:
            return r.E;
        case V::Rm:
            return r.Rm;
        case V::ReL:
            return r.ReL;
        case V::ReH:
            return r.ReH;
        case V::Rp:
            return r.Rp;
        case V::Rt:
            return r.Rp2;
        case V::Ae:
            return r.Ae;
        case V::Ag:
            return r.Ag;
        case V::Z:
            return r.Z;
        case V::Rr:
            return r.Rr;
        case V::Ratio:
            return r.RatioR1R2;
        case V::Ac:
            return r.Ac;
        case V::At:
            return r.At;
        case V::Agt:
            return r.Agt;
        case V::r:
            return r.r;
        case V::n:
            return r.n;
        // Forces from the stresses and the cross-section, in kN.
        case V::Fm:
            return static_cast<double>(r.Rm) * So / 1000;
        case V::FeL:
            return static_cast<double>(r.ReL) * So / 1000;
        case V::FeH:
            return static_cast<double>(r.ReH) * So / 1000;
        case V::Fp:
            return static_cast<double>(r.Rp) * So / 1000;
        case V::Ft:
            return static_cast<double>(r.Rp2) * So / 1000;
        case V::lg:
            return r.GaugeAtAg;
        case V::lu:
            return r.GaugeAtAc;
        case V::lgt:
            return r.GaugeAtAgt;
        case V::lut:
            return r.GaugeAtAt;
        case V::None:
            break;
    }
    return 0;
}

bool IsLength(TensileValue v) {
    return v == TensileValue::lg || v == TensileValue::lu || v == TensileValue::lgt ||
           v == TensileValue::lut;
}

bool IsForce(TensileValue v) {
    return v == TensileValue::Fm || v == TensileValue::FeL || v == TensileValue::FeH ||
           v == TensileValue::Fp || v == TensileValue::Ft;
}

// The raw value as the record holds it (stresses in N/mm²).
double RawValue(const PanelField& field, const TestState& state) {
    const ResultsRecord& r = state.TestSeries.Current();
    if (field.Element >= 0) {
        if (field.Element >= ResultsRecord::kResultCount) return 0;
        return r.Results[static_cast<std::size_t>(field.Element)];
    }
    // The record gets its So when the test enters the series; before that the specimen's.
    const double So = r.So > 0 ? r.So : state.Parameters.EffectiveSo;
    return TensileRaw(field.Value, r, So);
}

}  // namespace

ResultGroup GroupOfTestType(int testType) {
    switch (testType) {
        case 3:
        case 8:
            return ResultGroup::Shear;
        case 4:
            return ResultGroup::Chain;
        case 5:
            return ResultGroup::Universal;
        case 6:
            return ResultGroup::Plastics;
        case 7:
            return ResultGroup::FlexuralModulus;
        case 9:
            return ResultGroup::Compression;
        default:
            return ResultGroup::Tensile;
    }
}

std::string RatioCaption(int ratioKind) {
    switch (ratioKind) {
        case 3:
            return "Rm/ReH";
        case 4:
            return "Rm/ReL";
        case 5:
            return "Rp/Rm";
        case 6:
            return "Rt/Rm";
        case 7:
            return "ReH/Rm";
        case 8:
            return "ReL/Rm";
        default:
            return "Rm/Rp";
    }
}

// The rate follows the stress unit of the panels: N/mm² (0), MPa (1); the psi mode (2)
// runs its stages in MPa/s.
std::string StressRateUnit(int unitSystem) {
    switch (unitSystem) {
        case 1:
            return "MPa/s";
        case 2:
            return "Mpa/s";
        default:
            return "N/mm²/s";
    }
}

PanelLayout BuildPanelLayout(const ParameterSet& p) {
    PanelLayout layout;
    layout.Group = GroupOfTestType(p.TestType);
    auto& f = layout.Fields;
    switch (layout.Group) {
        case ResultGroup::Tensile:
            AddTensile(layout, p);
            return layout;
        case ResultGroup::Shear:
            f = {Element("Fmax", 4, "N"), Element("Tau", 5, "N/mm²")};
            break;
        case ResultGroup::Chain:
            f = {Element("Fmax", 2, "N"), Element("Lmax", 3, "mm"), Element("Amax", 4, "%"),
                 Element("Fr", 5, "N"),   Element("Lr", 6, "mm"),   Element("Ar", 7, "%")};
            break;
        case ResultGroup::Universal: {
            const char* names[] = {"Fmax", "Smax", "Fr", "Sr", "Fx", "Sx",  "F1",     "S1",
                                   "F2",   "S2",   "C",  "W",  "Wx", "Swx", "Delta-S"};
            for (int e = 0; e < 15; ++e) f.push_back(Element(names[e], e));
            f.push_back(Element("SigX", 16));
            f.push_back(Element("Sig1", 17));
            f.push_back(Element("Sig2", 18));
            break;
        }
        case ResultGroup::Plastics: {
            f = {Element("Sig-Y", 4), Element("Sig-M", 5), Element("Sig-B", 6)};
            for (int i = 0; i < 5; ++i) {
                const int element = 7 + i;
                PanelField sig = Element("Sig-", element);
                sig.Name = "Sig-" + std::to_string(i + 1);
                if (p.Results[static_cast<std::size_t>(element)].Evaluate) {
                    sig.Caption = "Sig-" + std::to_string(std::lround(p.SigStrainPoint[i]));
                }
                f.push_back(sig);
            }
            for (auto [name, element] : {std::pair{"Eps-Y", 12},
                                         {"Eps-M", 13},
                                         {"Eps-B", 14},
                                         {"µ", 17},
                                         {"E", 18},
                                         {"Eps-tB", 16},
                                         {"Eps-tM", 15}}) {
                f.push_back(Element(name, element));
            }
            break;
        }
        case ResultGroup::FlexuralModulus:
            f = {Element("Fmax", 4, "N"), Element("Ef", 3, "N/mm²"), Element("Sig.-fm", 5),
                 Element("Sm", 6, "mm")};
            break;
        case ResultGroup::Compression: {
            f.push_back(Element("Sig-B", 3));
            const double strains[] = {p.ProofStrain, p.SecondProofStrain, p.ThirdProofStrain};
            for (int i = 0; i < 3; ++i) {
                PanelField sig = Element("Sig-", 4 + i);
                sig.Name = "Sig-X" + std::to_string(i + 1);
                std::string heading = CompressionColumnHeading(strains[i]);
                sig.Caption = "Sig-" + heading.substr(5);  // "Sig-d0.2" shown as "Sig-0.2"
                f.push_back(sig);
            }
            f.push_back(Element("Sig-F", 7));
            f.push_back(Element("Phi-dB", 9, "%"));
            f.push_back(Element("Eps-dB", 8, "%"));
            f.push_back(Element("E", 10));
            break;
        }
    }
    f.push_back(RemarkField());
    return layout;
}

int FieldIndex(const PanelLayout& layout, const std::string& name) {
    for (std::size_t i = 0; i < layout.Fields.size(); ++i) {
        if (layout.Fields[i].Name == name) return static_cast<int>(i);
    }
    return -1;
}

double FieldValue(const PanelField& field, const TestState& state) {
    const double raw = RawValue(field, state);
    const ParameterSet& p = state.Parameters;
    if (field.Element < 0 && field.Slot > 0 && IsTensileStressSlot(field.Slot) &&
        p.UnitSystem == static_cast<int>(UnitSystem::Psi)) {
        return raw * kPsiPerNPerMm2;
    }
    return raw;
}

std::vector<FieldDisplay> FillPanel(const PanelLayout& layout, const TestState& state,
                                    int forceDecimals) {
    std::vector<FieldDisplay> shown(layout.Fields.size());
    const ParameterSet& p = state.Parameters;
    for (std::size_t i = 0; i < layout.Fields.size(); ++i) {
        const PanelField& field = layout.Fields[i];
        if (field.Remark) {
            shown[i].Text = state.TestSeries.Current().Remark;
            continue;
        }
        const double value = FieldValue(field, state);
        if (!(value > 0)) continue;
        if (IsLength(field.Value)) {
            shown[i].Text = FormatFixed(value, 5, 1);
            continue;
        }
        int decimals = 0;
        if (IsForce(field.Value)) {
            decimals = forceDecimals;
        } else if (field.Slot >= 1 && field.Slot <= kResultDefinitionSlots) {
            // The decimals of the field's own results definition, for every test type.
            decimals = p.Results[static_cast<std::size_t>(field.Slot - 1)].Decimals;
        }
        shown[i].Text = FormatFixed(value, 8, decimals);
        if (field.Slot > 0) shown[i].Red = OutsideLimits(p, field.Slot, RawValue(field, state));
    }
    return shown;
}

}  // namespace quorvex
