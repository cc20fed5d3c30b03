// Sound quality beyond the arithmetic: renders that do not depend on how the host cuts the
// audio into blocks.

#include <gtest/gtest.h>

#include "EngineRig.h"

namespace orv::test {
namespace {

using namespace param;

constexpr double kRate = 44100.0;

double peakOf(const std::vector<float>& v) {
    double m = 0.0;
    for (float x : v) m = std::max(m, std::fabs(static_cast<double>(x)));
    return m;
}

// From construction on, with the motor noise at its default level: once the start-up fade is
// over, blocks of 7 or of 1 frame give what blocks of 256 give, within -60 dB of the peak.
TEST(EngineSmoothness, OutputDoesNotDependOnTheBlockPartition) {
    const long n = static_cast<long>(1.0 * kRate);
    const size_t settled = static_cast<size_t>(0.5 * kRate);
    std::vector<float> in = sine(200.0, kRate, n, 0.3);
    const std::vector<float> upper = sine(3100.0, kRate, n, 0.2);
    for (size_t i = 0; i < in.size(); ++i) in[i] += upper[i];
    for (float cpuMode : {0.0f, 1.0f}) {
        const auto renderWith = [&](int block) {
            EngineRig rig(kRate, block);
            rig.set(kCpuMode, cpuMode);
            return rig.render(in, in);
        };
        const StereoBuffer reference = renderWith(256);
        const double limit = 1e-3 * peakOf(reference.left);
        ASSERT_GT(limit, 1e-4);
        for (int block : {7, 1}) {
            const StereoBuffer out = renderWith(block);
            EXPECT_LT(maxAbsDifference(out.left, reference.left, settled, in.size()), limit) << cpuMode << " " << block;
            EXPECT_LT(maxAbsDifference(out.right, reference.right, settled, in.size()), limit) << cpuMode << " " << block;
        }
    }
}

}  // namespace
}  // namespace orv::test
