#include "dsp/MultiFilter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "FilterReference.h"

namespace orv {
namespace {

using test::designed;

// The stages against plain sections in series are checked through the voicing banks' response
// golden, their saturation with the banks' and the models' goldens.
constexpr double fs = 44100;

TEST(MultiFilter, CopiesTheDesignNotTheGlidingSet)
{
    BiquadFilter gliding = designed(BiquadFilter::typePeak, fs, 500, 2, 6), idle;
    gliding.setSnapOnUpdate(false);
    gliding.setFrequency(4000);
    gliding.update();
    gliding.process(0.0);  // the running set is now between the two designs
    BiquadFilter landed = designed(BiquadFilter::typePeak, fs, 4000, 2, 6);
    MultiFilter a, b;
    a.copyFrom(idle, gliding, idle, idle);
    b.copyFrom(idle, landed, idle, idle);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(a.process(i == 0 ? 1.0 : 0.0), b.process(i == 0 ? 1.0 : 0.0)) << i;
}

// The 1e-17 flush keeps the decaying tail out of the denormal range. Rounding to the flush
// grid inside the low-frequency high-pass loop may leave a limit cycle near 1e-29, far below
// anything audible, but never a subnormal value.
TEST(MultiFilter, DecayNeverGoesDenormal)
{
    MultiFilter m;  // a low-pass, a peak, a high-pass and a high shelf in series
    m.copyFrom(designed(8, fs, 6000, 0.8, 0), designed(4, fs, 700, 4, -9), designed(1, fs, 80, 0.7, 0),
               designed(7, fs, 3000, 0.6, 5));
    double y = m.process(1.0);
    for (int n = 0; n < 400000; ++n) {
        y = m.processSaturated(0.0);
        ASSERT_NE(std::fpclassify(y), FP_SUBNORMAL);
    }
    EXPECT_LT(std::fabs(y), 1e-25);
    m.clearCoefficients();  // cleared coefficients pass nothing
    EXPECT_EQ(m.process(1.0), 0.0);
}

}  // namespace
}  // namespace orv
