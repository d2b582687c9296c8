// One measuring tick on the machine's thread.
#include "run/acquisition_loop.h"

#include <algorithm>

#include "machine/controller_link.h"

namespace quorvex {

void AcquisitionLoop::BeginStopPulse(std::int64_t nowNs) {
    // The line stays low for 300 ms after the last request; the tick does not wait for it.
    if (!pulsing_) daq_.ShutdownLineLow();
    pulsing_ = true;
    pulseEndNs_ = nowNs + kStopPulseNs;
}

void AcquisitionLoop::AfterRun(bool wasRunning) {
    // The run stopped on this thread: the window finishes the test. A full ring takes the
    // news at a later tick.
    if (wasRunning && !run_->Running() && run_->EndPending()) {
        endToPost_ = true;
        testMissed_ = thread_ ? thread_->MissedDeadlines() - missedAtBegin_ : 0;
    }
    if (!endToPost_) return;
    RunEvent ended;
    ended.Kind = RunEventKind::TestEnded;
    ended.Number = static_cast<int>(std::min<std::int64_t>(testMissed_, 1 << 30));
    if (events_.Push(ended)) endToPost_ = false;
}

void AcquisitionLoop::Execute(const MachineCommand& command, std::int64_t nowNs, bool mayWait) {
    switch (command.Kind) {
        case MachineCommandKind::BeginTest:
            missedAtBegin_ = thread_ ? thread_->MissedDeadlines() : 0;
            if (run_ != nullptr) run_->BeginTest();
            break;
        case MachineCommandKind::StopTest:
            if (run_ != nullptr && run_->Running()) {
                run_->Stop(command.ByOperator);
                AfterRun(true);
            }
            break;
        case MachineCommandKind::StopMachine:
            // F8 in a dialog or box, or a termination signal: the dialog or the closing
            // window is what the operator sees; the test ends as by the stop button.
            if (run_ != nullptr && run_->Running()) {
                run_->Stop(true);
                AfterRun(true);
            } else {
                link_.StopMachine();
            }
            break;
        case MachineCommandKind::StopPulse:
            // The shutdown line first; a running test then ends as by the stop button, so
            // that the window leaves the test and no later stage sets the machine going.
            if (mayWait && !pulsing_) {
                daq_.StopPulse();
            } else {
                BeginStopPulse(nowNs);
            }
            if (run_ != nullptr && run_->Running()) {
                run_->StopByMachineStop();
                AfterRun(true);
            }
            break;
        case MachineCommandKind::ZeroAnalogOutputs:
            daq_.ZeroAnalogOutputs();
            break;
    }
}

void AcquisitionLoop::OnTick(std::int64_t nowNs, std::int64_t /*deadlineNs*/) {
    MachineCommand command;
    while (commands_.Pop(command)) Execute(command, nowNs);
    if (pulsing_ && nowNs >= pulseEndNs_) {
        daq_.ShutdownLineHigh();
        pulsing_ = false;
    }

    daq_.ReadAll();
    const auto& raw = daq_.RawValues();
    // A lasting overload keeps the shutdown line low.
    const bool overloaded = raw[kRawForce] * factors_.ForceFactor > factors_.ForceLimit ||
                            raw[kRawTravel] * factors_.TravelFactor > factors_.TravelLimit;
    if (overloaded) {
        BeginStopPulse(nowNs);
        overloadPulses_.fetch_add(1, std::memory_order_relaxed);
    }

    const bool recording = run_ != nullptr && run_->Running();
    if (recording) run_->OnSample();
    if (run_ != nullptr) AfterRun(recording);

    LiveSample sample;
    sample.TimeNs = nowNs;
    sample.Raw = raw;
    sample.Overloaded = overloaded;
    sample.Recording = recording;
    if (!samples_.Push(sample)) dropped_.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace quorvex
