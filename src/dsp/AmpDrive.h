#pragma once

#include <cmath>
#include <cstdint>

namespace orv {

// The cabinet's amplifier stage: "Thru", a two-stage asymmetric "Tube" shaper with a DC
// blocker, or a symmetric hard-limited cubic "Solid". The drive gain D multiplies the signal
// into the shaper and is divided out afterwards, so drive changes the amount of distortion
// rather than the clean level.
class AmpDrive {
public:
    enum Type : std::int32_t { kThru, kTube, kSolid };  // the "Type" parameter's positions

    AmpDrive();

    // "Type" parameter value (0..1) -> 0, 1 or 2 (nearest integer to 2p).
    static std::int32_t typeFromParameter(double p);
    // "Drive" parameter value (0..1) -> linear gain, -20 .. +20 dB.
    static double driveFromParameter(double p);
    // Per-sample smoothing factor of the drive for host rate fs (0.1 s time constant).
    static double driveSmoothingCoefficient(double fs);
    // One "Tube" stage T(u); T(0) = -0.42.
    static inline double tubeStage(double u);

    // Recomputes the DC blocker coefficient for host rate fs (full re-initialisation).
    void setSampleRate(double fs);
    // Clears the DC blocker.
    void clear() { dcState = 0.0; }
    // The "Type" position: kThru, kTube or kSolid.
    void setType(std::int32_t type) { type_ = type; }
    std::int32_t type() const { return type_; }
    // The linear drive gain that D follows; snapDrive() puts D there at once.
    void setDriveTarget(double gain) { driveTarget = gain; }
    void snapDrive() { drive = driveTarget; }
    // Moves D one sample towards driveTarget with coefficient c.
    void advanceDrive(double c) { drive += (driveTarget - drive) * c; }

    static constexpr double kPassThreshold = 1e-8;  // smaller inputs pass unshaped

    // One sample, after D has been advanced for it.
    double shape(double x)
    {
        const double y = finish(curve(x));
        return std::fabs(x) >= kPassThreshold ? y : x;
    }

    // The parts of shape(), for a caller that runs the curve at a higher rate.
    // The transfer curve of the type at drive D, before the DC blocker and the division by D.
    inline double curve(double x) const;
    // The DC blocker (it runs on every sample, so that it keeps tracking while the input is
    // quiet) and the division by D, on the curve's output y.
    inline double finish(double y);

private:
    std::int32_t type_ = kThru;
    double driveTarget = 1.0;  // linear drive gain from the "Drive" parameter
    double drive = 1.0;        // D: driveTarget after the engine's 0.1 s smoothing
    double dcState = 0.0;      // "Tube" DC blocker state
    double dcCoefficient;      // k of the DC blocker, from the host rate

    static constexpr double kTubeInputGain = 1.18;      // drive into the first tube stage
    static constexpr double kSolidInputGain = 1.34349;  // drive into the cubic; clips at |t| = 1
};

inline double AmpDrive::tubeStage(double u)
{
    // Positive inputs saturate towards w = 1.1, negative ones towards w = -4.4.
    double w = u >= 0.0 ? u / (0.5 * u + 1.0) : 2.0 * u / (2.0 - 0.25 * u);
    w *= 0.55;
    return 1.4 * (1.5 * w - 0.5 * w * w * w - 0.3);
}

inline double AmpDrive::curve(double x) const
{
    switch (type_) {
    case kTube:
        // Two inverting stages; the standing offset of T is left for the DC blocker.
        return -tubeStage(-tubeStage(kTubeInputGain * drive * x));
    case kSolid: {
        const double t0 = kSolidInputGain * drive * x;
        const double t = (std::fabs(t0 + 1.0) - std::fabs(t0 - 1.0)) * 0.5;  // clamp to [-1, 1]
        return 0.5 * (1.5 * t - 0.5 * t * t * t);
    }
    default: return x;
    }
}

inline double AmpDrive::finish(double y)
{
    switch (type_) {
    case kTube: dcState = dcState + (y - dcState) * dcCoefficient; return (y - dcState) / drive;
    case kSolid: return y / drive;
    default: return y;
    }
}

}  // namespace orv
