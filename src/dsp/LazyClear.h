#pragma once

// Lazy clearing of a delay ring: a clear zeroes only the entries that reads can reach behind
// the write position, and entries coming within reach later (a longer delay) are zeroed then.
// Reads see exactly what a clear of the whole ring would have left, at a small fraction of
// its cost: the rings are sized for the longest delay at the highest rate, the reads of one
// set-up reach a few per cent of them.

#include <algorithm>

namespace orv {

class LazyClear {
public:
    LazyClear() = default;
    // A ring that starts zeroed is clean throughout.
    explicit LazyClear(int clean) : clean_(clean) {}

    // Offsets behind the write position (1 = the last entry written) that hold what a whole
    // clear would have left: written since the clear, or zeroed.
    int clean() const { return clean_; }

    // After a write-position advance.
    void advanced(int size) { clean_ += clean_ < size ? 1 : 0; }

    // A clear: nothing behind the write position is known, then `reach` is made clean.
    void clear(double* ring, int size, int write, int reach)
    {
        clean_ = 0;
        extend(ring, size, write, reach);
    }

    // Makes offsets 1 .. reach clean (size a power of two). The write position itself is left
    // alone: it is written before it is read.
    void extend(double* ring, int size, int write, int reach)
    {
        reach = std::min(reach, size - 1);
        if (reach <= clean_) return;
        // Offsets clean_ + 1 .. reach are positions write - reach .. write - clean_ - 1.
        const int first = (write - reach) & (size - 1);
        const int count = reach - clean_;
        const int tail = std::min(count, size - first);
        std::fill(ring + first, ring + first + tail, 0.0);
        std::fill(ring, ring + (count - tail), 0.0);
        clean_ = reach;
    }

private:
    int clean_ = 0;
};

}  // namespace orv
