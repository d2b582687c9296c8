// The live diagram without its widget: the view, the axis ranges and their steps, the plot of
// one point, the automatic rescale, the range buttons and the magnifier. It draws through a
// small canvas interface, so that the headless test run uses it and only computes.
#pragma once

#include "evaluation/test_state.h"
#include "setup/calibration.h"
#include "setup/machine_setup.h"
#include "run/run_diagram.h"

namespace quorvex {

// What an axis shows; the widget turns it into its caption.
enum class AxisQuantity {
    Force,         // kN
    Travel,        // crosshead travel, mm
    Extensometer,  // mm
    Fourth,        // fourth channel (width change), mm
    Strain,        // % of Lc, from the crosshead travel
    FineStrain,    // % of Le, from the extensometer
    Compression,   // strain of the compression test, %
    Stress,        // N/mm²
    Time,          // s
    Energy,        // deformation energy, J (kN × mm)
};

struct AxisRanges {
    double Xmin = 0, Xmax = 1, Ymin = 0, Ymax = 1;
};

// Everything the canvas needs to draw the empty axes.
struct DiagramAxes {
    int Width = 0, Height = 0;
    AxisRanges Ranges;
    AxisQuantity X = AxisQuantity::Travel, Y = AxisQuantity::Force;
    int View = kViewForceTravel;
    int UnitSystem = 0;  // of the stress caption
    bool HideGrid = false;
};

// The marks of the evaluation and of the picks.
enum class DiagramMark {
    ModulusRange,  // start and end of the modulus regression
    Proof,         // a proof-strength crossing
    Yield,         // ReH or ReL
    Maximum,       // Rm / Ag
    Break,
    PickedSample,  // a sample that an E or Rp pick took
    PickedPoint,   // a circle of radius 3 px where an Ae pick clicked
};

// Where the diagram draws. All coordinates are pixels of the drawing area, y downward.
class DiagramCanvas {
  public:
    virtual ~DiagramCanvas() = default;
    // Clears the area and draws the frame, ticks and captions.
    virtual void DrawAxes(const DiagramAxes& axes) = 0;
    virtual void DrawPoint(int x, int y) = 0;
    virtual void DrawSegment(int x0, int y0, int x1, int y1) = 0;
    // The elastic line and its parallel at the proof strain.
    virtual void DrawGuideLine(int x0, int y0, int x1, int y1) = 0;
    virtual void DrawMark(int x, int y, DiagramMark mark) = 0;
    // A whole redraw has ended: show it.
    virtual void Finish() = 0;
};

// The divisors of the range steps: a range maximum is the nominal value over the divisor of
// the current step (step 1 is the largest range).
inline constexpr double kTravelDivisors[] = {0.5, 2.0 / 3.0, 1,   2,   5,    10,   20,
                                             50,  100,       200, 500, 1000, 2000, 5000};
inline constexpr double kForceDivisors[] = {1, 2, 5, 10, 20, 50, 100};
// Ends of the time axis, s.
inline constexpr double kTimeRanges[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 3000, 4000};
// Ends of the stress (N/mm²) and strain (%) axes of the evaluated curve, largest first.
inline constexpr double kStressRanges[] = {5000, 3000, 2000, 1500, 1000, 800, 600, 500,
                                           400,  300,  200,  150,  100,  50,  20,  10};
inline constexpr double kStrainRanges[] = {200, 150, 100, 80, 60, 50, 40,  30, 20,  15,  10,
                                           8,   6,   5,   4,  3,  2,  1.5, 1,  0.5, 0.2, 0.1};

// The test type's results need the extensometer: the proof strengths and the modulus of the
// metal tensile and compression tests, the plastics test measuring its strain with it.
bool UsesExtensometerResults(const ParameterSet& p);

// The view a test starts in: the start-diagram setting (0 force/travel, 1 force/extensometer,
// 2 automatic, 3 force/time) and the test type.
int ChooseStartView(const ParameterSet& p);

// The view of the diagram-type byte, which holds the view the diagram shows (the settings
// choose it, a test start and a test end set it); a view the test type cannot show gives
// force/travel.
int ViewOfDiagramType(const ParameterSet& p);

enum class RangeButton { YLarger, YSmaller, XLarger, XSmaller };

class LiveDiagramModel : public RunDiagram {
  public:
    LiveDiagramModel(TestState& test, const CalibrationRecord& nominals,
                     const MachineSetupRecord& setup);

    // Null: compute only.
    void SetCanvas(DiagramCanvas* canvas) { canvas_ = canvas; }
    // The window's diagram while the acquisition thread's own model leads the test: it draws
    // the points it is handed, and the parameter set's diagram-type byte is the leader's.
    void SetFollowsRun(bool follows) { followsRun_ = follows; }
    // Size of the drawing area in pixels; redraws.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    // RunDiagram
    void PrepareForTest() override;
    bool AddLivePoint(const LivePoint& point, double removalDeformationMm) override;
    int View() const override { return view_; }
    void ShowEvaluatedCurve(int view) override;

    // Start-up and view changes outside a test: the view of the diagram-type byte, its
    // ranges, the axes and the curve there is.
    void PrepareAxes();
    // Axes, every recorded point and, after an evaluation, its marks.
    void Redraw();

    // One step of an axis; false (the caller beeps) at the end of the table. A press while
    // zoomed only restores the ranges from before the first zoom.
    bool PressRangeButton(RangeButton button);
    // The rubber-band rectangle in pixels; false when a side is 10 px or less (ignored).
    bool ApplyZoom(int left, int top, int right, int bottom);
    bool Zoomed() const { return zoomed_; }

    struct AxisPoint {
        double x = 0, y = 0;
    };
    AxisPoint ClickToAxes(int px, int py) const;
    // The first sample from 2 on whose force exceeds the stress y at the cross-section So.
    int SampleAtStress(double y, double So) const;
    // Pixel of a value pair; false when it lies 32766 px or more off the origin.
    bool ToPixel(double x, double y, int& px, int& py) const;
    // The axis values of a recorded sample in the current view.
    AxisPoint SampleValues(int index) const;
    // Samples on the screen: the recorded ones during a test, else the evaluated ones.
    int CurveLength() const;
    // A mark at a sample or at axis values.
    void MarkSample(int index, DiagramMark mark);
    void MarkPoint(double x, double y, DiagramMark mark);

    const AxisRanges& Ranges() const { return ranges_; }
    double ScaleX() const { return scaleX_; }
    double ScaleY() const { return scaleY_; }
    // Scales of the printed diagram, in 0.1 mm per unit.
    double PrintScaleX() const { return 1550 / (ranges_.Xmax - ranges_.Xmin); }
    double PrintScaleY() const { return -1000 / (ranges_.Ymax - ranges_.Ymin); }
    int TravelStep() const { return travelStep_; }
    int ForceStep() const { return forceStep_; }
    int ExtensometerStep() const { return extensometerStep_; }
    bool InTest() const { return inTest_; }

  private:
    void SetView(int view);
    void ComputeRanges();
    void ComputeScales();
    void DrawAxes();
    void PlotPoint(int index, double y, double x);
    void PlotCurve(int count);
    void DrawEvaluationMarks();
    bool StepDown(int& step);
    AxisQuantity XQuantity() const;
    AxisQuantity YQuantity() const;
    double StrainBase() const;  // Lc or Le, mm
    // The deformation energy of the recorded curve up to a sample: the sum of
    // (s_i − s_(i−1)) · (F_i + F_(i−1)) / 2, kN × mm = J.
    double EnergyUpTo(int index) const;

    TestState& test_;
    const CalibrationRecord& nominals_;
    const MachineSetupRecord& setup_;
    DiagramCanvas* canvas_ = nullptr;
    int width_ = 600, height_ = 400;
    int view_ = kViewForceTravel;
    int travelStep_ = 6, forceStep_ = 5, extensometerStep_ = 4, fourthStep_ = 4;
    // The running deformation energy of the live points (view 5).
    struct RunningEnergy {
        bool Started = false;
        double Joule = 0, LastTravel = 0, LastForce = 0;
    } liveEnergy_;
    int timeStep_ = 1, stressStep_ = 1, strainStep_ = 1;
    AxisRanges ranges_;
    AxisRanges savedRanges_;
    bool zoomed_ = false;
    bool inTest_ = false;
    bool followsRun_ = false;
    int liveCount_ = 0;  // points handed to the diagram in this test
    double scaleX_ = 1, scaleY_ = 1;
    bool havePen_ = false;
    int penX_ = 0, penY_ = 0;
};

}  // namespace quorvex
