// This file holds AVX2 kernels (engine/VectorPath.h): four-lane values pass by value between
// functions that are all inlined into them, so the calling-convention warning does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

#include "engine/LightRotorModel.h"

#include <algorithm>

#include "engine/VectorPath.h"

namespace orv {

namespace {

constexpr double kDefaultRate = 44100.0;  // until the engine sets its rate

}  // namespace

LightRotorModel::LightRotorModel(Kind kind) : RadiationCore(kRaySet), kind_(kind)
{
    if (kind_ == Kind::Mic) {
        player_ = std::make_unique<DrumNoisePlayer>();
        attachPlayer();
    }
    buildDrumInputChain(chain_, kDefaultRate, saturation_);
    setRate(kDefaultRate, 1);
    setGeometry();
    reset();
}

LightRotorModel::~LightRotorModel() = default;

void LightRotorModel::rateChanged() { chain_.setRate(rate_); }

void LightRotorModel::saturationChanged() { chain_.setSaturationAmount(saturation_); }

void LightRotorModel::signalCleared()
{
    staticLow_ = 0.0;
    lowBand_ = 0.0;
    chain_.clearState();
}

void LightRotorModel::setSplitterFrequency(double hz)
{
    splitFrequency_ = hz;
    updatePoles();
}

template <int Count, class V>
double LightRotorModel::run(double in)
{
    double y;
    if (kind_ == Kind::Mic) {
        const double sum = radiate<Count, true, V>(in);
        staticLow_ = staticLp_ + (staticLow_ - staticLp_) * splitPole_ + kFlush - kFlush;
        y = (staticLp_ - staticLow_) * staticRayGain_ + sum;
        lowBand_ = staticLow_ * lowStaticGain_ * gainSum_;
    } else {
        const double sum = radiate<Count, false, V>(in);
        y = staticLp_ * staticRayGain_ + sum;
    }
    feedNoise();
    return y;
}

template <class V>
double LightRotorModel::fromChain(double in)
{
    // Five rays towards a side wall, four in front.
    return rayCount_ == 5 ? run<5, V>(in) : run<4, V>(in);
}

double LightRotorModel::process(double x) { return fromChain<Double2>(chain_.processSaturated(x)); }

void LightRotorModel::feed(double x) { RadiationCore::feed(chain_.processSaturated(x)); }

template <class V>
void LightRotorModel::blockWith(const double* x, double* y, double* lowBand, double* noise, int n)
{
    // The input chain over the whole block first, then the rays.
    if (y != x) std::copy(x, x + n, y);
    chain_.processSaturatedBlock<V>(y, n);
    if (lowBand == nullptr || noise == nullptr) {
        for (int i = 0; i < n; ++i) y[i] = fromChain<V>(y[i]);
        return;
    }
    for (int i = 0; i < n; ++i) {
        y[i] = fromChain<V>(y[i]);
        lowBand[i] = lowBand_;
        noise[i] = noise_;
    }
}

ORV_WIDE_KERNEL void LightRotorModel::blockWide(const double* x, double* y, double* lowBand, double* noise, int n)
{
    blockWith<Double4>(x, y, lowBand, noise, n);
}

void LightRotorModel::processBlock(const double* x, double* y, double* lowBand, double* noise, int n)
{
    if (vectorPath::wide())
        blockWide(x, y, lowBand, noise, n);
    else
        blockWith<Double2>(x, y, lowBand, noise, n);
}

}  // namespace orv
