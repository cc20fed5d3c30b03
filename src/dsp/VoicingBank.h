#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "dsp/BiquadFilter.h"
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
// per-sample calls run only the cascades.
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

private:
    void designSection(int i, double rate);

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

// One sample through two banks side by side, giving exactly what a.processSaturated(xa) and
// b.processSaturated(xb) give: their cascades alternate, so that one bank's long chain of
// dependent sections fills the other's waiting time.
template <int CascadesA, int CascadesB>
inline void processSaturatedPair(VoicingBank<CascadesA>& a, double& xa, VoicingBank<CascadesB>& b, double& xb)
{
    constexpr int common = CascadesA < CascadesB ? CascadesA : CascadesB;
    for (int c = 0; c < common; ++c) {
        xa = a.cascade[c].processSaturated(xa);
        xb = b.cascade[c].processSaturated(xb);
    }
    for (int c = common; c < CascadesA; ++c) xa = a.cascade[c].processSaturated(xa);
    for (int c = common; c < CascadesB; ++c) xb = b.cascade[c].processSaturated(xb);
}

}  // namespace orv
