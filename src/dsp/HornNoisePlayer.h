#pragma once

#include "dsp/NoisePlayerBase.h"

namespace orv {

// Mechanical noise of a horn rotor: a slow motor-hum loop played at its own speed (one of two
// takes, chosen by the variant), a fast loop locked to the rotor (34 turns per loop, the two
// variants 8 turns apart), cross-faded by speed, plus the one-shot clunk of a speed change.
// The sum passes a band-pass set by the microphone distance.
class HornNoisePlayer : public NoisePlayerBase {
public:
    static constexpr Loops kLoops{34, kHornFastLoopLength, kHornSlowLoopLength};  // 34 rotor turns per fast loop

    explicit HornNoisePlayer(int variant);

    // Points the player at the embedded recordings (slow take by variant), stops the
    // transient and snaps the balance gains.
    void loadRecordings();
    // Clears the band-pass history; phases, gains and the transient go on.
    void clearFilters() { bandPass_.clearHistory(); }
    void setSampleRate(double fs);
    // One output sample at rotor speed `rate` (turns per sample) and microphone angle
    // `micAngle` (turns, -0.5..0.5), before the owner's output gain.
    double process(double rate, double micAngle) { return mixSample(*this, rate, micAngle); }

private:
    friend class NoisePlayerBase;
    // Inside the fade zone: slow (1 - 2.5 t)^2 until t = 0.4, fast t^4.
    static void fadeGains(double t, double& slowGain, double& fastGain);
    static double filterFast(double x) { return x; }
    static double filterSlow(double x) { return x; }
    double slowRead() const { return slowPhase_; }
    // The slow take runs at its own recorded speed whatever the rotor does.
    double slowStep(double) const { return slowStep_; }

    int variant_;            // 0 or 1
    double fastOffset_;      // in 34-turn loops
    double slowStep_ = 0.0;  // loops of the slow take per sample, set with the rate
};

}  // namespace orv
