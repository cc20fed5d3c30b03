// Level of a rotor's sound against distance: falls as distance^(−n) close to the rotor, and
// the exponent fades to 0 over the attenuation distance, so that far away nothing more is
// lost. 512 entries one centimetre apart, starting at 0.3 m − R.
#pragma once

#include <cstdint>

#include "dsp/Interpolation.h"

namespace orv {

class AttenuationTable {
public:
    static constexpr int kSize = 512;
    static constexpr double kStep = 0.01;      // metres per entry
    static constexpr double kReference = 0.3;  // metres: entry 0 lies at kReference − R
    static constexpr double kEntriesPerMetre = 100.0;

    AttenuationTable();

    // radius R, near-field exponent n, fade distance D (metres), decay exponent p. The same
    // four values as last time keep the table as it is.
    void build(double radius, double exponent, double fadeDistance, double decayExponent);

    // Cubic read at x entries (a distance offset in centimetres); the ends hold outside.
    double at(double x) const { return InterpolateTable512(x, table_); }
    double operator[](int i) const { return table_[i]; }
    const double* data() const { return table_; }

private:
    double table_[kSize];
    std::uint64_t built_[4] = {};  // the inputs of the last build, bit for bit
    bool valid_ = false;
};

}  // namespace orv
