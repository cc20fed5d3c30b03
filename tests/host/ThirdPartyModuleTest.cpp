// The host library against a VST 2 module nobody here wrote: Debian's lsp-plugins-vst (its
// audio path is checked through orv-render in RenderToolTest).

#include <filesystem>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace orv::test {
namespace {

TEST(ThirdParty, LoadsDescribesItselfFindsParametersAndMovesItsState) {
    const std::string path = "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "lsp-plugins-vst is not installed";
#if defined(__SANITIZE_ADDRESS__)
    // The module loads and unloads a library of its own that keeps a few blocks; what it
    // allocates is not this project's to report.
    __lsan_disable();
#endif
    {
        PluginHost host, other;
        for (PluginHost* h : {&host, &other}) {
            h->setSampleRate(48000.0);
            ASSERT_TRUE(h->start(path)) << h->error();
        }
        const vst::AEffect* e = host.effect();
        EXPECT_EQ(e->magic, vst::kEffectMagic);
        EXPECT_EQ(e->numInputs, 2);
        EXPECT_EQ(e->numOutputs, 2);
        EXPECT_NE(e->flags & vst::effFlagsCanReplacing, 0);
        EXPECT_FALSE(host.supportsDouble());  // this module offers single precision only
        EXPECT_FALSE(host.effectName().empty());
        ASSERT_GT(host.numParams(), 0);
        for (int i = 0; i < host.numParams(); ++i) {
            EXPECT_FALSE(host.paramName(i).empty()) << i;
            const float v = host.getParameter(i);
            EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << host.paramName(i) << " = " << v;
        }

        const int dry = host.findParameter("dry");
        ASSERT_GE(dry, 0) << "the delay compensator has a 'dry' level";
        EXPECT_EQ(host.findParameter("DRY"), dry);  // case is forgiven when unique
        EXPECT_EQ(host.findParameter("no such parameter"), -1);
        const std::string before = host.paramDisplay(dry);
        host.setParameter(dry, 1.0f);
        EXPECT_NEAR(host.getParameter(dry), 1.0f, 1e-6);
        EXPECT_NE(host.paramDisplay(dry), before);

        ASSERT_NE(e->flags & vst::effFlagsProgramChunks, 0);
        EXPECT_LT(other.getParameter(dry), 0.5f);
        EXPECT_GE(other.setChunk(host.getChunk()), 0);
        EXPECT_NEAR(other.getParameter(dry), 1.0f, 1e-6);
        EXPECT_EQ(other.paramDisplay(dry), host.paramDisplay(dry));
    }
#if defined(__SANITIZE_ADDRESS__)
    __lsan_enable();
#endif
}

}  // namespace
}  // namespace orv::test
