// The comparison diagram of the results editor: up to ten stored curves overlaid in one view,
// their conversion to stress, strain, energy or time and the stepped axis ranges. Plain C++
// so that the screen, the printout and quorvex-cli scale the curves alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "evaluation/curve_file.h"
#include "evaluation/parameter_set.h"

namespace quorvex {

enum class OverlayView {
    Strain,        // stress over strain: extensometer part, then the crosshead part
    FineStrain,    // stress over the extensometer strain
    ForceTravel,   // force kN over crosshead travel mm, as measured
    EnergyTravel,  // running deformation energy J over travel mm
    ForceTime,     // force kN over time s
};

// What the axis ranges of the views depend on besides the curves.
struct OverlaySettings {
    int TestType = 0;
    double NominalForceKn = 100;    // nominal force range of the machine
    double NominalTravelMm = 300;   // nominal travel range of the machine
    bool IncrementalTravel = false; // travel measured by the incremental sensor
    double SampleIntervalSec = 0.05;
    double EnergyAxisEnd = 2.0;     // J
    bool StartOnFineStrain = false;
};

OverlaySettings OverlaySettingsOf(const ParameterSet& p);

struct OverlayPoint {
    double X = 0, Y = 0;
};

// The views a test type offers, in the order of its diagram-type choice.
std::vector<OverlayView> OverlayViewsOf(int testType);

class OverlayDiagram {
  public:
    static constexpr int kMaxCurves = 10;

    explicit OverlayDiagram(const OverlaySettings& settings);

    // Adds the curve of the k-th selected test (k = CurveCount() + 1 gives its colour); an
    // 11th curve is ignored. The axis ranges follow the curves.
    void AddCurve(const CurveFileContent& curve);
    // Keeps place k for a selected test without a curve file, so that later tests keep
    // their colours.
    void AddMissingCurve();
    int CurveCount() const { return static_cast<int>(curves_.size()); }
    bool HasCurve(int k) const;

    const std::vector<OverlayView>& Views() const { return views_; }
    OverlayView View() const { return view_; }
    // Switching keeps the ranges last used in each view.
    void SetView(OverlayView view);

    double XRange() const;
    double YRange() const;
    // One step up (+1) or down (-1) in the list of the axis; false at either end.
    bool StepX(int direction);
    bool StepY(int direction);

    // The points of curve k (1-based) in the units of the current view.
    std::vector<OverlayPoint> Points(int k) const;

    // Decimals of the axis labels for a range.
    static int YLabelDecimals(double range);
    static int XLabelDecimals(double range);

  private:
    struct Curve {
        bool Present = false;
        CurveFileContent Content;
    };
    struct Axis {
        std::vector<double> Steps;  // ascending
        int Index = 0;
    };
    struct ViewAxes {
        Axis X, Y;
    };

    std::vector<OverlayPoint> PointsOf(const Curve& c, OverlayView view) const;
    void ChooseRanges();
    ViewAxes& AxesOf(OverlayView view);
    const ViewAxes& AxesOf(OverlayView view) const;

    OverlaySettings settings_;
    std::vector<Curve> curves_;
    std::vector<OverlayView> views_;
    OverlayView view_ = OverlayView::Strain;
    ViewAxes axes_[5];
};

// The first step greater than `largest`, or the last step when none is (index into steps).
int FirstStepAbove(const std::vector<double>& steps, double largest);

// A curve of the current test in the form of a stored one (for the single-test report).
CurveFileContent CurveOfCurrentTest(const ParameterSet& p, const MeasurementBuffer& buffer,
                                    const TestMarks& marks);

}  // namespace quorvex
