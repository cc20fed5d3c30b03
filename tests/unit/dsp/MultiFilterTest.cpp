#include "dsp/MultiFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "FilterReference.h"

namespace orv {
namespace {

using test::designed;

struct Section {
    std::uint32_t type;
    double f0, q, gainDb, saturation;
};

constexpr double fs = 44100;
constexpr Section chain[4] = {
    {8, 6000, 0.8, 0, 0.4}, {4, 700, 4, -9, 0.7}, {1, 80, 0.7, 0, 0.0}, {7, 3000, 0.6, 5, 1.3}};

// The four sections of `chain`, saturating by their amounts when asked, and a cascade of them.
MultiFilter fromChain(BiquadFilter (&f)[4], bool saturating)
{
    for (int k = 0; k < 4; ++k) {
        f[k] = designed(chain[k].type, fs, chain[k].f0, chain[k].q, chain[k].gainDb);
        f[k].setSaturationBias(0.03125);
        f[k].setSaturation(saturating ? chain[k].saturation : 0.0);
    }
    MultiFilter m;
    m.copyFrom(f[0], f[1], f[2], f[3]);
    return m;
}

// Each stage is its section's plain direct form; a switched-on stage squashes its own output
// before the next stage sees it, as the section's saturating process does.
TEST(MultiFilter, MatchesFourSectionsInSeries)
{
    for (bool saturating : {false, true}) {
        BiquadFilter f[4];
        MultiFilter m = fromChain(f, saturating), unsquashed = m;
        std::mt19937 rng(9);
        std::normal_distribution<double> noise;
        double squashing = 0;
        for (int i = 0; i < 5000; ++i) {
            const double x = 3.0 * noise(rng);
            double y = x;
            for (BiquadFilter& s : f) y = saturating ? s.processSaturated(y) : s.processPlain(y);
            const double got = m.processSaturated(x);
            ASSERT_NEAR(got, y, 1e-12 * (1 + std::fabs(y))) << saturating << " " << i;
            squashing = std::max(squashing, std::fabs(got - unsquashed.process(x)));
        }
        if (saturating)
            EXPECT_GT(squashing, 0.05);  // the saturation really acts at this level
        else
            EXPECT_EQ(squashing, 0.0);  // without it both processes are the same
    }
}

TEST(MultiFilter, CopiesTheDesignNotTheGlidingSet)
{
    BiquadFilter gliding = designed(BiquadFilter::typePeak, fs, 500, 2, 6), idle;
    gliding.setSnapOnUpdate(false);
    gliding.setFrequency(4000);
    gliding.update();
    gliding.process(0.0);  // the running set is now between the two designs
    BiquadFilter landed = designed(BiquadFilter::typePeak, fs, 4000, 2, 6);
    MultiFilter a, b;
    a.copyFrom(idle, gliding, idle, idle);
    b.copyFrom(idle, landed, idle, idle);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(a.process(i == 0 ? 1.0 : 0.0), b.process(i == 0 ? 1.0 : 0.0)) << i;
}

// The 1e-17 flush keeps the decaying tail out of the denormal range. Rounding to the flush
// grid inside the low-frequency high-pass loop may leave a limit cycle near 1e-29, far below
// anything audible, but never a subnormal value.
TEST(MultiFilter, DecayNeverGoesDenormal)
{
    BiquadFilter f[4];
    MultiFilter m = fromChain(f, false);
    double y = m.process(1.0);
    for (int n = 0; n < 400000; ++n) {
        y = m.processSaturated(0.0);
        ASSERT_NE(std::fpclassify(y), FP_SUBNORMAL);
    }
    EXPECT_LT(std::fabs(y), 1e-25);
    m.clearCoefficients();  // cleared coefficients pass nothing
    EXPECT_EQ(m.process(1.0), 0.0);
}

}  // namespace
}  // namespace orv
