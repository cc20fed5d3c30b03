#include "dsp/Recordings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <vector>

#include "support/SignalMeasures.h"

namespace orv {
namespace {

struct LoopCase {
    RecordingId id;
    const char* name;
    int stored, length;
    double peak, rms;  // target levels
    int turns;         // rotor turns per loop, 0 for the free-running slow horn takes
};

const LoopCase kLoops[] = {
    {RecordingId::DrumSlowLoop, "drum slow", 270147, 270144, 0.0021, 0.00043, 5},
    {RecordingId::DrumFastLoop, "drum fast", 627301, 627298, 0.026, 0.0052, 88},
    {RecordingId::HornSlowLoop0, "horn slow 0", 63887, 63884, 0.0088, 0.0025, 0},
    {RecordingId::HornSlowLoop1, "horn slow 1", 63887, 63884, 0.0117, 0.0026, 0},
    {RecordingId::HornFastLoop, "horn fast", 219421, 219418, 0.12, 0.027, 34},
};

double rmsOf(const float* x, int n) { return test::rms(std::span(x, static_cast<std::size_t>(n))); }

// Counts, guard samples and levels; a sample not finite fails the RMS. Each loop is seamless:
// the step and the second difference from the last sample back to the first are no larger
// than the typical ones inside. The rotor loops swell once per turn: the turn's component of
// a short-time RMS envelope stands out of the others (harmonics of the turn aside).
TEST(Recordings, LoopsAreSeamlessAndSwellOncePerTurn)
{
    for (const LoopCase& c : kLoops) {
        const Recording r = findRecording(c.id);
        ASSERT_NE(r.samples, nullptr) << c.name;
        const float* x = r.samples;
        EXPECT_EQ(r.stored, c.stored) << c.name;
        EXPECT_EQ(r.length, c.length) << c.name;
        for (int g = 0; g < 3; ++g) EXPECT_EQ(x[r.length + g], x[g]) << c.name << " guard " << g;
        double peak = 0, steps = 0, curves = 0;
        for (int i = 0; i < r.length; ++i) peak = std::max(peak, std::fabs(double(x[i])));
        for (int i = 1; i < r.length; ++i) steps += std::pow(double(x[i]) - x[i - 1], 2);
        for (int i = 1; i + 1 < r.length; ++i) curves += std::pow(double(x[i + 1]) - 2.0 * x[i] + x[i - 1], 2);
        EXPECT_NEAR(peak, c.peak, 0.1 * c.peak) << c.name;
        EXPECT_NEAR(rmsOf(x, r.length), c.rms, 0.1 * c.rms) << c.name;
        EXPECT_LT(std::fabs(double(x[0]) - x[r.length - 1]), 3.0 * std::sqrt(steps / (r.length - 1))) << c.name;
        EXPECT_LT(std::fabs(double(x[1]) - 2.0 * x[0] + x[r.length - 1]), 3.0 * std::sqrt(curves / (r.length - 2)))
            << c.name;
        if (c.turns == 0) continue;
        const int blocks = c.turns * 16;
        std::vector<double> env(blocks);
        for (int b = 0; b < blocks; ++b) {
            const long long from = static_cast<long long>(r.length) * b / blocks;
            env[b] = rmsOf(x + from, static_cast<int>(static_cast<long long>(r.length) * (b + 1) / blocks - from));
        }
        auto component = [&](int cycles) { return test::amplitudeAt(env, cycles, blocks); };
        double others = 0;
        int count = 0;
        for (int k = 1; k < blocks / 2; ++k)
            if (k % c.turns != 0) others += component(k), ++count;
        EXPECT_GT(component(c.turns), 8.0 * others / count) << c.name;
    }
}

// The transient: 3,956 samples (the last a 0), the peak 0.24 at sample 328, and front-loaded
// energy: the last quarter more than 20 dB below the first.
TEST(Recordings, TransientPeaksAtSample328AndDiesAway)
{
    const Recording t = findRecording(RecordingId::Transient);
    EXPECT_EQ(t.stored, 3956);
    EXPECT_EQ(t.length, 3955);
    EXPECT_NEAR(t.samples[328], 0.24, 1e-6);
    for (int i = 0; i < t.stored; ++i) ASSERT_TRUE(i == 328 || std::fabs(t.samples[i]) < t.samples[328]) << i;
    EXPECT_EQ(t.samples[t.length], 0.0f);
    const int quarter = t.stored / 4;
    EXPECT_LT(rmsOf(t.samples + 3 * quarter, quarter), 0.1 * rmsOf(t.samples, quarter));
}

}  // namespace
}  // namespace orv
