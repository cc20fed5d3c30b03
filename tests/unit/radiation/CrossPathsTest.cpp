#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/CrossPaths.h"
#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"

namespace orv {
namespace {

// Horn microphone 1 m straight in front, drum microphone 0.5 m to the side (angle 0.25),
// both rotors with a 0.2 m radius: in rotor radii the horn microphone sits at (0, −5) and the
// drum microphone at (2.5, 0); the horn plane is 0.77 above.
TEST(CrossPaths, DelaysAndGainsFromTheMicrophonePositions) {
    auto horn = std::make_unique<RotorModel>(RotorModel::Kind::Leak);
    auto drum = std::make_unique<LightRotorModel>(LightRotorModel::Kind::Leak);
    horn->setFmRadius(0.2);
    drum->setFmRadius(0.2);
    CrossPaths p;
    const double rate = 44100.0;
    p.compute({0.0, 1.0, 0.25, 0.5, 1.2, 0.6, rate}, *horn, *drum);

    const double K = rate / 340.29;  // samples per unit of path
    const double h = 0.77;
    const double d1 = std::sqrt(25.0 + h * h);
    const double d3 = std::sqrt(2.3 * 2.3 + h * h);   // (2.5 − 0.2, 0)
    const double d4 = std::sqrt(0.2 * 0.2 + 25.0 + h * h);
    const double d5 = 2.5;
    EXPECT_NEAR(p.delay[0], (d1 - h) * K, 1e-9);
    EXPECT_NEAR(p.delay[1], d1 * K, 1e-9);
    EXPECT_NEAR(p.delay[2], (d3 - h) * K, 1e-9);
    EXPECT_NEAR(p.delay[3], (d4 - h) * K, 1e-9);
    EXPECT_NEAR(p.delay[4], d5 * K, 1e-9);
    EXPECT_NEAR(p.delay[0], 555.82, 0.01);  // by hand: 4.28894 × 129.5954

    // Every distance is beyond 1, so each path reads the far end of its table (index d·512).
    const double drumFar = drum->attenuationAt(511.0), hornFar = horn->attenuationAt(511.0);
    EXPECT_DOUBLE_EQ(p.gain[0], drumFar * 1.2);
    EXPECT_DOUBLE_EQ(p.gain[1], drumFar * 1.2 * 0.6);
    EXPECT_DOUBLE_EQ(p.gain[2], hornFar * 1.2);
    EXPECT_DOUBLE_EQ(p.gain[3], hornFar * 1.2);
    EXPECT_DOUBLE_EQ(p.gain[4], drumFar * 0.6);
}

TEST(CrossPaths, DelaysFollowTheRateAndStayInsideTheLeakLines) {
    auto horn = std::make_unique<RotorModel>(RotorModel::Kind::Leak);
    auto drum = std::make_unique<LightRotorModel>(LightRotorModel::Kind::Leak);
    horn->setFmRadius(0.2);
    drum->setFmRadius(0.2);
    CrossPaths a, b;
    a.compute({0.0, 1.0, 0.0, 0.5, 1.0, 1.0, 24000.0}, *horn, *drum);
    b.compute({0.0, 1.0, 0.0, 0.5, 1.0, 1.0, 48000.0}, *horn, *drum);
    for (int k = 0; k < CrossPaths::kPaths; ++k) EXPECT_NEAR(b.delay[k], 2.0 * a.delay[k], 1e-9) << k;

    // Far microphones and the smallest radius would need more than the lines hold.
    horn->setFmRadius(0.125);
    CrossPaths far;
    far.compute({0.0, 1.65, 0.0, 0.5, 1.0, 1.0, 48000.0}, *horn, *drum);
    EXPECT_EQ(far.delay[0], CrossPaths::kMaxDelay);       // 13.2 radii: 1753 samples
    EXPECT_NEAR(far.delay[4], 2.5 * 48000.0 / 340.29, 1e-9);  // the drum side is unaffected
}

}  // namespace
}  // namespace orv
