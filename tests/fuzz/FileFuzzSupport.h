// Shared part of the preset, bank and MIDI-settings fuzz targets. The first input byte picks
// the image's marker among its kind's (low bits), the byte order of its ID (bit 7) and the
// user's "endian-reversed" choice (bit 6); the rest of the input follows the ID and the marker.
// After each load the effect must still be sound: every stored value in 0..1, every name
// terminated, a valid current program and bindings, and complete images.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "editor/CMidiPresetSystemEditor.h"
#include "plugin/RotaryEffect.h"

namespace orv::fuzz {

inline RotaryEffect& effect()
{
    static RotaryEffect* instance = [] {
        // No user settings take part: the store points where nothing exists or can be made.
        setenv("XDG_CONFIG_HOME", "/proc/self/orv-fuzz", 1);
        return new RotaryEffect(nullptr);
    }();
    return *instance;
}

inline void check(bool condition)
{
    if (!condition) std::abort();
}

template <std::size_t N>
int loadImage(const std::uint8_t* data, std::size_t size, const std::uint8_t (&markers)[N])
{
    if (size == 0) return 0;
    RotaryEffect& fx = effect();
    auto& editor = *static_cast<CMidiPresetSystemEditor*>(fx.getEditor());
    const std::uint8_t select = data[0];
    std::uint32_t id = static_cast<std::uint32_t>(fx.getUniqueId());
    if ((select & 0x80) != 0) id = ByteReader::swap32(id);
    // An exact-size image, so that any read past its end is caught.
    std::vector<std::uint8_t> image(sizeof id + 1 + (size - 1));
    std::memcpy(image.data(), &id, sizeof id);
    image[sizeof id] = markers[(select & 0x3F) % N];
    if (size > 1) std::memcpy(image.data() + sizeof id + 1, data + 1, size - 1);
    editor.fileImages().load(image.data(), image.size(), (select & 0x40) != 0);

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
    check(editor.fileImages().presetImage().size() == FileImage::kPresetImageSize);
    check(editor.fileImages().midiSettingsImage().size() == FileImage::kMidiImageSize);
    return 0;
}

}  // namespace orv::fuzz
