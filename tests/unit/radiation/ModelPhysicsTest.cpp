// What a rotating source does to a steady tone, on the horn and drum models themselves:
// Doppler sidebands at the rotation frequency (the sound repeats once per turn), the rays the
// reflection coefficient controls; then what only one of the two has. (Resets, the
// leak models and the motor noise are held by the model golden.)

#include <gtest/gtest.h>

#include "ModelRig.h"

namespace orv::test {
namespace {

// The tone (a whole number of samples per period; the drum's below its input chain's low-pass)
// and a microphone angle of a side variant.
struct Horn {
    using Model = RotorModel;
    static constexpr double kTone = 1000.0, kSideTheta = 0.2;
};
struct Drum {
    using Model = LightRotorModel;
    static constexpr double kTone = 800.0, kSideTheta = -0.2;
};

// Only the direct ray, without the horn's amplitude floor.
template <class Model>
void directOnly(Model& m)
{
    m.setReflectionCoefficient(0.0);
    m.setStaticRayGain(0.0);
    if constexpr (std::is_same_v<Model, RotorModel>) m.setAmplitudeClip(0.0);
}

template <class T>
class RotorPhysics : public testing::Test {};
using Rotors = testing::Types<Horn, Drum>;
TYPED_TEST_SUITE(RotorPhysics, Rotors);

// Turning at 4 Hz, every output component lies on the tone ± a multiple of 4 Hz, with strong
// first sidebands; the frequencies between them are empty: the sound repeats once per turn,
// and after no shorter time.
TYPED_TEST(RotorPhysics, DopplerSidebandsAtTheRotationFrequency)
{
    const double f = TypeParam::kTone;
    auto m = make<typename TypeParam::Model>(4.0);
    const std::vector<double> y = renderSine(*m, f, 48000, 96000);  // 2 s: 0.5 Hz bins
    auto dftMagnitude = [&y](double hz) { return amplitudeAt(y, hz, kRigRate); };
    const double lower = dftMagnitude(f - 4.0), upper = dftMagnitude(f + 4.0);
    const double strongest = std::max({dftMagnitude(f), lower, upper});
    EXPECT_GT(lower, 0.1 * strongest);
    EXPECT_GT(upper, 0.1 * strongest);
    EXPECT_GT(dftMagnitude(f + 8.0), 0.01 * strongest);
    for (double off : {-6.0, -2.0, -1.0, 1.5, 2.0, 6.0}) EXPECT_LT(dftMagnitude(f + off), 1e-6 * strongest) << off;
}

// With the reflection coefficient at 0 only the direct and the static ray are heard: the same
// as silencing every reflected ray by its own gain, and nothing without those two.
TYPED_TEST(RotorPhysics, ReflectionCoefficientZeroLeavesDirectAndStatic)
{
    using Model = typename TypeParam::Model;
    for (double theta : {0.0, TypeParam::kSideTheta}) {  // front variant and a side variant
        auto zeroC = make<Model>(3.0, theta), silenced = make<Model>(3.0, theta), full = make<Model>(3.0, theta);
        zeroC->setReflectionCoefficient(0.0);
        silenced->setReflectionCoefficient(0.9);
        for (int ray = Model::kRay2BackSides; ray < Model::kRayGainCount; ++ray) silenced->setRayGain(ray, 0.0);
        if constexpr (std::is_same_v<Model, RotorModel>) silenced->setZAxisGain(0.0);  // and the Z-axis part
        full->setReflectionCoefficient(0.9);
        const auto a = renderSine(*zeroC, 700.0, 0, 30000), b = renderSine(*silenced, 700.0, 0, 30000),
                   c = renderSine(*full, 700.0, 0, 30000);
        double diff = 0.0, other = 0.0, peak = 0.0;
        for (std::size_t n = 0; n < a.size(); ++n) {
            diff = std::max(diff, std::fabs(a[n] - b[n]));
            other = std::max(other, std::fabs(a[n] - c[n]));
            peak = std::max(peak, std::fabs(a[n]));
        }
        EXPECT_GT(peak, 0.0);
        EXPECT_LE(diff, 1e-12 * peak) << theta;
        EXPECT_GT(other, 0.05 * peak) << theta;  // the reflections are really there otherwise
    }
    auto m = make<Model>(3.0);
    directOnly(*m);
    m->setRayGain(Model::kRay1Front, 0.0);
    for (double v : renderSine(*m, 700.0, 0, 5000)) ASSERT_EQ(v, 0.0);
}

// Also where reads reach farther back after the reset (a farther microphone): the rings are
// cleared only as far as the reads reached at the time.
TYPED_TEST(RotorPhysics, ResetClearsTheSoundAndKeepsTheAngle)
{
    auto m = make<typename TypeParam::Model>(5.0);
    renderSine(*m, TypeParam::kTone, 0, 20000);
    const double angle = m->angle();
    m->reset();
    EXPECT_EQ(m->angle(), angle);
    m->setMicDistance(4.0);
    m->setGeometry();
    for (int n = 0; n < 2000; ++n) ASSERT_EQ(m->process(0.0), 0.0) << n;
}

// The Doppler read swings the path by ±rFM: a 1 kHz tone's phase swings by 2·ω·rFM/c peak to
// peak, and doubling the radius adds exactly that difference (the direction filters' own
// phase is the same for both radii and cancels).
TEST(HornPhysics, DopplerPhaseSwingFollowsTheFmRadius)
{
    auto swing = [](double fmRadius) {
        auto m = makeHorn(4.0);
        directOnly(*m);
        m->setAmplitudeClip(100.0);  // constant ray gain: no amplitude modulation
        m->setFmRadius(fmRadius);
        const auto phase = demodulate(renderSine(*m, 1000.0, 24000, 12000), 1000.0).phase;  // one turn
        return maxOf(phase) - minOf(phase);
    };
    const double expected = 2.0 * (2.0 * kTestPi * 1000.0 / 340.29) * 0.125;
    const double wide = swing(0.25), narrow = swing(0.125);
    EXPECT_GT(narrow, expected);  // the filters add their own phase on top
    EXPECT_NEAR(wide - narrow, expected, 0.03 * expected);
}

// A stopped horn is a fixed filter whose level depends on where it stopped; "Horn Amplitude
// Clip" at 1 keeps every ray gain at or above 1, which flattens the distance modulation.
TEST(HornPhysics, StoppedRotorAndAmplitudeClip)
{
    auto level = [](double angle) {
        auto m = makeHorn(0.0);
        m->motion().setAngle(angle);
        m->reset();
        const auto e = demodulate(renderSine(*m, 1000.0, 24000, 9600), 1000.0).amplitude;
        EXPECT_LT(maxOf(e) - minOf(e), 1e-6 * maxOf(e));
        return maxOf(e);
    };
    EXPECT_GT(std::fabs(20.0 * std::log10(level(0.0) / level(0.5))), 3.0);
    auto depth = [](double clip) {
        auto m = makeHorn(4.0);
        directOnly(*m);
        m->setAmplitudeClip(clip);
        const auto e = demodulate(renderSine(*m, 1000.0, 24000, 12000), 1000.0).amplitude;
        return maxOf(e) / minOf(e);
    };
    EXPECT_LT(depth(1.0), depth(0.0));
}

double lowBand(LightRotorModel& m, double) { return m.staticLowBand(); }

// The low band follows the static ray only: it does not turn with the drum, and it scales with
// "Drum LP Static Gain" and the sum of the ray gains in use (front variant: four rays; next to
// side wall A five, two of them on "Drum Ray 2").
TEST(DrumPhysics, StaticLowBandIsUnmodulatedAndScaled)
{
    auto level = [](double theta, double lowGain, int ray, double rayGain) {
        auto m = makeDrum(1.0, theta);
        m->setLowStaticGain(lowGain);
        for (int r = 0; r < LightRotorModel::kRayGainCount; ++r) m->setRayGain(r, r == ray ? rayGain : 0.25);
        const auto e = demodulate(renderSine(*m, 40.0, 24000, 48000, lowBand), 40.0).amplitude;
        EXPECT_LT(maxOf(e) - minOf(e), 1e-6 * maxOf(e));
        return maxOf(e);
    };
    const double quarter = level(0.0, 1.0, -1, 0.0);  // gains summing to 4 × 0.25
    EXPECT_GT(quarter, 0.0);
    EXPECT_NEAR(level(0.0, 0.5, LightRotorModel::kRay1Front, 1.0), quarter * 1.75 * 0.5, 1e-6 * quarter);
    EXPECT_NEAR(level(-0.2, 1.0, LightRotorModel::kRay2BackSides, 0.0) / level(-0.2, 1.0, -1, 0.0), 3.0 / 5.0, 1e-3);
}

// The low band is the static ray through the splitter's one-pole low-pass: moving the splitter
// changes its level as (1 − p) / |1 − p·e^(−jω)| with p = exp(−2π f / rate) says.
TEST(DrumPhysics, SplitterSeparatesTheLowBand)
{
    auto level = [](double splitHz, double f) {
        auto m = makeDrum(1.0);
        m->setLowStaticGain(1.0);
        m->setSplitterFrequency(splitHz);
        return maxOf(demodulate(renderSine(*m, f, 24000, 9600, lowBand), f).amplitude);
    };
    auto onePole = [](double splitHz, double f) {
        const double p = std::exp(-2.0 * kTestPi * splitHz / kRigRate);
        return (1.0 - p) / std::abs(1.0 - p * std::polar(1.0, -2.0 * kTestPi * f / kRigRate));
    };
    EXPECT_NEAR(level(400.0, 2000.0) / level(100.0, 2000.0), onePole(400.0, 2000.0) / onePole(100.0, 2000.0), 1e-3);
    EXPECT_GT(level(100.0, 100.0), 20.0 * level(100.0, 2000.0));
}

// Every model stays finite for microphones anywhere around the cabinet, at every distance the
// parameters allow (0.3 m for horn microphone 2 up to 1.98 m), both flip signs and both radius
// extremes.
TEST(RadiationRobustness, FiniteOutputForEveryPlacement)
{
    auto horn = makeHorn(7.0), leak = makeHorn(7.0, 0.0, RotorModel::Kind::Leak);
    auto drum = makeDrum(6.0), drumLeak = makeDrum(6.0, 0.0, LightRotorModel::Kind::Leak);
    auto place = [](auto& m, double direction, double radius, double distance, double theta) {
        m.setDirection(direction);
        m.setMicAngle(theta);
        m.setMicDistance(distance);
        m.setAmRadius(radius);
        m.setFmRadius(radius);
        m.setGeometry();
        m.reset();
    };
    for (double direction : {1.0, -1.0})
        for (double radius : {0.125, 0.25})
            for (double distance : {0.3, 0.35, 0.62, 0.86, 1.1, 1.65, 1.98})
                for (double theta = -0.5; theta < 0.52; theta += 0.05) {
                    place(*horn, direction, radius, distance, theta);
                    place(*leak, direction, radius, distance, theta);
                    place(*drum, direction, radius, distance, theta);
                    place(*drumLeak, direction, radius, distance, theta);
                    double sum = 0.0;
                    for (int n = 0; n < 600; ++n) {
                        const double x = 0.5 * std::sin(0.07 * n);
                        sum += horn->process(x) + leak->process(x) + drum->process(x) + drumLeak->process(x) +
                            drum->staticLowBand();
                    }
                    ASSERT_TRUE(std::isfinite(sum)) << "theta " << theta << " distance " << distance << " radius "
                                                    << radius << " direction " << direction;
                }
}

}  // namespace
}  // namespace orv::test
