// The pair versions of the rays' reads against the scalar functions: every lane bit for bit,
// over the whole range the rotor models use, edges and folds included.

#include "dsp/InterpolationLanes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace orv {
namespace {

// RotorMotion::wrap, the scalar form the pair version must match.
double wrapScalar(double x) { return x - static_cast<double>(static_cast<long long>(x + 16.0)) + 16.0; }

TEST(InterpolationLanes, FastSinMatchesTheScalarFunctionLaneByLane)
{
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> u(-40.0, 40.0);
    for (int i = 0; i < 100000; ++i) {
        const Double2 x = {u(rng), i % 7 == 0 ? -u(rng) * 0.01 : u(rng)};
        const Double2 y = lanes::FastSin(x);
        ASSERT_EQ(y[0], FastSin(x[0])) << x[0];
        ASSERT_EQ(y[1], FastSin(x[1])) << x[1];
    }
    const Double2 special = lanes::FastSin(Double2{0.0, -0.0});
    EXPECT_EQ(std::signbit(special[0]), std::signbit(FastSin(0.0)));
    EXPECT_EQ(std::signbit(special[1]), std::signbit(FastSin(-0.0)));
}

TEST(InterpolationLanes, RingReadMatchesIncludingTheFold)
{
    constexpr int n = 1024;
    std::vector<double> ring(2 * n);
    for (int k = 0; k < n; ++k) writeMirrored(ring.data(), n, k, std::sin(0.01 * k) + 0.001 * k);
    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> u(-n + 1e-9, n - 1e-9);
    for (int i = 0; i < 100000; ++i) {
        Double2 p = {u(rng), u(rng)};
        if (i % 11 == 0) p[1] = std::floor(p[1]);  // whole positions, and -0.0 / exact zeros
        if (i == 0) p = Double2{0.0, -0.0};
        const Double2 y = lanes::InterpolateRing(p, ring.data(), n);
        ASSERT_EQ(y[0], InterpolateRing(p[0], ring.data(), n)) << p[0];
        ASSERT_EQ(y[1], InterpolateRing(p[1], ring.data(), n)) << p[1];
    }
}

TEST(InterpolationLanes, TableReadMatchesInsideAndAtTheEnds)
{
    std::vector<double> table(512);
    for (int k = 0; k < 512; ++k) table[k] = std::exp(-0.004 * k) + 0.01 * std::sin(0.3 * k);
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> u(-5.0, 520.0);
    const double edges[] = {0.0, -0.0, 0.5, 1.0, 509.999, 510.0, 510.5, 511.0, 600.0, -3.0, NAN};
    for (int i = 0; i < 100000; ++i) {
        Double2 x = {u(rng), u(rng)};
        if (i < 11 * 11) x = Double2{edges[i % 11], edges[i / 11]};
        const Double2 y = lanes::InterpolateTable512(x, table.data());
        const double a = InterpolateTable512(x[0], table.data()), b = InterpolateTable512(x[1], table.data());
        ASSERT_TRUE(y[0] == a || (std::isnan(y[0]) && std::isnan(a))) << x[0];
        ASSERT_TRUE(y[1] == b || (std::isnan(y[1]) && std::isnan(b))) << x[1];
    }
}

TEST(InterpolationLanes, WrapAndMinMaxMatchTheScalarForms)
{
    std::mt19937_64 rng(4);
    std::uniform_real_distribution<double> u(-15.9, 40.0);
    for (int i = 0; i < 100000; ++i) {
        const Double2 x = {u(rng), i % 5 == 0 ? std::floor(u(rng)) : u(rng)};
        const Double2 w = lanes::wrapRevolutions(x);
        ASSERT_EQ(w[0], wrapScalar(x[0])) << x[0];
        ASSERT_EQ(w[1], wrapScalar(x[1])) << x[1];
        ASSERT_GE(w[0], 0.0);
        ASSERT_LT(w[0], 1.0);
    }
    const Double2 a = {1.0, NAN}, b = {2.0, 0.5};
    const Double2 hi = lanes::maxOf(a, b), lo = lanes::minOf(a, b);
    EXPECT_EQ(hi[0], std::max(1.0, 2.0));
    EXPECT_EQ(lo[0], std::min(1.0, 2.0));
    EXPECT_TRUE(std::isnan(hi[1]) && std::isnan(std::max<double>(NAN, 0.5)));  // the first argument wins NaN
    EXPECT_TRUE(std::isnan(lo[1]) && std::isnan(std::min<double>(NAN, 0.5)));
}

}  // namespace
}  // namespace orv
