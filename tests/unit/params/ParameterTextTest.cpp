// Value texts and labels: the edge cases written out by hand, and every parameter over a grid
// of values against texts formed here from the laws with snprintf.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "params/ParameterSet.h"

namespace orv {
namespace {

using Text = std::pair<std::string, std::string>;  // value text, label

Text shown(const ParameterSet& p, int index) {
    char text[ParameterSet::kTextSize];
    char unit[ParameterSet::kTextSize];
    std::memset(text, 'x', sizeof(text));
    std::memset(unit, 'x', sizeof(unit));
    p.getDisplay(index, text);
    p.getLabel(index, unit);
    return {text, unit};
}

Text shownAt(ParameterSet& p, int index, float v) {
    p.store(index, v);
    return shown(p, index);
}

// ---- Independent formation of the expected texts ----

int rnd(double x) { return static_cast<int>(x + 0.5); }

std::string fmt(const char* format, double x) {
    char buffer[128];
    std::snprintf(buffer, sizeof(buffer), format, x);
    return buffer;
}

std::string fmtInt(const char* format, int x) {
    char buffer[128];
    std::snprintf(buffer, sizeof(buffer), format, x);
    return buffer;
}

float gainCurve(double v) { return static_cast<float>(0.5048 * std::exp(2.185 * v) - 0.5048); }

std::string decibels(double x) { return x <= 0.0 ? "-oo" : fmt("%.1f", 20.0 * std::log10(x)); }

Text timeOf(double t) {
    const double ms = 1000.0 * t;
    if (ms >= 1000.0) return {fmt("%.1f", ms / 1000.0), "s"};
    return {fmt("%.0f", ms), "ms"};
}

Text distanceOf(double d) {
    const double x = d - 0.35;
    std::string text;
    if (x < 0.0) {
        text = "0";
    } else if (x < 1.0) {
        text = fmt("%.0f", 100.0 * x);
    } else {
        text = fmt("%.2f", x);
    }
    return {text, x >= 1.0 ? "m" : "cm"};
}

Text frequencyOf(double f) {
    if (f >= 1000.0) return {fmt("%.2f", f / 1000.0), "kHz"};
    return {fmt("%.0f", f), "Hz"};
}

Text filterFrequencyOf(double f) {
    if (f == 0.0) return {"Off", " "};
    return frequencyOf(f);
}

std::string leverOf(double v, int mode) {
    if (mode == 0) {
        if (v <= 0.005) return "Chorale";
        if (v >= 0.995) return "Tremolo";
        return fmtInt("%d", rnd(100.0 * v));
    }
    if (mode == 1) return rnd(v) == 0 ? "Chorale" : "Tremolo";
    const char* orig[] = {"Chorale", "Stop", "Tremolo"};
    return orig[rnd(2.0 * v)];
}

std::string balanceOf(float v) {
    if (v == 0.0f) return "L";
    if (v == 1.0f) return "R";
    if (v > 0.501) return fmtInt("%dR", rnd(199.0 * (v - 0.5)));
    if (v >= 0.499) return "C";
    return fmtInt("%dL", rnd(199.0 * (0.5 - v)));
}

// The text and label of user parameter index at value v, by the laws of each parameter.
Text expectedUser(int index, float value, int leverMode) {
    const double v = value;
    const double time = static_cast<float>(0.1 * std::pow(100.0, v));
    switch (index) {
        case 0: return {rnd(v) ? "On" : "Off", " "};
        case 1: return {rnd(v) ? "Brilliant" : "LowCPU", " "};
        case 2: return {leverOf(v, leverMode), " "};
        case 3: return {"", " "};
        case 4: return {rnd(v) == 1 ? "Stopped" : "Running", " "};
        case 5: case 23: case 30: case 38: return {decibels(gainCurve(v)), "dB"};
        case 6: case 7: case 8: case 9: return {fmt("%.1f", 24.0 * v - 12.0), "dB"};
        case 10: {
            const char* first[] = {"Amp", "Front", "Front", "Front", "Opposite", "Mono"};
            const char* second[] = {"Only", "Side", "Diagonal", "Rear", "Diagonal", ""};
            const int n = rnd(5.0 * v);
            return {std::string(first[n]) + second[n], " "};
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
        case 19: case 20: case 26: case 27: return timeOf(time);
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

// The text and label of internal parameter index at value v.
Text expectedInternal(int index, float value) {
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
        case 158: return {frequencyOf(200.0 * std::pow(100.0, v)).first, " "};
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
        default: return {"", " "};  // no name
    }
}

const float kGrid[] = {0.0f, 0.004f, 0.01f, 0.1f, 0.25f, 0.333f, 0.4f, 0.5f, 0.6f, 0.75f, 0.9f, 0.996f, 1.0f};

// ---- Edge cases ----

TEST(ParameterText, SpeedShowsNothingWhateverItsValue) {
    ParameterSet p;
    for (float v : {0.0f, 0.5f, 1.0f}) EXPECT_EQ(shownAt(p, 3, v), Text("", " "));
}

TEST(ParameterText, BalanceAndMechRatio) {
    ParameterSet p;
    EXPECT_EQ(shownAt(p, 36, 0.5f).first, "C");
    EXPECT_EQ(shownAt(p, 36, 0.75f).first, "50R");
    EXPECT_EQ(shownAt(p, 36, 0.0f).first, "L");
    EXPECT_EQ(shownAt(p, 36, 1.0f).first, "R");
    EXPECT_EQ(shownAt(p, 36, 0.499f).first, "C");
    EXPECT_EQ(shownAt(p, 36, 0.25f).first, "50L");
    EXPECT_EQ(shownAt(p, 36, 0.51f).first, "2R");  // 1.99 rounds to 2
    EXPECT_EQ(shownAt(p, 34, 0.25f), Text("75:25", " "));
    EXPECT_EQ(shownAt(p, 34, 0.5f), Text("50:50", " "));
    EXPECT_EQ(shownAt(p, 34, 1.0f), Text("0:100", " "));
}

TEST(ParameterText, FilterFrequenciesAndOff) {
    ParameterSet p;
    EXPECT_EQ(shownAt(p, 22, 0.005f), Text("Off", " "));
    EXPECT_EQ(shownAt(p, 22, 1.0f), Text("1.00", "kHz"));
    EXPECT_EQ(shownAt(p, 22, 0.5f), Text("200", "Hz"));
    // The single-precision 0.01 lies just below 0.01 and still reads as off.
    EXPECT_EQ(shownAt(p, 22, 0.01f), Text("Off", " "));
    EXPECT_EQ(shownAt(p, 22, 0.0101f), Text("20", "Hz"));
    EXPECT_EQ(shownAt(p, 29, 1.0f), Text("Off", " "));
    EXPECT_EQ(shownAt(p, 29, 0.0f), Text("200", "Hz"));
    EXPECT_EQ(shownAt(p, 29, 0.5f), Text("2.00", "kHz"));
}

TEST(ParameterText, TimesAndDistances) {
    ParameterSet p;
    EXPECT_EQ(shownAt(p, 19, 0.5f), Text("1.0", "s"));
    EXPECT_EQ(shownAt(p, 19, 0.0f), Text("100", "ms"));
    EXPECT_EQ(shownAt(p, 19, 1.0f), Text("10.0", "s"));
    EXPECT_EQ(shownAt(p, 19, 0.395142f), Text("617", "ms"));
    EXPECT_EQ(shownAt(p, 27, 0.831378f), Text("4.6", "s"));
    EXPECT_EQ(shownAt(p, 21, 0.0f), Text("0", "cm"));
    EXPECT_EQ(shownAt(p, 21, 1.0f), Text("1.30", "m"));
    EXPECT_EQ(shownAt(p, 28, 0.5f), Text("65", "cm"));
}

TEST(ParameterText, Levels) {
    ParameterSet p;
    EXPECT_EQ(shownAt(p, 5, 0.0f), Text("-oo", "dB"));
    EXPECT_EQ(shownAt(p, 5, 0.5f), Text("0.0", "dB"));
    EXPECT_EQ(shownAt(p, 5, 1.0f), Text("12.0", "dB"));
    EXPECT_EQ(shownAt(p, 11, 0.500008f), Text("0.0", "dB"));
    EXPECT_EQ(shownAt(p, 11, 0.0f), Text("-oo", "dB"));
    EXPECT_EQ(shownAt(p, 16, 0.0f), Text("-oo", "dB"));
    EXPECT_EQ(shownAt(p, 16, 0.5f), Text("0.0", "dB"));
    EXPECT_EQ(shownAt(p, 13, 0.0f), Text("-20.0", "dB"));
    EXPECT_EQ(shownAt(p, 13, 0.25f), Text("-10.0", "dB"));
    EXPECT_EQ(shownAt(p, 13, 1.0f), Text("20.0", "dB"));
    EXPECT_EQ(shownAt(p, 32, 0.0f), Text("-oo", "dB"));
    EXPECT_EQ(shownAt(p, 32, 0.5f), Text("0.0", "dB"));
    EXPECT_EQ(shownAt(p, 33, 1.0f), Text("6.0", "dB"));
    EXPECT_EQ(shownAt(p, 6, 0.0f), Text("-12.0", "dB"));
    EXPECT_EQ(shownAt(p, 9, 1.0f), Text("12.0", "dB"));
}

TEST(ParameterText, MidiChannel) {
    ParameterSet p;
    EXPECT_EQ(shownAt(p, 39, 0.0f), Text("OFF", " "));
    EXPECT_EQ(shownAt(p, 39, 1.0f / 17.0f), Text("Ch 1", " "));
    EXPECT_EQ(shownAt(p, 39, 16.0f / 17.0f), Text("Ch 16", " "));
    EXPECT_EQ(shownAt(p, 39, 0.5f), Text("Ch 9", " "));
    EXPECT_EQ(shownAt(p, 39, 1.0f), Text("OMNI", " "));
}

TEST(ParameterText, SwitchTexts) {
    ParameterSet p;
    EXPECT_EQ(shownAt(p, 0, 0.0f).first, "Off");
    EXPECT_EQ(shownAt(p, 0, 1.0f).first, "On");
    EXPECT_EQ(shownAt(p, 1, 0.0f).first, "LowCPU");
    EXPECT_EQ(shownAt(p, 1, 1.0f).first, "Brilliant");
    EXPECT_EQ(shownAt(p, 4, 1.0f).first, "Stopped");
    EXPECT_EQ(shownAt(p, 4, 0.0f).first, "Running");
    const char* setups[] = {"AmpOnly", "FrontSide", "FrontDiagonal", "FrontRear", "OppositeDiagonal", "Mono"};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(shownAt(p, 10, k / 5.0f), Text(setups[k], " ")) << k;
    EXPECT_EQ(shownAt(p, 10, 0.25f).first, "FrontSide");  // the default
    EXPECT_EQ(shownAt(p, 12, 0.5f).first, "Tube");
    EXPECT_EQ(shownAt(p, 12, 1.0f).first, "Solid");
    EXPECT_EQ(shownAt(p, 12, 0.0f).first, "Thru");
    EXPECT_EQ(shownAt(p, 14, 0.0f), Text("1", " "));
    EXPECT_EQ(shownAt(p, 14, 1.0f), Text("5", " "));
    EXPECT_EQ(shownAt(p, 31, 0.5f).first, "Drum+Horn");
    EXPECT_EQ(shownAt(p, 40, 1.0f).first, "Orig");
    EXPECT_EQ(shownAt(p, 41, 1.0f / 3.0f).first, "TremDwn");
    EXPECT_EQ(shownAt(p, 41, 1.0f).first, "Trigger");
}

TEST(ParameterText, PercentagesAndSpeeds) {
    ParameterSet p;
    EXPECT_EQ(shownAt(p, 15, 0.508422f), Text("50.8", "%"));
    EXPECT_EQ(shownAt(p, 35, 0.5f), Text("100", "%"));
    EXPECT_EQ(shownAt(p, 37, 1.0f), Text("100", "%"));
    EXPECT_EQ(shownAt(p, 37, 0.26f), Text("26", "%"));
    EXPECT_EQ(shownAt(p, 17, 0.0673f), Text("0.67", "Hz"));
    EXPECT_EQ(shownAt(p, 25, 0.65282f), Text("6.53", "Hz"));
}

TEST(ParameterText, LeverFollowsTheLeverMode) {
    ParameterSet p;
    p.store(40, 0.0f);  // Cont
    EXPECT_EQ(shownAt(p, 2, 0.0f).first, "Chorale");
    EXPECT_EQ(shownAt(p, 2, 0.005f).first, "Chorale");
    EXPECT_EQ(shownAt(p, 2, 0.006f).first, "1");
    EXPECT_EQ(shownAt(p, 2, 0.333f).first, "33");
    EXPECT_EQ(shownAt(p, 2, 0.5f).first, "50");
    EXPECT_EQ(shownAt(p, 2, 0.994f).first, "99");
    EXPECT_EQ(shownAt(p, 2, 0.995f).first, "Tremolo");
    p.store(40, 0.5f);  // Snap
    EXPECT_EQ(shownAt(p, 2, 0.49f).first, "Chorale");
    EXPECT_EQ(shownAt(p, 2, 0.5f).first, "Tremolo");
    p.store(40, 1.0f);  // Orig
    EXPECT_EQ(shownAt(p, 2, 0.24f).first, "Chorale");
    EXPECT_EQ(shownAt(p, 2, 0.25f).first, "Stop");
    EXPECT_EQ(shownAt(p, 2, 0.5f).first, "Stop");
    EXPECT_EQ(shownAt(p, 2, 0.75f).first, "Tremolo");
    // The text is formed when asked, from the mode current then.
    p.store(2, 0.5f);
    p.store(40, 0.0f);
    EXPECT_EQ(shown(p, 2).first, "50");
}

TEST(ParameterText, InternalParametersAtTheirConstructionValues) {
    ParameterSet p;
    EXPECT_EQ(shown(p, 84), Text("0.0", "dB"));
    EXPECT_EQ(shown(p, 85), Text("-111.6", "deg"));
    EXPECT_EQ(shown(p, 86), Text("-100.0", "%"));
    EXPECT_EQ(shown(p, 87), Text("7.2", "deg"));
    EXPECT_EQ(shown(p, 88), Text("-9.7%", "%"));
    EXPECT_EQ(shown(p, 89), Text("100.0", "%"));
    EXPECT_EQ(shown(p, 90), Text("1.4", "dB"));
    EXPECT_EQ(shown(p, 91), Text("15.0", "cm"));
    EXPECT_EQ(shown(p, 92), Text("1.00", " "));
    EXPECT_EQ(shown(p, 93), Text("0.50", " "));
    EXPECT_EQ(shown(p, 99), Text("0.56", " "));
    EXPECT_EQ(shown(p, 100), Text("200", "Hz"));
    EXPECT_EQ(shown(p, 101), Text("20.00", "kHz"));
    EXPECT_EQ(shown(p, 102), Text("-1.7", "dB"));
    EXPECT_EQ(shown(p, 103), Text("0.70", " "));
    EXPECT_EQ(shown(p, 105), Text("1", " "));
    EXPECT_EQ(shown(p, 107), Text("1.39", "oct"));
    EXPECT_EQ(shown(p, 108), Text("3.1", "dB"));
    EXPECT_EQ(shown(p, 110), Text("-4.7", "%"));
    EXPECT_EQ(shown(p, 115), Text("20.0", "cm"));
    EXPECT_EQ(shown(p, 117), Text("-1.7", "dB"));
    EXPECT_EQ(shown(p, 119), Text("Off", " "));
    EXPECT_EQ(shown(p, 120), Text("Not implemented", " "));
    EXPECT_EQ(shown(p, 122), Text("-23.0", "dB"));
    EXPECT_EQ(shown(p, 123), Text("-12.0", "dB"));
    EXPECT_EQ(shown(p, 124), Text("-3.0", "dB"));
    EXPECT_EQ(shown(p, 125), Text("-6.6", "dB"));
    EXPECT_EQ(shown(p, 134), Text("10.02", "kHz"));
    EXPECT_EQ(shown(p, 136), Text("0.52", "oct"));
    EXPECT_EQ(shown(p, 137), Text("207", "cm"));
    EXPECT_EQ(shown(p, 138), Text("196", "cm"));
    EXPECT_EQ(shown(p, 140), Text("1.00", " "));
    EXPECT_EQ(shown(p, 144), Text("20.2", "cm"));
    EXPECT_EQ(shown(p, 145), Text("0.00", " "));
    EXPECT_EQ(shown(p, 146), Text("0.60", " "));
    EXPECT_EQ(shown(p, 147), Text("0.70", " "));
    EXPECT_EQ(shown(p, 148), Text("26.1", "cm"));
    EXPECT_EQ(shown(p, 149), Text("-16.0", "dB"));
    EXPECT_EQ(shown(p, 150), Text("-12.9", "dB"));
    EXPECT_EQ(shown(p, 151), Text("-18.2", "dB"));
    EXPECT_EQ(shown(p, 152), Text("-16.4", "dB"));
    EXPECT_EQ(shown(p, 153), Text("5.00", "kHz"));
    EXPECT_EQ(shown(p, 157), Text("0.02", " "));
    EXPECT_EQ(shown(p, 158), Text("20.00", " "));
    EXPECT_EQ(shown(p, 159), Text("650", "Hz"));
    EXPECT_EQ(shown(p, 162), Text("7.3", "dB"));
    EXPECT_EQ(shown(p, 163), Text("100", "Hz"));
    EXPECT_EQ(shown(p, 164), Text("-5.5", "dB"));
    EXPECT_EQ(shown(p, 165), Text("Off", " "));
    EXPECT_EQ(shown(p, 166), Text("-4.5", "dB"));
}

TEST(ParameterText, FlipsAndUnnamedIndices) {
    ParameterSet p;
    EXPECT_EQ(shownAt(p, 105, 1.0f).first, "-1");
    EXPECT_EQ(shownAt(p, 127, 0.5f).first, "1");
    EXPECT_EQ(shownAt(p, 127, 0.51f).first, "-1");
    for (int i : {42, 83, 104, 106, 111, 114, 118, 126, 128, 131, 155, -1, 167, 1000}) {
        EXPECT_EQ(shownAt(p, i, 0.7f), Text("", " ")) << i;
    }
    EXPECT_EQ(shownAt(p, 120, 1.0f).first, "Not implemented");
}

// ---- Every parameter over a grid ----

TEST(ParameterTextGrid, UserParametersInEveryLeverMode) {
    for (int mode = 0; mode < 3; ++mode) {
        ParameterSet p;
        p.store(40, mode / 2.0f);
        for (int index = 0; index < 42; ++index) {
            if (index == 40) continue;
            for (float v : kGrid) {
                EXPECT_EQ(shownAt(p, index, v), expectedUser(index, v, mode)) << index << " at " << v;
            }
        }
    }
    ParameterSet p;
    for (float v : kGrid) EXPECT_EQ(shownAt(p, 40, v), expectedUser(40, v, 0)) << v;
}

TEST(ParameterTextGrid, InternalParameters) {
    ParameterSet p;
    for (int index = 84; index < ParameterSet::kNumIndices; ++index) {
        for (float v : kGrid) {
            EXPECT_EQ(shownAt(p, index, v), expectedInternal(index, v)) << index << " at " << v;
        }
    }
}

TEST(ParameterTextGrid, TextsStayInsideTheirBuffer) {
    ParameterSet p;
    constexpr int kGuard = 16;
    for (int index = -1; index <= ParameterSet::kNumIndices; ++index) {
        for (float v : kGrid) {
            p.store(index, v);
            char buffer[ParameterSet::kTextSize + kGuard];
            for (auto get : {&ParameterSet::getName, &ParameterSet::getLabel, &ParameterSet::getDisplay}) {
                std::memset(buffer, '#', sizeof(buffer));
                (p.*get)(index, buffer);
                const std::size_t length = strnlen(buffer, ParameterSet::kTextSize);
                EXPECT_LT(length, static_cast<std::size_t>(ParameterSet::kTextSize)) << index;
                for (int k = ParameterSet::kTextSize; k < ParameterSet::kTextSize + kGuard; ++k) {
                    EXPECT_EQ(buffer[k], '#') << index;
                }
            }
        }
    }
}

}  // namespace
}  // namespace orv
