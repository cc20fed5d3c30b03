// A rotor model's input ring: every input sample beside the rotor angle at which it was
// emitted. The first kGuard samples are stored again after the end (at i + kSize), so that
// four-point reads never wrap; angle reads are masked and need no copy. Clears are lazy
// (LazyClear): the model says how far back its reads reach, and a clear, run by every model
// reset, zeroes only that much. Allocated once at construction.
#pragma once

#include <algorithm>
#include <memory>

#include "dsp/Interpolation.h"
#include "dsp/LazyClear.h"

namespace orv {

class EmissionRing {
public:
    // 16384 samples hold the farthest image source (about 7.5 m with the Doppler swing) up
    // to model rates of 700 kHz.
    static constexpr int kSize = 16384;
    static constexpr int kMask = kSize - 1;

    // A four-point read starting at the last entry reaches this many entries past the end.
    static constexpr int kGuard = 3;

    EmissionRing()
        : signal_(new double[kSize + kGuard]()), angle_(new double[kSize]()), signalClean_(kSize), angleClean_(kSize)
    {}

    // How many entries behind the write position reads reach (the longest delay with its
    // Doppler swing and the cubic's neighbours): what a clear zeroes, and what a longer reach
    // zeroes of what has not been written since.
    void setReach(int entries)
    {
        reach_ = entries;
        signalClean_.extend(signal_.get(), kSize, w_, reach_);
        angleClean_.extend(angle_.get(), kSize, w_, reach_);
        mirrorGuard();
    }

    void clear()
    {
        w_ = 0;
        clearSignal();
        angleClean_.clear(angle_.get(), kSize, w_, reach_);
    }
    // Silences the stored samples; the angle history and the write position stay.
    void clearSignal()
    {
        signalClean_.clear(signal_.get(), kSize, w_, reach_);
        zeroAhead();
        mirrorGuard();
    }

    // Stores the current sample at the write position (read it before advance()).
    void write(double x, double emissionAngle)
    {
        signal_[w_] = x;
        if (w_ < kGuard) signal_[w_ + kSize] = x;
        angle_[w_] = emissionAngle;
    }
    void advance()
    {
        w_ = (w_ + 1) & kMask;
        signalClean_.advanced(kSize);
        angleClean_.advanced(kSize);
        zeroAhead();
    }
    int index() const { return w_; }

    // A read at least this far back never touches samples not yet written (the cubic's
    // last neighbour then lies at the write position or carries weight 0).
    static constexpr double kMinDelay = 1.0;

    // Sample `delay` samples before the write position, cubic interpolation.
    double read(double delay) const
    {
        // kMinDelay first: a delay that is not a number reads the shortest one.
        return InterpolateRing(w_ - std::max(kMinDelay, delay), signal_.get(), kSize);
    }
    // Emission angle stored at the integer part (rounded down) of (write position − delay).
    double angleAt(double delay) const { return angle_[static_cast<int>(w_ + kSize - delay) & kMask]; }

    const double* signal() const { return signal_.get(); }
    const double* angles() const { return angle_.get(); }

private:
    // A read exactly kMinDelay back touches the entry after the write position with weight 0;
    // it is kept as a whole clear leaves it, 0 until written since.
    void zeroAhead()
    {
        if (signalClean_.clean() >= kSize - 1) return;
        const int next = (w_ + 1) & kMask;
        signal_[next] = 0.0;
        if (next < kGuard) signal_[next + kSize] = 0.0;
    }
    void mirrorGuard() { std::copy(signal_.get(), signal_.get() + kGuard, signal_.get() + kSize); }

    std::unique_ptr<double[]> signal_;
    std::unique_ptr<double[]> angle_;
    LazyClear signalClean_;
    LazyClear angleClean_;
    int reach_ = kSize;  // until the model sets it
    int w_ = 0;
};

}  // namespace orv
