// Without a JACK server: a thread of its own runs the effect on silence at the pace of real
// time, so that the engine lives (the rotors turn and the editor's markers follow them).
#pragma once

#include <atomic>
#include <thread>
#include <vector>

#include "orv-play/LiveProcessor.h"

namespace orv::play {

class SilentAudio {
public:
    SilentAudio(LiveProcessor* processor, double sampleRate);
    ~SilentAudio() { stop(); }
    SilentAudio(const SilentAudio&) = delete;
    SilentAudio& operator=(const SilentAudio&) = delete;

    void start();
    void stop();

private:
    void run();

    LiveProcessor* processor_;
    double sampleRate_;
    std::vector<float> silence_[2], output_[2];
    std::atomic<bool> running_{false};
    std::thread thread_;
};

}  // namespace orv::play
