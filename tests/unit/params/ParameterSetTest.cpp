// Index space, initial values, getParameter rules, store semantics and the derived quantities.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "params/ParameterSet.h"

namespace orv {
namespace {

// Names of every named index, written out independently of the table.
const std::map<int, std::string>& expectedNames() {
    static const std::map<int, std::string> names = {
        {0, "Bypass"}, {1, "CPUmode"}, {2, "Lever"}, {3, "Speed"}, {4, "Stop"}, {5, "Mech"}, {6, "Bottom"},
        {7, "LoMid"}, {8, "Presence"}, {9, "TopShlf"}, {10, "Setup"}, {11, "Input"}, {12, "Type"},
        {13, "Drive"}, {14, "Size"}, {15, "Color"}, {16, "Amount"}, {17, "HSlowSpd"}, {18, "HFastSpd"},
        {19, "HAccel"}, {20, "HDecel"}, {21, "HDistance"}, {22, "HHPF"}, {23, "HGain"}, {24, "DSlowSpd"},
        {25, "DFastSpd"}, {26, "DAccel"}, {27, "DDecel"}, {28, "DDistance"}, {29, "DLPF"}, {30, "DGain"},
        {31, "SpkrConf"}, {32, "BReflex"}, {33, "X-Talk"}, {34, "MechRatio"}, {35, "Width"}, {36, "Balance"},
        {37, "Mix"}, {38, "Output"}, {39, "MIDIchl"}, {40, "LvrMode"}, {41, "SpdMode"},
        {84, "Horn Gain"}, {85, "Horn Mic1 Angle"}, {86, "Horn Mic1 Panorama"}, {87, "Horn Mic2 Angle"},
        {88, "Horn Mic2 Distance"}, {89, "Horn Mic2 Panorama"}, {90, "Horn Mic2 Gain"}, {91, "Horn FM Radius"},
        {92, "Horn Attenuation"}, {93, "Horn Ray 1 (front)"}, {94, "Horn Ray 2 (back/sides)"},
        {95, "Horn Ray 3 (back-right)"}, {96, "Horn Ray 4 (back-left)"}, {97, "Horn Ray 5 (LBR)"},
        {98, "Horn Ray 6 (RBL)"}, {99, "Horn Rays 7-10 (misc)"}, {100, "Horn LPF cut low"},
        {101, "Horn LPF cut high"}, {102, "Horn Reflection coeff"}, {103, "Horn Z-axis rays"},
        {105, "Horn Flip"}, {107, "Horn Reflection LPF"}, {108, "Drum Gain"}, {109, "Drum Mic1 Angle"},
        {110, "Drum Mic1 Pan"}, {115, "Drum FM Radius"}, {116, "Drum Attenuation"},
        {117, "Drum Reflection coeff"}, {119, "Horn Open Back Mode"}, {120, "Drum Open Back Mode"},
        {121, "Amp Post-drive Gain"}, {122, "BR to Tube Mic Gain"}, {123, "BR to Drum Mic Gain"},
        {124, "Drum->Tube feedback"}, {125, "Horn->Drum feedback"}, {127, "Drum Flip"},
        {132, "Drum Ray 1 (front)"}, {133, "Drum Ray 2 (back/sides)"}, {134, "Drum LPF cut low"},
        {135, "Drum LPF cut high"}, {136, "Drum Reflection LPF"}, {137, "Horn Attenuation distance"},
        {138, "Drum Attenuation distance"}, {139, "Horn Static Ray"}, {140, "Horn Att Decay Exp"},
        {141, "Drum Att Decay Exp"}, {142, "Drum Static Ray"}, {143, "Horn AM Radius"}, {144, "Drum AM Radius"},
        {145, "Horn Filter Saturation"}, {146, "Early Refl. Room Size"}, {147, "Early Refl. Virtual Room Size"},
        {148, "Early Refl. LR Delay"}, {149, "Slow Sample Volume"}, {150, "Fast Sample Volume"},
        {151, "Accel Sample Volume"}, {152, "Decel Sample Volume"}, {153, "Early Refl. Main Cutoff"},
        {154, "Early Refl. X Cutoff"}, {156, "Slow Speed Button"}, {157, "Drum Filter Saturation"},
        {158, "Drum Static Filter Cutoff"}, {159, "Horn Static Filter Cutoff"}, {160, "Drum Ray 3 (back-left)"},
        {161, "Drum Ray 4 (back-right)"}, {162, "Drum Sample Volume"}, {163, "Drum Splitter Frequency"},
        {164, "Drum LP Static Gain"}, {165, "Bypass Speakers (Amp Only)"}, {166, "Horn Amplitude Clip"},
    };
    return names;
}

// The "Default" program's values of the user parameters.
constexpr float kDefaults[42] = {0,     0,        0,   0,        0,        0.5,      0.5,      0.5,     0.501063,
                                 0.5,   0.25,     0.500008, 0.5, 0.5,      0,        0.508422, 0,       0.0673,
                                 0.677088, 0.395142, 0.447158, 0.5, 0,     0.5,      0.0931,   0.65282, 0.759256,
                                 0.831378, 0,     1,   0.5,      0.5,      0.5,      0.5,      0.5,     0.5,
                                 0.5,   1,        0.5, 1,        0,        0};

// Construction values of the named internal parameters.
const std::map<int, float>& constructionValues() {
    static const std::map<int, float> values = {
        {84, 0.5f},       {85, 0.19f},      {86, 0.0f},       {87, 0.52f},      {88, 0.2575f},
        {89, 1.0f},       {90, 0.55f},      {91, 0.245586f},  {92, 0.497676f},  {93, 0.497715f},
        {94, 0.5f},       {95, 0.5f},       {96, 0.5f},       {97, 0.5f},       {98, 0.5f},
        {99, 0.559258f},  {100, 0.0f},      {101, 1.0f},      {102, 0.922695f}, {103, 0.696738f},
        {105, 0.0f},      {107, 0.348672f}, {108, 0.61418f},  {109, 0.5f},      {110, 0.476328f},
        {115, 0.658691f}, {116, 0.492148f}, {117, 0.923145f}, {119, 0.0f},      {120, 0.0f},
        {121, 0.5f},      {122, 0.06f},     {123, 0.184834f}, {124, 0.4f},      {125, 0.3f},
        {127, 0.0f},      {132, 0.5f},      {133, 0.5f},      {134, 0.849902f}, {135, 1.0f},
        {136, 0.13f},     {137, 0.657754f}, {138, 0.653926f}, {139, 0.353047f}, {140, 0.5f},
        {141, 0.500977f}, {142, 0.0f},      {143, 0.658926f}, {144, 0.67334f},  {145, 0.3f},
        {146, 0.193426f}, {147, 0.371357f}, {148, 0.241094f}, {149, 0.125f},    {150, 0.170079f},
        {151, 0.100002f}, {152, 0.120002f}, {153, 0.69897f},  {154, 0.0f},      {156, 0.0f},
        {157, 0.5f},      {158, 1.0f},      {159, 0.256055f}, {160, 0.5f},      {161, 0.5f},
        {162, 0.789297f}, {163, 0.30103f},  {164, 0.328904f}, {165, 0.0f},      {166, 0.795879f},
    };
    return values;
}

std::string name(const ParameterSet& p, int index) {
    char text[ParameterSet::kTextSize];
    std::memset(text, 'x', sizeof(text));
    p.getName(index, text);
    return text;
}

std::string label(const ParameterSet& p, int index) {
    char text[ParameterSet::kTextSize];
    std::memset(text, 'x', sizeof(text));
    p.getLabel(index, text);
    return text;
}

TEST(ParameterSetIndexSpace, NamesOfEveryIndex) {
    ParameterSet p;
    const auto& names = expectedNames();
    EXPECT_EQ(names.size(), 112u);
    for (int i = -3; i < ParameterSet::kNumIndices + 3; ++i) {
        const auto it = names.find(i);
        const std::string expected = it == names.end() ? "" : it->second;
        EXPECT_EQ(name(p, i), expected) << i;
        EXPECT_EQ(ParameterSet::isNamed(i), it != names.end()) << i;
    }
}

TEST(ParameterSetIndexSpace, GlobalAndPerformanceParameters) {
    const std::set<int> global = {31, 32, 33, 34, 35, 36, 37, 38, 40, 41};
    const std::set<int> performance = {0, 1, 2, 3, 4, 39};
    for (int i = -100; i < 0; ++i) EXPECT_TRUE(ParameterSet::isGlobalParameter(i)) << i;
    for (int i = 0; i < 250; ++i) {
        EXPECT_EQ(ParameterSet::isGlobalParameter(i), global.count(i) == 1) << i;
        EXPECT_EQ(ParameterSet::isPerformanceParameter(i), performance.count(i) == 1) << i;
    }
}

TEST(ParameterSetIndexSpace, FixedLabels) {
    ParameterSet p;
    const std::map<int, std::string> labels = {
        {5, "dB"},     {6, "dB"},     {7, "dB"},     {8, "dB"},     {9, "dB"},     {11, "dB"},    {13, "dB"},
        {15, "%"},     {16, "dB"},    {17, "Hz"},    {18, "Hz"},    {23, "dB"},    {24, "Hz"},    {25, "Hz"},
        {30, "dB"},    {32, "dB"},    {33, "dB"},    {35, "%"},     {37, "%"},     {38, "dB"},    {84, "dB"},
        {85, "deg"},   {86, "%"},     {87, "deg"},   {88, "%"},     {89, "%"},     {90, "dB"},    {91, "cm"},
        {102, "dB"},   {107, "oct"},  {108, "dB"},   {109, "deg"},  {110, "%"},    {115, "cm"},   {117, "dB"},
        {121, "dB"},   {122, "dB"},   {123, "dB"},   {124, "dB"},   {125, "dB"},   {136, "oct"},  {137, "cm"},
        {138, "cm"},   {143, "cm"},   {144, "cm"},   {148, "cm"},   {149, "dB"},   {150, "dB"},   {151, "dB"},
        {152, "dB"},   {162, "dB"},   {164, "dB"},   {166, "dB"},
    };
    // Parameters whose label the value text chooses (time, distance, frequency).
    const std::set<int> chosen = {19, 20, 21, 22, 26, 27, 28, 29, 100, 101, 134, 135, 153, 159, 163};
    for (int i = -2; i < ParameterSet::kNumIndices + 2; ++i) {
        if (chosen.count(i) != 0) continue;
        const auto it = labels.find(i);
        EXPECT_EQ(label(p, i), it == labels.end() ? " " : it->second) << i;
    }
}

TEST(ParameterSetConstruction, UserParametersHoldTheDefaultProgram) {
    ParameterSet p;
    for (int i = 0; i < 42; ++i) {
        EXPECT_EQ(p.value(i), kDefaults[i]) << i;
        EXPECT_EQ(ParameterSet::initialValue(i), kDefaults[i]) << i;
    }
}

TEST(ParameterSetConstruction, InternalParametersHoldTheirConstructionValues) {
    ParameterSet p;
    const auto& values = constructionValues();
    EXPECT_EQ(values.size(), 70u);
    for (int i = 84; i < ParameterSet::kNumIndices; ++i) {
        const auto it = values.find(i);
        const float expected = it == values.end() ? 0.0f : it->second;
        EXPECT_EQ(p.storedValue(i), expected) << i;
    }
}

TEST(ParameterSetGetParameter, NamedIndicesAnswerTheirValueOthersZero) {
    ParameterSet p;
    for (int i = 0; i < ParameterSet::kNumIndices; ++i) p.store(i, 0.625f);
    for (int i = 0; i < ParameterSet::kNumIndices; ++i) {
        const bool answers = ParameterSet::isNamed(i) && i != 120;
        const bool kept = i == 126;
        EXPECT_EQ(p.value(i), answers || kept ? 0.625f : 0.0f) << i;
    }
    EXPECT_EQ(p.value(-1), 0.0f);
    EXPECT_EQ(p.value(167), 0.0f);
}

TEST(ParameterSetGetParameter, DrumOpenBackModeAnswersZeroAndIndex126KeepsItsValue) {
    ParameterSet p;
    p.store(120, 1.0f);
    EXPECT_EQ(p.value(120), 0.0f);
    p.store(126, 0.3f);
    EXPECT_EQ(p.value(126), 0.3f);
    p.store(126, 0.0f);
    EXPECT_EQ(p.value(126), 0.0f);
    p.store(104, 0.7f);  // unnamed, without function
    EXPECT_EQ(p.value(104), 0.0f);
}

TEST(ParameterSetStore, IgnoresControllerBindingsAndOutOfRangeIndices) {
    ParameterSet p;
    for (int i : {42, 60, 83}) {
        EXPECT_FALSE(p.store(i, 0.5f));
        EXPECT_EQ(p.storedValue(i), 0.0f);
        EXPECT_EQ(p.value(i), 0.0f);
    }
    EXPECT_FALSE(p.store(-1, 0.5f));
    EXPECT_FALSE(p.store(167, 0.5f));
    EXPECT_EQ(p.quantity(167), 0.0);
}

TEST(ParameterSetStore, ReportsWhetherTheValueChanged) {
    ParameterSet p;
    EXPECT_FALSE(p.store(5, 0.5f));  // Mech starts at 0.5
    EXPECT_TRUE(p.store(5, 0.75f));
    EXPECT_FALSE(p.store(5, 0.75f));
    EXPECT_TRUE(p.store(85, 0.2f));
}

TEST(ParameterSetStore, HornDistanceSetsTheAmplitudeClip) {
    ParameterSet p;
    EXPECT_EQ(p.storedValue(166), 0.795879f);
    EXPECT_TRUE(p.store(21, 0.36f));
    EXPECT_FLOAT_EQ(p.value(166), static_cast<float>((0.6 - 0.5) * 0.2 + 0.795879));
    // The clip's quantity follows its own curve.
    const double c = 0.126794 * std::exp(2.18457 * p.value(166)) - 0.126794;
    EXPECT_NEAR(p.quantity(166), c, 1e-12);
    EXPECT_TRUE(p.store(21, 1.0f));
    EXPECT_FLOAT_EQ(p.value(166), 0.895879f);
}

TEST(ParameterSetStore, AnUnchangedDistanceChangesNothing) {
    ParameterSet p;
    EXPECT_TRUE(p.store(21, 0.25f));
    p.store(166, 0.1f);
    EXPECT_FALSE(p.store(21, 0.25f));
    EXPECT_EQ(p.value(166), 0.1f);  // not recomputed from the unchanged distance
    EXPECT_TRUE(p.store(28, 0.3f));
    EXPECT_FALSE(p.store(28, 0.3f));
    EXPECT_NEAR(p.quantity(28), 1.3 * 0.3f + 0.35, 1e-12);
}

TEST(ParameterSetQuantities, UserParameterLaws) {
    ParameterSet p;
    auto at = [&](int index, float v) {
        p.store(index, v);
        return p.quantity(index);
    };
    EXPECT_EQ(at(0, 0.49f), 0.0);
    EXPECT_EQ(at(0, 0.5f), 1.0);
    EXPECT_EQ(at(10, 0.3f), 2.0);    // round(1.5)
    EXPECT_EQ(at(10, 1.0f), 5.0);
    EXPECT_EQ(at(12, 0.74f), 1.0);   // round(1.48)
    EXPECT_EQ(at(14, 0.0f), 1.0);    // sizes 1..5
    EXPECT_EQ(at(14, 0.625f), 4.0);  // round(2.5) + 1
    EXPECT_EQ(at(31, 1.0f), 2.0);
    EXPECT_EQ(at(39, 1.0f / 17.0f), 1.0);
    EXPECT_EQ(at(41, 0.6f), 2.0);     // round(1.8)
    EXPECT_NEAR(at(5, 1.0f), 0.5048 * std::exp(2.185) - 0.5048, 1e-6);
    EXPECT_NEAR(at(6, 0.25f), -6.0, 1e-12);
    EXPECT_NEAR(at(7, 0.25f), -6.0, 1e-12);
    EXPECT_EQ(p.secondaryQuantity(7), 1.0);  // cutting: Q 1.0
    at(8, 0.75f);
    EXPECT_EQ(p.secondaryQuantity(8), 0.7);  // boosting: Q 0.7
    at(8, 0.5f);
    EXPECT_EQ(p.secondaryQuantity(8), 1.0);  // 0 dB counts as cutting
    EXPECT_NEAR(at(11, 1.0f), (0.5048 * std::exp(2.185) - 0.5048) * 0.70794578438, 1e-6);
    EXPECT_NEAR(at(13, 0.75f), std::sqrt(10.0), 1e-12);  // +10 dB
    EXPECT_NEAR(p.secondaryQuantity(13), std::sqrt(10.0) / 10.0, 1e-12);
    EXPECT_NEAR(at(16, 1.0f), (0.5048 * std::exp(2.185) - 0.5048) * 0.0316227766, 1e-7);
    EXPECT_NEAR(at(17, 0.25f), 2.5, 1e-12);
    EXPECT_NEAR(at(19, 0.75f), 0.1 * std::pow(10.0, 1.5), 1e-6);
    EXPECT_NEAR(at(22, 0.5f), 53.33 * std::exp(1.483) - 34.94, 1e-9);
    EXPECT_EQ(at(22, 0.009f), 0.0);
    EXPECT_EQ(at(29, 1.0f), 0.0);
    EXPECT_NEAR(at(29, 0.25f), 200.0 * std::sqrt(10.0), 1e-9);
    EXPECT_NEAR(at(32, 0.3f), 0.6, 1e-7);
    EXPECT_NEAR(at(36, 0.25f), 1.0, 0);  // left stays, right (1 − 0.5)²
    EXPECT_NEAR(p.secondaryQuantity(36), 0.25, 1e-12);
    EXPECT_NEAR(at(37, 0.25f), 0.5, 1e-12);  // wet √v
    EXPECT_NEAR(p.secondaryQuantity(37), std::sqrt(0.75), 1e-12);
}

TEST(ParameterSetQuantities, InternalParameterLaws) {
    ParameterSet p;
    auto at = [&](int index, float v) {
        p.store(index, v);
        return p.quantity(index);
    };
    EXPECT_NEAR(at(85, 0.19f), 0.19f - 0.5, 1e-12);
    EXPECT_NEAR(at(86, 0.0f), 1.0, 1e-12);          // fully left: left gain 1
    EXPECT_NEAR(p.secondaryQuantity(86), 0.0, 1e-12);
    EXPECT_NEAR(at(88, 1.0f), 0.2, 1e-12);
    EXPECT_NEAR(at(91, 0.0f), 0.125, 1e-6);
    EXPECT_NEAR(at(92, 0.497676f), 0.995352, 1e-6);
    EXPECT_NEAR(at(93, 0.3f), 0.3, 1e-7);
    EXPECT_NEAR(at(100, 0.5f), 2000.0, 1e-9);
    EXPECT_NEAR(at(102, 1.0f), 1.0, 1e-5);
    EXPECT_EQ(at(105, 0.0f), 1.0);
    EXPECT_EQ(at(105, 1.0f), -1.0);
    EXPECT_NEAR(at(107, 0.25f), 0.5, 1e-12);
    EXPECT_EQ(at(119, 0.49f), 0.0);
    EXPECT_EQ(at(119, 0.5f), 1.0);
    EXPECT_EQ(at(119, 1.0f), 2.0);
    EXPECT_NEAR(at(137, 0.5f), 1.0, 1e-12);
    EXPECT_NEAR(at(138, 0.5f), 1.5, 1e-12);
    EXPECT_NEAR(at(140, 0.5f), 1.0, 1e-5);
    EXPECT_NEAR(at(145, 0.5f), 0.016, 1e-12);
    EXPECT_NEAR(at(146, 0.193426f), 0.6, 1e-5);
    EXPECT_NEAR(at(147, 0.5f), 1.0, 1e-5);
    EXPECT_NEAR(at(148, 0.5f), 0.15 * std::sqrt(10.0), 1e-5);
    EXPECT_FLOAT_EQ(static_cast<float>(at(153, 0.69897f)), 5000.0f);
    EXPECT_NEAR(at(163, 0.30103f), 100.0, 1e-4);
    EXPECT_EQ(at(165, 0.6f), 1.0);
}

// Run under ThreadSanitizer this shows that stores from two threads do not race.
TEST(ParameterSetConcurrency, StoresFromTwoThreadsLeaveOneOfTheWrittenValues) {
    ParameterSet p;
    std::thread a([&] {
        for (int k = 0; k < 2000; ++k) p.store(23, 0.25f);
    });
    std::thread b([&] {
        for (int k = 0; k < 2000; ++k) p.store(23, 0.75f);
    });
    a.join();
    b.join();
    const float v = p.value(23);
    EXPECT_TRUE(v == 0.25f || v == 0.75f);
}

}  // namespace
}  // namespace orv
