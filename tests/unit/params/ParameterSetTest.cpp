// Index space, store semantics and the derived quantities against values worked out by hand.
// Names, construction values and texts are checked through the module in tests/host.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "params/ParameterSet.h"

namespace orv {
namespace {

TEST(ParameterSetIndexSpace, GlobalAndPerformanceParameters)
{
    const std::set<int> global = {31, 32, 33, 34, 35, 36, 37, 38, 40, 41};
    const std::set<int> performance = {0, 1, 2, 3, 4, 39};
    for (int i = -100; i < 0; ++i) EXPECT_TRUE(ParameterSet::isGlobalParameter(i)) << i;
    for (int i = 0; i < 250; ++i) {
        EXPECT_EQ(ParameterSet::isGlobalParameter(i), global.count(i) == 1) << i;
        EXPECT_EQ(ParameterSet::isPerformanceParameter(i), performance.count(i) == 1) << i;
    }
}

TEST(ParameterSetStore, IgnoresControllerBindingsAndOutOfRangeIndices)
{
    ParameterSet p;
    for (int i : {42, 60, 83}) {
        EXPECT_FALSE(p.store(i, 0.5f));
        EXPECT_EQ(p.storedValue(i), 0.0f);
        EXPECT_EQ(p.value(i), 0.0f);
    }
    EXPECT_FALSE(p.store(-1, 0.5f));
    EXPECT_FALSE(p.store(167, 0.5f));
    EXPECT_EQ(p.quantity(167), 0.0);
}

TEST(ParameterSetStore, ReportsWhetherTheValueChanged)
{
    ParameterSet p;
    EXPECT_FALSE(p.store(5, 0.5f));  // Mech starts at 0.5
    EXPECT_TRUE(p.store(5, 0.75f));
    EXPECT_FALSE(p.store(5, 0.75f));
    EXPECT_TRUE(p.store(85, 0.2f));
}

TEST(ParameterSetStore, AnUnchangedDistanceChangesNothing)
{
    ParameterSet p;
    EXPECT_TRUE(p.store(21, 0.25f));
    p.store(166, 0.1f);
    EXPECT_FALSE(p.store(21, 0.25f));
    EXPECT_EQ(p.value(166), 0.1f);  // not recomputed from the unchanged distance
    EXPECT_TRUE(p.store(28, 0.3f));
    EXPECT_FALSE(p.store(28, 0.3f));
    EXPECT_NEAR(p.quantity(28), 0.74, 1e-7);
}

TEST(ParameterSetQuantities, UserParameterLaws)
{
    ParameterSet p;
    auto at = [&](int index, float v) {
        p.store(index, v);
        return p.quantity(index);
    };
    EXPECT_EQ(at(0, 0.49f), 0.0);
    EXPECT_EQ(at(0, 0.5f), 1.0);
    EXPECT_EQ(at(10, 0.3f), 2.0);  // round(1.5)
    EXPECT_EQ(at(10, 1.0f), 5.0);
    EXPECT_EQ(at(12, 0.74f), 1.0);   // round(1.48)
    EXPECT_EQ(at(14, 0.0f), 1.0);    // sizes 1..5
    EXPECT_EQ(at(14, 0.625f), 4.0);  // round(2.5) + 1
    EXPECT_EQ(at(31, 1.0f), 2.0);
    EXPECT_EQ(at(39, 1.0f / 17.0f), 1.0);
    EXPECT_EQ(at(41, 0.6f), 2.0);  // round(1.8)
    EXPECT_NEAR(at(5, 1.0f), 3.983, 1e-3);
    EXPECT_NEAR(at(6, 0.25f), -6.0, 1e-12);
    EXPECT_NEAR(at(7, 0.25f), -6.0, 1e-12);
    EXPECT_EQ(p.secondaryQuantity(7), 1.0);  // cutting: Q 1.0
    at(8, 0.75f);
    EXPECT_EQ(p.secondaryQuantity(8), 0.7);  // boosting: Q 0.7
    at(8, 0.5f);
    EXPECT_EQ(p.secondaryQuantity(8), 1.0);                  // 0 dB counts as cutting
    EXPECT_NEAR(at(11, 1.0f), 3.983 * 0.70794578438, 1e-3);  // -3 dB
    EXPECT_NEAR(at(13, 0.75f), std::sqrt(10.0), 1e-12);      // +10 dB
    EXPECT_NEAR(p.secondaryQuantity(13), std::sqrt(10.0) / 10.0, 1e-12);
    EXPECT_NEAR(at(16, 1.0f), 3.983 * 0.0316227766, 1e-4);  // -30 dB
    EXPECT_NEAR(at(17, 0.25f), 2.5, 1e-12);
    EXPECT_NEAR(at(19, 0.75f), 3.16228, 1e-5);  // 0.1 s x 10^1.5
    EXPECT_NEAR(at(22, 0.5f), 200.0, 0.1);
    EXPECT_EQ(at(22, 0.009f), 0.0);
    EXPECT_EQ(at(29, 1.0f), 0.0);
    EXPECT_NEAR(at(29, 0.25f), 200.0 * std::sqrt(10.0), 1e-9);
    EXPECT_NEAR(at(32, 0.3f), 0.6, 1e-7);
    EXPECT_NEAR(at(37, 0.25f), 0.5, 1e-12);  // wet √v
    EXPECT_NEAR(p.secondaryQuantity(37), std::sqrt(0.75), 1e-12);
}

TEST(ParameterSetQuantities, InternalParameterLaws)
{
    ParameterSet p;
    auto at = [&](int index, float v) {
        p.store(index, v);
        return p.quantity(index);
    };
    EXPECT_NEAR(at(85, 0.19f), 0.19f - 0.5, 1e-12);
    EXPECT_NEAR(at(86, 0.0f), 1.0, 1e-12);  // fully left: left gain 1
    EXPECT_NEAR(p.secondaryQuantity(86), 0.0, 1e-12);
    EXPECT_NEAR(at(88, 1.0f), 0.2, 1e-12);
    EXPECT_NEAR(at(91, 0.0f), 0.125, 1e-6);
    EXPECT_NEAR(at(92, 0.497676f), 0.995352, 1e-6);
    EXPECT_NEAR(at(93, 0.3f), 0.3, 1e-7);
    EXPECT_NEAR(at(100, 0.5f), 2000.0, 1e-9);
    EXPECT_NEAR(at(102, 1.0f), 1.0, 1e-5);
    EXPECT_EQ(at(105, 0.0f), 1.0);
    EXPECT_EQ(at(105, 1.0f), -1.0);
    EXPECT_NEAR(at(107, 0.25f), 0.5, 1e-12);
    EXPECT_EQ(at(119, 0.49f), 0.0);
    EXPECT_EQ(at(119, 0.5f), 1.0);
    EXPECT_EQ(at(119, 1.0f), 2.0);
    EXPECT_NEAR(at(137, 0.5f), 1.0, 1e-12);
    EXPECT_NEAR(at(138, 0.5f), 1.5, 1e-12);
    EXPECT_NEAR(at(140, 0.5f), 1.0, 1e-5);
    EXPECT_NEAR(at(145, 0.5f), 0.016, 1e-12);
    EXPECT_NEAR(at(146, 0.193426f), 0.6, 1e-5);
    EXPECT_NEAR(at(147, 0.5f), 1.0, 1e-5);
    EXPECT_NEAR(at(148, 0.5f), 0.15 * std::sqrt(10.0), 1e-5);
    EXPECT_FLOAT_EQ(static_cast<float>(at(153, 0.69897f)), 5000.0f);
    EXPECT_NEAR(at(163, 0.30103f), 100.0, 1e-4);
    EXPECT_EQ(at(165, 0.6f), 1.0);
}

}  // namespace
}  // namespace orv
