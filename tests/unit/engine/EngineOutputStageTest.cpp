// The output stage of the engine: width, balance, the amplifier-only set-up and a mono output.
// Bypass, mix, the pins and the double-precision entry are checked through the module in
// tests/host/EngineHostTest.cpp.

#include <gtest/gtest.h>

#include "EngineRig.h"
#include "params/ParameterLaws.h"

namespace orv::test {
namespace {

using namespace param;

constexpr double kRate = 44100.0;

// A settled rig with left and right inputs that differ, so that channel mix-ups show.
struct Fixture {
    EngineRig rig;
    std::vector<float> inL, inR;
    explicit Fixture(double seconds = 0.5) {
        EXPECT_GT(rig.settle(), 0);
        const long n = static_cast<long>(seconds * kRate);
        inL = sine(440.0, kRate, n, 0.4);
        inR = sine(660.0, kRate, n, 0.3, 1.0);
    }
    // Lets smoothed parameter changes settle on silence.
    void warm(double seconds) {
        const std::vector<float> zeros(static_cast<size_t>(seconds * kRate), 0.0f);
        rig.render(zeros, zeros);
    }
};

TEST(EngineOutputStage, WidthZeroGivesIdenticalChannels) {
    Fixture f;
    f.rig.set(kWidth, 0.0f);
    f.rig.set(kMix, 1.0f);
    f.warm(0.5);
    const StereoBuffer out = f.rig.render(f.inL, f.inR);
    EXPECT_GT(rms(out.left, 0, out.left.size()), 0.01);
    EXPECT_LT(maxAbsDifference(out.left, out.right, 0, out.left.size()), 1e-6);
}

// Three identical engines that differ only in "Width": the mid signal must not depend on it and
// the side signal must grow in proportion, so Width 0.5 returns the cabinet's own L and R.
TEST(EngineOutputStage, WidthScalesOnlyTheSideSignal) {
    const float widths[] = {0.0f, 0.5f, 1.0f};
    StereoBuffer outs[3];
    for (int k = 0; k < 3; ++k) {
        Fixture f;
        f.rig.set(kWidth, widths[k]);
        f.warm(0.6);  // 20 smoothing time constants
        outs[k] = f.rig.render(f.inL, f.inR);
    }
    double midError = 0.0, sideError = 0.0, sideSize = 0.0, monoError = 0.0;
    for (size_t i = 0; i < outs[0].left.size(); ++i) {
        const double mid0 = outs[0].left[i] + outs[0].right[i];
        const double mid1 = outs[1].left[i] + outs[1].right[i];
        const double mid2 = outs[2].left[i] + outs[2].right[i];
        midError = std::max({midError, std::fabs(mid0 - mid1), std::fabs(mid2 - mid1)});
        const double side1 = outs[1].left[i] - outs[1].right[i];
        const double side2 = outs[2].left[i] - outs[2].right[i];
        sideError = std::max(sideError, std::fabs(side2 - 2.0 * side1));
        sideSize = std::max(sideSize, std::fabs(side1));
        monoError = std::max(monoError, static_cast<double>(std::fabs(outs[0].left[i] - outs[0].right[i])));
    }
    EXPECT_LT(monoError, 1e-6);
    EXPECT_GT(sideSize, 1e-3);  // the cabinet does make a stereo image
    EXPECT_LT(midError, 1e-5);
    EXPECT_LT(sideError, 1e-5);
}

TEST(EngineOutputStage, BalanceAttenuatesTheFarSideAlongAParabola) {
    // At Balance 0.75 the left gain is (1 − 0.5)² = 0.25 and the right stays 1; compare with a
    // centred engine fed the same, with Width 0.5 so each output carries only its own channel.
    StereoBuffer outs[2];
    const float balances[] = {0.5f, 0.75f};
    for (int k = 0; k < 2; ++k) {
        Fixture f;
        f.rig.set(kBalance, balances[k]);
        f.warm(0.6);
        outs[k] = f.rig.render(f.inL, f.inR);
    }
    double errL = 0.0, errR = 0.0;
    for (size_t i = 0; i < outs[0].left.size(); ++i) {
        errL = std::max(errL, std::fabs(outs[1].left[i] - 0.25 * static_cast<double>(outs[0].left[i])));
        errR = std::max(errR, static_cast<double>(std::fabs(outs[1].right[i] - outs[0].right[i])));
    }
    EXPECT_LT(errL, 1e-5);
    EXPECT_LT(errR, 1e-5);
}

TEST(EngineOutputStage, AmpOnlyGivesTheSameUnmodulatedSignalOnBothChannels) {
    Fixture f(1.0);
    f.rig.set(kType, 0.0f);   // "Thru": the amplifier is transparent
    f.rig.set(kSetup, 0.0f);  // "Amp Only"
    EXPECT_GT(f.rig.settle(), 0);
    EXPECT_EQ(f.rig.fx().getParameter(kBypassSpeakers), 1.0f);
    const std::vector<float> tone = sine(1000.0, kRate, static_cast<long>(kRate), 0.4);
    const StereoBuffer out = f.rig.render(tone, tone);
    EXPECT_LT(maxAbsDifference(out.left, out.right, 0, out.left.size()), 1e-7);
    // Level: input trim (−3 dB), unity post-drive and output gains, an equaliser that is flat
    // within 0.03 dB at 1 kHz.
    const double expected = levelCurve(0.500008) * kInputTrim * levelCurve(0.5) * levelCurve(0.5);
    const size_t window = static_cast<size_t>(0.01 * kRate);
    for (size_t w = window; w + window <= tone.size(); w += window) {  // past the filters' start
        const double ratio = rms(out.left, w, w + window) / rms(tone, w, w + window);
        EXPECT_NEAR(20.0 * std::log10(ratio / expected), 0.0, 0.05) << "window at " << w;
    }
}

TEST(EngineOutputStage, MonoOutputReceivesTheLeftResult) {
    Fixture stereo, mono;
    const StereoBuffer ref = stereo.rig.render(stereo.inL, stereo.inR);
    std::vector<float> out(mono.inL.size(), 0.0f);
    const int block = mono.rig.block();
    for (size_t pos = 0; pos < out.size(); pos += static_cast<size_t>(block)) {
        const int frames = static_cast<int>(std::min<size_t>(static_cast<size_t>(block), out.size() - pos));
        float* in[2] = {&mono.inL[pos], &mono.inR[pos]};
        float* outs[2] = {&out[pos], nullptr};  // no right output
        mono.rig.fx().processReplacing(in, outs, frames);
    }
    EXPECT_GT(rms(ref.left, 0, ref.left.size()), 0.01);
    EXPECT_GT(maxAbsDifference(ref.left, ref.right, 0, ref.left.size()), 1e-3);
    EXPECT_EQ(maxAbsDifference(out, ref.left, 0, out.size()), 0.0);
}

}  // namespace
}  // namespace orv::test
