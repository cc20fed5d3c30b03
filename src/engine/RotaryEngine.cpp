// This file holds an AVX2 kernel (engine/VectorPath.h): four-lane values pass by value between
// functions that are all inlined into it, so the calling-convention warning does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

#include "engine/RotaryEngine.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "dsp/Constants.h"
#include "engine/VectorPath.h"
#include "params/ParameterIndex.h"
#include "params/ParameterLaws.h"
#include "params/ParameterSet.h"
#include "platform/FpuControl.h"

namespace orv {

namespace {

using namespace param;

constexpr auto kRelaxed = std::memory_order_relaxed;
// Smoothing time constants in seconds.
constexpr double kGeneralTau = 0.03;
constexpr double kDriveTau = 0.1;
constexpr double kBypassTau = 0.02;
constexpr double kMuteUpTau = 0.02;
constexpr double kMuteDownTau = 0.02;
// Each stage of the rotors' two-stage on/off ramp: 99 % of a switch in 5 ms, with a smooth
// start and end, so that a change of "SpkrConf" neither clicks nor lags.
constexpr double kSwitchTau = 0.00075;
constexpr double kSwitchDone = 1e-9;  // the ramp lands on its target from this close

constexpr double kMutedEnough = 0.96837722339;  // 1 − 10^(−30/20): the wet path is 30 dB down
constexpr double kWetEnough = 0.0316227766;     // −30 dB of dry signal left

constexpr double kMaxGainDb = 1000.0;  // gain limit of the engine's filters

// Equaliser bands, in processing order.
constexpr double kPresenceHz = 2000.0;
constexpr double kLoMidHz = 500.0;
constexpr double kTopShelfHz = 4500.0;
constexpr double kTopShelfQ = 0.35;
constexpr double kBottomHz = 80.0;
constexpr double kBottomQ = 1.0;
constexpr double kShelfBandScale = 0.75;  // "TopShlf" and "Bottom" act at three quarters

// Colour filters on the reflection returns.
constexpr double kColourPeakHz = 1500.0;
constexpr double kColourPeakQ = 0.5;
constexpr double kColourPeakSpanDb = 12.0;
constexpr double kColourPeakOffsetDb = -3.0;
constexpr double kColourShelfHz = 350.0;
constexpr double kColourShelfQ = 0.6;
constexpr double kColourShelfSpanDb = -12.0;

// Cabinet constants.
constexpr double kHornHighPassQ = 0.5;
constexpr double kDrumShelfHz = 250.0;
constexpr double kDrumShelfQ = 0.5;
constexpr double kDrumShelfDb = 6.0;
constexpr double kReflexHz = 70.0;
constexpr double kReflexQ = 9.0;
constexpr double kDecimationQ = 0.707;
constexpr double kDecimationMarginHz = 20.0;  // per 44.1 kHz of host rate, above fsInt
constexpr double kReferenceRate = 44100.0;
constexpr double kPoleBase = 0.005;           // a = 0.005^(f / rate): one-pole of the drum low-pass
constexpr double kHornInputCornerHz = 500.0;  // horn input one-pole high-pass
constexpr double kDrumLeakCornerHz = 3200.0;
constexpr double kHornLeakCornerHz = 4500.0;
constexpr double kDryCornerHz = 3000.0;  // low-pass of the dry signal heard while muted
constexpr double kHornGainScale = 64.0;
constexpr double kLeakScale = 4.0;
constexpr double kReflexInputScale = 8.0;
constexpr double kReflexOutputScale = 8.0;
constexpr double kReflexSendScale = 4.0;
constexpr double kHornLeakToHorn = 0.1575;
constexpr double kHornToDrumScale = 0.25;
constexpr double kHornModelShare = 0.5;
constexpr double kCabinetTrim = 0.50118723362;  // −6 dB
constexpr double kNoiseSendScale = 0.25;
constexpr double kMinMic2Distance = 0.3;  // metres

// Motor-noise laws.
constexpr double kNoiseBaseShare = 0.25;
constexpr double kNoiseMechBoost = 2.0;  // a "Mech" change doubles the base gain
constexpr double kDrumNoiseLevelScale = 7.96214341106;
constexpr double kHornSlowScale = 5.01187233627;
constexpr double kHornFastScale = 6.3095734448;
constexpr double kHornAccelScale = 1.99053585276;
constexpr double kHornTransientBase = 0.99763115748;
constexpr double kDrumSlowScale = 0.70794578438;
constexpr double kDrumFastScale = 1.0;
constexpr double kDrumAccelScale = 0.12559432155;
constexpr double kDrumTransientBase = 0.06294627058;
constexpr double kTransientTrim = 0.25118864315;  // −12 dB

// Motor-noise pan: before the first set-up and after it.
constexpr double kInitialNoisePanA = 0.45;
constexpr double kInitialNoisePanB = 0.55;
constexpr double kSetupNoisePanA = 0.2;
constexpr double kSetupNoisePanB = 0.8;

constexpr int kLeverModeCont = 0;
constexpr int kLeverModeSnap = 1;

// Decimation filters: 32 taps each, the last 0. The same table decimates the input and
// interpolates the outputs (zero-stuffed, gain D).
// clang-format off
constexpr float kFir2[RotaryEngine::kFirTaps] = {
    0.158474952f, 0.40413028f, 0.443080634f, 0.152980521f, -0.138958678f, -0.121906489f,
    0.0513531752f, 0.0798419714f, -0.0183898658f, -0.0484368615f, 0.0051999311f, 0.0271777026f,
    -0.000376334589f, -0.0139330644f, -0.000840721303f, 0.0064450209f, 0.000574515492f,
    -0.00254359446f, -0.000110663801f, 0.00093231193f, -3.09125971e-05f, -0.000298398605f,
    3.72791037e-05f, 7.58576425e-05f, -1.72934342e-05f, -1.26725208e-05f, 4.25922781e-06f,
    7.40794405e-07f, -2.77639714e-07f, -1.35600819e-08f, 5.31742694e-09f, 0.0f};
constexpr float kFir4[RotaryEngine::kFirTaps] = {
    0.0360910185f, 0.0916251913f, 0.163579166f, 0.222620428f, 0.239686653f, 0.202010348f,
    0.122257449f, 0.032205984f, -0.0348609462f, -0.0612233803f, -0.0508320704f, -0.0224730708f,
    0.00354496273f, 0.0159949549f, 0.0150811477f, 0.00752067054f, 0.000276066101f,
    -0.00302326353f, -0.00276720501f, -0.00113279861f, 0.000122287471f, 0.000488324556f,
    0.00031005952f, 6.15312747e-05f, -4.58112372e-05f, -4.00507088e-05f, -1.01355672e-05f,
    2.3882817e-06f, 1.93493065e-06f, 2.79320773e-07f, 1.16743593e-08f, 0.0f};
constexpr float kFir8[RotaryEngine::kFirTaps] = {
    0.0117191626f, 0.02373874f, 0.0423774011f, 0.0645571277f, 0.0871480033f, 0.10634312f,
    0.118617408f, 0.121654026f, 0.11493364f, 0.0998111665f, 0.0790930763f, 0.0562881939f,
    0.0347735882f, 0.0170902722f, 0.00451541413f, -0.00298063899f, -0.00626659486f,
    -0.00655696867f, -0.00522020785f, -0.00337761571f, -0.00174127892f, -0.000619018858f,
    -2.27405526e-05f, 0.000189416649f, 0.000192547755f, 0.000123326812f, 5.73022444e-05f,
    1.8840854e-05f, 3.83680981e-06f, 3.42787757e-07f, 1.05304014e-08f, 0.0f};
// clang-format on

// Host-rate boundaries of the decimation choice.
constexpr double kRateStepOne = 50000.0;
constexpr double kRateStepTwo = 100000.0;
constexpr double kRateStepThree = 200000.0;

// One set-up position: the hidden parameters it sets, its level and its name.
struct SetupPreset {
    float ampOnly, mic1Angle, mic2Angle, mic2Distance, mic2Gain, hornGain, mic1Pan, mic2Pan;
    double level;
};
// clang-format off
constexpr SetupPreset kSetupPresets[] = {
    {1.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.0f, 1.0f, 1.0},             // "Amp" "Only"
    {0.0f, 0.19f, 0.52f, 0.2575f, 0.55f, 0.5f, 0.0f, 1.0f, 1.0},       // "Front" "Side"
    {0.0f, 0.35f, 0.64f, 0.3275f, 0.5f, 0.5f, 0.0f, 1.0f, 1.2589},     // "Front" "Diagonal", +2 dB
    {0.0f, 0.02f, 0.52f, 0.74f, 0.5f, 0.5f, 0.0f, 1.0f, 1.2589},       // "Front" "Rear", +2 dB
    {0.0f, 0.18f, 0.71f, 0.5f, 0.5f, 0.5f, 0.0f, 1.0f, 1.0},           // "Opposite" "Diagonal"
    {0.0f, 0.5f, 0.71f, 0.5f, 0.0f, 0.5f, 0.5f, 0.5f, 1.9953},         // "Mono", +6 dB
};
// clang-format on
constexpr int kSetupCount = static_cast<int>(std::size(kSetupPresets));

double smoothingCoefficient(double fs, double tau) { return 1.0 - std::exp(-1.0 / (fs * tau)); }

double clampGain(double db) { return std::min(std::max(db, -kMaxGainDb), kMaxGainDb); }

// The parameters that shape one kind of rotor, whichever microphone hears it.
struct RotorVoicing {
    int amRadius, fmRadius, attenuation, attenuationDistance, decayExponent, flip;
};
constexpr RotorVoicing kHornVoicing{kHornAmRadius,    kHornFmRadius, kHornAttenuation, kHornAttenuationDistance,
                                    kHornAttDecayExp, kHornFlip};
constexpr RotorVoicing kDrumVoicing{kDrumAmRadius,    kDrumFmRadius, kDrumAttenuation, kDrumAttenuationDistance,
                                    kDrumAttDecayExp, kDrumFlip};

// Places a rotor model before the microphone at (angle, distance), voices it, lays out its
// geometry and resets it. Only the horn models have an open-back mode.
template <class Model>
void configureRotor(Model& model, const ParameterSet& p, const RotorVoicing& v, double micAngle, double micDistance)
{
    model.setMicAngle(micAngle);
    model.setMicDistance(micDistance);
    model.setAmRadius(p.quantity(v.amRadius));
    model.setFmRadius(p.quantity(v.fmRadius));
    model.setAttenuation(p.quantity(v.attenuation));
    model.setAttenuationDistance(p.quantity(v.attenuationDistance));
    model.setDecayExponent(p.quantity(v.decayExponent));
    if constexpr (std::is_same_v<Model, RotorModel>) model.setOpenBackMode(p.position(kHornOpenBackMode));
    model.setDirection(p.quantity(v.flip));
    model.setGeometry();
    model.reset();
}

// Sets a filter's kind and rate (the usable rate, with its glide length) without designing it.
void setFilter(BiquadFilter& f, std::uint32_t type, double rate, double hz, double q, double db)
{
    const double r = BiquadFilter::usableRate(rate);
    f.prepare(r, BiquadFilter::glideLengthFor(r));
    f.setType(type);
    f.setFrequency(BiquadFilter::clampFrequency(hz, r));
    f.setQ(BiquadFilter::clampQ(q));
    f.setGainDb(clampGain(db));
}

// The early-reflection room the parameters ask for.
EarlyReflections::Room roomOf(const ParameterSet& p)
{
    return {p.quantity(kEarlyReflRoomSize), p.quantity(kEarlyReflVirtualRoomSize), p.quantity(kEarlyReflLrDelay),
            p.quantity(kEarlyReflMainCutoff)};
}

void clearHistory(BiquadFilter& f)
{
    f.clearHistory();
    f.snap();
}

// Samples that are not finite (a host's bad input, a path that overflowed) count as silence.
inline double finiteOrZero(double x) { return std::isfinite(x) ? x : 0.0; }

inline double dot32(const float* h, const float* x)
{
    double sum = 0.0;
    for (int k = 0; k < RotaryEngine::kFirTaps; ++k) sum += static_cast<double>(h[k]) * x[k];
    return sum;
}

}  // namespace

RotaryEngine::RotaryEngine(EngineHost& effect, const ParameterSet& params)
    : effect_(effect), params_(params), noisePanA_(std::sin(kInitialNoisePanA * kHalfPi)),
      noisePanB_(std::sin(kInitialNoisePanB * kHalfPi))
{
    crossLines_.assign(3 * 2 * kCrossLineLength, 0.0);
    crossDrumLeak_ = crossLines_.data();
    crossHornLeak_ = crossDrumLeak_ + 2 * kCrossLineLength;
    crossReflex_ = crossHornLeak_ + 2 * kCrossLineLength;
    for (auto& t : target_) t.store(0.0, kRelaxed);

    // Components at the default rate; the sample-rate job sets them up for the host.
    colourA_.build(colourationTableA, voicingSaturationBias, fsInt_,
                   filterSaturationAmount(params_.lawValue(kHornFilterSaturation)));
    colourB_.build(colourationTableB, voicingSaturationBias, fsInt_,
                   filterSaturationAmount(params_.lawValue(kHornFilterSaturation)));
    filterRateSetup();
    // These filters follow their parameters by gliding once they are set up.
    for (BiquadFilter* f : {&eq_[0], &eq_[1], &eq_[2], &eq_[3], &hornHighPass_[0], &hornHighPass_[1], &colourPeak_[0],
                            &colourPeak_[1], &colourShelf_[0], &colourShelf_[1]})
        f->setSnapOnUpdate(false);

    // Every index's engine side, from the values the parameter set starts with (the internal
    // parameters first, so the program applied afterwards has the last word: its "Mech" sets
    // the motor-noise base gains after "Drum Sample Volume" did here). The lever and
    // "Size" call back into the effect, which is still being built: the program applied at the
    // end of construction gives them their values.
    for (int i = 0; i < ParameterSet::kNumIndices; ++i) {
        if (i == kLever || i == kSize) continue;
        parameterChanged(i, params_.lawValue(i), true);
    }
}

RotaryEngine::~RotaryEngine() = default;

// ---------------------------------------------------------------------------------------------
// Parameter side (any thread)

void RotaryEngine::schedule(std::uint32_t jobs) { pending_.fetch_or(jobs, std::memory_order_acq_rel); }

void RotaryEngine::fadedChange(std::uint32_t jobs)
{
    // The jobs first, then the state: the audio thread never sees FadingToDry without them.
    schedule(jobs);
    state_.store(kFadingToDry, std::memory_order_release);
}

void RotaryEngine::recomputeNoiseBase(int index)
{
    const double mech = levelCurve(params_.lawValue(kMech)) * kNoiseBaseShare;
    if (index == kDrumSampleVolume) {
        // Without the factor 2 that a "Mech" change applies.
        const double drumLevel = levelCurve(params_.lawValue(kDrumSampleVolume)) * kDrumNoiseLevelScale;
        drumNoiseLevel_.store(drumLevel, kRelaxed);
        hornNoiseBase_.store(mech, kRelaxed);
        drumNoiseBase_.store(mech * drumLevel, kRelaxed);
    } else {
        hornNoiseBase_.store(mech * kNoiseMechBoost, kRelaxed);
        drumNoiseBase_.store(mech * drumNoiseLevel_.load(kRelaxed) * kNoiseMechBoost, kRelaxed);
    }
    noiseDirty_.store(true, std::memory_order_release);
}

void RotaryEngine::leverChanged(float lever)
{
    const float applied = leverApplied_.load(kRelaxed);
    if (lever == applied) return;
    const bool noneApplied = applied < 0.0f;
    const double towardSlow = 1.0 - static_cast<double>(lever);  // 1 "Chorale" .. 0 "Tremolo"
    const double appliedTowardSlow = 1.0 - static_cast<double>(applied);
    const int mode = params_.position(kLvrMode);
    float speed;
    if (mode == kLeverModeCont) {
        speed = static_cast<float>(towardSlow);
    } else if (mode == kLeverModeSnap) {
        const int p = roundHalfUp(towardSlow);
        if (noneApplied || p != roundHalfUp(appliedTowardSlow)) requestTransient();
        speed = static_cast<float>(p);
    } else {
        // Three positions: 2 "Chorale", 1 "Stop", 0 "Tremolo".
        constexpr int kStopPosition = 1;
        const int p = roundHalfUp(2.0 * towardSlow);
        if (p == kStopPosition) {
            effect_.setParameter(kStop, lever);
            return;
        }
        if (noneApplied || p != roundHalfUp(2.0 * appliedTowardSlow)) requestTransient();
        speed = static_cast<float>(roundHalfUp(towardSlow));
    }
    rotorLever_.store(speed, kRelaxed);
    motionDirty_.store(true, std::memory_order_release);
    leverApplied_.store(lever, kRelaxed);
    if (roundHalfUp(params_.lawValue(kStop)) == 1) effect_.setParameterAutomated(kStop, 0.0f);
}

void RotaryEngine::stopChanged(float stop)
{
    const int p = roundHalfUp(stop);
    if (stopPosition_.exchange(p, kRelaxed) == p) return;
    leverApplied_.store(params_.lawValue(kLever), kRelaxed);
    rotorBrake_.store(static_cast<float>(p), kRelaxed);
    motionDirty_.store(true, std::memory_order_release);
}

void RotaryEngine::parameterChanged(int index, float value, bool changed)
{
    const double q = params_.quantity(index);
    const double q2 = params_.secondaryQuantity(index);
    const auto flag = [](std::atomic<bool>& f) { f.store(true, std::memory_order_release); };
    // Geometry of each rotor re-initialises its models, both leak models (each is heard at the
    // other rotor's microphone) and the cross paths.
    constexpr std::uint32_t kLeakJobs = kJobCrossHorn | kJobCrossDrum | kJobCrossPaths;
    constexpr std::uint32_t kHornGeometry = kJobHornMic1 | kJobHornMic2 | kLeakJobs;
    constexpr std::uint32_t kDrumGeometry = kJobDrumMic | kLeakJobs;

    switch (index) {
    case kBypass: bypassTarget_.store(roundHalfUp(value), kRelaxed); break;
    case kCpuMode: {
        const int p = params_.position(kCpuMode);
        if (cpuModePosition_.exchange(p, kRelaxed) != p) fadedChange(kJobFullReset);
        break;
    }
    case kLever: leverChanged(value); break;
    case kSpeed: {
        const int p = roundHalfUp(value);
        if (speedPosition_.exchange(p, kRelaxed) != p) requestTransient();
        break;
    }
    case kStop: stopChanged(value); break;
    case kMech:
    case kDrumSampleVolume: recomputeNoiseBase(index); break;
    case kSlowSampleVolume:
    case kFastSampleVolume:
    case kAccelSampleVolume:
    case kDecelSampleVolume:
    case kMechRatio: flag(noiseDirty_); break;
    case kBottom:
    case kLoMid:
    case kPresence:
    case kTopShlf:
    case kColor: flag(eqDirty_); break;
    case kSetup: {
        const int p = params_.position(kSetup);
        if (setupPosition_.exchange(p, kRelaxed) != p) fadedChange(kJobMicSetup | kJobCrossPaths);
        break;
    }
    case kInput: setTarget(smInGain, q); break;
    case kType:
    case kDrive: flag(ampDirty_); break;
    case kSize: {
        const int p = params_.position(kSize);
        if (sizePosition_.exchange(p, kRelaxed) != p) {
            const EarlyReflections::SizePreset s = EarlyReflections::sizePreset(p);
            effect_.setParameterAutomated(kEarlyReflRoomSize, static_cast<float>(s.roomSize));
            effect_.setParameterAutomated(kEarlyReflVirtualRoomSize, static_cast<float>(s.virtualRoomSize));
        }
        break;
    }
    case kAmount:
        reflectionLevelTarget_.store(q, kRelaxed);
        // The motor noise goes to the room at the level curve taken at half the "Amount"
        // value (the halving applies to the value, not to the gain).
        setTarget(smNoiseSend, levelCurve(0.5 * value) * kNoiseSendScale);
        break;
    case kHSlowSpd:
    case kHFastSpd:
    case kHAccel:
    case kHDecel:
    case kDSlowSpd:
    case kDFastSpd:
    case kDAccel:
    case kDDecel: flag(motionDirty_); break;
    case kHDistance:
        if (!changed) break;  // the same distance again changes nothing
        flag(hornDirty_);     // the amplitude floor follows the distance
        fadedChange(kHornGeometry);
        break;
    case kHHpf:
        setTarget(smHpOn, q > 0.0 ? 1.0 : 0.0);
        flag(filterFreqDirty_);
        break;
    case kHGain: setTarget(smHGain, q); break;
    case kDDistance:
        if (!changed) break;
        fadedChange(kDrumGeometry);
        break;
    case kDLpf:
        setTarget(smLpOn, q > 0.0 ? 1.0 : 0.0);
        flag(filterFreqDirty_);
        break;
    case kDGain: setTarget(smDGain, q); break;
    case kSpkrConf: {
        constexpr int kDrumOnly = 0;
        constexpr int kHornOnly = 2;
        const int p = params_.position(kSpkrConf);
        // The on/off factors ramp within a few milliseconds; a rotor's models run while its
        // factor or its target is not 0 (decided at block start).
        setTarget(smDrumOn, p != kHornOnly ? 1.0 : 0.0);
        setTarget(smHornOn, p != kDrumOnly ? 1.0 : 0.0);
        break;
    }
    case kBReflex:
    case kXTalk: schedule(kJobCrossPaths); break;
    case kWidth: setTarget(smWidth, value); break;
    case kBalance:
        setTarget(smBalL, q);
        setTarget(smBalR, q2);
        break;
    case kMix:
        setTarget(smWet, q);
        setTarget(smDry, q2);
        break;
    case kOutput: setTarget(smOut, q); break;

    case kHornGain: setTarget(smHornGain, q * kHornGainScale); break;
    case kHornMic1Angle: fadedChange(kJobHornMic1 | kLeakJobs); break;
    case kHornMic1Panorama:
        setTarget(smPan1L, q);
        setTarget(smPan1R, q2);
        break;
    case kHornMic2Angle:
    case kHornMic2Distance: fadedChange(kJobHornMic2 | kLeakJobs); break;
    case kHornMic2Panorama:
        setTarget(smPan2L, q);
        setTarget(smPan2R, q2);
        break;
    case kHornMic2Gain: setTarget(smHornMic2Gain, q); break;
    case kHornFmRadius:
    case kDrumFmRadius: fadedChange(kJobCrossPaths); break;
    case kHornAttenuation:
    case kHornAttenuationDistance:
    case kHornAttDecayExp:
    case kHornAmRadius:
    case kHornOpenBackMode:
    case kHornFlip: fadedChange(kHornGeometry); break;
    case kHornRay1:
    case kHornRay2:
    case kHornRay3:
    case kHornRay4:
    case kHornRay5:
    case kHornRay6:
    case kHornRays7To10:
    case kHornLpfCutLow:
    case kHornLpfCutHigh:
    case kHornReflectionCoeff:
    case kHornZAxisRays:
    case kHornReflectionLpf:
    case kHornStaticRay:
    case kHornStaticFilterCutoff:
    case kHornAmplitudeClip: flag(hornDirty_); break;
    case kHornFilterSaturation:
        flag(saturationDirty_);
        flag(hornDirty_);
        break;
    case kDrumGain: setTarget(smDrumGain, q); break;
    case kDrumMic1Angle: fadedChange(kDrumGeometry); break;
    case kDrumMic1Pan:
        setTarget(smPanDL, q);
        setTarget(smPanDR, q2);
        break;
    case kDrumAttenuation:
    case kDrumAttenuationDistance:
    case kDrumAttDecayExp:
    case kDrumAmRadius:
    case kDrumFlip: fadedChange(kDrumGeometry); break;
    case kDrumReflectionCoeff:
    case kDrumRay1:
    case kDrumRay2:
    case kDrumRay3:
    case kDrumRay4:
    case kDrumLpfCutLow:
    case kDrumLpfCutHigh:
    case kDrumReflectionLpf:
    case kDrumStaticRay:
    case kDrumFilterSaturation:
    case kDrumStaticFilterCutoff:
    case kDrumSplitterFrequency:
    case kDrumLpStaticGain: flag(drumDirty_); break;
    case kAmpPostDriveGain: setTarget(smPostGain, q); break;
    case kBrToTubeMicGain: setTarget(smBrToTube, q); break;
    case kBrToDrumMicGain: setTarget(smBrToDrum, q); break;
    case kDrumToTubeFeedback: setTarget(smDrumToTube, q); break;
    case kHornToDrumFeedback: setTarget(smHornToDrum, q); break;
    case kEarlyReflRoomSize:
    case kEarlyReflVirtualRoomSize:
    case kEarlyReflLrDelay:
    case kEarlyReflMainCutoff:
    case kEarlyReflXCutoff: fadedChange(kJobRoomGeometry); break;
    case kBypassSpeakers: ampOnly_.store(params_.position(kBypassSpeakers) == 1, kRelaxed); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// Lifecycle

void RotaryEngine::finishConstruction()
{
    applyRequests();
    // The rate the effect was built with; hosts tell the real one before the first resume.
    sampleRateJob(true);
    fullReset();
    setupPresetJob();
    roomGeometryJob();
    hornModelJob(horn1_, false);
    hornModelJob(horn2_, true);
    hornLeakJob();
    drumJob(drum_);
    drumJob(drumLeak_);
    decimationJob();
    crossPathJob(true);
    applyRequests();
    pending_.store(0, kRelaxed);
    // Speed changes made while building make no sound.
    transientsSeen_ = transientRequests_.load(kRelaxed);
    state_.store(kRunning, kRelaxed);
    mute_ = 0.0;

    suspend();
    resume();
    suspend();
}

void RotaryEngine::suspend()
{
    snapOutputRequest_.store(true, std::memory_order_release);
    fadedChange(kJobSampleRate);
}

void RotaryEngine::resume()
{
    snapBypassRequest_.store(true, std::memory_order_release);
    fadedChange(kJobFullReset | kJobHornMic1 | kJobHornMic2 | kJobCrossHorn | kJobDrumMic | kJobCrossDrum |
                kJobCrossPaths);
}

// ---------------------------------------------------------------------------------------------
// Block start (audio thread)

void RotaryEngine::applyRequests()
{
    const auto take = [](std::atomic<bool>& f) {
        return f.load(kRelaxed) && f.exchange(false, std::memory_order_acq_rel);
    };
    if (take(snapOutputRequest_)) {
        for (int k : {smWidth, smBalL, smBalR, smWet, smDry, smOut}) cur_[k] = tgt_[k] = target_[k].load(kRelaxed);
    }
    if (take(snapBypassRequest_)) bypass_ = bypassTarget_.load(kRelaxed);
    if (take(filterFreqDirty_)) applyFilterFrequencies();
    if (take(eqDirty_)) applyEqualiser();
    if (take(ampDirty_)) {
        amp_.setType(params_.position(kType));
        amp_.setDriveTarget(params_.quantity(kDrive));
    }
    if (take(saturationDirty_)) {
        const double amount = filterSaturationAmount(params_.lawValue(kHornFilterSaturation));
        colourA_.setSaturationAmount(amount);
        colourB_.setSaturationAmount(amount);
    }
    if (take(hornDirty_)) applyHornSettings();
    if (take(drumDirty_)) applyDrumSettings();
    if (take(motionDirty_)) applyMotion();
    if (take(noiseDirty_)) applyNoise();
    const std::uint32_t requests = transientRequests_.load(kRelaxed);
    if (requests != transientsSeen_) {
        transientsSeen_ = requests;
        const double decel = levelCurve(params_.lawValue(kDecelSampleVolume));
        const double hornLevel = kTransientTrim * decel * kHornTransientBase;
        horn1_.startNoiseTransient(hornLevel);
        horn2_.startNoiseTransient(hornLevel);
        drum_.startNoiseTransient(kTransientTrim * decel * kDrumTransientBase);
    }
    ampOnlyNow_ = ampOnly_.load(kRelaxed);
    const auto running = [this](int k) {
        return target_[k].load(kRelaxed) != 0.0 || cur_[k] != 0.0 || switchStage_[k - kGeneralCount] != 0.0;
    };
    hornEnabled_ = running(smHornOn);
    drumEnabled_ = running(smDrumOn);
}

void RotaryEngine::applyMotion()
{
    const float lever = rotorLever_.load(kRelaxed);
    const float brake = rotorBrake_.load(kRelaxed);
    const auto drive = [&](RotorMotion& m, int slow, int fast, int accel, int decel) {
        m.setSlowSpeed(static_cast<float>(params_.quantity(slow)));
        m.setFastSpeed(static_cast<float>(params_.quantity(fast)));
        m.setAccelTime(params_.quantity(accel));
        m.setDecelTime(params_.quantity(decel));
        // The lever first: with the brake on it is only recorded.
        m.setSpeed(lever);
        m.setStop(brake);
    };
    for (RotorModel* h : {&horn1_, &horn2_, &hornLeak_}) drive(h->motion(), kHSlowSpd, kHFastSpd, kHAccel, kHDecel);
    for (LightRotorModel* d : {&drum_, &drumLeak_}) drive(d->motion(), kDSlowSpd, kDFastSpd, kDAccel, kDDecel);
}

void RotaryEngine::applyNoise()
{
    const auto lc = [this](int i) { return static_cast<double>(levelCurve(params_.lawValue(i))); };
    const double slow = lc(kSlowSampleVolume);
    const double fast = lc(kFastSampleVolume);
    const double accel = lc(kAccelSampleVolume);
    const float ratio = params_.lawValue(kMechRatio);
    for (RotorModel* h : {&horn1_, &horn2_}) {
        h->setNoiseBaseGain(hornNoiseBase_.load(kRelaxed));
        h->setNoiseLevels(slow * kHornSlowScale, fast * kHornFastScale, accel * kHornAccelScale);
        h->setNoiseBalance(ratio);
    }
    drum_.setNoiseBaseGain(drumNoiseBase_.load(kRelaxed));
    drum_.setNoiseLevels(slow * kDrumSlowScale, fast * kDrumFastScale, accel * kDrumAccelScale);
    drum_.setNoiseBalance(ratio);
}

void RotaryEngine::applyHornSettings()
{
    const auto& p = params_;
    const double saturation = filterSaturationAmount(p.lawValue(kHornFilterSaturation));
    const double clip = reflectionCurve(p.lawValue(kHornAmplitudeClip));
    static constexpr int kRays[] = {kHornRay1, kHornRay2, kHornRay3, kHornRay4, kHornRay5, kHornRay6, kHornRays7To10};
    for (RotorModel* h : {&horn1_, &horn2_, &hornLeak_}) {
        for (int r = 0; r < static_cast<int>(std::size(kRays)); ++r) h->setRayGain(r, p.lawValue(kRays[r]));
        h->setZAxisGain(p.lawValue(kHornZAxisRays));
        h->setStaticRayGain(p.lawValue(kHornStaticRay));
        h->setReflectionCoefficient(p.quantity(kHornReflectionCoeff));
        h->setReflectionLpf(p.quantity(kHornReflectionLpf));
        h->setStaticCutoff(p.quantity(kHornStaticFilterCutoff));
        h->setAmplitudeClip(clip);
        h->setFilterSaturation(saturation);
        h->setLpfCuts(p.quantity(kHornLpfCutLow), p.quantity(kHornLpfCutHigh));
    }
}

void RotaryEngine::applyDrumSettings()
{
    const auto& p = params_;
    const double saturation = filterSaturationAmount(p.lawValue(kDrumFilterSaturation));
    static constexpr int kRays[] = {kDrumRay1, kDrumRay2, kDrumRay3, kDrumRay4};
    for (LightRotorModel* d : {&drum_, &drumLeak_}) {
        for (int r = 0; r < static_cast<int>(std::size(kRays)); ++r) d->setRayGain(r, p.lawValue(kRays[r]));
        d->setStaticRayGain(p.lawValue(kDrumStaticRay));
        d->setReflectionCoefficient(p.quantity(kDrumReflectionCoeff));
        d->setReflectionLpf(p.quantity(kDrumReflectionLpf));
        d->setStaticCutoff(p.quantity(kDrumStaticFilterCutoff));
        d->setSplitterFrequency(p.quantity(kDrumSplitterFrequency));
        d->setLowStaticGain(p.quantity(kDrumLpStaticGain));
        d->setFilterSaturation(saturation);
        d->setLpfCuts(p.quantity(kDrumLpfCutLow), p.quantity(kDrumLpfCutHigh));
    }
}

void RotaryEngine::applyFilterFrequencies()
{
    const double hp = params_.quantity(kHHpf);
    for (BiquadFilter& f : hornHighPass_) {
        f.setFrequency(BiquadFilter::clampFrequency(hp, f.sampleRate()));
        f.update();
    }
    drumLpCoeff_ = std::pow(kPoleBase, params_.quantity(kDLpf) / fsInt_);
}

void RotaryEngine::applyEqualiser()
{
    const auto set = [](BiquadFilter& f, double db, double q) {
        f.setGainDb(clampGain(db));
        f.setQ(BiquadFilter::clampQ(q));
        f.update();
    };
    set(eq_[0], params_.quantity(kPresence), params_.secondaryQuantity(kPresence));
    set(eq_[1], params_.quantity(kLoMid), params_.secondaryQuantity(kLoMid));
    set(eq_[2], kShelfBandScale * params_.quantity(kTopShlf), kTopShelfQ);
    set(eq_[3], kShelfBandScale * params_.quantity(kBottom), kBottomQ);
    const double color = params_.lawValue(kColor);
    for (BiquadFilter& f : colourPeak_) set(f, kColourPeakSpanDb * color + kColourPeakOffsetDb, kColourPeakQ);
    for (BiquadFilter& f : colourShelf_) set(f, kColourShelfSpanDb * color, kColourShelfQ);
}

// ---------------------------------------------------------------------------------------------
// State machine

std::uint32_t RotaryEngine::claim(std::uint32_t jobs)
{
    // Cleared before the work, so a request made while it runs stays pending.
    return pending_.fetch_and(~jobs, std::memory_order_acq_rel) & jobs;
}

void RotaryEngine::runStateMachineBeforeBlock(int& state)
{
    // Geometry jobs waiting while the engine heads for the wet signal: fade out for them.
    if ((state == kRunning || state == kFadingToWet) &&
        (pending_.load(std::memory_order_acquire) & ~kJobCrossPaths) != 0) {
        if (state_.compare_exchange_strong(state, kFadingToDry, std::memory_order_acq_rel)) state = kFadingToDry;
    }
    switch (state) {
    case kRunning:
        muteTarget_ = 0.0;
        if (claim(kJobCrossPaths) != 0) crossPathJob(false);
        break;
    case kFadingToDry: muteTarget_ = 1.0; break;
    case kReinitialising:
        muteTarget_ = 1.0;
        runJobGroup(state);
        break;
    default: muteTarget_ = 0.0; break;
    }
}

void RotaryEngine::runJobGroup(int& state)
{
    const std::uint32_t p = pending_.load(std::memory_order_acquire);
    if ((p & kJobSampleRate) != 0) {
        claim(kJobSampleRate);
        sampleRateJob(false);
        return;
    }
    if ((p & kJobFullReset) != 0) {
        claim(kAllJobs & ~kJobSampleRate);  // a rate job asked for meanwhile still runs later
        fullReset();
        setupPresetJob();
        roomGeometryJob();
        // The set-up may have asked for model jobs of its own; they run right here.
        claim(kJobMicSetup | kJobRoomGeometry | kJobHornMic1 | kJobHornMic2 | kJobCrossHorn | kJobDrumMic |
              kJobCrossDrum | kJobDecimation | kJobCrossPaths);
        hornModelJob(horn1_, false);
        hornModelJob(horn2_, true);
        hornLeakJob();
        drumJob(drum_);
        drumJob(drumLeak_);
        crossPathJob(true);
        state_.store(kFadingToWet, std::memory_order_release);
        state = kFadingToWet;
        muteTarget_ = 0.0;
        return;
    }
    if ((p & (kJobMicSetup | kJobRoomGeometry)) != 0) {
        const std::uint32_t c = claim(kJobMicSetup | kJobRoomGeometry);
        if ((c & kJobMicSetup) != 0) setupPresetJob();
        if ((c & kJobRoomGeometry) != 0) roomGeometryJob();
        return;
    }
    if ((p & (kJobHornMic1 | kJobHornMic2)) != 0) {
        const std::uint32_t c = claim(kJobHornMic1 | kJobHornMic2);
        if ((c & kJobHornMic1) != 0) hornModelJob(horn1_, false);
        if ((c & kJobHornMic2) != 0) hornModelJob(horn2_, true);
        return;
    }
    if ((p & (kJobCrossHorn | kJobDrumMic | kJobCrossDrum)) != 0) {
        const std::uint32_t c = claim(kJobCrossHorn | kJobDrumMic | kJobCrossDrum);
        if ((c & kJobCrossHorn) != 0) hornLeakJob();
        if ((c & kJobDrumMic) != 0) drumJob(drum_);
        if ((c & kJobCrossDrum) != 0) drumJob(drumLeak_);
        return;
    }
    if ((p & kJobDecimation) != 0) {
        claim(kJobDecimation);
        decimationJob();
        return;
    }
    if ((p & kJobCrossPaths) != 0) {
        claim(kJobCrossPaths);
        crossPathJob(false);
        return;
    }
    // Nothing left: fade back in, unless a faded change has just turned the engine round.
    int expected = kReinitialising;
    if (state_.compare_exchange_strong(expected, kFadingToWet, std::memory_order_acq_rel)) {
        state = kFadingToWet;
        muteTarget_ = 0.0;
    }
}

void RotaryEngine::finishStateMachineAfterBlock(int state)
{
    if (state == kFadingToDry && mute_ > kMutedEnough) {
        int expected = kFadingToDry;
        if (state_.compare_exchange_strong(expected, kReinitialising, std::memory_order_acq_rel)) mute_ = 1.0;
    } else if (state == kFadingToWet && mute_ < kWetEnough) {
        int expected = kFadingToWet;
        if (state_.compare_exchange_strong(expected, kRunning, std::memory_order_acq_rel)) mute_ = 0.0;
    }
}

// ---------------------------------------------------------------------------------------------
// Jobs

void RotaryEngine::chooseDecimation()
{
    const bool brilliant = params_.position(kCpuMode) == 1;
    int d = decimation_;
    if (fs_ < kRateStepOne) {
        d = brilliant ? 1 : 2;
    } else if (fs_ < kRateStepTwo) {
        d = brilliant ? 2 : 4;
    } else if (fs_ < kRateStepThree) {
        d = brilliant ? 4 : 8;
    }  // from 200 kHz on the decimation stays as it was
    decimation_ = d;
    antiAliasedDrive_ = brilliant;
    fir_ = d == 2 ? kFir2 : (d == 4 ? kFir4 : (d == 8 ? kFir8 : nullptr));
    fsInt_ = fs_ / d;
    if (fsInt_ > 0.0) invFsInt_ = 1.0 / fsInt_;
    sampleMask_ = static_cast<std::uint32_t>(d - 1);
}

void RotaryEngine::filterRateSetup()
{
    const double hp = params_.quantity(kHHpf);
    const double lp = params_.quantity(kDLpf);
    // Decimation low-passes and the equaliser run at the host rate, everything else at fsInt.
    for (BiquadFilter& f : decimationLowPass_) {
        const double cutoff = BiquadFilter::clampFrequency(fsInt_ + fs_ * kDecimationMarginHz / kReferenceRate, fs_);
        setFilter(f, BiquadFilter::typeLowPass2, fs_, cutoff, kDecimationQ, 0.0);
        f.enable();
    }
    setFilter(eq_[0], BiquadFilter::typePeak, fs_, kPresenceHz, params_.secondaryQuantity(kPresence),
              params_.quantity(kPresence));
    setFilter(eq_[1], BiquadFilter::typePeak, fs_, kLoMidHz, params_.secondaryQuantity(kLoMid),
              params_.quantity(kLoMid));
    setFilter(eq_[2], BiquadFilter::typePeak, fs_, kTopShelfHz, kTopShelfQ,
              kShelfBandScale * params_.quantity(kTopShlf));
    setFilter(eq_[3], BiquadFilter::typePeak, fs_, kBottomHz, kBottomQ, kShelfBandScale * params_.quantity(kBottom));
    for (BiquadFilter& f : eq_) f.enable();
    for (BiquadFilter& f : hornHighPass_) {
        setFilter(f, BiquadFilter::typeHighPass2, fsInt_, hp, kHornHighPassQ, 0.0);
        f.enable();
    }
    setFilter(drumShelf_, BiquadFilter::typeLowShelf, fsInt_, kDrumShelfHz, kDrumShelfQ, kDrumShelfDb);
    drumShelf_.enable();
    setFilter(reflexBandPass_, BiquadFilter::typeBandPass, fsInt_, kReflexHz, kReflexQ, 0.0);
    reflexBandPass_.enable();
    const double color = params_.lawValue(kColor);
    for (BiquadFilter& f : colourPeak_) {
        setFilter(f, BiquadFilter::typePeak, fsInt_, kColourPeakHz, kColourPeakQ,
                  kColourPeakSpanDb * color + kColourPeakOffsetDb);
        f.enable();
    }
    for (BiquadFilter& f : colourShelf_) {
        setFilter(f, BiquadFilter::typeLowShelf, fsInt_, kColourShelfHz, kColourShelfQ, kColourShelfSpanDb * color);
        f.enable();
    }
    colourA_.setRate(fsInt_);
    colourB_.setRate(fsInt_);

    drumLpCoeff_ = std::pow(kPoleBase, lp / fsInt_);
    hornHpPole_ = std::pow(kPoleBase, kHornInputCornerHz / fsInt_);
    drumLeakPole_ = std::exp(-kTwoPi * kDrumLeakCornerHz / fsInt_);
    hornLeakPole_ = std::exp(-kTwoPi * kHornLeakCornerHz / fsInt_);
    dryPole_ = std::exp(-kTwoPi * kDryCornerHz / fsInt_);
    reflections_.prepare(fsInt_);
}

void RotaryEngine::clearFilterStates()
{
    for (BiquadFilter* f : {&eq_[0], &eq_[1], &eq_[2], &eq_[3], &hornHighPass_[0], &hornHighPass_[1], &drumShelf_,
                            &reflexBandPass_, &colourPeak_[0], &colourPeak_[1], &colourShelf_[0], &colourShelf_[1],
                            &decimationLowPass_[0], &decimationLowPass_[1]})
        clearHistory(*f);
    hornHpState_ = hornHpPrev_ = 0.0;
    drumLpState_ = 0.0;
    drumLeakState_ = hornLeakState_ = 0.0;
}

void RotaryEngine::clearDecimator()
{
    std::fill(std::begin(decIn_), std::end(decIn_), 0.0f);
    std::fill(std::begin(decOutL_), std::end(decOutL_), 0.0f);
    std::fill(std::begin(decOutR_), std::end(decOutR_), 0.0f);
    decIndex_ = kFirTaps - 1;
}

void RotaryEngine::clearCrossLines()
{
    std::fill(crossLines_.begin(), crossLines_.end(), 0.0);
    crossWrite_ = 0;
}

void RotaryEngine::reloadRecordings()
{
    horn1_.loadRecordings();
    horn2_.loadRecordings();
    drum_.loadRecordings();
}

void RotaryEngine::sampleRateJob(bool atConstruction)
{
    double rate = effect_.getSampleRate();
    if (atConstruction && rate < kMinConstructionRate) rate = kMinConstructionRate;
    // A rate of 0 keeps the previous one (the reciprocal cannot be taken).
    if (rate > 0.0) {
        fs_ = rate;
        invFs_ = 1.0 / rate;
        halfFs_ = 0.5 * rate;
    }
    chooseDecimation();
    for (RotorModel* h : {&horn1_, &horn2_, &hornLeak_}) h->setRate(fsInt_, decimation_);
    for (LightRotorModel* d : {&drum_, &drumLeak_}) d->setRate(fsInt_, decimation_);
    reloadRecordings();
    filterRateSetup();
    clearPathState();
}

void RotaryEngine::clearPathState()
{
    clearFilterStates();
    clearCrossLines();
    colourA_.clearState();
    colourB_.clearState();
    dryL_ = dryR_ = 0.0;
    amp_.clear();
    ampOversampled_.clear();
    clearDecimator();
}

void RotaryEngine::recoverSignalState()
{
    // Only what carries the signal is cleared: parameters, smoothers, rotor speeds, angles and
    // the noise players' phases go on, so once the path has refilled the output is what it
    // would have been without the fault.
    clearPathState();
    reflections_.clearLines();
    for (RotorModel* h : {&horn1_, &horn2_, &hornLeak_}) h->clearSignals();
    for (LightRotorModel* d : {&drum_, &drumLeak_}) d->clearSignals();
    faultCheck_ = 0.0;
}

void RotaryEngine::decimationJob(bool modelsConfiguredNext)
{
    // Everything that depends on the internal rate follows it: a "CPUmode" change moves D
    // (and starts or stops the oversampled amplifier, from rest).
    chooseDecimation();
    ampOversampled_.clear();
    // Re-rating a model at the rate and decimation it has only snaps what configuring it
    // (geometry, then reset) sets again; when that follows in the same group, as in the full
    // reset, the models are left as they are. After a rate job that saves re-rating all five
    // models a second time in the next block.
    const RotorMotion& rated = horn1_.motion();
    if (!modelsConfiguredNext || rated.rate() != fsInt_ || rated.decimation() != decimation_) {
        for (RotorModel* h : {&horn1_, &horn2_, &hornLeak_}) h->setRate(fsInt_, decimation_);
        for (LightRotorModel* d : {&drum_, &drumLeak_}) d->setRate(fsInt_, decimation_);
    }
    filterRateSetup();
    applyHornSettings();  // the reflection low-passes depend on the rate
    applyDrumSettings();
}

void RotaryEngine::snapSmoothers()
{
    for (int k = 0; k < kSmoothedCount; ++k) cur_[k] = tgt_[k] = target_[k].load(kRelaxed);
    for (int k = 0; k < kSwitchCount; ++k) switchStage_[k] = cur_[kGeneralCount + k];
    amp_.setType(params_.position(kType));
    amp_.setDriveTarget(params_.quantity(kDrive));
    amp_.snapDrive();
}

void RotaryEngine::fullReset()
{
    const double rate = effect_.getSampleRate();
    if (rate > 0.0) {
        fs_ = rate;
        invFs_ = 1.0 / rate;
        halfFs_ = 0.5 * rate;
    }
    reloadRecordings();
    // The host-sample count is not re-zeroed: the decimation phase stays tied to the samples
    // since construction, so where the host's blocks begin cannot move it. Every caller
    // configures all five models right after.
    decimationJob(true);
    snapSmoothers();
    cGeneral_ = smoothingCoefficient(fs_, kGeneralTau);
    cDrive_ = smoothingCoefficient(fs_, kDriveTau);
    cBypass_ = smoothingCoefficient(fs_, kBypassTau);
    cMuteUp_ = smoothingCoefficient(fs_, kMuteUpTau);
    cMuteDown_ = smoothingCoefficient(fs_, kMuteDownTau);
    cSwitch_ = smoothingCoefficient(fs_, kSwitchTau);
    clearCrossLines();
    reflections_.setRoom(roomOf(params_));
    reflections_.setOutputGainTarget(reflectionLevelTarget_.load(kRelaxed));
    reflections_.clearReflections();
    amp_.setSampleRate(fs_);
    clearDecimator();
    effect_.setParameter(kHornAmplitudeClip, hornAmplitudeClipValue(params_.lawValue(kHDistance)));
}

// Runs from its own job and from every full reset (which performs the set-up job whether or
// not "Setup" changed).
void RotaryEngine::setupPresetJob()
{
    const int p = std::min(std::max(params_.position(kSetup), 0), kSetupCount - 1);
    const SetupPreset& s = kSetupPresets[p];
    effect_.setParameterAutomated(kBypassSpeakers, s.ampOnly);
    effect_.setParameterAutomated(kHornMic1Angle, s.mic1Angle);
    effect_.setParameterAutomated(kHornMic2Angle, s.mic2Angle);
    effect_.setParameterAutomated(kHornMic2Distance, s.mic2Distance);
    effect_.setParameterAutomated(kHornMic2Gain, s.mic2Gain);
    effect_.setParameterAutomated(kHornGain, s.hornGain);
    effect_.setParameterAutomated(kHornMic1Panorama, s.mic1Pan);
    effect_.setParameterAutomated(kHornMic2Panorama, s.mic2Pan);
    setTarget(smSetupLevel, s.level);
    noisePanA_ = std::sin(kSetupNoisePanA * kHalfPi);
    noisePanB_ = std::sin(kSetupNoisePanB * kHalfPi);
    ampOnlyNow_ = ampOnly_.load(kRelaxed);
}

void RotaryEngine::roomGeometryJob()
{
    reflections_.prepare(fsInt_);
    reflections_.setRoom(roomOf(params_));
    reflections_.setupReflections();
}

void RotaryEngine::hornModelJob(RotorModel& model, bool second)
{
    const double distance = params_.quantity(kHDistance);
    if (second) {
        configureRotor(model, params_, kHornVoicing, params_.quantity(kHornMic2Angle),
                       std::max(kMinMic2Distance, (1.0 + params_.quantity(kHornMic2Distance)) * distance));
    } else {
        configureRotor(model, params_, kHornVoicing, params_.quantity(kHornMic1Angle), distance);
    }
}

void RotaryEngine::hornLeakJob()
{
    // The horn as heard at the drum microphone.
    configureRotor(hornLeak_, params_, kHornVoicing, params_.quantity(kDrumMic1Angle), params_.quantity(kDDistance));
}

void RotaryEngine::drumJob(LightRotorModel& model)
{
    // The drum model hears the drum at the drum microphone, the drum-leak model at horn
    // microphone 1.
    if (&model == &drum_) {
        configureRotor(model, params_, kDrumVoicing, params_.quantity(kDrumMic1Angle), params_.quantity(kDDistance));
    } else {
        configureRotor(model, params_, kDrumVoicing, params_.quantity(kHornMic1Angle), params_.quantity(kHDistance));
    }
}

void RotaryEngine::crossPathJob(bool snap)
{
    for (RotorModel* h : {&horn1_, &horn2_, &hornLeak_}) h->setFmRadius(params_.quantity(kHornFmRadius));
    for (LightRotorModel* d : {&drum_, &drumLeak_}) d->setFmRadius(params_.quantity(kDrumFmRadius));
    CrossPaths::Geometry g{};
    g.hornMicAngle = params_.quantity(kHornMic1Angle);
    g.hornMicDistance = params_.quantity(kHDistance);
    g.drumMicAngle = params_.quantity(kDrumMic1Angle);
    g.drumMicDistance = params_.quantity(kDDistance);
    g.xTalk = params_.quantity(kXTalk);
    g.bassReflex = params_.quantity(kBReflex);
    g.internalRate = fsInt_;
    crossPaths_.compute(g, hornLeak_, drumLeak_);
    for (int i = 0; i < CrossPaths::kPaths; ++i) {
        setTarget(smCrossGain1 + i, crossPaths_.gain[i]);
        setTarget(smCrossDelay1 + i, crossPaths_.delay[i]);
        if (snap) {
            cur_[smCrossGain1 + i] = tgt_[smCrossGain1 + i] = crossPaths_.gain[i];
            cur_[smCrossDelay1 + i] = tgt_[smCrossDelay1 + i] = crossPaths_.delay[i];
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Per sample

inline void RotaryEngine::advanceSmoothers()
{
    const double c = cGeneral_;
    for (int k = 0; k < kGeneralCount; ++k) {
        const double v = (tgt_[k] - cur_[k]) * c + cur_[k];
        cur_[k] = v + kFlush - kFlush;
    }
    // Two one-poles in series: the factor starts and ends its move with zero slope.
    const double cs = cSwitch_;
    for (int k = 0; k < kSwitchCount; ++k) {
        const double target = tgt_[kGeneralCount + k];
        double& stage = switchStage_[k];
        double& value = cur_[kGeneralCount + k];
        stage += (target - stage) * cs;
        value += (stage - value) * cs;
        if (std::fabs(target - value) < kSwitchDone && std::fabs(target - stage) < kSwitchDone) stage = value = target;
    }
}

inline double RotaryEngine::readCross(const double* line, double delay) const
{
    // At least one sample back: the slot at the write index holds the oldest sample.
    constexpr double kShortest = 1.0;
    constexpr double kLongest = kCrossLineLength - 1.0;
    // Argument order makes a delay that is not a number read the shortest one.
    const double tau = std::min(std::max(kShortest, delay), kLongest);
    double pos = crossWrite_ - tau;
    if (pos < 0.0) pos += kCrossLineLength;
    const int i = static_cast<int>(pos);
    const double f = pos - i;
    return line[i] * (1.0 - f) + line[i + 1] * f;
}

inline void RotaryEngine::cabinetInput(double d, const double* gains, int j)
{
    // Horn input: one-pole high-pass, then the horn gain and the colouration banks.
    hornHpState_ = hornHpPole_ * hornHpState_ + (d - hornHpPrev_);
    hornHpState_ = hornHpState_ + kFlush - kFlush;
    hornHpPrev_ = d;
    const double hornInput = hornHpState_ * gains[smHornGain];
    chunk_.drumIn[j] = drumShelf_.processPlain(d) * gains[smDrumGain];
    // Both colouration banks take this input; they run over the whole chunk in runModels().
    chunk_.cabinetIn[j] = d;
    chunk_.hornIn[j] = hornInput;
    chunk_.hornLeakIn[j] = hornInput;
}

namespace {

// The colouration banks' block forms compiled for AVX2.
ORV_WIDE_KERNEL void colourWide(ColourationBankA& a, double* va, ColourationBankB& b, double* vb, int n)
{
    a.processSaturatedBlockWith<Double4>(b, va, vb, n);
}

}  // namespace

void RotaryEngine::runModels(int n)
{
    // Each model over the chunk's samples in turn; the leak models run whether their rotor is
    // on or not.
    Chunk& c = chunk_;
    if (vectorPath::wide()) {
        colourWide(colourA_, c.hornIn, colourB_, c.hornLeakIn, n);
    } else {
        colourA_.processSaturatedBlockWith<Double2>(colourB_, c.hornIn, c.hornLeakIn, n);
    }
    if (drumEnabled_) {
        drum_.processBlock(c.drumIn, c.drum, c.drumLow, c.drumNoise, n);
    } else {
        for (int j = 0; j < n; ++j) drum_.feed(c.drumIn[j]);
    }
    if (hornEnabled_) {
        // Both horn microphones hear the same input; the paired call shares its per-sample work.
        RotorModel::processPairBlock(horn1_, horn2_, c.hornIn, c.horn1, c.horn2, c.hornNoise1, c.hornNoise2, n);
    } else {
        for (int j = 0; j < n; ++j) {
            horn1_.feed(c.hornIn[j]);
            horn2_.feed(c.hornIn[j]);
        }
    }
    drumLeak_.processBlock(c.drumIn, c.drumLeak, nullptr, nullptr, n);
    hornLeak_.processBlock(c.hornLeakIn, c.hornLeak, n);
}

inline void RotaryEngine::runCabinet(int j, double& cL, double& cR)
{
    const double* s = cur_;
    const Chunk& c = chunk_;
    const double d = c.cabinetIn[j];

    // Leak paths from earlier samples.
    double hornSum = readCross(crossDrumLeak_, s[smCrossDelay1]) * s[smCrossGain1] * s[smDrumToTube] +
        readCross(crossReflex_, s[smCrossDelay2]) * s[smCrossGain2] * s[smBrToTube] * kReflexSendScale +
        readCross(crossHornLeak_, s[smCrossDelay4]) * s[smCrossGain4] * kHornLeakToHorn;
    double drumSum =
        readCross(crossHornLeak_, s[smCrossDelay3]) * s[smCrossGain3] * s[smHornToDrum] * kHornToDrumScale +
        readCross(crossReflex_, s[smCrossDelay5]) * s[smCrossGain5] * s[smBrToDrum] * kReflexSendScale;

    const double drumOn = s[smDrumOn];
    const double hornOn = s[smHornOn];
    double drumNoise = 0.0;
    if (drumEnabled_) {
        drumSum += (c.drum[j] + c.drumLow[j]) * drumOn;
        drumNoise = c.drumNoise[j] * drumOn;
    }
    double hornSum1 = hornSum;
    double hornSum2 = hornSum;
    double hornNoise1 = 0.0;
    double hornNoise2 = 0.0;
    if (hornEnabled_) {
        // The on/off factor fades the horn in and out (it is exactly 1 while the horn is on).
        const double share = kHornModelShare * hornOn;
        hornSum1 += c.horn1[j] * share;
        hornSum2 += c.horn2[j] * share;
        hornNoise1 = c.hornNoise1[j] * share;
        hornNoise2 = c.hornNoise2[j] * share;
    }

    // Leak sources for later samples.
    const double drumLeak = c.drumLeak[j] * drumOn * kLeakScale;
    drumLeakState_ = drumLeak + (drumLeakState_ - drumLeak) * drumLeakPole_;
    drumLeakState_ = drumLeakState_ + kFlush - kFlush;
    const double hornLeak = c.hornLeak[j] * hornOn * kLeakScale;
    hornLeakState_ = hornLeak + (hornLeakState_ - hornLeak) * hornLeakPole_;
    hornLeakState_ = hornLeakState_ + kFlush - kFlush;
    const double reflex = reflexBandPass_.process(d * kReflexInputScale) * drumOn * s[smDrumGain] * kReflexOutputScale;

    // Microphone sums.
    const double hornLevel = s[smHGain] * s[smSetupLevel];
    const double mic2Gain = s[smHornMic2Gain];
    const double dGain = s[smDGain];
    double hornL = hornSum1 * hornLevel;
    double hornR = hornSum2 * hornLevel * mic2Gain;
    double drumM = drumSum * dGain;

    // Room: the microphone signals and the motor noise go out, the reflections come back.
    const double nA = noisePanA_;
    const double nB = noisePanB_;
    const double noiseL = hornNoise2 * nA + hornNoise1 * nB + drumNoise;
    const double noiseR = hornNoise2 * nB + hornNoise1 * nA + drumNoise;
    const double sendL = hornR * s[smPan2L] + hornL * s[smPan1L] + drumM * s[smPanDL] + noiseL * s[smNoiseSend];
    const double sendR = hornR * s[smPan2R] + hornL * s[smPan1R] + drumM * s[smPanDR] + noiseR * s[smNoiseSend];
    double rL, rR;
    reflections_.processReflections(sendL, sendR, rL, rR);
    rL = colourShelf_[0].process(colourPeak_[0].process(rL));
    rR = colourShelf_[1].process(colourPeak_[1].process(rR));
    hornL += (rL * horn1_.reflectionGain() + hornNoise2 * nA + hornNoise1 * nB) * hornLevel;
    drumM += (rL * drum_.reflectionGain() + drumNoise) * dGain;
    hornR += (rR * horn2_.reflectionGain() + hornNoise2 * nB + hornNoise1 * nA) * hornLevel * mic2Gain;

    // Horn high-pass and drum low-pass, each faded in and out by its on/off control.
    const double hpOn = s[smHpOn];
    hornL = (1.0 - hpOn) * hornL + hpOn * hornHighPass_[0].process(hornL);
    hornR = (1.0 - hpOn) * hornR + hpOn * hornHighPass_[1].process(hornR);
    drumLpState_ = drumM + (drumLpState_ - drumM) * drumLpCoeff_;
    drumLpState_ = drumLpState_ + kFlush - kFlush;
    const double lpOn = s[smLpOn];
    drumM = (1.0 - lpOn) * drumM + lpOn * drumLpState_;

    const int w = crossWrite_;
    crossDrumLeak_[w] = crossDrumLeak_[w + kCrossLineLength] = drumLeakState_;
    crossHornLeak_[w] = crossHornLeak_[w + kCrossLineLength] = hornLeakState_;
    crossReflex_[w] = crossReflex_[w + kCrossLineLength] = reflex;
    crossWrite_ = (w + 1) & (kCrossLineLength - 1);

    cL = (hornR * s[smPan2L] + hornL * s[smPan1L] + drumM * s[smPanDL]) * kCabinetTrim;
    cR = (hornR * s[smPan2R] + hornL * s[smPan1R] + drumM * s[smPanDR]) * kCabinetTrim;
}

template <typename Sample>
int RotaryEngine::prepareChunk(const Sample* inL, const Sample* inR, int begin, int frames)
{
    const int end = std::min(frames, begin + kChunk);
    // The smoothed gains used before the models advance here on their own, the same way
    // advanceSmoothers() moves them again with all the others when the chunk is mixed.
    static_assert(smInGain == 0 && smPostGain == 1 && smHornGain == 2 && smDrumGain == 3);
    constexpr int kInputGains = 4;
    double g[kInputGains];
    for (int k = 0; k < kInputGains; ++k) g[k] = cur_[k];
    const double c = cGeneral_;
    constexpr int kMask = kFirTaps - 1;
    int idx = decIndex_;
    std::uint32_t counter = sampleCounter_;
    int j = 0;
    for (int i = begin; i < end; ++i) {
        for (int k = 0; k < kInputGains; ++k) {
            const double v = (tgt_[k] - g[k]) * c + g[k];
            g[k] = v + kFlush - kFlush;
        }
        amp_.advanceDrive(cDrive_);
        const double xL = finiteOrZero(static_cast<double>(inL[i]));
        const double xR = finiteOrZero(static_cast<double>(inR[i]));
        chunk_.dryL[i - begin] = xL;
        chunk_.dryR[i - begin] = xR;
        const double x = (xL + xR) * 0.5 * g[smInGain];
        double e = (antiAliasedDrive_ ? ampOversampled_.shape(amp_, x) : amp_.shape(x)) * g[smPostGain];
        for (BiquadFilter& f : eq_) e = f.process(e);
        chunk_.hostIn[i - begin] = e;
        if (!ampOnlyNow_) {
            idx = (idx - 1) & kMask;
            decIn_[idx] = decIn_[idx + kFirTaps] = static_cast<float>(e);
            if ((counter & sampleMask_) == 0) cabinetInput(decimation_ > 1 ? dot32(fir_, decIn_ + idx) : e, g, j++);
        }
        ++counter;
    }
    runModels(j);
    chunkSample_ = 0;
    return end;
}

inline void RotaryEngine::runSample(double xL, double xR, double& yL, double& yR, double e)
{
    advanceSmoothers();
    reflections_.advanceOutputGain(cGeneral_);
    const double* s = cur_;
    const double inGain = s[smInGain];

    double cL, cR;
    if (!ampOnlyNow_) {
        constexpr int kMask = kFirTaps - 1;
        const int idx = (decIndex_ - 1) & kMask;
        decIndex_ = idx;
        const int dFactor = decimation_;
        if ((sampleCounter_ & sampleMask_) == 0) {
            runCabinet(chunkSample_++, cL, cR);
        } else {
            cL = cR = 0.0;
        }
        if (dFactor > 1) {
            // Zero-stuffed output at the host rate, low-passed and interpolated back.
            const double gain = dFactor;
            decOutL_[idx] = decOutL_[idx + kFirTaps] =
                static_cast<float>(decimationLowPass_[0].processPlain(cL) * gain);
            decOutR_[idx] = decOutR_[idx + kFirTaps] =
                static_cast<float>(decimationLowPass_[1].processPlain(cR) * gain);
            cL = dot32(fir_, decOutL_ + idx);
            cR = dot32(fir_, decOutR_ + idx);
        }
    } else {
        cL = cR = e;  // the amplifier alone, the same on both channels
    }
    // Counts every host sample, amplifier-only ones too, so that the phase never depends on
    // the block at which the cabinet was switched in or out.
    ++sampleCounter_;

    // While muted the output turns to the low-passed dry input.
    const double dryCoeff = 1.0 - dryPole_;
    dryL_ = dryL_ + (xL * inGain * 0.5 - dryL_) * dryCoeff;
    dryL_ = dryL_ + kFlush - kFlush;
    dryR_ = dryR_ + (xR * inGain * 0.5 - dryR_) * dryCoeff;
    dryR_ = dryR_ + kFlush - kFlush;
    const double m = mute_;
    const double L = (cL * (1.0 - m) + dryL_ * m) * s[smBalL];
    const double R = (cR * (1.0 - m) + dryR_ * m) * s[smBalR];

    const double mid = L + R;
    const double side = (L - R) * s[smWidth];
    const double wetL = 0.5 * mid + side;
    const double wetR = 0.5 * mid - side;
    // x − x is 0 for every finite x and NaN otherwise: the sum stays 0 until the wet path
    // fails, which the end of the block then repairs. Meanwhile a failed wet sample is left
    // out rather than multiplied by "Mix", so the dry side still passes.
    faultCheck_ += (wetL - wetL) + (wetR - wetR);
    const double wet = s[smWet];
    const double dry = s[smDry];
    const double out = s[smOut];
    yL = (finiteOrZero(wetL) * wet + xL * dry) * out;
    yR = (finiteOrZero(wetR) * wet + xR * dry) * out;
}

void RotaryEngine::loadTargets()
{
    for (int k = 0; k < kSmoothedCount; ++k) tgt_[k] = target_[k].load(kRelaxed);
    reflections_.setOutputGainTarget(reflectionLevelTarget_.load(kRelaxed));
}

template <typename Sample>
void RotaryEngine::process(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int frames)
{
    if (frames <= 0) return;
    enableFlushToZero();
    applyRequests();
    int state = state_.load(std::memory_order_acquire);
    runStateMachineBeforeBlock(state);
    loadTargets();

    const double bypassTarget = bypassTarget_.load(kRelaxed);
    const bool moving = state != kRunning;
    const double muteCoeff = state == kFadingToDry ? cMuteUp_ : cMuteDown_;
    int chunkBegin = 0, chunkEnd = 0;
    for (int i = 0; i < frames; ++i) {
        if (i == chunkEnd) {
            chunkBegin = i;
            chunkEnd = prepareChunk(inL, inR, i, frames);
        }
        const double xL = chunk_.dryL[i - chunkBegin];
        const double xR = chunk_.dryR[i - chunkBegin];
        bypass_ = (bypassTarget - bypass_) * cBypass_ + bypass_;
        bypass_ = bypass_ + kFlush - kFlush;
        if (moving) {
            mute_ = (muteTarget_ - mute_) * muteCoeff + mute_;
            mute_ = mute_ + kFlush - kFlush;
        }
        double yL, yR;
        runSample(xL, xR, yL, yR, chunk_.hostIn[i - chunkBegin]);
        const double b = bypass_;
        const double left = (1.0 - b) * yL + b * xL;
        const double right = (1.0 - b) * yR + b * xR;
        if (outR != nullptr) {
            outR[i] = static_cast<Sample>(right);
            outL[i] = static_cast<Sample>(left);
        } else {
            outL[i] = static_cast<Sample>(right);  // a mono pin ends with the left result
            outL[i] = static_cast<Sample>(left);
        }
    }

    finishStateMachineAfterBlock(state);
    if (faultCheck_ != 0.0) recoverSignalState();  // NaN compares unequal to everything
    hornAngle_.store(horn1_.motion().angle(), kRelaxed);
    drumAngle_.store(drum_.motion().angle(), kRelaxed);
}

template void RotaryEngine::process<float>(const float*, const float*, float*, float*, int);
template void RotaryEngine::process<double>(const double*, const double*, double*, double*, int);

}  // namespace orv
