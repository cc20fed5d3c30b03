#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "ModelRig.h"

namespace orv {
namespace {

using test::demodulate;
using test::kRigRate;
using test::makeDrum;

double maxOf(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }
double minOf(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// Runs a sine through the drum model and returns the low band offered beside the output.
std::vector<double> renderLowBand(LightRotorModel& m, double f, int skip, int keep) {
    std::vector<double> out;
    const double w = 2.0 * test::kTestPi * f / kRigRate;
    for (int n = 0; n < skip + keep; ++n) {
        m.process(0.1 * std::sin(w * n));
        if (n >= skip) out.push_back(m.staticLowBand());
    }
    return out;
}

// The low band follows the static ray only: it does not turn with the drum, and it scales
// with "Drum LP Static Gain" and with the sum of the ray gains in use.
TEST(DrumModel, StaticLowBandIsUnmodulatedAndScaled) {
    constexpr double kLow = 40.0;      // Hz
    constexpr int kPeriod = 1200;      // samples of 40 Hz
    auto m = makeDrum(1.0);            // front variant: rays 0, 3, 4, 5
    ASSERT_EQ(m->variant(), 1);
    m->setLowStaticGain(1.0);
    for (int r = 0; r < LightRotorModel::kRayGainCount; ++r) m->setRayGain(r, 0.25);
    const auto e = demodulate(renderLowBand(*m, kLow, 24000, 48000), kLow, kRigRate, kPeriod).amplitude;
    EXPECT_GT(maxOf(e), 0.0);
    EXPECT_LT(maxOf(e) - minOf(e), 1e-6 * maxOf(e));
    const double quarter = maxOf(e);  // sum of gains in use: 4 × 0.25

    m->setRayGain(LightRotorModel::kRay1Front, 1.0);  // sum 1.75
    m->setLowStaticGain(0.5);
    const auto e2 = demodulate(renderLowBand(*m, kLow, 24000, 12000), kLow, kRigRate, kPeriod).amplitude;
    EXPECT_NEAR(maxOf(e2), quarter * 1.75 * 0.5, 1e-6 * quarter);

    // On the side next to side wall A the extra side ray counts with "Drum Ray 2".
    auto side = makeDrum(1.0, -0.2);
    ASSERT_EQ(side->variant(), 0);
    ASSERT_EQ(side->rayCount(), 5);
    side->setLowStaticGain(1.0);
    for (int r = 0; r < LightRotorModel::kRayGainCount; ++r) side->setRayGain(r, 0.25);
    const double fiveRays = maxOf(renderLowBand(*side, kLow, 24000, 12000));
    side->setRayGain(LightRotorModel::kRay2BackSides, 0.0);  // two of the five rays
    const double threeRays = maxOf(renderLowBand(*side, kLow, 24000, 12000));
    EXPECT_NEAR(threeRays / fiveRays, 3.0 / 5.0, 1e-3);
}

// The low band is the static ray through the splitter's one-pole low-pass: moving the
// splitter changes the low band's level at a given frequency exactly as the one-pole's
// response (1 − p) / |1 − p·e^(−jω)| with p = exp(−2π f / rate) says.
TEST(DrumModel, SplitterSeparatesTheLowBand) {
    constexpr double kHigh = 2000.0;  // Hz
    constexpr int kPeriod = 24;       // samples of 2 kHz
    auto level = [](double splitHz, double f, int period) {
        auto m = makeDrum(1.0);
        m->setLowStaticGain(1.0);
        m->setSplitterFrequency(splitHz);
        return maxOf(demodulate(renderLowBand(*m, f, 24000, 9600), f, kRigRate, period).amplitude);
    };
    auto onePole = [](double splitHz, double f) {
        const double p = std::exp(-2.0 * test::kTestPi * splitHz / kRigRate);
        const double w = 2.0 * test::kTestPi * f / kRigRate;
        return (1.0 - p) / std::abs(std::complex<double>(1.0, 0.0) - p * std::polar(1.0, -w));
    };
    EXPECT_NEAR(level(400.0, kHigh, kPeriod) / level(100.0, kHigh, kPeriod),
                onePole(400.0, kHigh) / onePole(100.0, kHigh), 1e-3);
    // With the splitter at 100 Hz, 100 Hz is carried far better than 2 kHz.
    EXPECT_GT(level(100.0, 100.0, 480), 20.0 * level(100.0, kHigh, kPeriod));
}

TEST(DrumModel, AmplitudeModulationPeriodIsTheRotationPeriod) {
    constexpr double kTone = 800.0;   // Hz: below the input chain's low-pass
    constexpr int kPeriod = 60;       // samples of 800 Hz
    auto m = makeDrum(1.6);           // 30000 samples = 500 blocks per turn
    m->setStaticRayGain(0.0);
    const int blocks = 500;
    const auto y = test::renderSine(*m, kTone, 48000, 2 * blocks * kPeriod);
    const auto e = demodulate(y, kTone, kRigRate, kPeriod).amplitude;
    const double range = maxOf(e) - minOf(e);
    EXPECT_GT(range, 0.1 * maxOf(e));
    double same = 0.0, half = 0.0;
    for (int j = 0; j < blocks; ++j) {
        same += std::fabs(e[j + blocks] - e[j]);
        half += std::fabs(e[j + blocks / 2] - e[j]);
    }
    EXPECT_LT(same / blocks, 1e-6 * range);
    EXPECT_GT(half / blocks, 0.03 * range);
}

TEST(DrumModel, ReflectionCoefficientZeroLeavesDirectAndStatic) {
    auto a = makeDrum(1.0, -0.2);
    a->setReflectionCoefficient(0.0);
    a->setStaticRayGain(0.5);
    auto b = makeDrum(1.0, -0.2);
    b->setReflectionCoefficient(0.8);
    b->setStaticRayGain(0.5);
    for (int r = LightRotorModel::kRay2BackSides; r < LightRotorModel::kRayGainCount; ++r) b->setRayGain(r, 0.0);
    const auto ya = test::renderSine(*a, 500.0, 0, 20000);
    const auto yb = test::renderSine(*b, 500.0, 0, 20000);
    double peak = 0.0;
    for (std::size_t n = 0; n < ya.size(); ++n) {
        peak = std::max(peak, std::fabs(ya[n]));
        ASSERT_NEAR(ya[n], yb[n], 1e-12 * std::max(peak, 1e-3)) << n;
    }
    EXPECT_GT(peak, 0.0);
}

// The leak model has no player and offers no low band; its rays carry the whole band.
TEST(DrumModel, LeakModelHasNoSplitterAndNoPlayer) {
    auto leak = makeDrum(1.0, 0.0, LightRotorModel::Kind::Leak);
    leak->loadRecordings();
    leak->setLowStaticGain(1.0);
    EXPECT_EQ(leak->noisePlayer(), nullptr);
    const auto low = renderLowBand(*leak, 40.0, 0, 20000);
    EXPECT_EQ(maxOf(low), 0.0);
    EXPECT_EQ(minOf(low), 0.0);
    // A 25 Hz tone gets through the rays of the leak (split off in the microphone model).
    auto mic = makeDrum(1.0);
    for (auto* m : {leak.get(), mic.get()}) m->setStaticRayGain(0.0);
    const double leakLevel = maxOf(test::renderSine(*leak, 25.0, 48000, 9600));
    const double micLevel = maxOf(test::renderSine(*mic, 25.0, 48000, 9600));
    EXPECT_GT(leakLevel, 2.5 * micLevel);
}

TEST(DrumModel, MotorNoiseFeed) {
    auto m = makeDrum(0.8, 0.1);
    m->loadRecordings();
    m->setNoiseLevels(0.7, 1.0, 0.1);
    m->setNoiseBaseGain(1.0);
    double energy = 0.0;
    for (int n = 0; n < 20000; ++n) {
        m->process(0.0);
        energy += m->noiseOutput() * m->noiseOutput();
    }
    EXPECT_GT(energy, 0.0);
    DrumNoisePlayer* p = m->noisePlayer();
    ASSERT_NE(p, nullptr);
    EXPECT_DOUBLE_EQ(p->micAngle, 0.1);
    EXPECT_DOUBLE_EQ(p->rate, m->motion().step());
    EXPECT_NEAR(p->rate, 0.8 / kRigRate, 1e-12);
    EXPECT_DOUBLE_EQ(p->micDistance, 1.0);
}

}  // namespace
}  // namespace orv
