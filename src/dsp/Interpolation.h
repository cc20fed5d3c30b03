#pragma once

// Four-point cubic (Catmull-Rom) reads from delay rings, distance tables and recordings, the
// mirrored delay-line write that keeps the ring read free of wrap tests, and a polynomial sine.
// All of them run many times per sample, so they are inline free functions on raw arrays.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dsp/Constants.h"

namespace orv {

namespace interp_detail {

inline constexpr int kTableSize = 512;  // entries of a distance table

// Fractions too small to matter become exactly 0.
inline double flushFraction(double t) { return t + kFlush - kFlush; }

// Catmull-Rom kernel in double precision (one value, or a pair of them); at t = 0 it returns
// p1 exactly.
template <class T>
inline T cubic(T t, T p0, T p1, T p2, T p3)
{
    const T t2 = t * t;
    const T t3 = t2 * t;
    return 0.5 *
        ((2.0 * t2 - t3 - t) * p0 + (3.0 * t3 - 5.0 * t2 + 2.0) * p1 + (4.0 * t2 - 3.0 * t3 + t) * p2 + (t3 - t2) * p3);
}

// The same kernel for recordings: weights and products in single precision, the sum and the
// halving in double precision, the result rounded back to single precision.
inline float cubicSingle(double t, float p0, float p1, float p2, float p3)
{
    const float tf = static_cast<float>(t);
    const float t2 = tf * tf;
    const float t3 = t2 * tf;
    const float q0 = (2.0f * t2 - t3 - tf) * p0;
    const float q1 = (3.0f * t3 - 5.0f * t2 + 2.0f) * p1;
    const float q2 = (4.0f * t2 - 3.0f * t3 + tf) * p2;
    const float q3 = (t3 - t2) * p3;
    const double sum =
        static_cast<double>(q0) + static_cast<double>(q1) + static_cast<double>(q2) + static_cast<double>(q3);
    return static_cast<float>(0.5 * sum);
}

}  // namespace interp_detail

// Reads a mirrored ring of n samples (stored twice, 2n entries) at a fractional position.
// Negative positions are folded by whole ring lengths.
inline double InterpolateRing(double position, const double* signal, int n)
{
    while (position < 0.0) position += n;
    const int i = static_cast<int>(position);
    const double t = interp_detail::flushFraction(position - i);
    const int j = (i + n - 1) % n;
    return interp_detail::cubic(t, signal[j], signal[j + 1], signal[j + 2], signal[j + 3]);
}

// Reads a 512-entry table at x; outside [0, 511] (and for NaN) the end value holds.
inline double InterpolateTable512(double x, const double* table)
{
    constexpr int last = interp_detail::kTableSize - 1;
    if (!(x > 0.0)) return table[0];  // also catches NaN
    if (x >= last) return table[last];
    const int i = static_cast<int>(x);
    const double t = interp_detail::flushFraction(x - i);
    const double p0 = table[i > 0 ? i - 1 : 0];
    const double p1 = table[i];
    const double p2 = i + 1 < interp_detail::kTableSize ? table[i + 1] : table[i];
    const double p3 = i + 2 <= last ? table[i + 2] : table[i + 1];
    return interp_detail::cubic(t, p0, p1, p2, p3);
}

// Reads a looped recording of loop length n (n + 3 stored samples, the last three repeating
// the first three) at a phase in turns of the loop; only the fractional part of the phase
// counts, for phases above -16.
inline float InterpolateLoop(double phase, const float* samples, int n)
{
    constexpr double kFoldOffset = 16.0;  // keeps trunc() rounding downwards for phase > -16
    const double folded = (phase - std::trunc(phase + kFoldOffset) + kFoldOffset) * n;
    // Kept inside the recording whatever the phase (0 for not a number); min/max cost no branch.
    const double position = std::min(std::max(0.0, folded), static_cast<double>(n));
    const int i = static_cast<int>(position);
    const double t = interp_detail::flushFraction(position - i);
    // (i + n - 1) mod n for the folded range 0 <= i <= n, without a division.
    const int j = i == 0 ? n - 1 : i - 1;
    return interp_detail::cubicSingle(t, samples[j], samples[j + 1], samples[j + 2], samples[j + 3]);
}

// Reads a one-shot recording of n + 1 samples at a phase clamped to [0, 1]; neighbours
// beyond either end repeat the end sample.
inline float InterpolateOnce(double phase, const float* samples, int n)
{
    const double clamped = (std::fabs(phase) - std::fabs(phase - 1.0) + 1.0) * 0.5;
    const double position = clamped * n;
    const int i = static_cast<int>(position);
    const double t = interp_detail::flushFraction(position - i);
    auto at = [samples, n](int k) { return samples[(std::abs(k) - std::abs(k - n) + n) / 2]; };
    return interp_detail::cubicSingle(t, at(i - 1), at(i), at(i + 1), at(i + 2));
}

// Polynomial sine, absolute error below 3e-4 for any argument whose quotient by pi fits in
// 32 bits. The quotient is rounded to the nearest integer by the 1.5 * 2^52 addition trick.
inline double FastSin(double x)
{
    constexpr double kInvPi = 1.0 / kPi;
    constexpr double kRoundingBias = 6755399441055744.0;  // 1.5 * 2^52
    const double biased = x * kInvPi + kRoundingBias;
    std::uint64_t bits;
    std::memcpy(&bits, &biased, sizeof bits);
    const auto q = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
    const double r = x - static_cast<double>(q) * kPi;
    const double r2 = r * r;
    const double s = r * ((0.0073524681968701 * r2 - 0.1652891139701474) * r2 + 0.9996919862959676);
    return (q & 1) ? -s : s;
}

// Mirrored delay line: buffers of 2n entries hold every sample at w and at w + n, so a
// four-point read starting anywhere in 0 .. n - 1 never wraps. The owner advances w
// (w = (w + 1) & (n - 1)) after all reads of the sample period.
inline void writeMirrored(double* buffer, int n, int w, double x)
{
    buffer[w + n] = x;
    buffer[w] = buffer[w + n];
}

// The phase that was stored beside the sample read at `position` (= w - delay), without
// interpolation: the entry at the integer part of the position, masked into the ring.
inline double phaseAtPosition(double position, const double* phase, int mask)
{
    return phase[static_cast<int>(position) & mask];
}

}  // namespace orv
