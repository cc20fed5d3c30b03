// Horn and drum models in a plain, known configuration, and the measurements the radiation
// tests make on them: a single-bin DFT, and amplitude and phase of a known carrier per period.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <span>
#include <vector>

#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"
#include "support/SignalMeasures.h"

namespace orv::test {

inline constexpr double kTestPi = 3.14159265358979323846;
inline constexpr double kRigRate = 48000.0;

// Microphone 1 m in front (or at theta), R = rFM = 0.2 m, n = 1, fade 1 m, p = 1, rotor at a
// fixed speed from the first sample.
template <class Model>
void setUpModel(Model& m, double speedHz, double theta = 0.0)
{
    m.motion().setSlowSpeed(static_cast<float>(speedHz));
    m.setMicAngle(theta);
    m.setMicDistance(1.0);
    m.setAmRadius(0.2);
    m.setFmRadius(0.2);
    m.setAttenuation(1.0);
    m.setAttenuationDistance(1.0);
    m.setDecayExponent(1.0);
    m.setRate(kRigRate, 1);
    m.setGeometry();
    m.reset();
}

template <class Model>
std::unique_ptr<Model> make(double speedHz, double theta = 0.0, typename Model::Kind kind = typename Model::Kind{})
{
    auto m = std::make_unique<Model>(kind);
    setUpModel(*m, speedHz, theta);
    return m;
}
inline auto makeHorn(double speedHz, double theta = 0.0, RotorModel::Kind kind = RotorModel::Kind::Mic1)
{
    return make<RotorModel>(speedHz, theta, kind);
}
inline auto makeDrum(double speedHz, double theta = 0.0, LightRotorModel::Kind kind = LightRotorModel::Kind::Mic)
{
    return make<LightRotorModel>(speedHz, theta, kind);
}

// Runs a sine of frequency f through the model: `skip` samples are discarded, `keep` returned
// (the model's output, or what `tap` reads after each sample).
template <class Model>
std::vector<double> renderSine(Model& m, double f, int skip, int keep, double (*tap)(Model&, double) = nullptr)
{
    std::vector<double> out;
    const double w = 2.0 * kTestPi * f / kRigRate;
    for (int n = 0; n < skip + keep; ++n) {
        const double y = m.process(0.1 * std::sin(w * n));
        if (n >= skip) out.push_back(tap != nullptr ? tap(m, y) : y);
    }
    return out;
}

inline double maxOf(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }
inline double minOf(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// Amplitude and (unwrapped) phase of the carrier f in consecutive blocks of one period
// (kRigRate / f samples, an integer).
struct Demodulated {
    std::vector<double> amplitude, phase;
};
inline Demodulated demodulate(const std::vector<double>& x, double f)
{
    const std::size_t period = static_cast<std::size_t>(kRigRate / f);
    Demodulated d;
    double offset = 0.0;
    for (std::size_t start = 0; start + period <= x.size(); start += period) {
        // A whole period from any start: the phase is that of a block starting at sample 0.
        const std::complex<double> acc = correlation(std::span(x).subspan(start, period), f, kRigRate);
        double p = std::arg(acc) + offset;
        for (; !d.phase.empty() && p - d.phase.back() > kTestPi; p -= 2.0 * kTestPi) offset -= 2.0 * kTestPi;
        for (; !d.phase.empty() && p - d.phase.back() < -kTestPi; p += 2.0 * kTestPi) offset += 2.0 * kTestPi;
        d.amplitude.push_back(2.0 * std::abs(acc) / static_cast<double>(period));
        d.phase.push_back(p);
    }
    return d;
}

}  // namespace orv::test
