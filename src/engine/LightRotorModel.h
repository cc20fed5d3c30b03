// Drum rotor model: the radiation core with the drum's rays and direction filter, plus the
// drum's input chain and output stage (the splitter that keeps the low band unmodulated) and,
// for the microphone model, its motor-noise player.
//
// Every call runs on the audio thread (the engine applies parameter changes at block start
// and geometry changes in its jobs). Nothing allocates after construction.
#pragma once

#include "dsp/VoicingBanks.h"
#include "engine/DrumRadiation.h"
#include "engine/RadiationCore.h"

namespace orv {

class LightRotorModel : public RadiationCore<DrumRadiation> {
public:
    // Mic feeds the drum microphone (with the noise player and the split-off low band); Leak
    // is the drum heard at the horn microphones (no player, no splitter).
    enum class Kind { Mic, Leak };

    explicit LightRotorModel(Kind kind);
    ~LightRotorModel();

    Kind kind() const { return kind_; }

    void setSplitterFrequency(double hz);
    void setLowStaticGain(double gain) { lowStaticGain_ = gain; }

    // One model sample of input; answers the microphone signal (rays and static ray).
    double process(double x);
    // The input chain, then the core's feed: keeps both current while the drum is off.
    void feed(double x);
    // Block form over n model samples: y[i], lowBand[i] and noise[i] as process(x[i]),
    // staticLowBand() and noiseOutput() would give them one after the other (lowBand and
    // noise may be null: not wanted).
    void processBlock(const double* x, double* y, double* lowBand, double* noise, int n);
    // The unmodulated low band offered beside the output, already scaled (0 for the leak).
    double staticLowBand() const { return lowBand_; }
    double splitterPole() const { return splitPole_; }

private:
    friend class RadiationCore<DrumRadiation>;

    // Hooks of the core.
    void rateChanged();
    void geometryChanged() {}
    void delaysChanged() {}
    void reflectionChanged() {}
    void saturationChanged();
    void signalCleared();

    // One sample from the input chain's output `in`.
    // V: the lanes the rays run in (Double2, or Double4 in the AVX2 kernels).
    template <int Count, class V>
    double run(double in);
    template <class V>
    double fromChain(double in);
    template <class V>
    void blockWith(const double* x, double* y, double* lowBand, double* noise, int n);
    // The block form compiled for AVX2 (engine/VectorPath.h).
    void blockWide(const double* x, double* y, double* lowBand, double* noise, int n);

    Kind kind_;
    DrumInputChain chain_;
    double lowStaticGain_ = 0.5;
    double staticLow_ = 0.0;
    double lowBand_ = 0.0;
};

}  // namespace orv
