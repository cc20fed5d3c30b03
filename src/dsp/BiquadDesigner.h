#pragma once

#include <cstdint>

#include "dsp/Constants.h"
#include "dsp/LaneMath.h"

namespace orv {

// The designs of BiquadFilter: a second-order section from rate, type, frequency, Q and gain in
// dB, normalised and factored into zeros, poles and gain. The design formulas are templates
// for one lane (double) or two (Double2), so that a bank of filters designs two at a time and
// each lane gets exactly what a single design gives.
//
// An object remembers its last design with the inputs it came from (compared bit for bit): a
// redesign with unchanged inputs is skipped, and one with only the gain changed skips the
// frequency-dependent part.
class BiquadDesigner {
public:
    // Filter types (BiquadFilter's numbering).
    static constexpr std::uint32_t kTypeOff = 0;
    static constexpr std::uint32_t kTypeHighPass2 = 1;
    static constexpr std::uint32_t kTypeHighPass1 = 2;
    static constexpr std::uint32_t kTypeLowShelf = 3;
    static constexpr std::uint32_t kTypePeak = 4;
    static constexpr std::uint32_t kTypeBandPass = 5;
    static constexpr std::uint32_t kTypeNotch = 6;
    static constexpr std::uint32_t kTypeHighShelf = 7;
    static constexpr std::uint32_t kTypeLowPass2 = 8;
    static constexpr std::uint32_t kTypeLowPass1 = 9;
    static constexpr std::uint32_t kTypeAllPass = 10;

    // Root order: zero 1 (re, im), zero 2 (re, im), pole 1 (re, im), pole 2 (re, im), gain.
    enum RootIndex : int {
        kZero1Re,
        kZero1Im,
        kZero2Re,
        kZero2Im,
        kPole1Re,
        kPole1Im,
        kPole2Re,
        kPole2Im,
        kGain,
        kRootCount
    };

    // The frequency-dependent part of a design: cosine and sine of the normalised frequency and
    // the warped Q.
    template <class T>
    struct Shape {
        T c, s, qWarped;
    };
    template <class T>
    struct Lanes {
        T a0, a1, a2, b0, b1, b2;  // a1..b2 divided by a0
        T root[kRootCount];
    };
    // One filter's design; the identity (with all roots at 0) until the first design.
    struct Design : Lanes<double> {
        Design() : Lanes<double>{1.0, 0.0, 0.0, 1.0, 0.0, 0.0, {}} {}
    };

    // True when enabled and type ask for a design (else the design is the identity).
    static bool designs(std::uint32_t type, std::uint32_t enabled)
    {
        return enabled != 0 && type >= kTypeHighPass2 && type <= kTypeAllPass;
    }
    // Exponent p of the Q warp Q' = (1 - r^p) Q, by filter type; 0 where the type is not warped.
    static double warpExponent(std::uint32_t type);
    static bool usesGain(std::uint32_t type)
    {
        return type == kTypeLowShelf || type == kTypePeak || type == kTypeHighShelf;
    }

    // The steps of a design, so that a bank can run each over all its lanes before the next.
    // w = 2 pi f / rate.
    template <class T>
    static T angularFrequency(T sampleRate, T frequency)
    {
        return kTwoPi * frequency / sampleRate;
    }
    // r = f / (reference x rate) of the Q warp.
    template <class T>
    static T warpRatio(std::uint32_t type, T sampleRate, T frequency)
    {
        const double reference = type == kTypeLowPass2 ? kWarpReferenceLowPass : kWarpReference;
        return frequency / (reference * sampleRate);
    }
    // r^p of the Q warp: by products (and a square root for 3.5), within a few ulps, except
    // for the exponent 2.8, which takes exp(p log r) (warpPowerFromLog).
    static bool warpNeedsLog(std::uint32_t type) { return warpExponent(type) == 2.8; }
    // Always inlined: a part split off by the optimiser would be built without the AVX2
    // kernels' target and change the four-lane form's calling convention.
    template <class T>
    [[gnu::always_inline]] static inline T warpPower(std::uint32_t type, T r)
    {
        const T r2 = r * r;
        switch (type) {
        case kTypeHighPass2: return r2 * r2 * r2;            // p = 6
        case kTypeLowShelf: return r2 * r * lanes::sqrt(r);  // p = 3.5
        case kTypeHighShelf: return r2 * r2;                 // p = 4
        case kTypeLowPass2: {                                // p = 8
            const T r4 = r2 * r2;
            return r4 * r4;
        }
        default: return lanes::exp(lanes::log(r) * warpExponent(type));
        }
    }
    template <class T>
    static T warpPowerFromLog(std::uint32_t type, T logRatio)
    {
        return lanes::exp(logRatio * warpExponent(type));
    }
    // Q' = (1 - r^p) Q.
    template <class T>
    static T warpedQ(T power, T q)
    {
        return (1.0 - power) * q;
    }
    // A = 10^(dB / 40), the square root of the linear gain.
    template <class T>
    static T gainFactor(T gainDb)
    {
        constexpr double exponentPerDb = 0.025 * 2.302585092994046;  // ln 10 / 40
        return lanes::exp(gainDb * exponentPerDb);
    }
    // All the steps for one design.
    template <class T>
    static Shape<T> shape(std::uint32_t type, T sampleRate, T frequency, T q);
    // The normalised coefficients of `type` from its shape, Q and gain factor A, and their
    // roots; a type that does not design (0 or above 10; pass kTypeOff for a disabled filter)
    // gives the identity and ignores the rest.
    template <class T>
    static void coefficients(std::uint32_t type, const Shape<T>& shape, T q, T A, Lanes<T>& out);
    // k of the saturation law y / (1 + k |y + bias|) for amount > 0, with q^0.75 given.
    template <class T>
    static T saturationCoefficient(T amount, T frequency, T qPower, T sampleRate)
    {
        // Squashing grows with the corner frequency and the amount and falls with Q.
        const T v = frequency * 0.01 * (44100.0 / sampleRate) * amount * 3.0;
        return v / (1000.0 * qPower);
    }
    // q^0.75 as sqrt(q sqrt(q)), within about one ulp.
    template <class T>
    static T saturationQPower(T q)
    {
        return lanes::sqrt(q * lanes::sqrt(q));
    }

    // The design of type at the given settings; the identity when it does not design.
    const Design& design(std::uint32_t type, std::uint32_t enabled, double sampleRate, double frequency, double q,
                         double gainDb);
    // k of the saturation law for amount > 0.
    double saturationCoefficient(double amount, double frequency, double q, double sampleRate);

private:
    void compute(std::uint32_t type, std::uint32_t enabled, double sampleRate, double frequency, double q,
                 double gainDb);

    struct Memo {
        // Inputs of the full design; fullValid is false until the first design.
        bool fullValid = false;
        std::uint32_t type = 0, enabled = 0;
        std::uint64_t rate = 0, frequency = 0, q = 0, gain = 0;
        Design design;
        // Frequency-dependent part: valid for shapeType, shapeRate, shapeFrequency, shapeQ.
        bool shapeValid = false;
        std::uint32_t shapeType = 0;
        std::uint64_t shapeRate = 0, shapeFrequency = 0, shapeQ = 0;
        Shape<double> shape{};
        // Saturation: q^0.75 for satQ.
        bool satValid = false;
        std::uint64_t satQ = 0;
        double qPower = 1.0;
    };
    Memo memo_;

    static constexpr double kWarpReference = 0.5001;          // fraction of the rate where the Q warp reaches 0
    static constexpr double kWarpReferenceLowPass = 0.50001;  // the same for the second-order low-pass
};

inline double BiquadDesigner::warpExponent(std::uint32_t type)
{
    switch (type) {
    case kTypeHighPass2: return 6.0;
    case kTypeLowShelf: return 3.5;
    case kTypePeak:
    case kTypeBandPass:
    case kTypeNotch: return 2.8;
    case kTypeHighShelf: return 4.0;
    case kTypeLowPass2: return 8.0;
    default: return 0.0;
    }
}

template <class T>
BiquadDesigner::Shape<T> BiquadDesigner::shape(std::uint32_t type, T sampleRate, T frequency, T q)
{
    Shape<T> sh;
    lanes::sinCos(angularFrequency(sampleRate, frequency), sh.s, sh.c);
    // The first-order types and the all-pass do not use the warped Q.
    sh.qWarped = warpExponent(type) != 0.0 ? warpedQ(warpPower(type, warpRatio(type, sampleRate, frequency)), q) : q;
    return sh;
}

template <class T>
void BiquadDesigner::coefficients(std::uint32_t type, const Shape<T>& sh, T q, T A, Lanes<T>& out)
{
    const T c = sh.c;
    const T s = sh.s;
    const T one = lanes::splat<T>(1.0);
    const T zero = lanes::splat<T>(0.0);
    T na0 = one, na1 = zero, na2 = zero, nb0 = one, nb1 = zero, nb2 = zero;
    switch (type) {
    case kTypeHighPass2:
    case kTypeBandPass:
    case kTypeNotch:
    case kTypeLowPass2: {
        // The resonant types share the denominator 1 + alpha, -2 cos w, 1 - alpha.
        const T alpha = s / (2.0 * sh.qWarped);
        na0 = 1.0 + alpha;
        na1 = -2.0 * c;
        na2 = 1.0 - alpha;
        if (type == kTypeHighPass2) {
            nb0 = (1.0 + c) * 0.5;
            nb1 = -(1.0 + c);
            nb2 = nb0;
        } else if (type == kTypeBandPass) {
            nb0 = alpha;
            nb1 = zero;
            nb2 = -alpha;
        } else if (type == kTypeNotch) {
            nb0 = one;
            nb1 = -2.0 * c;
            nb2 = one;
        } else {
            nb0 = (1.0 - c) * 0.5;
            nb1 = 1.0 - c;
            nb2 = nb0;
        }
        break;
    }
    case kTypeHighPass1: {
        const T g = c / (1.0 + s);
        na1 = -g;
        nb0 = (1.0 + g) * 0.5;
        nb1 = -(1.0 + g) * 0.5;
        break;
    }
    case kTypeLowShelf:
    case kTypeHighShelf: {
        const T t = s * lanes::sqrt(A) / sh.qWarped;
        const T ap = A + 1.0, am = A - 1.0;
        if (type == kTypeLowShelf) {
            na0 = ap + am * c + t;
            na1 = -2.0 * (am + ap * c);
            na2 = ap + am * c - t;
            nb0 = A * (ap - am * c + t);
            nb1 = 2.0 * A * (am - ap * c);
            nb2 = A * (ap - am * c - t);
        } else {
            na0 = ap - am * c + t;
            na1 = 2.0 * (am - ap * c);
            na2 = ap - am * c - t;
            nb0 = A * (ap + am * c + t);
            nb1 = -2.0 * A * (am + ap * c);
            nb2 = A * (ap + am * c - t);
        }
        break;
    }
    case kTypePeak: {
        const T alpha = s / (2.0 * sh.qWarped);
        const T alphaOverA = alpha / A;
        na0 = 1.0 + alphaOverA;
        na1 = -2.0 * c;
        na2 = 1.0 - alphaOverA;
        nb0 = 1.0 + alpha * A;
        nb1 = -2.0 * c;
        nb2 = 1.0 - alpha * A;
        break;
    }
    case kTypeLowPass1: {
        const T k = 2.0 - c;
        na1 = lanes::sqrt(k * k - 1.0) - k;
        nb0 = 1.0 + na1;
        break;
    }
    case kTypeAllPass: {
        const T alphaPlain = s / (2.0 * q);  // the all-pass is not warped
        na0 = 1.0 + alphaPlain;
        na1 = -2.0 * c;
        na2 = 1.0 - alphaPlain;
        nb0 = 1.0 - alphaPlain;
        nb1 = -2.0 * c;
        nb2 = 1.0 + alphaPlain;
        break;
    }
    default: break;
    }

    const T inverse = 1.0 / na0;
    const T a1 = na1 * inverse, a2 = na2 * inverse;
    const T b0 = nb0 * inverse, b1 = nb1 * inverse, b2 = nb2 * inverse;
    out.a0 = na0;
    out.a1 = a1;
    out.a2 = a2;
    out.b0 = b0;
    out.b1 = b1;
    out.b2 = b2;

    // Factor b0 z^2 + b1 z + b2 and z^2 + a1 z + a2 into their roots: a real pair where the
    // discriminant is not negative, else a complex-conjugate pair.
    const T dz = b1 * b1 - 4.0 * b0 * b2;
    const T rootZ = lanes::sqrt(lanes::absOf(dz));
    const T halfOverB0 = 0.5 / b0;
    const lanes::Int<T> zerosReal = ~lanes::less(dz, zero);
    out.root[kZero1Re] = lanes::select(zerosReal, (-b1 - rootZ) * halfOverB0, -b1 * halfOverB0);
    out.root[kZero2Re] = lanes::select(zerosReal, (-b1 + rootZ) * halfOverB0, -b1 * halfOverB0);
    out.root[kZero1Im] = lanes::select(zerosReal, zero, -rootZ * halfOverB0);
    out.root[kZero2Im] = lanes::select(zerosReal, zero, rootZ * halfOverB0);
    const T dp = a1 * a1 - 4.0 * a2;
    const T rootP = lanes::sqrt(lanes::absOf(dp));
    const lanes::Int<T> polesReal = ~lanes::less(dp, zero);
    out.root[kPole1Re] = lanes::select(polesReal, (-a1 - rootP) * 0.5, -a1 * 0.5);
    out.root[kPole2Re] = lanes::select(polesReal, (-a1 + rootP) * 0.5, -a1 * 0.5);
    out.root[kPole1Im] = lanes::select(polesReal, zero, -rootP * 0.5);
    out.root[kPole2Im] = lanes::select(polesReal, zero, rootP * 0.5);
    out.root[kGain] = b0;
}

}  // namespace orv
