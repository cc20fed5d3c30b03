// libFuzzer target: any bytes handed to setChunk, in any order and size, must be read without
// leaving the buffer, and leave an effect that still writes a complete chunk.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "plugin/RotaryEffect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One effect for the whole run: loads build on whatever the previous input left.
    static orv::RotaryEffect* effect = new orv::RotaryEffect(nullptr);
    // An exact-size copy, so that any read past the input's end is caught.
    std::vector<uint8_t> copy(data, data + size);
    const int answer = effect->setChunk(copy.empty() ? nullptr : copy.data(), static_cast<int>(size), false);
    if (answer != 0 && answer != -1) std::abort();
    void* out = nullptr;
    if (effect->getChunk(&out, false) != static_cast<int>(orv::CMidiPresetSystemEffect::kChunkSize)) std::abort();
    return 0;
}
