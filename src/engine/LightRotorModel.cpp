#include "engine/LightRotorModel.h"

#include <algorithm>
#include <cmath>

#include "dsp/Interpolation.h"
#include "dsp/InterpolationLanes.h"
#include "engine/DirectionTables.h"
#include "engine/RayLayout.h"

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kFlush = 1e-12;              // add-and-subtract flush of the one-pole states
constexpr double kDefaultRate = 44100.0;      // until the engine sets its rate
constexpr double kQuarterTurn = 0.25;         // facing angle 0 lies a quarter turn before ψ = 0
constexpr double kMinFrequency = 0.001;       // Hz
constexpr double kMaxFrequencyShare = 0.499;  // of the filter rate
constexpr double kMinQ = 0.0001;
constexpr double kMaxQ = 1000.0;
constexpr double kDrumRows = 18.0;            // the drum table spans u·18
constexpr double kReflectionCutoff = 20000.0; // Hz, first reflection
constexpr double kStaticPoleBase = 0.005;     // static-ray pole 0.005^(f / rate)

// Level normalisation, as for the horn.
constexpr double kMeanFacing = 0.6366;
constexpr double kMeanFacingWidth = 2.546;
constexpr double kNormExponent = 0.7;

double onePole(double cutoff, double rate) { return std::exp(-kTwoPi * cutoff / rate); }

template <class Bank>
void configure(Bank& f, int k, const FilterSetting& s) {
    f.frequency[k] = std::clamp(s.frequency, kMinFrequency, kMaxFrequencyShare * f.sampleRate);
    f.q[k] = std::clamp(s.q, kMinQ, kMaxQ);
}

}  // namespace

LightRotorModel::LightRotorModel(Kind kind) : kind_(kind), motion_(RotorMotion::Sense::Drum) {
    if (kind_ == Kind::Mic) {
        player_ = std::make_unique<DrumNoisePlayer>();
        player_->setMicDistance(micDistance_);
        motion_.attachFollowFactor(&player_->followFactor, &player_->sampleRate);
    }
    buildDrumInputChain(chain_, kDefaultRate, saturation_);
    filter_.type = kFilterType;
    filter_.enabled = 1;
    for (int k = 0; k < kFilterLanes; ++k) configure(filter_, k, DirectionTables::drum(0.0));
    filter_.updateLanes(kFilterLanes);
    filter_.snapLanes(kFilterLanes);
    setRate(kDefaultRate, 1);
    setGeometry();
    reset();
}

LightRotorModel::~LightRotorModel() = default;

void LightRotorModel::setRate(double rate, int decimation) {
    motion_.setRate(rate, decimation);
    rate_ = motion_.rate();
    samplesPerMetre_ = rate_ / kSpeedOfSound;
    setupFilters();
    chain_.setRate(rate_);
    if (player_) {
        player_->setSampleRate(rate_);
        player_->setMicDistance(micDistance_);
        motion_.attachFollowFactor(&player_->followFactor, &player_->sampleRate);
    }
    updateDelays();
    updatePoles();
    staticPole_ = staticPoleTarget_;
    snapFilters_ = true;
}

void LightRotorModel::setupFilters() {
    const double filterRate = BiquadFilter::usableRate(rate_);
    const std::uint32_t glide = BiquadFilter::glideLengthFor(filterRate);
    filter_.sampleRate = filterRate;
    filter_.glideLength = glide;
    for (int k = 0; k < kFilterLanes; ++k)
        filter_.frequency[k] = std::clamp(filter_.frequency[k], kMinFrequency, kMaxFrequencyShare * filterRate);
    filter_.updateLanes(kFilterLanes);
    filter_.snapLanes(kFilterLanes);
    filter_.setSaturationLanes(kFilterLanes, saturation_);
    filter_.snapOnUpdate = false;  // from here on a re-tune glides
}

void LightRotorModel::loadRecordings() {
    if (!player_) return;
    player_->loadRecordings();
    noiseReady_ = true;
}

void LightRotorModel::setMicAngle(double theta) { micAngle_ = theta; }
void LightRotorModel::setMicDistance(double metres) { micDistance_ = metres; }
void LightRotorModel::setAmRadius(double metres) { radius_ = metres; }

void LightRotorModel::setFmRadius(double metres) {
    fmRadius_ = metres;
    fmSamples_ = fmRadius_ * samplesPerMetre_;
}

void LightRotorModel::setAttenuation(double exponent) { exponent_ = exponent; }
void LightRotorModel::setAttenuationDistance(double metres) { fadeDistance_ = metres; }
void LightRotorModel::setDecayExponent(double p) { decayExponent_ = p; }

void LightRotorModel::setDirection(double sign) {
    if (motion_.setDirection(sign)) {
        setGeometry();
        reset();
    }
}

void LightRotorModel::setGeometry() {
    geometry_.compute(CabinetGeometry::Rotor::Drum, micAngle_, micDistance_, radius_, motion_.direction());
    table_.build(radius_, exponent_, fadeDistance_, decayExponent_);

    const ImageSource& direct = geometry_.source[0];
    const double meanIndex =
        (radius_ + direct.distance - (kMeanFacing - kMeanFacingWidth * direct.halfWidth) * radius_ -
         AttenuationTable::kReference) * AttenuationTable::kEntriesPerMetre;
    norm_ = std::pow(1.0 / table_.at(meanIndex), kNormExponent);
    r100_ = radius_ * AttenuationTable::kEntriesPerMetre;
    staticLevel_ = table_.at((direct.distance - AttenuationTable::kReference + radius_) *
                             AttenuationTable::kEntriesPerMetre) * norm_;
    assignRays();
    updateDelays();
    updateScales();
    updatePoles();
    if (player_) player_->setMicDistance(micDistance_);
}

void LightRotorModel::assignRays() {
    struct Slot {
        int source, gainSlot, weightPower, order;
    };
    // Rays 1 and 2 are the two side walls; only the one next to the microphone is used.
    static constexpr Slot kSlots[kRays] = {
        {0, kRay1Front, 0, -1},     {1, kRay2BackSides, 1, 0}, {2, kRay2BackSides, 1, 0},
        {3, kRay2BackSides, 1, 0},  {4, kRay3BackLeft, 2, 1},  {5, kRay4BackRight, 2, 1},
    };
    rayCount_ = 0;
    for (int k = 0; k < kRays; ++k) {
        if (k == 1 && geometry_.variant != CabinetGeometry::kSideA) continue;
        if (k == 2 && geometry_.variant != CabinetGeometry::kSideB) continue;
        Ray& r = rays_[rayCount_++];
        const ImageSource& s = geometry_.source[kSlots[k].source];
        r.source = kSlots[k].source;
        r.gainSlot = kSlots[k].gainSlot;
        r.weightPower = kSlots[k].weightPower;
        r.order = kSlots[k].order;
        rays::setDirection(r, s, radius_);
    }
    copyRayLanes();
}

void LightRotorModel::copyRayLanes() { rays::copyLanes(rays_, kRays, lanes_); }

void LightRotorModel::updateDelays() {
    const double longest = EmissionRing::kSize - 8.0 - fmRadius_ * samplesPerMetre_;
    for (int k = 0; k < rayCount_; ++k)
        rays_[k].delay = std::min(geometry_.source[rays_[k].source].distance * samplesPerMetre_, longest);
    staticDelay_ = std::min(geometry_.source[0].distance * samplesPerMetre_, longest);
    fmSamples_ = fmRadius_ * samplesPerMetre_;
    copyRayLanes();
}

void LightRotorModel::updateScales() {
    gainSum_ = 0.0;
    for (int k = 0; k < rayCount_; ++k) {
        Ray& r = rays_[k];
        double w = rayGain_[r.gainSlot];
        gainSum_ += w;
        for (int i = 0; i < r.weightPower; ++i) w *= reflection_;
        r.scale = w;
    }
    copyRayLanes();
}

void LightRotorModel::updatePoles() {
    for (int j = 0; j < kReflectionOrders; ++j)
        reflectionPole_[j] = onePole(kReflectionCutoff * std::exp2(-j * reflectionLpf_), rate_);
    for (int k = 0; k < rayCount_; ++k)
        rays_[k].pole = rays_[k].order >= 0 ? reflectionPole_[rays_[k].order] : 0.0;
    staticPoleTarget_ = std::pow(kStaticPoleBase, staticCutoff_ / rate_);
    splitPole_ = onePole(splitFrequency_, rate_);
    copyRayLanes();
}

void LightRotorModel::reset() {
    ring_.clear();
    for (int k = 0; k < kRays; ++k) lanes_.lp[k] = lanes_.split[k] = 0.0;
    for (int k = 0; k < kFilterLanes; ++k) {
        filter_.clearHistory(k);
        filter_.snap(k);
    }
    staticLp_ = 0.0;
    staticLow_ = 0.0;
    lowBand_ = 0.0;
    chain_.clearState();
    motion_.resetSpeed();
    if (player_) {
        player_->setSampleRate(rate_);
        player_->setMicDistance(micDistance_);  // restores the compensation setSampleRate cleared
        motion_.attachFollowFactor(&player_->followFactor, &player_->sampleRate);
    }
    noise_ = 0.0;
    snapFilters_ = true;
}

void LightRotorModel::setRayGain(int ray, double gain) {
    if (ray < 0 || ray >= kRayGainCount) return;
    rayGain_[ray] = gain;
    updateScales();
}

void LightRotorModel::setStaticRayGain(double gain) { staticRayGain_ = gain; }

void LightRotorModel::setReflectionCoefficient(double c) {
    reflection_ = c;
    updateScales();
}

void LightRotorModel::setReflectionLpf(double octaves) {
    reflectionLpf_ = octaves;
    updatePoles();
}

void LightRotorModel::setStaticCutoff(double hz) {
    staticCutoff_ = hz;
    staticPoleTarget_ = std::pow(kStaticPoleBase, staticCutoff_ / rate_);
}

void LightRotorModel::setSplitterFrequency(double hz) {
    splitFrequency_ = hz;
    splitPole_ = onePole(splitFrequency_, rate_);
}

void LightRotorModel::setLowStaticGain(double gain) { lowStaticGain_ = gain; }

void LightRotorModel::setFilterSaturation(double amount) {
    saturation_ = amount;
    chain_.setSaturationAmount(amount);
    filter_.setSaturationLanes(kFilterLanes, amount);
}

void LightRotorModel::setLpfCuts(double lowHz, double highHz) {
    // Kept for display and state only: the input chain and the direction filters already set
    // the drum's band.
    lpfCutLow_ = lowHz;
    lpfCutHigh_ = highHz;
}

void LightRotorModel::setNoiseBaseGain(double gain) { noiseBaseGain_ = gain; }

void LightRotorModel::setNoiseLevels(double slowLevel, double fastLevel, double accelLevel) {
    accelLevel_ = accelLevel;
    if (!player_) return;
    player_->slowLevel = slowLevel;
    player_->fastLevel = fastLevel;
}

void LightRotorModel::setNoiseBalance(float mechRatio) {
    if (player_) player_->setBalance(mechRatio);
}

void LightRotorModel::startNoiseTransient(double level) {
    if (player_) player_->startTransient(level);
}

void LightRotorModel::tune(const double* psi, int count) {
    for (int k = 0; k < count; ++k) {
        // Facing angle u: 0 with the mouth towards the microphone, 0.5 facing away.
        const double u = RotorMotion::wrap(psi[k] * rays_[k].sm / kTwoPi + kQuarterTurn);
        configure(filter_, k, DirectionTables::drum(u * kDrumRows));
    }
    filter_.updateLanes(count);
    if (snapFilters_) filter_.snapLanes(count);
    filter_.setSaturationLanes(count, saturation_);
    snapFilters_ = false;
}

template <bool Split>
double LightRotorModel::run(double x) {
    const bool retune = motion_.filterUpdateDue();
    ring_.write(chain_.processSaturated(x), motion_.advance());

    // Two rays at a time, and each step over all rays before the next one starts, so the
    // rays' independent dependency chains sit side by side for the processor to overlap. An
    // odd count computes one spare lane, unused.
    using lanes::load;
    using lanes::store;
    RayLanes& l = lanes_;
    const int count = rayCount_;
    const Double2 fm = lanes::splat<Double2>(fmSamples_);
    const Double2 r100 = lanes::splat<Double2>(r100_);
    const Double2 norm = lanes::splat<Double2>(norm_);
    const Double2 splitPole = lanes::splat<Double2>(splitPole_);
    const Double2 minFacing = lanes::splat<Double2>(kMinFacing);
    const Double2 one = lanes::splat<Double2>(1.0);
    const Double2 now = lanes::splat<Double2>(ring_.index());
    const Double2 nowPlusRing = lanes::splat<Double2>(ring_.index() + EmissionRing::kSize);
    alignas(16) double psi[kRays];
    alignas(16) double s[kRays];
    alignas(16) double v[kRays];
    for (int k = 0; k < count; k += 2) {
        const lanes::Int32x2 at = lanes::truncate(nowPlusRing - load<Double2>(&l.delay[k])) & EmissionRing::kMask;
        const Double2 a = lanes::wrapRevolutions(lanes::gather(ring_.angles(), at) - load<Double2>(&l.phiSm[k]));
        const Double2 w = load<Double2>(&l.halfWidth[k]);
        const Double2 nearScale = load<Double2>(&l.nearScale[k]);
        const Double2 front = (a - w) * nearScale;
        const Double2 wrapped = (a - 1.0 - w) * nearScale;
        const Double2 back = (a - w) * load<Double2>(&l.farScale[k]);
        const lanes::Bits2 inFront = (lanes::Bits2)(a <= w);
        const lanes::Bits2 inWrapped = (lanes::Bits2)(a >= 1.0 - w);
        store(&psi[k], lanes::select<Double2>(inFront, front, lanes::select<Double2>(inWrapped, wrapped, back)));
    }
    for (int k = 0; k < count; k += 2)
        store(&s[k], lanes::maxOf(lanes::FastSin(load<Double2>(&psi[k])) * load<Double2>(&l.sm[k]), minFacing));
    for (int k = 0; k < count; k += 2) {
        const Double2 delay = load<Double2>(&l.delay[k]) + fm * load<Double2>(&s[k]);
        store(&v[k], lanes::InterpolateRing(now - lanes::maxOf(delay, one), ring_.signal(), EmissionRing::kSize));
    }
    if constexpr (Split) {
        // Only the band above the splitter turns; the low band comes from the static ray.
        for (int k = 0; k < count; k += 2) {
            const Double2 x = load<Double2>(&v[k]);
            const Double2 split = x + (load<Double2>(&l.split[k]) - x) * splitPole + kFlush - kFlush;
            store(&l.split[k], split);
            store(&v[k], x - split);
        }
    }
    if (retune) {
        tune(psi, count);
        staticPole_ = staticPoleTarget_;
    }
    filter_.processSaturated(v, count);
    alignas(16) double lp[kRays];
    for (int k = 0; k < count; k += 2) {
        const Double2 x = load<Double2>(&l.tableBase[k]) + r100 * load<Double2>(&s[k]);
        const Double2 g = lanes::InterpolateTable512(x, table_.data()) * norm;
        const Double2 y = load<Double2>(&v[k]) * g * load<Double2>(&l.scale[k]);
        const Double2 state = load<Double2>(&l.lp[k]);
        store(&lp[k], y + (state - y) * load<Double2>(&l.pole[k]) + kFlush - kFlush);
    }
    double sum = 0.0;
    for (int k = 0; k < count; ++k) {
        l.lp[k] = lp[k];
        sum += lp[k];
    }

    const double vs = ring_.read(staticDelay_) * staticLevel_;
    staticLp_ = vs + (staticLp_ - vs) * staticPole_ + kFlush - kFlush;
    double y;
    if constexpr (Split) {
        staticLow_ = staticLp_ + (staticLow_ - staticLp_) * splitPole_ + kFlush - kFlush;
        y = (staticLp_ - staticLow_) * staticRayGain_ + sum;
        lowBand_ = staticLow_ * lowStaticGain_ * gainSum_;
    } else {
        y = staticLp_ * staticRayGain_ + sum;
    }

    if (noiseReady_) {
        DrumNoisePlayer& p = *player_;
        p.micAngle = micAngle_;
        p.rate = motion_.step();
        p.outputGain = staticLevel_ * noiseBaseGain_;
        noise_ = p.process();
    }
    ring_.advance();
    return y;
}

double LightRotorModel::process(double x) {
    return kind_ == Kind::Mic ? run<true>(x) : run<false>(x);
}

}  // namespace orv
