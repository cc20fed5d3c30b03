#include "engine/RotorMotion.h"

#include <cmath>

#include "dsp/MechanicalNoise.h"

namespace orv {

RotorMotion::RotorMotion(Sense sense) : sense_(sense) { setRate(rate_, decimation_); }

double RotorMotion::coefficientFor(double seconds, double rate)
{
    return std::exp(-1.0 / (seconds * rate * kRiseTimeScale));
}

void RotorMotion::retarget()
{
    switch (mode_) {
    case kStopped: targetHz_ = 0.0; break;
    case kSlow: targetHz_ = slowHz_; break;
    case kFast: targetHz_ = fastHz_; break;
    default: targetHz_ = (fastHz_ - slowHz_) * leverFraction_ + slowHz_; break;
    }
    targetStep_ = targetHz_ * invRate_;
}

void RotorMotion::setSlowSpeed(float hz)
{
    slowHz_ = hz;
    if (mode_ == kSlow || mode_ == kContinuous) retarget();
}

void RotorMotion::setFastSpeed(float hz)
{
    fastHz_ = hz;
    if (mode_ == kFast || mode_ == kContinuous) retarget();
}

void RotorMotion::setSpeed(float v)
{
    leverInput_ = v;
    if (brake_ < kBrakeEngaged) {
        if (v == 1.0f) {
            mode_ = kSlow;
        } else if (v == 0.0f) {
            mode_ = kFast;
        } else {
            mode_ = kContinuous;
            leverFraction_ = 1.0 - v;
        }
        retarget();
    }
    updateFollowFactor();
}

void RotorMotion::setStop(float v)
{
    brake_ = v;
    if (v >= kBrakeEngaged) {
        mode_ = kStopped;
        targetHz_ = 0.0;
        targetStep_ = 0.0;
    } else {
        setSpeed(leverInput_);
    }
}

void RotorMotion::setAccelTime(double seconds)
{
    accelTime_ = seconds;
    accelC_ = coefficientFor(accelTime_, rate_);
    accelOneMinusC_ = 1.0 - accelC_;
}

void RotorMotion::setDecelTime(double seconds)
{
    decelTime_ = seconds;
    decelC_ = coefficientFor(decelTime_, rate_);
    decelOneMinusC_ = 1.0 - decelC_;
}

void RotorMotion::setRate(double rate, int decimation)
{
    rate_ = rate < kMinRate ? kMinRate : rate;
    invRate_ = 1.0 / rate_;
    decimation_ = decimation;
    targetStep_ = targetHz_ * invRate_;
    step_ = targetStep_;
    setAccelTime(accelTime_);
    setDecelTime(decelTime_);
    const int perModelSample = kFilterUpdateHostSamples / decimation;
    filterUpdateMask = static_cast<std::uint32_t>(perModelSample - 1);
}

bool RotorMotion::setDirection(double sign)
{
    if (sign == direction_) return false;
    direction_ = sign;
    angleOffset_ = sign >= 0.0 ? 0.0 : 0.5;  // a flipped rotor emits half a turn further on
    return true;
}

void RotorMotion::attachFollowFactor(double* followFactor, const double* playerRate)
{
    followFactor_ = followFactor;
    playerRate_ = playerRate;
    updateFollowFactor();
}

void RotorMotion::updateFollowFactor()
{
    if (followFactor_ == nullptr || playerRate_ == nullptr) return;
    // The brake counts as a fixed setting: only the continuous lever follows slowly.
    const double seconds = mode_ == kContinuous ? mechnoise::kLeverFollowSeconds : mechnoise::kFollowSeconds;
    *followFactor_ = mechnoise::followFactorFor(*playerRate_, seconds);
}

void RotorMotion::resetSpeed()
{
    step_ = targetStep_;
    sampleCount = 0;
}

}  // namespace orv
