#include "engine/CabinetGeometry.h"

#include <algorithm>
#include <cmath>

#include "dsp/Constants.h"

namespace orv {

namespace {

constexpr double kQuarterTurn = 0.25;  // revolutions: turns "0 = in front" into the x/y frame
// An image can lie on the microphone (the horn-leak model's side-wall image seen from the
// drum microphone, for one): it is then taken as 1 mm away and seen over a sliver of arc,
// which keeps every later division finite.
constexpr double kMinDistance = 0.001;   // metres
constexpr double kMinHalfWidth = 0.001;  // revolutions

double flush(double x) { return x + kFlush - kFlush; }

// acos of a ratio that rounding may push a hair outside [−1, 1].
double safeAcos(double r) { return std::acos(std::clamp(r, -1.0, 1.0)); }

struct SourceRow {
    double x, y, side, mirror;
};

}  // namespace

void CabinetGeometry::compute(Rotor rotor, double micAngle, double micDistance, double radius, double direction)
{
    // Side walls: the flip sign decides which of the two lies on side A.
    const double sideA = direction <= 0.0 ? kWideSide : kNarrowSide;
    const double sideB = direction <= 0.0 ? kNarrowSide : kWideSide;
    alphaA = std::atan(sideA / kFrontWall) / kTwoPi;
    alphaB = std::atan(sideB / kFrontWall) / kTwoPi;

    const double phase = (micAngle - kQuarterTurn) * kTwoPi;
    micX = std::cos(phase) * micDistance;
    micY = std::sin(phase) * micDistance;

    // A microphone behind the rotor sees the cabinet turned round: every wall distance is
    // negated and front and back swap.
    if (std::fabs(micAngle) > kQuarterTurn) {
        sideSign = -1.0;
        wallA = -sideA;
        wallB = -sideB;
        wallC = -kFrontWall;
        wallE = -kBackWall;
    } else {
        sideSign = 1.0;
        wallA = sideA;
        wallB = sideB;
        wallC = kBackWall;
        wallE = kFrontWall;
    }

    const double directDistance = std::hypot(micX, micY);
    variantAngle = safeAcos(-micY * sideSign / directDistance) / kTwoPi;
    if (micX > 0.0) variantAngle = -variantAngle;
    if (variantAngle > alphaA)
        variant = sideSign < 0.0 ? kSideB : kSideA;
    else if (variantAngle < -alphaB)
        variant = sideSign < 0.0 ? kSideA : kSideB;
    else
        variant = kFront;

    const double A = wallA, B = wallB, C = wallC, E = wallE;
    SourceRow rows[kMaxSources];
    if (rotor == Rotor::Horn) {
        sourceCount = kHornSources;
        // clang-format off
        const SourceRow common[8] = {
            {0.0, 0.0, 1.0, 1.0},
            {0.0, 2 * C, 1.0, -1.0},
            {2 * B, 2 * C, -1.0, -1.0},
            {-2 * A, 2 * C, -1.0, -1.0},
            {2 * A + 2 * B, 2 * C, 1.0, -1.0},
            {-2 * A - 2 * B, 2 * C, 1.0, -1.0},
            {2 * B, 0.0, -1.0, 1.0},
            {-2 * A, 0.0, -1.0, 1.0},
        };
        // clang-format on
        std::copy(common, common + 8, rows);
        // The four farthest images depend on which side of the cabinet the microphone faces.
        if (variant == kSideA) {
            rows[8] = {6 * B, 0.0, -1.0, -1.0};
            rows[9] = {2 * A + 4 * B, 4 * C + 2 * E, -1.0, -1.0};
            rows[10] = {4 * A + 6 * B, 0.0, -1.0, -1.0};
            rows[11] = {4 * A + 6 * B, 6 * C + 4 * E, -1.0, -1.0};
        } else if (variant == kFront) {
            rows[8] = {0.0, 4 * C + 2 * E, 1.0, -1.0};
            rows[9] = {2 * A + 4 * B, 4 * C + 2 * E, -1.0, -1.0};
            rows[10] = {-4 * A - 2 * B, 4 * C + 2 * E, 1.0, -1.0};
            rows[11] = {0.0, 6 * C + 4 * E, 1.0, -1.0};
        } else {
            rows[8] = {-6 * A, 0.0, -1.0, 1.0};
            rows[9] = {-4 * A - 2 * B, 4 * C + 2 * E, -1.0, -1.0};
            rows[10] = {-4 * A - 2 * B, 0.0, -1.0, 1.0};
            rows[11] = {-6 * A - 4 * B, 6 * C + 4 * E, -1.0, -1.0};
        }
    } else {
        sourceCount = kDrumSources;
        // clang-format off
        const SourceRow drum[kDrumSources] = {
            {0.0, 0.0, 1.0, 1.0},
            {2 * B, 0.0, -1.0, 1.0},
            {-2 * A, 0.0, -1.0, 1.0},
            {0.0, 2 * C, 1.0, -1.0},
            {2 * B, 2 * C, -1.0, -1.0},
            {-2 * A, 2 * C, -1.0, -1.0},
        };
        // clang-format on
        std::copy(drum, drum + kDrumSources, rows);
    }

    for (int k = 0; k < sourceCount; ++k) {
        ImageSource& s = source[k];
        s.x = rows[k].x;
        s.y = rows[k].y;
        s.sideSign = rows[k].side;
        s.mirrorSign = rows[k].mirror;
        const double dx = s.x - micX;
        const double dy = s.y - micY;
        s.distance = std::max(flush(std::sqrt(dx * dx + dy * dy)), kMinDistance);
        double phi = safeAcos(dy / s.distance) / kTwoPi;
        if ((micX - s.x) * s.sideSign > 0.0) phi = -phi;
        s.direction = flush(phi);
        s.halfWidth = std::max(flush(safeAcos(radius / s.distance) / kTwoPi), kMinHalfWidth);
    }
}

}  // namespace orv
