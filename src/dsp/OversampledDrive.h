#pragma once

#include "dsp/AmpDrive.h"

namespace orv {

// AmpDrive's transfer curves at four times the host rate, so that the harmonics a driven
// amplifier makes above half the host rate are filtered away instead of folding back as
// inharmonic tones. Two elliptic low-pass stages bring the signal up (host rate to twice, twice
// to four times) and the same two take it down again; the curve, the drive D (held for the
// host sample), the DC blocker and the division by D are the amplifier's own, so small signals
// pass as through the plain stage: within 0.06 dB up to 0.4 of the host rate (exactly at 0 Hz). "Thru" passes
// its input exactly. The filters are minimum-phase IIRs: no latency to report, a group delay of
// a few samples. Plain data, no allocation.
class OversampledDrive {
public:
    static constexpr int kFactor = 4;

    // One host sample through amp (its curve at four times the rate, then its finish).
    double shape(AmpDrive& amp, double x);
    // Clears the filters (with the amplifier's own state, by the engine's rate set-ups).
    void clear();

    // Biquad sections {b0, b1, b2, a1, a2} (a0 = 1) of the two low-passes, normalised to the
    // host rate fs: the wide one runs at 4 fs and the steep one at 2 fs.
    static constexpr int kWideSections = 2;
    static constexpr int kSteepSections = 4;
    static const double kWide[kWideSections][5];
    static const double kSteep[kSteepSections][5];

private:
    // Transposed direct form II state of each section: s1, s2.
    struct Cascade {
        double s[kSteepSections][2] = {};
    };
    template <int Sections>
    static inline double run(const double (&c)[Sections][5], Cascade& st, double x, int first = 0);
    template <int Sections>
    static inline double runZero(const double (&c)[Sections][5], Cascade& st);

    Cascade steepUp_, wideUp_, wideDown_, steepDown_;
    // Host samples in a row below the amplifier's pass-through threshold, up to kQuietRun:
    // the steep filter's impulse response is 100 dB down after about 120 host samples.
    static constexpr int kQuietRun = 128;
    int quiet_ = 0;
};

}  // namespace orv
