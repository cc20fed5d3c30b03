#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/CrossPaths.h"
#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"
#include "support/AllocCounter.h"

namespace orv {
namespace {

TEST(RadiationAllocation, CounterSeesHeapBlocks) {
    test::AllocationScope scope;
    auto p = std::make_unique<double[]>(8);
    EXPECT_EQ(scope.count(), 1);
}

// Once built, the models process, re-tune, take every setting, rebuild their geometry, reset
// and change rate without touching the heap.
TEST(RadiationAllocation, ProcessingAndReconfigurationAllocateNothing) {
    auto horn1 = std::make_unique<RotorModel>(RotorModel::Kind::Mic1);
    auto horn2 = std::make_unique<RotorModel>(RotorModel::Kind::Mic2);
    auto hornLeak = std::make_unique<RotorModel>(RotorModel::Kind::Leak);
    auto drum = std::make_unique<LightRotorModel>(LightRotorModel::Kind::Mic);
    auto drumLeak = std::make_unique<LightRotorModel>(LightRotorModel::Kind::Leak);
    CrossPaths paths;
    for (RotorModel* m : {horn1.get(), horn2.get(), hornLeak.get()}) {
        m->loadRecordings();
        m->motion().setSlowSpeed(0.8f);
        m->motion().setFastSpeed(6.7f);
    }
    for (LightRotorModel* m : {drum.get(), drumLeak.get()}) {
        m->loadRecordings();
        m->motion().setSlowSpeed(0.7f);
        m->motion().setFastSpeed(6.0f);
    }

    double sink = 0.0;
    test::AllocationScope scope;
    for (int n = 0; n < 40000; ++n) {
        const double x = 0.3 * std::sin(0.05 * n);
        if (n == 5000) {
            for (RotorModel* m : {horn1.get(), horn2.get(), hornLeak.get()}) {
                m->motion().setSpeed(0.0f);
                m->setRayGain(3, 0.7);
                m->setReflectionCoefficient(0.6);
                m->setReflectionLpf(1.2);
                m->setStaticCutoff(3000.0);
                m->setFilterSaturation(0.02);
                m->setNoiseBaseGain(0.5);
                m->setNoiseLevels(5.0, 6.3, 2.0);
                m->setNoiseBalance(0.7f);
                m->startNoiseTransient(0.25);
            }
            drum->setSplitterFrequency(200.0);
            drum->setFilterSaturation(0.1);
            drum->startNoiseTransient(0.01);
        }
        if (n == 10000) {
            for (RotorModel* m : {horn1.get(), horn2.get(), hornLeak.get()}) {
                m->setMicAngle(0.3);
                m->setMicDistance(1.2);
                m->setAmRadius(0.15);
                m->setGeometry();
                m->reset();
                m->setDirection(-1.0);
            }
            for (LightRotorModel* m : {drum.get(), drumLeak.get()}) {
                m->setMicAngle(-0.2);
                m->setGeometry();
                m->reset();
            }
            paths.compute({0.1, 1.0, 0.0, 0.8, 1.0, 1.0, 48000.0}, *hornLeak, *drumLeak);
        }
        if (n == 20000) {
            for (RotorModel* m : {horn1.get(), horn2.get(), hornLeak.get()}) m->setRate(24000.0, 2);
            for (LightRotorModel* m : {drum.get(), drumLeak.get()}) m->setRate(24000.0, 2);
        }
        sink += horn1->process(x) + horn2->process(x) + hornLeak->process(x);
        sink += drum->process(x) + drumLeak->process(x) + drum->staticLowBand();
        sink += horn1->noiseOutput() + horn2->noiseOutput() + drum->noiseOutput();
    }
    EXPECT_EQ(scope.count(), 0);
    EXPECT_TRUE(std::isfinite(sink));
}

}  // namespace
}  // namespace orv
