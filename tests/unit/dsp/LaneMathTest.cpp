// The lane functions against the standard library: within a few units in the last place over
// the ranges the filter designs use and beyond, and a lane of a pair equal, bit for bit, to
// the scalar call.

#include "dsp/LaneMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace orv {
namespace {

// |a - b| in units of the last place of b.
double ulps(double a, double b)
{
    if (a == b)
        return 0.0;
    return std::fabs(a - b) / (std::nextafter(std::fabs(b), INFINITY) - std::fabs(b));
}

template <class Fn, class Ref>
double worstUlps(double lo, double hi, Fn fn, Ref ref, int n = 200000)
{
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> u(lo, hi);
    double worst = 0.0;
    for (int i = 0; i < n; ++i) {
        const double x = i < 2 ? (i == 0 ? lo : hi) : u(rng);
        worst = std::max(worst, ulps(fn(x), ref(x)));
    }
    return worst;
}

TEST(LaneMath, ExpIsWithinTwoUlps)
{
    auto fn = [](double x) { return lanes::exp(x); };
    auto ref = [](double x) { return std::exp(x); };
    EXPECT_LE(worstUlps(-1.0, 1.0, fn, ref), 2.0);
    EXPECT_LE(worstUlps(-30.0, 30.0, fn, ref), 2.0);
    EXPECT_LE(worstUlps(-700.0, 700.0, fn, ref), 2.0);
    EXPECT_EQ(lanes::exp(0.0), 1.0);
}

TEST(LaneMath, LogIsWithinTwoUlps)
{
    auto fn = [](double x) { return lanes::log(x); };
    auto ref = [](double x) { return std::log(x); };
    EXPECT_LE(worstUlps(0.5, 2.0, fn, ref), 2.0);
    EXPECT_LE(worstUlps(1e-8, 1.0, fn, ref), 2.0);
    EXPECT_LE(worstUlps(1.0, 1e12, fn, ref), 2.0);
    EXPECT_EQ(lanes::log(1.0), 0.0);
}

TEST(LaneMath, PowerErrorGrowsOnlyWithTheExponentsSize)
{
    // exp(y log x): the rounding of y log x carries into the result, so the bound is a few
    // units of 2^-52 times (|y ln x| + 3); the designs' r^p, 10^(dB/40) and q^0.75.
    constexpr double epsilon = 2.220446049250313e-16;  // 2^-52
    std::mt19937_64 rng(4);
    auto check = [&](double lo, double hi, double y) {
        std::uniform_real_distribution<double> u(lo, hi);
        for (int i = 0; i < 50000; ++i) {
            const double x = u(rng);
            const double ref = std::pow(x, y);
            const double bound = (std::fabs(y * std::log(x)) + 3.0) * epsilon * ref;
            ASSERT_LE(std::fabs(lanes::pow(x, y) - ref), bound) << x << "^" << y;
        }
    };
    for (double p : {2.8, 3.5, 4.0, 6.0, 8.0})
        check(1e-6, 0.999, p);
    check(0.0316, 31.6, 1.0);  // 10^(dB/40) for -60..60 dB, as a power of its base
    check(1e-4, 1000.0, 0.75);
    // What the Q warp uses, 1 - r^p, is off by a few units of 2^-52 at most.
    std::uniform_real_distribution<double> u(1e-6, 0.998);
    for (int i = 0; i < 50000; ++i) {
        const double r = u(rng);
        ASSERT_LE(std::fabs(lanes::pow(r, 2.8) - std::pow(r, 2.8)), 4.0 * epsilon) << r;
        ASSERT_LE(std::fabs(lanes::pow(r, 8.0) - std::pow(r, 8.0)), 4.0 * epsilon) << r;
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
            EXPECT_LE(std::fabs(s - std::sin(x)), 2.3e-16) << x;
            EXPECT_LE(std::fabs(c - std::cos(x)), 2.3e-16) << x;
            if (std::fabs(std::sin(x)) > 0.1) {
                ASSERT_LE(ulps(s, std::sin(x)), 2.0) << x;
            }
            if (std::fabs(std::cos(x)) > 0.1) {
                ASSERT_LE(ulps(c, std::cos(x)), 2.0) << x;
            }
        }
    }
    double s, c;
    lanes::sinCos(0.0, s, c);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(c, 1.0);
}

TEST(LaneMath, EachLaneOfAPairEqualsTheScalarResult)
{
    std::mt19937_64 rng(8);
    std::uniform_real_distribution<double> u(0.001, 3.14);
    for (int i = 0; i < 20000; ++i) {
        const double a = u(rng), b = u(rng) * 5.0;
        const Double2 v = {a, b};
        const Double2 e = lanes::exp(v), l = lanes::log(v), p = lanes::pow(v, Double2{2.8, 0.75});
        Double2 s, c;
        lanes::sinCos(v, s, c);
        double sa, ca, sb, cb;
        lanes::sinCos(a, sa, ca);
        lanes::sinCos(b, sb, cb);
        ASSERT_EQ(e[0], lanes::exp(a));
        ASSERT_EQ(e[1], lanes::exp(b));
        ASSERT_EQ(l[0], lanes::log(a));
        ASSERT_EQ(l[1], lanes::log(b));
        ASSERT_EQ(p[0], lanes::pow(a, 2.8));
        ASSERT_EQ(p[1], lanes::pow(b, 0.75));
        ASSERT_EQ(s[0], sa);
        ASSERT_EQ(s[1], sb);
        ASSERT_EQ(c[0], ca);
        ASSERT_EQ(c[1], cb);
    }
}

}  // namespace
}  // namespace orv
