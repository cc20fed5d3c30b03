#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dsp/BiquadDesigner.h"

namespace orv {

// One second-order section that designs itself from rate, type, frequency, Q and gain.
// A design change moves the factored zeros, poles and gain in straight lines over
// glideLength samples, so a swept filter never passes through an unstable set.
// All fields are plain public data: change them, then call update().
class BiquadFilter {
public:
    // Filter types stored in `type`.
    static constexpr std::uint32_t typeOff = BiquadDesigner::kTypeOff;
    static constexpr std::uint32_t typeHighPass2 = BiquadDesigner::kTypeHighPass2;
    static constexpr std::uint32_t typeHighPass1 = BiquadDesigner::kTypeHighPass1;
    static constexpr std::uint32_t typeLowShelf = BiquadDesigner::kTypeLowShelf;
    static constexpr std::uint32_t typePeak = BiquadDesigner::kTypePeak;
    static constexpr std::uint32_t typeBandPass = BiquadDesigner::kTypeBandPass;
    static constexpr std::uint32_t typeNotch = BiquadDesigner::kTypeNotch;
    static constexpr std::uint32_t typeHighShelf = BiquadDesigner::kTypeHighShelf;
    static constexpr std::uint32_t typeLowPass2 = BiquadDesigner::kTypeLowPass2;
    static constexpr std::uint32_t typeLowPass1 = BiquadDesigner::kTypeLowPass1;
    static constexpr std::uint32_t typeAllPass = BiquadDesigner::kTypeAllPass;

    // Indices into rootState / rootIncrement (the designer's root order).
    enum RootIndex : int {
        zero1Re = BiquadDesigner::kZero1Re,
        zero1Im = BiquadDesigner::kZero1Im,
        zero2Re = BiquadDesigner::kZero2Re,
        zero2Im = BiquadDesigner::kZero2Im,
        pole1Re = BiquadDesigner::kPole1Re,
        pole1Im = BiquadDesigner::kPole1Im,
        pole2Re = BiquadDesigner::kPole2Re,
        pole2Im = BiquadDesigner::kPole2Im,
        rootGain = BiquadDesigner::kGain,
        rootCount = BiquadDesigner::kRootCount
    };

    struct GlideValue {
        double current;
        double target;
    };

    static constexpr double glideFlush = 1e-30;  // denormal flush of the glide process
    static constexpr double plainFlush = 1e-17;  // denormal flush of processPlain

    // Limits within which every owner keeps a filter's settings.
    static constexpr double minFrequency = 0.001;        // Hz
    static constexpr double maxFrequencyShare = 0.499;   // of the filter's rate
    static constexpr double minQ = 0.0001;
    static constexpr double maxQ = 1000.0;
    static double clampFrequency(double hz, double rate) {
        return std::min(std::max(hz, minFrequency), maxFrequencyShare * rate);
    }
    static double clampQ(double q) { return std::min(std::max(q, minQ), maxQ); }

    double sampleRate = 44100.0;
    std::uint32_t type = typePeak;
    double frequency = 1000.0;  // Hz
    double q = 1.0;
    double gainDb = 0.0;
    std::uint32_t enabled = 0;

    // Designed set: a1..b2 divided by a0, a0 keeps its unnormalised value.
    double a0 = 1.0, a1 = 0.0, a2 = 0.0, b0 = 1.0, b1 = 0.0, b2 = 0.0;
    // Set used by the glide process at this sample (runA0 is always 1).
    double runA0 = 1.0, runA1 = 0.0, runA2 = 0.0, runB0 = 1.0, runB1 = 0.0, runB2 = 0.0;

    double x0 = 0.0, x1 = 0.0, x2 = 0.0;
    double y0 = 0.0, y1 = 0.0, y2 = 0.0;

    GlideValue rootState[rootCount] = {};
    double rootIncrement[rootCount] = {};
    std::uint32_t glideRemaining = 0;
    std::uint32_t glideLength = 132;  // samples

    double saturationCoefficient = 0.001;  // k of y / (1 + k |y + bias|)
    std::uint32_t saturationOn = 0;
    double saturationAmount = -1.0;  // last amount given to setSaturation
    double saturationBias = 0.0;
    bool snapOnUpdate = true;

    BiquadFilter() { reset(); }

    // Clears history and glide, puts the roots at zero1 = 1, gain = 1, switches saturation off.
    void reset();
    // Designs from the public fields, factors the design and starts a glide (or snaps).
    void update();
    // Jumps every root to its target and ends the glide.
    void snap();
    // Forgets the signal: input and output history become 0; the design stays.
    void clearHistory() { x0 = x1 = x2 = y0 = y1 = y2 = 0.0; }
    // Sets the saturation coefficient from amount, frequency, Q and rate; amount <= 0 turns it off.
    void setSaturation(double amount);
    // Switches the filter on at its design without gliding from the previous state.
    void enable();

    // Rate the filters of this system run at: `rate` inside 20 kHz..400 kHz, else 44.1 kHz.
    static double usableRate(double rate);
    // Glide length for a filter at `rate`: the integer part of 3 ms of samples.
    static std::uint32_t glideLengthFor(double rate);

    // Gliding process (normal use).
    inline double process(double x);
    // Gliding process with the saturation law inside the feedback path.
    inline double processSaturated(double x);
    // Direct form with the designed set: no glide, no type or enable test.
    inline double processPlain(double x);

private:
    // Returns false when the input must pass unchanged; otherwise sets the running set.
    inline bool prepareSample();
    inline void advanceGlide();
    // The running set applied to input x and the history.
    double runningSection(double x) const { return runB0 * x + runB1 * x1 + runB2 * x2 - runA1 * y1 - runA2 * y2; }
    void pushHistory(double x, double y) {
        x0 = x;
        y0 = y;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
    }
    // Designs from the public fields; remembers the last design.
    BiquadDesigner designer_;
};

inline void BiquadFilter::advanceGlide()
{
    --glideRemaining;
    for (int i = 0; i < rootCount; ++i)
        rootState[i].current += rootIncrement[i];
    const double g = rootState[rootGain].current;
    const double p1r = rootState[pole1Re].current, p1i = rootState[pole1Im].current;
    const double p2r = rootState[pole2Re].current, p2i = rootState[pole2Im].current;
    const double z1r = rootState[zero1Re].current, z1i = rootState[zero1Im].current;
    const double z2r = rootState[zero2Re].current, z2i = rootState[zero2Im].current;
    runA0 = 1.0;
    runA1 = -(p1r + p2r);
    runA2 = p1r * p2r - p1i * p2i;
    runB0 = g;
    runB1 = -(z1r + z2r) * g;
    runB2 = (z1r * z2r - z1i * z2i) * g;
}

inline bool BiquadFilter::prepareSample()
{
    if (type == typeOff)
        return false;
    if (enabled == 0 && glideRemaining == 0) {
        x1 = x2 = y1 = y2 = 0.0;
        return false;
    }
    if (glideRemaining > 0) {
        advanceGlide();
    } else {
        runA0 = 1.0;
        runA1 = a1;
        runA2 = a2;
        runB0 = b0;
        runB1 = b1;
        runB2 = b2;
    }
    return true;
}

inline double BiquadFilter::process(double x)
{
    if (!prepareSample())
        return x;
    x = x + glideFlush - glideFlush;
    double y = runningSection(x);
    y = y + glideFlush - glideFlush;
    pushHistory(x, y);
    return y;
}

inline double BiquadFilter::processSaturated(double x)
{
    if (!prepareSample())
        return x;
    // The input is not flushed here (only the plain gliding process does that); the
    // output is, and the squashing below only shrinks it, so y1 and y2 never go denormal.
    double y = runningSection(x);
    y = y + glideFlush - glideFlush;
    if (saturationOn)
        y = y / (1.0 + saturationCoefficient * std::fabs(y + saturationBias));
    pushHistory(x, y);
    return y;
}

inline double BiquadFilter::processPlain(double x)
{
    x = x + plainFlush - plainFlush;
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    y = y + plainFlush - plainFlush;
    pushHistory(x, y);
    return y;
}

}  // namespace orv
