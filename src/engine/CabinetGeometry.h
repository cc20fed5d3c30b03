// Where a rotor's sound can come from inside the cabinet, as seen from one microphone: the
// rotor itself and its mirror images in the cabinet walls (image sources), each with its
// distance, the direction under which the microphone sees it and the half-width of the arc
// of the rotor circle that is visible from the microphone. Also selects the process variant
// (microphone on one side, in front, on the other side).
#pragma once

namespace orv {

struct ImageSource {
    double x = 0.0, y = 0.0;  // position, metres (x to the side, y to the back)
    double distance = 0.0;    // to the microphone, metres
    double direction = 0.0;   // revolutions
    double halfWidth = 0.0;   // revolutions
    double sideSign = 1.0;    // ±1
    double mirrorSign = 1.0;  // ±1: −1 for sources seen through an odd number of back walls
};

class CabinetGeometry {
public:
    enum class Rotor { Horn, Drum };

    static constexpr int kHornSources = 12;
    static constexpr int kDrumSources = 6;
    static constexpr int kMaxSources = kHornSources;

    static constexpr double kFrontWall = 0.235;  // metres from the rotor axis
    static constexpr double kBackWall = 0.235;
    static constexpr double kNarrowSide = 0.24;  // the nearer side wall
    static constexpr double kWideSide = 0.43;    // the farther side wall

    // Process variants: microphone towards side wall A, in front, towards side wall B.
    enum Variant : int { kSideA = 0, kFront = 1, kSideB = 2 };

    // θm in revolutions (0 in front, ±0.5 behind), distance and radius in metres, the flip
    // sign of the rotor (≤ 0 puts the wide wall on side A).
    void compute(Rotor rotor, double micAngle, double micDistance, double radius, double direction);

    double micX = 0.0, micY = 0.0;
    double sideSign = 1.0;              // +1 microphone in front of the rotor, −1 behind
    double wallA = 0.0, wallB = 0.0;    // side walls, negated when the microphone is behind
    double wallC = 0.0, wallE = 0.0;    // back and front walls, likewise
    double alphaA = 0.0, alphaB = 0.0;  // boundary angles of the side walls, revolutions
    double variantAngle = 0.0;          // φv, revolutions
    int variant = kFront;
    int sourceCount = 0;
    ImageSource source[kMaxSources];
};

}  // namespace orv
