// Helpers of the file, settings and dialog tests: a private settings folder per test, an effect
// built inside it, and the stored images of data/images (built field by field from the file
// layout, independently of the effect's writers).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/CMidiPresetSystemEditor.h"
#include "params/FileImage.h"
#include "plugin/RotaryEffect.h"
#include "support/TempFolder.h"

namespace orv::test {

using Bytes = std::vector<uint8_t>;
constexpr int kPrograms = 48;
constexpr int kParams = 42;

inline Bytes readFileBytes(const std::string& path)
{
    const std::string bytes = readFile(path);
    return Bytes(bytes.begin(), bytes.end());
}

inline std::string filesDataDir() { return std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/files/data"; }
// A stored image by its file name ("preset.orv", "bank-rev.ovb", "state.chunk", ...).
inline Bytes storedImage(const std::string& name) { return readFileBytes(filesDataDir() + "/images/" + name); }

// Every test gets its own XDG_CONFIG_HOME, set before the effect is built, so that start-up
// reads and destruction writes stay inside it.
class FilesTest : public ::testing::Test {
protected:
    void TearDown() override { effect.reset(); }

    RotaryEffect& makeEffect()
    {
        effect = std::make_unique<RotaryEffect>(nullptr);
        return *effect;
    }
    CMidiPresetSystemEditor& editor() { return *static_cast<CMidiPresetSystemEditor*>(effect->getEditor()); }
    std::string valuePath(const std::string& name) const { return config.path() + "/Orvaline/ORVGYR2/" + name; }
    void storeValue(const std::string& name, const Bytes& bytes) { writeFile(valuePath(name), bytes); }

    // Loads bytes as a file of the user's choice would be (exact-size copy).
    FileImage::Kind load(Bytes bytes, bool endianReversed = false)
    {
        return editor().fileImages().load(bytes.empty() ? nullptr : bytes.data(), bytes.size(), endianReversed);
    }
    ProgramRecord program(int p) const { return effect->getProgramRecord(p); }

    TempFolder config;
    ScopedEnv configHome{"XDG_CONFIG_HOME", config.path()};
    std::unique_ptr<RotaryEffect> effect;
};

}  // namespace orv::test
