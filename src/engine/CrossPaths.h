// Leak paths between the horn and drum compartments: five gains and delays from the
// microphone and rotor positions, computed when the geometry changes. The engine smooths
// them and reads its three leak delay lines with them.
#pragma once

namespace orv {

class RotorModel;
class LightRotorModel;

class CrossPaths {
public:
    static constexpr int kPaths = 5;
    static constexpr double kPlaneHeight = 0.77;  // horn plane above the drum plane
    static constexpr double kTableScale = 512.0;  // table index per unit of distance
    // Longest delay the engine's 1024-sample leak lines can read with linear interpolation.
    static constexpr double kMaxDelay = 1022.0;

    // 1 drum-leak → horn mics, 2 reflex → horn mics, 3 horn-leak → drum mic,
    // 4 horn-leak → horn mics, 5 reflex → drum mic.
    struct Geometry {
        double hornMicAngle;     // revolutions, horn microphone 1
        double hornMicDistance;  // metres
        double drumMicAngle;     // revolutions
        double drumMicDistance;  // metres
        double xTalk;            // 2·"X-Talk"
        double bassReflex;       // 2·"BReflex"
        double internalRate;     // fsInt
    };

    double gain[kPaths] = {};
    double delay[kPaths] = {};     // internal samples
    double distance[kPaths] = {};  // in rotor radii (the vertical offset counted as is)

    // Reads the leak models' radii and attenuation tables.
    void compute(const Geometry& g, const RotorModel& hornLeak, const LightRotorModel& drumLeak);
};

}  // namespace orv
