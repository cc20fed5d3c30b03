#include "engine/LightRotorModel.h"

namespace orv {

namespace {

constexpr double kDefaultRate = 44100.0;  // until the engine sets its rate

}  // namespace

LightRotorModel::LightRotorModel(Kind kind) : RadiationCore(kRaySet), kind_(kind) {
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

void LightRotorModel::signalCleared() {
    staticLow_ = 0.0;
    lowBand_ = 0.0;
    chain_.clearState();
}

void LightRotorModel::setSplitterFrequency(double hz) {
    splitFrequency_ = hz;
    updatePoles();
}

template <int Count>
double LightRotorModel::run(double x) {
    double y;
    if (kind_ == Kind::Mic) {
        const double sum = radiate<Count, true>(chain_.processSaturated(x));
        staticLow_ = staticLp_ + (staticLow_ - staticLp_) * splitPole_ + kFlush - kFlush;
        y = (staticLp_ - staticLow_) * staticRayGain_ + sum;
        lowBand_ = staticLow_ * lowStaticGain_ * gainSum_;
    } else {
        const double sum = radiate<Count, false>(chain_.processSaturated(x));
        y = staticLp_ * staticRayGain_ + sum;
    }
    feedNoise();
    return y;
}

double LightRotorModel::process(double x) {
    // Five rays towards a side wall, four in front.
    return rayCount_ == 5 ? run<5>(x) : run<4>(x);
}

void LightRotorModel::feed(double x) { RadiationCore::feed(chain_.processSaturated(x)); }

void LightRotorModel::processBlock(const double* x, double* y, double* lowBand, double* noise, int n) {
    if (lowBand == nullptr || noise == nullptr) {
        for (int i = 0; i < n; ++i) y[i] = process(x[i]);
        return;
    }
    for (int i = 0; i < n; ++i) {
        y[i] = process(x[i]);
        lowBand[i] = lowBand_;
        noise[i] = noise_;
    }
}

}  // namespace orv
