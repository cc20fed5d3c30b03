#include "dsp/BiquadFilter.h"

namespace orv {

namespace {

constexpr double minUsableRate = 20000.0;   // Hz
constexpr double maxUsableRate = 400000.0;  // Hz
constexpr double fallbackRate = 44100.0;    // Hz
constexpr double glideSeconds = 0.003;      // length of a coefficient glide

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
    const BiquadDesigner::Design& m = designer_.design(type, enabled, sampleRate, frequency, q, gainDb);
    a0 = m.a0;
    a1 = m.a1;
    a2 = m.a2;
    b0 = m.b0;
    b1 = m.b1;
    b2 = m.b2;
    for (int i = 0; i < rootCount; ++i)
        rootState[i].target = m.root[i];
    // A zero glide length has no samples to glide over: the design applies at once.
    if (snapOnUpdate || glideLength == 0) {
        snap();
        return;
    }
    glideRemaining = glideLength;
    const double perSample = 1.0 / glideLength;
    for (int i = 0; i < rootCount; ++i) {
        const double step = (m.root[i] - rootState[i].current) * perSample;
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
        saturationCoefficient = designer_.saturationCoefficient(amount, frequency, q, sampleRate);
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
