// The lane functions against the standard library: within a few units in the last place over
// the ranges the filter designs use and beyond, and a lane of a pair equal, bit for bit, to
// the scalar call.

#include "dsp/LaneMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "dsp/InterpolationLanes.h"

namespace orv {
namespace {

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
