#pragma once

// The effect's headless core (RotaryCore) driven directly, without host, program store or
// editor: EngineRig owns one, answers its engine's questions as the plug-in does, feeds it
// signals block by block and waits for its re-initialisation fades.

#include <cmath>
#include <functional>
#include <vector>

#include "engine/EngineHost.h"
#include "engine/RotaryCore.h"
#include "params/FactoryPrograms.h"
#include "params/ParameterIndex.h"
#include "support/SignalMeasures.h"

namespace orv::test {

struct StereoBuffer {
    std::vector<float> left, right;
};

inline std::vector<float> sine(double hz, double rate, long frames, double amplitude = 0.5, double phase = 0.0)
{
    std::vector<float> v(static_cast<size_t>(frames));
    for (size_t i = 0; i < v.size(); ++i)
        v[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz / rate * i + phase));
    return v;
}

// Built like the plug-in builds its core: factory program 0 applied, then every engine job run
// once, leaving the engine fading in. The engine's own parameter changes go straight back into
// the core (there is no program store or host to tell).
class EngineRig final : public EngineHost {
public:
    explicit EngineRig(double rate = 44100.0, int block = 256) : core_(*this), block_(block)
    {
        selectProgram(0);
        core_.engine().finishConstruction();
        if (rate != rate_) changeRate(rate);
    }

    float getSampleRate() const override { return rate_; }
    void setParameter(int index, float value) override { core_.setParameter(index, value); }
    void setParameterAutomated(int index, float value) override { core_.setParameter(index, value); }
    void set(int index, float value) { core_.setParameter(index, value); }
    float get(int index) const { return core_.getParameter(index); }

    // The sound of factory program k: each of its values in 0..1 set in index order.
    void selectProgram(int k)
    {
        const ProgramRecord p = FactoryPrograms::program(k);
        for (int index = 0; index < kNumUserParams; ++index)
            if (p.values[index] >= 0.0f && p.values[index] <= 1.0f) set(index, p.values[index]);
    }

    RotaryEngine& engine() { return core_.engine(); }

    // The host's way of changing the rate: suspend, tell, resume.
    void changeRate(double rate)
    {
        engine().suspend();
        rate_ = static_cast<float>(rate);
        engine().resume();
    }

    // One call of the process entry.
    template <typename Sample>
    void process(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int frames)
    {
        engine().process(inL, inR, outL, outR, frames);
    }

    // Renders the whole input in blocks; calls onBlock (if given) with the frames done after each.
    // A mono output pin (a null right output) receives only `left`.
    StereoBuffer render(const std::vector<float>& inL, const std::vector<float>& inR,
                        const std::function<void(long)>& onBlock = {}, bool mono = false)
    {
        StereoBuffer out{std::vector<float>(inL.size()), std::vector<float>(inL.size())};
        for (size_t pos = 0; pos < inL.size(); pos += block_) {
            const int frames = static_cast<int>(std::min<size_t>(block_, inL.size() - pos));
            engine().process(&inL[pos], &inR[pos], &out.left[pos], mono ? nullptr : &out.right[pos], frames);
            if (onBlock) onBlock(static_cast<long>(pos) + frames);
        }
        return out;
    }
    // Silent blocks, calling onBlock after each; allocates nothing.
    void blocks(int count, const std::function<void()>& onBlock = {})
    {
        for (int b = 0; b < count; ++b) {
            engine().process(zeros_.data(), zeros_.data(), left_.data(), right_.data(), block_);
            if (onBlock) onBlock();
        }
    }

    // Feeds silence until the engine has run its jobs and faded back in; answers the frames
    // that took, or −1 when it did not happen within `maxSeconds`.
    long settle(double maxSeconds = 2.0)
    {
        bool left = false;  // the engine has left Running at least once, or never needed to
        for (long frames = block_; frames < maxSeconds * rate_; frames += block_) {
            blocks(1);
            const int state = engine().engineState();
            left = left || state != RotaryEngine::kRunning;
            if (state == RotaryEngine::kRunning && engine().pendingJobs() == 0 && (left || frames > block_))
                return frames;
        }
        return -1;
    }

private:
    float rate_ = 44100.0f;  // the rate a host reports before it sets one
    RotaryCore core_;
    int block_;
    std::vector<float> zeros_ = std::vector<float>(block_), left_ = zeros_, right_ = zeros_;
};

inline double maxAbsDifference(const std::vector<float>& a, const std::vector<float>& b, size_t begin = 0,
                               size_t end = ~size_t{0})
{
    double m = 0.0;
    for (size_t i = begin; i < std::min({end, a.size(), b.size()}); ++i)
        m = std::max(m, std::fabs(static_cast<double>(a[i]) - b[i]));
    return m;
}

}  // namespace orv::test
