// Sound quality beyond the arithmetic: switching the rotors in and out without a click, and
// renders that do not depend on how the host cuts the audio into blocks nor on the rotor
// kernels the processor runs.

#include <gtest/gtest.h>

#include <algorithm>

#include "EngineRig.h"
#include "engine/VectorPath.h"

namespace orv::test {
namespace {

using namespace param;

constexpr double kRate = 44100.0;

// Largest second difference |y[n] - 2 y[n-1] + y[n-2]| of either channel over [begin, end).
double peakCurvature(const StereoBuffer& out, size_t begin, size_t end)
{
    double m = 0.0;
    for (const std::vector<float>* v : {&out.left, &out.right})
        for (size_t i = begin + 2; i < end; ++i)
            m = std::max(m, std::fabs(static_cast<double>((*v)[i]) - 2.0 * (*v)[i - 1] + (*v)[i - 2]));
    return m;
}

// A 200 Hz tone plays while "SpkrConf" changes: the sharpest bend in the 100 ms after the
// switch stays within three times the sharpest of the steady 300 ms before it (a step of the
// rotors' on/off factors gave 10 to 70 times). The switch instants alternate a third of a period
// apart, so that a step cannot hide in a zero crossing.
TEST(EngineSmoothness, SpeakerConfigurationSwitchesWithoutAClick)
{
    const float switches[][2] = {{0.0f, 0.5f}, {0.0f, 1.0f}, {0.5f, 0.0f}, {0.5f, 1.0f}, {1.0f, 0.0f}, {1.0f, 0.5f}};
    const std::vector<float> tone = sine(200.0, kRate, static_cast<long>(0.8 * kRate), 0.5);
    long at = 22016;
    for (const auto& pair : switches) {
        // Named copies: clang 14 does not let a lambda capture a structured binding.
        const float from = pair[0], to = pair[1];
        at = at == 22016 ? 22016 + 64 : 22016;
        EngineRig rig(kRate, 64);
        rig.set(kSpkrConf, from);
        ASSERT_GT(rig.settle(), 0);
        const StereoBuffer out = rig.render(tone, tone, [&](long done) {
            if (done == at) rig.set(kSpkrConf, to);
        });
        const size_t sw = static_cast<size_t>(at);
        const double steady = peakCurvature(out, sw - static_cast<size_t>(0.3 * kRate), sw);
        ASSERT_GT(steady, 1e-4);
        EXPECT_LT(peakCurvature(out, sw - 2, sw + static_cast<size_t>(0.1 * kRate)), 3.0 * steady)
            << from << " -> " << to;
    }
}

// From construction on, with the motor noise at its default level: once the start-up fade is
// over, blocks of 7 or of 1 frame give what blocks of 256 give, within -60 dB of the peak.
TEST(EngineSmoothness, OutputDoesNotDependOnTheBlockPartition)
{
    const long n = static_cast<long>(1.0 * kRate);
    const size_t settled = static_cast<size_t>(0.5 * kRate);
    std::vector<float> in = sine(200.0, kRate, n, 0.3);
    const std::vector<float> upper = sine(3100.0, kRate, n, 0.2);
    for (size_t i = 0; i < in.size(); ++i) in[i] += upper[i];
    for (float cpuMode : {0.0f, 1.0f}) {
        const auto renderWith = [&](int block) {
            EngineRig rig(kRate, block);
            rig.set(kCpuMode, cpuMode);
            // The motor-noise loops restart when a rate job runs, at a block boundary by
            // design; without them what is left must not depend on the partition.
            rig.set(kMech, 0.0f);
            return rig.render(in, in);
        };
        const StereoBuffer reference = renderWith(256);
        const double limit = 1e-3 * maxAbsDifference(reference.left, std::vector<float>(in.size()));
        ASSERT_GT(limit, 1e-4);
        for (int block : {7, 1}) {
            const StereoBuffer out = renderWith(block);
            EXPECT_LT(maxAbsDifference(out.left, reference.left, settled), limit) << cpuMode << " " << block;
            EXPECT_LT(maxAbsDifference(out.right, reference.right, settled), limit) << cpuMode << " " << block;
        }
    }
}

// The AVX2 rotor kernels against the baseline ones: every factory program (all ray sets and
// process variants), both CPU modes, rotors fast, host blocks of 0, 1, an odd number of frames,
// one whole chunk and several chunks in turn. Without FMA the two must agree to the bit.
std::vector<double> renderKernels(bool wide, int program, float cpuMode)
{
    const bool before = vectorPath::wide();
    vectorPath::allowWide(wide);
    EngineRig rig(48000.0);
    rig.selectProgram(program);
    rig.set(kCpuMode, cpuMode);
    rig.set(kLever, 1.0f);
    const std::vector<float> a = sine(220.0, rig.rate(), 9600, 0.4), b = sine(1870.0, rig.rate(), 9600, 0.2);
    std::vector<double> in(a.size()), out(2 * a.size());
    for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<double>(a[i]) + b[i];
    constexpr int kBlocks[] = {0, 1, 37, 64, 512};
    size_t pos = 0;
    for (int k = 0; pos < in.size(); ++k) {
        const int frames = static_cast<int>(std::min<size_t>(kBlocks[k % 5], in.size() - pos));
        rig.engine().process(&in[pos], &in[pos], &out[pos], &out[in.size() + pos], frames);
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
            const std::vector<double> base = renderKernels(false, program, mode),
                                      wide = renderKernels(true, program, mode);
            const auto [x, y] = std::mismatch(base.begin(), base.end(), wide.begin());
            EXPECT_TRUE(x == base.end()) << "program " << program << ", CPUmode " << mode << ": sample "
                                         << (x - base.begin()) << " " << *x << " against " << *y;
        }
    }
}

}  // namespace
}  // namespace orv::test
