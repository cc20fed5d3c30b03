// The pair versions of the rays' reads against the scalar functions: every lane bit for bit,
// over the whole range the rotor models use, edges and folds included.

#include "dsp/InterpolationLanes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace orv {
namespace {

// 100,000 pairs from `pair(i, u)` (u a uniform draw) through the lane form and the scalar form:
// each lane equal to the scalar result, or both not a number.
template <class Pair, class Lanes, class Scalar>
void expectLanesMatch(double lo, double hi, Pair pair, Lanes lanesForm, Scalar scalarForm)
{
    std::mt19937_64 rng(static_cast<unsigned>(hi - lo));
    std::uniform_real_distribution<double> u(lo, hi);
    for (int i = 0; i < 100000; ++i) {
        const Double2 x = pair(i, [&] { return u(rng); });
        const Double2 y = lanesForm(x);
        for (int k = 0; k < 2; ++k) {
            const double s = scalarForm(x[k]);
            ASSERT_TRUE(y[k] == s || (std::isnan(y[k]) && std::isnan(s))) << x[k] << " gives " << y[k] << ", not " << s;
        }
    }
}

TEST(InterpolationLanes, EveryReadMatchesTheScalarFunctionLaneByLane)
{
    expectLanesMatch(
        -40.0, 40.0,
        [](int i, auto u) {
            return Double2{u(), i % 7 == 0 ? -u() * 0.01 : u()};
        },
        [](Double2 x) { return lanes::FastSin(x); }, [](double x) { return FastSin(x); });
    const Double2 zeros = lanes::FastSin(Double2{0.0, -0.0});
    EXPECT_EQ(std::signbit(zeros[0]), std::signbit(FastSin(0.0)));
    EXPECT_EQ(std::signbit(zeros[1]), std::signbit(FastSin(-0.0)));

    constexpr int n = 1024;  // whole positions, -0.0 and exact zeros too
    std::vector<double> ring(2 * n), table(512);
    for (int k = 0; k < n; ++k) writeMirrored(ring.data(), n, k, std::sin(0.01 * k) + 0.001 * k);
    expectLanesMatch(
        -n + 1e-9, n - 1e-9,
        [](int i, auto u) {
            const double a = u(), b = u();
            return i == 0 ? Double2{0.0, -0.0} : Double2{a, i % 11 == 0 ? std::floor(b) : b};
        },
        [&](Double2 p) { return lanes::InterpolateRing(p, ring.data(), n); },
        [&](double p) { return InterpolateRing(p, ring.data(), n); });

    for (int k = 0; k < 512; ++k) table[k] = std::exp(-0.004 * k) + 0.01 * std::sin(0.3 * k);
    const double edges[] = {0.0, -0.0, 0.5, 1.0, 509.999, 510.0, 510.5, 511.0, 600.0, -3.0, NAN};
    expectLanesMatch(
        -5.0, 520.0,
        [&](int i, auto u) {
            const double a = u(), b = u();
            return i < 11 * 11 ? Double2{edges[i % 11], edges[i / 11]} : Double2{a, b};
        },
        [&](Double2 x) { return lanes::InterpolateTable512(x, table.data()); },
        [&](double x) { return InterpolateTable512(x, table.data()); });

    // RotorMotion::wrap, the scalar form of the revolutions' wrap, lands in [0, 1).
    expectLanesMatch(
        -15.9, 40.0,
        [](int i, auto u) {
            return Double2{u(), i % 5 == 0 ? std::floor(u()) : u()};
        },
        [](Double2 x) { return lanes::wrapRevolutions(x); },
        [](double x) {
            const double w = x - static_cast<double>(static_cast<long long>(x + 16.0)) + 16.0;
            return w >= 0.0 && w < 1.0 ? w : NAN;
        });
    const Double2 a = {1.0, NAN}, b = {2.0, 0.5};
    const Double2 hi = lanes::maxOf(a, b), lo = lanes::minOf(a, b);
    EXPECT_EQ(hi[0], 2.0);
    EXPECT_EQ(lo[0], 1.0);
    EXPECT_TRUE(std::isnan(hi[1]) && std::isnan(std::max<double>(NAN, 0.5)));  // the first argument wins NaN
    EXPECT_TRUE(std::isnan(lo[1]) && std::isnan(std::min<double>(NAN, 0.5)));
}

}  // namespace
}  // namespace orv
