// Parameter names, values, labels and value texts as a host sees them through the ABI: every
// index over a grid of values against a table stored as data (data/parameters.txt, written
// with ORV_UPDATE_PARAMETER_TABLE=1 when a change is deliberate), and cases worked out by hand.

#include <cstdio>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"
#include "support/StoredLines.h"

namespace orv::test {
namespace {

constexpr int kNumIndices = 167;
constexpr int kLever = 2;
constexpr int kLvrMode = 40;

std::string tableFile() { return std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/host/data/parameters.txt"; }

std::string number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

class Parameters : public ModuleTest {
protected:
    // One row: index, step, value given, value answered, name, text and label, tab-separated.
    std::string row(int index, const std::string& step, float given) {
        return std::to_string(index) + '\t' + step + '\t' + number(given) + '\t' + number(host.getParameter(index)) +
               '\t' + host.paramName(index) + '\t' + host.paramDisplay(index) + '\t' + host.paramLabel(index);
    }

    void expectShows(int index, const char* text, const char* label) {
        EXPECT_EQ(host.paramDisplay(index), text);
        EXPECT_EQ(host.paramLabel(index), label);
    }
};

// Every index as constructed, then every index set over a grid in each lever mode (only the
// Lever's text depends on the mode), then indices far outside the range.
TEST_F(Parameters, EveryIndexOverAGridMatchesTheStoredTable) {
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

    expectStoredLines(tableFile(), rows, "ORV_UPDATE_PARAMETER_TABLE");
}

struct HandCase {
    int index;
    float value;
    const char* text;
    const char* label;
};

// Worked out by hand: the ends of every range, rounding points and the switch texts.
const HandCase kHandCases[] = {
    {3, 0.0f, "", " "}, {3, 1.0f, "", " "},
    {36, 0.5f, "C", " "}, {36, 0.75f, "50R", " "}, {36, 0.0f, "L", " "}, {36, 1.0f, "R", " "},
    {36, 0.499f, "C", " "}, {36, 0.25f, "50L", " "}, {36, 0.51f, "2R", " "},  // 1.99 rounds to 2
    {34, 0.25f, "75:25", " "}, {34, 0.5f, "50:50", " "}, {34, 1.0f, "0:100", " "},
    {22, 0.005f, "Off", " "}, {22, 1.0f, "1.00", "kHz"}, {22, 0.5f, "200", "Hz"},
    {22, 0.01f, "Off", " "},  // the single-precision 0.01 lies just below 0.01 and still reads as off
    {22, 0.0101f, "20", "Hz"},
    {29, 1.0f, "Off", " "}, {29, 0.0f, "200", "Hz"}, {29, 0.5f, "2.00", "kHz"},
    {19, 0.5f, "1.0", "s"}, {19, 0.0f, "100", "ms"}, {19, 1.0f, "10.0", "s"},
    {19, 0.395142f, "617", "ms"},  // 0.1 × 100^0.395142 s
    {26, 0.759256f, "3.3", "s"}, {27, 0.831378f, "4.6", "s"},
    {21, 0.0f, "0", "cm"}, {21, 1.0f, "1.30", "m"}, {28, 0.5f, "65", "cm"},
    {5, 0.0f, "-oo", "dB"}, {5, 0.5f, "0.0", "dB"}, {5, 1.0f, "12.0", "dB"},
    {11, 0.500008f, "0.0", "dB"}, {11, 0.0f, "-oo", "dB"}, {16, 0.0f, "-oo", "dB"}, {16, 0.5f, "0.0", "dB"},
    {13, 0.0f, "-20.0", "dB"}, {13, 0.25f, "-10.0", "dB"}, {13, 1.0f, "20.0", "dB"},
    {32, 0.0f, "-oo", "dB"}, {32, 0.5f, "0.0", "dB"}, {32, 1.0f, "6.0", "dB"}, {33, 1.0f, "6.0", "dB"},
    {6, 0.0f, "-12.0", "dB"}, {9, 1.0f, "12.0", "dB"},
    {39, 0.0f, "OFF", " "}, {39, 1.0f / 17.0f, "Ch 1", " "}, {39, 16.0f / 17.0f, "Ch 16", " "},
    {39, 0.5f, "Ch 9", " "}, {39, 1.0f, "OMNI", " "},
    {0, 0.0f, "Off", " "}, {0, 1.0f, "On", " "}, {1, 0.0f, "LowCPU", " "}, {1, 1.0f, "Brilliant", " "},
    {4, 1.0f, "Stopped", " "}, {4, 0.0f, "Running", " "},
    {10, 0.0f, "AmpOnly", " "}, {10, 0.2f, "FrontSide", " "}, {10, 0.25f, "FrontSide", " "},
    {10, 0.4f, "FrontDiagonal", " "}, {10, 0.6f, "FrontRear", " "}, {10, 0.8f, "OppositeDiagonal", " "},
    {10, 1.0f, "Mono", " "},
    {12, 0.0f, "Thru", " "}, {12, 0.5f, "Tube", " "}, {12, 1.0f, "Solid", " "},
    {14, 0.0f, "1", " "}, {14, 1.0f, "5", " "}, {31, 0.5f, "Drum+Horn", " "},
    {40, 1.0f, "Orig", " "}, {41, 1.0f / 3.0f, "TremDwn", " "}, {41, 1.0f, "Trigger", " "},
    {15, 0.508422f, "50.8", "%"}, {35, 0.5f, "100", "%"}, {37, 1.0f, "100", "%"}, {37, 0.26f, "26", "%"},
    {17, 0.0673f, "0.67", "Hz"}, {18, 0.677088f, "6.77", "Hz"}, {25, 0.65282f, "6.53", "Hz"},
    {105, 1.0f, "-1", " "}, {127, 0.5f, "1", " "}, {127, 0.51f, "-1", " "}, {120, 1.0f, "Not implemented", " "},
};

TEST_F(Parameters, TextsWorkedOutByHand) {
    for (const HandCase& c : kHandCases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << " at " << c.value);
        host.setParameter(c.index, c.value);
        expectShows(c.index, c.text, c.label);
    }
}

// Internal parameters at their construction values, worked out by hand.
TEST_F(Parameters, InternalTextsAtConstructionWorkedOutByHand) {
    const HandCase cases[] = {
        {84, 0, "0.0", "dB"}, {85, 0, "-111.6", "deg"}, {86, 0, "-100.0", "%"}, {87, 0, "7.2", "deg"},
        {88, 0, "-9.7%", "%"}, {89, 0, "100.0", "%"}, {90, 0, "1.4", "dB"}, {91, 0, "15.0", "cm"},
        {92, 0, "1.00", " "}, {93, 0, "0.50", " "}, {99, 0, "0.56", " "}, {100, 0, "200", "Hz"},
        {101, 0, "20.00", "kHz"}, {102, 0, "-1.7", "dB"}, {103, 0, "0.70", " "}, {105, 0, "1", " "},
        {107, 0, "1.39", "oct"}, {108, 0, "3.1", "dB"}, {110, 0, "-4.7", "%"}, {115, 0, "20.0", "cm"},
        {117, 0, "-1.7", "dB"}, {119, 0, "Off", " "}, {120, 0, "Not implemented", " "}, {122, 0, "-23.0", "dB"},
        {123, 0, "-12.0", "dB"}, {124, 0, "-3.0", "dB"}, {125, 0, "-6.6", "dB"}, {134, 0, "10.02", "kHz"},
        {136, 0, "0.52", "oct"}, {137, 0, "207", "cm"}, {138, 0, "196", "cm"}, {140, 0, "1.00", " "},
        {144, 0, "20.2", "cm"}, {145, 0, "0.00", " "}, {146, 0, "0.60", " "}, {147, 0, "0.70", " "},
        {148, 0, "26.1", "cm"}, {149, 0, "-16.0", "dB"}, {150, 0, "-12.9", "dB"}, {151, 0, "-18.2", "dB"},
        {152, 0, "-16.4", "dB"}, {153, 0, "5.00", "kHz"}, {157, 0, "0.02", " "}, {158, 0, "20.00", " "},
        {159, 0, "650", "Hz"}, {162, 0, "7.3", "dB"}, {163, 0, "100", "Hz"}, {164, 0, "-5.5", "dB"},
        {165, 0, "Off", " "},
    };
    for (const HandCase& c : cases) {
        SCOPED_TRACE(c.index);
        expectShows(c.index, c.text, c.label);
    }
}

TEST_F(Parameters, LeverTextFollowsLvrMode) {
    struct Case {
        float mode;
        float lever;
        const char* text;
    };
    const Case cases[] = {
        {0.0f, 0.0f, "Chorale"}, {0.0f, 0.005f, "Chorale"}, {0.0f, 0.006f, "1"},    {0.0f, 0.333f, "33"},
        {0.0f, 0.5f, "50"},      {0.0f, 0.994f, "99"},      {0.0f, 0.995f, "Tremolo"}, {0.0f, 1.0f, "Tremolo"},
        {0.5f, 0.0f, "Chorale"}, {0.5f, 0.49f, "Chorale"},  {0.5f, 0.5f, "Tremolo"}, {0.5f, 1.0f, "Tremolo"},
        {1.0f, 0.0f, "Chorale"}, {1.0f, 0.24f, "Chorale"},  {1.0f, 0.25f, "Stop"},   {1.0f, 0.5f, "Stop"},
        {1.0f, 0.75f, "Tremolo"}, {1.0f, 1.0f, "Tremolo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "LvrMode " << c.mode << ", Lever " << c.lever);
        host.setParameter(kLvrMode, c.mode);
        host.setParameter(kLever, c.lever);
        expectShows(kLever, c.text, " ");
    }
    // The text is formed when asked, from the mode current then.
    host.setParameter(kLever, 0.5f);
    host.setParameter(kLvrMode, 0.0f);
    EXPECT_EQ(host.paramDisplay(kLever), "50");
}

}  // namespace
}  // namespace orv::test
