// Construction, suspend and resume, the re-initialisation state machine with its fades and
// jobs, the decimation chosen for each rate and "CPUmode", the parameters that move others, and
// an audio path that allocates nothing.

#include <gtest/gtest.h>

#include "EngineRig.h"
#include "support/AllocCounter.h"

namespace orv::test {
namespace {

using namespace param;

constexpr int kRunning = RotaryEngine::kRunning, kToDry = RotaryEngine::kFadingToDry,
              kReinit = RotaryEngine::kReinitialising, kToWet = RotaryEngine::kFadingToWet;

// The distinct states the engine passes through over `count` blocks, and the highest mute.
std::vector<int> phases(EngineRig& rig, int count, double& maxMute)
{
    std::vector<int> p;
    maxMute = 0.0;
    rig.blocks(count, [&] {
        const int s = rig.engine().engineState();
        if (p.empty() || p.back() != s) p.push_back(s);
        maxMute = std::max(maxMute, rig.engine().muteAmount());
    });
    return p;
}

// Construction leaves every job pending behind a fade; it and a faded change ("CPUmode") each
// fade to dry once, run the jobs behind full mute and fade in again. The same position again is
// no change; suspend and resume schedule their jobs.
TEST(EngineLifecycle, AFadedChangeFadesOutRunsItsJobsAndFadesInOnce)
{
    EngineRig rig;
    EXPECT_EQ(rig.engine().engineState(), kToDry);
    EXPECT_EQ(rig.engine().muteAmount(), 0.0);
    const std::uint32_t all = RotaryEngine::kJobSampleRate | RotaryEngine::kJobFullReset | RotaryEngine::kJobCrossPaths;
    EXPECT_EQ(rig.engine().pendingJobs() & all, all);
    const std::vector<int> once{kToDry, kReinit, kToWet, kRunning};
    double maxMute = 0.0;
    EXPECT_EQ(phases(rig, 172, maxMute), once);  // 1 s
    EXPECT_EQ(maxMute, 1.0);
    const auto in = sine(440.0, 44100.0, 4410, 0.3);
    EXPECT_GT(rms(rig.render(in, in).left, 2205, 4410), 0.01);
    ASSERT_EQ(rig.engine().decimation(), 2);
    rig.set(kCpuMode, 1.0f);
    EXPECT_EQ(phases(rig, 200, maxMute), once);  // 1.2 s
    EXPECT_EQ(maxMute, 1.0);
    EXPECT_EQ(rig.engine().decimation(), 1);
    EXPECT_EQ(rig.engine().pendingJobs(), 0u);
    rig.set(kCpuMode, 0.9f);
    EXPECT_EQ(rig.engine().engineState(), kRunning);
    EXPECT_EQ(rig.engine().pendingJobs(), 0u);
    rig.engine().suspend();  // schedules the rate job, and resume the full reset
    EXPECT_EQ(rig.engine().engineState(), kToDry);
    EXPECT_EQ(rig.engine().pendingJobs(), RotaryEngine::kJobSampleRate);
    rig.engine().resume();
    const std::uint32_t resumed = RotaryEngine::kJobFullReset | RotaryEngine::kJobHornMic1 | RotaryEngine::kJobDrumMic;
    EXPECT_EQ(rig.engine().pendingJobs() & resumed, resumed);
    EXPECT_GT(rig.settle(), 0);
}

// The internal rate is the host rate over the decimation (the rotors get both: their times
// are checked through the engine in EngineRotors); from 200 kHz on the previous decimation stays.
TEST(EngineLifecycle, DecimationFollowsTheRateAndCpuMode)
{
    const double cases[][3] = {{44100, 0, 2}, {44100, 1, 1},  {48000, 0, 2},  {48000, 1, 1}, {88200, 0, 4},
                               {96000, 1, 2}, {176400, 0, 8}, {192000, 1, 4}, {384000, 1, 4}};  // rate, CPUmode, D
    for (const auto& [rate, cpuMode, decimation] : cases) {
        EngineRig rig;
        rig.set(kCpuMode, static_cast<float>(cpuMode));
        if (rate > 200000.0) {
            rig.changeRate(192000.0);
            ASSERT_GT(rig.settle(), 0);
        }
        rig.changeRate(rate);
        ASSERT_GT(rig.settle(), 0);
        EXPECT_EQ(rig.engine().decimation(), decimation) << rate << " " << cpuMode;
        EXPECT_DOUBLE_EQ(rig.engine().internalRate(), rate / decimation);
    }
}

// A faded change while the jobs run returns there at once (fully muted already); one while
// fading in turns back from where the fade stands, without a jump to full mute.
TEST(EngineLifecycle, AFadedChangeDuringAFadeTurnsBackFromWhereItStands)
{
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kCpuMode, 1.0f);
    for (int b = 0; b < 200 && rig.engine().engineState() != kReinit; ++b) rig.blocks(1);
    ASSERT_EQ(rig.engine().engineState(), kReinit);
    rig.set(kHornMic1Angle, 0.3f);
    EXPECT_EQ(rig.engine().engineState(), kToDry);
    EXPECT_NE(rig.engine().pendingJobs() & RotaryEngine::kJobHornMic1, 0u);
    rig.blocks(1);
    EXPECT_EQ(rig.engine().engineState(), kReinit);
    EXPECT_EQ(rig.engine().muteAmount(), 1.0);

    for (int b = 0; b < 400 && rig.engine().engineState() != kToWet; ++b) rig.blocks(1);
    ASSERT_EQ(rig.engine().engineState(), kToWet);
    rig.blocks(1);
    const double standing = rig.engine().muteAmount();
    ASSERT_GT(standing, 0.1);
    ASSERT_LT(standing, 0.97);
    rig.set(kDrumMic1Angle, 0.4f);
    EXPECT_EQ(rig.engine().engineState(), kToDry);
    rig.blocks(1);
    EXPECT_GT(rig.engine().muteAmount(), standing);
    EXPECT_LT(rig.engine().muteAmount(), 1.0);
    EXPECT_GT(rig.settle(), 0);
    EXPECT_EQ(rig.engine().decimation(), 1);
}

// An unchanged distance causes no fade; the cross paths are recomputed without one. The
// amplitude floor follows the horn distance: (sqrt(0.7) - 0.5) x 0.2 + 0.795879. "Setup"
// position 3 ("Front" "Rear") and 5 ("Mono") and "Size" position 3 set their presets through
// the parameters; the same position again is no change.
TEST(EngineLifecycle, ChangesWithoutFadeAndPresetPositions)
{
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kHDistance, rig.get(kHDistance));
    rig.set(kDDistance, rig.get(kDDistance));
    EXPECT_EQ(rig.engine().engineState(), kRunning);
    rig.set(kXTalk, 0.8f);
    EXPECT_EQ(rig.engine().engineState(), kRunning);
    EXPECT_EQ(rig.engine().pendingJobs(), RotaryEngine::kJobCrossPaths);
    rig.blocks(1);
    EXPECT_EQ(rig.engine().pendingJobs(), 0u);
    rig.set(kHDistance, 0.7f);
    EXPECT_EQ(rig.engine().engineState(), kToDry);
    EXPECT_NEAR(rig.get(kHornAmplitudeClip), 0.863211f, 1e-6);
    const struct {
        int index;
        float position;
        std::vector<std::pair<int, float>> values;
    } cases[] = {
        {kSetup,
         0.6f,
         {{kHornMic1Angle, 0.02f}, {kHornMic2Angle, 0.52f}, {kHornMic2Distance, 0.74f}, {kBypassSpeakers, 0.0f}}},
        {kSetup, 1.0f, {{kHornMic1Panorama, 0.5f}, {kHornMic2Gain, 0.0f}}},
        {kSize, 0.5f, {{kEarlyReflRoomSize, 0.386852f}, {kEarlyReflVirtualRoomSize, 0.5f}}}};
    for (const auto& c : cases) {
        ASSERT_GT(rig.settle(), 0);
        rig.set(c.index, c.position);
        EXPECT_EQ(rig.engine().engineState(), kToDry) << c.index;
        ASSERT_GT(rig.settle(), 0);
        for (const auto& [index, value] : c.values) EXPECT_FLOAT_EQ(rig.get(index), value) << index;
    }
    rig.set(kSetup, 0.98f);
    EXPECT_EQ(rig.engine().engineState(), kRunning);
}

// The audio path allocates nothing: processing in both precisions (in place, as some hosts do),
// parameter changes of every index and every re-initialisation job group run with operator new
// counted (support/AllocCounter.cpp). Every parameter at its extremes keeps the output finite.
TEST(EngineAllocation, ProcessingParameterChangesAndEveryJobAllocateNothing)
{
    EngineRig rig(44100.0, 128);  // construction may allocate
    std::vector<float> l(128, 0.1f), r(128, -0.1f);
    double dl[128] = {}, dr[128] = {};
    ASSERT_GT(rig.settle(), 0);
    const long long before = allocationCount();
    ASSERT_GE(before, 1);  // the counter does see allocations (the core was built above)
    for (int b = 0; b < 100; ++b) rig.process(l.data(), r.data(), l.data(), r.data(), 128);
    rig.process(dl, dr, dl, dr, 128);
    // Every index at three values with a block between; faded changes run their job groups here.
    for (float v : {0.0f, 1.0f, 0.37f}) {
        for (int i = 0; i < ParameterSet::kNumIndices; ++i) {
            if (i == kBypass) continue;
            rig.set(i, v);
            rig.process(l.data(), r.data(), l.data(), r.data(), 128);
        }
        EXPECT_GT(rig.settle(6.0), 0) << v;
        double energy = 0.0;
        for (int b = 0; b < 16; ++b) {
            for (int n = 0; n < 128; ++n) l[n] = r[n] = static_cast<float>(0.8 * std::sin(0.03 * (128 * b + n)));
            rig.process(l.data(), r.data(), l.data(), r.data(), 128);
            energy += rms(l) + rms(r);
        }
        EXPECT_TRUE(std::isfinite(energy)) << v;
    }
    // The jobs of suspend and resume, a rate change in both CPU modes, and the full reset.
    for (float mode : {0.0f, 1.0f}) {
        rig.set(kCpuMode, mode);
        EXPECT_GT(rig.settle(6.0), 0);
        rig.changeRate(mode == 0.0f ? 96000.0 : 44100.0);
        EXPECT_GT(rig.settle(6.0), 0);
    }
    EXPECT_EQ(allocationCount() - before, 0);
}

}  // namespace
}  // namespace orv::test
