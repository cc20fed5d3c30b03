// Speed and angle of one rotor model: two motor speeds, a brake, a continuous lever, run-up
// and run-down as one-pole approaches of the speed to its target, and the angle integrated
// from the speed. Every operation runs on the audio thread (the engine applies parameter
// changes at block start), so the state is plain data.
#pragma once

#include <cstdint>

#include "dsp/Constants.h"

namespace orv {

class RotorMotion {
public:
    // Sense of rotation: the horn turns against the drum.
    enum class Sense { Horn, Drum };

    enum Mode : int { kStopped = 0, kSlow = 1, kFast = 2, kContinuous = 3 };

    static constexpr double kMinRate = 11025.0;              // the model never runs slower than this
    static constexpr double kRiseTimeScale = 0.45511961331;  // 1 / ln 9: t is the 10 %–90 % time
    static constexpr double kBrakeEngaged = 0.5;             // brake values from here on stop the rotor
    static constexpr int kFilterUpdateHostSamples = 16;      // direction filters re-tune this often

    explicit RotorMotion(Sense sense);

    // Motor speeds in revolutions per second; the target follows when the mode uses the speed.
    void setSlowSpeed(float hz);
    void setFastSpeed(float hz);
    // Lever: 1 slow, 0 fast, anything between blends the two speeds. Ignored (only recorded)
    // while the brake is engaged.
    void setSpeed(float v);
    // Brake: engaged from 0.5; a release restarts toward the recorded lever.
    void setStop(float v);
    // 10 %–90 % run-up and run-down times in seconds.
    void setAccelTime(double seconds);
    void setDecelTime(double seconds);
    // Model rate (at least 11025 Hz) and decimation factor D (1, 2, 4 or 8). The speed jumps to
    // its target and the coefficients are recomputed.
    void setRate(double rate, int decimation);
    // Flip sign (+1 or −1). Answers whether it changed; the owner then rebuilds its geometry
    // and resets itself.
    bool setDirection(double sign);

    // Where the noise player's gain-follow factor lives and the rate it runs at; setSpeed writes
    // a slow follow (100 s) in the continuous mode and a quick one (0.08 s) otherwise.
    void attachFollowFactor(double* followFactor, const double* playerRate);

    // One model sample: moves the speed toward its target, turns the rotor and answers the
    // emission angle of this sample (taken before the turn), in [0, 1).
    inline double advance();

    // True on the samples where the direction-dependent filters are re-tuned (every 16 host
    // samples); ask before advance() of that sample.
    bool filterUpdateDue() const { return (sampleCount & filterUpdateMask) == 0; }

    // Model reset: speed to its target, sample count to 0; the angle survives.
    void resetSpeed();

    double angle() const { return angle_; }
    void setAngle(double a) { angle_ = a; }
    double step() const { return step_; }             // revolutions per model sample
    double speedHz() const { return step_ * rate_; }  // revolutions per second
    double targetStep() const { return targetStep_; }
    double targetHz() const { return targetHz_; }
    int mode() const { return mode_; }
    double rate() const { return rate_; }
    double invRate() const { return invRate_; }
    double direction() const { return direction_; }
    double angleOffset() const { return angleOffset_; }
    int decimation() const { return decimation_; }
    double slowHz() const { return slowHz_; }
    double fastHz() const { return fastHz_; }
    float leverInput() const { return leverInput_; }
    float brake() const { return brake_; }
    double accelCoefficient() const { return accelC_; }
    double decelCoefficient() const { return decelC_; }
    Sense sense() const { return sense_; }

    // frac(x) = x − trunc(x + 16) + 16: the fractional part, also for x down to −16.
    static inline double wrap(double x);

private:
    void retarget();
    void updateFollowFactor();
    static double coefficientFor(double seconds, double rate);

    Sense sense_;
    double rate_ = 44100.0;
    double invRate_ = 1.0 / 44100.0;
    int decimation_ = 1;
    double slowHz_ = 0.0;
    double fastHz_ = 0.0;
    int mode_ = kSlow;
    float leverInput_ = 1.0f;
    double leverFraction_ = 0.0;
    float brake_ = 0.0f;
    double targetHz_ = 0.0;
    double targetStep_ = 0.0;
    double step_ = 0.0;
    double accelTime_ = 1.0;
    double decelTime_ = 1.0;
    double accelC_ = 0.0, accelOneMinusC_ = 1.0;
    double decelC_ = 0.0, decelOneMinusC_ = 1.0;
    double angle_ = 0.0;
    double direction_ = 1.0;
    double angleOffset_ = 0.0;
    std::uint32_t filterUpdateMask = kFilterUpdateHostSamples - 1;
    std::uint32_t sampleCount = 0;
    double* followFactor_ = nullptr;
    const double* playerRate_ = nullptr;
};

inline double RotorMotion::wrap(double x)
{
    constexpr double kFold = 16.0;  // keeps trunc() rounding downwards for x > −16
    return x - static_cast<double>(static_cast<long long>(x + kFold)) + kFold;
}

inline double RotorMotion::advance()
{
    // Slowing down (including the brake) uses the run-down pair, everything else the run-up.
    if (step_ - targetStep_ > 0.0)
        step_ = decelC_ * step_ + decelOneMinusC_ * targetStep_;
    else
        step_ = accelC_ * step_ + accelOneMinusC_ * targetStep_;
    step_ = step_ + kFlush - kFlush;
    const double emission = wrap(angle_ + angleOffset_);
    angle_ = sense_ == Sense::Horn ? wrap(angle_ - step_) : wrap(angle_ + step_);
    ++sampleCount;
    return emission;
}

}  // namespace orv
