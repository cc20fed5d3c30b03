// The effect as the engine's owner: the engine's own parameter changes take the effect's
// setParameter and setParameterAutomated, so they reach the programs, the editor and the host
// like any other change; the rate is the one the host gave the effect.
#pragma once

#include "engine/EngineHost.h"
#include "host/AudioEffect.h"

namespace orv {

class EffectEngineHost final : public EngineHost {
public:
    explicit EffectEngineHost(AudioEffect& effect) : effect_(effect) {}

    float getSampleRate() const override { return effect_.getSampleRate(); }
    void setParameter(int index, float value) override { effect_.setParameter(index, value); }
    void setParameterAutomated(int index, float value) override { effect_.setParameterAutomated(index, value); }

private:
    AudioEffect& effect_;
};

}  // namespace orv
