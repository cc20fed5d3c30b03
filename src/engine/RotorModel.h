// Horn rotor model: how the sound of the rotating horn reaches one microphone (direct ray and
// wall images, Doppler read, amplitude modulation, direction filters, voicing bank), with the
// horn's motion and, for the two microphone models, its motor-noise player.
//
// Every call runs on the audio thread (the engine applies parameter changes at block start
// and geometry changes in its jobs). Nothing allocates after construction.
#pragma once

#include <memory>

#include "dsp/BiquadBank.h"
#include "dsp/BiquadFilter.h"
#include "dsp/HornNoisePlayer.h"
#include "dsp/VoicingBanks.h"
#include "engine/AttenuationTable.h"
#include "engine/CabinetGeometry.h"
#include "engine/EmissionRing.h"
#include "engine/RotorMotion.h"

namespace orv {

class RotorModel {
public:
    // Mic1 and Mic2 feed the two horn microphones (noise player variants 0 and 1, full voicing
    // bank); Leak is the horn heard at the drum microphone (short bank, no player).
    enum class Kind { Mic1, Mic2, Leak };

    // Ray gain slots, in the order of the horn's ray parameters.
    enum RayGain : int {
        kRay1Front, kRay2BackSides, kRay3BackRight, kRay4BackLeft, kRay5, kRay6, kRays7to10,
        kRayGainCount
    };

    static constexpr int kMaxRays = 11;         // ten rays, plus the near side wall off axis
    static constexpr int kLeakRays = 3;         // direct, back wall, side wall
    static constexpr int kReflectionOrders = 5;
    static constexpr double kSpeedOfSound = 340.29;          // m/s
    static constexpr double kOpenBackFactor = 0.50118723362;  // −6 dB
    static constexpr double kMaxRayGain = 100.0;              // upper clamp of a ray's amplitude
    static constexpr double kZDelay1 = 0.07;    // m of extra path: floor reflection
    static constexpr double kZDelay2 = 0.135;   // m of extra path: ceiling reflection
    static constexpr int kOutRingSize = 512;    // summed-ray ring for the Z-axis reads

    explicit RotorModel(Kind kind);
    ~RotorModel();
    RotorModel(const RotorModel&) = delete;
    RotorModel& operator=(const RotorModel&) = delete;

    Kind kind() const { return kind_; }
    RotorMotion& motion() { return motion_; }
    const RotorMotion& motion() const { return motion_; }
    // The motor-noise player of the microphone models; nullptr for the leak model.
    HornNoisePlayer* noisePlayer() { return player_.get(); }

    // Rate and decimation: motion, delays, poles, filters and noise player follow.
    void setRate(double rate, int decimation);
    // Points the noise player at the recordings (no-op for the leak model).
    void loadRecordings();

    // Geometry, applied by setGeometry() (run by the engine while muted).
    void setMicAngle(double theta);          // revolutions, 0 in front, ±0.5 behind
    void setMicDistance(double metres);      // also the noise player's distance
    void setAmRadius(double metres);         // R
    void setFmRadius(double metres);         // acts at once on the Doppler swing
    void setAttenuation(double exponent);    // near-field exponent n = 2·v
    void setAttenuationDistance(double metres);
    void setDecayExponent(double p);
    void setOpenBackMode(int mode);
    // Flip sign: when it changes, the motion takes it and the model rebuilds and resets.
    void setDirection(double sign);
    // Recomputes image sources, attenuation table, level normalisation, variant, output gain.
    void setGeometry();
    // Clears rings, angle history, filter and one-pole states; speed and angle survive.
    void reset();

    // Immediate settings.
    void setRayGain(int ray, double gain);   // RayGain slot
    void setZAxisGain(double gain);
    void setStaticRayGain(double gain);
    void setReflectionCoefficient(double c);
    void setReflectionLpf(double octaves);   // L = 2·v, octaves per reflection
    void setStaticCutoff(double hz);
    void setAmplitudeClip(double floor);
    void setFilterSaturation(double amount); // 0.0008·400^v
    // Stored only (see lpfCutLow()).
    void setLpfCuts(double lowHz, double highHz);

    // Motor noise (ignored by the leak model).
    void setNoiseBaseGain(double gain);
    // The players have no acceleration loop; the accel level is kept for the engine only.
    void setNoiseLevels(double slowLevel, double fastLevel, double accelLevel);
    void setNoiseBalance(float mechRatio);
    void startNoiseTransient(double level);

    // One model sample of input; answers the microphone signal.
    double process(double x);
    // Horn models 1 and 2 on the same input sample: the same results as a.process(x) and
    // b.process(x), faster (their voicing banks run interleaved). Microphone models only.
    static void processPair(RotorModel& a, RotorModel& b, double x, double& ya, double& yb);
    // The motor noise produced by the last process() (0 for the leak model).
    double noiseOutput() const { return noise_; }
    // Level normalisation, used by the engine as the reflection return gain.
    double reflectionGain() const { return norm_; }
    // Attenuation table value at distance offset index x (in the table's centimetre units).
    double attenuationAt(double x) const { return table_.at(x); }
    int variant() const { return geometry_.variant; }
    double angle() const { return motion_.angle(); }
    double amRadius() const { return radius_; }
    double fmRadius() const { return fmRadius_; }
    double micAngle() const { return micAngle_; }
    double micDistance() const { return micDistance_; }
    double outputGain() const { return outputGain_; }
    double openBackFactor() const { return openBack_; }
    int rayCount() const { return rayCount_; }
    double lpfCutLow() const { return lpfCutLow_; }
    double lpfCutHigh() const { return lpfCutHigh_; }
    double accelNoiseLevel() const { return accelLevel_; }
    const CabinetGeometry& geometry() const { return geometry_; }
    const AttenuationTable& attenuation() const { return table_; }
    // Image source feeding ray k in the current variant (or leak set).
    int raySource(int k) const { return rays_[k].source; }
    // Pole of the one-pole low-pass after ray k (0: none).
    double rayPole(int k) const { return rays_[k].pole; }

private:
    struct Ray {
        int source = 0;          // image source index
        int gainSlot = 0;        // RayGain slot, or −1 for the leak's reflected rays
        int weightPower = 0;     // power of c in the reflection weighting
        bool openBack = false;   // takes the open-back factor
        int order = -1;          // reflection low-pass order, −1 none
        double delay = 0.0;      // K·dk samples
        double phiSm = 0.0;      // φk·smk
        double halfWidth = 0.0;
        double nearScale = 0.0;  // π / (2w)
        double farScale = 0.0;   // π / (1 − 2w)
        double sm = 1.0;
        double tableBase = 0.0;  // (dk − 0.3 + R)·100
        double scale = 0.0;      // ray gain × weighting
        double pole = 0.0;       // one-pole low-pass after the ray (0 passes)
    };
    // The per-sample values of the rays field by field, lane k for ray k, so that the rays run
    // two at a time (copied from rays_ whenever those change).
    struct RayLanes {
        alignas(16) double delay[kMaxRays + 1];
        alignas(16) double phiSm[kMaxRays + 1];
        alignas(16) double halfWidth[kMaxRays + 1];
        alignas(16) double nearScale[kMaxRays + 1];
        alignas(16) double farScale[kMaxRays + 1];
        alignas(16) double sm[kMaxRays + 1];
        alignas(16) double tableBase[kMaxRays + 1];
        alignas(16) double scale[kMaxRays + 1];
        alignas(16) double pole[kMaxRays + 1];
        alignas(16) double lp[kMaxRays + 1];  // reflection low-pass states
    };

    enum class ProcessKind { Front, Side, Leak };

    // The rays, static ray, motor noise and Z-axis part of one sample: the voicing bank's
    // input (microphone models) or the leak model's ray sum.
    template <int RayCount, bool Mic>
    double radiate(double x);
    double radiateSelected(double x);
    double readZ(double delay) const;
    // Re-tunes the direction filters of rays 0 .. count - 1 to their facing phases psi.
    void tune(const double* psi, int count);
    void assignRays();
    void updateDelays();
    void updateScales();
    void updatePoles();
    void updateStaticGain();
    void setupFilters();
    void copyRayLanes();

    Kind kind_;
    RotorMotion motion_;
    std::unique_ptr<HornNoisePlayer> player_;
    EmissionRing ring_;
    // The Z-axis part reads every ray's output at two further delays with linear
    // interpolation; a read of the summed rays is the sum of those reads, so one ring of the
    // sum (mirrored) stands for the per-ray rings.
    std::unique_ptr<double[]> outRing_;
    int outIndex_ = 0;
    HornVoicingBank bank_;
    ShortHornVoicingBank shortBank_;
    CabinetGeometry geometry_;
    AttenuationTable table_;
    Ray rays_[kMaxRays];
    int rayCount_ = 0;
    // The two direction filters of every ray, lane k serving ray k.
    static constexpr int kFilterLanes = kMaxRays + 1;  // lanes come in pairs
    BiquadBank<kFilterLanes> filterA_;
    BiquadBank<kFilterLanes> filterB_;
    RayLanes lanes_{};
    ProcessKind processKind_ = ProcessKind::Front;

    // Geometry inputs.
    double micAngle_ = 0.0;
    double micDistance_ = 1.0;
    double radius_ = 0.2;
    double fmRadius_ = 0.2;
    double exponent_ = 1.0;
    double fadeDistance_ = 1.0;
    double decayExponent_ = 1.0;
    int openBackMode_ = 0;

    // Immediate settings.
    double rayGain_[kRayGainCount] = {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
    double zAxisGain_ = 0.5;
    double staticRayGain_ = 0.5;
    double reflection_ = 0.5;
    double reflectionLpf_ = 0.7;
    double staticCutoff_ = 2000.0;
    double clip_ = 0.8;
    double saturation_ = 0.0;
    double lpfCutLow_ = 200.0;
    double lpfCutHigh_ = 20000.0;
    double noiseBaseGain_ = 0.0;
    double accelLevel_ = 0.0;

    // Derived.
    double rate_ = 44100.0;
    double samplesPerMetre_ = 44100.0 / kSpeedOfSound;
    double fmSamples_ = 0.0;
    double r100_ = 0.0;              // R in table entries
    double norm_ = 1.0;
    double outputGain_ = 1.0;
    double openBack_ = 1.0;
    double staticDelay_ = 0.0;
    double staticLevel_ = 0.0;       // table × norm at the direct distance, before the clip
    double staticGain_ = 0.0;        // clipped level × static ray gain
    double staticPole_ = 0.0;        // static-ray low-pass (the leak model's own pole for the leak)
    double staticLp_ = 0.0;
    double zSamples1_ = 0.0, zSamples2_ = 0.0;
    double zGain_ = 0.0;             // Z-axis gain × c²
    double reflectionPole_[kReflectionOrders] = {};
    double noise_ = 0.0;
    bool noiseReady_ = false;
    bool snapFilters_ = true;        // the next re-tune jumps instead of gliding
};

}  // namespace orv
