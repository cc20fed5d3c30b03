#include "orv-play/SilentAudio.h"

#include <chrono>

namespace orv::play {

SilentAudio::SilentAudio(LiveProcessor* processor, double sampleRate) : processor_(processor), sampleRate_(sampleRate)
{
    for (int c = 0; c < 2; ++c) {
        silence_[c].assign(static_cast<size_t>(processor->maxBlock()), 0.0f);
        output_[c].assign(static_cast<size_t>(processor->maxBlock()), 0.0f);
    }
}

void SilentAudio::start()
{
    if (running_.exchange(true)) return;
    thread_ = std::thread([this] { run(); });
}

void SilentAudio::stop()
{
    running_.store(false);
    if (thread_.joinable()) thread_.join();
}

void SilentAudio::run()
{
    using Clock = std::chrono::steady_clock;
    const int frames = processor_->maxBlock();
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(frames / sampleRate_));
    float* in[2] = {silence_[0].data(), silence_[1].data()};
    float* out[2] = {output_[0].data(), output_[1].data()};
    auto next = Clock::now();
    while (running_.load(std::memory_order_relaxed)) {
        processor_->process(in, out, frames);
        next += period;
        std::this_thread::sleep_until(next);
    }
}

}  // namespace orv::play
