// The acquisition thread's loop on absolute deadlines and its scheduling class.
#include "sampling_thread.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <cerrno>
#include <cstring>

namespace quorvex {
namespace {

timespec ToTimespec(std::int64_t ns) {
    timespec t{};
    t.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    t.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return t;
}

}  // namespace

std::int64_t MonotonicNowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

void SamplingThread::Start() {
    if (thread_.joinable()) return;
    stop_.store(false);
    started_.store(false);
    thread_ = std::thread([this] { Loop(); });
    // The priority is known once the thread has tried to raise it.
    while (!started_.load()) std::this_thread::yield();
}

void SamplingThread::Stop() {
    if (!thread_.joinable()) return;
    stop_.store(true);
    thread_.join();
}

std::string SamplingThread::PriorityDescription() const {
    switch (priority_.load()) {
        case SamplingPriority::RealTime:
            return "acquisition thread: real-time priority (SCHED_FIFO " +
                   std::to_string(kRealTimePriority) + ")";
        case SamplingPriority::Normal:
            return std::string("acquisition thread: normal priority, real-time not permitted (") +
                   std::strerror(priorityError_) +
                   "; give the program CAP_SYS_NICE or an rtprio limit)";
        case SamplingPriority::NotStarted:
            break;
    }
    return "acquisition thread: not started";
}

void SamplingThread::Loop() {
    sched_param param{};
    param.sched_priority = kRealTimePriority;
    const int error = pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
    priorityError_ = error;
    priority_.store(error == 0 ? SamplingPriority::RealTime : SamplingPriority::Normal);
    started_.store(true);

    std::int64_t deadline = MonotonicNowNs() + periodNs_;
    while (!stop_.load(std::memory_order_relaxed)) {
        const timespec wake = ToTimespec(deadline);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
        }
        if (stop_.load(std::memory_order_relaxed)) break;
        const std::int64_t now = MonotonicNowNs();
        // Woken after the next deadline too: those passed without a tick. This tick serves
        // the last deadline that has passed, and the next one stays on the grid.
        const std::int64_t late = (now - deadline) / periodNs_;
        if (late > 0) {
            missed_.fetch_add(late, std::memory_order_relaxed);
            deadline += late * periodNs_;
        }
        inTick_.store(true);
        if (windowHolds_.load()) {
            held_.fetch_add(1, std::memory_order_relaxed);
        } else {
            tick_.OnTick(now, deadline);
            ticks_.fetch_add(1, std::memory_order_relaxed);
        }
        inTick_.store(false);
        deadline += periodNs_;
    }
}

SamplingThread::WindowAccess::WindowAccess(SamplingThread* thread) : thread_(thread) {
    if (thread_ == nullptr || thread_->accessDepth_++ > 0) return;
    thread_->windowHolds_.store(true);
    while (thread_->inTick_.load()) std::this_thread::yield();
}

SamplingThread::WindowAccess::~WindowAccess() {
    if (thread_ == nullptr || --thread_->accessDepth_ > 0) return;
    thread_->windowHolds_.store(false);
}

}  // namespace quorvex
