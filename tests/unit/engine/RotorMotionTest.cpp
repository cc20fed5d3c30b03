// Rotor speed and angle: lever modes, brake, run-down time and its flush, flip, rate change,
// filter re-tuning and the noise follow factor.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/RotorMotion.h"

namespace orv {
namespace {

constexpr double kRate = 22050.0;

RotorMotion makeRotor(RotorMotion::Sense sense = RotorMotion::Sense::Horn, int d = 1)
{
    RotorMotion m(sense);
    m.setSlowSpeed(0.8f);
    m.setFastSpeed(6.5f);
    m.setAccelTime(1.0);
    m.setDecelTime(2.0);
    m.setRate(kRate, d);
    return m;
}

// The lever picks slow (1), fast (0) or a blend; a speed setter retargets only the speed in
// use; the brake only records the lever, and releases below half way.
TEST(RotorMotion, LeverSpeedsAndBrake)
{
    RotorMotion m = makeRotor();
    m.setSpeed(1.0f);
    EXPECT_EQ(m.mode(), RotorMotion::kSlow);
    EXPECT_DOUBLE_EQ(m.targetStep(), static_cast<double>(0.8f) / kRate);
    m.setFastSpeed(9.0f);
    EXPECT_DOUBLE_EQ(m.targetHz(), 0.8f);
    m.setSlowSpeed(1.5f);
    EXPECT_DOUBLE_EQ(m.targetHz(), 1.5f);
    m.setSpeed(0.25f);  // three quarters of the way to fast
    EXPECT_EQ(m.mode(), RotorMotion::kContinuous);
    EXPECT_NEAR(m.targetHz(), 1.5 + 0.75 * (9.0 - 1.5), 1e-6);
    m.setFastSpeed(6.5f);
    EXPECT_NEAR(m.targetHz(), 1.5 + 0.75 * (6.5 - 1.5), 1e-6);
    m.setSlowSpeed(1.0f);  // a blend follows either speed
    EXPECT_NEAR(m.targetHz(), 1.0 + 0.75 * (6.5 - 1.0), 1e-6);
    m.setSpeed(0.0f);
    EXPECT_EQ(m.mode(), RotorMotion::kFast);
    EXPECT_DOUBLE_EQ(m.targetHz(), 6.5f);
    m.setStop(1.0f);
    EXPECT_EQ(m.mode(), RotorMotion::kStopped);
    m.setSpeed(1.0f);
    EXPECT_EQ(m.mode(), RotorMotion::kStopped);
    EXPECT_EQ(m.targetStep(), 0.0);
    m.setStop(0.49f);
    EXPECT_EQ(m.mode(), RotorMotion::kSlow);
}

// Speeding up takes the acceleration time (1 s), slowing down and braking the deceleration
// time (2 s), from 10 % to 90 % of the change, at any decimation. The flush then quantises the
// decaying speed to far below what can move an angle of order 1.
TEST(RotorMotion, SpeedChangesTakeTheirTimes)
{
    const struct {
        float lever;
        double from, to, seconds;
        int decimation;
    } cases[] = {
        {0.0f, 0.8, 6.5, 1.0, 1}, {0.0f, 0.8, 6.5, 1.0, 4}, {1.0f, 6.5, 0.8, 2.0, 1}, {-1.0f, 6.5, 0.0, 2.0, 2}};
    for (const auto& c : cases) {
        RotorMotion m = makeRotor(RotorMotion::Sense::Horn, c.decimation);
        m.setSpeed(c.from == 0.8 ? 1.0f : 0.0f);
        m.setRate(kRate, c.decimation);                          // at the starting speed at once
        c.lever < 0.0f ? m.setStop(1.0f) : m.setSpeed(c.lever);  // −1: the brake
        auto past = [&](double f) { return (m.speedHz() - c.from - f * (c.to - c.from)) * (c.to - c.from) >= 0.0; };
        long n = 0, t10 = -1;
        for (; !past(0.9); ++n, m.advance())
            if (t10 < 0 && past(0.1)) t10 = n;
        EXPECT_NEAR((n - t10) / kRate, c.seconds, 2.0 / kRate) << c.from << " -> " << c.to << ", D " << c.decimation;
    }
    RotorMotion m = makeRotor();
    m.setStop(1.0f);
    for (int i = 0; i < 80 * static_cast<int>(kRate); ++i) m.advance();  // about 88 time constants
    EXPECT_LT(m.step(), 1e-20);
    const double rest = m.angle();
    m.advance();
    EXPECT_EQ(m.angle(), rest);
}

TEST(RotorMotion, FlipShiftsTheEmissionAngleByHalfATurn)
{
    RotorMotion m = makeRotor(RotorMotion::Sense::Drum);
    EXPECT_FALSE(m.setDirection(1.0));  // already +1
    EXPECT_TRUE(m.setDirection(-1.0));
    EXPECT_FALSE(m.setDirection(-1.0));
    m.setAngle(0.75);
    EXPECT_NEAR(m.advance(), 0.25, 1e-12);  // 0.75 + 0.5 wrapped
    EXPECT_TRUE(m.setDirection(1.0));
    EXPECT_EQ(m.angleOffset(), 0.0);
}

// A rate change jumps to the target speed and keeps the angle; never below 11025 Hz.
TEST(RotorMotion, RateChangeJumpsToTheTargetAndKeepsTheAngle)
{
    RotorMotion m = makeRotor();
    m.setSpeed(0.0f);
    for (int i = 0; i < 1000; ++i) m.advance();
    const double angle = m.angle();
    m.setRate(11025.0, 2);
    EXPECT_DOUBLE_EQ(m.speedHz(), 6.5f);
    EXPECT_EQ(m.angle(), angle);
    m.setRate(4000.0, 1);
    EXPECT_EQ(m.rate(), 11025.0);
}

TEST(RotorMotion, DirectionFiltersRetuneEverySixteenHostSamples)
{
    for (int d : {1, 2, 4, 8}) {
        RotorMotion m = makeRotor(RotorMotion::Sense::Horn, d);
        int due = 0;
        for (int i = 0; i < 16 * 64 / d; ++i, m.advance()) due += m.filterUpdateDue();
        EXPECT_EQ(due, 64) << "D = " << d;
    }
}

// The noise gain follows slowly (100 s) only between the speeds, else in 80 ms; with the brake
// on the lever counts as fixed.
TEST(RotorMotion, NoiseFollowIsSlowOnlyBetweenTheSpeeds)
{
    RotorMotion m = makeRotor();
    double follow = 0.0;
    const double playerRate = 44100.0;
    m.attachFollowFactor(&follow, &playerRate);
    m.setSpeed(0.5f);
    EXPECT_NEAR(follow, std::exp(-1.0 / (playerRate * 100.0)), 1e-7);
    m.setSpeed(1.0f);
    EXPECT_NEAR(follow, std::exp(-1.0 / (playerRate * 0.08)), 1e-7);
    m.setStop(1.0f);
    m.setSpeed(0.5f);
    EXPECT_NEAR(follow, std::exp(-1.0 / (playerRate * 0.08)), 1e-7);
}

}  // namespace
}  // namespace orv
