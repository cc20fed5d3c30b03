// How a rotor's tone changes with the angle under which its mouth faces the microphone: the
// settings of the horn's two peaking filters and of the drum's low-pass against the facing
// angle u (0 facing the microphone, 0.5 facing away), read by linear interpolation.
#pragma once

namespace orv {

struct FilterSetting {
    double frequency;  // Hz
    double q;
    double gainDb;
};

class DirectionTables {
public:
    static constexpr int kHornARows = 37;              // 10° steps over a whole turn
    static constexpr int kHalfRows = 19;               // horn B and drum: 20° steps
    static constexpr double kHornBFrequency = 6000.0;  // Hz, the same in every row
    static constexpr double kHornBQ = 0.7;

    // Horn filter A at row position x = u·36 (0 … 36).
    static FilterSetting hornA(double x);
    // Horn filter B at x = u·18 (0 … 18).
    static FilterSetting hornB(double x);
    // Drum filter at x = u·18 (0 … 18); no gain.
    static FilterSetting drum(double x);
};

}  // namespace orv
