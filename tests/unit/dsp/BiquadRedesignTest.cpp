// A filter that is redesigned over and over reuses the parts of its last design whose inputs
// did not change. Whatever the sequence of changes, its design must equal, bit for bit, that of
// a fresh filter given the same settings once.

#include <gtest/gtest.h>

#include <random>

#include "dsp/BiquadFilter.h"

namespace orv {
namespace {

// A fresh filter with the settings of f, designed once.
BiquadFilter freshCopy(const BiquadFilter& f)
{
    BiquadFilter g;
    g.sampleRate = f.sampleRate;
    g.type = f.type;
    g.frequency = f.frequency;
    g.q = f.q;
    g.gainDb = f.gainDb;
    g.enabled = f.enabled;
    g.update();
    return g;
}

void expectSameDesign(const BiquadFilter& f, const BiquadFilter& g, int step)
{
    EXPECT_EQ(f.a0, g.a0) << step;
    EXPECT_EQ(f.a1, g.a1) << step;
    EXPECT_EQ(f.a2, g.a2) << step;
    EXPECT_EQ(f.b0, g.b0) << step;
    EXPECT_EQ(f.b1, g.b1) << step;
    EXPECT_EQ(f.b2, g.b2) << step;
    for (int i = 0; i < BiquadFilter::rootCount; ++i)
        EXPECT_EQ(f.rootState[i].target, g.rootState[i].target) << step << " root " << i;
}

TEST(BiquadRedesign, AnySequenceOfChangesDesignsLikeAFreshFilter)
{
    // Few distinct values, so that unchanged inputs, gain-only and shape-only changes all occur.
    const double rates[] = {44100.0, 48000.0, 22050.0};
    const double frequencies[] = {100.0, 1500.0, 6000.0, 10900.0};
    const double qs[] = {0.3, 0.7, 2.5};
    const double gains[] = {-12.0, 0.0, 3.5, 9.0};
    std::mt19937 rng(7);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };

    BiquadFilter f;
    f.snapOnUpdate = false;
    f.glideLength = 40;
    f.enabled = 1;
    double x = 0.0;
    for (int step = 0; step < 4000; ++step) {
        switch (pick(8)) {
        case 0: break;  // the same inputs again
        case 1: f.gainDb = gains[pick(4)]; break;
        case 2: f.frequency = frequencies[pick(4)]; break;
        case 3: f.q = qs[pick(3)]; break;
        case 4: f.type = static_cast<std::uint32_t>(pick(12)); break;  // 11 designs the identity
        case 5: f.enabled = pick(4) == 0 ? 0u : 1u; break;
        case 6: f.sampleRate = rates[pick(3)]; break;
        default:
            f.frequency = frequencies[pick(4)];
            f.gainDb = gains[pick(4)];
            break;
        }
        f.update();
        expectSameDesign(f, freshCopy(f), step);
        if (pick(3) == 0) {
            f.setSaturation(pick(2) == 0 ? 0.0 : 0.004 * (1 + pick(5)));
            BiquadFilter g = freshCopy(f);
            g.setSaturation(f.saturationAmount);
            EXPECT_EQ(f.saturationCoefficient, g.saturationCoefficient) << step;
            EXPECT_EQ(f.saturationOn, g.saturationOn) << step;
        }
        // Keep the glide and the history moving between designs.
        for (int n = 0; n < 5; ++n) {
            x = std::sin(0.37 * (step * 5 + n));
            f.processSaturated(x);
        }
    }
}

TEST(BiquadRedesign, GlideFromARepeatedDesignRestartsTowardTheSameTarget)
{
    // Redesigning with unchanged inputs mid-glide restarts the glide from where it stands, as a
    // first design toward that target would.
    BiquadFilter f;
    f.enable();
    f.snapOnUpdate = false;
    f.glideLength = 10;
    f.frequency = 3000.0;
    f.gainDb = 6.0;
    f.update();
    for (int n = 0; n < 4; ++n)
        f.process(0.5);
    EXPECT_EQ(f.glideRemaining, 6u);
    f.update();
    EXPECT_EQ(f.glideRemaining, 10u);
    for (int i = 0; i < BiquadFilter::rootCount; ++i) {
        const double expected = (f.rootState[i].target - f.rootState[i].current) / 10.0;
        EXPECT_NEAR(f.rootIncrement[i], expected, 1e-15) << i;
    }
    for (int n = 0; n < 10; ++n)
        f.process(0.5);
    EXPECT_EQ(f.glideRemaining, 0u);
    for (int i = 0; i < BiquadFilter::rootCount; ++i)
        EXPECT_NEAR(f.rootState[i].current, f.rootState[i].target, 1e-12) << i;
}

}  // namespace
}  // namespace orv
