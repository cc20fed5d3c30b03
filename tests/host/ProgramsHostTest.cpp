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

// The controller bound to "Speed" in each speed mode: the controller values sent one after
// the other and the Lever and Speed automation each one gives.
TEST_F(Midi, SpeedControllerInEverySpeedMode)
{
    struct Mode {
        const char* name;
        float spdMode;
        std::vector<std::pair<int, Moves>> steps;
    };
    const Moves none, up{{kLever, 1.0f}, {kSpeed, 1.0f}}, down{{kLever, 0.0f}, {kSpeed, 0.0f}};
    // clang-format off
    const Mode modes[] = {
        // Default throws the lever (from 0.25, where the test puts it) and back; Speed stays.
        {"Default", 0.0f, {{127, {{kLever, 0.25f}, {kLever, 1.0f}}}, {0, {{kLever, 1.0f}, {kLever, 0.0f}}}}},
        {"TremDwn", 1.0f / 3.0f, {{100, up}, {20, down}}},
        {"TremUp", 2.0f / 3.0f, {{127, down}, {0, up}}},
        // Trigger toggles on a press after a release; the first press only arms, and a second
        // press without a release does nothing.
        {"Trigger", 1.0f, {{127, none}, {0, none}, {127, up}, {127, none}, {0, none}, {127, down}}},
    };
    // clang-format on
    for (const Mode& m : modes) {
        SCOPED_TRACE(m.name);
        host.setParameter(kBinding + kSpeed, binding(64));
        host.setParameter(kSpdMode, m.spdMode);
        host.setParameter(kLever, 0.25f);
        host.setParameter(kSpeed, 0.0f);
        host.clearCalls();
        for (const auto& [value, moves] : m.steps) {
            controller(1, 64, value);
            EXPECT_EQ(leverAndSpeedAutomation(), moves) << "value " << value;
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

}  // namespace
}  // namespace orv::test
