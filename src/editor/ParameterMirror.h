// Which user parameters changed since the editor last looked: one dirty bit per parameter,
// set by setParameter on whichever thread made the change and taken by the editor's idle on
// the user-interface thread. The idle reads the values from the effect itself, so two threads
// changing one parameter at once cannot leave the control showing the value that lost.
#pragma once

#include <atomic>
#include <cstdint>

#include "params/ProgramRecord.h"

namespace orv {

class ParameterMirror {
public:
    static_assert(kNumUserParams <= 64, "one dirty bit per parameter in a 64-bit word");

    // Any thread, after the value was stored. Indices outside 0..41 are ignored.
    void markChanged(int index)
    {
        if (index < 0 || index >= kNumUserParams) return;
        // Release: whoever takes the bit also sees the stored value (or a later one).
        dirty_.fetch_or(std::uint64_t{1} << index, std::memory_order_release);
    }

    // User-interface thread: the parameters changed since the last call, as bits.
    std::uint64_t takeDirty() { return dirty_.exchange(0, std::memory_order_acquire); }

private:
    std::atomic<std::uint64_t> dirty_{0};
};

}  // namespace orv
