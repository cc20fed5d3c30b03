#pragma once

// Laws shared by the two motor-noise players (DrumNoisePlayer, HornNoisePlayer).

#include <cmath>

#include "dsp/Constants.h"

namespace orv::mechnoise {

inline constexpr double kMinSampleRate = 11025.0;     // players never run slower than this
inline constexpr double kSlowLimitHz = 0.78;          // rotor speed below which only the slow loop sounds
inline constexpr double kFastLimitHz = 7.5;           // speed from which only the fast loop sounds
inline constexpr double kMinFadeWidth = 1e-10;        // guards the fade-zone reciprocal
inline constexpr double kFollowSeconds = 0.08;        // gain-follow time at a fixed speed setting
inline constexpr double kLeverFollowSeconds = 100.0;  // ... while the speed lever sits between
inline constexpr double kTransientStoredSamples = 3956.0;

// Per-sample follow factor c for a time of `seconds` at rate fs, through a single-precision
// exponential.
inline double followFactorFor(double fs, double seconds)
{
    return static_cast<double>(std::exp(static_cast<float>(-1.0 / (seconds * fs))));
}

// Fractional part that also wraps small negative values upwards, so a reversed rotor runs
// the loops backwards.
inline double wrapTurns(double v) { return v - std::trunc(v + 1024.0) + 1024.0; }

// Balance between the loops and the transient from the "MechRatio" value m (0..1): 1 and 1
// at m = 0.5, loops 2 and transient 0 at m = 1, loops 0 and transient 2 at m = 0, parabolic
// in between.
inline void balanceTargets(float m, double& loopTarget, double& transientTarget)
{
    const double u = 1.0 - m;
    if (u < 0.5) {
        const double s = 2.0 * (0.5 - u);
        const double g = s * s - 2.0 * s;
        loopTarget = 1.0 - g;
        transientTarget = 1.0 + g;
    } else {
        const double s = 2.0 * (u - 0.5);
        const double g = s * s - 2.0 * s;
        transientTarget = 1.0 - g;
        loopTarget = 1.0 + g;
    }
}

}  // namespace orv::mechnoise
