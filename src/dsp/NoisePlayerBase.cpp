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
    micDistance = x;
    compensation = std::pow(kCompensationDistance / x, law_.compensationExponent);
    bandPass.setQ(BiquadFilter::clampQ(law_.qPerMetre * x + law_.qOffset));
    bandPass.update();
    bandPass.setSaturation(bandPass.saturationAmount());
}

void NoisePlayerBase::setBalance(float m) { balanceTargets(m, loopGainTarget, transientGainTarget); }

void NoisePlayerBase::startTransient(double level)
{
    transientPosition = 0.0;
    transientPlaying = 1;
    transientGain = 1.0;
    transientLevel = level;
}

void NoisePlayerBase::useRecordings(const float* slow, const float* fast, const float* transient)
{
    slowSamples = slow;
    fastSamples = fast;
    transientSamples = transient;
    stopTransient();
    loopGain = loopGainTarget;
    transientGainFollow = transientGainTarget;
}

double NoisePlayerBase::prepareRate(double fs)
{
    fs = std::max(fs, kMinSampleRate);
    sampleRate = fs;
    slowLimit = kSlowLimitHz / fs;
    fastLimit = kFastLimitHz / fs;
    fadeScale = 1.0 / std::max(fastLimit - slowLimit, kMinFadeWidth);
    slowScale = 1.0 / slowLimit;
    transientStep = (kRecordingRate / fs) / kTransientStoredSamples;
    stopTransient();
    slowPhase = 0.0;
    fastPhase = 0.0;
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
    bandPass.snap();
    bandPass.setSnapOnUpdate(false);
}

}  // namespace orv
