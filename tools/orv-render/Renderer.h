// Streams an AudioSource through a loaded effect into a SoundFileSink, block by block, with
// parameter changes and MIDI control changes at given frames.
#pragma once

#include <csignal>
#include <string>
#include <vector>

#include "hostlib/PluginHost.h"

namespace orv {

class AudioSource;
class SoundFileSink;
class ProgressBar;

class Renderer {
public:
    static constexpr int kOutputChannels = 2;  // the output file is always stereo

    Renderer(PluginHost& host, bool useDouble) : host_(host), useDouble_(useDouble) {}

    void addParameterChange(long frame, int index, float value);
    // channel counts from 1.
    void addControlChange(long frame, int channel, int controller, int value);

    // Renders the whole source. A set stop flag (from a signal handler) ends it early with
    // false and "interrupted" as the reason.
    bool run(AudioSource& source, SoundFileSink& sink, ProgressBar& progress, const volatile std::sig_atomic_t& stop,
             std::string& error);

private:
    struct ParameterChange {
        long frame;
        int index;
        float value;
    };
    struct ControlChange {
        long frame;
        int channel;
        int controller;
        int value;
    };

    void feedInputs(const float* interleaved, int sourceChannels, long frames);
    void processSegment(long start, int offset, int frames);

    PluginHost& host_;
    bool useDouble_;
    std::vector<ParameterChange> parameterChanges_;
    std::vector<ControlChange> controlChanges_;
    size_t nextParameter_ = 0;
    size_t nextControl_ = 0;

    std::vector<std::vector<float>> inputs_, outputs_;  // one buffer per effect pin
    std::vector<const float*> inPtrs_;
    std::vector<float*> outPtrs_;
};

}  // namespace orv
