// The player's JACK client: two audio inputs, two audio outputs and a MIDI input, processed
// through a LiveProcessor in JACK's process callback.
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <string>
#include <vector>

#include "orv-play/LiveProcessor.h"

namespace orv::play {

class JackAudio {
public:
    JackAudio() = default;
    ~JackAudio();
    JackAudio(const JackAudio&) = delete;
    JackAudio& operator=(const JackAudio&) = delete;

    // Connects to the running server (never starts one) and registers the ports. False with
    // the reason in error, saying so plainly when no server runs.
    bool open(const std::string& clientName, std::string& error);
    double sampleRate() const;
    int bufferSize() const;

    // Starts processing through processor (which must outlive stop()).
    bool start(LiveProcessor* processor, std::string& error);
    // Connects in_1/in_2 from the given ports (one port: in_1 only), out_1/out_2 to the given
    // ports and every MIDI source to midi_in. False with the first failure in error.
    bool connect(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                 const std::vector<std::string>& midiSources, std::string& error);
    // Stops processing and leaves the server.
    void stop();
    // True once the server has shut down or thrown the client out.
    bool serverGone() const { return serverGone_.load(std::memory_order_relaxed); }

private:
    static int processCallback(jack_nframes_t frames, void* self);
    static void shutdownCallback(void* self);
    void processBlock(jack_nframes_t frames);

    jack_client_t* client_ = nullptr;
    jack_port_t* in_[2] = {};
    jack_port_t* out_[2] = {};
    jack_port_t* midiIn_ = nullptr;
    std::atomic<LiveProcessor*> processor_{nullptr};
    std::atomic<bool> serverGone_{false};
    bool active_ = false;
};

}  // namespace orv::play
