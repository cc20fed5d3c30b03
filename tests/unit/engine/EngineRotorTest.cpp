// Rotor speeds through the effect's parameters: the speeds, the lever modes, "Speed", "Stop" and
// the run-up times at several rates in both CPU modes. The timing of a rotor itself and what
// the rotation does to the sound are checked on RotorMotion and the rotor models.

#include <gtest/gtest.h>

#include "EngineRig.h"

namespace orv::test {
namespace {

using namespace param;

// A script of parameter changes, each followed by 10 ms and the target speeds of every model:
// the slow speed (-1), the fast speed (2), a blend (a fraction of the way), or stopped (-2).
TEST(EngineRotors, LeverModesSpeedAndStopSetTheTargets)
{
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    RotaryEngine& e = rig.engine();
    EXPECT_NEAR(e.hornModel(0).motion().speedHz(), 10.0 * rig.get(kHSlowSpd), 1e-4);  // settled
    EXPECT_NEAR(e.drumModel().motion().speedHz(), 10.0 * rig.get(kDSlowSpd), 1e-4);
    constexpr double S = -1, F = 2, stopped = -2;
    const struct {
        int index;
        float value;
        double target, stop;  // stop: the value "Stop" reads afterwards, or -1
    } script[] = {
        {kSpeed, 1.0f, S, -1},  // "Speed" alone leaves the rotors alone
        {kLever, 1.0f, F, -1},        {kLvrMode, 0.5f, F, -1},    {kLever, 0.49f, S, -1},    {kLever, 0.51f, F, -1},
        {kLvrMode, 0.0f, F, -1},      {kLever, 0.49f, 0.49, -1},  {kLever, 0.51f, 0.51, -1}, {kLvrMode, 1.0f, 0.51, -1},
        {kLever, 0.5f, stopped, 0.5},  // "Orig": the middle brakes
        {kLever, 1.0f, F, 0.0},       {kStop, 1.0f, stopped, -1}, {kStop, 0.0f, F, -1}};
    for (const auto& step : script) {
        rig.set(step.index, step.value);
        rig.silence(0.01);
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
