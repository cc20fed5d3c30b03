// libFuzzer target: bank images of the three markers, in either byte order and choice.
#include "FileFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static constexpr uint8_t kMarkers[] = {0x37, 0x38, 0x39};
    return orv::fuzz::loadImage(data, size, kMarkers);
}
