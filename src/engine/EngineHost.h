// What the engine asks of its owner: the host's sample rate, and a way to set the parameters
// the engine derives itself (set-up presets, "Size", the lever's brake, the horn's amplitude
// floor). The owner routes those through its own parameter path, so they reach the program
// store, the editor and, when automated, the host like any other change. Called from the jobs
// on the audio thread and from parameterChanged on the caller's thread; never per sample.
#pragma once

namespace orv {

class EngineHost {
public:
    virtual ~EngineHost() = default;
    // Sample rate in Hz as the host last set it.
    virtual float getSampleRate() const = 0;
    // Stores a parameter value (0..1) the engine worked out.
    virtual void setParameter(int index, float value) = 0;
    // The same, and the host records the change as automation.
    virtual void setParameterAutomated(int index, float value) = 0;
};

}  // namespace orv
