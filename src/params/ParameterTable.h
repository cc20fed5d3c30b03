// The one table of all 167 parameter indices: name, label, law, value text, initial value and
// flags. The host interface, the chunk, the MIDI map and the editor all read it.
#pragma once

#include <cstdint>

#include "params/ParameterIndex.h"

namespace orv {

// How a normalised value v becomes the quantities the engine reads. Each law gives a primary
// quantity and, where noted, a secondary one.
enum class Law : std::uint8_t {
    None,              // v (indices without a function)
    Identity,          // v
    Position,          // round((n − 1)·v), the selected position of n
    SizeStep,          // round(4·v) + 1, 1..5
    LevelCurve,        // levelCurve(v), linear gain
    EqGain,            // 24·v − 12 dB
    EqGainWithQ,       // 24·v − 12 dB; secondary: band quality
    InputGain,         // levelCurve(v)·0.70794578438
    DriveGain,         // 10^((40·v − 20)/20); secondary: its reciprocal
    ReflectionLevel,   // levelCurve(v)·0.0316227766
    Speed,             // 10·v rotations per second
    Time,              // 0.1·100^v seconds, single precision
    Distance,          // 1.3·v + 0.35 metres
    HighPass,          // horn high-pass frequency, 0 when off
    LowPass,           // drum low-pass frequency, 0 when off
    Twice,             // 2·v
    Balance,           // left gain; secondary: right gain
    Mix,               // wet gain √v; secondary: dry gain √(1 − v)
    MicAngle,          // v − 0.5 revolutions
    Panorama,          // left pan gain; secondary: right pan gain
    Mic2Distance,      // 0.4·v − 0.2, relative change of the second horn microphone's distance
    Radius,            // rotor radius in metres, single precision
    ReflectionCurve,   // 0.126794·e^(2.18457·v) − 0.126794
    Cutoff,            // 200·100^v Hz
    HornAttDistance,   // 0.1·100^v metres, at least 0.01
    DrumAttDistance,   // 3·v metres, at least 0.01
    DecayExponent,     // 0.5·e^(1.38629·v)
    Saturation,        // 0.0008·400^v
    Flip,              // +1 when v ≤ 0.5, else −1
    OpenBack,          // integer part of 2·v
    RoomScale,         // early-reflection room scale
    VirtualScale,      // early-reflection virtual room scale
    ExtraDistance,     // early-reflection extra distance in metres
    ReflectionCutoff,  // early-reflection cutoff in Hz, single precision
    Splitter,          // 50·10^v Hz
};

// How the value text is formed. "q" is the primary quantity, "v" the normalised value.
enum class TextForm : std::uint8_t {
    Empty,              // no text
    Choice,             // choices[round((n − 1)·v)]
    Lever,              // by the current lever mode
    Decibel,            // "-oo" when q ≤ 0, else "%.1f" of 20·log10(q)
    InputDecibel,       // dB of q·1.4142
    ReflectionDecibel,  // dB of q·31.62277660168379
    Fixed1,             // "%.1f" of q
    Fixed2,             // "%.2f" of q
    TwiceFixed2,        // "%.2f" of 2·q
    Integer,            // "%d" of q
    ColorPercent,       // "%.1f" of 100·v
    WidthPercent,       // "%.0f" of 200·v
    MixPercent,         // "%.0f" of 100·v
    Time,               // time of q: "%.1f" s or "%.0f" ms
    Distance,           // distance of q: "%.2f" m or "%.0f" cm
    FilterFrequency,    // "Off", "%.2f" kHz or "%.0f" Hz
    Frequency,          // "%.2f" kHz or "%.0f" Hz
    Ratio,              // "%d:%d" of the two percentages
    Balance,            // "L", "R", "C", "%dR", "%dL"
    MidiChannel,        // "OFF", "Ch %d", "OMNI"
    Angle,              // "%.1f" of 360·q degrees
    Panorama,           // "%.1f" of 100·(2·v − 1)
    Mic2Distance,       // "%.1f%%" of 100·q
    Centimetres1,       // "%.1f" of 100·q
    Centimetres0,       // "%.0f" of 100·q
    Sign,               // "%.0f" of q
};

enum ParameterFlag : std::uint8_t {
    kFlagGlobal = 1,       // set-up parameter: skipped by bank loads and MIDI-settings files
    kFlagPerformance = 2,  // shared by all programs
    kFlagReadable = 4,     // getParameter answers the stored value (otherwise 0)
    kFlagController = 8,   // controller binding, kept by the controller map
    kFlagStepped = 16,     // hosts step through its `positions`: a switch when there are two
};

struct ParameterInfo {
    const char* name;   // "" when the index has no name
    const char* label;  // fixed label, or nullptr when the text form chooses it
    Law law;
    TextForm text;
    const char* const* choices;  // texts of TextForm::Choice, by position
    std::uint8_t positions;      // n for Law::Position, Law::SizeStep and TextForm::Choice
    float initial;               // user: the "Default" program's value; internal: construction value
    std::uint8_t flags;
};

// The row of index 0..166; the caller checks the range.
const ParameterInfo& parameterInfo(int index);

}  // namespace orv
