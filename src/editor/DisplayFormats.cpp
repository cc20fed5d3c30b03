#include "editor/DisplayFormats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "params/ParameterLaws.h"
#include "params/ParameterTable.h"

namespace orv {

namespace {

constexpr int kSize = kParamDisplayTextSize;

// Switch position of a value among count positions, kept inside the table even for values
// outside 0..1.
int position(float value, int count) { return std::clamp(switchPosition(value, count), 0, count - 1); }

// The host's choice text of a switch-like parameter at the value's position.
void writeChoice(int index, float value, char* text)
{
    const ParameterInfo& info = parameterInfo(index);
    std::snprintf(text, kSize, "%s", info.choices[position(value, info.positions)]);
}

// A frequency in Hz as "Off", "%.0f Hz" or "%.2f kHz"; "Off" keeps a blank in place of the unit.
void writeFrequency(double hz, char* text)
{
    constexpr double kKilo = 1000.0;
    if (hz == 0.0)
        std::snprintf(text, kSize, "Off  ");
    else if (hz >= kKilo)
        std::snprintf(text, kSize, "%.2f kHz", hz / kKilo);
    else
        std::snprintf(text, kSize, "%.0f Hz", hz);
}

// A linear gain in decibels, "-oo" when it is not above 0.
void writeDecibels(double g, char* text)
{
    if (g > 0.0)
        std::snprintf(text, kSize, "%.1f dB", 20.0 * std::log10(g));
    else
        std::snprintf(text, kSize, "-oo dB");
}

}  // namespace

bool DisplayFormats::speed(float value, char* text, void*)
{
    std::snprintf(text, kSize, "%.2f Hz", speedLaw(value));
    return true;
}

bool DisplayFormats::time(float value, char* text, void*)
{
    // The time law in double precision, in milliseconds.
    constexpr double kShortestMs = kShortestTime * 1000.0;
    const double ms = std::pow(kTimeRange, static_cast<double>(value)) * kShortestMs;
    if (ms < 1000.0)
        std::snprintf(text, kSize, "%.0f ms", ms);
    else
        std::snprintf(text, kSize, "%.1f s", ms / 1000.0);
    return true;
}

bool DisplayFormats::distance(float value, char* text, void*)
{
    const double x = value * kMicDistanceSpan;  // beyond the nearest microphone position
    if (x < 1.0)
        std::snprintf(text, kSize, "%.0f cm", x * 100.0);
    else
        std::snprintf(text, kSize, "%.2f m", x);
    return true;
}

bool DisplayFormats::highPass(float value, char* text, void*)
{
    // The threshold is compared in single precision, so that a value of 0.01 is already on.
    constexpr float kOffBelow = static_cast<float>(kHighPassOffBelow);
    const double hz = value >= kOffBelow ? highPassCurve(value) : 0.0;
    writeFrequency(hz, text);
    return true;
}

bool DisplayFormats::lowPass(float value, char* text, void*)
{
    writeFrequency(lowPassFrequency(value), text);
    return true;
}

bool DisplayFormats::gain(float value, char* text, void*)
{
    writeDecibels(levelGain(value), text);
    return true;
}

bool DisplayFormats::eq(float value, char* text, void*)
{
    std::snprintf(text, kSize, "%.1f dB", eqGainDb(value));
    return true;
}

bool DisplayFormats::drive(float value, char* text, void*)
{
    std::snprintf(text, kSize, "%.1f dB", driveGainDb(value));
    return true;
}

bool DisplayFormats::reflexGain(float value, char* text, void*)
{
    writeDecibels(value * 2.0, text);  // linear gain 0..2, unity at the centre
    return true;
}

bool DisplayFormats::percent(float value, char* text, void*)
{
    std::snprintf(text, kSize, "%.1f %%", value * 100.0);
    return true;
}

bool DisplayFormats::widthPercent(float value, char* text, void*)
{
    std::snprintf(text, kSize, "%.1f %%", value * 200.0);  // 0 .. 200 % stereo width
    return true;
}

bool DisplayFormats::balance(float value, char* text, void*)
{
    // 99 steps each side of a small centre zone.
    constexpr double kSteps = 199.0;
    constexpr float kCentreHigh = 0.501f;
    constexpr float kCentreLow = 0.499f;
    if (value == 0.0f)
        std::snprintf(text, kSize, "L");
    else if (value == 1.0f)
        std::snprintf(text, kSize, "R");
    else if (value > kCentreHigh)
        std::snprintf(text, kSize, "%dR", static_cast<int>((value - 0.5) * kSteps + 0.5));
    else if (value >= kCentreLow)
        std::snprintf(text, kSize, "C");
    else
        std::snprintf(text, kSize, "%dL", static_cast<int>((0.5 - value) * kSteps + 0.5));
    return true;
}

bool DisplayFormats::size(float value, char* text, void*)
{
    std::snprintf(text, kSize, "%d", position(value, kRoomSizes) + 1);
    return true;
}

bool DisplayFormats::amplifierType(float value, char* text, void*)
{
    writeChoice(param::kType, value, text);
    return true;
}

bool DisplayFormats::setupFirstLine(float value, char* text, void*)
{
    static constexpr const char* kLines[] = {"Amp", "Front", "Front", "Front", "Opposite", "Mono"};
    std::snprintf(text, kSize, "%s", kLines[position(value, static_cast<int>(std::size(kLines)))]);
    return true;
}

bool DisplayFormats::setupSecondLine(float value, char* text, void*)
{
    static constexpr const char* kLines[] = {"Only", "Side", "Diagonal", "Rear", "Diagonal", ""};
    std::snprintf(text, kSize, "%s", kLines[position(value, static_cast<int>(std::size(kLines)))]);
    return true;
}

bool DisplayFormats::speakerConfiguration(float value, char* text, void*)
{
    writeChoice(param::kSpkrConf, value, text);
    return true;
}

bool DisplayFormats::ratio(float value, char* text, void*)
{
    // Share of the two motor noises in percent, 50:50 at the centre.
    constexpr double kHalf = 50.0;
    double a;
    double b;
    if (value >= 0.5f) {
        const double d = (value - 0.5) * 2.0;
        a = (1.0 - d) * kHalf;
        b = (1.0 + d) * kHalf;
    } else {
        const double d = (0.5 - value) * 2.0;
        a = (1.0 + d) * kHalf;
        b = (1.0 - d) * kHalf;
    }
    std::snprintf(text, kSize, "%d:%d", static_cast<int>(a + 0.5), static_cast<int>(b + 0.5));
    return true;
}

}  // namespace orv
