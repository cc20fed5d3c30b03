#pragma once

// Pair versions of the per-ray reads of the rotor models (ring and table reads, FastSin, the
// angle wrap): two rays per instruction where the arithmetic allows, each lane computing
// exactly what the scalar function computes for it. Integer conversions go through 32 bits,
// which covers every index and angle these are used for.

#include <cstdint>

#include "dsp/Interpolation.h"
#include "dsp/LaneMath.h"

namespace orv::lanes {

using Int32x2 = std::int32_t __attribute__((vector_size(8)));

// Truncation toward zero, for |v| < 2^31.
inline Int32x2 truncate(Double2 v) { return __builtin_convertvector(v, Int32x2); }
inline Double2 toDouble(Int32x2 i) { return __builtin_convertvector(i, Double2); }

inline Double2 gather(const double* base, Int32x2 i) { return Double2{base[i[0]], base[i[1]]}; }

// base[j .. j + 3] for each lane's index j, as four pairs (two loads of two per lane).
inline void neighbours(const double* base, Int32x2 j, Double2& p0, Double2& p1, Double2& p2, Double2& p3)
{
    const double* a = base + j[0];
    const double* b = base + j[1];
    const Double2 a01 = load<Double2>(a), a23 = load<Double2>(a + 2);
    const Double2 b01 = load<Double2>(b), b23 = load<Double2>(b + 2);
    p0 = Double2{a01[0], b01[0]};
    p1 = Double2{a01[1], b01[1]};
    p2 = Double2{a23[0], b23[0]};
    p3 = Double2{a23[1], b23[1]};
}

// std::max(a, b) and std::min(a, b) lane by lane (the first argument wins ties and NaN).
inline Double2 maxOf(Double2 a, Double2 b) { return select<Double2>(less(a, b), b, a); }
inline Double2 minOf(Double2 a, Double2 b) { return select<Double2>(less(b, a), b, a); }

// The fractional part x - trunc(x + 16) + 16, as RotorMotion::wrap, for -16 < x < 2^31 - 16.
inline Double2 wrapRevolutions(Double2 x)
{
    constexpr double fold = 16.0;
    return x - toDouble(truncate(x + fold)) + fold;
}

// FastSin for a pair.
inline Double2 FastSin(Double2 x)
{
    constexpr double kInvPi = 1.0 / kPi;
    constexpr double kRoundingBias = 6755399441055744.0;  // 1.5 * 2^52
    const Double2 biased = x * kInvPi + kRoundingBias;
    const Double2 q = biased - kRoundingBias;  // the integer FastSin takes from the low bits
    const Double2 r = x - q * kPi;
    const Double2 r2 = r * r;
    const Double2 s = r * ((0.0073524681968701 * r2 - 0.1652891139701474) * r2 + 0.9996919862959676);
    // Odd quotients flip the sign.
    const Bits2 odd = (std::bit_cast<Bits2>(biased) & 1) << 63;
    return std::bit_cast<Double2>(std::bit_cast<Bits2>(s) ^ odd);
}

// InterpolateRing for a pair, n a power of two and positions above -n.
inline Double2 InterpolateRing(Double2 position, const double* signal, int n)
{
    position = select<Double2>(less(position, splat<Double2>(0.0)), position + static_cast<double>(n), position);
    const Int32x2 i = truncate(position);
    const Double2 t = position - toDouble(i) + kFlush - kFlush;
    const Int32x2 j = (i + (n - 1)) & (n - 1);
    Double2 p0, p1, p2, p3;
    neighbours(signal, j, p0, p1, p2, p3);
    return interp_detail::cubic(t, p0, p1, p2, p3);
}

// InterpolateTable512 for a pair.
inline Double2 InterpolateTable512(Double2 x, const double* table)
{
    constexpr double firstInner = 1.0;  // from here the left neighbour exists
    constexpr double lastInner = interp_detail::kTableSize - 2.0;  // up to here the right two exist
    const Bits2 inner = ~less(x, splat<Double2>(firstInner)) & less(x, splat<Double2>(lastInner));
    if (!(inner[0] && inner[1]))
        return Double2{orv::InterpolateTable512(x[0], table), orv::InterpolateTable512(x[1], table)};
    const Int32x2 i = truncate(x);
    const Double2 t = x - toDouble(i) + kFlush - kFlush;
    Double2 p0, p1, p2, p3;
    neighbours(table, i - 1, p0, p1, p2, p3);
    return interp_detail::cubic(t, p0, p1, p2, p3);
}

}  // namespace orv::lanes
