#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <new>

#include "support/AllocCounter.h"
#include "dsp/BiquadFilter.h"
#include "dsp/MultiFilter.h"
#include "dsp/VoicingBanks.h"

namespace orv {
namespace {

// The counter sees a heap block made inside a scope (so a zero below means something).
TEST(FilterAllocation, CounterSeesHeapBlocks)
{
    test::AllocationScope scope;
    void* p = ::operator new(64);
    ::operator delete(p);
    EXPECT_EQ(scope.count(), 1);
}

// Retuning, gliding, every process variant and the banks' rate and saturation changes
// run without touching the heap once the objects exist.
TEST(FilterAllocation, ProcessingAndRetuningAllocateNothing)
{
    auto filter = std::make_unique<BiquadFilter>();
    auto cascade = std::make_unique<MultiFilter>();
    auto horn = std::make_unique<HornVoicingBank>();
    auto drum = std::make_unique<DrumInputChain>();
    auto colourA = std::make_unique<ColourationBankA>();
    buildHornVoicingBank(*horn, 44100);
    buildDrumInputChain(*drum, 44100, 0.0008);
    buildColourationBankA(*colourA, 44100, 0.01);
    filter->enable();
    filter->snapOnUpdate = false;

    double sink = 0;
    test::AllocationScope scope;
    for (int n = 0; n < 20000; ++n) {
        if (n % 16 == 0) {
            filter->frequency = 200.0 + (n % 4000);
            filter->update();
            filter->setSaturation(0.3);
            cascade->copyFrom(*filter, *filter, *filter, *filter);
        }
        if (n == 10000) {
            horn->setRate(48000);
            drum->setSaturationAmount(0.2);
            colourA->setRate(96000);
        }
        const double x = std::sin(0.01 * n);
        sink += filter->process(x) + filter->processSaturated(x) + filter->processPlain(x);
        sink += cascade->process(x) + cascade->processSaturated(x);
        sink += horn->process(x) + drum->processSaturated(x) + colourA->processSaturated(x);
    }
    EXPECT_EQ(scope.count(), 0);
    EXPECT_TRUE(std::isfinite(sink));
}

}  // namespace
}  // namespace orv
