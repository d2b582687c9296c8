// How long the live diagram takes to draw into its off-screen image: a full redraw of 25000
// samples (the rescale) and one sample's segment, with the heap allocations that a sample
// costs. A benchmark, not a test: run build/tests/shell/live_diagram_benchmark by hand
// (QT_QPA_PLATFORM=offscreen without a display); ctest does not.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "evaluation/curve_builder.h"
#include "shell/live_diagram_widget.h"
#include "ui/stored_texts.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace quorvex {
namespace {

// A tensile curve that fills the buffer, drawn by a diagram of 800 × 500 pixels.
struct Rig {
    Rig() {
        testing::TensileModel m;
        m.ElasticPoints = 1500;
        m.NeckingPoints = 2000;
        m.HardeningPoints = kBufferCapacity - 2 - 1 - m.ElasticPoints - m.NeckingPoints;
        testing::BuildTensileCurve(*test, m);
        nominals.NominalForce = 200;
        nominals.NominalTravel = 300;
        area.resize(800, 500);
        area.show();
        area.Attach(model);
    }
    std::unique_ptr<TestState> test = std::make_unique<TestState>();
    CalibrationRecord nominals;
    MachineSetupRecord setup;
    StoredTexts texts;
    LiveDiagramModel model{*test, nominals, setup};
    TDiagramArea area{texts};
};

Rig& TheRig() {
    static Rig rig;
    return rig;
}

// The rescale during a test: axes and every recorded point over the travel.
void FullRedrawDuringTest(benchmark::State& run) {
    Rig& rig = TheRig();
    rig.test->Parameters.StartDiagram = 0;
    rig.model.PrepareForTest();
    rig.test->Marks.StoredSamples = kBufferCapacity;
    for (auto _ : run) rig.model.Redraw();
    run.counters["points"] = kBufferCapacity;
}
BENCHMARK(FullRedrawDuringTest)->Unit(benchmark::kMillisecond);

// The evaluated curve with its marks, stress over fine strain.
void FullRedrawEvaluated(benchmark::State& run) {
    Rig& rig = TheRig();
    rig.model.ShowEvaluatedCurve(kViewStressFineStrain);
    for (auto _ : run) rig.model.Redraw();
}
BENCHMARK(FullRedrawEvaluated)->Unit(benchmark::kMillisecond);

// One sample of the sampling path: plot its segment (no rescale).
void OneLivePoint(benchmark::State& run) {
    Rig& rig = TheRig();
    rig.test->Parameters.StartDiagram = 0;
    rig.model.PrepareForTest();
    int index = 3;
    long allocated = 0;
    for (auto _ : run) {
        LivePoint p;
        p.Index = index;
        p.ForceKn = rig.test->Buffer.Force(index);
        p.TravelMm = rig.test->Buffer.Travel(index);
        const long before = allocations.load();
        rig.model.AddLivePoint(p, 1.9);
        allocated += allocations.load() - before;
        index = index < kBufferCapacity ? index + 1 : 3;
    }
    run.counters["allocations/point"] =
        benchmark::Counter(static_cast<double>(allocated), benchmark::Counter::kAvgIterations);
}
BENCHMARK(OneLivePoint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvex

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
