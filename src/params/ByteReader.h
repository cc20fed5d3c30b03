// Bounded reader over stored binary data (chunks, files, settings) written in either byte order.
// Every read states its offset and is checked against the size first; a read that would leave
// the buffer answers false and touches nothing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv {

class ByteReader {
public:
    ByteReader() = default;
    // reversed: the data was written in the other byte order, so every 32-bit field read is
    // byte-reversed before use.
    ByteReader(const void* data, std::size_t size, bool reversed = false)
        : data_(static_cast<const unsigned char*>(data)), size_(data != nullptr ? size : 0), reversed_(reversed)
    {}

    std::size_t size() const { return size_; }
    bool isReversed() const { return reversed_; }
    const unsigned char* data() const { return data_; }

    // True when count bytes starting at offset lie inside the data.
    bool has(std::size_t offset, std::size_t count) const { return offset <= size_ && count <= size_ - offset; }

    bool readU8(std::size_t offset, std::uint8_t& out) const;
    bool readI32(std::size_t offset, std::int32_t& out) const;
    bool readF32(std::size_t offset, float& out) const;
    bool readBytes(std::size_t offset, void* dst, std::size_t count) const;

    // The data from offset to the end (empty when offset lies beyond it), same byte order.
    ByteReader from(std::size_t offset) const;
    // The first count bytes (all of them when the data is shorter), same byte order.
    ByteReader first(std::size_t count) const;
    ByteReader withOrder(bool reversed) const { return ByteReader(data_, size_, reversed); }

    static std::uint32_t swap32(std::uint32_t v)
    {
        return (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
    }

private:
    bool readWord(std::size_t offset, std::uint32_t& out) const;

    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    bool reversed_ = false;
};

}  // namespace orv
