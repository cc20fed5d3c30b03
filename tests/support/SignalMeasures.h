// Measurements the signal tests make on what they rendered: the RMS of a stretch and the
// amplitude of one frequency (a single DFT bin), for any contiguous range of samples.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>

namespace orv::test {

// RMS of x[begin .. end), 0 for an empty stretch.
template <class Range>
double rms(const Range& x, std::size_t begin = 0, std::size_t end = ~std::size_t{0})
{
    end = std::min<std::size_t>(end, std::size(x));
    double s = 0.0;
    for (std::size_t i = begin; i < end; ++i) s += static_cast<double>(x[i]) * static_cast<double>(x[i]);
    return end > begin ? std::sqrt(s / static_cast<double>(end - begin)) : 0.0;
}

// The DFT of the range at frequency f (rate samples per second): the sum of x[n] e^(-j w n).
template <class Range>
std::complex<double> correlation(const Range& x, double f, double rate)
{
    const double w = 2.0 * std::numbers::pi * f / rate;
    std::complex<double> acc = 0.0;
    for (std::size_t n = 0; n < std::size(x); ++n)
        acc += static_cast<double>(x[n]) * std::polar(1.0, -w * static_cast<double>(n));
    return acc;
}

// Amplitude of the component at f over the whole range: a sine of amplitude A whose frequency
// lies on a bin reads A (a constant reads 2 A).
template <class Range>
double amplitudeAt(const Range& x, double f, double rate)
{
    return 2.0 * std::abs(correlation(x, f, rate)) / static_cast<double>(std::size(x));
}

}  // namespace orv::test
