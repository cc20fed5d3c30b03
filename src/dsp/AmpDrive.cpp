#include "dsp/AmpDrive.h"

#include <cmath>

namespace orv {

namespace {
constexpr double kDcPole = 0.109;       // DC blocker decays to this fraction every 1/20 s
constexpr double kDcPoleRate = 20.0;    // ... i.e. over fs/20 samples (about 7 Hz high-pass)
constexpr double kDriveRangeDb = 40.0;  // "Drive" spans -20 .. +20 dB
constexpr double kDriveMinDb = -20.0;
constexpr double kDriveTimeConstant = 0.1;  // seconds
constexpr double kDefaultRate = 44100.0;
}  // namespace

AmpDrive::AmpDrive() { setSampleRate(kDefaultRate); }

std::int32_t AmpDrive::typeFromParameter(double p) { return static_cast<std::int32_t>(2.0 * p + 0.5); }

double AmpDrive::driveFromParameter(double p) { return std::pow(10.0, (kDriveRangeDb * p + kDriveMinDb) / 20.0); }

double AmpDrive::driveSmoothingCoefficient(double fs) { return 1.0 - std::exp(-1.0 / (kDriveTimeConstant * fs)); }

void AmpDrive::setSampleRate(double fs) { dcCoefficient = 1.0 - std::pow(kDcPole, kDcPoleRate / fs); }

}  // namespace orv
