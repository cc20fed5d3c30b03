#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ModelRig.h"

namespace orv {
namespace {

using test::demodulate;
using test::dftMagnitude;
using test::kRigRate;
using test::makeHorn;
using test::renderSine;

constexpr double kTone = 1000.0;   // Hz
constexpr int kTonePeriod = 48;     // samples of the tone at 48 kHz

double maxOf(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }
double minOf(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// Mean absolute difference between the envelope and itself shifted by `lag` blocks.
double shiftedDifference(const std::vector<double>& e, int lag, int count) {
    double sum = 0.0;
    for (int j = 0; j < count; ++j) sum += std::fabs(e[j + lag] - e[j]);
    return sum / count;
}

// A steady tone through a horn turning at 4 Hz: every output component lies on 1 kHz ± a
// multiple of 4 Hz, with strong first sidebands; frequencies between them are empty.
TEST(HornModel, DopplerSidebandsAtTheRotationFrequency) {
    auto m = makeHorn(4.0);
    const std::vector<double> y = renderSine(*m, kTone, 48000, 96000);  // 2 s: 0.5 Hz bins
    const double carrier = dftMagnitude(y, kTone, kRigRate);
    const double lower = dftMagnitude(y, kTone - 4.0, kRigRate);
    const double upper = dftMagnitude(y, kTone + 4.0, kRigRate);
    const double strongest = std::max({carrier, lower, upper});
    EXPECT_GT(lower, 0.1 * strongest);
    EXPECT_GT(upper, 0.1 * strongest);
    EXPECT_GT(dftMagnitude(y, kTone + 8.0, kRigRate), 0.01 * strongest);
    for (double off : {-6.0, -2.0, -1.0, 1.5, 2.0, 6.0}) {
        SCOPED_TRACE(off);
        EXPECT_LT(dftMagnitude(y, kTone + off, kRigRate), 1e-6 * strongest);
    }
}

// The Doppler read swings the path by ±rFM: a 1 kHz tone's phase swings by 2·ω·rFM/c peak to
// peak, and doubling the radius adds exactly the difference (the direction filters' own phase
// is the same for both radii and cancels).
TEST(HornModel, DopplerPhaseSwingFollowsTheFmRadius) {
    auto swing = [](double fmRadius) {
        auto m = makeHorn(4.0);
        m->setReflectionCoefficient(0.0);  // direct ray only
        m->setStaticRayGain(0.0);
        m->setAmplitudeClip(100.0);        // constant ray gain: no amplitude modulation
        m->setFmRadius(fmRadius);
        const std::vector<double> y = renderSine(*m, kTone, 24000, 12000);  // one turn
        const auto d = demodulate(y, kTone, kRigRate, kTonePeriod);
        return maxOf(d.phase) - minOf(d.phase);
    };
    const double omegaOverC = 2.0 * test::kTestPi * kTone / 340.29;
    const double wide = swing(0.25), narrow = swing(0.125);
    // The swing is at least the Doppler part (the filters add their own phase on top).
    EXPECT_GT(narrow, 2.0 * omegaOverC * 0.125);
    EXPECT_NEAR(wide - narrow, 2.0 * omegaOverC * 0.125, 0.03 * 2.0 * omegaOverC * 0.125);
}

// The envelope of the tone repeats after exactly one turn and not after any shorter whole
// fraction of it, at two speeds.
TEST(HornModel, AmplitudeModulationPeriodIsTheRotationPeriod) {
    for (double speed : {2.0, 4.0}) {
        SCOPED_TRACE(speed);
        auto m = makeHorn(speed);
        m->setReflectionCoefficient(0.0);
        m->setStaticRayGain(0.0);
        m->setAmplitudeClip(0.0);
        const int blocksPerTurn = static_cast<int>(kRigRate / speed) / kTonePeriod;
        const std::vector<double> y = renderSine(*m, kTone, 48000, 2 * blocksPerTurn * kTonePeriod);
        const auto e = demodulate(y, kTone, kRigRate, kTonePeriod).amplitude;
        const double range = maxOf(e) - minOf(e);
        EXPECT_GT(range, 0.2 * maxOf(e));  // clearly modulated
        EXPECT_LT(shiftedDifference(e, blocksPerTurn, blocksPerTurn), 1e-6 * range);
        for (int k = 2; k <= 6; ++k)
            EXPECT_GT(shiftedDifference(e, blocksPerTurn / k, blocksPerTurn), 0.03 * range) << "1/" << k;
    }
}

// With the reflection coefficient at 0 only the direct ray and the static ray are heard: the
// same as silencing every reflected ray and the Z-axis part by their own gains.
TEST(HornModel, ReflectionCoefficientZeroLeavesDirectAndStatic) {
    for (double theta : {0.0, 0.2}) {  // front variant and a side variant (eleven rays)
        SCOPED_TRACE(theta);
        auto zeroC = makeHorn(3.0, theta);
        zeroC->setReflectionCoefficient(0.0);
        auto silenced = makeHorn(3.0, theta);
        silenced->setReflectionCoefficient(0.9);
        for (int ray = RotorModel::kRay2BackSides; ray < RotorModel::kRayGainCount; ++ray)
            silenced->setRayGain(ray, 0.0);
        silenced->setZAxisGain(0.0);
        auto full = makeHorn(3.0, theta);
        full->setReflectionCoefficient(0.9);

        const auto a = renderSine(*zeroC, 700.0, 0, 30000);
        const auto b = renderSine(*silenced, 700.0, 0, 30000);
        const auto c = renderSine(*full, 700.0, 0, 30000);
        double diff = 0.0, other = 0.0, peak = 0.0;
        for (std::size_t n = 0; n < a.size(); ++n) {
            diff = std::max(diff, std::fabs(a[n] - b[n]));
            other = std::max(other, std::fabs(a[n] - c[n]));
            peak = std::max(peak, std::fabs(a[n]));
        }
        EXPECT_GT(peak, 0.0);
        EXPECT_LE(diff, 1e-12 * peak);
        EXPECT_GT(other, 0.05 * peak);  // the reflections are really there otherwise
    }
    // Without the direct and static rays nothing is left at all.
    auto m = makeHorn(3.0);
    m->setReflectionCoefficient(0.0);
    m->setRayGain(RotorModel::kRay1Front, 0.0);
    m->setStaticRayGain(0.0);
    for (double v : renderSine(*m, 700.0, 0, 5000)) ASSERT_EQ(v, 0.0);
}

// A stopped horn is a fixed filter: the tone comes out with a constant envelope, and its level
// depends on where the horn stopped.
TEST(HornModel, StoppedRotorIsAStaticMixThatDependsOnTheAngle) {
    auto level = [](double angle) {
        auto m = makeHorn(0.0);
        m->motion().setAngle(angle);
        m->reset();
        const auto e = demodulate(renderSine(*m, kTone, 24000, 9600), kTone, kRigRate, kTonePeriod).amplitude;
        EXPECT_LT(maxOf(e) - minOf(e), 1e-6 * maxOf(e));
        return maxOf(e);
    };
    const double facing = level(0.0), away = level(0.5);
    EXPECT_GT(std::fabs(20.0 * std::log10(facing / away)), 3.0);
}

// "Horn Amplitude Clip" at 1 keeps every ray gain at or above 1, which takes out most of the
// distance-driven modulation.
TEST(HornModel, AmplitudeClipFlattensTheModulation) {
    auto depth = [](double clip) {
        auto m = makeHorn(4.0);
        m->setReflectionCoefficient(0.0);
        m->setStaticRayGain(0.0);
        m->setAmplitudeClip(clip);
        const auto e = demodulate(renderSine(*m, kTone, 24000, 12000), kTone, kRigRate, kTonePeriod).amplitude;
        return maxOf(e) / minOf(e);
    };
    EXPECT_LT(depth(1.0), depth(0.0));
}

TEST(HornModel, ResetClearsTheSoundAndKeepsTheAngle) {
    auto m = makeHorn(5.0);
    renderSine(*m, kTone, 0, 20000);
    const double angle = m->angle();
    m->reset();
    EXPECT_EQ(m->angle(), angle);
    for (int n = 0; n < 2000; ++n) ASSERT_EQ(m->process(0.0), 0.0) << n;
}

// The microphone models drive their noise player with the microphone angle, the rotor speed
// and the static-ray level × the base gain; the leak model has none.
TEST(HornModel, MotorNoiseFeed) {
    auto m = makeHorn(6.0, 0.1);
    m->loadRecordings();
    m->setNoiseLevels(5.0, 6.0, 2.0);
    m->setNoiseBaseGain(0.5);
    double energy = 0.0;
    for (int n = 0; n < 20000; ++n) {
        m->process(0.0);
        energy += m->noiseOutput() * m->noiseOutput();
    }
    EXPECT_GT(energy, 0.0);
    HornNoisePlayer* p = m->noisePlayer();
    ASSERT_NE(p, nullptr);
    EXPECT_DOUBLE_EQ(p->micAngle, 0.1);
    EXPECT_DOUBLE_EQ(p->rate, m->motion().step());
    EXPECT_NEAR(p->rate, 6.0 / kRigRate, 1e-15);
    EXPECT_GT(p->outputGain, 0.0);
    m->setNoiseBaseGain(0.0);
    m->process(0.0);
    EXPECT_EQ(p->outputGain, 0.0);

    auto leak = makeHorn(6.0, 0.0, RotorModel::Kind::Leak);
    leak->loadRecordings();
    EXPECT_EQ(leak->noisePlayer(), nullptr);
    const auto y = renderSine(*leak, kTone, 0, 5000);
    EXPECT_GT(maxOf(y), 0.0);
    EXPECT_EQ(leak->noiseOutput(), 0.0);
}

// Running the two microphone models as a pair gives exactly what two single calls give.
TEST(HornModel, PairProcessingEqualsSingleCalls) {
    auto a1 = makeHorn(6.7, 0.2, RotorModel::Kind::Mic1), b1 = makeHorn(6.7, -0.1, RotorModel::Kind::Mic2);
    auto a2 = makeHorn(6.7, 0.2, RotorModel::Kind::Mic1), b2 = makeHorn(6.7, -0.1, RotorModel::Kind::Mic2);
    for (auto* m : {a1.get(), b1.get(), a2.get(), b2.get()}) m->setMicDistance(1.3);
    for (auto* m : {a1.get(), b1.get(), a2.get(), b2.get()}) {
        m->setGeometry();
        m->reset();
    }
    for (int n = 0; n < 20000; ++n) {
        const double x = 0.3 * std::sin(0.0577 * n) + 0.05 * std::sin(0.71 * n);
        double ya = 0.0, yb = 0.0;
        RotorModel::processPair(*a2, *b2, x, ya, yb);
        ASSERT_EQ(ya, a1->process(x)) << n;
        ASSERT_EQ(yb, b1->process(x)) << n;
    }
}

// The leak model hears the direct ray, the back-wall and side-wall rays and the static ray.
TEST(HornModel, LeakModelUsesItsReducedRaySet) {
    auto leak = makeHorn(2.0, 0.0, RotorModel::Kind::Leak);
    ASSERT_EQ(leak->rayCount(), RotorModel::kLeakRays);
    EXPECT_EQ(leak->raySource(0), 0);
    EXPECT_EQ(leak->raySource(1), 1);
    EXPECT_EQ(leak->raySource(2), 6);
    leak->setReflectionCoefficient(0.0);
    leak->setRayGain(RotorModel::kRay1Front, 0.0);
    leak->setStaticRayGain(0.0);
    for (double v : renderSine(*leak, kTone, 0, 3000)) ASSERT_EQ(v, 0.0);
}

}  // namespace
}  // namespace orv
