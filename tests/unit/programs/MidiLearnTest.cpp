// Controller messages reaching the effect: learning, the changed flag and messages that must
// be ignored. (Channel filter, values and the speed controller are tested through the module.)

#include <gtest/gtest.h>

#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

constexpr int kDrive = 13;
constexpr int kMix = 37;
constexpr int kMidiChl = 39;

class MidiLearn : public EffectTest {};

TEST_F(MidiLearn, TheLearningMessageBindsAndMovesTheParameter)
{
    effect->assignController(kMix, 7);
    effect->startMidiLearn();
    effect->setParameter(kDrive, 0.2f);  // touching the control names the target
    MidiBlock block;
    block.controlChange(5, 7, 127);
    send(block);
    EXPECT_FALSE(effect->controllerMap().isLearning());
    EXPECT_EQ(effect->controllerOfParameter(kDrive), 7);
    EXPECT_EQ(effect->controllerOfParameter(kMix), 999);
    EXPECT_EQ(effect->getParameter(kDrive), 1.0f);
    EXPECT_EQ(effect->getParameter(kMix), 1.0f);  // Default's Mix, not moved
    EXPECT_TRUE(effect->takeMidiChangedFlag());
    EXPECT_FALSE(effect->takeMidiChangedFlag());
}

TEST_F(MidiLearn, ChannelModeControllerLeavesLearningOn)
{
    effect->startMidiLearn();
    effect->setParameter(kDrive, 0.2f);
    MidiBlock block;
    block.controlChange(1, 121, 0);
    send(block);
    EXPECT_TRUE(effect->controllerMap().isLearning());
    EXPECT_EQ(effect->controllerOfParameter(kDrive), 999);
    EXPECT_EQ(effect->getParameter(kDrive), 0.2f);
    EXPECT_FALSE(effect->takeMidiChangedFlag());
}

TEST_F(MidiLearn, NothingIsLearnedWithMidiOff)
{
    effect->setParameter(kMidiChl, 0.0f);
    effect->startMidiLearn();
    effect->setParameter(kDrive, 0.2f);
    MidiBlock block;
    block.controlChange(1, 20, 90);
    send(block);
    EXPECT_TRUE(effect->controllerMap().isLearning());
    EXPECT_EQ(effect->controllerOfParameter(kDrive), 999);
}

TEST_F(MidiLearn, NonControllerMessagesAndForeignEventsAreIgnored)
{
    effect->assignController(kDrive, 20);
    MidiBlock block;
    block.message(0x90, 20, 100);   // note on
    block.message(0xA0, 20, 100);   // aftertouch
    block.message(0xB0, 200, 100);  // no such controller
    send(block);
    EXPECT_EQ(effect->getParameter(kDrive), 0.5f);
    EXPECT_FALSE(effect->takeMidiChangedFlag());

    vst::VstEvent sysex{};
    sysex.type = vst::kVstSysExType;
    struct {
        vst::i32 numEvents;
        vst::iptr reserved;
        vst::VstEvent* events[2];
    } list{2, 0, {&sysex, nullptr}};
    EXPECT_EQ(effect->processEvents(reinterpret_cast<vst::VstEvents*>(&list)), 1);
    EXPECT_EQ(effect->processEvents(nullptr), 1);
}

TEST_F(MidiLearn, DataBytesAboveTheRangeAreLimited)
{
    effect->assignController(kDrive, 20);
    MidiBlock block;
    block.message(0xB0, 20, 0xFF);
    send(block);
    EXPECT_EQ(effect->getParameter(kDrive), 1.0f);
}

}  // namespace
}  // namespace orv::test
