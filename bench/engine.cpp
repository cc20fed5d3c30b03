// Real-time factor of the whole effect (seconds of audio per CPU second) for both CPU modes and
// both rotor speeds at 44.1, 48 and 96 kHz in blocks of 256, and the worst 64-frame block while
// the engine runs its re-initialisation jobs. bench/figures.sh runs both paths and tabulates.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "plugin/RotaryEffect.h"
#include "engine/VectorPath.h"
#include "params/ParameterIndex.h"

namespace {

using orv::RotaryEffect;
using orv::RotaryEngine;

// Fast rotors (lever 1) give the busiest noise and filter work.
std::unique_ptr<RotaryEffect> makeEffect(double rate, float cpuMode, float lever = 1.0f)
{
    auto fx = std::make_unique<RotaryEffect>(nullptr);
    fx->setParameter(orv::param::kCpuMode, cpuMode);
    fx->setParameter(orv::param::kLever, lever);
    fx->suspend();
    fx->setSampleRate(static_cast<float>(rate));
    fx->resume();
    return fx;
}

struct Signal {
    std::vector<float> l, r, ol, orr;
    explicit Signal(int frames, double rate) : l(frames), r(frames), ol(frames), orr(frames)
    {
        for (int i = 0; i < frames; ++i) {
            l[i] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 440.0 * i / rate));
            r[i] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 550.0 * i / rate));
        }
    }
    void process(RotaryEffect& fx, int frames)
    {
        float* in[2] = {l.data(), r.data()};
        float* out[2] = {ol.data(), orr.data()};
        fx.processReplacing(in, out, frames);
    }
};

void settle(RotaryEffect& fx, Signal& s, int block, double rate)
{
    for (int i = 0; i < static_cast<int>(rate) / block; ++i) s.process(fx, block);  // one second
}

// Args: rate, CPU mode (0 LowCPU, 1 Brilliant), block size, lever (0 slow, 1 fast rotors).
void BM_RealTimeFactor(benchmark::State& state)
{
    const double rate = static_cast<double>(state.range(0));
    const int block = static_cast<int>(state.range(2));
    auto fx = makeEffect(rate, static_cast<float>(state.range(1)), static_cast<float>(state.range(3)));
    Signal s(block, rate);
    settle(*fx, s, block, rate);
    for (auto _ : state) {
        s.process(*fx, block);
        benchmark::DoNotOptimize(s.ol.data());
    }
    const double audioSeconds = static_cast<double>(state.iterations()) * block / rate;
    state.counters["realtime_x"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
    state.SetLabel(std::string(state.range(1) ? "Brilliant" : "LowCPU") + (state.range(3) ? " fast" : " slow") +
                   (orv::vectorPath::wide() ? " vector" : " baseline"));
}
BENCHMARK(BM_RealTimeFactor)
    ->ArgsProduct({{44100, 48000, 96000}, {0, 1}, {256}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);  // the rate counter divides by CPU time

// CPU time of the calling thread in microseconds: a block's own cost, without the time other
// processes took the core away.
double threadMicros()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return 1e6 * static_cast<double>(t.tv_sec) + 1e-3 * static_cast<double>(t.tv_nsec);
}

// Worst block time (64 frames) over fades that run every job group, including the full reset;
// reported in microseconds against the block's own duration. Args: rate, CPU mode.
void BM_WorstBlockWithJobs(benchmark::State& state)
{
    const double rate = static_cast<double>(state.range(0));
    const int block = 64;
    auto fx = makeEffect(rate, static_cast<float>(state.range(1)));
    Signal s(block, rate);
    settle(*fx, s, block, rate);
    double worst = 0.0, worstJob = 0.0;
    float flip = 0.0f;
    for (auto _ : state) {
        // A CPU-mode round trip runs the full reset and every model job; a geometry change the
        // separate job groups.
        flip = flip == 0.0f ? 1.0f : 0.0f;
        fx->suspend();
        fx->resume();
        fx->setParameter(orv::param::kHornMic1Angle, 0.2f + 0.1f * flip);
        fx->setParameter(orv::param::kSetup, 0.2f + 0.2f * flip);
        for (int b = 0; b < static_cast<int>(rate) / block; ++b) {
            const bool jobs = fx->audioEngine().engineState() == RotaryEngine::kReinitialising;
            const double t0 = threadMicros();
            s.process(*fx, block);
            const double us = threadMicros() - t0;
            worst = std::max(worst, us);
            if (jobs) worstJob = std::max(worstJob, us);
        }
    }
    state.counters["worst_block_us"] = worst;
    state.counters["worst_job_block_us"] = worstJob;
    state.counters["block_duration_us"] = 1e6 * block / rate;
    state.SetLabel(state.range(1) ? "Brilliant" : "LowCPU");
}
BENCHMARK(BM_WorstBlockWithJobs)
    ->ArgsProduct({{44100, 48000, 96000, 176400, 192000, 384000}, {0, 1}})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
