#include "orv-render/SoundFileSource.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace orv {

SoundFileSource::~SoundFileSource() {
    if (file_ != nullptr) sf_close(file_);
}

bool SoundFileSource::open(const std::string& path, std::string& error) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        error = "cannot open input '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = "input '" + path + "' is a folder, not a sound file";
        return false;
    }
    info_ = SF_INFO{};
    file_ = sf_open(path.c_str(), SFM_READ, &info_);
    if (file_ == nullptr) {
        error = "cannot read input '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    if (info_.channels < 1 || info_.samplerate < 1) {
        error = "input '" + path + "' has no audio channels";
        return false;
    }
    return true;
}

long SoundFileSource::read(float* interleaved, long count) {
    if (file_ == nullptr) return -1;
    const sf_count_t n = sf_readf_float(file_, interleaved, count);
    if (n == 0 && sf_error(file_) != SF_ERR_NO_ERROR) return -1;
    return static_cast<long>(n);
}

}  // namespace orv
