// Laws shared by the parameter set, the engine and the editor: how a normalised value (0..1)
// turns into a step, a gain, a time, a distance, a speed or a frequency.
#pragma once

#include <cmath>

namespace orv {

// round(x): integer part of x + 0.5; the arguments are never negative.
inline int roundHalfUp(double x) { return static_cast<int>(x + 0.5); }

// The value every law is evaluated at: a host may pass anything as a parameter value, and it
// is stored as given, but what is derived from it sees a number in 0..1 (not a number and the
// infinities count as 0, the rest is clamped).
inline float sanitiseParameterValue(float v)
{
    if (!std::isfinite(v)) return 0.0f;
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

// Position that v selects among n positions: min(floor(n·v), n − 1); values outside 0..1
// select the nearest end (not a number selects the last), so the cast never overflows.
inline int valueToStep(float v, int n)
{
    const double step = std::floor(static_cast<double>(n) * v);
    if (!(step < n - 1)) return n - 1;
    return step > 0.0 ? static_cast<int>(step) : 0;
}

// Position of a switch-like value with n positions stored as k / (n − 1).
inline int switchPosition(float v, int n) { return roundHalfUp(static_cast<double>(n - 1) * v); }

// Room size ("Size"): 1 .. 5.
inline constexpr int kRoomSizes = 5;
inline int sizeStep(double v) { return roundHalfUp((kRoomSizes - 1) * v) + 1; }

// Gain law of every level parameter: 0 at 0, 1.0004 (about 0 dB) at 0.5, 3.983 (+12 dB) at 1.
inline double levelGain(double v)
{
    constexpr double kScale = 0.5048;  // makes the curve start at 0
    constexpr double kSlope = 2.185;   // about +12 dB at the top
    return kScale * std::exp(kSlope * v) - kScale;
}
// The same rounded to single precision, as the engine receives it.
inline float levelCurve(double v) { return static_cast<float>(levelGain(v)); }

// Time law: 0.1 s .. 10 s, rounded to single precision.
inline constexpr double kShortestTime = 0.1;  // seconds at v = 0
inline constexpr double kTimeRange = 100.0;   // ratio of longest to shortest time
inline float timeLaw(double v) { return static_cast<float>(kShortestTime * std::pow(kTimeRange, v)); }

// Microphone distance from the rotor axis in metres: 0.35 m .. 1.65 m.
inline constexpr double kMicDistanceSpan = 1.3;      // metres over the whole range
inline constexpr double kNearestMicDistance = 0.35;  // metres at distance value 0
inline double distanceLaw(double v) { return kMicDistanceSpan * v + kNearestMicDistance; }

// Rotor speed in rotations per second: 0 .. 10 Hz.
inline double speedLaw(double v)
{
    constexpr double kTopSpeed = 10.0;  // Hz at v = 1
    return kTopSpeed * v;
}

// 200 Hz .. 20 kHz over four decades.
inline double cutoffLaw(double v)
{
    constexpr double kLowest = 200.0;  // Hz at v = 0
    constexpr double kRange = 100.0;   // ratio of highest to lowest
    return kLowest * std::pow(kRange, v);
}

// Horn high-pass ("HHPF"): 0 (off) below 0.01, else about 20 Hz .. 1 kHz.
inline constexpr double kHighPassOffBelow = 0.01;
inline double highPassCurve(double v)
{
    constexpr double kScale = 53.33;  // Hz
    constexpr double kSlope = 2.966;
    constexpr double kOffset = 34.94;  // Hz, makes the lowest setting about 20 Hz
    return kScale * std::exp(kSlope * v) - kOffset;
}
inline double highPassFrequency(double v) { return v < kHighPassOffBelow ? 0.0 : highPassCurve(v); }

// Drum low-pass ("DLPF"): 200 Hz .. 20 kHz, 0 (off) at the very top.
inline double lowPassFrequency(float v) { return v == 1.0f ? 0.0 : cutoffLaw(v); }

// Equaliser band gain in dB: −12 .. +12.
inline double eqGainDb(double v)
{
    constexpr double kSpanDb = 24.0;
    constexpr double kLowestDb = -12.0;
    return kSpanDb * v + kLowestDb;
}

// Quality of the mid bands: narrower when cutting than when boosting.
inline double eqQuality(double gainDb)
{
    constexpr double kCutQ = 1.0;
    constexpr double kBoostQ = 0.7;
    return gainDb <= 0.0 ? kCutQ : kBoostQ;
}

// Amplifier drive, −20 .. +20 dB, and its linear gain.
inline double driveGainDb(double v)
{
    constexpr double kSpanDb = 40.0;
    constexpr double kLowestDb = -20.0;
    return kSpanDb * v + kLowestDb;
}
inline double driveGain(double v) { return std::pow(10.0, driveGainDb(v) / 20.0); }

inline constexpr double kInputTrim = 0.70794578438;                // −3 dB applied to the input gain
inline constexpr double kInputTextScale = 1.4142;                  // the input text shows the gain without the trim
inline constexpr double kReflectionTrim = 0.0316227766;            // −30 dB applied to the reflection level
inline constexpr double kReflectionTextScale = 31.62277660168379;  // the text shows it without the trim

// Output balance: the side away from the knob is attenuated along a parabola.
inline void balanceGains(double v, double& left, double& right)
{
    if (v >= 0.5) {
        const double t = 2.0 * (v - 0.5);
        left = (1.0 - t) * (1.0 - t);
        right = 1.0;
    } else {
        const double t = 2.0 * (0.5 - v);
        left = 1.0;
        right = (1.0 - t) * (1.0 - t);
    }
}

// Equal-power pan: the left and right gains of a source at position v.
inline void panGains(double v, double& left, double& right)
{
    constexpr double kQuarterTurn = 1.5707963267948966;  // π/2 (this layer does not see dsp/Constants.h)
    left = std::sin((1.0 - v) * kQuarterTurn);
    right = std::sin(v * kQuarterTurn);
}

// Reflection coefficient and horn amplitude floor: 0 .. 1 along an exponential curve.
inline double reflectionCurve(double v)
{
    constexpr double kScale = 0.126794;  // makes the curve run from 0 to 1
    constexpr double kSlope = 2.18457;
    return std::exp(kSlope * v) * kScale - kScale;
}

// Rotor radius for frequency and amplitude modulation in metres (0.125 .. 0.25), single precision.
inline float radiusLaw(double v)
{
    constexpr double kSlope = 0.482324;
    constexpr double kScale = 0.201667;    // metres
    constexpr double kOffset = 0.0766667;  // metres
    return static_cast<float>(std::exp(kSlope * v) * kScale - kOffset);
}

// Distance over which the horn's near-field loss fades out: 0.1 .. 10 m, at least 0.01 m.
inline double hornAttenuationDistance(double v)
{
    constexpr double kShortest = 0.1;  // metres
    constexpr double kRange = 100.0;
    constexpr double kFloor = 0.01;  // metres
    const double d = std::pow(kRange, v) * kShortest;
    return d < kFloor ? kFloor : d;
}

// The same for the drum: 0 .. 3 m, at least 0.01 m.
inline double drumAttenuationDistance(double v)
{
    constexpr double kLongest = 3.0;  // metres
    constexpr double kFloor = 0.01;   // metres
    const double d = kLongest * v;
    return d < kFloor ? kFloor : d;
}

// Decay exponent of the attenuation fade: 0.5 .. 2.
inline double decayExponent(double v)
{
    constexpr double kSlope = 1.38629;  // ln 4
    constexpr double kLowest = 0.5;
    return std::exp(kSlope * v) * kLowest;
}

// Saturation amount of the tone filters: 0.0008 .. 0.32.
inline double saturationAmount(double v)
{
    constexpr double kRange = 400.0;
    constexpr double kLowest = 0.0008;
    return std::pow(kRange, v) * kLowest;
}

// Rotor direction sign set by the flip parameters.
inline double flipSign(float v) { return v <= 0.5f ? 1.0 : -1.0; }

// Early reflections: room scale 0.5 .. 4.
inline double roomScale(double v)
{
    constexpr double kScale = 0.1;
    constexpr double kSlope = 3.58352;  // ln 36
    constexpr double kOffset = 0.4;
    return kScale * std::exp(kSlope * v) + kOffset;
}

// Early reflections: virtual room scale 0.25 .. 4.
inline double virtualRoomScale(double v)
{
    constexpr double kScale = 0.25;
    constexpr double kSlope = 2.77259;  // ln 16
    return kScale * std::exp(kSlope * v);
}

// Early reflections: extra path length between left and right in metres, 0.15 .. 1.5.
inline double extraDistance(double v)
{
    constexpr double kScale = 0.15;     // metres
    constexpr double kSlope = 2.30259;  // ln 10
    return kScale * std::exp(kSlope * v);
}

// Early reflections: main cutoff 200 Hz .. 20 kHz, single precision.
inline float reflectionCutoff(double v) { return static_cast<float>(cutoffLaw(v)); }

// Drum splitter frequency: 50 .. 500 Hz.
inline double splitterFrequency(double v)
{
    constexpr double kLowest = 50.0;  // Hz
    return kLowest * std::pow(10.0, v);
}

// Horn amplitude floor that follows the horn microphone distance.
inline float hornAmplitudeClipValue(double hornDistance)
{
    constexpr double kCentre = 0.5;
    constexpr double kSpan = 0.2;
    constexpr double kBase = 0.795879;  // value of the floor at distance 0.25
    return static_cast<float>((std::sqrt(hornDistance) - kCentre) * kSpan + kBase);
}

}  // namespace orv
