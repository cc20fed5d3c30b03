// Factory content of the 48 programs and what a fresh effect makes of it.

#include <cstring>

#include "params/FactoryPrograms.h"
#include "support/GoldenRows.h"
#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

// Names and the performance settings every program has. (The other values are what the
// engine's fingerprint of every factory program hears.)
TEST(FactoryPrograms, NamesAndPerformanceSettingsBySlot)
{
    const auto names = dataRows(testData("unit/programs/data/factory-names.txt"));
    ASSERT_EQ(names.size(), 24u);
    for (int slot = 0; slot < 48; ++slot) {
        const ProgramRecord p = FactoryPrograms::program(slot);
        EXPECT_STREQ(p.name, slot < 24 ? names[slot][0].c_str() : "Init") << slot;
        for (int i : {0, 1, 2, 3, 4}) EXPECT_EQ(p.values[i], 0.0f) << slot << " " << i;
        EXPECT_EQ(p.values[39], 1.0f) << slot;  // MIDIchl: all channels
        for (float v : p.values) EXPECT_TRUE(v >= 0.0f && v <= 1.0f);
    }
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
    EXPECT_TRUE(effect->getAeffect()->flags & vst::effFlagsHasEditor);  // an editor from the start
}

}  // namespace
}  // namespace orv::test
