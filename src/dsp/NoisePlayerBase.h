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

    // The loops' geometry: rotor turns per fast loop, the fast and the slow loop's lengths.
    struct Loops {
        int fastTurns;
        int fastLength;
        int slowLength;
    };

    // The owner's motion model writes the gain-follow step for this rate.
    double sampleRate = 44100.0;
    double followFactor = 0.0;

    void setMicDistance(double x);
    // Levels of the slow and the fast loop.
    void setLevels(double slow, double fast)
    {
        slowLevel_ = slow;
        fastLevel_ = fast;
    }
    void setBalance(float m);
    // Restarts the one-shot transient at the given level.
    void startTransient(double level);

    bool transientPlaying() const { return transientPlaying_ != 0; }
    // Balance gains: the targets setBalance gave and where the followed gains are now.
    double loopGainTarget() const { return loopGainTarget_; }
    double transientGainTarget() const { return transientGainTarget_; }
    double loopGain() const { return loopGain_; }
    double transientGainFollow() const { return transientGainFollow_; }
    // The level and the band-pass Q that the microphone distance sets.
    double compensation() const { return compensation_; }
    double bandPassQ() const { return bandPass_.q(); }
    // Loop positions, turns of each loop.
    double slowPhase() const { return slowPhase_; }
    double fastPhase() const { return fastPhase_; }

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
        const double fastRead = p.fastPhase_ + micAngle / P::kLoops.fastTurns + p.fastOffset_;
        const double f =
            p.filterFast(InterpolateLoop(fastRead, p.fastSamples_, P::kLoops.fastLength) * p.fastLevel_ * fastGain);
        const double s =
            p.filterSlow(InterpolateLoop(p.slowRead(), p.slowSamples_, P::kLoops.slowLength) * p.slowLevel_ * slowGain);
        double sum = (s + f) * p.loopGain_;
        if (p.transientPlaying_) sum += p.nextTransientSample();
        const double y = p.bandPass_.process(sum) * p.compensation_;
        p.slowPhase_ = mechnoise::wrapTurns(p.slowPhase_ + p.slowStep(rate));
        p.fastPhase_ = mechnoise::wrapTurns(p.fastPhase_ + rate / P::kLoops.fastTurns);
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
        loopGain_ = loopGain_ + (loopGainTarget_ - loopGain_) * c + kFlush - kFlush;
        transientGainFollow_ =
            transientGainFollow_ + (transientGainTarget_ - transientGainFollow_) * c + kFlush - kFlush;
    }
    // Starts a sample: the balance gains move one step, then the loop gains follow the rotor
    // speed r (turns per sample). Below the fade zone only the slow loop sounds (growing with the square of the
    // speed), above it only the fast one: sets both gains and answers false. Inside it answers
    // true with t, the position in the zone (0..1), and leaves the gains to the player.
    bool beginSample(double r, double& slowGain, double& fastGain, double& t)
    {
        followBalance();
        if (r <= slowLimit_) {
            const double u = r * slowScale_;
            slowGain = u * u;
            fastGain = 0.0;
            return false;
        }
        if (r >= fastLimit_) {
            slowGain = 0.0;
            fastGain = 1.0;
            return false;
        }
        t = (r - slowLimit_) * fadeScale_;
        return true;
    }
    // The transient's next sample (only while it plays); it ends after the last one.
    double nextTransientSample()
    {
        const double p = transientPosition_;
        const double x = InterpolateOnce(p, transientSamples_, kTransientLength) * transientGain_ * transientLevel_ *
            transientGainFollow_;
        if (p >= 1.0) transientPlaying_ = 0;  // this last sample has still been added
        transientPosition_ = p + transientStep_;
        return x;
    }
    // Puts a filter on rate fs with its frequency kept below the rate's limit, redesigned.
    static void retune(BiquadFilter& f, double fs, double frequency);
    // The band-pass jumps to its design now and glides on later distance changes.
    void snapBandPass();
    // Stops the transient where a finished one rests.
    void stopTransient()
    {
        transientPlaying_ = 0;
        transientPosition_ = finishedPosition_;
    }

    double transientPosition_ = 1.0;  // 0..1 while playing, >= 1 when finished
    double slowLimit_ = 0.0;          // turns per sample
    double fastLimit_ = 0.0;
    double fadeScale_ = 0.0;
    double slowScale_ = 0.0;
    const float* slowSamples_ = nullptr;  // recordings, referenced in place once loaded
    const float* fastSamples_ = nullptr;
    const float* transientSamples_ = nullptr;
    std::uint32_t transientPlaying_ = 0;
    double transientLength_ = 3955.0;
    double transientStep_ = 0.0;
    double transientLevel_ = 0.0;
    double micDistance_ = 0.0;  // metres; must be set before processing
    double slowPhase_ = 0.0;    // turns of the loop
    double fastPhase_ = 0.0;
    BiquadFilter bandPass_;  // on the sum
    double slowLevel_ = 0.0;
    double fastLevel_ = 0.0;
    double compensation_ = 1.0;
    double transientGain_ = 1.0;
    double loopGain_ = 1.0;
    double loopGainTarget_ = 1.0;
    double transientGainFollow_ = 1.0;
    double transientGainTarget_ = 1.0;

private:
    DistanceLaw law_;
    double finishedPosition_;
};

}  // namespace orv
