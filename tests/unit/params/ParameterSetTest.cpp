// The parameter store: index space and store semantics, every index's quantities over a grid of
// values against a table stored as data (data/quantities.txt, rewritten with
// ORV_UPDATE_PARAMETER_QUANTITIES=1 when a change is deliberate), and points worked out by hand
// (data/quantities-by-hand.txt, never rewritten). The texts are checked through the module in
// tests/host; here only that each stays inside its buffer.

#include <cmath>
#include <cstring>
#include <set>

#include "params/ParameterSet.h"
#include "support/GoldenRows.h"

namespace orv {
namespace {

TEST(ParameterSet, IndexSpaceAndStoreSemantics)
{
    const std::set<int> global = {31, 32, 33, 34, 35, 36, 37, 38, 40, 41}, performance = {0, 1, 2, 3, 4, 39};
    for (int i = -100; i < 0; ++i) EXPECT_TRUE(ParameterSet::isGlobalParameter(i)) << i;
    for (int i = 0; i < 250; ++i) {
        EXPECT_EQ(ParameterSet::isGlobalParameter(i), global.count(i) == 1) << i;
        EXPECT_EQ(ParameterSet::isPerformanceParameter(i), performance.count(i) == 1) << i;
    }
    ParameterSet p;
    for (int i : {42, 60, 83, -1, 167}) {  // controller bindings and indices out of range are ignored
        EXPECT_FALSE(p.store(i, 0.5f)) << i;
        EXPECT_EQ(p.storedValue(i), 0.0f) << i;
        EXPECT_EQ(p.value(i), 0.0f) << i;
        EXPECT_EQ(p.quantity(i), 0.0) << i;
    }
    // store() answers whether the value changed; Mech starts at 0.5.
    const std::tuple<int, float, bool> stores[] = {{5, 0.5f, false}, {5, 0.75f, true},  {5, 0.75f, false},
                                                   {85, 0.2f, true}, {21, 0.25f, true}, {28, 0.3f, true}};
    for (const auto& [index, value, changed] : stores)
        EXPECT_EQ(p.store(index, value), changed) << index << " " << value;
    // An unchanged distance changes nothing: the clip is not recomputed from it.
    p.store(166, 0.1f);
    EXPECT_FALSE(p.store(21, 0.25f));
    EXPECT_EQ(p.value(166), 0.1f);
    EXPECT_FALSE(p.store(28, 0.3f));
}

// Every index over a grid: both quantities against the stored table, and every text inside
// its buffer.
TEST(ParameterSet, EveryIndexOverAGridMatchesTheStoredQuantities)
{
    const float grid[] = {0.0f, 0.004f, 0.01f, 0.1f, 0.25f, 0.333f, 0.4f, 0.5f, 0.6f, 0.75f, 0.9f, 0.996f, 1.0f};
    constexpr int kGuard = 16;
    ParameterSet p;
    test::GoldenRows rows;
    for (int index = -1; index <= ParameterSet::kNumIndices; ++index) {
        for (float v : grid) {
            p.store(index, v);
            char name[24];
            std::snprintf(name, sizeof name, "%d %.9g", index, v);
            rows.push_back({name, {p.quantity(index), p.secondaryQuantity(index)}});
            char buffer[ParameterSet::kTextSize + kGuard];
            for (auto get : {&ParameterSet::getName, &ParameterSet::getLabel, &ParameterSet::getDisplay}) {
                std::memset(buffer, '#', sizeof buffer);
                (p.*get)(index, buffer);
                EXPECT_LT(strnlen(buffer, ParameterSet::kTextSize), static_cast<size_t>(ParameterSet::kTextSize));
                EXPECT_EQ(std::string(buffer + ParameterSet::kTextSize, kGuard), std::string(kGuard, '#')) << index;
            }
        }
    }
    test::expectGoldenRows(
        test::testData("unit/params/data/quantities.txt"), "ORV_UPDATE_PARAMETER_QUANTITIES", rows,
        [](double now, double stored, const std::vector<double>&) {
            return std::fabs(now - stored) <= 1e-12 * std::max(1.0, std::fabs(stored));
        },
        2);
}

TEST(ParameterSet, QuantitiesWorkedOutByHand)
{
    const auto rows = test::dataRows(test::testData("unit/params/data/quantities-by-hand.txt"));
    EXPECT_GT(rows.size(), 50u);
    for (const std::vector<std::string>& r : rows) {
        ASSERT_EQ(r.size(), 5u);
        const int index = std::stoi(r[0]);
        ParameterSet p;
        p.store(index, std::stof(r[1]));
        EXPECT_NEAR(r[2] == "s" ? p.secondaryQuantity(index) : p.quantity(index), std::stod(r[3]), std::stod(r[4]))
            << index << " at " << r[1];
    }
}

}  // namespace
}  // namespace orv
