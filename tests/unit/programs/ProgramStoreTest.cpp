// The program store of the effect: applying programs, names, the reference program, the
// performance settings shared by all programs, and the learn and forget hooks of setParameter.

#include <cstring>
#include <string>

#include "editor/CMidiPresetSystemEditor.h"
#include "params/FactoryPrograms.h"
#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

class ProgramStore : public EffectTest {};

TEST_F(ProgramStore, SelectingAppliesTheProgramTellsTheHostAndWritesNothingBack)
{
    effect->startMidiLearn();
    hostCalls().clear();
    effect->selectProgram(17);  // Whirled
    EXPECT_EQ(effect->getCurrentProgramIndex(), 17);
    EXPECT_EQ(effect->getParameter(37), 0.5f);    // Mix
    EXPECT_EQ(effect->getParameter(33), 0.708f);  // X-Talk
    EXPECT_FALSE(effect->isApplyingProgram());
    EXPECT_EQ(effect->controllerMap().learnTarget(), -1);  // applying names no learn target
    std::vector<vst::i32> order;
    for (const HostCall& c : hostCalls()) {
        if (c.opcode == vst::audioMasterUpdateDisplay || c.opcode == vst::audioMasterBeginEdit ||
            c.opcode == vst::audioMasterEndEdit) {
            order.push_back(c.opcode);
            EXPECT_EQ(c.index, 0);
        }
    }
    EXPECT_EQ(
        order,
        (std::vector<vst::i32>{vst::audioMasterUpdateDisplay, vst::audioMasterBeginEdit, vst::audioMasterEndEdit}));
    // Values outside 0..1 are skipped, and applying does not touch the stored program.
    effect->programBank().setValue(3, 13, 1.5f);  // Drive
    effect->programBank().setValue(3, 6, -0.1f);  // Bottom
    const float driveBefore = effect->getParameter(13);
    effect->selectProgram(3);
    EXPECT_EQ(effect->getParameter(13), driveBefore);
    EXPECT_EQ(effect->getParameter(6), 0.5f);  // Old Rotary keeps the default Bottom
    EXPECT_EQ(effect->getProgramRecord(3).values[13], 1.5f);
    EXPECT_EQ(effect->getProgramRecord(3).values[6], -0.1f);
}

TEST_F(ProgramStore, ChangesGoIntoTheCurrentProgramAndPerformanceSettingsIntoAll)
{
    effect->selectProgram(5);
    effect->setParameter(13, 0.9f);  // Drive
    EXPECT_EQ(effect->getProgramRecord(5).values[13], 0.9f);
    EXPECT_EQ(effect->getProgramRecord(4).values[13], FactoryPrograms::program(4).values[13]);
    for (int index : {0, 1, 2, 3, 4, 39}) {
        effect->setParameter(index, 1.0f);
        for (int p = 0; p < 48; ++p) EXPECT_EQ(effect->getProgramRecord(p).values[index], 1.0f) << index << " " << p;
    }
}

TEST_F(ProgramStore, NamesAreCutTo23CharactersAndRenamingUpdatesTheHost)
{
    char name[] = "A name of thirty characters!!!";
    effect->setProgramName(name);
    char out[64];
    std::memset(out, 'x', sizeof out);
    effect->getProgramName(out);
    EXPECT_EQ(std::string(out), std::string(name, 23));
    EXPECT_TRUE(effect->getProgramNameIndexed(0, 0, out));
    EXPECT_EQ(std::string(out), std::string(name, 23));
    EXPECT_TRUE(effect->getProgramNameIndexed(0, 47, out) && std::string(out) == "Init") << out;
    std::memset(out, 'x', sizeof out);
    for (int p : {48, -1}) EXPECT_FALSE(effect->getProgramNameIndexed(0, p, out)) << p;
    EXPECT_EQ(out[0], 'x');

    effect->selectProgram(2);
    hostCalls().clear();
    effect->renameCurrentProgram("Renamed");
    EXPECT_STREQ(effect->getProgramRecord(2).name, "Renamed");
    EXPECT_EQ(callsWith(vst::audioMasterUpdateDisplay).size(), 1u);
    effect->renameCurrentProgram(nullptr);
    EXPECT_STREQ(effect->getProgramRecord(2).name, "Renamed");
    EXPECT_EQ(effect->getProgram(), 0);
}

TEST_F(ProgramStore, ReferenceProgramInitialisesSlots)
{
    effect->storeReferenceIntoProgram(9);
    const ProgramRecord nine = effect->getProgramRecord(9);
    const ProgramRecord first = effect->getProgramRecord(0);
    EXPECT_EQ(std::memcmp(&nine, &first, sizeof(ProgramRecord)), 0);
    effect->programBank().setValue(0, 5, 0.125f);
    effect->programBank().setName(0, "Mine");
    effect->storeReferenceIntoProgram(10);
    EXPECT_STREQ(effect->getProgramRecord(10).name, "Default");  // still the factory reference
    effect->loadReferenceFromFirstProgram();
    effect->storeReferenceIntoProgram(10);
    EXPECT_STREQ(effect->getProgramRecord(10).name, "Mine");
    EXPECT_EQ(effect->getProgramRecord(10).values[5], 0.125f);
}

TEST_F(ProgramStore, TouchingAControlNamesTheLearnTargetAndForgets)
{
    effect->startMidiLearn();
    effect->setParameter(13, 0.3f);
    EXPECT_EQ(effect->controllerMap().learnTarget(), 13);
    effect->stopMidiLearn();

    effect->assignController(13, 21);
    effect->startMidiForget();
    effect->setParameter(20, 0.3f);  // forgets HDecel, which was unbound
    EXPECT_FALSE(effect->controllerMap().isForgetting());
    EXPECT_EQ(effect->controllerOfParameter(13), 21);
    effect->startMidiForget();
    effect->setParameter(13, 0.4f);
    EXPECT_EQ(effect->controllerOfParameter(13), 999);
    EXPECT_EQ(effect->parameterOfController(21), 999);
    EXPECT_FALSE(effect->controllerMap().isForgetting());
}

// Bindings cross as parameters 42..83; the last controller shown is cleared on suspend and resume.
TEST_F(ProgramStore, BindingsAsParametersAndTheLastControllerIndicator)
{
    auto* editor = dynamic_cast<CMidiPresetSystemEditor*>(effect->getEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->lastController(), -1);
    EXPECT_FLOAT_EQ(effect->getParameter(42 + 13), 128.5f / 129.0f);
    effect->setParameter(42 + 13, 7.5f / 129.0f);
    EXPECT_EQ(effect->controllerOfParameter(13), 7);
    EXPECT_EQ(effect->parameterOfController(7), 13);
    EXPECT_FLOAT_EQ(effect->getParameter(42 + 13), 7.5f / 129.0f);
    MidiBlock block;
    block.controlChange(1, 7, 100);
    send(block);
    EXPECT_EQ(editor->lastController(), 7);
    effect->suspend();
    EXPECT_EQ(editor->lastController(), -1);
    send(block);
    effect->resume();
    EXPECT_EQ(editor->lastController(), -1);
    effect->resetMidiMap();
    EXPECT_FLOAT_EQ(effect->getParameter(42 + 13), 128.5f / 129.0f);
    EXPECT_EQ(effect->controllerMap().channelStep(), 0);
}

}  // namespace
}  // namespace orv::test
