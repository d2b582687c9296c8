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
    CurveFileContent content;
    ParseCurveFile(path, content);
    return 0;
}
