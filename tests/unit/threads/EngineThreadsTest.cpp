// setParameter from a second thread while the audio thread processes blocks: no faded change
// and no pending job may be lost, and the output stays finite. Built with -DORV_SANITIZE=thread
// (./go test-tsan) this is also the data-race check of the engine's cross-thread values.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "unit/engine/EngineRig.h"

namespace orv::test {
namespace {

using namespace param;

TEST(EngineConcurrency, ParameterChangesFromAnotherThreadAreNeverLost)
{
    EngineRig rig(44100.0, 64);
    ASSERT_GT(rig.settle(), 0);

    std::atomic<bool> stop{false};
    std::atomic<int> changes{0};
    // Cheap targets, rotor controls, cross paths and faded geometry changes, in a fixed cycle.
    const int indices[] = {
        kInput,    kLever, kHAccel,  kDrumMic1Angle,     kWidth,    kXTalk, kHornMic1Angle, kStop, kBalance,
        kHornRay1, kSetup, kCpuMode, kEarlyReflRoomSize, kDrumFlip, kMech};
    std::thread writer([&] {
        for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n) {
            rig.setParameter(indices[n % std::size(indices)], static_cast<float>((n * 37u) % 101u) / 100.0f);
            changes.fetch_add(1, std::memory_order_relaxed);
            if (n % 8 == 7) std::this_thread::yield();
        }
    });

    std::vector<float> l(64), r(64), ol(64), orr(64);
    bool finite = true;
    for (int b = 0; b < 1500; ++b) {
        for (int i = 0; i < 64; ++i) {
            l[i] = 0.3f * static_cast<float>((b * 64 + i) % 50) / 50.0f - 0.15f;
            r[i] = -l[i];
        }
        rig.process(l.data(), r.data(), ol.data(), orr.data(), 64);
        for (int i = 0; i < 64; ++i) finite = finite && std::isfinite(ol[i]) && std::isfinite(orr[i]);
        if (b > 200 && changes.load(std::memory_order_relaxed) > 2000) break;
    }
    stop.store(true);
    writer.join();
    EXPECT_TRUE(finite);
    EXPECT_GT(changes.load(), 0);

    // One last faded change from this thread: whatever was in flight, the engine must work
    // through it and come back to Running with nothing pending.
    rig.setParameter(kCpuMode, 1.0f);
    rig.setParameter(kHornMic2Angle, 0.66f);
    ASSERT_GT(rig.settle(5.0), 0);
    EXPECT_EQ(rig.engine().decimation(), 1);
    EXPECT_EQ(rig.engine().pendingJobs(), 0u);
}

}  // namespace
}  // namespace orv::test
