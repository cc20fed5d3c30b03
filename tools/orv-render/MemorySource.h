// An AudioSource over interleaved samples held in memory (the synthesised demo).
#pragma once

#include <algorithm>
#include <vector>

#include "orv-render/AudioSource.h"

namespace orv {

class MemorySource : public AudioSource {
public:
    MemorySource(std::vector<float> interleaved, int channels, double sampleRate)
        : samples_(std::move(interleaved)), channels_(channels), rate_(sampleRate)
    {}

    int channels() const override { return channels_; }
    double sampleRate() const override { return rate_; }
    long frames() const override { return static_cast<long>(samples_.size()) / channels_; }
    long read(float* interleaved, long count) override
    {
        const long n = std::min(count, frames() - pos_);
        std::copy_n(samples_.begin() + pos_ * channels_, n * channels_, interleaved);
        pos_ += n;
        return n;
    }

private:
    std::vector<float> samples_;
    int channels_;
    double rate_;
    long pos_ = 0;
};

}  // namespace orv
