#pragma once

// Exponential, logarithm, power and sine/cosine for one double or a pair of them (Double2), to
// within a few units in the last place: the filter designs of a whole bank of filters run two
// lanes per instruction with these, where the library functions would take one call per value.
// Each function does the same IEEE operations in every lane, so a lane of a pair gets exactly
// the scalar result.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Four-lane values pass by value only inside the AVX2 kernels, where these functions are
// inlined: the warning that such a value changes the calling convention without AVX does not
// apply.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace orv {

// Two doubles handled by one instruction where the processor has such instructions (SSE2 on
// x86-64, NEON on AArch64; elsewhere the compiler splits them). The arithmetic is element-wise
// IEEE, so every lane computes exactly what the scalar code computes.
using Double2 = double __attribute__((vector_size(16)));
// Four doubles: one AVX instruction in the kernels compiled for AVX2 (engine/VectorPath.h);
// only functions built for that target handle them.
using Double4 = double __attribute__((vector_size(32)));

namespace lanes {

using Bits2 = long long __attribute__((vector_size(16)));
using Bits4 = long long __attribute__((vector_size(32)));

using Int32x2 = std::int32_t __attribute__((vector_size(8)));
using Int32x4 = std::int32_t __attribute__((vector_size(16)));

// Integer lanes beside a lane set: the 64-bit view of its bits (std::int64_t for double, Bits2
// for Double2, Bits4 for Double4) and 32-bit indices.
template <class T>
struct IntOf;
template <>
struct IntOf<double> {
    using type = std::int64_t;
    using int32 = std::int32_t;
};
template <>
struct IntOf<Double2> {
    using type = Bits2;
    using int32 = Int32x2;
};
template <>
struct IntOf<Double4> {
    using type = Bits4;
    using int32 = Int32x4;
};
template <class T>
using Int = typename IntOf<T>::type;
template <class T>
using Int32 = typename IntOf<T>::int32;
// Lanes in a lane set: 1, 2 or 4.
template <class T>
inline constexpr int kWidth = sizeof(T) / sizeof(double);

template <class T>
inline Int<T> bitsOf(T v)
{
    return std::bit_cast<Int<T>>(v);
}
template <class T>
inline T fromBits(Int<T> b)
{
    return std::bit_cast<T>(b);
}

template <class T>
inline T load(const double* p);
template <>
inline double load<double>(const double* p)
{
    return *p;
}
template <>
inline Double2 load<Double2>(const double* p)
{
    Double2 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <>
inline Double4 load<Double4>(const double* p)
{
    Double4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void store(double* p, double v) { *p = v; }
inline void store(double* p, Double2 v) { std::memcpy(p, &v, sizeof v); }
inline void store(double* p, Double4 v) { std::memcpy(p, &v, sizeof v); }

// Lane masks (all ones or 0) kept as std::uint64_t.
template <class T>
inline Int<T> loadMask(const std::uint64_t* p)
{
    Int<T> m;
    std::memcpy(&m, p, sizeof m);
    return m;
}

// Every lane set to v.
template <class T>
inline T splat(double v);
template <>
inline double splat<double>(double v)
{
    return v;
}
template <>
inline Double2 splat<Double2>(double v)
{
    return Double2{v, v};
}
template <>
inline Double4 splat<Double4>(double v)
{
    return Double4{v, v, v, v};
}

// All ones where a < b, else 0 (per lane).
inline std::int64_t less(double a, double b) { return a < b ? -1 : 0; }
inline Bits2 less(Double2 a, Double2 b) { return (Bits2)(a < b); }
inline Bits4 less(Double4 a, Double4 b) { return (Bits4)(a < b); }

inline double sqrt(double v) { return std::sqrt(v); }
inline Double2 sqrt(Double2 v)
{
#if defined(__SSE2__)
    return _mm_sqrt_pd(v);
#else
    return Double2{std::sqrt(v[0]), std::sqrt(v[1])};
#endif
}
// Lane by lane: the AVX form exists only inside the kernels built for it.
inline Double4 sqrt(Double4 v) { return Double4{std::sqrt(v[0]), std::sqrt(v[1]), std::sqrt(v[2]), std::sqrt(v[3])}; }

// 1.5 * 2^52: added to a double below 2^51 in magnitude, it leaves the nearest integer in the
// low bits of the sum; and the other way round.
inline constexpr double kShifter = 6755399441055744.0;

// The integer i (|i| < 2^51) as a double, exactly.
template <class T>
inline T toDouble(Int<T> i)
{
    return fromBits<T>(i + std::bit_cast<std::int64_t>(kShifter)) - kShifter;
}

// a where the mask is all ones, b where it is 0.
template <class T>
inline T select(Int<T> mask, T a, T b)
{
    return fromBits<T>((bitsOf(a) & mask) | (bitsOf(b) & ~mask));
}

// previous's last lane, then current's lanes but its last: one step of a wavefront, where each
// lane takes what the lane before it held.
inline double shiftIn(double previous, double) { return previous; }
inline Double2 shiftIn(Double2 previous, Double2 current) { return __builtin_shufflevector(previous, current, 1, 2); }
inline Double4 shiftIn(Double4 previous, Double4 current)
{
    return __builtin_shufflevector(previous, current, 3, 4, 5, 6);
}

template <class T>
inline T absOf(T v)
{
    constexpr std::int64_t magnitude = 0x7fffffffffffffffLL;  // every bit but the sign
    return fromBits<T>(bitsOf(v) & magnitude);
}

// The nearest integer to v (ties to even) as a double, and as an integer in `whole`; for
// |v| < 2^51.
template <class T>
inline T roundToInt(T v, Int<T>& whole)
{
    const T biased = v + kShifter;
    whole = bitsOf(biased) - std::bit_cast<std::int64_t>(kShifter);
    return biased - kShifter;
}

// e^x for |x| < 700.
template <class T>
inline T exp(T x)
{
    constexpr double log2e = 1.4426950408889634;
    constexpr double ln2High = 6.93147180369123816490e-01;  // few bits: k * ln2High is exact
    constexpr double ln2Low = 1.90821492927058770002e-10;
    Int<T> k;
    const T kd = roundToInt(x * log2e, k);
    const T r = (x - kd * ln2High) - kd * ln2Low;  // |r| <= ln 2 / 2
    // Taylor series to r^13 (the next term is below 5e-18 of the result), evaluated in
    // Estrin's scheme: pairs of terms, then pairs of pairs, which shortens the chain of
    // dependent operations to a quarter of Horner's.
    const T r2 = r * r;
    const T r4 = r2 * r2;
    const T r8 = r4 * r4;
    const T p01 = 1.0 + r;
    const T p23 = 0.5 + r * (1.0 / 6.0);
    const T p45 = 1.0 / 24.0 + r * (1.0 / 120.0);
    const T p67 = 1.0 / 720.0 + r * (1.0 / 5040.0);
    const T p89 = 1.0 / 40320.0 + r * (1.0 / 362880.0);
    const T p1011 = 1.0 / 3628800.0 + r * (1.0 / 39916800.0);
    const T p1213 = 1.0 / 479001600.0 + r * (1.0 / 6227020800.0);
    const T p03 = p01 + r2 * p23;
    const T p47 = p45 + r2 * p67;
    const T p811 = p89 + r2 * p1011;
    const T p07 = p03 + r4 * p47;
    const T p813 = p811 + r4 * p1213;
    const T p = p07 + r8 * p813;
    constexpr std::int64_t exponentBias = 1023;
    const T scale = fromBits<T>((k + exponentBias) << 52);  // 2^k
    return p * scale;
}

// Natural logarithm of a positive normal x.
template <class T>
inline T log(T x)
{
    constexpr std::int64_t mantissaBits = 0x000fffffffffffffLL;
    constexpr std::int64_t oneBits = 0x3ff0000000000000LL;  // exponent field of 1.0
    constexpr std::int64_t exponentBias = 1023;
    constexpr double sqrt2 = 1.4142135623730951;
    constexpr double ln2High = 6.93147180369123816490e-01;
    constexpr double ln2Low = 1.90821492927058770002e-10;
    const Int<T> b = bitsOf(x);
    // x = 2^e m with m in [sqrt(1/2), sqrt(2)).
    T e = toDouble<T>((b >> 52) - exponentBias);
    T m = fromBits<T>((b & mantissaBits) | oneBits);
    const Int<T> high = less(splat<T>(sqrt2), m);
    m = select(high, m * 0.5, m);
    e = select(high, e + 1.0, e);
    // log(1 + f) = f - (f^2/2 - s (f^2/2 + R)), s = f / (2 + f), R the series of
    // 2 atanh(s) / s - 2 in z = s^2, to z^10 (the next term is below 1e-18 of the result).
    const T f = m - 1.0;
    const T s = f / (f + 2.0);
    const T z = s * s;
    const T z2 = z * z;
    const T z4 = z2 * z2;
    const T z8 = z4 * z4;
    const T q12 = 2.0 / 3.0 + z * (2.0 / 5.0);
    const T q34 = 2.0 / 7.0 + z * (2.0 / 9.0);
    const T q56 = 2.0 / 11.0 + z * (2.0 / 13.0);
    const T q78 = 2.0 / 15.0 + z * (2.0 / 17.0);
    const T q910 = 2.0 / 19.0 + z * (2.0 / 21.0);
    const T q14 = q12 + z2 * q34;
    const T q58 = q56 + z2 * q78;
    const T q18 = q14 + z4 * q58;
    const T r = z * (q18 + z8 * q910);  // Estrin's scheme, as in exp
    const T halfSquare = 0.5 * f * f;
    return e * ln2High + (f - (halfSquare - (s * (halfSquare + r) + e * ln2Low)));
}

// x^y for a positive normal x and |y log x| < 700.
template <class T>
inline T pow(T x, T y)
{
    return exp(y * log(x));
}

// Sine and cosine of x for |x| < 2^20.
template <class T>
inline void sinCos(T x, T& sine, T& cosine)
{
    constexpr double twoOverPi = 0.63661977236758134308;
    // pi/2 in three parts; the first two have few bits, so q times them is exact.
    constexpr double halfPi1 = 1.57079632673412561417e+00;
    constexpr double halfPi2 = 6.07710050650619224932e-11;
    constexpr double halfPi3 = 2.02226624879595063154e-21;
    Int<T> quadrant;
    const T q = roundToInt(x * twoOverPi, quadrant);
    const T r = ((x - q * halfPi1) - q * halfPi2) - q * halfPi3;  // |r| <= pi/4
    const T z = r * r;
    // Taylor series to r^17 and r^18 (the next terms are below 1e-17 of the results), in
    // Estrin's scheme as in exp.
    const T z2 = z * z;
    const T z4 = z2 * z2;
    const T s01 = -1.0 / 6.0 + z * (1.0 / 120.0);
    const T s23 = -1.0 / 5040.0 + z * (1.0 / 362880.0);
    const T s45 = -1.0 / 39916800.0 + z * (1.0 / 6227020800.0);
    const T s67 = -1.0 / 1307674368000.0 + z * (1.0 / 355687428096000.0);
    const T ps = (s01 + z2 * s23) + z4 * (s45 + z2 * s67);
    const T s = r + r * z * ps;
    const T c01 = 1.0 / 24.0 - z * (1.0 / 720.0);
    const T c23 = 1.0 / 40320.0 - z * (1.0 / 3628800.0);
    const T c45 = 1.0 / 479001600.0 - z * (1.0 / 87178291200.0);
    const T c67 = 1.0 / 20922789888000.0 - z * (1.0 / 6402373705728000.0);
    const T pc = (c01 + z2 * c23) + z4 * (c45 + z2 * c67);
    const T c = (1.0 - 0.5 * z) + z2 * pc;
    // Quadrant q: sin x = s, c, -s, -c and cos x = c, -s, -c, s.
    constexpr std::int64_t one = 1;
    constexpr std::int64_t two = 2;
    const Int<T> swap = -(quadrant & one);  // all ones in odd quadrants
    const Int<T> sineSign = ((quadrant & two) >> 1) << 63;
    const Int<T> cosineSign = (((quadrant + one) & two) >> 1) << 63;
    sine = fromBits<T>(bitsOf(select(swap, c, s)) ^ sineSign);
    cosine = fromBits<T>(bitsOf(select(swap, s, c)) ^ cosineSign);
}

}  // namespace lanes

}  // namespace orv

#pragma GCC diagnostic pop
