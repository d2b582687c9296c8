// How long EvaluateTest takes on a full buffer of 25000 samples: a benchmark, not a test.
// Run build/tests/evaluation/evaluation_benchmark by hand; ctest does not.
#include <benchmark/benchmark.h>

#include <memory>

#include "curve_builder.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/tensile_evaluation.h"

namespace quorvex {
namespace {

// The default results, or every tensile result including r and n (the n value takes the
// logarithms of every sample between 10 and 20 % strain).
void EvaluateFullBuffer(benchmark::State& run, bool yieldPoint, bool allResults) {
    auto state = std::make_unique<TestState>();
    testing::TensileModel m;
    if (yieldPoint) {
        m.ReH = 420;
        m.ReL = 350;
        m.LuedersPoints = 2000;
    }
    m.ElasticPoints = 1500;
    m.NeckingPoints = 2000;
    m.HardeningPoints = kBufferCapacity - 2 - 1 - m.ElasticPoints - m.NeckingPoints -
                        (yieldPoint ? m.LuedersPoints + 1 : 0);
    m.RValue = 1.5;
    state->Parameters.StrainByTdm = 1;
    for (int slot : {kSlotRt, kSlotAgt}) {
        state->Parameters.Results[static_cast<std::size_t>(slot - 1)].Evaluate = 1;
    }
    if (yieldPoint) {
        for (int slot : {kSlotReH, kSlotReL}) {
            state->Parameters.Results[static_cast<std::size_t>(slot - 1)].Evaluate = 1;
        }
    }
    if (allResults) for (int slot : {kSlotReH, kSlotReL, kSlotRt, kSlotRatio, kSlotAgt, kSlotRValue, kSlotNValue}) {
        state->Parameters.Results[static_cast<std::size_t>(slot - 1)].Evaluate = 1;
    }
    testing::BuildTensileCurve(*state, m);
    for (auto _ : run) {
        EvaluateTest(*state, false);
        benchmark::DoNotOptimize(state->Current().Rm);
    }
    run.counters["samples"] = state->Marks.SampleCount;
}

void BM_EvaluateSmoothYielding(benchmark::State& run) { EvaluateFullBuffer(run, false, false); }
void BM_EvaluateYieldPoint(benchmark::State& run) { EvaluateFullBuffer(run, true, false); }
void BM_EvaluateEveryResult(benchmark::State& run) { EvaluateFullBuffer(run, false, true); }

BENCHMARK(BM_EvaluateSmoothYielding)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EvaluateYieldPoint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EvaluateEveryResult)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvex

BENCHMARK_MAIN();
