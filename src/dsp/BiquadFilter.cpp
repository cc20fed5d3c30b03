#include "dsp/BiquadFilter.h"

#include <bit>

namespace orv {

namespace {

constexpr double twoPi = 6.283185307179586;
constexpr double warpReference = 0.5001;          // fraction of the rate where the Q warp reaches 0
constexpr double warpReferenceLowPass = 0.50001;  // the same for the second-order low-pass
constexpr double minUsableRate = 20000.0;         // Hz
constexpr double maxUsableRate = 400000.0;        // Hz
constexpr double fallbackRate = 44100.0;          // Hz
constexpr double glideSeconds = 0.003;            // length of a coefficient glide

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

void BiquadFilter::reset()
{
    x1 = x2 = y1 = y2 = 0.0;
    glideRemaining = 0;
    for (int i = 0; i < rootCount; ++i) {
        rootState[i] = {0.0, 0.0};
        rootIncrement[i] = 0.0;
    }
    rootState[zero1Re] = {1.0, 1.0};
    rootState[rootGain] = {1.0, 1.0};
    saturationOn = 0;
    saturationCoefficient = 0.001;
    saturationAmount = -1.0;
    saturationBias = 0.0;
}

double BiquadFilter::usableRate(double rate)
{
    return (rate >= minUsableRate && rate <= maxUsableRate) ? rate : fallbackRate;
}

std::uint32_t BiquadFilter::glideLengthFor(double rate)
{
    return static_cast<std::uint32_t>(glideSeconds * rate);
}

void BiquadFilter::design()
{
    DesignMemo& m = memo_;
    m.type = type;
    m.enabled = enabled;
    m.rate = bitsOf(sampleRate);
    m.frequency = bitsOf(frequency);
    m.q = bitsOf(q);
    m.gain = bitsOf(gainDb);
    m.fullValid = true;

    // Identity unless an enabled filter of a known type asks for a design.
    double na0 = 1.0, na1 = 0.0, na2 = 0.0, nb0 = 1.0, nb1 = 0.0, nb2 = 0.0;

    if (enabled != 0 && type >= typeHighPass2 && type <= typeAllPass) {
        if (!(m.shapeValid && m.shapeType == type && m.shapeRate == m.rate && m.shapeFrequency == m.frequency &&
              m.shapeQ == m.q)) {
            const double w = twoPi * frequency / sampleRate;
            m.c = std::cos(w);
            m.s = std::sin(w);
            // The first-order types and the all-pass do not use the warped Q.
            if (usesWarp(type)) {
                const double p = warpExponent(type);
                const double reference = (type == typeLowPass2 ? warpReferenceLowPass : warpReference) * sampleRate;
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
        if (type == typeLowShelf || type == typePeak || type == typeHighShelf) {
            if (!(m.gainValid && m.gainBits == m.gain)) {
                m.A = std::pow(10.0, gainDb * 0.025);  // square root of the linear gain
                m.gainBits = m.gain;
                m.gainValid = true;
            }
        }
        const double A = m.A;

        switch (type) {
        case typeHighPass2:
            na0 = 1.0 + alpha;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha;
            nb0 = (1.0 + c) / 2.0;
            nb1 = -(1.0 + c);
            nb2 = nb0;
            break;
        case typeHighPass1: {
            const double g = c / (1.0 + s);
            na1 = -g;
            nb0 = (1.0 + g) / 2.0;
            nb1 = -(1.0 + g) / 2.0;
            break;
        }
        case typeLowShelf: {
            const double t = s * std::sqrt(A) / qWarped;
            na0 = (A + 1.0) + (A - 1.0) * c + t;
            na1 = -2.0 * ((A - 1.0) + (A + 1.0) * c);
            na2 = (A + 1.0) + (A - 1.0) * c - t;
            nb0 = A * ((A + 1.0) - (A - 1.0) * c + t);
            nb1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * c);
            nb2 = A * ((A + 1.0) - (A - 1.0) * c - t);
            break;
        }
        case typePeak:
            na0 = 1.0 + alpha / A;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha / A;
            nb0 = 1.0 + alpha * A;
            nb1 = -2.0 * c;
            nb2 = 1.0 - alpha * A;
            break;
        case typeBandPass:
            na0 = 1.0 + alpha;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha;
            nb0 = alpha;
            nb1 = 0.0;
            nb2 = -alpha;
            break;
        case typeNotch:
            na0 = 1.0 + alpha;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha;
            nb0 = 1.0;
            nb1 = -2.0 * c;
            nb2 = 1.0;
            break;
        case typeHighShelf: {
            const double t = s * std::sqrt(A) / qWarped;
            na0 = (A + 1.0) - (A - 1.0) * c + t;
            na1 = 2.0 * ((A - 1.0) - (A + 1.0) * c);
            na2 = (A + 1.0) - (A - 1.0) * c - t;
            nb0 = A * ((A + 1.0) + (A - 1.0) * c + t);
            nb1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * c);
            nb2 = A * ((A + 1.0) + (A - 1.0) * c - t);
            break;
        }
        case typeLowPass2:
            na0 = 1.0 + alpha;
            na1 = -2.0 * c;
            na2 = 1.0 - alpha;
            nb0 = (1.0 - c) / 2.0;
            nb1 = 1.0 - c;
            nb2 = nb0;
            break;
        case typeLowPass1: {
            const double k = 2.0 - c;
            na1 = std::sqrt(k * k - 1.0) - k;
            nb0 = 1.0 + na1;
            break;
        }
        case typeAllPass: {
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
    m.coefficient[0] = na0;
    m.coefficient[1] = da1;
    m.coefficient[2] = da2;
    m.coefficient[3] = db0;
    m.coefficient[4] = db1;
    m.coefficient[5] = db2;

    // Factor b0 z^2 + b1 z + b2 and z^2 + a1 z + a2 into their roots.
    double* target = m.target;
    const double dz = db1 * db1 - 4.0 * db0 * db2;
    if (dz >= 0.0) {
        const double sq = std::sqrt(dz);
        target[zero1Re] = (-db1 - sq) / (2.0 * db0);
        target[zero2Re] = (-db1 + sq) / (2.0 * db0);
        target[zero1Im] = target[zero2Im] = 0.0;
    } else {
        const double sq = std::sqrt(-dz);
        target[zero1Re] = target[zero2Re] = -db1 / (2.0 * db0);
        target[zero1Im] = -sq / (2.0 * db0);
        target[zero2Im] = sq / (2.0 * db0);
    }
    const double dp = da1 * da1 - 4.0 * da2;
    if (dp >= 0.0) {
        const double sq = std::sqrt(dp);
        target[pole1Re] = (-da1 - sq) / 2.0;
        target[pole2Re] = (-da1 + sq) / 2.0;
        target[pole1Im] = target[pole2Im] = 0.0;
    } else {
        const double sq = std::sqrt(-dp);
        target[pole1Re] = target[pole2Re] = -da1 / 2.0;
        target[pole1Im] = -sq / 2.0;
        target[pole2Im] = sq / 2.0;
    }
    target[rootGain] = db0;
}

void BiquadFilter::update()
{
    const DesignMemo& m = memo_;
    if (!(m.fullValid && m.type == type && m.enabled == enabled && m.rate == bitsOf(sampleRate) &&
          m.frequency == bitsOf(frequency) && m.q == bitsOf(q) && m.gain == bitsOf(gainDb)))
        design();

    a0 = m.coefficient[0];
    a1 = m.coefficient[1];
    a2 = m.coefficient[2];
    b0 = m.coefficient[3];
    b1 = m.coefficient[4];
    b2 = m.coefficient[5];
    for (int i = 0; i < rootCount; ++i)
        rootState[i].target = m.target[i];
    // A zero glide length has no samples to glide over: the design applies at once.
    if (snapOnUpdate || glideLength == 0) {
        snap();
        return;
    }
    glideRemaining = glideLength;
    for (int i = 0; i < rootCount; ++i) {
        const double step = (m.target[i] - rootState[i].current) / glideLength;
        rootIncrement[i] = step + glideFlush - glideFlush;
    }
}

void BiquadFilter::snap()
{
    for (int i = 0; i < rootCount; ++i) {
        rootState[i].current = rootState[i].target;
        rootIncrement[i] = 0.0;
    }
    glideRemaining = 0;
}

void BiquadFilter::setSaturation(double amount)
{
    saturationAmount = amount;
    if (amount > 0.0) {
        saturationOn = 1;
        // Squashing grows with the corner frequency and the amount and falls with Q.
        const double v = frequency * 0.01 * (44100.0 / sampleRate) * amount * 3.0;
        DesignMemo& m = memo_;
        if (!(m.satValid && m.satQ == bitsOf(q))) {
            m.qPower = std::pow(q, 0.75);
            m.satQ = bitsOf(q);
            m.satValid = true;
        }
        saturationCoefficient = 1.0 / (1000.0 / (v / m.qPower));
    } else {
        saturationOn = 0;
        saturationCoefficient = 0.001;
    }
}

void BiquadFilter::enable()
{
    if (enabled != 1) {
        enabled = 1;
        update();
        snap();
    }
}

}  // namespace orv
