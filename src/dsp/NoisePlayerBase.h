#pragma once

#include <cstdint>

#include "dsp/BiquadFilter.h"
#include "dsp/Constants.h"
#include "dsp/Interpolation.h"
#include "dsp/MechanicalNoise.h"
#include "dsp/Recordings.h"

namespace orv {

// What the drum and the horn motor-noise players share: the speed cross-fade limits, the
// slow and fast loop phases and levels, the one-shot transient, the balance gains that follow
// their targets, and the band-pass on the sum whose width and level follow the microphone
// distance. The owning rotor passes its speed and microphone angle to every process() of the
// derived player and scales the output itself. No virtual calls: each player's process() runs
// mixSample() with itself, which calls the player's own fade law, filters and slow-loop steps.
class NoisePlayerBase {
public:
    // How the band-pass Q and the level follow the microphone distance x (metres):
    // Q = qPerMetre·x + qOffset, level (0.3 / x)^compensationExponent.
    struct DistanceLaw {
        double qPerMetre;
        double qOffset;
        double compensationExponent;
    };

    double transientPosition = 1.0;  // 0..1 while playing, >= 1 when finished
    double sampleRate = 44100.0;
    double slowLimit = 0.0;  // turns per sample
    double fastLimit = 0.0;
    double fadeScale = 0.0;
    double slowScale = 0.0;
    const float* slowSamples = nullptr;  // recordings, referenced in place once loaded
    const float* fastSamples = nullptr;
    const float* transientSamples = nullptr;
    std::uint32_t transientPlaying = 0;
    double transientLength = 3955.0;
    double transientStep = 0.0;
    double transientLevel = 0.0;
    double micDistance = 0.0;  // metres; must be set before processing
    double slowPhase = 0.0;    // turns of the loop
    double fastPhase = 0.0;
    BiquadFilter bandPass;  // on the sum
    double slowLevel = 0.0;
    double fastLevel = 0.0;
    double followFactor = 0.0;  // gain-follow step, written by the owner
    double compensation = 1.0;
    double transientGain = 1.0;
    double loopGain = 1.0;
    double loopGainTarget = 1.0;
    double transientGainFollow = 1.0;
    double transientGainTarget = 1.0;

    void setMicDistance(double x);
    // Levels of the slow and the fast loop.
    void setLevels(double slow, double fast)
    {
        slowLevel = slow;
        fastLevel = fast;
    }
    void setBalance(float m);
    // Restarts the one-shot transient at the given level.
    void startTransient(double level);

protected:
    NoisePlayerBase(const DistanceLaw& law, double finishedPosition) : law_(law), finishedPosition_(finishedPosition) {}

    // One output sample of player p at rotor speed `rate` (turns per sample) and microphone
    // angle `micAngle` (turns): the loop gains from the speed (inside the fade zone p's fadeGains
    // sets them), the fast loop locked to the rotor and moved by the angle, the slow loop, each
    // through p's filter for it, the transient, the band-pass; then both loops move on.
    template <class P>
    static double mixSample(P& p, double rate, double micAngle)
    {
        double slowGain;
        double fastGain;
        double t = 0.0;
        if (p.beginSample(rate, slowGain, fastGain, t)) p.fadeGains(t, slowGain, fastGain);
        const double fastRead = p.fastPhase + micAngle / P::kFastTurns + p.fastOffset;
        const double f =
            p.filterFast(InterpolateLoop(fastRead, p.fastSamples, P::kFastLoopLength) * p.fastLevel * fastGain);
        const double s =
            p.filterSlow(InterpolateLoop(p.slowRead(), p.slowSamples, P::kSlowLoopLength) * p.slowLevel * slowGain);
        double sum = (s + f) * p.loopGain;
        if (p.transientPlaying) sum += p.nextTransientSample();
        const double y = p.bandPass.process(sum) * p.compensation;
        p.slowPhase = mechnoise::wrapTurns(p.slowPhase + p.slowStep(rate));
        p.fastPhase = mechnoise::wrapTurns(p.fastPhase + rate / P::kFastTurns);
        return y;
    }

    // Points the player at the recordings, stops the transient and snaps the balance gains.
    void useRecordings(const float* slow, const float* fast, const float* transient);
    // The rate-dependent steps at fs (at least the players' lowest rate): limits, transient
    // step, follow factor; stops the transient and restarts both loops. Returns the rate used.
    double prepareRate(double fs);
    // Moves the balance gains one sample towards their targets.
    void followBalance()
    {
        const double c = followFactor;
        loopGain = loopGain + (loopGainTarget - loopGain) * c + kFlush - kFlush;
        transientGainFollow = transientGainFollow + (transientGainTarget - transientGainFollow) * c + kFlush - kFlush;
    }
    // Starts a sample: the balance gains move one step, then the loop gains follow the rotor
    // speed r (turns per sample). Below the fade zone only the slow loop sounds (growing with the square of the
    // speed), above it only the fast one: sets both gains and answers false. Inside it answers
    // true with t, the position in the zone (0..1), and leaves the gains to the player.
    bool beginSample(double r, double& slowGain, double& fastGain, double& t)
    {
        followBalance();
        if (r <= slowLimit) {
            const double u = r * slowScale;
            slowGain = u * u;
            fastGain = 0.0;
            return false;
        }
        if (r >= fastLimit) {
            slowGain = 0.0;
            fastGain = 1.0;
            return false;
        }
        t = (r - slowLimit) * fadeScale;
        return true;
    }
    // The transient's next sample (only while it plays); it ends after the last one.
    double nextTransientSample()
    {
        const double p = transientPosition;
        const double x = InterpolateOnce(p, transientSamples, kTransientLength) * transientGain * transientLevel *
            transientGainFollow;
        if (p >= 1.0) transientPlaying = 0;  // this last sample has still been added
        transientPosition = p + transientStep;
        return x;
    }
    // Puts a filter on rate fs with its frequency kept below the rate's limit, redesigned.
    static void retune(BiquadFilter& f, double fs, double frequency);
    // The band-pass jumps to its design now and glides on later distance changes.
    void snapBandPass();
    // Stops the transient where a finished one rests.
    void stopTransient()
    {
        transientPlaying = 0;
        transientPosition = finishedPosition_;
    }

private:
    DistanceLaw law_;
    double finishedPosition_;
};

}  // namespace orv
