#include "dsp/NoisePlayerBase.h"

#include <algorithm>
#include <cmath>

#include "dsp/MechanicalNoise.h"
#include "dsp/Recordings.h"

namespace orv {

using namespace mechnoise;

namespace {
constexpr double kCompensationDistance = 0.3;  // metres at which the level is unchanged
}  // namespace

void NoisePlayerBase::setMicDistance(double x)
{
    micDistance_ = x;
    compensation_ = std::pow(kCompensationDistance / x, law_.compensationExponent);
    bandPass_.setQ(BiquadFilter::clampQ(law_.qPerMetre * x + law_.qOffset));
    bandPass_.update();
    bandPass_.setSaturation(bandPass_.saturationAmount());
}

void NoisePlayerBase::setBalance(float m) { balanceTargets(m, loopGainTarget_, transientGainTarget_); }

void NoisePlayerBase::startTransient(double level)
{
    transientPosition_ = 0.0;
    transientPlaying_ = 1;
    transientGain_ = 1.0;
    transientLevel_ = level;
}

void NoisePlayerBase::useRecordings(const float* slow, const float* fast, const float* transient)
{
    slowSamples_ = slow;
    fastSamples_ = fast;
    transientSamples_ = transient;
    stopTransient();
    loopGain_ = loopGainTarget_;
    transientGainFollow_ = transientGainTarget_;
}

double NoisePlayerBase::prepareRate(double fs)
{
    fs = std::max(fs, kMinSampleRate);
    sampleRate = fs;
    slowLimit_ = kSlowLimitHz / fs;
    fastLimit_ = kFastLimitHz / fs;
    fadeScale_ = 1.0 / std::max(fastLimit_ - slowLimit_, kMinFadeWidth);
    slowScale_ = 1.0 / slowLimit_;
    transientStep_ = (kRecordingRate / fs) / kTransientStoredSamples;
    stopTransient();
    slowPhase_ = 0.0;
    fastPhase_ = 0.0;
    followFactor = followFactorFor(fs, kFollowSeconds);
    return fs;
}

void NoisePlayerBase::retune(BiquadFilter& f, double fs, double frequency)
{
    const double r = BiquadFilter::usableRate(fs);
    f.prepare(r, BiquadFilter::glideLengthFor(r));
    // A frequency left above the new rate's limit would design an unstable section.
    f.setFrequency(std::min(frequency, BiquadFilter::maxFrequencyShare * r));
    f.update();
    f.setSaturation(f.saturationAmount());
}

void NoisePlayerBase::snapBandPass()
{
    bandPass_.snap();
    bandPass_.setSnapOnUpdate(false);
}

}  // namespace orv
