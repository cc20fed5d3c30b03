// The module's answers to a host: its exported names, effect record, entry point, every dispatcher opcode, canDo,
// pins, speaker arrangements, parameter properties and the process entries.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"

namespace orv::test {
namespace {

constexpr vst::i32 kNumParams = 42;
constexpr char kMarker = '\x5A';  // fills buffers that must stay untouched

class Dispatch : public ModuleTest {
protected:
    // The answer to an opcode with a buffer full of markers, and whether the buffer was left so.
    std::pair<vst::iptr, bool> answerLeavingBuffer(vst::i32 opcode, vst::i32 index, size_t size = 256)
    {
        std::vector<char> buf(size, kMarker);
        const vst::iptr answer = dispatch(opcode, index, 0, buf.data());
        return {answer, std::all_of(buf.begin(), buf.end(), [](char c) { return c == kMarker; })};
    }
};

TEST_F(Dispatch, EffectRecordHoldsTheDeclaredValues)
{
    const vst::AEffect* e = host.effect();
    EXPECT_EQ(e->magic, 0x56737450);  // 'VstP'
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, kNumParams);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 1 | 16 | 32 | 4096);  // editor, replacing, chunks, double replacing
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->uniqueID, ('O' << 24) | ('o' << 16) | ('G' << 8) | '1');
    EXPECT_EQ(e->version, 1);
    for (const void* entry :
         {reinterpret_cast<const void*>(e->dispatcher), reinterpret_cast<const void*>(e->process),
          reinterpret_cast<const void*>(e->setParameter), reinterpret_cast<const void*>(e->getParameter),
          reinterpret_cast<const void*>(e->processReplacing), reinterpret_cast<const void*>(e->processDoubleReplacing),
          static_cast<const void*>(e->object)})
        EXPECT_NE(entry, nullptr);
}

TEST(Entry, RefusesAHostAnsweringZeroAndMakesIndependentInstancesThatWantMidi)
{
    PluginHost refused;
    refused.setHostVersion(0);
    EXPECT_FALSE(refused.load(modulePath()));
    EXPECT_GE(refused.callCount(vst::audioMasterVersion), 1);
    EXPECT_EQ(refused.effect(), nullptr);

    PluginHost a, b;
    ASSERT_TRUE(a.load(modulePath())) << a.error();
    ASSERT_TRUE(b.start(modulePath())) << b.error();
    EXPECT_NE(a.effect()->object, b.effect()->object);
    constexpr int kWidth = 35;
    const float before = b.getParameter(kWidth);
    a.setParameter(kWidth, 0.125f);
    EXPECT_EQ(a.getParameter(kWidth), 0.125f);
    EXPECT_EQ(b.getParameter(kWidth), before);

    // MIDI is wanted at construction and on every resume, always with value 1.
    const auto wants = [&] { return static_cast<int>(a.callsWith(vst::audioMasterWantMidi).size()); };
    const int atConstruction = wants();
    EXPECT_GE(atConstruction, 1);
    a.open();
    a.resume();
    a.suspend();
    a.resume();
    EXPECT_EQ(wants(), atConstruction + 2);
    for (const auto& c : a.callsWith(vst::audioMasterWantMidi)) EXPECT_EQ(c.value, 1);
}

TEST(Entry, TheModuleExportsTheEntryNamesAndNothingElse)
{
    TempFolder dir;
    const CommandResult r = run({"nm", "-D", "--defined-only", modulePath()}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::set<std::string> names;
    std::istringstream lines(r.out);
    for (std::string address, type, name; lines >> address >> type >> name;) names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{"VSTPluginMain", "main"})) << r.out;
}

// Answers worked out by hand (data/dispatch-by-hand.txt), then the program and buffer rules.
TEST_F(Dispatch, OpcodesAndCanDoAnswerAsTabled)
{
    std::ifstream table(std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/host/data/dispatch-by-hand.txt");
    int rows = 0;
    for (std::string line; std::getline(table, line); ++rows) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string kind;
        std::getline(fields, kind, '\t');
        long long answer = 0;
        if (kind == "canDo") {
            std::string text;
            fields >> answer;
            fields.ignore(1);
            std::getline(fields, text);
            EXPECT_EQ(host.canDo(text.c_str()), answer) << "'" << text << "'";
            continue;
        }
        vst::i32 opcode = 0, index = 0;
        long long value = 0;
        float opt = 0;
        ASSERT_TRUE(fields >> opcode >> index >> value >> opt >> answer) << line;
        EXPECT_EQ(dispatch(opcode, index, static_cast<vst::iptr>(value), nullptr, opt), answer) << line;
    }
    EXPECT_GT(rows, 80);
    for (vst::iptr value : {0, 1, 5, 47, -1}) {  // the host-visible program stays 0
        EXPECT_EQ(dispatch(vst::effSetProgram, 0, value), 0);
        EXPECT_EQ(dispatch(vst::effGetProgram), 0) << value;
    }
    // Opcodes with a buffer that they answer 0 to and leave alone.
    for (vst::i32 op : {vst::effGetMidiProgramName, vst::effGetCurrentMidiProgram, vst::effGetMidiProgramCategory,
                        vst::effHasMidiProgramsChanged, vst::effGetMidiKeyName, vst::effShellGetNextPlugin,
                        vst::effBeginLoadBank, vst::effBeginLoadProgram, vst::effString2Parameter}) {
        EXPECT_EQ(answerLeavingBuffer(op, 5, 1024), std::make_pair(vst::iptr{0}, true)) << op;
    }
    vst::VstSpeakerArrangement* in = nullptr;
    vst::VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(dispatch(vst::effGetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), 0);
}

TEST_F(Dispatch, NamesOfTheEffectAndTheInternalPrograms)
{
    EXPECT_EQ(host.queryString(vst::effGetEffectName, 0), "Orv Gyrola");
    EXPECT_EQ(host.queryString(vst::effGetProductString, 0), "Orv Gyrola2 - rotary speaker emulator");
    // The vendor is a web domain: an inner dot, no blanks, within its 64-byte field.
    const std::string vendor = host.queryString(vst::effGetVendorString, 0);
    EXPECT_LT(vendor.size(), 64u);
    const size_t dot = vendor.find('.');
    EXPECT_TRUE(dot != std::string::npos && dot > 0 && dot + 1 < vendor.size()) << vendor;
    EXPECT_EQ(vendor.find(' '), std::string::npos) << vendor;

    char name[] = "Renamed By Host";
    EXPECT_EQ(dispatch(vst::effSetProgramName, 0, 0, name), 0);
    EXPECT_EQ(host.programName(), "Renamed By Host");
    char indexed[256] = {};
    EXPECT_EQ(dispatch(vst::effGetProgramNameIndexed, 0, -1, indexed), 1);  // the current program, 0
    EXPECT_STREQ(indexed, "Renamed By Host");
    EXPECT_EQ(host.queryString(vst::effGetProgramNameIndexed, 23), "Bass drive");
    EXPECT_EQ(host.queryString(vst::effGetProgramNameIndexed, 47), "Init");
    for (vst::i32 p : {48, 49, 1000})
        EXPECT_EQ(answerLeavingBuffer(vst::effGetProgramNameIndexed, p), std::make_pair(vst::iptr{0}, true)) << p;
}

TEST_F(Dispatch, PinsAndSpeakerArrangements)
{
    for (vst::i32 opcode : {vst::effGetInputProperties, vst::effGetOutputProperties}) {
        const std::string dir = opcode == vst::effGetInputProperties ? "In" : "Out";
        for (vst::i32 pin = 0; pin < 2; ++pin) {
            vst::VstPinProperties p{};
            EXPECT_EQ(dispatch(opcode, pin, 0, &p), 1) << dir << " " << pin;
            EXPECT_EQ(std::string(p.label), "Orv Gyrola " + std::to_string(pin + 1) + " " + dir);
            EXPECT_EQ(p.flags, 3);  // active and stereo
        }
        for (vst::i32 pin : {2, 3, 100})
            EXPECT_EQ(answerLeavingBuffer(opcode, pin, sizeof(vst::VstPinProperties)),
                      std::make_pair(vst::iptr{0}, true));
    }
    // One or two channels each way are accepted, and change none of the offered pins.
    const int cases[][3] = {{1, 1, 1}, {1, 2, 1}, {2, 1, 1}, {2, 2, 1}, {6, 2, 0}, {2, 6, 0},
                            {6, 6, 0}, {0, 2, 0}, {2, 0, 0}, {3, 3, 0}, {1, 8, 0}, {8, 1, 0}};
    for (const auto& [inputs, outputs, answer] : cases) {
        vst::VstSpeakerArrangement in{}, out{};
        in.numChannels = inputs;
        out.numChannels = outputs;
        EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), answer)
            << inputs << " in, " << outputs << " out";
    }
    EXPECT_EQ(host.effect()->numInputs, 2);
    EXPECT_EQ(host.effect()->numOutputs, 2);
}

TEST_F(Dispatch, ParameterPropertiesAndAutomation)
{
    // Flags, step, small step and large step: switches (flags 5) and steps of other sizes; the
    // rest are continuous (flags 4).
    const std::array<float, 4> fine = {4, 1.0f / 35.0f, 1.0f / 70.0f, 1.0f / 35.0f};
    // clang-format off
    const std::map<int, std::array<float, 4>> coarse = {
        {0, {5, 1, 1, 1}}, {1, {5, 1, 1, 1}}, {3, {5, 1, 1, 1}}, {4, {5, 1, 1, 1}}, {10, {4, 0.2f, 0.2f, 0.2f}},
        {12, {4, 0.5f, 0.5f, 0.5f}}, {40, {4, 0.5f, 0.5f, 0.5f}}, {14, {4, 0.25f, 0.25f, 0.25f}},
        {41, {4, 1.0f / 3, 1.0f / 3, 1.0f / 3}}};
    // clang-format on
    const auto expected = [&](int index) { return coarse.count(index) ? coarse.at(index) : fine; };
    for (int index = 0; index <= 85; index = index == kNumParams - 1 ? 84 : index + 1) {  // and two internal ones
        vst::VstParameterProperties p{};
        ASSERT_EQ(dispatch(vst::effGetParameterProperties, index, 0, &p), 1) << index;
        const std::array<float, 4> got = {static_cast<float>(p.flags), p.stepFloat, p.smallStepFloat, p.largeStepFloat};
        EXPECT_EQ(got, expected(index)) << index;
        const std::string name = host.paramName(index);
        EXPECT_FALSE(name.empty()) << index;
        EXPECT_EQ(std::string(p.label), name) << index;
        ASSERT_NE(std::memchr(p.shortLabel, '\0', sizeof p.shortLabel), nullptr) << index;
        EXPECT_EQ(std::string(p.shortLabel), name.substr(0, sizeof p.shortLabel - 1)) << index;
    }
    vst::VstParameterProperties p{};
    dispatch(vst::effGetParameterProperties, 84, 0, &p);  // a long name spelled out: cut to seven characters
    EXPECT_STREQ(p.label, "Horn Gain");
    EXPECT_STREQ(p.shortLabel, "Horn Ga");
    for (vst::i32 i = 0; i < kNumParams; ++i) EXPECT_EQ(dispatch(vst::effCanBeAutomated, i), 1) << i;
    for (vst::i32 i : {-1, 42, 83, 84, 166, 167}) EXPECT_EQ(dispatch(vst::effCanBeAutomated, i), 0) << i;
}

TEST_F(Dispatch, MissingBuffersAnswerZero)
{
    for (vst::i32 op : {vst::effSetProgramName, vst::effGetProgramName, vst::effGetParamLabel, vst::effGetParamDisplay,
                        vst::effGetParamName, vst::effEditGetRect, vst::effGetChunk, vst::effProcessEvents,
                        vst::effGetProgramNameIndexed, vst::effGetInputProperties, vst::effGetOutputProperties,
                        vst::effGetEffectName, vst::effGetVendorString, vst::effGetProductString, vst::effCanDo,
                        vst::effGetParameterProperties, vst::effString2Parameter}) {
        EXPECT_EQ(dispatch(op, 0, 0, nullptr), 0) << "opcode " << op;
    }
    vst::VstSpeakerArrangement stereo{};
    stereo.numChannels = 2;
    EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, 0, nullptr), 0);
    EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&stereo), nullptr), 0);
    EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, 0, &stereo), 0);
    EXPECT_EQ(dispatch(vst::effSetChunk, 0, 16, nullptr), -1);  // a chunk without data is refused
    EXPECT_EQ(host.effectName(), "Orv Gyrola");                 // still alive and answering
}

TEST_F(Dispatch, ProcessEntriesHandleBothPrecisionsAndEvents)
{
    host.queueControlChange(0, 1, 7, 100);
    host.queueControlChange(10, 1, 11, 20);
    EXPECT_EQ(host.sendQueuedEvents(), 1);

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
    EXPECT_EQ(outL, std::vector<float>(kFrames, 9.0f));
    ASSERT_TRUE(host.supportsDouble());
    for (bool useDouble : {false, true}) {
        std::fill(outL.begin(), outL.end(), 9.0f);
        host.process(in, out, kFrames, useDouble);
        for (int n = 0; n < kFrames; ++n)  // overwritten, not accumulated
            ASSERT_LT(std::fabs(outL[static_cast<size_t>(n)]), 8.0f) << n;
    }
}

}  // namespace
}  // namespace orv::test
