// The module's answers to a host: effect record, entry point, every dispatcher opcode, canDo,
// pins, speaker arrangements and parameter properties.

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"

namespace orv::test {
namespace {

constexpr vst::i32 kNumParams = 42;
constexpr vst::i32 kInternalPrograms = 48;
constexpr vst::i32 kEditorWidth = 448;
constexpr vst::i32 kEditorHeight = 696;
constexpr char kMarker = '\x5A';  // fills buffers that must stay untouched

class Dispatch : public ModuleTest {};

std::vector<char> markedBuffer(size_t n = 256) { return std::vector<char>(n, kMarker); }

bool untouched(const std::vector<char>& buf) {
    for (char c : buf) {
        if (c != kMarker) return false;
    }
    return true;
}

TEST_F(Dispatch, EffectRecordHoldsTheDeclaredValues) {
    const vst::AEffect* e = host.effect();
    EXPECT_EQ(e->magic, 0x56737450);  // 'VstP'
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, kNumParams);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    // has-editor (1) comes with the editor object; the rest is fixed.
    EXPECT_EQ(e->flags & ~1, 16 | 32 | 4096);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_NE(e->object, nullptr);
    EXPECT_EQ(e->uniqueID, ('O' << 24) | ('o' << 16) | ('G' << 8) | '1');
    EXPECT_EQ(e->version, 1);
    EXPECT_NE(e->dispatcher, nullptr);
    EXPECT_NE(e->process, nullptr);
    EXPECT_NE(e->setParameter, nullptr);
    EXPECT_NE(e->getParameter, nullptr);
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->processDoubleReplacing, nullptr);
}

TEST(Entry, AsksTheHostVersionAndRefusesAHostAnsweringZero) {
    PluginHost refused;
    refused.setHostVersion(0);
    EXPECT_FALSE(refused.load(modulePath()));
    EXPECT_GE(refused.callCount(vst::audioMasterVersion), 1);
    EXPECT_EQ(refused.effect(), nullptr);

    PluginHost accepted;
    ASSERT_TRUE(accepted.load(modulePath())) << accepted.error();
    EXPECT_GE(accepted.callCount(vst::audioMasterVersion), 1);
}

TEST(Entry, EachCallMakesAnIndependentInstance) {
    PluginHost a, b;
    ASSERT_TRUE(a.start(modulePath())) << a.error();
    ASSERT_TRUE(b.start(modulePath())) << b.error();
    EXPECT_NE(a.effect(), b.effect());
    EXPECT_NE(a.effect()->object, b.effect()->object);
    constexpr int kWidth = 35;
    const float before = b.getParameter(kWidth);
    a.setParameter(kWidth, 0.125f);
    EXPECT_EQ(a.getParameter(kWidth), 0.125f);
    EXPECT_EQ(b.getParameter(kWidth), before);
}

TEST(Entry, WantsMidiAtConstructionAndOnEveryResume) {
    PluginHost h;
    ASSERT_TRUE(h.load(modulePath())) << h.error();
    auto wants = [&] {
        int n = 0;
        for (const auto& c : h.callsWith(vst::audioMasterWantMidi)) n += c.value == 1 ? 1 : 0;
        return n;
    };
    const int atConstruction = wants();
    EXPECT_GE(atConstruction, 1);
    EXPECT_EQ(static_cast<int>(h.callsWith(vst::audioMasterWantMidi).size()), atConstruction);  // always value 1
    h.open();
    h.resume();
    EXPECT_EQ(wants(), atConstruction + 1);
    h.suspend();
    h.resume();
    EXPECT_EQ(wants(), atConstruction + 2);
}

TEST_F(Dispatch, CloseAnswersOne) {
    EXPECT_EQ(host.close(), 1);
    EXPECT_FALSE(host.isLoaded());
}

TEST_F(Dispatch, BasicOpcodesAnswerAsTabled) {
    EXPECT_EQ(dispatch(vst::effOpen), 0);
    EXPECT_EQ(dispatch(vst::effGetProgram), 0);
    EXPECT_EQ(dispatch(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(dispatch(vst::effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(dispatch(vst::effMainsChanged, 0, 0), 0);
    EXPECT_EQ(dispatch(vst::effMainsChanged, 0, 1), 0);
    EXPECT_EQ(dispatch(vst::effIdentify), ('N' << 24) | ('v' << 16) | ('E' << 8) | 'f');
    char buf[256] = {};
    EXPECT_EQ(dispatch(vst::effGetParamName, 0, 0, buf), 0);
    EXPECT_EQ(dispatch(vst::effGetParamLabel, 0, 0, buf), 0);
    EXPECT_EQ(dispatch(vst::effGetParamDisplay, 0, 0, buf), 0);
    EXPECT_EQ(dispatch(vst::effGetProgramName, 0, 0, buf), 0);
}

TEST_F(Dispatch, HostVisibleProgramStaysZero) {
    for (vst::iptr value : {0, 1, 5, 47, -1}) {
        EXPECT_EQ(dispatch(vst::effSetProgram, 0, value), 0);
        EXPECT_EQ(dispatch(vst::effGetProgram), 0) << "after effSetProgram " << value;
    }
}

TEST_F(Dispatch, ProgramNamesOfTheInternalPrograms) {
    char name[] = "Renamed By Host";
    EXPECT_EQ(dispatch(vst::effSetProgramName, 0, 0, name), 0);
    EXPECT_EQ(host.programName(), "Renamed By Host");
    // The current internal program after construction is program 0.
    char indexed[256] = {};
    EXPECT_EQ(dispatch(vst::effGetProgramNameIndexed, 0, -1, indexed), 1);
    EXPECT_STREQ(indexed, "Renamed By Host");

    for (vst::i32 p = 0; p < kInternalPrograms; ++p) {
        char buf[256] = {};
        EXPECT_EQ(dispatch(vst::effGetProgramNameIndexed, p, 0, buf), 1) << "program " << p;
        EXPECT_LT(std::strlen(buf), 24u) << "program " << p;  // 24-byte name field
    }
    for (vst::i32 p : {48, 49, 1000}) {
        auto buf = markedBuffer();
        EXPECT_EQ(dispatch(vst::effGetProgramNameIndexed, p, 0, buf.data()), 0) << "program " << p;
        EXPECT_TRUE(untouched(buf)) << "program " << p;
    }
}

TEST_F(Dispatch, EditorOpcodesFollowTheEditorObject) {
    const bool hasEditor = (host.effect()->flags & vst::effFlagsHasEditor) != 0;
    vst::ERect* rect = nullptr;
    const vst::iptr rectAnswer = dispatch(vst::effEditGetRect, 0, 0, &rect);
    if (!hasEditor) {
        EXPECT_EQ(rectAnswer, 0);
        EXPECT_EQ(dispatch(vst::effEditOpen, 0, 0, nullptr), 0);
        EXPECT_EQ(dispatch(vst::effEditClose), 0);
        EXPECT_EQ(dispatch(vst::effEditIdle), 0);
        EXPECT_EQ(dispatch(vst::effEditKeyDown, 'a', 0), 0);
        EXPECT_EQ(dispatch(vst::effEditKeyUp, 'a', 0), 0);
        EXPECT_EQ(dispatch(vst::effSetEditKnobMode, 0, 2), 0);
        return;
    }
    ASSERT_EQ(rectAnswer, 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, kEditorHeight);
    EXPECT_EQ(rect->right, kEditorWidth);
    EXPECT_EQ(dispatch(vst::effEditClose), 0);  // closing a window that is not open
    EXPECT_EQ(dispatch(vst::effEditIdle), 0);
    // Keys go to the editor's frame, and a closed editor has none to use them.
    EXPECT_EQ(dispatch(vst::effEditKeyDown, 'a', 0), 0);
    EXPECT_EQ(dispatch(vst::effEditKeyUp, 'a', 0), 0);
    EXPECT_EQ(dispatch(vst::effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(dispatch(vst::effSetEditKnobMode, 0, 0), 1);
}

TEST_F(Dispatch, IdentityStrings) {
    char buf[256];
    std::memset(buf, 0, sizeof buf);
    EXPECT_EQ(dispatch(vst::effGetEffectName, 0, 0, buf), 1);
    EXPECT_STREQ(buf, "Orv Gyrola");
    std::memset(buf, 0, sizeof buf);
    EXPECT_EQ(dispatch(vst::effGetProductString, 0, 0, buf), 1);
    EXPECT_STREQ(buf, "Orv Gyrola2 - rotary speaker emulator");
    std::memset(buf, 0, sizeof buf);
    EXPECT_EQ(dispatch(vst::effGetVendorString, 0, 0, buf), 1);
    // A web domain: at least one inner dot, no blanks, fits the 64-byte field.
    const std::string vendor = buf;
    EXPECT_LT(vendor.size(), 64u);
    const size_t dot = vendor.find('.');
    EXPECT_NE(dot, std::string::npos) << vendor;
    EXPECT_GT(dot, 0u) << vendor;
    EXPECT_LT(dot + 1, vendor.size()) << vendor;
    EXPECT_EQ(vendor.find(' '), std::string::npos) << vendor;
    EXPECT_EQ(dispatch(vst::effGetVendorVersion), 2000);
    EXPECT_EQ(dispatch(vst::effGetVstVersion), 2400);
    EXPECT_EQ(dispatch(vst::effGetPlugCategory), 1);
}

TEST_F(Dispatch, CanDoAnswersOneForItsListAndZeroForEverythingElse) {
    for (const char* yes : {"offline", "plugAsChannelInsert", "1in1out", "1in2out", "2in2out", "receiveVstMidiEvent"}) {
        EXPECT_EQ(host.canDo(yes), 1) << yes;
    }
    // Near misses and texts other effects answer: compared exactly, terminator included.
    for (const char* no : {"2in1out", "offline ", "Offline", "offlin", "1in1outs", "2in2", "receiveVstEvents",
                           "receiveVstMidiEvents", "receiveVstTimeInfo", "sendVstEvents", "sendVstMidiEvent", "bypass",
                           "midiProgramNames", "plugAsSend", "4in4out", "", " 2in2out"}) {
        EXPECT_EQ(host.canDo(no), 0) << "'" << no << "'";
    }
}

TEST_F(Dispatch, PinPropertiesForTwoPinsEachWay) {
    for (vst::i32 opcode : {vst::effGetInputProperties, vst::effGetOutputProperties}) {
        const char* dir = opcode == vst::effGetInputProperties ? "In" : "Out";
        for (vst::i32 pin = 0; pin < 2; ++pin) {
            vst::VstPinProperties p;
            std::memset(&p, 0, sizeof p);
            EXPECT_EQ(dispatch(opcode, pin, 0, &p), 1) << dir << " " << pin;
            EXPECT_EQ(std::string(p.label), "Orv Gyrola " + std::to_string(pin + 1) + " " + dir);
            EXPECT_EQ(p.flags, 3);  // active and stereo
        }
        for (vst::i32 pin : {2, 3, 100}) {
            auto buf = markedBuffer(sizeof(vst::VstPinProperties));
            EXPECT_EQ(dispatch(opcode, pin, 0, buf.data()), 0) << dir << " " << pin;
            EXPECT_TRUE(untouched(buf)) << dir << " " << pin;
        }
    }
}

// A speaker arrangement record with a given channel count (the record holds up to eight).
vst::VstSpeakerArrangement arrangement(int channels) {
    vst::VstSpeakerArrangement a;
    std::memset(&a, 0, sizeof a);
    a.numChannels = channels;
    a.type = channels == 1 ? 0 : channels == 2 ? 1 : -2;  // mono, stereo, user-defined
    return a;
}

TEST_F(Dispatch, SpeakerArrangementsAcceptOneOrTwoChannelsEachWay) {
    struct Case {
        int in, out;
        vst::iptr answer;
    };
    const Case cases[] = {
        {1, 1, 1}, {1, 2, 1}, {2, 1, 1}, {2, 2, 1},  // the four accepted layouts
        {6, 2, 0}, {2, 6, 0}, {6, 6, 0}, {0, 2, 0}, {2, 0, 0}, {3, 3, 0}, {1, 8, 0}, {8, 1, 0},
    };
    for (const Case& c : cases) {
        vst::VstSpeakerArrangement in = arrangement(c.in), out = arrangement(c.out);
        EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), c.answer)
            << c.in << " in, " << c.out << " out";
    }
    // The stereo flags are not visible to a host, but the arrangement does not change the
    // pins the effect offers.
    EXPECT_EQ(host.effect()->numInputs, 2);
    EXPECT_EQ(host.effect()->numOutputs, 2);
}

TEST_F(Dispatch, ParameterPropertiesTable) {
    struct Expect {
        vst::i32 flags;
        float step, small, large;
    };
    auto expected = [](int index) -> Expect {
        switch (index) {
            case 0: case 1: case 3: case 4: return {5, 1.0f, 1.0f, 1.0f};
            case 10: return {4, 0.2f, 0.2f, 0.2f};
            case 12: case 40: return {4, 0.5f, 0.5f, 0.5f};
            case 14: return {4, 0.25f, 0.25f, 0.25f};
            case 41: return {4, 1.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f};
            default: return {4, 1.0f / 35.0f, 1.0f / 70.0f, 1.0f / 35.0f};
        }
    };
    for (int index : [] {
             std::vector<int> v;
             for (int i = 0; i < kNumParams; ++i) v.push_back(i);
             v.push_back(84);   // an internal parameter with a long name
             v.push_back(85);
             return v;
         }()) {
        vst::VstParameterProperties p;
        std::memset(&p, 0, sizeof p);
        ASSERT_EQ(dispatch(vst::effGetParameterProperties, index, 0, &p), 1) << index;
        const Expect e = expected(index);
        EXPECT_EQ(p.flags, e.flags) << index;
        EXPECT_FLOAT_EQ(p.stepFloat, e.step) << index;
        EXPECT_FLOAT_EQ(p.smallStepFloat, e.small) << index;
        EXPECT_FLOAT_EQ(p.largeStepFloat, e.large) << index;
        const std::string name = host.paramName(index);
        EXPECT_FALSE(name.empty()) << index;
        EXPECT_EQ(std::string(p.label), name) << index;
        ASSERT_NE(std::memchr(p.shortLabel, '\0', sizeof p.shortLabel), nullptr) << index;
        EXPECT_EQ(std::string(p.shortLabel), name.substr(0, sizeof p.shortLabel - 1)) << index;
    }
    // Two names longer than the short field, spelled out: cut to seven characters.
    vst::VstParameterProperties p;
    std::memset(&p, 0, sizeof p);
    dispatch(vst::effGetParameterProperties, 21, 0, &p);
    EXPECT_STREQ(p.label, "HDistance");
    EXPECT_STREQ(p.shortLabel, "HDistan");
    std::memset(&p, 0, sizeof p);
    dispatch(vst::effGetParameterProperties, 84, 0, &p);
    EXPECT_STREQ(p.label, "Horn Gain");
    EXPECT_STREQ(p.shortLabel, "Horn Ga");
}

TEST_F(Dispatch, ExtendedOpcodesAnswerAsTabled) {
    for (vst::i32 i = 0; i < kNumParams; ++i) EXPECT_EQ(dispatch(vst::effCanBeAutomated, i), 1) << i;
    for (vst::i32 i : {-1, 42, 83, 84, 166, 167}) EXPECT_EQ(dispatch(vst::effCanBeAutomated, i), 0) << i;

    char text[] = "0.5";
    EXPECT_EQ(dispatch(vst::effString2Parameter, 5, 0, text), 0);
    EXPECT_EQ(dispatch(vst::effOfflineNotify), 0);
    EXPECT_EQ(dispatch(vst::effOfflinePrepare), 0);
    EXPECT_EQ(dispatch(vst::effOfflineRun), 0);
    EXPECT_EQ(dispatch(vst::effProcessVarIo), 0);
    EXPECT_EQ(dispatch(vst::effSetBypass, 0, 1), 0);
    EXPECT_EQ(dispatch(vst::effSetBypass, 0, 0), 0);
    EXPECT_EQ(dispatch(vst::effVendorSpecific, 1, 2, nullptr, 3.0f), 0);
    EXPECT_EQ(dispatch(vst::effGetTailSize), 0);
    for (vst::i32 op = vst::effGetMidiProgramName; op <= vst::effGetMidiKeyName; ++op) {
        std::vector<char> buf(1024, 0);  // larger than any of the MIDI name records
        EXPECT_EQ(dispatch(op, 0, 0, buf.data()), 0) << op;
    }
    EXPECT_EQ(dispatch(vst::effBeginSetProgram), 0);
    EXPECT_EQ(dispatch(vst::effEndSetProgram), 0);
    vst::VstSpeakerArrangement* in = nullptr;
    vst::VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(dispatch(vst::effGetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), 0);
    char name[256] = {};
    EXPECT_EQ(dispatch(vst::effShellGetNextPlugin, 0, 0, name), 0);
    EXPECT_EQ(dispatch(vst::effStartProcess), 0);
    EXPECT_EQ(dispatch(vst::effStopProcess), 0);
    for (vst::iptr n : {0, 1, 12345, 48000 * 60}) EXPECT_EQ(dispatch(vst::effSetTotalSampleToProcess, 0, n), n);
    EXPECT_EQ(dispatch(vst::effSetPanLaw, 0, 1, nullptr, 0.707f), 0);
    std::vector<char> info(64, 0);
    EXPECT_EQ(dispatch(vst::effBeginLoadBank, 0, 0, info.data()), 0);
    EXPECT_EQ(dispatch(vst::effBeginLoadProgram, 0, 0, info.data()), 0);
    EXPECT_EQ(dispatch(vst::effSetProcessPrecision, 0, 1), 0);
    EXPECT_EQ(dispatch(vst::effSetProcessPrecision, 0, 0), 0);
    EXPECT_EQ(dispatch(vst::effGetNumMidiInputChannels), 0);
    EXPECT_EQ(dispatch(vst::effGetNumMidiOutputChannels), 0);
}

TEST_F(Dispatch, DeprecatedAndUnknownOpcodesAnswerZero) {
    for (vst::i32 op : {9, 16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, 80, 81, 100, 1000, -1}) {
        EXPECT_EQ(dispatch(op, 0, 0, nullptr), 0) << "opcode " << op;
    }
}

TEST_F(Dispatch, ProcessEventsTakesAControlChange) {
    host.queueControlChange(0, 1, 7, 100);
    host.queueControlChange(10, 1, 11, 20);
    EXPECT_EQ(host.sendQueuedEvents(), 1);
}

TEST_F(Dispatch, NullBufferAnswersZero) {
    // Every request that should carry a buffer, sent without one.
    for (vst::i32 op : {vst::effSetProgramName, vst::effGetProgramName, vst::effGetParamLabel, vst::effGetParamDisplay,
                        vst::effGetParamName, vst::effEditGetRect, vst::effGetChunk, vst::effProcessEvents,
                        vst::effGetProgramNameIndexed, vst::effGetInputProperties, vst::effGetOutputProperties,
                        vst::effGetEffectName, vst::effGetVendorString, vst::effGetProductString, vst::effCanDo,
                        vst::effGetParameterProperties, vst::effString2Parameter}) {
        EXPECT_EQ(dispatch(op, 0, 0, nullptr), 0) << "opcode " << op;
    }
    vst::VstSpeakerArrangement stereo = arrangement(2);
    EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, 0, nullptr), 0);
    EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&stereo), nullptr), 0);
    EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, 0, &stereo), 0);
    EXPECT_EQ(dispatch(vst::effSetChunk, 0, 16, nullptr), -1);  // a chunk without data is refused
    // The effect is still alive and answering.
    EXPECT_EQ(host.effectName(), "Orv Gyrola");
}

TEST_F(Dispatch, ProcessEntriesHandleBothPrecisions) {
    constexpr int kFrames = 256;
    std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames, 9.0f), outR(kFrames, 9.0f);
    for (int n = 0; n < kFrames; ++n) {
        inL[static_cast<size_t>(n)] = 0.25f * static_cast<float>(std::sin(0.05 * n));
        inR[static_cast<size_t>(n)] = 0.25f * static_cast<float>(std::cos(0.05 * n));
    }
    const float* in[] = {inL.data(), inR.data()};
    float* out[] = {outL.data(), outR.data()};

    // The old accumulating entry does nothing: the outputs keep what they held.
    host.effect()->process(host.effect(), const_cast<float**>(in), out, kFrames);
    for (int n = 0; n < kFrames; ++n) ASSERT_EQ(outL[static_cast<size_t>(n)], 9.0f) << n;

    host.process(in, out, kFrames);
    for (int n = 0; n < kFrames; ++n) {
        ASSERT_TRUE(std::isfinite(outL[static_cast<size_t>(n)]) && std::isfinite(outR[static_cast<size_t>(n)])) << n;
        ASSERT_LT(std::fabs(outL[static_cast<size_t>(n)]), 8.0f) << n;  // overwritten, not accumulated
    }
    ASSERT_TRUE(host.supportsDouble());
    std::fill(outL.begin(), outL.end(), 9.0f);
    host.process(in, out, kFrames, true);
    for (int n = 0; n < kFrames; ++n) {
        ASSERT_TRUE(std::isfinite(outL[static_cast<size_t>(n)])) << n;
        ASSERT_LT(std::fabs(outL[static_cast<size_t>(n)]), 8.0f) << n;
    }
}

}  // namespace
}  // namespace orv::test
