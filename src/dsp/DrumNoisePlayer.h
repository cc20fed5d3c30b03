#pragma once

#include <cstdint>

#include "dsp/NoisePlayerBase.h"

namespace orv {

// Mechanical noise of the drum rotor: a slow and a fast recording, looped in step with the
// rotor (5 and 88 turns per loop) and cross-faded by its speed, plus a one-shot clunk that
// the owner starts on a speed change. The sum passes a band-pass set by the microphone
// distance.
class DrumNoisePlayer : public NoisePlayerBase {
public:
    static constexpr Loops kLoops{88, kDrumFastLoopLength, kDrumSlowLoopLength};  // 88 rotor turns per fast loop
    static constexpr double kSlowTurnsPerLoop = 0.2;                              // 5 rotor turns per slow loop

    DrumNoisePlayer();

    // Points the player at the embedded recordings, stops the transient and snaps the
    // balance gains.
    void loadRecordings();
    // Clears the filters' histories; phases, gains and the transient go on.
    void clearFilters()
    {
        lowPass_.clearHistory();
        highShelf_.clearHistory();
        bandPass_.clearHistory();
    }
    void setSampleRate(double fs);
    // One output sample at rotor speed `rate` (turns per sample) and microphone angle
    // `micAngle` (turns, -0.5..0.5), before the owner's output gain.
    double process(double rate, double micAngle) { return mixSample(*this, rate, micAngle); }

private:
    friend class NoisePlayerBase;
    // In the fade zone the slow loop darkens and the fast loop's shelf opens; outside it the
    // filters keep their last settings.
    void fadeGains(double t, double& slowGain, double& fastGain);
    double filterFast(double x) { return highShelf_.process(x); }
    double filterSlow(double x) { return lowPass_.process(x); }
    double slowRead() const { return slowOffset_ + slowPhase_; }
    double slowStep(double rate) const { return kSlowTurnsPerLoop * rate; }

    double slowOffset_ = 0.0;           // phase offset of the slow loop
    double fastOffset_ = -1.0 / 704.0;  // one eighth of a turn back, in 88-turn loops
    BiquadFilter lowPass_;              // on the slow loop
    BiquadFilter highShelf_;            // on the fast loop

    // The last fade position t (its bits) with the slow gain it gave; the fade filters hold
    // its designs. A NaN that no t takes stands for none.
    static constexpr std::uint64_t kNoFadePosition = 0x7ff8000000000001ull;
    std::uint64_t fadeMemoT_ = kNoFadePosition;
    double fadeMemoSlow_ = 0.0;
};

}  // namespace orv
