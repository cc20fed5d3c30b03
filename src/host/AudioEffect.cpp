#include "host/AudioEffect.h"

#include <cstdint>
#include <cstring>

#include "host/AEffEditor.h"

namespace orv {

namespace {

vst::iptr dispatchEntry(vst::AEffect* e, vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt)
{
    AudioEffect* effect = AudioEffect::fromAeffect(e);
    if (effect == nullptr) return 0;
    if (opcode == vst::effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void processEntry(vst::AEffect* e, float** inputs, float** outputs, vst::i32 frames)
{
    if (AudioEffect* effect = AudioEffect::fromAeffect(e)) effect->process(inputs, outputs, frames);
}

void processReplacingEntry(vst::AEffect* e, float** inputs, float** outputs, vst::i32 frames)
{
    if (AudioEffect* effect = AudioEffect::fromAeffect(e)) effect->processReplacing(inputs, outputs, frames);
}

void processDoubleReplacingEntry(vst::AEffect* e, double** inputs, double** outputs, vst::i32 frames)
{
    if (AudioEffect* effect = AudioEffect::fromAeffect(e)) effect->processDoubleReplacing(inputs, outputs, frames);
}

void setParameterEntry(vst::AEffect* e, vst::i32 index, float value)
{
    if (AudioEffect* effect = AudioEffect::fromAeffect(e)) effect->setParameter(index, value);
}

float getParameterEntry(vst::AEffect* e, vst::i32 index)
{
    AudioEffect* effect = AudioEffect::fromAeffect(e);
    return effect != nullptr ? effect->getParameter(index) : 0.0f;
}

// Sample rates a host may set. Anything else (0, negative, not a number, absurdly high) is
// refused and the previous rate stays, so the engine never divides by it or sizes its delays
// from it. Every rate a real host offers lies inside; rates from 200 kHz on still reach the
// engine, which then keeps its decimation, and its filters still take 44.1 kHz for rates
// outside 20..400 kHz.
constexpr float kLowestSampleRate = 1.0f;        // Hz
constexpr float kHighestSampleRate = 768000.0f;  // Hz, the highest rate audio interfaces offer

bool isUsableSampleRate(float rate) { return rate >= kLowestSampleRate && rate <= kHighestSampleRate; }

}  // namespace

void copyText(char* dst, const char* src, int size)
{
    if (dst == nullptr || size <= 0) return;
    if (src == nullptr) src = "";
    std::size_t n = std::strlen(src);
    if (n > static_cast<std::size_t>(size - 1)) n = static_cast<std::size_t>(size - 1);
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

AudioEffect::AudioEffect(vst::HostCallback hostCallback, int programs, int params)
    : audioMaster(hostCallback), numPrograms(programs), numParams(params)
{
    cEffect.magic = vst::kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = vst::effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = vst::fourCC('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
    cEffect.processDoubleReplacing = processDoubleReplacingEntry;
}

AudioEffect::~AudioEffect()
{
    delete editor;
    editor = nullptr;
    cEffect.object = nullptr;
}

void AudioEffect::setFlag(vst::i32 flag, bool on)
{
    if (on)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

void AudioEffect::setEditor(AEffEditor* newEditor)
{
    if (editor != newEditor) delete editor;
    editor = newEditor;
    setFlag(vst::effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setProgram(int program)
{
    if (program >= 0 && program < numPrograms) curProgram.store(program, std::memory_order_relaxed);
}

void AudioEffect::getProgramName(char* name) { copyText(name, "", vst::kMaxProgNameLen); }
void AudioEffect::getParameterLabel(int, char* text) { copyText(text, "", vst::kMaxParamStrLen); }
void AudioEffect::getParameterDisplay(int, char* text) { copyText(text, "", vst::kMaxParamStrLen); }
void AudioEffect::getParameterName(int, char* text) { copyText(text, "", vst::kMaxParamStrLen); }

void AudioEffect::setParameterAutomated(int index, float value)
{
    setParameter(index, value);
    callHost(vst::audioMasterAutomate, index, 0, nullptr, value);
}

vst::iptr AudioEffect::callHost(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt)
{
    if (audioMaster == nullptr) return 0;
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

int AudioEffect::getMasterVersion()
{
    // Without a host the oldest interface version is assumed.
    if (audioMaster == nullptr) return 1;
    const vst::iptr v = callHost(vst::audioMasterVersion);
    return v == 0 ? 1 : static_cast<int>(v);
}

bool AudioEffect::beginEdit(int index) { return callHost(vst::audioMasterBeginEdit, index) != 0; }
bool AudioEffect::endEdit(int index) { return callHost(vst::audioMasterEndEdit, index) != 0; }

// The host answers 0 for a connected pin; without a host every pin counts as connected.
bool AudioEffect::isInputConnected(int pin) { return callHost(vst::audioMasterPinConnected, pin, 0) == 0; }
bool AudioEffect::isOutputConnected(int pin) { return callHost(vst::audioMasterPinConnected, pin, 1) == 0; }

vst::iptr AudioEffect::dispatcher(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt)
{
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case vst::effOpen: open(); return 0;
    case vst::effClose: close(); return 1;
    case vst::effSetProgram:
        if (value < numPrograms) setProgram(static_cast<int>(value));
        return 0;
    case vst::effGetProgram: return getProgram();
    case vst::effSetProgramName:
        if (text != nullptr) setProgramName(text);
        return 0;
    case vst::effGetProgramName:
        if (text != nullptr) getProgramName(text);
        return 0;
    case vst::effGetParamLabel:
        if (text != nullptr) getParameterLabel(index, text);
        return 0;
    case vst::effGetParamDisplay:
        if (text != nullptr) getParameterDisplay(index, text);
        return 0;
    case vst::effGetParamName:
        if (text != nullptr) getParameterName(index, text);
        return 0;
    case vst::effSetSampleRate:
        if (isUsableSampleRate(opt)) setSampleRate(opt);  // NaN fails both comparisons
        return 0;
    case vst::effSetBlockSize:
        // The engine needs no block-sized buffers; a size that is no size is refused.
        if (value > 0 && value <= INT32_MAX) setBlockSize(static_cast<int>(value));
        return 0;
    case vst::effMainsChanged:
        if (value != 0)
            resume();
        else
            suspend();
        return 0;
    case vst::effEditGetRect:
        if (editor == nullptr || ptr == nullptr) return 0;
        return editor->getRect(static_cast<vst::ERect**>(ptr)) ? 1 : 0;
    case vst::effEditOpen:
        if (editor == nullptr) return 0;
        return editor->open(ptr) ? 1 : 0;
    case vst::effEditClose:
        if (editor != nullptr) editor->close();
        return 0;
    case vst::effEditIdle:
        if (editor != nullptr) editor->idle();
        return 0;
    case vst::effIdentify: return vst::fourCC('N', 'v', 'E', 'f');
    case vst::effGetChunk:
        if (ptr == nullptr) return 0;
        return getChunk(static_cast<void**>(ptr), index != 0);
    case vst::effSetChunk: return setChunk(ptr, static_cast<int>(value), index != 0);
    default: return 0;
    }
}

}  // namespace orv
