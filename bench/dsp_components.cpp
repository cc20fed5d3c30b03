// Cost per sample of the interpolated reads, FastSin, the early reflections, the two
// motor-noise players and the amplifier (plain and oversampled). Each benchmark runs blocks of kBlock samples; the "ns/sample" counter
// is the time per sample.
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

void perSample(benchmark::State& state) {
    // Inverted rate of samples = seconds per sample (printed with an SI prefix, e.g. 4.3n).
    state.counters["per_sample"] = benchmark::Counter(static_cast<double>(state.iterations()) * kBlock,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void BM_InterpolateRing(benchmark::State& state) {
    constexpr int n = 4096;
    std::vector<double> ring(2 * n);
    for (int k = 0; k < n; ++k) writeMirrored(ring.data(), n, k, std::sin(k * 0.01));
    double pos = 0.0, acc = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            acc += InterpolateRing(pos - 37.3, ring.data(), n);  // reads behind the write point
            pos += 1.0013;
            if (pos >= n) pos -= n;
        }
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_InterpolateRing);

void BM_InterpolateTable512(benchmark::State& state) {
    std::vector<double> table(512);
    for (int i = 0; i < 512; ++i) table[i] = 1.0 / (1.0 + 0.01 * i);
    double x = 0.0, acc = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            acc += InterpolateTable512(x, table.data());
            x += 0.37;
            if (x > 515.0) x -= 520.0;  // covers both clamped ends too
        }
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_InterpolateTable512);

void BM_InterpolateLoop(benchmark::State& state) {
    const Recording r = findRecording(RecordingId::HornFastLoop);
    double phase = 0.0, acc = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            acc += InterpolateLoop(phase + 0.01, r.samples, r.length);
            phase += 1.37e-5;
            phase -= std::trunc(phase);
        }
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_InterpolateLoop);

void BM_InterpolateOnce(benchmark::State& state) {
    const Recording r = findRecording(RecordingId::Transient);
    double phase = -0.1, acc = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            acc += InterpolateOnce(phase, r.samples, r.length);
            phase += 2.3e-4;
            if (phase > 1.1) phase = -0.1;
        }
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_InterpolateOnce);

void BM_FastSin(benchmark::State& state) {
    double x = -50.0, acc = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            acc += FastSin(x);
            x += 0.0137;
        }
        if (x > 50.0) x = -50.0;
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_FastSin);

void BM_StdSin(benchmark::State& state) {  // reference
    double x = -50.0, acc = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            acc += std::sin(x);
            x += 0.0137;
        }
        if (x > 50.0) x = -50.0;
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_StdSin);

void BM_ProcessReflections(benchmark::State& state) {
    EarlyReflections room;
    room.prepare(44100.0);
    room.setRoom({2.0, 1.0, 0.15, 20000.0});
    room.setOutputGainTarget(0.03);
    room.clearReflections();
    double l = 0.0, r = 0.0, acc = 0.0, in = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            in = std::fmod(in + 0.013, 1.0);
            room.processReflections(in, -in, l, r);
            acc += l + r;
        }
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_ProcessReflections);

// Players at a rotor speed of arg/10 Hz: 0.5 (slow loop only), 3 (fade zone, where the drum
// player redesigns three filters every sample), 8 (fast loop only).
template <class Player>
void runPlayer(benchmark::State& state, Player& p) {
    const double fs = 44100.0;
    p.setSampleRate(fs);
    p.loadRecordings();
    p.setMicDistance(1.0);
    p.setLevels(1.0, 1.0);
    const double rate = static_cast<double>(state.range(0)) / 10.0 / fs;
    double acc = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) acc += p.process(rate, 0.0);
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}

void BM_DrumNoisePlayer(benchmark::State& state) {
    DrumNoisePlayer p;
    runPlayer(state, p);
}
BENCHMARK(BM_DrumNoisePlayer)->Arg(5)->Arg(30)->Arg(80);

void BM_HornNoisePlayer(benchmark::State& state) {
    HornNoisePlayer p(0);
    runPlayer(state, p);
}
BENCHMARK(BM_HornNoisePlayer)->Arg(5)->Arg(30)->Arg(80);

// Args: type (1 "Tube", 2 "Solid"), stage (0 plain, 1 oversampled four times); +20 dB of drive.
void BM_AmpDrive(benchmark::State& state) {
    AmpDrive amp;
    amp.type = static_cast<std::int32_t>(state.range(0));
    amp.drive = amp.driveTarget = 10.0;
    OversampledDrive oversampled;
    std::vector<double> in(kBlock);
    for (int i = 0; i < kBlock; ++i) in[i] = 0.3 * std::sin(0.05 * i);
    const bool over = state.range(1) != 0;
    for (auto _ : state) {
        double sum = 0.0;
        if (over) {
            for (double x : in) sum += oversampled.shape(amp, x);
        } else {
            for (double x : in) sum += amp.shape(x);
        }
        benchmark::DoNotOptimize(sum);
    }
    perSample(state);
    state.SetLabel(over ? "oversampled" : "plain");
}
BENCHMARK(BM_AmpDrive)->ArgsProduct({{1, 2}, {0, 1}});

}  // namespace

BENCHMARK_MAIN();
