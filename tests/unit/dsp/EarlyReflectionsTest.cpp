#include "dsp/EarlyReflections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>


namespace orv {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSound = 340.29;

struct Response {
    std::vector<double> left, right;
};

std::unique_ptr<EarlyReflections> makeRoom(double fs, double s, double v = 1.0, double o = 0.15,
                                           double cutoff = 20000.0) {
    auto r = std::make_unique<EarlyReflections>();
    r->sampleRate = fs;
    r->roomScale = s;
    r->virtualScale = v;
    r->extraDistance = o;
    r->cutoffScale = cutoff;
    r->outputGainTarget = 1.0;
    r->clearReflections();
    return r;
}

// Response to a unit impulse on the left send, the right send, or both.
Response impulse(EarlyReflections& r, int samples, double left, double right) {
    Response out;
    for (int i = 0; i < samples; ++i) {
        double l, rr;
        r.processReflections(i == 0 ? left : 0.0, i == 0 ? right : 0.0, l, rr);
        out.left.push_back(l);
        out.right.push_back(rr);
    }
    return out;
}

int firstNonZero(const std::vector<double>& x) {
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i] != 0.0) return static_cast<int>(i);
    return -1;
}

TEST(EarlyReflections, ParameterLawsCoverTheirRanges) {
    EXPECT_NEAR(EarlyReflections::roomScaleFromParameter(0.0), 0.5, 1e-12);
    EXPECT_NEAR(EarlyReflections::roomScaleFromParameter(1.0), 4.0, 1e-4);
    EXPECT_NEAR(EarlyReflections::virtualScaleFromParameter(0.0), 0.25, 1e-12);
    EXPECT_NEAR(EarlyReflections::virtualScaleFromParameter(1.0), 4.0, 1e-4);
    EXPECT_NEAR(EarlyReflections::extraDistanceFromParameter(0.0), 0.15, 1e-12);
    EXPECT_NEAR(EarlyReflections::extraDistanceFromParameter(1.0), 1.5, 1e-4);
    EXPECT_EQ(EarlyReflections::cutoffScaleFromParameter(0.0), 200.0);
    EXPECT_EQ(EarlyReflections::cutoffScaleFromParameter(1.0), 20000.0);
    EXPECT_EQ(EarlyReflections::cutoffScaleFromParameter(0.5), 2000.0);
    // "Amount" enters -30 dB below its level curve.
    EXPECT_NEAR(20.0 * std::log10(EarlyReflections::outputGainFromLevel(1.0)), -30.0, 1e-6);
    // Larger "Size" positions give a larger room.
    double last = 0.0;
    for (int pos = 1; pos <= 5; ++pos) {
        const double s = EarlyReflections::roomScaleFromParameter(EarlyReflections::sizePreset(pos).roomSize);
        EXPECT_GT(s, last) << pos;
        last = s;
    }
    EXPECT_EQ(EarlyReflections::sizePreset(3).virtualRoomSize, 0.5);
}

TEST(EarlyReflections, FirstReflectionsArriveAfterTheirPathLength) {
    for (double fs : {44100.0, 96000.0}) {
        for (double s : {0.5, 1.7, 4.0}) {
            auto room = makeRoom(fs, s);
            const Response resp = impulse(*room, 40000, 1.0, 1.0);
            // Delays are truncated to whole samples, and a fractional part lets the newer
            // neighbour through one sample early.
            const double dl = 3.1 * s * fs / kSound, dr = 3.0 * s * fs / kSound;
            const int l = firstNonZero(resp.left), r = firstNonZero(resp.right);
            EXPECT_GE(l, static_cast<int>(dl) - 1) << fs << " " << s;
            EXPECT_LE(l, static_cast<int>(dl)) << fs << " " << s;
            EXPECT_GE(r, static_cast<int>(dr) - 1) << fs << " " << s;
            EXPECT_LE(r, static_cast<int>(dr)) << fs << " " << s;
        }
    }
}

TEST(EarlyReflections, FractionalDelayLeansTowardsTheNewerSample) {
    // First left tap at s = 1.3, 48 kHz: d = 3.1 * 1.3 * 48000 / 340.29 = 568.45 samples. The
    // read at w - 568 mixes in the next newer sample with weight 0.45, so the impulse shows up
    // one sample early, scaled by the fraction, the tap gain and the one-pole's input weight.
    // Worked out: tap gain 10^(-1.3 x 3.1 / (1.3 x 14.9 + 0.15)) = 0.62165, one-pole
    // coefficient a = e^(-2 pi 0.93 x 5000 / 48000) = 0.54407, fraction 0.45632.
    auto room = makeRoom(48000.0, 1.3, 1.0, 0.15, 5000.0);
    const Response resp = impulse(*room, 570, 1.0, 0.0);
    EXPECT_EQ(firstNonZero(resp.left), 567);
    EXPECT_NEAR(resp.left[567], 0.129334, 1e-6);  // f x gain x (1 - a)
    // Next sample: the one-pole carries the first value on and adds the older-sample weight.
    EXPECT_NEAR(resp.left[568], 0.224463, 1e-6);  // a x 0.129334 + (1 - f) x gain x (1 - a)
}

TEST(EarlyReflections, EachSideHearsOnlyItsOwnSend) {
    auto room = makeRoom(48000.0, 2.0);
    const Response fromLeft = impulse(*room, 30000, 1.0, 0.0);
    for (double v : fromLeft.right) ASSERT_EQ(v, 0.0);
    EXPECT_GE(firstNonZero(fromLeft.left), 0);

    room->clearReflections();
    const Response fromRight = impulse(*room, 30000, 0.0, 1.0);
    for (double v : fromRight.left) ASSERT_EQ(v, 0.0);
    EXPECT_GE(firstNonZero(fromRight.right), 0);
}

TEST(EarlyReflections, TapLevelsFallLinearlyInDecibels) {
    auto room = makeRoom(44100.0, 1.5, 1.2, 0.4);
    // The farthest far distance 14.9 m (table C) scaled: 1.5 x 14.9 x 1.2 + 0.4 = 27.22 m, where
    // a tap would lie at -20 dB; tap k at 10^(-1.5 d_k / 27.22).
    EXPECT_NEAR(room->tapGain(0), 0.674792, 1e-6);   // d = 3.1
    EXPECT_NEAR(room->tapGain(12), 0.683409, 1e-6);  // d = 3.0
    EXPECT_NEAR(room->tapGain(11), 0.226597, 1e-6);  // d = 11.7
    // Each tap's low-pass has unit gain at DC, so the whole left impulse response sums to
    // the sum of the twelve left tap gains.
    const Response resp = impulse(*room, 44100, 1.0, 0.0);
    double sum = 0.0;
    for (double x : resp.left) sum += x;
    EXPECT_NEAR(sum, 4.579158, 1e-5);
}

TEST(EarlyReflections, LargerVirtualRoomRaisesLevelsWithoutMovingTaps) {
    auto small = makeRoom(44100.0, 2.0, 0.5, 0.15);
    auto large = makeRoom(44100.0, 2.0, 3.0, 0.15);
    auto wider = makeRoom(44100.0, 2.0, 0.5, 1.5);
    for (int k = 0; k < EarlyReflections::kTaps; ++k) {
        EXPECT_EQ(small->tapDelay(k), large->tapDelay(k)) << k;
        EXPECT_EQ(small->tapFraction(k), wider->tapFraction(k)) << k;
        EXPECT_GT(large->tapGain(k), small->tapGain(k)) << k;
        EXPECT_GT(wider->tapGain(k), small->tapGain(k)) << k;
    }
    const Response a = impulse(*small, 20000, 1.0, 0.0);
    const Response b = impulse(*large, 20000, 1.0, 0.0);
    EXPECT_EQ(firstNonZero(a.left), firstNonZero(b.left));
    EXPECT_GT(std::fabs(b.left[firstNonZero(b.left) + 3]), std::fabs(a.left[firstNonZero(a.left) + 3]));
}

TEST(EarlyReflections, TapLowPassCutoffs) {
    const double fs = 48000.0, m = 1000.0;
    auto room = makeRoom(fs, 1.0, 1.0, 0.15, m);
    EXPECT_NEAR(room->tapCoefficient(0), std::exp(-2 * kPi * 0.93 * m / fs), 1e-12);
    EXPECT_NEAR(room->tapCoefficient(12), std::exp(-2 * kPi * 0.97 * m / fs), 1e-12);
    // Factor 0: clamped to a 20 Hz low-pass, on both sides.
    for (int k : {10, 11, 22, 23}) EXPECT_NEAR(room->tapCoefficient(k), std::exp(-2 * kPi * 20.0 / fs), 1e-12) << k;
    // And never above 20 kHz.
    auto open = makeRoom(fs, 1.0, 1.0, 0.15, 20000.0);
    EXPECT_NEAR(open->tapCoefficient(12), std::exp(-2 * kPi * 0.97 * 20000.0 / fs), 1e-12);
    auto bright = makeRoom(fs, 1.0, 1.0, 0.15, 25000.0);
    EXPECT_NEAR(bright->tapCoefficient(12), std::exp(-2 * kPi * 20000.0 / fs), 1e-12);
}

TEST(EarlyReflections, SilentOutputKeepsFillingTheLines) {
    auto room = makeRoom(44100.0, 4.0);
    room->outputGainTarget = 0.0;
    room->outputGain = 0.0;
    double l = 1, r = 1;
    room->processReflections(1.0, 1.0, l, r);
    EXPECT_EQ(l, 0.0);
    EXPECT_EQ(r, 0.0);
    // Bring the level back while the impulse is still travelling: the late taps still come.
    room->outputGain = 1.0;
    double energy = 0.0;
    for (int i = 1; i < 30000; ++i) {
        room->processReflections(0.0, 0.0, l, r);
        energy += l * l + r * r;
    }
    EXPECT_GT(energy, 1e-3);
}

// Cleared lines are silent, also where a larger room set up after the clear reads.
TEST(EarlyReflections, ClearedLinesStaySilentWhenTheRoomGrows) {
    auto room = makeRoom(44100.0, 4.0);
    double l, r;
    for (int i = 0; i < 40000; ++i) room->processReflections(1.0, 1.0, l, r);
    room->roomScale = 0.5;
    room->setupReflections();
    room->clearLines();
    room->roomScale = 4.0;
    room->setupReflections();
    for (int i = 0; i < 40000; ++i) {
        room->processReflections(0.0, 0.0, l, r);
        ASSERT_EQ(l, 0.0) << i;
        ASSERT_EQ(r, 0.0) << i;
    }
}

TEST(EarlyReflections, DecaysWithoutDenormals) {
    auto room = makeRoom(44100.0, 3.0);
    double l = 0, r = 0, acc = 0;
    for (int i = 0; i < 4410; ++i) {
        room->processReflections(std::sin(i * 0.1), std::cos(i * 0.07), l, r);
        acc += l + r;
    }
    for (int i = 0; i < 200000; ++i) room->processReflections(0.0, 0.0, l, r);
    EXPECT_TRUE(std::isfinite(acc));
    // The flushed tap states settle far below audibility but never into denormals.
    EXPECT_LT(std::fabs(l), 1e-20);
    EXPECT_LT(std::fabs(r), 1e-20);
    EXPECT_NE(std::fpclassify(l), FP_SUBNORMAL);
    EXPECT_NE(std::fpclassify(r), FP_SUBNORMAL);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// The tap loop written out plainly from the tap tables: the left taps on the left send, the
// right taps on the right send, each a linear read, gain and flushed one-pole, summed in order.
struct PlainReflections {
    std::vector<double> left = std::vector<double>(EarlyReflections::kLineLength, 0.0);
    std::vector<double> right = std::vector<double>(EarlyReflections::kLineLength, 0.0);
    double state[EarlyReflections::kTaps] = {};
    int w = 0;

    void process(const EarlyReflections& r, double inL, double inR, double& outL, double& outR)
    {
        constexpr int mask = EarlyReflections::kLineMask;
        left[w] = inL;
        right[w] = inR;
        double sum[2] = {0.0, 0.0};
        for (int k = 0; k < EarlyReflections::kTaps; ++k) {
            const bool isLeft = k < EarlyReflections::kTapsPerSide;
            const std::vector<double>& line = isLeft ? left : right;
            const int i = (w - r.tapDelay(k)) & mask;
            const double f = r.tapFraction(k);
            const double x = ((1.0 - f) * line[i] + f * line[(i + 1) & mask]) * r.tapGain(k);
            state[k] = (state[k] - x) * r.tapCoefficient(k) + x + 1e-12 - 1e-12;
            sum[isLeft ? 0 : 1] += state[k];
        }
        outL = sum[0] * r.outputGain + 1e-12 - 1e-12;
        outR = sum[1] * r.outputGain + 1e-12 - 1e-12;
        w = (w + 1) & mask;
    }
};

TEST(EarlyReflectionsPairs, OutputEqualsThePlainTapLoop)
{
    for (double size : {0.6, 1.7, 3.9}) {
        auto room = makeRoom(44100.0, size, 1.3, 0.4, 6000.0);
        room->outputGain = 0.7;
        PlainReflections plain;
        for (int n = 0; n < 30000; ++n) {
            const double inL = std::sin(0.011 * n) * (n % 1000 < 500 ? 1.0 : 0.0);
            const double inR = 0.5 * std::sin(0.23 * n) + (n == 7 ? 1.0 : 0.0);
            double l, r, pl, pr;
            room->processReflections(inL, inR, l, r);
            plain.process(*room, inL, inR, pl, pr);
            ASSERT_EQ(l, pl) << size << " sample " << n;
            ASSERT_EQ(r, pr) << size << " sample " << n;
        }
    }
}

}  // namespace
}  // namespace orv
