// libFuzzer target: the whole host interface of the built module, loaded with dlopen and driven
// through its entry point and effect record as a host would. Each input is a script of host
// calls on one new instance: parameters with any float, both process entries with any block
// size and any samples (NaN, infinities, denormals), MIDI events, chunks (raw or a real one
// mutated), program names, sample rate, block size, suspend and resume, pin connections,
// speaker arrangements and every other dispatcher opcode with any index, value and float.
// Afterwards every parameter that holds no value in 0..1 is set to a valid one and the effect
// gets half a second of a sine at a host rate of 22050 Hz (44100 Hz for one script in four):
// its output must then be finite. The instance is closed at the end, so leaks show too.
//
// Opcodes not sent: effClose (ends every input instead) and effEditOpen, whose pointer must be a
// real parent window. Every other pointer argument is a zeroed buffer of 8 KiB, or the
// record or text the opcode's contract names.

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <vector>

#include "host/vst2.h"

#ifndef ORV_DEFAULT_MODULE
#error "ORV_DEFAULT_MODULE must name the built module"
#endif

namespace {

constexpr int kMaxFrames = 4096;     // longest block a script asks for
constexpr int kFrameBudget = 8192;   // frames all process calls of one script share
constexpr int kMaxEvents = 16;       // MIDI events per processEvents call
constexpr int kMaxChunk = 1 << 16;   // longest raw chunk a script hands over
constexpr int kScratchBytes = 8192;  // zeroed buffer behind every other pointer argument
constexpr int kNumIndices = 167;     // every parameter index the effect knows
constexpr int kCheckBlock = 2048;    // block size of the closing check

vst::AEffect* (*entryPoint)(vst::HostCallback) = nullptr;
std::vector<float> constructionValues;  // getParameter of a new instance, index by index

// What the host answers for pin connections: bit k set means pin k is unconnected (inputs
// 0 and 1 in bits 0 and 1, outputs in bits 2 and 3).
unsigned missingPins = 0;

vst::iptr hostCallback(vst::AEffect*, vst::i32 opcode, vst::i32 index, vst::iptr value, void*, float)
{
    switch (opcode) {
    case vst::audioMasterVersion: return vst::kVstVersion;
    case vst::audioMasterPinConnected: {
        if (index < 0 || index > 1) return 0;
        const unsigned bit = (value != 0 ? 2u : 0u) + static_cast<unsigned>(index);
        return (missingPins >> bit) & 1u;  // 0 means connected
    }
    default: return 0;
    }
}

// Reads the script; past its end every read gives zeros.
class Script {
public:
    Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool done() const { return pos_ >= size_; }
    size_t left() const { return size_ - pos_; }

    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
    uint32_t u32() { return static_cast<uint32_t>(u16()) | (static_cast<uint32_t>(u16()) << 16); }

    // Any float: often a special value, often a valid normalised value, otherwise raw bits.
    float anyFloat()
    {
        // clang-format off
        static const float kSpecial[] = {
            std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
            std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
            1e30f, -1e30f, std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest(),
            std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::denorm_min(),
            std::numeric_limits<float>::min() / 2.0f, 0.0f, -0.0f, 1.0f, -1.0f, 2.0f};
        // clang-format on
        constexpr int kNumSpecial = sizeof kSpecial / sizeof kSpecial[0];
        const uint8_t kind = byte();
        if (kind < kNumSpecial * 4) return kSpecial[kind % kNumSpecial];
        if (kind < 160) return unitFloat();
        const uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // A value in 0..1 with 16-bit resolution (0 and 1 included).
    float unitFloat() { return static_cast<float>(u16()) / 65535.0f; }

    // Mostly a meaningful index (-2..172), sometimes any 32-bit one.
    vst::i32 index()
    {
        const uint8_t kind = byte();
        if (kind < 240) return static_cast<vst::i32>(byte() % 175) - 2;
        return static_cast<vst::i32>(u32());
    }

    // Mostly small, sometimes any 64-bit value.
    vst::iptr value()
    {
        const uint8_t kind = byte();
        if (kind < 192) return static_cast<vst::iptr>(static_cast<int8_t>(byte()));
        if (kind < 240) return static_cast<vst::iptr>(static_cast<int32_t>(u32()));
        return static_cast<vst::iptr>((static_cast<uint64_t>(u32()) << 32) | u32());
    }

    // Up to n bytes taken whole from the script.
    std::vector<uint8_t> bytes(size_t n)
    {
        n = n < left() ? n : left();
        std::vector<uint8_t> out(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The host's side of one instance: the record, its buffers, and one method per kind of call.
class Host {
public:
    void attach(vst::AEffect* effect)
    {
        fx_ = effect;
        framesLeft_ = kFrameBudget;
    }

    vst::iptr dispatch(vst::i32 opcode, vst::i32 index, vst::iptr value, void* ptr, float opt)
    {
        return fx_->dispatcher(fx_, opcode, index, value, ptr, opt);
    }

    void setParameter(Script& s)
    {
        const vst::i32 index = s.index();
        fx_->setParameter(fx_, index, s.anyFloat());
    }

    void getParameter(Script& s) { sink_ += fx_->getParameter(fx_, s.index()); }

    // Fills `frames` samples of both input channels from the script: a sine, a constant, the
    // script's own bytes as floats, or noise, then a few special values at chosen places.
    void fillInput(Script& s, int frames)
    {
        const uint8_t kind = s.byte();
        const float level = s.anyFloat();
        const std::vector<uint8_t> raw = kind % 4 == 2 ? s.bytes(64) : std::vector<uint8_t>{};
        uint32_t noise = s.u32() | 1u;
        for (int c = 0; c < 2; ++c) {
            for (int i = 0; i < frames; ++i) {
                float x = level;
                switch (kind % 4) {
                case 0: x = level * std::sin(0.0625f * static_cast<float>(i + 7 * c)); break;
                case 1: break;
                case 2:
                    if (raw.size() >= sizeof(float)) {
                        const size_t at =
                            (static_cast<size_t>(i + c) * sizeof(float)) % (raw.size() - sizeof(float) + 1);
                        std::memcpy(&x, raw.data() + at, sizeof x);
                    }
                    break;
                default:
                    noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
                    x = level * (static_cast<float>(noise) * 2.3283064e-10f - 0.5f);
                    break;
                }
                in_[c][i] = x;
            }
        }
        for (int n = s.byte() % 4; n > 0 && frames > 0; --n) {
            const int c = s.byte() & 1;
            const int at = s.u16() % frames;
            in_[c][at] = s.anyFloat();
        }
    }

    // One block through processReplacing or processDoubleReplacing (or the old accumulating
    // process), in place when asked.
    void process(Script& s, bool useDouble)
    {
        const uint8_t mode = s.byte();
        // Any size up to the longest block, within what is left of the script's budget.
        const int frames = std::min<int>(s.u16() % (kMaxFrames + 1), framesLeft_);
        framesLeft_ -= frames;
        fillInput(s, frames);
        std::fill(&out_[0][0], &out_[0][0] + 2 * kMaxFrames, std::numeric_limits<float>::quiet_NaN());
        std::fill(&outD_[0][0], &outD_[0][0] + 2 * kMaxFrames, std::numeric_limits<double>::quiet_NaN());
        processBlock(in_, (mode & 1) != 0 ? in_ : out_, frames, useDouble, (mode & 2) != 0);
    }

    // in and out are in_ or out_; the double entry gets their copies in inD_ and outD_.
    void processBlock(float (*in)[kMaxFrames], float (*out)[kMaxFrames], int frames, bool useDouble,
                      bool accumulating = false)
    {
        if (useDouble) {
            for (int c = 0; c < 2; ++c) std::copy(in[c], in[c] + frames, inD_[c]);
            double* ins[2] = {inD_[0], inD_[1]};
            double* outs[2] = {out == in ? inD_[0] : outD_[0], out == in ? inD_[1] : outD_[1]};
            fx_->processDoubleReplacing(fx_, ins, outs, frames);
        } else {
            float* ins[2] = {in[0], in[1]};
            float* outs[2] = {out[0], out[1]};
            (accumulating ? fx_->process : fx_->processReplacing)(fx_, ins, outs, frames);
        }
    }

    // A VstEvents record of up to kMaxEvents events: mostly MIDI, any bytes, any frame offset.
    void processEvents(Script& s)
    {
        const int count = s.byte() % (kMaxEvents + 1);
        for (int i = 0; i < count; ++i) {
            vst::VstMidiEvent& e = events_[i];
            e = {};
            const uint8_t kind = s.byte();
            e.type = kind < 224 ? vst::kVstMidiType : static_cast<vst::i32>(kind % 8);
            e.byteSize = sizeof e;
            e.deltaFrames = kind % 8 == 7 ? static_cast<vst::i32>(s.u32()) : s.u16() % kMaxFrames;
            for (char& b : e.midiData) b = static_cast<char>(s.byte());
            eventList_.pointers[i] = reinterpret_cast<vst::VstEvent*>(&e);
        }
        eventList_.numEvents = count;
        dispatch(vst::effProcessEvents, 0, 0, &eventList_, 0.0f);
    }

    // The effect's chunk, read to its last byte so that a wrong size shows.
    std::vector<uint8_t> getChunk(bool preset)
    {
        void* data = nullptr;
        const vst::iptr size = dispatch(vst::effGetChunk, preset ? 1 : 0, 0, &data, 0.0f);
        if (size <= 0 || data == nullptr) return {};
        const auto* bytes = static_cast<const uint8_t*>(data);
        return std::vector<uint8_t>(bytes, bytes + size);
    }

    // An exact-size copy is handed over, so that a read past its end is caught.
    void setChunk(std::vector<uint8_t> chunk, bool preset)
    {
        dispatch(vst::effSetChunk, preset ? 1 : 0, static_cast<vst::iptr>(chunk.size()),
                 chunk.empty() ? nullptr : chunk.data(), 0.0f);
    }

    // The effect's own chunk with a few bytes changed, cut or lengthened.
    void mutatedChunk(Script& s)
    {
        std::vector<uint8_t> chunk = getChunk(false);
        for (int n = 1 + s.byte() % 8; n > 0 && !chunk.empty(); --n) {
            const uint8_t what = s.byte();
            const size_t at = s.u16() % chunk.size();
            if (what < 160) {
                chunk[at] ^= s.byte() | 1u;
            } else if (what < 224) {
                const uint32_t word = s.u32();
                std::memcpy(chunk.data() + at, &word, std::min<size_t>(sizeof word, chunk.size() - at));
            } else if (what < 240) {
                chunk.resize(at);
            } else {
                chunk.resize(chunk.size() + s.byte());
            }
        }
        setChunk(std::move(chunk), s.byte() >= 224);
    }

    // A text of any bytes and any length up to 47, terminated, or one the effect may know.
    void text(Script& s, char* out)
    {
        static const char* kKnown[] = {"offline", "plugAsChannelInsert", "1in1out", "1in2out",
                                       "2in2out", "receiveVstMidiEvent", "2in1out", "sendVstMidiEvent"};
        const uint8_t pick = s.byte();
        if (pick < 64) {
            std::strcpy(out, kKnown[pick % 8]);
            return;
        }
        const int length = s.byte() % 48;
        for (int i = 0; i < length; ++i) out[i] = static_cast<char>(s.byte() | 1u);
        out[length] = 0;
    }

    // Input and output arrangements with any channel count; the records hold as many speaker
    // entries as a positive count asks for.
    void setSpeakerArrangement(Script& s)
    {
        std::memset(arrangements_, 0, sizeof arrangements_);
        auto* input = reinterpret_cast<vst::VstSpeakerArrangement*>(arrangements_[0]);
        auto* output = reinterpret_cast<vst::VstSpeakerArrangement*>(arrangements_[1]);
        input->numChannels = static_cast<int8_t>(s.byte());
        output->numChannels = static_cast<int8_t>(s.byte());
        input->type = static_cast<int8_t>(s.byte());
        output->type = static_cast<int8_t>(s.byte());
        dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<vst::iptr>(input), output, 0.0f);
    }

    // Any opcode but effClose and effEditOpen, with any index, value and float; a pointer
    // argument is what the opcode's contract asks for.
    void anyOpcode(Script& s)
    {
        const uint8_t pick = s.byte();
        vst::i32 opcode = pick < 240 ? pick % 82 : static_cast<vst::i32>(s.u32());
        if (opcode == vst::effClose || opcode == vst::effEditOpen) opcode = vst::effEditIdle;
        const vst::i32 index = s.index();
        vst::iptr value = s.value();
        const float opt = s.anyFloat();
        std::memset(scratch_, 0, sizeof scratch_);
        void* ptr = scratch_;
        switch (opcode) {
        case vst::effEditGetRect:
        case vst::effGetChunk:
            ptr = &slot_;  // the effect writes a pointer here
            break;
        case vst::effSetChunk: value = s.u16() % sizeof scratch_; break;
        case vst::effProcessEvents:
            eventList_.numEvents = 0;
            ptr = &eventList_;
            break;
        case vst::effSetSpeakerArrangement: setSpeakerArrangement(s); return;
        case vst::effGetSpeakerArrangement:
            value = reinterpret_cast<vst::iptr>(&slot_);
            ptr = &slot2_;
            break;
        case vst::effSetProgramName:
        case vst::effCanDo: text(s, scratch_); break;
        default: break;
        }
        slot_ = nullptr;
        slot2_ = nullptr;
        const vst::iptr answer = dispatch(opcode, index, value, ptr, opt);
        if (opcode == vst::effCanDo && answer != 0 && answer != 1) std::abort();
        if (opcode == vst::effEditGetRect && slot_ != nullptr) {
            const auto* rect = static_cast<const vst::ERect*>(slot_);
            sink_ += static_cast<float>(rect->right - rect->left + rect->bottom - rect->top);
        }
        if (opcode == vst::effGetChunk && slot_ != nullptr) {
            // Touch the whole chunk the effect claims to have.
            const vst::iptr size = dispatch(vst::effGetChunk, index, 0, &slot_, 0.0f);
            const auto* bytes = static_cast<const volatile uint8_t*>(slot_);
            for (vst::iptr i = 0; i < size; ++i) sink_ += bytes[i];
        }
    }

    // Every parameter whose value lies outside 0..1 gets the value a new instance has.
    void validateParameters()
    {
        for (int i = 0; i < kNumIndices; ++i) {
            const float v = fx_->getParameter(fx_, i);
            if (!(v >= 0.0f && v <= 1.0f)) fx_->setParameter(fx_, i, constructionValues[static_cast<size_t>(i)]);
        }
    }

    // Half a second of a sine at a valid host set-up; afterwards one block of each precision
    // must be finite.
    void check(bool highRate)
    {
        missingPins = 0;
        dispatch(vst::effMainsChanged, 0, 0, nullptr, 0.0f);
        const float rate = highRate ? 44100.0f : 22050.0f;
        dispatch(vst::effSetSampleRate, 0, 0, nullptr, rate);
        dispatch(vst::effSetBlockSize, 0, kCheckBlock, nullptr, 0.0f);
        dispatch(vst::effMainsChanged, 0, 1, nullptr, 0.0f);
        validateParameters();

        const int settle = static_cast<int>(rate) / 2;
        long phase = 0;
        auto sine = [&](int frames) {
            for (int i = 0; i < frames; ++i, ++phase) {
                const float x = 0.5f * std::sin(2.0f * 3.14159265f * 441.0f * static_cast<float>(phase) / rate);
                in_[0][i] = x;
                in_[1][i] = -x;
            }
        };
        for (int done = 0; done < settle; done += kCheckBlock) {
            sine(kCheckBlock);
            processBlock(in_, out_, kCheckBlock, false);
        }
        for (bool useDouble : {false, true}) {
            sine(kCheckBlock);
            processBlock(in_, out_, kCheckBlock, useDouble);
            for (int c = 0; c < 2; ++c) {
                for (int i = 0; i < kCheckBlock; ++i) {
                    const double y = useDouble ? outD_[c][i] : out_[c][i];
                    if (!std::isfinite(y)) {
                        std::fprintf(stderr, "%s output channel %d sample %d is %g\n", useDouble ? "double" : "float",
                                     c, i, y);
                        std::abort();
                    }
                }
            }
        }
    }

    float sink() const { return sink_; }

private:
    struct EventList {
        vst::i32 numEvents = 0;
        vst::iptr reserved = 0;
        vst::VstEvent* pointers[kMaxEvents] = {};
    };
    static_assert(offsetof(EventList, pointers) == offsetof(vst::VstEvents, events));

    vst::AEffect* fx_ = nullptr;
    float in_[2][kMaxFrames] = {};
    float out_[2][kMaxFrames] = {};
    double inD_[2][kMaxFrames] = {};
    double outD_[2][kMaxFrames] = {};
    vst::VstMidiEvent events_[kMaxEvents] = {};
    EventList eventList_;
    alignas(16) char scratch_[kScratchBytes] = {};
    // Two arrangement records with room for 127 speakers each.
    alignas(
        16) char arrangements_[2][sizeof(vst::VstSpeakerArrangement) + 119 * sizeof(vst::VstSpeakerProperties)] = {};
    void* slot_ = nullptr;
    void* slot2_ = nullptr;
    float sink_ = 0.0f;  // keeps reads from being optimised away
    int framesLeft_ = 0;
};

vst::AEffect* create()
{
    vst::AEffect* effect = entryPoint(hostCallback);
    if (effect == nullptr || effect->magic != vst::kEffectMagic) {
        std::fprintf(stderr, "the module gave no effect record\n");
        std::abort();
    }
    return effect;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Settings the effect writes go to a folder of this run.
    static char folder[] = "/tmp/orv-fuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr) std::abort();
    setenv("XDG_CONFIG_HOME", folder, 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });

    const char* path = std::getenv("ORV_MODULE");
    if (path == nullptr || *path == 0) path = ORV_DEFAULT_MODULE;
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
        std::abort();
    }
    entryPoint = reinterpret_cast<vst::AEffect* (*)(vst::HostCallback)>(dlsym(module, "VSTPluginMain"));
    if (entryPoint == nullptr) std::abort();

    vst::AEffect* effect = create();
    for (int i = 0; i < kNumIndices; ++i) constructionValues.push_back(effect->getParameter(effect, i));
    effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Host* host = new Host;  // buffers kept between inputs; the effect is new each time
    host->attach(create());
    missingPins = 0;

    Script s(data, size);
    const bool highRate = (s.byte() & 3) == 3;  // 44100 Hz for one script in four
    host->dispatch(vst::effOpen, 0, 0, nullptr, 0.0f);
    host->dispatch(vst::effMainsChanged, 0, 1, nullptr, 0.0f);
    for (int steps = 0; !s.done() && steps < 64; ++steps) {
        switch (s.byte() % 16) {
        case 0:
        case 1:
        case 2: host->setParameter(s); break;
        case 3: host->process(s, false); break;
        case 4: host->process(s, true); break;
        case 5: host->processEvents(s); break;
        case 6: host->setChunk(s.bytes(s.u16() % kMaxChunk), s.byte() >= 224); break;
        case 7: host->mutatedChunk(s); break;
        case 8: host->dispatch(vst::effSetProgram, 0, s.value(), nullptr, 0.0f); break;
        case 9: host->dispatch(vst::effSetSampleRate, 0, 0, nullptr, s.anyFloat()); break;
        case 10: host->dispatch(vst::effSetBlockSize, 0, s.value(), nullptr, 0.0f); break;
        case 11: host->dispatch(vst::effMainsChanged, 0, s.value(), nullptr, 0.0f); break;
        case 12: host->getChunk(s.byte() >= 224); break;
        case 13: host->getParameter(s); break;
        case 14: missingPins = s.byte() & 15u; break;
        default: host->anyOpcode(s); break;  // program names and canDo among them
        }
    }
    host->check(highRate);
    if (host->dispatch(vst::effClose, 0, 0, nullptr, 0.0f) != 1) std::abort();
    return 0;
}
