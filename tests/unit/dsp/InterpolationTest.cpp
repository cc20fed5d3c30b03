#include "dsp/Interpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace orv {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Catmull-Rom weights at t = 0.5 and t = 0.75, worked out by hand from the kernel.
double halfway(double p0, double p1, double p2, double p3) { return (-p0 + 9 * p1 + 9 * p2 - p3) / 16.0; }
double threeQuarters(double p0, double p1, double p2, double p3)
{
    return -0.0234375 * p0 + 0.2265625 * p1 + 0.8671875 * p2 - 0.0703125 * p3;
}

// A mirrored ring of n values v(k).
template <class F>
std::vector<double> mirroredRing(int n, F v)
{
    std::vector<double> ring(2 * n);
    for (int k = 0; k < n; ++k) writeMirrored(ring.data(), n, k, v(k));
    return ring;
}

TEST(InterpolateRing, NegativeQuarterReadsBetweenLastAndFirstSample)
{
    const int n = 8;
    auto ring = mirroredRing(n, [](int k) { return 1.0 + k * k; });  // 1, 2, 5, ..., 50
    // -0.25 folds to 7.75: neighbours 6, 7, 0, 1 at t = 0.75.
    const double expected = threeQuarters(ring[6], ring[7], ring[0], ring[1]);
    EXPECT_NEAR(InterpolateRing(-0.25, ring.data(), n), expected, 1e-12);
    EXPECT_NEAR(InterpolateRing(7.75, ring.data(), n), expected, 1e-12);
}

TEST(InterpolateRing, ReproducesAQuadraticAwayFromTheWrap)
{
    // Catmull-Rom has quadratic precision: with central-difference tangents it is exact
    // for second-order polynomials.
    const int n = 64;
    auto f = [](double x) { return 0.02 * x * x - 0.5 * x + 3.0; };
    auto ring = mirroredRing(n, [&](int k) { return f(k); });
    for (double x = 1.0; x <= 61.0; x += 0.37) EXPECT_NEAR(InterpolateRing(x, ring.data(), n), f(x), 1e-9) << x;
}

TEST(InterpolateRing, DelayLineReadGivesTheSampleWrittenThatLongAgo)
{
    const int n = 32;
    const int mask = n - 1;
    std::vector<double> signal(2 * n, 0.0), phase(2 * n, 0.0);
    int w = 0;
    for (int step = 0; step < 100; ++step) {
        writeMirrored(signal.data(), n, w, 100.0 + step);
        writeMirrored(phase.data(), n, w, step / 100.0);
        if (step >= 20) {
            for (int d = 0; d < 20; ++d) {
                const double pos = w - d;
                EXPECT_EQ(InterpolateRing(pos, signal.data(), n), 100.0 + step - d);
                EXPECT_EQ(phaseAtPosition(pos, phase.data(), mask), (step - d) / 100.0);
            }
            // Half a sample back lies halfway between two linearly rising samples.
            EXPECT_NEAR(InterpolateRing(w - 2.5, signal.data(), n), 100.0 + step - 2.5, 1e-9);
        }
        w = (w + 1) & mask;
    }
}

TEST(InterpolateTable512, EndsHoldAndNeighboursRepeatTheEndEntries)
{
    std::vector<double> table(512);
    for (int i = 0; i < 512; ++i) table[i] = 0.001 * i * i + ((i % 3) ? 0.5 : -0.25);
    for (double x : {0.0, -3.7, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(InterpolateTable512(x, table.data()), table[0]) << x;
    EXPECT_EQ(InterpolateTable512(511.0, table.data()), table[511]);
    EXPECT_EQ(InterpolateTable512(1e9, table.data()), table[511]);
    // Near the top the last entry stands in for both p2 and p3, near the bottom the first for p0.
    EXPECT_NEAR(InterpolateTable512(510.5, table.data()), halfway(table[509], table[510], table[511], table[511]),
                1e-12);
    EXPECT_NEAR(InterpolateTable512(0.5, table.data()), halfway(table[0], table[0], table[1], table[2]), 1e-12);
    EXPECT_NEAR(InterpolateTable512(200.75, table.data()),
                threeQuarters(table[199], table[200], table[201], table[202]), 1e-12);
}

TEST(InterpolateTable512, IntegerPositionsAndQuadraticPrecision)
{
    std::vector<double> table(512);
    auto f = [](double x) { return -0.003 * x * x + 1.1 * x - 7.0; };
    for (int i = 0; i < 512; ++i) table[i] = f(i);
    for (int i = 1; i < 511; ++i) EXPECT_EQ(InterpolateTable512(i, table.data()), table[i]);
    for (double x = 1.0; x < 509.0; x += 1.13) EXPECT_NEAR(InterpolateTable512(x, table.data()), f(x), 1e-9);
}

// A loop of n samples with three guard samples.
std::vector<float> makeLoop(int n)
{
    std::vector<float> s(n + 3);
    for (int i = 0; i < n; ++i) s[i] = static_cast<float>(std::sin(2 * kPi * 3 * i / n) + 0.01 * (i % 7));
    for (int g = 0; g < 3; ++g) s[n + g] = s[g];
    return s;
}

TEST(InterpolateLoop, OnlyTheFractionalPartOfThePhaseCounts)
{
    const int n = 1000;
    auto s = makeLoop(n);
    for (double ph : {0.0, 0.1234, 0.25, 0.5, 0.999}) {
        for (double turns : {1.0, 7.0, -1.0, -15.0})
            EXPECT_NEAR(InterpolateLoop(ph + turns, s.data(), n), InterpolateLoop(ph, s.data(), n), 2e-6) << ph;
    }
    EXPECT_EQ(InterpolateLoop(1.25, s.data(), n), InterpolateLoop(0.25, s.data(), n));
}

TEST(InterpolateLoop, SamplePositionsAndHalfwayPoints)
{
    const int n = 1000;
    auto s = makeLoop(n);
    for (int k : {0, 1, 17, 500, 998, 999}) {
        EXPECT_EQ(InterpolateLoop(k / 1000.0, s.data(), n), s[k]) << k;
    }
    // Halfway between samples 999 and 0 the read uses the guard samples after the end.
    const double pos = 999.5 / n;
    EXPECT_NEAR(InterpolateLoop(pos, s.data(), n), halfway(s[998], s[999], s[0], s[1]), 1e-6);
    EXPECT_NEAR(InterpolateLoop(10.5 / n, s.data(), n), halfway(s[9], s[10], s[11], s[12]), 1e-6);
    // A phase a hair below 0 lands on the loop's start.
    EXPECT_NEAR(InterpolateLoop(-1e-17, s.data(), n), s[0], 1e-6);
}

TEST(InterpolateOnce, PhaseIsClampedToTheRecording)
{
    const int n = 100;
    std::vector<float> s(n + 1);
    for (int i = 0; i <= n; ++i) s[i] = static_cast<float>(0.5 + 0.01 * i * (i % 5 == 0 ? -1 : 1));
    EXPECT_EQ(InterpolateOnce(1.7, s.data(), n), s[n]);
    EXPECT_EQ(InterpolateOnce(1.0, s.data(), n), s[n]);
    EXPECT_EQ(InterpolateOnce(-0.2, s.data(), n), s[0]);
    EXPECT_EQ(InterpolateOnce(0.0, s.data(), n), s[0]);
    EXPECT_EQ(InterpolateOnce(0.37, s.data(), n), s[37]);
    // Neighbours past either end repeat the end sample.
    EXPECT_NEAR(InterpolateOnce(0.5 / n, s.data(), n), halfway(s[0], s[0], s[1], s[2]), 1e-6);
    EXPECT_NEAR(InterpolateOnce(99.5 / n, s.data(), n), halfway(s[98], s[99], s[100], s[100]), 1e-6);
    EXPECT_NEAR(InterpolateOnce(40.75 / n, s.data(), n), threeQuarters(s[39], s[40], s[41], s[42]), 1e-6);
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

}  // namespace
}  // namespace orv
