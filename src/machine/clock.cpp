// The wall clock and the manual clock of the machine sequences.
#include "clock.h"

#include <chrono>
#include <thread>

namespace quorvex {

std::int64_t SteadyClock::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::WaitMs(int ms) {
    if (ms <= 0) return;
    const std::int64_t end = NowMs() + ms;
    // Sleeping instead of spinning: the thread is blocked just the same, the CPU is not.
    for (std::int64_t now = NowMs(); now < end; now = NowMs()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(end - now));
    }
}

void ManualClock::WaitMs(int ms) {
    if (ms < 0) ms = 0;
    waits_.push_back(ms);
    now_ += ms;
    if (onWait) onWait(ms);
}

}  // namespace quorvex
