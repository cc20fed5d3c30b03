// The effect's sound without a host: the parameter values and the engine that works from them,
// kept in step. The plug-in's RotaryEffect owns one and adds programs, MIDI, pins and editor;
// tests and benchmarks of the engine drive one directly.
#pragma once

#include <memory>

#include "engine/EngineHost.h"
#include "engine/RotaryEngine.h"
#include "params/ParameterSet.h"

namespace orv {

class RotaryCore {
public:
    // owner answers the engine's questions and takes the parameters the engine sets itself.
    explicit RotaryCore(EngineHost& owner);

    // A user (0..41) or internal (84..166) parameter: the value is stored as given and the
    // engine works from the value its laws accept.
    void setParameter(int index, float value);
    float getParameter(int index) const { return params_.value(index); }

    const ParameterSet& parameters() const { return params_; }
    RotaryEngine& engine() { return *engine_; }
    const RotaryEngine& engine() const { return *engine_; }

private:
    ParameterSet params_;
    std::unique_ptr<RotaryEngine> engine_;
};

}  // namespace orv
