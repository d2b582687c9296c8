// What a test run needs of the live diagram: axes for a new test, one point per sample with
// the automatic rescale (which may decide that the extensometer comes off), and the evaluated
// curve at the end. The run stays headless: the diagram behind this may draw or only count.
#pragma once

namespace quorvex {

// The diagram views of the parameter set's DiagramView byte.
enum DiagramViewCode : int {
    kViewForceTravel = 0,
    kViewForceExtensometer = 1,
    kViewStressStrain = 2,
    kViewStressFineStrain = 3,
    kViewForceFourth = 4,
    kViewForceTravelSecondForce = 5,
    kViewProgramme = 7,
};

// One recorded point as the run hands it to the diagram.
struct LivePoint {
    int Index = 0;           // 1-based index in the measurement buffer (StoredSamples)
    double ForceKn = 0;      // F
    double TravelMm = 0;     // recorded travel, S - S0
    double ExtensionMm = 0;  // recorded extensometer, E - E0 (0 once the extensometer is off)
    double FourthMm = 0;     // recorded fourth channel
    bool Plot = true;        // F above the break threshold: the point is drawn
    // The extensometer's deformation since the zero point and whether the analogue
    // extensometer reads beyond its nominal range: in the force/extensometer view either may
    // end the use of the extensometer.
    double ExtensometerDeformationMm = 0;
    bool ExtensometerOverRange = false;
};

class RunDiagram {
  public:
    virtual ~RunDiagram() = default;

    // Test start: the view chosen from the parameter set and the test type, the ranges of the
    // view, the scales and the empty axes.
    virtual void PrepareForTest() = 0;

    // One point: plotted when Plot is set, then the automatic rescale of a point beyond the
    // ranges (a rescale redraws every recorded point). Returns true when the extensometer
    // must come off: the deformation exceeded removalDeformationMm (or the analogue reading
    // its range) in the force/extensometer view, and the view has switched to force/travel.
    virtual bool AddLivePoint(const LivePoint& point, double removalDeformationMm) = 0;

    // The current view (DiagramViewCode).
    virtual int View() const = 0;

    // End of a test: the view of the evaluated curve (stress/strain or stress/fine strain),
    // a redraw of the whole curve with the evaluation marks.
    virtual void ShowEvaluatedCurve(int view) = 0;
};

}  // namespace quorvex
