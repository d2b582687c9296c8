// The curve file reader: whatever the bytes, it loads or refuses, and what it loads holds
// finite numbers only and evaluates without a crash.
#include <cmath>
#include <cstdlib>
#include <memory>

#include "evaluation/curve_file.h"
#include "evaluation/evaluate_test.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvex;
    const auto path = fuzz::WriteInput("1.Dia", data, size);
    auto state = std::make_unique<TestState>();
    if (!ReadCurveFile(path, state->Parameters, state->Buffer, state->Marks).Loaded()) return 0;
    if (!std::isfinite(state->Parameters.EffectiveSo)) std::abort();
    for (int i = 1; i <= state->Marks.SampleCount; ++i) {
        if (!std::isfinite(state->Buffer.Force(i))) std::abort();
    }
    EvaluateTest(*state, false);
    const ResultsRecord& r = state->Current();
    for (const float result : {r.So, r.ReH, r.ReL, r.Rp, r.Rp2, r.Rm, r.Ag, r.Agt, r.At, r.E}) {
        if (!std::isfinite(result)) std::abort();  // an evaluation never gives a non-finite result
    }
    CurveFileContent content;
    ParseCurveFile(path, content);
    return 0;
}
