#include "dsp/EarlyReflections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace orv {
namespace {

struct Response {
    std::vector<double> left, right;
};

std::unique_ptr<EarlyReflections> makeRoom(double fs, double s, double v = 1.0, double o = 0.15,
                                           double cutoff = 20000.0)
{
    auto r = std::make_unique<EarlyReflections>();
    r->prepare(fs);
    r->setRoom({s, v, o, cutoff});
    r->setOutputGainTarget(1.0);
    r->clearReflections();
    return r;
}

// Response to a unit impulse on the left send, the right send, or both.
Response impulse(EarlyReflections& r, int samples, double left, double right)
{
    Response out;
    for (int i = 0; i < samples; ++i) {
        double l, rr;
        r.processReflections(i == 0 ? left : 0.0, i == 0 ? right : 0.0, l, rr);
        out.left.push_back(l);
        out.right.push_back(rr);
    }
    return out;
}

int firstNonZero(const std::vector<double>& x)
{
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i] != 0.0) return static_cast<int>(i);
    return -1;
}

TEST(EarlyReflections, ParameterLawsCoverTheirRanges)
{
    using E = EarlyReflections;
    EXPECT_NEAR(E::roomScaleFromParameter(0.0), 0.5, 1e-12);
    EXPECT_NEAR(E::roomScaleFromParameter(1.0), 4.0, 1e-4);
    EXPECT_NEAR(E::virtualScaleFromParameter(0.0), 0.25, 1e-12);
    EXPECT_NEAR(E::virtualScaleFromParameter(1.0), 4.0, 1e-4);
    EXPECT_NEAR(E::extraDistanceFromParameter(0.0), 0.15, 1e-12);
    EXPECT_NEAR(E::extraDistanceFromParameter(1.0), 1.5, 1e-4);
    EXPECT_EQ(E::cutoffScaleFromParameter(0.0), 200.0);
    EXPECT_EQ(E::cutoffScaleFromParameter(0.5), 2000.0);
    EXPECT_EQ(E::cutoffScaleFromParameter(1.0), 20000.0);
    EXPECT_NEAR(20.0 * std::log10(E::outputGainFromLevel(1.0)), -30.0, 1e-6);  // "Amount" enters at -30 dB
    for (int pos = 2; pos <= 5; ++pos)  // larger "Size" positions give a larger room
        EXPECT_GT(E::sizePreset(pos).roomSize, E::sizePreset(pos - 1).roomSize) << pos;
    EXPECT_EQ(E::sizePreset(3).virtualRoomSize, 0.5);
}

// The first taps lie 3.1 m (left) and 3.0 m (right) away at room scale 1, at 340.29 m/s;
// delays are truncated to whole samples, and a fractional part lets the newer neighbour
// through one sample early. Each side hears only its own send.
TEST(EarlyReflections, FirstReflectionsArriveAfterTheirPathLengthOnTheirOwnSide)
{
    for (double fs : {44100.0, 96000.0}) {
        for (double s : {0.5, 1.7, 4.0}) {
            auto room = makeRoom(fs, s);
            const Response left = impulse(*room, 40000, 1.0, 0.0);
            room->clearReflections();
            const Response right = impulse(*room, 40000, 0.0, 1.0);
            const int l = firstNonZero(left.left), r = firstNonZero(right.right);
            const int dl = static_cast<int>(3.1 * s * fs / 340.29), dr = static_cast<int>(3.0 * s * fs / 340.29);
            EXPECT_TRUE(l == dl || l == dl - 1) << fs << " " << s << " " << l;
            EXPECT_TRUE(r == dr || r == dr - 1) << fs << " " << s << " " << r;
            EXPECT_EQ(firstNonZero(left.right), -1);
            EXPECT_EQ(firstNonZero(right.left), -1);
        }
    }
}

TEST(EarlyReflections, FractionalDelayLeansTowardsTheNewerSample)
{
    // First left tap at s = 1.3, 48 kHz: d = 3.1 * 1.3 * 48000 / 340.29 = 568.45 samples. The
    // read at w - 568 mixes in the next newer sample with weight 0.45, so the impulse shows up
    // one sample early, scaled by the fraction, the tap gain and the one-pole's input weight.
    // Worked out: tap gain 10^(-1.3 x 3.1 / (1.3 x 14.9 + 0.15)) = 0.62165, one-pole
    // coefficient a = e^(-2 pi 0.93 x 5000 / 48000) = 0.54407, fraction 0.45632.
    auto room = makeRoom(48000.0, 1.3, 1.0, 0.15, 5000.0);
    const Response resp = impulse(*room, 570, 1.0, 0.0);
    EXPECT_EQ(firstNonZero(resp.left), 567);
    EXPECT_NEAR(resp.left[567], 0.129334, 1e-6);  // f x gain x (1 - a)
    EXPECT_NEAR(resp.left[568], 0.224463, 1e-6);  // a x 0.129334 + (1 - f) x gain x (1 - a)
}

TEST(EarlyReflections, TapLevelsFallLinearlyInDecibels)
{
    auto room = makeRoom(44100.0, 1.5, 1.2, 0.4);
    // The farthest far distance 14.9 m (table C) scaled: 1.5 x 14.9 x 1.2 + 0.4 = 27.22 m, where
    // a tap would lie at -20 dB; tap k at 10^(-1.5 d_k / 27.22).
    EXPECT_NEAR(room->tapGain(0), 0.674792, 1e-6);   // d = 3.1
    EXPECT_NEAR(room->tapGain(12), 0.683409, 1e-6);  // d = 3.0
    EXPECT_NEAR(room->tapGain(11), 0.226597, 1e-6);  // d = 11.7
    // Each tap's low-pass has unit gain at DC, so the whole left impulse response sums to
    // the sum of the twelve left tap gains.
    double sum = 0.0;
    for (double x : impulse(*room, 44100, 1.0, 0.0).left) sum += x;
    EXPECT_NEAR(sum, 4.579158, 1e-5);
}

TEST(EarlyReflections, LargerVirtualRoomRaisesLevelsWithoutMovingTaps)
{
    auto small = makeRoom(44100.0, 2.0, 0.5, 0.15);
    auto large = makeRoom(44100.0, 2.0, 3.0, 0.15);
    auto wider = makeRoom(44100.0, 2.0, 0.5, 1.5);
    for (int k = 0; k < EarlyReflections::kTaps; ++k) {
        EXPECT_EQ(small->tapDelay(k), large->tapDelay(k)) << k;
        EXPECT_EQ(small->tapFraction(k), wider->tapFraction(k)) << k;
        EXPECT_GT(large->tapGain(k), small->tapGain(k)) << k;
        EXPECT_GT(wider->tapGain(k), small->tapGain(k)) << k;
    }
}

// Tap low-pass poles e^(-2 pi f / fs), f the tap's factor times the main cutoff, kept inside
// 20 Hz .. 20 kHz; worked out for 48 kHz.
TEST(EarlyReflections, TapLowPassCutoffs)
{
    auto room = makeRoom(48000.0, 1.0, 1.0, 0.15, 1000.0);
    EXPECT_NEAR(room->tapCoefficient(0), 0.8853814451831473, 1e-12);   // 0.93 x 1 kHz
    EXPECT_NEAR(room->tapCoefficient(12), 0.8807577142396101, 1e-12);  // 0.97 x 1 kHz
    for (int k : {10, 11, 22, 23})                                     // factor 0: 20 Hz
        EXPECT_NEAR(room->tapCoefficient(k), 0.9973854300793629, 1e-12) << k;
    EXPECT_NEAR(makeRoom(48000.0, 1.0, 1.0, 0.15, 20000.0)->tapCoefficient(12), 0.07890946773786141, 1e-12);
    EXPECT_NEAR(makeRoom(48000.0, 1.0, 1.0, 0.15, 25000.0)->tapCoefficient(12), 0.07294906084933912, 1e-12);
}

TEST(EarlyReflections, SilentOutputKeepsFillingTheLines)
{
    auto room = makeRoom(44100.0, 4.0);
    room->setOutputGainTarget(0.0);
    room->clearReflections();
    double l = 1, r = 1;
    room->processReflections(1.0, 1.0, l, r);
    EXPECT_EQ(l + r, 0.0);
    // Bring the level back while the impulse is still travelling: the late taps still come.
    room->setOutputGainTarget(1.0);
    room->advanceOutputGain(1.0);
    double energy = 0.0;
    for (int i = 1; i < 30000; ++i) {
        room->processReflections(0.0, 0.0, l, r);
        energy += l * l + r * r;
    }
    EXPECT_GT(energy, 1e-3);
}

// Cleared lines are silent, also where a larger room set up after the clear reads.
TEST(EarlyReflections, ClearedLinesStaySilentWhenTheRoomGrows)
{
    auto room = makeRoom(44100.0, 4.0);
    double l, r;
    for (int i = 0; i < 40000; ++i) room->processReflections(1.0, 1.0, l, r);
    room->setRoom({0.5, 1.0, 0.15, 20000.0});
    room->setupReflections();
    room->clearLines();
    room->setRoom({4.0, 1.0, 0.15, 20000.0});
    room->setupReflections();
    for (int i = 0; i < 40000; ++i) {
        room->processReflections(0.0, 0.0, l, r);
        ASSERT_EQ(l + r, 0.0) << i;
    }
}

TEST(EarlyReflections, DecaysWithoutDenormals)
{
    auto room = makeRoom(44100.0, 3.0);
    double l = 0, r = 0;
    for (int i = 0; i < 4410; ++i) room->processReflections(std::sin(i * 0.1), std::cos(i * 0.07), l, r);
    for (int i = 0; i < 200000; ++i) room->processReflections(0.0, 0.0, l, r);
    // The flushed tap states settle far below audibility but never into denormals.
    EXPECT_LT(std::fabs(l) + std::fabs(r), 1e-20);
    EXPECT_NE(std::fpclassify(l), FP_SUBNORMAL);
    EXPECT_NE(std::fpclassify(r), FP_SUBNORMAL);
}

// The paired tap loop against the tap loop written out plainly from the tap tables: the left
// taps on the left send, the right taps on the right send, each a linear read, gain and
// flushed one-pole, summed in order.
TEST(EarlyReflections, OutputEqualsThePlainTapLoop)
{
    constexpr int mask = EarlyReflections::kLineMask;
    for (double size : {0.6, 1.7, 3.9}) {
        auto room = makeRoom(44100.0, size, 1.3, 0.4, 6000.0);
        room->setOutputGainTarget(0.7);
        room->advanceOutputGain(1.0);
        std::vector<double> lines[2] = {std::vector<double>(mask + 1, 0.0), std::vector<double>(mask + 1, 0.0)};
        double state[EarlyReflections::kTaps] = {};
        for (int n = 0, w = 0; n < 30000; ++n, w = (w + 1) & mask) {
            const double in[2] = {std::sin(0.011 * n) * (n % 1000 < 500 ? 1.0 : 0.0),
                                  0.5 * std::sin(0.23 * n) + (n == 7 ? 1.0 : 0.0)};
            lines[0][w] = in[0];
            lines[1][w] = in[1];
            double sum[2] = {0.0, 0.0};
            for (int k = 0; k < EarlyReflections::kTaps; ++k) {
                const int side = k < EarlyReflections::kTapsPerSide ? 0 : 1;
                const int i = (w - room->tapDelay(k)) & mask;
                const double f = room->tapFraction(k);
                const double x = ((1.0 - f) * lines[side][i] + f * lines[side][(i + 1) & mask]) * room->tapGain(k);
                state[k] = (state[k] - x) * room->tapCoefficient(k) + x + 1e-12 - 1e-12;
                sum[side] += state[k];
            }
            double l, r;
            room->processReflections(in[0], in[1], l, r);
            ASSERT_EQ(l, sum[0] * room->outputGain() + 1e-12 - 1e-12) << size << " sample " << n;
            ASSERT_EQ(r, sum[1] * room->outputGain() + 1e-12 - 1e-12) << size << " sample " << n;
        }
    }
}

}  // namespace
}  // namespace orv
