// The WAV encodings orv-render reads and writes on Windows, numbered as libsndfile numbers
// them (container 0x010000 | encoding), so that format codes mean the same on both systems.
#pragma once

#include <cstdint>

namespace orv::wav {

constexpr int kContainer = 0x010000;
constexpr int kPcm16 = 0x0002;
constexpr int kPcm24 = 0x0003;
constexpr int kPcm32 = 0x0004;
constexpr int kFloat = 0x0006;
constexpr int kEncodingMask = 0xFFFF;

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagExtensible = 0xFFFE;

// Bytes per sample of an encoding, 0 for none of the above.
constexpr int bytesPerSample(int encoding)
{
    switch (encoding) {
    case kPcm16: return 2;
    case kPcm24: return 3;
    case kPcm32:
    case kFloat: return 4;
    default: return 0;
    }
}

}  // namespace orv::wav
