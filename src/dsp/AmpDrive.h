#pragma once

#include <cstdint>

namespace orv {

// The cabinet's amplifier stage: "Thru", a two-stage asymmetric "Tube" shaper with a DC
// blocker, or a symmetric hard-limited cubic "Solid". The drive gain D multiplies the signal
// into the shaper and is divided out afterwards, so drive changes the amount of distortion
// rather than the clean level.
class AmpDrive {
public:
    static constexpr std::int32_t kThru = 0;
    static constexpr std::int32_t kTube = 1;
    static constexpr std::int32_t kSolid = 2;

    // Fields are plain data written by the engine.
    std::int32_t type = kThru;  // 0 "Thru", 1 "Tube", 2 "Solid"
    double driveTarget = 1.0;   // linear drive gain from the "Drive" parameter
    double drive = 1.0;         // D: driveTarget after the engine's 0.1 s smoothing
    double dcState = 0.0;       // "Tube" DC blocker state
    double dcCoefficient;       // k of the DC blocker, from the host rate

    AmpDrive();

    // "Type" parameter value (0..1) -> 0, 1 or 2 (nearest integer to 2p).
    static std::int32_t typeFromParameter(double p);
    // "Drive" parameter value (0..1) -> linear gain, -20 .. +20 dB.
    static double driveFromParameter(double p);
    // Per-sample smoothing factor of the drive for host rate fs (0.1 s time constant).
    static double driveSmoothingCoefficient(double fs);
    // One "Tube" stage T(u); T(0) = -0.42.
    static double tubeStage(double u);

    // Recomputes the DC blocker coefficient for host rate fs (full re-initialisation).
    void setSampleRate(double fs);
    // Clears the DC blocker.
    void clear() { dcState = 0.0; }
    // Moves D one sample towards driveTarget with coefficient c.
    void advanceDrive(double c) { drive += (driveTarget - drive) * c; }

    // One sample, after D has been advanced for it.
    double shape(double x);
};

}  // namespace orv
