// Small measurement helpers for the radiation tests: a single-bin DFT, and amplitude and
// phase of a known carrier per carrier period (I/Q demodulation).
#pragma once

#include <cmath>
#include <complex>
#include <vector>

namespace orv::test {

inline constexpr double kTestPi = 3.14159265358979323846;

// Magnitude of the DFT of x at frequency f (Hz), normalised so that a sine of amplitude A
// whose frequency lies on a bin reads A.
inline double dftMagnitude(const std::vector<double>& x, double f, double rate) {
    std::complex<double> acc = 0.0;
    const double w = 2.0 * kTestPi * f / rate;
    for (std::size_t n = 0; n < x.size(); ++n) acc += x[n] * std::polar(1.0, -w * static_cast<double>(n));
    return 2.0 * std::abs(acc) / static_cast<double>(x.size());
}

// Amplitude and phase of the carrier of frequency f in consecutive blocks of `period`
// samples (period = rate / f, an integer), with the phase unwrapped across blocks.
struct Demodulated {
    std::vector<double> amplitude;
    std::vector<double> phase;
};

inline Demodulated demodulate(const std::vector<double>& x, double f, double rate, int period) {
    Demodulated d;
    const double w = 2.0 * kTestPi * f / rate;
    double previous = 0.0;
    double offset = 0.0;
    for (std::size_t start = 0; start + period <= x.size(); start += period) {
        std::complex<double> acc = 0.0;
        for (int i = 0; i < period; ++i) {
            const std::size_t n = start + i;
            acc += x[n] * std::polar(1.0, -w * static_cast<double>(n));
        }
        double ph = std::arg(acc);
        if (!d.phase.empty()) {
            while (ph + offset - previous > kTestPi) offset -= 2.0 * kTestPi;
            while (ph + offset - previous < -kTestPi) offset += 2.0 * kTestPi;
        }
        previous = ph + offset;
        d.amplitude.push_back(2.0 * std::abs(acc) / period);
        d.phase.push_back(previous);
    }
    return d;
}

}  // namespace orv::test
