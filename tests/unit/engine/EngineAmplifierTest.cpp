// The amplifier through the effect in "Amp Only": in "Brilliant" its curves run oversampled,
// so a driven high tone keeps its harmonics and loses the folded ones; small signals and
// "Thru" come out as from the plain stage that "LowCPU" keeps.

#include <gtest/gtest.h>

#include "EngineRig.h"

namespace orv::test {
namespace {

using namespace param;

constexpr double kTone = 5000.0;  // Hz

// Renders `seconds` of a sine through "Amp Only" after the set-up has settled.
std::vector<float> ampOnly(double rate, float cpuMode, float type, float drive, double hz, double amplitude,
                           double seconds) {
    EngineRig rig(rate, 256);
    rig.set(kCpuMode, cpuMode);
    rig.set(kSetup, 0.0f);
    rig.set(kType, type);
    rig.set(kDrive, drive);
    EXPECT_GT(rig.settle(3.0), 0);
    const std::vector<float> in = sine(hz, rate, static_cast<long>(seconds * rate), amplitude, 0.3);
    const StereoBuffer out = rig.render(in, in);
    EXPECT_EQ(maxAbsDifference(out.left, out.right, 0, out.left.size()), 0.0);  // one amplifier signal
    return out.left;
}

// Power of the component at `hz` in the last n samples of v, by correlation (n spans whole
// periods of hz): single-sided, so a sine of amplitude a gives a^2 / 2, and DC its square.
double powerAt(const std::vector<float>& v, size_t n, double hz, double rate) {
    const size_t begin = v.size() - n;
    double re = 0.0, im = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double phase = 2.0 * M_PI * hz * static_cast<double>(i) / rate;
        re += v[begin + i] * std::cos(phase);
        im += v[begin + i] * std::sin(phase);
    }
    return (hz == 0.0 ? 1.0 : 2.0) * (re * re + im * im) / (static_cast<double>(n) * static_cast<double>(n));
}

// A 5 kHz sine at +20 dB of drive: whatever is neither DC nor a harmonic below half the rate
// (the total power by Parseval, less those) stays 40 dB under the fundamental. The plain stage
// leaves -19 dBc ("Tube") and -13 dBc ("Solid").
TEST(EngineAmplifier, BrilliantKeepsFoldedHarmonicsFortyDecibelsDown) {
    struct Case {
        double rate;
        float type;
    };
    for (const Case& c : {Case{44100.0, 0.5f}, Case{44100.0, 1.0f}, Case{48000.0, 0.5f}, Case{48000.0, 1.0f}}) {
        const std::vector<float> out = ampOnly(c.rate, 1.0f, c.type, 1.0f, kTone, 0.5, 0.4);
        const size_t n = static_cast<size_t>(c.rate / 10.0);  // 500 periods of the tone
        double total = 0.0;
        for (size_t i = out.size() - n; i < out.size(); ++i) total += static_cast<double>(out[i]) * out[i];
        total /= static_cast<double>(n);
        double harmonics = powerAt(out, n, 0.0, c.rate);
        for (int k = 1; k * kTone < c.rate / 2.0; ++k) harmonics += powerAt(out, n, k * kTone, c.rate);
        const double fundamental = powerAt(out, n, kTone, c.rate);
        ASSERT_GT(fundamental, 1e-4);
        EXPECT_LT(10.0 * std::log10((total - harmonics) / fundamental), -40.0) << c.rate << " " << c.type;
    }
}

// Small signals (a drive of 0 dB at -40 dB of level) come out of "Brilliant" as from the plain
// stage of "LowCPU" within 0.1 dB up to 16 kHz; "Thru" sample for sample.
TEST(EngineAmplifier, BrilliantPassesSmallSignalsAsThePlainStage) {
    constexpr double kRate = 44100.0;
    constexpr double kSeconds = 0.2;
    const size_t window = static_cast<size_t>(0.1 * kRate);
    for (float type : {0.5f, 1.0f}) {
        for (double hz : {100.0, 1000.0, 5000.0, 10000.0, 14000.0, 16000.0}) {
            const std::vector<float> plain = ampOnly(kRate, 0.0f, type, 0.5f, hz, 0.01, kSeconds);
            const std::vector<float> brilliant = ampOnly(kRate, 1.0f, type, 0.5f, hz, 0.01, kSeconds);
            const size_t end = plain.size();
            const double db = 20.0 * std::log10(rms(brilliant, end - window, end) / rms(plain, end - window, end));
            EXPECT_NEAR(db, 0.0, 0.1) << type << " " << hz;
        }
    }
    const std::vector<float> plain = ampOnly(kRate, 0.0f, 0.0f, 1.0f, kTone, 0.5, kSeconds);
    const std::vector<float> brilliant = ampOnly(kRate, 1.0f, 0.0f, 1.0f, kTone, 0.5, kSeconds);
    EXPECT_EQ(maxAbsDifference(plain, brilliant, 0, plain.size()), 0.0);
}

}  // namespace
}  // namespace orv::test
