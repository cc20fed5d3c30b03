// The engine seen from a host: the built module loaded through the VST 2.4 ABI, driven the
// way a DAW drives it (open, rate, resume, blocks), with unconnected pins and both sample types.

#include <gtest/gtest.h>

#include <cmath>

#include "HostTestSupport.h"
#include "params/ParameterLaws.h"

namespace orv::test {
namespace {

struct Rendered {
    std::vector<float> inL, inR, outL, outR;
};

std::vector<float> tone(double hz, double rate, long frames, double amplitude, double phase = 0.0) {
    std::vector<float> v(static_cast<size_t>(frames));
    for (long i = 0; i < frames; ++i)
        v[static_cast<size_t>(i)] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * i / rate + phase));
    return v;
}

// Renders `seconds` of two different tones through the host in its block size.
Rendered render(PluginHost& host, double seconds, bool useDouble = false) {
    Rendered r;
    const long n = static_cast<long>(seconds * host.sampleRate());
    r.inL = tone(330.0, host.sampleRate(), n, 0.4);
    r.inR = tone(495.0, host.sampleRate(), n, 0.3, 0.5);
    r.outL.assign(r.inL.size(), 0.0f);
    r.outR.assign(r.inL.size(), 0.0f);
    const float* in[2] = {r.inL.data(), r.inR.data()};
    float* out[2] = {r.outL.data(), r.outR.data()};
    host.processInBlocks(in, out, n, useDouble);
    return r;
}

double worstDifference(const std::vector<float>& a, const std::vector<float>& b, size_t from, double scale = 1.0) {
    double m = 0.0;
    for (size_t i = from; i < a.size(); ++i) m = std::max(m, std::fabs(a[i] - scale * b[i]));
    return m;
}

class EngineHost : public ::testing::Test {
protected:
    void start(double rate = 48000.0, int block = 512) {
        host.setSampleRate(rate);
        host.setBlockSize(block);
        ASSERT_TRUE(host.start(modulePath())) << host.error();
    }
    PluginHost host;
};

TEST_F(EngineHost, OutputFadesInAndStaysFinite) {
    start();
    const Rendered r = render(host, 1.0);
    for (size_t i = 0; i < r.outL.size(); ++i) {
        ASSERT_TRUE(std::isfinite(r.outL[i]) && std::isfinite(r.outR[i])) << i;
    }
    // The output starts from silence (a fade and the cabinet's own delay); later the cabinet sounds.
    double early = 0.0, late = 0.0;
    for (size_t i = 0; i < 24; ++i) early = std::max(early, static_cast<double>(std::fabs(r.outL[i])));
    for (size_t i = r.outL.size() / 2; i < r.outL.size(); ++i) late = std::max(late, static_cast<double>(std::fabs(r.outL[i])));
    EXPECT_LT(early, 0.05);
    EXPECT_GT(late, 0.05);
}

TEST_F(EngineHost, BypassGivesBackEachInputPin) {
    start();
    render(host, 0.5);
    host.setParameter(host.findParameter("Bypass"), 1.0f);
    const Rendered r = render(host, 0.3);
    const size_t from = static_cast<size_t>(0.1 * host.sampleRate());
    // The 20 ms cross-fade leaves e^-5 (0.7 %) of the wet signal after 0.1 s.
    EXPECT_LT(worstDifference(r.outL, r.inL, from), 0.01);
    EXPECT_LT(worstDifference(r.outR, r.inR, from), 0.01);
    // Well before that the wet signal still shows.
    EXPECT_GT(worstDifference(std::vector<float>(r.outL.begin(), r.outL.begin() + 256), r.inL, 0), 0.01);
}

TEST_F(EngineHost, MixZeroGivesTheInputTimesTheOutputGain) {
    start();
    host.setParameter(host.findParameter("Mix"), 0.0f);
    host.setParameter(host.findParameter("Output"), 0.3f);
    render(host, 1.0);
    const Rendered r = render(host, 0.3);
    const double gain = levelCurve(0.3);
    EXPECT_LT(worstDifference(r.outL, r.inL, 0, gain), 1e-5);
    EXPECT_LT(worstDifference(r.outR, r.inR, 0, gain), 1e-5);
}

TEST_F(EngineHost, UnconnectedRightOutputGetsTheLeftResult) {
    // Two instances fed alike; in the second the host reports output pin 1 as unconnected, so
    // the effect must leave that buffer alone and put the left result into pin 0.
    start();
    const Rendered stereo = render(host, 1.0);
    host.close();
    PluginHost mono;
    mono.setSampleRate(48000.0);
    mono.setBlockSize(512);
    mono.setPinConnected(false, 1, false);
    ASSERT_TRUE(mono.start(modulePath())) << mono.error();
    Rendered r;
    const long n = static_cast<long>(stereo.inL.size());
    r.outL.assign(stereo.inL.size(), 0.0f);
    r.outR.assign(stereo.inL.size(), 7.0f);  // must stay untouched
    const float* in[2] = {stereo.inL.data(), stereo.inR.data()};
    float* out[2] = {r.outL.data(), r.outR.data()};
    mono.processInBlocks(in, out, n);
    EXPECT_EQ(worstDifference(r.outL, stereo.outL, 0), 0.0);
    EXPECT_EQ(*std::min_element(r.outR.begin(), r.outR.end()), 7.0f);
    EXPECT_EQ(*std::max_element(r.outR.begin(), r.outR.end()), 7.0f);
}

TEST_F(EngineHost, MonoInputArrangementFeedsTheLeftPinToBothSides) {
    // Told that its input is mono, the effect ignores input pin 1: fed two different tones it
    // sounds exactly like a stereo instance fed the left tone on both pins.
    start();
    vst::VstSpeakerArrangement in{}, out{};
    in.numChannels = 1;
    out.numChannels = 2;
    ASSERT_EQ(host.dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), 1);
    const Rendered mono = render(host, 0.5);
    host.close();
    PluginHost stereo;
    stereo.setSampleRate(48000.0);
    stereo.setBlockSize(512);
    ASSERT_TRUE(stereo.start(modulePath())) << stereo.error();
    Rendered r;
    r.outL.assign(mono.inL.size(), 0.0f);
    r.outR.assign(mono.inL.size(), 0.0f);
    const float* both[2] = {mono.inL.data(), mono.inL.data()};
    float* outs[2] = {r.outL.data(), r.outR.data()};
    stereo.processInBlocks(both, outs, static_cast<long>(mono.inL.size()));
    EXPECT_GT(worstDifference(mono.outL, mono.outR, 0), 1e-3);  // a stereo result, not a copy
    EXPECT_EQ(worstDifference(mono.outL, r.outL, 0), 0.0);
    EXPECT_EQ(worstDifference(mono.outR, r.outR, 0), 0.0);
}

TEST_F(EngineHost, DoubleProcessingMatchesSingle) {
    start();
    const Rendered single = render(host, 0.6);
    host.close();
    PluginHost other;
    other.setSampleRate(48000.0);
    other.setBlockSize(512);
    ASSERT_TRUE(other.start(modulePath())) << other.error();
    ASSERT_TRUE(other.supportsDouble());
    const Rendered twice = render(other, 0.6, true);
    EXPECT_LT(worstDifference(twice.outL, single.outL, 0), 1e-6);
    EXPECT_LT(worstDifference(twice.outR, single.outR, 0), 1e-6);
}

TEST_F(EngineHost, RateChangeThroughSuspendAndResume) {
    start(44100.0, 256);
    render(host, 0.4);
    host.suspend();
    host.dispatch(vst::effSetSampleRate, 0, 0, nullptr, 96000.0f);
    host.resume();
    host.setSampleRate(96000.0);
    const Rendered r = render(host, 1.0);
    double late = 0.0;
    for (size_t i = r.outL.size() / 2; i < r.outL.size(); ++i) {
        ASSERT_TRUE(std::isfinite(r.outL[i]));
        late = std::max(late, static_cast<double>(std::fabs(r.outL[i])));
    }
    EXPECT_GT(late, 0.05);
}

}  // namespace
}  // namespace orv::test
