#include "dsp/BiquadFilter.h"
#include "dsp/MultiFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "DspReference.h"

namespace orv {
namespace {

using test::designed;
using test::response;
using B = BiquadFilter;

TEST(BiquadFilter, IdleFiltersPassTheInputUnchanged)
{
    BiquadFilter fresh;  // a disabled peak
    BiquadFilter off = designed(B::typeOff, 44100, 1000, 1, 6);
    BiquadFilter flat = designed(B::typePeak, 48000, 1000, 40, 0);
    for (int n = 0; n < 300; ++n) {
        const double x = std::sin(0.37 * n) + 0.1 * std::cos(2.1 * n);
        EXPECT_EQ(fresh.process(x), x);
        EXPECT_EQ(fresh.processSaturated(x), x);
        EXPECT_EQ(off.process(x), x);
        EXPECT_NEAR(flat.process(x), x, 1e-12);
    }
}

// The designs of every type over the rates, frequencies, Q and gains in use, stored as data
// (data/biquad_designs.txt: row, type, rate, frequency, Q, dB, then a0 a1 a2 b0 b1 b2), written
// with ORV_UPDATE_BIQUAD_DESIGNS=1. The table was checked against the textbook designs
// computed with the library's sin, cos and pow when it was made.
TEST(BiquadFilter, DesignsMatchTheStoredTable)
{
    std::mt19937_64 rng(12);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    test::GoldenRows now;
    for (std::uint32_t type = 0; type <= 11; ++type) {  // 0 and 11 design the identity
        for (int i = 0; i < 24; ++i) {
            const double fs = i % 3 == 0 ? 44100.0 : (i % 3 == 1 ? 48000.0 : 22050.0);
            const double f0 = 0.001 + 0.499 * fs * std::pow(unit(rng), 2.0);
            const double q = 0.05 + 10.0 * unit(rng), db = -40.0 + 80.0 * unit(rng);
            const BiquadDesigner::Design d = designed(type, fs, f0, q, db).design();
            now.emplace_back(std::to_string(now.size()),
                             std::vector<double>{double(type), fs, f0, q, db, d.a0, d.a1, d.a2, d.b0, d.b1, d.b2});
        }
    }
    // The one-pole's pole k - sqrt(k^2 - 1) magnifies a last-bit difference of cos w by about
    // 1 / w at low frequencies.
    test::expectGoldenRows(test::dataFile("biquad_designs.txt"), "ORV_UPDATE_BIQUAD_DESIGNS", now,
                           [](double got, double want, const std::vector<double>& row) {
                               const double tolerance =
                                   row[0] == B::typeLowPass1 ? 2e-14 / (2.0 * M_PI * row[2] / row[1]) : 5e-14;
                               return std::fabs(got - want) <= tolerance * std::max(1.0, std::fabs(want));
                           });
}

// Gains each design must have at its landmarks, worked out by hand (data/biquad_landmarks.txt).
TEST(BiquadFilter, LandmarkGains)
{
    for (const auto& m : test::handRows("biquad_landmarks.txt", 6)) {
        const BiquadFilter f = designed(static_cast<std::uint32_t>(m[0]), 44100, m[1], m[2], m[3]);
        EXPECT_NEAR(std::abs(response(f.design(), m[4], 44100)), m[5], 1e-9) << m[0] << " at " << m[4];
    }
}

// A filter redesigned over and over reuses the parts of its last design whose inputs did not
// change; whatever the sequence, its design equals, bit for bit, a fresh filter's.
TEST(BiquadFilter, AnySequenceOfChangesDesignsLikeAFreshFilter)
{
    const double rates[] = {44100.0, 48000.0, 22050.0}, frequencies[] = {100.0, 1500.0, 6000.0, 10900.0};
    const double qs[] = {0.3, 0.7, 2.5}, gains[] = {-12.0, 0.0, 3.5, 9.0};
    std::mt19937 rng(7);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    BiquadFilter f;
    f.setSnapOnUpdate(false);
    f.setEnabled(true);
    for (int step = 0; step < 4000; ++step) {
        switch (pick(7)) {
        case 0: break;  // the same inputs again
        case 1: f.setGainDb(gains[pick(4)]); break;
        case 2: f.setFrequency(frequencies[pick(4)]); break;
        case 3: f.setQ(qs[pick(3)]); break;
        case 4: f.setType(static_cast<std::uint32_t>(pick(12))); break;
        case 5: f.setEnabled(pick(4) != 0); break;
        default: f.prepare(rates[pick(3)], 40); break;
        }
        f.update();
        BiquadFilter g = designed(f.type(), f.sampleRate(), f.frequency(), f.q(), f.gainDb());
        g.setEnabled(f.enabled());
        g.update();
        const BiquadDesigner::Design &a = f.design(), &b = g.design();
        ASSERT_TRUE(a.a0 == b.a0 && a.a1 == b.a1 && a.a2 == b.a2 && a.b0 == b.b0 && a.b1 == b.b1 && a.b2 == b.b2)
            << step;
        for (int i = 0; i < B::rootCount; ++i) ASSERT_EQ(a.root[i], b.root[i]) << step;
        if (pick(3) == 0) {
            const double amount = pick(2) == 0 ? 0.0 : 0.004 * (1 + pick(5));
            f.setSaturation(amount);
            g.setSaturation(amount);
            ASSERT_EQ(f.saturationCoefficient(), g.saturationCoefficient()) << step;
        }
        for (int n = 0; n < 5; ++n) f.processSaturated(std::sin(0.37 * (step * 5 + n)));
    }
}

// From the reset roots (zero 1 = 1, gain 1) the first glide sample has the gain root 1/132
// of the way to its target; a repeated design restarts the glide, which lands after the full
// length and then runs the design. Disabled during a glide, a filter finishes the glide, then
// passes the input with its history cleared. Rates outside 20 kHz .. 400 kHz design for 44.1 kHz.
TEST(BiquadFilter, GlidesLandDisableAndRates)
{
    BiquadFilter f;
    f.setSnapOnUpdate(false);
    f.setFrequency(2000), f.setQ(3), f.setGainDb(10), f.setEnabled(true);
    f.update();
    EXPECT_EQ(f.glideRemaining(), 132u);
    EXPECT_NEAR(f.process(1.0), 1.0 + (f.design().root[BiquadDesigner::kGain] - 1.0) / 132, 1e-12);
    f.update();
    for (unsigned n = 132; n > 0; --n, f.process(0.0)) ASSERT_EQ(f.glideRemaining(), n);
    BiquadFilter plain = f;
    for (int n = 0; n < 2000; ++n)
        ASSERT_NEAR(f.process(std::sin(0.7 * n)), plain.processPlain(std::sin(0.7 * n)), 1e-12);
    f.setGainDb(-6);
    f.update();
    f.snap();  // snapping ends a glide at once
    EXPECT_EQ(f.glideRemaining(), 0u);
    f = designed(B::typePeak, 44100, 500, 3, -6);
    f.setSnapOnUpdate(false);
    f.prepare(44100, 40);
    f.setFrequency(5000);
    f.update();
    f.setEnabled(false);  // no update: the glide in progress continues
    for (int n = 0; n < 40; ++n) {
        const double x = std::sin(0.3 * n), y = f.process(x);
        EXPECT_TRUE(n <= 2 || y != x) << n;
    }
    EXPECT_EQ(f.process(0.7), 0.7);
    f.setEnabled(true);
    f.snap();
    EXPECT_EQ(f.processPlain(0.5), designed(B::typePeak, 44100, 5000, 3, -6).processPlain(0.5));  // no history left
    const double rates[][3] = {{19999, 44100, 132},  {20000, 20000, 60},  {400000, 400000, 1200},
                               {400001, 44100, 132}, {48000, 48000, 144}, {96000, 96000, 288}};
    for (const auto& [in, usable, glide] : rates)
        EXPECT_TRUE(B::usableRate(in) == usable && B::glideLengthFor(usable) == glide) << in;
}

// A peak retuned every 16 samples across the band, with Q and gain changing too, glides
// through stable sets only: its impulse responses stay small.
TEST(BiquadFilter, SweptPeakStaysStable)
{
    BiquadFilter f = designed(B::typePeak, 44100, 1000, 1, 0);
    f.setSnapOnUpdate(false);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> freq(20.0, 0.499 * 44100), qd(0.1, 40.0), gain(-30.0, 15.0);
    double peak = 0;
    for (int block = 0; block < 4000; ++block) {
        f.setFrequency(block % 2 == 0 ? freq(rng) : (block % 4 == 1 ? 25.0 : 21000.0));  // and jumps across the band
        if (block % 2 == 0) f.setQ(qd(rng)), f.setGainDb(gain(rng));
        f.update();
        for (int n = 0; n < 16; ++n) peak = std::max(peak, std::fabs(f.process(n == 0 ? 1.0 : 0.0)));
    }
    EXPECT_LT(peak, 100.0);
}

// After the input stops, the flush idiom brings every process to exact zero, never denormal.
TEST(BiquadFilter, DecayEndsInExactZeroWithoutDenormals)
{
    for (int variant = 0; variant < 3; ++variant) {
        BiquadFilter f = designed(B::typePeak, 44100, 3000, 2, 12);
        f.setSaturation(variant == 1 ? 0.5 : 0.0);
        double y = 1.0;
        for (int n = 0; n < 200000 && (n < 2 || y != 0.0); ++n) {
            const double x = n == 0 ? 1.0 : 0.0;
            y = variant == 0 ? f.process(x) : variant == 1 ? f.processSaturated(x) : f.processPlain(x);
            ASSERT_NE(std::fpclassify(y), FP_SUBNORMAL) << "variant " << variant << " n " << n;
        }
        EXPECT_EQ(y, 0.0) << "variant " << variant;
    }
}

// An amount above 0 sets the law's coefficient (data/biquad_saturation.txt); 0 or less leaves
// saturation off at the resting 0.001.
TEST(BiquadFilter, SaturationCoefficientLaw)
{
    for (const auto& c : test::handRows("biquad_saturation.txt", 5)) {
        BiquadFilter f = designed(B::typePeak, c[0], c[1], c[2], 3);
        f.setSaturation(c[3]);
        EXPECT_TRUE(f.saturationOn());
        EXPECT_NEAR(f.saturationCoefficient(), c[4], 1e-15 * c[4]);
        for (double off : {0.0, -0.5}) {
            f.setSaturation(off);
            EXPECT_FALSE(f.saturationOn());
            EXPECT_EQ(f.saturationCoefficient(), 0.001);
        }
    }
}

// The squashed output is what the recursion remembers (worked for the first two samples from
// rest); with saturation off the saturating process equals the plain gliding one.
TEST(BiquadFilter, SquashesInsideTheFeedbackPath)
{
    BiquadFilter f = designed(B::typeLowPass2, 44100, 5000, 0.9, 0), off = f;
    f.setSaturation(2.0);
    f.setSaturationBias(0.03125);
    const double k = f.saturationCoefficient();
    const BiquadDesigner::Design& d = f.design();
    const double y0 = d.b0 * 3.0 / (1.0 + k * std::fabs(d.b0 * 3.0 + 0.03125));
    const double v1 = d.b0 * -2.0 + d.b1 * 3.0 - d.a1 * y0;
    EXPECT_NEAR(f.processSaturated(3.0), y0, 1e-12);
    EXPECT_NEAR(f.processSaturated(-2.0), v1 / (1.0 + k * std::fabs(v1 + 0.03125)), 1e-12);
    BiquadFilter gliding = off;
    for (int n = 0; n < 400; ++n)
        ASSERT_EQ(off.processSaturated(3.0 * std::sin(0.05 * n)), gliding.process(3.0 * std::sin(0.05 * n))) << n;
}

// ---------------------------------------------------------------- the cascade of four
// Its stages against plain sections in series are checked through the voicing banks' response
// golden, their saturation with the banks' and the models' goldens.

constexpr double fs = 44100;

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
    MultiFilter m;  // a low-pass, a peak, a high-pass and a high shelf in series
    m.copyFrom(designed(8, fs, 6000, 0.8, 0), designed(4, fs, 700, 4, -9), designed(1, fs, 80, 0.7, 0),
               designed(7, fs, 3000, 0.6, 5));
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
