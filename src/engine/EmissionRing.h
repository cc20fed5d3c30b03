// A rotor model's input ring: every input sample beside the rotor angle at which it was
// emitted. The first kGuard samples are stored again after the end (at i + kSize), so that
// four-point reads never wrap; angle reads are masked and need no copy. Only what can be read
// is stored and cleared (a clear, run by every model reset, touches half of what two whole
// mirrored copies would). Allocated once at construction.
#pragma once

#include <algorithm>
#include <memory>

#include "dsp/Interpolation.h"

namespace orv {

class EmissionRing {
public:
    // 16384 samples hold the farthest image source (about 7.5 m with the Doppler swing) up
    // to model rates of 700 kHz.
    static constexpr int kSize = 16384;
    static constexpr int kMask = kSize - 1;

    // A four-point read starting at the last entry reaches this many entries past the end.
    static constexpr int kGuard = 3;

    EmissionRing() : signal_(new double[kSize + kGuard]()), angle_(new double[kSize]()) {}

    void clear() {
        clearSignal();
        std::fill(angle_.get(), angle_.get() + kSize, 0.0);
        w_ = 0;
    }
    // Silences the stored samples; the angle history and the write position stay.
    void clearSignal() { std::fill(signal_.get(), signal_.get() + kSize + kGuard, 0.0); }

    // Stores the current sample at the write position (read it before advance()).
    void write(double x, double emissionAngle) {
        signal_[w_] = x;
        if (w_ < kGuard) signal_[w_ + kSize] = x;
        angle_[w_] = emissionAngle;
    }
    void advance() { w_ = (w_ + 1) & kMask; }
    int index() const { return w_; }

    // A read at least this far back never touches samples not yet written (the cubic's
    // last neighbour then lies at the write position or carries weight 0).
    static constexpr double kMinDelay = 1.0;

    // Sample `delay` samples before the write position, cubic interpolation.
    double read(double delay) const {
        // kMinDelay first: a delay that is not a number reads the shortest one.
        return InterpolateRing(w_ - std::max(kMinDelay, delay), signal_.get(), kSize);
    }
    // Emission angle stored at the integer part (rounded down) of (write position − delay).
    double angleAt(double delay) const {
        return angle_[static_cast<int>(w_ + kSize - delay) & kMask];
    }

    const double* signal() const { return signal_.get(); }
    const double* angles() const { return angle_.get(); }

private:
    std::unique_ptr<double[]> signal_;
    std::unique_ptr<double[]> angle_;
    int w_ = 0;
};

}  // namespace orv
