#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ModelRig.h"

namespace orv {
namespace {

// Every model stays finite for microphones anywhere around the cabinet, at every distance the
// parameters allow (0.3 m for horn microphone 2 up to 1.98 m), both flip signs and both
// radius extremes.
TEST(RadiationRobustness, FiniteOutputForEveryPlacement) {
    auto horn = std::make_unique<RotorModel>(RotorModel::Kind::Mic1);
    auto leak = std::make_unique<RotorModel>(RotorModel::Kind::Leak);
    auto drum = std::make_unique<LightRotorModel>(LightRotorModel::Kind::Mic);
    auto drumLeak = std::make_unique<LightRotorModel>(LightRotorModel::Kind::Leak);
    test::setUpModel(*horn, 7.0);
    test::setUpModel(*leak, 7.0);
    test::setUpModel(*drum, 6.0);
    test::setUpModel(*drumLeak, 6.0);
    int placements = 0;
    for (double direction : {1.0, -1.0}) {
        for (double radius : {0.125, 0.25}) {
            for (double distance : {0.3, 0.35, 0.62, 0.86, 1.1, 1.65, 1.98}) {
                for (int a = 0; a <= 20; ++a) {
                    const double theta = a * 0.05 - 0.5;
                    auto place = [&](auto& m) {
                        m.setDirection(direction);
                        m.setMicAngle(theta);
                        m.setMicDistance(distance);
                        m.setAmRadius(radius);
                        m.setFmRadius(radius);
                        m.setGeometry();
                        m.reset();
                    };
                    place(*horn);
                    place(*leak);
                    place(*drum);
                    place(*drumLeak);
                    double sum = 0.0;
                    for (int n = 0; n < 600; ++n) {
                        const double x = 0.5 * std::sin(0.07 * n);
                        sum += horn->process(x) + leak->process(x) + drum->process(x) +
                               drumLeak->process(x) + drum->staticLowBand();
                    }
                    ASSERT_TRUE(std::isfinite(sum)) << "theta " << theta << " distance " << distance
                                                    << " radius " << radius << " direction " << direction;
                    ++placements;
                }
            }
        }
    }
    EXPECT_EQ(placements, 2 * 2 * 7 * 21);
}

}  // namespace
}  // namespace orv
