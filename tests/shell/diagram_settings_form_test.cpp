// The rules of the diagram settings: the codes of the diagram types, the choices a test type
// refuses, and what opening and confirming the dialog does to the parameter set.
#include "shell/diagram_settings_form.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(DiagramSettingsForm, DiagramTypeItemsAndTheirCodes) {
    const int codes[] = {0, 1, 4, 2, 3, 5, 7};
    for (int item = 0; item < 7; ++item) {
        EXPECT_EQ(DiagramTypeCode(item), codes[item]);
        EXPECT_EQ(DiagramTypeItem(codes[item]), item);
    }
    EXPECT_EQ(DiagramTypeItem(6), 0);  // no such code
    EXPECT_EQ(DiagramTypeCode(7), 0);
}

TEST(DiagramSettingsForm, ChoicesTheTestTypeRefuses) {
    struct Case {
        int type;
        bool forceTime, startForceTime, startExtensometer, startAutomatic, startChoosable;
    } cases[] = {
        {0, false, false, true, true, true},  {5, true, true, false, false, true},
        {9, false, false, true, true, true},  {3, false, false, true, true, false},
        {4, false, false, true, true, false}, {7, false, false, true, true, false},
        {8, false, false, true, true, false}, {6, false, false, true, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DiagramTypeItemAllowed(6, c.type), c.forceTime) << c.type;
        EXPECT_TRUE(DiagramTypeItemAllowed(2, c.type));
        EXPECT_EQ(StartDiagramItemAllowed(3, c.type), c.startForceTime) << c.type;
        EXPECT_EQ(StartDiagramItemAllowed(1, c.type), c.startExtensometer) << c.type;
        EXPECT_EQ(StartDiagramItemAllowed(2, c.type), c.startAutomatic) << c.type;
        EXPECT_TRUE(StartDiagramItemAllowed(0, c.type));
        EXPECT_EQ(StartDiagramChoosable(c.type), c.startChoosable) << c.type;
    }
}

TEST(DiagramSettingsForm, OpeningKeepsCurvesAndConfirmingStoresTheChoices) {
    ParameterSet p;
    p.SaveCurves = 0;
    p.TestType = 3;
    p.StartDiagram = 2;
    p.DiagramType = 4;
    p.EnergyAxisEnd = 12.5;
    DiagramSettings s = OpenDiagramSettings(p);
    EXPECT_EQ(p.SaveCurves, 1);
    EXPECT_EQ(s.StartItem, 0);  // the shear test starts in force/travel
    EXPECT_EQ(s.TypeItem, 2);   // "Kraft/Breitenänderung"
    EXPECT_EQ(s.EnergyAxisEnd, "   12.50");

    s.TypeItem = 2;
    s.StartItem = 1;
    s.AutoScale = false;
    s.HideGrid = true;
    s.CurveOffset = true;
    s.PrintColoured = false;
    s.EnergyAxisEnd = "7.25";
    p.SaveCurves = 0;
    StoreDiagramSettings(s, p);
    EXPECT_EQ(p.DiagramType, 4);
    EXPECT_EQ(p.StartDiagram, 1);
    EXPECT_EQ(p.SaveCurves, 1);
    EXPECT_EQ(p.DiagramAutoScale, 0);
    EXPECT_EQ(p.HideGrid, 1);
    EXPECT_EQ(p.CurveOffset, 1);
    EXPECT_EQ(p.PrintCurveColoured, 0);
    EXPECT_DOUBLE_EQ(p.EnergyAxisEnd, 7.25);
}

}  // namespace
}  // namespace quorvex
