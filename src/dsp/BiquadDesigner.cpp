#include "dsp/BiquadDesigner.h"

#include <bit>
#include <cmath>

#include "dsp/BiquadFilter.h"

namespace orv {

namespace {

constexpr double twoPi = 6.283185307179586;
constexpr double warpReference = 0.5001;          // fraction of the rate where the Q warp reaches 0
constexpr double warpReferenceLowPass = 0.50001;  // the same for the second-order low-pass

// Exponent p of the Q warp Q' = (1 - r^p) Q, by filter type; 0 where the type is not warped.
double warpExponent(std::uint32_t type)
{
    switch (type) {
    case BiquadFilter::typeHighPass2: return 6.0;
    case BiquadFilter::typeLowShelf: return 3.5;
    case BiquadFilter::typePeak:
    case BiquadFilter::typeBandPass:
    case BiquadFilter::typeNotch: return 2.8;
    case BiquadFilter::typeHighShelf: return 4.0;
    case BiquadFilter::typeLowPass2: return 8.0;
    default: return 0.0;
    }
}

// True for the types whose design uses the warped Q.
bool usesWarp(std::uint32_t type)
{
    return warpExponent(type) != 0.0;
}

std::uint64_t bitsOf(double v)
{
    return std::bit_cast<std::uint64_t>(v);
}

}  // namespace

const BiquadDesigner::Design& BiquadDesigner::design(std::uint32_t type, std::uint32_t enabled, double sampleRate,
                                                     double frequency, double q, double gainDb)
{
    const Memo& m = memo_;
    if (!(m.fullValid && m.type == type && m.enabled == enabled && m.rate == bitsOf(sampleRate) &&
          m.frequency == bitsOf(frequency) && m.q == bitsOf(q) && m.gain == bitsOf(gainDb)))
        compute(type, enabled, sampleRate, frequency, q, gainDb);
    return m.design;
}

double BiquadDesigner::saturationCoefficient(double amount, double frequency, double q, double sampleRate)
{
    const double v = frequency * 0.01 * (44100.0 / sampleRate) * amount * 3.0;
    Memo& m = memo_;
    if (!(m.satValid && m.satQ == bitsOf(q))) {
        m.qPower = std::pow(q, 0.75);
        m.satQ = bitsOf(q);
        m.satValid = true;
    }
    return 1.0 / (1000.0 / (v / m.qPower));
}

void BiquadDesigner::compute(std::uint32_t type, std::uint32_t enabled, double sampleRate, double frequency,
                             double q, double gainDb)
{
    Memo& m = memo_;
    m.type = type;
    m.enabled = enabled;
    m.rate = bitsOf(sampleRate);
    m.frequency = bitsOf(frequency);
    m.q = bitsOf(q);
    m.gain = bitsOf(gainDb);
    m.fullValid = true;

    // Identity unless an enabled filter of a known type asks for a design.
    double na0 = 1.0, na1 = 0.0, na2 = 0.0, nb0 = 1.0, nb1 = 0.0, nb2 = 0.0;

    if (enabled != 0 && type >= BiquadFilter::typeHighPass2 && type <= BiquadFilter::typeAllPass) {
        if (!(m.shapeValid && m.shapeType == type && m.shapeRate == m.rate && m.shapeFrequency == m.frequency &&
              m.shapeQ == m.q)) {
            const double w = twoPi * frequency / sampleRate;
            m.c = std::cos(w);
            m.s = std::sin(w);
            // The first-order types and the all-pass do not use the warped Q.
            if (usesWarp(type)) {
                const double p = warpExponent(type);
                const double reference = (type == BiquadFilter::typeLowPass2 ? warpReferenceLowPass : warpReference) * sampleRate;
                const double r = frequency / reference;
                m.qWarped = (1.0 - std::pow(r, p)) * q;
                m.alpha = m.s / (2.0 * m.qWarped);
            }
            m.shapeType = type;
            m.shapeRate = m.rate;
            m.shapeFrequency = m.frequency;
            m.shapeQ = m.q;
            m.shapeValid = true;
        }
        const double c = m.c;
        const double s = m.s;
        const double qWarped = m.qWarped;
        const double alpha = m.alpha;
        // Only the shelves and the peak use the gain.
        if (type == BiquadFilter::typeLowShelf || type == BiquadFilter::typePeak || type == BiquadFilter::typeHighShelf) {
            if (!(m.gainValid && m.gainBits == m.gain)) {
                m.A = std::pow(10.0, gainDb * 0.025);  // square root of the linear gain
                m.gainBits = m.gain;
                m.gainValid = true;
            }
        }
        const double A = m.A;

        switch (type) {
        case BiquadFilter::typeHighPass2:
            na0 = 1.0 + alpha;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha;
            nb0 = (1.0 + c) / 2.0;
            nb1 = -(1.0 + c);
            nb2 = nb0;
            break;
        case BiquadFilter::typeHighPass1: {
            const double g = c / (1.0 + s);
            na1 = -g;
            nb0 = (1.0 + g) / 2.0;
            nb1 = -(1.0 + g) / 2.0;
            break;
        }
        case BiquadFilter::typeLowShelf: {
            const double t = s * std::sqrt(A) / qWarped;
            na0 = (A + 1.0) + (A - 1.0) * c + t;
            na1 = -2.0 * ((A - 1.0) + (A + 1.0) * c);
            na2 = (A + 1.0) + (A - 1.0) * c - t;
            nb0 = A * ((A + 1.0) - (A - 1.0) * c + t);
            nb1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * c);
            nb2 = A * ((A + 1.0) - (A - 1.0) * c - t);
            break;
        }
        case BiquadFilter::typePeak:
            na0 = 1.0 + alpha / A;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha / A;
            nb0 = 1.0 + alpha * A;
            nb1 = -2.0 * c;
            nb2 = 1.0 - alpha * A;
            break;
        case BiquadFilter::typeBandPass:
            na0 = 1.0 + alpha;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha;
            nb0 = alpha;
            nb1 = 0.0;
            nb2 = -alpha;
            break;
        case BiquadFilter::typeNotch:
            na0 = 1.0 + alpha;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha;
            nb0 = 1.0;
            nb1 = -2.0 * c;
            nb2 = 1.0;
            break;
        case BiquadFilter::typeHighShelf: {
            const double t = s * std::sqrt(A) / qWarped;
            na0 = (A + 1.0) - (A - 1.0) * c + t;
            na1 = 2.0 * ((A - 1.0) - (A + 1.0) * c);
            na2 = (A + 1.0) - (A - 1.0) * c - t;
            nb0 = A * ((A + 1.0) + (A - 1.0) * c + t);
            nb1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * c);
            nb2 = A * ((A + 1.0) + (A - 1.0) * c - t);
            break;
        }
        case BiquadFilter::typeLowPass2:
            na0 = 1.0 + alpha;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha;
            nb0 = (1.0 - c) / 2.0;
            nb1 = 1.0 - c;
            nb2 = nb0;
            break;
        case BiquadFilter::typeLowPass1: {
            const double k = 2.0 - c;
            na1 = std::sqrt(k * k - 1.0) - k;
            nb0 = 1.0 + na1;
            break;
        }
        case BiquadFilter::typeAllPass: {
            const double alphaPlain = s / (2.0 * q);  // the all-pass is not warped
            na0 = 1.0 + alphaPlain;
            na1 = -2.0 * c;
            na2 = 1.0 - alphaPlain;
            nb0 = 1.0 - alphaPlain;
            nb1 = -2.0 * c;
            nb2 = 1.0 + alphaPlain;
            break;
        }
        default:
            break;
        }
    }

    const double da1 = na1 / na0;
    const double da2 = na2 / na0;
    const double db0 = nb0 / na0;
    const double db1 = nb1 / na0;
    const double db2 = nb2 / na0;
    m.design.a0 = na0;
    m.design.a1 = da1;
    m.design.a2 = da2;
    m.design.b0 = db0;
    m.design.b1 = db1;
    m.design.b2 = db2;

    // Factor b0 z^2 + b1 z + b2 and z^2 + a1 z + a2 into their roots.
    double* target = m.design.root;
    const double dz = db1 * db1 - 4.0 * db0 * db2;
    if (dz >= 0.0) {
        const double sq = std::sqrt(dz);
        target[kZero1Re] = (-db1 - sq) / (2.0 * db0);
        target[kZero2Re] = (-db1 + sq) / (2.0 * db0);
        target[kZero1Im] = target[kZero2Im] = 0.0;
    } else {
        const double sq = std::sqrt(-dz);
        target[kZero1Re] = target[kZero2Re] = -db1 / (2.0 * db0);
        target[kZero1Im] = -sq / (2.0 * db0);
        target[kZero2Im] = sq / (2.0 * db0);
    }
    const double dp = da1 * da1 - 4.0 * da2;
    if (dp >= 0.0) {
        const double sq = std::sqrt(dp);
        target[kPole1Re] = (-da1 - sq) / 2.0;
        target[kPole2Re] = (-da1 + sq) / 2.0;
        target[kPole1Im] = target[kPole2Im] = 0.0;
    } else {
        const double sq = std::sqrt(-dp);
        target[kPole1Re] = target[kPole2Re] = -da1 / 2.0;
        target[kPole1Im] = -sq / 2.0;
        target[kPole2Im] = sq / 2.0;
    }
    target[kGain] = db0;
}

}  // namespace orv
