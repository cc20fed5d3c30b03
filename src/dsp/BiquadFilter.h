#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dsp/BiquadDesigner.h"

namespace orv {

// One second-order section that designs itself from rate, type, frequency, Q and gain.
// A design change moves the factored zeros, poles and gain in straight lines over
// glideLength samples, so a swept filter never passes through an unstable set.
// Setters change the settings only; update() designs from them.
class BiquadFilter {
public:
    // Filter types.
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
    static constexpr int rootCount = BiquadDesigner::kRootCount;

    static constexpr double glideFlush = 1e-30;  // denormal flush of the glide process
    static constexpr double plainFlush = 1e-17;  // denormal flush of processPlain

    // Limits within which every owner keeps a filter's settings.
    static constexpr double minFrequency = 0.001;       // Hz
    static constexpr double maxFrequencyShare = 0.499;  // of the filter's rate
    static constexpr double minQ = 0.0001;
    static constexpr double maxQ = 1000.0;
    static double clampFrequency(double hz, double rate)
    {
        return std::min(std::max(hz, minFrequency), maxFrequencyShare * rate);
    }
    static double clampQ(double q) { return std::min(std::max(q, minQ), maxQ); }

    BiquadFilter()
    {
        design_.root[zero1Re] = design_.root[rootGain] = 1.0;  // the roots reset() starts from
        reset();
    }

    // Settings; each applies at the next update(). A new filter is a disabled 1 kHz peak
    // at 44.1 kHz, Q 1, 0 dB, gliding over 132 samples but snapping on update.
    void prepare(double sampleRate, std::uint32_t glideLength)
    {
        sampleRate_ = sampleRate;
        glideLength_ = glideLength;
    }
    void setType(std::uint32_t type) { type_ = type; }
    void setFrequency(double hz) { frequency_ = hz; }
    void setQ(double q) { q_ = q; }
    void setGainDb(double db) { gainDb_ = db; }
    // An enable change without update() lets a glide in progress finish first.
    void setEnabled(bool on) { enabled_ = on ? 1u : 0u; }
    // True: update() jumps to the design; false: it glides there.
    void setSnapOnUpdate(bool snap) { snapOnUpdate_ = snap; }
    // The bias of the saturation law y / (1 + k |y + bias|).
    void setSaturationBias(double bias) { saturationBias_ = bias; }
    // Sets the saturation coefficient from amount, frequency, Q and rate; amount <= 0 turns it off.
    void setSaturation(double amount);

    double sampleRate() const { return sampleRate_; }
    std::uint32_t type() const { return type_; }
    double frequency() const { return frequency_; }
    double q() const { return q_; }
    double gainDb() const { return gainDb_; }
    bool enabled() const { return enabled_ != 0; }
    std::uint32_t glideLength() const { return glideLength_; }
    std::uint32_t glideRemaining() const { return glideRemaining_; }
    double saturationAmount() const { return saturationAmount_; }
    bool saturationOn() const { return saturationOn_ != 0; }
    double saturationCoefficient() const { return saturationCoefficient_; }
    double saturationBias() const { return saturationBias_; }
    // The last design: a1..b2 divided by a0 (a0 unnormalised) and its target roots.
    const BiquadDesigner::Design& design() const { return design_; }

    // Clears history and glide, puts the roots at zero1 = 1, gain = 1, switches saturation off.
    void reset();
    // Designs from the settings, factors the design and starts a glide (or snaps).
    void update();
    // Jumps every root to its target and ends the glide.
    void snap();
    // Forgets the signal: input and output history become 0; the design stays.
    void clearHistory() { x1_ = x2_ = y1_ = y2_ = 0.0; }
    // Switches the filter on, designs it and jumps to the design without gliding.
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
    struct GlideValue {
        double current;
        double target;
    };
    enum RootIndex : int {
        zero1Re = BiquadDesigner::kZero1Re,
        zero1Im = BiquadDesigner::kZero1Im,
        zero2Re = BiquadDesigner::kZero2Re,
        zero2Im = BiquadDesigner::kZero2Im,
        pole1Re = BiquadDesigner::kPole1Re,
        pole1Im = BiquadDesigner::kPole1Im,
        pole2Re = BiquadDesigner::kPole2Re,
        pole2Im = BiquadDesigner::kPole2Im,
        rootGain = BiquadDesigner::kGain
    };

    // Returns false when the input must pass unchanged; otherwise sets the running set.
    inline bool prepareSample();
    inline void advanceGlide();
    // The running set applied to input x and the history.
    double runningSection(double x) const
    {
        return runB0_ * x + runB1_ * x1_ + runB2_ * x2_ - runA1_ * y1_ - runA2_ * y2_;
    }
    void pushHistory(double x, double y)
    {
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
    }

    double sampleRate_ = 44100.0;
    std::uint32_t type_ = typePeak;
    double frequency_ = 1000.0;  // Hz
    double q_ = 1.0;
    double gainDb_ = 0.0;
    std::uint32_t enabled_ = 0;

    BiquadDesigner::Design design_;
    // Set used by the glide process at this sample (a0 = 1).
    double runA1_ = 0.0, runA2_ = 0.0, runB0_ = 1.0, runB1_ = 0.0, runB2_ = 0.0;

    double x1_ = 0.0, x2_ = 0.0;
    double y1_ = 0.0, y2_ = 0.0;

    GlideValue rootState_[rootCount] = {};
    double rootIncrement_[rootCount] = {};
    std::uint32_t glideRemaining_ = 0;
    std::uint32_t glideLength_ = 132;  // samples

    double saturationCoefficient_ = 0.001;  // k of y / (1 + k |y + bias|)
    std::uint32_t saturationOn_ = 0;
    double saturationAmount_ = -1.0;  // last amount given to setSaturation
    double saturationBias_ = 0.0;
    bool snapOnUpdate_ = true;

    // Designs from the settings; remembers the last design.
    BiquadDesigner designer_;
};

inline void BiquadFilter::advanceGlide()
{
    --glideRemaining_;
    for (int i = 0; i < rootCount; ++i) rootState_[i].current += rootIncrement_[i];
    const double g = rootState_[rootGain].current;
    const double p1r = rootState_[pole1Re].current, p1i = rootState_[pole1Im].current;
    const double p2r = rootState_[pole2Re].current, p2i = rootState_[pole2Im].current;
    const double z1r = rootState_[zero1Re].current, z1i = rootState_[zero1Im].current;
    const double z2r = rootState_[zero2Re].current, z2i = rootState_[zero2Im].current;
    runA1_ = -(p1r + p2r);
    runA2_ = p1r * p2r - p1i * p2i;
    runB0_ = g;
    runB1_ = -(z1r + z2r) * g;
    runB2_ = (z1r * z2r - z1i * z2i) * g;
}

inline bool BiquadFilter::prepareSample()
{
    if (type_ == typeOff) return false;
    if (enabled_ == 0 && glideRemaining_ == 0) {
        x1_ = x2_ = y1_ = y2_ = 0.0;
        return false;
    }
    if (glideRemaining_ > 0) {
        advanceGlide();
    } else {
        runA1_ = design_.a1;
        runA2_ = design_.a2;
        runB0_ = design_.b0;
        runB1_ = design_.b1;
        runB2_ = design_.b2;
    }
    return true;
}

inline double BiquadFilter::process(double x)
{
    if (!prepareSample()) return x;
    x = x + glideFlush - glideFlush;
    double y = runningSection(x);
    y = y + glideFlush - glideFlush;
    pushHistory(x, y);
    return y;
}

inline double BiquadFilter::processSaturated(double x)
{
    if (!prepareSample()) return x;
    // The input is not flushed here (only the plain gliding process does that); the
    // output is, and the squashing below only shrinks it, so y1 and y2 never go denormal.
    double y = runningSection(x);
    y = y + glideFlush - glideFlush;
    if (saturationOn_) y = y / (1.0 + saturationCoefficient_ * std::fabs(y + saturationBias_));
    pushHistory(x, y);
    return y;
}

inline double BiquadFilter::processPlain(double x)
{
    x = x + plainFlush - plainFlush;
    const BiquadDesigner::Design& d = design_;
    double y = d.b0 * x + d.b1 * x1_ + d.b2 * x2_ - d.a1 * y1_ - d.a2 * y2_;
    y = y + plainFlush - plainFlush;
    pushHistory(x, y);
    return y;
}

}  // namespace orv
