// Tensile curves built in code from a small material model whose E, yield points or proof
// strengths, Rm and Ag are known, recorded sample by sample as a test run records them.
#pragma once

#include <vector>

#include "evaluation/test_state.h"

namespace quorvex::testing {

struct TensileModel {
    double So = 10, Lo = 50, Le = 50, Lc = 50;  // mm², mm
    double E = 210000;                          // N/mm²
    // A yield point when ReH > 0: the stress falls from ReH to ReL and stays there over the
    // Lüders strain. Otherwise plastic flow starts smoothly at YieldStart.
    double ReH = 0, ReL = 0, LuedersStrain = 0.01;
    double YieldStart = 300;
    double Rm = 500, Ag = 0.15;  // plastic strain (fraction) at the force maximum
    double Hardening = 3;        // exponent of the approach to Rm
    double NeckingDrop = 0.2;    // fraction of Rm lost over the necking strain
    double NeckingStrain = 0.05;
    double RValue = 0;           // > 0: the width of a flat specimen shrinks with this r
    double Width = 20;           // b0 of the flat specimen, mm
    int ElasticPoints = 100, LuedersPoints = 100, HardeningPoints = 1500, NeckingPoints = 100;
};

// Stress of the hardening part at a plastic strain (fraction) up to Ag.
double HardeningStress(const TensileModel& m, double plasticStrain);

struct BuiltCurve {
    std::vector<double> PlasticStrain;  // per sample, index 0 unused (samples are 1-based)
    int FmaxSample = 0;                 // the sample at plastic strain Ag
};

// Sets the parameter set's specimen values from the model and records the curve (elastic
// line, yield, hardening, necking, two samples of the fracture) into the state.
BuiltCurve BuildTensileCurve(TestState& state, const TensileModel& m);

// Records one sample of force (kN), travel, extension and width change (mm).
void Record(TestState& state, float force, float travel, float extension, float width = 0);

// One sample of a hand-made curve: force kN, travel, extension (or the stage number of the
// universal test) and width change mm.
struct CurvePoint {
    float Force = 0, Travel = 0, Extension = 0, Width = 0;
};

// Records the points as a test run does and ends the test: the last two points are the
// fracture, which the evaluation never uses.
void RecordCurve(TestState& state, const std::vector<CurvePoint>& points);

}  // namespace quorvex::testing
