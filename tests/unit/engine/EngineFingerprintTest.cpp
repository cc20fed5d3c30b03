// Regression fingerprints of the sound: each of the 24 factory programs renders the same short
// input; the RMS of every 50 ms window of both channels and the spectral centroid are compared
// with the stored values in data/fingerprints.txt. A deliberate change of the sound
// regenerates the file with ORV_UPDATE_FINGERPRINTS=1 (and says so in its commit message).

#include <gtest/gtest.h>

#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "EngineRig.h"

namespace orv::test {
namespace {

constexpr int kPrograms = 24;
constexpr double kRate = 44100.0;
constexpr double kWindowSeconds = 0.05;
constexpr int kWindows = 10;
constexpr double kRmsTolerance = 1e-3;       // relative, about 0.01 dB
constexpr double kCentroidTolerance = 1e-3;  // relative
constexpr double kSilence = 1e-9;            // windows quieter than this compare absolutely

struct Fingerprint {
    double rmsL[kWindows];
    double rmsR[kWindows];
    double centroid;
};

std::filesystem::path dataFile() {
    return std::filesystem::path(ORV_DEFAULT_SOURCE_DIR) / "tests/unit/engine/data/fingerprints.txt";
}

// A chord for the first half, decaying noise from a fixed generator for the second.
std::vector<float> testInput() {
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

// Power-weighted mean frequency of the summed channels, from a radix-2 transform of the
// first power-of-two samples.
double spectralCentroid(const StereoBuffer& out) {
    size_t n = 1;
    while (n * 2 <= out.left.size()) n *= 2;
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < n; ++i) a[i] = static_cast<double>(out.left[i]) + out.right[i];
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2.0 * M_PI / static_cast<double>(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> wk = 1.0;
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * wk;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                wk *= w;
            }
        }
    }
    double weighted = 0.0, total = 0.0;
    for (size_t k = 1; k < n / 2; ++k) {
        const double p = std::norm(a[k]);
        weighted += p * (static_cast<double>(k) * kRate / static_cast<double>(n));
        total += p;
    }
    return total > 0.0 ? weighted / total : 0.0;
}

Fingerprint fingerprintOf(int program) {
    EngineRig rig(kRate, 256);
    rig.fx().selectProgram(program);
    EXPECT_GT(rig.settle(3.0), 0) << program;
    const std::vector<float> in = testInput();
    const StereoBuffer out = rig.render(in, in);
    Fingerprint f{};
    const size_t w = static_cast<size_t>(kWindowSeconds * kRate);
    for (int k = 0; k < kWindows; ++k) {
        f.rmsL[k] = rms(out.left, k * w, (k + 1) * w);
        f.rmsR[k] = rms(out.right, k * w, (k + 1) * w);
    }
    f.centroid = spectralCentroid(out);
    return f;
}

bool close(double measured, double stored, double tolerance) {
    if (std::fabs(stored) < kSilence) return std::fabs(measured) < kSilence * 10.0;
    return std::fabs(measured - stored) <= tolerance * std::fabs(stored);
}

TEST(EngineFingerprint, FactoryProgramsSoundAsRecorded) {
    std::vector<Fingerprint> now;
    for (int p = 0; p < kPrograms; ++p) now.push_back(fingerprintOf(p));

    if (const char* update = std::getenv("ORV_UPDATE_FINGERPRINTS"); update != nullptr && *update == '1') {
        std::filesystem::create_directories(dataFile().parent_path());
        std::ofstream out(dataFile());
        out << "# program, then RMS of 50 ms windows (left, right) and the spectral centroid in Hz\n";
        out.precision(10);
        for (int p = 0; p < kPrograms; ++p) {
            out << p;
            for (double v : now[p].rmsL) out << ' ' << v;
            for (double v : now[p].rmsR) out << ' ' << v;
            out << ' ' << now[p].centroid << '\n';
        }
        GTEST_SKIP() << "fingerprints written to " << dataFile();
    }

    std::ifstream in(dataFile());
    ASSERT_TRUE(in.good()) << "missing " << dataFile();
    std::string line;
    int checked = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        int p = -1;
        Fingerprint stored{};
        s >> p;
        for (double& v : stored.rmsL) s >> v;
        for (double& v : stored.rmsR) s >> v;
        s >> stored.centroid;
        ASSERT_TRUE(s && p >= 0 && p < kPrograms) << line;
        for (int k = 0; k < kWindows; ++k) {
            EXPECT_TRUE(close(now[p].rmsL[k], stored.rmsL[k], kRmsTolerance))
                << "program " << p << " window " << k << " left: " << now[p].rmsL[k] << " vs " << stored.rmsL[k];
            EXPECT_TRUE(close(now[p].rmsR[k], stored.rmsR[k], kRmsTolerance))
                << "program " << p << " window " << k << " right: " << now[p].rmsR[k] << " vs " << stored.rmsR[k];
        }
        EXPECT_TRUE(close(now[p].centroid, stored.centroid, kCentroidTolerance))
            << "program " << p << " centroid " << now[p].centroid << " vs " << stored.centroid;
        ++checked;
    }
    EXPECT_EQ(checked, kPrograms);
}

// The fingerprints depend on nothing but the input and the program: two renders agree exactly.
TEST(EngineFingerprint, RendersAreRepeatable) {
    const Fingerprint a = fingerprintOf(5), b = fingerprintOf(5);
    for (int k = 0; k < kWindows; ++k) {
        EXPECT_EQ(a.rmsL[k], b.rmsL[k]);
        EXPECT_EQ(a.rmsR[k], b.rmsR[k]);
    }
    EXPECT_EQ(a.centroid, b.centroid);
}

}  // namespace
}  // namespace orv::test
