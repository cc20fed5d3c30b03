// What the engine does after the cabinet: width, balance, the amplifier-only set-up with the
// stage "CPUmode" picks (the stages themselves are checked in the dsp tests), the bypass
// cross-fade and a mono output pin. Left and right inputs differ so that mix-ups show.

#include <gtest/gtest.h>

#include <span>

#include "EngineRig.h"
#include "params/ParameterLaws.h"

namespace orv::test {
namespace {

using namespace param;

const std::vector<float> kInL = sine(440.0, 44100.0, 22050, 0.4), kInR = sine(660.0, 44100.0, 22050, 0.3, 1.0);

// A settled engine with `index` at `value` (smoothed changes given 0.6 s, 20 time constants),
// rendering the two inputs (to a mono output pin if asked).
StereoBuffer renderWith(int index, float value, bool mono = false)
{
    EngineRig rig;
    EXPECT_GT(rig.settle(), 0);
    rig.set(index, value);
    rig.blocks(104);
    return rig.render(kInL, kInR, {}, mono);
}

// The mid signal does not depend on "Width" and the side grows in proportion: 0.5 is the
// cabinet's own L and R, 0 a mono image. At "Balance" 0.75 the left gain is (1 − 0.5)² = 0.25
// and the right stays 1. A null right output is a mono output pin: it receives the left result.
TEST(EngineOutputStage, WidthBalanceAndMonoPin)
{
    const StereoBuffer w0 = renderWith(kWidth, 0.0f), w1 = renderWith(kWidth, 0.5f), w2 = renderWith(kWidth, 1.0f);
    const StereoBuffer right = renderWith(kBalance, 0.75f), centre = renderWith(kBalance, 0.5f, true);
    double midError = 0.0, sideError = 0.0, side = 0.0, balanceError = 0.0;
    for (size_t i = 0; i < kInL.size(); ++i) {
        const double mid = w1.left[i] + w1.right[i], side1 = w1.left[i] - w1.right[i];
        midError =
            std::max({midError, std::fabs(w0.left[i] + w0.right[i] - mid), std::fabs(w2.left[i] + w2.right[i] - mid)});
        sideError = std::max(sideError, std::fabs(w2.left[i] - w2.right[i] - 2.0 * side1));
        side = std::max(side, std::fabs(side1));
        balanceError = std::max(balanceError, std::fabs(right.left[i] - 0.25 * centre.left[i]));
    }
    EXPECT_LT(maxAbsDifference(w0.left, w0.right), 1e-6);
    EXPECT_GT(rms(w0.left, 0, kInL.size()), 0.01);
    EXPECT_GT(side, 1e-3);  // the cabinet does make a stereo image
    EXPECT_LT(midError, 1e-5);
    EXPECT_LT(sideError, 1e-5);
    EXPECT_LT(balanceError, 1e-5);
    EXPECT_LT(maxAbsDifference(right.right, w1.right), 1e-5);
    EXPECT_EQ(maxAbsDifference(centre.left, w1.left), 0.0);  // the mono pin
}

// `seconds` of a sine through "Amp Only" after the set-up has settled; both channels carry the
// one amplifier signal.
std::vector<float> ampOnly(double rate, float cpuMode, float type, float drive, double hz, double amplitude,
                           double seconds)
{
    EngineRig rig(rate);
    rig.set(kCpuMode, cpuMode);
    rig.set(kSetup, 0.0f);
    rig.set(kType, type);
    rig.set(kDrive, drive);
    EXPECT_GT(rig.settle(3.0), 0);
    EXPECT_EQ(rig.get(kBypassSpeakers), 1.0f);
    const std::vector<float> in = sine(hz, rate, static_cast<long>(seconds * rate), amplitude, 0.3);
    const StereoBuffer out = rig.render(in, in);
    EXPECT_EQ(maxAbsDifference(out.left, out.right), 0.0);
    return out.left;
}

// "Thru" gives the input at the input trim (-3 dB) with unity post-drive and output gains and
// an equaliser flat within 0.03 dB at 1 kHz, the same in both CPU modes. A 5 kHz sine at +20
// dB of drive: what is neither DC nor a harmonic below half the rate (the total power less
// those) stays 40 dB under the fundamental in "Brilliant", where the plain stage leaves -19
// dBc ("Tube") and -13 dBc ("Solid"). Small signals come out of both within 0.1 dB at 16 kHz.
TEST(EngineOutputStage, AmpOnlyRunsTheCurvesOversampledInBrilliant)
{
    const std::vector<float> thru = ampOnly(44100.0, 0.0f, 0.0f, 1.0f, 1000.0, 0.4, 1.0);
    const std::vector<float> tone = sine(1000.0, 44100.0, 44100, 0.4, 0.3);
    const double expected = levelCurve(0.500008) * kInputTrim * levelCurve(0.5) * levelCurve(0.5);
    for (size_t w = 441; w + 441 <= tone.size(); w += 441)  // 10 ms windows past the filters' start
        EXPECT_NEAR(20.0 * std::log10(rms(thru, w, w + 441) / rms(tone, w, w + 441) / expected), 0.0, 0.05) << w;
    EXPECT_EQ(maxAbsDifference(thru, ampOnly(44100.0, 1.0f, 0.0f, 1.0f, 1000.0, 0.4, 1.0)), 0.0);
    auto foldedDb = [](double rate, float cpuMode, float type) {
        const std::vector<float> out = ampOnly(rate, cpuMode, type, 1.0f, 5000.0, 0.5, 0.4);
        const size_t n = static_cast<size_t>(rate / 10.0);
        const std::span<const float> tail = std::span(out).last(n);  // whole periods
        auto power = [&](int k) { return std::pow(amplitudeAt(tail, k * 5000.0, rate), 2.0) / (k == 0 ? 4.0 : 2.0); };
        double folded = std::pow(rms(tail), 2.0);
        for (int k = 0; k * 5000.0 < rate / 2.0; ++k) folded -= power(k);
        return 10.0 * std::log10(folded / power(1));
    };
    for (float type : {0.5f, 1.0f}) {
        for (double rate : {44100.0, 48000.0}) EXPECT_LT(foldedDb(rate, 1.0f, type), -40.0) << rate << " " << type;
        EXPECT_GT(foldedDb(44100.0, 0.0f, type), -25.0) << type;
        const std::vector<float> plain = ampOnly(44100.0, 0.0f, type, 0.5f, 16000.0, 0.01, 0.2);
        const std::vector<float> brilliant = ampOnly(44100.0, 1.0f, type, 0.5f, 16000.0, 0.01, 0.2);
        EXPECT_NEAR(20.0 * std::log10(rms(brilliant, 4410, 8820) / rms(plain, 4410, 8820)), 0.0, 0.1) << type;
    }
}

// "Bypass" cross-fades to each input pin over about 20 ms (no jump), then gives it back.
TEST(EngineOutputStage, BypassFadesToEachInputPin)
{
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kBypass, 1.0f);
    const StereoBuffer out = rig.render(kInL, kInR);
    for (const auto& [o, in] : {std::pair{&out.left, &kInL}, std::pair{&out.right, &kInR}}) {
        EXPECT_GT(maxAbsDifference(*o, *in, 0, 44), 0.05);       // 1 ms in: mostly the wet signal still
        EXPECT_LT(maxAbsDifference(*o, *in, 4410, 4420), 0.01);  // 100 ms in: 5 time constants
        EXPECT_LT(maxAbsDifference(*o, *in, 17640), 1e-6);       // 400 ms in: 20 time constants
    }
}

}  // namespace
}  // namespace orv::test
