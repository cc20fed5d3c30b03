#include "params/ByteWriter.h"

#include <cstring>

namespace orv {

bool ByteWriter::reserve(std::size_t count)
{
    if (data_ == nullptr || count > capacity_ - size_) {
        overflowed_ = true;
        return false;
    }
    return true;
}

void ByteWriter::putU8(std::uint8_t v) { putBytes(&v, 1); }
void ByteWriter::putI32(std::int32_t v) { putBytes(&v, sizeof v); }
void ByteWriter::putF32(float v) { putBytes(&v, sizeof v); }

void ByteWriter::putBytes(const void* src, std::size_t count)
{
    if (!reserve(count)) return;
    if (count > 0) std::memcpy(data_ + size_, src, count);
    size_ += count;
}

void ByteWriter::putZeros(std::size_t count)
{
    if (!reserve(count)) return;
    std::memset(data_ + size_, 0, count);
    size_ += count;
}

void ByteWriter::patchI32(std::size_t offset, std::int32_t v)
{
    if (offset > size_ || sizeof v > size_ - offset) {
        overflowed_ = true;
        return;
    }
    std::memcpy(data_ + offset, &v, sizeof v);
}

}  // namespace orv
