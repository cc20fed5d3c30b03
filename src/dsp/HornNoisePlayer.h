#pragma once

#include <cstdint>

#include "dsp/BiquadFilter.h"

namespace orv {

// Mechanical noise of a horn rotor: a slow motor-hum loop played at its own speed (one of two
// takes, chosen by the variant), a fast loop locked to the rotor (34 turns per loop, the two
// variants 8 turns apart), cross-faded by speed, plus the one-shot clunk of a speed change.
// The sum passes a band-pass set by the microphone distance. The owning rotor writes rate,
// micAngle and outputGain before every process().
class HornNoisePlayer {
public:
    static constexpr int kFastTurns = 34;  // rotor turns per fast loop
    static constexpr double kSlowLevelScale = 5.01187233627;  // slowLevel per levelCurve unit
    static constexpr double kFastLevelScale = 6.3095734448;
    static constexpr double kTransientLevelScale = 0.25118864315 * 0.99763115748;

    int variant;                     // 0 or 1
    double transientPosition = 1.0;  // 0..1 while playing, >= 1 when finished
    double sampleRate = 44100.0;
    double slowLimit = 0.0;          // turns per sample
    double fastLimit = 0.0;
    double fadeScale = 0.0;
    double slowScale = 0.0;
    double fastOffset;               // in 34-turn loops
    const float* slowSamples = nullptr;  // recordings, referenced in place once loaded
    const float* fastSamples = nullptr;
    const float* transientSamples = nullptr;
    std::uint32_t transientPlaying = 0;
    double transientLength = 3955.0;
    double transientStep = 0.0;
    double transientLevel = 0.0;
    double micAngleFactor = -1.0;    // applied with the opposite sign
    double micDistance = 0.0;        // metres; must be set before processing
    double slowPhase = 0.0;          // turns of the loop
    double fastPhase = 0.0;
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

    explicit HornNoisePlayer(int variant);

    // Points the player at the embedded recordings (slow take by variant), stops the
    // transient and snaps the balance gains.
    void loadRecordings();
    // Clears the band-pass history; phases, gains and the transient go on.
    void clearFilters() { bandPass.clearHistory(); }
    void setSampleRate(double fs);
    void setMicDistance(double x);
    void setBalance(float m);
    // Restarts the one-shot transient at the given level.
    void startTransient(double level);
    // One output sample.
    double process();
};

}  // namespace orv
