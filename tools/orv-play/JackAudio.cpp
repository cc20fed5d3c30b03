#include "orv-play/JackAudio.h"

#include <jack/midiport.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orv::play {

namespace {
const char* const kInNames[2] = {"in_1", "in_2"};
const char* const kOutNames[2] = {"out_1", "out_2"};
constexpr const char* kMidiInName = "midi_in";
void quiet(const char*) {}
void report(const char* message) { std::fprintf(stderr, "orv-play: JACK: %s\n", message); }
}  // namespace

JackAudio::~JackAudio() { stop(); }

bool JackAudio::open(const std::string& clientName, std::string& error)
{
    // The library's own lines about a missing server would bury the one message that says
    // what to do; its reports once connected are passed on.
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    jack_status_t status{};
    client_ = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    jack_set_error_function(report);
    if (client_ == nullptr) {
        const char* server = std::getenv("JACK_DEFAULT_SERVER");
        if (status & JackServerFailed)
            error = std::string("no JACK server is running") +
                (server != nullptr ? std::string(" (server name \"") + server + "\")" : "") +
                "; start one first (for example: jackd -d alsa), or leave out --audio to open the editor with a silent "
                "engine";
        else
            error = "cannot connect to the JACK server (status 0x" +
                [&] {
                    char hex[16];
                    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(status));
                    return std::string(hex);
                }() +
                ")";
        return false;
    }
    for (int c = 0; c < 2; ++c) {
        in_[c] = jack_port_register(client_, kInNames[c], JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        out_[c] = jack_port_register(client_, kOutNames[c], JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    }
    midiIn_ = jack_port_register(client_, kMidiInName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (in_[0] == nullptr || in_[1] == nullptr || out_[0] == nullptr || out_[1] == nullptr || midiIn_ == nullptr) {
        error = "cannot register the JACK ports";
        stop();
        return false;
    }
    jack_set_process_callback(client_, processCallback, this);
    jack_on_shutdown(client_, shutdownCallback, this);
    return true;
}

double JackAudio::sampleRate() const { return client_ != nullptr ? jack_get_sample_rate(client_) : 0.0; }

int JackAudio::bufferSize() const { return client_ != nullptr ? static_cast<int>(jack_get_buffer_size(client_)) : 0; }

bool JackAudio::start(LiveProcessor* processor, std::string& error)
{
    processor_.store(processor, std::memory_order_release);
    if (jack_activate(client_) != 0) {
        error = "cannot activate the JACK client";
        return false;
    }
    active_ = true;
    return true;
}

bool JackAudio::connect(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                        const std::vector<std::string>& midiSources, std::string& error)
{
    auto link = [&](const std::string& from, const std::string& to) {
        const int result = jack_connect(client_, from.c_str(), to.c_str());
        if (result != 0 && result != EEXIST) {
            error = "cannot connect " + from + " to " + to + " (is there a port of that name? jack_lsp lists them)";
            return false;
        }
        return true;
    };
    for (size_t k = 0; k < inputs.size(); ++k)
        if (!link(inputs[k], jack_port_name(in_[k]))) return false;
    for (size_t k = 0; k < outputs.size(); ++k)
        if (!link(jack_port_name(out_[k]), outputs[k])) return false;
    for (const std::string& source : midiSources)
        if (!link(source, jack_port_name(midiIn_))) return false;
    return true;
}

void JackAudio::stop()
{
    if (client_ == nullptr) return;
    if (active_) jack_deactivate(client_);
    active_ = false;
    processor_.store(nullptr, std::memory_order_release);
    jack_client_close(client_);
    client_ = nullptr;
}

int JackAudio::processCallback(jack_nframes_t frames, void* self)
{
    static_cast<JackAudio*>(self)->processBlock(frames);
    return 0;
}

void JackAudio::shutdownCallback(void* self)
{
    static_cast<JackAudio*>(self)->serverGone_.store(true, std::memory_order_relaxed);
}

void JackAudio::processBlock(jack_nframes_t frames)
{
    float* in[2];
    float* out[2];
    for (int c = 0; c < 2; ++c) {
        in[c] = static_cast<float*>(jack_port_get_buffer(in_[c], frames));
        out[c] = static_cast<float*>(jack_port_get_buffer(out_[c], frames));
    }
    LiveProcessor* processor = processor_.load(std::memory_order_acquire);
    if (processor == nullptr) {
        for (float* o : out) std::fill(o, o + frames, 0.0f);
        return;
    }
    // Every MIDI event of the block goes to the effect before the block, at its frame.
    void* midi = jack_port_get_buffer(midiIn_, frames);
    const uint32_t count = jack_midi_get_event_count(midi);
    for (uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t e;
        if (jack_midi_event_get(&e, midi, i) == 0) processor->events().add(static_cast<int>(e.time), e.buffer, e.size);
    }
    processor->process(in, out, static_cast<int>(frames));
}

}  // namespace orv::play
