// The compression test's evaluation and probe monitoring.
#include "compression_evaluation.h"

#include <cmath>
#include <numbers>

#include "array_evaluation.h"
#include "text_functions.h"

namespace quorvex {

void EvaluateCompression(TestState& state, bool keepModulus) {
    const ParameterSet& p = state.Parameters;
    ResultsRecord& r = state.Current();
    TestMarks& marks = state.Marks;
    const CurveView c(state.Buffer, p, marks);
    auto set = [&](int element, double value) { Element(r, element) = static_cast<float>(value); };

    marks.BreakIndex = FindBreakIndex(c);
    const bool usable = ExtensionUsable(c);
    marks.ExtensionEndIndex = usable ? MaximumExtensionIndex(c) : 1;

    set(0, c.So > 0 ? std::sqrt(4.0 * c.So / std::numbers::pi) : 0.0);  // D
    set(1, c.Le);                                                       // H: specimen height
    set(2, c.So);                                                       // S0

    // A modulus chosen on the diagram stays; the values that the operator completes in the
    // result panels start again from 0, except the compressive strength: the force maximum,
    // also when the specimen broke on the last sample recorded (FmaxIndex behind SampleCount).
    // A value picked on the diagram replaces it until the next evaluation.
    if (!keepModulus) {
        r.E = static_cast<float>(usable ? DetermineModulus(c, marks)
                                        : kCompressionModulusWithoutExtensometer);
        for (int element : {3, 7, 8, 9}) set(element, 0.0);  // Sig-dB, Sig-dF, Eps-dB, Phi-dB
        if (SlotEvaluated(p, 4)) set(3, c.Sigma(c.M));       // Sig-dB
        set(10, r.E);                                        // E
    }
    const double E = r.E;

    marks.ProofIndex1 = marks.ProofIndex2 = marks.ProofIndex3 = 3;
    if (usable) {
        struct ProofColumn {
            int slot;
            double strain;
            int* index;
        };
        const ProofColumn columns[] = {{5, p.ProofStrain, &marks.ProofIndex1},
                                       {6, p.SecondProofStrain, &marks.ProofIndex2},
                                       {7, p.ThirdProofStrain, &marks.ProofIndex3}};
        for (const ProofColumn& column : columns) {
            if (!SlotEvaluated(p, column.slot)) continue;
            const Crossing proof = ProofSearch(c, E, marks.ModulusLineIntercept, column.strain,
                                               marks.ExtensionEndIndex);
            set(column.slot - 1, proof.stress);  // Sig-dX1 ... Sig-dX3
            if (proof.found()) *column.index = proof.index;
        }
    }
    CopyResultDecimals(p, state.ResultDecimals, 12);
    marks.EvaluationDone = true;
}

ProbeCheck ProbeMonitoring(const MeasurementBuffer& buffer, const TestMarks& marks,
                           const ParameterSet& p) {
    ProbeCheck check;
    const double tolerance = p.ProbeTolerance;
    const int last = std::min(marks.SampleCount, kBufferCapacity) - 1;
    for (int i = 3; i <= last; ++i) {
        const double probes[] = {buffer.At(Channel::Probe1, i), buffer.At(Channel::Probe2, i),
                                 buffer.At(Channel::Probe3, i)};
        const double mean = (probes[0] + probes[1] + probes[2]) / 3.0;
        const double allowed = mean * tolerance / 100.0;
        int deviating = 0;
        for (int k = 1; k <= 3; ++k) {
            const double deviation = std::fabs(mean - probes[k - 1]);
            if (deviation > allowed && deviation > tolerance) deviating = k;
        }
        if (deviating == 0) continue;
        check.Passed = false;
        check.Sample = i;
        check.Probe = deviating;
        check.Mean = mean;
        check.Message =
            "Fehler bei Messwertgeber-Überwachung / Taster = " + std::to_string(deviating) + " / " +
            RemoveBlanks(FormatFixed(mean, 0, 3)) + " mm";
        break;
    }
    return check;
}

}  // namespace quorvex
