// The live diagram's arithmetic: views, ranges, the plot of a point, the rescale, the range
// buttons and the magnifier, drawn through a canvas that may be absent.
#include "run/live_diagram_model.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "evaluation/tensile_evaluation.h"
#include "evaluation/test_types.h"

namespace quorvex {
namespace {

constexpr int kTravelSteps = static_cast<int>(std::size(kTravelDivisors));
constexpr int kForceSteps = static_cast<int>(std::size(kForceDivisors));
constexpr int kTimeSteps = static_cast<int>(std::size(kTimeRanges));
constexpr int kStressSteps = static_cast<int>(std::size(kStressRanges));
constexpr int kStrainSteps = static_cast<int>(std::size(kStrainRanges));

// Pixels further off than this cannot be drawn by the graphics layer.
constexpr double kPixelLimit = 32766;

bool SlotOn(const ParameterSet& p, int slot) {
    return SlotEvaluated(p, slot);
}

// The smallest range of a descending table that still holds the value (with a little room
// above the curve); the largest when none does.
int StepHolding(const double* table, int count, double value) {
    const double needed = value * 1.05;
    int step = 1;
    for (int i = 0; i < count; ++i) {
        if (table[i] >= needed) step = i + 1;
    }
    return step;
}

bool RoundToPixel(double value, int& pixel) {
    const double rounded = std::round(value);
    if (!(std::fabs(rounded) < kPixelLimit)) return false;  // also NaN
    pixel = static_cast<int>(rounded);
    return true;
}

}  // namespace

bool UsesExtensometerResults(const ParameterSet& p) {
    switch (static_cast<TestType>(p.TestType)) {
        case TestType::TensileEn10002:
        case TestType::ScrewIso898:
        case TestType::ScrewIso3506:
            return SlotOn(p, kSlotRp) || SlotOn(p, kSlotRt) || SlotOn(p, 19);
        case TestType::PlasticsIso527:
            return p.StrainByTdm != 0 && p.StrainFromTravel == 0;
        case TestType::Compression:
            return SlotOn(p, 5) || SlotOn(p, 6) || SlotOn(p, 7) || SlotOn(p, 11);
        default:
            return false;
    }
}

int ChooseStartView(const ParameterSet& p) {
    const int type = p.TestType;
    if (type == static_cast<int>(TestType::Universal) && p.StartDiagram == 3) return kViewProgramme;
    int view = kViewForceTravel;
    if (p.StartDiagram == 1) view = kViewForceExtensometer;
    if (p.StartDiagram == 2 && UsesExtensometerResults(p)) view = kViewForceExtensometer;
    const bool forceTravelOnly = type == 3 || type == 4 || type == 5 || type == 7 || type == 8;
    if (forceTravelOnly && view >= 1 && view <= 4) view = kViewForceTravel;
    return view;
}

int ViewOfDiagramType(const ParameterSet& p) {
    const int type = p.TestType;
    int view = p.DiagramType;
    const bool known = (view >= kViewForceTravel && view <= kViewForceTravelSecondForce) ||
                       (view == kViewProgramme && type == static_cast<int>(TestType::Universal));
    if (!known) return kViewForceTravel;
    const bool forceTravelOnly = type == 3 || type == 4 || type == 5 || type == 7 || type == 8;
    if (forceTravelOnly && view >= 1 && view <= 4) view = kViewForceTravel;
    return view;
}

LiveDiagramModel::LiveDiagramModel(TestState& test, const CalibrationRecord& nominals,
                                   const MachineSetupRecord& setup)
    : test_(test), nominals_(nominals), setup_(setup) {
    ComputeRanges();
    ComputeScales();
}

void LiveDiagramModel::SetSize(int width, int height) {
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    ComputeScales();
    Redraw();
}

void LiveDiagramModel::SetView(int view) {
    view_ = view;
    if (!(followsRun_ && inTest_)) test_.Parameters.DiagramType = static_cast<std::uint8_t>(view);
    zoomed_ = false;
    const bool option = test_.Parameters.DiagramAutoScale != 0;
    const bool universal = test_.Parameters.TestType == static_cast<int>(TestType::Universal);
    forceStep_ = option ? 5 : 1;
    switch (view) {
        case kViewForceTravel:
            travelStep_ = !option ? 3 : universal && setup_.IncrementalTravel ? 12 : 6;
            break;
        case kViewForceExtensometer:
            extensometerStep_ = forceStep_ = option ? 4 : 1;
            break;
        case kViewForceFourth:
            fourthStep_ = forceStep_ = option ? 4 : 1;
            break;
        case kViewForceTravelSecondForce:
            travelStep_ = 3;  // the whole nominal travel
            break;
        case kViewProgramme:
            timeStep_ = 1;
            break;
        case kViewStressStrain:
        case kViewStressFineStrain: {
            double strain = 0, stress = 0;
            const int count = CurveLength();
            for (int i = 1; i <= count; ++i) {
                const AxisPoint v = SampleValues(i);
                strain = std::max(strain, v.x);
                stress = std::max(stress, v.y);
            }
            if (count == 0) {
                // No curve yet: the ranges of the nominal force and elongation.
                const ParameterSet& p = test_.Parameters;
                const double base = StrainBase();
                const double length = view == kViewStressFineStrain ? nominals_.NominalStrain
                                                                    : nominals_.NominalTravel;
                strain = base > 0 ? length * 100 / base : 0;
                stress = p.EffectiveSo > 0 ? nominals_.NominalForce * 1000 / p.EffectiveSo : 0;
            }
            strainStep_ = StepHolding(kStrainRanges, kStrainSteps, strain);
            stressStep_ = StepHolding(kStressRanges, kStressSteps, stress);
            break;
        }
        default:
            break;
    }
    ComputeRanges();
}

void LiveDiagramModel::ComputeRanges() {
    const double force = nominals_.NominalForce / kForceDivisors[forceStep_ - 1];
    AxisRanges r;
    r.Ymax = force;
    switch (view_) {
        case kViewForceExtensometer:
            r.Xmax = nominals_.NominalStrain / kForceDivisors[extensometerStep_ - 1];
            break;
        case kViewStressStrain:
        case kViewStressFineStrain:
            r.Xmax = kStrainRanges[strainStep_ - 1];
            r.Ymax = kStressRanges[stressStep_ - 1];
            break;
        case kViewForceFourth:
            r.Xmax = nominals_.NominalTransverse / kForceDivisors[fourthStep_ - 1];
            break;
        case kViewProgramme:
            r.Xmax = kTimeRanges[timeStep_ - 1];
            break;
        case kViewForceTravelSecondForce:
            // The deformation energy over the whole nominal travel, up to the chosen end value.
            r.Xmax = nominals_.NominalTravel / kTravelDivisors[travelStep_ - 1];
            r.Ymax = test_.Parameters.EnergyAxisEnd;
            break;
        default:  // force over travel
            r.Xmax = nominals_.NominalTravel / kTravelDivisors[travelStep_ - 1];
            break;
    }
    // A nominal value of 0 (a damaged calibration file) must not give an empty axis.
    if (!(r.Xmax > r.Xmin)) r.Xmax = r.Xmin + 1;
    if (!(r.Ymax > r.Ymin)) r.Ymax = r.Ymin + 1;
    ranges_ = r;
    ComputeScales();
}

void LiveDiagramModel::ComputeScales() {
    scaleX_ = width_ / (ranges_.Xmax - ranges_.Xmin);
    scaleY_ = height_ / (ranges_.Ymax - ranges_.Ymin);
}

AxisQuantity LiveDiagramModel::XQuantity() const {
    const bool compression = test_.Parameters.TestType == static_cast<int>(TestType::Compression);
    switch (view_) {
        case kViewForceExtensometer:
            return AxisQuantity::Extensometer;
        case kViewStressStrain:
            return compression ? AxisQuantity::Compression : AxisQuantity::Strain;
        case kViewStressFineStrain:
            return compression ? AxisQuantity::Compression : AxisQuantity::FineStrain;
        case kViewForceFourth:
            return AxisQuantity::Fourth;
        case kViewProgramme:
            return AxisQuantity::Time;
        default:
            return AxisQuantity::Travel;
    }
}

AxisQuantity LiveDiagramModel::YQuantity() const {
    if (view_ == kViewForceTravelSecondForce) return AxisQuantity::Energy;
    return view_ == kViewStressStrain || view_ == kViewStressFineStrain ? AxisQuantity::Stress
                                                                        : AxisQuantity::Force;
}

double LiveDiagramModel::EnergyUpTo(int index) const {
    const MeasurementBuffer& b = test_.Buffer;
    double energy = 0;
    for (int i = 2; i <= index; ++i) {
        energy += (b.Travel(i) - b.Travel(i - 1)) * (b.Force(i) + b.Force(i - 1)) / 2;
    }
    return energy;
}

double LiveDiagramModel::StrainBase() const {
    return view_ == kViewStressFineStrain ? test_.Parameters.GaugeLengthLe
                                          : test_.Parameters.EffectiveLc;
}

void LiveDiagramModel::DrawAxes() {
    havePen_ = false;
    if (!canvas_) return;
    DiagramAxes axes;
    axes.Width = width_;
    axes.Height = height_;
    axes.Ranges = ranges_;
    axes.X = XQuantity();
    axes.Y = YQuantity();
    axes.View = view_;
    axes.UnitSystem = test_.Parameters.UnitSystem;
    axes.HideGrid = test_.Parameters.HideGrid != 0;
    canvas_->DrawAxes(axes);
}

bool LiveDiagramModel::ToPixel(double x, double y, int& px, int& py) const {
    return RoundToPixel((x - ranges_.Xmin) * scaleX_, px) &&
           RoundToPixel(height_ - (y - ranges_.Ymin) * scaleY_, py);
}

void LiveDiagramModel::PlotPoint(int index, double y, double x) {
    int px = 0, py = 0;
    if (!ToPixel(x, y, px, py)) return;
    if (canvas_) {
        if (index >= 3 && havePen_) {
            canvas_->DrawSegment(penX_, penY_, px, py);
        } else {
            canvas_->DrawPoint(px, py);
        }
    }
    havePen_ = true;
    penX_ = px;
    penY_ = py;
}

LiveDiagramModel::AxisPoint LiveDiagramModel::SampleValues(int index) const {
    const MeasurementBuffer& b = test_.Buffer;
    const double force = b.Force(index);
    const double So = test_.Parameters.EffectiveSo;
    switch (view_) {
        case kViewForceExtensometer:
            return {b.Extension(index), force};
        case kViewForceFourth:
            return {b.WidthChange(index), force};
        case kViewProgramme:
            return {index * SampleInterval(test_.Parameters.SamplingIndex), force};
        case kViewForceTravelSecondForce:
            return {b.Travel(index), EnergyUpTo(index)};
        case kViewStressStrain:
        case kViewStressFineStrain: {
            const double base = StrainBase();
            const double length =
                view_ == kViewStressFineStrain ? b.Extension(index) : b.Travel(index);
            return {base > 0 ? length * 100.0 / base : 0.0, So > 0 ? force * 1000.0 / So : 0.0};
        }
        default:
            return {b.Travel(index), force};
    }
}

int LiveDiagramModel::CurveLength() const {
    // During a test the points handed over so far: the recording may be ahead of them.
    const int n = std::clamp(inTest_ ? liveCount_ : test_.Marks.SampleCount, 0, kBufferCapacity);
    // Once the extensometer has come off, its channel holds 0: the fine-strain curve ends
    // there instead of falling back to zero strain.
    if (view_ != kViewStressFineStrain) return n;
    const int last = test_.Marks.ExtensionEndIndex;
    if (last < 2) return n;
    for (int i = last + 1; i <= n; ++i) {
        if (test_.Buffer.Extension(i) == 0.0f) return i - 1;
    }
    return n;
}

void LiveDiagramModel::PlotCurve(int count) {
    havePen_ = false;
    if (view_ == kViewForceTravelSecondForce) {
        // The running energy, summed once along the curve.
        const MeasurementBuffer& b = test_.Buffer;
        double energy = 0;
        for (int i = 1; i <= count; ++i) {
            if (i > 1) energy += (b.Travel(i) - b.Travel(i - 1)) * (b.Force(i) + b.Force(i - 1)) / 2;
            PlotPoint(i, energy, b.Travel(i));
        }
        return;
    }
    for (int i = 1; i <= count; ++i) {
        const AxisPoint v = SampleValues(i);
        PlotPoint(i, v.y, v.x);
    }
}

void LiveDiagramModel::Redraw() {
    DrawAxes();
    PlotCurve(CurveLength());
    if (!inTest_ && test_.Marks.EvaluationDone) DrawEvaluationMarks();
    if (canvas_) canvas_->Finish();
}

void LiveDiagramModel::PrepareForTest() {
    inTest_ = true;
    liveEnergy_ = {};
    liveCount_ = 0;
    SetView(ChooseStartView(test_.Parameters));
    DrawAxes();
    if (canvas_) canvas_->Finish();
}

void LiveDiagramModel::PrepareAxes() {
    inTest_ = false;
    SetView(ViewOfDiagramType(test_.Parameters));
    Redraw();
}

bool LiveDiagramModel::StepDown(int& step) {
    if (step <= 1) return false;
    --step;
    return true;
}

bool LiveDiagramModel::AddLivePoint(const LivePoint& point, double removalDeformationMm) {
    liveCount_ = std::max(liveCount_, point.Index);
    double x = point.TravelMm;
    double y = point.ForceKn;
    // The deformation energy runs along every point, drawn or not.
    if (liveEnergy_.Started) {
        liveEnergy_.Joule +=
            (point.TravelMm - liveEnergy_.LastTravel) * (point.ForceKn + liveEnergy_.LastForce) / 2;
    }
    liveEnergy_ = {true, liveEnergy_.Joule, point.TravelMm, point.ForceKn};
    switch (view_) {
        case kViewForceTravelSecondForce:
            y = liveEnergy_.Joule;
            break;
        case kViewForceExtensometer:
            x = point.ExtensionMm;
            break;
        case kViewForceFourth:
            x = point.FourthMm;
            break;
        case kViewProgramme:
            x = point.Index * SampleInterval(test_.Parameters.SamplingIndex);
            break;
        case kViewStressStrain:
        case kViewStressFineStrain: {
            const AxisPoint v = SampleValues(std::clamp(point.Index, 1, kBufferCapacity));
            x = v.x;
            break;
        }
        default:
            break;
    }
    if (point.Plot) {
        const double So = test_.Parameters.EffectiveSo;
        const bool stress = YQuantity() == AxisQuantity::Stress;
        PlotPoint(point.Index, stress ? (So > 0 ? y * 1000.0 / So : 0.0) : y, x);
    }

    if (view_ == kViewForceExtensometer &&
        (point.ExtensometerDeformationMm > removalDeformationMm || point.ExtensometerOverRange)) {
        // The extensometer comes off: the curve goes on over the crosshead travel, in the
        // force range it has reached.
        view_ = kViewForceTravel;
        if (!followsRun_) test_.Parameters.DiagramType = kViewForceTravel;
        zoomed_ = false;
        travelStep_ = 6;
        ComputeRanges();
        Redraw();
        return true;
    }
    if (zoomed_) return false;  // the operator looks at a part of the curve: keep it

    bool rescale = false;
    // The energy axis ends where the operator set it; the force axes step.
    if (YQuantity() == AxisQuantity::Force && y > ranges_.Ymax) {
        rescale = StepDown(forceStep_);
    }
    if (x > ranges_.Xmax) {
        switch (view_) {
            case kViewForceTravel:
            case kViewForceTravelSecondForce:
                rescale = StepDown(travelStep_) || rescale;
                break;
            case kViewForceExtensometer:
                rescale = StepDown(extensometerStep_) || rescale;
                break;
            case kViewForceFourth:
                rescale = StepDown(fourthStep_) || rescale;
                break;
            case kViewProgramme:
                if (timeStep_ < kTimeSteps) {
                    ++timeStep_;
                    rescale = true;
                }
                break;
            default:
                break;
        }
    }
    if (rescale) {
        ComputeRanges();
        Redraw();
    }
    return false;
}

void LiveDiagramModel::ShowEvaluatedCurve(int view) {
    inTest_ = false;
    SetView(view);
    Redraw();
}

bool LiveDiagramModel::PressRangeButton(RangeButton button) {
    if (zoomed_) {
        ranges_ = savedRanges_;
        zoomed_ = false;
        ComputeScales();
        Redraw();
        return true;
    }
    const bool stressView = view_ == kViewStressStrain || view_ == kViewStressFineStrain;
    const bool yAxis = button == RangeButton::YLarger || button == RangeButton::YSmaller;
    const bool larger = button == RangeButton::YLarger || button == RangeButton::XLarger;
    int* step = &forceStep_;
    int count = kForceSteps;
    bool ascending = false;  // the step tables give smaller ranges at higher steps
    if (yAxis && stressView) {
        step = &stressStep_;
        count = kStressSteps;
    } else if (yAxis) {
        // the force step of every other view
    } else if (stressView) {
        step = &strainStep_;
        count = kStrainSteps;
    } else if (view_ == kViewForceExtensometer) {
        step = &extensometerStep_;
    } else if (view_ == kViewForceFourth) {
        step = &fourthStep_;
    } else if (view_ == kViewProgramme) {
        step = &timeStep_;
        count = kTimeSteps;
        ascending = true;
    } else {
        step = &travelStep_;
        count = kTravelSteps;
    }
    const int next = *step + (larger == ascending ? 1 : -1);
    if (next < 1 || next > count) return false;
    *step = next;
    ComputeRanges();
    Redraw();
    return true;
}

bool LiveDiagramModel::ApplyZoom(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left <= 10 || bottom - top <= 10) return false;
    if (!zoomed_) savedRanges_ = ranges_;
    const AxisRanges r = ranges_;
    const double w = width_, h = height_;
    ranges_.Ymin = r.Ymin + (r.Ymax - r.Ymin) * (h - bottom) / h;
    ranges_.Ymax = r.Ymin + (r.Ymax - r.Ymin) * (h - top) / h;
    ranges_.Xmin = r.Xmin + (r.Xmax - r.Xmin) * left / w;
    ranges_.Xmax = r.Xmin + (r.Xmax - r.Xmin) * right / w;
    zoomed_ = true;
    ComputeScales();
    Redraw();
    return true;
}

LiveDiagramModel::AxisPoint LiveDiagramModel::ClickToAxes(int px, int py) const {
    const AxisRanges& r = ranges_;
    return {r.Xmin + (r.Xmax - r.Xmin) / width_ * px,
            r.Ymin + (r.Ymax - r.Ymin) / height_ * (height_ - py)};
}

int LiveDiagramModel::SampleAtStress(double y, double So) const {
    return FindFirstSampleAbove(test_.Buffer, CurveLength(), y * So / 1000.0);
}

void LiveDiagramModel::MarkSample(int index, DiagramMark mark) {
    if (index < 1 || index > kBufferCapacity) return;
    // A sample beyond the fine-strain curve (after the extensometer came off) has no strain.
    if (view_ == kViewStressFineStrain && index > CurveLength()) return;
    const AxisPoint v = SampleValues(index);
    MarkPoint(v.x, v.y, mark);
}

void LiveDiagramModel::MarkPoint(double x, double y, DiagramMark mark) {
    int px = 0, py = 0;
    if (canvas_ && ToPixel(x, y, px, py)) canvas_->DrawMark(px, py, mark);
}

void LiveDiagramModel::DrawEvaluationMarks() {
    const TestMarks& m = test_.Marks;
    const ResultsRecord& r = test_.Current();
    const double So = test_.Parameters.EffectiveSo;
    const int n = CurveLength();
    if (m.ModulusRangeStart > 0 && m.ModulusRangeEnd > 0) {
        MarkSample(m.ModulusRangeStart, DiagramMark::ModulusRange);
        MarkSample(m.ModulusRangeEnd, DiagramMark::ModulusRange);
    }
    // The elastic line and its parallel at the proof strain live in the fine-strain view.
    if (view_ == kViewStressFineStrain && m.ModulusLineSlope > 0 && canvas_) {
        const double slope = m.ModulusLineSlope, intercept = m.ModulusLineIntercept;
        const double top = r.Rm > 0 ? r.Rm : ranges_.Ymax;
        auto line = [&](double shift) {
            int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            if (ToPixel(-intercept / slope + shift, 0, x0, y0) &&
                ToPixel((top - intercept) / slope + shift, top, x1, y1)) {
                canvas_->DrawGuideLine(x0, y0, x1, y1);
            }
        };
        line(0);
        if (r.Rp > 0 && test_.Parameters.ProofStrain > 0) line(test_.Parameters.ProofStrain);
    }
    if (r.Rp > 0 && m.ProofIndex1 > 1) MarkSample(m.ProofIndex1, DiagramMark::Proof);
    if (r.Rp2 > 0 && m.ProofIndex2 > 1) MarkSample(m.ProofIndex2, DiagramMark::Proof);
    if (r.ReH > 0 && So > 0 && IsTensileFamily(test_.Parameters.TestType)) {
        // ReH is the first peak; ReL the first fall to its level after it.
        int h = SampleAtStress(r.ReH * 0.9999, So);
        MarkSample(h, DiagramMark::Yield);
        if (r.ReL > 0) {
            const double force = r.ReL * So / 1000.0 * 1.0001;
            for (int i = h; i <= std::min(n, m.FmaxIndex); ++i) {
                if (test_.Buffer.Force(i) <= force) {
                    MarkSample(i, DiagramMark::Yield);
                    break;
                }
            }
        }
    }
    if (m.FmaxIndex > 0 && m.FmaxIndex <= n) MarkSample(m.FmaxIndex, DiagramMark::Maximum);
    if (m.BreakIndex > 0 && m.BreakIndex <= n) MarkSample(m.BreakIndex, DiagramMark::Break);
}

}  // namespace quorvex
