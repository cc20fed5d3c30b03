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
    clearHistory();
    glideRemaining_ = 0;
    for (int i = 0; i < rootCount; ++i) {
        rootState_[i] = {0.0, 0.0};
        rootIncrement_[i] = 0.0;
    }
    rootState_[zero1Re] = {1.0, 1.0};
    rootState_[rootGain] = {1.0, 1.0};
    saturationOn_ = 0;
    saturationCoefficient_ = 0.001;
    saturationAmount_ = -1.0;
    saturationBias_ = 0.0;
}

double BiquadFilter::usableRate(double rate)
{
    return (rate >= minUsableRate && rate <= maxUsableRate) ? rate : fallbackRate;
}

std::uint32_t BiquadFilter::glideLengthFor(double rate) { return static_cast<std::uint32_t>(glideSeconds * rate); }

void BiquadFilter::update()
{
    design_ = designer_.design(type_, enabled_, sampleRate_, frequency_, q_, gainDb_);
    for (int i = 0; i < rootCount; ++i) rootState_[i].target = design_.root[i];
    // A zero glide length has no samples to glide over: the design applies at once.
    if (snapOnUpdate_ || glideLength_ == 0) {
        snap();
        return;
    }
    glideRemaining_ = glideLength_;
    const double perSample = 1.0 / glideLength_;
    for (int i = 0; i < rootCount; ++i) {
        const double step = (design_.root[i] - rootState_[i].current) * perSample;
        rootIncrement_[i] = step + glideFlush - glideFlush;
    }
}

void BiquadFilter::snap()
{
    for (int i = 0; i < rootCount; ++i) {
        rootState_[i].current = rootState_[i].target;
        rootIncrement_[i] = 0.0;
    }
    glideRemaining_ = 0;
}

void BiquadFilter::setSaturation(double amount)
{
    saturationAmount_ = amount;
    if (amount > 0.0) {
        saturationOn_ = 1;
        // Squashing grows with the corner frequency and the amount and falls with Q.
        saturationCoefficient_ = designer_.saturationCoefficient(amount, frequency_, q_, sampleRate_);
    } else {
        saturationOn_ = 0;
        saturationCoefficient_ = 0.001;
    }
}

void BiquadFilter::enable()
{
    enabled_ = 1;
    update();
    snap();
}

}  // namespace orv
