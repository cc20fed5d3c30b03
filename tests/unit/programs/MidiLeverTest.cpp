// A controller bound to "Lever" reaches the rotors: the horn turns at its fast speed once the
// controller threw the lever.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

constexpr int kLever = 2;
constexpr double kRate = 44100.0;
constexpr int kBlock = 64;

class MidiLever : public EffectTest {
protected:
    // Average horn speed in revolutions per second over `seconds` of processing.
    double hornSpeed(double seconds) {
        std::vector<float> inL(kBlock, 0.0f), inR(kBlock, 0.0f), outL(kBlock), outR(kBlock);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        const int blocks = static_cast<int>(seconds * kRate / kBlock);
        double travelled = 0.0;
        double last = effect->hornAngle();
        for (int b = 0; b < blocks; ++b) {
            effect->processReplacing(in, out, kBlock);
            const double now = effect->hornAngle();
            double step = now - last;
            step -= std::floor(step + 0.5);  // angles wrap at one revolution
            travelled += std::fabs(step);
            last = now;
        }
        return travelled / (blocks * kBlock / kRate);
    }
};

TEST_F(MidiLever, ControllerOnLeverSpeedsTheHornUp) {
    effect->setSampleRate(static_cast<float>(kRate));
    effect->setBlockSize(kBlock);
    effect->resume();
    effect->assignController(kLever, 1);
    hornSpeed(2.0);  // settle at the slow speed
    const double slow = hornSpeed(1.0);
    // HSlowSpd 0.0673 and HFastSpd 0.677088 of "Default": 10·v rotations per second.
    EXPECT_NEAR(slow, 0.673, 0.673 * 0.1);

    MidiBlock block;
    block.controlChange(1, 1, 127);
    send(block);
    EXPECT_EQ(effect->getParameter(kLever), 1.0f);
    hornSpeed(4.0);  // run-up
    const double fast = hornSpeed(1.0);
    EXPECT_NEAR(fast, 6.77088, 6.77088 * 0.1);
}

}  // namespace
}  // namespace orv::test
