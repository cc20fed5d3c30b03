// Names, labels and value texts of every index stay inside the buffer the host passes. The texts
// themselves are checked through the module in tests/host/ParameterTextTest.cpp.
#include <gtest/gtest.h>

#include <cstring>

#include "params/ParameterSet.h"

namespace orv {
namespace {

const float kGrid[] = {0.0f, 0.004f, 0.01f, 0.1f, 0.25f, 0.333f, 0.4f, 0.5f, 0.6f, 0.75f, 0.9f, 0.996f, 1.0f};

TEST(ParameterTextGrid, TextsStayInsideTheirBuffer)
{
    ParameterSet p;
    constexpr int kGuard = 16;
    for (int index = -1; index <= ParameterSet::kNumIndices; ++index) {
        for (float v : kGrid) {
            p.store(index, v);
            char buffer[ParameterSet::kTextSize + kGuard];
            for (auto get : {&ParameterSet::getName, &ParameterSet::getLabel, &ParameterSet::getDisplay}) {
                std::memset(buffer, '#', sizeof(buffer));
                (p.*get)(index, buffer);
                const std::size_t length = strnlen(buffer, ParameterSet::kTextSize);
                EXPECT_LT(length, static_cast<std::size_t>(ParameterSet::kTextSize)) << index;
                for (int k = ParameterSet::kTextSize; k < ParameterSet::kTextSize + kGuard; ++k) {
                    EXPECT_EQ(buffer[k], '#') << index;
                }
            }
        }
    }
}

}  // namespace
}  // namespace orv
