// The audio path seen from a host: the built module driven the way a DAW drives it (open, rate,
// resume, blocks), with unconnected pins, a mono input and both sample types.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "HostTestSupport.h"

namespace orv::test {
namespace {

constexpr double kRate = 48000.0;

struct Rendered {
    std::vector<float> inL, inR, outL, outR;
};

// Renders `seconds` of two different tones (or the left one on both pins) through a new
// instance in blocks of 512.
// `before` runs before the module is loaded, `after` once it is running.
using Hook = std::function<void(PluginHost&)>;
Rendered render(double seconds, const Hook& before = {}, const Hook& after = {}, bool useDouble = false,
                bool leftOnBoth = false)
{
    constexpr double rate = kRate;
    PluginHost host;
    host.setSampleRate(rate);
    host.setBlockSize(512);
    if (before) before(host);
    EXPECT_TRUE(host.start(modulePath())) << host.error();
    if (after) after(host);
    Rendered r;
    const long n = static_cast<long>(seconds * rate);
    for (long i = 0; i < n; ++i) {
        r.inL.push_back(static_cast<float>(0.4 * std::sin(2.0 * M_PI * 330.0 * i / rate)));
        r.inR.push_back(static_cast<float>(0.3 * std::sin(2.0 * M_PI * 495.0 * i / rate + 0.5)));
    }
    r.outL.assign(r.inL.size(), 0.0f);
    r.outR.assign(r.inL.size(), 7.0f);
    const float* in[2] = {r.inL.data(), leftOnBoth ? r.inL.data() : r.inR.data()};
    float* out[2] = {r.outL.data(), r.outR.data()};
    host.processInBlocks(in, out, n, useDouble);
    return r;
}

double worstDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    double m = 0.0;
    for (size_t i = 0; i < a.size(); ++i) m = std::max(m, std::fabs(static_cast<double>(a[i]) - b[i]));
    return m;
}

TEST(EngineHost, PinsPrecisionAndInputArrangement)
{
    const Rendered stereo = render(0.6);
    EXPECT_GT(worstDifference(stereo.outL, stereo.outR), 1e-3);  // a stereo result
    // Output pin 1 reported unconnected: its buffer stays untouched, pin 0 gets the left result.
    const Rendered monoOut = render(0.6, [](PluginHost& h) { h.setPinConnected(false, 1, false); });
    EXPECT_EQ(worstDifference(monoOut.outL, stereo.outL), 0.0);
    EXPECT_EQ(monoOut.outR, std::vector<float>(monoOut.outR.size(), 7.0f));
    // Double precision sounds as single precision does.
    const Rendered twice = render(0.6, {}, {}, true);
    EXPECT_LT(worstDifference(twice.outL, stereo.outL), 1e-6);
    EXPECT_LT(worstDifference(twice.outR, stereo.outR), 1e-6);
    // Told that its input is mono, the effect ignores input pin 1: it sounds exactly like an
    // instance fed the left tone on both pins.
    const Rendered monoIn = render(0.5, {}, [](PluginHost& h) {
        vst::VstSpeakerArrangement in{}, out{};
        in.numChannels = 1;
        out.numChannels = 2;
        EXPECT_EQ(h.dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), 1);
    });
    const Rendered leftOnBoth = render(0.5, {}, {}, false, true);
    EXPECT_EQ(worstDifference(monoIn.outL, leftOnBoth.outL), 0.0);
    EXPECT_EQ(worstDifference(monoIn.outR, leftOnBoth.outR), 0.0);
}

}  // namespace
}  // namespace orv::test
