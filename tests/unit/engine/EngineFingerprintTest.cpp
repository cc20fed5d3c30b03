// Regression fingerprints of the sound: each of the 24 factory programs renders the same short
// input; the RMS of every 50 ms window of both channels and the brightness (RMS of the first
// difference over the RMS) are compared with the stored values in data/fingerprints.txt. A
// deliberate change of the sound regenerates the file with ORV_UPDATE_FINGERPRINTS=1 (and says so
// in its commit message).

#include <gtest/gtest.h>

#include <cmath>

#include "EngineRig.h"
#include "support/GoldenRows.h"

namespace orv::test {
namespace {

constexpr int kPrograms = 24;
constexpr double kRate = 44100.0;
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

}  // namespace
}  // namespace orv::test
