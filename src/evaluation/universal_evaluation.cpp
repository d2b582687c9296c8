// The universal test's evaluation.
#include "universal_evaluation.h"

#include "array_evaluation.h"

namespace quorvex {
namespace {

// Which of the two curve values a point search compares and which one it delivers.
enum class Lookup { ForceAtTravel, TravelAtForce };

double Known(const CurveView& c, int i, Lookup lookup) {
    return lookup == Lookup::ForceAtTravel ? c.x(i) : c.F(i) * 1000.0;
}
double Wanted(const CurveView& c, int i, Lookup lookup) {
    return lookup == Lookup::ForceAtTravel ? c.F(i) * 1000.0 : c.x(i);
}

// The first sample b of start+1..end at which the known value reaches v (rising range: at
// least v; falling range: at most v), interpolated with b - 1. A rising range must not meet
// v at its first examined sample, a falling range not within its last two.
double PointSearch(const CurveView& c, const UniversalRange& range, double v, Lookup lookup) {
    const int end = std::min(range.End, kBufferCapacity);
    for (int b = range.Start + 1; b <= end; ++b) {
        const double known = Known(c, b, lookup);
        const bool reached = range.Rising ? known >= v : known <= v;
        if (!reached) continue;
        const bool usable = range.Rising ? b > range.Start + 1 : b < end - 1;
        if (!usable || b < 2) return 0.0;
        const double wanted = Wanted(c, b, lookup);
        const double slope =
            DivideOrZero(wanted - Wanted(c, b - 1, lookup), known - Known(c, b - 1, lookup));
        return wanted - (known - v) * slope;
    }
    return 0.0;
}

// Travel where the force passes `threshold` (kN) between samples `below` and `above`
// (F(above) > threshold >= F(below)), interpolated and kept between the two samples.
double CrossingTravel(const CurveView& c, int below, int above, double threshold) {
    const double fraction =
        std::clamp(DivideOrZero(threshold - c.F(below), c.F(above) - c.F(below)), 0.0, 1.0);
    return c.x(below) + (c.x(above) - c.x(below)) * fraction;
}

double Trapezoid(const CurveView& c, int i) {
    return (c.x(i) - c.x(i - 1)) * (c.F(i) + c.F(i - 1)) / 2.0;
}

}  // namespace

UniversalRange UniversalEvaluationRange(const CurveView& c, std::int32_t springStage) {
    if (springStage < 1) return {2, c.N, true};
    UniversalRange range{2, c.N - 1, true};
    if (static_cast<double>(springStage) > c.e(WithinCurve(c, c.N - 1))) return range;
    int first = 0, last = 0;
    for (int i = 1; i <= c.N; ++i) {
        if (c.e(i) == static_cast<float>(springStage)) {
            if (first == 0) first = i;
            last = i;
        }
    }
    range.End = last > 0 ? last : c.N - 1;
    if (range.End < c.N) ++range.End;
    range.Start = first > 0 ? first : 2;
    if (range.Start > 2) --range.Start;
    range.Rising = c.F(std::max(range.Start, 1)) < c.F(std::max(range.End, 1));
    return range;
}

double ForceAtTravel(const CurveView& c, const UniversalRange& range, double s) {
    return PointSearch(c, range, s, Lookup::ForceAtTravel);
}

double TravelAtForce(const CurveView& c, const UniversalRange& range, double f) {
    return PointSearch(c, range, f, Lookup::TravelAtForce);
}

double WorkUpTo(const CurveView& c, double s) {
    double work = 0.0;
    for (int k = 2; k < c.N; ++k) {
        if (c.x(k) > s) return work + (s - c.x(k - 1)) * (c.F(k) + c.F(k - 1)) / 2.0;
        work += Trapezoid(c, k);
    }
    return 0.0;
}

double TotalWork(const CurveView& c) {
    double work = 0.0;
    for (int i = 2; i <= c.N; ++i) work += Trapezoid(c, i);
    return work;
}

void EvaluateUniversal(TestState& state) {
    const ParameterSet& p = state.Parameters;
    ResultsRecord& r = state.Current();
    const CurveView c(state.Buffer, p, state.Marks);
    auto on = [&](int slot) { return SlotEvaluated(p, slot); };
    auto definition = [&](int slot) -> const ResultDefinition& {
        return p.Results[static_cast<std::size_t>(slot - 1)];
    };
    auto set = [&](int element, double value) { Element(r, element) = static_cast<float>(value); };

    r.Rm = 1.0f;                                               // marks the series slot as occupied
    if (on(1)) set(0, FmaxNewtons(c));                         // Fmax
    if (on(2)) set(1, c.x(c.M) - c.x(1));                      // Smax
    if (on(3)) set(2, EndForceNewtons(c));                     // Fr
    if (on(4)) set(3, c.x(WithinCurve(c, c.N - 2)) - c.x(1));  // Sr
    set(4, 0.0);                                               // Fx, Sx: picked on the diagram
    set(5, 0.0);

    const UniversalRange range = UniversalEvaluationRange(c, p.SpringStage);
    const double s1 = definition(kSlotUniversalPoint1).LimitMin;
    const double f1 = definition(kSlotUniversalPoint1).LimitMax;
    const double s2 = definition(kSlotUniversalPoint2).LimitMin;
    const double f2 = definition(kSlotUniversalPoint2).LimitMax;
    // A point is taken at a travel (F1 at S1) or at a force (S1 at F1); the force wins.
    if (on(7)) {
        set(6, ForceAtTravel(c, range, s1));
        set(7, s1);
    }
    if (on(8)) {
        set(7, TravelAtForce(c, range, f1));
        set(6, f1);
    }
    if (on(9)) {
        set(8, ForceAtTravel(c, range, s2));
        set(9, s2);
    }
    if (on(10)) {
        set(9, TravelAtForce(c, range, f2));
        set(8, f2);
    }
    if (on(11)) {
        const bool first = on(7) || on(8);
        const bool second = on(9) || on(10);
        const double ds = Element(r, 9) - Element(r, 7);
        set(10, first && second && ds != 0 ? DivideOrZero(Element(r, 8) - Element(r, 6), ds) : 0.0);
    }
    if (on(12)) set(11, c.N >= 2 ? TotalWork(c) : 0.0);  // W
    const double workTravel = definition(kSlotUniversalWork).LimitMin;
    if (on(13)) set(12, WorkUpTo(c, workTravel));  // Wx
    if (on(14)) set(13, workTravel);               // Swx

    if (on(15)) {
        // The travel between the rise through one force and the fall through another.
        const double rising = definition(kSlotRisingThreshold).LimitMax / 1000.0;
        const double falling = definition(kSlotFallingThreshold).LimitMax / 1000.0;
        double ta = 0.0, tb = 0.0;
        bool foundA = false, foundB = false;
        for (int i = WithinCurve(c, c.N - 2); i >= c.M && i >= 1; --i) {
            if (c.F(i) > falling) {
                ta = CrossingTravel(c, i + 1, i, falling);
                foundA = true;
                break;
            }
        }
        for (int i = 1; i <= c.M; ++i) {
            if (c.F(i) > rising) {
                tb = i > 1 ? CrossingTravel(c, i - 1, i, rising) : c.x(1);
                foundB = true;
                break;
            }
        }
        set(9, ta);
        set(7, tb);
        set(14, foundA && foundB && ta > 0 && tb > 0 ? ta - tb : 0.0);
    }

    set(15, p.UniversalDivisor);
    if (p.UniversalDivisor > 0) {
        if (on(18)) set(17, ForceAtTravel(c, range, s1) / p.UniversalDivisor);
        if (on(19)) set(18, ForceAtTravel(c, range, s2) / p.UniversalDivisor);
    }
    state.Marks.EvaluationDone = true;
}

}  // namespace quorvex
