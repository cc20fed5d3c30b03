// Helpers of the file, settings and dialog tests: a private settings folder per test, an effect
// built inside it, and preset, bank and MIDI-settings images built field by field from the
// stored layout (independently of the effect's writers), in this machine's order or reversed.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/CMidiPresetSystemEditor.h"
#include "plugin/RotaryEffect.h"
#include "params/FileImage.h"
#include "support/ChunkBytes.h"
#include "support/TempFolder.h"

namespace orv::test {

using Bytes = std::vector<uint8_t>;

// Parameter groups as the program store treats them.
inline bool isSetupParameter(int i) { return (i >= 31 && i <= 38) || i == 40 || i == 41; }
inline bool isPerformanceParameter(int i) { return i <= 4 || i == 39; }
// Lever, Speed and Stop: the engine moves them together when a program is applied, so a
// program's stored values for them need not survive its own application.
inline bool isSpeedControl(int i) { return i >= 2 && i <= 4; }
// Kept per program and loaded from every kind of file: 5..30.
inline bool isOrdinaryParameter(int i) { return !isSetupParameter(i) && !isPerformanceParameter(i); }

// A value in 0..1 that is exact in binary and differs between programs and parameters.
inline float patternValue(int program, int index) { return static_cast<float>((program * 7 + index * 3) % 61) / 64.0f; }

// The normalised form of a controller binding.
inline float controllerValue(int controller) { return (static_cast<float>(controller) + 0.5f) / 129.0f; }

// The settings folder of a private XDG_CONFIG_HOME.
inline std::string settingsFolderIn(const std::string& configHome) { return configHome + "/Orvaline/ORVGYR2"; }

inline void writeFileBytes(const std::string& path, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every test gets its own XDG_CONFIG_HOME, set before the effect is built, so that start-up
// reads and destruction writes stay inside it.
class FilesTest : public ::testing::Test {
protected:
    void TearDown() override { effect.reset(); }

    RotaryEffect& makeEffect() {
        effect = std::make_unique<RotaryEffect>(nullptr);
        return *effect;
    }
    CMidiPresetSystemEditor& editor() { return *static_cast<CMidiPresetSystemEditor*>(effect->getEditor()); }
    std::string settingsFolder() const { return settingsFolderIn(config.path()); }
    void storeValue(const std::string& name, const Bytes& bytes) { writeFileBytes(settingsFolder() + "/" + name, bytes); }

    // Loads bytes as a file of the user's choice would be (exact-size copy).
    FileImage::Kind load(Bytes bytes, bool endianReversed = false) {
        return editor().fileImages().load(bytes.empty() ? nullptr : bytes.data(), bytes.size(), endianReversed);
    }
    ProgramRecord program(int p) const { return effect->getProgramRecord(p); }
    static Bytes toBytes(const std::vector<unsigned char>& v) { return Bytes(v.begin(), v.end()); }

    TempFolder config;
    ScopedEnv configHome{"XDG_CONFIG_HOME", config.path()};
    std::unique_ptr<RotaryEffect> effect;
};

// ---- images built by hand --------------------------------------------------------------------

constexpr uint8_t kPresetRaw = 0x21, kPresetOlder = 0x22, kPreset = 0x23;
constexpr uint8_t kBankRaw = 0x37, kBankOlder = 0x38, kBank = 0x39;
constexpr uint8_t kMidiRaw = 0x0B, kMidi = 0x0C;

// A tagged preset of one program (marker 0x23, or 0x22 for the older layout).
inline Bytes taggedPreset(const std::string& name, const float (&values)[kParams], uint8_t marker = kPreset) {
    ChunkBytes c;
    c.stateHeader(43, 0, 168 + 42 * 32, marker);
    c.programRecord(0, name);
    for (int i = 0; i < kParams; ++i) c.parameterRecord(0, i, values[i]);
    return c.bytes;
}

// A tagged bank of 48 programs (marker 0x39).
inline Bytes taggedBank(const std::string (&names)[kPrograms], const float (&values)[kPrograms][kParams],
                        int32_t current) {
    ChunkBytes c;
    c.stateHeader(kPrograms * 43, current, kPrograms * (168 + 42 * 32), kBank);
    for (int p = 0; p < kPrograms; ++p) {
        c.programRecord(p, names[p]);
        for (int i = 0; i < kParams; ++i) c.parameterRecord(p, i, values[p][i]);
    }
    return c.bytes;
}

// Tagged MIDI settings (marker 0x0C) with one controller record per (index, value) pair.
inline Bytes taggedMidi(const std::vector<std::pair<int, float>>& records) {
    ChunkBytes c;
    c.stateHeader(static_cast<int32_t>(records.size()), 0, static_cast<int32_t>(records.size() * 32), kMidi);
    for (const auto& [index, value] : records) c.controllerRecord(index, value);
    return c.bytes;
}

// ID and marker of a raw image; names and values are appended by the caller.
inline ChunkBytes rawImage(uint8_t marker) {
    ChunkBytes c;
    c.i32(kUniqueId).u8(marker);
    return c;
}

// A tagged image (file header at 0, records after 41 bytes) with every 32-bit field
// byte-reversed, as a machine of the other byte order writes it. Names and the marker stay.
inline Bytes reverseTaggedImage(Bytes b) {
    reverseWordAt(b, 0);
    for (size_t off = 5; off < 41; off += 4) reverseWordAt(b, off);
    size_t pos = 41;
    while (pos + 12 <= b.size()) {
        const int32_t tag = read32(b, pos);
        const int32_t length = read32(b, pos + 4);
        for (size_t off = pos; off < pos + 12; off += 4) reverseWordAt(b, off);
        const size_t payload = pos + 12;
        const size_t first = tag == 0 ? payload + 24 : payload;
        for (size_t off = first; off + 4 <= payload + static_cast<size_t>(length); off += 4) reverseWordAt(b, off);
        pos = payload + static_cast<size_t>(length);
    }
    return b;
}

// A raw image reversed: the ID and every 32-bit word from `from` on in steps given by the
// layout (names of nameBytes before each group of valueCount words).
inline Bytes reverseRawImage(Bytes b, size_t nameBytes, size_t valueCount, size_t groups) {
    reverseWordAt(b, 0);
    size_t pos = 5;
    for (size_t g = 0; g < groups; ++g) {
        pos += nameBytes;
        for (size_t v = 0; v < valueCount; ++v, pos += 4) reverseWordAt(b, pos);
    }
    return b;
}

}  // namespace orv::test
