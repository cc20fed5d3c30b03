// Per-sample cost of the filter building blocks. The "per_sample" counter is the time per
// processed sample (shown with SI prefixes, e.g. 2.1n = 2.1 ns).

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "dsp/BiquadBank.h"
#include "dsp/BiquadFilter.h"
#include "dsp/MultiFilter.h"
#include "dsp/VoicingBanks.h"

namespace {

using orv::BiquadFilter;
using orv::MultiFilter;

constexpr int blockSize = 256;  // samples per benchmark iteration

std::vector<double> testSignal()
{
    std::vector<double> v(blockSize);
    for (int n = 0; n < blockSize; ++n)
        v[n] = 0.5 * std::sin(0.031 * n) + 0.25 * std::sin(0.47 * n);
    return v;
}

void perSample(benchmark::State& state)
{
    state.counters["per_sample"] = benchmark::Counter(
        static_cast<double>(blockSize), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BiquadFilter peak(double f0)
{
    BiquadFilter f;
    f.setFrequency(f0);
    f.setQ(4);
    f.setGainDb(-9);
    f.enable();
    return f;
}

template <typename Fn>
void runBlocks(benchmark::State& state, Fn&& fn)
{
    const std::vector<double> in = testSignal();
    for (auto _ : state) {
        double acc = 0;
        for (double x : in)
            acc += fn(x);
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}

void BM_BiquadProcessDesigned(benchmark::State& state)
{
    BiquadFilter f = peak(1000);
    runBlocks(state, [&](double x) { return f.process(x); });
}
BENCHMARK(BM_BiquadProcessDesigned);

// Always inside a glide: a glide far longer than the run.
void BM_BiquadProcessGliding(benchmark::State& state)
{
    BiquadFilter f = peak(1000);
    f.setSnapOnUpdate(false);
    f.prepare(44100.0, 1u << 31);
    f.setFrequency(3000);
    f.update();
    runBlocks(state, [&](double x) { return f.process(x); });
}
BENCHMARK(BM_BiquadProcessGliding);

// As a rotor ray uses it: retuned (update) every 16 samples, gliding in between.
void BM_BiquadProcessRetunedEvery16(benchmark::State& state)
{
    BiquadFilter f = peak(1000);
    f.setSnapOnUpdate(false);
    f.prepare(44100.0, 132);  // 3 ms at 44.1 kHz
    int n = 0;
    runBlocks(state, [&](double x) {
        if ((++n & 15) == 0) {
            f.setFrequency(1000.0 + (n & 1023));
            f.update();
        }
        return f.process(x);
    });
}
BENCHMARK(BM_BiquadProcessRetunedEvery16);

void BM_BiquadProcessSaturated(benchmark::State& state)
{
    BiquadFilter f = peak(1000);
    f.setSaturation(0.05);
    runBlocks(state, [&](double x) { return f.processSaturated(x); });
}
BENCHMARK(BM_BiquadProcessSaturated);

void BM_BiquadProcessPlain(benchmark::State& state)
{
    BiquadFilter f = peak(1000);
    runBlocks(state, [&](double x) { return f.processPlain(x); });
}
BENCHMARK(BM_BiquadProcessPlain);

MultiFilter fourSections()
{
    const BiquadFilter a = peak(300), b = peak(1200), c = peak(3000), d = peak(6000);
    MultiFilter m;
    m.copyFrom(a, b, c, d);
    return m;
}

void BM_MultiFilterProcess(benchmark::State& state)
{
    MultiFilter m = fourSections();
    runBlocks(state, [&](double x) { return m.process(x); });
}
BENCHMARK(BM_MultiFilterProcess);

void BM_MultiFilterProcessSaturated(benchmark::State& state)
{
    BiquadFilter a = peak(300), b = peak(1200), c = peak(3000), d = peak(6000);
    for (BiquadFilter* f : {&a, &b, &c, &d})
        f->setSaturation(0.05);
    MultiFilter m;
    m.copyFrom(a, b, c, d);
    runBlocks(state, [&](double x) { return m.processSaturated(x); });
}
BENCHMARK(BM_MultiFilterProcessSaturated);

// Naive reference: the same four sections as separate plain biquads.
void BM_FourPlainBiquads(benchmark::State& state)
{
    BiquadFilter a = peak(300), b = peak(1200), c = peak(3000), d = peak(6000);
    runBlocks(state, [&](double x) { return d.processPlain(c.processPlain(b.processPlain(a.processPlain(x)))); });
}
BENCHMARK(BM_FourPlainBiquads);

void BM_HornVoicingBank(benchmark::State& state)
{
    orv::HornVoicingBank bank;
    orv::buildHornVoicingBank(bank, 44100);
    runBlocks(state, [&](double x) { return bank.process(x); });
}
BENCHMARK(BM_HornVoicingBank);

void BM_ColourationBankA(benchmark::State& state)
{
    orv::ColourationBankA bank;
    orv::buildColourationBankA(bank, 44100, 0.016);
    runBlocks(state, [&](double x) { return bank.processSaturated(x); });
}
BENCHMARK(BM_ColourationBankA);

// The engine's two horn colouration banks on the same input: one after the other, and side by
// side with processSaturatedPair. per_sample is the time for both.
void BM_ColourationBanksInARow(benchmark::State& state)
{
    orv::ColourationBankA a;
    orv::ColourationBankB b;
    orv::buildColourationBankA(a, 44100, 0.016);
    orv::buildColourationBankB(b, 44100, 0.016);
    runBlocks(state, [&](double x) { return a.processSaturated(x) + b.processSaturated(x); });
}
BENCHMARK(BM_ColourationBanksInARow);

void BM_ColourationBanksSideBySide(benchmark::State& state)
{
    orv::ColourationBankA a;
    orv::ColourationBankB b;
    orv::buildColourationBankA(a, 44100, 0.016);
    orv::buildColourationBankB(b, 44100, 0.016);
    runBlocks(state, [&](double x) {
        double ya = x, yb = x;
        orv::processSaturatedPair(a, ya, b, yb);
        return ya + yb;
    });
}
BENCHMARK(BM_ColourationBanksSideBySide);

// Ten gliding, saturating direction filters re-tuned every 16 samples, as a rotor model runs
// them: ten BiquadFilters against one BiquadBank. per_sample is the time for all ten.
constexpr int rayFilters = 10;

void BM_TenGlidingFilters(benchmark::State& state)
{
    BiquadFilter f[rayFilters];
    for (int k = 0; k < rayFilters; ++k) {
        f[k].prepare(48000.0, 144);  // 3 ms
        f[k].setFrequency(1000.0 + 100.0 * k);
        f[k].setGainDb(-6.0);
        f[k].enable();
        f[k].setSnapOnUpdate(false);
        f[k].setSaturation(0.02);
    }
    const std::vector<double> in = testSignal();
    int n = 0;
    for (auto _ : state) {
        double acc = 0;
        for (double x : in) {
            if ((n++ & 15) == 0) {
                for (int k = 0; k < rayFilters; ++k) {
                    f[k].setGainDb(-6.0 + (n & 255) * 0.01);
                    f[k].update();
                }
            }
            for (int k = 0; k < rayFilters; ++k)
                acc += f[k].processSaturated(x + k);
        }
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_TenGlidingFilters);

void BM_TenGlidingFiltersBank(benchmark::State& state)
{
    orv::BiquadBank<rayFilters> b;
    b.prepare(48000.0, 144);
    b.setEnabled(true);
    for (int k = 0; k < rayFilters; ++k) {
        b.setLane(k, 1000.0 + 100.0 * k, 1.0);
        b.setLaneGain(k, -6.0);
        b.update(k);
        b.setSaturation(k, 0.02);
    }
    b.setSnapOnUpdate(false);
    const std::vector<double> in = testSignal();
    int n = 0;
    double v[rayFilters];
    for (auto _ : state) {
        double acc = 0;
        for (double x : in) {
            if ((n++ & 15) == 0) {
                for (int k = 0; k < rayFilters; ++k) {
                    b.setLaneGain(k, -6.0 + (n & 255) * 0.01);
                    b.update(k);
                }
            }
            for (int k = 0; k < rayFilters; ++k)
                v[k] = x + k;
            b.processSaturated(v, rayFilters);
            for (int k = 0; k < rayFilters; ++k)
                acc += v[k];
        }
        benchmark::DoNotOptimize(acc);
    }
    perSample(state);
}
BENCHMARK(BM_TenGlidingFiltersBank);

}  // namespace

BENCHMARK_MAIN();
