// The curves the virtual specimens give, read as a materials engineer reads them: the yield
// point and its Lüders plateau, continuous yielding with its proof strength, the tensile
// strength, necking, the fracture and the elongation after it; the yield maximum and drawing
// of a plastic; brittle beams and the residual strength of a shear specimen.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <numbers>

#include "sim_bench.h"

namespace quorvex {
namespace {

using testing::CurvePoint;
using testing::SimBench;
using testing::SimConfig;

struct Curve {
    std::vector<CurvePoint> points;
    double So = 0, Le = 0;

    double Stress(std::size_t i) const { return points[i].force * 1000 / So; }
    double Strain(std::size_t i) const { return points[i].extension / Le; }  // fraction
    std::size_t FmaxIndex() const {
        std::size_t best = 0;
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (points[i].force > points[best].force) best = i;
        }
        return best;
    }
    double Fmax() const { return points[FmaxIndex()].force; }
    // The last point before the force fell away: the fracture.
    std::size_t LastBeforeBreak() const { return points.size() - 2; }
    // Slope of stress over strain between two stress levels, by least squares.
    double Modulus(double fromStress, double toStress) const {
        double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (std::size_t i = 0; i < points.size() && Stress(i) < toStress * 1.01; ++i) {
            if (Stress(i) < fromStress || Stress(i) > toStress) continue;
            const double x = Strain(i), y = Stress(i);
            n += 1, sx += x, sy += y, sxx += x * x, sxy += x * y;
        }
        return (n * sxy - sx * sy) / (n * sxx - sx * sx);
    }
};

Curve RunTensile(SimulationConfig config, double mmPerMin, double maxSeconds) {
    SimBench bench(config, 4);
    const SpecimenParameters p = config.Specimen();
    return {bench.RunTest(mmPerMin, maxSeconds), p.So(), p.Le};
}

// The fracture: from well above half the maximum force to almost nothing within one tick.
void ExpectFracture(const Curve& c) {
    ASSERT_GE(c.points.size(), 3u);
    EXPECT_LT(c.points.back().force, 0.1 * c.Fmax());
    EXPECT_GT(c.points[c.points.size() - 2].force, 0.5 * c.Fmax());
}

TEST(SimCurves, SteelWithAYieldPointShowsReHTheLuedersPlateauNeckingAndFracture) {
    SimulationConfig config = SimConfig(SpecimenPreset::YieldPointSteel);
    config.NominalForce = 100;
    config.NominalStrain = 25;  // a long-travel extensometer, to the fracture
    const Curve c = RunTensile(config, 10, 300);
    const double E = 210000, ReH = 300, ReL = 280;

    EXPECT_NEAR(c.Modulus(0.1 * ReH, 0.5 * ReH), E, 0.03 * E);
    // The upper yield point, then the plateau below it.
    double upper = 0;
    std::size_t i = 0;
    for (; c.Strain(i) < 0.003; ++i) upper = std::max(upper, c.Stress(i));
    EXPECT_NEAR(upper, ReH, 0.02 * ReH);
    double low = 1e9, high = 0;
    for (; c.Strain(i) < 0.014; ++i) {
        low = std::min(low, c.Stress(i));
        high = std::max(high, c.Stress(i));
    }
    EXPECT_NEAR(low, ReL, 0.015 * ReL);
    EXPECT_LT(high, ReL * 1.015);  // flat: the Lüders bands run at ReL
    EXPECT_GT(upper - high, 0.03 * ReH);

    const std::size_t m = c.FmaxIndex();
    EXPECT_NEAR(c.Stress(m), 430, 4);
    const double plasticAtFmax = c.Strain(m) - c.Stress(m) / E;
    EXPECT_NEAR(plasticAtFmax, 0.18, 0.02);
    // Necking: the force falls while the specimen lengthens, to the fracture.
    const std::size_t b = c.LastBeforeBreak();
    EXPECT_LT(c.points[b].force, 0.8 * c.Fmax());
    EXPECT_GT(c.points[b].extension, c.points[m].extension + 0.08 * c.Le);
    ExpectFracture(c);
    EXPECT_NEAR(c.Strain(b) - c.Stress(b) / E, 0.30, 0.005);  // elongation after fracture
}

TEST(SimCurves, QuenchedAndTemperedSteelYieldsContinuously) {
    SimulationConfig config = SimConfig(SpecimenPreset::Steel);
    config.NominalForce = 100;
    config.NominalStrain = 10;
    const Curve c = RunTensile(config, 5, 300);
    const double E = 210000;
    const std::size_t m = c.FmaxIndex();
    // No drop on the way to Fmax: the curve only bends over.
    for (std::size_t i = 5; i < m; ++i) EXPECT_GT(c.Stress(i), c.Stress(i - 5) - 2) << i;
    // The 0.2 % proof strength by the offset line.
    std::size_t k = 0;
    while (c.Stress(k) > E * (c.Strain(k) - 0.002)) ++k;
    EXPECT_NEAR(c.Stress(k), 750, 12);
    EXPECT_NEAR(c.Stress(m), 950, 8);
    EXPECT_NEAR(c.Strain(m) - c.Stress(m) / E, 0.07, 0.012);
    ExpectFracture(c);
    const std::size_t b = c.LastBeforeBreak();
    EXPECT_NEAR(c.Strain(b) - c.Stress(b) / E, 0.15, 0.005);
}

TEST(SimCurves, APlasticShowsItsYieldMaximumAndDrawsLong) {
    SimulationConfig config = SimConfig(SpecimenPreset::Plastic);
    config.NominalForce = 5;
    config.NominalStrain = 150;
    const Curve c = RunTensile(config, 50, 300);
    const std::size_t m = c.FmaxIndex();
    EXPECT_NEAR(c.Stress(m), 33, 0.5);
    EXPECT_NEAR(c.Strain(m), 0.09, 0.01);
    // After the maximum the neck draws at a much lower stress over a long way.
    double low = 1e9, high = 0;
    std::size_t i = m;
    while (c.Strain(i) < 0.3) ++i;
    for (; c.Strain(i) < 0.8; ++i) {
        low = std::min(low, c.Stress(i));
        high = std::max(high, c.Stress(i));
    }
    EXPECT_GT(low, 23.5);
    EXPECT_LT(high, 26);
    const std::size_t b = c.LastBeforeBreak();
    EXPECT_NEAR(c.Strain(b), 1.2, 0.03);
    EXPECT_NEAR(c.Stress(b), 27, 1);
    ExpectFracture(c);
}

TEST(SimCurves, AShearSpecimenKeepsAResidualStrengthAfterTheFirstCrack) {
    SimulationConfig config = SimConfig(SpecimenPreset::ShearSpecimen);
    config.NominalForce = 10;
    SimBench bench(config, 4);
    const auto points = bench.RunTest(1, 120);
    double fmax = 0;
    int residual = 0;
    for (const auto& p : points) {
        fmax = std::max(fmax, p.force);
        if (p.force > 0.4 * fmax && p.force < 0.6 * fmax) ++residual;
    }
    EXPECT_NEAR(fmax, 4 * 60.0 * 10 * 2 / 3 / 1000, 0.02);  // 4 tau b h / 3
    EXPECT_GT(residual, 20);  // the laminate still carries while the crack runs
}

struct PresetCase {
    SpecimenPreset preset;
    double nominalForce;  // kN of the machine
    double mmPerMin;
    double fmax;         // kN expected
    double breakTravel;  // mm of crosshead travel at the fracture, roughly
};

TEST(SimCurves, AnUntouchedSpecimenTakesTheEnteredDimensionsALoadedOneIsKept) {
    SimBench bench(SimConfig(SpecimenPreset::Steel));
    SpecimenParameters thin = bench.Config().Specimen();
    thin.d = 5;  // a quarter of the preset's cross-section
    ASSERT_TRUE(bench.sim->FitClampedSpecimen(thin));

    // Under load it stays the specimen it is.
    bench.Link().StartTestRamp(RampChannel::Travel, kNominalSetValue, bench.Link().TravelRate(5));
    bench.RunFor(3);
    ASSERT_GT(bench.Force(), 1.0);
    EXPECT_FALSE(bench.sim->FitClampedSpecimen(bench.Config().Specimen()));
    bench.Link().StopMachine();

    double fmax = 0;
    for (const CurvePoint& point : bench.RunTest(5, 600)) fmax = std::max(fmax, point.force);
    EXPECT_NEAR(fmax, 950 * std::numbers::pi * 25 / 4 / 1000, 0.4);  // Rm on d = 5 mm
    EXPECT_FALSE(bench.sim->FitClampedSpecimen(thin));  // broken: the next one is clamped
}

TEST(SimCurves, EveryPresetReachesItsStrengthAndBreaks) {
    const PresetCase cases[] = {
        {SpecimenPreset::Aluminium, 100, 10, 320 * 60 / 1000.0, 8},
        {SpecimenPreset::StainlessSteel, 100, 20, 640 * 78.54 / 1000, 34},
        {SpecimenPreset::CompressionCylinder, 100, 2, 0, 3.9},
        {SpecimenPreset::ThreePointBeam, 10, 0.5, 2.0 * 15 * 50 * 25 * 25 / 3 / 125 / 1000, 0.05},
        {SpecimenPreset::FourPointBeam, 100, 0.5, 5.0 * 100 * 100 * 100 / 300 / 1000, 0.15},
        {SpecimenPreset::Chain, 300, 100, 800 * 100.53 / 1000, 107},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(PresetName(k.preset));
        SimulationConfig config = SimConfig(k.preset);
        config.NominalForce = k.nominalForce;
        const Curve c = RunTensile(config, k.mmPerMin, 600);
        if (k.fmax > 0) {
            EXPECT_NEAR(c.Fmax(), k.fmax, 0.01 * k.fmax);
        }
        ExpectFracture(c);
        EXPECT_NEAR(c.points[c.LastBeforeBreak()].travel, k.breakTravel, 0.25 * k.breakTravel);
        // Loaded by upward travel in a tension space or a compression cage: positive force.
        for (const auto& p : c.points) EXPECT_GT(p.force, -0.01);
    }
}

TEST(SimCurves, ATwentyMinuteTestRunsInWellUnderASecond) {
    SimulationConfig config = SimConfig(SpecimenPreset::StainlessSteel);
    config.NominalForce = 100;
    SimBench bench(config, 1);
    const auto start = std::chrono::steady_clock::now();
    const auto points = bench.RunTest(1.6, 1500);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(points.size(), 20u * 60 * 18);  // more than 18 minutes of samples
    EXPECT_LT(points.size(), 20u * 60 * 25);
    EXPECT_LT(points.back().force, 0.1 * 50);  // broken
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(seconds, 20.0);  // the sanitizers' checks cost their price
#else
    EXPECT_LT(seconds, 1.0);
#endif
}

}  // namespace
}  // namespace quorvex
