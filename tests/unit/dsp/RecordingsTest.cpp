#include "dsp/Recordings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

namespace orv {
namespace {

constexpr double kPi = 3.14159265358979323846;

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

double rmsOf(const float* x, int n)
{
    double s = 0;
    for (int i = 0; i < n; ++i) s += double(x[i]) * x[i];
    return std::sqrt(s / n);
}

double peakOf(const float* x, int n)
{
    double m = 0;
    for (int i = 0; i < n; ++i) m = std::max(m, std::fabs(double(x[i])));
    return m;
}

TEST(Recordings, CountsGuardSamplesAndLevels)
{
    for (const LoopCase& c : kLoops) {
        const Recording r = findRecording(c.id);
        ASSERT_NE(r.samples, nullptr) << c.name;
        EXPECT_EQ(r.stored, c.stored) << c.name;
        EXPECT_EQ(r.length, c.length) << c.name;
        for (int g = 0; g < 3; ++g) EXPECT_EQ(r.samples[r.length + g], r.samples[g]) << c.name << " guard " << g;
        EXPECT_NEAR(peakOf(r.samples, r.length), c.peak, 0.1 * c.peak) << c.name;
        EXPECT_NEAR(rmsOf(r.samples, r.length), c.rms, 0.1 * c.rms) << c.name;  // a sample not finite fails it
    }
    const Recording t = findRecording(RecordingId::Transient);
    EXPECT_EQ(t.stored, 3956);
    EXPECT_EQ(t.length, 3955);
}

TEST(Recordings, LoopsAreSeamless)
{
    // The step from the last sample back to the first is no larger than the steps inside.
    for (const LoopCase& c : kLoops) {
        const Recording r = findRecording(c.id);
        const float* x = r.samples;
        double sum = 0;
        for (int i = 1; i < r.length; ++i) sum += double(x[i] - x[i - 1]) * (x[i] - x[i - 1]);
        const double typicalStep = std::sqrt(sum / (r.length - 1));
        EXPECT_LT(std::fabs(double(x[0]) - x[r.length - 1]), 3.0 * typicalStep) << c.name;
        // The second difference at the wrap too (no kink).
        const double curve = double(x[1]) - 2.0 * x[0] + x[r.length - 1];
        double curveSum = 0;
        for (int i = 1; i + 1 < r.length; ++i) {
            const double d2 = double(x[i + 1]) - 2.0 * x[i] + x[i - 1];
            curveSum += d2 * d2;
        }
        EXPECT_LT(std::fabs(curve), 3.0 * std::sqrt(curveSum / (r.length - 2))) << c.name;
    }
}

// Short-time RMS envelope of a loop in `blocks` equal parts, and the magnitude of its
// Fourier component at `cycles` per loop.
std::vector<double> envelope(const Recording& r, int blocks)
{
    std::vector<double> env(blocks);
    for (int b = 0; b < blocks; ++b) {
        const int from = static_cast<int>(static_cast<long long>(r.length) * b / blocks);
        const int to = static_cast<int>(static_cast<long long>(r.length) * (b + 1) / blocks);
        env[b] = rmsOf(r.samples + from, to - from);
    }
    return env;
}

double component(const std::vector<double>& env, int cycles)
{
    std::complex<double> acc = 0;
    for (std::size_t b = 0; b < env.size(); ++b) acc += env[b] * std::polar(1.0, -2 * kPi * cycles * b / env.size());
    return std::abs(acc);
}

TEST(Recordings, RotorLoopsSwellOncePerTurn)
{
    for (const LoopCase& c : kLoops) {
        if (c.turns == 0) continue;
        const Recording r = findRecording(c.id);
        const int blocks = c.turns * 16;
        const std::vector<double> env = envelope(r, blocks);
        const double atTurn = component(env, c.turns);
        double others = 0;
        int count = 0;
        for (int k = 1; k < blocks / 2; ++k) {
            if (k % c.turns == 0) continue;  // harmonics of the turn
            others += component(env, k);
            ++count;
        }
        EXPECT_GT(atTurn, 8.0 * others / count) << c.name;
    }
}

TEST(Recordings, TransientPeaksAtSample328AndDiesAway)
{
    const Recording t = findRecording(RecordingId::Transient);
    EXPECT_NEAR(t.samples[328], 0.24, 1e-6);
    for (int i = 0; i < t.stored; ++i) {
        if (i != 328) {
            ASSERT_LT(std::fabs(t.samples[i]), t.samples[328]) << i;
        }
    }
    EXPECT_EQ(t.samples[t.length], 0.0f);
    // Energy is front-loaded: the last quarter lies more than 20 dB below the first.
    const int quarter = t.stored / 4;
    EXPECT_LT(rmsOf(t.samples + 3 * quarter, quarter), 0.1 * rmsOf(t.samples, quarter));
}

}  // namespace
}  // namespace orv
