#pragma once

#include <atomic>

// A request to stop a long calculation. One thread sets it (the window's Cancel, a time limit),
// the thread that calculates reads it between the steps of its loops. Copying an object that
// holds one starts the copy unset: a request belongs to one running calculation.
class CancelFlag {
public:
    CancelFlag() = default;
    CancelFlag(const CancelFlag&) {}
    CancelFlag& operator=(const CancelFlag&) { return *this; }

    void request() { requested_.store(true, std::memory_order_relaxed); }
    void clear() { requested_.store(false, std::memory_order_relaxed); }
    bool requested() const { return requested_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> requested_{false};
};

// For loops that may be given no flag at all.
inline bool cancelRequested(const CancelFlag* flag)
{
    return flag != nullptr && flag->requested();
}
