// The value displays' texts against values worked out by hand from each display's law, with
// the ends of every range and the rounding points in between.
#include <gtest/gtest.h>

#include <string>

#include "editor/DisplayFormats.h"

namespace orv::test {
namespace {

std::string text(CParamDisplayValueToStringProc format, float value) {
    char buffer[kParamDisplayTextSize] = {};
    EXPECT_TRUE(format(value, buffer, nullptr));
    return buffer;
}

TEST(DisplayFormats, SpeedIsTenHertzAtTheTop) {
    EXPECT_EQ(text(DisplayFormats::speed, 0.1f), "1.00 Hz");
    EXPECT_EQ(text(DisplayFormats::speed, 0.6f), "6.00 Hz");
    EXPECT_EQ(text(DisplayFormats::speed, 0.0f), "0.00 Hz");
    EXPECT_EQ(text(DisplayFormats::speed, 1.0f), "10.00 Hz");
    EXPECT_EQ(text(DisplayFormats::speed, 0.0667f), "0.67 Hz");
}

TEST(DisplayFormats, TimeRunsFromATenthOfASecondToTenSeconds) {
    EXPECT_EQ(text(DisplayFormats::time, 0.0f), "100 ms");
    EXPECT_EQ(text(DisplayFormats::time, 1.0f), "10.0 s");
    EXPECT_EQ(text(DisplayFormats::time, 0.349485f), "500 ms");  // 100^0.349485 = 5
    EXPECT_EQ(text(DisplayFormats::time, 0.25f), "316 ms");      // 100 × √10
    EXPECT_EQ(text(DisplayFormats::time, 0.5f), "1.0 s");        // exactly 1000 ms switches to seconds
    EXPECT_EQ(text(DisplayFormats::time, 0.650514f), "2.0 s");   // 100^0.650514 = 20
}

TEST(DisplayFormats, DistanceInCentimetresBelowOneMetre) {
    EXPECT_EQ(text(DisplayFormats::distance, 0.0f), "0 cm");
    EXPECT_EQ(text(DisplayFormats::distance, 0.5f), "65 cm");
    EXPECT_EQ(text(DisplayFormats::distance, 0.8f), "1.04 m");
    EXPECT_EQ(text(DisplayFormats::distance, 1.0f), "1.30 m");
}

TEST(DisplayFormats, HighPassIsOffBelowOnePercent) {
    EXPECT_EQ(text(DisplayFormats::highPass, 0.0f), "Off  ");
    EXPECT_EQ(text(DisplayFormats::highPass, 0.0099f), "Off  ");
    EXPECT_EQ(text(DisplayFormats::highPass, 0.01f), "20 Hz");    // e^0.02966 × 53.33 − 34.94 = 19.99
    EXPECT_EQ(text(DisplayFormats::highPass, 0.5f), "200 Hz");    // e^1.483 × 53.33 − 34.94 = 200.0
    EXPECT_EQ(text(DisplayFormats::highPass, 1.0f), "1.00 kHz");  // e^2.966 × 53.33 − 34.94 = 1000.4
}

TEST(DisplayFormats, LowPassIsOffAtTheTop) {
    EXPECT_EQ(text(DisplayFormats::lowPass, 0.0f), "200 Hz");
    EXPECT_EQ(text(DisplayFormats::lowPass, 0.25f), "632 Hz");   // 200 × √10
    EXPECT_EQ(text(DisplayFormats::lowPass, 0.5f), "2.00 kHz");
    EXPECT_EQ(text(DisplayFormats::lowPass, 0.99f), "19.10 kHz");  // 200 × 10^1.98 = 19099.9
    EXPECT_EQ(text(DisplayFormats::lowPass, 1.0f), "Off  ");
}

TEST(DisplayFormats, GainFollowsTheLevelCurve) {
    EXPECT_EQ(text(DisplayFormats::gain, 0.0f), "-oo dB");
    EXPECT_EQ(text(DisplayFormats::gain, 0.5f), "0.0 dB");   // 1.0004
    EXPECT_EQ(text(DisplayFormats::gain, 1.0f), "12.0 dB");  // 3.983
    EXPECT_EQ(text(DisplayFormats::gain, 0.25f), "-8.7 dB");  // e^0.54625 × 0.5048 − 0.5048 = 0.3669
}

TEST(DisplayFormats, LinearDecibelScales) {
    EXPECT_EQ(text(DisplayFormats::eq, 0.0f), "-12.0 dB");
    EXPECT_EQ(text(DisplayFormats::eq, 0.5f), "0.0 dB");
    EXPECT_EQ(text(DisplayFormats::eq, 1.0f), "12.0 dB");
    EXPECT_EQ(text(DisplayFormats::drive, 0.0f), "-20.0 dB");
    EXPECT_EQ(text(DisplayFormats::drive, 0.75f), "10.0 dB");
    EXPECT_EQ(text(DisplayFormats::reflexGain, 0.0f), "-oo dB");
    EXPECT_EQ(text(DisplayFormats::reflexGain, 0.5f), "0.0 dB");
    EXPECT_EQ(text(DisplayFormats::reflexGain, 1.0f), "6.0 dB");   // 20 log10 2
    EXPECT_EQ(text(DisplayFormats::reflexGain, 0.25f), "-6.0 dB");
}

TEST(DisplayFormats, Percentages) {
    EXPECT_EQ(text(DisplayFormats::percent, 0.5f), "50.0 %");
    EXPECT_EQ(text(DisplayFormats::percent, 1.0f), "100.0 %");
    EXPECT_EQ(text(DisplayFormats::widthPercent, 0.5f), "100.0 %");
    EXPECT_EQ(text(DisplayFormats::widthPercent, 1.0f), "200.0 %");
    EXPECT_EQ(text(DisplayFormats::widthPercent, 0.0f), "0.0 %");
}

TEST(DisplayFormats, BalanceEndsCentreZoneAndSteps) {
    EXPECT_EQ(text(DisplayFormats::balance, 0.0f), "L");
    EXPECT_EQ(text(DisplayFormats::balance, 1.0f), "R");
    EXPECT_EQ(text(DisplayFormats::balance, 0.5f), "C");
    EXPECT_EQ(text(DisplayFormats::balance, 0.501f), "C");  // the zone's upper edge is still centre
    EXPECT_EQ(text(DisplayFormats::balance, 0.499f), "C");
    EXPECT_EQ(text(DisplayFormats::balance, 0.75f), "50R");  // 0.25 × 199 + 0.5 = 50.25
    EXPECT_EQ(text(DisplayFormats::balance, 0.25f), "50L");
    EXPECT_EQ(text(DisplayFormats::balance, 0.502f), "0R");  // 0.002 × 199 + 0.5 < 1
    EXPECT_EQ(text(DisplayFormats::balance, 0.99f), "98R");  // 0.49 × 199 + 0.5 = 98.01
}

TEST(DisplayFormats, SwitchPositions) {
    EXPECT_EQ(text(DisplayFormats::size, 0.0f), "1");
    EXPECT_EQ(text(DisplayFormats::size, 0.125f), "2");  // 0.5 + 0.5 rounds up
    EXPECT_EQ(text(DisplayFormats::size, 0.5f), "3");
    EXPECT_EQ(text(DisplayFormats::size, 1.0f), "5");

    EXPECT_EQ(text(DisplayFormats::amplifierType, 0.0f), "Thru");
    EXPECT_EQ(text(DisplayFormats::amplifierType, 0.24f), "Thru");
    EXPECT_EQ(text(DisplayFormats::amplifierType, 0.26f), "Tube");
    EXPECT_EQ(text(DisplayFormats::amplifierType, 1.0f), "Solid");

    EXPECT_EQ(text(DisplayFormats::speakerConfiguration, 0.0f), "Drum");
    EXPECT_EQ(text(DisplayFormats::speakerConfiguration, 0.5f), "Drum+Horn");
    EXPECT_EQ(text(DisplayFormats::speakerConfiguration, 1.0f), "Horn");

    const char* first[] = {"Amp", "Front", "Front", "Front", "Opposite", "Mono"};
    const char* second[] = {"Only", "Side", "Diagonal", "Rear", "Diagonal", ""};
    for (int n = 0; n <= 5; ++n) {
        const float v = static_cast<float>(n) / 5.0f;
        EXPECT_EQ(text(DisplayFormats::setupFirstLine, v), first[n]) << n;
        EXPECT_EQ(text(DisplayFormats::setupSecondLine, v), second[n]) << n;
    }
}

TEST(DisplayFormats, RatioSharesAHundred) {
    EXPECT_EQ(text(DisplayFormats::ratio, 0.5f), "50:50");
    EXPECT_EQ(text(DisplayFormats::ratio, 0.0f), "100:0");
    EXPECT_EQ(text(DisplayFormats::ratio, 1.0f), "0:100");
    EXPECT_EQ(text(DisplayFormats::ratio, 0.75f), "25:75");
    EXPECT_EQ(text(DisplayFormats::ratio, 0.25f), "75:25");
}

}  // namespace
}  // namespace orv::test
