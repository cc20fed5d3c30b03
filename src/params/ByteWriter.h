// Writes binary data (chunks, files) in this machine's byte order into a fixed buffer. A write
// that does not fit is dropped and marks the writer as overflowed; nothing past the capacity is
// ever touched.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv {

class ByteWriter {
public:
    ByteWriter(void* buffer, std::size_t capacity) : data_(static_cast<unsigned char*>(buffer)), capacity_(capacity) {}

    void putU8(std::uint8_t v);
    void putI32(std::int32_t v);
    void putF32(float v);
    void putBytes(const void* src, std::size_t count);
    void putZeros(std::size_t count);
    // Overwrites a 32-bit field written earlier.
    void patchI32(std::size_t offset, std::int32_t v);

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool overflowed() const { return overflowed_; }
    const unsigned char* data() const { return data_; }

private:
    bool reserve(std::size_t count);

    unsigned char* data_;
    std::size_t capacity_;
    std::size_t size_ = 0;
    bool overflowed_ = false;
};

}  // namespace orv
