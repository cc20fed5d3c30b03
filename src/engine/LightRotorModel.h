// Drum rotor model: the lighter radiation model of the bass drum (up to six rays, one
// direction filter per ray, the splitter that keeps the low band unmodulated), with the
// drum's motion and, for the microphone model, its motor-noise player.
//
// Every call runs on the audio thread (the engine applies parameter changes at block start
// and geometry changes in its jobs). Nothing allocates after construction.
#pragma once

#include <memory>

#include "dsp/BiquadBank.h"
#include "dsp/BiquadFilter.h"
#include "dsp/DrumNoisePlayer.h"
#include "dsp/VoicingBanks.h"
#include "engine/AttenuationTable.h"
#include "engine/CabinetGeometry.h"
#include "engine/EmissionRing.h"
#include "engine/RotorMotion.h"

namespace orv {

class LightRotorModel {
public:
    // Mic feeds the drum microphone (with the noise player and the split-off low band); Leak
    // is the drum heard at the horn microphones (no player, no splitter).
    enum class Kind { Mic, Leak };

    // Ray gain slots, in the order of the drum's ray parameters.
    enum RayGain : int { kRay1Front, kRay2BackSides, kRay3BackLeft, kRay4BackRight, kRayGainCount };

    static constexpr int kRays = 6;
    static constexpr int kReflectionOrders = 2;
    static constexpr double kSpeedOfSound = 340.29;   // m/s
    static constexpr double kMinFacing = -0.7;        // lower limit of the drum's facing sine
    // The drum's direction filter: a second-order low-pass that opens when the drum faces
    // the microphone (1.6 kHz, slightly resonant) and closes to a gentle 900 Hz facing away.
    static constexpr std::uint32_t kFilterType = BiquadFilter::typeLowPass2;

    explicit LightRotorModel(Kind kind);
    ~LightRotorModel();
    LightRotorModel(const LightRotorModel&) = delete;
    LightRotorModel& operator=(const LightRotorModel&) = delete;

    Kind kind() const { return kind_; }
    RotorMotion& motion() { return motion_; }
    const RotorMotion& motion() const { return motion_; }
    // The motor-noise player of the microphone model; nullptr for the leak model.
    DrumNoisePlayer* noisePlayer() { return player_.get(); }

    // Rate and decimation: motion, delays, poles, filters and noise player follow.
    void setRate(double rate, int decimation);
    // Points the noise player at the recordings (no-op for the leak model).
    void loadRecordings();

    // Geometry, applied by setGeometry() (run by the engine while muted).
    void setMicAngle(double theta);          // revolutions, 0 in front, ±0.5 behind
    void setMicDistance(double metres);      // also the noise player's distance
    void setAmRadius(double metres);
    void setFmRadius(double metres);         // acts at once on the Doppler swing
    void setAttenuation(double exponent);
    void setAttenuationDistance(double metres);
    void setDecayExponent(double p);
    // Flip sign: when it changes, the motion takes it and the model rebuilds and resets.
    void setDirection(double sign);
    void setGeometry();
    // Clears rings, angle history, filter and one-pole states; speed and angle survive.
    void reset();

    // Immediate settings.
    void setRayGain(int ray, double gain);   // RayGain slot
    void setStaticRayGain(double gain);
    void setReflectionCoefficient(double c);
    void setReflectionLpf(double octaves);
    void setStaticCutoff(double hz);         // takes effect at the next filter re-tune
    void setSplitterFrequency(double hz);
    void setLowStaticGain(double gain);
    void setFilterSaturation(double amount); // input chain and direction filters
    // Stored only (see lpfCutLow()).
    void setLpfCuts(double lowHz, double highHz);

    // Motor noise (ignored by the leak model).
    void setNoiseBaseGain(double gain);
    // The player has no acceleration loop; the accel level is kept for the engine only.
    void setNoiseLevels(double slowLevel, double fastLevel, double accelLevel);
    void setNoiseBalance(float mechRatio);
    void startNoiseTransient(double level);

    // One model sample of input; answers the microphone signal (rays and static ray).
    double process(double x);
    // The unmodulated low band offered beside the output, already scaled (0 for the leak).
    double staticLowBand() const { return lowBand_; }
    double noiseOutput() const { return noise_; }
    double reflectionGain() const { return norm_; }
    double attenuationAt(double x) const { return table_.at(x); }
    int variant() const { return geometry_.variant; }
    double angle() const { return motion_.angle(); }
    double amRadius() const { return radius_; }
    double fmRadius() const { return fmRadius_; }
    double micAngle() const { return micAngle_; }
    double micDistance() const { return micDistance_; }
    int rayCount() const { return rayCount_; }
    double lpfCutLow() const { return lpfCutLow_; }
    double lpfCutHigh() const { return lpfCutHigh_; }
    double accelNoiseLevel() const { return accelLevel_; }
    double splitterPole() const { return splitPole_; }
    const CabinetGeometry& geometry() const { return geometry_; }
    const AttenuationTable& attenuation() const { return table_; }
    int raySource(int k) const { return rays_[k].source; }
    double rayPole(int k) const { return rays_[k].pole; }

private:
    struct Ray {
        int source = 0;
        int gainSlot = 0;
        int weightPower = 0;
        int order = -1;          // reflection low-pass order, −1 none
        double delay = 0.0;      // K·dk samples
        double phiSm = 0.0;
        double halfWidth = 0.0;
        double nearScale = 0.0;  // π / (2w)
        double farScale = 0.0;   // π / (1 − 2w)
        double sm = 1.0;
        double tableBase = 0.0;  // (dk − 0.3 + R)·100
        double scale = 0.0;      // ray gain × weighting
        double pole = 0.0;
    };
    // The per-sample values of the rays field by field, lane k for ray k, so that the rays run
    // two at a time (copied from rays_ whenever those change).
    struct RayLanes {
        alignas(16) double delay[kRays];
        alignas(16) double phiSm[kRays];
        alignas(16) double halfWidth[kRays];
        alignas(16) double nearScale[kRays];
        alignas(16) double farScale[kRays];
        alignas(16) double sm[kRays];
        alignas(16) double tableBase[kRays];
        alignas(16) double scale[kRays];
        alignas(16) double pole[kRays];
        alignas(16) double lp[kRays];     // reflection low-pass states
        alignas(16) double split[kRays];  // splitter low-pass states
    };

    template <bool Split>
    double run(double x);
    // Re-tunes the direction filters of rays 0 .. count - 1 to their facing phases psi.
    void tune(const double* psi, int count);
    void assignRays();
    void updateDelays();
    void updateScales();
    void updatePoles();
    void setupFilters();
    void copyRayLanes();

    Kind kind_;
    RotorMotion motion_;
    std::unique_ptr<DrumNoisePlayer> player_;
    EmissionRing ring_;
    DrumInputChain chain_;
    CabinetGeometry geometry_;
    AttenuationTable table_;
    Ray rays_[kRays];
    int rayCount_ = 0;
    // The direction filter of every ray, lane k serving ray k. Eight lanes rather than six:
    // g++ keeps a bank of up to six lanes whole in registers and stack slots, which is slower.
    static constexpr int kFilterLanes = 8;
    BiquadBank<kFilterLanes> filter_;
    RayLanes lanes_{};

    double micAngle_ = 0.0;
    double micDistance_ = 1.0;
    double radius_ = 0.2;
    double fmRadius_ = 0.2;
    double exponent_ = 1.0;
    double fadeDistance_ = 1.0;
    double decayExponent_ = 1.0;

    double rayGain_[kRayGainCount] = {0.5, 0.5, 0.5, 0.5};
    double staticRayGain_ = 0.0;
    double reflection_ = 0.5;
    double reflectionLpf_ = 0.26;
    double staticCutoff_ = 20000.0;
    double splitFrequency_ = 100.0;
    double lowStaticGain_ = 0.5;
    double saturation_ = 0.016;
    double lpfCutLow_ = 10000.0;
    double lpfCutHigh_ = 20000.0;
    double noiseBaseGain_ = 0.0;
    double accelLevel_ = 0.0;

    double rate_ = 44100.0;
    double samplesPerMetre_ = 44100.0 / kSpeedOfSound;
    double fmSamples_ = 0.0;
    double r100_ = 0.0;
    double norm_ = 1.0;
    double staticDelay_ = 0.0;
    double staticLevel_ = 0.0;       // table × norm at the direct distance
    double staticPole_ = 0.0;        // in use
    double staticPoleTarget_ = 0.0;  // taken over at the next re-tune
    double staticLp_ = 0.0;
    double staticLow_ = 0.0;
    double splitPole_ = 0.0;
    double gainSum_ = 0.0;           // sum of the ray gains in use
    double lowBand_ = 0.0;
    double reflectionPole_[kReflectionOrders] = {};
    double noise_ = 0.0;
    bool noiseReady_ = false;
    bool snapFilters_ = true;
};

}  // namespace orv
