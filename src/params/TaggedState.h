// The tagged state format shared by the host chunk and the preset, bank and MIDI-settings files:
// a 41-byte state header and records that each start with tag, payload length and program
// index. Writers emit this machine's byte order; readers take a ByteReader that knows the
// stored order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/ByteReader.h"
#include "params/ByteWriter.h"

namespace orv {

struct StateHeader {
    std::int32_t uniqueId = 0;
    std::uint8_t marker = 0;  // kind and version of the data
    std::int32_t formatWord = 0;
    std::int32_t numParams = 0;
    std::int32_t numRecords = 0;
    std::int32_t currentProgram = 0;
    std::int32_t recordBytes = 0;  // bytes of the program and parameter records
};

class TaggedState {
public:
    static constexpr std::size_t kHeaderSize = 41;
    static constexpr std::size_t kHeaderZeroBytes = 16;  // reserved tail of the header
    // Field offsets inside the header.
    static constexpr std::size_t kIdOffset = 0;
    static constexpr std::size_t kMarkerOffset = 4;
    static constexpr std::size_t kFormatOffset = 5;
    static constexpr std::size_t kNumParamsOffset = 9;
    static constexpr std::size_t kNumRecordsOffset = 13;
    static constexpr std::size_t kCurrentProgramOffset = 17;
    static constexpr std::size_t kRecordBytesOffset = 21;

    static constexpr std::int32_t kFormatWord = 0x02000000;
    static constexpr std::uint8_t kMarkerBank = 0x39;  // 48 programs: chunk state part, bank file

    enum Tag : std::int32_t { kTagProgram = 0, kTagParameter = 1, kTagController = 2 };

    static constexpr std::size_t kRecordHeaderSize = 12;  // tag, payload length, program index
    static constexpr std::int32_t kProgramPayload = 156;  // name 24, zero 4, zero 128
    static constexpr std::int32_t kValuePayload = 20;     // index 4, zero 8, value 4, zero 4
    static constexpr std::size_t kProgramRecordSize = kRecordHeaderSize + kProgramPayload;  // 168
    static constexpr std::size_t kValueRecordSize = kRecordHeaderSize + kValuePayload;      // 32
    static constexpr std::size_t kNameSize = 24;
    static constexpr std::size_t kValueOffsetInPayload = 12;  // after the index and 8 zero bytes

    static void writeHeader(ByteWriter& out, const StateHeader& header);
    // Reads the nine 32-bit fields and the marker; false when the data is shorter than a header.
    static bool readHeader(const ByteReader& state, StateHeader& header);

    // Program record: the name (at most 23 characters, zero-padded to 24 bytes) and zeros.
    static void writeProgramRecord(ByteWriter& out, int program, const char* name);
    // Parameter value record of a program.
    static void writeParameterRecord(ByteWriter& out, int program, int index, float value);
    // Controller assignment record (program index 0).
    static void writeControllerRecord(ByteWriter& out, int index, float value);

    // Name of a program record's payload, always terminated within 24 bytes; false when the
    // payload is too short to hold one.
    static bool readName(const ByteReader& payload, char (&name)[kNameSize]);
    // Index and value of a parameter or controller record's payload; false when too short.
    static bool readIndexAndValue(const ByteReader& payload, std::int32_t& index, float& value);

    // Older parameter layout (type-2 chunk, 0x22 preset, 0x38 bank): SpkrConf, BReflex, X-Talk
    // and MechRatio were not stored, so indices 31..34 give 0.5 to those parameters whatever the
    // stored value, and index 35 held the MIDI channel. Answers the index the value belongs to
    // (value adjusted in place).
    static int translateLegacyIndex(int index, float& value);
};

}  // namespace orv
