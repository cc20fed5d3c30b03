#include "engine/AttenuationTable.h"

#include <cmath>

namespace orv {

AttenuationTable::AttenuationTable() {
    for (double& v : table_) v = 1.0;
}

void AttenuationTable::build(double radius, double exponent, double fadeDistance, double decayExponent) {
    const double d0 = kReference - radius;
    table_[0] = std::pow(radius / kReference, exponent);
    double previous = d0;
    for (int i = 1; i < kSize; ++i) {
        const double d = d0 + kStep * i;
        // The local exponent fades from n to 0 over the fade distance.
        const double fade = d < d0 + fadeDistance ? 1.0 - std::pow((d - d0) / fadeDistance, decayExponent) : 0.0;
        table_[i] = table_[i - 1] * std::pow(previous / d, fade * exponent);
        previous = d;
    }
}

}  // namespace orv
