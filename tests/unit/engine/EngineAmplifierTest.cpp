// The amplifier through the effect in "Amp Only": "CPUmode" picks the oversampled stage or the
// plain one (the stages themselves are checked in the dsp tests).

#include <gtest/gtest.h>

#include "EngineRig.h"

namespace orv::test {
namespace {

using namespace param;

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
    const std::vector<float> in = sine(hz, rate, static_cast<long>(seconds * rate), amplitude, 0.3);
    const StereoBuffer out = rig.render(in, in);
    EXPECT_EQ(maxAbsDifference(out.left, out.right), 0.0);
    return out.left;
}

// Power at `hz` over the last n samples (whole periods), single-sided: a^2 / 2 for a sine.
double powerAt(const std::vector<float>& v, size_t n, double hz, double rate)
{
    double re = 0.0, im = 0.0;
    for (size_t i = 0; i < n; ++i) {
        re += v[v.size() - n + i] * std::cos(2.0 * M_PI * hz * i / rate);
        im += v[v.size() - n + i] * std::sin(2.0 * M_PI * hz * i / rate);
    }
    return (hz == 0.0 ? 1.0 : 2.0) * (re * re + im * im) / (static_cast<double>(n) * n);
}

// A 5 kHz sine at +20 dB of drive: what is neither DC nor a harmonic below half the rate (the
// total power by Parseval, less those), in dB under the fundamental, over 500 periods.
double foldedDb(double rate, float cpuMode, float type)
{
    const std::vector<float> out = ampOnly(rate, cpuMode, type, 1.0f, 5000.0, 0.5, 0.4);
    const size_t n = static_cast<size_t>(rate / 10.0);
    double folded = std::pow(rms(out, out.size() - n, out.size()), 2.0);
    for (int k = 0; k * 5000.0 < rate / 2.0; ++k) folded -= powerAt(out, n, k * 5000.0, rate);
    return 10.0 * std::log10(folded / powerAt(out, n, 5000.0, rate));
}

// "Brilliant" keeps folded products 40 dB down, where the plain stage leaves -19 dBc ("Tube")
// and -13 dBc ("Solid"). Small signals (0 dB of drive at -40 dB) come out of both within
// 0.1 dB at 16 kHz; "Thru" sample for sample.
TEST(EngineAmplifier, BrilliantRunsTheCurvesOversampled)
{
    for (float type : {0.5f, 1.0f}) {
        for (double rate : {44100.0, 48000.0}) EXPECT_LT(foldedDb(rate, 1.0f, type), -40.0) << rate << " " << type;
        EXPECT_GT(foldedDb(44100.0, 0.0f, type), -25.0) << type;
        const std::vector<float> plain = ampOnly(44100.0, 0.0f, type, 0.5f, 16000.0, 0.01, 0.2);
        const std::vector<float> brilliant = ampOnly(44100.0, 1.0f, type, 0.5f, 16000.0, 0.01, 0.2);
        EXPECT_NEAR(20.0 * std::log10(rms(brilliant, 4410, 8820) / rms(plain, 4410, 8820)), 0.0, 0.1) << type;
    }
    EXPECT_EQ(maxAbsDifference(ampOnly(44100.0, 0.0f, 0.0f, 1.0f, 5000.0, 0.5, 0.2),
                               ampOnly(44100.0, 1.0f, 0.0f, 1.0f, 5000.0, 0.5, 0.2)),
              0.0);
}

}  // namespace
}  // namespace orv::test
