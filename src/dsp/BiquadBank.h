#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dsp/BiquadDesigner.h"
#include "dsp/BiquadFilter.h"

namespace orv {

// Two doubles handled by one instruction where the processor has such instructions (SSE2 on
// x86-64, NEON on AArch64; elsewhere the compiler splits them). The arithmetic is element-wise
// IEEE, so every lane computes exactly what the scalar code computes.
using Double2 = double __attribute__((vector_size(16)));

namespace lanes {

using Bits2 = long long __attribute__((vector_size(16)));

template <class T>
inline T load(const double* p);
template <>
inline double load<double>(const double* p) { return *p; }
template <>
inline Double2 load<Double2>(const double* p)
{
    Double2 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void store(double* p, double v) { *p = v; }
inline void store(double* p, Double2 v) { std::memcpy(p, &v, sizeof v); }

inline double absOf(double v) { return std::fabs(v); }
inline Double2 absOf(Double2 v)
{
    constexpr long long magnitude = 0x7fffffffffffffffLL;  // every bit but the sign
    const Bits2 mask = {magnitude, magnitude};
    return std::bit_cast<Double2>(std::bit_cast<Bits2>(v) & mask);
}

// a where the mask's lane is all ones, b where it is 0.
inline double select(std::uint64_t mask, double a, double b) { return mask != 0 ? a : b; }
inline Double2 select(const std::uint64_t* mask, Double2 a, Double2 b)
{
    Bits2 m;
    std::memcpy(&m, mask, sizeof m);
    return std::bit_cast<Double2>((std::bit_cast<Bits2>(a) & m) | (std::bit_cast<Bits2>(b) & ~m));
}

}  // namespace lanes

// `Lanes` gliding, saturating BiquadFilters side by side, stored field by field so that one
// sample of all of them runs as packed arithmetic (a rotor model's direction filters, one per
// ray). Each lane behaves exactly like a BiquadFilter given the same calls; type, enable, rate,
// glide length, snapping and saturation bias are shared by all lanes.
template <int Lanes>
class BiquadBank {
    static_assert(Lanes > 0 && Lanes % 2 == 0, "lanes come in pairs");

public:
    static constexpr int lanes = Lanes;
    static constexpr int rootCount = BiquadDesigner::kRootCount;

    // Shared settings (as BiquadFilter's fields of the same names).
    double sampleRate = 44100.0;
    std::uint32_t type = BiquadFilter::typePeak;
    std::uint32_t enabled = 0;
    std::uint32_t glideLength = 132;  // samples
    bool snapOnUpdate = true;
    double saturationBias = 0.0;

    // Settings of each lane.
    double frequency[Lanes];  // Hz
    double q[Lanes];
    double gainDb[Lanes];

    // Every lane starts as a new BiquadFilter: frequency 1000 Hz, Q 1, 0 dB, roots at zero 1 = 1
    // and gain 1, no history, saturation off.
    BiquadBank();

    // Designs lane k from the settings and starts its glide (or snaps), as BiquadFilter::update.
    void update(int k);
    // Jumps lane k's roots to their targets and ends its glide.
    void snap(int k);
    // Saturation of lane k from amount, its frequency, Q and the rate; amount <= 0 turns it off.
    void setSaturation(int k, double amount);
    // Clears lane k's input and output history.
    void clearHistory(int k);

    // One sample of lane k, as BiquadFilter::processSaturated.
    double processSaturated(int k, double x);
    // One sample of each of lanes 0 .. count - 1, v[k] in and out.
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

    // Moves the roots of the lanes at k (one lane for double, two for Double2) one glide step
    // and writes the running coefficients they give into run_.
    template <class T>
    inline void glide(int k);
    // One sample of the lanes at k with the coefficient set c (run_ or designed_).
    template <class T, Squash S>
    inline T filter(int k, T x, const double (*c)[Lanes]);
    template <Squash S>
    inline void filterAll(double* v, int count, const double (*c)[Lanes]);
    // One lane of the per-lane path.
    double processLane(int k, double x);

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
    BiquadDesigner designer_[Lanes];
};

template <int Lanes>
BiquadBank<Lanes>::BiquadBank()
{
    for (int k = 0; k < Lanes; ++k) {
        frequency[k] = 1000.0;
        q[k] = 1.0;
        gainDb[k] = 0.0;
        for (int j = 0; j < rootCount; ++j)
            current_[j][k] = increment_[j][k] = target_[j][k] = 0.0;
        current_[BiquadDesigner::kZero1Re][k] = target_[BiquadDesigner::kZero1Re][k] = 1.0;
        current_[BiquadDesigner::kGain][k] = target_[BiquadDesigner::kGain][k] = 1.0;
        // The identity design, until the first update.
        designed_[kB0][k] = 1.0;
        designed_[kB1][k] = designed_[kB2][k] = designed_[kA1][k] = designed_[kA2][k] = 0.0;
        x1_[k] = x2_[k] = y1_[k] = y2_[k] = 0.0;
        saturationCoefficient_[k] = 0.001;
        saturationMask_[k] = 0;
        saturationAmount_[k] = -1.0;
        glideRemaining_[k] = 0;
    }
}

template <int Lanes>
void BiquadBank<Lanes>::update(int k)
{
    const BiquadDesigner::Design& d = designer_[k].design(type, enabled, sampleRate, frequency[k], q[k], gainDb[k]);
    designed_[kB0][k] = d.b0;
    designed_[kB1][k] = d.b1;
    designed_[kB2][k] = d.b2;
    designed_[kA1][k] = d.a1;
    designed_[kA2][k] = d.a2;
    for (int j = 0; j < rootCount; ++j)
        target_[j][k] = d.root[j];
    if (snapOnUpdate || glideLength == 0) {
        snap(k);
        return;
    }
    glideRemaining_[k] = glideLength;
    for (int j = 0; j < rootCount; ++j) {
        const double s = (d.root[j] - current_[j][k]) / glideLength;
        increment_[j][k] = s + BiquadFilter::glideFlush - BiquadFilter::glideFlush;
    }
}

template <int Lanes>
void BiquadBank<Lanes>::snap(int k)
{
    for (int j = 0; j < rootCount; ++j) {
        current_[j][k] = target_[j][k];
        increment_[j][k] = 0.0;
    }
    glideRemaining_[k] = 0;
}

template <int Lanes>
void BiquadBank<Lanes>::setSaturation(int k, double amount)
{
    saturationAmount_[k] = amount;
    if (amount > 0.0) {
        saturationMask_[k] = ~std::uint64_t{0};
        saturationCoefficient_[k] = designer_[k].saturationCoefficient(amount, frequency[k], q[k], sampleRate);
    } else {
        saturationMask_[k] = 0;
        saturationCoefficient_[k] = 0.001;
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
    store(&run_[kA2][k], r[BiquadDesigner::kPole1Re] * r[BiquadDesigner::kPole2Re] -
                             r[BiquadDesigner::kPole1Im] * r[BiquadDesigner::kPole2Im]);
    store(&run_[kB0][k], g);
    store(&run_[kB1][k], -(r[BiquadDesigner::kZero1Re] + r[BiquadDesigner::kZero2Re]) * g);
    store(&run_[kB2][k], (r[BiquadDesigner::kZero1Re] * r[BiquadDesigner::kZero2Re] -
                          r[BiquadDesigner::kZero1Im] * r[BiquadDesigner::kZero2Im]) * g);
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
    T y = load<T>(&c[kB0][k]) * x + load<T>(&c[kB1][k]) * x1 + load<T>(&c[kB2][k]) * x2 -
          load<T>(&c[kA1][k]) * y1 - load<T>(&c[kA2][k]) * y2;
    y = y + BiquadFilter::glideFlush - BiquadFilter::glideFlush;
    if constexpr (S != Squash::none) {
        const T squashed = y / (1.0 + load<T>(&saturationCoefficient_[k]) * lanes::absOf(y + saturationBias));
        if constexpr (S == Squash::all)
            y = squashed;
        else if constexpr (sizeof(T) == sizeof(double))
            y = lanes::select(saturationMask_[k], squashed, y);
        else
            y = lanes::select(&saturationMask_[k], squashed, y);
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
    if (type == BiquadFilter::typeOff)
        return x;
    if (enabled == 0 && glideRemaining_[k] == 0) {
        clearHistory(k);
        return x;
    }
    const double (*c)[Lanes] = designed_;
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
template <typename BiquadBank<Lanes>::Squash S>
inline void BiquadBank<Lanes>::filterAll(double* v, int count, const double (*c)[Lanes])
{
    int k = 0;
    for (; k + 2 <= count; k += 2)
        lanes::store(v + k, filter<Double2, S>(k, lanes::load<Double2>(v + k), c));
    if (k < count)
        v[k] = filter<double, S>(k, v[k], c);
}

template <int Lanes>
void BiquadBank<Lanes>::processSaturated(double* v, int count)
{
    if (count <= 0)
        return;
    // The packed path needs every lane enabled and at the same point of its glide (the usual
    // case: the owner designs all lanes together); otherwise each lane goes on its own.
    const std::uint32_t remaining = glideRemaining_[0];
    bool uniform = type != BiquadFilter::typeOff && enabled != 0;
    bool anySquash = false, allSquash = true;
    for (int k = 0; k < count; ++k) {
        uniform = uniform && glideRemaining_[k] == remaining;
        anySquash = anySquash || saturationMask_[k] != 0;
        allSquash = allSquash && saturationMask_[k] != 0;
    }
    if (!uniform) {
        for (int k = 0; k < count; ++k)
            v[k] = processLane(k, v[k]);
        return;
    }
    // First the glide of every lane (no signal involved), then the filters: their recursions
    // are long dependency chains, and with nothing else in between the processor overlaps them.
    const double (*c)[Lanes] = designed_;
    if (remaining > 0) {
        int k = 0;
        for (; k + 2 <= count; k += 2)
            glide<Double2>(k);
        if (k < count)
            glide<double>(k);
        for (k = 0; k < count; ++k)
            --glideRemaining_[k];
        c = run_;
    }
    if (allSquash)
        filterAll<Squash::all>(v, count, c);
    else if (anySquash)
        filterAll<Squash::some>(v, count, c);
    else
        filterAll<Squash::none>(v, count, c);
}

}  // namespace orv
