#include "dsp/AmpDrive.h"

#include <cmath>

namespace orv {

namespace {
constexpr double kPassThreshold = 1e-8;     // smaller inputs pass unshaped (guards the division)
constexpr double kTubeInputGain = 1.18;     // drive into the first tube stage
constexpr double kSolidInputGain = 1.34349; // drive into the cubic; clips at |t| = 1
constexpr double kDcPole = 0.109;           // DC blocker decays to this fraction every 1/20 s
constexpr double kDcPoleRate = 20.0;        // ... i.e. over fs/20 samples (about 7 Hz high-pass)
constexpr double kDriveRangeDb = 40.0;      // "Drive" spans -20 .. +20 dB
constexpr double kDriveMinDb = -20.0;
constexpr double kDriveTimeConstant = 0.1;  // seconds
constexpr double kDefaultRate = 44100.0;
}  // namespace

AmpDrive::AmpDrive() { setSampleRate(kDefaultRate); }

std::int32_t AmpDrive::typeFromParameter(double p) {
    return static_cast<std::int32_t>(2.0 * p + 0.5);
}

double AmpDrive::driveFromParameter(double p) {
    return std::pow(10.0, (kDriveRangeDb * p + kDriveMinDb) / 20.0);
}

double AmpDrive::driveSmoothingCoefficient(double fs) {
    return 1.0 - std::exp(-1.0 / (kDriveTimeConstant * fs));
}

void AmpDrive::setSampleRate(double fs) {
    dcCoefficient = 1.0 - std::pow(kDcPole, kDcPoleRate / fs);
}

double AmpDrive::tubeStage(double u) {
    // Positive inputs saturate towards w = 1.1, negative ones towards w = -4.4.
    double w = u >= 0.0 ? u / (0.5 * u + 1.0) : 2.0 * u / (2.0 - 0.25 * u);
    w *= 0.55;
    return 1.4 * (1.5 * w - 0.5 * w * w * w - 0.3);
}

double AmpDrive::shape(double x) {
    switch (type) {
    case kTube: {
        // Two inverting stages; the standing offset of T is removed by the DC blocker, which
        // runs on every sample so that it keeps tracking while the input is quiet.
        const double y = -tubeStage(-tubeStage(kTubeInputGain * drive * x));
        dcState = dcState + (y - dcState) * dcCoefficient;
        if (std::fabs(x) >= kPassThreshold) return (y - dcState) / drive;
        return x;
    }
    case kSolid: {
        const double t0 = kSolidInputGain * drive * x;
        const double t = (std::fabs(t0 + 1.0) - std::fabs(t0 - 1.0)) * 0.5;  // clamp to [-1, 1]
        const double g = 0.5 * (1.5 * t - 0.5 * t * t * t);
        if (std::fabs(x) >= kPassThreshold) return g / drive;
        return x;
    }
    default:
        return x;
    }
}

}  // namespace orv
