// The host library on its own: the MIDI event record it builds, the answers of its callback,
// and closing. (How it refuses files that are not VST 2 modules shows in orv-render's refusals.)

#include "host/HostTestSupport.h"
#include "hostlib/MidiEventList.h"

namespace orv::test {
namespace {

TEST(MidiEventList, BuildsASortedVariableLengthRecord)
{
    MidiEventList list;
    list.addControlChange(40, 1, 7, 100);
    list.addControlChange(3, 16, 64, 127);
    list.addControlChange(40, 2, 1, 0);  // same frame as the first: keeps its order after it
    list.add(0, 0x90, 60, 200);          // data bytes are masked to 7 bits
    vst::VstEvents* rec = list.record();
    ASSERT_EQ(rec->numEvents, 4);
    EXPECT_EQ(rec->reserved, 0);
    // The pointer array starts 16 bytes into the record.
    auto* slots = reinterpret_cast<vst::VstEvent**>(reinterpret_cast<char*>(rec) + 16);
    // Type, size, frame, status, both data bytes and the unused fourth byte of each event, in order.
    const std::vector<int> expected[] = {{1, 32, 0, 0x90, 60, 200 & 0x7F, 0},
                                         {1, 32, 3, 0xBF, 64, 127, 0},
                                         {1, 32, 40, 0xB0, 7, 100, 0},
                                         {1, 32, 40, 0xB1, 1, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        const auto* e = reinterpret_cast<const vst::VstMidiEvent*>(slots[i]);
        const auto byte = [&](int k) { return static_cast<int>(static_cast<unsigned char>(e->midiData[k])); };
        EXPECT_EQ(std::vector<int>({e->type, e->byteSize, e->deltaFrames, byte(0), byte(1), byte(2), byte(3)}),
                  expected[i]);
    }
    list.clear();
    EXPECT_EQ(list.record()->numEvents, 0);
}

TEST(HostCallback, AnswersVersionRateBlockAndCanDo)
{
    PluginHost h;
    h.setSampleRate(96000.0);
    h.setBlockSize(333);
    EXPECT_EQ(h.answerCallback(vst::audioMasterVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ(h.answerCallback(vst::audioMasterGetSampleRate, 0, 0, nullptr, 0.0f), 96000);
    EXPECT_EQ(h.answerCallback(vst::audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 333);
    EXPECT_EQ(h.answerCallback(vst::audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f), 1);
    char sendEvents[] = "sendVstEvents";
    char nearMiss[] = "sendVstEvent";
    EXPECT_EQ(h.answerCallback(vst::audioMasterCanDo, 0, 0, sendEvents, 0.0f), 1);
    EXPECT_EQ(h.answerCallback(vst::audioMasterCanDo, 0, 0, nearMiss, 0.0f), 0);
    EXPECT_EQ(h.answerCallback(vst::audioMasterCanDo, 0, 0, nullptr, 0.0f), 0);
    h.setHostCanDo({"sendVstEvent"});
    EXPECT_EQ(h.answerCallback(vst::audioMasterCanDo, 0, 0, nearMiss, 0.0f), 1);
    char vendor[64] = {};
    EXPECT_EQ(h.answerCallback(vst::audioMasterGetVendorString, 0, 0, vendor, 0.0f), 1);
    EXPECT_GT(std::strlen(vendor), 0u);
    h.setHostVersion(0);
    EXPECT_EQ(h.answerCallback(vst::audioMasterVersion, 0, 0, nullptr, 0.0f), 0);
}

TEST(HostLoading, ClosingTwiceAndDispatchingAfterCloseAreHarmless)
{
    PluginHost h;
    ASSERT_TRUE(h.start(modulePath())) << h.error();
    EXPECT_TRUE(h.isResumed());
    EXPECT_EQ(h.close(), 1);
    EXPECT_EQ(h.close(), 0);
    EXPECT_EQ(h.dispatch(vst::effGetVendorVersion), 0);
    EXPECT_EQ(h.getParameter(0), 0.0f);
    // The same object can load again.
    ASSERT_TRUE(h.start(modulePath())) << h.error();
    EXPECT_EQ(h.dispatch(vst::effGetVendorVersion), 2000);
}

}  // namespace
}  // namespace orv::test
