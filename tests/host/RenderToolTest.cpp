// orv-render as a user runs it: refusals with one clear line and no output file, and renders
// whose result can be predicted.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"

namespace orv::test {
namespace {

constexpr int kRate = 32000;  // not the effect's usual rate: the output must keep it

Audio sine(int rate, double seconds, double hz, float amplitude) {
    Audio a;
    a.rate = rate;
    a.channels = 1;
    const long frames = std::lround(seconds * rate);
    for (long n = 0; n < frames; ++n) {
        a.samples.push_back(amplitude * static_cast<float>(std::sin(2.0 * M_PI * hz * static_cast<double>(n) / rate)));
    }
    return a;
}

std::string lspModule() {
    const std::string path = "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so";
    return std::filesystem::exists(path) ? path : std::string();
}

class RenderTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(renderTool())) << renderTool();
        input = dir.file("in.wav");
        output = dir.file("out.wav");
        ASSERT_TRUE(writeFloatWav(input, sine(kRate, 1.0, 440.0, 0.5f)));
    }

    CommandResult render(std::vector<std::string> args) {
        args.insert(args.begin(), renderTool());
        return run(args, dir);
    }
    // The third-party module keeps a few blocks past its close, which a leak-checking build of
    // orv-render would report as its own.
    CommandResult renderThirdParty(std::vector<std::string> args) {
        args.insert(args.begin(), renderTool());
        return run(args, dir, {"ASAN_OPTIONS=detect_leaks=0"});
    }

    // A refusal: non-zero exit, exactly one line on stderr naming what is wrong, and nothing
    // left in the folder but the input.
    void expectRefusal(const CommandResult& r, const std::string& mention) {
        EXPECT_NE(r.exitCode, 0);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(r.err.empty());
        EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(output));
        auto names = dir.entries();
        names.erase(std::remove(names.begin(), names.end(), "in.wav"), names.end());
        names.erase(std::remove(names.begin(), names.end(), "module.so"), names.end());
        EXPECT_TRUE(names.empty()) << "left behind: " << names.front();
    }

    TempFolder dir;
    std::string input, output;
};

TEST_F(RenderTool, MissingInputFile) {
    const std::string missing = dir.file("nothing-here.wav");
    expectRefusal(render({missing, output}), missing);
}

TEST_F(RenderTool, InputThatIsNotSound) {
    const std::string text = dir.file("notes.wav");
    std::ofstream(text) << "these are not samples\n";
    const CommandResult r = render({text, output});
    std::filesystem::remove(text);
    expectRefusal(r, text);
}

TEST_F(RenderTool, BadArgumentsAreNamedInTheRefusal) {
    struct Case {
        std::vector<std::string> extra;
        const char* mention;
    };
    const Case cases[] = {
        {{"--set", "Levre=1"}, "Levre"},
        {{"--at", "0.5", "NoSuchKnob=0.5"}, "NoSuchKnob"},
        {{"--set", "Lever=1.5"}, "1.5"},
        {{"--set", "Lever=-0.1"}, "-0.1"},
        {{"--cc", "0.1", "17", "7", "100"}, "17"},  // channel past 16
        {{"--cc", "0.1", "1", "7", "128"}, "128"},  // value past 127
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mention);
        std::vector<std::string> args{input, output};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        expectRefusal(render(args), c.mention);
    }
    expectRefusal(render({input, dir.file("out.nosuchformat")}), "nosuchformat");
}

TEST_F(RenderTool, ModuleThatDoesNotLoad) {
    const std::string absent = dir.file("absent.so");
    expectRefusal(render({input, output, "--module", absent}), absent);
    const std::string fake = dir.file("module.so");
    std::ofstream(fake) << "not a module\n";
    expectRefusal(render({input, output, "--module", fake}), fake);
}

TEST_F(RenderTool, ListsTheModuleParameters) {
    const CommandResult r = render({"--list-params"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Lever"), std::string::npos);
    EXPECT_NE(r.out.find("MechRatio"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 42) << r.out;  // heading and one line each
}

// With the effect bypassed, a sine comes out as it went in once the bypass fade has settled,
// on both output channels, at the input's rate and length.
void expectPassThrough(const Audio& in, const Audio& out, double settleSeconds) {
    ASSERT_EQ(out.rate, in.rate);
    ASSERT_EQ(out.channels, 2);
    ASSERT_EQ(out.frames(), in.frames());
    const long first = std::lround(settleSeconds * in.rate);
    for (long n = first; n < in.frames(); ++n) {
        ASSERT_NEAR(out.at(n, 0), in.at(n, 0), 1e-4) << "left, frame " << n;
        ASSERT_NEAR(out.at(n, 1), in.at(n, 0), 1e-4) << "right, frame " << n;
    }
}

TEST_F(RenderTool, BypassedSinePassesThrough) {
    Audio in, out;
    ASSERT_TRUE(readWav(input, in));
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{}, {"--double"}, {"--block", "100"}}) {
        std::vector<std::string> args = {input, output, "--set", "Bypass=1"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CommandResult r = render(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
        ASSERT_TRUE(readWav(output, out));
        expectPassThrough(in, out, 0.5);
    }
}

TEST_F(RenderTool, ThirdPartyPassThroughIsExactFromTheFirstSample) {
    const std::string lsp = lspModule();
    if (lsp.empty()) GTEST_SKIP() << "lsp-plugins-vst is not installed";
    const CommandResult r = renderThirdParty({input, output, "--module", lsp, "--block", "77"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Audio in, out;
    ASSERT_TRUE(readWav(input, in));
    ASSERT_TRUE(readWav(output, out));
    expectPassThrough(in, out, 0.0);
}

TEST_F(RenderTool, TimedChangeTakesEffectAtItsFrame) {
    const std::string lsp = lspModule();
    if (lsp.empty()) GTEST_SKIP() << "lsp-plugins-vst is not installed";
    // Turning the dry path up at 0.25 s adds the input to itself from then on; blocks of 1000
    // frames do not line up with that moment (frame 8016), so the block must be cut.
    const CommandResult r = renderThirdParty({input, output, "--module", lsp, "--block", "1000", "--at", "0.2505", "dry=1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Audio in, out;
    ASSERT_TRUE(readWav(input, in));
    ASSERT_TRUE(readWav(output, out));
    const long change = std::lround(0.2505 * kRate);
    for (long n = 0; n < change; ++n) ASSERT_NEAR(out.at(n, 0), in.at(n, 0), 1e-5) << n;
    // This module applies the dry level at once: the very first frames after the cut are louder.
    for (long n = change; n < change + 8; ++n) {
        ASSERT_GT(std::fabs(in.at(n, 0)), 0.05f) << n;  // the sine is far from a zero crossing here
        EXPECT_GT(std::fabs(out.at(n, 0)), 1.2f * std::fabs(in.at(n, 0))) << n;
    }
    double before = 0.0, after = 0.0;
    const long settle = change + kRate / 10;  // allow the module to ramp its gain
    for (long n = settle; n < in.frames(); ++n) {
        before += std::fabs(in.at(n, 0));
        after += std::fabs(out.at(n, 0));
    }
    EXPECT_GT(after, 1.5 * before);
}

TEST_F(RenderTool, StateSavedAfterARenderLoadsIntoTheNext) {
    const std::string lsp = lspModule();
    if (lsp.empty()) GTEST_SKIP() << "lsp-plugins-vst is not installed";
    const std::string state = dir.file("state.bin");
    CommandResult r = renderThirdParty({input, output, "--module", lsp, "--set", "dry=1", "--save-state", state});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(std::filesystem::exists(state));
    EXPECT_GT(std::filesystem::file_size(state), 0u);
    std::filesystem::remove(output);

    r = renderThirdParty({"--list-params", "--module", lsp});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string fresh = r.out;
    r = renderThirdParty({"--list-params", "--module", lsp, "--load-state", state});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out, fresh);
    auto lineOf = [](const std::string& text, const std::string& name) {
        const size_t at = text.find(" " + name + " ");
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
    };
    EXPECT_NE(lineOf(r.out, "dry").find("(1)"), std::string::npos) << lineOf(r.out, "dry");
    EXPECT_EQ(lineOf(fresh, "dry").find("(1)"), std::string::npos) << lineOf(fresh, "dry");

    const std::string empty = dir.file("empty.bin");
    std::ofstream(empty).flush();
    r = renderThirdParty({input, output, "--module", lsp, "--load-state", empty});
    std::filesystem::remove(empty);
    std::filesystem::remove(state);
    expectRefusal(r, empty);
}

TEST_F(RenderTool, DemoWritesTwelveSecondsOfStereoAt48kHz) {
    const std::string demo = dir.file("demo.wav");
    const CommandResult r = render({"--demo", demo});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Audio out;
    ASSERT_TRUE(readWav(demo, out));
    EXPECT_EQ(out.rate, 48000);
    EXPECT_EQ(out.channels, 2);
    EXPECT_NEAR(static_cast<double>(out.frames()) / out.rate, 12.0, 0.5);
    float peak = 0.0f;
    double energy = 0.0;
    for (float s : out.samples) {
        peak = std::max(peak, std::fabs(s));
        energy += static_cast<double>(s) * s;
    }
    const double rms = std::sqrt(energy / static_cast<double>(out.samples.size()));
    EXPECT_GT(rms, 0.01);  // clearly audible
    EXPECT_LE(peak, 1.0f);
}

}  // namespace
}  // namespace orv::test
