#include "dsp/DrumNoisePlayer.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "dsp/Interpolation.h"
#include "dsp/MechanicalNoise.h"
#include "dsp/Recordings.h"

namespace orv {

using namespace mechnoise;

namespace {
constexpr double kLowPassHz = 18000.0;  // slow-loop low-pass at the slow end of the fade
constexpr double kLowPassQ = 0.7;
constexpr double kLowPassSweepExponent = 0.06;  // how fast it closes across the fade zone
constexpr double kShelfHz = 2000.0;             // fast-loop high shelf at construction
constexpr double kShelfQ = 0.707;
constexpr double kShelfSweepHz = 9500.0;  // shelf corner = 9500 * fastGain + 3500
constexpr double kShelfBaseHz = 3500.0;
constexpr double kShelfRangeDb = 12.0;  // shelf gain = 12 * fastGain - 12 dB
constexpr double kShelfGainLimitDb = 1000.0;
constexpr double kBandPassHz = 1000.0;
// Narrower band and a little less level for a farther microphone.
constexpr NoisePlayerBase::DistanceLaw kDistanceLaw{0.12, 0.005, 0.1};
constexpr double kSlowFadeExponent = 0.25;
constexpr double kSetupRate = 44100.0;

void build(BiquadFilter& f, std::uint32_t type, double q, double frequency)
{
    f.setType(type);
    f.setQ(q);
    f.setFrequency(frequency);
    f.enable();
}
}  // namespace

DrumNoisePlayer::DrumNoisePlayer() : NoisePlayerBase(kDistanceLaw, kTransientStoredSamples)
{
    const double top = BiquadFilter::maxFrequencyShare * kSetupRate;
    build(lowPass_, BiquadFilter::typeLowPass2, kLowPassQ, std::min(kLowPassHz, top));
    build(highShelf_, BiquadFilter::typeHighShelf, kShelfQ, std::min(kShelfHz, top));
    build(bandPass_, BiquadFilter::typeBandPass, kDistanceLaw.qPerMetre * micDistance_ + kDistanceLaw.qOffset,
          std::min(kBandPassHz, top));
    setSampleRate(kSetupRate);
}

void DrumNoisePlayer::loadRecordings()
{
    useRecordings(findRecording(RecordingId::DrumSlowLoop).samples, findRecording(RecordingId::DrumFastLoop).samples,
                  findRecording(RecordingId::Transient).samples);
}

void DrumNoisePlayer::setSampleRate(double fs)
{
    fs = prepareRate(fs);
    setMicDistance(micDistance_);
    // The owner passes its distance again right after this, which restores the compensation.
    compensation_ = 1.0;
    for (BiquadFilter* f : {&lowPass_, &highShelf_, &bandPass_}) retune(*f, fs, f->frequency());
    // The fade filters were designed for the old rate: the next fade position redesigns them.
    fadeMemoT_ = kNoFadePosition;
    // The low-pass and the shelf keep snapping on every update.
    snapBandPass();
}

void DrumNoisePlayer::fadeGains(double t, double& slowGain, double& fastGain)
{
    fastGain = t * t;
    // At a steady speed t repeats exactly, and so would the gains and the two filter designs:
    // both filters snap on every update, so a repeated one leaves them as they are.
    if (std::bit_cast<std::uint64_t>(t) != fadeMemoT_) {
        fadeMemoT_ = std::bit_cast<std::uint64_t>(t);
        fadeMemoSlow_ = std::pow(1.0 - t, kSlowFadeExponent);
        lowPass_.setFrequency(BiquadFilter::clampFrequency(kLowPassHz - kLowPassHz * std::pow(t, kLowPassSweepExponent),
                                                           lowPass_.sampleRate()));
        lowPass_.update();
        // Both shelf settings first, then one design (a design between the two settings would
        // be overwritten unused).
        highShelf_.setFrequency(
            BiquadFilter::clampFrequency(kShelfSweepHz * fastGain + kShelfBaseHz, highShelf_.sampleRate()));
        highShelf_.setGainDb(
            std::clamp(kShelfRangeDb * fastGain - kShelfRangeDb, -kShelfGainLimitDb, kShelfGainLimitDb));
        highShelf_.update();
    }
    slowGain = fadeMemoSlow_;
}

}  // namespace orv
