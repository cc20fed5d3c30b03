// Our own declarations of the VST 2.4 binary interface (x86-64: Linux LP64 and Windows LLP64
// have identical layouts). Written from the published layout facts; the static_asserts at the
// end pin every offset the host relies on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vst {

using i16 = int16_t;
using i32 = int32_t;
using iptr = intptr_t;

// Four-character code with the first character in the most significant byte.
constexpr i32 fourCC(char a, char b, char c, char d)
{
    return static_cast<i32>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                            (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                            (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                            static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

constexpr i32 kEffectMagic = fourCC('V', 's', 't', 'P');
constexpr i32 kVstVersion = 2400;

struct AEffect;

using HostCallback = iptr (*)(AEffect* effect, i32 opcode, i32 index, iptr value, void* ptr, float opt);
using DispatcherProc = iptr (*)(AEffect* effect, i32 opcode, i32 index, iptr value, void* ptr, float opt);
using ProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs, i32 sampleFrames);
using ProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs, i32 sampleFrames);
using SetParameterProc = void (*)(AEffect* effect, i32 index, float value);
using GetParameterProc = float (*)(AEffect* effect, i32 index);

struct AEffect {
    i32 magic;
    DispatcherProc dispatcher;
    ProcessProc process;  // deprecated accumulating form
    SetParameterProc setParameter;
    GetParameterProc getParameter;
    i32 numPrograms;
    i32 numParams;
    i32 numInputs;
    i32 numOutputs;
    i32 flags;
    iptr resvd1;
    iptr resvd2;
    i32 initialDelay;
    i32 realQualities;
    i32 offQualities;
    float ioRatio;
    void* object;  // the plug-in's instance
    void* user;    // the host's
    i32 uniqueID;
    i32 version;
    ProcessProc processReplacing;
    ProcessDoubleProc processDoubleReplacing;
    char future[56];
};

enum EffectFlags : i32 {
    effFlagsHasEditor = 1 << 0,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsCanDoubleReplacing = 1 << 12,
};

// Dispatcher opcodes (host to plug-in).
enum EffectOpcode : i32 {
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effGetVu = 9,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditDraw = 16,
    effEditMouse = 17,
    effEditKey = 18,
    effEditIdle = 19,
    effEditTop = 20,
    effEditSleep = 21,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetNumProgramCategories = 28,
    effGetProgramNameIndexed = 29,
    effCopyProgram = 30,
    effConnectInput = 31,
    effConnectOutput = 32,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effGetCurrentPosition = 36,
    effGetDestinationBuffer = 37,
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,
    effSetBlockSizeAndSampleRate = 43,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetErrorText = 46,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effIdle = 53,
    effGetIcon = 54,
    effSetViewPosition = 55,
    effGetParameterProperties = 56,
    effKeysRequired = 57,
    effGetVstVersion = 58,
    effEditKeyDown = 59,
    effEditKeyUp = 60,
    effSetEditKnobMode = 61,
    effGetMidiProgramName = 62,
    effGetCurrentMidiProgram = 63,
    effGetMidiProgramCategory = 64,
    effHasMidiProgramsChanged = 65,
    effGetMidiKeyName = 66,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69,
    effShellGetNextPlugin = 70,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetTotalSampleToProcess = 73,
    effSetPanLaw = 74,
    effBeginLoadBank = 75,
    effBeginLoadProgram = 76,
    effSetProcessPrecision = 77,
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79,
};

// Host callback opcodes (plug-in to host).
enum HostOpcode : i32 {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterPinConnected = 4,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterProcessEvents = 8,
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterCanDo = 37,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

// String buffer sizes the host provides (bytes, terminator included).
constexpr int kMaxProgNameLen = 24;
constexpr int kMaxParamStrLen = 8;
constexpr int kMaxEffectNameLen = 32;
constexpr int kMaxVendorStrLen = 64;
constexpr int kMaxProductStrLen = 64;

struct ERect {
    i16 top;
    i16 left;
    i16 bottom;
    i16 right;
};

enum EventType : i32 { kVstMidiType = 1, kVstSysExType = 6 };

struct VstEvent {
    i32 type;
    i32 byteSize;
    i32 deltaFrames;
    i32 flags;
    char data[16];
};

struct VstEvents {
    i32 numEvents;
    iptr reserved;
    VstEvent* events[2];  // really numEvents entries
};

struct VstMidiEvent {
    i32 type;
    i32 byteSize;
    i32 deltaFrames;
    i32 flags;
    i32 noteLength;
    i32 noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

enum ParameterFlags : i32 {
    kVstParameterIsSwitch = 1 << 0,
    kVstParameterUsesIntegerMinMax = 1 << 1,
    kVstParameterUsesFloatStep = 1 << 2,
    kVstParameterUsesIntStep = 1 << 3,
    kVstParameterSupportsDisplayIndex = 1 << 4,
    kVstParameterSupportsDisplayCategory = 1 << 5,
    kVstParameterCanRamp = 1 << 6,
};

struct VstParameterProperties {
    float stepFloat;
    float smallStepFloat;
    float largeStepFloat;
    char label[64];
    i32 flags;
    i32 minInteger;
    i32 maxInteger;
    i32 stepInteger;
    i32 largeStepInteger;
    char shortLabel[8];
    i16 displayIndex;
    i16 category;
    i16 numParametersInCategory;
    i16 reserved;
    char categoryLabel[24];
    char future[16];
};

enum PinFlags : i32 { kVstPinIsActive = 1 << 0, kVstPinIsStereo = 1 << 1, kVstPinUseSpeaker = 1 << 2 };

struct VstPinProperties {
    char label[64];
    i32 flags;
    i32 arrangementType;
    char shortLabel[8];
    char future[48];
};

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    i32 type;
    char future[28];
};

struct VstSpeakerArrangement {
    i32 type;
    i32 numChannels;
    VstSpeakerProperties speakers[8];  // really numChannels entries
};

enum PlugCategory : i32 { kPlugCategUnknown = 0, kPlugCategEffect = 1, kPlugCategSynth = 2 };

static_assert(sizeof(AEffect) == 192);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, resvd1) == 64);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, processDoubleReplacing) == 128);
static_assert(offsetof(AEffect, future) == 136);
static_assert(sizeof(ERect) == 8);
static_assert(sizeof(VstEvent) == 32);
static_assert(offsetof(VstEvents, events) == 16);
static_assert(sizeof(VstMidiEvent) == 32);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(sizeof(VstParameterProperties) == 152);
static_assert(offsetof(VstParameterProperties, flags) == 76);
static_assert(offsetof(VstParameterProperties, shortLabel) == 96);
static_assert(offsetof(VstParameterProperties, categoryLabel) == 112);
static_assert(sizeof(VstPinProperties) == 128);
static_assert(offsetof(VstPinProperties, shortLabel) == 72);
static_assert(sizeof(VstSpeakerProperties) == 112);
static_assert(sizeof(VstSpeakerArrangement) == 904);

}  // namespace vst
