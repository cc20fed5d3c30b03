// The shared laws against hand-computed end points and analytic properties.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "params/ParameterLaws.h"

namespace orv {
namespace {

struct LawPoints {
    const char* law;
    double (*f)(double);
    std::vector<std::array<double, 3>> points;  // value, expected, tolerance
};

#define ORV_LAW(name, expr) name, [](double v) { return static_cast<double>(expr); }

// The laws at their ends and at points worked out by hand.
// clang-format off
const LawPoints kLawPoints[] = {
    {ORV_LAW("roundHalfUp", roundHalfUp(v)), {{0, 0, 0}, {0.49999, 0, 0}, {0.5, 1, 0}, {2.5, 3, 0}, {16.9, 17, 0}}},
    {ORV_LAW("switchPosition 2", switchPosition(float(v), 2)), {{0, 0, 0}, {0.49, 0, 0}, {0.5, 1, 0}}},
    {ORV_LAW("switchPosition 6", switchPosition(float(v), 6)), {{0.25, 1, 0}, {0.3, 2, 0}}},  // 1.25, 1.5
    {ORV_LAW("switchPosition 18", switchPosition(float(v), 18)), {{1.0 / 17, 1, 0}, {1, 17, 0}}},
    {ORV_LAW("switchPosition 4", switchPosition(float(v), 4)), {{0, 0, 0}, {1.0 / 3, 1, 0}, {2.0 / 3, 2, 0}, {1, 3, 0}}},
    // +12 dB at the top.
    {ORV_LAW("levelCurve", levelCurve(v)), {{0.0, 0.0, 0.0}, {0.5, 1.0004, 1e-4}, {1.0, 3.983, 1e-3}}},
    // Decades: a quarter of the range is half a decade.
    {ORV_LAW("timeLaw", timeLaw(v)), {{0.0, 0.1, 1e-7}, {0.35, 0.5011872336272722, 1e-6}, {0.5, 1.0, 1e-6},
                                      {0.6, 1.5848931924611136, 1e-6}, {1.0, 10.0, 1e-5}}},
    {ORV_LAW("distanceLaw", distanceLaw(v)), {{0.0, 0.35, 1e-15}, {0.5, 1.0, 1e-12}, {1.0, 1.65, 1e-15}}},
    {ORV_LAW("speedLaw", speedLaw(v)), {{0.0, 0.0, 0.0}, {0.0673, 0.673, 1e-12}, {1.0, 10.0, 1e-15}}},
    // Horn high-pass: off below 0.01, about 20 Hz at 0.01, about 200 Hz at 0.5, 1 kHz at 1.
    {ORV_LAW("highPassFrequency", highPassFrequency(v)),
     {{0.0, 0.0, 0.0}, {0.0099, 0.0, 0.0}, {0.01, 20.0, 0.01}, {0.5, 200.0, 0.05}, {1.0, 1000.4, 0.05}}},
    // Drum low-pass: 200 Hz .. 20 kHz, just below the top 20 kHz × 10^(−2e-5), off at exactly 1.
    {ORV_LAW("lowPassFrequency", lowPassFrequency(v)),
     {{0.0, 200.0, 1e-9}, {0.5, 2000.0, 1e-9}, {0.99999, 20000.0 * 0.99995395, 0.01}, {1.0, 0.0, 0.0}}},
    {ORV_LAW("cutoffLaw", cutoffLaw(v)), {{0.25, 632.4555320336759, 1e-9}}},  // 200 √10
    {ORV_LAW("splitterFrequency", splitterFrequency(v)), {{0.0, 50.0, 1e-12}, {1.0, 500.0, 1e-9}}},
    {ORV_LAW("reflectionCutoff", reflectionCutoff(v)), {{0.69897, 5000.0, 2e-3}}},
    {ORV_LAW("eqGainDb", eqGainDb(v)), {{0.0, -12.0, 1e-15}, {0.5, 0.0, 1e-15}, {1.0, 12.0, 1e-15}}},
    {ORV_LAW("eqQuality", eqQuality(v)), {{-3.0, 1.0, 0.0}, {0.0, 1.0, 0.0}, {0.01, 0.7, 0.0}}},  // 0 dB: cutting
    // −8 dB at 0.3.
    {ORV_LAW("driveGain", driveGain(v)),
     {{0.0, 0.1, 1e-12}, {0.3, 0.3981071705534972, 1e-12}, {0.5, 1.0, 1e-12}, {1.0, 10.0, 1e-12}}},
    {ORV_LAW("reflectionCurve", reflectionCurve(v)), {{0.0, 0.0, 1e-15}, {1.0, 1.0, 1e-5}}},
    {ORV_LAW("radiusLaw", radiusLaw(v)), {{0.0, 0.125, 1e-6}, {1.0, 0.25, 1e-6}}},
    {ORV_LAW("hornAttenuationDistance", hornAttenuationDistance(v)), {{0.0, 0.1, 1e-12}, {1.0, 10.0, 1e-9}}},
    // The drum's has a floor of 1 cm.
    {ORV_LAW("drumAttenuationDistance", drumAttenuationDistance(v)),
     {{0.0, 0.01, 1e-15}, {0.002, 0.01, 1e-15}, {1.0, 3.0, 1e-15}}},
    {ORV_LAW("decayExponent", decayExponent(v)), {{0.0, 0.5, 1e-12}, {1.0, 2.0, 1e-5}}},
    {ORV_LAW("saturationAmount", saturationAmount(v)), {{0.0, 0.0008, 1e-15}, {1.0, 0.32, 1e-12}}},
    {ORV_LAW("flipSign", flipSign(v)), {{0.0, 1.0, 0.0}, {0.5, 1.0, 0.0}, {0.51, -1.0, 0.0}}},
    {ORV_LAW("roomScale", roomScale(v)), {{0.0, 0.5, 1e-12}, {1.0, 4.0, 1e-4}}},
    {ORV_LAW("virtualRoomScale", virtualRoomScale(v)), {{0.0, 0.25, 1e-12}, {1.0, 4.0, 1e-4}}},
    {ORV_LAW("extraDistance", extraDistance(v)), {{0.0, 0.15, 1e-12}, {1.0, 1.5, 1e-4}}},
    // The horn clip follows the square root of the distance: (√d − 0.5) × 0.2 + 0.795879.
    {ORV_LAW("hornAmplitudeClipValue", hornAmplitudeClipValue(v)),
     {{0.25, 0.795879, 1e-7}, {0.0, 0.695879, 1e-7}, {1.0, 0.895879, 1e-7}, {0.5, 0.83730036, 1e-7}}},
};
// clang-format on

#undef ORV_LAW

TEST(ParameterLaws, EndPointsAndHandWorkedPoints)
{
    for (const LawPoints& law : kLawPoints) {
        for (const auto& [v, expected, tolerance] : law.points) {
            SCOPED_TRACE(testing::Message() << law.law << "(" << v << ")");
            EXPECT_NEAR(law.f(v), expected, tolerance);
        }
    }
    for (int i = 1; i <= 100; ++i) EXPECT_GT(levelCurve(i / 100.0), levelCurve((i - 1) / 100.0)) << i;
}

TEST(ParameterLaws, BalanceAttenuatesOnlyTheFarSideAndPanKeepsPower)
{
    for (const auto& [v, left, right] : {std::array<double, 3>{0.5, 1.0, 1.0},
                                         {0.0, 1.0, 0.0},
                                         {1.0, 0.0, 1.0},
                                         {0.75, 0.25, 1.0},
                                         {0.125, 1.0, 0.0625}}) {
        double l = -1, r = -1;
        balanceGains(v, l, r);
        EXPECT_DOUBLE_EQ(l, left) << v;
        EXPECT_DOUBLE_EQ(r, right) << v;
    }
    for (double v : {0.0, 0.2, 0.476328, 0.5, 0.9, 1.0}) {
        double l = 0, r = 0;
        panGains(v, l, r);
        EXPECT_NEAR(l * l + r * r, 1.0, 1e-12) << v;
    }
    double l = 0, r = 0;
    panGains(0.0, l, r);
    EXPECT_EQ(std::make_pair(l, r), std::make_pair(1.0, 0.0));
    panGains(0.5, l, r);
    EXPECT_NEAR(l, std::sqrt(0.5), 1e-15);
}

}  // namespace
}  // namespace orv
