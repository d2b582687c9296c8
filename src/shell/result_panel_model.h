// What the result panels of the main window show: the fields of each test type's group,
// their captions and units, and the texts and colours of a fill from the current results.
// Plain data, so that the formats and the limit colouring are tested without widgets.
#pragma once

#include <string>
#include <vector>

#include "evaluation/test_state.h"
#include "evaluation/test_types.h"

namespace quorvex {

enum class ResultGroup { Tensile, Shear, Chain, Universal, Plastics, FlexuralModulus, Compression };

ResultGroup GroupOfTestType(int testType);

// The values of the tensile group that are not elements of the results array.
enum class TensileValue {
    None,
    E,
    Rm,
    ReL,
    ReH,
    Rp,
    Rt,
    Ae,
    Ag,
    Z,
    Rr,
    Ratio,
    Ac,
    At,
    Agt,
    r,
    n,
    Fm,
    FeL,
    FeH,
    Fp,
    Ft,
    lg,
    lu,
    lgt,
    lut,
};

struct PanelField {
    std::string Name;     // fixed name by which the program and its tests find the field
    std::string Caption;  // the label beside it
    std::string Unit;     // empty: none
    int Tab = 0;          // tensile group: 0 "Ergebnisse 1", 1 "Ergebnisse 2"
    int Slot = 0;         // results-definition slot (1..30) of its limits; 0 none
    int Element = -1;     // element of the results array, or -1
    TensileValue Value = TensileValue::None;
    bool Remark = false;
};

struct PanelLayout {
    ResultGroup Group = ResultGroup::Tensile;
    std::vector<PanelField> Fields;
    bool RawProbeExport = false;  // compression: the button that exports the probes' raw data
};

// The group of the parameter set's test type with its labels: proof strains, Rt/Rp, the
// stress unit, the ratio, "Ac"/"Al", the strains of the plastics "Sig-" fields.
PanelLayout BuildPanelLayout(const ParameterSet& p);

// Index of a field by its name; -1 when the group has none.
int FieldIndex(const PanelLayout& layout, const std::string& name);

struct FieldDisplay {
    std::string Text;  // empty: nothing shown
    bool Red = false;  // outside the limits
};

// The texts of a fill: every value greater than 0 as 8 characters with the decimals of its
// result definition (the stored lengths lg, lu, lgt, lut as 5 with 1 decimal, the forces of
// tab 2 in kN with forceDecimals); red where the limit check is on and the value is outside.
std::vector<FieldDisplay> FillPanel(const PanelLayout& layout, const TestState& state,
                                    int forceDecimals);

// Raw value of a field in its display unit (psi converts stresses); 0 when it has none.
double FieldValue(const PanelField& field, const TestState& state);

// "Rm/Rp" ... "ReL/Rm" for the ratio choice 1..8.
std::string RatioCaption(int ratioKind);
// Stress-rate unit of the speed display by the unit system 0, 1, 2: "N/mm²/s", "MPa/s",
// "Mpa/s".
std::string StressRateUnit(int unitSystem);

}  // namespace quorvex
