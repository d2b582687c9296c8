// Conversion and axis ranges of the overlaid curves of the results editor.
#include "report/overlay_diagram.h"

#include <algorithm>
#include <cmath>

#include "evaluation/test_types.h"

namespace quorvex {
namespace {

const std::vector<double> kStrainSteps = {5, 10, 15, 20, 30, 40, 50, 60, 80, 100, 200, 500};
const std::vector<double> kFineStrainSteps = {0.1, 0.2, 0.4, 0.6, 1,  2,  4,
                                              8,   10,  20,  40,  60, 80, 100};
const std::vector<double> kStressSteps = {5,   10,  20,  50,   100,  200,  300,  400,
                                          500, 600, 800, 1000, 1200, 1400, 1600, 1800};
const std::vector<double> kTimeSteps = {10, 20, 50, 100, 200, 500, 1000, 2000, 3000, 4000};

// The nominal range divided by each divisor, smallest range first.
std::vector<double> DividedRange(double nominal, bool longList) {
    std::vector<double> divisors = {100, 50, 20, 10, 5, 2, 1};
    if (longList) divisors.insert(divisors.begin(), {2000, 1000, 500, 200});
    std::vector<double> steps;
    for (double d : divisors) steps.push_back(nominal > 0 ? nominal / d : 1.0 / d);
    return steps;
}

// The first step whose range exceeds `largest`, for the divided lists (the last when none).
int FirstDividedAbove(const std::vector<double>& steps, double largest) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] > largest) return static_cast<int>(i);
    }
    return static_cast<int>(steps.size()) - 1;
}

double Positive(double preferred, double fallback) {
    return preferred > 0 ? preferred : fallback;
}

}  // namespace

int FirstStepAbove(const std::vector<double>& steps, double largest) {
    return FirstDividedAbove(steps, largest);
}

OverlaySettings OverlaySettingsOf(const ParameterSet& p) {
    OverlaySettings s;
    s.TestType = p.TestType;
    s.NominalForceKn = p.NominalForceKn;
    s.NominalTravelMm = p.NominalTravelMm;
    s.IncrementalTravel = p.TravelSensorType == 2;
    s.SampleIntervalSec = SampleInterval(p.SamplingIndex);
    s.EnergyAxisEnd = p.EnergyAxisEnd;
    s.StartOnFineStrain = p.StrainByTdm != 0;
    return s;
}

std::vector<OverlayView> OverlayViewsOf(int testType) {
    using V = OverlayView;
    if (IsTensileFamily(testType)) return {V::Strain, V::FineStrain};
    if (testType == 6 || testType == 9) return {V::Strain, V::FineStrain, V::ForceTime};
    return {V::ForceTravel, V::EnergyTravel, V::ForceTime};
}

OverlayDiagram::OverlayDiagram(const OverlaySettings& settings)
    : settings_(settings), views_(OverlayViewsOf(settings.TestType)) {
    view_ = views_.front();
    if (settings_.StartOnFineStrain && views_[1] == OverlayView::FineStrain) {
        view_ = OverlayView::FineStrain;
    }
    const bool longTravel = settings_.IncrementalTravel && settings_.TestType == 5;
    const std::vector<double> travel = DividedRange(settings_.NominalTravelMm, longTravel);
    const std::vector<double> force = DividedRange(settings_.NominalForceKn, false);
    std::vector<double> energy = DividedRange(settings_.EnergyAxisEnd, false);
    AxesOf(OverlayView::Strain) = {{kStrainSteps, 0}, {kStressSteps, 0}};
    AxesOf(OverlayView::FineStrain) = {{kFineStrainSteps, 0}, {kStressSteps, 0}};
    AxesOf(OverlayView::ForceTravel) = {{travel, 0}, {force, 0}};
    AxesOf(OverlayView::EnergyTravel) = {{travel, 0}, {energy, 0}};
    AxesOf(OverlayView::ForceTime) = {{kTimeSteps, 0}, {force, 0}};
    ChooseRanges();
}

OverlayDiagram::ViewAxes& OverlayDiagram::AxesOf(OverlayView view) {
    return axes_[static_cast<int>(view)];
}

const OverlayDiagram::ViewAxes& OverlayDiagram::AxesOf(OverlayView view) const {
    return axes_[static_cast<int>(view)];
}

void OverlayDiagram::AddCurve(const CurveFileContent& curve) {
    if (CurveCount() >= kMaxCurves) return;
    curves_.push_back({true, curve});
    ChooseRanges();
}

void OverlayDiagram::AddMissingCurve() {
    if (CurveCount() >= kMaxCurves) return;
    curves_.push_back({});
}

bool OverlayDiagram::HasCurve(int k) const {
    return k >= 1 && k <= CurveCount() && curves_[static_cast<std::size_t>(k - 1)].Present;
}

void OverlayDiagram::SetView(OverlayView view) {
    if (std::find(views_.begin(), views_.end(), view) != views_.end()) view_ = view;
}

double OverlayDiagram::XRange() const {
    const Axis& a = AxesOf(view_).X;
    return a.Steps[static_cast<std::size_t>(a.Index)];
}

double OverlayDiagram::YRange() const {
    const Axis& a = AxesOf(view_).Y;
    return a.Steps[static_cast<std::size_t>(a.Index)];
}

namespace {
bool Step(std::vector<double> const& steps, int& index, int direction) {
    const int next = index + (direction > 0 ? 1 : -1);
    if (next < 0 || next >= static_cast<int>(steps.size())) return false;
    index = next;
    return true;
}
}  // namespace

bool OverlayDiagram::StepX(int direction) {
    Axis& a = AxesOf(view_).X;
    return Step(a.Steps, a.Index, direction);
}

bool OverlayDiagram::StepY(int direction) {
    Axis& a = AxesOf(view_).Y;
    return Step(a.Steps, a.Index, direction);
}

std::vector<OverlayPoint> OverlayDiagram::Points(int k) const {
    if (!HasCurve(k)) return {};
    return PointsOf(curves_[static_cast<std::size_t>(k - 1)], view_);
}

std::vector<OverlayPoint> OverlayDiagram::PointsOf(const Curve& c, OverlayView view) const {
    const CurveFileHeader& h = c.Content.Header;
    const std::vector<CurveFileSample>& s = c.Content.Samples;
    const int n = static_cast<int>(s.size());
    // The compression test records its force and travel as measured.
    const bool compression = settings_.TestType == 9;
    auto force = [&](int i) {
        const double f = s[static_cast<std::size_t>(i)].Force;
        return compression ? std::fabs(f) : f;
    };
    auto travel = [&](int i) {
        const double t = s[static_cast<std::size_t>(i)].Travel;
        return compression ? std::fabs(t) : t;
    };
    auto extension = [&](int i) {
        const double e = s[static_cast<std::size_t>(i)].Extension;
        return compression ? std::fabs(e) : e;
    };
    const double so = h.So;
    auto stress = [&](int i) { return so > 0 ? force(i) * 1000.0 / so : 0.0; };
    const double le = Positive(h.Le, h.Lo);
    const double lc = Positive(h.Lc, h.Lo);
    // Points recorded with the extensometer (its last useful sample); fewer than 3: none.
    int m = static_cast<int>(h.ExtensionEndIndex);
    if (m < 3) m = 0;
    m = std::min(m, n);

    std::vector<OverlayPoint> points;
    points.reserve(static_cast<std::size_t>(n));
    switch (view) {
        case OverlayView::Strain: {
            if (settings_.TestType == 6) {
                // One gauge length over the whole curve.
                const double base = Positive(h.Lo, lc);
                for (int i = 0; i < n; ++i) {
                    points.push_back({base > 0 ? travel(i) * 100.0 / base : 0.0, stress(i)});
                }
                break;
            }
            double xm = 0, travelAtM = 0;
            for (int i = 0; i < n; ++i) {
                double x;
                if (i < m) {
                    x = le > 0 ? extension(i) * 100.0 / le : 0.0;
                    xm = x;
                    travelAtM = travel(i);
                } else {
                    // Once the extensometer is off, its channel holds 0: the strain goes on
                    // from the crosshead travel over the parallel length.
                    x = xm + (lc > 0 ? (travel(i) - travelAtM) * 100.0 / lc : 0.0);
                }
                points.push_back({x, stress(i)});
            }
            break;
        }
        case OverlayView::FineStrain:
            if (m < 3) break;
            for (int i = 0; i < m; ++i) {
                points.push_back({le > 0 ? extension(i) * 100.0 / le : 0.0, stress(i)});
            }
            break;
        case OverlayView::ForceTravel:
            for (int i = 0; i < n; ++i) points.push_back({travel(i), force(i)});
            break;
        case OverlayView::EnergyTravel: {
            double energy = 0;
            for (int i = 0; i < n; ++i) {
                if (i > 0) energy += (travel(i) - travel(i - 1)) * (force(i) + force(i - 1)) / 2;
                points.push_back({travel(i), energy});
            }
            break;
        }
        case OverlayView::ForceTime:
            for (int i = 0; i < n; ++i) {
                points.push_back({(i + 1) * settings_.SampleIntervalSec, force(i)});
            }
            break;
    }
    return points;
}

void OverlayDiagram::ChooseRanges() {
    for (OverlayView view : {OverlayView::Strain, OverlayView::FineStrain,
                             OverlayView::ForceTravel, OverlayView::EnergyTravel,
                             OverlayView::ForceTime}) {
        double largestX = 0, largestY = 0;
        for (const Curve& c : curves_) {
            if (!c.Present) continue;
            for (const OverlayPoint& p : PointsOf(c, view)) {
                if (std::isfinite(p.X)) largestX = std::max(largestX, p.X);
                if (std::isfinite(p.Y)) largestY = std::max(largestY, p.Y);
            }
        }
        ViewAxes& axes = AxesOf(view);
        axes.X.Index = FirstStepAbove(axes.X.Steps, largestX);
        if (view == OverlayView::EnergyTravel) {
            // The energy axis takes the divisor that the force axis found.
            double largestForce = 0;
            for (const Curve& c : curves_) {
                if (!c.Present) continue;
                for (const OverlayPoint& p : PointsOf(c, OverlayView::ForceTravel)) {
                    if (std::isfinite(p.Y)) largestForce = std::max(largestForce, p.Y);
                }
            }
            axes.Y.Index = FirstStepAbove(AxesOf(OverlayView::ForceTravel).Y.Steps, largestForce);
        } else {
            axes.Y.Index = FirstStepAbove(axes.Y.Steps, largestY);
        }
    }
}

int OverlayDiagram::YLabelDecimals(double range) {
    if (range >= 100) return 1;
    if (range < 10) return 4;
    if (range < 50) return 3;
    return 2;
}

int OverlayDiagram::XLabelDecimals(double range) {
    if (range >= 100) return 1;
    if (range < 0.1) return 4;
    return 3;
}

CurveFileContent CurveOfCurrentTest(const ParameterSet& p, const MeasurementBuffer& buffer,
                                    const TestMarks& marks) {
    CurveFileContent c;
    c.Header.So = p.EffectiveSo;
    c.Header.Lo = p.EffectiveLo;
    c.Header.Lc = p.EffectiveLc;
    c.Header.Le = p.GaugeLengthLe;
    c.Header.FmaxIndex = static_cast<float>(marks.FmaxIndex);
    c.Header.BreakIndex = static_cast<float>(marks.BreakIndex);
    c.Header.ExtensionEndIndex = static_cast<float>(marks.ExtensionEndIndex);
    const int n = std::clamp(std::max(marks.SampleCount, marks.StoredSamples), 0, kBufferCapacity);
    c.Header.SampleCount = static_cast<float>(n);
    c.AnnouncedSamples = n;
    for (int i = 1; i <= n; ++i) {
        c.Samples.push_back(
            {buffer.Force(i), buffer.Travel(i), buffer.Extension(i), buffer.WidthChange(i)});
    }
    return c;
}

}  // namespace quorvex
