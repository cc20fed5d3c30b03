// Floating-point control of the calling thread.
#pragma once

namespace orv {

// Switches on flush-to-zero and denormals-are-zero for the calling thread (MXCSR bits 0x8000
// and 0x0040 on x86-64); does nothing on processors without them. Not restored afterwards.
void enableFlushToZero();

// True when the calling thread runs with both modes on (always false where they do not exist).
bool isFlushToZeroOn();

}  // namespace orv
