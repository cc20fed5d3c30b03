// Bindings of MIDI controllers to the 42 user parameters: a table per direction, the normalised
// assignment values through which bindings cross the parameter interface (parameters 42..83)
// and chunks, learn and forget state, the MIDI channel step and a changed flag.
//
// Tables and values are plain integers and floats, each written whole: processEvents reads them
// on the audio thread while the editor changes them on its own thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "params/ParameterIndex.h"

namespace orv {

class ControllerMap {
public:
    static constexpr int kNone = 999;  // no controller / no parameter
    static constexpr int kNumControllers = 128;
    static constexpr int kNumParameters = param::kNumUser;
    static constexpr int kNoneStep = 128;  // encoded step meaning "none"
    static constexpr int kNumSteps = 129;  // controllers 0..127 and none
    static constexpr int kChannelOff = 0;
    static constexpr int kChannelOmni = 17;
    static constexpr int kFirstModeController = 120;  // 120..127 are channel-mode messages
    static constexpr int kNumNames = 130;             // 128 controllers, "not assigned", empty

    ControllerMap() { reset(); }

    // (c + 0.5)/129 for a controller 0..127; anything else encodes none, 128.5/129.
    static float encode(int controller);
    // valueToStep(value, 129), none (999) for the step 128 and for values below 0 or not a number.
    static int decode(float value);

    // resetMidiMap: nothing bound, every value none, MIDI off.
    void reset();

    // Binds controller to parameter (a controller outside 0..127 binds none).
    void assignController(int parameter, int controller);
    void unassignParameter(int parameter);
    void unassignController(int controller);
    // Decoded assignment value of the parameter; 999 for none and for indices outside 0..41.
    int controllerOfParameter(int parameter) const;
    // The parameter the controller moves if its forward entry is bound, else 999.
    int parameterOfController(int controller) const;
    // Raw controller-to-parameter entry, as processEvents looks it up.
    int targetOfController(int controller) const;
    // Raw parameter-to-controller entry.
    int forwardEntry(int parameter) const;

    // setParameter(42 + k, value): stores value and binds the controller it decodes to.
    void setAssignmentValue(int parameter, float value);
    // getParameter(42 + k).
    float assignmentValue(int parameter) const;

    // Learning: the next controller below 120 binds the learn target (0..41). Answers true
    // when it made the binding (learn mode then ends; the caller tells the editor).
    bool learn(int controller);
    void startMidiLearn();
    void stopMidiLearn();
    void setLearnTarget(int parameter) { learnTarget_.store(parameter, std::memory_order_relaxed); }
    bool isLearning() const { return learning_.load(std::memory_order_relaxed); }
    int learnTarget() const { return learnTarget_.load(std::memory_order_relaxed); }
    void startMidiForget() { forgetting_.store(true, std::memory_order_relaxed); }
    void stopMidiForget() { forgetting_.store(false, std::memory_order_relaxed); }
    bool isForgetting() const { return forgetting_.load(std::memory_order_relaxed); }

    // MIDI channel step: 0 off, 1..16 that channel, 17 all channels.
    void setChannelStep(int step);
    int channelStep() const { return channelStep_.load(std::memory_order_relaxed); }
    // Whether a message with this status byte passes the channel filter (never with MIDI off).
    bool passesChannel(std::uint8_t status) const;

    void markChanged() { changed_.store(true, std::memory_order_relaxed); }
    // Answers the changed flag and clears it.
    bool takeMidiChangedFlag() { return changed_.exchange(false, std::memory_order_relaxed); }

    // Name of a controller for the MIDI panel: 0..127 the controller's name, 128 "not
    // assigned", 129 and anything else an empty text.
    static const char* controllerName(int index);

private:
    static bool isParameter(int p) { return p >= 0 && p < kNumParameters; }
    static bool isController(int c) { return c >= 0 && c < kNumControllers; }
    // Sets the forward entry and, for a controller, the reverse entry. The parameter's previous
    // controller is released when it still points at this parameter.
    void bind(int parameter, int controller);

    std::atomic<int> parameterToController_[kNumParameters];
    std::atomic<int> controllerToParameter_[kNumControllers];
    std::atomic<float> values_[kNumParameters];
    std::atomic<bool> learning_{false};
    std::atomic<int> learnTarget_{-1};
    std::atomic<bool> forgetting_{false};
    std::atomic<int> channelStep_{kChannelOff};
    std::atomic<bool> changed_{false};
};

}  // namespace orv
