#include "dsp/DrumNoisePlayer.h"
#include "dsp/HornNoisePlayer.h"
#include "dsp/Recordings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <span>
#include <vector>

#include "DspReference.h"
#include "support/SignalMeasures.h"

namespace orv {
namespace {

// What the typed tests need to know of each player.
struct Drum {
    static auto make() { return std::make_unique<DrumNoisePlayer>(); }
};
struct Horn {
    static auto make() { return std::make_unique<HornNoisePlayer>(0); }
};

// A player ready to run the way its owner sets it up: rate, recordings, distance, levels.
template <class P>
std::unique_ptr<P> ready(std::unique_ptr<P> p, double fs, double slowLevel, double fastLevel)
{
    p->setSampleRate(fs);
    p->loadRecordings();
    p->setMicDistance(0.8);
    p->setLevels(slowLevel, fastLevel);
    return p;
}

template <class T>
class NoisePlayer : public ::testing::Test {
public:
    static auto make(double fs, double slowLevel, double fastLevel)
    {
        return ready(T::make(), fs, slowLevel, fastLevel);
    }
    // First output sample of a fresh player: filters start from rest, phases at 0, so the
    // output is linear in the loop gains.
    static double first(double fs, double slowLevel, double fastLevel, double rate)
    {
        return make(fs, slowLevel, fastLevel)->process(rate, 0.0);
    }
};
using Players = ::testing::Types<Drum, Horn>;
TYPED_TEST_SUITE(NoisePlayer, Players);

// Hand-worked points of the parabolic balance law: with u = 1 - m and s = |2u - 1|, the side
// that grows gets 1 + (2s - s^2), the other 1 - (2s - s^2).
TYPED_TEST(NoisePlayer, BalanceLaw)
{
    struct Point {
        float m;
        double loops, transient;
    };
    for (const Point& p : {Point{0.5f, 1.0, 1.0}, Point{1.0f, 2.0, 0.0}, Point{0.0f, 0.0, 2.0},
                           Point{0.75f, 1.75, 0.25}, Point{0.25f, 0.25, 1.75}, Point{0.6f, 1.36, 0.64}}) {
        auto d = TypeParam::make();
        d->setBalance(p.m);
        EXPECT_NEAR(d->loopGainTarget(), p.loops, 1e-6) << p.m;
        EXPECT_NEAR(d->transientGainTarget(), p.transient, 1e-6) << p.m;
    }
    // The followed gains reach a new target within a few samples.
    auto d = this->make(44100.0, 1.0, 1.0);
    d->setBalance(1.0f);
    for (int n = 0; n < 4; ++n) d->process(0.0, 0.0);
    EXPECT_NEAR(d->loopGain(), 2.0, 1e-9);
    EXPECT_NEAR(d->transientGainFollow(), 0.0, 1e-9);
}

// Up to 0.78 turns per second only the slow loop sounds, rising with the square of the speed
// (either way round); from 7.5 turns per second only the fast loop, at full gain.
TYPED_TEST(NoisePlayer, CrossFadeEndsAtTheirSpeedsAtAnyRate)
{
    for (double fs : {44100.0, 96000.0}) {
        const double slow = 0.78 / fs, fast = 7.5 / fs;
        const double atLimit = this->first(fs, 1.0, 0.0, slow);
        ASSERT_NE(atLimit, 0.0);
        EXPECT_NEAR(this->first(fs, 1.0, 0.0, slow / 2) / atLimit, 0.25, 1e-9);
        EXPECT_NEAR(this->first(fs, 1.0, 0.0, -slow / 2) / atLimit, 0.25, 1e-9);
        EXPECT_EQ(this->first(fs, 0.0, 1.0, slow), 0.0);
        const double fastAtLimit = this->first(fs, 0.0, 1.0, fast);
        ASSERT_NE(fastAtLimit, 0.0);
        EXPECT_EQ(this->first(fs, 0.0, 1.0, 3 * fast), fastAtLimit);
        EXPECT_EQ(this->first(fs, 1.0, 0.0, fast), 0.0);
        EXPECT_NE(this->first(fs, 0.0, 1.0, slow * 1.01), 0.0);  // inside the zone both sound
        EXPECT_NE(this->first(fs, 1.0, 0.0, slow * 1.01), 0.0);
    }
}

// Compensation (0.3 / x)^e and band-pass Q = q x + q0, worked out for x = 1.2 m: the drum
// 0.25^0.1 and 0.12 x 1.2 + 0.005, the horn 0.25^0.25 and 0.25 x 1.2 + 0.05.
TEST(NoisePlayers, MicDistanceSetsCompensationAndBandWidth)
{
    DrumNoisePlayer d;
    d.setMicDistance(1.2);
    EXPECT_NEAR(d.compensation(), 0.8705505633, 1e-9);
    EXPECT_NEAR(d.bandPassQ(), 0.149, 1e-12);
    d.setSampleRate(48000.0);  // leaves the compensation at 1 until the owner passes its distance again
    EXPECT_EQ(d.compensation(), 1.0);
    HornNoisePlayer h(0);
    h.setMicDistance(1.2);
    h.setSampleRate(48000.0);
    EXPECT_NEAR(h.compensation(), 0.7071067812, 1e-9);
    EXPECT_NEAR(h.bandPassQ(), 0.35, 1e-12);
}

TEST(NoisePlayers, HornCrossFadeLaw)
{
    const double fs = 44100.0, slow = 0.78 / fs, fast = 7.5 / fs;
    using H = NoisePlayer<Horn>;
    const double slowFull = H::first(fs, 1.0, 0.0, slow), fastFull = H::first(fs, 0.0, 1.0, fast);
    // At t of the fade zone: slow (1 - 2.5 t)^2 up to t = 0.4, fast t^4, worked out.
    const double points[][3] = {
        {0.1, 0.5625, 0.0001}, {0.2, 0.25, 0.0016}, {0.3, 0.0625, 0.0081}, {0.5, 0.0, 0.0625}, {0.8, 0.0, 0.4096}};
    for (const auto& p : points) {
        EXPECT_NEAR(H::first(fs, 1.0, 0.0, slow + p[0] * (fast - slow)) / slowFull, p[1], 1e-9) << p[0];
        EXPECT_NEAR(H::first(fs, 0.0, 1.0, slow + p[0] * (fast - slow)) / fastFull, p[2], 1e-9) << p[0];
    }
}

// Scripted runs of the three players (the drum's and both horn variants) at two rates: a
// standing rotor, the slow take both ways round, the fade zone, the fast loop (locked to the
// rotor, moved by the microphone angle) and back to slow (the drum's filters hold their
// settings outside the zone), a transient at a quarter of the way and a balance off the middle.
// Output and loop phases are stored in data/noise_players.txt (written again with
// ORV_UPDATE_NOISE_PLAYERS=1).
TEST(NoisePlayers, ScriptedRunsMatchTheStoredOutput)
{
    const double segments[][2] = {{0.0, 500}, {0.39, 3000}, {-0.39, 3000}, {3.0, 3000}, {8.0, 4000}, {0.1, 3000}};
    test::GoldenRows now;
    for (double fs : {44100.0, 96000.0}) {
        const std::string rate = " " + std::to_string(static_cast<int>(fs));
        auto script = [&](auto p, const char* name) {
            p = ready(std::move(p), fs, 1.0, 1.0);
            p->setBalance(0.3f);
            std::vector<double> row{0.0};
            int n = 0;
            for (const auto& [hz, count] : segments)
                for (int k = 0; k < count; ++k, ++n) {
                    if (n == 4000) p->startTransient(0.7);
                    const double y = p->process(hz / fs, 0.1);
                    row[0] += y * y;
                    if (n % 25 == 0) row.push_back(y);
                }
            row.insert(row.end(), {p->slowPhase(), p->fastPhase()});
            now.emplace_back(name + rate, row);
        };
        script(std::make_unique<DrumNoisePlayer>(), "drum");
        script(std::make_unique<HornNoisePlayer>(0), "horn0");
        script(std::make_unique<HornNoisePlayer>(1), "horn1");
    }
    test::expectGoldenRows(
        test::dataFile("noise_players.txt"), "ORV_UPDATE_NOISE_PLAYERS", now,
        [](double got, double want, const std::vector<double>& row) {
            return std::fabs(got - want) <= 1e-9 * std::fabs(want) + 1e-12 * std::sqrt(row[0]);
        },
        2);
}

// ---------------------------------------------------------------- the recordings they play

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
