// What a careless or broken host can hand the module through the ABI: samples that are not
// finite, parameter values outside 0..1, sample rates, block sizes and frame counts that make
// no sense. Nothing of it may crash the module or leave its output poisoned.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "HostTestSupport.h"

namespace orv::test {
namespace {

constexpr double kRate = 44100.0;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Stereo {
    std::vector<float> l, r;
    explicit Stereo(long frames = 0) : l(static_cast<size_t>(frames)), r(static_cast<size_t>(frames)) {}
    long frames() const { return static_cast<long>(l.size()); }
};

// Two tones, different on each side, so that a channel mix-up shows.
Stereo tones(long frames) {
    Stereo s(frames);
    for (long i = 0; i < frames; ++i) {
        s.l[static_cast<size_t>(i)] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 330.0 * i / kRate));
        s.r[static_cast<size_t>(i)] = static_cast<float>(0.2 * std::sin(2.0 * M_PI * 495.0 * i / kRate + 0.5));
    }
    return s;
}

void startHost(PluginHost& host, int block, const std::vector<std::pair<const char*, float>>& settings = {}) {
    host.setSampleRate(kRate);
    host.setBlockSize(block);
    ASSERT_TRUE(host.start(modulePath())) << host.error();
    for (const auto& [name, value] : settings) host.setParameter(host.findParameter(name), value);
}

// Renders in.frames() frames from `from` on, in the host's block size.
void renderRange(PluginHost& host, const Stereo& in, Stereo& out, long from, long to) {
    const float* i[2] = {in.l.data() + from, in.r.data() + from};
    float* o[2] = {out.l.data() + from, out.r.data() + from};
    host.processInBlocks(i, o, to - from);
}

long firstNonFinite(const Stereo& s, long from) {
    for (long i = from; i < s.frames(); ++i)
        if (!std::isfinite(s.l[static_cast<size_t>(i)]) || !std::isfinite(s.r[static_cast<size_t>(i)])) return i;
    return -1;
}

// Infinite where either side is not finite.
double worstDifference(const Stereo& a, const Stereo& b, long from) {
    if (firstNonFinite(a, from) != -1 || firstNonFinite(b, from) != -1) return HUGE_VAL;
    double m = 0.0;
    for (long i = from; i < a.frames(); ++i) {
        const size_t k = static_cast<size_t>(i);
        m = std::max({m, std::fabs(double(a.l[k]) - b.l[k]), std::fabs(double(a.r[k]) - b.r[k])});
    }
    return m;
}

double peak(const Stereo& s, long from) {
    double m = 0.0;
    for (long i = from; i < s.frames(); ++i)
        m = std::max({m, std::fabs(double(s.l[static_cast<size_t>(i)])), std::fabs(double(s.r[static_cast<size_t>(i)]))});
    return m;
}

// ---------------------------------------------------------------------------------------------
// A burst of bad samples in the input.

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
    void SetUp() override {
        const std::vector<std::pair<const char*, float>> settings =
            GetParam().overdrive ? std::vector<std::pair<const char*, float>>{{"Type", 0.0f}, {"Input", 1.0f}}
                                 : std::vector<std::pair<const char*, float>>{};
        ASSERT_NO_FATAL_FAILURE(startHost(host, kBlock, settings));
        ASSERT_NO_FATAL_FAILURE(startHost(reference, kBlock, settings));
    }
    Stereo withBurst(long frames) const {
        Stereo in = tones(frames);
        for (long i = kBurstStart; i < kBurstStart + kBurstLength; ++i)
            in.l[static_cast<size_t>(i)] = in.r[static_cast<size_t>(i)] = GetParam().value * (i % 2 ? 1.0f : -1.0f);
        return in;
    }
    PluginHost host, reference;
};

TEST_P(BurstRecovery, OutputIsFiniteAfterOneBlockAndMatchesACleanRunLater) {
    const long frames = kBurstStart + static_cast<long>(1.8 * kRate);
    const Stereo in = withBurst(frames), clean = tones(frames);
    Stereo out(frames), expected(frames);
    renderRange(host, in, out, 0, frames);
    renderRange(reference, clean, expected, 0, frames);

    // The block after the one in which the burst ends is finite from its first sample on.
    const long burstEnd = kBurstStart + kBurstLength - 1;
    const long nextBlock = (burstEnd / kBlock + 1) * kBlock;
    EXPECT_EQ(firstNonFinite(out, nextBlock), -1);
    const long settled = burstEnd + static_cast<long>(1.5 * kRate);
    EXPECT_LE(worstDifference(out, expected, settled), 0.01 * peak(expected, settled));
}

TEST_P(BurstRecovery, BypassAfterTheBurstGivesBackTheInput) {
    const long burstDone = kBurstStart + 2 * kBlock;
    const long frames = burstDone + static_cast<long>(0.3 * kRate);
    const Stereo in = withBurst(frames);
    Stereo out(frames);
    renderRange(host, in, out, 0, burstDone);
    host.setParameter(host.findParameter("Bypass"), 1.0f);
    renderRange(host, in, out, burstDone, frames);
    // The 20 ms cross-fade leaves e^-5 (0.7 %) of the wet side after 0.1 s.
    const long from = burstDone + static_cast<long>(0.1 * kRate);
    EXPECT_LT(worstDifference(out, in, from), 0.01);
}

INSTANTIATE_TEST_SUITE_P(BadSamples, BurstRecovery,
                         ::testing::Values(Burst{"NaN", kNaN, false}, Burst{"PlusInfinity", kInf, false},
                                           Burst{"MinusInfinity", -kInf, false},
                                           Burst{"LargestFloatOverdriven", 3.0e38f, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Every parameter index set to a bad value for one block, then back to its own value. Each bad
// value runs in a child process, so a crash fails only its row; the child reports each index
// before trying it, so the parent can name the one that crashed.

struct BadValue {
    const char* name;
    float value;
};
void PrintTo(const BadValue& b, std::ostream* os) { *os << b.name; }

class BadParameterValue : public ::testing::TestWithParam<BadValue> {};

// Child: answers 0 when every index passed, 3 when the output was not finite or ran away.
int sweepIndices(int reportFd, float bad) {
    constexpr int kSweepBlock = 256;
    constexpr int kBlocksAfter = 3;
    constexpr double kRunaway = 100.0;  // far beyond anything the tones can give
    PluginHost host;
    host.setSampleRate(kRate);
    host.setBlockSize(kSweepBlock);
    if (!host.start(modulePath())) return 4;
    const Stereo in = tones(kSweepBlock);
    Stereo out(kSweepBlock);
    const auto block = [&] {
        const float* i[2] = {in.l.data(), in.r.data()};
        float* o[2] = {out.l.data(), out.r.data()};
        host.process(i, o, kSweepBlock);
        return firstNonFinite(out, 0) == -1 && peak(out, 0) < kRunaway;
    };
    for (int k = 0; k < 40; ++k) block();  // past the fade-in
    for (int index = 0; index < 167; ++index) {
        if (write(reportFd, &index, sizeof index) != static_cast<ssize_t>(sizeof index)) return 4;
        const float good = host.getParameter(index);
        host.setParameter(index, bad);
        bool fine = block();
        host.setParameter(index, good);
        for (int k = 0; k < kBlocksAfter; ++k) fine = block() && fine;
        if (!fine) return 3;
    }
    return 0;
}

TEST_P(BadParameterValue, NoIndexCrashesOrPoisonsTheOutput) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        _exit(sweepIndices(fds[1], GetParam().value));
    }
    close(fds[1]);
    int index = -1, last = -1;
    while (read(fds[0], &index, sizeof index) == static_cast<ssize_t>(sizeof index)) last = index;
    close(fds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "signal " << WTERMSIG(status) << " at parameter index " << last;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "output not finite or out of bounds after parameter index " << last;
    EXPECT_EQ(last, 166);
}

INSTANTIATE_TEST_SUITE_P(AllIndices, BadParameterValue,
                         ::testing::Values(BadValue{"NaN", kNaN}, BadValue{"PlusInfinity", kInf},
                                           BadValue{"MinusInfinity", -kInf}, BadValue{"Huge", 1e30f},
                                           BadValue{"MinusHuge", -1e30f}, BadValue{"MinusOne", -1.0f},
                                           BadValue{"Two", 2.0f}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Sample rate, block size and frame counts that make no sense. A refused setting leaves the
// module as it was: after the same suspend and resume it renders exactly what an undisturbed
// instance renders.

struct HostEdge {
    const char* name;
    std::function<void(PluginHost&)> disturb;
    bool oneCall;  // render the comparison stretch in one call of many more frames than announced
};
void PrintTo(const HostEdge& e, std::ostream* os) { *os << e.name; }

class HostEdges : public ::testing::TestWithParam<HostEdge> {};

TEST_P(HostEdges, ChangeNothingOrWorkAsUsual) {
    constexpr int kAnnounced = 64;
    PluginHost host, reference;
    ASSERT_NO_FATAL_FAILURE(startHost(host, kAnnounced));
    ASSERT_NO_FATAL_FAILURE(startHost(reference, kAnnounced));
    const long warm = static_cast<long>(0.5 * kRate);
    const long frames = warm + static_cast<long>(0.5 * kRate);
    const Stereo in = tones(frames);
    Stereo out(frames), expected(frames);
    renderRange(host, in, out, 0, warm);
    renderRange(reference, in, expected, 0, warm);

    GetParam().disturb(host);
    if (GetParam().oneCall) {
        // The re-initialisation advances once per block, so both instances are left running
        // steadily (no suspend) before the long call.
        const float* i[2] = {in.l.data() + warm, in.r.data() + warm};
        float* o[2] = {out.l.data() + warm, out.r.data() + warm};
        host.effect()->processReplacing(host.effect(), const_cast<float**>(i), o, static_cast<int>(frames - warm));
    } else {
        // A refused rate would otherwise only show at the rate job of the next suspend.
        for (PluginHost* h : {&host, &reference}) {
            h->suspend();
            h->resume();
        }
        renderRange(host, in, out, warm, frames);
    }
    renderRange(reference, in, expected, warm, frames);
    EXPECT_EQ(firstNonFinite(out, 0), -1);
    EXPECT_LE(worstDifference(out, expected, warm), 1e-6);
}

void setRate(PluginHost& h, float rate) { h.dispatch(vst::effSetSampleRate, 0, 0, nullptr, rate); }

// Frame counts of no samples: neither entry may touch the pins.
void processNothing(PluginHost& h) {
    constexpr float kSentinel = 7.0f;
    std::vector<float> f(16, kSentinel);
    std::vector<double> d(16, kSentinel);
    float* fp[2] = {f.data(), f.data() + 8};
    double* dp[2] = {d.data(), d.data() + 8};
    for (int frames : {0, -1, -100000}) {
        h.effect()->processReplacing(h.effect(), fp, fp, frames);
        h.effect()->processDoubleReplacing(h.effect(), dp, dp, frames);
    }
    for (float v : f) EXPECT_EQ(v, kSentinel);
    for (double v : d) EXPECT_EQ(v, kSentinel);
}

INSTANTIATE_TEST_SUITE_P(
    Refused, HostEdges,
    ::testing::Values(HostEdge{"RateZero", [](PluginHost& h) { setRate(h, 0.0f); }, false},
                      HostEdge{"RateNegative", [](PluginHost& h) { setRate(h, -48000.0f); }, false},
                      HostEdge{"RateNaN", [](PluginHost& h) { setRate(h, kNaN); }, false},
                      HostEdge{"RateInfinite", [](PluginHost& h) { setRate(h, kInf); }, false},
                      HostEdge{"RateGigahertz", [](PluginHost& h) { setRate(h, 1e9f); }, false},
                      HostEdge{"BlockZero", [](PluginHost& h) { h.dispatch(vst::effSetBlockSize, 0, 0); }, false},
                      HostEdge{"BlockNegative", [](PluginHost& h) { h.dispatch(vst::effSetBlockSize, 0, -512); }, false},
                      HostEdge{"FramesNoneOrNegative", processNothing, false},
                      HostEdge{"FramesBeyondAnnounced", [](PluginHost&) {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orv::test
