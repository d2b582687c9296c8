// The compression test (type 9): specimen values, modulus and the three compressive proof
// strengths, and the monitoring of the three displacement probes at the end of a test.
#pragma once

#include <string>

#include "test_state.h"

namespace quorvex {

// Modulus of a compression test measured without a usable extensometer.
constexpr double kCompressionModulusWithoutExtensometer = 2000000.0;

void EvaluateCompression(TestState& state, bool keepModulus);

// The outcome of the probe monitoring. On a deviation: the first sample at which a probe left
// the tolerance around the mean of the three, the highest deviating probe number there, the
// mean, and the message that the operator is shown ("Fehler bei Messwertgeber-Überwachung /
// Taster = 2 / 10.000 mm").
struct ProbeCheck {
    bool Passed = true;
    int Sample = 0;
    int Probe = 0;
    double Mean = 0.0;
    std::string Message;  // empty when passed
};

// Checks samples 3 .. SampleCount - 1: a probe deviates when it is farther from the mean of the
// three than ProbeTolerance % of the mean and also farther than ProbeTolerance mm. The run
// calls it at the end of a compression test when ProbeMonitoring is set.
ProbeCheck ProbeMonitoring(const MeasurementBuffer& buffer, const TestMarks& marks,
                           const ParameterSet& p);

}  // namespace quorvex
