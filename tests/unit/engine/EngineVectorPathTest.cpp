// The AVX2 rotor kernels against the baseline ones through the whole engine: every factory
// program (all ray sets and process variants), both CPU modes, rotors fast, host blocks of 0,
// 1, an odd number of frames, one whole chunk and several chunks in turn. Without FMA the two
// must agree to the bit.

#include <gtest/gtest.h>

#include <algorithm>

#include "EngineRig.h"
#include "engine/VectorPath.h"

namespace orv::test {
namespace {

std::vector<double> render(bool wide, int program, float cpuMode)
{
    const bool before = vectorPath::wide();
    vectorPath::allowWide(wide);
    EngineRig rig(48000.0);
    rig.selectProgram(program);
    rig.set(param::kCpuMode, cpuMode);
    rig.set(param::kLever, 1.0f);
    const std::vector<float> a = sine(220.0, rig.rate(), 9600, 0.4), b = sine(1870.0, rig.rate(), 9600, 0.2);
    std::vector<double> in(a.size()), out(2 * a.size());
    for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<double>(a[i]) + b[i];
    constexpr int kBlocks[] = {0, 1, 37, 64, 512};
    size_t pos = 0;
    for (int k = 0; pos < in.size(); ++k) {
        const int frames = static_cast<int>(std::min<size_t>(kBlocks[k % 5], in.size() - pos));
        rig.process(&in[pos], &in[pos], &out[pos], &out[in.size() + pos], frames);
        pos += static_cast<size_t>(frames);
    }
    vectorPath::allowWide(before);
    return out;
}

TEST(EngineVectorPath, WideKernelsMatchTheBaselineBitForBit)
{
    if (!vectorPath::processorHasWide()) GTEST_SKIP() << "this processor runs no AVX2";
    for (int program = 0; program < 24; ++program) {
        for (const float mode : {0.0f, 1.0f}) {
            const std::vector<double> base = render(false, program, mode), wide = render(true, program, mode);
            const auto [x, y] = std::mismatch(base.begin(), base.end(), wide.begin());
            EXPECT_TRUE(x == base.end()) << "program " << program << ", CPUmode " << mode << ": sample "
                                         << (x - base.begin()) << " " << *x << " against " << *y;
        }
    }
}

}  // namespace
}  // namespace orv::test
