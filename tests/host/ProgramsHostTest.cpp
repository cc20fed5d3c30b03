// The state chunk and MIDI control as a host sees them through the module's ABI. The chunk
// formats in detail, with old and damaged data, are checked on the effect (tests/unit/files).

#include "host/HostTestSupport.h"
#include "support/GoldenRows.h"

namespace orv::test {
namespace {

constexpr int kLever = 2;
constexpr int kSpeed = 3;
constexpr int kDrive = 13;
constexpr int kMidiChl = 39;
constexpr int kLvrMode = 40;
constexpr int kSpdMode = 41;
constexpr int kBinding = 42;  // parameter 42 + k holds the binding of parameter k

float binding(int controller) { return (static_cast<float>(controller) + 0.5f) / 129.0f; }

class Programs : public ModuleTest {};

TEST_F(Programs, StateMovesToAnotherInstance)
{
    // Program 9 made current by handing back the state with another current program.
    std::vector<uint8_t> state = host.getChunk();
    ASSERT_EQ(state.size(), 73969u);
    // (Its layout is checked byte by byte against stored images in tests/unit/files.)
    state[25] = 9;
    ASSERT_EQ(host.setChunk(state), 0);
    EXPECT_EQ(host.programName(), "Full Moon");
    host.setParameter(kDrive, 0.125f);
    host.setParameter(kBinding + kDrive, binding(7));
    char name[] = "Moved";
    dispatch(vst::effSetProgramName, 0, 0, name);
    state = host.getChunk();

    PluginHost other;
    ASSERT_TRUE(other.start(modulePath())) << other.error();
    EXPECT_EQ(other.setChunk(state), 0);
    EXPECT_EQ(other.getChunk(), state);
    EXPECT_EQ(other.programName(), "Moved");
    EXPECT_EQ(other.getParameter(kDrive), 0.125f);
    EXPECT_FLOAT_EQ(other.getParameter(kBinding + kDrive), binding(7));
    EXPECT_FLOAT_EQ(other.getParameter(kBinding + 5), 128.5f / 129.0f);
}

class Midi : public ModuleTest {
protected:
    void controller(int channel, int number, int value)
    {
        host.queueControlChange(0, channel, number, value);
        EXPECT_EQ(host.sendQueuedEvents(), 1);
    }
    using Moves = std::vector<std::pair<int, float>>;
    // Automation the effect reported for Lever and Speed, in order.
    Moves leverAndSpeedAutomation()
    {
        Moves out;
        for (const auto& c : host.callsWith(vst::audioMasterAutomate))
            if (c.index == kLever || c.index == kSpeed) out.emplace_back(c.index, c.opt);
        host.clearCalls();
        return out;
    }
};

TEST_F(Midi, ChannelFilterAndNoAutomationForOrdinaryControllers)
{
    host.setParameter(kBinding + kDrive, binding(20));
    const auto steps = dataRows(testData("host/data/midi-channels.txt"));
    EXPECT_EQ(steps.size(), 5u);
    for (const auto& step : steps) {
        SCOPED_TRACE(step[0] + " " + step[1]);
        host.setParameter(kMidiChl, std::stof(step[0]));
        host.clearCalls();
        controller(std::stoi(step[1]), 20, std::stoi(step[2]));
        EXPECT_EQ(host.getParameter(kDrive), std::stof(step[3]));
        for (const auto& c : host.callsWith(vst::audioMasterAutomate)) EXPECT_NE(c.index, kDrive);
    }
}

// The controller bound to "Speed" in each speed mode (data/speed-controller.txt): the values
// sent one after the other and the Lever and Speed automation each one gives.
TEST_F(Midi, SpeedControllerInEverySpeedMode)
{
    const auto rows = dataRows(testData("host/data/speed-controller.txt"));
    EXPECT_EQ(rows.size(), 12u);
    for (size_t k = 0; k < rows.size(); ++k) {
        const std::vector<std::string>& r = rows[k];
        SCOPED_TRACE(r[0] + ", value " + r[2]);
        if (k == 0 || r[0] != rows[k - 1][0]) {
            host.setParameter(kBinding + kSpeed, binding(64));
            host.setParameter(kSpdMode, std::stof(r[1]));
            host.setParameter(kLever, 0.25f);
            host.setParameter(kSpeed, 0.0f);
            host.clearCalls();
        }
        controller(1, 64, std::stoi(r[2]));
        Moves moves;
        std::istringstream list(r.size() > 3 ? r[3] : "");
        int index = 0;
        char equals = 0;
        for (float value = 0; list >> index >> equals >> value;) moves.emplace_back(index, value);
        EXPECT_EQ(leverAndSpeedAutomation(), moves);
    }
    // Setting the lever mode forgets the last release.
    controller(1, 64, 0);
    host.setParameter(kLvrMode, 0.0f);
    controller(1, 64, 127);
    EXPECT_TRUE(leverAndSpeedAutomation().empty());
    controller(1, 64, 0);
    controller(1, 64, 127);
    EXPECT_EQ(leverAndSpeedAutomation(), (Moves{{kLever, 1.0f}, {kSpeed, 1.0f}}));
}

}  // namespace
}  // namespace orv::test
