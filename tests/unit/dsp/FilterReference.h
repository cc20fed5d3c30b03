#pragma once

// Independent reference for the filter tests: the second-order designs written out from the
// textbook cookbook forms with this system's Q warp, evaluated as complex transfer functions,
// and a steady-state sine measurement of any per-sample process.

#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>

namespace orv::test {

struct Sos {
    double b[3];
    double a[3];  // unnormalised
};

// |H| of one section at frequency f for rate fs.
inline std::complex<double> response(const Sos& s, double f, double fs)
{
    const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * f / fs);  // z^-1
    const std::complex<double> z2 = z1 * z1;
    return (s.b[0] + s.b[1] * z1 + s.b[2] * z2) / (s.a[0] + s.a[1] * z1 + s.a[2] * z2);
}

inline double toDb(double magnitude) { return 20.0 * std::log10(magnitude); }

// Q after the warp near Nyquist: (1 - (f / (ref fs))^p) Q.
inline double warpedQ(double f, double fs, double q, double p, double ref)
{
    return (1.0 - std::pow(f / (ref * fs), p)) * q;
}

// Design of type 1..10 (the numbering of BiquadFilter) at f0, Q and gain in dB.
inline Sos referenceDesign(std::uint32_t type, double fs, double f0, double q, double gainDb)
{
    const double w = 2.0 * std::numbers::pi * f0 / fs;
    const double cw = std::cos(w), sw = std::sin(w);
    const double amp = std::pow(10.0, gainDb / 40.0);
    auto alphaFor = [&](double p, double ref) { return sw / (2.0 * warpedQ(f0, fs, q, p, ref)); };
    switch (type) {
    case 1: {  // high-pass, 2nd order
        const double al = alphaFor(6.0, 0.5001);
        return {{(1 + cw) / 2, -(1 + cw), (1 + cw) / 2}, {1 + al, -2 * cw, 1 - al}};
    }
    case 2: {  // high-pass, 1st order: zero at DC, pole at cos/(1+sin)
        const double pole = cw / (1 + sw);
        return {{(1 + pole) / 2, -(1 + pole) / 2, 0}, {1, -pole, 0}};
    }
    case 3: {  // low shelf; the 2 sqrt(A) alpha term is sin * sqrt(A) / Q''
        const double t = sw * std::sqrt(amp) / warpedQ(f0, fs, q, 3.5, 0.5001);
        const double ap = amp + 1, am = amp - 1;
        return {{amp * (ap - am * cw + t), 2 * amp * (am - ap * cw), amp * (ap - am * cw - t)},
                {ap + am * cw + t, -2 * (am + ap * cw), ap + am * cw - t}};
    }
    case 4: {  // peaking
        const double al = alphaFor(2.8, 0.5001);
        return {{1 + al * amp, -2 * cw, 1 - al * amp}, {1 + al / amp, -2 * cw, 1 - al / amp}};
    }
    case 5: {  // band-pass, 0 dB peak
        const double al = alphaFor(2.8, 0.5001);
        return {{al, 0, -al}, {1 + al, -2 * cw, 1 - al}};
    }
    case 6: {  // notch
        const double al = alphaFor(2.8, 0.5001);
        return {{1, -2 * cw, 1}, {1 + al, -2 * cw, 1 - al}};
    }
    case 7: {  // high shelf
        const double t = sw * std::sqrt(amp) / warpedQ(f0, fs, q, 4.0, 0.5001);
        const double ap = amp + 1, am = amp - 1;
        return {{amp * (ap + am * cw + t), -2 * amp * (am + ap * cw), amp * (ap + am * cw - t)},
                {ap - am * cw + t, 2 * (am - ap * cw), ap - am * cw - t}};
    }
    case 8: {  // low-pass, 2nd order, warp reference 0.50001
        const double al = alphaFor(8.0, 0.50001);
        return {{(1 - cw) / 2, 1 - cw, (1 - cw) / 2}, {1 + al, -2 * cw, 1 - al}};
    }
    case 9: {  // one-pole low-pass with pole k - sqrt(k^2 - 1), k = 2 - cos w
        const double k = 2 - cw;
        const double pole = k - std::sqrt(k * k - 1);
        return {{1 - pole, 0, 0}, {1, -pole, 0}};
    }
    case 10: {  // all-pass, unwarped
        const double al = sw / (2 * q);
        return {{1 - al, -2 * cw, 1 + al}, {1 + al, -2 * cw, 1 - al}};
    }
    default:
        return {{1, 0, 0}, {1, 0, 0}};
    }
}

// Steady-state gain of a per-sample process at frequency f: runs `settle` samples of a sine,
// then least-squares fits a sin + b cos over `span` samples and returns sqrt(a^2 + b^2).
template <typename Process>
double measureGain(Process&& process, double f, double fs, int settle = 30000, int span = 8192)
{
    const double w = 2.0 * std::numbers::pi * f / fs;
    for (int n = 0; n < settle; ++n)
        process(std::sin(w * n));
    double ss = 0, cc = 0, sc = 0, ys = 0, yc = 0;
    for (int n = settle; n < settle + span; ++n) {
        const double s = std::sin(w * n), c = std::cos(w * n);
        const double y = process(s);
        ss += s * s;
        cc += c * c;
        sc += s * c;
        ys += y * s;
        yc += y * c;
    }
    const double det = ss * cc - sc * sc;
    const double a = (ys * cc - yc * sc) / det;
    const double b = (yc * ss - ys * sc) / det;
    return std::hypot(a, b);
}

}  // namespace orv::test
