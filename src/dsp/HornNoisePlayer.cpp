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
constexpr double kBandPassQ = 0.05;  // at construction
// Narrower band and a little less level for a farther microphone.
constexpr NoisePlayerBase::DistanceLaw kDistanceLaw{0.25, 0.05, 0.25};
constexpr double kSlowFadeSlope = 2.5;  // slow loop gone at t = 0.4 of the fade zone
constexpr double kSlowFadeEnd = 0.4;
constexpr double kSetupRate = 44100.0;
// Fast-loop offsets: one eighth of a turn back, and for variant 1 eight turns forward, in
// units of the 34-turn loop.
constexpr double kFastOffsets[2] = {-1.0 / 272.0, 63.0 / 272.0};
}  // namespace

HornNoisePlayer::HornNoisePlayer(int variantIndex)
    : NoisePlayerBase(kDistanceLaw, 1.0), variant_(variantIndex == 1 ? 1 : 0),
      fastOffset_(kFastOffsets[variantIndex == 1 ? 1 : 0])
{
    bandPass_.setType(BiquadFilter::typeBandPass);
    bandPass_.setQ(kBandPassQ);
    bandPass_.setFrequency(std::min(kBandPassHz, BiquadFilter::maxFrequencyShare * kSetupRate));
    bandPass_.enable();
    setSampleRate(kSetupRate);
}

void HornNoisePlayer::loadRecordings()
{
    useRecordings(findRecording(variant_ == 0 ? RecordingId::HornSlowLoop0 : RecordingId::HornSlowLoop1).samples,
                  findRecording(RecordingId::HornFastLoop).samples, findRecording(RecordingId::Transient).samples);
}

void HornNoisePlayer::setSampleRate(double fs)
{
    fs = prepareRate(fs);
    slowStep_ = (kRecordingRate / fs) / kHornSlowLoopLength;
    transientLevel_ = 0.0;
    loopGain_ = loopGainTarget_;
    transientGainFollow_ = transientGainTarget_;
    setMicDistance(micDistance_);
    retune(bandPass_, fs, kBandPassHz);
    snapBandPass();
}

void HornNoisePlayer::fadeGains(double t, double& slowGain, double& fastGain)
{
    const double u = 1.0 - kSlowFadeSlope * t;
    slowGain = t < kSlowFadeEnd ? u * u : 0.0;
    const double t2 = t * t;
    fastGain = t2 * t2;
}

}  // namespace orv
