// The rules of the diagram settings dialog.
#include "shell/diagram_settings_form.h"

#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"

namespace quorvex {
namespace {

constexpr int kUniversal = static_cast<int>(TestType::Universal);

}  // namespace

int DiagramTypeItem(int code) {
    for (std::size_t i = 0; i < kDiagramTypeCodes.size(); ++i) {
        if (kDiagramTypeCodes[i] == code) return static_cast<int>(i);
    }
    return 0;
}

int DiagramTypeCode(int item) {
    if (item < 0 || item >= static_cast<int>(kDiagramTypeCodes.size())) return 0;
    return kDiagramTypeCodes[static_cast<std::size_t>(item)];
}

bool DiagramTypeItemAllowed(int item, int testType) {
    return item != 6 || testType == kUniversal;
}

bool StartDiagramItemAllowed(int item, int testType) {
    if (testType == kUniversal) return item != 1 && item != 2;
    return item != 3;
}

bool StartDiagramChoosable(int testType) {
    return testType != 3 && testType != 4 && testType != 7 && testType != 8;
}

DiagramSettings OpenDiagramSettings(ParameterSet& p) {
    p.SaveCurves = 1;
    if (!StartDiagramChoosable(p.TestType)) p.StartDiagram = 0;
    DiagramSettings s;
    s.TypeItem = DiagramTypeItem(p.DiagramType);
    s.StartItem = p.StartDiagram >= 0 && p.StartDiagram <= 3 ? p.StartDiagram : 0;
    s.AutoScale = p.DiagramAutoScale != 0;
    s.CurveOffset = p.CurveOffset != 0;
    s.PrintColoured = p.PrintCurveColoured != 0;
    s.HideGrid = p.HideGrid != 0;
    s.EnergyAxisEnd = FormatFixed(p.EnergyAxisEnd, 8, 2);
    return s;
}

void StoreDiagramSettings(const DiagramSettings& s, ParameterSet& p) {
    p.DiagramType = static_cast<std::uint8_t>(DiagramTypeCode(s.TypeItem));
    p.DiagramAutoScale = s.AutoScale;
    p.SaveCurves = 1;
    p.CurveOffset = s.CurveOffset;
    p.PrintCurveColoured = s.PrintColoured;
    p.HideGrid = s.HideGrid;
    p.StartDiagram = s.StartItem;
    p.EnergyAxisEnd = ParseNumber(s.EnergyAxisEnd);
}

}  // namespace quorvex
