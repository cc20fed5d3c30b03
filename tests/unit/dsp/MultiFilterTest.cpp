#include "dsp/MultiFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "FilterReference.h"

namespace orv {
namespace {

using test::measureGain;
using test::referenceDesign;
using test::response;
using test::toDb;

BiquadFilter designed(std::uint32_t type, double fs, double f0, double q, double gainDb)
{
    BiquadFilter f;
    f.sampleRate = fs;
    f.type = type;
    f.frequency = f0;
    f.q = q;
    f.gainDb = gainDb;
    f.enable();
    return f;
}

struct Section {
    std::uint32_t type;
    double f0, q, gainDb;
};

constexpr double fs = 44100;
constexpr Section chain[4] = {{8, 6000, 0.8, 0}, {4, 700, 4, -9}, {1, 80, 0.7, 0}, {7, 3000, 0.6, 5}};

MultiFilter fromChain(BiquadFilter (&f)[4])
{
    for (int k = 0; k < 4; ++k)
        f[k] = designed(chain[k].type, fs, chain[k].f0, chain[k].q, chain[k].gainDb);
    MultiFilter m;
    m.copyFrom(f[0], f[1], f[2], f[3]);
    return m;
}

TEST(MultiFilter, ConstructionClearsCoefficientsAndState)
{
    MultiFilter m;
    for (int k = 0; k < MultiFilter::stageCount; ++k) {
        for (double c : m.coefficient[k])
            EXPECT_EQ(c, 0.0);
        for (double s : m.state[k])
            EXPECT_EQ(s, 0.0);
        EXPECT_EQ(m.saturationOn[k], 0u);
        EXPECT_EQ(m.saturationCoefficient[k], 0.001);
        EXPECT_EQ(m.saturationBias[k], 0.0);
    }
    EXPECT_EQ(m.process(0.8), 0.0);  // all-zero numerators
}

TEST(MultiFilter, IdentityFiltersPassTheSignalUnchanged)
{
    BiquadFilter idle;  // disabled: identity design
    BiquadFilter zeroPeak = designed(BiquadFilter::typePeak, fs, 1000, 2, 0);
    MultiFilter m;
    m.copyFrom(idle, idle, idle, idle);
    MultiFilter n;
    n.copyFrom(zeroPeak, idle, zeroPeak, idle);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int i = 0; i < 2000; ++i) {
        const double x = u(rng);
        EXPECT_EQ(m.process(x), x);
        EXPECT_EQ(m.processSaturated(x), x);
        EXPECT_NEAR(n.process(x), x, 1e-12);
    }
}

TEST(MultiFilter, ResponseIsTheProductOfTheFourAnalyticSections)
{
    BiquadFilter f[4];
    for (double freq : {30.0, 100.0, 700.0, 2500.0, 6000.0, 12000.0}) {
        MultiFilter m = fromChain(f);
        const double measured = measureGain([&](double x) { return m.process(x); }, freq, fs);
        std::complex<double> h = 1.0;
        for (const Section& s : chain)
            h *= response(referenceDesign(s.type, fs, s.f0, s.q, s.gainDb), freq, fs);
        EXPECT_NEAR(toDb(measured), toDb(std::abs(h)), 0.01) << freq;
    }
}

TEST(MultiFilter, MatchesFourPlainSectionsInSeries)
{
    BiquadFilter f[4];
    MultiFilter m = fromChain(f);
    std::mt19937 rng(9);
    std::normal_distribution<double> noise;
    for (int i = 0; i < 5000; ++i) {
        const double x = noise(rng);
        double y = x;
        for (BiquadFilter& s : f)
            y = s.processPlain(y);
        ASSERT_NEAR(m.process(x), y, 1e-12) << i;
    }
    // The stage histories chain: a stage's input history is the previous stage's output history.
    for (int k = 1; k < 4; ++k) {
        EXPECT_EQ(m.state[k][MultiFilter::sIn], m.state[k - 1][MultiFilter::sOut]);
        EXPECT_EQ(m.state[k][MultiFilter::sX1], m.state[k - 1][MultiFilter::sY1]);
        EXPECT_EQ(m.state[k][MultiFilter::sX2], m.state[k - 1][MultiFilter::sY2]);
    }
}

TEST(MultiFilter, CopiesTheDesignNotTheGlidingSet)
{
    BiquadFilter f = designed(BiquadFilter::typePeak, fs, 500, 2, 6);
    f.snapOnUpdate = false;
    f.frequency = 4000;
    f.update();
    f.process(0.0);  // running set is now between the two designs
    ASSERT_NE(f.runB1, f.b1);
    BiquadFilter idle;
    MultiFilter m;
    m.copyFrom(idle, f, idle, idle);
    EXPECT_EQ(m.coefficient[1][MultiFilter::cB0], f.b0);
    EXPECT_EQ(m.coefficient[1][MultiFilter::cB1], f.b1);
    EXPECT_EQ(m.coefficient[1][MultiFilter::cB2], f.b2);
    EXPECT_EQ(m.coefficient[1][MultiFilter::cA1], f.a1);
    EXPECT_EQ(m.coefficient[1][MultiFilter::cA2], f.a2);
}

TEST(MultiFilter, SaturatedEqualsPlainWhenAllSwitchesAreOff)
{
    BiquadFilter f[4];
    MultiFilter a = fromChain(f);
    MultiFilter b = a;
    std::mt19937 rng(13);
    std::uniform_real_distribution<double> u(-4.0, 4.0);
    for (int i = 0; i < 5000; ++i) {
        const double x = u(rng);
        ASSERT_EQ(a.process(x), b.processSaturated(x)) << i;
    }
}

// Each switched-on stage squashes its own output before the next stage sees it; the same
// chain of four saturating BiquadFilters gives the same signal.
TEST(MultiFilter, SaturatedStagesMatchSaturatingSections)
{
    BiquadFilter f[4];
    for (int k = 0; k < 4; ++k) {
        f[k] = designed(chain[k].type, fs, chain[k].f0, chain[k].q, chain[k].gainDb);
        f[k].saturationBias = 0.03125;
        if (k != 2)
            f[k].setSaturation(0.4 + 0.3 * k);
    }
    MultiFilter m;
    m.copyFrom(f[0], f[1], f[2], f[3]);
    EXPECT_EQ(m.saturationOn[2], 0u);
    EXPECT_EQ(m.saturationOn[3], 1u);
    EXPECT_EQ(m.saturationCoefficient[1], f[1].saturationCoefficient);
    EXPECT_EQ(m.saturationBias[0], 0.03125);

    MultiFilter plain = m;
    double maxDiff = 0;
    for (int i = 0; i < 4000; ++i) {
        const double x = 3.0 * std::sin(0.02 * i);
        double y = x;
        for (BiquadFilter& s : f)
            y = s.processSaturated(y);
        const double got = m.processSaturated(x);
        ASSERT_NEAR(got, y, 1e-12 * (1 + std::fabs(y))) << i;
        maxDiff = std::max(maxDiff, std::fabs(got - plain.process(x)));
    }
    EXPECT_GT(maxDiff, 0.05);  // the saturation really acts at this level
}

TEST(MultiFilter, ClearStateRestartsFromSilence)
{
    BiquadFilter f[4];
    MultiFilter m = fromChain(f);
    MultiFilter fresh = m;
    for (int i = 0; i < 100; ++i)
        m.process(std::sin(0.1 * i));
    m.clearState();
    for (int i = 0; i < 50; ++i) {
        const double x = i == 0 ? 1.0 : 0.0;
        EXPECT_EQ(m.process(x), fresh.process(x));
    }
    m.clearCoefficients();
    EXPECT_EQ(m.process(1.0), 0.0);
}

// The 1e-17 flush keeps the decaying tail out of the denormal range. Rounding to the flush
// grid inside the low-frequency high-pass loop may leave a limit cycle near 1e-29, far below
// anything audible, but never a subnormal value.
TEST(MultiFilter, DecayNeverGoesDenormal)
{
    BiquadFilter f[4];
    MultiFilter m = fromChain(f);
    double y = m.process(1.0);
    for (int n = 0; n < 400000; ++n) {
        y = m.processSaturated(0.0);
        ASSERT_NE(std::fpclassify(y), FP_SUBNORMAL);
        for (int k = 0; k < 4; ++k)
            for (double s : m.state[k])
                ASSERT_NE(std::fpclassify(s), FP_SUBNORMAL);
    }
    EXPECT_LT(std::fabs(y), 1e-25);
}

}  // namespace
}  // namespace orv
