// This file holds AVX2 kernels (engine/VectorPath.h): four-lane values pass by value between
// functions that are all inlined into them, so the calling-convention warning does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

#include "engine/RotorModel.h"

#include <algorithm>
#include <cmath>

#include "dsp/Interpolation.h"
#include "engine/VectorPath.h"

namespace orv {

namespace {

constexpr double kDefaultRate = 44100.0;  // until the engine sets its rate

// Horn output gain (1.3 − 0.5·((rm − 0.35)/1.65 + 0.1)^0.75) · −0.2 dB.
constexpr double kGainBase = 1.3;
constexpr double kGainSlope = 0.5;
constexpr double kGainNearest = 0.35;                      // m, nearest microphone distance
constexpr double kGainDistanceScale = 0.6060606060606061;  // 1 / 1.65 m
constexpr double kGainOffset = 0.1;
constexpr double kGainExponent = 0.75;
constexpr double kGainTrim = 0.97723722095;  // −0.2 dB

}  // namespace

RotorModel::RotorModel(Kind kind)
    : RadiationCore(kind == Kind::Leak ? kLeakRaySet : kMicRaySet), kind_(kind),
      outRing_(new double[2 * kOutRingSize]())
{
    if (kind_ != Kind::Leak) {
        player_ = std::make_unique<HornNoisePlayer>(kind_ == Kind::Mic2 ? 1 : 0);
        attachPlayer();
        buildHornVoicingBank(bank_, kDefaultRate);
    } else {
        buildShortHornVoicingBank(shortBank_, kDefaultRate);
    }
    setRate(kDefaultRate, 1);
    setGeometry();
    reset();
}

RotorModel::~RotorModel() = default;

void RotorModel::rateChanged()
{
    if (kind_ != Kind::Leak)
        bank_.setRate(rate_);
    else
        shortBank_.setRate(rate_);
}

void RotorModel::geometryChanged()
{
    if (kind_ != Kind::Leak) {
        const double spread = (micDistance_ - kGainNearest) * kGainDistanceScale + kGainOffset;
        outputGain_ = (kGainBase - kGainSlope * std::pow(spread, kGainExponent)) * kGainTrim;
    } else {
        outputGain_ = 1.0;
    }
    reflectionChanged();
}

void RotorModel::delaysChanged()
{
    const double zLongest = kOutRingSize - 2.0;
    zSamples1_ = std::min(kZDelay1 * samplesPerMetre_, zLongest);
    zSamples2_ = std::min(kZDelay2 * samplesPerMetre_, zLongest);
}

void RotorModel::reflectionChanged()
{
    zGain_ = zAxisGain_ * reflection_ * reflection_;  // floor and ceiling: two reflections
}

void RotorModel::signalCleared()
{
    std::fill(outRing_.get(), outRing_.get() + 2 * kOutRingSize, 0.0);
    outIndex_ = 0;
    if (kind_ != Kind::Leak)
        bank_.clearState();
    else
        shortBank_.clearState();
}

void RotorModel::setZAxisGain(double gain)
{
    zAxisGain_ = gain;
    reflectionChanged();
}

void RotorModel::setAmplitudeClip(double floor)
{
    clip_ = floor;
    updateStaticGain();
}

double RotorModel::readZ(double delay) const
{
    constexpr int kMask = kOutRingSize - 1;
    const double position = outIndex_ + kOutRingSize - delay;
    const int whole = static_cast<int>(position);
    const double f = position - whole;
    const int i = whole & kMask;
    const double* o = outRing_.get();
    return o[i] + (o[i + 1] - o[i]) * f;
}

template <int Count, class V>
double RotorModel::microphoneSum(double x)
{
    const double sum = radiate<Count, false, V>(x) + staticLp_;
    feedNoise();
    // Floor and ceiling reflections: the summed rays again, a little later.
    writeMirrored(outRing_.get(), kOutRingSize, outIndex_, sum);
    const double z = readZ(zSamples1_) + readZ(zSamples2_);
    outIndex_ = (outIndex_ + 1) & (kOutRingSize - 1);
    return sum + z * zGain_;
}

template <class V>
double RotorModel::radiateSelected(double x)
{
    // Ten rays in front, eleven towards a side wall, three for the leak.
    switch (rayCount_) {
    case 10: return microphoneSum<10, V>(x);
    case 11: return microphoneSum<11, V>(x);
    default: return radiate<kLeakRays, false, V>(x) + staticLp_;
    }
}

template <class V>
double RotorModel::processWith(double x)
{
    const double sum = radiateSelected<V>(x);
    if (kind_ == Kind::Leak) return shortBank_.process(sum);
    return bank_.process(sum) * outputGain_;
}

double RotorModel::process(double x) { return processWith<Double2>(x); }

template <class V>
void RotorModel::voiceBlock(double* y, int n)
{
    if (kind_ == Kind::Leak) {
        shortBank_.processBlock<V>(y, n);
        return;
    }
    bank_.processBlock<V>(y, n);
    for (int i = 0; i < n; ++i) y[i] *= outputGain_;
}

template <class V>
void RotorModel::blockWith(const double* x, double* y, int n)
{
    // The rays of the whole block first, then the voicing bank over it.
    for (int i = 0; i < n; ++i) y[i] = radiateSelected<V>(x[i]);
    voiceBlock<V>(y, n);
}

template <class V>
void RotorModel::pairBlockWith(RotorModel& a, RotorModel& b, const double* x, double* ya, double* yb, double* noiseA,
                               double* noiseB, int n)
{
    for (int i = 0; i < n; ++i) {
        ya[i] = a.radiateSelected<V>(x[i]);
        yb[i] = b.radiateSelected<V>(x[i]);
        noiseA[i] = a.noise_;
        noiseB[i] = b.noise_;
    }
    a.voiceBlock<V>(ya, n);
    b.voiceBlock<V>(yb, n);
}

ORV_WIDE_KERNEL void RotorModel::blockWide(const double* x, double* y, int n) { blockWith<Double4>(x, y, n); }

ORV_WIDE_KERNEL void RotorModel::pairBlockWide(RotorModel& a, RotorModel& b, const double* x, double* ya, double* yb,
                                               double* noiseA, double* noiseB, int n)
{
    pairBlockWith<Double4>(a, b, x, ya, yb, noiseA, noiseB, n);
}

void RotorModel::processBlock(const double* x, double* y, int n)
{
    if (vectorPath::wide())
        blockWide(x, y, n);
    else
        blockWith<Double2>(x, y, n);
}

void RotorModel::processPairBlock(RotorModel& a, RotorModel& b, const double* x, double* ya, double* yb, double* noiseA,
                                  double* noiseB, int n)
{
    if (vectorPath::wide())
        pairBlockWide(a, b, x, ya, yb, noiseA, noiseB, n);
    else
        pairBlockWith<Double2>(a, b, x, ya, yb, noiseA, noiseB, n);
}

}  // namespace orv
