// Builds and reads state chunks byte by byte from the stored format, independently of the
// effect's own readers and writers, for the program and chunk tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace orv::test {

constexpr int32_t kUniqueId = 0x4F6F4731;  // 'OoG1'
constexpr int32_t kTypeBankImage = 0x01000000;
constexpr int32_t kTypeOlderState = 0x02000000;
constexpr int32_t kTypeState = 0x03000000;
constexpr int32_t kFormatWord = 0x02000000;
constexpr uint8_t kBankMarker = 0x39;
constexpr size_t kStateChunkSize = 73969;
constexpr int kPrograms = 48;
constexpr int kParams = 42;

inline uint32_t reversed32(uint32_t v) { return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24); }

// Appends fields in this machine's byte order.
class ChunkBytes {
public:
    std::vector<uint8_t> bytes;

    ChunkBytes& i32(int32_t v) { return raw(&v, 4); }
    ChunkBytes& f32(float v) { return raw(&v, 4); }
    ChunkBytes& u8(uint8_t v) { return raw(&v, 1); }
    ChunkBytes& zeros(size_t n) {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    ChunkBytes& name24(const std::string& name) {
        char field[24] = {};
        std::memcpy(field, name.data(), name.size() < 24 ? name.size() : 24);
        return raw(field, 24);
    }
    ChunkBytes& raw(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
        return *this;
    }

    ChunkBytes& chunkHeader(int32_t type, int32_t id = kUniqueId) { return i32(type).i32(id); }
    ChunkBytes& stateHeader(int32_t records, int32_t current, int32_t recordBytes, uint8_t marker = kBankMarker,
                            int32_t id = kUniqueId) {
        return i32(id).u8(marker).i32(kFormatWord).i32(kParams).i32(records).i32(current).i32(recordBytes).zeros(16);
    }
    ChunkBytes& programRecord(int32_t program, const std::string& name) {
        return i32(0).i32(156).i32(program).name24(name).zeros(4 + 128);
    }
    ChunkBytes& parameterRecord(int32_t program, int32_t index, float value) {
        return i32(1).i32(20).i32(program).i32(index).zeros(8).f32(value).zeros(4);
    }
    ChunkBytes& controllerRecord(int32_t index, float value) {
        return i32(2).i32(20).i32(0).i32(index).zeros(8).f32(value).zeros(4);
    }
    ChunkBytes& record(int32_t tag, int32_t length, int32_t program) { return i32(tag).i32(length).i32(program); }

    void patch32(size_t offset, int32_t v) { std::memcpy(&bytes[offset], &v, 4); }
};

inline int32_t read32(const std::vector<uint8_t>& b, size_t offset) {
    int32_t v;
    std::memcpy(&v, &b[offset], 4);
    return v;
}

inline float readFloat(const std::vector<uint8_t>& b, size_t offset) {
    float v;
    std::memcpy(&v, &b[offset], 4);
    return v;
}

inline void reverseWordAt(std::vector<uint8_t>& b, size_t offset) {
    std::swap(b[offset], b[offset + 3]);
    std::swap(b[offset + 1], b[offset + 2]);
}

// A tagged-state chunk (type 2 or 3) with every 32-bit field byte-reversed, as a machine of the
// other byte order writes it. Names and the marker byte are single bytes and stay as they are.
inline std::vector<uint8_t> reverseTaggedChunk(std::vector<uint8_t> b) {
    reverseWordAt(b, 0);  // type
    reverseWordAt(b, 4);  // unique ID
    reverseWordAt(b, 8);  // unique ID again
    for (size_t off = 13; off < 49; off += 4) reverseWordAt(b, off);  // nine header words
    size_t pos = 49;
    while (pos + 12 <= b.size()) {
        const int32_t tag = read32(b, pos);
        const int32_t length = read32(b, pos + 4);
        for (size_t off = pos; off < pos + 12; off += 4) reverseWordAt(b, off);
        const size_t payload = pos + 12;
        const size_t first = tag == 0 ? payload + 24 : payload;  // the name is bytes
        for (size_t off = first; off + 4 <= payload + static_cast<size_t>(length); off += 4) reverseWordAt(b, off);
        pos = payload + static_cast<size_t>(length);
    }
    return b;
}

// Decoded content of a type-3 chunk, read with the layout above (native order).
struct ParsedState {
    int32_t type = 0, id = 0, idAgain = 0, formatWord = 0, numParams = 0, records = 0, current = 0, recordBytes = 0;
    uint8_t marker = 0;
    std::string names[kPrograms];
    float values[kPrograms][kParams] = {};
    float controllers[kParams] = {};
    int programRecords = 0, parameterRecords = 0, controllerRecords = 0;
    bool wellFormed = true;  // every record has the documented length and order
};

inline ParsedState parseStateChunk(const std::vector<uint8_t>& b) {
    ParsedState s;
    if (b.size() < 49) {
        s.wellFormed = false;
        return s;
    }
    s.type = read32(b, 0);
    s.id = read32(b, 4);
    s.idAgain = read32(b, 8);
    s.marker = b[12];
    s.formatWord = read32(b, 13);
    s.numParams = read32(b, 17);
    s.records = read32(b, 21);
    s.current = read32(b, 25);
    s.recordBytes = read32(b, 29);
    for (size_t i = 33; i < 49; ++i) s.wellFormed = s.wellFormed && b[i] == 0;
    size_t pos = 49;
    int expectedProgram = 0, expectedIndex = 0;
    while (pos + 12 <= b.size()) {
        const int32_t tag = read32(b, pos), length = read32(b, pos + 4), program = read32(b, pos + 8);
        const size_t p = pos + 12;
        if (tag == 0) {
            s.wellFormed = s.wellFormed && length == 156 && program == expectedProgram && expectedIndex == 0;
            s.names[program % kPrograms] = std::string(reinterpret_cast<const char*>(&b[p]), strnlen(reinterpret_cast<const char*>(&b[p]), 24));
            for (size_t i = p + 24; i < p + 156; ++i) s.wellFormed = s.wellFormed && b[i] == 0;
            ++s.programRecords;
        } else if (tag == 1) {
            const int32_t index = read32(b, p);
            s.wellFormed = s.wellFormed && length == 20 && program == expectedProgram && index == expectedIndex;
            s.values[program % kPrograms][index % kParams] = readFloat(b, p + 12);
            if (++expectedIndex == kParams) {
                expectedIndex = 0;
                ++expectedProgram;
            }
            ++s.parameterRecords;
        } else if (tag == 2) {
            const int32_t index = read32(b, p);
            s.wellFormed = s.wellFormed && length == 20 && program == 0 && index == s.controllerRecords;
            s.controllers[index % kParams] = readFloat(b, p + 12);
            ++s.controllerRecords;
        } else {
            s.wellFormed = false;
        }
        if (tag != 0) {
            for (size_t i = p + 4; i < p + 12; ++i) s.wellFormed = s.wellFormed && b[i] == 0;
            for (size_t i = p + 16; i < p + 20; ++i) s.wellFormed = s.wellFormed && b[i] == 0;
        }
        pos = p + static_cast<size_t>(length);
    }
    s.wellFormed = s.wellFormed && pos == b.size();
    return s;
}

// A complete type-3 chunk: names[p] and values[p][i] for every program, controller values.
inline std::vector<uint8_t> buildStateChunk(const std::string (&names)[kPrograms],
                                            const float (&values)[kPrograms][kParams],
                                            const float (&controllers)[kParams], int32_t current) {
    ChunkBytes c;
    c.chunkHeader(kTypeState).stateHeader(kPrograms * (1 + kParams) + kParams, current,
                                          kPrograms * (168 + kParams * 32));
    for (int p = 0; p < kPrograms; ++p) {
        c.programRecord(p, names[p]);
        for (int i = 0; i < kParams; ++i) c.parameterRecord(p, i, values[p][i]);
    }
    for (int i = 0; i < kParams; ++i) c.controllerRecord(i, controllers[i]);
    return c.bytes;
}

}  // namespace orv::test
