#pragma once

// Lane versions (pairs, and fours for the AVX2 kernels) of the per-ray reads of the rotor models (ring and table reads, FastSin, the
// angle wrap): two rays per instruction where the arithmetic allows, each lane computing
// exactly what the scalar function computes for it. Integer conversions go through 32 bits,
// which covers every index and angle these are used for.

#include <cstdint>

#include "dsp/Interpolation.h"
#include "dsp/LaneMath.h"

// Four-lane values pass by value only inside the AVX2 kernels, where these functions are
// inlined: the warning that such a value changes the calling convention without AVX does not
// apply.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace orv::lanes {

// Truncation toward zero, for |v| < 2^31.
template <class V>
inline Int32<V> truncate(V v)
{
    return __builtin_convertvector(v, Int32<V>);
}
inline Double2 toDouble(Int32x2 i) { return __builtin_convertvector(i, Double2); }
inline Double4 toDouble(Int32x4 i) { return __builtin_convertvector(i, Double4); }

inline Double2 gather(const double* base, Int32x2 i) { return Double2{base[i[0]], base[i[1]]}; }
inline Double4 gather(const double* base, Int32x4 i) { return Double4{base[i[0]], base[i[1]], base[i[2]], base[i[3]]}; }

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

// The same for four lanes: four loads of four, transposed.
inline void neighbours(const double* base, Int32x4 j, Double4& p0, Double4& p1, Double4& p2, Double4& p3)
{
    const Double4 a = load<Double4>(base + j[0]);
    const Double4 b = load<Double4>(base + j[1]);
    const Double4 c = load<Double4>(base + j[2]);
    const Double4 d = load<Double4>(base + j[3]);
    p0 = Double4{a[0], b[0], c[0], d[0]};
    p1 = Double4{a[1], b[1], c[1], d[1]};
    p2 = Double4{a[2], b[2], c[2], d[2]};
    p3 = Double4{a[3], b[3], c[3], d[3]};
}

// std::max(a, b) and std::min(a, b) lane by lane (the first argument wins ties and NaN).
template <class V>
inline V maxOf(V a, V b)
{
    return select<V>(less(a, b), b, a);
}
template <class V>
inline V minOf(V a, V b)
{
    return select<V>(less(b, a), b, a);
}

// The fractional part x - trunc(x + 16) + 16, as RotorMotion::wrap, for -16 < x < 2^31 - 16.
template <class V>
inline V wrapRevolutions(V x)
{
    constexpr double fold = 16.0;
    return x - toDouble(truncate(x + fold)) + fold;
}

// FastSin lane by lane.
template <class V>
inline V FastSin(V x)
{
    constexpr double kInvPi = 1.0 / kPi;
    constexpr double kRoundingBias = 6755399441055744.0;  // 1.5 * 2^52
    const V biased = x * kInvPi + kRoundingBias;
    const V q = biased - kRoundingBias;  // the integer FastSin takes from the low bits
    const V r = x - q * kPi;
    const V r2 = r * r;
    const V s = r * ((0.0073524681968701 * r2 - 0.1652891139701474) * r2 + 0.9996919862959676);
    // Odd quotients flip the sign.
    const Int<V> odd = (std::bit_cast<Int<V>>(biased) & 1) << 63;
    return std::bit_cast<V>(std::bit_cast<Int<V>>(s) ^ odd);
}

// InterpolateRing lane by lane, n a power of two and positions above -n.
template <class V>
inline V InterpolateRing(V position, const double* signal, int n)
{
    position = select<V>(less(position, splat<V>(0.0)), position + static_cast<double>(n), position);
    const Int32<V> i = truncate(position);
    const V t = position - toDouble(i) + kFlush - kFlush;
    const Int32<V> j = (i + (n - 1)) & (n - 1);
    V p0, p1, p2, p3;
    neighbours(signal, j, p0, p1, p2, p3);
    return interp_detail::cubic(t, p0, p1, p2, p3);
}

// InterpolateTable512 lane by lane.
template <class V>
inline V InterpolateTable512(V x, const double* table)
{
    constexpr double firstInner = 1.0;                             // from here the left neighbour exists
    constexpr double lastInner = interp_detail::kTableSize - 2.0;  // up to here the right two exist
    const Int<V> inner = ~less(x, splat<V>(firstInner)) & less(x, splat<V>(lastInner));
    bool all = true;
    for (int k = 0; k < kWidth<V>; ++k) all = all && inner[k] != 0;
    if (!all) {
        V y;
        for (int k = 0; k < kWidth<V>; ++k) y[k] = orv::InterpolateTable512(x[k], table);
        return y;
    }
    const Int32<V> i = truncate(x);
    const V t = x - toDouble(i) + kFlush - kFlush;
    V p0, p1, p2, p3;
    neighbours(table, i - 1, p0, p1, p2, p3);
    return interp_detail::cubic(t, p0, p1, p2, p3);
}

}  // namespace orv::lanes

#pragma GCC diagnostic pop
