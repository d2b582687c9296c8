// The results that the operator places on the curve: the result field in pick mode decides
// what a click on the diagram means (one or two clicks), and these functions compute and
// store the result. Plain functions over the test state, so that they are tested on a curve.
#pragma once

#include <optional>
#include <string>

#include "evaluation/test_state.h"

namespace quorvex {

enum class PickKind {
    None,
    Modulus,            // E: two samples, regression between them, confirmed
    UpperYield,         // ReH: the stress of the click
    LowerYield,         // ReL
    Proof,              // Rp: two samples give the elastic line, the proof crossing is confirmed
    Ae,                 // two clicks, the strain between them
    CompressionYield,   // Sig-B: the stress, and the strain where the result set asks for it
    CompressionStress,  // Sig-F and the proof columns: the stress of the click
    CompressionStrain,  // Eps-dB: the strain of the click
    ShearForce,         // Fmax (N) and the strength from it
    UniversalForce,     // Fx (N)
    UniversalTravel,    // Sx (mm)
    UniversalStress,    // SigX (N/mm²)
};

// What a click on the diagram does while this result field of the test type is in pick mode.
PickKind PickKindOfField(int testType, const std::string& field);

inline bool NeedsTwoSamples(PickKind kind) {
    return kind == PickKind::Modulus || kind == PickKind::Proof;
}

// The clicks of a pick so far; a two-click pick remembers its first click.
struct PickClicks {
    PickKind Kind = PickKind::None;
    bool HaveFirst = false;
    int FirstSample = 0;
    double FirstX = 0;
};

// The modulus between two picked samples, for the confirmation; the state stays as it is.
double PickModulus(const TestState& state, int sampleA, int sampleB);

// OK in the confirmation: the regression between the samples becomes the modulus range and
// the elastic line, its modulus is kept (also as the compression test's E result) and the
// results are evaluated again with it.
void AcceptModulus(TestState& state, int sampleA, int sampleB);

// The value the confirmation shows: psi shows the stress × 145.0377.
double InStressUnit(double stress, int unitSystem);

// ReH or ReL: the stress y replaces the result; the strength ratio follows when it is
// evaluated. Returns the force in N (y × So).
double PickYield(TestState& state, bool upper, double y);

// The straight line through two picked samples of the stress/fine-strain curve replaces the
// elastic line; the proof crossing is searched again. The Rp the crossing gives, or nothing
// (no line through the two samples, no proof strain, no gauge length, no crossing).
std::optional<double> PickProof(TestState& state, int sampleA, int sampleB);

// Ae: the strain between the two clicks, kept when positive.
bool PickAe(TestState& state, double firstX, double secondX);

// A one-click pick of the other test types (compression, shear, universal) on this field,
// with the click's axis values x and y.
void PickValue(TestState& state, const std::string& field, double x, double y);

}  // namespace quorvex
