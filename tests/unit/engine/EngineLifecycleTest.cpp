// Construction, fades, re-initialisation jobs and the decimation choice of the engine.

#include <gtest/gtest.h>

#include "EngineRig.h"

namespace orv::test {
namespace {

using param::kCpuMode;

TEST(EngineLifecycle, ConstructionFadesInAndStaysFinite) {
    EngineRig rig;
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kFadingToDry);
    const long n = static_cast<long>(rig.rate());  // one second
    auto in = sine(440.0, rig.rate(), n, 0.3);
    std::vector<int> states;
    const StereoBuffer out = rig.render(in, in, [&](long) { states.push_back(rig.engine().engineState()); });
    EXPECT_TRUE(allFinite(out.left));
    EXPECT_TRUE(allFinite(out.right));
    EXPECT_EQ(rig.engine().engineState(), RotaryEngine::kRunning);
    EXPECT_EQ(rig.engine().pendingJobs(), 0u);
    EXPECT_GT(rms(out.left, n / 2, n), 0.01);
}

}  // namespace
}  // namespace orv::test
