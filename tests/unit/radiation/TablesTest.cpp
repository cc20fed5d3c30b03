#include <gtest/gtest.h>

#include <cmath>

#include "engine/AttenuationTable.h"
#include "engine/DirectionTables.h"

namespace orv {
namespace {

// Entry i at distance d0 + 0.01 i (d0 = 0.3 − R): t0 = (R/0.3)^n, then each step multiplies
// by (d_{i−1}/d_i)^(e·n) with e = 1 − ((d_i − d0)/D)^p inside the fade distance, 0 beyond.
long double referenceEntry(int index, long double R, long double n, long double D, long double p) {
    const long double d0 = 0.3L - R;
    long double t = std::pow(R / 0.3L, n);
    for (int i = 1; i <= index; ++i) {
        const long double x = 0.01L * i;
        const long double e = x < D ? 1.0L - std::pow(x / D, p) : 0.0L;
        t *= std::pow((d0 + 0.01L * (i - 1)) / (d0 + x), e * n);
    }
    return t;
}

TEST(AttenuationTable, MatchesTheFadingPowerLaw) {
    struct Case {
        double R, n, D, p;
    };
    const Case cases[] = {{0.2, 1.0, 1.0, 1.0}, {0.125, 2.0, 0.1, 0.5}, {0.25, 0.5, 3.0, 2.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "R " << c.R << " n " << c.n << " D " << c.D << " p " << c.p);
        AttenuationTable t;
        t.build(c.R, c.n, c.D, c.p);
        for (int i : {0, 1, 2, 10, 57, 100, 300, 511}) {
            const double ref = static_cast<double>(referenceEntry(i, c.R, c.n, c.D, c.p));
            EXPECT_NEAR(t[i], ref, 1e-12 * ref) << "entry " << i;
        }
    }
}

// With a very steep fade the exponent stays n up to the fade distance, so the level is the
// plain power law (d0/d)^n there, and constant beyond.
TEST(AttenuationTable, SteepFadeGivesThePlainPowerLaw) {
    const double R = 0.2, n = 2.0, D = 2.0;
    AttenuationTable t;
    t.build(R, n, D, 400.0);
    const double d0 = 0.3 - R;
    const double t0 = std::pow(R / 0.3, n);
    for (int i : {0, 5, 50, 150}) {
        const double d = d0 + 0.01 * i;
        EXPECT_NEAR(t[i], t0 * std::pow(d0 / d, n), 1e-9 * t[i]) << i;
    }
    EXPECT_NEAR(t[400], t[511], 1e-15);
    EXPECT_LT(t[511], t[150]);
}

TEST(AttenuationTable, ShortFadeOrZeroExponentIsFlat) {
    AttenuationTable t;
    t.build(0.2, 1.5, 0.01, 1.0);  // faded out before the first step
    for (int i : {0, 1, 255, 511}) EXPECT_DOUBLE_EQ(t[i], std::pow(0.2 / 0.3, 1.5));
    t.build(0.2, 0.0, 1.0, 1.0);
    for (int i : {0, 1, 255, 511}) EXPECT_DOUBLE_EQ(t[i], 1.0);
}

TEST(AttenuationTable, ReadsBetweenEntriesAndHoldsTheEnds) {
    AttenuationTable t;
    t.build(0.2, 1.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(t.at(12.0), t[12]);
    const double mid = t.at(12.5);
    EXPECT_LT(mid, t[12]);
    EXPECT_GT(mid, t[13]);
    EXPECT_DOUBLE_EQ(t.at(-3.0), t[0]);
    EXPECT_DOUBLE_EQ(t.at(900.0), t[511]);
}

void expectSetting(const FilterSetting& s, double hz, double q, double db) {
    EXPECT_NEAR(s.frequency, hz, 1e-9);
    EXPECT_NEAR(s.q, q, 1e-12);
    EXPECT_NEAR(s.gainDb, db, 1e-12);
}

TEST(DirectionTables, HornFilterARowsAndMirror) {
    expectSetting(DirectionTables::hornA(0.0), 2200, 1.4, 7);
    expectSetting(DirectionTables::hornA(8.0), 1730, 5.9, -28);
    expectSetting(DirectionTables::hornA(18.0), 1700, 2.35, -19);
    expectSetting(DirectionTables::hornA(19.0), 1680, 1.9, -17);   // row 19 repeats row 17
    expectSetting(DirectionTables::hornA(36.0), 2200, 1.4, 7);     // row 36 repeats row 0
    expectSetting(DirectionTables::hornA(8.5), 1700, 4.55, -26);   // halfway between rows 8 and 9
    for (double x : {0.3, 4.7, 11.2, 17.5}) {
        const FilterSetting a = DirectionTables::hornA(x), b = DirectionTables::hornA(36.0 - x);
        expectSetting(b, a.frequency, a.q, a.gainDb);
    }
}

TEST(DirectionTables, HornFilterBAndDrumRows) {
    expectSetting(DirectionTables::hornB(0.0), 6000, 0.7, 6);
    expectSetting(DirectionTables::hornB(9.0), 6000, 0.7, -2);
    expectSetting(DirectionTables::hornB(4.5), 6000, 0.7, -11);
    expectSetting(DirectionTables::hornB(18.0), 6000, 0.7, 6);
    expectSetting(DirectionTables::drum(0.0), 1600, 1.2, 0);
    expectSetting(DirectionTables::drum(9.0), 900, 0.31, 0);
    expectSetting(DirectionTables::drum(4.25), 987.5, 0.5175, 0);
    expectSetting(DirectionTables::drum(18.0), 1600, 1.2, 0);
}

}  // namespace
}  // namespace orv
