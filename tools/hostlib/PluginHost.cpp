#include "hostlib/PluginHost.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "hostlib/ModuleLibrary.h"

namespace orv {

namespace {

// The host whose module is inside its entry point on this thread: the effect calls back during
// construction before its record reaches us, so the record cannot lead to the host yet.
thread_local PluginHost* tlLoadingHost = nullptr;

constexpr size_t kStringBuffer = 256;           // bytes offered for every string the effect writes
constexpr vst::iptr kProcessLevelUser = 1;      // audioMasterGetCurrentProcessLevel: UI thread
constexpr vst::iptr kProcessLevelRealtime = 2;  // ... inside a process call
constexpr vst::iptr kAutomationOff = 1;         // audioMasterGetAutomationState
constexpr vst::iptr kLanguageEnglish = 1;       // audioMasterGetLanguage
constexpr vst::iptr kHostVendorVersion = 1;     // audioMasterGetVendorVersion
constexpr const char* kHostVendor = "Orvaline";
constexpr const char* kHostProduct = "orv-hostlib";

using EntryProc = vst::AEffect* (*)(vst::HostCallback);

// Opcodes whose calls are logged, not only counted.
bool isRecorded(vst::i32 opcode)
{
    switch (opcode) {
    case vst::audioMasterAutomate:
    case vst::audioMasterWantMidi:
    case vst::audioMasterIOChanged:
    case vst::audioMasterSizeWindow:
    case vst::audioMasterUpdateDisplay:
    case vst::audioMasterBeginEdit:
    case vst::audioMasterEndEdit: return true;
    default: return false;
    }
}

void copyText(void* ptr, const char* text, size_t limit)
{
    if (ptr == nullptr) return;
    std::snprintf(static_cast<char*>(ptr), limit, "%s", text);
}

}  // namespace

PluginHost::PluginHost()
    : hostCanDo_{"sendVstEvents", "sendVstMidiEvent", "startStopProcess", "sendVstMidiEventFlagIsRealtime"}
{}

PluginHost::~PluginHost() { close(); }

void PluginHost::setPinConnected(bool input, int pin, bool connected)
{
    auto& missing = input ? inputMissing_ : outputMissing_;
    if (pin >= 0 && pin < static_cast<int>(missing.size())) missing[static_cast<size_t>(pin)] = !connected;
}

void PluginHost::setHostCanDo(std::vector<std::string> texts) { hostCanDo_ = std::move(texts); }

bool PluginHost::load(const std::string& path)
{
    close();
    error_.clear();
    std::string why;
    handle_ = openModule(path, why);
    if (handle_ == nullptr) {
        error_ = "cannot load module " + path + ": " + why;
        return false;
    }

    EntryProc entry = nullptr;
    for (const char* name : {"VSTPluginMain", "main"}) {
        entry = reinterpret_cast<EntryProc>(findModuleEntry(handle_, name));
        if (entry != nullptr) break;
    }
    if (entry == nullptr) {
        error_ = "module " + path + " has no VST 2 entry point (VSTPluginMain or main)";
        unload();
        return false;
    }

    tlLoadingHost = this;
    vst::AEffect* effect = entry(&PluginHost::callback);
    tlLoadingHost = nullptr;
    if (effect == nullptr) {
        error_ = "module " + path + " created no effect";
        unload();
        return false;
    }
    if (effect->magic != vst::kEffectMagic) {
        char buf[96];
        std::snprintf(buf, sizeof buf, " is not a VST 2 effect (magic 0x%08x)", static_cast<unsigned>(effect->magic));
        error_ = "module " + path + buf;
        unload();  // an unknown record is not ours to close
        return false;
    }
    effect->user = this;
    effect_ = effect;
    path_ = path;
    return true;
}

void PluginHost::open()
{
    if (effect_ == nullptr || opened_) return;
    dispatch(vst::effOpen);
    dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate_));
    dispatch(vst::effSetBlockSize, 0, blockSize_);
    opened_ = true;
    ensureScratch(blockSize_);
}

void PluginHost::resume()
{
    if (effect_ == nullptr || resumed_) return;
    dispatch(vst::effMainsChanged, 0, 1);
    dispatch(vst::effStartProcess);
    resumed_ = true;
}

void PluginHost::suspend()
{
    if (effect_ == nullptr || !resumed_) return;
    dispatch(vst::effStopProcess);
    dispatch(vst::effMainsChanged, 0, 0);
    resumed_ = false;
}

bool PluginHost::start(const std::string& path)
{
    if (!load(path)) return false;
    open();
    resume();
    return true;
}

vst::iptr PluginHost::close()
{
    vst::iptr answer = 0;
    if (effect_ != nullptr) {
        suspend();
        answer = effect_->dispatcher(effect_, vst::effClose, 0, 0, nullptr, 0.0f);
        effect_ = nullptr;  // the record is gone with the effect
    }
    opened_ = false;
    resumed_ = false;
    pendingEvents_.clear();
    unload();
    return answer;
}

void PluginHost::unload()
{
    closeModule(handle_);
    handle_ = nullptr;
    effect_ = nullptr;
}

vst::iptr PluginHost::dispatch(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt)
{
    if (effect_ == nullptr) return 0;
    if (opcode == vst::effClose) return close();  // the record must not be used afterwards
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginHost::queryString(vst::i32 opcode, vst::i32 index, vst::iptr value)
{
    char buf[kStringBuffer] = {};
    dispatch(opcode, index, value, buf);
    buf[kStringBuffer - 1] = '\0';
    return buf;
}

vst::iptr PluginHost::canDo(const std::string& text)
{
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    return dispatch(vst::effCanDo, 0, 0, copy.data());
}

float PluginHost::getParameter(int index) { return effect_ != nullptr ? effect_->getParameter(effect_, index) : 0.0f; }

void PluginHost::setParameter(int index, float value)
{
    if (effect_ != nullptr) effect_->setParameter(effect_, index, value);
}

int PluginHost::findParameter(const std::string& name)
{
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    int folded = -1, foldedCount = 0;
    for (int i = 0; i < numParams(); ++i) {
        std::string n = paramName(i);
        if (n == name) return i;
        if (lower(n) == lower(name)) {
            folded = i;
            ++foldedCount;
        }
    }
    return foldedCount == 1 ? folded : -1;
}

void PluginHost::queueControlChange(int deltaFrames, int channel, int controller, int value)
{
    pendingEvents_.addControlChange(deltaFrames, channel, controller, value);
}

void PluginHost::queueMidi(int deltaFrames, uint8_t status, uint8_t data1, uint8_t data2)
{
    pendingEvents_.add(deltaFrames, status, data1, data2);
}

vst::iptr PluginHost::sendQueuedEvents()
{
    if (pendingEvents_.empty()) return 0;
    vst::iptr answer = dispatch(vst::effProcessEvents, 0, 0, pendingEvents_.record());
    pendingEvents_.clear();
    return answer;
}

std::vector<uint8_t> PluginHost::getChunk(bool preset)
{
    void* data = nullptr;
    vst::iptr size = dispatch(vst::effGetChunk, preset ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

vst::iptr PluginHost::setChunk(const std::vector<uint8_t>& data, bool preset)
{
    // The effect may keep reading while it applies the chunk; it only sees this copy.
    std::vector<uint8_t> copy = data;
    return dispatch(vst::effSetChunk, preset ? 1 : 0, static_cast<vst::iptr>(copy.size()),
                    copy.empty() ? nullptr : copy.data());
}

bool PluginHost::supportsDouble() const
{
    return effect_ != nullptr && (effect_->flags & vst::effFlagsCanDoubleReplacing) != 0 &&
        effect_->processDoubleReplacing != nullptr;
}

void PluginHost::ensureScratch(int frames)
{
    if (effect_ == nullptr) return;
    const size_t nIn = static_cast<size_t>(std::max(effect_->numInputs, 0));
    const size_t nOut = static_cast<size_t>(std::max(effect_->numOutputs, 0));
    const size_t need = (nIn + nOut) * static_cast<size_t>(std::max(frames, 1));
    if (scratch_.size() < need || scratchIn_.size() != nIn || scratchOut_.size() != nOut) {
        scratch_.assign(need, 0.0);
        const size_t len = need / std::max<size_t>(nIn + nOut, 1);
        scratchIn_.resize(nIn);
        scratchOut_.resize(nOut);
        for (size_t c = 0; c < nIn; ++c) scratchIn_[c] = scratch_.data() + c * len;
        for (size_t c = 0; c < nOut; ++c) scratchOut_[c] = scratch_.data() + (nIn + c) * len;
    }
    inPtrs_.resize(nIn);
    outPtrs_.resize(nOut);
}

void PluginHost::process(const float* const* in, float* const* out, int frames, bool useDouble)
{
    if (effect_ == nullptr || frames <= 0) return;
    ensureScratch(std::max(frames, blockSize_));
    const int nIn = std::max(effect_->numInputs, 0);
    const int nOut = std::max(effect_->numOutputs, 0);
    if (useDouble) {
        for (int c = 0; c < nIn; ++c) {
            std::copy(in[c], in[c] + frames, scratchIn_[static_cast<size_t>(c)]);
        }
        processDouble(scratchIn_.data(), scratchOut_.data(), frames);
        for (int c = 0; c < nOut; ++c) {
            const double* src = scratchOut_[static_cast<size_t>(c)];
            std::transform(src, src + frames, out[c], [](double v) { return static_cast<float>(v); });
        }
        return;
    }
    // The ABI passes non-const channel arrays; effects do not write to their inputs.
    for (int c = 0; c < nIn; ++c) inPtrs_[static_cast<size_t>(c)] = const_cast<float*>(in[c]);
    for (int c = 0; c < nOut; ++c) outPtrs_[static_cast<size_t>(c)] = out[c];
    sendQueuedEvents();
    inProcess_ = true;
    effect_->processReplacing(effect_, inPtrs_.data(), outPtrs_.data(), frames);
    inProcess_ = false;
}

void PluginHost::processDouble(const double* const* in, double* const* out, int frames)
{
    if (!supportsDouble() || frames <= 0) return;
    sendQueuedEvents();
    inProcess_ = true;
    effect_->processDoubleReplacing(effect_, const_cast<double**>(in), const_cast<double**>(out), frames);
    inProcess_ = false;
}

void PluginHost::processInBlocks(const float* const* in, float* const* out, long frames, bool useDouble)
{
    if (effect_ == nullptr) return;
    const size_t nIn = static_cast<size_t>(std::max(effect_->numInputs, 0));
    const size_t nOut = static_cast<size_t>(std::max(effect_->numOutputs, 0));
    std::vector<const float*> inAt(nIn);
    std::vector<float*> outAt(nOut);
    for (long done = 0; done < frames;) {
        const int n = static_cast<int>(std::min<long>(blockSize_, frames - done));
        for (size_t c = 0; c < nIn; ++c) inAt[c] = in[c] + done;
        for (size_t c = 0; c < nOut; ++c) outAt[c] = out[c] + done;
        process(inAt.data(), outAt.data(), n, useDouble);
        done += n;
    }
}

std::vector<PluginHost::Call> PluginHost::calls() const
{
    std::lock_guard<std::mutex> lock(callsMutex_);
    return calls_;
}

std::vector<PluginHost::Call> PluginHost::callsWith(vst::i32 opcode) const
{
    std::lock_guard<std::mutex> lock(callsMutex_);
    std::vector<Call> out;
    for (const Call& c : calls_) {
        if (c.opcode == opcode) out.push_back(c);
    }
    return out;
}

int PluginHost::callCount(vst::i32 opcode) const
{
    return opcode >= 0 && opcode < kCountedOpcodes ? counts_[static_cast<size_t>(opcode)].load() : 0;
}

void PluginHost::clearCalls()
{
    std::lock_guard<std::mutex> lock(callsMutex_);
    calls_.clear();
    for (auto& c : counts_) c = 0;
}

vst::iptr PluginHost::callback(vst::AEffect* effect, vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr,
                               float opt)
{
    PluginHost* host = effect != nullptr ? static_cast<PluginHost*>(effect->user) : nullptr;
    if (host == nullptr) host = tlLoadingHost;
    if (host == nullptr) {
        // A call we cannot attribute (another thread during loading): answer the version only.
        return opcode == vst::audioMasterVersion ? vst::kVstVersion : 0;
    }
    return host->answerCallback(opcode, index, value, ptr, opt);
}

vst::iptr PluginHost::answerCallback(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt)
{
    if (opcode >= 0 && opcode < kCountedOpcodes) ++counts_[static_cast<size_t>(opcode)];
    if (isRecorded(opcode) && recording_.load(std::memory_order_relaxed)) {
        std::lock_guard<std::mutex> lock(callsMutex_);
        if (calls_.size() < kMaxRecorded) calls_.push_back(Call{opcode, index, value, opt});
    }
    switch (opcode) {
    case vst::audioMasterVersion: return hostVersion_;
    case vst::audioMasterPinConnected: {
        // Inverted answer: 0 means connected.
        const auto& missing = value == 0 ? inputMissing_ : outputMissing_;
        const bool absent =
            index >= 0 && index < static_cast<int>(missing.size()) && missing[static_cast<size_t>(index)];
        return absent ? 1 : 0;
    }
    case vst::audioMasterGetSampleRate: return static_cast<vst::iptr>(sampleRate_);
    case vst::audioMasterGetBlockSize: return blockSize_;
    case vst::audioMasterGetCurrentProcessLevel: return inProcess_ ? kProcessLevelRealtime : kProcessLevelUser;
    case vst::audioMasterGetVendorString: copyText(ptr, kHostVendor, vst::kMaxVendorStrLen); return 1;
    case vst::audioMasterGetProductString: copyText(ptr, kHostProduct, vst::kMaxProductStrLen); return 1;
    case vst::audioMasterGetVendorVersion: return kHostVendorVersion;
    case vst::audioMasterCanDo: {
        if (ptr == nullptr) return 0;
        const char* text = static_cast<const char*>(ptr);
        return std::find(hostCanDo_.begin(), hostCanDo_.end(), text) != hostCanDo_.end() ? 1 : 0;
    }
    case 24:  // audioMasterGetAutomationState
        return kAutomationOff;
    case 38:  // audioMasterGetLanguage
        return kLanguageEnglish;
    case vst::audioMasterUpdateDisplay: return 1;
    default:
        // Automation, edit gestures, MIDI wishes: recorded above; time info, I/O changes,
        // window sizes and the rest are not offered.
        return 0;
    }
}

}  // namespace orv
