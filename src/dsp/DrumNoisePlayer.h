#pragma once

#include <cstdint>

#include "dsp/BiquadFilter.h"

namespace orv {

// Mechanical noise of the drum rotor: a slow and a fast recording, looped in step with the
// rotor (5 and 88 turns per loop) and cross-faded by its speed, plus a one-shot clunk that
// the owner starts on a speed change. The sum passes a band-pass set by the microphone
// distance. The owning rotor writes rate, micAngle and outputGain before every process().
class DrumNoisePlayer {
public:
    static constexpr int kFastTurns = 88;               // rotor turns per fast loop
    static constexpr double kSlowTurnsPerLoop = 0.2;    // 5 rotor turns per slow loop
    static constexpr double kSlowLevelScale = 0.70794578438;  // slowLevel per levelCurve unit
    static constexpr double kFastLevelScale = 1.0;
    static constexpr double kTransientLevelScale = 0.25118864315 * 0.06294627058;

    double transientPosition = 0.0;  // 0..1 while playing, >= 1 when finished
    double sampleRate = 44100.0;
    double slowLimit = 0.0;          // turns per sample
    double fastLimit = 0.0;
    double fadeScale = 0.0;
    double slowScale = 0.0;
    double slowOffset = 0.0;         // phase offset of the slow loop
    double fastOffset = -1.0 / 704.0;  // one eighth of a turn back, in 88-turn loops
    const float* slowSamples = nullptr;  // recordings, referenced in place once loaded
    const float* fastSamples = nullptr;
    const float* transientSamples = nullptr;
    std::uint32_t transientPlaying = 0;
    double transientLength = 3955.0;
    double transientStep = 0.0;
    double transientLevel = 0.0;
    double micAngleFactor = 1.0;
    double micDistance = 0.0;        // metres; must be set before processing
    double slowPhase = 0.0;          // turns of the loop
    double fastPhase = 0.0;
    BiquadFilter lowPass;            // on the slow loop
    BiquadFilter highShelf;          // on the fast loop
    BiquadFilter bandPass;           // on the sum
    double slowLevel = 0.0;
    double fastLevel = 0.0;
    double followFactor = 0.0;       // gain-follow step, written by the owner
    double outputGain = 0.0;         // written by the owner every sample
    double micAngle = 0.0;           // turns, -0.5..0.5, written every sample
    double rate = 0.0;               // rotor speed in turns per sample, written every sample
    double compensation = 1.0;
    double transientGain = 1.0;
    double loopGain = 1.0;
    double loopGainTarget = 1.0;
    double transientGainFollow = 1.0;
    double transientGainTarget = 1.0;

    DrumNoisePlayer();

    // Points the player at the embedded recordings, stops the transient and snaps the
    // balance gains.
    void loadRecordings();
    // Clears the filters' histories; phases, gains and the transient go on.
    void clearFilters() {
        lowPass.clearHistory();
        highShelf.clearHistory();
        bandPass.clearHistory();
    }
    void setSampleRate(double fs);
    void setMicDistance(double x);
    void setBalance(float m);
    // Restarts the one-shot transient at the given level.
    void startTransient(double level);
    // One output sample.
    double process();

private:
    // The last fade position t (its bits) with the slow gain it gave; the fade filters hold
    // its designs. A NaN that no t takes stands for none.
    static constexpr std::uint64_t kNoFadePosition = 0x7ff8000000000001ull;
    std::uint64_t fadeMemoT_ = kNoFadePosition;
    double fadeMemoSlow_ = 0.0;
};

}  // namespace orv
