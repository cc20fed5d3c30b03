// Construction, suspend and resume, the re-initialisation state machine with its fades and
// jobs, and the decimation factor chosen for each rate and "CPUmode".

#include <gtest/gtest.h>

#include "EngineRig.h"

namespace orv::test {
namespace {

using namespace param;

// Processes silent blocks, recording the engine state after each.
std::vector<int> runBlocks(EngineRig& rig, int blocks, std::vector<double>* mutes = nullptr) {
    std::vector<float> z(static_cast<size_t>(rig.block()), 0.0f), l(z), r(z);
    std::vector<int> states;
    for (int b = 0; b < blocks; ++b) {
        rig.processBlock(z.data(), z.data(), l.data(), r.data(), rig.block());
        states.push_back(rig.engine().engineState());
        if (mutes) mutes->push_back(rig.engine().muteAmount());
    }
    return states;
}

int countEntries(const std::vector<int>& states, int state, int before) {
    int n = 0;
    int previous = before;
    for (int s : states) {
        if (s == state && previous != state) ++n;
        previous = s;
    }
    return n;
}

TEST(EngineLifecycle, ConstructionLeavesEveryJobPendingBehindAFade) {
    EngineRig rig;
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToDry);
    EXPECT_EQ(rig.engine().muteAmount(), 0.0);
    const std::uint32_t p = rig.engine().pendingJobs();
    EXPECT_NE(p & RotaryEngine::kJobSampleRate, 0u);
    EXPECT_NE(p & RotaryEngine::kJobFullReset, 0u);
    EXPECT_NE(p & RotaryEngine::kJobCrossPaths, 0u);
}

TEST(EngineLifecycle, FirstSecondFadesToDryThenToWetAndStaysFinite) {
    EngineRig rig;
    const long n = static_cast<long>(rig.rate());
    const auto in = sine(440.0, rig.rate(), n, 0.3);
    std::vector<int> states;
    std::vector<double> mutes;
    const StereoBuffer out = rig.render(in, in, [&](long) {
        states.push_back(rig.engine().engineState());
        mutes.push_back(rig.engine().muteAmount());
    });
    EXPECT_TRUE(allFinite(out.left));
    EXPECT_TRUE(allFinite(out.right));
    // Dry first, then the jobs behind full mute, then wet.
    EXPECT_EQ(countEntries(states, RotaryEngine::kReinitialising, RotaryEngine::kFadingToDry), 1);
    EXPECT_EQ(countEntries(states, RotaryEngine::kFadingToWet, RotaryEngine::kFadingToDry), 1);
    EXPECT_EQ(states.back(), RotaryEngine::kRunning);
    EXPECT_EQ(rig.engine().pendingJobs(), 0u);
    EXPECT_EQ(*std::max_element(mutes.begin(), mutes.end()), 1.0);
    EXPECT_GT(rms(out.left, static_cast<size_t>(n / 2), static_cast<size_t>(n)), 0.01);
}

TEST(EngineLifecycle, SuspendSchedulesTheRateJobAndResumeTheFullReset) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.fx().suspend();
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToDry);
    EXPECT_EQ(rig.engine().pendingJobs(), RotaryEngine::kJobSampleRate);
    rig.fx().resume();
    const std::uint32_t p = rig.engine().pendingJobs();
    EXPECT_NE(p & RotaryEngine::kJobFullReset, 0u);
    EXPECT_NE(p & RotaryEngine::kJobHornMic1, 0u);
    EXPECT_NE(p & RotaryEngine::kJobDrumMic, 0u);
    EXPECT_GT(rig.settle(), 0);
}

struct RateCase {
    double rate;
    float cpuMode;
    int decimation;
};

TEST(EngineLifecycle, DecimationFollowsTheRateAndCpuMode) {
    const RateCase cases[] = {{44100.0, 0.0f, 2}, {44100.0, 1.0f, 1}, {48000.0, 0.0f, 2}, {48000.0, 1.0f, 1},
                              {88200.0, 0.0f, 4}, {96000.0, 1.0f, 2}, {176400.0, 0.0f, 8}, {192000.0, 1.0f, 4}};
    for (const RateCase& c : cases) {
        EngineRig rig;
        rig.set(kCpuMode, c.cpuMode);
        rig.changeRate(c.rate);
        ASSERT_GT(rig.settle(), 0);
        EXPECT_EQ(rig.engine().decimation(), c.decimation) << c.rate << " " << c.cpuMode;
        EXPECT_DOUBLE_EQ(rig.engine().internalRate(), c.rate / c.decimation);
        EXPECT_DOUBLE_EQ(rig.engine().hostRate(), c.rate);
    }
}

TEST(EngineLifecycle, RatesFromTwoHundredKilohertzKeepThePreviousDecimation) {
    EngineRig rig;
    rig.changeRate(96000.0);
    ASSERT_GT(rig.settle(), 0);
    EXPECT_EQ(rig.engine().decimation(), 4);
    rig.changeRate(384000.0);
    ASSERT_GT(rig.settle(), 0);
    EXPECT_EQ(rig.engine().decimation(), 4);
    EXPECT_DOUBLE_EQ(rig.engine().internalRate(), 96000.0);
}

TEST(EngineLifecycle, CpuModeSwitchFadesOnceAndHalvesTheDecimation) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    ASSERT_EQ(rig.engine().decimation(), 2);
    rig.set(kCpuMode, 1.0f);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToDry);
    std::vector<double> mutes;
    const std::vector<int> states = runBlocks(rig, 200, &mutes);  // 1.2 s
    // One fade: entered by the switch itself, left once, never entered again.
    EXPECT_EQ(countEntries(states, RotaryEngine::kFadingToDry, RotaryEngine::kRunning), 1);
    EXPECT_EQ(countEntries(states, RotaryEngine::kRunning, RotaryEngine::kFadingToDry), 1);
    EXPECT_EQ(countEntries(states, RotaryEngine::kReinitialising, RotaryEngine::kFadingToDry), 1);
    EXPECT_EQ(states.back(), RotaryEngine::kRunning);
    EXPECT_EQ(rig.engine().decimation(), 1);
    EXPECT_EQ(*std::max_element(mutes.begin(), mutes.end()), 1.0);

    // The same position again changes nothing.
    rig.set(kCpuMode, 0.9f);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kRunning);
    EXPECT_EQ(rig.engine().pendingJobs(), 0u);
}

TEST(EngineLifecycle, AFadedChangeWhileReinitialisingReturnsThereAtOnce) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kCpuMode, 1.0f);
    for (int b = 0; b < 200 && rig.engine().engineState() != RotaryEngine::kReinitialising; ++b) runBlocks(rig, 1);
    ASSERT_EQ(rig.engine().engineState(), RotaryEngine::kReinitialising);
    rig.set(kHornMic1Angle, 0.3f);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToDry);
    EXPECT_NE(rig.engine().pendingJobs() & RotaryEngine::kJobHornMic1, 0u);
    // Fully muted already: one block later it is back at the jobs.
    runBlocks(rig, 1);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kReinitialising);
    EXPECT_EQ(rig.engine().muteAmount(), 1.0);
    EXPECT_GT(rig.settle(), 0);
    EXPECT_EQ(rig.engine().decimation(), 1);
}

TEST(EngineLifecycle, AFadedChangeWhileFadingToWetTurnsBackFromWhereItStands) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kHornMic2Angle, 0.6f);
    for (int b = 0; b < 400 && rig.engine().engineState() != RotaryEngine::kFadingToWet; ++b) runBlocks(rig, 1);
    ASSERT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToWet);
    runBlocks(rig, 1);
    const double standing = rig.engine().muteAmount();
    ASSERT_GT(standing, 0.1);
    ASSERT_LT(standing, 0.97);
    rig.set(kDrumMic1Angle, 0.4f);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToDry);
    std::vector<double> mutes;
    runBlocks(rig, 1, &mutes);
    EXPECT_GT(mutes[0], standing);  // rising again, without a jump to full mute
    EXPECT_LT(mutes[0], 1.0);
    EXPECT_GT(rig.settle(), 0);
}

TEST(EngineLifecycle, UnchangedDistanceCausesNoFade) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kHDistance, rig.fx().getParameter(kHDistance));
    rig.set(kDDistance, rig.fx().getParameter(kDDistance));
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kRunning);
    rig.set(kHDistance, 0.7f);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToDry);
    // The amplitude floor follows the horn distance.
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kHornAmplitudeClip), (std::sqrt(0.7f) - 0.5f) * 0.2f + 0.795879f);
}

TEST(EngineLifecycle, CrossPathChangesRunWithoutAFade) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kXTalk, 0.8f);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kRunning);
    EXPECT_EQ(rig.engine().pendingJobs(), RotaryEngine::kJobCrossPaths);
    runBlocks(rig, 1);
    EXPECT_EQ(rig.engine().pendingJobs(), 0u);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kRunning);
}

TEST(EngineLifecycle, SetupPositionAppliesItsPresetThroughTheParameters) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kSetup, 0.6f);  // position 3, "Front" "Rear"
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToDry);
    ASSERT_GT(rig.settle(), 0);
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kHornMic1Angle), 0.02f);
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kHornMic2Angle), 0.52f);
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kHornMic2Distance), 0.74f);
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kBypassSpeakers), 0.0f);
    rig.set(kSetup, 1.0f);  // "Mono"
    ASSERT_GT(rig.settle(), 0);
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kHornMic1Panorama), 0.5f);
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kHornMic2Gain), 0.0f);
    // The same position again is no change.
    rig.set(kSetup, 0.98f);
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kRunning);
}

TEST(EngineLifecycle, SizeSetsBothRoomParameters) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kSize, 0.5f);  // position 3
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kEarlyReflRoomSize), 0.386852f);
    EXPECT_FLOAT_EQ(rig.fx().getParameter(kEarlyReflVirtualRoomSize), 0.5f);
    EXPECT_NE(rig.engine().pendingJobs() & RotaryEngine::kJobRoomGeometry, 0u);
    EXPECT_GT(rig.settle(), 0);
}

TEST(EngineLifecycle, EveryParameterAtItsExtremesKeepsTheOutputFinite) {
    EngineRig rig(48000.0);
    ASSERT_GT(rig.settle(), 0);
    const auto in = sine(220.0, rig.rate(), 2048, 0.8);
    for (float v : {0.0f, 1.0f, 0.37f}) {
        for (int i = 0; i < ParameterSet::kNumIndices; ++i) {
            if (i == kBypass || (i >= kFirstController && i <= kLastController)) continue;
            rig.set(i, v);
        }
        ASSERT_GT(rig.settle(3.0), 0) << v;
        const StereoBuffer out = rig.render(in, in);
        EXPECT_TRUE(allFinite(out.left)) << v;
        EXPECT_TRUE(allFinite(out.right)) << v;
    }
}

}  // namespace
}  // namespace orv::test
