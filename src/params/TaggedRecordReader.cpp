#include "params/TaggedRecordReader.h"

#include "params/TaggedState.h"

namespace orv {

bool TaggedRecordReader::next(TaggedRecord& record)
{
    if (remaining_ <= 0) return false;
    TaggedRecord r;
    if (!data_.readI32(offset_, r.tag) || !data_.readI32(offset_ + 4, r.length) ||
        !data_.readI32(offset_ + 8, r.program)) {
        remaining_ = 0;
        return false;
    }
    const std::size_t payloadStart = offset_ + TaggedState::kRecordHeaderSize;
    if (r.length < 0 || !data_.has(payloadStart, static_cast<std::size_t>(r.length))) {
        remaining_ = 0;
        return false;
    }
    r.payload = data_.from(payloadStart).first(static_cast<std::size_t>(r.length));
    offset_ = payloadStart + static_cast<std::size_t>(r.length);
    --remaining_;
    record = r;
    return true;
}

}  // namespace orv
