// Cost per sample of the building blocks on their own: filters and filter banks, the
// interpolated reads, the early reflections, the motor-noise players, the amplifier and the
// five rotor models. "per_sample" is the time per processed sample (printed with an SI prefix,
// e.g. 2.1n = 2.1 ns); each benchmark's argument picks the variant named in its comment.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "dsp/AmpDrive.h"
#include "dsp/BiquadBank.h"
#include "dsp/DrumNoisePlayer.h"
#include "dsp/EarlyReflections.h"
#include "dsp/HornNoisePlayer.h"
#include "dsp/Interpolation.h"
#include "dsp/MultiFilter.h"
#include "dsp/OversampledDrive.h"
#include "dsp/Recordings.h"
#include "dsp/VoicingBanks.h"
#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"

namespace {

using namespace orv;

constexpr int kBlock = 512;

// Runs blocks of kBlock calls of `fn` on a two-sine signal (fn(x, n) returns the value to keep
// alive) and reports the time per sample.
template <class Fn>
void perSample(benchmark::State& state, Fn&& fn, const char* label = nullptr)
{
    double in[kBlock], acc = 0.0;
    for (int n = 0; n < kBlock; ++n) in[n] = 0.5 * std::sin(0.031 * n) + 0.25 * std::sin(0.47 * n);
    long n = 0;
    for (auto _ : state) {
        for (double x : in) acc += fn(x, n++);
        benchmark::DoNotOptimize(acc);
    }
    state.counters["per_sample"] = benchmark::Counter(
        static_cast<double>(kBlock), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kBlock);
    if (label != nullptr) state.SetLabel(label);
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
    perSample(state, [&](double x, long n) {
        if (mode == 2 && (n & 15) == 0) {
            f.setFrequency(1000.0 + (n & 1023));
            f.update();
        }
        return mode == 3 ? f.processSaturated(x) : mode == 4 ? f.processPlain(x) : f.process(x);
    });
}
BENCHMARK(BM_Biquad)->DenseRange(0, 4);

// Four peak sections: 0 a MultiFilter, 1 a saturating MultiFilter, 2 four plain biquads;
// 3 the horn voicing bank, 4 colouration bank A, 5 the engine's two horn colouration banks
// on the same input (per_sample for both).
void BM_FilterBanks(benchmark::State& state)
{
    const auto mode = state.range(0);
    const double amount = mode == 1 ? 0.05 : 0.0;
    BiquadFilter a = peak(300, amount), b = peak(1200, amount), c = peak(3000, amount), d = peak(6000, amount);
    MultiFilter m;
    m.copyFrom(a, b, c, d);
    HornVoicingBank horn;
    buildHornVoicingBank(horn, 44100);
    ColourationBankA ca;
    ColourationBankB cb;
    buildColourationBankA(ca, 44100, 0.016);
    buildColourationBankB(cb, 44100, 0.016);
    perSample(state, [&](double x, long) {
        switch (mode) {
        case 0: return m.process(x);
        case 1: return m.processSaturated(x);
        case 2: return d.processPlain(c.processPlain(b.processPlain(a.processPlain(x))));
        case 3: return horn.process(x);
        case 4: return ca.processSaturated(x);
        default: return ca.processSaturated(x) + cb.processSaturated(x);
        }
    });
}
BENCHMARK(BM_FilterBanks)->DenseRange(0, 5);

// Ten gliding, saturating direction filters retuned every 16 samples, as a rotor model runs
// them (per_sample for all ten): 0 ten BiquadFilters, 1 one BiquadBank.
void BM_TenGlidingFilters(benchmark::State& state)
{
    constexpr int rays = 10;
    const bool bank = state.range(0) == 1;
    BiquadFilter f[rays];
    BiquadBank<rays> b;
    b.prepare(48000.0, 144);  // 3 ms
    b.setEnabled(true);
    for (int k = 0; k < rays; ++k) {
        f[k] = peak(1000.0 + 100.0 * k, 0.02);
        f[k].prepare(48000.0, 144);
        f[k].setQ(1.0);
        f[k].setGainDb(-6.0);
        f[k].setSnapOnUpdate(false);
        b.setLane(k, 1000.0 + 100.0 * k, 1.0);
        b.setLaneGain(k, -6.0);
        b.update(k);
        b.setSaturation(k, 0.02);
    }
    b.setSnapOnUpdate(false);
    double v[rays];
    perSample(state, [&](double x, long n) {
        for (int k = 0; (n & 15) == 0 && k < rays; ++k) {
            const double db = -6.0 + (n & 255) * 0.01;
            bank ? b.setLaneGain(k, db) : f[k].setGainDb(db);
            bank ? b.update(k) : f[k].update();
        }
        for (int k = 0; k < rays; ++k) v[k] = bank ? x + k : f[k].processSaturated(x + k);
        if (bank) b.processSaturated(v, rays);
        double acc = 0;
        for (double y : v) acc += y;
        return acc;
    });
}
BENCHMARK(BM_TenGlidingFilters)->Arg(0)->Arg(1);

// The reads: 0 a ring behind its write point, 1 the 512-entry table (both clamped ends too),
// 2 a loop, 3 a recording played once; 4 FastSin, 5 std::sin as the reference.
void BM_Reads(benchmark::State& state)
{
    const auto mode = state.range(0);
    constexpr int n = 4096;
    std::vector<double> ring(2 * n), table(512);
    for (int k = 0; k < n; ++k) writeMirrored(ring.data(), n, k, std::sin(k * 0.01));
    for (int i = 0; i < 512; ++i) table[i] = 1.0 / (1.0 + 0.01 * i);
    const Recording loop = findRecording(RecordingId::HornFastLoop), once = findRecording(RecordingId::Transient);
    const char* labels[] = {"ring", "table", "loop", "once", "FastSin", "std::sin"};
    perSample(
        state,
        [&](double, long k) -> double {
            const double t = static_cast<double>(k % 100000) / 100000.0;  // 0 .. 1
            switch (mode) {
            case 0: return InterpolateRing(t * n - 37.3, ring.data(), n);
            case 1: return InterpolateTable512(-5.0 + 520.0 * t, table.data());
            case 2: return InterpolateLoop(t + 0.01, loop.samples, loop.length);
            case 3: return InterpolateOnce(1.2 * t - 0.1, once.samples, once.length);
            case 4: return FastSin(-50.0 + 100.0 * t);
            default: return std::sin(-50.0 + 100.0 * t);
            }
        },
        labels[mode]);
}
BENCHMARK(BM_Reads)->DenseRange(0, 5);

void BM_ProcessReflections(benchmark::State& state)
{
    EarlyReflections room;
    room.prepare(44100.0);
    room.setRoom({2.0, 1.0, 0.15, 20000.0});
    room.setOutputGainTarget(0.03);
    room.clearReflections();
    double l = 0.0, r = 0.0;
    perSample(state, [&](double x, long) {
        room.processReflections(x, -x, l, r);
        return l + r;
    });
}
BENCHMARK(BM_ProcessReflections);

// Args: player (0 drum, 1 horn), rotor speed in tenths of Hz: 5 (slow loop only), 30 (fade
// zone, where the drum player redesigns three filters every sample), 80 (fast loop only).
void BM_NoisePlayer(benchmark::State& state)
{
    DrumNoisePlayer drum;
    HornNoisePlayer horn(0);
    const double fs = 44100.0, rate = static_cast<double>(state.range(1)) / 10.0 / fs;
    auto set = [&](auto& p) {
        p.setSampleRate(fs);
        p.loadRecordings();
        p.setMicDistance(1.0);
        p.setLevels(1.0, 1.0);
    };
    set(drum);
    set(horn);
    perSample(
        state, [&](double, long) { return state.range(0) == 0 ? drum.process(rate, 0.0) : horn.process(rate, 0.0); },
        state.range(0) == 0 ? "drum" : "horn");
}
BENCHMARK(BM_NoisePlayer)->ArgsProduct({{0, 1}, {5, 30, 80}});

// Args: type (1 "Tube", 2 "Solid"), stage (0 plain, 1 oversampled four times); +20 dB of drive.
void BM_AmpDrive(benchmark::State& state)
{
    AmpDrive amp;
    amp.setType(static_cast<std::int32_t>(state.range(0)));
    amp.setDriveTarget(10.0);
    amp.snapDrive();
    OversampledDrive oversampled;
    const bool over = state.range(1) != 0;
    perSample(
        state, [&](double x, long) { return over ? oversampled.shape(amp, 0.6 * x) : amp.shape(0.6 * x); },
        over ? "oversampled" : "plain");
}
BENCHMARK(BM_AmpDrive)->ArgsProduct({{1, 2}, {0, 1}});

// The rotor models at 48 kHz with the rotors at full tremolo speed (the direction filters
// re-tune every 16 samples and glide all the time); real-time factor = items_per_second /
// 48000. Args: 0 horn microphone in front, 1 at a side angle, 2 horn leak; 3 drum microphone,
// 4 drum leak.
void BM_RotorModel(benchmark::State& state)
{
    const auto mode = state.range(0);
    const RotorModel::Kind hornKinds[] = {RotorModel::Kind::Mic1, RotorModel::Kind::Mic1, RotorModel::Kind::Leak};
    RotorModel horn(hornKinds[mode % 3]);
    LightRotorModel drum(mode == 4 ? LightRotorModel::Kind::Leak : LightRotorModel::Kind::Mic);
    auto set = [](auto& m, double speedHz, double theta) {
        m.motion().setSlowSpeed(static_cast<float>(speedHz));
        m.setMicAngle(theta);
        m.setMicDistance(1.0);
        m.setAmRadius(0.2);
        m.setFmRadius(0.2);
        m.setRate(48000.0, 1);
        m.setGeometry();
        m.reset();
        m.loadRecordings();
        m.setNoiseBaseGain(0.5);
        m.setNoiseLevels(5.0, 6.3, 2.0);
    };
    set(horn, 6.7, mode == 1 ? 0.2 : 0.0);
    set(drum, 6.0, mode == 3 ? -0.2 : 0.0);
    const char* labels[] = {"horn mic front", "horn mic side", "horn leak", "drum mic", "drum leak"};
    perSample(
        state, [&](double x, long) { return mode < 3 ? horn.process(0.6 * x) : drum.process(0.6 * x); }, labels[mode]);
}
BENCHMARK(BM_RotorModel)->DenseRange(0, 4);

}  // namespace

BENCHMARK_MAIN();
