// Builds horn and drum models in a plain, known configuration for the signal tests.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "SignalTools.h"
#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"

namespace orv::test {

inline constexpr double kRigRate = 48000.0;

// Microphone 1 m in front (or at theta), R = rFM = 0.2 m, n = 1, fade 1 m, p = 1, rotor at a
// fixed speed from the first sample.
template <class Model>
void setUpModel(Model& m, double speedHz, double theta = 0.0, double rate = kRigRate) {
    m.motion().setSlowSpeed(static_cast<float>(speedHz));
    m.setMicAngle(theta);
    m.setMicDistance(1.0);
    m.setAmRadius(0.2);
    m.setFmRadius(0.2);
    m.setAttenuation(1.0);
    m.setAttenuationDistance(1.0);
    m.setDecayExponent(1.0);
    m.setRate(rate, 1);
    m.setGeometry();
    m.reset();
}

inline std::unique_ptr<RotorModel> makeHorn(double speedHz, double theta = 0.0,
                                            RotorModel::Kind kind = RotorModel::Kind::Mic1) {
    auto m = std::make_unique<RotorModel>(kind);
    setUpModel(*m, speedHz, theta);
    return m;
}

inline std::unique_ptr<LightRotorModel> makeDrum(double speedHz, double theta = 0.0,
                                                 LightRotorModel::Kind kind = LightRotorModel::Kind::Mic) {
    auto m = std::make_unique<LightRotorModel>(kind);
    setUpModel(*m, speedHz, theta);
    return m;
}

// Runs a sine of frequency f through the model: `skip` samples are discarded, `keep` returned.
template <class Model>
std::vector<double> renderSine(Model& m, double f, int skip, int keep, double amplitude = 0.1) {
    std::vector<double> out;
    out.reserve(keep);
    const double w = 2.0 * kTestPi * f / kRigRate;
    for (int n = 0; n < skip + keep; ++n) {
        const double y = m.process(amplitude * std::sin(w * n));
        if (n >= skip) out.push_back(y);
    }
    return out;
}

}  // namespace orv::test
