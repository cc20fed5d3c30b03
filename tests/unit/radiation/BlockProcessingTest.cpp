// The rotor models' block forms (what the engine runs) against the per-sample form on twin
// models: the same signal, motor noise and low band bit for bit, over block sizes that mix
// empty, single, odd and full-chunk blocks.

#include <gtest/gtest.h>

#include "ModelRig.h"

namespace orv::test {
namespace {

constexpr int kSizes[] = {0, 1, 7, 64, 3, 0, 64, 33, 64, 1};
constexpr int kTotal = 237;

template <class Model>
std::unique_ptr<Model> twin(double speed, double theta, typename Model::Kind kind) {
    auto m = make<Model>(speed, theta, kind);
    m->loadRecordings();
    m->setNoiseBaseGain(0.5);
    m->setNoiseLevels(5.0, 6.3, 2.0);
    m->setStaticRayGain(0.5);
    return m;
}

TEST(ModelBlocks, BlockFormsMatchPerSample) {
    using H = RotorModel;
    using D = LightRotorModel;
    std::vector<double> x(kTotal);
    for (int i = 0; i < kTotal; ++i) x[i] = 0.3 * std::sin(0.0577 * i) + 0.1 * std::sin(0.31 * i);
    for (double theta : {0.0, 0.2, -0.45}) {
        SCOPED_TRACE(theta);
        // [0] runs in blocks, [1] sample by sample.
        std::unique_ptr<H> a[2], b[2], hl[2];
        std::unique_ptr<D> d[2], dl[2];
        for (int k = 0; k < 2; ++k) {
            a[k] = twin<H>(6.7, theta, H::Kind::Mic1);
            b[k] = twin<H>(6.7, -theta, H::Kind::Mic2);
            hl[k] = twin<H>(6.7, theta, H::Kind::Leak);
            d[k] = twin<D>(6.0, theta, D::Kind::Mic);
            dl[k] = twin<D>(6.0, theta, D::Kind::Leak);
        }
        enum { A, B, NA, NB, HL, DR, LOW, ND, DL, kOutputs };
        std::vector<double> y[kOutputs];
        for (auto& v : y) v.assign(kTotal, 0.0);
        int at = 0;
        for (int n : kSizes) {
            auto p = [&](int k) { return y[k].data() + at; };
            H::processPairBlock(*a[0], *b[0], x.data() + at, p(A), p(B), p(NA), p(NB), n);
            hl[0]->processBlock(x.data() + at, p(HL), n);
            d[0]->processBlock(x.data() + at, p(DR), p(LOW), p(ND), n);
            dl[0]->processBlock(x.data() + at, p(DL), nullptr, nullptr, n);
            at += n;
        }
        ASSERT_EQ(at, kTotal);
        for (int i = 0; i < kTotal; ++i) {
            const double ref[kOutputs] = {a[1]->process(x[i]), b[1]->process(x[i]), a[1]->noiseOutput(),
                                          b[1]->noiseOutput(), hl[1]->process(x[i]), d[1]->process(x[i]),
                                          d[1]->staticLowBand(), d[1]->noiseOutput(), dl[1]->process(x[i])};
            for (int k = 0; k < kOutputs; ++k) ASSERT_EQ(y[k][i], ref[k]) << "output " << k << " sample " << i;
        }
        for (int k = 0; k < kOutputs; ++k) EXPECT_NE(maxOf(y[k]), minOf(y[k])) << "output " << k << " is constant";
    }
}

}  // namespace
}  // namespace orv::test
