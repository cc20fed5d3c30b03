#include "params/ProgramRecord.h"

#include <cstring>

namespace orv {

void setProgramRecordName(ProgramRecord& record, const char* src)
{
    if (src == nullptr) src = "";
    // Only the name and its terminator are written; bytes after it keep what they held.
    const std::size_t n = strnlen(src, kProgramNameSize - 1);
    std::memcpy(record.name, src, n);
    record.name[n] = '\0';
}

}  // namespace orv
