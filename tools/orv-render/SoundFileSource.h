// An AudioSource reading any file libsndfile knows.
#pragma once

#include <sndfile.h>

#include <string>

#include "orv-render/AudioSource.h"

namespace orv {

class SoundFileSource : public AudioSource {
public:
    SoundFileSource() = default;
    ~SoundFileSource() override;
    SoundFileSource(const SoundFileSource&) = delete;
    SoundFileSource& operator=(const SoundFileSource&) = delete;

    // Answers false with a one-line reason when the file cannot be read as audio.
    bool open(const std::string& path, std::string& error);

    int channels() const override { return info_.channels; }
    double sampleRate() const override { return info_.samplerate; }
    long frames() const override { return static_cast<long>(info_.frames); }
    int format() const { return info_.format; }
    long read(float* interleaved, long count) override;

private:
    SNDFILE* file_ = nullptr;
    SF_INFO info_{};
};

}  // namespace orv
