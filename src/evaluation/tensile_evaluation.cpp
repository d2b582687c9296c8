// The tensile evaluation steps. Stresses are N/mm², strains %, the modulus N/mm² (the
// regression slope in N/mm² per % times 100).
#include "tensile_evaluation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "test_types.h"

namespace quorvex {
namespace {

// Running least-squares sums over points (strain %, stress).
struct RegressionSums {
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    int n = 0;

    void Add(double x, double y) {
        sx += x;
        sy += y;
        sxx += x * x;
        syy += y * y;
        sxy += x * y;
        ++n;
    }
    double Sxx() const { return sxx - sx * sx / n; }
    double Syy() const { return syy - sy * sy / n; }
    double Sxy() const { return sxy - sx * sy / n; }
    double Intercept(double slope) const { return sy / n - slope * sx / n; }
};

int ClampIndex(int i) { return std::clamp(i, 1, kBufferCapacity); }

// The yield points are accepted when the stresses, each rounded to a whole number (ties to
// even), differ by at least the rounded least drop.
YieldPoints AcceptYieldDrop(const CurveView& c, int upper, int lower) {
    const double reh = c.Sigma(upper);
    const double rel = c.Sigma(lower);
    const double drop = std::nearbyint(reh) - std::nearbyint(rel);
    if (drop >= std::nearbyint(static_cast<double>(c.Parameters.YieldDropMin))) return {reh, rel};
    return {};
}

// The first sample from 1 whose strain (e - e(1)) × 100 / Lo reaches limit; the scan stops
// at N - 1 even when the strain stays below.
int FirstSampleAtStrain(const CurveView& c, double limit) {
    int i = 1;
    while (i < c.N - 1 && (c.e(i) - c.e(1)) * 100.0 / c.Lo < limit) ++i;
    return i;
}

}  // namespace

CurveView::CurveView(const MeasurementBuffer& buffer, const ParameterSet& p,
                     const TestMarks& marks)
    : Parameters(p),
      N(std::min(marks.SampleCount, kBufferCapacity)),
      M(std::min(marks.FmaxIndex, kBufferCapacity)),
      So(p.EffectiveSo),
      Lo(p.EffectiveLo),
      Lc(p.EffectiveLc),
      Le(p.GaugeLengthLe),
      force_(buffer.Data(Channel::Force)),
      travel_(buffer.Data(Channel::Travel)),
      extension_(buffer.Data(Channel::Extension)),
      width_(buffer.Data(Channel::WidthChange)) {}

int FindBreakIndex(const CurveView& c) {
    const double threshold = 0.995 * c.F(c.M);
    for (int i = c.M + 1; i <= c.N; ++i) {
        if (c.F(i) < threshold) return i;
    }
    return c.N;
}

int MaximumExtensionIndex(const CurveView& c) {
    int best = 1;
    float largest = c.e(1);  // kept in a register: no load chained to the last maximum
    for (int i = 2; i <= c.N; ++i) {
        const float e = c.e(i);
        if (e > largest) {
            largest = e;
            best = i;
        }
    }
    return best;
}

bool ExtensionUsable(const CurveView& c) {
    if (c.Parameters.TestType == static_cast<std::int32_t>(TestType::PlasticsIso527) &&
        c.Parameters.StrainFromTravel != 0) {
        return false;
    }
    if (c.N < 1) return false;
    // Compared as stored: an extensometer that moved 0.2 mm or less is not usable.
    const float moved = c.e(MaximumExtensionIndex(c)) - c.e(1);
    return moved > 0.2f;
}

double RegressionModulus(const CurveView& c, TestMarks& marks, int a, int b) {
    const int lo = ClampIndex(std::min(a, b));
    const int hi = ClampIndex(std::max(a, b));
    marks.ModulusRangeStart = lo;
    marks.ModulusRangeEnd = hi;
    marks.ModulusLineIntercept = 0.0;
    if (!(c.Le > 0)) return 0.0;
    RegressionSums sums;
    for (int i = lo; i <= hi; ++i) sums.Add(c.e(i) * 100.0 / c.Le, c.Sigma(i));
    const double sxx = sums.Sxx();
    if (!(sxx > 0)) return 200000.0;
    const double slope = sums.Sxy() / sxx;
    marks.ModulusLineIntercept = sums.Intercept(slope);
    marks.ModulusLineSlope = slope;
    marks.DrawnLineIntercept = marks.ModulusLineIntercept;
    return slope * 100.0;
}

double AutomaticModulus(const CurveView& c, TestMarks& marks) {
    marks.ModulusLineIntercept = 0.0;
    int start = 5;
    const double startForce = 0.15 * c.F(c.M);
    for (int s = 3; s <= c.M; ++s) {
        if (c.F(s) > startForce && c.e(s) > 0.001f) {
            start = s;
            break;
        }
    }
    marks.ModulusRangeStart = start;
    if (!(c.Le > 0)) return 0.0;

    constexpr int kLeastPoints = 20;
    constexpr int kMostMisses = 10;
    RegressionSums sums;
    double slope = 0, intercept = 0, factor = 0, quality = 0;
    double bestQuality = -1, bestSlope = 0;
    bool judged = false;
    int misses = 0;
    for (int i = start; i <= c.M; ++i) {
        sums.Add(c.e(i) * 100.0 / c.Le, c.Sigma(i));
        if (sums.n < kLeastPoints) continue;
        const double sxx = sums.Sxx();
        if (sxx > 0) {
            const double sxy = sums.Sxy();
            const double syy = sums.Syy();
            slope = sxy / sxx;
            intercept = sums.Intercept(slope);
            if (syy > 0) factor = sxy / syy;
            // r² squared: orders the windows as r² does; a tie makes the longer window best.
            quality = (slope * factor) * (slope * factor);
        }
        if (quality >= bestQuality) {
            bestQuality = quality;
            bestSlope = slope;
            judged = true;
            misses = 0;
            marks.ModulusLineIntercept = intercept;
            marks.ModulusLineSlope = slope;
            marks.DrawnLineIntercept = intercept;
            marks.ModulusRangeEnd = i;
        } else if (++misses > kMostMisses) {
            break;
        }
    }
    return judged ? bestSlope * 100.0 : 0.0;
}

namespace {

// The scatter of the stress from sample to sample over from..to: second differences of white
// noise of deviation s have a mean magnitude of s·√6·√(2/π). A second pass leaves out the few
// large steps (a yield drop, the knee) that would otherwise pass for noise.
double StressNoise(const CurveView& c, int from, int to) {
    auto meanStep = [&](double limit) {
        double sum = 0;
        int n = 0;
        for (int i = from + 1; i < to; ++i) {
            const double d2 = std::fabs(c.Sigma(i + 1) - 2 * c.Sigma(i) + c.Sigma(i - 1));
            if (d2 > limit) continue;
            sum += d2;
            ++n;
        }
        return n > 0 ? sum / n : 0.0;
    };
    const double typical = meanStep(std::numeric_limits<double>::infinity());
    return meanStep(4 * typical) / (std::sqrt(6.0) * std::sqrt(2.0 / std::numbers::pi));
}

int FirstSampleAboveStress(const CurveView& c, double stress, int from, int to) {
    for (int i = from; i <= to; ++i) {
        if (c.Sigma(i) > stress) return i;
    }
    return to;
}

}  // namespace

double RobustModulus(const CurveView& c, TestMarks& marks) {
    marks.ModulusLineIntercept = 0.0;
    const int top = ClampIndex(std::min(c.M, c.N));
    const double peak = c.Sigma(top);
    if (!(c.Le > 0) || !(peak > 0) || top < 8) return 0.0;
    const int regionStart = FirstSampleAboveStress(c, 0.02 * peak, 1, top);
    const double noise = std::max(StressNoise(c, regionStart, top), 1e-5 * peak);
    const double allowed = 1.5 * noise;  // residual deviation a straight stretch stays within

    constexpr int kLeastPoints = 5;
    constexpr double kStartFractions[] = {0.05, 0.1, 0.15, 0.2, 0.25, 0.3, 0.4, 0.5};
    double bestSpan = 0, bestSlope = 0, bestIntercept = 0;
    int bestStart = 0, bestEnd = 0;
    for (const double fraction : kStartFractions) {
        const int start = FirstSampleAboveStress(c, fraction * peak, regionStart, top);
        RegressionSums sums;
        double slope = 0, intercept = 0;
        int end = 0;
        for (int i = start; i <= top; ++i) {
            sums.Add(c.e(i) * 100.0 / c.Le, c.Sigma(i));
            if (sums.n < kLeastPoints) continue;
            const double sxx = sums.Sxx();
            if (!(sxx > 0)) continue;
            const double candidate = sums.Sxy() / sxx;
            const double residual = std::max(0.0, sums.Syy() - candidate * sums.Sxy());
            // The stretch ends where the points leave the straight line by more than the
            // noise allows: the scatter of the whole window grows, or the newest point lies
            // far below the line (the yielding begins).
            const double candidateIntercept = sums.Intercept(candidate);
            const double lastResidual =
                c.Sigma(i) - (candidateIntercept + candidate * c.e(i) * 100.0 / c.Le);
            if (residual / (sums.n - 2) > allowed * allowed || lastResidual < -3 * allowed) break;
            slope = candidate;
            intercept = candidateIntercept;
            end = i;
        }
        if (end == 0 || !(slope > 0)) continue;
        // The stretch that spans the widest stress range: the elastic line, not a short
        // straight piece of it.
        const double span = c.Sigma(end) - c.Sigma(start);
        if (span > bestSpan) {
            bestSpan = span;
            bestSlope = slope;
            bestIntercept = intercept;
            bestStart = start;
            bestEnd = end;
        }
    }
    if (bestEnd == 0) return 0.0;
    marks.ModulusRangeStart = bestStart;
    marks.ModulusRangeEnd = bestEnd;
    marks.ModulusLineIntercept = bestIntercept;
    marks.ModulusLineSlope = bestSlope;
    marks.DrawnLineIntercept = bestIntercept;
    return bestSlope * 100.0;
}

double DetermineModulus(const CurveView& c, TestMarks& marks) {
    const ParameterSet& p = c.Parameters;
    if (p.HysteresisActive != 0) {
        marks.ModulusLineSlope = 0.0;
        marks.DrawnLineIntercept = 0.0;
        const double modulus = RegressionModulus(c, marks, marks.HysteresisStart, marks.HysteresisEnd);
        // The loop gives the modulus; the line that the proof search shifts comes from the
        // automatic window.
        AutomaticModulus(c, marks);
        return modulus;
    }
    if (p.ModulusMethod == 0) return AutomaticModulus(c, marks);
    if (p.ModulusMethod == kRobustModulusMethod) return RobustModulus(c, marks);
    auto firstAbove = [&](double forceKn) {
        for (int i = 2; i <= c.N; ++i) {
            if (c.F(i) > forceKn) return i;
        }
        return c.N;
    };
    const double fmax = c.F(c.M);
    const int i1 = firstAbove(p.ModulusF1Percent * fmax / 100.0);
    const int i2 = firstAbove(p.ModulusF2Percent * fmax / 100.0);
    return RegressionModulus(c, marks, i1, i2);
}

namespace {

// Walks samples 3..endIndex until the strain of sample k reaches the limit and interpolates
// between k - 1 and k; the strain of sample 2 counts as 0.
template <class Strain>
Crossing SearchCrossing(const CurveView& c, double limit, int endIndex, Strain strain) {
    const int last = std::min(endIndex, kBufferCapacity);
    if (!(limit > 0) || last < 3) return {};
    double previous = 0.0;
    for (int k = 3; k <= last; ++k) {
        const double current = strain(k);
        if (current >= limit) {
            const int j = k - 1;
            const double stress = c.Sigma(j) + (limit - previous) * (c.Sigma(k) - c.Sigma(j)) /
                                                   (current - previous);
            return {stress, j};
        }
        previous = current;
    }
    return {};
}

}  // namespace

Crossing ProofSearch(const CurveView& c, double modulus, double intercept, double limit,
                     int endIndex) {
    if (!(modulus > 0 && c.So > 0 && c.Le > 0)) return {};
    return SearchCrossing(c, limit, endIndex, [&](int i) {
        return c.e(i) * 100.0 / c.Le - (c.Sigma(i) - intercept) / modulus * 100.0;
    });
}

Crossing TotalStrainSearch(const CurveView& c, double modulus, double limit, int endIndex) {
    if (!(modulus > 0 && c.So > 0 && c.Le > 0)) return {};
    const double e1 = c.e(1);
    return SearchCrossing(c, limit, endIndex,
                          [&](int i) { return (c.e(i) - e1) * 100.0 / c.Le; });
}

YieldPoints YieldWithExtensometer(const CurveView& c, int proofIndex) {
    const int proof = std::min(proofIndex, kBufferCapacity);
    if (proof <= 7) return {};
    // The highest force before the proof point; among equal forces the latest.
    int upper = proof;
    float highest = c.F(proof);
    for (int i = proof - 1; i >= 5; --i) {
        if (c.F(i) > highest) {
            highest = c.F(i);
            upper = i;
        }
    }
    if (upper == proof) return {};
    const int end = proof <= c.M ? c.M : upper + (c.N - upper) / 3;
    int lower = end;
    float lowest = c.F(end);
    for (int i = end - 1; i >= upper; --i) {
        if (c.F(i) < lowest) {
            lowest = c.F(i);
            lower = i;
        }
    }
    return AcceptYieldDrop(c, upper, lower);
}

YieldPoints YieldFromForce(const CurveView& c) {
    // A maximum within the first five samples leaves no room for a yield point.
    if (c.M <= 5) return {};
    const double drop = c.So * c.Parameters.YieldDropMin / 1000.0;  // kN
    const double startForce = 0.2 * c.F(c.M);
    int start = c.M - 1;
    while (start > 5 && !(c.F(start) < startForce)) --start;

    int upper = start;
    float highest = c.F(start);
    int dropAt = 0;
    for (int i = start + 1; i < c.M; ++i) {
        if (c.F(i) > highest) {
            highest = c.F(i);
            upper = i;
        }
        if (static_cast<double>(highest) - c.F(i) >= drop) {
            dropAt = i;
            break;
        }
    }
    if (dropAt == 0) return {};
    int lower = dropAt;
    float lowest = c.F(dropAt);
    for (int i = dropAt + 1; i <= c.M; ++i) {
        if (c.F(i) < lowest) {
            lowest = c.F(i);
            lower = i;
        }
    }
    // A higher peak may follow the first drop before the lowest point.
    for (int i = lower; i >= start; --i) {
        if (c.F(i) > highest) {
            highest = c.F(i);
            upper = i;
        }
    }
    return AcceptYieldDrop(c, upper, lower);
}

double ExtensionAtForceMaximum(const CurveView& c, bool extensometer) {
    auto y = [&](int i) -> double { return extensometer ? c.e(i) : c.x(i); };
    const int top = ClampIndex(c.M);
    // The maximum may lie behind SampleCount (a break on the last samples recorded).
    const int lastRecorded = ClampIndex(std::max(c.N, c.M));
    const float fmax = c.F(top);
    int first = top, last = top;
    while (first > 1 && c.F(first - 1) >= fmax) --first;
    while (last < lastRecorded && c.F(last + 1) >= fmax) ++last;
    return (y(first) + y(last)) / 2.0 - y(1);
}

GaugeLengths ComputeGaugeLengths(const CurveView& c, double Rm, double modulus) {
    if (!(modulus > 0)) return {};
    const bool extensometer = c.Parameters.StrainByTdm != 0;
    const double L = extensometer ? c.Le : c.Lc;  // the gauge the extension is measured on
    if (!(L > 0) || !(c.Lo > 0)) return {};
    auto y = [&](int i) -> double {
        i = ClampIndex(i);
        return extensometer ? c.e(i) : c.x(i);
    };
    const int fracture = std::max(1, c.N - 2);
    const double toLo = c.Lo / L;
    const double atMaximum = ExtensionAtForceMaximum(c, extensometer);
    const double atFracture = y(fracture) - y(1);
    // An extensometer taken off reads 0 from then on: behind its largest reading it measured
    // nothing, and the elongations there stay 0 (not determined) instead of negative.
    const int largest = MaximumExtensionIndex(c);
    const double lost = c.e(largest) - 0.01 * std::fabs(c.e(largest) - c.e(1));
    auto measured = [&](double extension, int at) {
        return !extensometer || at <= largest || extension + c.e(1) >= lost;
    };
    GaugeLengths g;
    if (measured(atMaximum, ClampIndex(c.M))) {
        g.AtAgt = c.Lo + atMaximum * toLo;
        g.AtAg = c.Lo + (atMaximum - Rm / modulus * L) * toLo;
    }
    if (measured(atFracture, fracture)) {
        g.AtAt = c.Lo + atFracture * toLo;
        g.AtAc = c.Lo + (atFracture - c.Sigma(ClampIndex(fracture)) / modulus * L) * toLo;
    }
    return g;
}

std::optional<double> StrengthRatio(std::int32_t kind, const ResultsRecord& r) {
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    switch (kind) {
        case 1: return ratio(r.Rm, r.Rp);
        case 2: return ratio(r.Rm, r.Rp2);
        case 3: return ratio(r.Rm, r.ReH);
        case 4: return ratio(r.Rm, r.ReL);
        case 5: return ratio(r.Rp, r.Rm);
        case 6: return ratio(r.Rp2, r.Rm);
        case 7: return ratio(r.ReH, r.Rm);
        case 8: return ratio(r.ReL, r.Rm);
        default: return std::nullopt;
    }
}

double RValue(const CurveView& c) {
    if (!(c.Lo > 0)) return 0.0;
    const int i = FirstSampleAtStrain(c, c.Parameters.RValuePointPercent);
    if (i <= 1) return 0.0;
    // A curve that never reaches the point (an extensometer taken off before it) has no r:
    // the widths of another strain would give a wrong one.
    if ((c.e(i) - c.e(1)) * 100.0 / c.Lo < c.Parameters.RValuePointPercent) return 0.0;
    const double b0 = c.Parameters.Flat.b;
    const double bu = b0 - c.w(i);
    const double length = c.Lo + c.e(i) - c.e(1);
    if (!(b0 > 0 && bu > 0 && length > 0)) return 0.0;
    const double denominator = std::log(bu * length / (c.Lo * b0));
    if (denominator == 0) return 0.0;
    const double r = std::log(b0 / bu) / denominator;
    return std::isfinite(r) ? r : 0.0;
}

double NValue(const CurveView& c) {
    if (!(c.Lo > 0 && c.So > 0)) return 0.0;
    const int j = FirstSampleAtStrain(c, 10.0);
    const int k = FirstSampleAtStrain(c, c.Parameters.NValueUpperPercent);
    if (j >= k || j <= 1) return 0.0;
    RegressionSums sums;
    for (int i = j; i <= k; ++i) {
        const double length = c.Lo + c.e(i);
        sums.Add(std::log(std::log(length / c.Lo)), std::log(length * c.F(i) / c.So / c.Lo));
    }
    const double m = sums.n;
    const double denominator = m * sums.sxx - sums.sx * sums.sx;
    if (denominator == 0) return 0.0;
    const double n = (m * sums.sxy - sums.sx * sums.sy) / denominator;
    return std::isfinite(n) ? n : 0.0;
}

}  // namespace quorvex
