// The five specimen shapes, each keeping its own dimensions so that switching shapes loses
// no input, and the cross-section So of each.
#pragma once

#include <cstdint>

namespace quorvex {

enum class SpecimenShape : std::uint8_t { Round = 0, Flat = 1, Tube = 2, Mass = 3, TubeSegment = 4 };

enum class GaugeKind : std::uint8_t { ShortProportional = 0, LongProportional = 1, UserDefined = 2 };

struct RoundSpecimen {
    float d = 10, Lo = 50, Lc = 60, So = 78.54f;
};
struct FlatSpecimen {
    float b = 20, a = 1, Lo = 80, Lc = 120, So = 20;
};
struct TubeSpecimen {
    float D = 20, a = 2, Lo = 44, Lc = 52.8f, So = 59.66f;
};
// Density g/cm³, mass g, total length; the two further values are carried, not used.
struct MassSpecimen {
    float rho = 7.84f, m = 70, Lt = 200, Lo = 38, Lv = 150, So = 44.64f, Further1 = 10,
          Further2 = 10;
};
struct TubeSegmentSpecimen {
    float a = 3.5f, b = 14, D = 33.7f, Lo = 50, Lv = 60, So = 50.98f;
};

struct CrossSection {
    double So = 0.0;
    bool valid = true;  // false: the dimensions admit no cross-section (So is then 1.0)
};

double RoundSo(double d);
double FlatSo(double a, double b);
double TubeSo(double D, double a);
// m × 1000 / ρ / Lt; a density or length of 0 or below gives the invalid So 1.0.
CrossSection MassSo(double rho, double m, double Lt);
// Circular segment of a tube wall; dimensions for which the formula has no value (b wider
// than the bore or the tube) give the invalid So 1.0.
CrossSection TubeSegmentSo(double a, double b, double D);

}  // namespace quorvex
