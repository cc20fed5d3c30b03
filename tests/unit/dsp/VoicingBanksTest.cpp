#include "dsp/VoicingBanks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "FilterReference.h"

namespace orv {
namespace {

using test::measureGain;
using test::referenceDesign;
using test::response;
using test::toDb;

// The voicings as written down for the tests, independently of the source tables.
struct Row {
    std::uint32_t type;
    double f0, gainDb, q;
    bool enabled;
};

const std::vector<Row> hornRows = {
    {4, 6690, -5, 1.3, true},   {4, 1150, -7, 12, true},   {4, 775, -11, 20, true},
    {4, 5950, -25, 30, true},   {4, 3540, -15, 40, true},  {4, 390, -15, 40, true},
    {4, 1180, -12, 40, true},   {4, 850, -12, 40, true},   {4, 1740, -8, 40, true},
    {4, 2800, -15, 30, true},   {4, 2020, -19, 40, true},  {4, 2690, -13, 40, true},
    {4, 3880, -20, 40, true},   {4, 794, -8, 40, true},    {4, 1590, 8, 40, true},
    {4, 1020, -6, 1.41, true},  {4, 4800, -16, 40, true},  {4, 2940, -24, 40, true},
    {4, 3320, -13, 40, true},   {4, 3430, -7.6, 1.41, true}, {4, 4110, -15, 40, true},
    {4, 4000, -12, 40, true},   {4, 1030, -6, 8, true},    {4, 2670, 7, 5, true},
    {4, 3150, -14, 30, true},   {4, 2580, -17, 40, true},  {4, 5140, -12, 10, true},
    {4, 2330, -10, 30, true}};
const std::vector<Row> shortHornRows = {
    {4, 780, -12, 5, true},   {4, 384, -12, 10, true},  {4, 3860, -12, 10, true},
    {4, 4500, -20, 10, true}, {4, 5770, -15, 5, true},  {4, 780, -12, 5, false},
    {4, 384, -12, 10, false}, {4, 3860, -12, 10, false}};
const std::vector<Row> drumRows = {
    {8, 1170, 0, 0.93, true}, {4, 252, 7, 0.71, true}, {1, 90, 0, 1.0, true}, {3, 200, 3, 0.35, true}};
const std::vector<Row> bankARows = {
    {4, 5500, -18, 5, true},  {4, 4550, -17, 5, true},  {4, 5000, 12, 0.88, true},
    {4, 6500, 10, 1.6, true}, {4, 782, -4.5, 5, true},  {4, 1050, -3.8, 5, true},
    {4, 7330, -12, 20, true}, {4, 6670, -10, 20, true}, {4, 8580, -15, 20, true},
    {4, 2400, -3, 1.3, true}, {8, 2000, 0, 1.0, true},  {1, 2000, 0, 0.7, true}};
const std::vector<Row> bankBRows = {
    {4, 2940, -10, 11, true}, {4, 3360, -9, 10, true},  {1, 180, 0, 0.35, true},
    {4, 1150, -9, 11, true},  {4, 2940, -11, 11, false}, {4, 3360, -9, 10, false},
    {1, 100, 0, 0.35, false}, {4, 1150, -9, 11, false}};

double cascadedDb(const std::vector<Row>& rows, double f, double fs)
{
    std::complex<double> h = 1.0;
    for (const Row& r : rows)
        if (r.enabled)
            h *= response(referenceDesign(r.type, fs, r.f0, r.q, r.gainDb), f, fs);
    return toDb(std::abs(h));
}

template <int N>
void expectSectionsMatch(const VoicingBank<N>& bank, const std::vector<Row>& rows, double fs)
{
    ASSERT_EQ(static_cast<int>(rows.size()), VoicingBank<N>::sectionCount);
    for (int i = 0; i < VoicingBank<N>::sectionCount; ++i) {
        const BiquadFilter& s = bank.section[i];
        EXPECT_EQ(s.type, rows[i].type) << i;
        EXPECT_EQ(s.frequency, rows[i].f0) << i;
        EXPECT_EQ(s.q, rows[i].q) << i;
        EXPECT_EQ(s.gainDb, rows[i].gainDb) << i;
        EXPECT_EQ(s.enabled, rows[i].enabled ? 1u : 0u) << i;
        EXPECT_EQ(s.sampleRate, fs) << i;
        EXPECT_EQ(s.glideLength, static_cast<std::uint32_t>(0.003 * fs)) << i;
    }
}

// Measured gain of the bank (saturation off) against the product of the analytic sections.
template <int N>
void expectBankResponse(VoicingBank<N>& bank, const std::vector<Row>& rows, double fs, bool saturating)
{
    for (double f : {60.0, 250.0, 780.0, 1150.0, 2000.0, 2940.0, 3860.0, 5950.0, 9000.0}) {
        bank.clearState();
        const double measured = measureGain(
            [&](double x) { return saturating ? bank.processSaturated(x) : bank.process(x); }, f, fs);
        EXPECT_NEAR(toDb(measured), cascadedDb(rows, f, fs), 0.02) << "f = " << f << " fs = " << fs;
    }
}

// ---------------------------------------------------------------- contents

TEST(VoicingBanksContents, SectionsAreTheTabledOnesAt44100)
{
    HornVoicingBank horn;
    buildHornVoicingBank(horn, 44100);
    expectSectionsMatch(horn, hornRows, 44100);
    ShortHornVoicingBank shortHorn;
    buildShortHornVoicingBank(shortHorn, 44100);
    expectSectionsMatch(shortHorn, shortHornRows, 44100);
    DrumInputChain drum;
    buildDrumInputChain(drum, 44100, 0.0008);
    expectSectionsMatch(drum, drumRows, 44100);
    ColourationBankA a;
    buildColourationBankA(a, 44100, 0.0);
    expectSectionsMatch(a, bankARows, 44100);
    ColourationBankB b;
    buildColourationBankB(b, 44100, 0.0);
    expectSectionsMatch(b, bankBRows, 44100);
}

TEST(VoicingBanksContents, EachHornPeakHasItsGainAtItsFrequency)
{
    HornVoicingBank horn;
    buildHornVoicingBank(horn, 44100);
    for (int i = 0; i < HornVoicingBank::sectionCount; ++i) {
        const BiquadFilter& s = horn.section[i];
        const test::Sos sos{{s.b0, s.b1, s.b2}, {1.0, s.a1, s.a2}};
        EXPECT_NEAR(toDb(std::abs(response(sos, hornRows[i].f0, 44100))), hornRows[i].gainDb, 1e-9) << i;
    }
}

TEST(VoicingBanksContents, HornBankWithZeroGainsIsTransparent)
{
    HornVoicingBank::Table flat = hornVoicingTable;
    for (VoicingSection& s : flat)
        s.gainDb = 0.0;
    HornVoicingBank horn;
    horn.build(flat, 0.0, 44100, 0.0);
    for (int n = 0; n < 3000; ++n) {
        const double x = std::sin(0.013 * n) + 0.3 * std::sin(0.71 * n);
        ASSERT_NEAR(horn.process(x), x, 1e-12) << n;
    }
}

TEST(VoicingBanksContents, DisabledShortHornSectionsChangeNothing)
{
    ShortHornVoicingBank shortHorn;
    buildShortHornVoicingBank(shortHorn, 44100);
    for (int stage = 1; stage < 4; ++stage) {
        const double* c = shortHorn.cascade[1].coefficient[stage];
        EXPECT_EQ(c[MultiFilter::cB0], 1.0);
        EXPECT_EQ(c[MultiFilter::cB1], 0.0);
        EXPECT_EQ(c[MultiFilter::cB2], 0.0);
        EXPECT_EQ(c[MultiFilter::cA1], 0.0);
        EXPECT_EQ(c[MultiFilter::cA2], 0.0);
        EXPECT_EQ(shortHorn.cascade[1].saturationOn[stage], 0u);
    }
}

// ---------------------------------------------------------------- responses

TEST(VoicingBanksResponse, HornBanksMatchCascadedSections)
{
    for (double fs : {44100.0, 96000.0}) {
        HornVoicingBank horn;
        buildHornVoicingBank(horn, fs);
        expectBankResponse(horn, hornRows, fs, false);
        ShortHornVoicingBank shortHorn;
        buildShortHornVoicingBank(shortHorn, fs);
        expectBankResponse(shortHorn, shortHornRows, fs, false);
    }
}

TEST(VoicingBanksResponse, DrumAndColourationBanksMatchCascadedSections)
{
    DrumInputChain drum;
    buildDrumInputChain(drum, 48000, 0.0);
    expectBankResponse(drum, drumRows, 48000, true);
    ColourationBankA a;
    buildColourationBankA(a, 48000, 0.0);
    expectBankResponse(a, bankARows, 48000, true);
    ColourationBankB b;
    buildColourationBankB(b, 48000, 0.0);
    expectBankResponse(b, bankBRows, 48000, true);
}

TEST(VoicingBanksResponse, RateChangeRedesignsAndClearsHistory)
{
    HornVoicingBank horn;
    buildHornVoicingBank(horn, 44100);
    for (int n = 0; n < 500; ++n)
        horn.process(std::sin(0.2 * n));
    horn.setRate(88200);
    expectSectionsMatch(horn, hornRows, 88200);
    for (const MultiFilter& m : horn.cascade)
        for (int k = 0; k < MultiFilter::stageCount; ++k)
            for (double s : m.state[k])
                EXPECT_EQ(s, 0.0);
    expectBankResponse(horn, hornRows, 88200, false);

    // Rates outside 20 kHz .. 400 kHz design the sections for 44.1 kHz.
    horn.setRate(11025);
    expectSectionsMatch(horn, hornRows, 44100);
}

// ---------------------------------------------------------------- saturation

double expectedK(double f0, double q, double fs, double amount)
{
    return 3.0 * f0 * amount * (44100.0 / fs) / (100000.0 * std::pow(q, 0.75));
}

TEST(VoicingBanksSaturation, AmountLawInSinglePrecision)
{
    EXPECT_EQ(filterSaturationAmount(0.0f), static_cast<double>(0.0008f));
    EXPECT_NEAR(filterSaturationAmount(1.0f), 0.32, 1e-7);
    EXPECT_NEAR(filterSaturationAmount(0.5f), 0.016, 1e-8);
    EXPECT_EQ(static_cast<double>(static_cast<float>(filterSaturationAmount(0.37f))), filterSaturationAmount(0.37f));
}

TEST(VoicingBanksSaturation, DrumChainSaturatesEvenAtTheLowestSetting)
{
    const double amount = filterSaturationAmount(0.0f);
    DrumInputChain drum;
    buildDrumInputChain(drum, 44100, amount);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(drum.cascade[0].saturationOn[k], 1u) << k;
        EXPECT_EQ(drum.cascade[0].saturationBias[k], 0.03125) << k;
        EXPECT_NEAR(drum.cascade[0].saturationCoefficient[k],
                    expectedK(drumRows[k].f0, drumRows[k].q, 44100, amount), 1e-15) << k;
    }
    // A new amount reaches every section and the cascade; a new rate keeps it.
    const double more = filterSaturationAmount(0.8f);
    drum.setSaturationAmount(more);
    drum.setRate(96000);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(drum.cascade[0].saturationCoefficient[k],
                    expectedK(drumRows[k].f0, drumRows[k].q, 96000, more), 1e-15) << k;
}

TEST(VoicingBanksSaturation, HornAmountGoesOnlyToTheRoutedColourationSections)
{
    ColourationBankA a;
    ColourationBankB b;
    buildColourationBankA(a, 44100, 0.0);
    buildColourationBankB(b, 44100, 0.0);
    const double amount = 0.05;
    a.setSaturationAmount(amount);
    b.setSaturationAmount(amount);
    for (int i = 0; i < 12; ++i) {
        const MultiFilter& m = a.cascade[i / 4];
        EXPECT_EQ(m.saturationOn[i % 4], i == 10 ? 1u : 0u) << "A " << i;
        EXPECT_EQ(m.saturationBias[i % 4], 0.03125) << "A " << i;
    }
    EXPECT_NEAR(a.cascade[2].saturationCoefficient[2], expectedK(2000, 1.0, 44100, amount), 1e-15);
    for (int i = 0; i < 8; ++i) {
        const MultiFilter& m = b.cascade[i / 4];
        EXPECT_EQ(m.saturationOn[i % 4], (i == 2 || i == 7) ? 1u : 0u) << "B " << i;
        EXPECT_EQ(m.saturationBias[i % 4], 0.03125) << "B " << i;
    }
    EXPECT_NEAR(b.cascade[0].saturationCoefficient[2], expectedK(180, 0.35, 44100, amount), 1e-15);
    EXPECT_NEAR(b.cascade[1].saturationCoefficient[3], expectedK(1150, 11, 44100, amount), 1e-15);

    // The disabled last section of bank B is the saturation law alone.
    const double* c = b.cascade[1].coefficient[3];
    EXPECT_EQ(c[MultiFilter::cB0], 1.0);
    EXPECT_EQ(c[MultiFilter::cA1], 0.0);
    MultiFilter lawOnly;
    BiquadFilter idle;
    lawOnly.copyFrom(idle, idle, idle, b.section[7]);
    const double k = expectedK(1150, 11, 44100, amount);
    for (double x : {0.5, -2.0, 8.0})
        EXPECT_NEAR(lawOnly.processSaturated(x), x / (1.0 + k * std::fabs(x + 0.03125)), 1e-12);

    a.setSaturationAmount(0.0);
    for (const MultiFilter& m : a.cascade)
        for (std::uint32_t on : m.saturationOn)
            EXPECT_EQ(on, 0u);
}

TEST(VoicingBanksSaturation, HornBanksNeverSaturate)
{
    HornVoicingBank horn;
    buildHornVoicingBank(horn, 44100);
    ShortHornVoicingBank shortHorn;
    buildShortHornVoicingBank(shortHorn, 44100);
    for (const MultiFilter& m : horn.cascade)
        for (std::uint32_t on : m.saturationOn)
            EXPECT_EQ(on, 0u);
    for (const MultiFilter& m : shortHorn.cascade)
        for (std::uint32_t on : m.saturationOn)
            EXPECT_EQ(on, 0u);
    // Plain and saturating runs agree exactly.
    HornVoicingBank twin = horn;
    for (int n = 0; n < 1000; ++n) {
        const double x = 2.0 * std::sin(0.05 * n);
        ASSERT_EQ(horn.process(x), twin.processSaturated(x));
    }
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// Two banks side by side give exactly what each gives alone, whichever is longer.
TEST(VoicingBanksPair, SideBySideEqualsOneAfterTheOther)
{
    ColourationBankA a, a2;
    ColourationBankB b, b2;
    buildColourationBankA(a, 48000, filterSaturationAmount(0.7f));
    buildColourationBankB(b, 48000, filterSaturationAmount(0.7f));
    buildColourationBankA(a2, 48000, filterSaturationAmount(0.7f));
    buildColourationBankB(b2, 48000, filterSaturationAmount(0.7f));
    for (int n = 0; n < 4000; ++n) {
        const double x = 2.5 * std::sin(0.013 * n) + 0.3 * std::sin(0.41 * n);
        double ya = x, yb = 0.5 * x;
        processSaturatedPair(a, ya, b, yb);
        ASSERT_EQ(ya, a2.processSaturated(x)) << n;
        ASSERT_EQ(yb, b2.processSaturated(0.5 * x)) << n;
        double zb = x, za = x;
        processSaturatedPair(b2, zb, a2, za);  // the shorter bank first
        ASSERT_EQ(zb, b.processSaturated(x)) << n;
        ASSERT_EQ(za, a.processSaturated(x)) << n;
    }
}

}  // namespace
}  // namespace orv
