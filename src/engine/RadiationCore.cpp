#include "engine/RadiationCore.h"

#include <algorithm>
#include <cmath>

#include "dsp/Constants.h"
#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"

namespace orv {

namespace {

// Reflection low-pass: 20 kHz for the first reflection, L octaves lower per further order.
constexpr double kReflectionCutoff = 20000.0;  // Hz
// Static-ray low-pass from its cutoff setting: pole 0.005^(f / rate).
constexpr double kStaticPoleBase = 0.005;

// Level normalisation: the direct ray's mean facing distance is dd − (2/π − (8/π)·wd)·R.
constexpr double kMeanFacing = 0.6366;
constexpr double kMeanFacingWidth = 2.546;
constexpr double kNormExponent = 0.7;

double onePole(double cutoff, double rate) { return std::exp(-kTwoPi * cutoff / rate); }

}  // namespace

template <class Traits>
RadiationCore<Traits>::RadiationCore(const rays::Set& set) : set_(set), motion_(Traits::kSense)
{
    std::fill(rayGain_, rayGain_ + Traits::kRayGainCount, 0.5);
    // Direction filters start facing the microphone.
    for (int i = 0; i < kFilterSets; ++i) {
        BiquadBank<kFilterLanes>& f = filters_[i];
        f.setType(Traits::kFilterType);
        f.setEnabled(true);
        for (int k = 0; k < kFilterLanes; ++k)
            setLane(f, k, Traits::kFilters[i].table(0.0), Traits::kFilters[i].setsGain);
        f.updateLanes(kFilterLanes);
        f.snapLanes(kFilterLanes);
    }
}

template <class Traits>
RadiationCore<Traits>::~RadiationCore() = default;

template <class Traits>
void RadiationCore<Traits>::setRate(double rate, int decimation)
{
    motion_.setRate(rate, decimation);
    rate_ = motion_.rate();
    samplesPerMetre_ = rate_ / kSpeedOfSound;
    setupFilters();
    face().rateChanged();
    if (player_) {
        player_->setSampleRate(rate_);
        attachPlayer();
    }
    updateDelays();
    updatePoles();
    staticPole_ = staticPoleTarget_;
    snapFilters_ = true;
}

template <class Traits>
void RadiationCore<Traits>::attachPlayer()
{
    player_->setMicDistance(micDistance_);  // restores the compensation setSampleRate cleared
    motion_.attachFollowFactor(&player_->followFactor, &player_->sampleRate);
}

template <class Traits>
void RadiationCore<Traits>::setupFilters()
{
    const double filterRate = BiquadFilter::usableRate(rate_);
    const std::uint32_t glide = BiquadFilter::glideLengthFor(filterRate);
    for (BiquadBank<kFilterLanes>& f : filters_) {
        f.prepare(filterRate, glide);
        for (int k = 0; k < kFilterLanes; ++k)
            f.setLane(k, BiquadFilter::clampFrequency(f.frequency(k), filterRate), f.q(k));
        f.updateLanes(kFilterLanes);
        f.snapLanes(kFilterLanes);
        f.setSaturationLanes(kFilterLanes, saturation_);
        f.setSnapOnUpdate(false);  // from here on a re-tune glides
    }
}

template <class Traits>
void RadiationCore<Traits>::loadRecordings()
{
    if (!player_) return;
    player_->loadRecordings();
    noiseReady_ = true;
}

template <class Traits>
void RadiationCore<Traits>::setFmRadius(double metres)
{
    fmRadius_ = metres;
    fmSamples_ = fmRadius_ * samplesPerMetre_;
    updateReach();
}

template <class Traits>
void RadiationCore<Traits>::setDirection(double sign)
{
    if (motion_.setDirection(sign)) {
        setGeometry();
        reset();
    }
}

template <class Traits>
void RadiationCore<Traits>::setGeometry()
{
    geometry_.compute(Traits::kRotor, micAngle_, micDistance_, radius_, motion_.direction());
    table_.build(radius_, exponent_, fadeDistance_, decayExponent_);

    const ImageSource& direct = geometry_.source[0];
    const double meanIndex =
        (radius_ + direct.distance - (kMeanFacing - kMeanFacingWidth * direct.halfWidth) * radius_ -
         AttenuationTable::kReference) *
        AttenuationTable::kEntriesPerMetre;
    norm_ = std::pow(1.0 / table_.at(meanIndex), kNormExponent);

    const bool openBack = geometry_.variant == CabinetGeometry::kFront && openBackMode_ != 0 &&
        motion_.direction() * geometry_.sideSign < 0.0;
    openBack_ = openBack ? kOpenBackFactor : 1.0;

    r100_ = radius_ * AttenuationTable::kEntriesPerMetre;
    staticLevel_ =
        table_.at((direct.distance - AttenuationTable::kReference + radius_) * AttenuationTable::kEntriesPerMetre) *
        norm_;
    assignRays();
    updateDelays();
    updateScales();
    updatePoles();
    updateStaticGain();
    if (player_) player_->setMicDistance(micDistance_);
    face().geometryChanged();
}

template <class Traits>
void RadiationCore<Traits>::assignRays()
{
    rayCount_ = 0;
    for (int j = 0; j < set_.count; ++j) {
        const rays::Slot& slot = set_.slots[j];
        if (slot.variant != rays::kEveryVariant && slot.variant != geometry_.variant) continue;
        Ray& r = rays_[rayCount_++];
        const ImageSource& s = geometry_.source[slot.source];
        r.source = slot.source;
        r.gainSlot = slot.gainSlot;
        r.weightPower = slot.weightPower;
        r.openBack = slot.openBack;
        r.order = slot.order;
        r.cutoff = slot.cutoff;
        r.sm = s.mirrorSign;
        r.phiSm = s.direction * s.mirrorSign;
        r.halfWidth = s.halfWidth;
        r.nearScale = kPi / (2.0 * s.halfWidth);
        r.farScale = kPi / (1.0 - 2.0 * s.halfWidth);
        r.tableBase = (s.distance - AttenuationTable::kReference + radius_) * AttenuationTable::kEntriesPerMetre;
    }
    copyRayLanes();
}

template <class Traits>
void RadiationCore<Traits>::copyRayLanes()
{
    RayLanes& l = lanes_;
    copyRayField(&Ray::delay, l.delay);
    copyRayField(&Ray::phiSm, l.phiSm);
    copyRayField(&Ray::halfWidth, l.halfWidth);
    copyRayField(&Ray::nearScale, l.nearScale);
    copyRayField(&Ray::farScale, l.farScale);
    copyRayField(&Ray::sm, l.sm);
    copyRayField(&Ray::tableBase, l.tableBase);
    copyRayField(&Ray::scale, l.scale);
    copyRayField(&Ray::pole, l.pole);
}

template <class Traits>
void RadiationCore<Traits>::copyRayField(double Ray::*field, double* lanes)
{
    for (int k = 0; k < kRayLanes; ++k) lanes[k] = rays_[k < rayCount_ ? k : 0].*field;
}

template <class Traits>
void RadiationCore<Traits>::updateDelays()
{
    // Keep every read (with its Doppler swing and the cubic's neighbours) inside the ring.
    const double longest = EmissionRing::kSize - 8.0 - fmRadius_ * samplesPerMetre_;
    for (int k = 0; k < rayCount_; ++k)
        rays_[k].delay = std::min(geometry_.source[rays_[k].source].distance * samplesPerMetre_, longest);
    staticDelay_ = std::min(geometry_.source[0].distance * samplesPerMetre_, longest);
    fmSamples_ = fmRadius_ * samplesPerMetre_;
    face().delaysChanged();
    copyRayField(&Ray::delay, lanes_.delay);
    updateReach();
}

template <class Traits>
void RadiationCore<Traits>::updateReach()
{
    // The farthest read: the longest delay, the Doppler swing (the facing sine may pass 1 by
    // a hair), the read after the whole part and the cubic's far neighbour.
    double longest = staticDelay_;
    for (int k = 0; k < rayCount_; ++k) longest = std::max(longest, rays_[k].delay);
    constexpr double kSwingMargin = 1.01;
    constexpr int kCubicReach = 3;
    ring_.setReach(static_cast<int>(std::ceil(longest + kSwingMargin * std::abs(fmSamples_))) + kCubicReach);
}

template <class Traits>
void RadiationCore<Traits>::updateScales()
{
    gainSum_ = 0.0;
    for (int k = 0; k < rayCount_; ++k) {
        Ray& r = rays_[k];
        double w = r.gainSlot >= 0 ? rayGain_[r.gainSlot] : 1.0;
        gainSum_ += w;
        for (int i = 0; i < r.weightPower; ++i) w *= reflection_;
        if (r.openBack) w *= openBack_;
        r.scale = w;
    }
    copyRayField(&Ray::scale, lanes_.scale);
}

template <class Traits>
void RadiationCore<Traits>::updatePoles()
{
    for (int j = 0; j < Traits::kReflectionOrders; ++j)
        reflectionPole_[j] = onePole(kReflectionCutoff * std::exp2(-j * reflectionLpf_), rate_);
    for (int k = 0; k < rayCount_; ++k) {
        const Ray& r = rays_[k];
        rays_[k].pole = r.cutoff > 0.0 ? onePole(r.cutoff, rate_) : r.order >= 0 ? reflectionPole_[r.order] : 0.0;
    }
    staticPoleTarget_ =
        set_.staticCutoff > 0.0 ? onePole(set_.staticCutoff, rate_) : std::pow(kStaticPoleBase, staticCutoff_ / rate_);
    if constexpr (!Traits::kStaticPoleAtRetune) staticPole_ = staticPoleTarget_;
    splitPole_ = onePole(splitFrequency_, rate_);
    copyRayField(&Ray::pole, lanes_.pole);
}

template <class Traits>
void RadiationCore<Traits>::updateStaticGain()
{
    if constexpr (Traits::kClip)
        staticScale_ = std::min(std::max(staticLevel_, clip_), kMaxRayGain) * staticRayGain_;
    else
        staticScale_ = staticLevel_;  // the drum weighs the static ray after its splitter
}

template <class Traits>
void RadiationCore<Traits>::clearPath()
{
    ring_.clearSignal();
    std::fill(lanes_.lp, lanes_.lp + kRayLanes, 0.0);
    std::fill(lanes_.split, lanes_.split + kRayLanes, 0.0);
    for (BiquadBank<kFilterLanes>& f : filters_) {
        for (int k = 0; k < kFilterLanes; ++k) {
            f.clearHistory(k);
            f.snap(k);
        }
    }
    staticLp_ = 0.0;
    noise_ = 0.0;
    face().signalCleared();
}

template <class Traits>
void RadiationCore<Traits>::reset()
{
    clearPath();
    ring_.clear();
    motion_.resetSpeed();  // the speed takes its target, the angle stays
    if (player_) {
        player_->setSampleRate(rate_);
        attachPlayer();
    }
    snapFilters_ = true;
}

template <class Traits>
void RadiationCore<Traits>::clearSignals()
{
    clearPath();
    if (player_) player_->clearFilters();
}

template <class Traits>
void RadiationCore<Traits>::setRayGain(int ray, double gain)
{
    if (ray < 0 || ray >= Traits::kRayGainCount) return;
    rayGain_[ray] = gain;
    updateScales();
}

template <class Traits>
void RadiationCore<Traits>::setStaticRayGain(double gain)
{
    staticRayGain_ = gain;
    updateStaticGain();
}

template <class Traits>
void RadiationCore<Traits>::setReflectionCoefficient(double c)
{
    reflection_ = c;
    updateScales();
    face().reflectionChanged();
}

template <class Traits>
void RadiationCore<Traits>::setReflectionLpf(double octaves)
{
    reflectionLpf_ = octaves;
    updatePoles();
}

template <class Traits>
void RadiationCore<Traits>::setStaticCutoff(double hz)
{
    staticCutoff_ = hz;
    updatePoles();
}

template <class Traits>
void RadiationCore<Traits>::setFilterSaturation(double amount)
{
    saturation_ = amount;
    for (BiquadBank<kFilterLanes>& f : filters_) f.setSaturationLanes(kFilterLanes, amount);
    face().saturationChanged();
}

template <class Traits>
void RadiationCore<Traits>::setLpfCuts(double lowHz, double highHz)
{
    // Kept for display and state only: the direction filters, the reflection low-passes and
    // the voicing banks already set the rotor's band.
    lpfCutLow_ = lowHz;
    lpfCutHigh_ = highHz;
}

template <class Traits>
void RadiationCore<Traits>::setNoiseLevels(double slowLevel, double fastLevel, double accelLevel)
{
    accelLevel_ = accelLevel;
    if (!player_) return;
    player_->setLevels(slowLevel, fastLevel);
}

template <class Traits>
void RadiationCore<Traits>::setNoiseBalance(float mechRatio)
{
    if (player_) player_->setBalance(mechRatio);
}

template <class Traits>
void RadiationCore<Traits>::startNoiseTransient(double level)
{
    if (player_) player_->startTransient(level);
}

template class RadiationCore<HornRadiation>;
template class RadiationCore<DrumRadiation>;

}  // namespace orv
