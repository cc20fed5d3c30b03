// Factory content of the 48 programs and what a fresh effect makes of it.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "params/FactoryPrograms.h"
#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

// clang-format off
const char* const kNames[24] = {
    "Default", "L'122", "L'147", "Old Rotary", "Relaxed", "Wobble", "Ramble", "Synchro", "Swift", "Full Moon",
    "Light", "Lazy Horn", "Broken Horn Motor", "Mellow Drum", "Static Drum", "Horn Mics", "Single Mic", "Whirled",
    "Magnifying Glass", "Bright Chorus", "Wide horn", "L'122 (no mech)", "L'147 (no mech)", "Bass drive"};
// clang-format on

// How many values of each named program differ from "Default", counted from the program list.
constexpr int kDifferences[24] = {0,  0,  24, 21, 20, 21, 20, 20, 20, 22, 17, 15,
                                  12, 15, 14, 20, 17, 23, 9,  24, 23, 1,  25, 26};

int differences(const ProgramRecord& a, const ProgramRecord& b)
{
    int n = 0;
    for (int i = 0; i < kNumUserParams; ++i) n += a.values[i] != b.values[i];
    return n;
}

// Names, how many values differ from "Default", and the performance settings every program has.
TEST(FactoryPrograms, NamesDifferencesAndPerformanceSettingsBySlot)
{
    const ProgramRecord def = FactoryPrograms::program(0);
    for (int slot = 0; slot < 48; ++slot) {
        const ProgramRecord p = FactoryPrograms::program(slot);
        EXPECT_STREQ(p.name, slot < 24 ? kNames[slot] : "Init") << slot;
        EXPECT_EQ(differences(p, def), slot < 24 ? kDifferences[slot] : 0) << slot;
        for (int i : {0, 1, 2, 3, 4}) EXPECT_EQ(p.values[i], 0.0f) << slot << " " << i;
        EXPECT_EQ(p.values[39], 1.0f) << slot;  // MIDIchl: all channels
        for (float v : p.values) EXPECT_TRUE(v >= 0.0f && v <= 1.0f);
    }
}

TEST(FactoryPrograms, VariantsFollowTheirOriginals)
{
    const ProgramRecord def = FactoryPrograms::program(0);
    const ProgramRecord l122 = FactoryPrograms::program(1);
    EXPECT_EQ(std::memcmp(def.values, l122.values, sizeof def.values), 0);
    const ProgramRecord l147 = FactoryPrograms::program(2);
    ProgramRecord noMech = FactoryPrograms::program(22);
    EXPECT_EQ(noMech.values[5], 0.0f);
    noMech.values[5] = l147.values[5];
    EXPECT_EQ(std::memcmp(noMech.values, l147.values, sizeof l147.values), 0);
    EXPECT_EQ(FactoryPrograms::program(21).values[5], 0.0f);
}

class FreshEffect : public EffectTest {};

TEST_F(FreshEffect, StartsOnDefaultWithEveryFactorySlot)
{
    char name[32] = {};
    effect->getProgramName(name);
    EXPECT_STREQ(name, "Default");
    EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
    for (int slot = 0; slot < 48; ++slot) {
        const ProgramRecord expected = FactoryPrograms::program(slot);
        EXPECT_STREQ(effect->getProgramRecord(slot).name, expected.name);
        EXPECT_EQ(std::memcmp(effect->getProgramRecord(slot).values, expected.values, sizeof expected.values), 0);
    }
    for (int i = 0; i < 42; ++i) EXPECT_EQ(effect->getParameter(i), FactoryPrograms::program(0).values[i]) << i;
    // The reference program is the factory "Default".
    const ProgramRecord reference = effect->getReferenceProgram();
    const ProgramRecord first = effect->getProgramRecord(0);
    EXPECT_EQ(std::memcmp(&reference, &first, sizeof(ProgramRecord)), 0);
    // The editor object exists from the start and makes the record announce an editor.
    EXPECT_NE(effect->getEditor(), nullptr);
    EXPECT_EQ(effect->getAeffect()->flags & vst::effFlagsHasEditor, vst::effFlagsHasEditor);
}

}  // namespace
}  // namespace orv::test
