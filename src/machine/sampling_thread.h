// The acquisition thread: it wakes on absolute 50 ms deadlines of the monotonic clock, stamps
// each tick with its real time and hands it to the machine's owner, whatever the window's
// thread is doing. A tick that wakes late is taken at once with its own time stamp and the
// deadlines stay where they were; deadlines that passed without a tick are counted as missed,
// never made up by squeezing ticks together.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace quorvex {

// CLOCK_MONOTONIC in nanoseconds: the time base of the samples (and of std::steady_clock).
std::int64_t MonotonicNowNs();

class SamplingTick {
  public:
    virtual ~SamplingTick() = default;
    // One tick: nowNs is the time the thread woke, deadlineNs the deadline it woke for.
    virtual void OnTick(std::int64_t nowNs, std::int64_t deadlineNs) = 0;
};

enum class SamplingPriority {
    NotStarted,
    RealTime,  // SCHED_FIFO: the process may raise it (CAP_SYS_NICE or an rtprio limit)
    Normal,    // the ordinary time-sharing class: nothing more was permitted
};

class SamplingThread {
  public:
    static constexpr std::int64_t kPeriodNs = 50'000'000;
    static constexpr int kRealTimePriority = 50;

    // tick must outlive the thread.
    explicit SamplingThread(SamplingTick& tick, std::int64_t periodNs = kPeriodNs)
        : tick_(tick), periodNs_(periodNs) {}
    ~SamplingThread() { Stop(); }
    SamplingThread(const SamplingThread&) = delete;
    SamplingThread& operator=(const SamplingThread&) = delete;

    // Starts the thread with real-time priority where the process may have it.
    void Start();
    // Ends the thread after its present tick.
    void Stop();
    bool Running() const { return thread_.joinable(); }

    SamplingPriority Priority() const { return priority_.load(); }
    // One line for the log: the scheduling class the thread got, and why.
    std::string PriorityDescription() const;

    // Deadlines that passed without a tick, and ticks left out while the window held the
    // machine.
    std::int64_t MissedDeadlines() const { return missed_.load(std::memory_order_relaxed); }
    std::int64_t HeldTicks() const { return held_.load(std::memory_order_relaxed); }
    std::int64_t Ticks() const { return ticks_.load(std::memory_order_relaxed); }
    // The window's thread holds the machine (its own question only).
    bool WindowHolds() const { return accessDepth_ > 0; }

    // The window's thread borrows the machine between tests (a jog, a tare, a dialog that
    // reads the card): while a WindowAccess lives, the thread leaves out its ticks instead of
    // waiting, and the constructor returns once a tick under way has ended. Nested accesses
    // of the same thread are allowed; the thread itself never blocks on one.
    class WindowAccess {
      public:
        explicit WindowAccess(SamplingThread* thread);
        ~WindowAccess();
        WindowAccess(const WindowAccess&) = delete;
        WindowAccess& operator=(const WindowAccess&) = delete;

      private:
        SamplingThread* thread_;
    };

  private:
    void Loop();

    SamplingTick& tick_;
    const std::int64_t periodNs_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<SamplingPriority> priority_{SamplingPriority::NotStarted};
    int priorityError_ = 0;
    std::atomic<std::int64_t> missed_{0};
    std::atomic<std::int64_t> held_{0};
    std::atomic<std::int64_t> ticks_{0};
    // The handshake of WindowAccess: the window raises windowHolds_ and waits while inTick_
    // is up; the thread raises inTick_ and leaves the tick out while windowHolds_ is up.
    std::atomic<bool> windowHolds_{false};
    std::atomic<bool> inTick_{false};
    int accessDepth_ = 0;  // the window's thread only
    std::atomic<bool> started_{false};
};

}  // namespace quorvex
