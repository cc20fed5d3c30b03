#include "engine/RotaryCore.h"

#include "params/ParameterLaws.h"

namespace orv {

RotaryCore::RotaryCore(EngineHost& owner) : engine_(std::make_unique<RotaryEngine>(owner, params_)) {}

void RotaryCore::setParameter(int index, float value)
{
    const bool changed = params_.store(index, value);
    engine_->parameterChanged(index, sanitiseParameterValue(value), changed);
}

}  // namespace orv
