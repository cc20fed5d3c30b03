// The controller map on its own: encoding, both tables, learning, names. (The channel filter
// is tested through the module.)

#include <limits>

#include "params/ControllerMap.h"
#include "support/GoldenRows.h"

namespace orv {
namespace {

constexpr int kNone = 999;
constexpr int kMix = 37;
constexpr int kDrive = 13;

TEST(ControllerMap, ControllersSitInTheMiddleOfStepsOfOne129th)
{
    // None is the step after the last controller: 128.5/129 = 0.9961240.
    EXPECT_NEAR(ControllerMap::encode(kNone), 0.9961240, 1e-7);
    for (int c : {128, -3}) EXPECT_EQ(ControllerMap::encode(c), ControllerMap::encode(kNone)) << c;
    for (int c = 0; c < 128; ++c) {
        EXPECT_FLOAT_EQ(ControllerMap::encode(c), (c + 0.5f) / 129.0f) << c;
        EXPECT_EQ(ControllerMap::decode(ControllerMap::encode(c)), c) << c;
    }
    const std::pair<float, int> decoded[] = {
        {0.0f, 0},     {1.01f / 129.0f, 1}, {127.99f / 129.0f, 127}, {128.01f / 129.0f, kNone},
        {1.0f, kNone}, {5.0f, kNone},       {-0.25f, kNone},         {std::numeric_limits<float>::quiet_NaN(), kNone}};
    for (const auto& [v, c] : decoded) EXPECT_EQ(ControllerMap::decode(v), c) << v;
}

TEST(ControllerMap, BothTablesFollowAssignmentsAndUnassignments)
{
    ControllerMap map;
    for (int p = 0; p < 42; ++p) {  // nothing bound at the start, and MIDI off
        EXPECT_EQ(map.controllerOfParameter(p), kNone);
        EXPECT_FLOAT_EQ(map.assignmentValue(p), 128.5f / 129.0f);
    }
    for (int c = 0; c < 128; ++c) EXPECT_EQ(map.parameterOfController(c), kNone);
    EXPECT_EQ(map.channelStep(), 0);

    map.assignController(kMix, 7);
    EXPECT_EQ(map.parameterOfController(7), kMix);
    EXPECT_FLOAT_EQ(map.assignmentValue(kMix), 7.5f / 129.0f);
    map.unassignParameter(kMix);
    EXPECT_EQ(map.controllerOfParameter(kMix), kNone);
    EXPECT_EQ(map.parameterOfController(7), kNone);
    EXPECT_EQ(map.targetOfController(7), kNone);
    map.assignController(kDrive, 11);
    map.unassignController(11);
    EXPECT_EQ(map.controllerOfParameter(kDrive), kNone);
    EXPECT_EQ(map.forwardEntry(kDrive), kNone);
    EXPECT_EQ(map.targetOfController(11), kNone);
    map.assignController(kDrive, kNone);
    for (int p : {kDrive, 42, -1}) EXPECT_EQ(map.controllerOfParameter(p), kNone) << p;

    // A new controller releases the previous one, also when set as a value.
    map.assignController(kMix, 7);
    map.assignController(kMix, 12);
    EXPECT_EQ(map.controllerOfParameter(kMix), 12);
    EXPECT_EQ(map.targetOfController(7), kNone);
    EXPECT_EQ(map.targetOfController(12), kMix);
    map.setAssignmentValue(kMix, ControllerMap::encode(20));
    EXPECT_EQ(map.targetOfController(12), kNone);
    EXPECT_EQ(map.targetOfController(20), kMix);
    // A taken controller moves without unbinding the other parameter's forward entry; the query
    // answers a parameter only while its forward entry is bound.
    map.assignController(kDrive, 20);
    EXPECT_EQ(map.parameterOfController(20), kDrive);
    EXPECT_EQ(map.forwardEntry(kMix), 20);
    map.unassignParameter(kDrive);
    EXPECT_EQ(map.parameterOfController(20), kNone);
}

TEST(ControllerMap, LearningTakesTheControllerButNotAChannelModeOne)
{
    ControllerMap map;
    map.assignController(kMix, 7);
    map.startMidiLearn();
    EXPECT_EQ(map.learnTarget(), -1);
    EXPECT_FALSE(map.learn(7));  // no target yet
    map.setLearnTarget(kDrive);
    for (int c = 120; c < 128; ++c) EXPECT_FALSE(map.learn(c)) << c;
    EXPECT_TRUE(map.isLearning());
    EXPECT_EQ(map.controllerOfParameter(kDrive), kNone);
    EXPECT_TRUE(map.learn(7));
    EXPECT_FALSE(map.isLearning());
    EXPECT_EQ(map.learnTarget(), -1);
    EXPECT_EQ(map.controllerOfParameter(kDrive), 7);
    EXPECT_EQ(map.controllerOfParameter(kMix), kNone);
    EXPECT_EQ(map.forwardEntry(kMix), kNone);
    EXPECT_EQ(map.parameterOfController(7), kDrive);
    map.startMidiLearn();
    map.setLearnTarget(kMix);
    EXPECT_TRUE(map.learn(119));
}

TEST(ControllerMap, NamedAndNumberedControllers)
{
    const auto names = test::dataRows(test::testData("unit/programs/data/controller-names.txt"));
    EXPECT_EQ(names.size(), 16u);
    for (const auto& r : names)
        EXPECT_STREQ(ControllerMap::controllerName(std::stoi(r[0])), r.size() > 1 ? r[1].c_str() : "");
    // 59 controllers have names of their own; the other 69 are "control N".
    int numbered = 0;
    for (int c = 0; c < 128; ++c)
        numbered += std::string(ControllerMap::controllerName(c)) == "control " + std::to_string(c);
    EXPECT_EQ(numbered, 128 - 59);
}

}  // namespace
}  // namespace orv
