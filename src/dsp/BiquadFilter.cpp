#include "dsp/BiquadFilter.h"

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

void BiquadFilter::update()
{
    // Identity unless an enabled filter of a known type asks for a design.
    double na0 = 1.0, na1 = 0.0, na2 = 0.0, nb0 = 1.0, nb1 = 0.0, nb2 = 0.0;

    if (enabled != 0 && type >= typeHighPass2 && type <= typeAllPass) {
        const double w = twoPi * frequency / sampleRate;
        const double c = std::cos(w);
        const double s = std::sin(w);
        const double p = warpExponent(type);
        const double reference = (type == typeLowPass2 ? warpReferenceLowPass : warpReference) * sampleRate;
        const double r = frequency / reference;
        const double qWarped = (1.0 - std::pow(r, p)) * q;
        const double alpha = s / (2.0 * qWarped);
        const double A = std::pow(10.0, gainDb * 0.025);  // square root of the linear gain

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

    a0 = na0;
    a1 = na1 / na0;
    a2 = na2 / na0;
    b0 = nb0 / na0;
    b1 = nb1 / na0;
    b2 = nb2 / na0;

    // Factor b0 z^2 + b1 z + b2 and z^2 + a1 z + a2 into their roots.
    double target[rootCount];
    const double dz = b1 * b1 - 4.0 * b0 * b2;
    if (dz >= 0.0) {
        const double sq = std::sqrt(dz);
        target[zero1Re] = (-b1 - sq) / (2.0 * b0);
        target[zero2Re] = (-b1 + sq) / (2.0 * b0);
        target[zero1Im] = target[zero2Im] = 0.0;
    } else {
        const double sq = std::sqrt(-dz);
        target[zero1Re] = target[zero2Re] = -b1 / (2.0 * b0);
        target[zero1Im] = -sq / (2.0 * b0);
        target[zero2Im] = sq / (2.0 * b0);
    }
    const double dp = a1 * a1 - 4.0 * a2;
    if (dp >= 0.0) {
        const double sq = std::sqrt(dp);
        target[pole1Re] = (-a1 - sq) / 2.0;
        target[pole2Re] = (-a1 + sq) / 2.0;
        target[pole1Im] = target[pole2Im] = 0.0;
    } else {
        const double sq = std::sqrt(-dp);
        target[pole1Re] = target[pole2Re] = -a1 / 2.0;
        target[pole1Im] = -sq / 2.0;
        target[pole2Im] = sq / 2.0;
    }
    target[rootGain] = b0;

    for (int i = 0; i < rootCount; ++i)
        rootState[i].target = target[i];
    // A zero glide length has no samples to glide over: the design applies at once.
    if (snapOnUpdate || glideLength == 0) {
        snap();
        return;
    }
    glideRemaining = glideLength;
    for (int i = 0; i < rootCount; ++i) {
        const double step = (target[i] - rootState[i].current) / glideLength;
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
        saturationCoefficient = 1.0 / (1000.0 / (v / std::pow(q, 0.75)));
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
