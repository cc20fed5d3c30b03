#include "orv-render/SoundFileSource.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "orv-render/windows/WavFormat.h"
#include "orv-render/windows/WindowsFiles.h"

namespace orv {

struct SoundFileSource::File {
    ~File()
    {
        if (stream != nullptr) std::fclose(stream);
    }
    std::FILE* stream = nullptr;
    long remaining = 0;  // frames left in the data chunk
    std::vector<unsigned char> buffer;
};

namespace {

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Sample values as libsndfile normalises them: integers divided by 2^(bits - 1).
float sampleAt(const unsigned char* p, int encoding)
{
    switch (encoding) {
    case wav::kPcm16: return static_cast<float>(static_cast<int16_t>(le16(p))) / 32768.0f;
    case wav::kPcm24: {
        const int32_t v = static_cast<int32_t>(le32(p - 1) & 0xFFFFFF00u) >> 8;  // p[-1] is unused
        return static_cast<float>(v) / 8388608.0f;
    }
    case wav::kPcm32: return static_cast<float>(static_cast<double>(static_cast<int32_t>(le32(p))) / 2147483648.0);
    default: {
        float f;
        std::memcpy(&f, p, 4);
        return f;
    }
    }
}

}  // namespace

SoundFileSource::SoundFileSource() = default;
SoundFileSource::~SoundFileSource() = default;

bool SoundFileSource::open(const std::string& path, std::string& error)
{
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = "cannot open input '" + path + "': No such file or directory";
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = "input '" + path + "' is a folder, not a sound file";
        return false;
    }
    file_ = std::make_unique<File>();
    file_->stream = _wfopen(widePath(path).c_str(), L"rb");
    const std::string notSound = "cannot read input '" + path + "': not a WAV file of 16-, 24- or 32-bit samples";
    unsigned char riff[12];
    if (file_->stream == nullptr || std::fread(riff, 1, 12, file_->stream) != 12 || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0) {
        error = notSound;
        return false;
    }
    bool haveFormat = false;
    for (;;) {
        unsigned char head[8];
        if (std::fread(head, 1, 8, file_->stream) != 8) break;
        const uint32_t size = le32(head + 4);
        if (std::memcmp(head, "fmt ", 4) == 0 && size >= 16 && size <= 64) {
            unsigned char fmt[64];
            if (std::fread(fmt, 1, size, file_->stream) != size) break;
            uint16_t tag = le16(fmt);
            if (tag == wav::kTagExtensible && size >= 26) tag = le16(fmt + 24);  // the sub-format's tag
            channels_ = le16(fmt + 2);
            sampleRate_ = static_cast<int>(le32(fmt + 4));
            const int bits = le16(fmt + 14);
            format_ = tag == wav::kTagFloat && bits == 32 ? wav::kFloat
                : tag != wav::kTagPcm                     ? 0
                : bits == 16                              ? wav::kPcm16
                : bits == 24                              ? wav::kPcm24
                : bits == 32                              ? wav::kPcm32
                                                          : 0;
            haveFormat = format_ != 0;
            if (size % 2 != 0) std::fseek(file_->stream, 1, SEEK_CUR);
        } else if (std::memcmp(head, "data", 4) == 0 && haveFormat) {
            if (channels_ < 1 || sampleRate_ < 1) {
                error = "input '" + path + "' has no audio channels";
                return false;
            }
            frames_ = static_cast<long>(size / static_cast<uint32_t>(channels_ * wav::bytesPerSample(format_)));
            file_->remaining = frames_;
            format_ |= wav::kContainer;
            return true;
        } else if (std::fseek(file_->stream, static_cast<long>(size + size % 2), SEEK_CUR) != 0) {
            break;
        }
    }
    error = notSound;
    return false;
}

long SoundFileSource::read(float* interleaved, long count)
{
    if (file_ == nullptr || file_->stream == nullptr) return -1;
    const long frames = std::min(count, file_->remaining);
    if (frames <= 0) return 0;
    const int encoding = format_ & wav::kEncodingMask;
    const size_t width = static_cast<size_t>(wav::bytesPerSample(encoding));
    const size_t samples = static_cast<size_t>(frames) * static_cast<size_t>(channels_);
    // One spare byte in front: a 24-bit sample is read as the top of a 32-bit word.
    file_->buffer.resize(samples * width + 1);
    if (std::fread(file_->buffer.data() + 1, width, samples, file_->stream) != samples) return -1;
    for (size_t i = 0; i < samples; ++i) interleaved[i] = sampleAt(file_->buffer.data() + 1 + i * width, encoding);
    file_->remaining -= frames;
    return frames;
}

}  // namespace orv
