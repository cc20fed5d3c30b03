// Renders of the whole engine. Regression fingerprints of the sound: each of the 24 factory
// programs renders the same short input; the RMS of every 50 ms window of both channels and the
// brightness (RMS of the first difference over the RMS) are compared with the stored values in
// data/fingerprints.txt. A deliberate change of the sound regenerates the file with
// ORV_UPDATE_FINGERPRINTS=1 (and says so in its commit message). Then sound quality beyond the
// arithmetic: switching the rotors in and out without a click, and renders that do not depend on
// how the host cuts the audio into blocks nor on the rotor kernels the processor runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "EngineRig.h"
#include "engine/VectorPath.h"
#include "support/GoldenRows.h"

namespace orv::test {
namespace {

using namespace param;

constexpr double kRate = 44100.0;

constexpr int kPrograms = 24;
constexpr double kWindowSeconds = 0.05;
constexpr size_t kWindows = 10;

// A chord for the first half, decaying noise from a fixed generator for the second.
std::vector<float> testInput()
{
    const long n = static_cast<long>(kWindows * kWindowSeconds * kRate);
    std::vector<float> v(static_cast<size_t>(n));
    std::uint32_t seed = 12345u;
    for (long i = 0; i < n; ++i) {
        const double t = i / kRate;
        double x;
        if (i < n / 2) {
            x = 0.2 * std::sin(2 * M_PI * 110.0 * t) + 0.15 * std::sin(2 * M_PI * 440.0 * t) +
                0.1 * std::sin(2 * M_PI * 1760.0 * t);
        } else {
            seed = seed * 1664525u + 1013904223u;  // linear congruential generator
            const double white = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
            x = 0.6 * white * std::exp(-(t - 0.25) * 8.0);
        }
        v[static_cast<size_t>(i)] = static_cast<float>(x);
    }
    return v;
}

// Brightness of the summed channels: RMS of the first difference over the RMS, which grows with
// the power-weighted mean of the squared frequencies (2 sin(w/2) per sample of a sine at w).
double brightness(const StereoBuffer& out)
{
    double power = 0.0, slope = 0.0;
    for (size_t i = 1; i < out.left.size(); ++i) {
        const double x = static_cast<double>(out.left[i]) + out.right[i];
        const double d = x - static_cast<double>(out.left[i - 1]) - out.right[i - 1];
        power += x * x;
        slope += d * d;
    }
    return power > 0.0 ? std::sqrt(slope / power) : 0.0;
}

// RMS of each window of the left, then the right channel, then the brightness.
std::vector<double> fingerprintOf(int program)
{
    EngineRig rig(kRate);
    rig.selectProgram(program);
    EXPECT_GT(rig.settle(3.0), 0) << program;
    const std::vector<float> in = testInput();
    const StereoBuffer out = rig.render(in, in);
    std::vector<double> f;
    const size_t w = static_cast<size_t>(kWindowSeconds * kRate);
    for (const std::vector<float>* channel : {&out.left, &out.right})
        for (size_t k = 0; k < kWindows; ++k) f.push_back(rms(*channel, k * w, (k + 1) * w));
    f.push_back(brightness(out));
    return f;
}

// Each value within 1e-3 relative (about 0.01 dB); windows quieter than 1e-9 compare absolutely.
TEST(EngineFingerprint, FactoryProgramsSoundAsRecorded)
{
    GoldenRows now;
    for (int p = 0; p < kPrograms; ++p) now.emplace_back(std::to_string(p), fingerprintOf(p));
    expectGoldenRows(
        std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/engine/data/fingerprints.txt", "ORV_UPDATE_FINGERPRINTS",
        now,
        [](double got, double want, const std::vector<double>&) {
            if (std::fabs(want) < 1e-9) return std::fabs(got) < 1e-8;
            return std::fabs(got - want) <= 1e-3 * std::fabs(want);
        },
        1, 10);
}

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
    const std::vector<float> a = sine(220.0, 48000.0, 9600, 0.4), b = sine(1870.0, 48000.0, 9600, 0.2);
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
