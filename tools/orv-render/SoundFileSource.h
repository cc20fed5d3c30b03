// An AudioSource reading a sound file: any format libsndfile knows on Linux, WAV (16-, 24- and
// 32-bit integer or 32-bit float samples) on Windows.
#pragma once

#include <memory>
#include <string>

#include "orv-render/AudioSource.h"

namespace orv {

class SoundFileSource : public AudioSource {
public:
    SoundFileSource();
    ~SoundFileSource() override;
    SoundFileSource(const SoundFileSource&) = delete;
    SoundFileSource& operator=(const SoundFileSource&) = delete;

    // Answers false with a one-line reason when the file cannot be read as audio.
    bool open(const std::string& path, std::string& error);

    int channels() const override { return channels_; }
    double sampleRate() const override { return sampleRate_; }
    long frames() const override { return frames_; }
    // The file's encoding, in the terms of SoundFileSink::formatFor.
    int format() const { return format_; }
    long read(float* interleaved, long count) override;

private:
    struct File;  // the open file of the implementation
    std::unique_ptr<File> file_;
    int channels_ = 0;
    int sampleRate_ = 0;
    long frames_ = 0;
    int format_ = 0;
};

}  // namespace orv
