// One internal program: a terminated name of at most 23 characters and the 42 normalised
// values of the user parameters. Same layout in memory and in bank images (192 bytes).
#pragma once

#include <cstddef>

#include "params/ParameterIndex.h"

namespace orv {

constexpr int kNumUserParams = param::kNumUser;
constexpr int kNumPrograms = 48;
constexpr int kProgramNameSize = 24;  // 23 characters and the terminator

struct ProgramRecord {
    char name[kProgramNameSize];
    float values[kNumUserParams];
};

static_assert(sizeof(ProgramRecord) == 192);

// Copies at most 23 characters of src into the record's name and terminates it.
void setProgramRecordName(ProgramRecord& record, const char* src);

}  // namespace orv
