// The designs are computed with the lane functions, products and reciprocals instead of the
// library's pow, sin and cos and of divisions: they must stay within a few parts in 10^14 of
// the textbook designs computed with the library functions, over every type and the ranges
// the system uses, and the saturation law within a few ulps of its pow form.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "FilterReference.h"
#include "dsp/BiquadFilter.h"

namespace orv {
namespace {

TEST(BiquadDesignPrecision, EveryTypeIsWithinTinyDistanceOfTheLibraryDesign)
{
    std::mt19937_64 rng(12);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double worst = 0.0;
    for (std::uint32_t type = 1; type <= 10; ++type) {
        for (int i = 0; i < 3000; ++i) {
            const double fs = i % 3 == 0 ? 44100.0 : (i % 3 == 1 ? 48000.0 : 22050.0);
            const double f0 = 0.001 + 0.499 * fs * std::pow(unit(rng), 2.0);
            const double q = 0.05 + 10.0 * unit(rng);
            const double gainDb = -40.0 + 80.0 * unit(rng);
            BiquadFilter f;
            f.sampleRate = fs;
            f.type = type;
            f.frequency = f0;
            f.q = q;
            f.gainDb = gainDb;
            f.enable();
            const test::Sos r = test::referenceDesign(type, fs, f0, q, gainDb);
            const double got[5] = {f.b0, f.b1, f.b2, f.a1, f.a2};
            const double want[5] = {r.b[0] / r.a[0], r.b[1] / r.a[0], r.b[2] / r.a[0], r.a[1] / r.a[0], r.a[2] / r.a[0]};
            // Coefficients near 1 in size; measured against the larger of the value and 1. The
            // one-pole's pole k - sqrt(k^2 - 1) magnifies a last-bit difference of cos w by
            // about 1 / w at low frequencies, in either computation.
            const double tolerance = type == BiquadFilter::typeLowPass1 ? 2e-14 / (2.0 * M_PI * f0 / fs) : 5e-14;
            for (int c = 0; c < 5; ++c) {
                const double d = std::fabs(got[c] - want[c]) / std::max(1.0, std::fabs(want[c]));
                if (type != BiquadFilter::typeLowPass1)
                    worst = std::max(worst, d);
                ASSERT_LE(d, tolerance) << "type " << type << " f " << f0 << " q " << q << " dB " << gainDb << " c" << c;
            }
        }
    }
    std::printf("largest coefficient difference from the library design (but the one-pole): %.3g\n", worst);
}

TEST(BiquadDesignPrecision, SaturationCoefficientFollowsItsLaw)
{
    std::mt19937_64 rng(13);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 20000; ++i) {
        BiquadFilter f;
        f.sampleRate = 48000.0;
        f.frequency = 20.0 + 20000.0 * unit(rng);
        f.q = 0.0001 + 30.0 * unit(rng) * unit(rng);
        const double amount = 0.0008 * std::pow(400.0, unit(rng));
        f.setSaturation(amount);
        const double v = f.frequency * 0.01 * (44100.0 / f.sampleRate) * amount * 3.0;
        const double law = v / (1000.0 * std::pow(f.q, 0.75));
        ASSERT_NEAR(f.saturationCoefficient, law, 1e-15 * law) << f.q;
    }
}

}  // namespace
}  // namespace orv
