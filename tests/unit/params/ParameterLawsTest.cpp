// The shared laws against hand-computed end points and analytic properties.
#include <gtest/gtest.h>

#include <cmath>

#include "params/ParameterLaws.h"

namespace orv {
namespace {

TEST(ParameterLaws, RoundHalfUpTakesTheIntegerPartOfXPlusAHalf) {
    EXPECT_EQ(roundHalfUp(0.0), 0);
    EXPECT_EQ(roundHalfUp(0.49999), 0);
    EXPECT_EQ(roundHalfUp(0.5), 1);
    EXPECT_EQ(roundHalfUp(2.5), 3);
    EXPECT_EQ(roundHalfUp(16.9), 17);
}

TEST(ParameterLaws, ValueToStepRecoversControllerNumbersAndCapsTheTop) {
    // Controller numbers are encoded as (c + 0.5) / 129; 128 is "none".
    for (int c = 0; c <= 128; ++c) {
        const float v = static_cast<float>((c + 0.5) / 129.0);
        EXPECT_EQ(valueToStep(v, 129), c) << c;
    }
    EXPECT_EQ(valueToStep(0.0f, 129), 0);
    EXPECT_EQ(valueToStep(1.0f, 129), 128);
    EXPECT_EQ(valueToStep(1.0f, 4), 3);
    EXPECT_EQ(valueToStep(0.7499f, 4), 2);
    EXPECT_EQ(valueToStep(0.75f, 4), 3);
}

TEST(ParameterLaws, SwitchPositionRoundsToTheNearestOfNPositions) {
    EXPECT_EQ(switchPosition(0.0f, 2), 0);
    EXPECT_EQ(switchPosition(0.49f, 2), 0);
    EXPECT_EQ(switchPosition(0.5f, 2), 1);
    EXPECT_EQ(switchPosition(0.25f, 6), 1);   // 1.25
    EXPECT_EQ(switchPosition(0.3f, 6), 2);    // 1.5
    EXPECT_EQ(switchPosition(1.0f / 17.0f, 18), 1);
    EXPECT_EQ(switchPosition(1.0f, 18), 17);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(switchPosition(static_cast<float>(k / 3.0), 4), k);
}

TEST(ParameterLaws, LevelCurveHitsItsAnchorsInSinglePrecision) {
    EXPECT_EQ(levelCurve(0.0), 0.0f);
    EXPECT_NEAR(levelCurve(0.5), 1.0004, 1e-4);
    EXPECT_NEAR(levelCurve(1.0), 3.983, 1e-3);
    EXPECT_NEAR(20.0 * std::log10(levelCurve(1.0)), 12.0, 0.01);
    // The result is the single-precision rounding of the exact curve.
    for (double v : {0.1, 0.37, 0.5, 0.81, 1.0}) {
        const double exact = 0.5048 * std::exp(2.185 * v) - 0.5048;
        EXPECT_EQ(levelCurve(v), static_cast<float>(exact)) << v;
    }
    // Monotonic rise.
    float previous = -1.0f;
    for (int i = 0; i <= 100; ++i) {
        const float g = levelCurve(i / 100.0);
        EXPECT_GT(g, previous);
        previous = g;
    }
}

TEST(ParameterLaws, TimeLawSpansTwoDecadesLogarithmically) {
    EXPECT_FLOAT_EQ(timeLaw(0.0), 0.1f);
    EXPECT_FLOAT_EQ(timeLaw(0.5), 1.0f);
    EXPECT_FLOAT_EQ(timeLaw(1.0), 10.0f);
    // A quarter of the range is half a decade.
    EXPECT_NEAR(timeLaw(0.6) / timeLaw(0.35), std::sqrt(10.0), 1e-5);
}

TEST(ParameterLaws, DistanceAndSpeedAreLinear) {
    EXPECT_DOUBLE_EQ(distanceLaw(0.0), 0.35);
    EXPECT_DOUBLE_EQ(distanceLaw(1.0), 1.65);
    EXPECT_NEAR(distanceLaw(0.5), 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(speedLaw(0.0), 0.0);
    EXPECT_NEAR(speedLaw(0.0673), 0.673, 1e-12);
    EXPECT_DOUBLE_EQ(speedLaw(1.0), 10.0);
}

TEST(ParameterLaws, FilterFrequencies) {
    // Horn high-pass: off below 0.01, about 20 Hz at 0.01, about 200 Hz at 0.5, 1 kHz at 1.
    EXPECT_EQ(highPassFrequency(0.0), 0.0);
    EXPECT_EQ(highPassFrequency(0.0099), 0.0);
    EXPECT_NEAR(highPassFrequency(0.01), 20.0, 0.01);
    EXPECT_NEAR(highPassFrequency(0.5), 200.0, 0.05);
    EXPECT_NEAR(highPassFrequency(1.0), 1000.4, 0.05);
    // Drum low-pass: 200 Hz .. 20 kHz, off at exactly 1.
    EXPECT_NEAR(lowPassFrequency(0.0f), 200.0, 1e-9);
    EXPECT_NEAR(lowPassFrequency(0.5f), 2000.0, 1e-9);
    EXPECT_NEAR(lowPassFrequency(0.99999f), 20000.0 * std::pow(10.0, -2e-5), 0.01);  // just below the top
    EXPECT_EQ(lowPassFrequency(1.0f), 0.0);
    EXPECT_NEAR(cutoffLaw(0.25), 200.0 * std::sqrt(10.0), 1e-9);
    EXPECT_NEAR(splitterFrequency(0.0), 50.0, 1e-12);
    EXPECT_NEAR(splitterFrequency(1.0), 500.0, 1e-9);
    EXPECT_FLOAT_EQ(reflectionCutoff(0.69897), 5000.0f);
}

TEST(ParameterLaws, EqualiserGainAndQuality) {
    EXPECT_DOUBLE_EQ(eqGainDb(0.0), -12.0);
    EXPECT_DOUBLE_EQ(eqGainDb(0.5), 0.0);
    EXPECT_DOUBLE_EQ(eqGainDb(1.0), 12.0);
    EXPECT_EQ(eqQuality(-3.0), 1.0);
    EXPECT_EQ(eqQuality(0.0), 1.0);
    EXPECT_EQ(eqQuality(0.01), 0.7);
}

TEST(ParameterLaws, DriveSpansPlusMinusTwentyDecibels) {
    EXPECT_NEAR(driveGain(0.0), 0.1, 1e-12);
    EXPECT_NEAR(driveGain(0.5), 1.0, 1e-12);
    EXPECT_NEAR(driveGain(1.0), 10.0, 1e-12);
    EXPECT_NEAR(20.0 * std::log10(driveGain(0.3)), -8.0, 1e-9);
}

TEST(ParameterLaws, BalanceAttenuatesOnlyTheFarSide) {
    double l = 0, r = 0;
    balanceGains(0.5, l, r);
    EXPECT_EQ(l, 1.0);
    EXPECT_EQ(r, 1.0);
    balanceGains(0.0, l, r);
    EXPECT_EQ(l, 1.0);
    EXPECT_EQ(r, 0.0);
    balanceGains(1.0, l, r);
    EXPECT_EQ(l, 0.0);
    EXPECT_EQ(r, 1.0);
    balanceGains(0.75, l, r);
    EXPECT_DOUBLE_EQ(l, 0.25);
    EXPECT_EQ(r, 1.0);
    balanceGains(0.125, l, r);
    EXPECT_EQ(l, 1.0);
    EXPECT_DOUBLE_EQ(r, 0.0625);
}

TEST(ParameterLaws, PanKeepsPowerConstant) {
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

TEST(ParameterLaws, CabinetGeometryCurvesEndPoints) {
    EXPECT_NEAR(reflectionCurve(0.0), 0.0, 1e-15);
    EXPECT_NEAR(reflectionCurve(1.0), 1.0, 1e-5);
    EXPECT_NEAR(radiusLaw(0.0), 0.125f, 1e-6);
    EXPECT_NEAR(radiusLaw(1.0), 0.25f, 1e-6);
    EXPECT_NEAR(hornAttenuationDistance(0.0), 0.1, 1e-12);
    EXPECT_NEAR(hornAttenuationDistance(1.0), 10.0, 1e-9);
    EXPECT_DOUBLE_EQ(drumAttenuationDistance(0.0), 0.01);  // floor
    EXPECT_DOUBLE_EQ(drumAttenuationDistance(0.002), 0.01);
    EXPECT_DOUBLE_EQ(drumAttenuationDistance(1.0), 3.0);
    EXPECT_NEAR(decayExponent(0.0), 0.5, 1e-12);
    EXPECT_NEAR(decayExponent(1.0), 2.0, 1e-5);
    EXPECT_NEAR(saturationAmount(0.0), 0.0008, 1e-15);
    EXPECT_NEAR(saturationAmount(1.0), 0.32, 1e-12);
    EXPECT_EQ(flipSign(0.0f), 1.0);
    EXPECT_EQ(flipSign(0.5f), 1.0);
    EXPECT_EQ(flipSign(0.51f), -1.0);
}

TEST(ParameterLaws, EarlyReflectionScales) {
    EXPECT_NEAR(roomScale(0.0), 0.5, 1e-12);
    EXPECT_NEAR(roomScale(1.0), 4.0, 1e-4);
    EXPECT_NEAR(virtualRoomScale(0.0), 0.25, 1e-12);
    EXPECT_NEAR(virtualRoomScale(1.0), 4.0, 1e-4);
    EXPECT_NEAR(extraDistance(0.0), 0.15, 1e-12);
    EXPECT_NEAR(extraDistance(1.0), 1.5, 1e-4);
}

TEST(ParameterLaws, HornAmplitudeClipFollowsTheSquareRootOfTheDistance) {
    EXPECT_FLOAT_EQ(hornAmplitudeClipValue(0.25), 0.795879f);
    EXPECT_FLOAT_EQ(hornAmplitudeClipValue(0.0), 0.695879f);
    EXPECT_FLOAT_EQ(hornAmplitudeClipValue(1.0), 0.895879f);
    EXPECT_FLOAT_EQ(hornAmplitudeClipValue(0.5), static_cast<float>((std::sqrt(0.5) - 0.5) * 0.2 + 0.795879));
}

}  // namespace
}  // namespace orv
