// Controller messages reaching the effect: learning, the changed flag and messages that must
// be ignored. (Channel filter, values and the speed controller are tested through the module.)

#include <array>

#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

constexpr int kDrive = 13;
constexpr int kMix = 37;

// Mix is bound to controller 7. With learning on, touching Drive names it the target;
// otherwise Drive is bound to controller 20. Then the messages arrive in one block.
struct Case {
    const char* name;
    bool learn;
    float midiChl;
    std::vector<std::array<uint8_t, 3>> messages;
    bool stillLearning;
    int driveController, mixController;
    float drive;
    bool changed;
};

TEST(MidiLearn, MessagesLearnMoveOrAreIgnored)
{
    // clang-format off
    const Case cases[] = {
        {"learning binds, moves the parameter", true, 1.0f, {{0xB4, 7, 127}}, false, 7, 999, 1.0f, true},
        {"channel mode controller", true, 1.0f, {{0xB0, 121, 0}}, true, 999, 7, 0.2f, false},
        {"MIDI off", true, 0.0f, {{0xB0, 20, 90}}, true, 999, 7, 0.2f, false},
        {"note, aftertouch, no controller", false, 1.0f, {{0x90, 20, 100}, {0xA0, 20, 100}, {0xB0, 200, 100}},
         false, 20, 7, 0.5f, false},
        {"data byte limited", false, 1.0f, {{0xB0, 20, 0xFF}}, false, 20, 7, 1.0f, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hostCalls().clear();
        RotaryEffect effect(recordingHost);
        effect.setParameter(39, c.midiChl);
        effect.assignController(kMix, 7);
        if (c.learn) {
            effect.startMidiLearn();
            effect.setParameter(kDrive, 0.2f);
        } else {
            effect.assignController(kDrive, 20);
        }
        MidiBlock block;
        for (const auto& m : c.messages) block.message(m[0], m[1], m[2]);
        EXPECT_EQ(effect.processEvents(block.record()), 1);
        EXPECT_EQ(effect.controllerMap().isLearning(), c.stillLearning);
        EXPECT_EQ(effect.controllerOfParameter(kDrive), c.driveController);
        EXPECT_EQ(effect.controllerOfParameter(kMix), c.mixController);
        EXPECT_EQ(effect.getParameter(kDrive), c.drive);
        EXPECT_EQ(effect.getParameter(kMix), 1.0f);  // Default's Mix, never moved
        EXPECT_EQ(effect.takeMidiChangedFlag(), c.changed);
        EXPECT_FALSE(effect.takeMidiChangedFlag());
    }
    // Events other than MIDI, and no list at all.
    RotaryEffect effect(recordingHost);
    vst::VstEvent sysex{};
    sysex.type = vst::kVstSysExType;
    struct {
        vst::i32 numEvents;
        vst::iptr reserved;
        vst::VstEvent* events[2];
    } list{2, 0, {&sysex, nullptr}};
    EXPECT_EQ(effect.processEvents(reinterpret_cast<vst::VstEvents*>(&list)), 1);
    EXPECT_EQ(effect.processEvents(nullptr), 1);
}

}  // namespace
}  // namespace orv::test
