// The live diagram's views, ranges, plot, rescale, range buttons and magnifier, drawn into a
// canvas that records what it was asked to draw.
#include "run/live_diagram_model.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace quorvex {
namespace {

struct RecordingCanvas : DiagramCanvas {
    int axes = 0;
    DiagramAxes lastAxes;
    std::vector<std::array<int, 2>> points;
    std::vector<std::array<int, 4>> segments;
    std::vector<DiagramMark> marks;
    void DrawAxes(const DiagramAxes& a) override {
        ++axes;
        lastAxes = a;
        points.clear();
        segments.clear();
        marks.clear();
    }
    void DrawPoint(int x, int y) override { points.push_back({x, y}); }
    void DrawSegment(int x0, int y0, int x1, int y1) override {
        segments.push_back({x0, y0, x1, y1});
    }
    void DrawGuideLine(int, int, int, int) override {}
    void DrawMark(int, int, DiagramMark mark) override { marks.push_back(mark); }
    void Finish() override {}
    std::size_t Drawn() const { return points.size() + segments.size(); }
};

class LiveDiagramTest : public ::testing::Test {
  protected:
    LiveDiagramTest() {
        nominals.NominalForce = 100;
        nominals.NominalTravel = 300;
        nominals.NominalStrain = 2;
        nominals.NominalTransverse = 3;
        test->Parameters.StartDiagram = 0;
        test->Parameters.DiagramAutoScale = 1;
        StartRecording(test->Buffer, test->Marks);
        diagram.SetSize(600, 400);
        diagram.SetCanvas(&canvas);
    }

    // Records a sample and hands it to the diagram as the run does.
    bool Add(double force, double travel, double extension = 0, double deformation = 0,
             double removal = 1.9) {
        RecordSample(test->Buffer, test->Marks,
                     Sample{float(force), float(travel), float(extension), 0, 0, 0, 0, 0});
        LivePoint p;
        p.Index = test->Marks.StoredSamples;
        p.ForceKn = force;
        p.TravelMm = travel;
        p.ExtensionMm = extension;
        p.ExtensometerDeformationMm = deformation;
        return diagram.AddLivePoint(p, removal);
    }

    std::unique_ptr<TestState> test = std::make_unique<TestState>();
    CalibrationRecord nominals;
    MachineSetupRecord setup;
    RecordingCanvas canvas;
    LiveDiagramModel diagram{*test, nominals, setup};
};

TEST_F(LiveDiagramTest, ChoosesTheStartViewBySettingAndTestType) {
    struct Case {
        int type, setting;
        bool extensometerResults;
        int view;
    } cases[] = {
        {0, 0, true, kViewForceTravel},       {0, 1, false, kViewForceExtensometer},
        {0, 2, true, kViewForceExtensometer}, {0, 2, false, kViewForceTravel},
        {9, 2, true, kViewForceExtensometer}, {6, 2, false, kViewForceTravel},
        {3, 1, true, kViewForceTravel},       {7, 2, true, kViewForceTravel},
        {5, 3, false, kViewProgramme},        {0, 3, true, kViewForceTravel},
    };
    for (const Case& c : cases) {
        ParameterSet& p = test->Parameters;
        p.TestType = c.type;
        p.StartDiagram = c.setting;
        for (int slot : {5, 6, 7, 8, 9, 11, 19}) p.Results[slot - 1].Evaluate = 0;
        p.StrainByTdm = 0;
        if (c.extensometerResults) {
            p.Results[(c.type == 9 ? 5 : 8) - 1].Evaluate = 1;
            p.StrainByTdm = 1;
        }
        diagram.PrepareForTest();
        EXPECT_EQ(diagram.View(), c.view) << "type " << c.type << " setting " << c.setting;
    }
}

TEST_F(LiveDiagramTest, OutsideATestTheDiagramTypeByteIsTheView) {
    struct Case {
        int type, diagramType, view;
    } cases[] = {
        {0, 3, kViewStressFineStrain}, {9, 2, kViewStressStrain}, {0, 5, 5},
        {3, 2, kViewForceTravel},      {5, 7, kViewProgramme},    {0, 7, kViewForceTravel},
        {0, 6, kViewForceTravel},      {7, 4, kViewForceTravel},  {0, 4, kViewForceFourth},
    };
    for (const Case& c : cases) {
        test->Parameters.TestType = c.type;
        test->Parameters.DiagramType = static_cast<std::uint8_t>(c.diagramType);
        diagram.PrepareAxes();
        EXPECT_EQ(diagram.View(), c.view) << c.type << " " << c.diagramType;
        EXPECT_EQ(test->Parameters.DiagramType, c.view);  // the byte follows the view
    }
    // Stress over strain without a curve: the nominal force over So, the nominal travel over Lc.
    test->Parameters.TestType = 0;
    test->Parameters.DiagramType = 2;
    test->Parameters.EffectiveSo = 100;  // 1000 N/mm² at 100 kN
    test->Parameters.EffectiveLc = 600;  // 50 % at 300 mm
    diagram.PrepareAxes();
    EXPECT_DOUBLE_EQ(diagram.Ranges().Ymax, 1500);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, 60);
}

TEST_F(LiveDiagramTest, RangesFollowTheViewTheStartOptionAndTheNominalValues) {
    struct Case {
        int type, setting, autoScale, incremental;
        double xmax, ymax;
    } cases[] = {
        {0, 0, 1, 0, 300.0 / 10, 100.0 / 20},  // travel step 6, force step 5
        {0, 0, 0, 0, 300.0, 100.0},            // travel step 3, force step 1
        {5, 0, 1, 1, 300.0 / 1000, 100.0 / 20},
        {5, 0, 1, 0, 300.0 / 10, 100.0 / 20},
        {0, 1, 1, 0, 2.0 / 10, 100.0 / 10},  // extensometer and force step 4
        {0, 1, 0, 0, 2.0, 100.0},
        {5, 3, 1, 0, 10.0, 100.0 / 20},  // the time axis starts at 10 s
    };
    for (const Case& c : cases) {
        test->Parameters.TestType = c.type;
        test->Parameters.StartDiagram = c.setting;
        test->Parameters.DiagramAutoScale = static_cast<std::uint8_t>(c.autoScale);
        setup.IncrementalTravel = static_cast<std::uint8_t>(c.incremental);
        diagram.PrepareForTest();
        const AxisRanges& r = diagram.Ranges();
        EXPECT_DOUBLE_EQ(r.Xmax, c.xmax) << "type " << c.type << " setting " << c.setting;
        EXPECT_DOUBLE_EQ(r.Ymax, c.ymax) << "type " << c.type << " setting " << c.setting;
        EXPECT_EQ(r.Xmin, 0);
        EXPECT_EQ(r.Ymin, 0);
        EXPECT_DOUBLE_EQ(diagram.ScaleX(), 600 / c.xmax);
        EXPECT_DOUBLE_EQ(diagram.ScaleY(), 400 / c.ymax);
    }
}

TEST_F(LiveDiagramTest, AForceBeyondTheFirstRangeRescalesOnceAndReplotsTheCurve) {
    diagram.PrepareForTest();  // 0..30 mm, 0..5 kN
    for (int i = 1; i <= 50; ++i) Add(i * 0.1, i * 0.2);
    EXPECT_EQ(canvas.axes, 1);
    EXPECT_EQ(canvas.Drawn(), 50u);

    Add(5.1, 10.2);
    EXPECT_EQ(canvas.axes, 2);
    EXPECT_EQ(diagram.ForceStep(), 4);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Ymax, 10.0);
    EXPECT_EQ(canvas.Drawn(), 51u);  // every recorded point again, on the new scale
    const auto& last = canvas.segments.back();
    EXPECT_EQ(last[3], 400 - std::lround(5.1 * 40));

    for (int i = 52; i <= 60; ++i) Add(5.2 + i * 0.01, i * 0.2);
    EXPECT_EQ(canvas.axes, 2);  // the next points fit
}

TEST_F(LiveDiagramTest, RescalesEachAxisOneStepUntilItsTableEnds) {
    diagram.PrepareForTest();
    Add(1, 31);  // beyond 30 mm: travel step 5, 60 mm
    EXPECT_EQ(diagram.TravelStep(), 5);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, 60);
    Add(1, 1000);  // still one step per point
    EXPECT_EQ(diagram.TravelStep(), 4);

    test->Parameters.DiagramAutoScale = 0;
    diagram.PrepareForTest();  // force step 1: the whole nominal force
    const int axes = canvas.axes;
    Add(120, 1);
    EXPECT_EQ(diagram.ForceStep(), 1);
    EXPECT_EQ(canvas.axes, axes);

    test->Parameters.TestType = 5;
    test->Parameters.StartDiagram = 3;
    test->Parameters.SamplingIndex = 4;  // 1.2516 s per sample: sample 8 lies beyond 10 s
    diagram.PrepareForTest();
    for (int i = 0; i < 8; ++i) Add(1, 1);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, 20);
}

TEST_F(LiveDiagramTest, TheExtensometerComesOffInTheForceExtensometerViewOnly) {
    struct Case {
        int setting;
        double deformation;
        bool overRange, removed;
    } cases[] = {
        {1, 1.0, false, false},
        {1, 2.0, false, true},
        {1, 0.5, true, true},
        {0, 2.0, true, false},
    };
    for (const Case& c : cases) {
        test->Parameters.StartDiagram = c.setting;
        StartRecording(test->Buffer, test->Marks);
        diagram.PrepareForTest();
        Add(1, 2, 0.1);
        RecordSample(test->Buffer, test->Marks, Sample{2, 3, 0.2f, 0, 0, 0, 0, 0});
        LivePoint p;
        p.Index = 2;
        p.ForceKn = 2;
        p.TravelMm = 3;
        p.ExtensionMm = 0.2;
        p.ExtensometerDeformationMm = c.deformation;
        p.ExtensometerOverRange = c.overRange;
        const int axes = canvas.axes;
        EXPECT_EQ(diagram.AddLivePoint(p, 1.9), c.removed) << c.deformation;
        if (c.removed) {
            EXPECT_EQ(diagram.View(), kViewForceTravel);
            EXPECT_EQ(test->Parameters.DiagramType, kViewForceTravel);
            EXPECT_EQ(diagram.TravelStep(), 6);
            EXPECT_EQ(canvas.axes, axes + 1);
            EXPECT_EQ(canvas.Drawn(), 2u);  // the curve so far, over the travel
            EXPECT_EQ(canvas.lastAxes.X, AxisQuantity::Travel);
        }
    }
}

TEST_F(LiveDiagramTest, PlotsRoundedPixelsLinesFromTheThirdPointAndSkipsFarPoints) {
    diagram.PrepareForTest();  // 20 px per mm, 80 px per kN
    Add(0.5, 1.04);
    Add(1.0, 2.06);
    ASSERT_EQ(canvas.points.size(), 2u);
    EXPECT_EQ(canvas.points[0], (std::array<int, 2>{21, 360}));
    EXPECT_EQ(canvas.points[1], (std::array<int, 2>{41, 320}));
    Add(1.5, 3);
    ASSERT_EQ(canvas.segments.size(), 1u);
    EXPECT_EQ(canvas.segments[0], (std::array<int, 4>{41, 320, 60, 280}));

    int px = 0, py = 0;
    struct Case {
        double x, y;
        bool drawn;
    } cases[] = {
        {1638.25, 1, true},  {1638.3, 1, false},
        {-1638.3, 1, false}, {1, -405, false},
        {1, 414.0, true},    {std::numeric_limits<double>::quiet_NaN(), 1, false},
    };
    for (const Case& c : cases) EXPECT_EQ(diagram.ToPixel(c.x, c.y, px, py), c.drawn) << c.x;

    const std::size_t before = canvas.Drawn();
    Add(1.6, 10000);            // off the image by far, and beyond the travel range
    EXPECT_EQ(canvas.axes, 2);  // the rescale replots: still not drawable at 60 mm
    EXPECT_EQ(canvas.Drawn(), before);
}

TEST_F(LiveDiagramTest, MagnifierZoomsOnlyRectanglesAboveTenPixels) {
    diagram.PrepareForTest();  // 0..30 mm, 0..5 kN, 600 × 400 px
    const AxisRanges full = diagram.Ranges();
    EXPECT_FALSE(diagram.ApplyZoom(100, 100, 108, 200));
    EXPECT_FALSE(diagram.ApplyZoom(100, 100, 200, 110));
    EXPECT_FALSE(diagram.Zoomed());
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, full.Xmax);

    ASSERT_TRUE(diagram.ApplyZoom(300, 200, 150, 100));  // corners in any order
    const AxisRanges z = diagram.Ranges();
    EXPECT_DOUBLE_EQ(z.Xmin, 7.5);
    EXPECT_DOUBLE_EQ(z.Xmax, 15);
    EXPECT_DOUBLE_EQ(z.Ymin, 2.5);
    EXPECT_DOUBLE_EQ(z.Ymax, 3.75);
    EXPECT_DOUBLE_EQ(diagram.ScaleX(), 80);

    ASSERT_TRUE(diagram.ApplyZoom(0, 0, 300, 200));  // a zoom into the zoom
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, 11.25);

    // The first press of a range button brings back the view before the first zoom.
    EXPECT_TRUE(diagram.PressRangeButton(RangeButton::YLarger));
    EXPECT_FALSE(diagram.Zoomed());
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmin, full.Xmin);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, full.Xmax);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Ymax, full.Ymax);
    EXPECT_EQ(diagram.ForceStep(), 5);
}

TEST_F(LiveDiagramTest, RangeButtonsStepTheAxisOfTheViewAndRefuseAtTheTableEnd) {
    struct Case {
        int setting;
        RangeButton button;
        int presses;
        double xmax, ymax;
        bool lastAccepted;
    } cases[] = {
        {0, RangeButton::YLarger, 4, 30, 100, true},
        {0, RangeButton::YLarger, 5, 30, 100, false},
        {0, RangeButton::YSmaller, 2, 30, 1, true},
        {0, RangeButton::YSmaller, 3, 30, 1, false},
        {0, RangeButton::XLarger, 5, 600, 5, true},
        {0, RangeButton::XLarger, 6, 600, 5, false},
        {0, RangeButton::XSmaller, 8, 0.06, 5, true},
        {0, RangeButton::XSmaller, 9, 0.06, 5, false},
        {1, RangeButton::XLarger, 3, 2, 10, true},
        {3, RangeButton::XLarger, 9, 4000, 5, true},
        {3, RangeButton::XLarger, 10, 4000, 5, false},
    };
    for (const Case& c : cases) {
        test->Parameters.TestType = c.setting == 3 ? 5 : 0;
        test->Parameters.StartDiagram = c.setting;
        diagram.PrepareForTest();
        bool accepted = false;
        for (int i = 0; i < c.presses; ++i) accepted = diagram.PressRangeButton(c.button);
        EXPECT_EQ(accepted, c.lastAccepted) << c.setting << " " << c.presses;
        EXPECT_NEAR(diagram.Ranges().Xmax, c.xmax, 1e-9) << c.setting << " " << c.presses;
        EXPECT_NEAR(diagram.Ranges().Ymax, c.ymax, 1e-9) << c.setting << " " << c.presses;
    }
}

TEST_F(LiveDiagramTest, ClicksBecomeAxisValuesAndSamples) {
    diagram.PrepareForTest();
    EXPECT_DOUBLE_EQ(diagram.ClickToAxes(300, 100).x, 15);
    EXPECT_DOUBLE_EQ(diagram.ClickToAxes(300, 100).y, 3.75);

    // Forces 0.1 .. 2.0 kN; at So = 10 mm² the stress y is y × 10 / 1000 kN.
    for (int i = 1; i <= 20; ++i) Add(i * 0.1, i * 0.1);
    struct Case {
        double stress;
        int sample;
    } cases[] = {{0, 2}, {95, 10}, {100, 11}, {199, 20}, {500, 20}};
    for (const Case& c : cases) EXPECT_EQ(diagram.SampleAtStress(c.stress, 10), c.sample);
}

TEST_F(LiveDiagramTest, TheEvaluatedCurveShowsStressOverStrainWithItsMarks) {
    test->Parameters.EffectiveSo = 10;
    test->Parameters.EffectiveLc = 50;
    test->Parameters.GaugeLengthLe = 50;
    diagram.PrepareForTest();
    for (int i = 1; i <= 100; ++i) Add(i * 0.04, i * 0.09, i * 0.009);  // 400 N/mm², 18 %
    FinishRecording(test->Marks);
    test->Marks.FmaxIndex = 98;
    test->Marks.BreakIndex = 98;
    test->Marks.EvaluationDone = true;

    diagram.ShowEvaluatedCurve(kViewStressStrain);
    EXPECT_EQ(test->Parameters.DiagramType, kViewStressStrain);
    EXPECT_EQ(canvas.lastAxes.X, AxisQuantity::Strain);
    EXPECT_EQ(canvas.lastAxes.Y, AxisQuantity::Stress);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, 20);   // 17.6 % fits into 20 %
    EXPECT_DOUBLE_EQ(diagram.Ranges().Ymax, 500);  // 392 N/mm²
    EXPECT_EQ(canvas.Drawn(), 98u);                // the evaluated samples
    EXPECT_EQ(canvas.marks.size(), 2u);            // maximum and break

    diagram.ShowEvaluatedCurve(kViewStressFineStrain);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, 2);
}

TEST_F(LiveDiagramTest, TheFineStrainCurveEndsWhereTheExtensometerCameOff) {
    test->Parameters.EffectiveSo = 10;
    test->Parameters.GaugeLengthLe = 50;
    diagram.PrepareForTest();
    // The extensometer comes off after sample 40; its channel holds 0 from then on, while
    // the force still rises to its maximum at sample 90.
    for (int i = 1; i <= 100; ++i) Add(i <= 90 ? i * 0.04 : 3.6, i * 0.09, i <= 40 ? i * 0.009 : 0);
    FinishRecording(test->Marks);
    test->Marks.ExtensionEndIndex = 40;
    test->Marks.FmaxIndex = 90;
    test->Marks.BreakIndex = 98;
    test->Marks.EvaluationDone = true;

    diagram.ShowEvaluatedCurve(kViewStressFineStrain);
    EXPECT_EQ(canvas.Drawn(), 40u);        // no line back to zero strain
    EXPECT_TRUE(canvas.marks.empty());     // maximum and break lie beyond the fine strain
    diagram.ShowEvaluatedCurve(kViewStressStrain);
    EXPECT_EQ(canvas.Drawn(), 98u);        // over the travel the whole curve
    EXPECT_EQ(canvas.marks.size(), 2u);
}

// "Verformungsenergie/Weg": the running deformation energy (kN × mm = J) over the travel, on an
// axis that ends at the energy axis end of the diagram settings.
TEST_F(LiveDiagramTest, TheEnergyViewDrawsTheRunningDeformationEnergyUpToItsAxisEnd) {
    test->Parameters.EnergyAxisEnd = 50;
    for (int i = 0; i <= 10; ++i) Add(i * 1.0, i * 0.5);  // F = 2 kN/mm × s up to 10 kN at 5 mm
    test->Marks.SampleCount = test->Marks.StoredSamples;
    test->Parameters.DiagramType = kViewForceTravelSecondForce;
    diagram.PrepareAxes();
    EXPECT_EQ(canvas.lastAxes.Y, AxisQuantity::Energy);
    EXPECT_EQ(canvas.lastAxes.X, AxisQuantity::Travel);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Ymax, 50);
    EXPECT_DOUBLE_EQ(diagram.Ranges().Xmax, 300);
    ASSERT_FALSE(canvas.segments.empty());
    // 10 kN × 5 mm / 2 = 25 J: half way up the axis, at 5 mm of 300.
    const auto& last = canvas.segments.back();
    EXPECT_EQ(last[2], 10);
    EXPECT_EQ(last[3], 200);
}

}  // namespace
}  // namespace quorvex
