// Extended interface layer: dispatcher opcodes 25..79, identity strings, pins, speaker
// arrangement, parameter properties and the host queries of VST 2.x.
#pragma once

#include "host/AudioEffect.h"

namespace orv {

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(vst::HostCallback hostCallback, int numPrograms, int numParams);

    vst::iptr dispatcher(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt) override;

    virtual int processEvents(vst::VstEvents* events)
    {
        (void)events;
        return 0;
    }
    virtual bool canParameterBeAutomated(int index)
    {
        (void)index;
        return true;
    }
    virtual bool string2parameter(int index, char* text)
    {
        (void)index, (void)text;
        return false;
    }
    virtual bool getProgramNameIndexed(int category, int index, char* text)
    {
        (void)category, (void)index, (void)text;
        return false;
    }
    virtual bool getInputProperties(int index, vst::VstPinProperties* properties)
    {
        (void)index, (void)properties;
        return false;
    }
    virtual bool getOutputProperties(int index, vst::VstPinProperties* properties)
    {
        (void)index, (void)properties;
        return false;
    }
    virtual int getPlugCategory() { return vst::kPlugCategEffect; }
    virtual bool setSpeakerArrangement(vst::VstSpeakerArrangement* input, vst::VstSpeakerArrangement* output)
    {
        (void)input, (void)output;
        return false;
    }
    virtual bool setBypass(bool onOff)
    {
        (void)onOff;
        return false;
    }
    virtual bool getEffectName(char* name)
    {
        (void)name;
        return false;
    }
    virtual bool getVendorString(char* text)
    {
        (void)text;
        return false;
    }
    virtual bool getProductString(char* text)
    {
        (void)text;
        return false;
    }
    virtual int getVendorVersion() { return 0; }
    virtual vst::iptr vendorSpecific(vst::i32 index, vst::iptr value, void* ptr, float opt)
    {
        (void)index, (void)value, (void)ptr, (void)opt;
        return 0;
    }
    virtual int canDo(const char* text)
    {
        (void)text;
        return 0;
    }
    virtual int getGetTailSize() { return 0; }
    virtual bool getParameterProperties(int index, vst::VstParameterProperties* p)
    {
        (void)index, (void)p;
        return false;
    }
    virtual int getVstVersion() { return vst::kVstVersion; }

    // Asks the host for MIDI events (filter 1 = all).
    void wantEvents(int filter = 1);
    // Asks the host to re-read names and texts.
    bool updateDisplay();
    // Asks the host for its sample rate; stores and answers it (the stored rate when the host
    // has no answer).
    float updateSampleRate();
};

}  // namespace orv
