#include "engine/RotorModel.h"

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
constexpr double kFlush = 1e-12;                // add-and-subtract flush of the one-pole states
constexpr double kDefaultRate = 44100.0;        // until the engine sets its rate
constexpr double kQuarterTurn = 0.25;           // facing angle 0 lies a quarter turn before ψ = 0
constexpr double kMinFrequency = 0.001;         // Hz, lower clamp of the direction filters
constexpr double kMaxFrequencyShare = 0.499;    // of the filter rate
constexpr double kMinQ = 0.0001;
constexpr double kMaxQ = 1000.0;
constexpr double kHornARows = 36.0;             // filter A table spans u·36
constexpr double kHornBRows = 18.0;             // filter B table spans u·18

// Reflection low-pass: 20 kHz for the first reflection, L octaves lower per further order.
constexpr double kReflectionCutoff = 20000.0;   // Hz
// Static-ray low-pass: pole 0.005^(f / rate), the same law as the drum's static ray.
constexpr double kStaticPoleBase = 0.005;

// Level normalisation: the direct ray's mean facing distance is dd − (2/π − (8/π)·wd)·R.
constexpr double kMeanFacing = 0.6366;
constexpr double kMeanFacingWidth = 2.546;
constexpr double kNormExponent = 0.7;

// Horn output gain (1.3 − 0.5·((rm − 0.35)/1.65 + 0.1)^0.75) · −0.2 dB.
constexpr double kGainBase = 1.3;
constexpr double kGainSlope = 0.5;
constexpr double kGainNearest = 0.35;           // m, nearest microphone distance
constexpr double kGainDistanceScale = 0.6060606060606061;  // 1 / 1.65 m
constexpr double kGainOffset = 0.1;
constexpr double kGainExponent = 0.75;
constexpr double kGainTrim = 0.97723722095;     // −0.2 dB

// The horn-leak model hears the horn through the cabinet's partition at the drum microphone.
// Its four one-pole low-passes are chosen darker than the open paths: the direct ray keeps
// the most top end, the two wall rays less, the static ray least. Cutoffs in Hz.
constexpr double kLeakDirectCutoff = 5000.0;
constexpr double kLeakReflectedCutoff = 3500.0;
constexpr double kLeakStaticCutoff = 2500.0;

double onePole(double cutoff, double rate) { return std::exp(-kTwoPi * cutoff / rate); }

template <class Bank>
void configure(Bank& f, int k, const FilterSetting& s) {
    f.frequency[k] = std::clamp(s.frequency, kMinFrequency, kMaxFrequencyShare * f.sampleRate);
    f.q[k] = std::clamp(s.q, kMinQ, kMaxQ);
    f.gainDb[k] = s.gainDb;
}

template <class Bank>
void clearHistory(Bank& f, int k) {
    f.clearHistory(k);
    f.snap(k);
}

}  // namespace

RotorModel::RotorModel(Kind kind)
    : kind_(kind), motion_(RotorMotion::Sense::Horn), outRing_(new double[2 * kOutRingSize]()) {
    if (kind_ != Kind::Leak) {
        player_ = std::make_unique<HornNoisePlayer>(kind_ == Kind::Mic2 ? 1 : 0);
        player_->setMicDistance(micDistance_);
        motion_.attachFollowFactor(&player_->followFactor, &player_->sampleRate);
        buildHornVoicingBank(bank_, kDefaultRate);
    } else {
        buildShortHornVoicingBank(shortBank_, kDefaultRate);
    }
    // Direction filters start facing the microphone.
    filterA_.type = BiquadFilter::typePeak;
    filterB_.type = BiquadFilter::typePeak;
    filterA_.enabled = 1;
    filterB_.enabled = 1;
    for (int k = 0; k < kFilterLanes; ++k) {
        configure(filterA_, k, DirectionTables::hornA(0.0));
        configure(filterB_, k, DirectionTables::hornB(0.0));
    }
    for (BiquadBank<kFilterLanes>* f : {&filterA_, &filterB_}) {
        f->updateLanes(kFilterLanes);
        f->snapLanes(kFilterLanes);
    }
    setRate(kDefaultRate, 1);
    setGeometry();
    reset();
}

RotorModel::~RotorModel() = default;

void RotorModel::setRate(double rate, int decimation) {
    motion_.setRate(rate, decimation);
    rate_ = motion_.rate();
    samplesPerMetre_ = rate_ / kSpeedOfSound;
    setupFilters();
    if (kind_ != Kind::Leak)
        bank_.setRate(rate_);
    else
        shortBank_.setRate(rate_);
    if (player_) {
        player_->setSampleRate(rate_);
        player_->setMicDistance(micDistance_);
        motion_.attachFollowFactor(&player_->followFactor, &player_->sampleRate);
    }
    updateDelays();
    updatePoles();
    snapFilters_ = true;
}

void RotorModel::setupFilters() {
    const double filterRate = BiquadFilter::usableRate(rate_);
    const std::uint32_t glide = BiquadFilter::glideLengthFor(filterRate);
    for (BiquadBank<kFilterLanes>* f : {&filterA_, &filterB_}) {
        f->sampleRate = filterRate;
        f->glideLength = glide;
        for (int k = 0; k < kFilterLanes; ++k)
            f->frequency[k] = std::clamp(f->frequency[k], kMinFrequency, kMaxFrequencyShare * filterRate);
        f->updateLanes(kFilterLanes);
        f->snapLanes(kFilterLanes);
        f->setSaturationLanes(kFilterLanes, saturation_);
        // From here on a re-tune glides.
        f->snapOnUpdate = false;
    }
}

void RotorModel::loadRecordings() {
    if (!player_) return;
    player_->loadRecordings();
    noiseReady_ = true;
}

void RotorModel::setMicAngle(double theta) { micAngle_ = theta; }
void RotorModel::setMicDistance(double metres) { micDistance_ = metres; }
void RotorModel::setAmRadius(double metres) { radius_ = metres; }

void RotorModel::setFmRadius(double metres) {
    fmRadius_ = metres;
    fmSamples_ = fmRadius_ * samplesPerMetre_;
}

void RotorModel::setAttenuation(double exponent) { exponent_ = exponent; }
void RotorModel::setAttenuationDistance(double metres) { fadeDistance_ = metres; }
void RotorModel::setDecayExponent(double p) { decayExponent_ = p; }
void RotorModel::setOpenBackMode(int mode) { openBackMode_ = mode; }

void RotorModel::setDirection(double sign) {
    if (motion_.setDirection(sign)) {
        setGeometry();
        reset();
    }
}

void RotorModel::setGeometry() {
    geometry_.compute(CabinetGeometry::Rotor::Horn, micAngle_, micDistance_, radius_, motion_.direction());
    table_.build(radius_, exponent_, fadeDistance_, decayExponent_);

    const ImageSource& direct = geometry_.source[0];
    const double meanIndex =
        (radius_ + direct.distance - (kMeanFacing - kMeanFacingWidth * direct.halfWidth) * radius_ -
         AttenuationTable::kReference) * AttenuationTable::kEntriesPerMetre;
    norm_ = std::pow(1.0 / table_.at(meanIndex), kNormExponent);

    if (kind_ != Kind::Leak) {
        const double spread = (micDistance_ - kGainNearest) * kGainDistanceScale + kGainOffset;
        outputGain_ = (kGainBase - kGainSlope * std::pow(spread, kGainExponent)) * kGainTrim;
    } else {
        outputGain_ = 1.0;
    }

    const bool openBack = geometry_.variant == CabinetGeometry::kFront && openBackMode_ != 0 &&
                          motion_.direction() * geometry_.sideSign < 0.0;
    openBack_ = openBack ? kOpenBackFactor : 1.0;

    if (kind_ == Kind::Leak)
        processKind_ = ProcessKind::Leak;
    else
        processKind_ = geometry_.variant == CabinetGeometry::kFront ? ProcessKind::Front : ProcessKind::Side;

    r100_ = radius_ * AttenuationTable::kEntriesPerMetre;
    staticLevel_ = table_.at((direct.distance - AttenuationTable::kReference + radius_) *
                             AttenuationTable::kEntriesPerMetre) * norm_;
    assignRays();
    updateDelays();
    updateScales();
    updatePoles();
    updateStaticGain();
    if (player_) player_->setMicDistance(micDistance_);
}

void RotorModel::assignRays() {
    struct Slot {
        int source, gainSlot, weightPower;
        bool openBack;
        int order;
    };
    // Rays 0–9 of every variant; ray 10 is the side wall next to the microphone.
    static constexpr Slot kMicRays[10] = {
        {0, kRay1Front, 0, false, -1},   {1, kRay2BackSides, 1, true, 0},
        {2, kRay3BackRight, 2, true, 1}, {3, kRay4BackLeft, 2, true, 1},
        {4, kRay5, 3, true, 2},          {5, kRay6, 3, true, 2},
        {8, kRays7to10, 4, false, 3},    {9, kRays7to10, 4, false, 3},
        {10, kRays7to10, 5, false, 4},   {11, kRays7to10, 5, false, 4},
    };
    constexpr int kNearSideA = 6;  // image in the +x side wall
    constexpr int kNearSideB = 7;  // image in the −x side wall
    // Leak: direct ray, back-wall ray and the first side-wall ray, the latter two × c.
    static constexpr Slot kLeakSlots[kLeakRays] = {
        {0, kRay1Front, 0, false, -1}, {1, -1, 1, false, -1}, {6, -1, 1, false, -1}};

    Slot slots[kMaxRays];
    if (kind_ == Kind::Leak) {
        rayCount_ = kLeakRays;
        std::copy(kLeakSlots, kLeakSlots + kLeakRays, slots);
    } else {
        std::copy(kMicRays, kMicRays + 10, slots);
        rayCount_ = 10;
        if (geometry_.variant != CabinetGeometry::kFront) {
            const int side = geometry_.variant == CabinetGeometry::kSideA ? kNearSideA : kNearSideB;
            slots[10] = {side, kRay2BackSides, 1, false, 0};
            rayCount_ = 11;
        }
    }

    for (int k = 0; k < rayCount_; ++k) {
        Ray& r = rays_[k];
        const ImageSource& s = geometry_.source[slots[k].source];
        r.source = slots[k].source;
        r.gainSlot = slots[k].gainSlot;
        r.weightPower = slots[k].weightPower;
        r.openBack = slots[k].openBack;
        r.order = slots[k].order;
        rays::setDirection(r, s, radius_);
    }
    copyRayLanes();
}

void RotorModel::copyRayLanes() { rays::copyLanes(rays_, kMaxRays, lanes_); }

void RotorModel::updateDelays() {
    // Keep every read (with its Doppler swing and the cubic's neighbours) inside the ring.
    const double longest = EmissionRing::kSize - 8.0 - fmRadius_ * samplesPerMetre_;
    for (int k = 0; k < rayCount_; ++k)
        rays_[k].delay = std::min(geometry_.source[rays_[k].source].distance * samplesPerMetre_, longest);
    staticDelay_ = std::min(geometry_.source[0].distance * samplesPerMetre_, longest);
    fmSamples_ = fmRadius_ * samplesPerMetre_;
    const double zLongest = kOutRingSize - 2.0;
    zSamples1_ = std::min(kZDelay1 * samplesPerMetre_, zLongest);
    zSamples2_ = std::min(kZDelay2 * samplesPerMetre_, zLongest);
    copyRayLanes();
}

void RotorModel::updateScales() {
    for (int k = 0; k < rayCount_; ++k) {
        Ray& r = rays_[k];
        double w = r.gainSlot >= 0 ? rayGain_[r.gainSlot] : 1.0;
        for (int i = 0; i < r.weightPower; ++i) w *= reflection_;
        if (r.openBack) w *= openBack_;
        r.scale = w;
    }
    zGain_ = zAxisGain_ * reflection_ * reflection_;  // floor and ceiling: two reflections
    copyRayLanes();
}

void RotorModel::updatePoles() {
    for (int j = 0; j < kReflectionOrders; ++j)
        reflectionPole_[j] = onePole(kReflectionCutoff * std::exp2(-j * reflectionLpf_), rate_);
    if (kind_ == Kind::Leak) {
        rays_[0].pole = onePole(kLeakDirectCutoff, rate_);
        for (int k = 1; k < rayCount_; ++k) rays_[k].pole = onePole(kLeakReflectedCutoff, rate_);
        staticPole_ = onePole(kLeakStaticCutoff, rate_);
    } else {
        for (int k = 0; k < rayCount_; ++k)
            rays_[k].pole = rays_[k].order >= 0 ? reflectionPole_[rays_[k].order] : 0.0;
        staticPole_ = std::pow(kStaticPoleBase, staticCutoff_ / rate_);
    }
    copyRayLanes();
}

void RotorModel::updateStaticGain() {
    staticGain_ = std::min(std::max(staticLevel_, clip_), kMaxRayGain) * staticRayGain_;
}

void RotorModel::reset() {
    ring_.clear();
    std::fill(outRing_.get(), outRing_.get() + 2 * kOutRingSize, 0.0);
    outIndex_ = 0;
    for (double& lp : lanes_.lp) lp = 0.0;
    for (int k = 0; k < kFilterLanes; ++k) {
        clearHistory(filterA_, k);
        clearHistory(filterB_, k);
    }
    staticLp_ = 0.0;
    if (kind_ != Kind::Leak)
        bank_.clearState();
    else
        shortBank_.clearState();
    motion_.resetSpeed();  // the speed takes its target, the angle stays
    if (player_) {
        player_->setSampleRate(rate_);
        player_->setMicDistance(micDistance_);
        motion_.attachFollowFactor(&player_->followFactor, &player_->sampleRate);
    }
    noise_ = 0.0;
    snapFilters_ = true;
}

void RotorModel::setRayGain(int ray, double gain) {
    if (ray < 0 || ray >= kRayGainCount) return;
    rayGain_[ray] = gain;
    updateScales();
}

void RotorModel::setZAxisGain(double gain) {
    zAxisGain_ = gain;
    updateScales();
}

void RotorModel::setStaticRayGain(double gain) {
    staticRayGain_ = gain;
    updateStaticGain();
}

void RotorModel::setReflectionCoefficient(double c) {
    reflection_ = c;
    updateScales();
}

void RotorModel::setReflectionLpf(double octaves) {
    reflectionLpf_ = octaves;
    updatePoles();
}

void RotorModel::setStaticCutoff(double hz) {
    staticCutoff_ = hz;
    updatePoles();
}

void RotorModel::setAmplitudeClip(double floor) {
    clip_ = floor;
    updateStaticGain();
}

void RotorModel::setFilterSaturation(double amount) {
    saturation_ = amount;
    filterA_.setSaturationLanes(kFilterLanes, amount);
    filterB_.setSaturationLanes(kFilterLanes, amount);
}

void RotorModel::setLpfCuts(double lowHz, double highHz) {
    // Kept for display and state only: the direction filters, the reflection low-passes and
    // the voicing bank already set the horn's band.
    lpfCutLow_ = lowHz;
    lpfCutHigh_ = highHz;
}

void RotorModel::setNoiseBaseGain(double gain) { noiseBaseGain_ = gain; }

void RotorModel::setNoiseLevels(double slowLevel, double fastLevel, double accelLevel) {
    accelLevel_ = accelLevel;
    if (!player_) return;
    player_->slowLevel = slowLevel;
    player_->fastLevel = fastLevel;
}

void RotorModel::setNoiseBalance(float mechRatio) {
    if (player_) player_->setBalance(mechRatio);
}

void RotorModel::startNoiseTransient(double level) {
    if (player_) player_->startTransient(level);
}

void RotorModel::tune(const double* psi, int count) {
    for (int k = 0; k < count; ++k) {
        // Facing angle u: 0 with the mouth towards the microphone, 0.5 facing away; the horn's
        // tables run the other way round.
        const double u = RotorMotion::wrap(psi[k] * rays_[k].sm / kTwoPi + kQuarterTurn);
        const double turned = 1.0 - u;
        configure(filterA_, k, DirectionTables::hornA(turned * kHornARows));
        configure(filterB_, k, DirectionTables::hornB(turned * kHornBRows));
    }
    filterA_.updateLanes(count);
    if (snapFilters_) filterA_.snapLanes(count);
    filterA_.setSaturationLanes(count, saturation_);
    // Filter B keeps its frequency and Q, so its saturation coefficient stays as it is.
    filterB_.updateLanes(count);
    if (snapFilters_) filterB_.snapLanes(count);
    snapFilters_ = false;
}

double RotorModel::readZ(double delay) const {
    constexpr int kMask = kOutRingSize - 1;
    const double position = outIndex_ + kOutRingSize - delay;
    const int whole = static_cast<int>(position);
    const double f = position - whole;
    const int i = whole & kMask;
    const double* o = outRing_.get();
    return o[i] + (o[i + 1] - o[i]) * f;
}

template <int RayCount, bool Mic>
double RotorModel::radiate(double x) {
    const bool retune = motion_.filterUpdateDue();
    ring_.write(x, motion_.advance());

    // Two rays at a time, and each step over all rays before the next one starts: the rays
    // are independent, so their long dependency chains (angle, sine, reads, filters) sit side
    // by side for the processor to overlap (one loop through all steps would leave them in a
    // row). An odd count computes one spare lane, unused.
    using lanes::load;
    using lanes::store;
    constexpr int kLaneCount = (RayCount + 1) / 2 * 2;
    const RayLanes& l = lanes_;
    const Double2 fm = lanes::splat<Double2>(fmSamples_);
    const Double2 r100 = lanes::splat<Double2>(r100_);
    const Double2 norm = lanes::splat<Double2>(norm_);
    const Double2 clip = lanes::splat<Double2>(clip_);
    const Double2 maxGain = lanes::splat<Double2>(kMaxRayGain);
    const Double2 one = lanes::splat<Double2>(1.0);
    const Double2 now = lanes::splat<Double2>(ring_.index());
    const Double2 nowPlusRing = lanes::splat<Double2>(ring_.index() + EmissionRing::kSize);
    alignas(16) double psi[kLaneCount];
    alignas(16) double s[kLaneCount];
    alignas(16) double v[kLaneCount];
    alignas(16) double gain[kLaneCount];
    for (int k = 0; k < kLaneCount; k += 2) {
        // Rotor angle when the sound now arriving along this ray left the mouth (the angle
        // stored at the whole sample of that time).
        const lanes::Int32x2 at = lanes::truncate(nowPlusRing - load<Double2>(&l.delay[k])) & EmissionRing::kMask;
        const Double2 a = lanes::wrapRevolutions(lanes::gather(ring_.angles(), at) - load<Double2>(&l.phiSm[k]));
        // Facing phase: the visible arc (±w around the microphone) is mapped onto half a sine
        // period, the rest of the turn onto the other half.
        const Double2 w = load<Double2>(&l.halfWidth[k]);
        const Double2 nearScale = load<Double2>(&l.nearScale[k]);
        const Double2 front = (a - w) * nearScale;
        const Double2 wrapped = (a - 1.0 - w) * nearScale;
        const Double2 back = (a - w) * load<Double2>(&l.farScale[k]);
        const lanes::Bits2 inFront = (lanes::Bits2)(a <= w);
        const lanes::Bits2 inWrapped = (lanes::Bits2)(a >= 1.0 - w);
        store(&psi[k], lanes::select<Double2>(inFront, front, lanes::select<Double2>(inWrapped, wrapped, back)));
    }
    for (int k = 0; k < kLaneCount; k += 2)
        store(&s[k], lanes::FastSin(load<Double2>(&psi[k])) * load<Double2>(&l.sm[k]));
    // Doppler: the path grows and shrinks with the mouth position (reads at least one sample
    // back).
    for (int k = 0; k < kLaneCount; k += 2) {
        const Double2 delay = load<Double2>(&l.delay[k]) + fm * load<Double2>(&s[k]);
        store(&v[k], lanes::InterpolateRing(now - lanes::maxOf(delay, one), ring_.signal(), EmissionRing::kSize));
    }
    // Amplitude: the effective distance swings by ±R around the image distance; the level
    // normalisation enters each ray once, here.
    for (int k = 0; k < kLaneCount; k += 2) {
        const Double2 x = load<Double2>(&l.tableBase[k]) + r100 * load<Double2>(&s[k]);
        const Double2 g = lanes::InterpolateTable512(x, table_.data()) * norm;
        store(&gain[k], lanes::minOf(lanes::maxOf(g, clip), maxGain));
    }
    // The two farthest rays share one gain.
    if constexpr (Mic) gain[9] = gain[8];
    if (retune) tune(psi, RayCount);
    filterA_.processSaturated(v, RayCount);
    filterB_.processSaturated(v, RayCount);
    double sum = 0.0;
    alignas(16) double lp[kLaneCount];
    for (int k = 0; k < kLaneCount; k += 2) {
        const Double2 y = load<Double2>(&v[k]) * load<Double2>(&gain[k]) * load<Double2>(&l.scale[k]);
        // Reflection low-pass (pole 0 passes the direct ray unchanged).
        const Double2 state = load<Double2>(&l.lp[k]);
        store(&lp[k], y + (state - y) * load<Double2>(&l.pole[k]) + kFlush - kFlush);
    }
    for (int k = 0; k < RayCount; ++k) {
        lanes_.lp[k] = lp[k];
        sum += lp[k];
    }

    // Static ray: the direct distance without Doppler, through its own low-pass.
    const double vs = ring_.read(staticDelay_) * staticGain_;
    staticLp_ = vs + (staticLp_ - vs) * staticPole_ + kFlush - kFlush;
    sum += staticLp_;

    double y;
    if constexpr (Mic) {
        // The player takes the microphone angle, the speed and the level; it has no input
        // for the emission angle, so that is not passed on.
        if (noiseReady_) {
            HornNoisePlayer& p = *player_;
            p.micAngle = micAngle_;
            p.rate = motion_.step();
            p.outputGain = staticLevel_ * noiseBaseGain_;
            noise_ = p.process();
        }
        // Floor and ceiling reflections: the summed rays again, a little later.
        double* o = outRing_.get();
        writeMirrored(o, kOutRingSize, outIndex_, sum);
        const double z = readZ(zSamples1_) + readZ(zSamples2_);
        outIndex_ = (outIndex_ + 1) & (kOutRingSize - 1);
        y = sum + z * zGain_;
    } else {
        y = sum;
    }
    ring_.advance();
    return y;
}

double RotorModel::radiateSelected(double x) {
    switch (processKind_) {
        case ProcessKind::Front: return radiate<10, true>(x);
        case ProcessKind::Side: return radiate<11, true>(x);
        default: return radiate<kLeakRays, false>(x);
    }
}

double RotorModel::process(double x) {
    const double sum = radiateSelected(x);
    if (kind_ == Kind::Leak) return shortBank_.process(sum);
    return bank_.process(sum) * outputGain_;
}

void RotorModel::processPair(RotorModel& a, RotorModel& b, double x, double& ya, double& yb) {
    double sa = a.radiateSelected(x);
    double sb = b.radiateSelected(x);
    // The two voicing banks are long chains of dependent sections; run side by side, one
    // bank's sections fill the other's waiting time.
    for (int c = 0; c < HornVoicingBank::cascadeCount; ++c) {
        sa = a.bank_.cascade[c].process(sa);
        sb = b.bank_.cascade[c].process(sb);
    }
    ya = sa * a.outputGain_;
    yb = sb * b.outputGain_;
}

}  // namespace orv
