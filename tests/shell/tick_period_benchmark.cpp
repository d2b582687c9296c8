// Measures the sampling of a tensile test in the main window on the simulated machine in real
// time: the intervals between the samples by their time stamps (mean, 99th percentile, max),
// the samples lost, and the drift of the sampling clock, while the window draws, while other
// processes load the computer, and while the window's thread is blocked. Not run by ctest:
//   tick_period_benchmark [TICKS] [--load N] [--block-gui MS]
// TICKS (default 2000, that is 100 s) is the length of the test; --load N starts N processes
// that spin on the processor for the whole run and ends them afterwards; --block-gui MS blocks
// the window's thread for MS milliseconds while the specimen breaks (a first test finds when
// it breaks) and says how soon after the break the simulated controller got the stop.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <thread>
#include <vector>

#include "evaluation/test_state.h"
#include "gui_test_support.h"
#include "machine/sim/virtual_machine.h"
#include "run/app_state.h"
#include "run/run_routine.h"
#include "setup/machine_config.h"
#include "shell/lu_dialog.h"
#include "shell/main_window.h"
#include "shell/project_dialog.h"
#include "ui/dialog_base.h"
#include "ui/stored_texts.h"

using namespace quorvex;

namespace {

constexpr double kPeriodMs = 50.0;

struct Options {
    int Ticks = 2000;
    int Load = 0;
    int BlockMs = 0;
};

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--load" && i + 1 < argc) {
            o.Load = std::clamp(std::atoi(argv[++i]), 0, 64);
        } else if (arg == "--block-gui" && i + 1 < argc) {
            o.BlockMs = std::clamp(std::atoi(argv[++i]), 0, 60000);
        } else {
            o.Ticks = std::max(10, std::atoi(arg.c_str()));
        }
    }
    return o;
}

// Processes that keep a processor busy until they are ended.
class BusyProcesses {
  public:
    explicit BusyProcesses(int n) {
        for (int i = 0; i < n; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                volatile unsigned long spin = 0;
                for (;;) spin = spin + 1;
            }
            if (pid > 0) pids_.push_back(pid);
        }
    }
    ~BusyProcesses() {
        for (pid_t pid : pids_) kill(pid, SIGKILL);
        for (pid_t pid : pids_) waitpid(pid, nullptr, 0);
    }

  private:
    std::vector<pid_t> pids_;
};

struct TestRecord {
    std::vector<std::int64_t> Stamps;  // ns, the samples the run took
    bool Ended = false;                // the test ended by itself (the break)
    int Recorded = 0;
};

class Bench {
  public:
    Bench() : machine_(SimulationConfig{}, clock_) {}

    bool Open(const std::filesystem::path& work) {
        std::ofstream(work / "Sprache.con") << "0";
        std::ofstream platform(work / "Quorvex.platform");
        platform << "daq = simulated\nrelay = simulated\nencoder = none\ncontroller = simulated\n";
        for (int com = 1; com <= 16; ++com) platform << "com" << com << " = none\n";
        platform.close();
        WhenModal<TNeue_Serie>([](TNeue_Serie* d) { d->reject(); });
        window_ = std::make_unique<TSDIAppForm>(app_, *test_, *config_, ui_, files_);
        window_->UseMachine(&machine_, clock_);
        window_->UseAcquisitionThread(true);
        window_->ShowSpecimenDialog = [] { return true; };
        window_->SampleObserver = [this](const LiveSample& s) {
            if (record_ != nullptr && s.Recording) record_->Stamps.push_back(s.TimeNs);
        };
        window_->show();
        if (!QTest::qWaitFor([&] { return app_.StartupShown; }, 10000) || !app_.DaqPresent) {
            return false;
        }
        app_.ProjectOpen = true;
        return true;
    }

    // One test at speed mm/min for at most ticks samples; blockAtMs > 0 blocks the window's
    // thread for blockMs that long after the start.
    bool Run(double speed, int ticks, int blockAtMs, int blockMs, TestRecord& record) {
        ParameterSet& p = test_->Parameters;
        p.TestType = 0;
        p.Stages = {};
        p.Stages[0] = {1, 0, 1, speed, 1};
        record_ = &record;
        missedBefore_ = window_->Sampling()->MissedDeadlines();
        if (!window_->FormKeyDown(Qt::Key_F2, Qt::NoModifier) || !app_.TestRunning) return false;
        if (blockAtMs > 0) {
            QTimer::singleShot(blockAtMs, [blockMs] {
                std::this_thread::sleep_for(std::chrono::milliseconds(blockMs));
            });
        }
        WhenModal<TLuDialog>([](TLuDialog* d) { d->reject(); });  // the final diameter
        (void)QTest::qWaitFor(
            [&] {
                return static_cast<int>(record.Stamps.size()) >= ticks || !app_.TestRunning;
            },
            ticks * 60 + 20000);
        record.Ended = !app_.TestRunning;
        if (app_.TestRunning) {
            window_->StopTestRun();
            (void)QTest::qWaitFor([&] { return !app_.TestRunning; }, 10000);
        }
        QTest::qWait(200);
        record.Recorded = test_->Marks.StoredSamples;
        record_ = nullptr;
        return true;
    }

    std::int64_t MissedDuringTest() const {
        return window_->MissedDeadlinesOfLastTest();
    }
    std::int64_t Dropped() const { return window_->MachineLoop()->DroppedSamples(); }
    std::string Priority() const { return window_->Sampling()->PriorityDescription(); }

    // The machine's times of the last break and stop, read while the window holds it.
    void BreakAndStop(std::int64_t& broke, std::int64_t& stopped) {
        auto access = window_->MachineAccess();
        broke = machine_.BrokeAtMs();
        stopped = machine_.DriveStoppedAtMs();
    }
    std::int64_t MachineTimeMs() {
        auto access = window_->MachineAccess();
        return machine_.TimeMs();
    }

  private:
    SteadyClock clock_;
    VirtualMachine machine_;
    AppState app_;
    std::unique_ptr<TestState> test_ = std::make_unique<TestState>();
    std::unique_ptr<MachineConfig> config_ = std::make_unique<MachineConfig>();
    StoredTexts texts_;
    RecordedMessages messages_;
    NoFiles files_;
    UiContext ui_{messages_, texts_, {}, nullptr};
    std::unique_ptr<TSDIAppForm> window_;
    TestRecord* record_ = nullptr;
    std::int64_t missedBefore_ = 0;
};

void Report(const TestRecord& record, long long dropped, long long missed) {
    std::vector<double> periods;
    long long gaps = 0;
    for (std::size_t i = 1; i < record.Stamps.size(); ++i) {
        const double ms = (record.Stamps[i] - record.Stamps[i - 1]) / 1e6;
        periods.push_back(ms);
        gaps += std::max(0LL, std::llround(ms / kPeriodMs) - 1);
    }
    if (periods.empty()) {
        std::printf("no samples\n");
        return;
    }
    std::vector<double> sorted = periods;
    std::sort(sorted.begin(), sorted.end());
    const double mean = std::accumulate(periods.begin(), periods.end(), 0.0) / periods.size();
    const double p99 =
        sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(0.99 * sorted.size()))];
    const double total = (record.Stamps.back() - record.Stamps.front()) / 1e6;
    const double drift = total - kPeriodMs * static_cast<double>(periods.size());
    const double minutes = total / 60000.0;
    const long long over55 =
        std::count_if(periods.begin(), periods.end(), [](double ms) { return ms > 55.0; });
    std::printf("samples %zu  recorded points %d  the test %s\n", record.Stamps.size(),
                record.Recorded, record.Ended ? "ended by itself" : "was stopped at the end");
    std::printf("mean %.3f ms  min %.3f ms\n", mean, sorted.front());
    std::printf("99th percentile %.3f ms\n", p99);
    std::printf("max %.3f ms\n", sorted.back());
    const auto longest = std::max_element(periods.begin(), periods.end());
    std::printf("the longest interval ends sample %td of %zu\n",
                longest - periods.begin() + 1, record.Stamps.size());
    std::printf("intervals over 55 ms: %lld\n", over55);
    std::printf("drift %.3f ms over %.2f min (%.3f ms per minute)\n", drift, minutes,
                minutes > 0 ? drift / minutes : 0.0);
    std::printf("missed deadlines %lld, samples the window could not take %lld\n", missed,
                dropped);
    std::printf("%lld samples lost\n", gaps + dropped);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const Options options = ParseOptions(argc, argv);
    QApplication application(argc, argv);
    QTemporaryDir directory;
    QDir::setCurrent(directory.path());

    Bench bench;
    if (!bench.Open(std::filesystem::path(directory.path().toStdString()))) {
        std::fprintf(stderr,
                     "tick_period_benchmark: the window did not start on the simulated machine\n");
        return 1;
    }
    std::printf("%s\n", bench.Priority().c_str());
    std::printf("busy processes %d  window blocked %d ms\n", options.Load, options.BlockMs);
    BusyProcesses load(options.Load);

    if (options.BlockMs <= 0) {
        TestRecord record;
        // At most 1 mm/min, and slow enough that the crosshead travels about 6 mm in the run:
        // the steel specimen does not break before the last tick, even in a run of 25000.
        if (!bench.Run(std::min(1.0, 7200.0 / options.Ticks), options.Ticks, 0, 0, record)) {
            std::fprintf(stderr, "tick_period_benchmark: the test did not start\n");
            return 1;
        }
        Report(record, bench.Dropped(), bench.MissedDuringTest());
        return 0;
    }

    // A first test finds when the specimen breaks at this speed; the second blocks the
    // window's thread around that moment.
    constexpr double kBreakSpeed = 60.0;  // mm/min
    TestRecord probe;
    if (!bench.Run(kBreakSpeed, 25000, 0, 0, probe) || !probe.Ended || probe.Stamps.empty()) {
        std::fprintf(stderr, "tick_period_benchmark: the first test did not end by a break\n");
        return 1;
    }
    const double breakAfterMs = (probe.Stamps.back() - probe.Stamps.front()) / 1e6;
    const int blockAt = std::max(1, static_cast<int>(breakAfterMs) - options.BlockMs / 2);
    std::printf("the specimen broke %.0f ms after the start; the window is blocked from %d ms\n",
                breakAfterMs, blockAt);
    TestRecord record;
    if (!bench.Run(kBreakSpeed, 25000, blockAt, options.BlockMs, record)) {
        std::fprintf(stderr, "tick_period_benchmark: the test did not start\n");
        return 1;
    }
    Report(record, bench.Dropped(), bench.MissedDuringTest());
    std::int64_t broke = -1, stopped = -1;
    bench.BreakAndStop(broke, stopped);
    const double endMs = (record.Stamps.back() - record.Stamps.front()) / 1e6;
    std::printf("break %s the block\n",
                endMs >= blockAt && endMs <= blockAt + options.BlockMs ? "during" : "outside");
    if (broke >= 0 && stopped >= broke) {
        std::printf("stop at the controller %lld ms after the break (one tick: %.0f ms)\n",
                    static_cast<long long>(stopped - broke), kPeriodMs);
    } else {
        std::printf("no stop after the break seen at the controller\n");
    }
    return 0;
}
