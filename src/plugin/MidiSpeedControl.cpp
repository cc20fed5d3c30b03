#include "plugin/MidiSpeedControl.h"

#include "params/ParameterIndex.h"
#include "params/ParameterLaws.h"
#include "plugin/CMidiPresetSystemEffect.h"

namespace orv {

void MidiSpeedControl::controllerMoved(CMidiPresetSystemEffect& effect, int parameter, int controller, float value)
{
    effect.showLastController(controller);
    if (parameter != param::kSpeed) {
        effect.setParameter(parameter, value);
        return;
    }
    constexpr int kSpeedModes = 4;
    constexpr float kPressThreshold = 0.5f;  // values from 64 up press the switch
    const bool press = value >= kPressThreshold;
    const float pressed = press ? 1.0f : 0.0f;
    // Lever first, then Speed; both reach the host as automation.
    const float mode = sanitiseParameterValue(effect.getParameter(param::kSpdMode));
    switch (static_cast<SpeedMode>(switchPosition(mode, kSpeedModes))) {
    case SpeedMode::Default:
        // Speed is left alone: the lever is sent again as it is, then thrown.
        effect.setParameterAutomated(param::kLever, effect.getParameter(param::kLever));
        effect.setParameterAutomated(param::kLever, pressed);
        break;
    case SpeedMode::TremDwn:
        effect.setParameterAutomated(param::kLever, pressed);
        effect.setParameterAutomated(param::kSpeed, pressed);
        break;
    case SpeedMode::TremUp:
        effect.setParameterAutomated(param::kLever, 1.0f - pressed);
        effect.setParameterAutomated(param::kSpeed, 1.0f - pressed);
        break;
    case SpeedMode::Trigger:
        if (!press) {
            trigger.store(kReleased, std::memory_order_relaxed);
            break;
        }
        if (trigger.load(std::memory_order_relaxed) == kReleased) {
            // 1 for a lever at 0, 0 for a lever at 1.
            constexpr float kToggleOffset = 1.5f;
            const float y = static_cast<float>(
                static_cast<int>(kToggleOffset - sanitiseParameterValue(effect.getParameter(param::kLever))));
            effect.setParameterAutomated(param::kLever, y);
            effect.setParameterAutomated(param::kSpeed, y);
        }
        trigger.store(kPressed, std::memory_order_relaxed);
        break;
    }
}

}  // namespace orv
