// The data that sets a rotor model's rays apart: which image source feeds each ray, its gain
// slot, reflection weighting and low-pass, the ray sets of the models, and the direction
// filters a ray passes. The radiation core reads these tables; the horn and drum faces only
// choose them.
#pragma once

#include "engine/DirectionTables.h"

namespace orv::rays {

// Every variant (CabinetGeometry::Variant) takes the ray.
inline constexpr int kEveryVariant = -1;

struct Slot {
    int source;       // image source index
    int gainSlot;     // ray gain slot, or -1 for a fixed gain of 1
    int weightPower;  // power of the reflection coefficient in the weighting
    bool openBack;    // takes the open-back factor
    int order;        // reflection low-pass order, -1 none
    double cutoff;    // Hz of the ray's own one-pole low-pass, 0 when the order decides
    int variant;      // the only process variant that uses the ray, or kEveryVariant
};

struct Set {
    const Slot* slots;
    int count;
    double staticCutoff;  // Hz of the static ray's own low-pass, 0: the static cutoff setting
};

// One direction filter of a ray: its table, read at the facing angle × rows.
struct DirectionFilter {
    FilterSetting (*table)(double);
    double rows;
    bool setsGain;          // peaking filters take the table's gain
    bool retuneSaturation;  // its saturation follows every re-tune (its frequency moves)
};

}  // namespace orv::rays
