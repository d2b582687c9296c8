// The simulated specimen from the entered dimensions, and back.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "evaluation/cross_section.h"
#include "run/simulated_specimen.h"

namespace quorvex {
namespace {

TEST(SimulatedSpecimen, EnteredBarsReplaceThePresetsGeometry) {
    const SpecimenParameters steel = PresetParameters(SpecimenPreset::Steel);
    ParameterSet p;
    p.TestType = 0;
    p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Round);
    p.Round.d = 8;
    p.EffectiveSo = static_cast<float>(std::numbers::pi * 16);
    p.EffectiveLo = 80;
    p.EffectiveLc = 90;
    p.GaugeLengthLe = 40;
    SpecimenParameters s = SpecimenAsEntered(steel, p);
    EXPECT_DOUBLE_EQ(s.d, 8);
    EXPECT_DOUBLE_EQ(s.Lo, 80);
    EXPECT_DOUBLE_EQ(s.Lc, 90);
    EXPECT_DOUBLE_EQ(s.Le, 40);
    EXPECT_DOUBLE_EQ(s.Rm, steel.Rm);  // the material stays

    p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Flat);
    p.Flat.b = 20;
    p.Flat.a = 2;
    s = SpecimenAsEntered(steel, p);
    EXPECT_DOUBLE_EQ(s.d, 0);
    EXPECT_DOUBLE_EQ(s.So(), 40);

    // A tube carries its force as a round bar of the same cross-section.
    p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Tube);
    p.EffectiveSo = 100;
    EXPECT_NEAR(SpecimenAsEntered(steel, p).So(), 100, 1e-3);

    // A compression cylinder: d and its height.
    ParameterSet c;
    c.TestType = 9;
    c.Round.d = 20;
    c.EffectiveSo = static_cast<float>(std::numbers::pi * 100);
    c.EffectiveLo = c.EffectiveLc = c.GaugeLengthLe = 30;
    s = SpecimenAsEntered(PresetParameters(SpecimenPreset::CompressionCylinder), c);
    EXPECT_DOUBLE_EQ(s.d, 20);
    EXPECT_DOUBLE_EQ(s.Lo, 30);
}

TEST(SimulatedSpecimen, BeamsAndEntriesWithoutACrossSectionKeepThePreset) {
    const SpecimenParameters beam = PresetParameters(SpecimenPreset::ThreePointBeam);
    ParameterSet p;
    p.TestType = 8;
    p.EffectiveSo = 500;
    p.EffectiveLo = 300;
    const SpecimenParameters kept = SpecimenAsEntered(beam, p);
    EXPECT_DOUBLE_EQ(kept.Span, beam.Span);
    EXPECT_DOUBLE_EQ(kept.b, beam.b);
    EXPECT_DOUBLE_EQ(kept.Lo, beam.Lo);

    ParameterSet empty;
    empty.EffectiveSo = 0;
    const SpecimenParameters steel = PresetParameters(SpecimenPreset::Steel);
    EXPECT_DOUBLE_EQ(SpecimenAsEntered(steel, empty).d, steel.d);
}

TEST(SimulatedSpecimen, WhatTheCliEntersComesBackAsThePreset) {
    for (const SpecimenPreset preset :
         {SpecimenPreset::Steel, SpecimenPreset::Aluminium, SpecimenPreset::Plastic,
          SpecimenPreset::CompressionCylinder}) {
        const SpecimenParameters s = PresetParameters(preset);
        ParameterSet p;
        p.TestType = preset == SpecimenPreset::CompressionCylinder ? 9 : 0;
        PutSpecimen(s, p);
        const SpecimenParameters back = SpecimenAsEntered(s, p);
        EXPECT_NEAR(back.So(), s.So(), 1e-3) << PresetName(preset);
        EXPECT_NEAR(back.Lo, s.Lo, 1e-4) << PresetName(preset);
        EXPECT_NEAR(back.Le, s.Le, 1e-4) << PresetName(preset);
    }
}

}  // namespace
}  // namespace quorvex
