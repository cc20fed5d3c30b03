#include "engine/AttenuationTable.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace orv {

AttenuationTable::AttenuationTable()
{
    for (double& v : table_) v = 1.0;
}

void AttenuationTable::build(double radius, double exponent, double fadeDistance, double decayExponent)
{
    const std::uint64_t inputs[4] = {std::bit_cast<std::uint64_t>(radius), std::bit_cast<std::uint64_t>(exponent),
                                     std::bit_cast<std::uint64_t>(fadeDistance),
                                     std::bit_cast<std::uint64_t>(decayExponent)};
    if (valid_ && std::equal(inputs, inputs + 4, built_)) return;
    std::copy(inputs, inputs + 4, built_);
    valid_ = true;

    const double d0 = kReference - radius;
    table_[0] = std::pow(radius / kReference, exponent);
    double previous = d0;
    for (int i = 1; i < kSize; ++i) {
        const double d = d0 + kStep * i;
        // The local exponent fades from n to 0 over the fade distance.
        const double fade = d < d0 + fadeDistance ? 1.0 - std::pow((d - d0) / fadeDistance, decayExponent) : 0.0;
        // x^0 is 1 for every x: where the exponent has faded out the level holds, no pow needed.
        const double power = fade * exponent;
        table_[i] = power == 0.0 ? table_[i - 1] : table_[i - 1] * std::pow(previous / d, power);
        previous = d;
    }
}

}  // namespace orv
