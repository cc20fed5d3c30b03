// The editor's copy of the user parameters, written by setParameter on whichever thread made
// the change and read by the editor's idle on the user-interface thread: one atomic value and
// one dirty bit per parameter. Writers never wait and never touch a control; the idle takes the
// dirty bits and applies the values to the controls there.
#pragma once

#include <atomic>
#include <cstdint>

#include "params/ProgramRecord.h"

namespace orv {

class ParameterMirror {
public:
    static_assert(kNumUserParams <= 64, "one dirty bit per parameter in a 64-bit word");

    // Any thread. Indices outside 0..41 are ignored.
    void store(int index, float value) {
        if (index < 0 || index >= kNumUserParams) return;
        values_[index].store(value, std::memory_order_relaxed);
        // Release: whoever takes the bit also sees the value (or a later one).
        dirty_.fetch_or(std::uint64_t{1} << index, std::memory_order_release);
    }

    // User-interface thread: the parameters changed since the last call, as bits.
    std::uint64_t takeDirty() { return dirty_.exchange(0, std::memory_order_acquire); }
    float value(int index) const { return values_[index].load(std::memory_order_relaxed); }

private:
    std::atomic<float> values_[kNumUserParams]{};
    std::atomic<std::uint64_t> dirty_{0};
};

}  // namespace orv
