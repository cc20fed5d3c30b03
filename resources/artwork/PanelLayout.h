#pragma once

// Where the editor's controls sit (editor pixels, right and bottom exclusive). The background
// letters and frames every control from these rectangles, and the bitmaps that are used at
// one place only paint the background under themselves from them.
namespace orv::art::layout {

struct Rect {
    int left, top, right, bottom;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr double centreX() const { return (left + right) / 2.0; }
    constexpr double centreY() const { return (top + bottom) / 2.0; }
};

enum class KnobKind { Large, Small, Selector };

struct KnobPlace {
    int tag;
    const char* label;  // lettering above the knob
    KnobKind kind;
    Rect knob;
    Rect display;      // value readout under the knob
    int displayLines;  // 2 for the set-up knob, whose readout has two lines
};

inline constexpr KnobPlace kKnobs[] = {
    {17, "SLOW", KnobKind::Large, {43, 56, 87, 100}, {39, 105, 91, 116}, 1},
    {18, "FAST", KnobKind::Large, {88, 56, 132, 100}, {84, 105, 136, 116}, 1},
    {19, "ACCEL", KnobKind::Large, {157, 56, 201, 100}, {153, 105, 205, 116}, 1},
    {20, "DECEL", KnobKind::Large, {202, 56, 246, 100}, {198, 105, 250, 116}, 1},
    {21, "DISTANCE", KnobKind::Large, {271, 56, 315, 100}, {267, 105, 319, 116}, 1},
    {22, "LO CUT", KnobKind::Large, {316, 56, 360, 100}, {312, 105, 364, 116}, 1},
    {23, "LEVEL", KnobKind::Large, {361, 56, 405, 100}, {357, 105, 409, 116}, 1},
    {5, "NOISE", KnobKind::Large, {39, 205, 83, 249}, {35, 254, 87, 265}, 1},
    {6, "BOTTOM", KnobKind::Large, {97, 205, 141, 249}, {93, 254, 145, 265}, 1},
    {7, "LO MID", KnobKind::Large, {142, 205, 186, 249}, {138, 254, 190, 265}, 1},
    {8, "PRESENCE", KnobKind::Large, {187, 205, 231, 249}, {183, 254, 235, 265}, 1},
    {9, "TOP", KnobKind::Large, {232, 205, 276, 249}, {228, 254, 280, 265}, 1},
    {10, "SETUP", KnobKind::Large, {292, 205, 336, 249}, {288, 254, 340, 276}, 2},
    {11, "INPUT", KnobKind::Large, {43, 306, 87, 350}, {39, 355, 91, 366}, 1},
    {12, "TYPE", KnobKind::Large, {88, 306, 132, 350}, {84, 355, 136, 366}, 1},
    {13, "DRIVE", KnobKind::Large, {133, 306, 177, 350}, {129, 355, 181, 366}, 1},
    {14, "SIZE", KnobKind::Large, {201, 306, 245, 350}, {197, 355, 249, 366}, 1},
    {15, "COLOR", KnobKind::Large, {245, 306, 289, 350}, {242, 355, 294, 366}, 1},
    {16, "AMOUNT", KnobKind::Large, {291, 306, 335, 350}, {287, 355, 339, 366}, 1},
    {24, "SLOW", KnobKind::Large, {43, 448, 87, 492}, {39, 497, 91, 508}, 1},
    {25, "FAST", KnobKind::Large, {88, 448, 132, 492}, {84, 497, 136, 508}, 1},
    {26, "ACCEL", KnobKind::Large, {157, 448, 201, 492}, {153, 497, 205, 508}, 1},
    {27, "DECEL", KnobKind::Large, {202, 448, 246, 492}, {198, 497, 250, 508}, 1},
    {28, "DISTANCE", KnobKind::Large, {271, 448, 315, 492}, {267, 497, 319, 508}, 1},
    {29, "HI CUT", KnobKind::Large, {316, 448, 360, 492}, {312, 497, 364, 508}, 1},
    {30, "LEVEL", KnobKind::Large, {361, 448, 405, 492}, {357, 497, 409, 508}, 1},
    {35, "WIDTH", KnobKind::Large, {226, 565, 270, 609}, {222, 614, 274, 625}, 1},
    {36, "BALANCE", KnobKind::Large, {271, 565, 315, 609}, {267, 614, 319, 625}, 1},
    {37, "MIX", KnobKind::Large, {316, 565, 360, 609}, {312, 614, 364, 625}, 1},
    {38, "OUTPUT", KnobKind::Large, {361, 565, 405, 609}, {357, 614, 409, 625}, 1},
    {31, "ROTORS", KnobKind::Selector, {52, 572, 80, 600}, {40, 614, 92, 625}, 1},
    {32, "REFLEX", KnobKind::Small, {97, 572, 125, 600}, {89, 614, 133, 625}, 1},
    {33, "X-TALK", KnobKind::Small, {142, 572, 170, 600}, {130, 614, 174, 625}, 1},
    {34, "RATIO", KnobKind::Small, {187, 572, 215, 600}, {175, 614, 219, 625}, 1},
};

// The other controls of the editor window.
inline constexpr Rect kStop{382, 351, 408, 387};
inline constexpr Rect kSpeed{353, 352, 380, 388};
inline constexpr Rect kLever{353, 153, 408, 339};
inline constexpr Rect kHornMarker{114, 16, 412, 28};
inline constexpr Rect kDrumMarker{114, 408, 412, 420};
inline constexpr Rect kAboutHotArea{35, 160, 210, 182};
inline constexpr Rect kChannelRocker{109, 659, 140, 673};
inline constexpr Rect kChannelIndicator{77, 659, 107, 673};
inline constexpr Rect kBypass{287, 626, 345, 640};
inline constexpr Rect kCpuMode{65, 626, 205, 640};
inline constexpr Rect kLeverMode{308, 658, 364, 673};
inline constexpr Rect kSpeedMode{364, 658, 446, 673};

// The preset and MIDI panel along the bottom edge.
inline constexpr Rect kNameField{145, 678, 261, 694};  // centred on y = 686, 15 pixels high
inline constexpr Rect kProgramMenu{262, 678, 274, 692};
inline constexpr Rect kProgramRocker{277, 679, 308, 693};
inline constexpr Rect kSaveBank{3, 679, 15, 693};
inline constexpr Rect kDefaultBank{18, 678, 54, 693};
inline constexpr Rect kLoadBank{56, 679, 68, 693};
inline constexpr Rect kSavePreset{73, 679, 85, 693};
inline constexpr Rect kDefaultPreset{85, 678, 127, 693};
inline constexpr Rect kLoadPreset{126, 679, 138, 693};
inline constexpr Rect kStoreMemoA{320, 679, 332, 693};
inline constexpr Rect kRecallMemoA{342, 679, 354, 693};
inline constexpr Rect kStoreMemoB{367, 679, 379, 693};
inline constexpr Rect kRecallMemoB{389, 679, 401, 693};
inline constexpr Rect kManual{420, 678, 438, 693};
inline constexpr Rect kSaveMidi{3, 659, 15, 673};
inline constexpr Rect kDefaultMidi{18, 658, 54, 673};
inline constexpr Rect kLoadMidi{56, 659, 68, 673};
inline constexpr Rect kMidiDisplay{145, 659, 261, 673};
inline constexpr Rect kLearn{262, 658, 284, 673};
inline constexpr Rect kForget{284, 658, 306, 673};

inline constexpr int kEditorWidth = 448;
inline constexpr int kEditorHeight = 696;

}  // namespace orv::art::layout
