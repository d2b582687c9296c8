// What the diagram settings dialog edits and which of its choices a test type refuses: plain
// functions over the parameter set, so that the rules are tested without widgets.
#pragma once

#include <array>
#include <string>

#include "evaluation/parameter_set.h"

namespace quorvex {

// The diagram-type codes of the items of "Diagrammtyp", in the order shown.
inline constexpr std::array<int, 7> kDiagramTypeCodes = {0, 1, 4, 2, 3, 5, 7};

// The item of a stored code; an unknown code shows the first item.
int DiagramTypeItem(int code);
// The code of an item; an item outside the list gives 0.
int DiagramTypeCode(int item);

// "Kraft/Zeit" (item 6) is a diagram type of the universal test only.
bool DiagramTypeItemAllowed(int item, int testType);
// "Kraft/Zeit" (item 3) starts the universal test only, which cannot start in "Kraft/FDM-Weg"
// or "Autoselekt" (items 1 and 2).
bool StartDiagramItemAllowed(int item, int testType);
// The shear, chain and both flexural tests always start in force/travel.
bool StartDiagramChoosable(int testType);

struct DiagramSettings {
    int TypeItem = 0;
    int StartItem = 0;
    bool AutoScale = false, CurveOffset = false, PrintColoured = false, HideGrid = false;
    std::string EnergyAxisEnd;  // "Endwert", 8 characters with 2 decimals
};

// The dialog opens: curves are always kept (SaveCurves becomes 1), and a test type that
// cannot choose its start diagram starts in force/travel.
DiagramSettings OpenDiagramSettings(ParameterSet& p);

// OK: the choices go into the parameter set; "Endwert" is taken as a number without a range
// check.
void StoreDiagramSettings(const DiagramSettings& s, ParameterSet& p);

}  // namespace quorvex
