// Drum rotor model: the lighter radiation model of the bass drum (six rays, one direction
// filter per ray, the splitter that keeps the low band unmodulated), with the drum's motion
// and, for the microphone model, its motor-noise player.
//
// Interface agreed between the engine and the model; every call runs on the audio thread
// (the engine applies parameter changes at block start and geometry changes in its jobs).
#pragma once

#include "engine/RotorMotion.h"

namespace orv {

class LightRotorModel {
public:
    // Mic feeds the drum microphone (with the noise player); Leak is the drum heard at the
    // horn microphones (no player).
    enum class Kind { Mic, Leak };

    explicit LightRotorModel(Kind kind);
    ~LightRotorModel();
    LightRotorModel(const LightRotorModel&) = delete;
    LightRotorModel& operator=(const LightRotorModel&) = delete;

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
    void setAmRadius(double metres);
    void setFmRadius(double metres);
    void setAttenuation(double exponent);
    void setAttenuationDistance(double metres);
    void setDecayExponent(double p);
    // Flip sign: when it changes, the motion takes it and the model rebuilds and resets.
    void setDirection(double sign);
    void setGeometry();
    // Clears rings, histories and filter states; speed and angle survive.
    void reset();

    // Immediate settings.
    void setRayGain(int ray, double gain);   // 0 "Drum Ray 1", 1 "Drum Ray 2", 2 "Drum Ray 3", 3 "Drum Ray 4"
    void setStaticRayGain(double gain);
    void setReflectionCoefficient(double c);
    void setReflectionLpf(double octaves);
    void setStaticCutoff(double hz);
    void setSplitterFrequency(double hz);
    void setLowStaticGain(double gain);
    void setFilterSaturation(double amount);
    void setLpfCuts(double lowHz, double highHz);

    // Motor noise (ignored by the leak model).
    void setNoiseBaseGain(double gain);
    void setNoiseLevels(double slowLevel, double fastLevel, double accelLevel);
    void setNoiseBalance(float mechRatio);
    void startNoiseTransient(double level);

    // One model sample of input; answers the microphone signal (rays and static ray).
    double process(double x);
    // The unmodulated low band offered beside the output, already scaled.
    double staticLowBand() const;
    double noiseOutput() const;
    double reflectionGain() const;
    double attenuationAt(double x) const;
    int variant() const;
    double amRadius() const;
    double fmRadius() const;
};

}  // namespace orv
