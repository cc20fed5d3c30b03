// Horn rotor model: how the sound of the rotating horn reaches one microphone (direct ray and
// wall images, Doppler read, amplitude modulation, direction filters, voicing bank), with the
// horn's motion and, for the two microphone models, its motor-noise player.
//
// Interface agreed between the engine and the model; every call runs on the audio thread
// (the engine applies parameter changes at block start and geometry changes in its jobs).
#pragma once

#include "engine/RotorMotion.h"

namespace orv {

class RotorModel {
public:
    // Mic1 and Mic2 feed the two horn microphones (noise player variants 0 and 1, full voicing
    // bank); Leak is the horn heard at the drum microphone (short bank, no player).
    enum class Kind { Mic1, Mic2, Leak };

    explicit RotorModel(Kind kind);
    ~RotorModel();
    RotorModel(const RotorModel&) = delete;
    RotorModel& operator=(const RotorModel&) = delete;

    Kind kind() const;
    RotorMotion& motion();
    const RotorMotion& motion() const;

    // Rate and decimation: motion, geometry constants, filters and noise player follow.
    void setRate(double rate, int decimation);
    // Points the noise player at the recordings (no-op for the leak model).
    void loadRecordings();

    // Geometry, applied by setGeometry() (run by the engine while muted).
    void setMicAngle(double theta);          // revolutions, 0 in front, ±0.5 behind
    void setMicDistance(double metres);      // also the noise player's distance
    void setAmRadius(double metres);         // R
    void setFmRadius(double metres);
    void setAttenuation(double exponent);    // near-field exponent n = 2·v
    void setAttenuationDistance(double metres);
    void setDecayExponent(double p);
    void setOpenBackMode(int mode);
    // Flip sign: when it changes, the motion takes it and the model rebuilds and resets.
    void setDirection(double sign);
    // Recomputes image sources, attenuation table, level normalisation, variant, output gain.
    void setGeometry();
    // Clears rings, histories and filter states; speed and angle survive.
    void reset();

    // Immediate settings.
    void setRayGain(int ray, double gain);   // 0 "Horn Ray 1" .. 6 "Horn Rays 7-10"
    void setZAxisGain(double gain);
    void setStaticRayGain(double gain);
    void setReflectionCoefficient(double c);
    void setReflectionLpf(double octaves);   // L = 2·v
    void setStaticCutoff(double hz);
    void setAmplitudeClip(double floor);
    void setFilterSaturation(double amount); // 0.0008·400^v
    void setLpfCuts(double lowHz, double highHz);

    // Motor noise (ignored by the leak model).
    void setNoiseBaseGain(double gain);
    void setNoiseLevels(double slowLevel, double fastLevel, double accelLevel);
    void setNoiseBalance(float mechRatio);
    void startNoiseTransient(double level);

    // One model sample of input; answers the microphone signal.
    double process(double x);
    // The motor noise produced by the last process() (0 for the leak model).
    double noiseOutput() const;
    // Level normalisation, used by the engine as the reflection return gain.
    double reflectionGain() const;
    // Attenuation table value at distance offset index x (in the table's centimetre units).
    double attenuationAt(double x) const;
    int variant() const;
    double amRadius() const;
    double fmRadius() const;
};

}  // namespace orv
