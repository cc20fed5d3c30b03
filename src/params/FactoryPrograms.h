// The factory content of the 48 internal programs: 24 named sounds in slots 0..23 and 24 copies
// of "Default" named "Init" in slots 24..47.
#pragma once

#include "params/ProgramRecord.h"

namespace orv {

class FactoryPrograms {
public:
    static constexpr int kNumNamed = 24;

    // Writes all 48 slots.
    static void write(ProgramRecord (&bank)[kNumPrograms]);
    // One slot's factory content (0..47).
    static ProgramRecord program(int slot);
};

}  // namespace orv
