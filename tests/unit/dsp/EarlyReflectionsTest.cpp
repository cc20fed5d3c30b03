#include "dsp/EarlyReflections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "DspReference.h"

namespace orv {
namespace {

using E = EarlyReflections;

std::unique_ptr<E> makeRoom(double fs, double s, double v = 1.0, double o = 0.15, double cutoff = 20000.0)
{
    auto r = std::make_unique<E>();
    r->prepare(fs);
    r->setRoom({s, v, o, cutoff});
    r->setOutputGainTarget(1.0);
    r->clearReflections();
    return r;
}

// Left output for a unit impulse on the left send.
std::vector<double> leftImpulse(E& r, int samples)
{
    std::vector<double> out;
    for (int i = 0; i < samples; ++i) {
        double l, rr;
        r.processReflections(i == 0 ? 1.0 : 0.0, 0.0, l, rr);
        out.push_back(l);
    }
    return out;
}

TEST(EarlyReflections, ParameterLawsCoverTheirRanges)
{
    // clang-format off
    const double laws[][3] = {
        {E::roomScaleFromParameter(0.0), 0.5, 1e-12},       {E::roomScaleFromParameter(1.0), 4.0, 1e-4},
        {E::virtualScaleFromParameter(0.0), 0.25, 1e-12},   {E::virtualScaleFromParameter(1.0), 4.0, 1e-4},
        {E::extraDistanceFromParameter(0.0), 0.15, 1e-12},  {E::extraDistanceFromParameter(1.0), 1.5, 1e-4},
        {E::cutoffScaleFromParameter(0.0), 200.0, 0},       {E::cutoffScaleFromParameter(0.5), 2000.0, 0},
        {E::cutoffScaleFromParameter(1.0), 20000.0, 0},     {E::sizePreset(3).virtualRoomSize, 0.5, 0},
        {20.0 * std::log10(E::outputGainFromLevel(1.0)), -30.0, 1e-6}};  // "Amount" at -30 dB
    // clang-format on
    for (const auto& [got, want, tolerance] : laws) EXPECT_NEAR(got, want, tolerance) << want;
    for (int pos = 2; pos <= 5; ++pos)  // larger "Size" positions give a larger room
        EXPECT_GT(E::sizePreset(pos).roomSize, E::sizePreset(pos - 1).roomSize) << pos;
}

// Worked out by hand for s = 1.3 at 48 kHz, 5 kHz cutoff: the first left tap lies at
// 3.1 x 1.3 x 48000 / 340.29 = 568.45 samples; the read at w - 568 mixes in the next newer
// sample with weight f = 0.45632, so the impulse shows one sample early. Tap gain
// 10^(-1.3 x 3.1 / (1.3 x 14.9 + 0.15)) = 0.62165, one-pole a = e^(-2 pi 0.93 x 5000 / 48000).
TEST(EarlyReflections, DelaysLevelsAndCutoffsWorkedOut)
{
    auto room = makeRoom(48000.0, 1.3, 1.0, 0.15, 5000.0);
    const std::vector<double> left = leftImpulse(*room, 570);
    for (int i = 0; i < 567; ++i) ASSERT_EQ(left[i], 0.0) << i;
    EXPECT_NEAR(left[567], 0.129334, 1e-6);  // f x gain x (1 - a)
    EXPECT_NEAR(left[568], 0.224463, 1e-6);  // a x 0.129334 + (1 - f) x gain x (1 - a)

    // The farthest far distance 14.9 m scaled: 1.5 x 14.9 x 1.2 + 0.4 = 27.22 m lies at -20 dB,
    // tap k at 10^(-1.5 d_k / 27.22). Each tap's low-pass has unit gain at DC, so the left
    // impulse response sums to the twelve left tap gains. The poles: data/early_reflection_poles.txt.
    room = makeRoom(44100.0, 1.5, 1.2, 0.4);
    EXPECT_NEAR(room->tapGain(0), 0.674792, 1e-6);   // d = 3.1
    EXPECT_NEAR(room->tapGain(12), 0.683409, 1e-6);  // d = 3.0
    EXPECT_NEAR(room->tapGain(11), 0.226597, 1e-6);  // d = 11.7
    double sum = 0.0;
    for (double x : leftImpulse(*room, 44100)) sum += x;
    EXPECT_NEAR(sum, 4.579158, 1e-5);
    for (const auto& p : test::handRows("early_reflection_poles.txt", 3))
        EXPECT_NEAR(makeRoom(48000.0, 1.0, 1.0, 0.15, p[0])->tapCoefficient(static_cast<int>(p[1])), p[2], 1e-12)
            << p[1];
}

// The tap tables and the output of several rooms for a signal on both sends (with an impulse
// on the right one), stored in data/early_reflections.txt and written again with
// ORV_UPDATE_EARLY_REFLECTIONS=1. The stored output was checked against the tap loop written
// out plainly (a linear read, gain and flushed one-pole per tap, each side on its own send)
// when it was made.
TEST(EarlyReflections, RoomsMatchTheStoredTapsAndOutput)
{
    const double rooms[][5] = {{44100, 0.6, 1.3, 0.4, 6000},  {44100, 1.7, 1.3, 0.4, 6000},
                               {44100, 3.9, 1.3, 0.4, 6000},  {44100, 2.0, 0.5, 0.15, 20000},
                               {44100, 2.0, 3.0, 1.5, 20000}, {96000, 4.0, 1, 0.15, 300}};
    test::GoldenRows now;
    int index = 0;
    for (const auto& [fs, s, v, o, cutoff] : rooms) {
        auto room = makeRoom(fs, s, v, o, cutoff);
        room->setOutputGainTarget(0.7);
        room->advanceOutputGain(1.0);
        std::vector<double> taps, out{0.0};
        for (int k = 0; k < E::kTaps; ++k)
            taps.insert(taps.end(),
                        {double(room->tapDelay(k)), room->tapFraction(k), room->tapGain(k), room->tapCoefficient(k)});
        for (int n = 0; n < 30000; ++n) {
            double l, r;
            room->processReflections(std::sin(0.011 * n) * (n % 1000 < 500 ? 1.0 : 0.0),
                                     0.5 * std::sin(0.23 * n) + (n == 7 ? 1.0 : 0.0), l, r);
            out[0] += l * l + r * r;
            if (n % 50 == 0) out.insert(out.end(), {l, r});
        }
        now.emplace_back("taps" + std::to_string(index), taps);
        now.emplace_back("output" + std::to_string(index++), out);
    }
    test::expectGoldenRows(test::dataFile("early_reflections.txt"), "ORV_UPDATE_EARLY_REFLECTIONS", now,
                           [](double got, double want, const std::vector<double>&) {
                               return std::fabs(got - want) <= 1e-9 * std::fabs(want) + 1e-13;
                           });
}

// A silent output keeps filling the lines (the late taps still come when the level returns);
// cleared lines are silent, also where a larger room set up after the clear reads; the decay
// ends far below audibility without denormals.
TEST(EarlyReflections, LinesKeepFillingClearAndDecay)
{
    auto room = makeRoom(44100.0, 4.0);
    room->setOutputGainTarget(0.0);
    room->clearReflections();
    double l = 1, r = 1, energy = 0.0;
    room->processReflections(1.0, 1.0, l, r);
    EXPECT_EQ(l + r, 0.0);
    room->setOutputGainTarget(1.0);
    room->advanceOutputGain(1.0);
    for (int i = 1; i < 30000; ++i) {
        room->processReflections(0.0, 0.0, l, r);
        energy += l * l + r * r;
    }
    EXPECT_GT(energy, 1e-3);
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
    for (int i = 0; i < 4410; ++i) room->processReflections(std::sin(i * 0.1), std::cos(i * 0.07), l, r);
    for (int i = 0; i < 200000; ++i) room->processReflections(0.0, 0.0, l, r);
    EXPECT_LT(std::fabs(l) + std::fabs(r), 1e-20);
    EXPECT_NE(std::fpclassify(l), FP_SUBNORMAL);
    EXPECT_NE(std::fpclassify(r), FP_SUBNORMAL);
}

}  // namespace
}  // namespace orv
