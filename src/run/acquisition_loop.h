// The work of one measuring tick on the thread that owns the machine: the window's commands,
// the reading of the card, the overload stop, the running test fed with the sample (its break
// check, limits and stop happen right here), and the sample handed to the window. Nothing in
// it allocates, waits or touches a file; the window's side only pushes commands and pops
// samples and events.
#pragma once

#include <atomic>
#include <cstdint>

#include "machine/acquisition.h"
#include "machine/sampling_thread.h"
#include "run/run_events.h"
#include "run/run_routine.h"
#include "setup/calibration.h"

namespace quorvex {

class AcquisitionLoop : public SamplingTick {
  public:
    static constexpr std::int64_t kStopPulseNs = Acquisition::kSettleMs * 1'000'000LL;

    // All must outlive the loop. The factors are read at every tick.
    AcquisitionLoop(Acquisition& daq, ControllerLink& link, const ConversionFactors& factors)
        : daq_(daq), link_(link), factors_(factors) {}

    // The run the commands start and stop; set while the machine's thread is held or not
    // running. It must end its tests through FinishEnd (DeferEndToWindow).
    void SetRun(RunRoutine* run) { run_ = run; }
    // The thread that ticks the loop, whose missed deadlines a test counts.
    void SetSamplingThread(const SamplingThread* thread) { thread_ = thread; }

    // The window's side.
    bool Post(const MachineCommand& command) { return commands_.Push(command); }
    bool PopSample(LiveSample& sample) { return samples_.Pop(sample); }
    bool PopEvent(RunEvent& event) { return events_.Pop(event); }
    RunEventQueue& Events() { return events_; }
    // The event TestEnded carries in Number the deadlines missed from the start of the test
    // to its stop (the waits of the stop itself not counted).
    // Samples the window could not take because its ring was full.
    std::int64_t DroppedSamples() const { return dropped_.load(std::memory_order_relaxed); }
    long OverloadPulses() const { return overloadPulses_.load(std::memory_order_relaxed); }
    // A command executed at once. On the window's thread (no acquisition thread runs, or the
    // window holds the machine) the stop pulse waits its 300 ms there, as it always has; the
    // acquisition thread never waits for it.
    void Execute(const MachineCommand& command, std::int64_t nowNs, bool mayWait = false);

    // The machine's side: one tick.
    void OnTick(std::int64_t nowNs, std::int64_t deadlineNs) override;

  private:
    void BeginStopPulse(std::int64_t nowNs);
    void AfterRun(bool wasRunning);

    Acquisition& daq_;
    ControllerLink& link_;
    const ConversionFactors& factors_;
    RunRoutine* run_ = nullptr;
    const SamplingThread* thread_ = nullptr;
    std::int64_t missedAtBegin_ = 0;
    std::int64_t testMissed_ = 0;
    MachineCommandQueue commands_;
    LiveSampleQueue samples_;
    RunEventQueue events_;
    std::atomic<std::int64_t> dropped_{0};
    std::atomic<long> overloadPulses_{0};
    bool endToPost_ = false;
    bool pulsing_ = false;
    std::int64_t pulseEndNs_ = 0;
};

}  // namespace quorvex
