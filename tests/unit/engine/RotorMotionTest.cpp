// Rotor speed and angle on RotorMotion: run-up and run-down times and the flush, flip, rate
// change, filter re-tuning and the noise follow factor. Then the rotor speeds through the
// effect's parameters: the speeds in use, the lever modes and blends, "Speed", "Stop" and the
// run-up times at several rates in both CPU modes (what the rotation does to the sound is
// checked on the rotor models).

#include <gtest/gtest.h>

#include <cmath>

#include "EngineRig.h"
#include "engine/RotorMotion.h"

namespace orv::test {
namespace {

using namespace param;

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

// Speeding up takes the acceleration time (1 s), slowing down and braking the deceleration
// time (2 s), from 10 % to 90 % of the change, at any decimation. The flush then quantises the
// decaying speed to far below what can move an angle of order 1.
TEST(RotorMotion, SpeedChangesTakeTheirTimes)
{
    const double cases[][5] = {{0, 0.8, 6.5, 1, 1}, {0, 0.8, 6.5, 1, 4}, {1, 6.5, 0.8, 2, 1}, {-1, 6.5, 0, 2, 2}};
    for (const auto& c : cases) {  // lever (−1: the brake), from, to, seconds, decimation
        const double from = c[1], to = c[2];
        const int decimation = static_cast<int>(c[4]);
        RotorMotion m = makeRotor(RotorMotion::Sense::Horn, decimation);
        m.setSpeed(from == 0.8 ? 1.0f : 0.0f);
        m.setRate(kRate, decimation);  // at the starting speed at once
        c[0] < 0 ? m.setStop(1.0f) : m.setSpeed(static_cast<float>(c[0]));
        auto past = [&](double f) { return (m.speedHz() - from - f * (to - from)) * (to - from) >= 0.0; };
        long n = 0, t10 = -1;
        for (; !past(0.9); ++n, m.advance())
            if (t10 < 0 && past(0.1)) t10 = n;
        EXPECT_NEAR((n - t10) / kRate, c[3], 2.0 / kRate) << from << " -> " << to << ", D " << decimation;
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

// A blend follows the speed changes; a rate change jumps to the target speed and keeps the
// angle; never below 11025 Hz.
TEST(RotorMotion, RateChangeJumpsToTheTargetAndKeepsTheAngle)
{
    RotorMotion m = makeRotor();
    m.setSpeed(0.25f);  // a blend, three quarters of the way to fast, follows the fast speed
    m.setFastSpeed(9.0f);
    EXPECT_NEAR(m.targetHz(), 0.8 + 0.75 * (9.0 - 0.8), 1e-6);
    m.setSpeed(0.0f);
    for (int i = 0; i < 1000; ++i) m.advance();
    const double angle = m.angle();
    m.setRate(11025.0, 2);
    EXPECT_DOUBLE_EQ(m.speedHz(), 9.0f);
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

// A script of parameter changes, each followed by two blocks and the target speeds of every model:
// the slow speed (-1), the fast speed (2), a blend (a fraction of the way), or stopped (-2).
TEST(EngineRotors, LeverModesSpeedAndStopSetTheTargets)
{
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    RotaryEngine& e = rig.engine();
    EXPECT_NEAR(e.hornModel(0).motion().speedHz(), 10.0 * rig.get(kHSlowSpd), 1e-4);  // settled
    EXPECT_NEAR(e.drumModel().motion().speedHz(), 10.0 * rig.get(kDSlowSpd), 1e-4);
    constexpr double S = -1, F = 2, stopped = -2;
    // clang-format off
    const struct {
        int index;
        float value;
        double target, stop;  // stop: the value "Stop" reads afterwards, or -1
    } script[] = {
        {kSpeed, 1.0f, S, -1},  // "Speed" alone leaves the rotors alone
        {kLever, 1.0f, F, -1},        {kLvrMode, 0.5f, F, -1},    {kLever, 0.49f, S, -1},     {kLever, 0.51f, F, -1},
        {kLever, 0.49f, S, -1},       {kHFastSpd, 0.9f, S, -1},   {kHSlowSpd, 0.15f, S, -1},  // the speed in use
        {kLvrMode, 0.0f, S, -1},      {kLever, 0.48f, 0.48, -1},  {kLever, 0.51f, 0.51, -1},  {kLvrMode, 1.0f, 0.51, -1},
        {kHFastSpd, 0.65f, 0.51, -1}, {kHSlowSpd, 0.1f, 0.51, -1},  // a blend follows either speed
        {kLever, 0.5f, stopped, 0.5},  // "Orig": the middle brakes
        {kLever, 1.0f, F, 0.0},       {kStop, 1.0f, stopped, -1}, {kHSlowSpd, 0.2f, stopped, -1},
        {kStop, 0.49f, F, -1},        {kStop, 0.51f, stopped, -1}, {kStop, 0.0f, F, -1}};
    // clang-format on
    for (const auto& step : script) {
        rig.set(step.index, step.value);
        rig.blocks(2);
        EXPECT_TRUE(step.stop < 0 || rig.get(kStop) == static_cast<float>(step.stop)) << step.index;
        const RotorMotion* motions[] = {&e.hornModel(0).motion(), &e.hornModel(1).motion(), &e.drumModel().motion(),
                                        &e.drumModel(true).motion()};
        for (int m = 0; m < 4; ++m) {
            const double slow = 10.0f * rig.get(m < 2 ? kHSlowSpd : kDSlowSpd);
            const double fast = 10.0f * rig.get(m < 2 ? kHFastSpd : kDFastSpd);
            const double want = step.target == S ? slow
                : step.target == F               ? fast
                : step.target == stopped         ? 0.0
                                                 : slow + step.target * (fast - slow);
            EXPECT_NEAR(motions[m]->targetHz(), want, 1e-5) << "index " << step.index << " at " << step.value;
            EXPECT_EQ(motions[m]->mode() == RotorMotion::kStopped, step.target == stopped) << step.index;
        }
    }
}

// "H Accel" 0.5 is 1 s and "D Accel" 0.25 is 100^0.25 x 0.1 s, given to the rotors at the rate
// they run at in either CPU mode (what a time does is checked on RotorMotion).
TEST(EngineRotors, AccelerationTimesReachTheRotorsAtAnyRateAndCpuMode)
{
    for (double rate : {44100.0, 96000.0}) {
        for (float cpuMode : {0.0f, 1.0f}) {
            EngineRig rig(rate);
            rig.set(kCpuMode, cpuMode);
            rig.set(kHAccel, 0.5f);
            rig.set(kDAccel, 0.25f);
            ASSERT_GT(rig.settle(), 0);
            for (const auto& [motion, seconds] :
                 {std::pair{&rig.engine().hornModel(0).motion(), 1.0},
                  std::pair{&rig.engine().drumModel().motion(), std::pow(10.0, 0.5) * 0.1}}) {
                RotorMotion twin(RotorMotion::Sense::Horn);
                twin.setAccelTime(seconds);
                twin.setRate(rig.engine().internalRate(), rig.engine().decimation());
                const double step = 1.0 - twin.accelCoefficient();  // the fraction of the change per sample
                EXPECT_NEAR(1.0 - motion->accelCoefficient(), step, 1e-6 * step) << rate << " " << cpuMode;
            }
        }
    }
}

}  // namespace
}  // namespace orv::test
