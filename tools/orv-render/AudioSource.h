// Where the audio that orv-render feeds to the effect comes from.
#pragma once

namespace orv {

class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual int channels() const = 0;
    virtual double sampleRate() const = 0;
    virtual long frames() const = 0;
    // Reads up to `frames` interleaved frames; answers how many were read (0 at the end,
    // -1 on a read error).
    virtual long read(float* interleaved, long frames) = 0;
};

}  // namespace orv
