// The state chunk: the store as written, round trips, the other byte order, the older types,
// and damaged or hostile data. The header, foreign chunks and clamping on load are checked
// through the module in tests/host/ProgramsHostTest.cpp.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "params/FactoryPrograms.h"
#include "support/ChunkBytes.h"
#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

class Chunk : public EffectTest {
protected:
    // A state that differs from the factory one everywhere a chunk carries something.
    void makeDistinctState() {
        for (int p = 0; p < 48; ++p) {
            const std::string name = "Prog " + std::to_string(p) + (p % 5 == 0 ? " with a long name" : "");
            effect->programBank().setName(p, name.c_str());
            for (int i = 0; i < 42; ++i) effect->programBank().setValue(p, i, static_cast<float>((p * 42 + i) % 97) / 96.0f);
        }
        effect->assignController(13, 7);
        effect->assignController(37, 64);
        effect->assignController(3, 119);
        effect->selectProgram(29);
    }
};

TEST_F(Chunk, WritesTheStoreAsItIs) {
    makeDistinctState();
    const ParsedState s = parseStateChunk(chunk());
    ASSERT_TRUE(s.wellFormed);
    EXPECT_EQ(s.current, 29);
    for (int p = 0; p < 48; ++p) {
        EXPECT_EQ(s.names[p], effect->getProgramRecord(p).name);
        for (int i = 0; i < 42; ++i) EXPECT_EQ(s.values[p][i], effect->getProgramRecord(p).values[i]);
    }
    EXPECT_FLOAT_EQ(s.controllers[13], 7.5f / 129.0f);
    EXPECT_FLOAT_EQ(s.controllers[37], 64.5f / 129.0f);
}

// Round trips, in either byte order, are checked through the module (tests/host).

TEST_F(Chunk, SavingClampsBadStoredValuesWithAMessage) {
    effect->programBank().setValue(3, 6, -0.25f);
    effect->programBank().setValue(3, 7, std::nanf(""));
    testing::internal::CaptureStderr();
    const ParsedState s = parseStateChunk(chunk());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(s.values[3][6], 0.0f);
    EXPECT_EQ(s.values[3][7], 0.0f);
    EXPECT_EQ(err.rfind("Invalid parameter 6 value -0.250000 on save of preset 3 Old Rotary\n", 0), 0u) << err;
    EXPECT_NE(err.find("Invalid parameter 7 value "), std::string::npos);
    EXPECT_EQ(effect->getProgramRecord(3).values[6], -0.25f);  // the store is not changed
}

TEST_F(Chunk, OlderTaggedStateIsTranslated) {
    ChunkBytes c;
    c.chunkHeader(kTypeOlderState).stateHeader(9, 3, 0, 0x38);
    c.programRecord(40, "Too far").parameterRecord(40, 13, 0.9f);
    c.programRecord(3, "Old one")
        .parameterRecord(3, 13, 0.9f)
        .parameterRecord(3, 31, 0.0f)   // SpkrConf, BReflex, X-Talk, MechRatio become 0.5
        .parameterRecord(3, 33, 1.0f)
        .parameterRecord(3, 35, 2.0f / 17.0f)  // the MIDI channel
        .parameterRecord(3, 36, 0.25f);
    c.controllerRecord(13, 7.5f / 129.0f);  // type 2 carries no bindings that are read
    const ProgramRecord old40 = effect->getProgramRecord(40);
    EXPECT_EQ(load(c.bytes), 0);
    EXPECT_STREQ(effect->getProgramRecord(40).name, old40.name);  // program 40 is skipped
    EXPECT_EQ(effect->getProgramRecord(40).values[13], old40.values[13]);
    const ProgramRecord& p3 = effect->getProgramRecord(3);
    EXPECT_STREQ(p3.name, "Old one");
    EXPECT_EQ(p3.values[13], 0.9f);
    EXPECT_EQ(p3.values[31], 0.5f);
    EXPECT_EQ(p3.values[33], 0.5f);
    EXPECT_EQ(p3.values[39], 2.0f / 17.0f);
    EXPECT_EQ(p3.values[35], FactoryPrograms::program(0).values[35]);
    EXPECT_EQ(p3.values[36], 0.25f);
    EXPECT_EQ(effect->getCurrentProgramIndex(), 3);
    EXPECT_EQ(effect->getParameter(39), 2.0f / 17.0f);
    EXPECT_EQ(effect->controllerMap().channelStep(), 2);
    EXPECT_EQ(effect->controllerOfParameter(13), 999);

    // A current program beyond the older bank's 32 programs selects program 0.
    ChunkBytes far;
    far.chunkHeader(kTypeOlderState).stateHeader(1, 33, 0, 0x38).programRecord(33, "Beyond");
    EXPECT_EQ(load(far.bytes), 0);
    EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
    EXPECT_STREQ(effect->getProgramRecord(33).name, "Init");
}

TEST_F(Chunk, BankImageLoadsItsProgramsAndKeepsSetUpParameters) {
    // Programs 17 (Whirled) and 19 (Bright Chorus) have set-up values of their own.
    const ProgramRecord before17 = effect->getProgramRecord(17);
    const ProgramRecord before40 = effect->getProgramRecord(40);
    ChunkBytes c;
    c.chunkHeader(kTypeBankImage).i32(32).i32(19).i32(0).i32(0).i32(0).i32(0);
    for (int p = 0; p < 32; ++p) {
        c.name24("Image " + std::to_string(p));
        for (int i = 0; i < 42; ++i) c.f32(static_cast<float>(i) / 41.0f);
    }
    c.zeros(48 * 192 + 32 - c.bytes.size());  // unused program slots up to the bindings
    for (int i = 0; i < 42; ++i) c.f32(ControllerMap::encode(i == 13 ? 7 : 999));
    ASSERT_EQ(c.bytes.size(), 9416u);
    EXPECT_EQ(load(c.bytes), 0);

    for (int p = 0; p < 32; ++p) EXPECT_EQ(std::string(effect->getProgramRecord(p).name), "Image " + std::to_string(p));
    const ProgramRecord& p17 = effect->getProgramRecord(17);
    for (int i = 0; i < 42; ++i) {
        const bool setUp = (i >= 31 && i <= 38) || i == 40 || i == 41;
        EXPECT_EQ(p17.values[i], setUp ? before17.values[i] : static_cast<float>(i) / 41.0f) << i;
    }
    // Programs beyond the image keep everything but the performance settings, which follow
    // the program the image made current.
    for (int i = 0; i < 42; ++i) {
        const bool performance = i <= 4 || i == 39;
        EXPECT_EQ(effect->getProgramRecord(40).values[i], performance ? static_cast<float>(i) / 41.0f : before40.values[i]) << i;
    }
    EXPECT_STREQ(effect->getProgramRecord(32).name, "Init");
    EXPECT_EQ(effect->getCurrentProgramIndex(), 19);
    EXPECT_EQ(effect->controllerOfParameter(13), 7);
    EXPECT_EQ(effect->parameterOfController(7), 13);
}

TEST_F(Chunk, BankImageEndsAtABadValueOrRefusesNoPrograms) {
    ChunkBytes c;
    c.chunkHeader(kTypeBankImage).i32(2).i32(0).zeros(16);
    c.name24("First");
    for (int i = 0; i < 42; ++i) c.f32(0.25f);
    c.name24("Second");
    for (int i = 0; i < 42; ++i) c.f32(i == 20 ? 1.5f : 0.25f);
    EXPECT_EQ(load(c.bytes), -1);
    EXPECT_STREQ(effect->getProgramRecord(0).name, "First");  // loaded before the bad value
    EXPECT_EQ(effect->getProgramRecord(0).values[13], 0.25f);

    ChunkBytes none;
    none.chunkHeader(kTypeBankImage).i32(0).i32(0).zeros(16);
    EXPECT_EQ(load(none.bytes), -1);
    ChunkBytes negative;
    negative.chunkHeader(kTypeBankImage).i32(-5).i32(0).zeros(16);
    EXPECT_EQ(load(negative.bytes), -1);
}

TEST_F(Chunk, ByteReversedBankImage) {
    ChunkBytes c;
    c.i32(static_cast<int32_t>(reversed32(kTypeBankImage))).i32(static_cast<int32_t>(reversed32(kUniqueId)));
    c.i32(static_cast<int32_t>(reversed32(1))).i32(0).zeros(16);
    c.name24("Turned");
    for (int i = 0; i < 42; ++i) {
        const float v = 0.75f;
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        c.i32(static_cast<int32_t>(reversed32(bits)));
    }
    EXPECT_EQ(load(c.bytes), 0);
    EXPECT_STREQ(effect->getProgramRecord(0).name, "Turned");
    EXPECT_EQ(effect->getProgramRecord(0).values[13], 0.75f);
    EXPECT_EQ(effect->getParameter(13), 0.75f);
}

// Damaged tagged chunks: whatever is there, loading reads only inside the data (checked by the
// sanitizer builds) and leaves a usable effect.
TEST_F(Chunk, DamagedTaggedChunksAreReadSafely) {
    makeDistinctState();
    const std::vector<uint8_t> good = chunk();
    for (size_t size = 0; size < good.size(); size += (size < 400 ? 1 : 997)) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
        // Without the whole 49-byte header there is no state to read; with it, whatever
        // records are complete are loaded.
        EXPECT_EQ(load(cut), size < 49 ? -1 : 0) << size;
    }
    std::vector<uint8_t> hostile = good;
    ChunkBytes patch;
    hostile.resize(49 + 3 * 32);
    std::memcpy(&hostile[21], "\xff\xff\xff\x7f", 4);       // a huge record count
    int32_t huge = 0x7ffffff0, negative = -12;
    std::memcpy(&hostile[49 + 4], &huge, 4);                 // first record runs past the end
    EXPECT_EQ(load(hostile), 0);
    std::memcpy(&hostile[49 + 4], &negative, 4);             // negative length
    EXPECT_EQ(load(hostile), 0);
    std::memcpy(&hostile[21], &negative, 4);                 // negative record count
    EXPECT_EQ(load(hostile), 0);

    ChunkBytes c;
    c.chunkHeader(kTypeState).stateHeader(5, -7, 0);
    c.record(0, 8, 2).zeros(8);                // program record too short for a name
    c.record(1, 4, 2).zeros(4);                // parameter record too short for a value
    c.parameterRecord(-1, 5, 0.5f);            // negative program
    c.parameterRecord(2, -3, 0.5f);            // negative parameter index
    c.parameterRecord(2, 1000, 0.5f);          // index beyond the user parameters
    const ProgramRecord before = effect->getProgramRecord(2);
    EXPECT_EQ(load(c.bytes), 0);
    const ProgramRecord after = effect->getProgramRecord(2);
    EXPECT_EQ(std::memcmp(&after, &before, sizeof before), 0);
    EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
}

}  // namespace
}  // namespace orv::test
