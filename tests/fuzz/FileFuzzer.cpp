// libFuzzer targets of the stored formats, one program per kind: the host's state chunk
// (ORV_FUZZ_MARKERS not defined) and preset, bank and MIDI-settings images (their markers).
// A chunk is handed to setChunk as it comes. For an image the first input byte picks the marker
// among its kind's (low bits), the byte order of its ID (bit 7) and the user's
// "endian-reversed" choice (bit 6); the rest of the input follows the ID and the marker. Each
// load gets an exact-size copy, so that a read past its end is caught, and builds on what the
// previous input left. Afterwards the effect must still be sound: every stored value in 0..1,
// every name terminated, a valid current program and bindings, and complete images and chunk.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "editor/CMidiPresetSystemEditor.h"
#include "plugin/RotaryEffect.h"

namespace orv {
namespace {

void check(bool condition)
{
    if (!condition) std::abort();
}

RotaryEffect& effect()
{
    static RotaryEffect* instance = [] {
        // No user settings take part: the store points where nothing exists or can be made.
        setenv("XDG_CONFIG_HOME", "/proc/self/orv-fuzz", 1);
        return new RotaryEffect(nullptr);
    }();
    return *instance;
}

void load(RotaryEffect& fx, const uint8_t* data, size_t size)
{
#ifdef ORV_FUZZ_MARKERS
    static constexpr uint8_t kMarkers[] = {ORV_FUZZ_MARKERS};
    const uint8_t select = data[0];
    uint32_t id = static_cast<uint32_t>(fx.getUniqueId());
    if ((select & 0x80) != 0) id = ByteReader::swap32(id);
    std::vector<uint8_t> image(sizeof id + size);
    std::memcpy(image.data(), &id, sizeof id);
    image[sizeof id] = kMarkers[(select & 0x3F) % std::size(kMarkers)];
    std::memcpy(image.data() + sizeof id + 1, data + 1, size - 1);
    static_cast<CMidiPresetSystemEditor*>(fx.getEditor())
        ->fileImages()
        .load(image.data(), image.size(), (select & 0x40) != 0);
#else
    std::vector<uint8_t> copy(data, data + size);
    const int answer = fx.setChunk(copy.data(), static_cast<int>(size), false);
    check(answer == 0 || answer == -1);
#endif
}

}  // namespace
}  // namespace orv

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orv;
    if (size == 0) return 0;
    RotaryEffect& fx = effect();
    load(fx, data, size);

    check(fx.getCurrentProgramIndex() >= 0 && fx.getCurrentProgramIndex() < kNumPrograms);
    for (int p = 0; p < kNumPrograms; ++p) {
        const ProgramRecord& r = fx.getProgramRecord(p);
        check(std::memchr(r.name, 0, kProgramNameSize) != nullptr);
        for (float v : r.values) check(v >= 0.0f && v <= 1.0f);
    }
    for (int i = 0; i < kNumUserParams; ++i) {
        const int c = fx.controllerOfParameter(i);
        check((c >= 0 && c < 128) || c == 999);
    }
    FileImageLoader& images = static_cast<CMidiPresetSystemEditor*>(fx.getEditor())->fileImages();
    check(images.presetImage().size() == FileImage::kPresetImageSize);
    check(images.midiSettingsImage().size() == FileImage::kMidiImageSize);
    void* chunk = nullptr;
    check(fx.getChunk(&chunk, false) == static_cast<int>(CMidiPresetSystemEffect::kChunkSize));
    return 0;
}
