// Measures the period of the main window's measuring tick while a tensile test runs on the
// simulated machine in real time: the mean and the 99th percentile of the intervals between
// ticks, which must stay at 50 ms however much the window draws. Not run by ctest:
//   tick_period_benchmark [TICKS]   (default 2000, that is 100 s)
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <vector>

#include "evaluation/test_state.h"
#include "gui_test_support.h"
#include "machine/sim/virtual_machine.h"
#include "setup/machine_config.h"
#include "run/app_state.h"
#include "shell/lu_dialog.h"
#include "shell/main_window.h"
#include "shell/project_dialog.h"
#include "run/tensile_run.h"
#include "ui/dialog_base.h"
#include "ui/stored_texts.h"

using namespace quorvex;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int ticks = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;

    QTemporaryDir directory;
    QDir::setCurrent(directory.path());
    const std::filesystem::path work(directory.path().toStdString());
    std::ofstream(work / "Sprache.con") << "0";
    {
        std::ofstream platform(work / "Quorvex.platform");
        platform << "daq = simulated\nrelay = simulated\nencoder = none\ncontroller = simulated\n";
        for (int com = 1; com <= 16; ++com) platform << "com" << com << " = none\n";
    }

    SteadyClock clock;
    VirtualMachine machine{SimulationConfig{}, clock};
    AppState app;
    auto test = std::make_unique<TestState>();
    auto machineConfig = std::make_unique<MachineConfig>();
    StoredTexts texts;
    RecordedMessages messages;
    NoFiles files;
    UiContext ui{messages, texts, {}, nullptr};
    WhenModal<TNeue_Serie>([](TNeue_Serie* d) { d->reject(); });
    TSDIAppForm window(app, *test, *machineConfig, ui, files);
    window.UseMachine(&machine, clock);
    window.ShowSpecimenDialog = [] { return true; };
    window.show();
    if (!QTest::qWaitFor([&] { return app.StartupShown; }, 10000) || !app.DaqPresent) {
        std::fprintf(stderr,
                     "tick_period_benchmark: the window did not start on the simulated machine\n");
        return 1;
    }
    app.ProjectOpen = true;
    ParameterSet& p = test->Parameters;
    p.TestType = 0;
    p.Stages = {};
    // At most 1 mm/min, and slow enough that the crosshead travels about 6 mm in the run: the
    // steel specimen does not break before the last tick, even in a run of 25000 ticks.
    p.Stages[0] = {1, 0, 1, std::min(1.0, 7200.0 / ticks), 1};

    std::vector<std::chrono::steady_clock::time_point> stamps;
    stamps.reserve(static_cast<std::size_t>(ticks) + 1);
    QObject::connect(&window.MessenTimer(), &QTimer::timeout,
                     [&] { stamps.push_back(std::chrono::steady_clock::now()); });
    if (!window.FormKeyDown(Qt::Key_F2, Qt::NoModifier) || !app.TestRunning) {
        std::fprintf(stderr, "tick_period_benchmark: the test did not start\n");
        return 1;
    }
    (void)QTest::qWaitFor(
        [&] { return stamps.size() > static_cast<std::size_t>(ticks) || !app.TestRunning; },
        ticks * 60 + 10000);
    // The ticks of the test only: the stop's own waits are no part of the sampling.
    const std::vector<std::chrono::steady_clock::time_point> during = stamps;
    const bool running = app.TestRunning;
    const int recorded = test->Marks.StoredSamples;
    WhenModal<TLuDialog>([](TLuDialog* d) { d->reject(); });  // the final diameter
    if (window.TestRun()) window.TestRun()->Stop(true);

    std::vector<double> periods;
    for (std::size_t i = 1; i < during.size(); ++i) {
        periods.push_back(
            std::chrono::duration<double, std::milli>(during[i] - during[i - 1]).count());
    }
    if (periods.empty()) return 1;
    const double mean = std::accumulate(periods.begin(), periods.end(), 0.0) / periods.size();
    std::vector<double> sorted = periods;
    std::sort(sorted.begin(), sorted.end());
    const double p99 =
        sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(0.99 * sorted.size()))];
    const double total =
        std::chrono::duration<double, std::milli>(during.back() - during.front()).count();
    std::printf("ticks %zu  recorded points %d  test still running %s\n", periods.size(), recorded,
                running ? "yes" : "no");
    std::printf("tick period: mean %.3f ms  99th percentile %.3f ms  min %.3f ms  max %.3f ms\n",
                mean, p99, sorted.front(), sorted.back());
    std::printf("drift over the run: %.1f ms (%.3f ms per tick)\n", total - 50.0 * periods.size(),
                (total - 50.0 * periods.size()) / periods.size());
    return 0;
}
