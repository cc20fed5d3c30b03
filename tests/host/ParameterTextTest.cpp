// Parameter names, labels, value texts and values as a host sees them. The expected texts are
// computed here from the parameter laws, in double precision; where the effect's single
// precision could land on the other side of a rounding step, both neighbours are accepted.

#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"

namespace orv::test {
namespace {

constexpr int kNumUser = 42;
constexpr int kFirstInternal = 84;
constexpr int kLastInternal = 166;
constexpr int kLever = 2;
constexpr int kSpeed = 3;
constexpr int kHDistance = 21;
constexpr int kLvrMode = 40;
constexpr int kHornAmplitudeClip = 166;

std::string format(const char* f, double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, f, x);
    return buf;
}

double levelCurve(double v) { return static_cast<float>(0.5048 * std::exp(2.185 * v) - 0.5048); }
double timeLaw(double v) { return static_cast<float>(0.1 * std::pow(100.0, v)); }
double roundHalfUp(double x) { return std::floor(x + 0.5); }

std::string dbText(double x) { return x <= 0.0 ? "-oo" : format("%.1f", 20.0 * std::log10(x)); }

using TextOf = std::function<std::string(double)>;

// The text of a quantity and of the quantity moved by a few single-precision steps.
std::set<std::string> near(const TextOf& text, double q) {
    std::set<std::string> s;
    for (double rel : {-4e-6, 0.0, 4e-6}) s.insert(text(q * (1.0 + rel)));
    return s;
}

struct Expected {
    std::set<std::string> texts;
    std::string label;
};

Expected exact(const std::string& text, const std::string& label = " ") { return {{text}, label}; }

Expected timeText(double v) {
    const double m = 1000.0 * timeLaw(v);
    return {near([](double ms) { return ms >= 1000.0 ? format("%.1f", ms / 1000.0) : format("%.0f", ms); }, m),
            m >= 1000.0 ? "s" : "ms"};
}

Expected distanceText(double v) {
    const double x = (1.3 * v + 0.35) - 0.35;
    auto text = [](double d) {
        return d < 0.0 ? format("%.0f", 0.0) : d < 1.0 ? format("%.0f", 100.0 * d) : format("%.2f", d);
    };
    return {near(text, x), x >= 1.0 ? "m" : "cm"};
}

Expected frequencyText(double f, bool offAtZero) {
    if (offAtZero && f == 0.0) return exact("Off", " ");
    auto text = [](double hz) { return hz >= 1000.0 ? format("%.2f", hz / 1000.0) : format("%.0f", hz); };
    return {near(text, f), f >= 1000.0 ? "kHz" : "Hz"};
}

Expected dbOf(double x) { return {near(dbText, x), "dB"}; }

const char* const kUserNames[kNumUser] = {
    "Bypass",   "CPUmode",  "Lever",   "Speed",    "Stop",     "Mech",     "Bottom",  "LoMid",    "Presence",
    "TopShlf",  "Setup",    "Input",   "Type",     "Drive",    "Size",     "Color",   "Amount",   "HSlowSpd",
    "HFastSpd", "HAccel",   "HDecel",  "HDistance", "HHPF",    "HGain",    "DSlowSpd", "DFastSpd", "DAccel",
    "DDecel",   "DDistance", "DLPF",   "DGain",    "SpkrConf", "BReflex",  "X-Talk",  "MechRatio", "Width",
    "Balance",  "Mix",      "Output",  "MIDIchl",  "LvrMode",  "SpdMode",
};

const float kUserDefaults[kNumUser] = {
    0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.501063f, 0.5f, 0.25f, 0.500008f, 0.5f, 0.5f,
    0.0f, 0.508422f, 0.0f, 0.0673f, 0.677088f, 0.395142f, 0.447158f, 0.5f, 0.0f, 0.5f, 0.0931f, 0.65282f,
    0.759256f, 0.831378f, 0.0f, 1.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 0.5f, 1.0f, 0.0f, 0.0f,
};

// Lever text under a LvrMode position (0 Cont, 1 Snap, 2 Orig).
std::string leverText(double v, int mode) {
    if (mode == 0) {
        if (v <= 0.005) return "Chorale";
        if (v >= 0.995) return "Tremolo";
        return format("%.0f", roundHalfUp(100.0 * v));
    }
    if (mode == 1) return roundHalfUp(v) == 0.0 ? "Chorale" : "Tremolo";
    const char* orig[] = {"Chorale", "Stop", "Tremolo"};
    return orig[static_cast<int>(roundHalfUp(2.0 * v))];
}

std::string balanceText(double v) {
    if (v == 0.0) return "L";
    if (v == 1.0) return "R";
    if (v > 0.501) return format("%.0f", roundHalfUp(199.0 * (v - 0.5))) + "R";
    if (v >= 0.499) return "C";
    return format("%.0f", roundHalfUp(199.0 * (0.5 - v))) + "L";
}

// The expected text and label of user parameter i at value v (with LvrMode at Cont).
Expected userExpected(int i, double v) {
    const int r2 = static_cast<int>(roundHalfUp(2.0 * v));
    switch (i) {
        case 0: return exact(roundHalfUp(v) == 0.0 ? "Off" : "On");
        case 1: return exact(roundHalfUp(v) == 0.0 ? "LowCPU" : "Brilliant");
        case 2: return exact(leverText(v, 0));
        case 3: return exact("");
        case 4: return exact(roundHalfUp(v) == 1.0 ? "Stopped" : "Running");
        case 5: case 23: case 30: case 38: return dbOf(levelCurve(v));
        case 6: case 7: case 8: case 9:
            return {near([](double db) { return format("%.1f", db); }, 24.0 * v - 12.0), "dB"};
        case 10: {
            const char* setups[] = {"AmpOnly", "FrontSide", "FrontDiagonal", "FrontRear", "OppositeDiagonal", "Mono"};
            return exact(setups[static_cast<int>(roundHalfUp(5.0 * v))]);
        }
        case 11: return dbOf(static_cast<float>(levelCurve(v) * 0.70794578438) * 1.4142);
        case 12: {
            const char* types[] = {"Thru", "Tube", "Solid"};
            return exact(types[r2]);
        }
        case 13: return dbOf(std::pow(10.0, (40.0 * v - 20.0) / 20.0));
        case 14: return exact(format("%.0f", roundHalfUp(4.0 * v) + 1.0));
        case 15: return {near([](double x) { return format("%.1f", x); }, 100.0 * v), "%"};
        case 16: return dbOf(static_cast<float>(levelCurve(v) * 0.0316227766) * 31.62277660168379);
        case 17: case 18: case 24: case 25:
            return {near([](double x) { return format("%.2f", x); }, 10.0 * v), "Hz"};
        case 19: case 20: case 26: case 27: return timeText(v);
        case 21: case 28: return distanceText(v);
        case 22: return frequencyText(v < 0.01 ? 0.0 : 53.33 * std::exp(2.966 * v) - 34.94, true);
        case 29: return frequencyText(v == 1.0 ? 0.0 : 200.0 * std::pow(100.0, v), true);
        case 31: {
            const char* confs[] = {"Drum", "Drum+Horn", "Horn"};
            return exact(confs[r2]);
        }
        case 32: case 33: return dbOf(2.0 * v);
        case 34:
            return exact(format("%.0f", roundHalfUp(100.0 * (1.0 - v))) + ":" + format("%.0f", roundHalfUp(100.0 * v)));
        case 35: return {near([](double x) { return format("%.0f", x); }, 200.0 * v), "%"};
        case 36: return exact(balanceText(v));
        case 37: return {near([](double x) { return format("%.0f", x); }, 100.0 * v), "%"};
        case 39: {
            const int ch = static_cast<int>(roundHalfUp(17.0 * v));
            return exact(ch == 0 ? "OFF" : ch == 17 ? "OMNI" : "Ch " + std::to_string(ch));
        }
        case 40: {
            const char* modes[] = {"Cont", "Snap", "Orig"};
            return exact(modes[r2]);
        }
        case 41: {
            const char* modes[] = {"Default", "TremDwn", "TremUp", "Trigger"};
            return exact(modes[static_cast<int>(roundHalfUp(3.0 * v))]);
        }
        default: return exact("?");
    }
}

class Parameters : public ModuleTest {
protected:
    // Sets index to v and checks value, text and label.
    void expectAt(int index, float v, const Expected& e) {
        host.setParameter(index, v);
        EXPECT_EQ(host.getParameter(index), v) << kUserNames[index] << " at " << v;
        const std::string text = host.paramDisplay(index);
        EXPECT_TRUE(e.texts.count(text) == 1) << kUserNames[index] << " at " << v << " shows '" << text << "', expected '"
                                              << *e.texts.begin() << "'";
        EXPECT_EQ(host.paramLabel(index), e.label) << kUserNames[index] << " at " << v;
    }
    void expectText(int index, float v, const std::string& text, const std::string& label = " ") {
        host.setParameter(index, v);
        EXPECT_EQ(host.paramDisplay(index), text) << index << " at " << v;
        EXPECT_EQ(host.paramLabel(index), label) << index << " at " << v;
    }
};

TEST_F(Parameters, UserNamesInOrder) {
    for (int i = 0; i < kNumUser; ++i) EXPECT_EQ(host.paramName(i), kUserNames[i]) << i;
}

TEST_F(Parameters, DefaultsAfterConstruction) {
    for (int i = 0; i < kNumUser; ++i) EXPECT_EQ(host.getParameter(i), kUserDefaults[i]) << kUserNames[i];
}

TEST_F(Parameters, EveryUserParameterAcrossItsRange) {
    // Values chosen away from the rounding steps of every switch (k/2n for n = 1, 2, 3, 4, 5, 17).
    const float values[] = {0.0f, 0.13f, 0.27f, 0.41f, 0.5f, 0.58f, 0.77f, 0.88f, 1.0f};
    for (int i = 0; i < kNumUser; ++i) {
        if (i == kLvrMode) continue;  // changes the Lever text; checked below
        for (float v : values) expectAt(i, v, userExpected(i, v));
    }
    for (float v : values) {
        expectAt(kLvrMode, v, userExpected(kLvrMode, v));
    }
}

TEST_F(Parameters, DefaultTexts) {
    for (int i = 0; i < kNumUser; ++i) {
        const Expected e = userExpected(i, kUserDefaults[i]);
        const std::string text = host.paramDisplay(i);
        EXPECT_TRUE(e.texts.count(text) == 1) << kUserNames[i] << " shows '" << text << "'";
        EXPECT_EQ(host.paramLabel(i), e.label) << kUserNames[i];
    }
    // A few worked by hand.
    EXPECT_EQ(host.paramDisplay(17), "0.67");   // HSlowSpd 0.0673
    EXPECT_EQ(host.paramDisplay(18), "6.77");   // HFastSpd
    EXPECT_EQ(host.paramDisplay(19), "617");    // HAccel: 0.1 * 100^0.395142 s = 617 ms
    EXPECT_EQ(host.paramLabel(19), "ms");
    EXPECT_EQ(host.paramDisplay(26), "3.3");    // DAccel: 3.3 s
    EXPECT_EQ(host.paramLabel(26), "s");
    EXPECT_EQ(host.paramDisplay(10), "FrontSide");  // Setup 0.25: round(1.25) = 1
}

TEST_F(Parameters, EdgeTexts) {
    expectText(kSpeed, 0.0f, "");
    expectText(kSpeed, 1.0f, "");
    expectText(36, 0.5f, "C");
    expectText(36, 0.75f, "50R");
    expectText(36, 0.0f, "L");
    expectText(36, 1.0f, "R");
    expectText(36, 0.25f, "50L");
    expectText(34, 0.25f, "75:25");
    expectText(22, 0.005f, "Off", " ");
    expectText(22, 1.0f, "1.00", "kHz");
    expectText(29, 1.0f, "Off", " ");
    expectText(29, 0.0f, "200", "Hz");
    expectText(19, 0.5f, "1.0", "s");
    expectText(19, 0.0f, "100", "ms");
    expectText(kHDistance, 0.0f, "0", "cm");
    expectText(kHDistance, 1.0f, "1.30", "m");
    expectText(5, 0.0f, "-oo", "dB");
    expectText(39, 0.0f, "OFF");
    expectText(39, 1.0f / 17.0f, "Ch 1");
    expectText(39, 1.0f, "OMNI");
    expectText(14, 0.0f, "1");
    expectText(14, 1.0f, "5");
    expectText(13, 0.0f, "-20.0", "dB");
    expectText(13, 1.0f, "20.0", "dB");
    expectText(16, 0.0f, "-oo", "dB");
    expectText(32, 0.0f, "-oo", "dB");
    expectText(32, 1.0f, "6.0", "dB");
}

TEST_F(Parameters, LeverTextFollowsLvrMode) {
    struct Case {
        float mode;
        float lever;
        const char* text;
    };
    const Case cases[] = {
        {0.0f, 0.0f, "Chorale"}, {0.0f, 0.005f, "Chorale"}, {0.0f, 0.006f, "1"},   {0.0f, 0.5f, "50"},
        {0.0f, 0.994f, "99"},    {0.0f, 0.995f, "Tremolo"}, {0.0f, 1.0f, "Tremolo"},
        {0.5f, 0.0f, "Chorale"}, {0.5f, 0.3f, "Chorale"},   {0.5f, 0.7f, "Tremolo"}, {0.5f, 1.0f, "Tremolo"},
        {1.0f, 0.0f, "Chorale"}, {1.0f, 0.2f, "Chorale"},   {1.0f, 0.5f, "Stop"},    {1.0f, 0.8f, "Tremolo"},
        {1.0f, 1.0f, "Tremolo"},
    };
    for (const Case& c : cases) {
        host.setParameter(kLvrMode, c.mode);
        host.setParameter(kLever, c.lever);
        EXPECT_EQ(host.paramDisplay(kLever), c.text) << "LvrMode " << c.mode << ", Lever " << c.lever;
        EXPECT_EQ(host.paramLabel(kLever), " ");
    }
}

struct Internal {
    int index;
    const char* name;
    const char* label;  // nullptr: depends on the value (Hz or kHz)
    float construction;
};

const Internal kInternals[] = {
    {84, "Horn Gain", "dB", 0.5f},
    {85, "Horn Mic1 Angle", "deg", 0.19f},
    {86, "Horn Mic1 Panorama", "%", 0.0f},
    {87, "Horn Mic2 Angle", "deg", 0.52f},
    {88, "Horn Mic2 Distance", "%", 0.2575f},
    {89, "Horn Mic2 Panorama", "%", 1.0f},
    {90, "Horn Mic2 Gain", "dB", 0.55f},
    {91, "Horn FM Radius", "cm", 0.245586f},
    {92, "Horn Attenuation", " ", 0.497676f},
    {93, "Horn Ray 1 (front)", " ", 0.497715f},
    {94, "Horn Ray 2 (back/sides)", " ", 0.5f},
    {95, "Horn Ray 3 (back-right)", " ", 0.5f},
    {96, "Horn Ray 4 (back-left)", " ", 0.5f},
    {97, "Horn Ray 5 (LBR)", " ", 0.5f},
    {98, "Horn Ray 6 (RBL)", " ", 0.5f},
    {99, "Horn Rays 7-10 (misc)", " ", 0.559258f},
    {100, "Horn LPF cut low", nullptr, 0.0f},
    {101, "Horn LPF cut high", nullptr, 1.0f},
    {102, "Horn Reflection coeff", "dB", 0.922695f},
    {103, "Horn Z-axis rays", " ", 0.696738f},
    {105, "Horn Flip", " ", 0.0f},
    {107, "Horn Reflection LPF", "oct", 0.348672f},
    {108, "Drum Gain", "dB", 0.61418f},
    {109, "Drum Mic1 Angle", "deg", 0.5f},
    {110, "Drum Mic1 Pan", "%", 0.476328f},
    {115, "Drum FM Radius", "cm", 0.658691f},
    {116, "Drum Attenuation", " ", 0.492148f},
    {117, "Drum Reflection coeff", "dB", 0.923145f},
    {119, "Horn Open Back Mode", " ", 0.0f},
    {120, "Drum Open Back Mode", " ", 0.0f},
    {121, "Amp Post-drive Gain", "dB", 0.5f},
    {122, "BR to Tube Mic Gain", "dB", 0.06f},
    {123, "BR to Drum Mic Gain", "dB", 0.184834f},
    {124, "Drum->Tube feedback", "dB", 0.4f},
    {125, "Horn->Drum feedback", "dB", 0.3f},
    {127, "Drum Flip", " ", 0.0f},
    {132, "Drum Ray 1 (front)", " ", 0.5f},
    {133, "Drum Ray 2 (back/sides)", " ", 0.5f},
    {134, "Drum LPF cut low", nullptr, 0.849902f},
    {135, "Drum LPF cut high", nullptr, 1.0f},
    {136, "Drum Reflection LPF", "oct", 0.13f},
    {137, "Horn Attenuation distance", "cm", 0.657754f},
    {138, "Drum Attenuation distance", "cm", 0.653926f},
    {139, "Horn Static Ray", " ", 0.353047f},
    {140, "Horn Att Decay Exp", " ", 0.5f},
    {141, "Drum Att Decay Exp", " ", 0.500977f},
    {142, "Drum Static Ray", " ", 0.0f},
    {143, "Horn AM Radius", "cm", 0.658926f},
    {144, "Drum AM Radius", "cm", 0.67334f},
    {145, "Horn Filter Saturation", " ", 0.3f},
    {146, "Early Refl. Room Size", " ", 0.193426f},
    {147, "Early Refl. Virtual Room Size", " ", 0.371357f},
    {148, "Early Refl. LR Delay", "cm", 0.241094f},
    {149, "Slow Sample Volume", "dB", 0.125f},
    {150, "Fast Sample Volume", "dB", 0.170079f},
    {151, "Accel Sample Volume", "dB", 0.100002f},
    {152, "Decel Sample Volume", "dB", 0.120002f},
    {153, "Early Refl. Main Cutoff", nullptr, 0.69897f},
    {154, "Early Refl. X Cutoff", " ", 0.0f},
    {156, "Slow Speed Button", " ", 0.0f},
    {157, "Drum Filter Saturation", " ", 0.5f},
    // Listed without a label although its text is a frequency.
    {158, "Drum Static Filter Cutoff", " ", 1.0f},
    {159, "Horn Static Filter Cutoff", nullptr, 0.256055f},
    {160, "Drum Ray 3 (back-left)", " ", 0.5f},
    {161, "Drum Ray 4 (back-right)", " ", 0.5f},
    {162, "Drum Sample Volume", "dB", 0.789297f},
    {163, "Drum Splitter Frequency", nullptr, 0.30103f},
    {164, "Drum LP Static Gain", "dB", 0.328904f},
    {165, "Bypass Speakers (Amp Only)", " ", 0.0f},
    {166, "Horn Amplitude Clip", "dB", 0.795879f},
};

const Internal* findInternal(int index) {
    for (const Internal& p : kInternals) {
        if (p.index == index) return &p;
    }
    return nullptr;
}

double reflectionLaw(double v) { return 0.126794 * std::exp(2.18457 * v) - 0.126794; }
double hornClipFromDistance(double v) { return (std::sqrt(v) - 0.5) * 0.2 + 0.795879; }

// Texts of the internal parameters whose formula is fixed here (the others follow the engine's
// own quantities). Returns false for those without one.
bool internalExpected(int index, double v, Expected& e) {
    auto fmt1 = [](double x) { return format("%.1f", x); };
    auto fmt2 = [](double x) { return format("%.2f", x); };
    switch (index) {
        case 84: case 90: case 108: case 162: case 164: e = dbOf(levelCurve(v)); return true;
        case 85: case 87: case 109: e = {near(fmt1, 360.0 * (v - 0.5)), "deg"}; return true;
        case 86: case 89: case 110: e = {near(fmt1, 100.0 * (2.0 * v - 1.0)), "%"}; return true;
        case 88:
            e = {near([](double x) { return format("%.1f%%", x); }, 100.0 * (0.4 * v - 0.2)), "%"};
            return true;
        case 91:
            e = {near(fmt1, 100.0 * (0.201667 * std::exp(0.482324 * v) - 0.0766667)), "cm"};
            return true;
        case 92: case 116: e = {near(fmt2, 2.0 * v), " "}; return true;
        case 100: case 101: case 159: e = frequencyText(200.0 * std::pow(100.0, v), false); return true;
        case 158: e = frequencyText(200.0 * std::pow(100.0, v), false); e.label = " "; return true;
        case 163: e = frequencyText(50.0 * std::pow(10.0, v), false); return true;
        case 102: case 166: e = dbOf(reflectionLaw(v)); return true;
        case 119: case 156: case 165: e = exact(roundHalfUp(v) == 0.0 ? "Off" : "On"); return true;
        case 120: e = exact("Not implemented"); return true;
        default: return false;
    }
}

TEST_F(Parameters, InternalNamesLabelsAndConstructionValues) {
    for (int i = kFirstInternal; i <= kLastInternal; ++i) {
        const Internal* p = findInternal(i);
        if (p == nullptr) continue;
        EXPECT_EQ(host.paramName(i), p->name) << i;
        if (p->label != nullptr) {
            EXPECT_EQ(host.paramLabel(i), p->label) << p->name;
        }
        if (i == kHornAmplitudeClip || i == 120) continue;
        EXPECT_EQ(host.getParameter(i), p->construction) << p->name;
    }
    // Applying the default program set HDistance 0.5, which moved the horn clip level on.
    EXPECT_NEAR(host.getParameter(kHornAmplitudeClip), hornClipFromDistance(0.5), 1e-6);
    EXPECT_EQ(host.getParameter(120), 0.0f);
}

TEST_F(Parameters, InternalTextsAtConstructionAndOtherValues) {
    for (const Internal& p : kInternals) {
        Expected e;
        const double v = host.getParameter(p.index);
        if (!internalExpected(p.index, v, e)) continue;
        const std::string text = host.paramDisplay(p.index);
        EXPECT_TRUE(e.texts.count(text) == 1) << p.name << " shows '" << text << "', expected '" << *e.texts.begin() << "'";
        EXPECT_EQ(host.paramLabel(p.index), e.label) << p.name;
    }
    for (float v : {0.2f, 0.8f}) {
        for (const Internal& p : kInternals) {
            Expected e;
            if (!internalExpected(p.index, v, e)) continue;
            host.setParameter(p.index, v);
            const std::string text = host.paramDisplay(p.index);
            EXPECT_TRUE(e.texts.count(text) == 1) << p.name << " at " << v << " shows '" << text << "'";
            EXPECT_EQ(host.paramLabel(p.index), e.label) << p.name << " at " << v;
        }
    }
    // Worked by hand at construction values.
    PluginHost fresh;
    ASSERT_TRUE(fresh.start(modulePath()));
    EXPECT_EQ(fresh.paramDisplay(85), "-111.6");  // 360 * (0.19 - 0.5)
    EXPECT_EQ(fresh.paramDisplay(88), "-9.7%");
    EXPECT_EQ(fresh.paramDisplay(100), "200");
    EXPECT_EQ(fresh.paramLabel(100), "Hz");
    EXPECT_EQ(fresh.paramDisplay(101), "20.00");
    EXPECT_EQ(fresh.paramLabel(101), "kHz");
    EXPECT_EQ(fresh.paramDisplay(163), "100");  // 50 * 10^0.30103
    EXPECT_EQ(fresh.paramDisplay(120), "Not implemented");
}

TEST_F(Parameters, HornDistanceMovesTheHornClipLevel) {
    for (float v : {0.0f, 0.25f, 0.64f, 1.0f}) {
        host.setParameter(kHDistance, v);
        EXPECT_NEAR(host.getParameter(kHornAmplitudeClip), hornClipFromDistance(v), 1e-6) << v;
    }
}

TEST_F(Parameters, UnnamedAndOutOfRangeIndices) {
    const int unnamed[] = {104, 106, 111, 112, 113, 114, 118, 126, 128, 129, 130, 131, 155};
    for (int i : unnamed) {
        EXPECT_EQ(findInternal(i), nullptr);
        EXPECT_EQ(host.paramName(i), "") << i;
        EXPECT_EQ(host.paramDisplay(i), "") << i;
        EXPECT_EQ(host.paramLabel(i), " ") << i;
        host.setParameter(i, 0.7f);
        // 126 keeps what it is given; the other unnamed indices answer 0.
        EXPECT_EQ(host.getParameter(i), i == 126 ? 0.7f : 0.0f) << i;
    }
    host.setParameter(120, 1.0f);
    EXPECT_EQ(host.getParameter(120), 0.0f);
    for (int i : {-1, 167, 200, 100000}) {
        host.setParameter(i, 0.5f);  // ignored
        EXPECT_EQ(host.getParameter(i), 0.0f) << i;
        EXPECT_EQ(host.paramName(i), "") << i;
        EXPECT_EQ(host.paramDisplay(i), "") << i;
        EXPECT_EQ(host.paramLabel(i), " ") << i;
    }
}

}  // namespace
}  // namespace orv::test
