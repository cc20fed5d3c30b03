#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "dsp/BiquadFilter.h"
#include "dsp/LaneMath.h"
#include "dsp/MultiFilter.h"

namespace orv {

// One section of a fixed voicing bank.
struct VoicingSection {
    std::uint32_t type;  // BiquadFilter type
    double frequency;    // Hz, before the filter's upper limit
    double gainDb;       // 0 for types without gain
    double q;
    bool enabled;    // disabled sections pass the signal (through the saturation law only, if any)
    bool saturates;  // receives the bank's saturation amount; the others receive 0
};

// A fixed bank of 4 x CascadeCount BiquadFilter sections run as CascadeCount MultiFilter
// cascades in series. Sections are designed once at build() and again at setRate(); the
// per-sample calls run only the cascades; the block call runs the same sections side by side.
template <int CascadeCount>
class VoicingBank {
public:
    static constexpr int cascadeCount = CascadeCount;
    static constexpr int sectionCount = MultiFilter::stageCount * CascadeCount;
    using Table = std::array<VoicingSection, sectionCount>;

    BiquadFilter section[sectionCount];
    MultiFilter cascade[cascadeCount];

    // Construction: designs every section of `table` at `rate` with `bias` and `amount`, copies, clears.
    void build(const Table& table, double bias, double rate, double amount);
    // Rate change: redesigns at `rate`, re-applies the stored saturation, copies, optionally clears.
    void setRate(double rate, bool clearCascades = true);
    // Gives `amount` to the saturating sections and 0 to the others, then recopies.
    void setSaturationAmount(double amount);
    // Copies the sections' designs and saturation settings into the cascades.
    void copyCascades();
    // Clears the cascades' history.
    void clearState();
    // The amount last given to the saturating sections.
    double saturationAmount() const { return amount_; }

    // One sample through every cascade in series, without saturation.
    inline double process(double x);
    // One sample through every cascade in series, with each stage's saturation.
    inline double processSaturated(double x);
    // v[0] .. v[n - 1] in place, each as process() would give it. The sections run V (Double2,
    // or Double4 in the AVX2 kernels) at a time, each one sample behind the one before it, so
    // that the chain of dependent sections becomes independent work within a step.
    template <class V>
    void processBlock(double* v, int n)
    {
        runBlock<false, V>(v, n);
    }
    // The same as processSaturated() would give.
    template <class V>
    void processSaturatedBlock(double* v, int n)
    {
        runBlock<true, V>(v, n);
    }
    // This bank's saturating block form over v and other's over w, n samples each, giving what
    // each gives alone: the two wavefronts step together, so one bank's dependent steps fill
    // the other's waiting time.
    template <class V, int Other>
    void processSaturatedBlockWith(VoicingBank<Other>& other, double* v, double* w, int n)
    {
        runBlocks<true, V>(other, v, w, n);
    }

private:
    template <int>
    friend class VoicingBank;

    void designSection(int i, double rate);
    // Sections s .. s + lanes of T - 1 take their next sample `in`, as a cascade stage does.
    template <bool Saturate, class T>
    inline void step(int s, T in);
    // Step t of the wavefront over v[0] .. v[n - 1] (steps 0 .. n + sectionCount - 2).
    template <bool Saturate, class V>
    inline void blockStep(double* v, int n, int t);
    template <bool Saturate, class V>
    void runBlock(double* v, int n);
    template <bool Saturate, class V, int Other>
    void runBlocks(VoicingBank<Other>& other, double* v, double* w, int n);
    // The histories from the cascades into the block form's layout, and back.
    void takeHistory();
    void giveHistory();

    // The cascades' designs, saturation settings and histories section by section, for the
    // block forms: the designs and settings are copied with the cascades', the histories taken
    // from and given back to them around each block.
    alignas(16) double b0_[sectionCount] = {}, b1_[sectionCount] = {}, b2_[sectionCount] = {}, a1_[sectionCount] = {},
                       a2_[sectionCount] = {};
    alignas(16) double saturationCoefficient_[sectionCount] = {}, saturationBias_[sectionCount] = {};
    alignas(16) std::uint64_t saturationMask_[sectionCount] = {};  // all ones where saturation is on
    alignas(16) double x1_[sectionCount] = {}, x2_[sectionCount] = {}, y1_[sectionCount] = {}, y2_[sectionCount] = {};

    Table table_{};
    double bias_ = 0.0;
    double amount_ = 0.0;
    double designedRate_ = 0.0;  // the rate the sections were last designed at
};

template <int CascadeCount>
void VoicingBank<CascadeCount>::designSection(int i, double rate)
{
    const VoicingSection& t = table_[i];
    BiquadFilter& f = section[i];
    const double r = BiquadFilter::usableRate(rate);
    f.prepare(r, BiquadFilter::glideLengthFor(r));
    f.setType(t.type);
    f.setQ(t.q);
    f.setGainDb(t.gainDb);
    f.setFrequency(std::min(t.frequency, BiquadFilter::maxFrequencyShare * r));
    f.setSaturationBias(bias_);
    // Enabled or not, the section is switched with update-then-snap so it starts at its design.
    f.setEnabled(t.enabled);
    f.update();
    f.snap();
    f.setSaturation(t.saturates ? amount_ : 0.0);
}

template <int CascadeCount>
void VoicingBank<CascadeCount>::build(const Table& table, double bias, double rate, double amount)
{
    table_ = table;
    bias_ = bias;
    amount_ = amount;
    for (int i = 0; i < sectionCount; ++i) designSection(i, rate);
    designedRate_ = rate;
    copyCascades();
    clearState();
}

template <int CascadeCount>
void VoicingBank<CascadeCount>::setRate(double rate, bool clearCascades)
{
    // The frequency limit is applied again at the new rate; sections keep their tabled values
    // otherwise. (Since the section rate is never below 20 kHz, the limit never bites.) The
    // designs depend on nothing else that changes, so the same rate again keeps them.
    if (rate != designedRate_) {
        for (int i = 0; i < sectionCount; ++i) designSection(i, rate);
        designedRate_ = rate;
    }
    copyCascades();
    if (clearCascades) clearState();
}

template <int CascadeCount>
void VoicingBank<CascadeCount>::setSaturationAmount(double amount)
{
    amount_ = amount;
    for (int i = 0; i < sectionCount; ++i) section[i].setSaturation(table_[i].saturates ? amount : 0.0);
    copyCascades();
}

template <int CascadeCount>
void VoicingBank<CascadeCount>::copyCascades()
{
    for (int c = 0; c < cascadeCount; ++c) {
        const BiquadFilter* s = &section[c * MultiFilter::stageCount];
        cascade[c].copyFrom(s[0], s[1], s[2], s[3]);
    }
    for (int i = 0; i < sectionCount; ++i) {
        const BiquadDesigner::Design& d = section[i].design();
        b0_[i] = d.b0;
        b1_[i] = d.b1;
        b2_[i] = d.b2;
        a1_[i] = d.a1;
        a2_[i] = d.a2;
        saturationCoefficient_[i] = section[i].saturationCoefficient();
        saturationBias_[i] = section[i].saturationBias();
        saturationMask_[i] = section[i].saturationOn() ? ~std::uint64_t{0} : 0;
    }
}

template <int CascadeCount>
void VoicingBank<CascadeCount>::clearState()
{
    for (int c = 0; c < cascadeCount; ++c) cascade[c].clearState();
}

template <int CascadeCount>
inline double VoicingBank<CascadeCount>::process(double x)
{
    for (int c = 0; c < cascadeCount; ++c) x = cascade[c].process(x);
    return x;
}

template <int CascadeCount>
inline double VoicingBank<CascadeCount>::processSaturated(double x)
{
    for (int c = 0; c < cascadeCount; ++c) x = cascade[c].processSaturated(x);
    return x;
}

template <int CascadeCount>
template <bool Saturate, class T>
inline void VoicingBank<CascadeCount>::step(int s, T in)
{
    using lanes::load;
    using lanes::store;
    constexpr double flush = MultiFilter::flush;
    // The arithmetic of a MultiFilter stage, term by term in the same order.
    const T x1 = load<T>(&x1_[s]);
    const T x2 = load<T>(&x2_[s]);
    const T y1 = load<T>(&y1_[s]);
    const T y2 = load<T>(&y2_[s]);
    const T history = load<T>(&b1_[s]) * x1 + load<T>(&b2_[s]) * x2 - load<T>(&a1_[s]) * y1 - load<T>(&a2_[s]) * y2;
    T y = load<T>(&b0_[s]) * in + history;
    y = y + flush - flush;
    if constexpr (Saturate) {
        const T squashed =
            y / (1.0 + load<T>(&saturationCoefficient_[s]) * lanes::absOf(y + load<T>(&saturationBias_[s])));
        y = lanes::select(lanes::loadMask<T>(&saturationMask_[s]), squashed + flush - flush, y);
    }
    store(&x2_[s], x1);
    store(&x1_[s], in);
    store(&y2_[s], y1);
    store(&y1_[s], y);
}

template <int CascadeCount>
void VoicingBank<CascadeCount>::takeHistory()
{
    for (int c = 0; c < cascadeCount; ++c) {
        for (int k = 0; k < MultiFilter::stageCount; ++k) {
            const int s = c * MultiFilter::stageCount + k;
            cascade[c].history(k, x1_[s], x2_[s], y1_[s], y2_[s]);
        }
    }
}

template <int CascadeCount>
void VoicingBank<CascadeCount>::giveHistory()
{
    for (int c = 0; c < cascadeCount; ++c) {
        for (int k = 0; k < MultiFilter::stageCount; ++k) {
            const int s = c * MultiFilter::stageCount + k;
            cascade[c].setHistory(k, x1_[s], x2_[s], y1_[s], y2_[s]);
        }
    }
}

template <int CascadeCount>
template <bool Saturate, class V>
inline void VoicingBank<CascadeCount>::blockStep(double* v, int n, int t)
{
    constexpr int width = lanes::kWidth<V>;
    constexpr int last = sectionCount - 1;
    constexpr double flush = MultiFilter::flush;
    static_assert(sectionCount % width == 0, "whole lane sets of sections");
    // At step t section s takes sample t - s, which section s - 1 gave at step t - 1: its last
    // output. The lane sets step from the last to the first, so each reads the outputs of the
    // one before as they were after the previous step. While the wavefront fills and drains, a
    // lane set whose sections are not all within the block steps section by section.
    for (int first = sectionCount - width; first >= 0; first -= width) {
        const int newest = t - first;  // the sample of the set's first section
        const int oldest = newest - (width - 1);
        if (newest < 0 || oldest >= n) continue;
        if (oldest >= 0 && newest < n) {
            const V previous = first == 0 ? lanes::splat<V>(v[t] + flush - flush) : lanes::load<V>(&y1_[first - width]);
            step<Saturate, V>(first, lanes::shiftIn(previous, lanes::load<V>(&y1_[first])));
            continue;
        }
        for (int s = first + width - 1; s >= first; --s) {
            if (t - s < 0 || t - s >= n) continue;
            step<Saturate, double>(s, s == 0 ? v[t] + flush - flush : y1_[s - 1]);
        }
    }
    // Sample t - last has left the last section (the input of that sample was read before).
    if (t >= last) v[t - last] = y1_[last];
}

template <int CascadeCount>
template <bool Saturate, class V>
void VoicingBank<CascadeCount>::runBlock(double* v, int n)
{
    if (n <= 0) return;
    takeHistory();
    for (int t = 0; t < n + sectionCount - 1; ++t) blockStep<Saturate, V>(v, n, t);
    giveHistory();
}

template <int CascadeCount>
template <bool Saturate, class V, int Other>
void VoicingBank<CascadeCount>::runBlocks(VoicingBank<Other>& other, double* v, double* w, int n)
{
    if (n <= 0) return;
    takeHistory();
    other.takeHistory();
    const int steps = n + sectionCount - 1;
    const int otherSteps = n + VoicingBank<Other>::sectionCount - 1;
    for (int t = 0; t < steps || t < otherSteps; ++t) {
        if (t < steps) blockStep<Saturate, V>(v, n, t);
        if (t < otherSteps) other.template blockStep<Saturate, V>(w, n, t);
    }
    giveHistory();
    other.giveHistory();
}

}  // namespace orv
