// The audio path allocates nothing: processing in both precisions, parameter changes of every
// index and every re-initialisation job group run with operator new counted
// (support/AllocCounter.cpp).

#include <gtest/gtest.h>

#include "EngineRig.h"
#include "support/AllocCounter.h"

namespace orv::test {
namespace {

using namespace param;

TEST(EngineAllocation, ProcessingParameterChangesAndEveryJobAllocateNothing) {
    EngineRig rig(44100.0, 128);  // construction may allocate
    std::vector<float> l(128, 0.1f), r(128, -0.1f);
    double dl[128] = {}, dr[128] = {};
    // Blocks processed in place, as some hosts do, until the engine runs with nothing pending.
    auto settled = [&](int maxBlocks) {
        for (int b = 0; b < maxBlocks; ++b) {
            rig.process(l.data(), r.data(), l.data(), r.data(), 128);
            if (b > 0 && rig.engine().engineState() == RotaryEngine::kRunning && rig.engine().pendingJobs() == 0) return true;
        }
        return false;
    };
    ASSERT_TRUE(settled(1000));
    const long long before = allocationCount();
    ASSERT_GE(before, 1);  // the counter does see allocations (the core was built above)

    for (int b = 0; b < 100; ++b) rig.process(l.data(), r.data(), l.data(), r.data(), 128);
    rig.process(dl, dr, dl, dr, 128);
    // Every index at two values with a block between; faded changes run their job groups here.
    for (float v : {0.9f, 0.2f}) {
        for (int i = 0; i < ParameterSet::kNumIndices; ++i) {
            if (i == kBypass) continue;
            rig.set(i, v);
            rig.process(l.data(), r.data(), l.data(), r.data(), 128);
        }
        EXPECT_TRUE(settled(2000));
    }
    // The jobs of suspend and resume, a rate change in both CPU modes, and the full reset.
    for (float mode : {0.0f, 1.0f}) {
        rig.set(kCpuMode, mode);
        EXPECT_TRUE(settled(2000));
        rig.changeRate(mode == 0.0f ? 96000.0 : 44100.0);
        EXPECT_TRUE(settled(4000));
    }
    EXPECT_EQ(allocationCount() - before, 0);
}

}  // namespace
}  // namespace orv::test
