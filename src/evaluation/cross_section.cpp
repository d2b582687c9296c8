// Cross-section formulas of the specimen shapes.
#include "cross_section.h"

#include <cmath>
#include <numbers>

namespace quorvex {

double RoundSo(double d) { return std::numbers::pi * d * d / 4.0; }

double FlatSo(double a, double b) { return a * b; }

double TubeSo(double D, double a) {
    const double inner = D - 2.0 * a;
    return std::numbers::pi / 4.0 * (D * D - inner * inner);
}

CrossSection MassSo(double rho, double m, double Lt) {
    if (!(rho > 0.0) || !(Lt > 0.0)) return {1.0, false};
    return {m * 1000.0 / rho / Lt, true};
}

CrossSection TubeSegmentSo(double a, double b, double D) {
    const double bore = D - 2.0 * a;
    const double outerRoot = D * D - b * b;
    const double innerRoot = bore * bore - b * b;
    if (outerRoot < 0.0 || innerRoot < 0.0 || D <= 0.0 || bore <= 0.0) return {1.0, false};
    const double so = b / 4.0 * std::sqrt(outerRoot) + D * D / 4.0 * std::asin(b / D) -
                      b / 4.0 * std::sqrt(innerRoot) - bore * bore / 4.0 * std::asin(b / bore);
    if (!std::isfinite(so)) return {1.0, false};
    return {so, true};
}

}  // namespace quorvex
