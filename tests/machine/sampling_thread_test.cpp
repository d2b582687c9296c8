// The acquisition thread's clock: deadlines on a fixed grid, a late tick counted instead of
// made up, the window's access that the thread waits for never, and the ring between them.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <chrono>
#include <thread>
#include <vector>

#include "machine/sampling_thread.h"
#include "machine/spsc_queue.h"

namespace quorvex {
namespace {

constexpr std::int64_t kPeriodNs = 2'000'000;

// Keeps the deadlines it was woken for; the third tick oversleeps three and a half periods.
class RecordingTick : public SamplingTick {
  public:
    void OnTick(std::int64_t nowNs, std::int64_t deadlineNs) override {
        const int n = count.fetch_add(1);
        if (n < static_cast<int>(deadlines.size())) {
            deadlines[static_cast<std::size_t>(n)] = deadlineNs;
            stamps[static_cast<std::size_t>(n)] = nowNs;
        }
        if (n == 2) std::this_thread::sleep_for(std::chrono::nanoseconds(kPeriodNs * 7 / 2));
    }
    std::atomic<int> count{0};
    std::vector<std::int64_t> deadlines = std::vector<std::int64_t>(40);
    std::vector<std::int64_t> stamps = std::vector<std::int64_t>(40);
};

bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 5000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

TEST(SamplingThread, DeadlinesStayOnTheirGridAndALateTickCountsTheMissedOnes) {
    RecordingTick tick;
    SamplingThread thread(tick, kPeriodNs);
    thread.Start();
    EXPECT_NE(thread.Priority(), SamplingPriority::NotStarted);
    EXPECT_FALSE(thread.PriorityDescription().empty());
    ASSERT_TRUE(WaitFor([&] { return tick.count.load() >= 40; }));
    thread.Stop();
    EXPECT_FALSE(thread.Running());

    // The oversleeping tick let three deadlines pass: the next tick serves the last of them
    // and at least two are left without a tick; none was made up
    // by ticks closer together than the grid, and every tick came at or after its deadline.
    EXPECT_GE(thread.MissedDeadlines(), 1);
    for (std::size_t i = 1; i < tick.deadlines.size(); ++i) {
        const std::int64_t step = tick.deadlines[i] - tick.deadlines[i - 1];
        EXPECT_EQ(step % kPeriodNs, 0) << i;
        EXPECT_GE(step, kPeriodNs) << i;
        EXPECT_GE(tick.stamps[i], tick.deadlines[i]) << i;
    }
}

TEST(SamplingThread, TheWindowsAccessLeavesTicksOutAndNestsWithoutWaiting) {
    RecordingTick tick;
    SamplingThread thread(tick, kPeriodNs);
    thread.Start();
    ASSERT_TRUE(WaitFor([&] { return tick.count.load() >= 5; }));
    {
        SamplingThread::WindowAccess outer(&thread);
        SamplingThread::WindowAccess inner(&thread);
        EXPECT_TRUE(thread.WindowHolds());
        const int before = tick.count.load();
        ASSERT_TRUE(WaitFor([&] { return thread.HeldTicks() >= 5; }));
        EXPECT_EQ(tick.count.load(), before);
    }
    EXPECT_FALSE(thread.WindowHolds());
    const int after = tick.count.load();
    EXPECT_TRUE(WaitFor([&] { return tick.count.load() > after + 3; }));
    // Without a thread the access is no access at all.
    SamplingThread::WindowAccess none(nullptr);
}

TEST(SpscQueue, KeepsOrderRefusesWhenFullAndCarriesValuesAcrossThreads) {
    SpscQueue<int, 4> ring;
    int value = 0;
    EXPECT_FALSE(ring.Pop(value));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(ring.Push(i));
    EXPECT_FALSE(ring.Push(4));
    EXPECT_TRUE(ring.Pop(value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(ring.Push(4));

    SpscQueue<int, 64> shared;
    constexpr int kCount = 100000;
    std::thread producer([&] {
        for (int i = 0; i < kCount;) {
            if (shared.Push(i)) ++i;
        }
    });
    int expected = 0;
    while (expected < kCount) {
        if (shared.Pop(value)) {
            ASSERT_EQ(value, expected);
            ++expected;
        }
    }
    producer.join();
    EXPECT_TRUE(shared.Empty());
}

}  // namespace
}  // namespace quorvex
