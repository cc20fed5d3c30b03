// Walks the records of a tagged state. Each record is checked against the data before it is
// handed out: a record header or payload that runs past the end, or a negative payload length,
// ends the walk, as does reaching the record count of the header (a negative count gives no
// records at all).
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/ByteReader.h"

namespace orv {

struct TaggedRecord {
    std::int32_t tag = 0;
    std::int32_t length = 0;   // payload bytes
    std::int32_t program = 0;  // program index field
    ByteReader payload;        // exactly `length` bytes
};

class TaggedRecordReader {
public:
    // records: the data from the first record on; count: the header's number of records.
    TaggedRecordReader(const ByteReader& records, std::int32_t count)
        : data_(records), remaining_(count > 0 ? count : 0)
    {}

    // Fills the next record; false when the walk has ended.
    bool next(TaggedRecord& record);

    // Bytes consumed by the records handed out so far.
    std::size_t offset() const { return offset_; }

private:
    ByteReader data_;
    std::size_t offset_ = 0;
    std::int32_t remaining_;
};

}  // namespace orv
