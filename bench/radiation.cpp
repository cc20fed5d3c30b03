// Cost of the five rotor radiation models on their own: samples per second of each model at
// 48 kHz with the rotors at full tremolo speed (the direction filters re-tune every 16
// samples and glide all the time). Real-time factor = items_per_second / 48000.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

template <class Model>
void configure(Model& m, double speedHz, double theta)
{
    m.motion().setSlowSpeed(static_cast<float>(speedHz));
    m.setMicAngle(theta);
    m.setMicDistance(1.0);
    m.setAmRadius(0.2);
    m.setFmRadius(0.2);
    m.setAttenuation(1.0);
    m.setAttenuationDistance(1.0);
    m.setDecayExponent(1.0);
    m.setRate(kRate, 1);
    m.setGeometry();
    m.reset();
    m.loadRecordings();
    m.setNoiseBaseGain(0.5);
    m.setNoiseLevels(5.0, 6.3, 2.0);
}

template <class Model>
void run(benchmark::State& state, std::unique_ptr<Model> m)
{
    double phase = 0.0, sink = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            sink += m->process(0.3 * std::sin(phase));
            phase += 0.0577;  // about 440 Hz
        }
        benchmark::DoNotOptimize(sink);
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

// Horn: microphone (front and a side angle, in turns) and leak; drum: microphone and leak.
void BM_Horn(benchmark::State& state, orv::RotorModel::Kind kind, double theta)
{
    auto m = std::make_unique<orv::RotorModel>(kind);
    configure(*m, 6.7, theta);
    run(state, std::move(m));
}
BENCHMARK_CAPTURE(BM_Horn, mic_front, orv::RotorModel::Kind::Mic1, 0.0);
BENCHMARK_CAPTURE(BM_Horn, mic_side, orv::RotorModel::Kind::Mic1, 0.2);
BENCHMARK_CAPTURE(BM_Horn, leak, orv::RotorModel::Kind::Leak, 0.0);

void BM_Drum(benchmark::State& state, orv::LightRotorModel::Kind kind, double theta)
{
    auto m = std::make_unique<orv::LightRotorModel>(kind);
    configure(*m, 6.0, theta);
    run(state, std::move(m));
}
BENCHMARK_CAPTURE(BM_Drum, mic, orv::LightRotorModel::Kind::Mic, -0.2);
BENCHMARK_CAPTURE(BM_Drum, leak, orv::LightRotorModel::Kind::Leak, 0.0);

}  // namespace

BENCHMARK_MAIN();
