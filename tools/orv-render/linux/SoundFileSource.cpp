#include "orv-render/SoundFileSource.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace orv {

struct SoundFileSource::File {
    ~File()
    {
        if (handle != nullptr) sf_close(handle);
    }
    SNDFILE* handle = nullptr;
};

SoundFileSource::SoundFileSource() = default;
SoundFileSource::~SoundFileSource() = default;

bool SoundFileSource::open(const std::string& path, std::string& error)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        error = "cannot open input '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = "input '" + path + "' is a folder, not a sound file";
        return false;
    }
    SF_INFO info{};
    file_ = std::make_unique<File>();
    file_->handle = sf_open(path.c_str(), SFM_READ, &info);
    if (file_->handle == nullptr) {
        error = "cannot read input '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    channels_ = info.channels;
    sampleRate_ = info.samplerate;
    frames_ = static_cast<long>(info.frames);
    format_ = info.format;
    if (info.channels < 1 || info.samplerate < 1) {
        error = "input '" + path + "' has no audio channels";
        return false;
    }
    return true;
}

long SoundFileSource::read(float* interleaved, long count)
{
    if (file_ == nullptr || file_->handle == nullptr) return -1;
    const sf_count_t n = sf_readf_float(file_->handle, interleaved, count);
    if (n == 0 && sf_error(file_->handle) != SF_ERR_NO_ERROR) return -1;
    return static_cast<long>(n);
}

}  // namespace orv
