#include <gtest/gtest.h>

#include "ModelRig.h"

namespace orv::test {
namespace {

// Every model stays finite for microphones anywhere around the cabinet, at every distance the
// parameters allow (0.3 m for horn microphone 2 up to 1.98 m), both flip signs and both radius
// extremes.
TEST(RadiationRobustness, FiniteOutputForEveryPlacement) {
    auto horn = makeHorn(7.0), leak = makeHorn(7.0, 0.0, RotorModel::Kind::Leak);
    auto drum = makeDrum(6.0), drumLeak = makeDrum(6.0, 0.0, LightRotorModel::Kind::Leak);
    auto place = [](auto& m, double direction, double radius, double distance, double theta) {
        m.setDirection(direction);
        m.setMicAngle(theta);
        m.setMicDistance(distance);
        m.setAmRadius(radius);
        m.setFmRadius(radius);
        m.setGeometry();
        m.reset();
    };
    for (double direction : {1.0, -1.0})
        for (double radius : {0.125, 0.25})
            for (double distance : {0.3, 0.35, 0.62, 0.86, 1.1, 1.65, 1.98})
                for (double theta = -0.5; theta < 0.52; theta += 0.05) {
                    place(*horn, direction, radius, distance, theta);
                    place(*leak, direction, radius, distance, theta);
                    place(*drum, direction, radius, distance, theta);
                    place(*drumLeak, direction, radius, distance, theta);
                    double sum = 0.0;
                    for (int n = 0; n < 600; ++n) {
                        const double x = 0.5 * std::sin(0.07 * n);
                        sum += horn->process(x) + leak->process(x) + drum->process(x) + drumLeak->process(x) +
                               drum->staticLowBand();
                    }
                    ASSERT_TRUE(std::isfinite(sum)) << "theta " << theta << " distance " << distance << " radius "
                                                    << radius << " direction " << direction;
                }
}

}  // namespace
}  // namespace orv::test
