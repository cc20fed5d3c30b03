// What every parameter index should show, written out here independently of the parameter
// table: names, the default program's user values, the internal construction values, and the
// value text and label of any index at any value, formed from the laws with snprintf.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace orv::test {

inline const std::map<int, std::string>& expectedNames() {
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

// The "Default" program's values of the 42 user parameters.
constexpr float kExpectedDefaults[42] = {
    0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.501063f, 0.5f, 0.25f, 0.500008f, 0.5f, 0.5f,
    0.0f, 0.508422f, 0.0f, 0.0673f, 0.677088f, 0.395142f, 0.447158f, 0.5f, 0.0f, 0.5f, 0.0931f, 0.65282f,
    0.759256f, 0.831378f, 0.0f, 1.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 0.5f, 1.0f, 0.0f, 0.0f,
};

// Construction values of the named internal parameters (every other index starts at 0).
inline const std::map<int, float>& expectedConstructionValues() {
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

// The horn amplitude clip value that HDistance sets.
inline double expectedHornClip(double distance) { return (std::sqrt(distance) - 0.5) * 0.2 + 0.795879; }

using ParamText = std::pair<std::string, std::string>;  // value text, label

namespace expect {

inline int rnd(double x) { return static_cast<int>(x + 0.5); }

inline std::string fmt(const char* format, double x) {
    char buffer[128];
    std::snprintf(buffer, sizeof(buffer), format, x);
    return buffer;
}

inline std::string fmtInt(const char* format, int x) {
    char buffer[128];
    std::snprintf(buffer, sizeof(buffer), format, x);
    return buffer;
}

inline float gainCurve(double v) { return static_cast<float>(0.5048 * std::exp(2.185 * v) - 0.5048); }

inline std::string decibels(double x) { return x <= 0.0 ? "-oo" : fmt("%.1f", 20.0 * std::log10(x)); }

inline ParamText timeOf(double t) {
    const double ms = 1000.0 * t;
    if (ms >= 1000.0) return {fmt("%.1f", ms / 1000.0), "s"};
    return {fmt("%.0f", ms), "ms"};
}

inline ParamText distanceOf(double d) {
    const double x = d - 0.35;
    const std::string text = x < 0.0 ? "0" : x < 1.0 ? fmt("%.0f", 100.0 * x) : fmt("%.2f", x);
    return {text, x >= 1.0 ? "m" : "cm"};
}

inline ParamText frequencyOf(double f) {
    if (f >= 1000.0) return {fmt("%.2f", f / 1000.0), "kHz"};
    return {fmt("%.0f", f), "Hz"};
}

inline ParamText filterFrequencyOf(double f) { return f == 0.0 ? ParamText{"Off", " "} : frequencyOf(f); }

inline std::string leverOf(double v, int mode) {
    if (mode == 0) {
        if (v <= 0.005) return "Chorale";
        if (v >= 0.995) return "Tremolo";
        return fmtInt("%d", rnd(100.0 * v));
    }
    if (mode == 1) return rnd(v) == 0 ? "Chorale" : "Tremolo";
    const char* orig[] = {"Chorale", "Stop", "Tremolo"};
    return orig[rnd(2.0 * v)];
}

inline std::string balanceOf(float v) {
    if (v == 0.0f) return "L";
    if (v == 1.0f) return "R";
    if (v > 0.501) return fmtInt("%dR", rnd(199.0 * (v - 0.5)));
    if (v >= 0.499) return "C";
    return fmtInt("%dL", rnd(199.0 * (0.5 - v)));
}

inline ParamText user(int index, float value, int leverMode) {
    const double v = value;
    switch (index) {
        case 0: return {rnd(v) ? "On" : "Off", " "};
        case 1: return {rnd(v) ? "Brilliant" : "LowCPU", " "};
        case 2: return {leverOf(v, leverMode), " "};
        case 3: return {"", " "};
        case 4: return {rnd(v) == 1 ? "Stopped" : "Running", " "};
        case 5: case 23: case 30: case 38: return {decibels(gainCurve(v)), "dB"};
        case 6: case 7: case 8: case 9: return {fmt("%.1f", 24.0 * v - 12.0), "dB"};
        case 10: {
            const char* setups[] = {"AmpOnly", "FrontSide", "FrontDiagonal", "FrontRear", "OppositeDiagonal", "Mono"};
            return {setups[rnd(5.0 * v)], " "};
        }
        case 11: return {decibels(gainCurve(v) * 0.70794578438 * 1.4142), "dB"};
        case 12: {
            const char* types[] = {"Thru", "Tube", "Solid"};
            return {types[rnd(2.0 * v)], " "};
        }
        case 13: return {decibels(std::pow(10.0, (40.0 * v - 20.0) / 20.0)), "dB"};
        case 14: return {fmtInt("%d", rnd(4.0 * v) + 1), " "};
        case 15: return {fmt("%.1f", 100.0 * v), "%"};
        case 16: return {decibels(gainCurve(v) * 0.0316227766 * 31.62277660168379), "dB"};
        case 17: case 18: case 24: case 25: return {fmt("%.2f", 10.0 * v), "Hz"};
        case 19: case 20: case 26: case 27: return timeOf(static_cast<float>(0.1 * std::pow(100.0, v)));
        case 21: case 28: return distanceOf(1.3 * v + 0.35);
        case 22: return filterFrequencyOf(v < 0.01 ? 0.0 : 53.33 * std::exp(2.966 * v) - 34.94);
        case 29: return filterFrequencyOf(value == 1.0f ? 0.0 : 200.0 * std::pow(100.0, v));
        case 31: {
            const char* confs[] = {"Drum", "Drum+Horn", "Horn"};
            return {confs[rnd(2.0 * v)], " "};
        }
        case 32: case 33: return {decibels(2.0 * v), "dB"};
        case 34: return {fmtInt("%d", rnd(100.0 * (1.0 - v))) + ":" + fmtInt("%d", rnd(100.0 * v)), " "};
        case 35: return {fmt("%.0f", 200.0 * v), "%"};
        case 36: return {balanceOf(value), " "};
        case 37: return {fmt("%.0f", 100.0 * v), "%"};
        case 39: {
            const int n = rnd(17.0 * v);
            return {n == 0 ? "OFF" : n == 17 ? "OMNI" : fmtInt("Ch %d", n), " "};
        }
        case 40: {
            const char* modes[] = {"Cont", "Snap", "Orig"};
            return {modes[rnd(2.0 * v)], " "};
        }
        case 41: {
            const char* modes[] = {"Default", "TremDwn", "TremUp", "Trigger"};
            return {modes[rnd(3.0 * v)], " "};
        }
        default: return {"?", "?"};
    }
}

inline ParamText internal(int index, float value) {
    const double v = value;
    const double radius = static_cast<float>(std::exp(0.482324 * v) * 0.201667 - 0.0766667);
    const double curve = 0.126794 * std::exp(2.18457 * v) - 0.126794;
    switch (index) {
        case 84: case 90: case 108: case 121: case 122: case 123: case 124: case 125:
        case 149: case 150: case 151: case 152: case 162: case 164:
            return {decibels(gainCurve(v)), "dB"};
        case 85: case 87: case 109: return {fmt("%.1f", 360.0 * (v - 0.5)), "deg"};
        case 86: case 89: case 110: return {fmt("%.1f", 100.0 * (2.0 * v - 1.0)), "%"};
        case 88: return {fmt("%.1f%%", 100.0 * (0.4 * v - 0.2)), "%"};
        case 91: case 115: case 143: case 144: return {fmt("%.1f", 100.0 * radius), "cm"};
        case 92: case 116: return {fmt("%.2f", 2.0 * v), " "};
        case 93: case 94: case 95: case 96: case 97: case 98: case 99: case 103:
        case 132: case 133: case 139: case 142: case 154: case 160: case 161:
            return {fmt("%.2f", v), " "};
        case 100: case 101: case 134: case 135: case 159: return frequencyOf(200.0 * std::pow(100.0, v));
        case 158: return {frequencyOf(200.0 * std::pow(100.0, v)).first, " "};  // a frequency without a label
        case 102: case 117: case 166: return {decibels(curve), "dB"};
        case 105: case 127: return {v <= 0.5 ? "1" : "-1", " "};
        case 107: case 136: return {fmt("%.2f", 2.0 * (2.0 * v)), "oct"};
        case 119: case 156: case 165: return {rnd(v) ? "On" : "Off", " "};
        case 120: return {"Not implemented", " "};
        case 137: return {fmt("%.0f", 100.0 * std::max(0.1 * std::pow(100.0, v), 0.01)), "cm"};
        case 138: return {fmt("%.0f", 100.0 * std::max(3.0 * v, 0.01)), "cm"};
        case 140: case 141: return {fmt("%.2f", 0.5 * std::exp(1.38629 * v)), " "};
        case 145: case 157: return {fmt("%.2f", 0.0008 * std::pow(400.0, v)), " "};
        case 146: return {fmt("%.2f", 0.1 * std::exp(3.58352 * v) + 0.4), " "};
        case 147: return {fmt("%.2f", 0.25 * std::exp(2.77259 * v)), " "};
        case 148: return {fmt("%.1f", 100.0 * 0.15 * std::exp(2.30259 * v)), "cm"};
        case 153: return frequencyOf(static_cast<float>(200.0 * std::pow(100.0, v)));
        case 163: return frequencyOf(50.0 * std::pow(10.0, v));
        default: return {"", " "};  // no name: no text
    }
}

}  // namespace expect

// The text and label of any index at value v; leverMode is LvrMode's position (0 Cont, 1 Snap,
// 2 Orig), which only the Lever's text depends on.
inline ParamText expectedText(int index, float value, int leverMode = 0) {
    if (index >= 0 && index < 42) return expect::user(index, value, leverMode);
    return expect::internal(index, value);
}

}  // namespace orv::test
