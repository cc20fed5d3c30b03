// Cost per sample of the interpolated reads, FastSin, the early reflections, the two
// motor-noise players and the amplifier (plain and oversampled).
// Run: ninja -C BUILD bench_dsp_components && BUILD/bench/bench_dsp_components

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "dsp/AmpDrive.h"
#include "dsp/DrumNoisePlayer.h"
#include "dsp/EarlyReflections.h"
#include "dsp/HornNoisePlayer.h"
#include "dsp/Interpolation.h"
#include "dsp/OversampledDrive.h"
#include "dsp/Recordings.h"

namespace {

using namespace orv;

constexpr int kBlock = 1024;

// Runs blocks of kBlock calls of `sample` (which returns the value to keep alive) and reports
// the time per sample ("per_sample", inverted rate, printed with an SI prefix, e.g. 4.3n).
template <class Sample>
void perSample(benchmark::State& state, Sample sample)
{
    double acc = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) acc += sample();
        benchmark::DoNotOptimize(acc);
    }
    state.counters["per_sample"] = benchmark::Counter(static_cast<double>(state.iterations()) * kBlock,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void BM_InterpolateRing(benchmark::State& state)
{
    constexpr int n = 4096;
    std::vector<double> ring(2 * n);
    for (int k = 0; k < n; ++k) writeMirrored(ring.data(), n, k, std::sin(k * 0.01));
    double pos = 0.0;
    perSample(state, [&] {
        pos += 1.0013;
        if (pos >= n) pos -= n;
        return InterpolateRing(pos - 37.3, ring.data(), n);  // reads behind the write point
    });
}
BENCHMARK(BM_InterpolateRing);

void BM_InterpolateTable512(benchmark::State& state)
{
    std::vector<double> table(512);
    for (int i = 0; i < 512; ++i) table[i] = 1.0 / (1.0 + 0.01 * i);
    double x = 0.0;
    perSample(state, [&] {
        x += 0.37;
        if (x > 515.0) x -= 520.0;  // covers both clamped ends too
        return InterpolateTable512(x, table.data());
    });
}
BENCHMARK(BM_InterpolateTable512);

void BM_InterpolateLoop(benchmark::State& state)
{
    const Recording r = findRecording(RecordingId::HornFastLoop);
    double phase = 0.0;
    perSample(state, [&] {
        phase += 1.37e-5;
        phase -= std::trunc(phase);
        return InterpolateLoop(phase + 0.01, r.samples, r.length);
    });
}
BENCHMARK(BM_InterpolateLoop);

void BM_InterpolateOnce(benchmark::State& state)
{
    const Recording r = findRecording(RecordingId::Transient);
    double phase = -0.1;
    perSample(state, [&] {
        phase += 2.3e-4;
        if (phase > 1.1) phase = -0.1;
        return InterpolateOnce(phase, r.samples, r.length);
    });
}
BENCHMARK(BM_InterpolateOnce);

// Arg 0: FastSin, 1: std::sin as the reference.
void BM_Sin(benchmark::State& state)
{
    double x = -50.0;
    const bool reference = state.range(0) != 0;
    perSample(state, [&] {
        x += 0.0137;
        if (x > 50.0) x = -50.0;
        return reference ? std::sin(x) : FastSin(x);
    });
    state.SetLabel(reference ? "std::sin" : "FastSin");
}
BENCHMARK(BM_Sin)->Arg(0)->Arg(1);

void BM_ProcessReflections(benchmark::State& state)
{
    EarlyReflections room;
    room.prepare(44100.0);
    room.setRoom({2.0, 1.0, 0.15, 20000.0});
    room.setOutputGainTarget(0.03);
    room.clearReflections();
    double l = 0.0, r = 0.0, in = 0.0;
    perSample(state, [&] {
        in = std::fmod(in + 0.013, 1.0);
        room.processReflections(in, -in, l, r);
        return l + r;
    });
}
BENCHMARK(BM_ProcessReflections);

// Players at a rotor speed of arg/10 Hz: 0.5 (slow loop only), 3 (fade zone, where the drum
// player redesigns three filters every sample), 8 (fast loop only).
template <class Player>
void runPlayer(benchmark::State& state, Player& p)
{
    const double fs = 44100.0;
    p.setSampleRate(fs);
    p.loadRecordings();
    p.setMicDistance(1.0);
    p.setLevels(1.0, 1.0);
    const double rate = static_cast<double>(state.range(0)) / 10.0 / fs;
    perSample(state, [&] { return p.process(rate, 0.0); });
}

void BM_DrumNoisePlayer(benchmark::State& state)
{
    DrumNoisePlayer p;
    runPlayer(state, p);
}
BENCHMARK(BM_DrumNoisePlayer)->Arg(5)->Arg(30)->Arg(80);

void BM_HornNoisePlayer(benchmark::State& state)
{
    HornNoisePlayer p(0);
    runPlayer(state, p);
}
BENCHMARK(BM_HornNoisePlayer)->Arg(5)->Arg(30)->Arg(80);

// Args: type (1 "Tube", 2 "Solid"), stage (0 plain, 1 oversampled four times); +20 dB of drive.
void BM_AmpDrive(benchmark::State& state)
{
    AmpDrive amp;
    amp.type = static_cast<std::int32_t>(state.range(0));
    amp.drive = amp.driveTarget = 10.0;
    OversampledDrive oversampled;
    const bool over = state.range(1) != 0;
    std::vector<double> in(kBlock);
    for (int i = 0; i < kBlock; ++i) in[i] = 0.3 * std::sin(0.05 * i);
    int i = 0;
    perSample(state, [&] {
        const double x = in[i];
        i = (i + 1) % kBlock;
        return over ? oversampled.shape(amp, x) : amp.shape(x);
    });
    state.SetLabel(over ? "oversampled" : "plain");
}
BENCHMARK(BM_AmpDrive)->ArgsProduct({{1, 2}, {0, 1}});

}  // namespace

BENCHMARK_MAIN();
