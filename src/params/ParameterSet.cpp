#include "params/ParameterSet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "params/ParameterLaws.h"

namespace orv {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kTextSize = ParameterSet::kTextSize;

void copyText(char* dst, const char* src)
{
    std::size_t n = std::strlen(src);
    if (n > kTextSize - 1) n = kTextSize - 1;
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

// "-oo" for no gain at all, else the gain in dB with one decimal.
void decibelText(double gain, char* text)
{
    if (gain <= 0.0) {
        copyText(text, "-oo");
        return;
    }
    std::snprintf(text, kTextSize, "%.1f", 20.0 * std::log10(gain));
}

// x in whole small units, or from `large` small units on in large units with largeFormat.
void twoUnitText(double x, double large, const char* largeFormat, const char* largeUnit, const char* smallUnit,
                 char* text, char* label)
{
    if (x >= large) {
        std::snprintf(text, kTextSize, largeFormat, x / large);
        copyText(label, largeUnit);
    } else {
        std::snprintf(text, kTextSize, "%.0f", x);
        copyText(label, smallUnit);
    }
}

// Frequencies of 1 kHz and above in kHz with two decimals, lower ones in whole Hz.
void frequencyText(double hz, char* text, char* label) { twoUnitText(hz, 1000.0, "%.2f", "kHz", "Hz", text, label); }

// Times of a second and more in seconds with one decimal, shorter ones in whole milliseconds.
void timeText(double seconds, char* text, char* label)
{
    constexpr double kMilli = 1000.0;
    twoUnitText(kMilli * seconds, kMilli, "%.1f", "s", "ms", text, label);
}

// Distance beyond the nearest microphone position: whole centimetres below a metre, else metres.
void distanceText(double metres, char* text, char* label)
{
    constexpr double kCentimetres = 100.0;
    const double x = metres - kNearestMicDistance;
    if (x < 0.0) {
        std::snprintf(text, kTextSize, "%.0f", 0.0);
    } else if (x < 1.0) {
        std::snprintf(text, kTextSize, "%.0f", kCentimetres * x);
    } else {
        std::snprintf(text, kTextSize, "%.2f", x);
    }
    copyText(label, x >= 1.0 ? "m" : "cm");
}

void leverText(float v, int leverMode, char* text)
{
    constexpr int kCont = 0;
    constexpr int kSnap = 1;
    constexpr double kChoraleEnd = 0.005;    // continuous lever: at or below shows "Chorale"
    constexpr double kTremoloStart = 0.995;  // continuous lever: at or above shows "Tremolo"
    if (leverMode == kCont) {
        if (v <= kChoraleEnd) {
            copyText(text, "Chorale");
        } else if (v >= kTremoloStart) {
            copyText(text, "Tremolo");
        } else {
            std::snprintf(text, kTextSize, "%d", roundHalfUp(100.0 * v));
        }
    } else if (leverMode == kSnap) {
        copyText(text, roundHalfUp(v) == 0 ? "Chorale" : "Tremolo");
    } else {
        static constexpr const char* kOrig[] = {"Chorale", "Stop", "Tremolo"};
        copyText(text, kOrig[std::clamp(roundHalfUp(2.0 * v), 0, 2)]);
    }
}

void balanceText(float v, char* text)
{
    constexpr double kCentreLow = 0.499;   // values from here ...
    constexpr double kCentreHigh = 0.501;  // ... to here show "C"
    constexpr double kSteps = 199.0;       // about 100 steps each side of the centre
    if (v == 0.0f) {
        copyText(text, "L");
    } else if (v == 1.0f) {
        copyText(text, "R");
    } else if (v > kCentreHigh) {
        std::snprintf(text, kTextSize, "%dR", roundHalfUp(kSteps * (v - 0.5)));
    } else if (v >= kCentreLow) {
        copyText(text, "C");
    } else {
        std::snprintf(text, kTextSize, "%dL", roundHalfUp(kSteps * (0.5 - v)));
    }
}

void midiChannelText(float v, char* text)
{
    constexpr int kOmni = 17;  // position after the 16 channels: all channels
    const int n = std::clamp(switchPosition(v, kOmni + 1), 0, kOmni);
    if (n == 0) {
        copyText(text, "OFF");
    } else if (n == kOmni) {
        copyText(text, "OMNI");
    } else {
        std::snprintf(text, kTextSize, "Ch %d", n);
    }
}

}  // namespace

ParameterSet::ParameterSet()
{
    for (int i = 0; i < kNumIndices; ++i) {
        values[i].store(0.0f, kRelaxed);
        primary[i].store(0.0, kRelaxed);
        secondary[i].store(0.0, kRelaxed);
    }
    for (int i = 0; i < kNumIndices; ++i) {
        if ((parameterInfo(i).flags & kFlagController) != 0) continue;
        values[i].store(parameterInfo(i).initial, kRelaxed);
        compute(i, parameterInfo(i).initial);
    }
}

bool ParameterSet::store(int index, float value)
{
    if (!inRange(index) || (parameterInfo(index).flags & kFlagController) != 0) return false;
    const float previous = values[index].load(kRelaxed);
    const bool changed = previous != value;
    if (!changed && (index == param::kHDistance || index == param::kDDistance)) return false;
    values[index].store(value, kRelaxed);
    const float v = sanitiseParameterValue(value);
    compute(index, v);
    if (index == param::kHDistance) {
        const float clip = hornAmplitudeClipValue(v);
        values[param::kHornAmplitudeClip].store(clip, kRelaxed);
        compute(param::kHornAmplitudeClip, clip);
    }
    return changed;
}

float ParameterSet::value(int index) const
{
    if (!inRange(index) || (parameterInfo(index).flags & kFlagReadable) == 0) return 0.0f;
    return values[index].load(kRelaxed);
}

float ParameterSet::storedValue(int index) const { return inRange(index) ? values[index].load(kRelaxed) : 0.0f; }

float ParameterSet::lawValue(int index) const { return sanitiseParameterValue(storedValue(index)); }

double ParameterSet::quantity(int index) const { return inRange(index) ? primary[index].load(kRelaxed) : 0.0; }

double ParameterSet::secondaryQuantity(int index) const
{
    return inRange(index) ? secondary[index].load(kRelaxed) : 0.0;
}

void ParameterSet::compute(int index, float value)
{
    const ParameterInfo& info = parameterInfo(index);
    const double v = value;
    double p = v;
    double s = 0.0;
    switch (info.law) {
    case Law::None:
    case Law::Identity: break;
    case Law::Position: p = switchPosition(value, info.positions); break;
    case Law::SizeStep: p = sizeStep(v); break;
    case Law::LevelCurve: p = levelCurve(v); break;
    case Law::EqGain: p = eqGainDb(v); break;
    case Law::EqGainWithQ:
        p = eqGainDb(v);
        s = eqQuality(p);
        break;
    case Law::InputGain: p = levelCurve(v) * kInputTrim; break;
    case Law::DriveGain:
        p = driveGain(v);
        s = 1.0 / p;
        break;
    case Law::ReflectionLevel: p = levelCurve(v) * kReflectionTrim; break;
    case Law::Speed: p = speedLaw(v); break;
    case Law::Time: p = timeLaw(v); break;
    case Law::Distance: p = distanceLaw(v); break;
    case Law::HighPass: p = highPassFrequency(v); break;
    case Law::LowPass: p = lowPassFrequency(value); break;
    case Law::Twice: p = 2.0 * v; break;
    case Law::Balance: balanceGains(v, p, s); break;
    case Law::Mix:
        // Square roots keep the sum of wet and dry power constant.
        p = std::sqrt(std::max(v, 0.0));
        s = std::sqrt(std::max(1.0 - v, 0.0));
        break;
    case Law::MicAngle: p = v - 0.5; break;  // 0 straight in front, ±0.5 straight behind
    case Law::Panorama: panGains(v, p, s); break;
    case Law::Mic2Distance: p = 0.4 * v - 0.2; break;  // −20 % .. +20 % of the first distance
    case Law::Radius: p = radiusLaw(v); break;
    case Law::ReflectionCurve: p = reflectionCurve(v); break;
    case Law::Cutoff: p = cutoffLaw(v); break;
    case Law::HornAttDistance: p = hornAttenuationDistance(v); break;
    case Law::DrumAttDistance: p = drumAttenuationDistance(v); break;
    case Law::DecayExponent: p = decayExponent(v); break;
    case Law::Saturation: p = saturationAmount(v); break;
    case Law::Flip: p = flipSign(value); break;
    case Law::OpenBack: p = static_cast<int>(2.0 * v); break;
    case Law::RoomScale: p = roomScale(v); break;
    case Law::VirtualScale: p = virtualRoomScale(v); break;
    case Law::ExtraDistance: p = extraDistance(v); break;
    case Law::ReflectionCutoff: p = reflectionCutoff(v); break;
    case Law::Splitter: p = splitterFrequency(v); break;
    }
    primary[index].store(p, kRelaxed);
    secondary[index].store(s, kRelaxed);
}

bool ParameterSet::isNamed(int index) { return inRange(index) && parameterInfo(index).name[0] != '\0'; }

bool ParameterSet::isGlobalParameter(int index)
{
    if (index < 0) return true;
    return index < kNumIndices && (parameterInfo(index).flags & kFlagGlobal) != 0;
}

bool ParameterSet::isPerformanceParameter(int index)
{
    return inRange(index) && (parameterInfo(index).flags & kFlagPerformance) != 0;
}

float ParameterSet::initialValue(int index) { return inRange(index) ? parameterInfo(index).initial : 0.0f; }

void ParameterSet::getName(int index, char* text) const
{
    if (text == nullptr) return;
    copyText(text, inRange(index) ? parameterInfo(index).name : "");
}

void ParameterSet::getLabel(int index, char* text) const
{
    if (text == nullptr) return;
    char display[kTextSize];
    format(index, display, text);
}

void ParameterSet::getDisplay(int index, char* text) const
{
    if (text == nullptr) return;
    char label[kTextSize];
    format(index, text, label);
}

void ParameterSet::format(int index, char* text, char* label) const
{
    text[0] = '\0';
    copyText(label, " ");
    if (!isNamed(index)) return;
    const ParameterInfo& info = parameterInfo(index);
    if (info.label != nullptr) copyText(label, info.label);
    const float v = lawValue(index);
    const double q = primary[index].load(kRelaxed);
    switch (info.text) {
    case TextForm::Empty: break;
    case TextForm::Choice:
        copyText(text, info.choices[std::clamp(switchPosition(v, info.positions), 0, info.positions - 1)]);
        break;
    case TextForm::Lever: leverText(v, std::clamp(switchPosition(lawValue(param::kLvrMode), 3), 0, 2), text); break;
    case TextForm::Decibel: decibelText(q, text); break;
    case TextForm::InputDecibel: decibelText(q * kInputTextScale, text); break;
    case TextForm::ReflectionDecibel: decibelText(q * kReflectionTextScale, text); break;
    case TextForm::Fixed1: std::snprintf(text, kTextSize, "%.1f", q); break;
    case TextForm::Fixed2: std::snprintf(text, kTextSize, "%.2f", q); break;
    case TextForm::TwiceFixed2: std::snprintf(text, kTextSize, "%.2f", 2.0 * q); break;
    case TextForm::Integer: std::snprintf(text, kTextSize, "%d", static_cast<int>(q)); break;
    case TextForm::ColorPercent: std::snprintf(text, kTextSize, "%.1f", 100.0 * v); break;
    case TextForm::WidthPercent: std::snprintf(text, kTextSize, "%.0f", 200.0 * v); break;  // 100 % = unchanged
    case TextForm::MixPercent: std::snprintf(text, kTextSize, "%.0f", 100.0 * v); break;
    case TextForm::Time: timeText(q, text, label); break;
    case TextForm::Distance: distanceText(q, text, label); break;
    case TextForm::FilterFrequency:
        if (q == 0.0) {
            copyText(text, "Off");
            copyText(label, " ");
        } else {
            frequencyText(q, text, label);
        }
        break;
    case TextForm::Frequency:
        if (info.label != nullptr) {
            char unused[kTextSize];
            frequencyText(q, text, unused);
        } else {
            frequencyText(q, text, label);
        }
        break;
    case TextForm::Ratio:
        std::snprintf(text, kTextSize, "%d:%d", roundHalfUp(100.0 * (1.0 - v)), roundHalfUp(100.0 * v));
        break;
    case TextForm::Balance: balanceText(v, text); break;
    case TextForm::MidiChannel: midiChannelText(v, text); break;
    case TextForm::Angle: std::snprintf(text, kTextSize, "%.1f", 360.0 * q); break;
    case TextForm::Panorama: std::snprintf(text, kTextSize, "%.1f", 100.0 * (2.0 * v - 1.0)); break;
    case TextForm::Mic2Distance: std::snprintf(text, kTextSize, "%.1f%%", 100.0 * q); break;
    case TextForm::Centimetres1: std::snprintf(text, kTextSize, "%.1f", 100.0 * q); break;
    case TextForm::Centimetres0: std::snprintf(text, kTextSize, "%.0f", 100.0 * q); break;
    case TextForm::Sign: std::snprintf(text, kTextSize, "%.0f", q); break;
    }
}

}  // namespace orv
