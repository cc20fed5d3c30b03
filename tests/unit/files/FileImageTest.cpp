// Preset, bank and MIDI-settings images: the bytes the effect writes, and the loaders of every
// marker on images built by hand in both byte orders, with the rules for bad, short and lying
// data.

#include <cmath>
#include <limits>

#include "unit/files/FilesTestSupport.h"

namespace orv::test {
namespace {

class FileImages : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        makeEffect();
    }

    // Program p gets a recognisable name and values, and becomes current.
    void makeDistinctProgram(int p, const std::string& name) {
        effect->programBank().setName(p, name.c_str());
        for (int i = 0; i < kParams; ++i) effect->programBank().setValue(p, i, patternValue(p + 11, i));
        effect->selectProgram(p);
    }
    static void expectSamePrograms(const ProgramRecord& a, const ProgramRecord& b) {
        EXPECT_STREQ(a.name, b.name);
        for (int i = 0; i < kParams; ++i) EXPECT_EQ(a.values[i], b.values[i]) << "parameter " << i;
    }
    std::vector<ProgramRecord> wholeBank() const {
        std::vector<ProgramRecord> bank;
        for (int p = 0; p < kPrograms; ++p) bank.push_back(program(p));
        return bank;
    }
    void expectBankUnchanged(const std::vector<ProgramRecord>& before) {
        for (int p = 0; p < kPrograms; ++p) {
            SCOPED_TRACE("program " + std::to_string(p));
            expectSamePrograms(program(p), before[static_cast<size_t>(p)]);
        }
    }
    // Loads a preset image into program 3, which holds a distinct program before.
    ProgramRecord presetLoadedIntoProgram3(const Bytes& image, bool endianReversed = false) {
        makeDistinctProgram(3, "Before");
        EXPECT_EQ(load(image, endianReversed), FileImage::Kind::Preset);
        EXPECT_EQ(effect->getCurrentProgramIndex(), 3);
        return program(3);
    }

    static void valuesOf(float (&values)[kParams], int seed) {
        for (int i = 0; i < kParams; ++i) values[i] = patternValue(seed, i);
    }
};

// ---- what the effect writes ------------------------------------------------------------------

TEST_F(FileImages, PresetImageIsTheCurrentProgramAsStored) {
    makeDistinctProgram(5, "Written preset");
    effect->programBank().setValue(5, 20, 1.5f);  // stored values go out without clamping
    const Bytes b = toBytes(editor().fileImages().presetImage());
    ASSERT_EQ(b.size(), 1553u);
    // 'OoG1' in this machine's order, marker, format word 0x02000000, 42, 43 records, program 0,
    // 1512 record bytes, 16 zero bytes.
    const uint8_t header[] = {0x31, 0x47, 0x6F, 0x4F, 0x23, 0, 0, 0, 2, 42, 0, 0, 0, 43, 0, 0, 0, 0, 0, 0, 0, 0xE8, 5, 0, 0};
    EXPECT_EQ(std::memcmp(b.data(), header, sizeof header), 0);
    for (size_t i = 25; i < 41; ++i) EXPECT_EQ(b[i], 0) << i;
    // Program record: tag 0, length 156, program 0, the name padded with zeros, then zeros.
    EXPECT_EQ(read32(b, 41), 0);
    EXPECT_EQ(read32(b, 45), 156);
    EXPECT_EQ(read32(b, 49), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[53])), "Written preset");
    for (size_t i = 53 + 14; i < 53 + 156; ++i) EXPECT_EQ(b[i], 0) << i;
    for (int i = 0; i < kParams; ++i) {
        const size_t at = 41 + 168 + 32 * static_cast<size_t>(i);
        EXPECT_EQ(read32(b, at), 1);
        EXPECT_EQ(read32(b, at + 4), 20);
        EXPECT_EQ(read32(b, at + 8), 0);
        EXPECT_EQ(read32(b, at + 12), i);
        EXPECT_EQ(readFloat(b, at + 24), i == 20 ? 1.5f : patternValue(16, i));
    }
}

TEST_F(FileImages, BankImageIsTheStatePartOfTheChunk) {
    makeDistinctProgram(17, "Current one");
    const Bytes b = toBytes(editor().fileImages().bankImage());
    ASSERT_EQ(b.size(), 72617u);
    EXPECT_EQ(read32(b, 0), kUniqueId);
    EXPECT_EQ(b[4], 0x39);
    EXPECT_EQ(read32(b, 5), kFormatWord);
    EXPECT_EQ(read32(b, 9), 42);
    EXPECT_EQ(read32(b, 13), 48 * 43);
    EXPECT_EQ(read32(b, 17), 17);
    EXPECT_EQ(read32(b, 21), 72576);
    // The chunk carries the same 72617 bytes after its type and ID, then the controller records.
    void* data = nullptr;
    const int size = effect->getChunk(&data, false);
    ASSERT_EQ(size, 73969);
    Bytes fromChunk(static_cast<uint8_t*>(data) + 8, static_cast<uint8_t*>(data) + 8 + 72617);
    const int32_t bankRecords = 48 * 43;
    std::memcpy(&fromChunk[13], &bankRecords, 4);  // the chunk counts its controller records too
    EXPECT_EQ(fromChunk, b);
}

TEST_F(FileImages, BankImageClampsStoredValuesWithTheSaveMessage) {
    effect->programBank().setValue(30, 8, 1.25f);
    testing::internal::CaptureStderr();
    const Bytes b = toBytes(editor().fileImages().bankImage());
    const std::string err = testing::internal::GetCapturedStderr();
    const size_t at = 41 + 30 * (168 + 42 * 32) + 168 + 8 * 32 + 24;
    EXPECT_EQ(readFloat(b, at), 1.0f);
    EXPECT_NE(err.find("Invalid parameter 8 value 1.250000 on save of preset 30 "), std::string::npos) << err;
}

TEST_F(FileImages, MidiSettingsImageHoldsEveryBinding) {
    effect->assignController(13, 7);
    effect->assignController(0, 64);
    const Bytes b = toBytes(editor().fileImages().midiSettingsImage());
    ASSERT_EQ(b.size(), 1385u);
    EXPECT_EQ(read32(b, 0), kUniqueId);
    EXPECT_EQ(b[4], 0x0C);
    EXPECT_EQ(read32(b, 5), kFormatWord);
    EXPECT_EQ(read32(b, 9), 42);
    EXPECT_EQ(read32(b, 13), 42);
    EXPECT_EQ(read32(b, 17), 0);
    EXPECT_EQ(read32(b, 21), 1344);
    for (int i = 0; i < kParams; ++i) {
        const size_t at = 41 + 32 * static_cast<size_t>(i);
        EXPECT_EQ(read32(b, at), 2);
        EXPECT_EQ(read32(b, at + 4), 20);
        EXPECT_EQ(read32(b, at + 8), 0);
        EXPECT_EQ(read32(b, at + 12), i);
        const float expected = i == 13 ? controllerValue(7) : i == 0 ? controllerValue(64) : 128.5f / 129.0f;
        EXPECT_FLOAT_EQ(readFloat(b, at + 24), expected) << i;
    }
}

// ---- presets ---------------------------------------------------------------------------------

TEST_F(FileImages, TaggedPresetLoadsIntoTheCurrentProgramInEitherOrder) {
    float values[kParams];
    valuesOf(values, 40);
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "native");
        const Bytes native = taggedPreset("Hand built", values);
        const ProgramRecord other = program(20);
        const ProgramRecord p = presetLoadedIntoProgram3(reversed ? reverseTaggedImage(native) : native);
        EXPECT_STREQ(p.name, "Hand built");
        for (int i = 0; i < kParams; ++i) {
            if (!isSpeedControl(i)) {
                EXPECT_EQ(p.values[i], values[i]) << i;
            }
        }
        // The preset is applied: the parameters answer its values.
        EXPECT_EQ(effect->getParameter(13), values[13]);
        // Other programs keep their own values (the performance ones are shared by all).
        for (int i = 0; i < kParams; ++i)
            if (!isPerformanceParameter(i)) {
                EXPECT_EQ(program(20).values[i], other.values[i]) << i;
            }
    }
}

TEST_F(FileImages, OlderPresetTranslatesTheOldParameterLayout) {
    float values[kParams];
    valuesOf(values, 9);
    values[31] = 0.875f;  // SpkrConf..MechRatio were not stored: they become 0.5
    values[34] = 0.125f;
    values[35] = 0.25f;   // the MIDI channel of the older layout
    // The older layout stored parameters 0..35.
    constexpr int kOldParams = 36;
    ChunkBytes c;
    c.stateHeader(1 + kOldParams, 0, 168 + kOldParams * 32, kPresetOlder);
    c.programRecord(0, "Old one");
    for (int i = 0; i < kOldParams; ++i) c.parameterRecord(0, i, values[i]);
    const ProgramRecord p = presetLoadedIntoProgram3(c.bytes);
    const ProgramRecord& reference = effect->getReferenceProgram();
    EXPECT_STREQ(p.name, "Old one");
    for (int i = 31; i <= 34; ++i) EXPECT_EQ(p.values[i], 0.5f) << i;
    EXPECT_EQ(p.values[39], 0.25f);                // MIDIchl
    EXPECT_EQ(p.values[35], reference.values[35]);  // Width: not in the older preset
    for (int i = 5; i < 31; ++i) EXPECT_EQ(p.values[i], values[i]) << i;
    for (int i : {36, 37, 38, 40, 41}) EXPECT_EQ(p.values[i], reference.values[i]) << i;
}

TEST_F(FileImages, RawPresetLoadsNameAndValuesButNotTheSetupParameters) {
    makeDistinctProgram(3, "Before");
    const ProgramRecord before = program(3);
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "native");
        ChunkBytes c = rawImage(kPresetRaw);
        c.name24("Raw preset");
        for (int i = 0; i < kParams; ++i) c.f32(patternValue(50, i));
        const Bytes image = reversed ? reverseRawImage(c.bytes, 24, 42, 1) : c.bytes;
        ASSERT_EQ(image.size(), 29u + 42 * 4);
        effect->programBank().write(3, before);
        EXPECT_EQ(load(image), FileImage::Kind::Preset);
        const ProgramRecord p = program(3);
        EXPECT_STREQ(p.name, "Raw preset");
        for (int i = 0; i < kParams; ++i) {
            if (!isSpeedControl(i)) {
                EXPECT_EQ(p.values[i], isSetupParameter(i) ? before.values[i] : patternValue(50, i)) << i;
            }
        }
    }
}

TEST_F(FileImages, ShortRawPresetTakesTheRestFromTheReferenceProgram) {
    makeDistinctProgram(3, "Before");
    ChunkBytes c = rawImage(kPresetRaw);
    c.name24("Ten values");
    for (int i = 0; i < 10; ++i) c.f32(0.75f);
    c.u8(0).u8(0);  // two stray bytes do not make an eleventh value
    EXPECT_EQ(load(c.bytes), FileImage::Kind::Preset);
    const ProgramRecord& reference = effect->getReferenceProgram();
    for (int i = 5; i < 10; ++i) EXPECT_EQ(program(3).values[i], 0.75f) << i;
    for (int i = 10; i <= 30; ++i) EXPECT_EQ(program(3).values[i], reference.values[i]) << i;
}

TEST_F(FileImages, PresetWithAValueOutsideTheRangeLeavesTheProgramUnchanged) {
    float values[kParams];
    valuesOf(values, 21);
    for (float bad : {1.5f, -0.25f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(bad);
        values[27] = bad;
        makeDistinctProgram(3, "Keep me");
        const ProgramRecord before = program(3);
        load(taggedPreset("Never", values));
        expectSamePrograms(program(3), before);

        ChunkBytes raw = rawImage(kPresetRaw);
        raw.name24("Never either");
        for (int i = 0; i < kParams; ++i) raw.f32(values[i]);
        load(raw.bytes);
        expectSamePrograms(program(3), before);
    }
}

TEST_F(FileImages, ReversedChoiceOnANativePresetLoadsNothing) {
    makeDistinctProgram(3, "Still here");
    const ProgramRecord before = program(3);
    const Bytes image = toBytes(editor().fileImages().presetImage());
    makeDistinctProgram(3, "Still here");
    effect->programBank().setValue(3, 9, 0.5f);
    const ProgramRecord changed = program(3);
    load(image, true);
    expectSamePrograms(program(3), changed);
    // The same file with the ordinary choice does load.
    load(image, false);
    expectSamePrograms(program(3), before);
}

TEST_F(FileImages, ReversedChoiceReadsAFileOfTheOtherOrder) {
    float values[kParams];
    valuesOf(values, 33);
    const Bytes reversed = reverseTaggedImage(taggedPreset("Other order", values));
    // The image's ID says "reversed"; the user's choice inverts that decision: read as native,
    // its values are nonsense and it loads nothing.
    makeDistinctProgram(3, "Unchanged");
    const ProgramRecord before = program(3);
    load(reversed, true);
    expectSamePrograms(program(3), before);
}

TEST_F(FileImages, TruncatedOrLyingPresetsLoadNothing) {
    float values[kParams];
    valuesOf(values, 5);
    const Bytes full = taggedPreset("Complete", values);
    makeDistinctProgram(3, "Unchanged");
    const ProgramRecord before = program(3);
    for (size_t size = 0; size < full.size(); ++size) {
        load(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size)));
        if (HasFailure()) break;
        ASSERT_STREQ(program(3).name, "Unchanged") << "size " << size;
    }
    expectSamePrograms(program(3), before);

    Bytes moreRecords = full;
    ChunkBytes count;
    count.i32(44);
    std::memcpy(&moreRecords[13], count.bytes.data(), 4);  // one record more than there are
    load(moreRecords);
    expectSamePrograms(program(3), before);

    Bytes fewerBytes = full;
    const int32_t recordBytes = 168 + 41 * 32;  // the last record lies beyond the stated size
    std::memcpy(&fewerBytes[21], &recordBytes, 4);
    load(fewerBytes);
    expectSamePrograms(program(3), before);

    Bytes hugeLength = full;
    const int32_t length = 0x7FFFFFF0;
    std::memcpy(&hugeLength[41 + 168 + 4], &length, 4);  // a parameter record claiming 2 GB
    load(hugeLength);
    expectSamePrograms(program(3), before);

    load(full);
    EXPECT_STREQ(program(3).name, "Complete");
}

TEST_F(FileImages, PresetRecordsOfUnknownKindsAndForeignIndicesArePassedOver) {
    float values[kParams];
    valuesOf(values, 14);
    ChunkBytes c;
    c.stateHeader(46, 0, 168 + 45 * 32, kPreset);
    c.programRecord(9, "Odd records");  // the program index of a preset is not used
    c.record(7, 8, 0).i32(1).i32(2);    // unknown tag, skipped by its length
    c.parameterRecord(0, 60, 0.25f);    // no such parameter
    for (int i = 0; i < kParams; ++i) c.parameterRecord(25, i, values[i]);
    c.controllerRecord(3, 0.5f);        // not a preset's business
    c.patch32(21, static_cast<int32_t>(c.bytes.size() - 41));
    EXPECT_EQ(load(c.bytes), FileImage::Kind::Preset);
    EXPECT_STREQ(program(0).name, "Odd records");
    for (int i = 0; i < kParams; ++i) {
        if (!isSpeedControl(i)) {
            EXPECT_EQ(program(0).values[i], values[i]) << i;
        }
    }
    EXPECT_EQ(effect->controllerOfParameter(3), 999);
}

// ---- banks -----------------------------------------------------------------------------------

class BankImages : public FileImages {
protected:
    std::string names[kPrograms];
    float values[kPrograms][kParams];
    void SetUp() override {
        FileImages::SetUp();
        for (int p = 0; p < kPrograms; ++p) {
            names[p] = "Bank prog " + std::to_string(p);
            for (int i = 0; i < kParams; ++i) values[p][i] = patternValue(p, i);
        }
    }
    void expectLoadedBank(int programs) {
        for (int p = 0; p < programs; ++p) {
            SCOPED_TRACE("program " + std::to_string(p));
            EXPECT_EQ(std::string(program(p).name), names[p]);
            for (int i = 0; i < kParams; ++i)
                if (isOrdinaryParameter(i)) {
                    EXPECT_EQ(program(p).values[i], values[p][i]) << i;
                }
        }
    }
};

TEST_F(BankImages, TaggedBankLoadsAllProgramsInEitherOrderAndSelectsProgramZero) {
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "native");
        effect->selectProgram(12);
        const Bytes image = taggedBank(names, values, 7);  // the header names program 7
        EXPECT_EQ(load(reversed ? reverseTaggedImage(image) : image), FileImage::Kind::Bank);
        expectLoadedBank(kPrograms);
        EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
        EXPECT_EQ(effect->getParameter(20), values[0][20]);  // program 0 is applied
        // Set-up parameters are stored per program as the bank says. Performance parameters are
        // shared: applying the header's program 7 gave its MIDIchl to every program, and that
        // is what program 0 then applies.
        for (int p = 0; p < kPrograms; ++p) EXPECT_EQ(program(p).values[33], values[p][33]);
        for (int p = 0; p < kPrograms; ++p) EXPECT_EQ(program(p).values[39], values[7][39]);
    }
}

TEST_F(BankImages, BankLoadSelectsProgramZeroWhateverTheHeaderSays) {
    for (int32_t current : {0, 5, 47, 48, -3, 0x7FFFFFFF}) {
        SCOPED_TRACE(current);
        effect->selectProgram(30);
        load(taggedBank(names, values, current));
        EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
        EXPECT_EQ(effect->getParameter(6), values[0][6]);
    }
}

TEST_F(BankImages, TaggedBankClampsValuesWithTheLoadMessage) {
    values[4][12] = 1.7f;
    values[9][5] = -2.0f;
    testing::internal::CaptureStderr();
    load(taggedBank(names, values, 0));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(program(4).values[12], 1.0f);
    EXPECT_EQ(program(9).values[5], 0.0f);
    EXPECT_EQ(std::string(program(40).name), names[40]);  // the load went on
    EXPECT_NE(err.find("Invalid parameter 12 value 1.700000 on load of preset 4 "), std::string::npos) << err;
    EXPECT_NE(err.find("Invalid parameter 5 value -2.000000 on load of preset 9 "), std::string::npos) << err;
}

TEST_F(BankImages, OlderBankLoadsThirtyTwoProgramsInTheOldLayout) {
    // The older layout stored parameters 0..35, 35 being the MIDI channel.
    constexpr int kOldParams = 36;
    ChunkBytes c;
    c.stateHeader(0, 1, 0, kBankOlder);
    int records = 0;
    for (int p : {0, 1, 31, 40}) {
        c.programRecord(p, names[p]);
        for (int i = 0; i < kOldParams; ++i) c.parameterRecord(p, i, values[p][i]);
        records += 1 + kOldParams;
    }
    c.patch32(13, records);
    c.patch32(21, static_cast<int32_t>(c.bytes.size() - 41));
    const std::string before40 = program(40).name;
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "native");
        EXPECT_EQ(load(reversed ? reverseTaggedImage(c.bytes) : c.bytes), FileImage::Kind::Bank);
        EXPECT_EQ(std::string(program(31).name), names[31]);
        EXPECT_EQ(program(31).values[20], values[31][20]);
        // The old MIDI channel index lands in MIDIchl, which applying the header's program 1
        // shares with all programs.
        EXPECT_EQ(program(0).values[39], values[1][35]);
        EXPECT_EQ(effect->getParameter(39), values[1][35]);
        EXPECT_EQ(program(1).values[32], 0.5f);
        EXPECT_EQ(std::string(program(40).name), before40);  // programs 32 and up are not in it
        EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
    }
}

TEST_F(BankImages, RawBankLoadsNamesAndValuesExceptSetupParameters) {
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "native");
        makeEffect();
        for (int p = 0; p < kPrograms; ++p) effect->programBank().setValue(p, 36, patternValue(p + 3, 36));
        const std::vector<ProgramRecord> before = wholeBank();
        ChunkBytes c = rawImage(kBankRaw);
        for (int p = 0; p < kPrograms; ++p) {
            c.name24(names[p]);
            for (int i = 0; i < kParams; ++i) c.f32(values[p][i]);
        }
        ASSERT_EQ(c.bytes.size(), 5u + 48 * (24 + 42 * 4));
        EXPECT_EQ(load(reversed ? reverseRawImage(c.bytes, 24, 42, 48) : c.bytes), FileImage::Kind::Bank);
        expectLoadedBank(kPrograms);
        for (int p = 0; p < kPrograms; ++p)
            EXPECT_EQ(program(p).values[36], before[static_cast<size_t>(p)].values[36]) << p;
        EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
    }
}

TEST_F(BankImages, RawBankOfFewerValuesPerProgramFindsEachProgram) {
    // 20 values per program: the programs are 24 + 80 bytes apart.
    ChunkBytes c = rawImage(kBankRaw);
    for (int p = 0; p < kPrograms; ++p) {
        c.name24(names[p]);
        for (int i = 0; i < 20; ++i) c.f32(values[p][i]);
    }
    load(c.bytes);
    const ProgramRecord& reference = effect->getReferenceProgram();
    for (int p = 0; p < kPrograms; ++p) {
        EXPECT_EQ(std::string(program(p).name), names[p]);
        EXPECT_EQ(program(p).values[19], values[p][19]);
        EXPECT_EQ(program(p).values[20], reference.values[20]);
    }
}

TEST_F(BankImages, RawBankWithABadValuePutsTheWholeBankBack) {
    effect->selectProgram(9);
    const std::vector<ProgramRecord> before = wholeBank();
    ChunkBytes c = rawImage(kBankRaw);
    for (int p = 0; p < kPrograms; ++p) {
        c.name24(names[p]);
        for (int i = 0; i < kParams; ++i) c.f32(p == 30 && i == 22 ? 3.0f : values[p][i]);
    }
    load(c.bytes);
    expectBankUnchanged(before);
    EXPECT_EQ(effect->getCurrentProgramIndex(), 0);  // the bank load still ends on program 0

    // Too short for 48 names: nothing of it stays either.
    load(Bytes(c.bytes.begin(), c.bytes.begin() + 5 + 40 * 24));
    expectBankUnchanged(before);
}

TEST_F(BankImages, ReversedChoiceOnANativeBankLoadsNothing) {
    const Bytes image = toBytes(editor().fileImages().bankImage());
    for (int p = 0; p < kPrograms; ++p) effect->programBank().setName(p, names[p].c_str());
    const std::vector<ProgramRecord> before = wholeBank();
    load(image, true);
    expectBankUnchanged(before);
}

// ---- MIDI settings ---------------------------------------------------------------------------

TEST_F(FileImages, MidiSettingsBindingOnlyDriveKeepTheOtherBindings) {
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "native");
        effect->resetMidiMap();
        effect->assignController(37, 11);  // Mix
        effect->assignController(5, 1);    // Mech
        const Bytes image = taggedMidi({{13, controllerValue(7)}});
        EXPECT_EQ(load(reversed ? reverseTaggedImage(image) : image), FileImage::Kind::MidiSettings);
        EXPECT_EQ(effect->controllerOfParameter(13), 7);
        EXPECT_EQ(effect->parameterOfController(7), 13);
        EXPECT_EQ(effect->controllerOfParameter(37), 11);
        EXPECT_EQ(effect->controllerOfParameter(5), 1);
    }
}

TEST_F(FileImages, MidiSettingsRoundTripAndSkipBadRecords) {
    effect->assignController(13, 7);
    effect->assignController(2, 64);
    const Bytes image = toBytes(editor().fileImages().midiSettingsImage());
    effect->resetMidiMap();
    load(image);
    EXPECT_EQ(effect->controllerOfParameter(13), 7);
    EXPECT_EQ(effect->controllerOfParameter(2), 64);
    EXPECT_EQ(effect->controllerOfParameter(20), 999);

    effect->resetMidiMap();
    load(taggedMidi({{50, controllerValue(3)}, {14, 1.5f}, {15, controllerValue(9)}}));
    EXPECT_EQ(effect->controllerOfParameter(14), 999);
    EXPECT_EQ(effect->controllerOfParameter(15), 9);
    EXPECT_EQ(effect->parameterOfController(3), 999);
}

TEST_F(FileImages, RawMidiSettingsStopAtTheFirstBadValue) {
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "native");
        effect->resetMidiMap();
        ChunkBytes c = rawImage(kMidiRaw);
        for (int i = 0; i < kParams; ++i) c.f32(i == 22 ? 2.0f : controllerValue(i + 10));
        load(reversed ? reverseRawImage(c.bytes, 0, 42, 1) : c.bytes);
        for (int i = 0; i < 22; ++i) EXPECT_EQ(effect->controllerOfParameter(i), i + 10) << i;
        for (int i = 22; i < kParams; ++i) EXPECT_EQ(effect->controllerOfParameter(i), 999) << i;
    }
}

TEST_F(FileImages, RawMidiSettingsSkipSetupParameters) {
    ChunkBytes c = rawImage(kMidiRaw);
    for (int i = 0; i < kParams; ++i) c.f32(controllerValue(i + 50));
    load(c.bytes);
    for (int i = 0; i < kParams; ++i)
        EXPECT_EQ(effect->controllerOfParameter(i), isSetupParameter(i) ? 999 : i + 50) << i;
}

// ---- what is not an image --------------------------------------------------------------------

TEST_F(FileImages, ShortForeignAndUnknownImagesLoadNothing) {
    makeDistinctProgram(3, "Unchanged");
    effect->assignController(13, 7);
    const std::vector<ProgramRecord> before = wholeBank();
    const Bytes preset = toBytes(editor().fileImages().presetImage());

    EXPECT_EQ(load({}), FileImage::Kind::None);
    EXPECT_EQ(load(Bytes(preset.begin(), preset.begin() + 4)), FileImage::Kind::None);
    Bytes foreign = preset;
    foreign[0] ^= 0x01;
    EXPECT_EQ(load(foreign), FileImage::Kind::None);
    for (uint8_t marker : {0x00, 0x20, 0x24, 0x36, 0x3A, 0x0A, 0x0D, 0xFF}) {
        Bytes unknown = preset;
        unknown[4] = marker;
        EXPECT_EQ(load(unknown), FileImage::Kind::None) << int(marker);
    }
    // A tagged image too short for its header.
    EXPECT_EQ(load(Bytes(preset.begin(), preset.begin() + 40)), FileImage::Kind::None);
    expectBankUnchanged(before);
    EXPECT_EQ(effect->getCurrentProgramIndex(), 3);
    EXPECT_EQ(effect->controllerOfParameter(13), 7);
}

TEST_F(FileImages, OneDispatchServesEveryKindWhateverTheDialog) {
    // A bank image handed in where a preset was expected is still loaded as the bank it is.
    std::string names[kPrograms];
    float values[kPrograms][kParams];
    for (int p = 0; p < kPrograms; ++p) {
        names[p] = "Any " + std::to_string(p);
        for (int i = 0; i < kParams; ++i) values[p][i] = patternValue(p, i);
    }
    EXPECT_EQ(load(taggedBank(names, values, 0)), FileImage::Kind::Bank);
    EXPECT_STREQ(program(47).name, "Any 47");
}

}  // namespace
}  // namespace orv::test
