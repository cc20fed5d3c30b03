// Per-sample cost of the filter building blocks. The "per_sample" counter is the time per
// processed sample (shown with SI prefixes, e.g. 2.1n = 2.1 ns); each benchmark's argument
// picks the variant named in its comment.

#include <benchmark/benchmark.h>

#include <cmath>

#include "dsp/BiquadBank.h"
#include "dsp/BiquadFilter.h"
#include "dsp/MultiFilter.h"
#include "dsp/VoicingBanks.h"

namespace {

using orv::BiquadFilter;

constexpr int blockSize = 256;  // samples per benchmark iteration

// Runs blocks of `fn` on a two-sine signal and reports the time per sample.
template <typename Fn>
void runBlocks(benchmark::State& state, Fn&& fn)
{
    double in[blockSize];
    for (int n = 0; n < blockSize; ++n) in[n] = 0.5 * std::sin(0.031 * n) + 0.25 * std::sin(0.47 * n);
    for (auto _ : state) {
        double acc = 0;
        for (double x : in) acc += fn(x);
        benchmark::DoNotOptimize(acc);
    }
    state.counters["per_sample"] = benchmark::Counter(
        static_cast<double>(blockSize), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BiquadFilter peak(double f0, double saturation = 0.0)
{
    BiquadFilter f;
    f.setFrequency(f0);
    f.setQ(4);
    f.setGainDb(-9);
    f.enable();
    f.setSaturation(saturation);
    return f;
}

// One filter: 0 designed, 1 always gliding (a glide far longer than the run), 2 retuned every
// 16 samples as a rotor ray uses it, 3 saturating, 4 plain.
void BM_Biquad(benchmark::State& state)
{
    const auto mode = state.range(0);
    BiquadFilter f = peak(1000, mode == 3 ? 0.05 : 0.0);
    f.setSnapOnUpdate(mode != 1 && mode != 2);
    f.prepare(44100.0, mode == 1 ? 1u << 31 : 132);
    f.setFrequency(mode == 1 ? 3000 : 1000);
    f.update();
    int n = 0;
    runBlocks(state, [&](double x) {
        if (mode == 2 && (++n & 15) == 0) {
            f.setFrequency(1000.0 + (n & 1023));
            f.update();
        }
        return mode == 3 ? f.processSaturated(x) : mode == 4 ? f.processPlain(x) : f.process(x);
    });
}
BENCHMARK(BM_Biquad)->DenseRange(0, 4);

// Four peak sections: 0 a MultiFilter, 1 a saturating MultiFilter, 2 four plain biquads.
void BM_FourSections(benchmark::State& state)
{
    const auto mode = state.range(0);
    const double amount = mode == 1 ? 0.05 : 0.0;
    BiquadFilter a = peak(300, amount), b = peak(1200, amount), c = peak(3000, amount), d = peak(6000, amount);
    orv::MultiFilter m;
    m.copyFrom(a, b, c, d);
    runBlocks(state, [&](double x) {
        return mode == 0 ? m.process(x)
            : mode == 1  ? m.processSaturated(x)
                         : d.processPlain(c.processPlain(b.processPlain(a.processPlain(x))));
    });
}
BENCHMARK(BM_FourSections)->DenseRange(0, 2);

// 0 the horn voicing bank, 1 colouration bank A, and the engine's two horn colouration banks
// on the same input (per_sample for both): 2 one after the other, 3 side by side.
void BM_VoicingBanks(benchmark::State& state)
{
    const auto mode = state.range(0);
    orv::HornVoicingBank horn;
    orv::buildHornVoicingBank(horn, 44100);
    orv::ColourationBankA a;
    orv::ColourationBankB b;
    orv::buildColourationBankA(a, 44100, 0.016);
    orv::buildColourationBankB(b, 44100, 0.016);
    runBlocks(state, [&](double x) {
        if (mode == 0) return horn.process(x);
        if (mode == 1) return a.processSaturated(x);
        if (mode == 2) return a.processSaturated(x) + b.processSaturated(x);
        double ya = x, yb = x;
        orv::processSaturatedPair(a, ya, b, yb);
        return ya + yb;
    });
}
BENCHMARK(BM_VoicingBanks)->DenseRange(0, 3);

// Ten gliding, saturating direction filters retuned every 16 samples, as a rotor model runs
// them (per_sample for all ten): 0 ten BiquadFilters, 1 one BiquadBank.
void BM_TenGlidingFilters(benchmark::State& state)
{
    constexpr int rays = 10;
    const bool bank = state.range(0) == 1;
    BiquadFilter f[rays];
    orv::BiquadBank<rays> b;
    b.prepare(48000.0, 144);  // 3 ms
    b.setEnabled(true);
    for (int k = 0; k < rays; ++k) {
        f[k].prepare(48000.0, 144);
        f[k].setFrequency(1000.0 + 100.0 * k);
        f[k].setGainDb(-6.0);
        f[k].enable();
        f[k].setSnapOnUpdate(false);
        f[k].setSaturation(0.02);
        b.setLane(k, 1000.0 + 100.0 * k, 1.0);
        b.setLaneGain(k, -6.0);
        b.update(k);
        b.setSaturation(k, 0.02);
    }
    b.setSnapOnUpdate(false);
    int n = 0;
    double v[rays];
    runBlocks(state, [&](double x) {
        if ((n++ & 15) == 0) {
            const double db = -6.0 + (n & 255) * 0.01;
            for (int k = 0; k < rays; ++k) {
                if (bank) {
                    b.setLaneGain(k, db);
                    b.update(k);
                } else {
                    f[k].setGainDb(db);
                    f[k].update();
                }
            }
        }
        for (int k = 0; k < rays; ++k) v[k] = bank ? x + k : f[k].processSaturated(x + k);
        if (bank) b.processSaturated(v, rays);
        double acc = 0;
        for (double y : v) acc += y;
        return acc;
    });
}
BENCHMARK(BM_TenGlidingFilters)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
