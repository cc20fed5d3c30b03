#include "engine/CrossPaths.h"

#include <algorithm>
#include <cmath>

#include "dsp/Constants.h"
#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"

namespace orv {

namespace {

constexpr double kQuarterTurn = 0.25;  // revolutions: angle 0 is straight in front (−y)

double clampDelay(double samples) { return std::clamp(samples, 0.0, CrossPaths::kMaxDelay); }

}  // namespace

void CrossPaths::compute(const Geometry& g, const RotorModel& hornLeak, const LightRotorModel& drumLeak)
{
    // Microphone positions in units of the rotor radius (the rotors' FM radius, the radius
    // that a change of which recomputes only these paths).
    const double hornRadius = hornLeak.fmRadius();
    const double drumRadius = drumLeak.fmRadius();
    const double hornPhase = (g.hornMicAngle - kQuarterTurn) * kTwoPi;
    const double drumPhase = (g.drumMicAngle - kQuarterTurn) * kTwoPi;
    const double xh = std::cos(hornPhase) * g.hornMicDistance / hornRadius;
    const double yh = std::sin(hornPhase) * g.hornMicDistance / hornRadius;
    const double xd = std::cos(drumPhase) * g.drumMicDistance / drumRadius;
    const double yd = std::sin(drumPhase) * g.drumMicDistance / drumRadius;
    const double X = hornLeak.fmRadius();
    const double h2 = kPlaneHeight * kPlaneHeight;
    const double K = g.internalRate / kSpeedOfSound;

    const double d1 = std::sqrt(xh * xh + yh * yh + h2);
    const double d3 = std::sqrt((xd - X) * (xd - X) + yd * yd + h2);
    const double d4 = std::sqrt((xh - X) * (xh - X) + yh * yh + h2);
    const double d5 = std::sqrt(xd * xd + yd * yd);

    // Each gain reads the far end of the named model's attenuation table (index d·512).
    distance[0] = d1;
    gain[0] = drumLeak.attenuationAt(d1 * kTableScale) * g.xTalk;
    delay[0] = clampDelay((d1 - kPlaneHeight) * K);

    distance[1] = d1;
    gain[1] = drumLeak.attenuationAt(d1 * kTableScale) * g.xTalk * g.bassReflex;
    delay[1] = clampDelay(d1 * K);

    distance[2] = d3;
    gain[2] = hornLeak.attenuationAt(d3 * kTableScale) * g.xTalk;
    delay[2] = clampDelay((d3 - kPlaneHeight) * K);

    distance[3] = d4;
    gain[3] = hornLeak.attenuationAt(d4 * kTableScale) * g.xTalk;
    delay[3] = clampDelay((d4 - kPlaneHeight) * K);

    distance[4] = d5;
    gain[4] = drumLeak.attenuationAt(d5 * kTableScale) * g.bassReflex;
    delay[4] = clampDelay(d5 * K);
}

}  // namespace orv
