// A small VST 2.4 host: loads an effect module with dlopen the way a DAW does, answers the
// effect's callback, and drives it through the dispatcher, the parameter entries and the
// process entries. Used by orv-render and by the black-box host tests.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "host/vst2.h"
#include "hostlib/MidiEventList.h"

namespace orv {

class PluginHost {
public:
    // One callback the effect made, kept for the opcodes that report something (automation,
    // edit gestures, display updates, MIDI wishes, I/O and window changes).
    struct Call {
        vst::i32 opcode;
        vst::i32 index;
        vst::iptr value;
        float opt;
    };

    PluginHost();
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Host settings; the sample rate and block size must be set before open().
    void setHostVersion(vst::iptr version) { hostVersion_ = version; }
    void setSampleRate(double rate) { sampleRate_ = rate; }
    void setBlockSize(int frames) { blockSize_ = frames; }
    double sampleRate() const { return sampleRate_; }
    int blockSize() const { return blockSize_; }
    // What audioMasterPinConnected answers for a pin (all pins count as connected by default).
    void setPinConnected(bool input, int pin, bool connected);
    // The texts audioMasterCanDo answers 1 for.
    void setHostCanDo(std::vector<std::string> texts);
    // Whether callbacks are logged (see calls()); a live host turns this off, because the
    // effect calls back from the audio thread (automation from MIDI) and logging locks and
    // allocates. Counting (callCount) goes on either way.
    void setRecordingCalls(bool on) { recording_.store(on, std::memory_order_relaxed); }

    // Loads the module: dlopen, entry point (VSTPluginMain, then main), magic check.
    // On failure answers false and error() says why; nothing stays loaded.
    bool load(const std::string& path);
    // effOpen, effSetSampleRate, effSetBlockSize.
    void open();
    // effMainsChanged(1), effStartProcess / effStopProcess, effMainsChanged(0).
    void resume();
    void suspend();
    // load + open + resume, as a DAW does before the first block.
    bool start(const std::string& path);
    // Suspends if running, sends effClose and unloads the module. Answers effClose's answer
    // (0 when nothing was loaded).
    vst::iptr close();

    bool isLoaded() const { return effect_ != nullptr; }
    bool isResumed() const { return resumed_; }
    const std::string& error() const { return error_; }
    vst::AEffect* effect() const { return effect_; }
    const std::string& modulePath() const { return path_; }

    vst::iptr dispatch(vst::i32 opcode, vst::i32 index = 0, vst::iptr value = 0, void* ptr = nullptr, float opt = 0.0f);

    // Strings the effect writes into a host buffer. The buffer is generous (effects differ on
    // the length limits) and zero-filled, so an effect that writes nothing gives "".
    std::string queryString(vst::i32 opcode, vst::i32 index = 0, vst::iptr value = 0);
    std::string effectName() { return queryString(vst::effGetEffectName); }
    std::string vendorString() { return queryString(vst::effGetVendorString); }
    std::string productString() { return queryString(vst::effGetProductString); }
    std::string programName() { return queryString(vst::effGetProgramName); }
    vst::iptr canDo(const std::string& text);

    // Parameters.
    int numParams() const { return effect_ ? effect_->numParams : 0; }
    std::string paramName(int index) { return queryString(vst::effGetParamName, index); }
    std::string paramLabel(int index) { return queryString(vst::effGetParamLabel, index); }
    std::string paramDisplay(int index) { return queryString(vst::effGetParamDisplay, index); }
    float getParameter(int index);
    void setParameter(int index, float value);
    // Index of the host-visible parameter with this name: an exact match first, then a unique
    // match ignoring case; -1 when there is none.
    int findParameter(const std::string& name);

    // MIDI events sent with effProcessEvents right before the next process call.
    void queueControlChange(int deltaFrames, int channel, int controller, int value);
    void queueMidi(int deltaFrames, uint8_t status, uint8_t data1, uint8_t data2);
    // Sends the queued events now (if any) and clears the queue; answers the effect's answer.
    vst::iptr sendQueuedEvents();

    // The effect's state chunk (bank form, or program form when preset is true).
    std::vector<uint8_t> getChunk(bool preset = false);
    vst::iptr setChunk(const std::vector<uint8_t>& data, bool preset = false);

    // One process call of at most blockSize() frames: in holds numInputs channel pointers, out
    // numOutputs. The double form converts through internal buffers and needs the effect's
    // double-replacing flag. Queued MIDI events are sent first.
    void process(const float* const* in, float* const* out, int frames, bool useDouble = false);
    void processDouble(const double* const* in, double* const* out, int frames);
    // Runs a whole stretch in consecutive blocks of at most blockSize() frames.
    void processInBlocks(const float* const* in, float* const* out, long frames, bool useDouble = false);
    bool supportsDouble() const;

    // Recorded callbacks (see Call) and a count of every callback opcode below 64.
    std::vector<Call> calls() const;
    std::vector<Call> callsWith(vst::i32 opcode) const;
    int callCount(vst::i32 opcode) const;
    void clearCalls();

    // What this host answers (and records) for one callback from its effect.
    vst::iptr answerCallback(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt);

private:
    static vst::iptr callback(vst::AEffect* effect, vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr,
                              float opt);
    void unload();
    void ensureScratch(int frames);

    static constexpr int kCountedOpcodes = 64;       // callback opcodes counted by callCount
    static constexpr size_t kMaxRecorded = 1 << 20;  // bound on the recorded-call log

    void* handle_ = nullptr;
    vst::AEffect* effect_ = nullptr;
    std::string path_;
    std::string error_;
    bool opened_ = false;
    bool resumed_ = false;

    vst::iptr hostVersion_ = vst::kVstVersion;
    double sampleRate_ = 44100.0;
    int blockSize_ = 1024;
    std::array<bool, 2> inputMissing_{};  // pins beyond these two always count as connected
    std::array<bool, 2> outputMissing_{};
    std::vector<std::string> hostCanDo_;
    std::atomic<bool> inProcess_{false};
    std::atomic<bool> recording_{true};

    MidiEventList pendingEvents_;

    mutable std::mutex callsMutex_;
    std::vector<Call> calls_;
    std::array<std::atomic<int>, kCountedOpcodes> counts_{};

    std::vector<double> scratch_;  // double buffers: inputs then outputs, blockSize_ each
    std::vector<double*> scratchIn_, scratchOut_;
    std::vector<float*> inPtrs_, outPtrs_;
};

}  // namespace orv
