// The shared laws against hand-computed end points and analytic properties.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "params/ParameterLaws.h"

namespace orv {
namespace {

TEST(ParameterLaws, RoundHalfUpTakesTheIntegerPartOfXPlusAHalf)
{
    EXPECT_EQ(roundHalfUp(0.0), 0);
    EXPECT_EQ(roundHalfUp(0.49999), 0);
    EXPECT_EQ(roundHalfUp(0.5), 1);
    EXPECT_EQ(roundHalfUp(2.5), 3);
    EXPECT_EQ(roundHalfUp(16.9), 17);
}

TEST(ParameterLaws, SwitchPositionRoundsToTheNearestOfNPositions)
{
    EXPECT_EQ(switchPosition(0.0f, 2), 0);
    EXPECT_EQ(switchPosition(0.49f, 2), 0);
    EXPECT_EQ(switchPosition(0.5f, 2), 1);
    EXPECT_EQ(switchPosition(0.25f, 6), 1);  // 1.25
    EXPECT_EQ(switchPosition(0.3f, 6), 2);   // 1.5
    EXPECT_EQ(switchPosition(1.0f / 17.0f, 18), 1);
    EXPECT_EQ(switchPosition(1.0f, 18), 17);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(switchPosition(static_cast<float>(k / 3.0), 4), k);
}

TEST(ParameterLaws, LevelCurveRisesAndTimesSpreadByDecades)
{
    float previous = -1.0f;
    for (int i = 0; i <= 100; ++i) {
        const float g = levelCurve(i / 100.0);
        EXPECT_GT(g, previous);
        previous = g;
    }
    EXPECT_NEAR(20.0 * std::log10(levelCurve(1.0)), 12.0, 0.01);
    // A quarter of the time range is half a decade.
    EXPECT_NEAR(timeLaw(0.6) / timeLaw(0.35), std::sqrt(10.0), 1e-5);
    EXPECT_NEAR(20.0 * std::log10(driveGain(0.3)), -8.0, 1e-9);
}

struct LawPoints {
    const char* law;
    double (*f)(double);
    std::vector<std::array<double, 3>> points;  // value, expected, tolerance
};

#define ORV_LAW(f) #f, [](double v) { return static_cast<double>(f(v)); }

// The laws at their ends and at points worked out by hand.
const LawPoints kLawPoints[] = {
    {ORV_LAW(levelCurve), {{0.0, 0.0, 0.0}, {0.5, 1.0004, 1e-4}, {1.0, 3.983, 1e-3}}},
    {ORV_LAW(timeLaw), {{0.0, 0.1, 1e-7}, {0.5, 1.0, 1e-6}, {1.0, 10.0, 1e-5}}},
    {ORV_LAW(distanceLaw), {{0.0, 0.35, 1e-15}, {0.5, 1.0, 1e-12}, {1.0, 1.65, 1e-15}}},
    {ORV_LAW(speedLaw), {{0.0, 0.0, 0.0}, {0.0673, 0.673, 1e-12}, {1.0, 10.0, 1e-15}}},
    // Horn high-pass: off below 0.01, about 20 Hz at 0.01, about 200 Hz at 0.5, 1 kHz at 1.
    {ORV_LAW(highPassFrequency),
     {{0.0, 0.0, 0.0}, {0.0099, 0.0, 0.0}, {0.01, 20.0, 0.01}, {0.5, 200.0, 0.05}, {1.0, 1000.4, 0.05}}},
    // Drum low-pass: 200 Hz .. 20 kHz, just below the top 20 kHz × 10^(−2e-5), off at exactly 1.
    {ORV_LAW(lowPassFrequency),
     {{0.0, 200.0, 1e-9}, {0.5, 2000.0, 1e-9}, {0.99999, 20000.0 * 0.99995395, 0.01}, {1.0, 0.0, 0.0}}},
    {ORV_LAW(cutoffLaw), {{0.25, 632.4555320336759, 1e-9}}},  // 200 √10
    {ORV_LAW(splitterFrequency), {{0.0, 50.0, 1e-12}, {1.0, 500.0, 1e-9}}},
    {ORV_LAW(reflectionCutoff), {{0.69897, 5000.0, 2e-3}}},
    {ORV_LAW(eqGainDb), {{0.0, -12.0, 1e-15}, {0.5, 0.0, 1e-15}, {1.0, 12.0, 1e-15}}},
    {ORV_LAW(eqQuality), {{-3.0, 1.0, 0.0}, {0.0, 1.0, 0.0}, {0.01, 0.7, 0.0}}},  // 0 dB counts as cutting
    {ORV_LAW(driveGain), {{0.0, 0.1, 1e-12}, {0.5, 1.0, 1e-12}, {1.0, 10.0, 1e-12}}},
    {ORV_LAW(reflectionCurve), {{0.0, 0.0, 1e-15}, {1.0, 1.0, 1e-5}}},
    {ORV_LAW(radiusLaw), {{0.0, 0.125, 1e-6}, {1.0, 0.25, 1e-6}}},
    {ORV_LAW(hornAttenuationDistance), {{0.0, 0.1, 1e-12}, {1.0, 10.0, 1e-9}}},
    // The drum's has a floor of 1 cm.
    {ORV_LAW(drumAttenuationDistance), {{0.0, 0.01, 1e-15}, {0.002, 0.01, 1e-15}, {1.0, 3.0, 1e-15}}},
    {ORV_LAW(decayExponent), {{0.0, 0.5, 1e-12}, {1.0, 2.0, 1e-5}}},
    {ORV_LAW(saturationAmount), {{0.0, 0.0008, 1e-15}, {1.0, 0.32, 1e-12}}},
    {ORV_LAW(flipSign), {{0.0, 1.0, 0.0}, {0.5, 1.0, 0.0}, {0.51, -1.0, 0.0}}},
    {ORV_LAW(roomScale), {{0.0, 0.5, 1e-12}, {1.0, 4.0, 1e-4}}},
    {ORV_LAW(virtualRoomScale), {{0.0, 0.25, 1e-12}, {1.0, 4.0, 1e-4}}},
    {ORV_LAW(extraDistance), {{0.0, 0.15, 1e-12}, {1.0, 1.5, 1e-4}}},
    // The horn clip follows the square root of the distance: (√d − 0.5) × 0.2 + 0.795879.
    {ORV_LAW(hornAmplitudeClipValue),
     {{0.25, 0.795879, 1e-7}, {0.0, 0.695879, 1e-7}, {1.0, 0.895879, 1e-7}, {0.5, 0.83730036, 1e-7}}},
};

#undef ORV_LAW

TEST(ParameterLaws, EndPointsAndHandWorkedPoints)
{
    for (const LawPoints& law : kLawPoints) {
        for (const auto& [v, expected, tolerance] : law.points) {
            SCOPED_TRACE(testing::Message() << law.law << "(" << v << ")");
            EXPECT_NEAR(law.f(v), expected, tolerance);
        }
    }
}

TEST(ParameterLaws, BalanceAttenuatesOnlyTheFarSide)
{
    struct Case {
        double v, left, right;
    };
    for (const Case& c : {Case{0.5, 1.0, 1.0}, Case{0.0, 1.0, 0.0}, Case{1.0, 0.0, 1.0}, Case{0.75, 0.25, 1.0},
                          Case{0.125, 1.0, 0.0625}}) {
        double l = -1, r = -1;
        balanceGains(c.v, l, r);
        EXPECT_DOUBLE_EQ(l, c.left) << c.v;
        EXPECT_DOUBLE_EQ(r, c.right) << c.v;
    }
}

TEST(ParameterLaws, PanKeepsPowerConstant)
{
    for (double v : {0.0, 0.2, 0.476328, 0.5, 0.9, 1.0}) {
        double l = 0, r = 0;
        panGains(v, l, r);
        EXPECT_NEAR(l * l + r * r, 1.0, 1e-12) << v;
    }
    double l = 0, r = 0;
    panGains(0.0, l, r);
    EXPECT_NEAR(l, 1.0, 1e-15);
    EXPECT_NEAR(r, 0.0, 1e-15);
    panGains(0.5, l, r);
    EXPECT_NEAR(l, std::sqrt(0.5), 1e-15);
}

}  // namespace
}  // namespace orv
