#pragma once

// The effect's headless core (RotaryCore) driven directly, without host, program store or
// editor: CoreDriver owns one, answers its engine's questions as the plug-in does, and offers
// the plug-in's process entries. EngineRig adds helpers to feed it signals block by block and to
// wait for its re-initialisation fades.

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "engine/EngineHost.h"
#include "engine/RotaryCore.h"
#include "params/FactoryPrograms.h"
#include "params/ParameterIndex.h"

namespace orv::test {

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
};

inline std::vector<float> sine(double hz, double rate, long frames, double amplitude = 0.5, double phase = 0.0) {
    std::vector<float> v(static_cast<size_t>(frames));
    const double w = 2.0 * M_PI * hz / rate;
    for (long i = 0; i < frames; ++i) v[static_cast<size_t>(i)] = static_cast<float>(amplitude * std::sin(w * i + phase));
    return v;
}

// Built like the plug-in builds its core: factory program 0 applied, then every engine job run
// once, leaving the engine fading in. The engine's own parameter changes go straight back into
// the core (there is no program store or host to tell).
class CoreDriver final : public EngineHost {
public:
    CoreDriver() : core_(*this) {
        selectProgram(0);
        core_.engine().finishConstruction();
    }

    float getSampleRate() const override { return rate_; }
    void setParameter(int index, float value) override { core_.setParameter(index, value); }
    void setParameterAutomated(int index, float value) override { core_.setParameter(index, value); }
    float getParameter(int index) const { return core_.getParameter(index); }

    // The sound of factory program k: each of its values in 0..1 set in index order.
    void selectProgram(int k) {
        const ProgramRecord p = FactoryPrograms::program(k);
        for (int index = 0; index < kNumUserParams; ++index) {
            if (p.values[index] >= 0.0f && p.values[index] <= 1.0f) setParameter(index, p.values[index]);
        }
    }

    // The host's calls; a null right output is a mono output pin.
    void setSampleRate(float rate) { rate_ = rate; }
    void suspend() { core_.engine().suspend(); }
    void resume() { core_.engine().resume(); }
    void processReplacing(float** in, float** out, int frames) { process(in, out, frames); }
    void processDoubleReplacing(double** in, double** out, int frames) { process(in, out, frames); }

    RotaryEngine& audioEngine() { return core_.engine(); }
    double hornAngle() const { return core_.engine().hornAngle(); }
    double drumAngle() const { return core_.engine().drumAngle(); }

private:
    template <typename Sample>
    void process(Sample** in, Sample** out, int frames) {
        core_.engine().process(in[0], in[1], out[0], out[1], frames);
    }

    float rate_ = 44100.0f;  // the rate a host reports before it sets one
    RotaryCore core_;
};

class EngineRig {
public:
    explicit EngineRig(double rate = 44100.0, int block = 256) : block_(block) {
        fx_ = std::make_unique<CoreDriver>();
        if (rate != 44100.0) changeRate(rate);
    }

    CoreDriver& fx() { return *fx_; }
    const RotaryEngine& engine() const { return fx_->audioEngine(); }
    double rate() const { return fx_->getSampleRate(); }
    int block() const { return block_; }

    // The host's way of changing the rate: suspend, tell, resume.
    void changeRate(double rate) {
        fx_->suspend();
        fx_->setSampleRate(static_cast<float>(rate));
        fx_->resume();
    }

    void set(int index, float value) { fx_->setParameter(index, value); }

    // Processes one block of at most block() frames starting at `offset` of the inputs.
    void processBlock(const float* inL, const float* inR, float* outL, float* outR, int frames) {
        float* in[2] = {const_cast<float*>(inL), const_cast<float*>(inR)};
        float* out[2] = {outL, outR};
        fx_->processReplacing(in, out, frames);
    }

    // Renders the whole input in blocks; calls onBlock (if given) after every block.
    StereoBuffer render(const std::vector<float>& inL, const std::vector<float>& inR,
                        const std::function<void(long)>& onBlock = {}) {
        StereoBuffer out;
        const long n = static_cast<long>(inL.size());
        out.left.assign(inL.size(), 0.0f);
        out.right.assign(inL.size(), 0.0f);
        for (long pos = 0; pos < n; pos += block_) {
            const int frames = static_cast<int>(std::min<long>(block_, n - pos));
            processBlock(&inL[pos], &inR[pos], &out.left[pos], &out.right[pos], frames);
            if (onBlock) onBlock(pos + frames);
        }
        return out;
    }

    // Feeds silence until the engine has run its jobs and faded back in; answers the number of
    // frames that took, or −1 when it did not happen within `maxSeconds`.
    long settle(double maxSeconds = 2.0) {
        std::vector<float> zeros(static_cast<size_t>(block_), 0.0f), l(zeros), r(zeros);
        const long limit = static_cast<long>(maxSeconds * rate());
        long frames = 0;
        bool left = false;  // the engine has left Running at least once, or never needed to
        while (frames < limit) {
            processBlock(zeros.data(), zeros.data(), l.data(), r.data(), block_);
            frames += block_;
            if (engine().engineState() != RotaryEngine::kRunning) left = true;
            if (engine().engineState() == RotaryEngine::kRunning && engine().pendingJobs() == 0 &&
                (left || frames > block_))
                return frames;
        }
        return -1;
    }

private:
    int block_;
    std::unique_ptr<CoreDriver> fx_;
};

// Root mean square of v[begin, end).
inline double rms(const std::vector<float>& v, size_t begin, size_t end) {
    double s = 0.0;
    for (size_t i = begin; i < end; ++i) s += static_cast<double>(v[i]) * v[i];
    return end > begin ? std::sqrt(s / static_cast<double>(end - begin)) : 0.0;
}

inline double maxAbsDifference(const std::vector<float>& a, const std::vector<float>& b, size_t begin, size_t end) {
    double m = 0.0;
    for (size_t i = begin; i < end; ++i) m = std::max(m, std::fabs(static_cast<double>(a[i]) - b[i]));
    return m;
}

inline bool allFinite(const std::vector<float>& v) {
    for (float x : v)
        if (!std::isfinite(x)) return false;
    return true;
}

}  // namespace orv::test
