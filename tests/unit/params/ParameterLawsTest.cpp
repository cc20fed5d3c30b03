// The shared laws against hand-computed end points and analytic properties.

#include <array>
#include <cmath>
#include <set>

#include "params/ParameterLaws.h"
#include "support/GoldenRows.h"

namespace orv {
namespace {

#define ORV_LAW(expr) [](double v) { return static_cast<double>(expr); }
// clang-format off
const std::map<std::string, double (*)(double)> kLaws = {
    {"roundHalfUp", ORV_LAW(roundHalfUp(v))},               {"levelCurve", ORV_LAW(levelCurve(v))},
    {"switchPosition 2", ORV_LAW(switchPosition(float(v), 2))}, {"switchPosition 4", ORV_LAW(switchPosition(float(v), 4))},
    {"switchPosition 6", ORV_LAW(switchPosition(float(v), 6))}, {"switchPosition 18", ORV_LAW(switchPosition(float(v), 18))},
    {"timeLaw", ORV_LAW(timeLaw(v))},                       {"distanceLaw", ORV_LAW(distanceLaw(v))},
    {"speedLaw", ORV_LAW(speedLaw(v))},                     {"highPassFrequency", ORV_LAW(highPassFrequency(v))},
    {"lowPassFrequency", ORV_LAW(lowPassFrequency(v))},     {"cutoffLaw", ORV_LAW(cutoffLaw(v))},
    {"splitterFrequency", ORV_LAW(splitterFrequency(v))},   {"reflectionCutoff", ORV_LAW(reflectionCutoff(v))},
    {"eqGainDb", ORV_LAW(eqGainDb(v))},                     {"eqQuality", ORV_LAW(eqQuality(v))},
    {"driveGain", ORV_LAW(driveGain(v))},                   {"reflectionCurve", ORV_LAW(reflectionCurve(v))},
    {"radiusLaw", ORV_LAW(radiusLaw(v))},                   {"hornAttenuationDistance", ORV_LAW(hornAttenuationDistance(v))},
    {"decayExponent", ORV_LAW(decayExponent(v))},           {"drumAttenuationDistance", ORV_LAW(drumAttenuationDistance(v))},
    {"saturationAmount", ORV_LAW(saturationAmount(v))},     {"flipSign", ORV_LAW(flipSign(v))},
    {"roomScale", ORV_LAW(roomScale(v))},                   {"virtualRoomScale", ORV_LAW(virtualRoomScale(v))},
    {"extraDistance", ORV_LAW(extraDistance(v))},           {"hornAmplitudeClipValue", ORV_LAW(hornAmplitudeClipValue(v))},
};
// clang-format on
#undef ORV_LAW

// The laws at their ends and at points worked out by hand (data/laws-by-hand.txt).
TEST(ParameterLaws, EndPointsAndHandWorkedPoints)
{
    const auto rows = test::dataRows(test::testData("unit/params/data/laws-by-hand.txt"));
    std::set<std::string> tried;
    for (const std::vector<std::string>& r : rows) {
        ASSERT_EQ(r.size(), 4u);
        ASSERT_EQ(kLaws.count(r[0]), 1u) << r[0];
        tried.insert(r[0]);
        EXPECT_NEAR(kLaws.at(r[0])(std::stod(r[1])), std::stod(r[2]), std::stod(r[3])) << r[0] << "(" << r[1] << ")";
    }
    EXPECT_EQ(tried.size(), kLaws.size());
    for (int i = 1; i <= 100; ++i) EXPECT_GT(levelCurve(i / 100.0), levelCurve((i - 1) / 100.0)) << i;
}

TEST(ParameterLaws, BalanceAttenuatesOnlyTheFarSideAndPanKeepsPower)
{
    // Value, left gain, right gain.
    const std::array<double, 3> balance[] = {
        {0.5, 1.0, 1.0}, {0.0, 1.0, 0.0}, {1.0, 0.0, 1.0}, {0.75, 0.25, 1.0}, {0.125, 1.0, 0.0625}};
    for (const auto& [v, left, right] : balance) {
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
