// The radiation core of a rotor model: how the sound of a turning rotor reaches a microphone
// along its rays (retarded angle, facing phase, Doppler read, amplitude modulation, direction
// filters, reflection weighting and low-pass) beside a static ray, with the rotor's motion and
// its motor-noise player. The horn and drum models (RotorModel, LightRotorModel) are its two
// faces: Traits holds what sets them apart as data and compile-time switches, and names the
// face, which adds its own output stage (voicing banks, Z-axis part, low band).
//
// Every call runs on the audio thread (the engine applies parameter changes at block start
// and geometry changes in its jobs). Nothing allocates after construction.
#pragma once

#include <memory>

#include "dsp/BiquadBank.h"
#include "dsp/BiquadFilter.h"
#include "dsp/Constants.h"
#include "dsp/Interpolation.h"
#include "dsp/InterpolationLanes.h"
#include "engine/AttenuationTable.h"
#include "engine/CabinetGeometry.h"
#include "engine/EmissionRing.h"
#include "engine/RayLayout.h"
#include "engine/RotorMotion.h"

namespace orv {

template <class Traits>
class RadiationCore : public Traits {
public:
    using Player = typename Traits::Player;
    using Face = typename Traits::Face;

    static constexpr double kOpenBackFactor = 0.50118723362;  // −6 dB
    static constexpr double kMaxRayGain = 100.0;              // upper clamp of a ray's amplitude

    RadiationCore(const RadiationCore&) = delete;
    RadiationCore& operator=(const RadiationCore&) = delete;

    RotorMotion& motion() { return motion_; }
    const RotorMotion& motion() const { return motion_; }
    // The motor-noise player of the microphone models; nullptr for the leak models.
    Player* noisePlayer() { return player_.get(); }

    // Rate and decimation: motion, delays, poles, filters, noise player and the face follow.
    void setRate(double rate, int decimation);
    // Points the noise player at the recordings (no-op for the leak models).
    void loadRecordings();

    // Geometry, applied by setGeometry() (run by the engine while muted).
    void setMicAngle(double theta) { micAngle_ = theta; }           // revolutions, 0 in front
    void setMicDistance(double metres) { micDistance_ = metres; }   // also the player's distance
    void setAmRadius(double metres) { radius_ = metres; }           // R
    void setFmRadius(double metres);                                // acts at once on the Doppler swing
    void setAttenuation(double exponent) { exponent_ = exponent; }  // near-field exponent n
    void setAttenuationDistance(double metres) { fadeDistance_ = metres; }
    void setDecayExponent(double p) { decayExponent_ = p; }
    // Flip sign: when it changes, the motion takes it and the model rebuilds and resets.
    void setDirection(double sign);
    // Image sources, attenuation table, level normalisation, variant, rays; then the face.
    void setGeometry();
    // Clears rings, angle history, filter and one-pole states; speed and angle survive.
    void reset();
    // Clears what the signal has filled (sample ring, filter and one-pole states, the model's
    // own output stage, the noise player's filters); speed, angle, angle history and the noise
    // phases go on.
    void clearSignals();

    // Immediate settings.
    void setRayGain(int ray, double gain);  // RayGain slot
    void setStaticRayGain(double gain);
    void setReflectionCoefficient(double c);
    void setReflectionLpf(double octaves);  // L, octaves per reflection order
    // The horn's static cutoff acts at once, the drum's at the next filter re-tune.
    void setStaticCutoff(double hz);
    void setFilterSaturation(double amount);
    // Stored only (see lpfCutLow()).
    void setLpfCuts(double lowHz, double highHz);

    // Motor noise (ignored by the leak models).
    void setNoiseBaseGain(double gain) { noiseBaseGain_ = gain; }
    // The players have no acceleration loop; the accel level is kept for the engine only.
    void setNoiseLevels(double slowLevel, double fastLevel, double accelLevel);
    void setNoiseBalance(float mechRatio);
    void startNoiseTransient(double level);

    // Keeps the input ring current while the engine has the rotor switched off and does not
    // run the model: the sample goes in at the standing rotor's emission angle, so that a rotor
    // switched on again has its sound already on the way instead of a wavefront arriving.
    void feed(double x)
    {
        ring_.write(x, RotorMotion::wrap(motion_.angle() + motion_.angleOffset()));
        ring_.advance();
    }

    // The motor noise produced by the last process() (0 for the leak models).
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
    int rayCount() const { return rayCount_; }
    double lpfCutLow() const { return lpfCutLow_; }
    double lpfCutHigh() const { return lpfCutHigh_; }
    double accelNoiseLevel() const { return accelLevel_; }
    const CabinetGeometry& geometry() const { return geometry_; }
    const AttenuationTable& attenuation() const { return table_; }
    // Image source feeding ray k in the current variant.
    int raySource(int k) const { return rays_[k].source; }
    // Pole of the one-pole low-pass after ray k (0: none).
    double rayPole(int k) const { return rays_[k].pole; }

protected:
    static constexpr int kRayLanes = Traits::kRayLanes;
    static constexpr int kFilterLanes = Traits::kFilterLanes;
    static constexpr int kFilterSets = Traits::kFilterSets;

    explicit RadiationCore(const rays::Set& set);
    ~RadiationCore();

    // One sample into the input ring and out along the rays: the rays' sum (static ray not
    // included; it is left in staticLp_). Split takes the low band out of every ray before its
    // filters. Count is rayCount_.
    // V is the lane set the rays run in: Double2, or Double4 in the AVX2 kernels.
    template <int Count, bool Split, class V = Double2>
    double radiate(double x);
    // Hands the player its inputs and runs it (no-op without recordings).
    void feedNoise();
    // Player rate, distance and follow factor, after the player's rate or distance changed.
    void attachPlayer();
    // The signal part shared by reset() and clearSignals().
    void clearPath();
    void updateStaticGain();
    void updatePoles();

    struct Ray {
        int source = 0;
        int gainSlot = 0;
        int weightPower = 0;
        bool openBack = false;
        int order = -1;
        double cutoff = 0.0;
        double delay = 0.0;  // K·dk samples
        double phiSm = 0.0;  // φk·smk
        double halfWidth = 0.0;
        double nearScale = 0.0;  // π / (2w)
        double farScale = 0.0;   // π / (1 − 2w)
        double sm = 1.0;
        double tableBase = 0.0;  // (dk − 0.3 + R)·100
        double scale = 0.0;      // ray gain × weighting
        double pole = 0.0;       // one-pole low-pass after the ray (0 passes)
    };
    // The per-sample values of the rays field by field, lane k for ray k, so that the rays run
    // two or four at a time (copied from rays_ whenever those change; lanes past the rays in
    // use repeat ray 0, so that their unused results stay on the fast paths).
    struct RayLanes {
        alignas(16) double delay[kRayLanes];
        alignas(16) double phiSm[kRayLanes];
        alignas(16) double halfWidth[kRayLanes];
        alignas(16) double nearScale[kRayLanes];
        alignas(16) double farScale[kRayLanes];
        alignas(16) double sm[kRayLanes];
        alignas(16) double tableBase[kRayLanes];
        alignas(16) double scale[kRayLanes];
        alignas(16) double pole[kRayLanes];
        alignas(16) double lp[kRayLanes];     // reflection low-pass states
        alignas(16) double split[kRayLanes];  // splitter low-pass states
    };

    Face& face() { return static_cast<Face&>(*this); }
    // Re-tunes the direction filters of rays 0 .. count - 1 to their facing phases psi,
    // designing V lanes at a time.
    template <class V>
    void tune(const double* psi, int count);
    // Lane k of a direction-filter bank from a table setting.
    static void setLane(BiquadBank<kFilterLanes>& f, int k, const FilterSetting& s, bool setsGain)
    {
        f.setLane(k, BiquadFilter::clampFrequency(s.frequency, f.sampleRate()), BiquadFilter::clampQ(s.q));
        if (setsGain) f.setLaneGain(k, s.gainDb);
    }
    void assignRays();
    void updateDelays();
    // Tells the input ring how far back the reads reach.
    void updateReach();
    void updateScales();
    void setupFilters();
    void copyRayLanes();
    // One field of rays_ into its lanes (after a change of that field alone).
    void copyRayField(double Ray::*field, double* lanes);

    const rays::Set& set_;
    RotorMotion motion_;
    std::unique_ptr<Player> player_;
    EmissionRing ring_;
    CabinetGeometry geometry_;
    AttenuationTable table_;
    Ray rays_[Traits::kMaxRays];
    int rayCount_ = 0;
    // The direction filters of every ray, lane k serving ray k.
    BiquadBank<kFilterLanes> filters_[kFilterSets];
    RayLanes lanes_{};

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
    double rayGain_[Traits::kRayGainCount];
    double staticRayGain_ = Traits::kDefaultStaticRayGain;
    double reflection_ = 0.5;
    double reflectionLpf_ = Traits::kDefaultReflectionLpf;
    double staticCutoff_ = Traits::kDefaultStaticCutoff;
    double clip_ = 0.8;
    double saturation_ = Traits::kDefaultSaturation;
    double splitFrequency_ = 100.0;
    double lpfCutLow_ = Traits::kDefaultLpfCutLow;
    double lpfCutHigh_ = 20000.0;
    double noiseBaseGain_ = 0.0;
    double accelLevel_ = 0.0;

    // Derived.
    double rate_ = 44100.0;
    double samplesPerMetre_ = 44100.0 / kSpeedOfSound;
    double fmSamples_ = 0.0;
    double r100_ = 0.0;  // R in table entries
    double norm_ = 1.0;
    double openBack_ = 1.0;
    double staticDelay_ = 0.0;
    double staticLevel_ = 0.0;       // table × norm at the direct distance, before any clip
    double staticScale_ = 0.0;       // the static ray's gain before its low-pass
    double staticPole_ = 0.0;        // in use
    double staticPoleTarget_ = 0.0;  // taken over at once or at the next re-tune
    double staticLp_ = 0.0;
    double splitPole_ = 0.0;
    double gainSum_ = 0.0;  // sum of the ray gains in use
    double reflectionPole_[Traits::kReflectionOrders] = {};
    double noise_ = 0.0;
    bool noiseReady_ = false;
    bool snapFilters_ = true;  // the next re-tune jumps instead of gliding
};

template <class Traits>
template <int Count, bool Split, class V>
double RadiationCore<Traits>::radiate(double x)
{
    const bool retune = motion_.filterUpdateDue();
    ring_.write(x, motion_.advance());

    // Two rays at a time (four in the AVX2 kernels), and each step over all rays before the
    // next one starts: the rays are independent, so their long dependency chains (angle, sine,
    // reads, filters) sit side by side for the processor to overlap (one loop through all
    // steps would leave them in a row). A count that is not a multiple of the width computes
    // spare lanes, unused.
    using lanes::load;
    using lanes::store;
    constexpr int kWidth = lanes::kWidth<V>;
    constexpr int kLaneCount = (Count + kWidth - 1) / kWidth * kWidth;
    static_assert(kLaneCount <= kRayLanes);
    RayLanes& l = lanes_;
    const V fm = lanes::splat<V>(fmSamples_);
    const V r100 = lanes::splat<V>(r100_);
    const V norm = lanes::splat<V>(norm_);
    const V one = lanes::splat<V>(1.0);
    const V now = lanes::splat<V>(ring_.index());
    const V nowPlusRing = lanes::splat<V>(ring_.index() + EmissionRing::kSize);
    alignas(32) double psi[kLaneCount];
    alignas(32) double s[kLaneCount];
    alignas(32) double v[kLaneCount];
    alignas(32) double gain[kLaneCount];
    for (int k = 0; k < kLaneCount; k += kWidth) {
        // Rotor angle when the sound now arriving along this ray left the mouth (the angle
        // stored at the whole sample of that time).
        const lanes::Int32<V> at = lanes::truncate(nowPlusRing - load<V>(&l.delay[k])) & EmissionRing::kMask;
        const V a = lanes::wrapRevolutions(lanes::gather(ring_.angles(), at) - load<V>(&l.phiSm[k]));
        // Facing phase: the visible arc (±w around the microphone) is mapped onto half a sine
        // period, the rest of the turn onto the other half.
        const V w = load<V>(&l.halfWidth[k]);
        const V nearScale = load<V>(&l.nearScale[k]);
        const V front = (a - w) * nearScale;
        const V wrapped = (a - 1.0 - w) * nearScale;
        const V back = (a - w) * load<V>(&l.farScale[k]);
        const lanes::Int<V> inFront = (lanes::Int<V>)(a <= w);
        const lanes::Int<V> inWrapped = (lanes::Int<V>)(a >= 1.0 - w);
        store(&psi[k], lanes::select<V>(inFront, front, lanes::select<V>(inWrapped, wrapped, back)));
    }
    for (int k = 0; k < kLaneCount; k += kWidth) {
        const V facing = lanes::FastSin(load<V>(&psi[k])) * load<V>(&l.sm[k]);
        if constexpr (Traits::kFacingFloor)
            store(&s[k], lanes::maxOf(facing, lanes::splat<V>(Traits::kMinFacing)));
        else
            store(&s[k], facing);
    }
    // Doppler: the path grows and shrinks with the mouth position (reads at least one sample
    // back).
    for (int k = 0; k < kLaneCount; k += kWidth) {
        const V delay = load<V>(&l.delay[k]) + fm * load<V>(&s[k]);
        store(&v[k], lanes::InterpolateRing(now - lanes::maxOf(delay, one), ring_.signal(), EmissionRing::kSize));
    }
    // Amplitude: the effective distance swings by ±R around the image distance; the level
    // normalisation enters each ray once, here.
    for (int k = 0; k < kLaneCount; k += kWidth) {
        const V at = load<V>(&l.tableBase[k]) + r100 * load<V>(&s[k]);
        const V g = lanes::InterpolateTable512(at, table_.data()) * norm;
        if constexpr (Traits::kClip)
            store(&gain[k], lanes::minOf(lanes::maxOf(g, lanes::splat<V>(clip_)), lanes::splat<V>(kMaxRayGain)));
        else
            store(&gain[k], g);
    }
    if constexpr (Traits::kSharedGainRay >= 0 && Count > Traits::kSharedGainRay)
        gain[Traits::kSharedGainRay] = gain[Traits::kSharedGainRay - 1];
    if constexpr (Split) {
        // Only the band above the splitter turns; the low band comes from the static ray.
        const V splitPole = lanes::splat<V>(splitPole_);
        for (int k = 0; k < kLaneCount; k += kWidth) {
            const V in = load<V>(&v[k]);
            const V low = in + (load<V>(&l.split[k]) - in) * splitPole + kFlush - kFlush;
            store(&l.split[k], low);
            store(&v[k], in - low);
        }
    }
    if (retune) {
        tune<V>(psi, Count);
        staticPole_ = staticPoleTarget_;
    }
    for (BiquadBank<kFilterLanes>& f : filters_) f.template processSaturated<V>(v, Count);
    alignas(32) double lp[kLaneCount];
    for (int k = 0; k < kLaneCount; k += kWidth) {
        const V y = load<V>(&v[k]) * load<V>(&gain[k]) * load<V>(&l.scale[k]);
        // Reflection low-pass (pole 0 passes the direct ray unchanged).
        const V state = load<V>(&l.lp[k]);
        store(&lp[k], y + (state - y) * load<V>(&l.pole[k]) + kFlush - kFlush);
    }
    double sum = 0.0;
    for (int k = 0; k < Count; ++k) {
        l.lp[k] = lp[k];
        sum += lp[k];
    }

    // Static ray: the direct distance without Doppler, through its own low-pass.
    const double vs = ring_.read(staticDelay_) * staticScale_;
    staticLp_ = vs + (staticLp_ - vs) * staticPole_ + kFlush - kFlush;
    ring_.advance();
    return sum;
}

template <class Traits>
template <class V>
void RadiationCore<Traits>::tune(const double* psi, int count)
{
    constexpr double kQuarterTurn = 0.25;  // facing angle 0 lies a quarter turn before ψ = 0
    for (int k = 0; k < count; ++k) {
        // Facing angle u: 0 with the mouth towards the microphone, 0.5 facing away.
        const double u = RotorMotion::wrap(psi[k] * rays_[k].sm / kTwoPi + kQuarterTurn);
        const double x = Traits::kTurnedTables ? 1.0 - u : u;
        for (int i = 0; i < kFilterSets; ++i) {
            const rays::DirectionFilter& d = Traits::kFilters[i];
            setLane(filters_[i], k, d.table(x * d.rows), d.setsGain);
        }
    }
    for (int i = 0; i < kFilterSets; ++i) {
        BiquadBank<kFilterLanes>& f = filters_[i];
        f.template updateLanes<V>(count);
        if (snapFilters_) f.snapLanes(count);
        if (Traits::kFilters[i].retuneSaturation) f.template setSaturationLanes<V>(count, saturation_);
    }
    snapFilters_ = false;
}

template <class Traits>
inline void RadiationCore<Traits>::feedNoise()
{
    // The player takes the microphone angle, the speed and the level; it has no input for the
    // emission angle, so that is not passed on.
    if (!noiseReady_) return;
    noise_ = player_->process(motion_.step(), micAngle_) * (staticLevel_ * noiseBaseGain_);
}

}  // namespace orv
