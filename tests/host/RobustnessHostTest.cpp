// The audio path seen from a host: the built module driven the way a DAW drives it, with
// unconnected pins, a mono input and both sample types; and what a careless or broken host can
// hand it: samples that are not finite, sample rates, block sizes and frame counts that make no
// sense. Nothing of it may crash the module or leave its output poisoned. (Parameter values
// outside 0..1 at every index are driven by tests/fuzz/InterfaceFuzzer.)

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>

#include "HostTestSupport.h"

namespace orv::test {
namespace {

constexpr double kRate = 44100.0;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Stereo {
    std::vector<float> l, r;
    // Two tones, different on each side, so that a channel mix-up shows.
    static Stereo tones(long frames)
    {
        Stereo s;
        for (long i = 0; i < frames; ++i) {
            s.l.push_back(static_cast<float>(0.3 * std::sin(2.0 * M_PI * 330.0 * i / kRate)));
            s.r.push_back(static_cast<float>(0.2 * std::sin(2.0 * M_PI * 495.0 * i / kRate + 0.5)));
        }
        return s;
    }
    long frames() const { return static_cast<long>(l.size()); }
    // Renders frames from..to of `in` into this one, in the host's block size.
    void render(PluginHost& host, const Stereo& in, long from, long to, bool useDouble = false)
    {
        l.resize(in.l.size());
        r.resize(in.r.size());
        const float* i[2] = {in.l.data() + from, in.r.data() + from};
        float* o[2] = {l.data() + from, r.data() + from};
        host.processInBlocks(i, o, to - from, useDouble);
    }
    // The largest difference from `other` from a frame on (up to another); infinite where either
    // is not finite.
    double worstDifference(const Stereo& other, long from, long to = -1) const
    {
        double m = 0.0;
        for (long i = from; i < (to < 0 ? frames() : to); ++i) {
            const size_t k = static_cast<size_t>(i);
            for (double d : {double(l[k]) - other.l[k], double(r[k]) - other.r[k]})
                m = std::isfinite(d) ? std::max(m, std::fabs(d)) : HUGE_VAL;
        }
        return m;
    }
    double peak(long from) const
    {
        return worstDifference(Stereo{std::vector<float>(l.size()), std::vector<float>(r.size())}, from);
    }
};

using Settings = std::vector<std::pair<const char*, float>>;
using Hook = std::function<void(PluginHost&)>;

// Starts an instance; `before` runs before the module is loaded, the settings are made after.
void startHost(PluginHost& host, int block, const Settings& settings = {}, const Hook& before = {})
{
    host.setSampleRate(kRate);
    host.setBlockSize(block);
    if (before) before(host);
    ASSERT_TRUE(host.start(modulePath())) << host.error();
    for (const auto& [name, value] : settings) host.setParameter(host.findParameter(name), value);
}

// Renders half a second of the two tones (or the left one on both pins) through a new instance
// into zeros (left) and sevens (right); `after` runs once the instance is running.
Stereo renderTones(const Hook& before, const Hook& after = {}, bool useDouble = false, bool leftOnBoth = false)
{
    PluginHost host;
    startHost(host, 512, {}, before);
    if (after) after(host);
    Stereo in = Stereo::tones(static_cast<long>(0.5 * kRate));
    if (leftOnBoth) in.r = in.l;
    Stereo out{std::vector<float>(in.l.size(), 0.0f), std::vector<float>(in.l.size(), 7.0f)};
    out.render(host, in, 0, in.frames(), useDouble);
    return out;
}

TEST(AudioPath, PinsPrecisionAndInputArrangement)
{
    const Stereo stereo = renderTones({});
    EXPECT_GT((Stereo{stereo.l, stereo.l}.worstDifference(Stereo{stereo.r, stereo.r}, 0)), 1e-3);  // a stereo result
    // Output pin 1 reported unconnected: its buffer stays untouched, pin 0 gets the left result.
    const Stereo monoOut = renderTones([](PluginHost& h) { h.setPinConnected(false, 1, false); });
    EXPECT_EQ(monoOut.l, stereo.l);
    EXPECT_EQ(monoOut.r, std::vector<float>(monoOut.r.size(), 7.0f));
    // Double precision sounds as single precision does.
    EXPECT_LT(renderTones({}, {}, true).worstDifference(stereo, 0), 1e-6);
    // Told that its input is mono, the effect ignores input pin 1: it sounds exactly like an
    // instance fed the left tone on both pins.
    const Stereo monoIn = renderTones({}, [](PluginHost& h) {
        vst::VstSpeakerArrangement in{}, out{};
        in.numChannels = 1;
        out.numChannels = 2;
        EXPECT_EQ(h.dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), 1);
    });
    EXPECT_EQ(monoIn.worstDifference(renderTones({}, {}, false, true), 0), 0.0);
}

// ---- a burst of bad samples in the input ------------------------------------------------------

struct Burst {
    const char* name;
    float value;
    // "Type" Thru and "Input" at +12 dB turn a burst of the largest floats into an overflow of
    // the single-precision decimator: a fault inside the wet path rather than at its entry.
    bool overdrive;
};
void PrintTo(const Burst& b, std::ostream* os) { *os << b.name; }

constexpr long kBurstStart = 44100;
constexpr long kBurstLength = 64;
constexpr int kBlock = 512;

class BurstRecovery : public ::testing::TestWithParam<Burst> {
protected:
    void SetUp() override
    {
        const Settings settings = GetParam().overdrive ? Settings{{"Type", 0.0f}, {"Input", 1.0f}} : Settings{};
        ASSERT_NO_FATAL_FAILURE(startHost(host, kBlock, settings));
        ASSERT_NO_FATAL_FAILURE(startHost(reference, kBlock, settings));
        ASSERT_NO_FATAL_FAILURE(startHost(third, kBlock, settings));
    }
    Stereo withBurst(long frames) const
    {
        Stereo in = Stereo::tones(frames);
        for (long i = kBurstStart; i < kBurstStart + kBurstLength; ++i)
            in.l[static_cast<size_t>(i)] = in.r[static_cast<size_t>(i)] = GetParam().value * (i % 2 ? 1.0f : -1.0f);
        return in;
    }
    PluginHost host, reference, third;
};

TEST_P(BurstRecovery, OutputIsFiniteAfterOneBlockMatchesACleanRunLaterAndBypassGivesBackTheInput)
{
    const long frames = kBurstStart + static_cast<long>(1.8 * kRate);
    const Stereo in = withBurst(frames), clean = Stereo::tones(frames);
    Stereo out, expected, bypassed;
    out.render(host, in, 0, frames);
    expected.render(reference, clean, 0, frames);
    // The block after the one in which the burst ends is finite from its first sample on.
    const long burstEnd = kBurstStart + kBurstLength - 1;
    EXPECT_LT(out.peak((burstEnd / kBlock + 1) * kBlock), HUGE_VAL);
    const long settled = burstEnd + static_cast<long>(1.5 * kRate);
    EXPECT_LE(out.worstDifference(expected, settled), 0.01 * expected.peak(settled));

    // Bypass switched on after the burst: the 20 ms cross-fade leaves e^-5 (0.7 %) of the wet
    // side after 0.1 s.
    const long burstDone = kBurstStart + 2 * kBlock, end = burstDone + static_cast<long>(0.3 * kRate);
    bypassed.render(third, in, 0, burstDone);
    third.setParameter(third.findParameter("Bypass"), 1.0f);
    bypassed.render(third, in, burstDone, end);
    EXPECT_LT(bypassed.worstDifference(in, burstDone + static_cast<long>(0.1 * kRate), end), 0.01);
}

INSTANTIATE_TEST_SUITE_P(BadSamples, BurstRecovery,
                         ::testing::Values(Burst{"NaN", kNaN, false}, Burst{"PlusInfinity", kInf, false},
                                           Burst{"MinusInfinity", -kInf, false},
                                           Burst{"LargestFloatOverdriven", 3.0e38f, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Sample rates, block sizes and frame counts that make no sense. A refused setting leaves the
// module as it was: after the same suspend and resume it renders what an undisturbed one does.

struct HostEdge {
    const char* name;
    std::function<void(PluginHost&)> disturb;
    bool oneCall;  // render the comparison stretch in one call of many more frames than announced
};
void PrintTo(const HostEdge& e, std::ostream* os) { *os << e.name; }

class HostEdges : public ::testing::TestWithParam<HostEdge> {};

TEST_P(HostEdges, ChangeNothingOrWorkAsUsual)
{
    PluginHost host, reference;
    ASSERT_NO_FATAL_FAILURE(startHost(host, 64));
    ASSERT_NO_FATAL_FAILURE(startHost(reference, 64));
    const long warm = static_cast<long>(0.5 * kRate), frames = 2 * warm;
    const Stereo in = Stereo::tones(frames);
    Stereo out, expected;
    out.render(host, in, 0, warm);
    expected.render(reference, in, 0, warm);
    GetParam().disturb(host);
    if (GetParam().oneCall) {
        const float* i[2] = {in.l.data() + warm, in.r.data() + warm};
        float* o[2] = {out.l.data() + warm, out.r.data() + warm};
        host.effect()->processReplacing(host.effect(), const_cast<float**>(i), o, static_cast<int>(frames - warm));
    } else {
        // A refused rate would otherwise only show at the rate job of the next suspend.
        for (PluginHost* h : {&host, &reference}) {
            h->suspend();
            h->resume();
        }
        out.render(host, in, warm, frames);
    }
    expected.render(reference, in, warm, frames);
    EXPECT_LE(out.worstDifference(expected, warm), 1e-6);
    EXPECT_LT(out.peak(0), HUGE_VAL);
}

// Sample rates and block sizes that make no sense, each unlike the one in force.
void refusedRates(PluginHost& h)
{
    for (float rate : {0.0f, -48000.0f, kNaN, kInf, 1e9f}) h.dispatch(vst::effSetSampleRate, 0, 0, nullptr, rate);
}
void refusedBlocks(PluginHost& h)
{
    for (vst::iptr block : {0, -512}) h.dispatch(vst::effSetBlockSize, 0, block);
}

// Frame counts of no samples: neither entry may touch the pins.
void processNothing(PluginHost& h)
{
    std::vector<float> f(16, 7.0f);
    std::vector<double> d(16, 7.0);
    float* fp[2] = {f.data(), f.data() + 8};
    double* dp[2] = {d.data(), d.data() + 8};
    for (int frames : {0, -1, -100000}) {
        h.effect()->processReplacing(h.effect(), fp, fp, frames);
        h.effect()->processDoubleReplacing(h.effect(), dp, dp, frames);
    }
    EXPECT_EQ(f, std::vector<float>(16, 7.0f));
    EXPECT_EQ(d, std::vector<double>(16, 7.0));
}

INSTANTIATE_TEST_SUITE_P(Refused, HostEdges,
                         ::testing::Values(HostEdge{"Rates", refusedRates, false},
                                           HostEdge{"Blocks", refusedBlocks, false},
                                           HostEdge{"FramesNoneOrNegative", processNothing, false},
                                           HostEdge{"FramesBeyondAnnounced", [](PluginHost&) {}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orv::test
