// Rotor speeds through the effect's parameters: the speeds, run-up times at several rates and
// in both CPU modes, the lever modes, "Speed" and "Stop". The timing of a rotor itself and what
// the rotation does to the sound are checked on RotorMotion and the rotor models.

#include <gtest/gtest.h>

#include "EngineRig.h"

namespace orv::test {
namespace {

using namespace param;

const RotorMotion& horn(EngineRig& rig) { return rig.engine().hornModel(0).motion(); }
const RotorMotion& drum(EngineRig& rig) { return rig.engine().drumModel().motion(); }

TEST(EngineRotors, SettledSpeedsAreTheSpeedParameters)
{
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    EXPECT_NEAR(horn(rig).speedHz(), 10.0 * rig.get(kHSlowSpd), 1e-4);
    EXPECT_NEAR(drum(rig).speedHz(), 10.0 * rig.get(kDSlowSpd), 1e-4);
    const double target = horn(rig).targetHz();
    rig.set(kSpeed, 1.0f);  // "Speed" alone leaves the rotors alone
    rig.silence(0.2);
    EXPECT_EQ(horn(rig).targetHz(), target);
    rig.set(kLever, 1.0f);  // "Tremolo", for every model
    rig.silence(0.01);
    EXPECT_NEAR(rig.engine().hornModel(1).motion().targetHz(), 10.0f * rig.get(kHFastSpd), 1e-4);
    EXPECT_NEAR(rig.engine().drumModel(true).motion().targetHz(), 10.0f * rig.get(kDFastSpd), 1e-4);
}

// "H Accel" 0.5 is 1 s and "D Accel" 0.25 is 100^0.25 × 0.1 s, given to the rotors at the rate
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
                 {std::pair{&horn(rig), 1.0}, std::pair{&drum(rig), std::pow(100.0, 0.25) * 0.1}}) {
                RotorMotion twin(RotorMotion::Sense::Horn);
                twin.setAccelTime(seconds);
                twin.setRate(rig.engine().internalRate(), rig.engine().decimation());
                const double step = 1.0 - twin.accelCoefficient();  // the fraction of the change per sample
                EXPECT_NEAR(1.0 - motion->accelCoefficient(), step, 1e-6 * step) << rate << " " << cpuMode;
            }
        }
    }
}

// "Snap" picks one of the two speeds around the middle; the continuous lever blends them.
TEST(EngineRotors, SnapAndContinuousLever)
{
    EngineRig rig;
    rig.set(kLvrMode, 0.5f);
    ASSERT_GT(rig.settle(), 0);
    const double slow = 10.0f * rig.get(kHSlowSpd), fast = 10.0f * rig.get(kHFastSpd);
    const struct {
        float mode, lever;
        double hz;
    } cases[] = {{0.5f, 0.49f, slow},
                 {0.5f, 0.51f, fast},
                 {0.0f, 0.49f, slow + 0.49 * (fast - slow)},
                 {0.0f, 0.51f, slow + 0.51 * (fast - slow)}};
    for (const auto& c : cases) {
        rig.set(kLvrMode, c.mode);
        rig.set(kLever, c.lever);
        rig.silence(0.01);
        EXPECT_NEAR(horn(rig).targetHz(), c.hz, 1e-5) << c.mode << " " << c.lever;
    }
}

// "Orig": the lever's middle brakes (the brake takes the lever's value), "Tremolo" releases;
// "Stop" brakes as well and its release returns to the lever's speed.
TEST(EngineRotors, BrakeFromTheLeverOrStop)
{
    EngineRig rig;
    rig.set(kLvrMode, 1.0f);
    ASSERT_GT(rig.settle(), 0);
    rig.set(kLever, 0.5f);
    EXPECT_EQ(rig.get(kStop), 0.5f);
    rig.silence(0.01);
    EXPECT_EQ(horn(rig).mode(), RotorMotion::kStopped);
    EXPECT_EQ(drum(rig).targetHz(), 0.0);
    rig.set(kLever, 1.0f);
    EXPECT_EQ(rig.get(kStop), 0.0f);
    rig.silence(0.01);
    EXPECT_EQ(horn(rig).mode(), RotorMotion::kFast);
    EXPECT_DOUBLE_EQ(drum(rig).targetHz(), 10.0f * rig.get(kDFastSpd));
    rig.set(kStop, 1.0f);
    rig.silence(0.01);
    EXPECT_EQ(horn(rig).mode(), RotorMotion::kStopped);
    EXPECT_EQ(drum(rig).targetHz(), 0.0);
    rig.set(kStop, 0.0f);
    rig.silence(0.01);
    EXPECT_DOUBLE_EQ(horn(rig).targetHz(), 10.0f * rig.get(kHFastSpd));
}

}  // namespace
}  // namespace orv::test
