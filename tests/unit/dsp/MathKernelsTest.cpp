// The numeric kernels: the interpolated reads and the fast sine; then the lane functions
// against the standard library, within a few units in the last place over the ranges the
// filter designs use and beyond, a lane of a pair equal, bit for bit, to the scalar call.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "dsp/Interpolation.h"
#include "dsp/InterpolationLanes.h"
#include "dsp/LaneMath.h"

namespace orv {
namespace {

// Catmull-Rom weights at t = 0.5 and t = 0.75, worked out by hand from the kernel.
double halfway(double p0, double p1, double p2, double p3) { return (-p0 + 9 * p1 + 9 * p2 - p3) / 16.0; }
double threeQuarters(double p0, double p1, double p2, double p3)
{
    return -0.0234375 * p0 + 0.2265625 * p1 + 0.8671875 * p2 - 0.0703125 * p3;
}

// A mirrored ring of n values v(k). Catmull-Rom has quadratic precision: with central-difference
// tangents it is exact for second-order polynomials. -0.25 folds to 7.75 (neighbours 6, 7, 0, 1).
TEST(InterpolateRing, FoldsBelowZeroAndReproducesAQuadratic)
{
    auto ringOf = [](int n, auto v) {
        std::vector<double> ring(2 * n);
        for (int k = 0; k < n; ++k) writeMirrored(ring.data(), n, k, v(k));
        return ring;
    };
    const auto small = ringOf(8, [](int k) { return 1.0 + k * k; });
    const double expected = threeQuarters(small[6], small[7], small[0], small[1]);
    EXPECT_NEAR(InterpolateRing(-0.25, small.data(), 8), expected, 1e-12);
    EXPECT_NEAR(InterpolateRing(7.75, small.data(), 8), expected, 1e-12);
    auto f = [](double x) { return 0.02 * x * x - 0.5 * x + 3.0; };
    const auto ring = ringOf(64, f);
    for (double x = 1.0; x <= 61.0; x += 0.37) EXPECT_NEAR(InterpolateRing(x, ring.data(), 64), f(x), 1e-9) << x;
}

TEST(InterpolateRing, DelayLineReadGivesTheSampleWrittenThatLongAgo)
{
    const int n = 32, mask = n - 1;
    std::vector<double> signal(2 * n, 0.0), phase(2 * n, 0.0);
    for (int step = 0, w = 0; step < 100; ++step, w = (w + 1) & mask) {
        writeMirrored(signal.data(), n, w, 100.0 + step);
        writeMirrored(phase.data(), n, w, step / 100.0);
        // Half a sample back lies halfway between two linearly rising samples.
        for (int d = 0; step >= 20 && d < 20; ++d) {
            EXPECT_EQ(InterpolateRing(w - d, signal.data(), n), 100.0 + step - d);
            EXPECT_EQ(phaseAtPosition(w - d, phase.data(), mask), (step - d) / 100.0);
            EXPECT_TRUE(d != 2 || std::fabs(InterpolateRing(w - 2.5, signal.data(), n) - (97.5 + step)) < 1e-9);
        }
    }
}

// The ends hold; near the top the last entry stands in for both p2 and p3, near the bottom the
// first for p0; whole positions give the entries, and a quadratic comes back exactly.
TEST(InterpolateTable512, EndsHoldAndQuadraticPrecision)
{
    std::vector<double> t(512), q(512);
    auto f = [](double x) { return -0.003 * x * x + 1.1 * x - 7.0; };
    for (int i = 0; i < 512; ++i) t[i] = 0.001 * i * i + ((i % 3) ? 0.5 : -0.25), q[i] = f(i);
    for (double x : {0.0, -3.7, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(InterpolateTable512(x, t.data()), t[0]) << x;
    EXPECT_EQ(InterpolateTable512(511.0, t.data()), t[511]);
    EXPECT_EQ(InterpolateTable512(1e9, t.data()), t[511]);
    EXPECT_NEAR(InterpolateTable512(510.5, t.data()), halfway(t[509], t[510], t[511], t[511]), 1e-12);
    EXPECT_NEAR(InterpolateTable512(0.5, t.data()), halfway(t[0], t[0], t[1], t[2]), 1e-12);
    EXPECT_NEAR(InterpolateTable512(200.75, t.data()), threeQuarters(t[199], t[200], t[201], t[202]), 1e-12);
    for (int i = 1; i < 511; ++i) EXPECT_EQ(InterpolateTable512(i, q.data()), q[i]);
    for (double x = 1.0; x < 509.0; x += 1.13) EXPECT_NEAR(InterpolateTable512(x, q.data()), f(x), 1e-9);
}

// A loop of 1000 samples with three guard samples: only the fractional part of the phase
// counts; sample positions give the samples, and halfway between samples 999 and 0 the read
// uses the guard samples after the end. A recording played once is clamped to its ends, and
// its neighbours past either end repeat the end sample.
TEST(InterpolateLoop, WholeTurnsGuardSamplesAndOnceClamps)
{
    const int n = 1000;
    std::vector<float> s(n + 3);
    for (int i = 0; i < n; ++i) s[i] = static_cast<float>(std::sin(2 * M_PI * 3 * i / n) + 0.01 * (i % 7));
    for (int g = 0; g < 3; ++g) s[n + g] = s[g];
    for (double ph : {0.0, 0.1234, 0.25, 0.5, 0.999})
        for (double turns : {1.0, 7.0, -1.0, -15.0})
            EXPECT_NEAR(InterpolateLoop(ph + turns, s.data(), n), InterpolateLoop(ph, s.data(), n), 2e-6) << ph;
    EXPECT_EQ(InterpolateLoop(1.25, s.data(), n), InterpolateLoop(0.25, s.data(), n));
    for (int k : {0, 1, 17, 500, 998, 999}) EXPECT_EQ(InterpolateLoop(k / 1000.0, s.data(), n), s[k]) << k;
    EXPECT_NEAR(InterpolateLoop(999.5 / n, s.data(), n), halfway(s[998], s[999], s[0], s[1]), 1e-6);
    EXPECT_NEAR(InterpolateLoop(10.5 / n, s.data(), n), halfway(s[9], s[10], s[11], s[12]), 1e-6);
    EXPECT_NEAR(InterpolateLoop(-1e-17, s.data(), n), s[0], 1e-6);  // a hair below 0 lands on the start

    const int m = 100;
    std::vector<float> o(m + 1);
    for (int i = 0; i <= m; ++i) o[i] = static_cast<float>(0.5 + 0.01 * i * (i % 5 == 0 ? -1 : 1));
    for (const auto& [phase, index] : {std::pair{1.7, m}, {1.0, m}, {-0.2, 0}, {0.0, 0}, {0.37, 37}})
        EXPECT_EQ(InterpolateOnce(phase, o.data(), m), o[index]) << phase;
    EXPECT_NEAR(InterpolateOnce(0.5 / m, o.data(), m), halfway(o[0], o[0], o[1], o[2]), 1e-6);
    EXPECT_NEAR(InterpolateOnce(99.5 / m, o.data(), m), halfway(o[98], o[99], o[100], o[100]), 1e-6);
    EXPECT_NEAR(InterpolateOnce(40.75 / m, o.data(), m), threeQuarters(o[39], o[40], o[41], o[42]), 1e-6);
}

TEST(FastSin, ErrorStaysBelowThreeTenThousandthsOverPlusMinusHundred)
{
    double worst = 0.0;
    for (int i = 0; i <= 2000000; ++i) {
        const double x = -100.0 + 200.0 * i / 2000000.0;
        worst = std::max(worst, std::fabs(FastSin(x) - std::sin(x)));
    }
    EXPECT_LT(worst, 3e-4);
    EXPECT_GT(worst, 1e-6);  // it is an approximation, not the library sine
    EXPECT_EQ(FastSin(0.0), 0.0);
}

// ---------------------------------------------------------------- lane functions

// |a - b| in units of the last place of b.
double ulps(double a, double b)
{
    return a == b ? 0.0 : std::fabs(a - b) / (std::nextafter(std::fabs(b), INFINITY) - std::fabs(b));
}

TEST(LaneMath, ExpAndLogAreWithinTwoUlps)
{
    struct Range {
        bool exp;
        double lo, hi;
    };
    std::mt19937_64 rng(3);
    for (const Range r : {Range{true, -1, 1}, Range{true, -30, 30}, Range{true, -700, 700}, Range{false, 0.5, 2},
                          Range{false, 1e-8, 1}, Range{false, 1, 1e12}}) {
        std::uniform_real_distribution<double> u(r.lo, r.hi);
        for (int i = 0; i < 200000; ++i) {
            const double x = i < 2 ? (i == 0 ? r.lo : r.hi) : u(rng), y = r.exp ? lanes::exp(x) : lanes::log(x);
            ASSERT_LE(ulps(y, r.exp ? std::exp(x) : std::log(x)), 2.0) << x;
            const Double2 pair = r.exp ? lanes::exp(Double2{r.lo, x}) : lanes::log(Double2{r.lo, x});
            ASSERT_EQ(pair[1], y) << x;  // a lane of a pair gives the scalar result
        }
    }
    EXPECT_EQ(lanes::exp(0.0), 1.0);
    EXPECT_EQ(lanes::log(1.0), 0.0);
}

TEST(LaneMath, PowerErrorGrowsOnlyWithTheExponentsSize)
{
    // exp(y log x): the rounding of y log x carries into the result, so the bound is a few
    // units of 2^-52 times (|y ln x| + 3); the designs' r^p, 10^(dB/40) and q^0.75. (For x < 1
    // that keeps 1 - x^p of the Q warp within 3 units of 2^-52.)
    constexpr double epsilon = 2.220446049250313e-16;  // 2^-52
    struct Range {
        double lo, hi, y;
    };
    std::mt19937_64 rng(4);
    for (const Range r :
         {Range{1e-6, 0.999, 2.8}, Range{1e-6, 0.999, 3.5}, Range{1e-6, 0.999, 4.0}, Range{1e-6, 0.999, 6.0},
          Range{1e-6, 0.999, 8.0}, Range{0.0316, 31.6, 1.0}, Range{1e-4, 1000.0, 0.75}}) {
        std::uniform_real_distribution<double> u(r.lo, r.hi);
        for (int i = 0; i < 50000; ++i) {
            const double x = u(rng), ref = std::pow(x, r.y), y = lanes::pow(x, r.y);
            ASSERT_LE(std::fabs(y - ref), (std::fabs(r.y * std::log(x)) + 3.0) * epsilon * ref) << x << "^" << r.y;
            ASSERT_EQ(lanes::pow(Double2{x, r.lo}, Double2{r.y, 2.0})[0], y) << x << "^" << r.y;
        }
    }
}

TEST(LaneMath, SineAndCosineAreWithinTwoUlpsOfTheirSize)
{
    // Absolute error against the larger of the two, so that zero crossings do not count.
    std::mt19937_64 rng(5);
    for (double range : {3.2, 7.0, 100.0}) {
        std::uniform_real_distribution<double> u(-range, range);
        for (int i = 0; i < 200000; ++i) {
            const double x = u(rng);
            double s, c;
            lanes::sinCos(x, s, c);
            Double2 s2, c2;
            lanes::sinCos(Double2{-x, x}, s2, c2);
            ASSERT_TRUE(s2[1] == s && c2[1] == c) << x;
            ASSERT_LE(std::fabs(s - std::sin(x)), 2.3e-16) << x;
            ASSERT_LE(std::fabs(c - std::cos(x)), 2.3e-16) << x;
            ASSERT_TRUE(std::fabs(std::sin(x)) <= 0.1 || ulps(s, std::sin(x)) <= 2.0) << x;
            ASSERT_TRUE(std::fabs(std::cos(x)) <= 0.1 || ulps(c, std::cos(x)) <= 2.0) << x;
        }
    }
    double s, c;
    lanes::sinCos(0.0, s, c);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(c, 1.0);
}

// The rays' lane maximum and minimum: std::max and std::min, the first argument winning NaN.
TEST(LaneMath, PairMaximumAndMinimum)
{
    const Double2 a = {1.0, NAN}, b = {2.0, 0.5};
    const Double2 hi = lanes::maxOf(a, b), lo = lanes::minOf(a, b);
    EXPECT_TRUE(hi[0] == 2.0 && lo[0] == 1.0 && std::isnan(hi[1]) && std::isnan(lo[1]));
}

}  // namespace
}  // namespace orv
