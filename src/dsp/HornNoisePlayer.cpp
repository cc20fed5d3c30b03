#include "dsp/HornNoisePlayer.h"

#include <algorithm>
#include <cmath>

#include "dsp/Interpolation.h"
#include "dsp/MechanicalNoise.h"
#include "dsp/Recordings.h"

namespace orv {

using namespace mechnoise;

namespace {
constexpr double kBandPassHz = 1100.0;
constexpr double kBandPassQ = 0.05;           // at construction
constexpr double kBandPassQPerMetre = 0.25;   // narrower band for a farther microphone
constexpr double kBandPassQOffset = 0.05;
constexpr double kCompensationDistance = 0.3; // metres at which the level is unchanged
constexpr double kCompensationExponent = 0.25;
constexpr double kSlowFadeSlope = 2.5;        // slow loop gone at t = 0.4 of the fade zone
constexpr double kSlowFadeEnd = 0.4;
constexpr double kSetupRate = 44100.0;
// Fast-loop offsets: one eighth of a turn back, and for variant 1 eight turns forward, in
// units of the 34-turn loop.
constexpr double kFastOffsets[2] = {-1.0 / 272.0, 63.0 / 272.0};
}  // namespace

HornNoisePlayer::HornNoisePlayer(int variantIndex)
    : variant(variantIndex == 1 ? 1 : 0), fastOffset(kFastOffsets[variantIndex == 1 ? 1 : 0]) {
    bandPass.type = BiquadFilter::typeBandPass;
    bandPass.q = kBandPassQ;
    bandPass.frequency = std::min(kBandPassHz, BiquadFilter::maxFrequencyShare * kSetupRate);
    bandPass.saturationBias = 0.0;
    bandPass.enable();
    setSampleRate(kSetupRate);
}

void HornNoisePlayer::loadRecordings() {
    slowSamples = findRecording(variant == 0 ? RecordingId::HornSlowLoop0 : RecordingId::HornSlowLoop1).samples;
    fastSamples = findRecording(RecordingId::HornFastLoop).samples;
    transientSamples = findRecording(RecordingId::Transient).samples;
    transientPlaying = 0;
    transientPosition = 1.0;
    loopGain = loopGainTarget;
    transientGainFollow = transientGainTarget;
}

void HornNoisePlayer::setSampleRate(double fs) {
    fs = std::max(fs, kMinSampleRate);
    sampleRate = fs;
    slowLimit = kSlowLimitHz / fs;
    fastLimit = kFastLimitHz / fs;
    fadeScale = 1.0 / std::max(fastLimit - slowLimit, kMinFadeWidth);
    slowScale = 1.0 / slowLimit;
    transientStep = (kRecordingRate / fs) / kTransientStoredSamples;
    transientPlaying = 0;
    transientPosition = 1.0;
    transientLevel = 0.0;
    slowPhase = 0.0;
    fastPhase = 0.0;
    loopGain = loopGainTarget;
    transientGainFollow = transientGainTarget;
    setMicDistance(micDistance);
    followFactor = followFactorFor(fs, kFollowSeconds);

    bandPass.sampleRate = BiquadFilter::usableRate(fs);
    bandPass.glideLength = BiquadFilter::glideLengthFor(bandPass.sampleRate);
    bandPass.frequency = std::min(kBandPassHz, BiquadFilter::maxFrequencyShare * bandPass.sampleRate);
    bandPass.update();
    bandPass.setSaturation(bandPass.saturationAmount);
    // Snap now, glide on later distance changes.
    bandPass.snapOnUpdate = true;
    bandPass.snap();
    bandPass.snapOnUpdate = false;
}

void HornNoisePlayer::setMicDistance(double x) {
    micDistance = x;
    compensation = std::pow(kCompensationDistance / x, kCompensationExponent);
    bandPass.q = BiquadFilter::clampQ(kBandPassQPerMetre * x + kBandPassQOffset);
    bandPass.update();
    bandPass.setSaturation(bandPass.saturationAmount);
}

void HornNoisePlayer::setBalance(float m) { balanceTargets(m, loopGainTarget, transientGainTarget); }

void HornNoisePlayer::startTransient(double level) {
    transientPosition = 0.0;
    transientPlaying = 1;
    transientGain = 1.0;
    transientLevel = level;
}

double HornNoisePlayer::process() {
    const double c = followFactor;
    loopGain = loopGain + (loopGainTarget - loopGain) * c + kFlush - kFlush;
    transientGainFollow = transientGainFollow + (transientGainTarget - transientGainFollow) * c + kFlush - kFlush;

    const double r = rate;
    double slowGain;
    double fastGain;
    if (r <= slowLimit) {
        const double u = r * slowScale;
        slowGain = u * u;
        fastGain = 0.0;
    } else if (r >= fastLimit) {
        slowGain = 0.0;
        fastGain = 1.0;
    } else {
        const double t = (r - slowLimit) * fadeScale;
        const double u = 1.0 - kSlowFadeSlope * t;
        slowGain = t < kSlowFadeEnd ? u * u : 0.0;
        const double t2 = t * t;
        fastGain = t2 * t2;
    }

    // The factor is -1 and subtracted, so the fast loop again moves by +micAngle turns.
    const double fastRead = fastPhase - micAngle * micAngleFactor / kFastTurns + fastOffset;
    const double f = InterpolateLoop(fastRead, fastSamples, kHornFastLoopLength) * fastLevel * fastGain;
    const double s = InterpolateLoop(slowPhase, slowSamples, kHornSlowLoopLength) * slowLevel * slowGain;
    double sum = (s + f) * loopGain;

    if (transientPlaying) {
        const double p = transientPosition;
        sum += InterpolateOnce(p, transientSamples, kTransientLength) * transientGain * transientLevel *
               transientGainFollow;
        if (p >= 1.0) transientPlaying = 0;  // this last sample has still been added
        transientPosition = p + transientStep;
    }

    const double y = bandPass.process(sum) * compensation;
    // The slow take runs at its own recorded speed; the fast loop follows the rotor.
    slowPhase = wrapTurns(slowPhase + (kRecordingRate / sampleRate) / kHornSlowLoopLength);
    fastPhase = wrapTurns(fastPhase + r / kFastTurns);
    return y * outputGain;
}

}  // namespace orv
