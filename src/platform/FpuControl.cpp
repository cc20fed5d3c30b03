#include "platform/FpuControl.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#define ORV_HAVE_MXCSR 1
#endif

namespace orv {

#ifdef ORV_HAVE_MXCSR
namespace {
constexpr unsigned kFlushToZero = 0x8000;       // MXCSR FTZ: denormal results become 0
constexpr unsigned kDenormalsAreZero = 0x0040;  // MXCSR DAZ: denormal inputs read as 0
}  // namespace

void enableFlushToZero() { _mm_setcsr(_mm_getcsr() | kFlushToZero | kDenormalsAreZero); }

bool isFlushToZeroOn()
{
    const unsigned both = kFlushToZero | kDenormalsAreZero;
    return (_mm_getcsr() & both) == both;
}
#else
void enableFlushToZero() {}
bool isFlushToZeroOn() { return false; }
#endif

}  // namespace orv
