// libFuzzer target: the built module, loaded with dlopen and driven through its entry point and
// effect record as a host would. Each input is a script of host calls on one new instance:
// parameters with any float, the process entries with any block size and samples (NaN,
// infinities, denormals), MIDI events, chunks (raw or the effect's own mutated), programs, rate,
// block size, suspend and resume, pin connections, speaker arrangements and every other opcode
// with any index, value and float; not effClose (which ends every input) nor effEditOpen (whose
// pointer must be a real window). Other pointers are a zeroed 8 KiB buffer or what the opcode's
// contract names. Then parameters outside 0..1 get their construction value and half a second of
// a sine at 22050 Hz (44100 Hz for one script in four) must come out finite in both precisions;
// closing the instance at the end shows leaks.

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
#include <string>
#include <vector>

#include "host/vst2.h"

#ifndef ORV_DEFAULT_MODULE
#error "ORV_DEFAULT_MODULE must name the built module"
#endif

namespace {

constexpr int kMaxFrames = 4096;    // longest block a script asks for
constexpr int kFrameBudget = 8192;  // frames all process calls of one script share
constexpr int kMaxEvents = 16;      // MIDI events per processEvents call
constexpr int kNumIndices = 167;    // every parameter index the effect knows
constexpr int kCheckBlock = 2048;   // block size of the closing check
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

vst::AEffect* (*entryPoint)(vst::HostCallback) = nullptr;
std::vector<float> constructionValues;  // getParameter of a new instance, index by index
// The host's answers for pin connections: bit k set means pin k is unconnected (inputs 0 and 1
// in bits 0 and 1, outputs in bits 2 and 3).
unsigned missingPins = 0;

// Says what went wrong and ends the run as a finding.
[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "%s\n", why.c_str());
    std::abort();
}

vst::iptr hostCallback(vst::AEffect*, vst::i32 opcode, vst::i32 index, vst::iptr value, void*, float)
{
    if (opcode == vst::audioMasterVersion) return vst::kVstVersion;
    if (opcode != vst::audioMasterPinConnected || index < 0 || index > 1) return 0;
    return (missingPins >> ((value != 0 ? 2u : 0u) + static_cast<unsigned>(index))) & 1u;  // 0: connected
}

// Reads the script; past its end every read gives zeros.
struct Script {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    uint8_t byte() { return pos < size ? data[pos++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
    uint32_t u32() { return static_cast<uint32_t>(u16()) | (static_cast<uint32_t>(u16()) << 16); }
    // Any float: often a special value, often a valid normalised value (16-bit steps), else raw bits.
    float anyFloat()
    {
        using Limits = std::numeric_limits<float>;
        // clang-format off
        static const float kSpecial[] = {kNaN, -kNaN, HUGE_VALF, -HUGE_VALF, 1e30f, -1e30f, Limits::max(),
                                         Limits::lowest(), Limits::denorm_min(), -Limits::denorm_min(),
                                         Limits::min() / 2.0f, 0.0f, -0.0f, 1.0f, -1.0f, 2.0f};
        // clang-format on
        const uint8_t kind = byte();
        if (static_cast<size_t>(kind) < std::size(kSpecial) * 4) return kSpecial[kind % std::size(kSpecial)];
        if (kind < 160) return static_cast<float>(u16()) / 65535.0f;
        const uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Mostly a meaningful index (-2..172), sometimes any 32-bit one.
    vst::i32 index() { return byte() < 240 ? static_cast<vst::i32>(byte() % 175) - 2 : static_cast<vst::i32>(u32()); }
    // Mostly small, sometimes any 64-bit value.
    vst::iptr value()
    {
        const uint8_t kind = byte();
        if (kind < 192) return static_cast<int8_t>(byte());
        if (kind < 240) return static_cast<int32_t>(u32());
        return static_cast<vst::iptr>((static_cast<uint64_t>(u32()) << 32) | u32());
    }
    // Up to n bytes taken whole from the script.
    std::vector<uint8_t> bytes(size_t n)
    {
        n = std::min(n, size - std::min(pos, size));
        pos += n;
        return std::vector<uint8_t>(data + pos - n, data + pos);
    }
    // A text of any bytes and length up to 47, or one the effect may know; terminated.
    void text(char* out)
    {
        static const char* kKnown[] = {"offline", "plugAsChannelInsert", "1in1out",          "1in2out",
                                       "2in2out", "receiveVstMidiEvent", "sendVstMidiEvent", "2in1out"};
        if (const uint8_t pick = byte(); pick < 64) {
            std::strcpy(out, kKnown[pick % 8]);
            return;
        }
        const int length = byte() % 48;
        for (int i = 0; i < length; ++i) out[i] = static_cast<char>(byte() | 1u);
        out[length] = 0;
    }
};

// The host's side of one instance: the record and its buffers, kept between inputs.
struct Host {
    vst::AEffect* fx = nullptr;
    int framesLeft = 0;
    float in[2][kMaxFrames] = {}, out[2][kMaxFrames] = {};
    double inD[2][kMaxFrames] = {}, outD[2][kMaxFrames] = {};
    vst::VstMidiEvent events[kMaxEvents] = {};
    struct {
        vst::i32 numEvents = 0;
        vst::iptr reserved = 0;
        vst::VstEvent* pointers[kMaxEvents] = {};
    } eventList;
    alignas(16) char scratch[8192] = {};
    // Two arrangement records with room for 127 speakers each.
    alignas(16) char arrangements[2][sizeof(vst::VstSpeakerArrangement) + 119 * sizeof(vst::VstSpeakerProperties)];
    void* slot = nullptr;
    void* slot2 = nullptr;
    float sink = 0.0f;  // keeps reads from being optimised away

    vst::iptr dispatch(vst::i32 opcode, vst::i32 index = 0, vst::iptr value = 0, void* ptr = nullptr, float opt = 0)
    {
        return fx->dispatcher(fx, opcode, index, value, ptr, opt);
    }

    // Both input channels from the script: a sine, a constant, the script's own bytes as floats
    // or noise, then a few special values at chosen places.
    void fillInput(Script& s, int frames)
    {
        const uint8_t kind = s.byte() % 4;
        const float level = s.anyFloat();
        const std::vector<uint8_t> raw = kind == 2 ? s.bytes(64) : std::vector<uint8_t>{};
        uint32_t noise = s.u32() | 1u;
        for (int c = 0; c < 2; ++c) {
            for (int i = 0; i < frames; ++i) {
                float x = level;
                if (kind == 0) {
                    x = level * std::sin(0.0625f * static_cast<float>(i + 7 * c));
                } else if (kind == 2 && raw.size() >= sizeof x) {
                    std::memcpy(&x, raw.data() + (static_cast<size_t>(i + c) * sizeof x) % (raw.size() - 3), sizeof x);
                } else if (kind == 3) {
                    noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
                    x = level * (static_cast<float>(noise) * 2.3283064e-10f - 0.5f);
                }
                in[c][i] = x;
            }
        }
        for (int n = s.byte() % 4; n > 0 && frames > 0; --n) {
            const int c = s.byte() & 1, at = s.u16() % frames;
            in[c][at] = s.anyFloat();
        }
    }

    // One block of `in` through the chosen entry, into `to` (in itself for in place); the
    // double entry works on copies in inD and outD.
    void processBlock(float (*to)[kMaxFrames], int frames, bool useDouble, bool accumulating = false)
    {
        if (useDouble) {
            for (int c = 0; c < 2; ++c) std::copy(in[c], in[c] + frames, inD[c]);
            double* ins[2] = {inD[0], inD[1]};
            double* outs[2] = {to == in ? inD[0] : outD[0], to == in ? inD[1] : outD[1]};
            fx->processDoubleReplacing(fx, ins, outs, frames);
        } else {
            float* ins[2] = {in[0], in[1]};
            float* outs[2] = {to[0], to[1]};
            (accumulating ? fx->process : fx->processReplacing)(fx, ins, outs, frames);
        }
    }

    // Any size up to the longest block within what is left of the budget, in place when asked.
    void process(Script& s, bool useDouble)
    {
        const uint8_t mode = s.byte();
        const int frames = std::min<int>(s.u16() % (kMaxFrames + 1), framesLeft);
        framesLeft -= frames;
        fillInput(s, frames);
        for (int c = 0; c < 2; ++c) {
            std::fill(out[c], out[c] + kMaxFrames, kNaN);
            std::fill(outD[c], outD[c] + kMaxFrames, kNaN);
        }
        processBlock((mode & 1) != 0 ? in : out, frames, useDouble, (mode & 2) != 0);
    }

    // A VstEvents record of up to kMaxEvents events: mostly MIDI, any bytes, any frame offset.
    void processEvents(Script& s)
    {
        eventList.numEvents = s.byte() % (kMaxEvents + 1);
        for (int i = 0; i < eventList.numEvents; ++i) {
            vst::VstMidiEvent& e = events[i] = {};
            const uint8_t kind = s.byte();
            e.type = kind < 224 ? vst::kVstMidiType : static_cast<vst::i32>(kind % 8);
            e.byteSize = sizeof e;
            e.deltaFrames = kind % 8 == 7 ? static_cast<vst::i32>(s.u32()) : s.u16() % kMaxFrames;
            for (char& b : e.midiData) b = static_cast<char>(s.byte());
            eventList.pointers[i] = reinterpret_cast<vst::VstEvent*>(&e);
        }
        dispatch(vst::effProcessEvents, 0, 0, &eventList);
    }

    // The effect's own chunk with a few bytes changed, cut or lengthened.
    void mutatedChunk(Script& s)
    {
        void* data = nullptr;
        const vst::iptr size = dispatch(vst::effGetChunk, 0, 0, &data);
        std::vector<uint8_t> chunk(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        for (int n = 1 + s.byte() % 8; n > 0 && !chunk.empty(); --n) {
            const uint8_t what = s.byte();
            const size_t at = s.u16() % chunk.size();
            if (what < 160) {
                chunk[at] ^= s.byte() | 1u;
            } else if (what < 224) {
                const uint32_t word = s.u32();
                std::memcpy(chunk.data() + at, &word, std::min<size_t>(sizeof word, chunk.size() - at));
            } else {
                chunk.resize(what < 240 ? at : chunk.size() + s.byte());
            }
        }
        // An exact-size copy, so that a read past its end is caught.
        dispatch(vst::effSetChunk, s.byte() >= 224 ? 1 : 0, static_cast<vst::iptr>(chunk.size()),
                 chunk.empty() ? nullptr : chunk.data());
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
        std::memset(scratch, 0, sizeof scratch);
        void* ptr = scratch;
        slot = slot2 = nullptr;
        if (opcode == vst::effEditGetRect || opcode == vst::effGetChunk) {
            ptr = &slot;                          // the effect writes a pointer here
        } else if (opcode == vst::effSetChunk) {  // raw bytes of the script
            const std::vector<uint8_t> raw = s.bytes(s.u16() % sizeof scratch);
            std::copy(raw.begin(), raw.end(), scratch);
            value = static_cast<vst::iptr>(raw.size());
        } else if (opcode == vst::effProcessEvents) {
            eventList.numEvents = 0;
            ptr = &eventList;
        } else if (opcode == vst::effGetSpeakerArrangement) {
            value = reinterpret_cast<vst::iptr>(&slot);
            ptr = &slot2;
        } else if (opcode == vst::effSetSpeakerArrangement) {
            // Any channel counts; the records hold as many speakers as a positive count asks for.
            std::memset(arrangements, 0, sizeof arrangements);
            auto* io = reinterpret_cast<vst::VstSpeakerArrangement*>(arrangements[0]);
            auto* out = reinterpret_cast<vst::VstSpeakerArrangement*>(arrangements[1]);
            for (auto* a : {io, out}) a->numChannels = static_cast<int8_t>(s.byte());
            for (auto* a : {io, out}) a->type = static_cast<int8_t>(s.byte());
            value = reinterpret_cast<vst::iptr>(io);
            ptr = out;
        } else if (opcode == vst::effSetProgramName || opcode == vst::effCanDo) {
            s.text(scratch);
        }
        const vst::iptr answer = dispatch(opcode, index, value, ptr, opt);
        if (opcode == vst::effCanDo && answer != 0 && answer != 1) std::abort();
        if (opcode == vst::effEditGetRect && slot != nullptr) {
            const auto* rect = static_cast<const vst::ERect*>(slot);
            sink += static_cast<float>(rect->right - rect->left + rect->bottom - rect->top);
        }
        if (opcode == vst::effGetChunk && slot != nullptr) {  // touch the whole chunk it claims
            const vst::iptr size = dispatch(vst::effGetChunk, index, 0, &slot);
            for (vst::iptr i = 0; i < size; ++i) sink += static_cast<const volatile uint8_t*>(slot)[i];
        }
    }

    // A valid set-up and parameters, half a second of a sine, then one block of each precision
    // that must be finite.
    void check(bool highRate)
    {
        missingPins = 0;
        const float rate = highRate ? 44100.0f : 22050.0f;
        dispatch(vst::effMainsChanged, 0, 0);
        dispatch(vst::effSetSampleRate, 0, 0, nullptr, rate);
        dispatch(vst::effSetBlockSize, 0, kCheckBlock);
        dispatch(vst::effMainsChanged, 0, 1);
        for (int i = 0; i < kNumIndices; ++i) {
            const float v = fx->getParameter(fx, i);
            if (!(v >= 0.0f && v <= 1.0f)) fx->setParameter(fx, i, constructionValues[static_cast<size_t>(i)]);
        }
        // Whole blocks for half a second, then one block in each precision.
        const int warm = (static_cast<int>(rate) / 2 + kCheckBlock - 1) / kCheckBlock;
        for (int b = 0; b < warm + 2; ++b) {
            for (int i = 0; i < kCheckBlock; ++i) {
                const float t = static_cast<float>(static_cast<long>(b) * kCheckBlock + i) / rate;
                in[0][i] = 0.5f * std::sin(2.0f * 3.14159265f * 441.0f * t);
                in[1][i] = -in[0][i];
            }
            const bool useDouble = b == warm + 1;
            processBlock(out, kCheckBlock, useDouble);
            for (int c = 0; c < 2 && b >= warm; ++c)
                for (int i = 0; i < kCheckBlock; ++i)
                    if (const double y = useDouble ? outD[c][i] : out[c][i]; !std::isfinite(y))
                        fail("output " + std::to_string(c) + " sample " + std::to_string(i) + " is " +
                             std::to_string(y) + (useDouble ? " (double)" : ""));
        }
    }
};
static_assert(offsetof(decltype(Host::eventList), pointers) == offsetof(vst::VstEvents, events));

vst::AEffect* create()
{
    vst::AEffect* effect = entryPoint(hostCallback);
    if (effect == nullptr || effect->magic != vst::kEffectMagic) fail("the module gave no effect record");
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
    if (module == nullptr) fail(std::string("cannot load ") + path + ": " + dlerror());
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
    Host& h = *host;
    h.fx = create();
    h.framesLeft = kFrameBudget;
    missingPins = 0;

    Script s{data, size};
    const bool highRate = (s.byte() & 3) == 3;
    h.dispatch(vst::effOpen);
    h.dispatch(vst::effMainsChanged, 0, 1);
    for (int steps = 0; s.pos < s.size && steps < 64; ++steps) {
        switch (s.byte() % 16) {
        case 0:
        case 1:
        case 2: {
            const vst::i32 index = s.index();
            h.fx->setParameter(h.fx, index, s.anyFloat());
            break;
        }
        case 3: h.process(s, false); break;
        case 4: h.process(s, true); break;
        case 5: h.processEvents(s); break;
        case 6: h.mutatedChunk(s); break;
        case 7: h.dispatch(vst::effMainsChanged, 0, s.value()); break;
        case 8: h.dispatch(vst::effSetProgram, 0, s.value()); break;
        case 9: h.dispatch(vst::effSetSampleRate, 0, 0, nullptr, s.anyFloat()); break;
        case 10: h.dispatch(vst::effSetBlockSize, 0, s.value()); break;
        case 11: h.sink += h.fx->getParameter(h.fx, s.index()); break;
        case 12: missingPins = s.byte() & 15u; break;
        default: h.anyOpcode(s); break;  // raw chunks, program names and canDo among them
        }
    }
    h.check(highRate);
    if (h.dispatch(vst::effClose) != 1) std::abort();
    return 0;
}
