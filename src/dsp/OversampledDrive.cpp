#include "dsp/OversampledDrive.h"

#include <algorithm>
#include <cmath>

namespace orv {

// Elliptic, order 4: within 0.01 dB of unity gain (exactly 1 at 0 Hz) up to 0.4 fs, at least
// 78 dB down from 1.485 fs (what the step down from 4 fs would fold below 0.515 fs). At 4 fs.
const double OversampledDrive::kWide[kWideSections][5] = {
    {0.013263422933212548, 0.025119778992971055, 0.013263422933212542, -0.9630031842115728, 0.2750352776925407},
    {1.0, 1.4551523675243179, 1.0, -1.0729716382901775, 0.6448581906215871},
};

// Elliptic, order 8: within 0.02 dB of unity gain (exactly 1 at 0 Hz) up to 0.4 fs, at least
// 75.5 dB down from 0.515 fs (the fifth harmonic of 5 kHz at 48 kHz lies at 0.52 fs). At 2 fs.
const double OversampledDrive::kSteep[kSteepSections][5] = {
    {0.007229295088932371, 0.013157653090091906, 0.007229295088932369, -0.8684166497287169, 0.23140952381321034},
    {1.0, 0.9650871291635014, 1.0000000000000002, -0.7231414828089161, 0.439992629948452},
    {1.0, 0.3627978304361888, 0.9999999999999997, -0.5693502827672889, 0.6917903829763291},
    {1.0, 0.11720411575088487, 0.9999999999999999, -0.4994715480110151, 0.9019658142094642},
};

// The states decay into denormals only without flush-to-zero, which the engine sets for every
// block; the unit tests run short enough not to care.
template <int Sections>
inline double OversampledDrive::run(const double (&c)[Sections][5], Cascade& st, double x, int first)
{
    for (int k = first; k < Sections; ++k) {
        double* s = st.s[k];
        const double y = c[k][0] * x + s[0];
        s[0] = c[k][1] * x - c[k][3] * y + s[1];
        s[1] = c[k][2] * x - c[k][4] * y;
        x = y;
    }
    return x;
}

// The same for an input of 0 (the stuffed zeros of the way up): the first section's input
// terms drop out.
template <int Sections>
inline double OversampledDrive::runZero(const double (&c)[Sections][5], Cascade& st)
{
    double* s = st.s[0];
    const double y = s[0];
    s[0] = s[1] - c[0][3] * y;
    s[1] = -c[0][4] * y;
    return run(c, st, y, 1);
}

double OversampledDrive::shape(AmpDrive& amp, double x)
{
    if (amp.type() == AmpDrive::kThru) return x;
    // Up: zero-stuffing doubles the rate and halves the level, hence the gains of 2.
    const double u0 = run(kSteep, steepUp_, 2.0 * x);
    const double u1 = runZero(kSteep, steepUp_);
    const double v0 = run(kWide, wideUp_, 2.0 * u0);
    const double v1 = runZero(kWide, wideUp_);
    const double v2 = run(kWide, wideUp_, 2.0 * u1);
    const double v3 = runZero(kWide, wideUp_);
    // The curve, then down: every second sample of each low-pass output is kept.
    run(kWide, wideDown_, amp.curve(v0));
    const double w1 = run(kWide, wideDown_, amp.curve(v1));
    run(kWide, wideDown_, amp.curve(v2));
    const double w3 = run(kWide, wideDown_, amp.curve(v3));
    run(kSteep, steepDown_, w1);
    const double y = amp.finish(run(kSteep, steepDown_, w3));
    // Tiny inputs pass unshaped only once they have lasted as long as the filters remember:
    // a lone small sample is a zero crossing, whose shaped value is not small at all.
    quiet_ = std::fabs(x) >= AmpDrive::kPassThreshold ? 0 : std::min(quiet_ + 1, kQuietRun);
    return quiet_ == kQuietRun ? x : y;
}

void OversampledDrive::clear() { *this = OversampledDrive{}; }

}  // namespace orv
