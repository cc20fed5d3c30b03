#include "orv-render/Renderer.h"

#include <algorithm>

#include "orv-render/AudioSource.h"
#include "orv-render/ProgressBar.h"
#include "orv-render/SoundFileSink.h"

namespace orv {

void Renderer::addParameterChange(long frame, int index, float value)
{
    parameterChanges_.push_back(ParameterChange{frame, index, value});
}

void Renderer::addControlChange(long frame, int channel, int controller, int value)
{
    controlChanges_.push_back(ControlChange{frame, channel, controller, value});
}

void Renderer::feedInputs(const float* interleaved, int sourceChannels, long frames)
{
    const size_t pins = inputs_.size();
    for (size_t pin = 0; pin < pins; ++pin) {
        float* dst = inputs_[pin].data();
        for (long n = 0; n < frames; ++n) {
            const float* frame = interleaved + n * sourceChannels;
            float v = 0.0f;
            if (sourceChannels == 1) {
                v = frame[0];  // a mono file feeds every input pin
            } else if (pins == 1) {
                v = 0.5f * (frame[0] + frame[1]);  // a mono effect hears both sides
            } else if (pin < static_cast<size_t>(sourceChannels)) {
                v = frame[pin];
            }
            dst[n] = v;
        }
    }
}

void Renderer::processSegment(long start, int offset, int frames)
{
    while (nextParameter_ < parameterChanges_.size() && parameterChanges_[nextParameter_].frame <= start) {
        const ParameterChange& c = parameterChanges_[nextParameter_++];
        host_.setParameter(c.index, c.value);
    }
    while (nextControl_ < controlChanges_.size() && controlChanges_[nextControl_].frame < start + frames) {
        const ControlChange& c = controlChanges_[nextControl_++];
        host_.queueControlChange(static_cast<int>(std::max(0L, c.frame - start)), c.channel, c.controller, c.value);
    }
    for (size_t pin = 0; pin < inputs_.size(); ++pin) inPtrs_[pin] = inputs_[pin].data() + offset;
    for (size_t pin = 0; pin < outputs_.size(); ++pin) outPtrs_[pin] = outputs_[pin].data() + offset;
    host_.process(inPtrs_.data(), outPtrs_.data(), frames, useDouble_);
}

bool Renderer::run(AudioSource& source, SoundFileSink& sink, ProgressBar& progress,
                   const volatile std::sig_atomic_t& stop, std::string& error)
{
    auto byFrame = [](const auto& a, const auto& b) { return a.frame < b.frame; };
    std::stable_sort(parameterChanges_.begin(), parameterChanges_.end(), byFrame);
    std::stable_sort(controlChanges_.begin(), controlChanges_.end(), byFrame);
    nextParameter_ = nextControl_ = 0;

    const int block = host_.blockSize();
    const int channels = source.channels();
    const size_t nIn = static_cast<size_t>(std::max(host_.effect()->numInputs, 0));
    const size_t nOut = static_cast<size_t>(std::max(host_.effect()->numOutputs, 0));
    inputs_.assign(nIn, std::vector<float>(static_cast<size_t>(block), 0.0f));
    outputs_.assign(nOut, std::vector<float>(static_cast<size_t>(block), 0.0f));
    inPtrs_.resize(nIn);
    outPtrs_.resize(nOut);
    std::vector<float> readBuffer(static_cast<size_t>(block) * static_cast<size_t>(channels));
    std::vector<float> writeBuffer(static_cast<size_t>(block) * kOutputChannels);

    long position = 0;
    for (;;) {
        if (stop) {
            error = "interrupted";
            return false;
        }
        const long got = source.read(readBuffer.data(), block);
        if (got < 0) {
            error = "reading the input failed";
            return false;
        }
        if (got == 0) break;
        feedInputs(readBuffer.data(), channels, got);

        // Parameter changes take effect exactly at their frame: the block is cut there.
        long done = 0;
        while (done < got) {
            long end = got;
            for (size_t i = nextParameter_; i < parameterChanges_.size(); ++i) {
                const long at = parameterChanges_[i].frame - position;
                if (at > done) {
                    end = std::min(end, at);
                    break;
                }
            }
            processSegment(position + done, static_cast<int>(done), static_cast<int>(end - done));
            done = end;
        }

        for (long n = 0; n < got; ++n) {
            const float left = nOut > 0 ? outputs_[0][static_cast<size_t>(n)] : 0.0f;
            const float right = nOut > 1 ? outputs_[1][static_cast<size_t>(n)] : left;
            writeBuffer[static_cast<size_t>(n) * kOutputChannels] = left;
            writeBuffer[static_cast<size_t>(n) * kOutputChannels + 1] = right;
        }
        if (!sink.write(writeBuffer.data(), got, error)) return false;
        position += got;
        progress.update(position);
    }
    progress.finish();
    return true;
}

}  // namespace orv
