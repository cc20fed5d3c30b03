#pragma once

#include <bit>
#include <cstdint>

#include "dsp/BiquadDesigner.h"
#include "dsp/BiquadFilter.h"
#include "dsp/LaneMath.h"

namespace orv {

// `Lanes` gliding, saturating BiquadFilters side by side, stored field by field so that one
// sample of all of them, and a redesign of all of them, runs two lanes per instruction (a rotor
// model's direction filters, one per ray). Each lane behaves exactly like a BiquadFilter given
// the same calls; type, enable, rate, glide length, snapping and saturation bias are shared by
// all lanes.
template <int Lanes>
class BiquadBank {
    static_assert(Lanes > 0 && Lanes % 2 == 0, "lanes come in pairs");

public:
    static constexpr int lanes = Lanes;
    static constexpr int rootCount = BiquadDesigner::kRootCount;

    // Every lane starts as a new BiquadFilter: frequency 1000 Hz, Q 1, 0 dB, roots at zero 1 = 1
    // and gain 1, no history, saturation off.
    BiquadBank();

    // Shared settings (as BiquadFilter's setters of the same names); each applies at the next
    // update.
    void prepare(double sampleRate, std::uint32_t glideLength)
    {
        sampleRate_ = sampleRate;
        glideLength_ = glideLength;
    }
    void setType(std::uint32_t type) { type_ = type; }
    void setEnabled(bool on) { enabled_ = on ? 1u : 0u; }
    void setSnapOnUpdate(bool snap) { snapOnUpdate_ = snap; }
    void setSaturationBias(double bias) { saturationBias_ = bias; }
    // Settings of lane k.
    void setLane(int k, double frequency, double q)
    {
        frequency_[k] = frequency;
        q_[k] = q;
    }
    void setLaneGain(int k, double gainDb) { gainDb_[k] = gainDb; }

    double sampleRate() const { return sampleRate_; }
    double frequency(int k) const { return frequency_[k]; }
    double q(int k) const { return q_[k]; }
    double gainDb(int k) const { return gainDb_[k]; }

    // Designs lane k from the settings and starts its glide (or snaps), as BiquadFilter::update.
    void update(int k);
    // The same for lanes 0 .. count - 1, V (Double2, or Double4 in the AVX2 kernels) at a time;
    // every lane gets the same design whatever V.
    template <class V = Double2>
    void updateLanes(int count);
    // Jumps lane k's roots to their targets and ends its glide.
    void snap(int k);
    void snapLanes(int count);
    // Saturation of lane k from amount, its frequency, Q and the rate; amount <= 0 turns it off.
    void setSaturation(int k, double amount);
    template <class V = Double2>
    void setSaturationLanes(int count, double amount);
    // Clears lane k's input and output history.
    void clearHistory(int k);

    // One sample of lane k, as BiquadFilter::processSaturated.
    double processSaturated(int k, double x);
    // One sample of each of lanes 0 .. count - 1, v[k] in and out, V (Double2, or Double4 in
    // the AVX2 kernels) at a time; every lane computes the same whatever V.
    template <class V = Double2>
    void processSaturated(double* v, int count);

    // Lane k's designed coefficients (a0 = 1), roots, glide and saturation, for inspection.
    double b0(int k) const { return designed_[kB0][k]; }
    double b1(int k) const { return designed_[kB1][k]; }
    double b2(int k) const { return designed_[kB2][k]; }
    double a1(int k) const { return designed_[kA1][k]; }
    double a2(int k) const { return designed_[kA2][k]; }
    double rootCurrent(int k, int root) const { return current_[root][k]; }
    double rootTarget(int k, int root) const { return target_[root][k]; }
    std::uint32_t glideRemaining(int k) const { return glideRemaining_[k]; }
    double saturationCoefficient(int k) const { return saturationCoefficient_[k]; }
    bool saturationOn(int k) const { return saturationMask_[k] != 0; }
    double saturationAmount(int k) const { return saturationAmount_[k]; }

private:
    enum Coefficient : int { kB0, kB1, kB2, kA1, kA2, kCoefficientCount };

    // Saturation of the lanes in use: none, all, or some (selected lane by lane).
    enum class Squash { none, all, some };

    // Designs lanes first .. first + count - 1, T at a time (double, or Double2 or Double4 from a
    // first that is a multiple of its width), and starts their glides (or snaps). Each step runs over all the lanes before the
    // next: the steps are long dependency chains (polynomials), and side by side the processor
    // overlaps them.
    template <class T>
    inline void design(int first, int count);
    template <class T>
    inline void saturate(int k, double amount);
    // Moves the roots of the lanes at k one glide step and writes the running coefficients
    // they give into run_.
    template <class T>
    inline void glide(int k);
    // One sample of the lanes at k with the coefficient set c (run_ or designed_).
    template <class T, Squash S>
    inline T filter(int k, T x, const double (*c)[Lanes]);
    template <Squash S, class V>
    inline void filterAll(double* v, int count, const double (*c)[Lanes]);
    double processLane(int k, double x);
    // Forgets every remembered design when a shared setting changed since the last design.
    void checkSharedSettings();

    double sampleRate_ = 44100.0;
    std::uint32_t type_ = BiquadFilter::typePeak;
    std::uint32_t enabled_ = 0;
    std::uint32_t glideLength_ = 132;  // samples
    bool snapOnUpdate_ = true;
    double saturationBias_ = 0.0;
    alignas(16) double frequency_[Lanes];  // Hz
    alignas(16) double q_[Lanes];
    alignas(16) double gainDb_[Lanes];

    alignas(16) double current_[rootCount][Lanes];
    alignas(16) double increment_[rootCount][Lanes];
    alignas(16) double target_[rootCount][Lanes];
    alignas(16) double designed_[kCoefficientCount][Lanes];
    alignas(16) double run_[kCoefficientCount][Lanes];  // running set while gliding
    alignas(16) double x1_[Lanes], x2_[Lanes], y1_[Lanes], y2_[Lanes];
    alignas(16) double saturationCoefficient_[Lanes];
    alignas(16) std::uint64_t saturationMask_[Lanes];  // all ones where saturation is on
    double saturationAmount_[Lanes];
    std::uint32_t glideRemaining_[Lanes];

    // What the packed path needs to know about lanes 0 .. summaryCount_ - 1, kept until a
    // lane's glide or saturation changes: the lanes are at the same point of their glides, and
    // whether some or all of them saturate.
    bool summaryValid_ = false;
    int summaryCount_ = 0;
    bool inStep_ = false, anySquash_ = false, allSquash_ = false;

    // What the last designs were made from, compared bit for bit: an unchanged lane keeps its
    // design, a lane with only its gain changed keeps the frequency-dependent part.
    std::uint32_t memoType_ = 0, memoEnabled_ = 0;
    std::uint64_t memoRate_ = 0;
    bool designValid_[Lanes] = {};
    std::uint64_t designKey_[3][Lanes] = {};  // frequency, q, gain
    bool shapeValid_[Lanes] = {};
    alignas(16) double shapeC_[Lanes], shapeS_[Lanes], shapeQWarped_[Lanes];
    bool qPowerValid_[Lanes] = {};
    std::uint64_t qPowerKey_[Lanes] = {};
    alignas(16) double qPower_[Lanes];
};

template <int Lanes>
BiquadBank<Lanes>::BiquadBank()
{
    for (int k = 0; k < Lanes; ++k) {
        frequency_[k] = 1000.0;
        q_[k] = 1.0;
        gainDb_[k] = 0.0;
        for (int j = 0; j < rootCount; ++j) current_[j][k] = increment_[j][k] = target_[j][k] = 0.0;
        current_[BiquadDesigner::kZero1Re][k] = target_[BiquadDesigner::kZero1Re][k] = 1.0;
        current_[BiquadDesigner::kGain][k] = target_[BiquadDesigner::kGain][k] = 1.0;
        // The identity design, until the first update.
        designed_[kB0][k] = 1.0;
        designed_[kB1][k] = designed_[kB2][k] = designed_[kA1][k] = designed_[kA2][k] = 0.0;
        run_[kB0][k] = 1.0;
        run_[kB1][k] = run_[kB2][k] = run_[kA1][k] = run_[kA2][k] = 0.0;
        x1_[k] = x2_[k] = y1_[k] = y2_[k] = 0.0;
        saturationCoefficient_[k] = 0.001;
        saturationMask_[k] = 0;
        saturationAmount_[k] = -1.0;
        glideRemaining_[k] = 0;
        shapeC_[k] = shapeS_[k] = shapeQWarped_[k] = 0.0;
        qPower_[k] = 1.0;
    }
}

template <int Lanes>
void BiquadBank<Lanes>::checkSharedSettings()
{
    const std::uint64_t rate = std::bit_cast<std::uint64_t>(sampleRate_);
    if (memoType_ == type_ && memoEnabled_ == enabled_ && memoRate_ == rate) return;
    memoType_ = type_;
    memoEnabled_ = enabled_;
    memoRate_ = rate;
    for (int k = 0; k < Lanes; ++k) designValid_[k] = shapeValid_[k] = false;
}

template <int Lanes>
template <class T>
inline void BiquadBank<Lanes>::design(int first, int count)
{
    using lanes::load;
    using lanes::store;
    constexpr int n = lanes::kWidth<T>;  // lanes per step
    static_assert(Lanes % n == 0, "whole steps of lanes");
    const int end = first + count;
    // Lanes of a step past the range are computed along but not kept.
    auto keep = [end](double* p, T v, int k) {
        (void)end;  // unused in the one-lane form
        if constexpr (n == 1) {
            *p = v;
        } else if (k + n <= end) {
            store(p, v);
        } else {
            for (int i = 0; i < end - k; ++i) p[i] = v[i];
        }
    };
    bool allKnown = true, allShapesKnown = true;
    for (int k = first; k < end; ++k) {
        const std::uint64_t f = std::bit_cast<std::uint64_t>(frequency_[k]);
        const std::uint64_t qq = std::bit_cast<std::uint64_t>(q_[k]);
        const std::uint64_t g = std::bit_cast<std::uint64_t>(gainDb_[k]);
        const bool shapeKnown = shapeValid_[k] && designKey_[0][k] == f && designKey_[1][k] == qq;
        allShapesKnown = allShapesKnown && shapeKnown;
        allKnown = allKnown && designValid_[k] && shapeKnown && designKey_[2][k] == g;
    }
    const bool designing = BiquadDesigner::designs(type_, enabled_);
    // An unchanged design is still in designed_ and target_.
    if (!allKnown || !designing) {
        alignas(16) double logRatio[Lanes];
        alignas(16) double gainFactor[Lanes];
        const T rate = lanes::splat<T>(sampleRate_);
        if (designing && !allShapesKnown) {
            for (int k = first; k < end; k += n) {
                T sine, cosine;
                lanes::sinCos(BiquadDesigner::angularFrequency(rate, load<T>(&frequency_[k])), sine, cosine);
                keep(&shapeS_[k], sine, k);
                keep(&shapeC_[k], cosine, k);
            }
            if (BiquadDesigner::warpNeedsLog(type_)) {
                for (int k = first; k < end; k += n)
                    store(&logRatio[k], lanes::log(BiquadDesigner::warpRatio(type_, rate, load<T>(&frequency_[k]))));
                for (int k = first; k < end; k += n) {
                    const T power = BiquadDesigner::warpPowerFromLog(type_, load<T>(&logRatio[k]));
                    keep(&shapeQWarped_[k], BiquadDesigner::warpedQ(power, load<T>(&q_[k])), k);
                }
            } else if (BiquadDesigner::warpExponent(type_) != 0.0) {
                for (int k = first; k < end; k += n) {
                    const T r = BiquadDesigner::warpRatio(type_, rate, load<T>(&frequency_[k]));
                    keep(&shapeQWarped_[k],
                         BiquadDesigner::warpedQ(BiquadDesigner::warpPower(type_, r), load<T>(&q_[k])), k);
                }
            } else {
                for (int k = first; k < end; ++k) shapeQWarped_[k] = q_[k];
            }
        }
        if (designing && BiquadDesigner::usesGain(type_)) {
            for (int k = first; k < end; k += n)
                store(&gainFactor[k], BiquadDesigner::gainFactor(load<T>(&gainDb_[k])));
        } else {
            for (int k = first; k < end + n - 1 && k < Lanes; ++k) gainFactor[k] = 1.0;
        }
        const std::uint32_t designType = designing ? type_ : BiquadDesigner::kTypeOff;
        for (int k = first; k < end; k += n) {
            const T zero = lanes::splat<T>(0.0);
            BiquadDesigner::Shape<T> sh{zero, zero, zero + 1.0};
            if (designing) sh = {load<T>(&shapeC_[k]), load<T>(&shapeS_[k]), load<T>(&shapeQWarped_[k])};
            BiquadDesigner::Lanes<T> d;
            BiquadDesigner::coefficients<T>(designType, sh, load<T>(&q_[k]), load<T>(&gainFactor[k]), d);
            keep(&designed_[kB0][k], d.b0, k);
            keep(&designed_[kB1][k], d.b1, k);
            keep(&designed_[kB2][k], d.b2, k);
            keep(&designed_[kA1][k], d.a1, k);
            keep(&designed_[kA2][k], d.a2, k);
            for (int j = 0; j < rootCount; ++j) keep(&target_[j][k], d.root[j], k);
        }
        for (int k = first; k < end; ++k) {
            designValid_[k] = true;
            shapeValid_[k] = designing;
            designKey_[0][k] = std::bit_cast<std::uint64_t>(frequency_[k]);
            designKey_[1][k] = std::bit_cast<std::uint64_t>(q_[k]);
            designKey_[2][k] = std::bit_cast<std::uint64_t>(gainDb_[k]);
        }
    }
    if (snapOnUpdate_ || glideLength_ == 0) {
        for (int k = first; k < end; ++k) snap(k);
        return;
    }
    const double perSample = 1.0 / glideLength_;
    for (int k = first; k < end; k += n) {
        for (int j = 0; j < rootCount; ++j) {
            const T step = (load<T>(&target_[j][k]) - load<T>(&current_[j][k])) * perSample;
            keep(&increment_[j][k], step + BiquadFilter::glideFlush - BiquadFilter::glideFlush, k);
        }
    }
    for (int k = first; k < end; ++k) glideRemaining_[k] = glideLength_;
}

template <int Lanes>
void BiquadBank<Lanes>::update(int k)
{
    summaryValid_ = false;
    checkSharedSettings();
    design<double>(k, 1);
}

template <int Lanes>
template <class V>
void BiquadBank<Lanes>::updateLanes(int count)
{
    summaryValid_ = false;
    if (count <= 0) return;
    checkSharedSettings();
    design<V>(0, count);
}

template <int Lanes>
void BiquadBank<Lanes>::snap(int k)
{
    summaryValid_ = false;
    for (int j = 0; j < rootCount; ++j) {
        current_[j][k] = target_[j][k];
        increment_[j][k] = 0.0;
    }
    glideRemaining_[k] = 0;
}

template <int Lanes>
void BiquadBank<Lanes>::snapLanes(int count)
{
    for (int k = 0; k < count; ++k) snap(k);
}

template <int Lanes>
template <class T>
inline void BiquadBank<Lanes>::saturate(int k, double amount)
{
    using lanes::load;
    using lanes::store;
    constexpr int n = lanes::kWidth<T>;
    bool known = true;
    for (int i = 0; i < n; ++i)
        known = known && qPowerValid_[k + i] && qPowerKey_[k + i] == std::bit_cast<std::uint64_t>(q_[k + i]);
    if (!known) {
        store(&qPower_[k], BiquadDesigner::saturationQPower<T>(load<T>(&q_[k])));
        for (int i = 0; i < n; ++i) {
            qPowerValid_[k + i] = true;
            qPowerKey_[k + i] = std::bit_cast<std::uint64_t>(q_[k + i]);
        }
    }
    store(&saturationCoefficient_[k],
          BiquadDesigner::saturationCoefficient<T>(lanes::splat<T>(amount), load<T>(&frequency_[k]),
                                                   load<T>(&qPower_[k]), lanes::splat<T>(sampleRate_)));
}

template <int Lanes>
void BiquadBank<Lanes>::setSaturation(int k, double amount)
{
    summaryValid_ = false;
    saturationAmount_[k] = amount;
    if (amount > 0.0) {
        saturationMask_[k] = ~std::uint64_t{0};
        saturate<double>(k, amount);
    } else {
        saturationMask_[k] = 0;
        saturationCoefficient_[k] = 0.001;
    }
}

template <int Lanes>
template <class V>
void BiquadBank<Lanes>::setSaturationLanes(int count, double amount)
{
    summaryValid_ = false;
    if (!(amount > 0.0)) {
        for (int k = 0; k < count; ++k) setSaturation(k, amount);
        return;
    }
    int k = 0;
    for (; k + lanes::kWidth<V> <= count; k += lanes::kWidth<V>) saturate<V>(k, amount);
    for (; k + 2 <= count; k += 2) saturate<Double2>(k, amount);
    if (k < count) saturate<double>(k, amount);
    for (k = 0; k < count; ++k) {
        saturationAmount_[k] = amount;
        saturationMask_[k] = ~std::uint64_t{0};
    }
}

template <int Lanes>
void BiquadBank<Lanes>::clearHistory(int k)
{
    x1_[k] = x2_[k] = y1_[k] = y2_[k] = 0.0;
}

template <int Lanes>
template <class T>
inline void BiquadBank<Lanes>::glide(int k)
{
    using lanes::load;
    using lanes::store;
    T r[rootCount];
#pragma GCC unroll 9
    for (int j = 0; j < rootCount; ++j) {
        r[j] = load<T>(&current_[j][k]) + load<T>(&increment_[j][k]);
        store(&current_[j][k], r[j]);
    }
    const T g = r[BiquadDesigner::kGain];
    store(&run_[kA1][k], -(r[BiquadDesigner::kPole1Re] + r[BiquadDesigner::kPole2Re]));
    store(&run_[kA2][k],
          r[BiquadDesigner::kPole1Re] * r[BiquadDesigner::kPole2Re] -
              r[BiquadDesigner::kPole1Im] * r[BiquadDesigner::kPole2Im]);
    store(&run_[kB0][k], g);
    store(&run_[kB1][k], -(r[BiquadDesigner::kZero1Re] + r[BiquadDesigner::kZero2Re]) * g);
    store(&run_[kB2][k],
          (r[BiquadDesigner::kZero1Re] * r[BiquadDesigner::kZero2Re] -
           r[BiquadDesigner::kZero1Im] * r[BiquadDesigner::kZero2Im]) *
              g);
}

template <int Lanes>
template <class T, typename BiquadBank<Lanes>::Squash S>
inline T BiquadBank<Lanes>::filter(int k, T x, const double (*c)[Lanes])
{
    using lanes::load;
    using lanes::store;
    const T x1 = load<T>(&x1_[k]);
    const T x2 = load<T>(&x2_[k]);
    const T y1 = load<T>(&y1_[k]);
    const T y2 = load<T>(&y2_[k]);
    // The same evaluation order as BiquadFilter::processSaturated: no input flush, the output
    // flushed, then squashed (which only shrinks it, so the history never goes denormal).
    T y = load<T>(&c[kB0][k]) * x + load<T>(&c[kB1][k]) * x1 + load<T>(&c[kB2][k]) * x2 - load<T>(&c[kA1][k]) * y1 -
        load<T>(&c[kA2][k]) * y2;
    y = y + BiquadFilter::glideFlush - BiquadFilter::glideFlush;
    if constexpr (S != Squash::none) {
        const T squashed = y / (1.0 + load<T>(&saturationCoefficient_[k]) * lanes::absOf(y + saturationBias_));
        if constexpr (S == Squash::all)
            y = squashed;
        else
            y = lanes::select(lanes::loadMask<T>(&saturationMask_[k]), squashed, y);
    }
    store(&x2_[k], x1);
    store(&x1_[k], x);
    store(&y2_[k], y1);
    store(&y1_[k], y);
    return y;
}

template <int Lanes>
double BiquadBank<Lanes>::processLane(int k, double x)
{
    summaryValid_ = false;
    if (type_ == BiquadFilter::typeOff) return x;
    if (enabled_ == 0 && glideRemaining_[k] == 0) {
        clearHistory(k);
        return x;
    }
    const double(*c)[Lanes] = designed_;
    if (glideRemaining_[k] > 0) {
        --glideRemaining_[k];
        glide<double>(k);
        c = run_;
    }
    return filter<double, Squash::some>(k, x, c);
}

template <int Lanes>
double BiquadBank<Lanes>::processSaturated(int k, double x)
{
    return processLane(k, x);
}

template <int Lanes>
template <typename BiquadBank<Lanes>::Squash S, class V>
inline void BiquadBank<Lanes>::filterAll(double* v, int count, const double (*c)[Lanes])
{
    constexpr int width = lanes::kWidth<V>;
    int k = 0;
    for (; k + width <= count; k += width) lanes::store(v + k, filter<V, S>(k, lanes::load<V>(v + k), c));
    for (; k + 2 <= count; k += 2) lanes::store(v + k, filter<Double2, S>(k, lanes::load<Double2>(v + k), c));
    if (k < count) v[k] = filter<double, S>(k, v[k], c);
}

template <int Lanes>
template <class V>
void BiquadBank<Lanes>::processSaturated(double* v, int count)
{
    if (count <= 0) return;
    // The packed path needs every lane enabled and at the same point of its glide (the usual
    // case: the owner designs all lanes together); otherwise each lane goes on its own.
    const std::uint32_t remaining = glideRemaining_[0];
    if (!summaryValid_ || summaryCount_ != count) {
        inStep_ = true;
        anySquash_ = false;
        allSquash_ = true;
        for (int k = 0; k < count; ++k) {
            inStep_ = inStep_ && glideRemaining_[k] == remaining;
            anySquash_ = anySquash_ || saturationMask_[k] != 0;
            allSquash_ = allSquash_ && saturationMask_[k] != 0;
        }
        summaryValid_ = true;
        summaryCount_ = count;
    }
    const bool allSquash = allSquash_, anySquash = anySquash_;
    if (!(inStep_ && type_ != BiquadFilter::typeOff && enabled_ != 0)) {
        for (int k = 0; k < count; ++k) v[k] = processLane(k, v[k]);
        return;
    }
    // First the glide of every lane (no signal involved), then the filters: their recursions
    // are long dependency chains, and with nothing else in between the processor overlaps them.
    const double(*c)[Lanes] = designed_;
    if (remaining > 0) {
        constexpr int width = lanes::kWidth<V>;
        int k = 0;
        for (; k + width <= count; k += width) glide<V>(k);
        for (; k + 2 <= count; k += 2) glide<Double2>(k);
        if (k < count) glide<double>(k);
        for (k = 0; k < count; ++k) --glideRemaining_[k];
        c = run_;
    }
    if (allSquash)
        filterAll<Squash::all, V>(v, count, c);
    else if (anySquash)
        filterAll<Squash::some, V>(v, count, c);
    else
        filterAll<Squash::none, V>(v, count, c);
}

}  // namespace orv
