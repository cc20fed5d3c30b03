// Preset, bank and MIDI-settings files and the host's state chunk, in one matrix: every stored
// image of data/images (each format and version, both byte orders, odd and lying records) whole,
// read with the reversed choice, and damaged in each way below, loaded into an effect in a known
// state. What each load did is compared with data/loads.txt (rewritten with
// ORV_UPDATE_FILE_LOADS=1 when a change is deliberate). The writers must give back the intact
// images byte for byte, which checks both directions against bytes built independently.

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>

#include "support/StoredLines.h"
#include "unit/files/FilesTestSupport.h"

namespace orv::test {
namespace {

bool isChunk(const std::string& name) { return name.ends_with(".chunk"); }

// Damage done to an image; `base` is where the file image starts (8 in a chunk, after its type).
struct Damage {
    const char* name;
    std::function<void(Bytes&, size_t)> apply;
};
const Damage kDamages[] = {
    {"cut1", [](Bytes& b, size_t) { b.pop_back(); }},  // the last record one byte short
    {"half", [](Bytes& b, size_t) { b.resize(b.size() / 2); }},
    {"header", [](Bytes& b, size_t base) { b.resize(std::min(b.size(), base + 41)); }},
    {"id-only", [](Bytes& b, size_t base) { b.resize(std::min(b.size(), base + 4)); }},
    {"foreign-id", [](Bytes& b, size_t base) { b[base + 1] ^= 0x20; }},
    {"unknown-marker", [](Bytes& b, size_t base) { b[base + 4] = 0x24; }},
};

class FileFormats : public FilesTest {
protected:
    void SetUp() override { makeEffect(); }

    // Distinct programs, two bindings, program 3 current, whatever was loaded before.
    void startState()
    {
        for (int p = 0; p < kPrograms; ++p) {
            ProgramRecord r{};
            std::snprintf(r.name, sizeof r.name, "Start %d", p);
            for (int i = 0; i < kParams; ++i) r.values[i] = static_cast<float>((p * 11 + i * 5) % 59) / 64.0f;
            effect->programBank().write(p, r);
        }
        effect->resetMidiMap();
        effect->assignController(37, 11);
        effect->assignController(5, 1);
        effect->selectProgram(3);
        // The performance settings are shared by all programs, not applied with one: they are
        // set here so that no load leaves them to the next.
        for (int i : {0, 1, 2, 3, 4, 39}) effect->setParameter(i, i == 39 ? 1.0f : 0.0f);
        for (int p = 0; p < kPrograms; ++p) start[p] = program(p);
    }

    // Loads an image (a chunk as the host hands it back) into the start state and says what
    // it did: the answer, the current program and its name, the programs changed, the
    // bindings, a digest of every program and applied value, and the messages.
    std::string loadAndDescribe(const std::string& name, const std::string& how, Bytes bytes, bool reversed)
    {
        startState();
        testing::internal::CaptureStderr();
        std::string answer;
        if (isChunk(name))
            answer = std::to_string(
                effect->setChunk(bytes.empty() ? nullptr : bytes.data(), static_cast<int>(bytes.size()), false));
        else
            answer = std::array{"none", "preset", "bank", "midi"}.at(static_cast<size_t>(load(bytes, reversed)));
        const std::string err = testing::internal::GetCapturedStderr();

        std::ostringstream s;
        const int current = effect->getCurrentProgramIndex();
        s << name << ' ' << how << ": " << answer << ", current " << current << " '" << program(current).name
          << "', changed";
        uint32_t digest = 2166136261u;
        const auto mix = [&](const void* p, size_t n) {
            for (size_t k = 0; k < n; ++k) digest = (digest ^ static_cast<const uint8_t*>(p)[k]) * 16777619u;
        };
        for (int p = 0, first = -1; p <= kPrograms; ++p) {
            const ProgramRecord r = p < kPrograms ? program(p) : ProgramRecord{};
            const bool changed = p < kPrograms && std::memcmp(&r, &start[p], sizeof r) != 0;
            if (changed && first < 0) first = p;
            if (!changed && first >= 0) {
                s << ' ' << first;
                if (p - 1 > first) s << '-' << p - 1;
                first = -1;
            }
            if (p < kPrograms) mix(&r, sizeof r);
        }
        s << ", bindings";
        for (int i = 0; i < kParams; ++i) {
            if (effect->controllerOfParameter(i) != 999) s << ' ' << i << ':' << effect->controllerOfParameter(i);
            const float v = effect->getParameter(i);
            mix(&v, sizeof v);
        }
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08x", digest);
        s << ", digest " << hex;
        if (!err.empty())
            s << ", " << std::count(err.begin(), err.end(), '\n') << " messages: " << err.substr(0, err.find('\n'));
        return s.str();
    }

    ProgramRecord start[kPrograms];
};

TEST_F(FileFormats, EveryStoredImageWholeReversedAndDamagedLoadsAsStored)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(filesDataDir() + "/images"))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    ASSERT_GE(names.size(), 40u);
    std::vector<std::string> lines;
    for (const std::string& name : names) {
        const Bytes whole = storedImage(name);
        lines.push_back(loadAndDescribe(name, "whole", whole, false));
        if (!isChunk(name)) lines.push_back(loadAndDescribe(name, "reversed-choice", whole, true));
        for (const Damage& d : kDamages) {
            Bytes damaged = whole;
            d.apply(damaged, isChunk(name) ? 8 : 0);
            lines.push_back(loadAndDescribe(name, d.name, damaged, false));
        }
    }
    lines.push_back(loadAndDescribe("nothing.orv", "whole", {}, false));
    lines.push_back(loadAndDescribe("nothing.chunk", "whole", {}, false));
    expectStoredLines(filesDataDir() + "/loads.txt", lines, "ORV_UPDATE_FILE_LOADS");
}

// Loading an image in either byte order and writing it again gives the native image back.
TEST_F(FileFormats, WritersGiveBackTheStoredImagesInEitherOrder)
{
    const std::pair<const char*, std::function<Bytes()>> writers[] = {
        {"preset", [&] { return editor().fileImages().presetImage(); }},
        {"bank", [&] { return editor().fileImages().bankImage(); }},
        {"midi", [&] { return editor().fileImages().midiSettingsImage(); }},
        {"state",
         [&] {
             void* data = nullptr;
             const int size = effect->getChunk(&data, false);
             return Bytes(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
         }},
    };
    const char* const extensions[] = {".orv", ".ovb", ".ovm", ".chunk"};
    for (size_t k = 0; k < std::size(writers); ++k) {
        const std::string stem = writers[k].first;
        const Bytes native = storedImage(stem + extensions[k]);
        for (const std::string suffix : {"", "-rev"}) {
            SCOPED_TRACE(stem + suffix);
            startState();
            Bytes image = storedImage(stem + suffix + extensions[k]);
            if (k == 3)
                ASSERT_EQ(effect->setChunk(image.data(), static_cast<int>(image.size()), false), 0);
            else
                ASSERT_NE(load(image), FileImage::Kind::None);
            EXPECT_EQ(writers[k].second(), native);
        }
    }
}

// Stored values outside 0..1 go out clamped, with a message naming them; the store keeps them.
TEST_F(FileFormats, SavingClampsBadStoredValuesWithAMessage)
{
    effect->programBank().setValue(3, 6, -0.25f);
    effect->programBank().setValue(30, 8, std::nanf(""));
    testing::internal::CaptureStderr();
    const Bytes bank = editor().fileImages().bankImage();
    void* data = nullptr;
    const int size = effect->getChunk(&data, false);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(size, 73969);
    const auto valueAt = [](const uint8_t* b, int p, int i) {
        float v;
        std::memcpy(&v, b + 41 + p * (168 + 42 * 32) + 168 + i * 32 + 24, 4);
        return v;
    };
    for (const uint8_t* image : {bank.data(), static_cast<const uint8_t*>(data) + 8}) {
        EXPECT_EQ(valueAt(image, 3, 6), 0.0f);
        EXPECT_EQ(valueAt(image, 30, 8), 0.0f);
    }
    EXPECT_EQ(err.rfind("Invalid parameter 6 value -0.250000 on save of preset 3 Old Rotary\n", 0), 0u) << err;
    EXPECT_NE(err.find("Invalid parameter 8 value "), std::string::npos) << err;
    EXPECT_EQ(program(3).values[6], -0.25f);
}

}  // namespace
}  // namespace orv::test
