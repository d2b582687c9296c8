// A fixed ring of values between exactly one producer thread and one consumer thread, without
// locks and without allocating after construction: the acquisition thread hands its samples
// and run events to the window through it, and the window its commands back.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace quorvex {

template <class T, std::size_t Capacity>
class SpscQueue {
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0,
                  "the capacity is a power of two");

  public:
    // Producer only. False when the ring is full: the value is not taken.
    bool Push(const T& value) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
        slots_[tail & (Capacity - 1)] = value;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer only. False when the ring is empty.
    bool Pop(T& value) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        value = slots_[head & (Capacity - 1)];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Either side; exact only on the consumer's side.
    bool Empty() const {
        return head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire);
    }

  private:
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
    std::array<T, Capacity> slots_{};
};

}  // namespace quorvex
