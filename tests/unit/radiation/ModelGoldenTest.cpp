// Golden output of the five rotor models: scripted runs (speed changes, motor-noise transients,
// saturation and geometry changes, resets, rate changes, stopped rotors, every ray variant and
// several model rates) compared sample by sample with the stored output of the plain
// implementation in data/model_golden.txt. Faster code must give the same samples within 1e-6
// relative (or 1e-9 of the run's RMS, near zero crossings). A deliberate change of the sound
// regenerates the file with ORV_UPDATE_MODEL_GOLDEN=1 (and says so in its commit message).

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
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

template <class Model>
void common(Model& m, double theta, double distance, double rate, int decimation, double speedHz)
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
}

void settings(RotorModel& m, double saturation)
{
    const double gains[RotorModel::kRayGainCount] = {0.9, 0.6, 0.5, 0.45, 0.4, 0.35, 0.3};
    for (int k = 0; k < RotorModel::kRayGainCount; ++k) m.setRayGain(k, gains[k]);
    m.setZAxisGain(0.6);
    m.setStaticRayGain(0.35);
    m.setReflectionCoefficient(0.62);
    m.setReflectionLpf(0.8);
    m.setStaticCutoff(3000.0);
    m.setAmplitudeClip(0.25);
    m.setFilterSaturation(saturation);
}

void settings(LightRotorModel& m, double saturation)
{
    const double gains[LightRotorModel::kRayGainCount] = {0.95, 0.55, 0.5, 0.45};
    for (int k = 0; k < LightRotorModel::kRayGainCount; ++k) m.setRayGain(k, gains[k]);
    m.setStaticRayGain(0.3);
    m.setReflectionCoefficient(0.58);
    m.setReflectionLpf(0.3);
    m.setStaticCutoff(6000.0);
    m.setSplitterFrequency(120.0);
    m.setLowStaticGain(0.6);
    m.setFilterSaturation(saturation);
}

// A scripted run: `event` (if any) runs before each sample, with its index, and may change
// anything.
template <class Model>
Outputs run(typename Model::Kind kind, double theta, double distance, double rate, int decimation, double speedHz,
            double saturation, const std::function<void(Model&, int)>& event = {})
{
    auto m = std::make_unique<Model>(kind);
    if constexpr (std::is_same_v<Model, RotorModel>) m->setOpenBackMode(1);
    common(*m, theta, distance, rate, decimation, speedHz);
    settings(*m, saturation);
    const std::vector<double> in = testInput(rate / decimation);
    Outputs o;
    for (int n = 0; n < kSamples; ++n) {
        if (event) event(*m, n);
        o.y.push_back(m->process(in[n]));
        o.noise.push_back(m->noiseOutput());
        if constexpr (std::is_same_v<Model, LightRotorModel>)
            o.low.push_back(m->staticLowBand());
        else
            o.low.push_back(0.0);
    }
    return o;
}

const double kHornSat = filterSaturationAmount(0.5f);
const double kDrumSat = filterSaturationAmount(0.3f);

// The model rebuilt after a change of place or rate, and reset when asked.
template <class Model>
void rebuild(Model& m, bool reset = true)
{
    m.setGeometry();
    if (reset) m.reset();
}

// Every run, by name.
std::map<std::string, std::function<Outputs()>> runs()
{
    using H = RotorModel;
    using D = LightRotorModel;
    std::map<std::string, std::function<Outputs()>> r;
    r["horn_mic1_front_48k"] = [] {
        return run<H>(H::Kind::Mic1, 0.0, 0.8, 48000.0, 1, 6.7, kHornSat, [](H& m, int n) {
            if (n == 2000) m.startNoiseTransient(1.0);
            if (n == 3500) m.motion().setSpeed(1.0f);  // run down to the slow speed
        });
    };
    r["horn_mic2_side_22k_runup"] = [] {
        return run<H>(H::Kind::Mic2, 0.2, 1.1, 44100.0, 2, 6.8, filterSaturationAmount(0.9f), [](H& m, int n) {
            if (n == 0) {
                m.motion().setSpeed(1.0f);
                m.reset();
            }
            if (n == 500) m.motion().setSpeed(0.0f);  // run up through the noise cross-fade
            if (n == 3000) m.startNoiseTransient(0.6);
        });
    };
    // 11025 Hz model rate: the filters fall back to 44.1 kHz designs.
    r["horn_mic1_other_side_11k"] = [] { return run<H>(H::Kind::Mic1, -0.3, 1.5, 44100.0, 4, 3.0, kHornSat); };
    r["horn_mic1_no_saturation_96k"] = [] { return run<H>(H::Kind::Mic1, 0.05, 0.6, 96000.0, 1, 7.1, 0.0); };
    r["horn_leak_24k"] = [] { return run<H>(H::Kind::Leak, 0.3, 0.5, 96000.0, 4, 6.0, kHornSat); };
    r["horn_mic1_stopped"] = [] {
        return run<H>(H::Kind::Mic1, 0.1, 0.9, 48000.0, 1, 6.0, kHornSat, [](H& m, int n) {
            if (n == 0) {
                m.motion().setStop(1.0f);
                m.reset();
                m.motion().setAngle(0.37);
            }
            if (n == 4000) m.motion().setStop(0.0f);  // released: runs up again
        });
    };
    r["horn_mic2_changes"] = [] {
        return run<H>(H::Kind::Mic2, 0.0, 1.0, 48000.0, 1, 6.5, kHornSat, [](H& m, int n) {
            if (n == 1000) m.setFilterSaturation(filterSaturationAmount(0.8f));
            if (n == 1500) m.setReflectionCoefficient(0.4);
            if (n == 2000) {
                m.setMicAngle(0.22);
                rebuild(m);
            }  // another variant
            if (n == 3000) {
                m.setRate(44100.0, 1);
                rebuild(m);
            }
            if (n == 4000) m.setDirection(-1.0);
            if (n == 5000) {
                m.setMicAngle(0.0);
                rebuild(m, false);
            }  // back to the front without a reset
        });
    };
    r["drum_mic_48k"] = [] {
        return run<D>(D::Kind::Mic, -0.2, 0.9, 48000.0, 1, 6.0, kDrumSat, [](D& m, int n) {
            if (n == 1500) m.startNoiseTransient(0.8);
            if (n == 3000) m.motion().setSpeed(1.0f);
        });
    };
    r["drum_mic_runup_44k"] = [] {
        return run<D>(D::Kind::Mic, 0.15, 1.2, 44100.0, 1, 6.5, kDrumSat, [](D& m, int n) {
            if (n == 0) {
                m.motion().setSpeed(1.0f);
                m.reset();
            }
            if (n == 300) m.motion().setSpeed(0.0f);
            if (n == 2500) m.setStaticCutoff(2500.0);  // taken over at the next re-tune
            if (n == 3500) m.setSplitterFrequency(90.0);
        });
    };
    r["drum_mic_stopped_96k"] = [] {
        return run<D>(D::Kind::Mic, 0.3, 0.7, 96000.0, 1, 6.0, 0.0, [](D& m, int n) {
            if (n == 0) {
                m.motion().setStop(1.0f);
                m.reset();
            }
        });
    };
    r["drum_mic_changes_24k"] = [] {
        return run<D>(D::Kind::Mic, 0.0, 1.0, 48000.0, 2, 6.3, kDrumSat, [](D& m, int n) {
            if (n == 1000) m.setFilterSaturation(filterSaturationAmount(0.7f));
            if (n == 2000) {
                m.setMicAngle(-0.25);
                rebuild(m);
            }
            if (n == 3000) m.setDirection(-1.0);
            if (n == 4000) {
                m.setRate(48000.0, 1);
                rebuild(m);
            }
        });
    };
    r["drum_leak_22k"] = [] { return run<D>(D::Kind::Leak, 0.25, 0.8, 44100.0, 2, 5.5, kDrumSat); };
    return r;
}

// Per run and output (y, noise, low): the energy of every sample, then the checkpoints.
TEST(ModelGolden, EveryRunMatchesTheStoredSamples)
{
    GoldenRows now;
    for (const auto& [name, run] : runs()) {
        const Outputs o = run();
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
