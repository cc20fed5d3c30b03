// Golden output of the five rotor models: scripted runs (speed changes, motor-noise transients,
// saturation and geometry changes, resets, rate changes, stopped rotors, every ray variant and
// several model rates) compared sample by sample with the stored output of the plain
// implementation in data/model_golden.txt. Faster code must give the same samples within 1e-6
// relative (or 1e-9 of the run's RMS, near zero crossings). A deliberate change of the sound
// regenerates the file with ORV_UPDATE_MODEL_GOLDEN=1 (and says so in its commit message).

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "ModelRig.h"
#include "dsp/VoicingBanks.h"
#include "support/GoldenRows.h"

namespace orv::test {
namespace {

constexpr int kSamples = 6144;       // per run
constexpr int kCheckpointStep = 32;  // every 32nd sample of each output is stored

// A chord with a slow sweep and some noise from a fixed generator, about 0.3 peak.
std::vector<double> testInput(double rate)
{
    std::vector<double> v(kSamples);
    std::uint32_t seed = 2024u;
    double sweep = 0.0;
    for (int n = 0; n < kSamples; ++n) {
        const double t = n / rate;
        seed = seed * 1664525u + 1013904223u;  // linear congruential generator
        const double white = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
        sweep += 2.0 * M_PI * (300.0 + 4000.0 * n / kSamples) / rate;
        v[n] = 0.12 * std::sin(2.0 * M_PI * 220.0 * t) + 0.08 * std::sin(sweep) + 0.1 * white;
    }
    return v;
}

// The three signals a model offers per sample.
struct Outputs {
    std::vector<double> y, noise, low;
};

// The run's placement, speeds and rate, and a set of the other settings, each model's own.
template <class Model>
void setUp(Model& m, double theta, double distance, double rate, int decimation, double speedHz, double saturation)
{
    m.motion().setSlowSpeed(0.8f);
    m.motion().setFastSpeed(static_cast<float>(speedHz));
    m.motion().setSpeed(0.0f);  // fast
    m.motion().setAccelTime(1.2);
    m.motion().setDecelTime(0.9);
    m.setMicAngle(theta);
    m.setMicDistance(distance);
    m.setAmRadius(0.18);
    m.setFmRadius(0.21);
    m.setAttenuation(1.3);
    m.setAttenuationDistance(0.9);
    m.setDecayExponent(1.1);
    m.setRate(rate, decimation);
    m.setGeometry();
    m.reset();
    m.loadRecordings();
    m.setNoiseBaseGain(0.7);
    m.setNoiseLevels(3.5, 6.3, 2.0);
    m.setNoiseBalance(0.4f);
    if constexpr (std::is_same_v<Model, RotorModel>) {
        const double gains[RotorModel::kRayGainCount] = {0.9, 0.6, 0.5, 0.45, 0.4, 0.35, 0.3};
        for (int k = 0; k < RotorModel::kRayGainCount; ++k) m.setRayGain(k, gains[k]);
        m.setZAxisGain(0.6);
        m.setStaticRayGain(0.35);
        m.setReflectionCoefficient(0.62);
        m.setReflectionLpf(0.8);
        m.setStaticCutoff(3000.0);
        m.setAmplitudeClip(0.25);
    } else {
        const double gains[LightRotorModel::kRayGainCount] = {0.95, 0.55, 0.5, 0.45};
        for (int k = 0; k < LightRotorModel::kRayGainCount; ++k) m.setRayGain(k, gains[k]);
        m.setStaticRayGain(0.3);
        m.setReflectionCoefficient(0.58);
        m.setReflectionLpf(0.3);
        m.setStaticCutoff(6000.0);
        m.setSplitterFrequency(120.0);
        m.setLowStaticGain(0.6);
    }
    m.setFilterSaturation(saturation);
}

// What happens before a sample of a scripted run.
// clang-format off
enum Action { Transient, Speed, SpeedAndReset, StopAndReset, Stop, Angle, Saturation, Reflection, Place, PlaceKeep,
              Rate, Direction, Cutoff, Splitter };
// clang-format on
struct Event {
    int at;
    Action action;
    double value;
};
struct ScriptedRun {
    const char* name;
    int kind;  // RotorModel::Kind for the horn runs, LightRotorModel::Kind for the drum runs
    double theta, distance, rate;
    int decimation;
    double speedHz;
    float saturation;  // the parameter, or -1 for none
    std::vector<Event> events;
};

template <class Model>
void apply(Model& m, const Event& e)
{
    switch (e.action) {
    case Transient: m.startNoiseTransient(e.value); break;
    case Speed: m.motion().setSpeed(static_cast<float>(e.value)); break;
    case SpeedAndReset: m.motion().setSpeed(static_cast<float>(e.value)), m.reset(); break;
    case StopAndReset: m.motion().setStop(static_cast<float>(e.value)), m.reset(); break;
    case Stop: m.motion().setStop(static_cast<float>(e.value)); break;
    case Angle: m.motion().setAngle(e.value); break;
    case Saturation: m.setFilterSaturation(filterSaturationAmount(static_cast<float>(e.value))); break;
    case Reflection: m.setReflectionCoefficient(e.value); break;
    case Place: m.setMicAngle(e.value), m.setGeometry(), m.reset(); break;
    case PlaceKeep: m.setMicAngle(e.value), m.setGeometry(); break;  // without a reset
    case Rate: m.setRate(e.value, 1), m.setGeometry(), m.reset(); break;
    case Direction: m.setDirection(e.value); break;
    case Cutoff: m.setStaticCutoff(e.value); break;  // taken over at the next re-tune
    case Splitter:
        if constexpr (std::is_same_v<Model, LightRotorModel>) m.setSplitterFrequency(e.value);
        break;
    }
}

template <class Model>
Outputs run(const ScriptedRun& r)
{
    auto m = std::make_unique<Model>(static_cast<typename Model::Kind>(r.kind));
    if constexpr (std::is_same_v<Model, RotorModel>) m->setOpenBackMode(1);
    setUp(*m, r.theta, r.distance, r.rate, r.decimation, r.speedHz,
          r.saturation < 0 ? 0.0 : filterSaturationAmount(r.saturation));
    const std::vector<double> in = testInput(r.rate / r.decimation);
    Outputs o;
    for (int n = 0; n < kSamples; ++n) {
        for (const Event& e : r.events)
            if (e.at == n) apply(*m, e);
        o.y.push_back(m->process(in[n]));
        o.noise.push_back(m->noiseOutput());
        if constexpr (std::is_same_v<Model, LightRotorModel>)
            o.low.push_back(m->staticLowBand());
        else
            o.low.push_back(0.0);
    }
    return o;
}

// Horn runs (kind 0 microphone 1, 1 microphone 2, 2 leak), then drum runs (0 microphone, 1
// leak). At an 11025 Hz model rate the filters fall back to 44.1 kHz designs.
// clang-format off
const ScriptedRun kHornRuns[] = {
    {"horn_mic1_front_48k", 0, 0.0, 0.8, 48000.0, 1, 6.7, 0.5f, {{2000, Transient, 1.0}, {3500, Speed, 1.0}}},
    {"horn_mic2_side_22k_runup", 1, 0.2, 1.1, 44100.0, 2, 6.8, 0.9f,  // runs up through the noise cross-fade
     {{0, SpeedAndReset, 1.0}, {500, Speed, 0.0}, {3000, Transient, 0.6}}},
    {"horn_mic1_other_side_11k", 0, -0.3, 1.5, 44100.0, 4, 3.0, 0.5f, {}},
    {"horn_mic1_no_saturation_96k", 0, 0.05, 0.6, 96000.0, 1, 7.1, -1.0f, {}},
    {"horn_leak_24k", 2, 0.3, 0.5, 96000.0, 4, 6.0, 0.5f, {}},
    {"horn_mic1_stopped", 0, 0.1, 0.9, 48000.0, 1, 6.0, 0.5f,
     {{0, StopAndReset, 1.0}, {0, Angle, 0.37}, {4000, Stop, 0.0}}},
    {"horn_mic2_changes", 1, 0.0, 1.0, 48000.0, 1, 6.5, 0.5f,
     {{1000, Saturation, 0.8}, {1500, Reflection, 0.4}, {2000, Place, 0.22}, {3000, Rate, 44100.0},
      {4000, Direction, -1.0}, {5000, PlaceKeep, 0.0}}}};
const ScriptedRun kDrumRuns[] = {
    {"drum_mic_48k", 0, -0.2, 0.9, 48000.0, 1, 6.0, 0.3f, {{1500, Transient, 0.8}, {3000, Speed, 1.0}}},
    {"drum_mic_runup_44k", 0, 0.15, 1.2, 44100.0, 1, 6.5, 0.3f,
     {{0, SpeedAndReset, 1.0}, {300, Speed, 0.0}, {2500, Cutoff, 2500.0}, {3500, Splitter, 90.0}}},
    {"drum_mic_stopped_96k", 0, 0.3, 0.7, 96000.0, 1, 6.0, -1.0f, {{0, StopAndReset, 1.0}}},
    {"drum_mic_changes_24k", 0, 0.0, 1.0, 48000.0, 2, 6.3, 0.3f,
     {{1000, Saturation, 0.7}, {2000, Place, -0.25}, {3000, Direction, -1.0}, {4000, Rate, 48000.0}}},
    {"drum_leak_22k", 1, 0.25, 0.8, 44100.0, 2, 5.5, 0.3f, {}}};
// clang-format on

// Per run and output (y, noise, low): the energy of every sample, then the checkpoints.
TEST(ModelGolden, EveryRunMatchesTheStoredSamples)
{
    std::vector<std::pair<std::string, Outputs>> runs;
    for (const ScriptedRun& r : kHornRuns) runs.emplace_back(r.name, run<RotorModel>(r));
    for (const ScriptedRun& r : kDrumRuns) runs.emplace_back(r.name, run<LightRotorModel>(r));
    GoldenRows now;
    for (const auto& [name, o] : runs) {
        const std::pair<const char*, const std::vector<double>*> outputs[] = {
            {" y", &o.y}, {" noise", &o.noise}, {" low", &o.low}};
        for (const auto& [label, v] : outputs) {
            std::vector<double> row{0.0};
            for (double x : *v) row[0] += x * x;
            for (int n = 0; n < kSamples; n += kCheckpointStep) row.push_back((*v)[n]);
            now.emplace_back(name + label, row);
        }
    }
    // 1e-6 of the sample, or near a zero crossing 1e-9 of the run's RMS (a last-bit difference
    // upstream is a large fraction of a sample that happens to be nearly 0).
    expectGoldenRows(
        std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/radiation/data/model_golden.txt", "ORV_UPDATE_MODEL_GOLDEN",
        now,
        [](double got, double want, const std::vector<double>& row) {
            return std::fabs(got - want) <= 1e-6 * std::fabs(want) + 1e-9 * std::sqrt(row[0] / kSamples) + 1e-15;
        },
        2);
}

// The rotor models' block forms (what the engine runs) against the per-sample form on twin
// models: the same signal, motor noise and low band bit for bit, over block sizes that mix
// empty, single, odd and full-chunk blocks.
constexpr int kSizes[] = {0, 1, 7, 64, 3, 0, 64, 33, 64, 1};
constexpr int kTotal = 237;

template <class Model>
std::unique_ptr<Model> twin(double speed, double theta, typename Model::Kind kind)
{
    auto m = make<Model>(speed, theta, kind);
    m->loadRecordings();
    m->setNoiseBaseGain(0.5);
    m->setNoiseLevels(5.0, 6.3, 2.0);
    m->setStaticRayGain(0.5);
    return m;
}

TEST(ModelBlocks, BlockFormsMatchPerSample)
{
    using H = RotorModel;
    using D = LightRotorModel;
    std::vector<double> x(kTotal);
    for (int i = 0; i < kTotal; ++i) x[i] = 0.3 * std::sin(0.0577 * i) + 0.1 * std::sin(0.31 * i);
    for (double theta : {0.0, 0.2, -0.45}) {
        SCOPED_TRACE(theta);
        // [0] runs in blocks, [1] sample by sample.
        std::unique_ptr<H> a[2], b[2], hl[2];
        std::unique_ptr<D> d[2], dl[2];
        for (int k = 0; k < 2; ++k) {
            a[k] = twin<H>(6.7, theta, H::Kind::Mic1);
            b[k] = twin<H>(6.7, -theta, H::Kind::Mic2);
            hl[k] = twin<H>(6.7, theta, H::Kind::Leak);
            d[k] = twin<D>(6.0, theta, D::Kind::Mic);
            dl[k] = twin<D>(6.0, theta, D::Kind::Leak);
        }
        enum { A, B, NA, NB, HL, DR, LOW, ND, DL, kOutputs };
        std::vector<double> y[kOutputs];
        for (auto& v : y) v.assign(kTotal, 0.0);
        int at = 0;
        for (int n : kSizes) {
            auto p = [&](int k) { return y[k].data() + at; };
            H::processPairBlock(*a[0], *b[0], x.data() + at, p(A), p(B), p(NA), p(NB), n);
            hl[0]->processBlock(x.data() + at, p(HL), n);
            d[0]->processBlock(x.data() + at, p(DR), p(LOW), p(ND), n);
            dl[0]->processBlock(x.data() + at, p(DL), nullptr, nullptr, n);
            at += n;
        }
        ASSERT_EQ(at, kTotal);
        for (int i = 0; i < kTotal; ++i) {
            const double ref[kOutputs] = {a[1]->process(x[i]),   b[1]->process(x[i]),  a[1]->noiseOutput(),
                                          b[1]->noiseOutput(),   hl[1]->process(x[i]), d[1]->process(x[i]),
                                          d[1]->staticLowBand(), d[1]->noiseOutput(),  dl[1]->process(x[i])};
            for (int k = 0; k < kOutputs; ++k) ASSERT_EQ(y[k][i], ref[k]) << "output " << k << " sample " << i;
        }
        for (int k = 0; k < kOutputs; ++k) EXPECT_NE(maxOf(y[k]), minOf(y[k])) << "output " << k << " is constant";
    }
}

}  // namespace
}  // namespace orv::test
