// Preset, bank and MIDI-settings images: the bytes of the files the user saves and loads and of
// the defaults and memos in the settings store. Every image starts with the effect's unique ID
// and a marker byte naming its kind and version; the tagged kinds go on with the rest of the
// state header and tagged records, the older raw kinds with plain names and values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/ByteReader.h"
#include "params/ByteWriter.h"
#include "params/ProgramRecord.h"
#include "params/TaggedState.h"

namespace orv {

// An image opened for loading: its marker, its byte order and its parts, each limited to the
// bytes really there.
struct FileImageView {
    std::uint8_t marker = 0;
    bool reversed = false;  // fields are byte-reversed before use
    // Tagged kinds: the state header (its nine 32-bit fields read in the image's order) and the
    // header followed by at most as many record bytes as the header's record-size field says.
    bool tagged = false;
    StateHeader header;
    ByteReader state;
    // Raw kinds: everything after the ID and the marker, and the image's whole size, from
    // which the raw loaders derive their counts.
    ByteReader rest;
    std::size_t imageSize = 0;
};

class FileImage {
public:
    enum class Kind { None, Preset, Bank, MidiSettings };

    // Markers: kind and version.
    static constexpr std::uint8_t kMarkerPresetRaw = 0x21;                 // name and values
    static constexpr std::uint8_t kMarkerPresetOlder = 0x22;               // records, older parameter layout
    static constexpr std::uint8_t kMarkerPreset = 0x23;                    // written
    static constexpr std::uint8_t kMarkerBankRaw = 0x37;                   // 48 names and values
    static constexpr std::uint8_t kMarkerBankOlder = 0x38;                 // records, 32 programs, older layout
    static constexpr std::uint8_t kMarkerBank = TaggedState::kMarkerBank;  // 0x39, written
    static constexpr std::uint8_t kMarkerMidiRaw = 0x0B;                   // assignment values
    static constexpr std::uint8_t kMarkerMidi = 0x0C;                      // written

    static constexpr std::size_t kIdAndMarkerSize = 5;  // shorter images are ignored
    static constexpr std::size_t kRawNameOffset = kIdAndMarkerSize;
    static constexpr std::size_t kRawPresetValuesOffset = kRawNameOffset + kProgramNameSize;  // 29
    static constexpr int kRawBankPrograms = 48;

    static constexpr std::int32_t kPresetRecords = 1 + kNumUserParams;  // 43
    static constexpr std::int32_t kPresetRecordBytes =
        static_cast<std::int32_t>(TaggedState::kProgramRecordSize + kNumUserParams * TaggedState::kValueRecordSize);
    static constexpr std::int32_t kMidiRecords = kNumUserParams;  // 42
    static constexpr std::int32_t kMidiRecordBytes =
        static_cast<std::int32_t>(kNumUserParams * TaggedState::kValueRecordSize);
    static constexpr std::int32_t kBankRecords = kNumPrograms * (1 + kNumUserParams);
    static constexpr std::int32_t kBankRecordBytes = kNumPrograms * kPresetRecordBytes;

    static constexpr std::size_t kPresetImageSize = TaggedState::kHeaderSize + kPresetRecordBytes;  // 1553
    static constexpr std::size_t kBankImageSize = TaggedState::kHeaderSize + kBankRecordBytes;      // 72617
    static constexpr std::size_t kMidiImageSize = TaggedState::kHeaderSize + kMidiRecordBytes;      // 1385

    static Kind kindOf(std::uint8_t marker);

    // Checks the ID and reads the marker and, for tagged kinds, the header. The image is native
    // when its ID is uniqueId and byte-reversed when it is uniqueId with its bytes reversed;
    // invertOrder swaps that decision (the user's "endian-reversed" choice). False for an image
    // shorter than 5 bytes, a foreign ID, an unknown marker or a tagged image too short for its
    // header: nothing is to be loaded.
    static bool open(const void* data, std::size_t size, std::int32_t uniqueId, bool invertOrder, FileImageView& view);

    // Preset image (marker 0x23) of one program: header, its program record and 42 parameter
    // records with the values as stored. Answers the bytes written.
    static std::size_t writePreset(ByteWriter& out, std::int32_t uniqueId, const ProgramRecord& program);
    // MIDI-settings image (marker 0x0C): header and 42 controller records of the normalised
    // assignment values of parameters 0..41.
    static std::size_t writeMidiSettings(ByteWriter& out, std::int32_t uniqueId,
                                         const float (&assignments)[kNumUserParams]);

    // Counts of the raw kinds, from the image's whole size (integer division truncating towards
    // zero, as stored files carry no count): values of a 0x21 preset, values per program of a
    // 0x37 bank, values of a 0x0B MIDI-settings image. Zero or negative when the image is too
    // short to hold any.
    static std::int64_t rawPresetValueCount(std::size_t imageSize);
    static std::int64_t rawBankValuesPerProgram(std::size_t imageSize);
    static std::int64_t rawMidiValueCount(std::size_t imageSize);
};

}  // namespace orv
