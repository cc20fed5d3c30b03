// The module's answers to a host: its exported names, effect record, entry point, every dispatcher opcode, canDo,
// pins, speaker arrangements, parameter properties and the process entries.

#include <cmath>
#include <set>

#include "host/HostTestSupport.h"
#include "support/GoldenRows.h"

namespace orv::test {
namespace {

class Dispatch : public ModuleTest {};

TEST_F(Dispatch, EffectRecordHoldsTheDeclaredValues)
{
    const vst::AEffect* e = host.effect();
    // 'VstP'; programs, parameters, inputs, outputs; editor, replacing, chunks and double
    // replacing; no delay, ratio 1, 'OoG1', version 1.
    EXPECT_EQ((std::vector<double>{double(e->magic), double(e->numPrograms), double(e->numParams), double(e->numInputs),
                                   double(e->numOutputs), double(e->flags), double(e->initialDelay), e->ioRatio,
                                   double(e->uniqueID), double(e->version)}),
              (std::vector<double>{0x56737450, 1, 42, 2, 2, 1 | 16 | 32 | 4096, 0, 1, 0x4F6F4731, 1}));
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

// Answers worked out by hand (data/dispatch-by-hand.txt, whose comments say what each kind of
// row sends and expects), all to one instance in the order of the file.
TEST_F(Dispatch, OpcodesCanDoBuffersArrangementsAndPropertiesAnswerAsTabled)
{
    const auto rows = dataRows(testData("host/data/dispatch-by-hand.txt"));
    EXPECT_GT(rows.size(), 230u);
    for (const std::vector<std::string>& r : rows) {
        SCOPED_TRACE(r[0] + " " + r.at(1) + " " + (r.size() > 2 ? r[2] : ""));
        const auto n = [&](size_t k) { return static_cast<vst::i32>(std::stoll(r.at(k))); };
        if (r[0] == "canDo") {
            EXPECT_EQ(host.canDo(r.size() > 2 ? r[2] : ""), n(1));
        } else if (r[0] == "opcode") {
            EXPECT_EQ(dispatch(n(1), n(2), std::stoll(r.at(3)), nullptr, std::stof(r.at(4))), std::stoll(r.at(5)));
        } else if (r[0] == "untouched") {
            std::vector<char> buf(static_cast<size_t>(n(3)), '\x5A');
            EXPECT_EQ(dispatch(n(1), n(2), 0, buf.data()), 0);
            EXPECT_EQ(std::count(buf.begin(), buf.end(), '\x5A'), n(3));
        } else if (r[0] == "text") {
            EXPECT_EQ(host.queryString(n(1), n(2)), r.at(3));
        } else if (r[0] == "speakers") {
            vst::VstSpeakerArrangement in{}, out{};
            in.numChannels = n(1);
            out.numChannels = n(2);
            EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), n(3));
        } else {
            ASSERT_EQ(r[0], "properties");
            const std::string& label = r.at(6);
            vst::VstParameterProperties p{};
            ASSERT_EQ(dispatch(vst::effGetParameterProperties, n(1), 0, &p), 1);
            EXPECT_EQ(std::vector<float>({float(p.flags), p.stepFloat, p.smallStepFloat, p.largeStepFloat}),
                      std::vector<float>({float(n(2)), std::stof(r[3]), std::stof(r[4]), std::stof(r[5])}));
            EXPECT_EQ(host.paramName(n(1)), label);
            EXPECT_EQ(std::string(p.label), label);
            ASSERT_NE(std::memchr(p.shortLabel, '\0', sizeof p.shortLabel), nullptr);
            EXPECT_EQ(std::string(p.shortLabel), label.substr(0, sizeof p.shortLabel - 1));  // seven characters
        }
    }
    // Speaker arrangements change none of the offered pins; asking for them gives nothing.
    EXPECT_EQ(host.effect()->numInputs, 2);
    EXPECT_EQ(host.effect()->numOutputs, 2);
    vst::VstSpeakerArrangement* in = nullptr;
    vst::VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(dispatch(vst::effGetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&in), &out), 0);
    // A speaker arrangement with one record missing is refused, and the effect still answers.
    vst::VstSpeakerArrangement stereo{};
    stereo.numChannels = 2;
    EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(&stereo), nullptr), 0);
    EXPECT_EQ(dispatch(vst::effSetSpeakerArrangement, 0, 0, &stereo), 0);
    EXPECT_EQ(host.effectName(), "Orv Gyrola");
}

TEST_F(Dispatch, VendorAndTheProgramNameSetByTheHost)
{
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
}

TEST_F(Dispatch, PinsAreActiveStereoAndNamed)
{
    for (vst::i32 opcode : {vst::effGetInputProperties, vst::effGetOutputProperties}) {
        for (vst::i32 pin = 0; pin < 2; ++pin) {
            vst::VstPinProperties p{};
            EXPECT_EQ(dispatch(opcode, pin, 0, &p), 1);
            EXPECT_EQ(std::string(p.label),
                      "Orv Gyrola " + std::to_string(pin + 1) +
                          (opcode == vst::effGetInputProperties ? " In" : " Out"));
            EXPECT_EQ(p.flags, 3);  // active and stereo
        }
    }
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
