// The host library against a VST 2 module nobody here wrote: Debian's lsp-plugins-vst.

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace orv::test {
namespace {

// The delay compensator: with its defaults (no delay, dry off, wet at 0 dB) it passes audio
// through unchanged, which makes its output predictable.
std::string lspModule() {
    for (const char* folder : {"/usr/lib/vst/lsp-plugins", "/usr/lib/lxvst/lsp-plugins", "/usr/lib64/vst/lsp-plugins"}) {
        const std::string path = std::string(folder) + "/comp-delay-stereo.so";
        if (std::filesystem::exists(path)) return path;
    }
    return {};
}

class ThirdParty : public ::testing::Test {
protected:
    static constexpr double kRate = 48000.0;
    static constexpr int kBlock = 256;

    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        // The module loads and unloads a library of its own that keeps a few blocks; what it
        // allocates is not this project's to report.
        __lsan_disable();
#endif
        path = lspModule();
        if (path.empty()) GTEST_SKIP() << "lsp-plugins-vst is not installed; no third-party module to load";
        host.setSampleRate(kRate);
        host.setBlockSize(kBlock);
        ASSERT_TRUE(host.start(path)) << host.error();
    }

    void TearDown() override {
        host.close();
#if defined(__SANITIZE_ADDRESS__)
        __lsan_enable();
#endif
    }

    std::string path;
    PluginHost host;
};

TEST_F(ThirdParty, LoadsAndDescribesItself) {
    const vst::AEffect* e = host.effect();
    EXPECT_EQ(e->magic, vst::kEffectMagic);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_NE(e->flags & vst::effFlagsCanReplacing, 0);
    EXPECT_GE(host.callCount(vst::audioMasterVersion), 1);
    EXPECT_FALSE(host.effectName().empty());
    EXPECT_FALSE(host.productString().empty());
    ASSERT_GT(host.numParams(), 0);
    for (int i = 0; i < host.numParams(); ++i) {
        EXPECT_FALSE(host.paramName(i).empty()) << i;
        const float v = host.getParameter(i);
        EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << host.paramName(i) << " = " << v;
    }
}

TEST_F(ThirdParty, ProcessesBlocksAsAPassThrough) {
    constexpr long kFrames = 3 * kBlock + 17;  // a last, short block
    std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames, 7.0f), outR(kFrames, 7.0f);
    for (long n = 0; n < kFrames; ++n) {
        inL[static_cast<size_t>(n)] = 0.5f * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * n / kRate));
        inR[static_cast<size_t>(n)] = 0.25f * static_cast<float>(std::sin(2.0 * M_PI * 660.0 * n / kRate));
    }
    const float* in[] = {inL.data(), inR.data()};
    float* out[] = {outL.data(), outR.data()};
    host.processInBlocks(in, out, kFrames);
    for (long n = 0; n < kFrames; ++n) {
        ASSERT_NEAR(outL[static_cast<size_t>(n)], inL[static_cast<size_t>(n)], 1e-5) << n;
        ASSERT_NEAR(outR[static_cast<size_t>(n)], inR[static_cast<size_t>(n)], 1e-5) << n;
    }
}

TEST_F(ThirdParty, ParameterByNameChangesItsText) {
    const int dry = host.findParameter("dry");
    ASSERT_GE(dry, 0) << "the delay compensator has a 'dry' level";
    EXPECT_EQ(host.findParameter("DRY"), dry);  // case is forgiven when unique
    EXPECT_EQ(host.findParameter("no such parameter"), -1);
    const std::string before = host.paramDisplay(dry);
    host.setParameter(dry, 1.0f);
    EXPECT_NEAR(host.getParameter(dry), 1.0f, 1e-6);
    EXPECT_NE(host.paramDisplay(dry), before);
}

TEST_F(ThirdParty, ChunkRoundTrip) {
    ASSERT_NE(host.effect()->flags & vst::effFlagsProgramChunks, 0);
    const int dry = host.findParameter("dry");
    ASSERT_GE(dry, 0);
    host.setParameter(dry, 1.0f);
    const std::vector<uint8_t> state = host.getChunk();
    ASSERT_FALSE(state.empty());

    PluginHost other;
    other.setSampleRate(kRate);
    ASSERT_TRUE(other.start(path)) << other.error();
    EXPECT_LT(other.getParameter(dry), 0.5f);
    EXPECT_GE(other.setChunk(state), 0);
    EXPECT_NEAR(other.getParameter(dry), 1.0f, 1e-6);
    EXPECT_EQ(other.paramDisplay(dry), host.paramDisplay(dry));
}

TEST_F(ThirdParty, ClosesAndLoadsAgain) {
    EXPECT_FALSE(host.supportsDouble());  // this module offers single precision only
    for (int round = 0; round < 3; ++round) {
        host.close();
        EXPECT_FALSE(host.isLoaded());
        ASSERT_TRUE(host.start(path)) << host.error();
        std::vector<float> in(kBlock, 0.125f), out(kBlock, 0.0f);
        const float* ins[] = {in.data(), in.data()};
        float* outs[] = {out.data(), out.data()};
        host.process(ins, outs, kBlock);
        EXPECT_NEAR(out[kBlock - 1], 0.125f, 1e-6) << round;
    }
}

}  // namespace
}  // namespace orv::test
