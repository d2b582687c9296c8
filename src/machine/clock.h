// Every wait of the machine sequences (the amplifier settling, the stop pulse, the pauses
// between controller commands) goes through this clock, so tests and the simulated machine
// run them in no time while the real program blocks as the operator expects.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace quorvex {

class Clock {
public:
    virtual ~Clock() = default;
    // The millisecond tick.
    virtual std::int64_t NowMs() = 0;
    // Returns once the tick has advanced by at least ms; blocks the calling thread.
    virtual void WaitMs(int ms) = 0;
};

// The wall clock of the running program.
class SteadyClock : public Clock {
public:
    std::int64_t NowMs() override;
    void WaitMs(int ms) override;
};

// A clock that advances only when asked: a wait moves it on at once. Tests read the waits
// back; the simulated machine hooks onWait to let its virtual time run.
class ManualClock : public Clock {
public:
    // Room for the waits of many stops: a tick of the simulated machine does not allocate.
    ManualClock() { waits_.reserve(4096); }
    std::int64_t NowMs() override { return now_; }
    void WaitMs(int ms) override;
    void Advance(std::int64_t ms) { now_ += ms; }

    const std::vector<int>& Waits() const { return waits_; }
    std::function<void(int ms)> onWait;

private:
    std::int64_t now_ = 0;
    std::vector<int> waits_;
};

}  // namespace quorvex
