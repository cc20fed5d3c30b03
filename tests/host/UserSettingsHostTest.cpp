// The per-user settings end to end: an instance a host creates while a default bank, preset
// and MIDI settings are stored starts with them. The file locations and unusable folders are
// checked on the effect itself (tests/unit/files).

#include <string>
#include <vector>

#include "host/HostTestSupport.h"
#include "support/ChunkBytes.h"

namespace orv::test {
namespace {

constexpr int kBinding = 42;  // parameter 42 + k holds the binding of parameter k
constexpr int kDrive = 13;

class UserSettings : public ::testing::Test {
protected:
    void SetUp() override {
        folder = config.path() + "/Orvaline/ORVGYR2";
        std::filesystem::create_directories(folder);
        host.setSampleRate(44100.0);
        host.setBlockSize(512);
    }
    void TearDown() override { host.close(); }
    void store(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream out(folder + "/" + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::string programNameAt(int index) { return host.queryString(vst::effGetProgramNameIndexed, index); }

    TempFolder config;
    ScopedEnv configHome{"XDG_CONFIG_HOME", config.path()};
    std::string folder;
    PluginHost host;
};

TEST_F(UserSettings, AnInstanceStartsWithTheStoredDefaults) {
    // Default bank: programs named "User 0".."User 47" with distinct values; its header names
    // program 12, yet program 0 ends up current.
    ChunkBytes bank;
    bank.stateHeader(48 * 43, 12, 48 * (168 + 42 * 32));
    for (int p = 0; p < 48; ++p) {
        bank.programRecord(p, "User " + std::to_string(p));
        for (int i = 0; i < 42; ++i) bank.parameterRecord(p, i, static_cast<float>((p + i) % 16) / 16.0f);
    }
    store("DefaultBank", bank.bytes);
    // Default preset, loaded into program 0 after the bank.
    ChunkBytes preset;
    preset.stateHeader(43, 0, 168 + 42 * 32, 0x23);
    preset.programRecord(0, "Start sound");
    for (int i = 0; i < 42; ++i) preset.parameterRecord(0, i, i == kDrive ? 0.875f : 0.25f);
    store("DefaultPreset", preset.bytes);
    // Default MIDI settings: Drive on controller 7.
    ChunkBytes midi;
    midi.stateHeader(1, 0, 32, 0x0C);
    midi.controllerRecord(kDrive, (7 + 0.5f) / 129.0f);
    store("DefaultMidi", midi.bytes);

    ASSERT_TRUE(host.start(modulePath())) << host.error();
    EXPECT_EQ(host.programName(), "Start sound");
    EXPECT_EQ(programNameAt(0), "Start sound");
    EXPECT_EQ(programNameAt(47), "User 47");
    EXPECT_EQ(host.getParameter(kDrive), 0.875f);
    EXPECT_EQ(host.getParameter(20), 0.25f);  // program 0 is the applied one
    EXPECT_FLOAT_EQ(host.getParameter(kBinding + kDrive), (7 + 0.5f) / 129.0f);
    // The state handed to the host says program 0 and holds the preset and the bank's programs.
    const ParsedState s = parseStateChunk(host.getChunk());
    EXPECT_EQ(s.current, 0);
    for (int i = 5; i < 42; ++i) EXPECT_EQ(s.values[0][i], i == kDrive ? 0.875f : 0.25f) << i;
    for (int p = 1; p < 48; ++p) {
        EXPECT_EQ(s.names[p], "User " + std::to_string(p));
        for (int i = 5; i <= 30; ++i) EXPECT_EQ(s.values[p][i], static_cast<float>((p + i) % 16) / 16.0f) << p << " " << i;
    }
}

}  // namespace
}  // namespace orv::test
