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

    // Shared settings go to every plain filter.
    void share()
    {
        for (BiquadFilter& f : filter) {
            f.sampleRate = bank.sampleRate;
            f.type = bank.type;
            f.enabled = bank.enabled;
            f.glideLength = bank.glideLength;
            f.snapOnUpdate = bank.snapOnUpdate;
            f.saturationBias = bank.saturationBias;
        }
    }
    void setLane(int k, double f0, double q, double gainDb)
    {
        bank.frequency[k] = filter[k].frequency = f0;
        bank.q[k] = filter[k].q = q;
        bank.gainDb[k] = filter[k].gainDb = gainDb;
    }
    void update(int k)
    {
        bank.update(k);
        filter[k].update();
    }
    void expectSameState(int step) const
    {
        for (int k = 0; k < kLanes; ++k) {
            const BiquadFilter& f = filter[k];
            ASSERT_EQ(bank.glideRemaining(k), f.glideRemaining) << step << " lane " << k;
            for (int j = 0; j < BiquadFilter::rootCount; ++j) {
                ASSERT_EQ(bank.rootCurrent(k, j), f.rootState[j].current) << step << " lane " << k;
                ASSERT_EQ(bank.rootTarget(k, j), f.rootState[j].target) << step << " lane " << k;
            }
            ASSERT_EQ(bank.b0(k), f.b0);
            ASSERT_EQ(bank.b1(k), f.b1);
            ASSERT_EQ(bank.b2(k), f.b2);
            ASSERT_EQ(bank.a1(k), f.a1);
            ASSERT_EQ(bank.a2(k), f.a2);
            ASSERT_EQ(bank.saturationOn(k), f.saturationOn != 0);
            ASSERT_EQ(bank.saturationCoefficient(k), f.saturationCoefficient);
            ASSERT_EQ(bank.saturationAmount(k), f.saturationAmount);
        }
    }
};

TEST(BiquadBank, NewLanesBehaveLikeNewFilters)
{
    Pair p;
    p.expectSameState(0);
    std::vector<double> v(kLanes, 0.25);
    p.bank.processSaturated(v.data(), kLanes);  // disabled: passes
    for (int k = 0; k < kLanes; ++k)
        EXPECT_EQ(v[k], p.filter[k].processSaturated(0.25));
}

TEST(BiquadBank, EveryLaneMatchesAPlainFilterUnderRandomCalls)
{
    std::mt19937 rng(11);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int counts[] = {0, 1, 3, 7, 10, 11, kLanes};  // lane counts, odd ones included
    const std::uint32_t types[] = {BiquadFilter::typePeak, BiquadFilter::typeLowPass2, BiquadFilter::typeHighShelf,
                                   BiquadFilter::typeBandPass, BiquadFilter::typeOff};

    Pair p;
    p.bank.enabled = 1;
    p.bank.type = BiquadFilter::typePeak;
    p.bank.sampleRate = 48000.0;
    p.bank.glideLength = 30;
    p.share();
    for (int k = 0; k < kLanes; ++k) {
        p.setLane(k, 500.0 + 300.0 * k, 0.7, -3.0);
        p.update(k);
    }
    p.bank.snapOnUpdate = false;
    p.share();

    std::vector<double> v(kLanes);
    double phase = 0.0;
    for (int step = 0; step < 3000; ++step) {
        const int action = pick(22);
        if (action == 0) {  // shared settings
            p.bank.type = types[pick(5)];
            p.bank.enabled = pick(5) == 0 ? 0u : 1u;
            p.bank.sampleRate = pick(2) == 0 ? 48000.0 : 44100.0;
            p.bank.glideLength = static_cast<std::uint32_t>(pick(3) * 20);  // 0 snaps
            p.bank.snapOnUpdate = pick(4) == 0;
            p.bank.saturationBias = pick(2) == 0 ? 0.0 : 0.03125;
            p.share();
        } else if (action <= 6) {  // redesign the first lanes together, or some lanes one by one
            const bool together = action <= 4;
            const int first = counts[pick(7)];
            for (int k = 0; k < kLanes; ++k) {
                if (together ? k >= first : pick(2) == 0)
                    continue;
                // Now and then a lane keeps its settings, or only its gain, frequency or Q changes.
                const int change = pick(6);
                if (change == 0)
                    p.setLane(k, p.bank.frequency[k], p.bank.q[k], -20.0 + 30.0 * unit(rng));
                else if (change == 2)
                    p.setLane(k, 200.0 + 8000.0 * unit(rng), p.bank.q[k], p.bank.gainDb[k]);
                else if (change == 3)
                    p.setLane(k, p.bank.frequency[k], 0.3 + 3.0 * unit(rng), p.bank.gainDb[k]);
                else if (change != 1)
                    p.setLane(k, 200.0 + 8000.0 * unit(rng), 0.3 + 3.0 * unit(rng), -20.0 + 30.0 * unit(rng));
                if (together)
                    p.filter[k].update();
                else
                    p.update(k);
            }
            if (together)
                p.bank.updateLanes(first);
        } else if (action == 7) {
            const int k = pick(kLanes);
            p.bank.snap(k);
            p.filter[k].snap();
        } else if (action == 8) {
            const int first = counts[pick(7)];
            p.bank.snapLanes(first);
            for (int k = 0; k < first; ++k)
                p.filter[k].snap();
        } else if (action <= 10) {
            const double amount = pick(3) == 0 ? 0.0 : 0.05 * unit(rng);
            const int first = action == 9 ? kLanes : counts[pick(7)];
            if (action == 9) {
                for (int k = 0; k < kLanes; ++k)
                    p.bank.setSaturation(k, amount);
            } else {
                p.bank.setSaturationLanes(first, amount);
            }
            for (int k = 0; k < first; ++k)
                p.filter[k].setSaturation(amount);
        } else if (action == 11) {
            const int k = pick(kLanes);
            p.bank.clearHistory(k);
            BiquadFilter& f = p.filter[k];
            f.x1 = f.x2 = f.y1 = f.y2 = 0.0;
        }
        // A few samples through the first `count` lanes; one lane alone now and then.
        const int count = counts[pick(7)];
        for (int n = 0; n < 4; ++n) {
            for (int k = 0; k < kLanes; ++k)
                v[k] = 0.6 * std::sin(phase + k) + (k % 3 == 0 ? 1.5 : 0.0);
            phase += 0.31;
            if (pick(10) == 0 && count > 0) {
                const int k = pick(count);
                ASSERT_EQ(p.bank.processSaturated(k, v[k]), p.filter[k].processSaturated(v[k])) << step;
                continue;
            }
            std::vector<double> in = v;
            p.bank.processSaturated(v.data(), count);
            for (int k = 0; k < count; ++k)
                ASSERT_EQ(v[k], p.filter[k].processSaturated(in[k])) << "step " << step << " lane " << k;
        }
        p.expectSameState(step);
    }
}

}  // namespace
}  // namespace orv
