#include "dsp/EarlyReflections.h"

#include <algorithm>
#include <cmath>

#include "dsp/Constants.h"
#include "dsp/LaneMath.h"

namespace orv {

namespace {
constexpr double kFarTapDb = -20.0;  // level of a tap at the normalising distance
constexpr double kMinCutoff = 20.0;  // Hz, tap low-pass limits
constexpr double kMaxCutoff = 20000.0;
constexpr double kAmountGain = 0.0316227766;  // -30 dB

inline double flush(double v) { return v + kFlush - kFlush; }
}  // namespace

EarlyReflections::EarlyReflections() : left_(kLineLength, 0.0), right_(kLineLength, 0.0)
{
    std::fill(std::begin(pairState_), std::end(pairState_), 0.0);
    setupReflections();
}

EarlyReflections::SizePreset EarlyReflections::sizePreset(int position)
{
    return kSizePresets[std::clamp(position, 1, kSizePositions) - 1];
}

double EarlyReflections::roomScaleFromParameter(double p) { return 0.1 * std::exp(3.58352 * p) + 0.4; }

double EarlyReflections::virtualScaleFromParameter(double p) { return 0.25 * std::exp(2.77259 * p); }

double EarlyReflections::extraDistanceFromParameter(double p) { return 0.15 * std::exp(2.30259 * p); }

double EarlyReflections::cutoffScaleFromParameter(double p)
{
    return static_cast<float>(200.0 * std::pow(100.0, p));  // kept in single precision
}

double EarlyReflections::outputGainFromLevel(double level) { return level * kAmountGain; }

void EarlyReflections::setupReflections()
{
    const double s = room_.roomScale;
    const double fs = sampleRate_;
    const double virtualScale = room_.virtualScale, extraDistance = room_.extraDistance;

    // Normalising distance: the farthest of the far tables, stretched by the virtual room.
    double farthest = 0.0;
    for (int j = 0; j < kTapsPerSide; ++j) {
        farthest = std::max(farthest, s * kFarDistancesC[j] * virtualScale + extraDistance);
        farthest = std::max(farthest, s * kFarDistancesD[j] * virtualScale + extraDistance);
    }
    const double dbPerMetre = kFarTapDb / farthest;

    auto setTap = [&](int k, double distance, double cutoffFactor) {
        const double scaled = s * distance;
        gain_[k] = std::pow(10.0, 0.05 * (scaled * dbPerMetre));
        const double d = scaled * fs / kSpeedOfSound;
        delay_[k] = static_cast<std::int32_t>(d);
        fraction_[k] = static_cast<float>(d - delay_[k]);
        const double fn = std::clamp(cutoffFactor * room_.cutoffScale / fs, kMinCutoff / fs, kMaxCutoff / fs);
        coefficient_[k] = flush(std::exp(-kTwoPi * fn));
    };
    for (int k = 0; k < kTapsPerSide; ++k) {
        setTap(k, kLeftDistances[k], kLeftCutoffFactors[k]);
        setTap(kTapsPerSide + k, kRightDistances[k], kRightCutoffFactors[k]);
    }
    for (int k = 0; k < kTapsPerSide; ++k) {
        for (int side = 0; side < 2; ++side) {
            const int tap = side * kTapsPerSide + k;
            pairGain_[2 * k + side] = gain_[tap];
            pairFraction_[2 * k + side] = fraction_[tap];
            pairCoefficient_[2 * k + side] = coefficient_[tap];
            pairDelay_[2 * k + side] = delay_[tap];
        }
    }
    // A tap reads `delay` and `delay` - 1 entries back; a delay of 0 reaches the entry after
    // the write position, the oldest one.
    reach_ = 0;
    for (int k = 0; k < kTaps; ++k) reach_ = std::max(reach_, delay_[k] > 0 ? delay_[k] : kLineLength);
    leftClean_.extend(left_.data(), kLineLength, write_, reach_);
    rightClean_.extend(right_.data(), kLineLength, write_, reach_);
}

void EarlyReflections::clearReflections()
{
    outputGain_ = outputGainTarget_;
    setupReflections();
    clearLines();
}

void EarlyReflections::clearLines()
{
    leftClean_.clear(left_.data(), kLineLength, write_, reach_);
    rightClean_.clear(right_.data(), kLineLength, write_, reach_);
    std::fill(std::begin(pairState_), std::end(pairState_), 0.0);
}

void EarlyReflections::processReflections(double inL, double inR, double& outL, double& outR)
{
    const std::int32_t w = write_;
    double* const left = left_.data();
    double* const right = right_.data();
    left[w] = inL;
    right[w] = inR;

    // Each tap: linear read (the fraction leans towards the newer neighbour), gain, one-pole
    // low-pass; left tap k and right tap k side by side. The states are flushed so that a
    // silent input decays to exactly 0. Each side sums its taps in order.
    using lanes::load;
    using lanes::store;
    Double2 sum = {0.0, 0.0};
    for (int k = 0; k < kTaps; k += 2) {
        const std::int32_t i = (w - pairDelay_[k]) & kLineMask;
        const std::int32_t j = (w - pairDelay_[k + 1]) & kLineMask;
        const Double2 older = {left[i], right[j]};
        const Double2 newer = {left[(i + 1) & kLineMask], right[(j + 1) & kLineMask]};
        const Double2 f = load<Double2>(&pairFraction_[k]);
        const Double2 x = ((1.0 - f) * older + f * newer) * load<Double2>(&pairGain_[k]);
        const Double2 state = (load<Double2>(&pairState_[k]) - x) * load<Double2>(&pairCoefficient_[k]) + x;
        const Double2 flushed = state + kFlush - kFlush;
        store(&pairState_[k], flushed);
        sum += flushed;
    }
    outL = flush(sum[0] * outputGain_);
    outR = flush(sum[1] * outputGain_);
    write_ = (w + 1) & kLineMask;
    leftClean_.advanced(kLineLength);
    rightClean_.advanced(kLineLength);
}

}  // namespace orv
