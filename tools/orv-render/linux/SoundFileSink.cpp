#include "orv-render/SoundFileSink.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "orv-render/linux/PosixFiles.h"

namespace orv {

namespace {

std::string lowerExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Extensions whose container and codec libsndfile's format list does not spell out.
struct Alias {
    const char* ext;
    int format;
};
constexpr Alias kAliases[] = {
    {"aif", SF_FORMAT_AIFF},
    {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    {"oga", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    {"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
    {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
};

// Encodings tried, in order, when the input's cannot be kept.
constexpr int kSubtypes[] = {SF_FORMAT_PCM_24, SF_FORMAT_PCM_16, SF_FORMAT_FLOAT,
                             SF_FORMAT_VORBIS, SF_FORMAT_OPUS,   SF_FORMAT_MPEG_LAYER_III};

bool valid(int format, int channels, int sampleRate)
{
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    return sf_format_check(&info) != 0;
}

}  // namespace

struct SoundFileSink::File {
    SNDFILE* handle = nullptr;
};

SoundFileSink::SoundFileSink() = default;
SoundFileSink::~SoundFileSink() { discard(); }

int SoundFileSink::formatFor(const std::string& path, int channels, int sampleRate, int inputFormat, std::string& error)
{
    const std::string ext = lowerExtension(path);
    if (ext.empty()) {
        error = "cannot tell the output format of '" + path + "' (give it an extension such as .wav or .flac)";
        return 0;
    }
    int major = 0;
    int fixedSubtype = 0;
    for (const Alias& a : kAliases) {
        if (ext == a.ext) {
            major = a.format & SF_FORMAT_TYPEMASK;
            fixedSubtype = a.format & SF_FORMAT_SUBMASK;
        }
    }
    if (major == 0) {
        int count = 0;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
        for (int i = 0; i < count && major == 0; ++i) {
            SF_FORMAT_INFO info{};
            info.format = i;
            sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info);
            if (info.extension != nullptr && ext == info.extension) major = info.format;
        }
    }
    if (major == 0) {
        error = "unknown output format '." + ext + "'";
        return 0;
    }
    if (fixedSubtype != 0) {
        if (valid(major | fixedSubtype, channels, sampleRate)) return major | fixedSubtype;
        error = "this libsndfile cannot write '." + ext + "' files at " + std::to_string(sampleRate) + " Hz";
        return 0;
    }
    const int keep = major | (inputFormat & SF_FORMAT_SUBMASK);
    if ((inputFormat & SF_FORMAT_SUBMASK) != 0 && valid(keep, channels, sampleRate)) return keep;
    for (int sub : kSubtypes) {
        if (valid(major | sub, channels, sampleRate)) return major | sub;
    }
    error = "cannot write '." + ext + "' files with " + std::to_string(channels) + " channels at " +
        std::to_string(sampleRate) + " Hz";
    return 0;
}

bool SoundFileSink::create(const std::string& path, int channels, int sampleRate, int inputFormat, std::string& error)
{
    discard();
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        error = "output '" + path + "' is a folder";
        return false;
    }
    SF_INFO info{};
    info.format = formatFor(path, channels, sampleRate, inputFormat, error);
    if (info.format == 0) return false;
    info.channels = channels;
    info.samplerate = sampleRate;

    const int fd = createTemporaryBeside(path, tempPath_);
    if (fd < 0) {
        error = "cannot write in the folder of '" + path + "': " + std::strerror(errno);
        return false;
    }
    file_ = std::make_unique<File>();
    file_->handle = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (file_->handle == nullptr) {
        error = "cannot create output '" + path + "': " + sf_strerror(nullptr);
        close(fd);
        discard();
        return false;
    }
    // Samples past full scale are clipped rather than wrapped in integer formats.
    sf_command(file_->handle, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    path_ = path;
    return true;
}

bool SoundFileSink::write(const float* interleaved, long frames, std::string& error)
{
    if (file_ == nullptr) return false;
    if (sf_writef_float(file_->handle, interleaved, frames) != frames) {
        error = "cannot write output '" + path_ + "': " + sf_strerror(file_->handle);
        return false;
    }
    return true;
}

bool SoundFileSink::commit(std::string& error)
{
    if (file_ == nullptr) return false;
    const int rc = sf_close(file_->handle);
    file_.reset();
    if (rc != 0) {
        error = "cannot finish output '" + path_ + "': " + sf_error_number(rc);
        discard();
        return false;
    }
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        error = "cannot write output '" + path_ + "': " + std::strerror(errno);
        discard();
        return false;
    }
    tempPath_.clear();
    return true;
}

void SoundFileSink::discard()
{
    if (file_ != nullptr && file_->handle != nullptr) sf_close(file_->handle);
    file_.reset();
    if (!tempPath_.empty()) unlink(tempPath_.c_str());
    tempPath_.clear();
}

}  // namespace orv
