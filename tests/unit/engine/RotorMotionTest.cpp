// Rotor speed and angle: modes, brake, run-down time and its flush, flip, filter re-tuning and
// the noise follow factor (run-up and sense of rotation are checked through the engine).

#include <gtest/gtest.h>

#include <cmath>

#include "engine/RotorMotion.h"

namespace orv {
namespace {

constexpr double kRate = 22050.0;

RotorMotion makeRotor(RotorMotion::Sense sense = RotorMotion::Sense::Horn, double rate = kRate, int d = 1) {
    RotorMotion m(sense);
    m.setSlowSpeed(0.8f);
    m.setFastSpeed(6.5f);
    m.setAccelTime(1.0);
    m.setDecelTime(2.0);
    m.setRate(rate, d);
    return m;
}

// Samples from the start of a speed change until the speed has covered `fraction` of it.
long samplesToFraction(RotorMotion& m, double from, double to, double fraction) {
    const double goal = from + (to - from) * fraction;
    for (long n = 0; n < 100000000; ++n) {
        const double hz = m.speedHz();
        if ((to > from && hz >= goal) || (to < from && hz <= goal)) return n;
        m.advance();
    }
    return -1;
}

TEST(RotorMotion, LeverSelectsSlowFastOrABlend) {
    RotorMotion m = makeRotor();
    m.setSpeed(1.0f);
    EXPECT_EQ(m.mode(), RotorMotion::kSlow);
    EXPECT_DOUBLE_EQ(m.targetHz(), 0.8f);
    EXPECT_DOUBLE_EQ(m.targetStep(), static_cast<double>(0.8f) / kRate);
    m.setSpeed(0.0f);
    EXPECT_EQ(m.mode(), RotorMotion::kFast);
    EXPECT_DOUBLE_EQ(m.targetHz(), 6.5f);
    m.setSpeed(0.25f);  // three quarters of the way to fast
    EXPECT_EQ(m.mode(), RotorMotion::kContinuous);
    EXPECT_NEAR(m.targetHz(), 0.8 + 0.75 * (6.5 - 0.8), 1e-6);
}

TEST(RotorMotion, SpeedSettersRetargetOnlyTheSpeedInUse) {
    RotorMotion m = makeRotor();
    m.setSpeed(1.0f);
    m.setFastSpeed(9.0f);
    EXPECT_DOUBLE_EQ(m.targetHz(), 0.8f);  // slow mode ignores the fast speed
    m.setSlowSpeed(1.5f);
    EXPECT_DOUBLE_EQ(m.targetHz(), 1.5f);
    m.setSpeed(0.5f);
    EXPECT_NEAR(m.targetHz(), (1.5 + 9.0) / 2, 1e-6);
    m.setFastSpeed(5.0f);  // the blend uses both
    EXPECT_NEAR(m.targetHz(), (1.5 + 5.0) / 2, 1e-6);
}

TEST(RotorMotion, BrakeStopsAndReleaseReturnsToTheRecordedLever) {
    RotorMotion m = makeRotor();
    m.setSpeed(0.0f);
    m.setStop(1.0f);
    EXPECT_EQ(m.mode(), RotorMotion::kStopped);
    EXPECT_EQ(m.targetStep(), 0.0);
    m.setSpeed(1.0f);  // only recorded while braked
    EXPECT_EQ(m.mode(), RotorMotion::kStopped);
    EXPECT_EQ(m.targetStep(), 0.0);
    m.setStop(0.49f);  // below the engage threshold: released
    EXPECT_EQ(m.mode(), RotorMotion::kSlow);
    EXPECT_DOUBLE_EQ(m.targetHz(), 0.8f);
}

TEST(RotorMotion, SlowingDownAndBrakingUseTheDecelerationTime) {
    RotorMotion m = makeRotor();
    m.setSpeed(0.0f);
    m.setRate(kRate, 1);
    m.setSpeed(1.0f);
    const long t10 = samplesToFraction(m, 6.5, 0.8, 0.1);
    const long t90 = samplesToFraction(m, 6.5, 0.8, 0.9) + t10;
    EXPECT_NEAR((t90 - t10) / kRate, 2.0, 2.0 / kRate);

    m.setSpeed(0.0f);
    m.setRate(kRate, 1);
    m.setStop(1.0f);
    const long b10 = samplesToFraction(m, 6.5, 0.0, 0.1);
    const long b90 = samplesToFraction(m, 6.5, 0.0, 0.9) + b10;
    EXPECT_NEAR((b90 - b10) / kRate, 2.0, 2.0 / kRate);
    for (int i = 0; i < 80 * static_cast<int>(kRate); ++i) m.advance();  // about 88 time constants
    // The flush quantises the decaying speed to a few 1e-24 revolutions per sample, far
    // below what can move an angle of order 1.
    EXPECT_LT(m.step(), 1e-20);
    const double rest = m.angle();
    m.advance();
    EXPECT_EQ(m.angle(), rest);
}

TEST(RotorMotion, FlipShiftsTheEmissionAngleByHalfATurn) {
    RotorMotion m = makeRotor(RotorMotion::Sense::Drum);
    EXPECT_FALSE(m.setDirection(1.0));  // already +1
    EXPECT_TRUE(m.setDirection(-1.0));
    EXPECT_FALSE(m.setDirection(-1.0));
    EXPECT_EQ(m.angleOffset(), 0.5);
    m.setAngle(0.75);
    EXPECT_NEAR(m.advance(), 0.25, 1e-12);  // 0.75 + 0.5 wrapped
    EXPECT_TRUE(m.setDirection(1.0));
    EXPECT_EQ(m.angleOffset(), 0.0);
}

TEST(RotorMotion, RateChangeJumpsToTheTargetAndKeepsTheAngle) {
    RotorMotion m = makeRotor();
    m.setSpeed(0.0f);  // heading for 6.5 Hz from 0.8 Hz
    for (int i = 0; i < 1000; ++i) m.advance();
    const double angle = m.angle();
    m.setRate(11025.0, 2);
    EXPECT_DOUBLE_EQ(m.speedHz(), 6.5f);
    EXPECT_EQ(m.angle(), angle);
    m.setRate(4000.0, 1);  // never below 11025 Hz
    EXPECT_EQ(m.rate(), 11025.0);
}

TEST(RotorMotion, DirectionFiltersRetuneEverySixteenHostSamples) {
    for (int d : {1, 2, 4, 8}) {
        RotorMotion m = makeRotor(RotorMotion::Sense::Horn, kRate, d);
        int due = 0;
        const int modelSamples = 16 * 64 / d;  // 64 re-tunes' worth of host samples
        for (int i = 0; i < modelSamples; ++i) {
            if (m.filterUpdateDue()) ++due;
            m.advance();
        }
        EXPECT_EQ(due, 64) << "D = " << d;
    }
}

TEST(RotorMotion, NoiseFollowIsSlowOnlyBetweenTheSpeeds) {
    RotorMotion m = makeRotor();
    double follow = 0.0;
    const double playerRate = 44100.0;
    m.attachFollowFactor(&follow, &playerRate);
    m.setSpeed(0.5f);
    EXPECT_NEAR(follow, std::exp(-1.0 / (playerRate * 100.0)), 1e-7);
    m.setSpeed(1.0f);
    EXPECT_NEAR(follow, std::exp(-1.0 / (playerRate * 0.08)), 1e-7);
    m.setStop(1.0f);
    m.setSpeed(0.5f);  // recorded only: with the brake on the setting counts as fixed
    EXPECT_NEAR(follow, std::exp(-1.0 / (playerRate * 0.08)), 1e-7);
}

}  // namespace
}  // namespace orv
