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
void configure(Model& m, double speedHz, double theta) {
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
void run(benchmark::State& state, std::unique_ptr<Model> m) {
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

// Arg: microphone angle in hundredths of a turn (0 front variant, 20 a side variant).
void BM_HornMic(benchmark::State& state) {
    auto m = std::make_unique<orv::RotorModel>(orv::RotorModel::Kind::Mic1);
    configure(*m, 6.7, state.range(0) / 100.0);
    run(state, std::move(m));
}
BENCHMARK(BM_HornMic)->Arg(0)->Arg(20);

void BM_HornLeak(benchmark::State& state) {
    auto m = std::make_unique<orv::RotorModel>(orv::RotorModel::Kind::Leak);
    configure(*m, 6.7, 0.0);
    run(state, std::move(m));
}
BENCHMARK(BM_HornLeak);

void BM_Drum(benchmark::State& state) {
    auto m = std::make_unique<orv::LightRotorModel>(orv::LightRotorModel::Kind::Mic);
    configure(*m, 6.0, -0.2);
    run(state, std::move(m));
}
BENCHMARK(BM_Drum);

void BM_DrumLeak(benchmark::State& state) {
    auto m = std::make_unique<orv::LightRotorModel>(orv::LightRotorModel::Kind::Leak);
    configure(*m, 6.0, 0.0);
    run(state, std::move(m));
}
BENCHMARK(BM_DrumLeak);

}  // namespace

BENCHMARK_MAIN();
