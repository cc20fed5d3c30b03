#include "params/ByteReader.h"

#include <cstring>

namespace orv {

bool ByteReader::readWord(std::size_t offset, std::uint32_t& out) const
{
    if (!has(offset, sizeof out)) return false;
    std::uint32_t v;
    std::memcpy(&v, data_ + offset, sizeof v);
    out = reversed_ ? swap32(v) : v;
    return true;
}

bool ByteReader::readU8(std::size_t offset, std::uint8_t& out) const
{
    if (!has(offset, 1)) return false;
    out = data_[offset];
    return true;
}

bool ByteReader::readI32(std::size_t offset, std::int32_t& out) const
{
    std::uint32_t v;
    if (!readWord(offset, v)) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

bool ByteReader::readF32(std::size_t offset, float& out) const
{
    std::uint32_t v;
    if (!readWord(offset, v)) return false;
    std::memcpy(&out, &v, sizeof out);
    return true;
}

bool ByteReader::readBytes(std::size_t offset, void* dst, std::size_t count) const
{
    if (!has(offset, count)) return false;
    if (count > 0) std::memcpy(dst, data_ + offset, count);
    return true;
}

ByteReader ByteReader::from(std::size_t offset) const
{
    if (offset >= size_) return ByteReader(nullptr, 0, reversed_);
    return ByteReader(data_ + offset, size_ - offset, reversed_);
}

ByteReader ByteReader::first(std::size_t count) const
{
    return ByteReader(data_, count < size_ ? count : size_, reversed_);
}

}  // namespace orv
