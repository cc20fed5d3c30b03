// Reference tools of the dsp tests: a designed filter, the transfer function of a design, a
// steady-state sine measurement of any per-sample process, and the data files beside the tests
// (goldens, and tables worked out by hand, never rewritten: rows of numbers, one case a line,
// lines starting with # are comments).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "dsp/BiquadFilter.h"
#include "support/GoldenRows.h"

namespace orv::test {

inline BiquadFilter designed(std::uint32_t type, double fs, double f0, double q, double gainDb)
{
    BiquadFilter f;
    f.prepare(fs, BiquadFilter::glideLengthFor(fs));
    f.setType(type);
    f.setFrequency(f0);
    f.setQ(q);
    f.setGainDb(gainDb);
    f.enable();
    return f;
}

// H of a design at frequency f for rate fs.
inline std::complex<double> response(const BiquadDesigner::Design& d, double f, double fs)
{
    const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * f / fs);  // z^-1
    return (d.b0 + z1 * (d.b1 + z1 * d.b2)) / (1.0 + z1 * (d.a1 + z1 * d.a2));
}

inline double toDb(double magnitude) { return 20.0 * std::log10(magnitude); }

// Steady-state gain of a per-sample process at frequency f: runs `settle` samples of a sine,
// then least-squares fits a sin + b cos over `span` samples and returns sqrt(a^2 + b^2).
template <typename Process>
double measureGain(Process&& process, double f, double fs, int settle = 30000, int span = 8192)
{
    const double w = 2.0 * std::numbers::pi * f / fs;
    for (int n = 0; n < settle; ++n) process(std::sin(w * n));
    double ss = 0, cc = 0, sc = 0, ys = 0, yc = 0;
    for (int n = settle; n < settle + span; ++n) {
        const double s = std::sin(w * n), c = std::cos(w * n), y = process(s);
        ss += s * s;
        cc += c * c;
        sc += s * c;
        ys += y * s;
        yc += y * c;
    }
    const double det = ss * cc - sc * sc;
    return std::hypot((ys * cc - yc * sc) / det, (yc * ss - ys * sc) / det);
}

inline std::string dataFile(const std::string& name)
{
    return std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/dsp/data/" + name;
}

inline std::vector<std::vector<double>> handRows(const std::string& name, std::size_t columns)
{
    std::ifstream in(dataFile(name));
    std::vector<std::vector<double>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        rows.emplace_back(std::istream_iterator<double>(s), std::istream_iterator<double>());
        EXPECT_EQ(rows.back().size(), columns) << name << ": " << line;
    }
    EXPECT_FALSE(rows.empty()) << "no rows in " << name;
    return rows;
}

}  // namespace orv::test
