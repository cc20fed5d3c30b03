// The packed bank against the plain filter: every lane of a BiquadBank must give, bit for bit,
// what a BiquadFilter gives under the same calls, whatever the sequence of designs, glides,
// snaps, saturation changes and lane counts.

#include "dsp/BiquadBank.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "dsp/BiquadFilter.h"

namespace orv {
namespace {

constexpr int kLanes = 12;

struct Pair {
    BiquadBank<kLanes> bank;
    BiquadFilter filter[kLanes];

    void share(std::uint32_t type, bool enabled, double rate, std::uint32_t glide, bool snap, double bias)
    {
        bank.prepare(rate, glide);
        bank.setType(type);
        bank.setEnabled(enabled);
        bank.setSnapOnUpdate(snap);
        bank.setSaturationBias(bias);
        for (BiquadFilter& f : filter) {
            f.prepare(rate, glide);
            f.setType(type);
            f.setEnabled(enabled);
            f.setSnapOnUpdate(snap);
            f.setSaturationBias(bias);
        }
    }
    void setLane(int k, double f0, double q, double gainDb)
    {
        bank.setLane(k, f0, q);
        bank.setLaneGain(k, gainDb);
        filter[k].setFrequency(f0);
        filter[k].setQ(q);
        filter[k].setGainDb(gainDb);
    }
    void expectSameState(int step) const
    {
        for (int k = 0; k < kLanes; ++k) {
            const BiquadFilter& f = filter[k];
            const BiquadDesigner::Design& d = f.design();
            ASSERT_EQ(bank.glideRemaining(k), f.glideRemaining()) << step << " lane " << k;
            for (int j = 0; j < BiquadFilter::rootCount; ++j)
                ASSERT_EQ(bank.rootTarget(k, j), d.root[j]) << step << " lane " << k;
            ASSERT_TRUE(bank.b0(k) == d.b0 && bank.b1(k) == d.b1 && bank.b2(k) == d.b2 && bank.a1(k) == d.a1 &&
                        bank.a2(k) == d.a2)
                << step << " lane " << k;
            ASSERT_EQ(bank.saturationOn(k), f.saturationOn());
            ASSERT_EQ(bank.saturationCoefficient(k), f.saturationCoefficient());
            ASSERT_EQ(bank.saturationAmount(k), f.saturationAmount());
        }
    }
};

TEST(BiquadBank, EveryLaneMatchesAPlainFilterUnderRandomCalls)
{
    std::mt19937 rng(11);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int counts[] = {0, 1, 3, 7, 10, 11, kLanes};  // lane counts, odd ones included
    const std::uint32_t types[] = {BiquadFilter::typePeak, BiquadFilter::typeLowPass2, BiquadFilter::typeHighShelf,
                                   BiquadFilter::typeBandPass, BiquadFilter::typeOff};
    Pair p;
    p.expectSameState(-1);  // new lanes are new filters
    p.share(BiquadFilter::typePeak, true, 48000.0, 30, true, 0.0);
    for (int k = 0; k < kLanes; ++k) {
        p.setLane(k, 500.0 + 300.0 * k, 0.7, -3.0);
        p.bank.update(k);
        p.filter[k].update();
    }
    p.share(BiquadFilter::typePeak, true, 48000.0, 30, false, 0.0);

    std::vector<double> v(kLanes);
    double phase = 0.0;
    for (int step = 0; step < 3000; ++step) {
        const int action = pick(22);
        if (action == 0) {  // shared settings; a glide length of 0 snaps
            p.share(types[pick(5)], pick(5) != 0, pick(2) == 0 ? 48000.0 : 44100.0,
                    static_cast<std::uint32_t>(pick(3) * 20), pick(4) == 0, pick(2) == 0 ? 0.0 : 0.03125);
        } else if (action <= 6) {  // redesign the first lanes together, or some lanes one by one
            const bool together = action <= 4;
            const int first = counts[pick(7)];
            for (int k = 0; k < kLanes; ++k) {
                if (together ? k >= first : pick(2) == 0) continue;
                // Now and then a lane keeps its settings, or only its gain, frequency or Q changes.
                const BiquadFilter& f = p.filter[k];
                const int change = pick(6);
                const double f0 = change == 0 || change == 3 ? f.frequency() : 200.0 + 8000.0 * unit(rng);
                const double q = change == 0 || change == 2 ? f.q() : 0.3 + 3.0 * unit(rng);
                const double db = change == 2 || change == 3 ? f.gainDb() : -20.0 + 30.0 * unit(rng);
                if (change != 1) p.setLane(k, f0, q, db);
                p.filter[k].update();
                if (!together) p.bank.update(k);
            }
            if (together) p.bank.updateLanes(first);
        } else if (action == 7) {
            const int k = pick(kLanes);
            p.bank.snap(k);
            p.filter[k].snap();
        } else if (action == 8) {
            const int first = counts[pick(7)];
            p.bank.snapLanes(first);
            for (int k = 0; k < first; ++k) p.filter[k].snap();
        } else if (action <= 10) {
            const double amount = pick(3) == 0 ? 0.0 : 0.05 * unit(rng);
            const int first = action == 9 ? kLanes : counts[pick(7)];
            for (int k = 0; action == 9 && k < kLanes; ++k) p.bank.setSaturation(k, amount);
            if (action == 10) p.bank.setSaturationLanes(first, amount);
            for (int k = 0; k < first; ++k) p.filter[k].setSaturation(amount);
        } else if (action == 11) {
            const int k = pick(kLanes);
            p.bank.clearHistory(k);
            p.filter[k].clearHistory();
        }
        // A few samples through the first `count` lanes; one lane alone now and then.
        const int count = counts[pick(7)];
        for (int n = 0; n < 4; ++n) {
            for (int k = 0; k < kLanes; ++k) v[k] = 0.6 * std::sin(phase + k) + (k % 3 == 0 ? 1.5 : 0.0);
            phase += 0.31;
            if (pick(10) == 0 && count > 0) {
                const int k = pick(count);
                ASSERT_EQ(p.bank.processSaturated(k, v[k]), p.filter[k].processSaturated(v[k])) << step;
                continue;
            }
            const std::vector<double> in = v;
            p.bank.processSaturated(v.data(), count);
            for (int k = 0; k < count; ++k)
                ASSERT_EQ(v[k], p.filter[k].processSaturated(in[k])) << "step " << step << " lane " << k;
        }
        p.expectSameState(step);
    }
}

}  // namespace
}  // namespace orv
