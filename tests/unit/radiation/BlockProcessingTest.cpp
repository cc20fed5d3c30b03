// The rotor models' block forms against their per-sample forms on twin models: the same
// signal, motor noise and low band bit for bit, over a run of block sizes that mixes empty,
// single, odd and full-chunk blocks.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ModelRig.h"

namespace orv::test {
namespace {

constexpr int kSizes[] = {0, 1, 7, 64, 3, 0, 64, 33, 64, 1};

std::vector<double> testInput() {
    int total = 0;
    for (int n : kSizes) total += n;
    std::vector<double> x(total);
    for (int i = 0; i < total; ++i) x[i] = 0.3 * std::sin(0.0577 * i) + 0.1 * std::sin(0.31 * i);
    return x;
}

template <class Model>
void withNoise(Model& m) {
    m.loadRecordings();
    m.setNoiseBaseGain(0.5);
    m.setNoiseLevels(5.0, 6.3, 2.0);
}

double energy(const std::vector<double>& v) {
    double e = 0.0;
    for (double x : v) e += x * x;
    return e;
}

TEST(ModelBlocks, HornMicrophonePairMatchesPerSample) {
    const std::vector<double> x = testInput();
    for (double theta : {0.0, 0.2, -0.45}) {
        SCOPED_TRACE(theta);
        auto a = makeHorn(6.7, theta), b = makeHorn(6.7, -theta, RotorModel::Kind::Mic2);
        auto refA = makeHorn(6.7, theta), refB = makeHorn(6.7, -theta, RotorModel::Kind::Mic2);
        for (RotorModel* m : {a.get(), b.get(), refA.get(), refB.get()}) withNoise(*m);
        std::vector<double> ya(x.size()), yb(x.size()), na(x.size()), nb(x.size());
        int at = 0;
        for (int n : kSizes) {
            RotorModel::processPairBlock(*a, *b, x.data() + at, ya.data() + at, yb.data() + at, na.data() + at,
                                         nb.data() + at, n);
            at += n;
        }
        for (size_t i = 0; i < x.size(); ++i) {
            double ra = 0.0, rb = 0.0;
            RotorModel::processPair(*refA, *refB, x[i], ra, rb);
            ASSERT_EQ(ya[i], ra) << i;
            ASSERT_EQ(yb[i], rb) << i;
            ASSERT_EQ(na[i], refA->noiseOutput()) << i;
            ASSERT_EQ(nb[i], refB->noiseOutput()) << i;
        }
        EXPECT_GT(energy(ya), 0.0);
        EXPECT_GT(energy(nb), 0.0);
    }
}

TEST(ModelBlocks, LeakAndDrumModelsMatchPerSample) {
    const std::vector<double> x = testInput();
    for (double theta : {0.0, 0.2, -0.2}) {
        SCOPED_TRACE(theta);
        auto hornLeak = makeHorn(6.7, theta, RotorModel::Kind::Leak);
        auto hornLeakRef = makeHorn(6.7, theta, RotorModel::Kind::Leak);
        auto drum = makeDrum(6.0, theta), drumRef = makeDrum(6.0, theta);
        auto drumLeak = makeDrum(6.0, theta, LightRotorModel::Kind::Leak);
        auto drumLeakRef = makeDrum(6.0, theta, LightRotorModel::Kind::Leak);
        withNoise(*drum);
        withNoise(*drumRef);
        drum->setStaticRayGain(0.5);
        drumRef->setStaticRayGain(0.5);
        std::vector<double> yh(x.size()), yd(x.size()), low(x.size()), noise(x.size()), yl(x.size());
        int at = 0;
        for (int n : kSizes) {
            hornLeak->processBlock(x.data() + at, yh.data() + at, n);
            drum->processBlock(x.data() + at, yd.data() + at, low.data() + at, noise.data() + at, n);
            drumLeak->processBlock(x.data() + at, yl.data() + at, nullptr, nullptr, n);
            at += n;
        }
        for (size_t i = 0; i < x.size(); ++i) {
            ASSERT_EQ(yh[i], hornLeakRef->process(x[i])) << i;
            ASSERT_EQ(yd[i], drumRef->process(x[i])) << i;
            ASSERT_EQ(low[i], drumRef->staticLowBand()) << i;
            ASSERT_EQ(noise[i], drumRef->noiseOutput()) << i;
            ASSERT_EQ(yl[i], drumLeakRef->process(x[i])) << i;
        }
        EXPECT_GT(energy(yh) * energy(yd) * energy(low) * energy(noise) * energy(yl), 0.0);
    }
}

}  // namespace
}  // namespace orv::test
