// The value displays' texts against values worked out by hand from each display's law, with
// the ends of every range and the rounding points in between.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "editor/DisplayFormats.h"

namespace orv::test {
namespace {

struct Display {
    CParamDisplayValueToStringProc format;
    const char* name;
    std::vector<std::pair<float, const char*>> texts;  // value, text
};

#define ORV_FORMAT(f) DisplayFormats::f, #f

// clang-format off
const Display kDisplays[] = {
    {ORV_FORMAT(speed), {{0.1f, "1.00 Hz"}, {0.6f, "6.00 Hz"}, {0.0f, "0.00 Hz"}, {1.0f, "10.00 Hz"}, {0.0667f, "0.67 Hz"}}},
    // 100^0.349485 = 5, 100 × √10 = 316, exactly 1000 ms switches to seconds, 100^0.650514 = 20.
    {ORV_FORMAT(time), {{0.0f, "100 ms"}, {1.0f, "10.0 s"}, {0.349485f, "500 ms"}, {0.25f, "316 ms"},
                        {0.5f, "1.0 s"}, {0.650514f, "2.0 s"}}},
    {ORV_FORMAT(distance), {{0.0f, "0 cm"}, {0.5f, "65 cm"}, {0.8f, "1.04 m"}, {1.0f, "1.30 m"}}},
    // Off below 0.01; e^(2.966 v) × 53.33 − 34.94 = 19.99, 200.0 and 1000.4 at 0.01, 0.5 and 1.
    {ORV_FORMAT(highPass), {{0.0f, "Off  "}, {0.0099f, "Off  "}, {0.01f, "20 Hz"}, {0.5f, "200 Hz"},
                            {1.0f, "1.00 kHz"}}},
    // 200 × √10 = 632, 200 × 10^1.98 = 19099.9; off at the top.
    {ORV_FORMAT(lowPass), {{0.0f, "200 Hz"}, {0.25f, "632 Hz"}, {0.5f, "2.00 kHz"}, {0.99f, "19.10 kHz"},
                           {1.0f, "Off  "}}},
    // Gains 1.0004, 3.983 and e^0.54625 × 0.5048 − 0.5048 = 0.3669.
    {ORV_FORMAT(gain), {{0.0f, "-oo dB"}, {0.5f, "0.0 dB"}, {1.0f, "12.0 dB"}, {0.25f, "-8.7 dB"}}},
    {ORV_FORMAT(eq), {{0.0f, "-12.0 dB"}, {0.5f, "0.0 dB"}, {1.0f, "12.0 dB"}}},
    {ORV_FORMAT(drive), {{0.0f, "-20.0 dB"}, {0.75f, "10.0 dB"}}},
    // 20 log10 2 = 6.0.
    {ORV_FORMAT(reflexGain), {{0.0f, "-oo dB"}, {0.5f, "0.0 dB"}, {1.0f, "6.0 dB"}, {0.25f, "-6.0 dB"}}},
    {ORV_FORMAT(percent), {{0.5f, "50.0 %"}, {1.0f, "100.0 %"}}},
    {ORV_FORMAT(widthPercent), {{0.5f, "100.0 %"}, {1.0f, "200.0 %"}, {0.0f, "0.0 %"}}},
    // The centre zone's edges 0.499 and 0.501 are still centre; 0.25 × 199 + 0.5 = 50.25,
    // 0.002 × 199 + 0.5 < 1, 0.49 × 199 + 0.5 = 98.01.
    {ORV_FORMAT(balance), {{0.0f, "L"}, {1.0f, "R"}, {0.5f, "C"}, {0.501f, "C"}, {0.499f, "C"}, {0.75f, "50R"},
                           {0.25f, "50L"}, {0.502f, "0R"}, {0.99f, "98R"}}},
    // 0.125 × 4 + 0.5 rounds up to the second size.
    {ORV_FORMAT(size), {{0.0f, "1"}, {0.125f, "2"}, {0.5f, "3"}, {1.0f, "5"}}},
    {ORV_FORMAT(amplifierType), {{0.0f, "Thru"}, {0.24f, "Thru"}, {0.26f, "Tube"}, {1.0f, "Solid"}}},
    {ORV_FORMAT(speakerConfiguration), {{0.0f, "Drum"}, {0.5f, "Drum+Horn"}, {1.0f, "Horn"}}},
    {ORV_FORMAT(setupFirstLine), {{0.0f, "Amp"}, {0.2f, "Front"}, {0.4f, "Front"}, {0.6f, "Front"},
                                  {0.8f, "Opposite"}, {1.0f, "Mono"}}},
    {ORV_FORMAT(setupSecondLine), {{0.0f, "Only"}, {0.2f, "Side"}, {0.4f, "Diagonal"}, {0.6f, "Rear"},
                                   {0.8f, "Diagonal"}, {1.0f, ""}}},
    {ORV_FORMAT(ratio), {{0.5f, "50:50"}, {0.0f, "100:0"}, {1.0f, "0:100"}, {0.75f, "25:75"}, {0.25f, "75:25"}}},
};
// clang-format on

#undef ORV_FORMAT

TEST(DisplayFormats, TextsWorkedOutByHand)
{
    for (const Display& d : kDisplays) {
        for (const auto& [value, text] : d.texts) {
            SCOPED_TRACE(testing::Message() << d.name << " at " << value);
            char buffer[kParamDisplayTextSize] = {};
            EXPECT_TRUE(d.format(value, buffer, nullptr));
            EXPECT_STREQ(buffer, text);
        }
    }
}

}  // namespace
}  // namespace orv::test
