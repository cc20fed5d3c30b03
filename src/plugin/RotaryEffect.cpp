#include "plugin/RotaryEffect.h"

#include <cstdio>
#include <cstring>

#include "editor/RotaryEditor.h"

namespace orv {

namespace {

constexpr const char* kEffectName = "Orv Gyrola";
constexpr const char* kProductString = "Orv Gyrola2 - rotary speaker emulator";
constexpr const char* kVendorString = "orvaline-audio.org";

// Texts are written whole (with their terminator); hosts pass buffers larger than the
// nominal 8 bytes, and the longest text of the parameter set fits in this bound.
constexpr int kTextBufferBound = 64;

bool fillPinProperties(int index, vst::VstPinProperties* properties, const char* format)
{
    if (index < 0 || index > 1 || properties == nullptr) return false;
    std::snprintf(properties->label, sizeof(properties->label), format, index + 1);
    properties->flags = vst::kVstPinIsActive | vst::kVstPinIsStereo;
    return true;
}

}  // namespace

RotaryEffect::RotaryEffect(vst::HostCallback hostCallback) : CMidiPresetSystemEffect(hostCallback, kNumHostParams)
{
    setUniqueID(kUniqueId);
    setNumInputs(2);
    setNumOutputs(2);
    cEffect.version = 1;
    cEffect.initialDelay = 0;
    setFlag(vst::effFlagsCanReplacing, true);
    setFlag(vst::effFlagsProgramChunks, true);
    setFlag(vst::effFlagsCanDoubleReplacing, true);

    // The editor object lives as long as the effect; its window opens later.
    auto* presetEditor = new RotaryEditor(this, &editorLink);
    attachPresetEditor(presetEditor);
    writeFactoryPrograms();
    // The user's default bank, preset and MIDI settings and the file locations.
    presetEditor->loadStartupState();
    selectProgram(0);
    // Every engine job runs once; the first blocks then fade in.
    core.engine().finishConstruction();
    wantEvents(1);
}

// The editor object goes first, while the link it talks through and the engine still exist.
RotaryEffect::~RotaryEffect() { setPresetEditor(nullptr, nullptr); }

bool RotaryEffect::isPerformanceParameter(int index) { return ParameterSet::isPerformanceParameter(index); }

void RotaryEffect::setParameter(int index, float value)
{
    if (index < 0 || index >= ParameterSet::kNumIndices) {
        // Not a parameter: the editor's own controls (the MIDI-channel rocker) act on it there.
        if (editor != nullptr) editor->setParameter(index, value);
        return;
    }
    if (index < kNumUserParams || index >= 2 * kNumUserParams) {
        core.setParameter(index, value);
    }
    if (index == param::kLvrMode) speedControl.resetTrigger();
    afterParameterStored(index, value);
}

float RotaryEffect::getParameter(int index)
{
    if (index < 0 || index >= ParameterSet::kNumIndices) return 0.0f;
    if (index >= kNumUserParams && index < 2 * kNumUserParams) return getControllerAssignment(index - kNumUserParams);
    return core.getParameter(index);
}

void RotaryEffect::getParameterName(int index, char* text) { core.parameters().getName(index, text); }
void RotaryEffect::getParameterLabel(int index, char* text) { core.parameters().getLabel(index, text); }
void RotaryEffect::getParameterDisplay(int index, char* text) { core.parameters().getDisplay(index, text); }

bool RotaryEffect::getParameterProperties(int index, vst::VstParameterProperties* p)
{
    if (p == nullptr) return false;
    char name[kTextBufferBound] = {};
    core.parameters().getName(index, name);
    copyText(p->label, name, sizeof(p->label));
    copyText(p->shortLabel, name, sizeof(p->shortLabel));

    float step = 1.0f / 35.0f;
    float smallStep = 1.0f / 70.0f;
    float largeStep = 1.0f / 35.0f;
    vst::i32 flags = vst::kVstParameterUsesFloatStep;
    if (index >= 0 && index < ParameterSet::kNumIndices && (parameterInfo(index).flags & kFlagStepped) != 0) {
        // One step from each position to the next; two positions make a switch.
        const int positions = parameterInfo(index).positions;
        step = smallStep = largeStep = 1.0f / static_cast<float>(positions - 1);
        if (positions == 2) flags |= vst::kVstParameterIsSwitch;
    }
    p->flags = flags;
    p->stepFloat = step;
    p->smallStepFloat = smallStep;
    p->largeStepFloat = largeStep;
    return true;
}

bool RotaryEffect::getEffectName(char* name)
{
    copyText(name, kEffectName, vst::kMaxEffectNameLen);
    return true;
}

bool RotaryEffect::getVendorString(char* text)
{
    copyText(text, kVendorString, vst::kMaxVendorStrLen);
    return true;
}

bool RotaryEffect::getProductString(char* text)
{
    copyText(text, kProductString, vst::kMaxProductStrLen);
    return true;
}

int RotaryEffect::canDo(const char* text)
{
    static constexpr const char* kYes[] = {"offline", "plugAsChannelInsert", "1in1out", "1in2out",
                                           "2in2out", "receiveVstMidiEvent"};
    for (const char* s : kYes) {
        if (std::strcmp(text, s) == 0) return 1;
    }
    return 0;
}

bool RotaryEffect::getInputProperties(int index, vst::VstPinProperties* properties)
{
    return fillPinProperties(index, properties, "Orv Gyrola %1d In");
}

bool RotaryEffect::getOutputProperties(int index, vst::VstPinProperties* properties)
{
    return fillPinProperties(index, properties, "Orv Gyrola %1d Out");
}

bool RotaryEffect::setSpeakerArrangement(vst::VstSpeakerArrangement* input, vst::VstSpeakerArrangement* output)
{
    arrangementSet = true;
    const int in = input != nullptr ? input->numChannels : 0;
    const int out = output != nullptr ? output->numChannels : 0;
    if ((in == 1 || in == 2) && (out == 1 || out == 2)) {
        inputStereo = in == 2;
        outputStereo = out == 2;
        return true;
    }
    inputStereo = true;
    outputStereo = true;
    return false;
}

void RotaryEffect::suspend()
{
    core.engine().suspend();
    resetLastControllerIndicator();
}

void RotaryEffect::resume()
{
    resetLastControllerIndicator();
    wantEvents(1);
    core.engine().resume();
}

void RotaryEffect::controllerMoved(int parameter, int controller, float value)
{
    speedControl.controllerMoved(*this, parameter, controller, value);
}

template <typename Sample>
void RotaryEffect::processBlock(Sample** inputs, Sample** outputs, int sampleFrames)
{
    if (inputs == nullptr || outputs == nullptr || inputs[0] == nullptr || outputs[0] == nullptr) return;
    Sample* inL = inputs[0];
    Sample* inR = inL;
    if (isInputConnected(1) && inputs[1] != nullptr && inputStereo && inputs[1] != inputs[0]) inR = inputs[1];
    Sample* outL = outputs[0];
    Sample* outR = nullptr;
    if (isOutputConnected(1) && outputs[1] != nullptr && outputStereo && outputs[1] != outputs[0]) outR = outputs[1];
    // A null right output means a mono pin: it receives the left result.
    core.engine().process(inL, inR, outL, outR, sampleFrames);
}

void RotaryEffect::processReplacing(float** inputs, float** outputs, int sampleFrames)
{
    processBlock(inputs, outputs, sampleFrames);
}

void RotaryEffect::processDoubleReplacing(double** inputs, double** outputs, int sampleFrames)
{
    processBlock(inputs, outputs, sampleFrames);
}

}  // namespace orv
