#include "dsp/BiquadFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

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

// Poles of z^2 + a1 z + a2 lie strictly inside the unit circle (the stability triangle).
bool stable(double a1, double a2)
{
    return std::fabs(a2) < 1.0 && std::fabs(a1) < 1.0 + a2;
}

// ---------------------------------------------------------------- idle and identity

TEST(BiquadFilterIdle, NewFilterPassesInputUnchanged)
{
    BiquadFilter f;  // type 4, disabled
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int n = 0; n < 500; ++n) {
        const double x = u(rng);
        EXPECT_EQ(f.process(x), x);
        EXPECT_EQ(f.processSaturated(x), x);
    }
}

TEST(BiquadFilterIdle, TypeZeroPassesInputEvenWhenEnabled)
{
    BiquadFilter f = designed(BiquadFilter::typeOff, 44100, 1000, 1, 6);
    for (double x : {0.5, -0.25, 1e-3, 3.0})
        EXPECT_EQ(f.process(x), x);
}

TEST(BiquadFilterIdle, UnknownTypeDesignsIdentity)
{
    BiquadFilter f = designed(11, 44100, 1000, 2, 6);
    EXPECT_EQ(f.b0, 1.0);
    EXPECT_EQ(f.b1, 0.0);
    EXPECT_EQ(f.b2, 0.0);
    EXPECT_EQ(f.a1, 0.0);
    EXPECT_EQ(f.a2, 0.0);
}

TEST(BiquadFilterIdle, ZeroDbPeakIsIdentity)
{
    for (double f0 : {50.0, 1000.0, 12000.0}) {
        for (double q : {0.3, 1.0, 40.0}) {
            BiquadFilter f = designed(BiquadFilter::typePeak, 48000, f0, q, 0.0);
            EXPECT_NEAR(f.b0, 1.0, 1e-15);
            EXPECT_NEAR(f.b1, f.a1, 1e-15);
            EXPECT_NEAR(f.b2, f.a2, 1e-15);
            for (int n = 0; n < 200; ++n) {
                const double x = std::sin(0.37 * n) + 0.1 * std::cos(2.1 * n);
                EXPECT_NEAR(f.process(x), x, 1e-12);
            }
        }
    }
}

// ---------------------------------------------------------------- designs

struct DesignCase {
    std::uint32_t type;
    double fs, f0, q, gainDb;
};

void PrintTo(const DesignCase& c, std::ostream* os)
{
    *os << "type " << c.type << " fs " << c.fs << " f0 " << c.f0 << " q " << c.q << " gain " << c.gainDb;
}

class BiquadDesignResponse : public ::testing::TestWithParam<DesignCase> {};

// The filter's measured sine gain follows the analytic response of the warped design.
TEST_P(BiquadDesignResponse, MeasuredGainMatchesAnalyticDesign)
{
    const DesignCase c = GetParam();
    const test::Sos ref = referenceDesign(c.type, c.fs, c.f0, c.q, c.gainDb);
    for (double ratio : {0.1, 0.5, 0.9, 1.0, 1.15, 2.0, 5.0}) {
        const double f = c.f0 * ratio;
        if (f >= 0.45 * c.fs)
            continue;
        BiquadFilter filter = designed(c.type, c.fs, c.f0, c.q, c.gainDb);
        const double measured = measureGain([&](double x) { return filter.process(x); }, f, c.fs);
        const double expected = std::abs(response(ref, f, c.fs));
        if (expected > 1e-3)
            EXPECT_NEAR(toDb(measured), toDb(expected), 0.01) << "f = " << f;
        else
            EXPECT_NEAR(measured, expected, 1e-5) << "f = " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, BiquadDesignResponse,
    ::testing::Values(DesignCase{1, 44100, 120, 0.7, 0}, DesignCase{1, 48000, 15000, 2.0, 0},
                      DesignCase{2, 44100, 300, 1, 0}, DesignCase{3, 44100, 200, 0.35, 3},
                      DesignCase{3, 96000, 1000, 1.2, -9}, DesignCase{4, 44100, 1150, 12, -7},
                      DesignCase{4, 44100, 16000, 3, 10}, DesignCase{5, 44100, 70, 9, 0},
                      DesignCase{5, 48000, 3000, 0.8, 0}, DesignCase{6, 44100, 2000, 4, 0},
                      DesignCase{7, 44100, 5000, 0.6, 6}, DesignCase{7, 88200, 12000, 1, -12},
                      DesignCase{8, 44100, 1170, 0.93, 0}, DesignCase{8, 44100, 20000, 0.707, 0},
                      DesignCase{9, 44100, 800, 1, 0}, DesignCase{9, 192000, 30000, 1, 0},
                      DesignCase{10, 44100, 1000, 0.5, 0}));

TEST(BiquadFilterDesign, PeakHasItsGainAtTheCentreWhateverTheQ)
{
    for (double gain : {-25.0, -7.6, 8.0, 12.0}) {
        for (double q : {0.7, 5.0, 40.0}) {
            const BiquadFilter f = designed(BiquadFilter::typePeak, 44100, 2940, q, gain);
            const test::Sos s{{f.b0, f.b1, f.b2}, {1.0, f.a1, f.a2}};
            EXPECT_NEAR(toDb(std::abs(response(s, 2940, 44100))), gain, 1e-9);
        }
    }
}

// At the corner a second-order low- or high-pass has |H| = Q, here the warped Q'.
TEST(BiquadFilterDesign, SecondOrderCornerGainIsWarpedQ)
{
    const double fs = 44100;
    for (double f0 : {500.0, 8000.0, 18000.0}) {
        const double q = 1.3;
        const BiquadFilter lp = designed(BiquadFilter::typeLowPass2, fs, f0, q, 0);
        const BiquadFilter hp = designed(BiquadFilter::typeHighPass2, fs, f0, q, 0);
        const double qLp = (1.0 - std::pow(f0 / (0.50001 * fs), 8.0)) * q;
        const double qHp = (1.0 - std::pow(f0 / (0.5001 * fs), 6.0)) * q;
        const test::Sos sl{{lp.b0, lp.b1, lp.b2}, {1.0, lp.a1, lp.a2}};
        const test::Sos sh{{hp.b0, hp.b1, hp.b2}, {1.0, hp.a1, hp.a2}};
        EXPECT_NEAR(std::abs(response(sl, f0, fs)), qLp, 1e-9) << f0;
        EXPECT_NEAR(std::abs(response(sh, f0, fs)), qHp, 1e-9) << f0;
        // The warp is audible near Nyquist only.
        if (f0 == 18000.0) {
            EXPECT_LT(qLp, 0.85 * q);
        }
    }
}

// Gains every design must have at its landmarks: band-pass 0 dB at the centre and nothing at
// DC; notch nothing at the centre, unity at DC and Nyquist; shelves the full gain on their
// side, unity on the other and half the dB at the corner; first-order high-pass nothing at DC
// and unity at Nyquist; all-pass unity everywhere.
TEST(BiquadFilterDesign, LandmarkGains)
{
    constexpr double fs = 44100, nyquist = fs / 2;
    struct Landmark {
        DesignCase design;
        double f, gain;  // gain as a factor
    };
    const double db9 = std::pow(10.0, 9.0 / 20.0), db45 = std::pow(10.0, 4.5 / 20.0);
    const double dbm8 = std::pow(10.0, -8.0 / 20.0), dbm4 = std::pow(10.0, -4.0 / 20.0);
    const DesignCase bp{BiquadFilter::typeBandPass, fs, 1000, 3, 0}, notch{BiquadFilter::typeNotch, fs, 1000, 3, 0};
    const DesignCase ls{BiquadFilter::typeLowShelf, fs, 300, 0.7, 9}, hs{BiquadFilter::typeHighShelf, fs, 3000, 0.7, -8};
    const DesignCase hp1{BiquadFilter::typeHighPass1, fs, 200, 1, 0}, ap{BiquadFilter::typeAllPass, fs, 700, 0.9, 0};
    const Landmark landmarks[] = {
        {bp, 1000, 1.0}, {bp, 0, 0.0}, {notch, 1000, 0.0}, {notch, 0, 1.0}, {notch, nyquist, 1.0},
        {ls, 0, db9}, {ls, nyquist, 1.0}, {ls, 300, db45}, {hs, 0, 1.0}, {hs, nyquist, dbm8}, {hs, 3000, dbm4},
        {hp1, 0, 0.0}, {hp1, nyquist, 1.0}, {ap, 0, 1.0}, {ap, 100, 1.0}, {ap, 700, 1.0}, {ap, 5000, 1.0},
        {ap, nyquist, 1.0},
    };
    for (const Landmark& m : landmarks) {
        const DesignCase& d = m.design;
        const BiquadFilter f = designed(d.type, d.fs, d.f0, d.q, d.gainDb);
        const test::Sos sos{{f.b0, f.b1, f.b2}, {1.0, f.a1, f.a2}};
        EXPECT_NEAR(std::abs(response(sos, m.f, fs)), m.gain, 1e-9) << "type " << d.type << " at " << m.f;
    }
}

TEST(BiquadFilterDesign, OnePoleLowPassHasUnityDcAndNoSecondOrderTerms)
{
    for (double fs : {22050.0, 44100.0, 96000.0}) {
        for (double f0 : {10.0, 1000.0, 0.45 * fs}) {
            BiquadFilter f = designed(BiquadFilter::typeLowPass1, fs, f0, 1, 0);
            EXPECT_EQ(f.b1, 0.0);
            EXPECT_EQ(f.a2, 0.0);
            EXPECT_EQ(f.b2, 0.0);
            EXPECT_NEAR(f.b0 / (1.0 + f.a1), 1.0, 1e-12);
            double y = 0;
            for (int n = 0; n < 200000; ++n)
                y = f.process(0.75);
            EXPECT_NEAR(y, 0.75, 1e-9);
        }
    }
}

TEST(BiquadFilterDesign, A0KeepsUnnormalisedValue)
{
    const BiquadFilter f = designed(BiquadFilter::typeLowPass2, 44100, 1000, 0.7, 0);
    // 1 + sin(w) / 2Q' with w = 2 pi 1000 / 44100 and the warped Q' = 0.7 (1 - (1000 / 22050.5)^8).
    EXPECT_NEAR(f.a0, 1.1014245128, 1e-10);
}

// ---------------------------------------------------------------- roots and glide

TEST(BiquadFilterRoots, TargetsReproduceTheDesign)
{
    for (std::uint32_t type = 1; type <= 10; ++type) {
        const BiquadFilter f = designed(type, 44100, 900, 2.5, -6);
        const auto& r = f.rootState;
        const double g = r[BiquadFilter::rootGain].target;
        // b0 z^2 + b1 z + b2 = b0 (z - zero1)(z - zero2); z^2 + a1 z + a2 = (z - pole1)(z - pole2).
        const std::complex<double> z1(r[BiquadFilter::zero1Re].target, r[BiquadFilter::zero1Im].target);
        const std::complex<double> z2(r[BiquadFilter::zero2Re].target, r[BiquadFilter::zero2Im].target);
        const std::complex<double> p1(r[BiquadFilter::pole1Re].target, r[BiquadFilter::pole1Im].target);
        const std::complex<double> p2(r[BiquadFilter::pole2Re].target, r[BiquadFilter::pole2Im].target);
        EXPECT_NEAR(g, f.b0, 1e-15) << type;
        EXPECT_NEAR((-(z1 + z2) * g).real(), f.b1, 1e-12) << type;
        EXPECT_NEAR((z1 * z2 * g).real(), f.b2, 1e-12) << type;
        EXPECT_NEAR((-(p1 + p2)).real(), f.a1, 1e-12) << type;
        EXPECT_NEAR((p1 * p2).real(), f.a2, 1e-12) << type;
        // Complex roots come as conjugate pairs.
        EXPECT_EQ(z1.imag(), -z2.imag());
        EXPECT_EQ(p1.imag(), -p2.imag());
    }
}

TEST(BiquadFilterRoots, ResetPutsRootsAtTheirStartValues)
{
    BiquadFilter f = designed(BiquadFilter::typePeak, 44100, 3000, 4, 6);
    f.process(0.3);
    f.reset();
    for (int i = 0; i < BiquadFilter::rootCount; ++i) {
        const double start = (i == BiquadFilter::zero1Re || i == BiquadFilter::rootGain) ? 1.0 : 0.0;
        EXPECT_EQ(f.rootState[i].current, start);
        EXPECT_EQ(f.rootState[i].target, start);
        EXPECT_EQ(f.rootIncrement[i], 0.0);
    }
    EXPECT_EQ(f.glideRemaining, 0u);
    EXPECT_EQ(f.x1, 0.0);
    EXPECT_EQ(f.y1, 0.0);
    EXPECT_EQ(f.saturationOn, 0u);
    EXPECT_EQ(f.saturationAmount, -1.0);
}

// The running set after n glide samples is the product form of roots moved n/L of the way.
TEST(BiquadFilterGlide, MovesRootsInStraightLinesAndLandsAfterGlideLength)
{
    BiquadFilter f = designed(BiquadFilter::typePeak, 44100, 800, 2, -12);
    f.snapOnUpdate = false;
    double start[BiquadFilter::rootCount];
    for (int i = 0; i < BiquadFilter::rootCount; ++i)
        start[i] = f.rootState[i].current;

    f.frequency = 2500;
    f.q = 6;
    f.gainDb = 9;
    f.update();
    const unsigned length = f.glideLength;
    ASSERT_EQ(length, 132u);
    EXPECT_EQ(f.glideRemaining, length);

    for (unsigned n = 1; n <= length; ++n) {
        f.process(0.0);
        const double t = static_cast<double>(n) / length;
        double r[BiquadFilter::rootCount];
        for (int i = 0; i < BiquadFilter::rootCount; ++i)
            r[i] = start[i] + t * (f.rootState[i].target - start[i]);
        using B = BiquadFilter;
        EXPECT_NEAR(f.runA1, -(r[B::pole1Re] + r[B::pole2Re]), 1e-12);
        EXPECT_NEAR(f.runA2, r[B::pole1Re] * r[B::pole2Re] - r[B::pole1Im] * r[B::pole2Im], 1e-12);
        EXPECT_NEAR(f.runB0, r[B::rootGain], 1e-12);
        EXPECT_NEAR(f.runB1, -(r[B::zero1Re] + r[B::zero2Re]) * r[B::rootGain], 1e-12);
        EXPECT_NEAR(f.runB2, (r[B::zero1Re] * r[B::zero2Re] - r[B::zero1Im] * r[B::zero2Im]) * r[B::rootGain], 1e-12);
        EXPECT_EQ(f.runA0, 1.0);
        EXPECT_EQ(f.glideRemaining, length - n);
        if (n < length) {
            EXPECT_GT(std::fabs(f.runA1 - f.a1), 1e-6) << "glide ended early at " << n;
        }
    }
    // Last glide sample: the target roots' product form, which is the design.
    EXPECT_NEAR(f.runA1, f.a1, 1e-12);
    EXPECT_NEAR(f.runA2, f.a2, 1e-12);
    EXPECT_NEAR(f.runB0, f.b0, 1e-12);
    EXPECT_NEAR(f.runB1, f.b1, 1e-12);
    EXPECT_NEAR(f.runB2, f.b2, 1e-12);
    // The next sample uses the designed set itself.
    f.process(0.0);
    EXPECT_EQ(f.runA1, f.a1);
    EXPECT_EQ(f.runA2, f.a2);
    EXPECT_EQ(f.runB0, f.b0);
    EXPECT_EQ(f.runB1, f.b1);
    EXPECT_EQ(f.runB2, f.b2);
}

// A peaking filter retuned every 16 samples across the band, with Q and gain changing too,
// glides through pole sets that all lie inside the unit circle.
TEST(BiquadFilterGlide, SweptPeakNeverPassesThroughAnUnstableSet)
{
    BiquadFilter f = designed(BiquadFilter::typePeak, 44100, 1000, 1, 0);
    f.snapOnUpdate = false;
    f.glideLength = BiquadFilter::glideLengthFor(44100);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> freq(20.0, 0.499 * 44100);
    std::uniform_real_distribution<double> qd(0.1, 40.0);
    std::uniform_real_distribution<double> gain(-30.0, 15.0);
    double peakOut = 0;
    for (int block = 0; block < 4000; ++block) {
        if (block % 2 == 0) {
            f.frequency = freq(rng);
            f.q = qd(rng);
            f.gainDb = gain(rng);
        } else {  // large jumps between the band edges
            f.frequency = (block % 4 == 1) ? 25.0 : 21000.0;
        }
        f.update();
        for (int n = 0; n < 16; ++n) {
            const double y = f.process(n == 0 ? 1.0 : 0.0);
            ASSERT_TRUE(stable(f.runA1, f.runA2)) << "block " << block << " a1 " << f.runA1 << " a2 " << f.runA2;
            peakOut = std::max(peakOut, std::fabs(y));
        }
    }
    EXPECT_TRUE(std::isfinite(peakOut));
}

TEST(BiquadFilterGlide, EnablingByUpdateAloneGlidesFromThePreviousRoots)
{
    BiquadFilter f;
    f.snapOnUpdate = false;
    f.frequency = 2000;
    f.q = 3;
    f.gainDb = 10;
    f.enabled = 1;
    f.update();
    EXPECT_EQ(f.glideRemaining, 132u);
    // First sample: roots 1/132 of the way from the reset roots (zero1 = 1, gain = 1).
    const double y = f.process(1.0);
    const double t = 1.0 / 132;
    using B = BiquadFilter;
    auto lerp = [&](int i, double s) { return s + t * (f.rootState[i].target - s); };
    const double g = lerp(B::rootGain, 1.0);
    EXPECT_NEAR(y, g, 1e-12);
    EXPECT_NEAR(f.runB1, -(lerp(B::zero1Re, 1.0) + lerp(B::zero2Re, 0.0)) * g, 1e-12);

    // Update-then-snap gives the designed response from the first sample.
    BiquadFilter s;
    s.frequency = 2000;
    s.q = 3;
    s.gainDb = 10;
    s.enable();
    EXPECT_EQ(s.glideRemaining, 0u);
    EXPECT_EQ(s.process(1.0), s.b0);
}

TEST(BiquadFilterGlide, DisablingDuringAGlideFinishesTheGlideThenPassesWithClearedHistory)
{
    BiquadFilter f = designed(BiquadFilter::typePeak, 44100, 500, 2, 12);
    f.snapOnUpdate = false;
    f.glideLength = 40;
    f.frequency = 5000;
    f.update();
    f.enabled = 0;  // no update: the glide in progress continues
    for (int n = 0; n < 40; ++n) {
        const double x = std::sin(0.3 * n);
        const double y = f.process(x);
        if (n > 2) {
            EXPECT_NE(y, x) << n;
        }
    }
    EXPECT_EQ(f.glideRemaining, 0u);
    EXPECT_EQ(f.process(0.7), 0.7);
    EXPECT_EQ(f.x1, 0.0);
    EXPECT_EQ(f.x2, 0.0);
    EXPECT_EQ(f.y1, 0.0);
    EXPECT_EQ(f.y2, 0.0);
}

TEST(BiquadFilterGlide, SnapEndsTheGlideAtTheTarget)
{
    BiquadFilter f = designed(BiquadFilter::typeHighShelf, 44100, 4000, 0.7, 6);
    f.snapOnUpdate = false;
    f.gainDb = -6;
    f.update();
    f.process(0.1);
    f.snap();
    EXPECT_EQ(f.glideRemaining, 0u);
    for (int i = 0; i < BiquadFilter::rootCount; ++i) {
        EXPECT_EQ(f.rootState[i].current, f.rootState[i].target);
        EXPECT_EQ(f.rootIncrement[i], 0.0);
    }
    f.process(0.1);
    EXPECT_EQ(f.runB0, f.b0);
}

TEST(BiquadFilterGlide, RateHelpers)
{
    EXPECT_EQ(BiquadFilter::usableRate(19999.0), 44100.0);
    EXPECT_EQ(BiquadFilter::usableRate(20000.0), 20000.0);
    EXPECT_EQ(BiquadFilter::usableRate(400000.0), 400000.0);
    EXPECT_EQ(BiquadFilter::usableRate(400001.0), 44100.0);
    EXPECT_EQ(BiquadFilter::glideLengthFor(44100.0), 132u);
    EXPECT_EQ(BiquadFilter::glideLengthFor(48000.0), 144u);
    EXPECT_EQ(BiquadFilter::glideLengthFor(96000.0), 288u);
}

// ---------------------------------------------------------------- process variants

TEST(BiquadFilterProcess, PlainMatchesGlideProcessOnADesignedFilter)
{
    BiquadFilter a = designed(BiquadFilter::typeBandPass, 44100, 1500, 2, 0);
    BiquadFilter b = a;
    std::mt19937 rng(3);
    std::normal_distribution<double> noise;
    for (int n = 0; n < 5000; ++n) {
        const double x = noise(rng);
        EXPECT_NEAR(a.process(x), b.processPlain(x), 1e-12);
    }
}

TEST(BiquadFilterProcess, PlainIgnoresTypeAndEnable)
{
    BiquadFilter f = designed(BiquadFilter::typeLowPass2, 44100, 1000, 0.7, 0);
    f.enabled = 0;
    f.type = BiquadFilter::typeOff;
    const double y0 = f.processPlain(1.0);
    EXPECT_EQ(y0, f.b0);
    EXPECT_NE(y0, 1.0);
}

// After the input stops, the flush idiom brings every process to exact zero, never denormal.
TEST(BiquadFilterProcess, DecayEndsInExactZeroWithoutDenormals)
{
    for (int variant = 0; variant < 3; ++variant) {
        BiquadFilter f = designed(BiquadFilter::typePeak, 44100, 3000, 2, 12);
        f.setSaturation(variant == 1 ? 0.5 : 0.0);
        double y = 1.0;
        int n = 0;
        for (; n < 200000 && (n < 2 || y != 0.0); ++n) {
            const double x = n == 0 ? 1.0 : 0.0;
            y = variant == 0 ? f.process(x) : variant == 1 ? f.processSaturated(x) : f.processPlain(x);
            ASSERT_NE(std::fpclassify(y), FP_SUBNORMAL) << "variant " << variant << " n " << n;
        }
        EXPECT_EQ(y, 0.0) << "variant " << variant;
        EXPECT_EQ(f.y1, 0.0);
        EXPECT_EQ(f.y2 == 0.0 || std::fpclassify(f.y2) == FP_NORMAL, true);
    }
}

TEST(BiquadFilterProcess, SaturatedEqualsProcessWhenSaturationIsOff)
{
    BiquadFilter a = designed(BiquadFilter::typePeak, 44100, 1200, 3, 9);
    a.snapOnUpdate = false;
    a.setSaturation(0.0);
    BiquadFilter b = a;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-2.0, 2.0);
    for (int n = 0; n < 3000; ++n) {
        if (n % 500 == 0) {  // include glides
            a.frequency = b.frequency = 300.0 + n;
            a.update();
            b.update();
        }
        const double x = u(rng);
        ASSERT_EQ(a.process(x), b.processSaturated(x)) << n;
    }
}

// ---------------------------------------------------------------- saturation

TEST(BiquadFilterSaturation, CoefficientFollowsFrequencyAmountQAndRate)
{
    struct Case { double fs, f0, q, amount; };
    for (const Case c : {Case{44100, 1170, 0.93, 0.0008}, Case{96000, 252, 0.71, 0.32},
                         Case{48000, 2000, 1.0, 0.016}, Case{44100, 90, 40.0, 1.0}}) {
        BiquadFilter f = designed(BiquadFilter::typePeak, c.fs, c.f0, c.q, 3);
        f.setSaturation(c.amount);
        // k = 3 f amount (44100 / fs) / (100000 q^0.75)
        const double expected = 3.0 * c.f0 * c.amount * (44100.0 / c.fs) / (100000.0 * std::pow(c.q, 0.75));
        EXPECT_EQ(f.saturationOn, 1u);
        EXPECT_NEAR(f.saturationCoefficient, expected, 1e-15 + 1e-12 * expected);
        EXPECT_EQ(f.saturationAmount, c.amount);
    }
}

TEST(BiquadFilterSaturation, ZeroOrNegativeAmountSwitchesOff)
{
    for (double amount : {0.0, -0.5}) {
        BiquadFilter f = designed(BiquadFilter::typePeak, 44100, 1000, 1, 3);
        f.setSaturation(0.7);
        ASSERT_EQ(f.saturationOn, 1u);
        f.setSaturation(amount);
        EXPECT_EQ(f.saturationOn, 0u);
        EXPECT_EQ(f.saturationCoefficient, 0.001);
        EXPECT_EQ(f.saturationAmount, amount);
    }
}

// The squashed output is what the recursion remembers.
TEST(BiquadFilterSaturation, SquashesInsideTheFeedbackPath)
{
    BiquadFilter f = designed(BiquadFilter::typeLowPass2, 44100, 5000, 0.9, 0);
    f.setSaturation(2.0);
    f.saturationBias = 0.03125;
    const double k = f.saturationCoefficient;
    ASSERT_GT(k, 0.01);
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (int n = 0; n < 400; ++n) {
        const double x = 3.0 * std::sin(0.05 * n);
        double y = f.b0 * x + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
        y = y / (1.0 + k * std::fabs(y + 0.03125));
        ASSERT_NEAR(f.processSaturated(x), y, 1e-12) << n;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
    }
    // The plain gliding process ignores the switch.
    BiquadFilter g = designed(BiquadFilter::typeLowPass2, 44100, 5000, 0.9, 0);
    BiquadFilter h = g;
    g.setSaturation(2.0);
    EXPECT_EQ(g.process(2.0), h.process(2.0));
}

}  // namespace
}  // namespace orv
