#include "dsp/AmpDrive.h"
#include "dsp/OversampledDrive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace orv {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Amplitude of the component at `freq` (Hz) in x, by correlation over whole periods.
double amplitudeAt(const std::vector<double>& x, double freq, double fs)
{
    double re = 0, im = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        re += x[i] * std::cos(2 * kPi * freq * i / fs);
        im += x[i] * std::sin(2 * kPi * freq * i / fs);
    }
    return 2.0 * std::hypot(re, im) / x.size();
}

AmpDrive makeDrive(std::int32_t type, double drive, double fs = 44100.0)
{
    AmpDrive a;
    a.type = type;
    a.driveTarget = drive;
    a.drive = drive;
    a.setSampleRate(fs);
    a.clear();
    return a;
}

TEST(AmpDrive, ParameterLaws)
{
    const double types[][2] = {{0.0, AmpDrive::kThru},  {0.24, AmpDrive::kThru},  {0.25, AmpDrive::kTube},
                               {0.74, AmpDrive::kTube}, {0.75, AmpDrive::kSolid}, {1.0, AmpDrive::kSolid}};
    for (const auto& t : types) EXPECT_EQ(AmpDrive::typeFromParameter(t[0]), t[1]) << t[0];
    const double drives[][2] = {{0.0, 0.1}, {0.5, 1.0}, {0.75, std::sqrt(10.0)}, {1.0, 10.0}};  // -20 .. +20 dB
    for (const auto& d : drives) EXPECT_NEAR(AmpDrive::driveFromParameter(d[0]), d[1], 1e-12) << d[0];
    // 0.1 s time constant: after 0.1 s of smoothing a step has covered 1 - 1/e.
    const double c = AmpDrive::driveSmoothingCoefficient(48000.0);
    EXPECT_NEAR(std::pow(1.0 - c, 4800.0), std::exp(-1.0), 1e-9);
}

// "Thru" passes everything unchanged, every mode passes inputs below 1e-8 unchanged.
TEST(AmpDrive, InputsThatPassUnchanged)
{
    for (std::int32_t type : {AmpDrive::kThru, AmpDrive::kTube, AmpDrive::kSolid}) {
        AmpDrive a = makeDrive(type, type == AmpDrive::kThru ? 7.3 : 3.0);
        for (double x : {0.0, 9.9e-9, -9.9e-9, 1e-20}) EXPECT_EQ(a.shape(x), x) << type << " " << x;
    }
    AmpDrive thru = makeDrive(AmpDrive::kThru, 7.3);
    for (double x : {-0.3, 0.99, 5.0, -123.0}) EXPECT_EQ(thru.shape(x), x);
}

// Oversampled, a tiny sample is often a zero crossing of a loud signal whose shaped value is
// not tiny: inputs pass unshaped only after 128 host samples below the threshold in a row.
TEST(AmpDrive, OversampledStagePassesTinyInputsOnlyOnceTheyLast)
{
    for (std::int32_t type : {AmpDrive::kTube, AmpDrive::kSolid}) {
        AmpDrive a = makeDrive(type, 3.0);
        OversampledDrive o;
        for (int i = 0; i < 200; ++i) o.shape(a, 0.3 * std::sin(0.2 * i + 0.1));
        const double tiny = 5e-9;
        for (int i = 1; i < 128; ++i) EXPECT_NE(o.shape(a, tiny), tiny) << type << " " << i;
        for (int i = 0; i < 10; ++i) EXPECT_EQ(o.shape(a, tiny), tiny) << type << " " << i;
        EXPECT_NE(o.shape(a, 0.2), 0.2) << type;  // a loud sample ends the run
    }
}

TEST(AmpDrive, SolidCurve)
{
    // Above the knee the output is pinned at 0.5 / D.
    AmpDrive unity = makeDrive(AmpDrive::kSolid, 1.0);
    EXPECT_EQ(unity.shape(1.0 / 1.34349 + 1e-9), 0.5);
    EXPECT_EQ(unity.shape(3.0), 0.5);
    EXPECT_EQ(unity.shape(-3.0), -0.5);
    // Small signals see a gain of 0.75 * 1.34349.
    EXPECT_NEAR(unity.shape(1e-4) / 1e-4, 1.0076175, 1e-6);
    // Hand-worked points of 0.5 (1.5 t - 0.5 t^3) / D with t = 1.34349 D x.
    EXPECT_NEAR(unity.shape(0.5), 0.42802897067154533, 1e-12);
    EXPECT_NEAR(unity.shape(-0.2), -0.1966735941229789, 1e-12);
    AmpDrive two = makeDrive(AmpDrive::kSolid, 2.0);
    EXPECT_NEAR(two.shape(0.3), 0.23681152066021519, 1e-12);
    // +20 dB clips from 1 / (1.34349 * 10) = 0.07443 on.
    AmpDrive hot = makeDrive(AmpDrive::kSolid, 10.0);
    EXPECT_EQ(hot.shape(0.0745), 0.05);
    EXPECT_LT(hot.shape(0.0743), 0.05);
    EXPECT_GT(hot.shape(0.0743), 0.0499);
}

TEST(AmpDrive, TubeFirstSampleAtWorkedPoints)
{
    // First sample from a cleared blocker: (y - y k) / D, y = -T(-T(1.18 D x)), worked out
    // separately with k = 1 - 0.109^(20/44100).
    struct Point {
        double drive, x, expected;
    };
    // clang-format off
    const Point points[] = {
        {1.0, 1.0, 0.8422385457394337},   {1.0, -1.0, -0.4905719005342195},
        {1.0, 0.1, 0.12796671539344415},  {1.0, -0.1, -0.07157570546222453},
        {10.0, 0.5, 0.13041169241754658}, {0.1, 0.3, 0.5504851981351235},
    };
    // clang-format on
    for (const Point& p : points) {
        AmpDrive a = makeDrive(AmpDrive::kTube, p.drive);
        EXPECT_NEAR(a.shape(p.x), p.expected, 1e-12) << p.drive << " " << p.x;
    }
}

TEST(AmpDrive, TubeConstantInputSettlesToZero)
{
    // The blocker keeps 0.109 of a step after 1/20 s whatever the rate (a time constant of
    // 1 / (20 ln(1/0.109)) = 22.6 ms), and nothing after a second.
    for (double fs : {44100.0, 96000.0}) {
        AmpDrive a = makeDrive(AmpDrive::kTube, 1.0, fs);
        const double first = a.shape(0.4);
        double out = first;
        for (int i = 0; i < static_cast<int>(fs / 20.0); ++i) out = a.shape(0.4);
        EXPECT_NEAR(out / first, 0.109, 0.002) << fs;
        for (int i = 0; i < static_cast<int>(fs); ++i) out = a.shape(0.4);
        EXPECT_LT(std::fabs(out), 1e-12) << fs;
    }
}

TEST(AmpDrive, TubeAddsEvenHarmonicsSolidDoesNot)
{
    const double fs = 48000.0, f = 375.0;  // 128 samples per period
    for (std::int32_t type : {AmpDrive::kTube, AmpDrive::kSolid}) {
        AmpDrive a = makeDrive(type, 3.0, fs);
        std::vector<double> out;
        for (int i = 0; i < 48000 * 2; ++i) {
            // The phase offset keeps the input off exact zeros, which pass unshaped.
            const double y = a.shape(0.5 * std::sin(2 * kPi * f * i / fs + 0.3));
            if (i >= 48000) out.push_back(y);  // after the blocker has settled
        }
        const double h1 = amplitudeAt(out, f, fs);
        const double h2 = amplitudeAt(out, 2 * f, fs);
        const double h3 = amplitudeAt(out, 3 * f, fs);
        double mean = 0;
        for (double v : out) mean += v;
        mean /= out.size();
        EXPECT_LT(std::fabs(mean), 1e-3 * h1) << type;
        EXPECT_GT(h3, 0.01 * h1) << type;  // both distort at this drive
        if (type == AmpDrive::kTube) {
            EXPECT_GT(h2, 0.01 * h1);
        } else {
            EXPECT_LT(h2, 1e-9 * h1);
        }
    }
}

}  // namespace
}  // namespace orv
