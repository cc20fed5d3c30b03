// The per-user settings end to end: an instance a host creates while a default bank, preset and
// MIDI settings are stored starts with them. The images are the stored ones of
// tests/unit/files/data/images (see the notes there); short and foreign images are refused by
// the same loader, checked in tests/unit/files/FileFormatTest.cpp.

#include "host/HostTestSupport.h"

namespace orv::test {
namespace {

TEST(UserSettings, AnInstanceStartsWithTheStoredDefaults)
{
    TempFolder config;
    ScopedEnv configHome("XDG_CONFIG_HOME", config.path());
    const auto store = [&](const char* name, const char* image) {
        writeFile(config.file("Orvaline/ORVGYR2/") + name,
                  readFile(std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/files/data/images/" + image));
    };
    store("DefaultBank", "bank-rev.ovb");  // written on a machine of the other byte order
    store("DefaultPreset", "preset.orv");  // loaded into program 0 after the bank
    store("DefaultMidi", "midi.ovm");
    PluginHost host;
    ASSERT_TRUE(host.start(modulePath())) << host.error();
    EXPECT_EQ(host.programName(), "Hand built");
    EXPECT_EQ(host.queryString(vst::effGetProgramNameIndexed, 47), "Bank prog 47");
    EXPECT_EQ(host.getParameter(13), 14.0f / 64.0f);             // (40 × 7 + 13 × 3) mod 61 = 14
    EXPECT_FLOAT_EQ(host.getParameter(42 + 3), 15.5f / 129.0f);  // parameter 3 on controller 15
    // The state handed to the host says program 0, which holds the preset.
    const std::vector<uint8_t> state = host.getChunk();
    ASSERT_EQ(state.size(), 73969u);
    EXPECT_EQ(state[25], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&state[61])), "Hand built");
}

}  // namespace
}  // namespace orv::test
