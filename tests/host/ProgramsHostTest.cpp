// Programs, the state chunk and MIDI control as a host sees them through the module's ABI.

#include <cstring>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"
#include "support/ChunkBytes.h"

namespace orv::test {
namespace {

constexpr int kLever = 2;
constexpr int kSpeed = 3;
constexpr int kDrive = 13;
constexpr int kMidiChl = 39;
constexpr int kLvrMode = 40;
constexpr int kSpdMode = 41;
constexpr int kBinding = 42;  // parameter 42 + k holds the binding of parameter k
constexpr size_t kCurrentProgramOffset = 25;

float binding(int controller) { return (static_cast<float>(controller) + 0.5f) / 129.0f; }

class Programs : public ModuleTest {
protected:
    // The host sees one program; an internal program is chosen by handing back the state with
    // another current program.
    void selectInternalProgram(int program) {
        std::vector<uint8_t> state = host.getChunk();
        ASSERT_EQ(state.size(), kStateChunkSize);
        std::memcpy(&state[kCurrentProgramOffset], &program, 4);
        ASSERT_EQ(host.setChunk(state), 0);
    }
    std::string programNameAt(int index) { return host.queryString(vst::effGetProgramNameIndexed, index); }
};

TEST_F(Programs, FactoryNamesByIndex) {
    EXPECT_EQ(host.programName(), "Default");
    EXPECT_EQ(programNameAt(0), "Default");
    EXPECT_EQ(programNameAt(1), "L'122");
    EXPECT_EQ(programNameAt(12), "Broken Horn Motor");
    EXPECT_EQ(programNameAt(23), "Bass drive");
    EXPECT_EQ(programNameAt(24), "Init");
    EXPECT_EQ(programNameAt(47), "Init");
    char buf[64] = {};
    EXPECT_EQ(dispatch(vst::effGetProgramNameIndexed, 47, 0, buf), 1);
    EXPECT_EQ(dispatch(vst::effGetProgramNameIndexed, 48, 0, buf), 0);
}

TEST_F(Programs, SelectedProgramsApplyTheirValues) {
    std::vector<float> defaults;
    for (int i = 0; i < 42; ++i) defaults.push_back(host.getParameter(i));
    selectInternalProgram(1);
    EXPECT_EQ(host.programName(), "L'122");
    for (int i = 0; i < 42; ++i) EXPECT_EQ(host.getParameter(i), defaults[static_cast<size_t>(i)]) << i;

    for (int p : {0, 5, 17, 23, 40}) {
        selectInternalProgram(p);
        for (int i : {0, 1, 2, 3, 4}) EXPECT_EQ(host.getParameter(i), 0.0f) << p << " " << i;
        EXPECT_EQ(host.getParameter(kMidiChl), 1.0f) << p;
    }
    selectInternalProgram(17);
    EXPECT_EQ(host.programName(), "Whirled");
    EXPECT_EQ(host.getParameter(37), 0.5f);  // Mix
}

TEST_F(Programs, ChunkHeaderAndSize) {
    const std::vector<uint8_t> c = host.getChunk();
    ASSERT_EQ(c.size(), 73969u);
    // Little-endian machine: type 3 is stored as 00 00 00 03, 'OoG1' as 31 47 6F 4F, then the
    // marker, the format word 0x02000000 and 42 parameters.
    const uint8_t header[] = {0x00, 0x00, 0x00, 0x03, 0x31, 0x47, 0x6F, 0x4F, 0x31, 0x47, 0x6F, 0x4F, 0x39,
                              0x00, 0x00, 0x00, 0x02, 0x2A, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(c.data(), header, sizeof header), 0);
    const ParsedState s = parseStateChunk(c);
    EXPECT_TRUE(s.wellFormed);
    EXPECT_EQ(s.records, 48 + 48 * 42 + 42);
    EXPECT_EQ(s.current, 0);
    EXPECT_EQ(s.recordBytes, 48 * (168 + 42 * 32));  // controller records are not counted
    EXPECT_EQ(s.programRecords, 48);
    EXPECT_EQ(s.parameterRecords, 48 * 42);
    EXPECT_EQ(s.controllerRecords, 42);
    EXPECT_EQ(s.names[0], "Default");
    EXPECT_EQ(s.names[23], "Bass drive");
    EXPECT_EQ(s.names[47], "Init");
    EXPECT_EQ(s.values[17][33], 0.708f);
    for (float v : s.controllers) EXPECT_FLOAT_EQ(v, 128.5f / 129.0f);
}

TEST_F(Programs, StateMovesToAnotherInstance) {
    selectInternalProgram(9);
    host.setParameter(kDrive, 0.125f);
    host.setParameter(kBinding + kDrive, binding(7));
    host.setParameter(kBinding + 37, binding(93));
    char name[] = "Moved";
    dispatch(vst::effSetProgramName, 0, 0, name);
    const std::vector<uint8_t> state = host.getChunk();

    PluginHost other;
    ASSERT_TRUE(other.start(modulePath())) << other.error();
    EXPECT_EQ(other.setChunk(state), 0);
    EXPECT_EQ(other.getChunk(), state);
    EXPECT_EQ(other.programName(), "Moved");
    EXPECT_EQ(other.getParameter(kDrive), 0.125f);
    EXPECT_FLOAT_EQ(other.getParameter(kBinding + kDrive), binding(7));
    EXPECT_FLOAT_EQ(other.getParameter(kBinding + 5), 128.5f / 129.0f);

    // The same state written by a machine of the other byte order.
    PluginHost turned;
    ASSERT_TRUE(turned.start(modulePath())) << turned.error();
    EXPECT_EQ(turned.setChunk(reverseTaggedChunk(state)), 0);
    EXPECT_EQ(turned.getChunk(), state);
}

TEST_F(Programs, ForeignUnknownAndShortChunksChangeNothing) {
    selectInternalProgram(4);
    const std::vector<uint8_t> before = host.getChunk();
    auto changed = [&](size_t at, const char* bytes, size_t n) {
        std::vector<uint8_t> c = before;
        std::memcpy(&c[at], bytes, n);
        return c;
    };
    EXPECT_EQ(host.setChunk(changed(4, "2GoO", 4)), -1);              // another effect's 'OoG2'
    EXPECT_EQ(host.setChunk(changed(0, "\x00\x00\x00\x04", 4)), -1);  // unknown type 4
    EXPECT_EQ(host.setChunk(changed(0, "\x03\x00\x00\x00", 4)), -1);  // native ID, reversed type
    EXPECT_EQ(host.setChunk({}), -1);
    EXPECT_EQ(host.setChunk(std::vector<uint8_t>(before.begin(), before.begin() + 7)), -1);
    EXPECT_EQ(host.setChunk(std::vector<uint8_t>(before.begin(), before.begin() + 40)), -1);  // no state header
    EXPECT_EQ(host.getChunk(), before);
}

TEST_F(Programs, OutOfRangeValuesAreClampedWithAMessage) {
    ChunkBytes c;
    c.chunkHeader(kTypeState).stateHeader(4, 5, 0);
    c.programRecord(5, "Loud").parameterRecord(5, kDrive, 1.7f).parameterRecord(5, 11, -0.5f).controllerRecord(2, 0.5f);
    testing::internal::CaptureStderr();
    EXPECT_EQ(host.setChunk(c.bytes), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Invalid parameter 13 value 1.700000 on load of preset 5 Loud\n"
              "Invalid parameter 11 value -0.500000 on load of preset 5 Loud\n");
    // Program 5 is current; the rest of it comes from the "Default" program.
    EXPECT_EQ(read32(host.getChunk(), kCurrentProgramOffset), 5);
    EXPECT_EQ(host.programName(), "Loud");
    EXPECT_EQ(host.getParameter(kDrive), 1.0f);
    EXPECT_EQ(host.getParameter(11), 0.0f);
    EXPECT_EQ(host.getParameter(6), 0.5f);
    EXPECT_FLOAT_EQ(host.getParameter(kBinding + 2), binding(64));  // 0.5 decodes to controller 64
}

TEST(RenderToolPrograms, SelectsProgramsByNameAndKeepsState) {
    TempFolder dir;
    Audio silence{44100, 2, std::vector<float>(2 * 4410, 0.0f)};
    ASSERT_TRUE(writeFloatWav(dir.file("in.wav"), silence));
    const std::string state = dir.file("state.bin");
    CommandResult r = run({renderTool(), dir.file("in.wav"), dir.file("out.wav"), "--module", modulePath(),
                           "--program", "Whirled", "--save-state", state},
                          dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(state, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), kStateChunkSize);
    EXPECT_EQ(read32(bytes, kCurrentProgramOffset), 17);

    r = run({renderTool(), "--list-params", "--module", modulePath(), "--load-state", state}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Mix                  50 %"), std::string::npos) << r.out;

    r = run({renderTool(), "--list-params", "--module", modulePath(), "--program", "bass drive"}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("(0.26)"), std::string::npos) << r.out;

    r = run({renderTool(), "--list-programs", "--module", modulePath()}, dir);
    EXPECT_NE(r.out.find("  23  Bass drive\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  47  Init\n"), std::string::npos) << r.out;

    r = run({renderTool(), "--list-params", "--module", modulePath(), "--program", "No Such Sound"}, dir);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("No Such Sound"), std::string::npos);
}

class Midi : public Programs {
protected:
    void controller(int channel, int number, int value) {
        host.queueControlChange(0, channel, number, value);
        EXPECT_EQ(host.sendQueuedEvents(), 1);
    }
    // Automation the effect reported for Lever and Speed, in order.
    std::vector<std::pair<int, float>> leverAndSpeedAutomation() {
        std::vector<std::pair<int, float>> out;
        for (const auto& c : host.callsWith(vst::audioMasterAutomate))
            if (c.index == kLever || c.index == kSpeed) out.emplace_back(c.index, c.opt);
        host.clearCalls();
        return out;
    }
    using Moves = std::vector<std::pair<int, float>>;
};

TEST_F(Midi, ChannelFilter) {
    host.setParameter(kBinding + kDrive, binding(20));
    controller(9, 20, 0);  // all channels by default
    EXPECT_EQ(host.getParameter(kDrive), 0.0f);

    host.setParameter(kMidiChl, 1.0f / 17.0f);  // channel 1
    EXPECT_EQ(host.paramDisplay(kMidiChl), "Ch 1");
    controller(2, 20, 127);
    EXPECT_EQ(host.getParameter(kDrive), 0.0f);
    controller(1, 20, 127);
    EXPECT_EQ(host.getParameter(kDrive), 1.0f);

    host.setParameter(kMidiChl, 0.0f);  // off
    controller(1, 20, 0);
    EXPECT_EQ(host.getParameter(kDrive), 1.0f);

    host.setParameter(kMidiChl, 1.0f);  // all channels
    controller(16, 20, 64);
    EXPECT_EQ(host.getParameter(kDrive), 64.0f / 127.0f);
}

// The controller bound to "Speed" in each speed mode: the controller values sent one after
// the other and the Lever and Speed automation each one gives.
TEST_F(Midi, SpeedControllerInEverySpeedMode) {
    struct Step {
        int value;
        Moves moves;
    };
    struct Mode {
        const char* name;
        float spdMode;
        std::vector<Step> steps;
    };
    const Moves none, up{{kLever, 1.0f}, {kSpeed, 1.0f}}, down{{kLever, 0.0f}, {kSpeed, 0.0f}};
    const Mode modes[] = {
        // Default throws the lever (from 0.25, where the test puts it) and back; Speed stays.
        {"Default", 0.0f, {{127, {{kLever, 0.25f}, {kLever, 1.0f}}}, {0, {{kLever, 1.0f}, {kLever, 0.0f}}}}},
        {"TremDwn", 1.0f / 3.0f, {{100, up}, {20, down}}},
        {"TremUp", 2.0f / 3.0f, {{127, down}, {0, up}}},
        // Trigger toggles on a press after a release; the first press only arms, and a second
        // press without a release does nothing.
        {"Trigger", 1.0f, {{127, none}, {0, none}, {127, up}, {127, none}, {0, none}, {127, down}}},
    };
    for (const Mode& m : modes) {
        SCOPED_TRACE(m.name);
        host.setParameter(kBinding + kSpeed, binding(64));
        host.setParameter(kSpdMode, m.spdMode);
        host.setParameter(kLever, 0.25f);
        host.setParameter(kSpeed, 0.0f);
        host.clearCalls();
        for (const Step& step : m.steps) {
            controller(1, 64, step.value);
            EXPECT_EQ(leverAndSpeedAutomation(), step.moves) << "value " << step.value;
        }
    }
    // Setting the lever mode forgets the last release.
    controller(1, 64, 0);
    host.setParameter(kLvrMode, 0.0f);
    controller(1, 64, 127);
    EXPECT_TRUE(leverAndSpeedAutomation().empty());
    controller(1, 64, 0);
    controller(1, 64, 127);
    EXPECT_EQ(leverAndSpeedAutomation(), up);
}

TEST_F(Midi, OtherControllersAreNotAutomated) {
    host.setParameter(kBinding + kDrive, binding(20));
    host.clearCalls();
    controller(1, 20, 127);
    EXPECT_EQ(host.getParameter(kDrive), 1.0f);
    for (const auto& c : host.callsWith(vst::audioMasterAutomate)) EXPECT_NE(c.index, kDrive);
}

}  // namespace
}  // namespace orv::test
