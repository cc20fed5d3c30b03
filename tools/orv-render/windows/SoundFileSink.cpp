#include "orv-render/SoundFileSink.h"

#include <windows.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "orv-render/windows/WavFormat.h"
#include "orv-render/windows/WindowsFiles.h"

namespace orv {

struct SoundFileSink::File {
    std::FILE* stream = nullptr;
    int encoding = 0;
    int channels = 0;
    int sampleRate = 0;
    uint32_t dataBytes = 0;
    std::vector<unsigned char> buffer;
};

namespace {

constexpr uint32_t kHeaderBytes = 44;  // RIFF, fmt (16 bytes) and data chunk headers
constexpr uint32_t kMaxDataBytes = 0xFFFFFFFFu - kHeaderBytes;

void put16(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* p, uint32_t v)
{
    put16(p, v);
    put16(p + 2, v >> 16);
}

// Integer samples are made as libsndfile makes them with clipping on: the float times 2^31
// (in single precision), rounded, clipped to the 32-bit range, then its top bytes.
int32_t scaled(float x)
{
    const float v = x * 2147483648.0f;
    if (!(v < 2147483647.0f)) return v != v ? 0 : INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(std::lrintf(v));
}

void writeHeader(unsigned char* h, int encoding, int channels, int sampleRate, uint32_t dataBytes)
{
    const uint32_t width = static_cast<uint32_t>(wav::bytesPerSample(encoding));
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, kHeaderBytes - 8 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, encoding == wav::kFloat ? wav::kTagFloat : wav::kTagPcm);
    put16(h + 22, static_cast<uint32_t>(channels));
    put32(h + 24, static_cast<uint32_t>(sampleRate));
    put32(h + 28, static_cast<uint32_t>(sampleRate) * static_cast<uint32_t>(channels) * width);
    put16(h + 32, static_cast<uint32_t>(channels) * width);
    put16(h + 34, width * 8);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, dataBytes);
}

}  // namespace

SoundFileSink::SoundFileSink() = default;
SoundFileSink::~SoundFileSink() { discard(); }

int SoundFileSink::formatFor(const std::string& path, int channels, int sampleRate, int inputFormat, std::string& error)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    std::string ext =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext.empty()) {
        error = "cannot tell the output format of '" + path + "' (give it the extension .wav)";
        return 0;
    }
    if (ext != "wav") {
        error = "unknown output format '." + ext + "' (this build writes WAV files only)";
        return 0;
    }
    if (channels < 1 || sampleRate < 1) {
        error = "cannot write '.wav' files with " + std::to_string(channels) + " channels at " +
            std::to_string(sampleRate) + " Hz";
        return 0;
    }
    // The input's encoding when it is one of ours, else 24-bit integers.
    const int encoding = inputFormat & wav::kEncodingMask;
    return wav::kContainer | (wav::bytesPerSample(encoding) != 0 ? encoding : wav::kPcm24);
}

bool SoundFileSink::create(const std::string& path, int channels, int sampleRate, int inputFormat, std::string& error)
{
    discard();
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = "output '" + path + "' is a folder";
        return false;
    }
    const int format = formatFor(path, channels, sampleRate, inputFormat, error);
    if (format == 0) return false;
    tempPath_ = temporaryBeside(path);
    file_ = std::make_unique<File>();
    file_->stream = _wfopen(widePath(tempPath_).c_str(), L"wb");
    if (file_->stream == nullptr) {
        error = "cannot write in the folder of '" + path + "'";
        file_.reset();
        tempPath_.clear();
        return false;
    }
    file_->encoding = format & wav::kEncodingMask;
    file_->channels = channels;
    unsigned char header[kHeaderBytes];
    writeHeader(header, file_->encoding, channels, sampleRate, 0);  // sizes filled in by commit
    if (std::fwrite(header, 1, kHeaderBytes, file_->stream) != kHeaderBytes) {
        error = "cannot create output '" + path + "'";
        discard();
        return false;
    }
    file_->sampleRate = sampleRate;
    path_ = path;
    return true;
}

bool SoundFileSink::write(const float* interleaved, long frames, std::string& error)
{
    if (file_ == nullptr || frames < 0) return false;
    const size_t width = static_cast<size_t>(wav::bytesPerSample(file_->encoding));
    const size_t samples = static_cast<size_t>(frames) * static_cast<size_t>(file_->channels);
    if (samples * width > kMaxDataBytes - file_->dataBytes) {
        error = "output '" + path_ + "' would pass the 4 GB limit of WAV files";
        return false;
    }
    file_->buffer.resize(samples * width);
    unsigned char* out = file_->buffer.data();
    for (size_t i = 0; i < samples; ++i, out += width) {
        if (file_->encoding == wav::kFloat) {
            std::memcpy(out, &interleaved[i], 4);
            continue;
        }
        const uint32_t v = static_cast<uint32_t>(scaled(interleaved[i]));
        for (size_t b = 0; b < width; ++b) out[b] = static_cast<unsigned char>(v >> (8 * (4 - width + b)));
    }
    if (std::fwrite(file_->buffer.data(), 1, file_->buffer.size(), file_->stream) != file_->buffer.size()) {
        error = "cannot write output '" + path_ + "'";
        return false;
    }
    file_->dataBytes += static_cast<uint32_t>(file_->buffer.size());
    return true;
}

bool SoundFileSink::commit(std::string& error)
{
    if (file_ == nullptr) return false;
    unsigned char header[kHeaderBytes];
    writeHeader(header, file_->encoding, file_->channels, file_->sampleRate, file_->dataBytes);
    bool ok = std::fseek(file_->stream, 0, SEEK_SET) == 0 &&
        std::fwrite(header, 1, kHeaderBytes, file_->stream) == kHeaderBytes;
    ok = std::fclose(file_->stream) == 0 && ok;
    file_.reset();
    std::string why;
    if (!ok || !replaceFile(tempPath_, path_, why)) {
        error = "cannot write output '" + path_ + "'" + (why.empty() ? "" : ": " + why);
        discard();
        return false;
    }
    tempPath_.clear();
    return true;
}

void SoundFileSink::discard()
{
    if (file_ != nullptr && file_->stream != nullptr) std::fclose(file_->stream);
    file_.reset();
    if (!tempPath_.empty()) DeleteFileW(widePath(tempPath_).c_str());
    tempPath_.clear();
}

}  // namespace orv
