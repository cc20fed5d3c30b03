// libFuzzer target: MIDI-settings images of the two markers, in either byte order and choice.
#include "FileFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static constexpr uint8_t kMarkers[] = {0x0B, 0x0C};
    return orv::fuzz::loadImage(data, size, kMarkers);
}
