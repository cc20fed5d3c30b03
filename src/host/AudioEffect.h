// Basic interface layer of the effect: owns the effect record, answers dispatcher opcodes
// 0..24 and wraps the host callback.
#pragma once

#include <atomic>

#include "host/vst2.h"

namespace orv {

class AEffEditor;

class AudioEffect {
public:
    AudioEffect(vst::HostCallback hostCallback, int numPrograms, int numParams);
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    vst::AEffect* getAeffect() { return &cEffect; }
    static AudioEffect* fromAeffect(vst::AEffect* e)
    {
        return e != nullptr ? static_cast<AudioEffect*>(e->object) : nullptr;
    }

    virtual vst::iptr dispatcher(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void setProgram(int program);
    virtual int getProgram() { return curProgram.load(std::memory_order_relaxed); }
    virtual void setProgramName(char* name) { (void)name; }
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(int index, char* text);
    virtual void getParameterDisplay(int index, char* text);
    virtual void getParameterName(int index, char* text);
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(int size) { blockSize = size; }
    virtual void suspend() {}
    virtual void resume() {}
    virtual int getChunk(void** data, bool isPreset)
    {
        (void)data, (void)isPreset;
        return 0;
    }
    virtual int setChunk(void* data, int byteSize, bool isPreset)
    {
        (void)data, (void)byteSize, (void)isPreset;
        return 0;
    }

    virtual void setParameter(int index, float value) { (void)index, (void)value; }
    virtual float getParameter(int index)
    {
        (void)index;
        return 0.0f;
    }
    // setParameter, then tells the host so that it records the change.
    virtual void setParameterAutomated(int index, float value);

    // The old accumulating process form: does nothing.
    virtual void process(float** inputs, float** outputs, int sampleFrames)
    {
        (void)inputs, (void)outputs, (void)sampleFrames;
    }
    virtual void processReplacing(float** inputs, float** outputs, int sampleFrames) = 0;
    virtual void processDoubleReplacing(double** inputs, double** outputs, int sampleFrames) = 0;

    // Host callbacks; each answers its neutral value when no callback is stored.
    int getMasterVersion();
    bool beginEdit(int index);
    bool endEdit(int index);
    bool isInputConnected(int pin);
    bool isOutputConnected(int pin);
    vst::iptr callHost(vst::i32 opcode, vst::i32 index = 0, vst::iptr value = 0, void* ptr = nullptr, float opt = 0.0f);
    bool hasHostCallback() const { return audioMaster != nullptr; }

    float getSampleRate() const { return sampleRate; }
    int getBlockSize() const { return blockSize; }
    int getNumPrograms() const { return numPrograms; }
    int getNumParams() const { return numParams; }
    vst::i32 getUniqueId() const { return cEffect.uniqueID; }

    AEffEditor* getEditor() const { return editor; }
    // Takes ownership; the effect deletes its editor when destroyed. Sets the has-editor flag.
    void setEditor(AEffEditor* newEditor);

protected:
    void setUniqueID(vst::i32 id) { cEffect.uniqueID = id; }
    void setNumInputs(int n) { cEffect.numInputs = n; }
    void setNumOutputs(int n) { cEffect.numOutputs = n; }
    void setFlag(vst::i32 flag, bool on);

    vst::AEffect cEffect{};
    vst::HostCallback audioMaster;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    int blockSize = 1024;
    int numPrograms;
    int numParams;
    // Set when a program is applied (any thread), read by the dispatcher.
    std::atomic<int> curProgram{0};
};

// Copies at most size − 1 characters of src into dst and terminates it.
void copyText(char* dst, const char* src, int size);

}  // namespace orv
