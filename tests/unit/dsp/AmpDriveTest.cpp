#include "dsp/AmpDrive.h"
#include "dsp/OversampledDrive.h"

#include <gtest/gtest.h>

#include <cmath>

#include "DspReference.h"

namespace orv {
namespace {

AmpDrive makeDrive(std::int32_t type, double drive, double fs = 44100.0)
{
    AmpDrive a;
    a.setType(type);
    a.setDriveTarget(drive);
    a.snapDrive();
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

// Points worked out by hand (data/amp_drive_points.txt).
TEST(AmpDrive, WorkedPoints)
{
    for (const auto& p : test::handRows("amp_drive_points.txt", 5)) {
        AmpDrive a = makeDrive(static_cast<std::int32_t>(p[0]), p[1]);
        EXPECT_NEAR(a.shape(p[2]), p[3], p[4]) << p[0] << " " << p[1] << " " << p[2];
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

}  // namespace
}  // namespace orv
