// The audio path allocates nothing: processing, parameter changes of every index and every
// re-initialisation job group run with operator new counted (support/AllocCounter.cpp).

#include <gtest/gtest.h>

#include "EngineRig.h"
#include "support/AllocCounter.h"

namespace orv::test {
namespace {

using namespace param;

// Processes blocks from preallocated buffers until the engine is back to Running with nothing
// pending; answers whether it got there.
bool runUntilSettled(CoreDriver& fx, float* l, float* r, int block, int maxBlocks) {
    float* in[2] = {l, r};
    float* out[2] = {l, r};  // in place, as some hosts do
    for (int b = 0; b < maxBlocks; ++b) {
        fx.processReplacing(in, out, block);
        const RotaryEngine& e = fx.audioEngine();
        if (e.engineState() == RotaryEngine::kRunning && e.pendingJobs() == 0 && b > 0) return true;
    }
    return false;
}

TEST(EngineAllocation, ProcessingParameterChangesAndEveryJobAllocateNothing) {
    EngineRig rig;  // construction may allocate
    constexpr int kBlock = 128;
    std::vector<float> l(kBlock, 0.1f), r(kBlock, -0.1f);
    CoreDriver& fx = rig.fx();
    ASSERT_TRUE(runUntilSettled(fx, l.data(), r.data(), kBlock, 1000));

    const long long before = allocationCount();
    ASSERT_GE(before, 1);  // the counter does see allocations (the core was built above)

    // Plain processing, both entries.
    for (int b = 0; b < 100; ++b) {
        float* in[2] = {l.data(), r.data()};
        fx.processReplacing(in, in, kBlock);
    }
    double dl[kBlock] = {}, dr[kBlock] = {};
    double* din[2] = {dl, dr};
    fx.processDoubleReplacing(din, din, kBlock);

    // Every parameter index, each at two values, with processing in between; faded changes
    // run their job groups here.
    for (float v : {0.9f, 0.2f}) {
        for (int i = 0; i < ParameterSet::kNumIndices; ++i) {
            if (i == kBypass) continue;
            fx.setParameter(i, v);
            float* in[2] = {l.data(), r.data()};
            fx.processReplacing(in, in, kBlock);
        }
        EXPECT_TRUE(runUntilSettled(fx, l.data(), r.data(), kBlock, 2000));
    }

    // The jobs of suspend and resume, a rate change in both CPU modes, and the full reset.
    for (float mode : {0.0f, 1.0f}) {
        fx.setParameter(kCpuMode, mode);
        EXPECT_TRUE(runUntilSettled(fx, l.data(), r.data(), kBlock, 2000));
        fx.suspend();
        fx.setSampleRate(mode == 0.0f ? 96000.0f : 44100.0f);
        fx.resume();
        EXPECT_TRUE(runUntilSettled(fx, l.data(), r.data(), kBlock, 4000));
    }
    EXPECT_EQ(allocationCount() - before, 0);
}

}  // namespace
}  // namespace orv::test
