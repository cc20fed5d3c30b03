// Horn rotor model: the radiation core with the horn's rays and direction filters, plus the
// horn's output stage (Z-axis part, voicing bank, output gain) and, for the two microphone
// models, its motor-noise player.
//
// Every call runs on the audio thread (the engine applies parameter changes at block start
// and geometry changes in its jobs). Nothing allocates after construction.
#pragma once

#include <memory>

#include "dsp/VoicingBanks.h"
#include "engine/HornRadiation.h"
#include "engine/RadiationCore.h"

namespace orv {

class RotorModel : public RadiationCore<HornRadiation> {
public:
    // Mic1 and Mic2 feed the two horn microphones (noise player variants 0 and 1, full voicing
    // bank); Leak is the horn heard at the drum microphone (short bank, no player).
    enum class Kind { Mic1, Mic2, Leak };

    static constexpr double kZDelay1 = 0.07;   // m of extra path: floor reflection
    static constexpr double kZDelay2 = 0.135;  // m of extra path: ceiling reflection
    static constexpr int kOutRingSize = 512;   // summed-ray ring for the Z-axis reads

    explicit RotorModel(Kind kind);
    ~RotorModel();

    Kind kind() const { return kind_; }

    void setOpenBackMode(int mode) { openBackMode_ = mode; }  // applied by setGeometry()
    void setZAxisGain(double gain);
    void setAmplitudeClip(double floor);

    // One model sample of input; answers the microphone signal.
    double process(double x);
    // Block forms over n model samples: y[i] (and the motor noise noise[i]) as process(x[i])
    // and noiseOutput() would give them one after the other; the pair form runs horn models 1
    // and 2 on the same input (microphone models only).
    void processBlock(const double* x, double* y, int n);
    static void processPairBlock(RotorModel& a, RotorModel& b, const double* x, double* ya, double* yb, double* noiseA,
                                 double* noiseB, int n);
    double outputGain() const { return outputGain_; }
    double openBackFactor() const { return openBack_; }

private:
    friend class RadiationCore<HornRadiation>;

    // Hooks of the core.
    void rateChanged();
    void geometryChanged();
    void delaysChanged();
    void reflectionChanged();
    void saturationChanged() {}
    void signalCleared();

    // The rays, static ray, motor noise and Z-axis part of one sample: the voicing bank's
    // input (microphone models) or the leak model's ray sum.
    // V: the lanes the rays run in (Double2, or Double4 in the AVX2 kernels).
    template <int Count, class V>
    double microphoneSum(double x);
    template <class V>
    double radiateSelected(double x);
    template <class V>
    double processWith(double x);
    // The voicing bank (the short bank for the leak model) and output gain over a block of
    // ray sums, in place.
    template <class V>
    void voiceBlock(double* y, int n);
    template <class V>
    void blockWith(const double* x, double* y, int n);
    template <class V>
    static void pairBlockWith(RotorModel& a, RotorModel& b, const double* x, double* ya, double* yb, double* noiseA,
                              double* noiseB, int n);
    // The block forms compiled for AVX2 (engine/VectorPath.h).
    void blockWide(const double* x, double* y, int n);
    static void pairBlockWide(RotorModel& a, RotorModel& b, const double* x, double* ya, double* yb, double* noiseA,
                              double* noiseB, int n);
    double readZ(double delay) const;

    Kind kind_;
    // The Z-axis part reads every ray's output at two further delays with linear
    // interpolation; a read of the summed rays is the sum of those reads, so one ring of the
    // sum (mirrored) stands for the per-ray rings.
    std::unique_ptr<double[]> outRing_;
    int outIndex_ = 0;
    HornVoicingBank bank_;
    ShortHornVoicingBank shortBank_;
    double zAxisGain_ = 0.5;
    double zSamples1_ = 0.0, zSamples2_ = 0.0;
    double zGain_ = 0.0;  // Z-axis gain × c²
    double outputGain_ = 1.0;
};

}  // namespace orv
