#include "host/AudioEffectX.h"

#include "host/AEffEditor.h"

namespace orv {

namespace {

// The key opcodes carry the modifier keys as a float; a value that is not a small non-negative
// number (a host may pass anything there) means no modifier rather than an undefined cast.
int modifierBits(float opt)
{
    constexpr float kLimit = 65536.0f;  // far above every modifier combination
    return opt >= 0.0f && opt < kLimit ? static_cast<int>(opt) : 0;
}

}  // namespace

AudioEffectX::AudioEffectX(vst::HostCallback hostCallback, int programs, int params)
    : AudioEffect(hostCallback, programs, params)
{}

void AudioEffectX::wantEvents(int filter) { callHost(vst::audioMasterWantMidi, 0, filter); }

bool AudioEffectX::updateDisplay() { return callHost(vst::audioMasterUpdateDisplay) != 0; }

float AudioEffectX::updateSampleRate()
{
    const vst::iptr rate = callHost(vst::audioMasterGetSampleRate);
    if (rate > 0) sampleRate = static_cast<float>(rate);
    return sampleRate;
}

vst::iptr AudioEffectX::dispatcher(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt)
{
    if (opcode < vst::effProcessEvents || opcode > vst::effGetNumMidiOutputChannels)
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);

    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case vst::effProcessEvents: return ptr != nullptr ? processEvents(static_cast<vst::VstEvents*>(ptr)) : 0;
    case vst::effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
    case vst::effString2Parameter: return text != nullptr && string2parameter(index, text) ? 1 : 0;
    case vst::effGetProgramNameIndexed:
        return text != nullptr && getProgramNameIndexed(static_cast<int>(value), index, text) ? 1 : 0;
    case vst::effGetInputProperties:
        return ptr != nullptr && getInputProperties(index, static_cast<vst::VstPinProperties*>(ptr)) ? 1 : 0;
    case vst::effGetOutputProperties:
        return ptr != nullptr && getOutputProperties(index, static_cast<vst::VstPinProperties*>(ptr)) ? 1 : 0;
    case vst::effGetPlugCategory: return getPlugCategory();
    case vst::effOfflineNotify:
    case vst::effOfflinePrepare:
    case vst::effOfflineRun:
    case vst::effProcessVarIo: return 0;
    case vst::effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<vst::VstSpeakerArrangement*>(value),
                                     static_cast<vst::VstSpeakerArrangement*>(ptr))
            ? 1
            : 0;
    case vst::effSetBypass: return setBypass(value != 0) ? 1 : 0;
    case vst::effGetEffectName: return text != nullptr && getEffectName(text) ? 1 : 0;
    case vst::effGetVendorString: return text != nullptr && getVendorString(text) ? 1 : 0;
    case vst::effGetProductString: return text != nullptr && getProductString(text) ? 1 : 0;
    case vst::effGetVendorVersion: return getVendorVersion();
    case vst::effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case vst::effCanDo: return text != nullptr ? canDo(text) : 0;
    case vst::effGetTailSize: return getGetTailSize();
    case vst::effGetParameterProperties:
        return ptr != nullptr && getParameterProperties(index, static_cast<vst::VstParameterProperties*>(ptr)) ? 1 : 0;
    case vst::effGetVstVersion: return getVstVersion();
    case vst::effEditKeyDown:
        if (editor == nullptr) return 0;
        return editor->onKeyDown(index, static_cast<int>(value), modifierBits(opt)) ? 1 : 0;
    case vst::effEditKeyUp:
        if (editor == nullptr) return 0;
        return editor->onKeyUp(index, static_cast<int>(value), modifierBits(opt)) ? 1 : 0;
    case vst::effSetEditKnobMode:
        if (editor == nullptr) return 0;
        editor->setKnobMode(static_cast<int>(value));
        return 1;
    case vst::effSetTotalSampleToProcess: return value;
    default:
        // MIDI program/key names, begin/end set program, get speaker arrangement, shell,
        // start/stop process, pan law, begin load bank/program, process precision and
        // MIDI channel counts all answer 0.
        return 0;
    }
}

}  // namespace orv
