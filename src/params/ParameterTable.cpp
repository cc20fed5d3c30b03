#include "params/ParameterTable.h"

#include <array>

#include "params/ParameterLaws.h"

namespace orv {

namespace {

using namespace param;
using L = Law;
using T = TextForm;

constexpr const char* kBlank = " ";  // label of parameters without a unit

constexpr const char* kOffOn[] = {"Off", "On"};
constexpr const char* kCpuModes[] = {"LowCPU", "Brilliant"};
constexpr const char* kStopTexts[] = {"Running", "Stopped"};
// Set-up positions are named by two words that the editor shows on two lines; the host gets
// them joined without a blank.
// clang-format off
constexpr const char* kSetups[] = {"Amp" "Only", "Front" "Side", "Front" "Diagonal", "Front" "Rear",
                                   "Opposite" "Diagonal", "Mono"};
// clang-format on
constexpr const char* kAmpTypes[] = {"Thru", "Tube", "Solid"};
constexpr const char* kSpeakerConfs[] = {"Drum", "Drum+Horn", "Horn"};
constexpr const char* kLeverModes[] = {"Cont", "Snap", "Orig"};
constexpr const char* kSpeedModes[] = {"Default", "TremDwn", "TremUp", "Trigger"};
constexpr const char* kNotImplemented[] = {"Not implemented"};

constexpr std::uint8_t kUser = kFlagReadable;
constexpr std::uint8_t kPerf = kFlagReadable | kFlagPerformance;
constexpr std::uint8_t kSetupFlag = kFlagReadable | kFlagGlobal;
constexpr std::uint8_t kInternal = kFlagReadable;
constexpr std::uint8_t kStepped = kFlagStepped;

struct Row {
    int index;
    ParameterInfo info;
};

// A plain row: fixed label (or nullptr for a label chosen by the text form).
constexpr Row row(int index, const char* name, const char* label, Law law, TextForm text, float initial,
                  std::uint8_t flags)
{
    return {index, {name, label, law, text, nullptr, 0, initial, flags}};
}

// A switch-like row whose text is one of n choices.
template <int N>
constexpr Row choice(int index, const char* name, Law law, const char* const (&texts)[N], float initial,
                     std::uint8_t flags)
{
    return {index, {name, kBlank, law, T::Choice, texts, static_cast<std::uint8_t>(N), initial, flags}};
}

// clang-format off
constexpr Row kRows[] = {
    // User parameters: the initial value is the one of the "Default" program.
    choice(kBypass, "Bypass", L::Position, kOffOn, 0.0f, kPerf | kStepped),
    choice(kCpuMode, "CPUmode", L::Position, kCpuModes, 0.0f, kPerf | kStepped),
    row(kLever, "Lever", kBlank, L::Identity, T::Lever, 0.0f, kPerf),
    {kSpeed, {"Speed", kBlank, L::Position, T::Empty, nullptr, 2, 0.0f, kPerf | kStepped}},
    choice(kStop, "Stop", L::Position, kStopTexts, 0.0f, kPerf | kStepped),
    row(kMech, "Mech", "dB", L::LevelCurve, T::Decibel, 0.5f, kUser),
    row(kBottom, "Bottom", "dB", L::EqGain, T::Fixed1, 0.5f, kUser),
    row(kLoMid, "LoMid", "dB", L::EqGainWithQ, T::Fixed1, 0.5f, kUser),
    row(kPresence, "Presence", "dB", L::EqGainWithQ, T::Fixed1, 0.501063f, kUser),
    row(kTopShlf, "TopShlf", "dB", L::EqGain, T::Fixed1, 0.5f, kUser),
    choice(kSetup, "Setup", L::Position, kSetups, 0.25f, kUser | kStepped),
    row(kInput, "Input", "dB", L::InputGain, T::InputDecibel, 0.500008f, kUser),
    choice(kType, "Type", L::Position, kAmpTypes, 0.5f, kUser | kStepped),
    row(kDrive, "Drive", "dB", L::DriveGain, T::Decibel, 0.5f, kUser),
    {kSize, {"Size", kBlank, L::SizeStep, T::Integer, nullptr, kRoomSizes, 0.0f, kUser | kStepped}},
    row(kColor, "Color", "%", L::Identity, T::ColorPercent, 0.508422f, kUser),
    row(kAmount, "Amount", "dB", L::ReflectionLevel, T::ReflectionDecibel, 0.0f, kUser),
    row(kHSlowSpd, "HSlowSpd", "Hz", L::Speed, T::Fixed2, 0.0673f, kUser),
    row(kHFastSpd, "HFastSpd", "Hz", L::Speed, T::Fixed2, 0.677088f, kUser),
    row(kHAccel, "HAccel", nullptr, L::Time, T::Time, 0.395142f, kUser),
    row(kHDecel, "HDecel", nullptr, L::Time, T::Time, 0.447158f, kUser),
    row(kHDistance, "HDistance", nullptr, L::Distance, T::Distance, 0.5f, kUser),
    row(kHHpf, "HHPF", nullptr, L::HighPass, T::FilterFrequency, 0.0f, kUser),
    row(kHGain, "HGain", "dB", L::LevelCurve, T::Decibel, 0.5f, kUser),
    row(kDSlowSpd, "DSlowSpd", "Hz", L::Speed, T::Fixed2, 0.0931f, kUser),
    row(kDFastSpd, "DFastSpd", "Hz", L::Speed, T::Fixed2, 0.65282f, kUser),
    row(kDAccel, "DAccel", nullptr, L::Time, T::Time, 0.759256f, kUser),
    row(kDDecel, "DDecel", nullptr, L::Time, T::Time, 0.831378f, kUser),
    row(kDDistance, "DDistance", nullptr, L::Distance, T::Distance, 0.0f, kUser),
    row(kDLpf, "DLPF", nullptr, L::LowPass, T::FilterFrequency, 1.0f, kUser),
    row(kDGain, "DGain", "dB", L::LevelCurve, T::Decibel, 0.5f, kUser),
    choice(kSpkrConf, "SpkrConf", L::Position, kSpeakerConfs, 0.5f, kSetupFlag),
    row(kBReflex, "BReflex", "dB", L::Twice, T::Decibel, 0.5f, kSetupFlag),
    row(kXTalk, "X-Talk", "dB", L::Twice, T::Decibel, 0.5f, kSetupFlag),
    row(kMechRatio, "MechRatio", kBlank, L::Identity, T::Ratio, 0.5f, kSetupFlag),
    row(kWidth, "Width", "%", L::Identity, T::WidthPercent, 0.5f, kSetupFlag),
    row(kBalance, "Balance", kBlank, L::Balance, T::Balance, 0.5f, kSetupFlag),
    row(kMix, "Mix", "%", L::Mix, T::MixPercent, 1.0f, kSetupFlag),
    row(kOutput, "Output", "dB", L::LevelCurve, T::Decibel, 0.5f, kSetupFlag),
    {kMidiChl, {"MIDIchl", kBlank, L::Position, T::MidiChannel, nullptr, 18, 1.0f, kPerf}},
    choice(kLvrMode, "LvrMode", L::Position, kLeverModes, 0.0f, kSetupFlag | kStepped),
    choice(kSpdMode, "SpdMode", L::Position, kSpeedModes, 0.0f, kSetupFlag | kStepped),

    // Internal voicing parameters: the initial value is the construction value.
    row(kHornGain, "Horn Gain", "dB", L::LevelCurve, T::Decibel, 0.5f, kInternal),
    row(kHornMic1Angle, "Horn Mic1 Angle", "deg", L::MicAngle, T::Angle, 0.19f, kInternal),
    row(kHornMic1Panorama, "Horn Mic1 Panorama", "%", L::Panorama, T::Panorama, 0.0f, kInternal),
    row(kHornMic2Angle, "Horn Mic2 Angle", "deg", L::MicAngle, T::Angle, 0.52f, kInternal),
    row(kHornMic2Distance, "Horn Mic2 Distance", "%", L::Mic2Distance, T::Mic2Distance, 0.2575f, kInternal),
    row(kHornMic2Panorama, "Horn Mic2 Panorama", "%", L::Panorama, T::Panorama, 1.0f, kInternal),
    row(kHornMic2Gain, "Horn Mic2 Gain", "dB", L::LevelCurve, T::Decibel, 0.55f, kInternal),
    row(kHornFmRadius, "Horn FM Radius", "cm", L::Radius, T::Centimetres1, 0.245586f, kInternal),
    row(kHornAttenuation, "Horn Attenuation", kBlank, L::Twice, T::Fixed2, 0.497676f, kInternal),
    row(kHornRay1, "Horn Ray 1 (front)", kBlank, L::Identity, T::Fixed2, 0.497715f, kInternal),
    row(kHornRay2, "Horn Ray 2 (back/sides)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kHornRay3, "Horn Ray 3 (back-right)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kHornRay4, "Horn Ray 4 (back-left)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kHornRay5, "Horn Ray 5 (LBR)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kHornRay6, "Horn Ray 6 (RBL)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kHornRays7To10, "Horn Rays 7-10 (misc)", kBlank, L::Identity, T::Fixed2, 0.559258f, kInternal),
    row(kHornLpfCutLow, "Horn LPF cut low", nullptr, L::Cutoff, T::Frequency, 0.0f, kInternal),
    row(kHornLpfCutHigh, "Horn LPF cut high", nullptr, L::Cutoff, T::Frequency, 1.0f, kInternal),
    row(kHornReflectionCoeff, "Horn Reflection coeff", "dB", L::ReflectionCurve, T::Decibel, 0.922695f, kInternal),
    row(kHornZAxisRays, "Horn Z-axis rays", kBlank, L::Identity, T::Fixed2, 0.696738f, kInternal),
    row(kHornFlip, "Horn Flip", kBlank, L::Flip, T::Sign, 0.0f, kInternal),
    // The reflection low-pass stores L = 2·v octaves per reflection; its text is twice that.
    row(kHornReflectionLpf, "Horn Reflection LPF", "oct", L::Twice, T::TwiceFixed2, 0.348672f, kInternal),
    row(kDrumGain, "Drum Gain", "dB", L::LevelCurve, T::Decibel, 0.61418f, kInternal),
    row(kDrumMic1Angle, "Drum Mic1 Angle", "deg", L::MicAngle, T::Angle, 0.5f, kInternal),
    row(kDrumMic1Pan, "Drum Mic1 Pan", "%", L::Panorama, T::Panorama, 0.476328f, kInternal),
    row(kDrumFmRadius, "Drum FM Radius", "cm", L::Radius, T::Centimetres1, 0.658691f, kInternal),
    row(kDrumAttenuation, "Drum Attenuation", kBlank, L::Twice, T::Fixed2, 0.492148f, kInternal),
    row(kDrumReflectionCoeff, "Drum Reflection coeff", "dB", L::ReflectionCurve, T::Decibel, 0.923145f, kInternal),
    choice(kHornOpenBackMode, "Horn Open Back Mode", L::OpenBack, kOffOn, 0.0f, kInternal),
    // Named, but has no function: getParameter answers 0 whatever it was set to.
    choice(kDrumOpenBackMode, "Drum Open Back Mode", L::None, kNotImplemented, 0.0f, 0),
    row(kAmpPostDriveGain, "Amp Post-drive Gain", "dB", L::LevelCurve, T::Decibel, 0.5f, kInternal),
    row(kBrToTubeMicGain, "BR to Tube Mic Gain", "dB", L::LevelCurve, T::Decibel, 0.06f, kInternal),
    row(kBrToDrumMicGain, "BR to Drum Mic Gain", "dB", L::LevelCurve, T::Decibel, 0.184834f, kInternal),
    row(kDrumToTubeFeedback, "Drum->Tube feedback", "dB", L::LevelCurve, T::Decibel, 0.4f, kInternal),
    row(kHornToDrumFeedback, "Horn->Drum feedback", "dB", L::LevelCurve, T::Decibel, 0.3f, kInternal),
    // No name and no function, but getParameter answers what it was set to.
    row(kUnnamedKept, "", kBlank, L::None, T::Empty, 0.0f, kFlagReadable),
    row(kDrumFlip, "Drum Flip", kBlank, L::Flip, T::Sign, 0.0f, kInternal),
    row(kDrumRay1, "Drum Ray 1 (front)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kDrumRay2, "Drum Ray 2 (back/sides)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kDrumLpfCutLow, "Drum LPF cut low", nullptr, L::Cutoff, T::Frequency, 0.849902f, kInternal),
    row(kDrumLpfCutHigh, "Drum LPF cut high", nullptr, L::Cutoff, T::Frequency, 1.0f, kInternal),
    row(kDrumReflectionLpf, "Drum Reflection LPF", "oct", L::Twice, T::TwiceFixed2, 0.13f, kInternal),
    row(kHornAttenuationDistance, "Horn Attenuation distance", "cm", L::HornAttDistance, T::Centimetres0,
        0.657754f, kInternal),
    row(kDrumAttenuationDistance, "Drum Attenuation distance", "cm", L::DrumAttDistance, T::Centimetres0,
        0.653926f, kInternal),
    row(kHornStaticRay, "Horn Static Ray", kBlank, L::Identity, T::Fixed2, 0.353047f, kInternal),
    row(kHornAttDecayExp, "Horn Att Decay Exp", kBlank, L::DecayExponent, T::Fixed2, 0.5f, kInternal),
    row(kDrumAttDecayExp, "Drum Att Decay Exp", kBlank, L::DecayExponent, T::Fixed2, 0.500977f, kInternal),
    row(kDrumStaticRay, "Drum Static Ray", kBlank, L::Identity, T::Fixed2, 0.0f, kInternal),
    row(kHornAmRadius, "Horn AM Radius", "cm", L::Radius, T::Centimetres1, 0.658926f, kInternal),
    row(kDrumAmRadius, "Drum AM Radius", "cm", L::Radius, T::Centimetres1, 0.67334f, kInternal),
    row(kHornFilterSaturation, "Horn Filter Saturation", kBlank, L::Saturation, T::Fixed2, 0.3f, kInternal),
    row(kEarlyReflRoomSize, "Early Refl. Room Size", kBlank, L::RoomScale, T::Fixed2, 0.193426f, kInternal),
    row(kEarlyReflVirtualRoomSize, "Early Refl. Virtual Room Size", kBlank, L::VirtualScale, T::Fixed2,
        0.371357f, kInternal),
    row(kEarlyReflLrDelay, "Early Refl. LR Delay", "cm", L::ExtraDistance, T::Centimetres1, 0.241094f, kInternal),
    row(kSlowSampleVolume, "Slow Sample Volume", "dB", L::LevelCurve, T::Decibel, 0.125f, kInternal),
    row(kFastSampleVolume, "Fast Sample Volume", "dB", L::LevelCurve, T::Decibel, 0.170079f, kInternal),
    row(kAccelSampleVolume, "Accel Sample Volume", "dB", L::LevelCurve, T::Decibel, 0.100002f, kInternal),
    row(kDecelSampleVolume, "Decel Sample Volume", "dB", L::LevelCurve, T::Decibel, 0.120002f, kInternal),
    row(kEarlyReflMainCutoff, "Early Refl. Main Cutoff", nullptr, L::ReflectionCutoff, T::Frequency, 0.69897f,
        kInternal),
    // The cross cutoff has no law of its own in the reflection block; its quantity is v.
    row(kEarlyReflXCutoff, "Early Refl. X Cutoff", kBlank, L::Identity, T::Fixed2, 0.0f, kInternal),
    choice(kSlowSpeedButton, "Slow Speed Button", L::Position, kOffOn, 0.0f, kInternal),
    row(kDrumFilterSaturation, "Drum Filter Saturation", kBlank, L::Saturation, T::Fixed2, 0.5f, kInternal),
    // Unlike its horn counterpart this one has no unit label: the frequency text stands alone.
    row(kDrumStaticFilterCutoff, "Drum Static Filter Cutoff", kBlank, L::Cutoff, T::Frequency, 1.0f, kInternal),
    row(kHornStaticFilterCutoff, "Horn Static Filter Cutoff", nullptr, L::Cutoff, T::Frequency, 0.256055f,
        kInternal),
    row(kDrumRay3, "Drum Ray 3 (back-left)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kDrumRay4, "Drum Ray 4 (back-right)", kBlank, L::Identity, T::Fixed2, 0.5f, kInternal),
    row(kDrumSampleVolume, "Drum Sample Volume", "dB", L::LevelCurve, T::Decibel, 0.789297f, kInternal),
    row(kDrumSplitterFrequency, "Drum Splitter Frequency", nullptr, L::Splitter, T::Frequency, 0.30103f, kInternal),
    row(kDrumLpStaticGain, "Drum LP Static Gain", "dB", L::LevelCurve, T::Decibel, 0.328904f, kInternal),
    choice(kBypassSpeakers, "Bypass Speakers (Amp Only)", L::Position, kOffOn, 0.0f, kInternal),
    // Set again from "HDistance" whenever that changes.
    row(kHornAmplitudeClip, "Horn Amplitude Clip", "dB", L::ReflectionCurve, T::Decibel, 0.795879f, kInternal),
};
// clang-format on

constexpr std::array<ParameterInfo, kNumIndices> buildTable()
{
    std::array<ParameterInfo, kNumIndices> table{};
    // Every index starts without a name, text or function.
    for (ParameterInfo& info : table) info = {"", kBlank, L::None, T::Empty, nullptr, 0, 0.0f, 0};
    for (int i = kFirstController; i <= kLastController; ++i) table[i].flags = kFlagController;
    for (const Row& r : kRows) table[r.index] = r.info;
    return table;
}

constexpr std::array<ParameterInfo, kNumIndices> kTable = buildTable();

constexpr bool rowsAreOrderedAndDistinct()
{
    for (std::size_t i = 1; i < std::size(kRows); ++i) {
        if (kRows[i].index <= kRows[i - 1].index) return false;
    }
    return true;
}
static_assert(rowsAreOrderedAndDistinct(), "each index has at most one row, in order");
static_assert(std::size(kRows) == kNumUser + 71, "42 user rows, 70 named internal rows and index 126");

}  // namespace

const ParameterInfo& parameterInfo(int index) { return kTable[index]; }

}  // namespace orv
