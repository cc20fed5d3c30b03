// Parameter names, values, labels and value texts as a host sees them through the ABI: every
// index over a grid of values against a table stored as data (data/parameters.txt, written
// with ORV_UPDATE_PARAMETER_TABLE=1 when a change is deliberate), and cases worked out by hand.

#include "host/HostTestSupport.h"
#include "support/GoldenRows.h"
#include "support/StoredLines.h"

namespace orv::test {
namespace {

constexpr int kNumIndices = 167;
constexpr int kLever = 2;
constexpr int kLvrMode = 40;

std::string number(float v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

class Parameters : public ModuleTest {
protected:
    // One row: index, step, value given, value answered, name, text and label, tab-separated.
    std::string row(int index, const std::string& step, float given)
    {
        return std::to_string(index) + '\t' + step + '\t' + number(given) + '\t' + number(host.getParameter(index)) +
            '\t' + host.paramName(index) + '\t' + host.paramDisplay(index) + '\t' + host.paramLabel(index);
    }
};

// Every index as constructed, then every index set over a grid in each lever mode (only the
// Lever's text depends on the mode), then indices far outside the range.
TEST_F(Parameters, EveryIndexOverAGridMatchesTheStoredTable)
{
    const float grid[] = {0.0f, 0.004f, 0.01f, 0.1f, 0.25f, 0.333f, 0.4f, 0.5f, 0.6f, 0.75f, 0.9f, 0.996f, 1.0f};
    std::vector<std::string> rows;
    for (int i = -1; i <= kNumIndices; ++i) rows.push_back(row(i, "init", host.getParameter(i)));
    for (int mode = 0; mode < 3; ++mode) {
        host.setParameter(kLvrMode, mode / 2.0f);
        for (int i = -1; i <= kNumIndices; ++i) {
            if (i == kLvrMode || (mode > 0 && i != kLever)) continue;
            for (float v : grid) {
                host.setParameter(i, v);
                rows.push_back(row(i, "mode" + std::to_string(mode), v));
            }
        }
    }
    for (float v : grid) {
        host.setParameter(kLvrMode, v);
        rows.push_back(row(kLvrMode, "mode", v));
    }
    for (int i : {200, 100000}) {
        host.setParameter(i, 0.5f);
        rows.push_back(row(i, "outside", 0.5f));
    }

    expectStoredLines(testData("host/data/parameters.txt"), rows, "ORV_UPDATE_PARAMETER_TABLE");
}

// Worked out by hand (data/parameter-texts-by-hand.txt, never rewritten): the ends of every
// range, rounding points, the switch texts, the Lever's text in each LvrMode (a fifth field,
// set after the value: the text is formed when asked) and internal parameters as constructed ("init", checked before anything is set).
TEST_F(Parameters, TextsWorkedOutByHand)
{
    const auto rows = dataRows(testData("host/data/parameter-texts-by-hand.txt"));
    ASSERT_GT(rows.size(), 100u);
    for (bool asConstructed : {true, false}) {
        for (const auto& r : rows) {
            if ((r[1] == "init") != asConstructed) continue;
            const int index = std::stoi(r[0]);
            SCOPED_TRACE(testing::Message() << "index " << index << " at " << r[1]);
            ASSERT_TRUE(r.size() == 4 || r.size() == 5);
            if (!asConstructed) host.setParameter(index, std::strtof(r[1].c_str(), nullptr));
            if (r.size() == 5) host.setParameter(kLvrMode, std::strtof(r[4].c_str(), nullptr));
            EXPECT_EQ(host.paramDisplay(index), r[2]);
            EXPECT_EQ(host.paramLabel(index), r[3]);
        }
    }
}

}  // namespace
}  // namespace orv::test
