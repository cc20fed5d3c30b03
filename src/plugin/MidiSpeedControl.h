// What a MIDI controller does on the rotary effect once it moved a bound parameter: it shows
// itself in the editor's last-controller indicator, and a controller bound to "Speed" works the
// lever the way "SpdMode" chooses (Default, TremDwn, TremUp, Trigger) instead of setting Speed.
#pragma once

#include <atomic>

namespace orv {

class CMidiPresetSystemEffect;

class MidiSpeedControl {
public:
    enum class SpeedMode { Default = 0, TremDwn = 1, TremUp = 2, Trigger = 3 };

    // Controller `controller` bound to `parameter` moved to value (0..1).
    void controllerMoved(CMidiPresetSystemEffect& effect, int parameter, int controller, float value);
    // Trigger mode forgets whether the last message was a press or a release; the next press
    // only arms it. Called when "LvrMode" is set.
    void resetTrigger() { trigger.store(kNeither, std::memory_order_relaxed); }

private:
    static constexpr int kNeither = 0;
    static constexpr int kPressed = 1;
    static constexpr int kReleased = 2;

    std::atomic<int> trigger{kNeither};
};

}  // namespace orv
